#pragma once

#include <string>
#include <vector>

// The genuine files kept beside the project in ../shared/data: real postcode lists, Access files
// and contact exports that are never committed. A clone of the project alone has none of them, so
// a test that needs one skips and says what is missing:
//
//   TEST(Reader, ...) {
//     ZARIZE_SKIP_WITHOUT_SHARED_DATA("mdb");
//     ...
//   }
namespace platform::testing {

// The absolute path of `relative` inside the shared data folder, whether or not it is there.
std::string SharedDataPath(const std::string& relative);
// Empty when the file or folder is there; otherwise the sentence a skipped test prints.
std::string MissingSharedData(const std::string& relative);
// The files in a shared folder whose names end in `suffix`, sorted; none when it is missing.
std::vector<std::string> SharedDataFiles(const std::string& folder, const std::string& suffix);

}  // namespace platform::testing

#define ZARIZE_SKIP_WITHOUT_SHARED_DATA(relative)                                         \
  if (const std::string zarizeMissing = ::platform::testing::MissingSharedData(relative); \
      !zarizeMissing.empty())                                                             \
  GTEST_SKIP() << zarizeMissing
