// The settings file under writers that die at any moment.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "devtools/crash/crash_values.h"
#include "devtools/crash/tests/kill_loop.h"
#include "platform/cp949.h"
#include "platform/profile_file.h"
#include "platform/testing/scratch_dir.h"

namespace crash::testing {
namespace {

using namespace std::chrono_literals;

// The host's part of the shared file: its own sections, comments and blank lines, CR LF ends.
const char* const kHostText =
    "; written by the host, keep\r\n"
    "[HOST]\r\n"
    "Version=3.1\r\n"
    "\r\n"
    "# its own remark\r\n"
    "[ZERAVU]\r\n"
    "DBOPENDIR=/home/user/문서\r\n"
    "[LABEL]\r\n"
    "Paper=A4\r\n";

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Every line of the host's text is still in the file, in order, byte for byte.
void ExpectHostPartIntact(const std::string& file) {
  std::size_t at = 0;
  const std::string host = platform::ToCp949(kHostText);  // the file is in code page 949
  for (std::size_t start = 0, end; (end = host.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    const std::string line = host.substr(start, end - start + 2);
    const std::size_t found = file.find(line, at);
    ASSERT_NE(found, std::string::npos) << "lost host line: " << line;
    at = found + line.size();
  }
}

// Each number the writer reported is there in full; the one it was writing when it died is
// there in full or not at all.
void ExpectItems(const platform::ProfileFile& file, const std::string& prefix,
                 const std::vector<int>& reported) {
  const int next = reported.empty() ? 0 : reported.back() + 1;
  for (int n = 0; n <= next; ++n) {
    const std::string value = file.ReadString(kSettingsSection, ItemName(prefix, n), "<none>");
    if (n < next) {
      EXPECT_EQ(value, ItemValue(n)) << ItemName(prefix, n);
    } else if (value != "<none>") {
      EXPECT_EQ(value, ItemValue(n)) << ItemName(prefix, n) << " is half there";
    }
  }
}

TEST(SettingsKill, AWriterKilledAnywhereLeavesTheFileBeforeOrAfterItsWrite) {
  platform::testing::ScratchDir dir;
  const std::string path = dir.Write("zeder.INI", platform::ToCp949(kHostText));
  const platform::ProfileFile file(path);
  TKillLoop loop("settings", 12, 300);
  std::size_t landed = 0;
  for (int round = 0; round < loop.Rounds(); ++round) {
    SCOPED_TRACE("round " + std::to_string(round) + ", seed " + std::to_string(loop.Seed()));
    const std::string prefix = ItemName("r", round) + "k";
    TChild writer({"settings", path, prefix, "0", "100000"});
    ASSERT_TRUE(writer.WaitForFirstReport());
    loop.KillWithin(writer, 30ms);
    const std::vector<int> reported = writer.Reported();
    landed += reported.size();

    ExpectHostPartIntact(dir.Read("zeder.INI"));
    EXPECT_EQ(file.ReadString("HOST", "Version", ""), "3.1");
    EXPECT_EQ(file.ReadString("ZERAVU", "DBOPENDIR", ""), "/home/user/문서");
    ExpectItems(file, prefix, reported);
    if (HasFailure()) break;
  }
  std::cout << "settings: " << landed << " writes landed before the kills\n";

  // What a writer killed while committing left behind goes with the next write; the writers'
  // lock file stays.
  platform::ProfileFile(path).WriteString(kSettingsSection, "DESIGNOK", "1");
  EXPECT_EQ(FilesIn(dir.Root()), (std::vector<std::string>{".zeder.INI.lock", "zeder.INI"}));
}

}  // namespace
}  // namespace crash::testing
