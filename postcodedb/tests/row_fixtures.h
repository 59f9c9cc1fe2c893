#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "postcodedb/address_row.h"
#include "postcodedb/byte_source.h"
#include "postcodedb/input_error.h"
#include "postcodedb/input_set.h"

namespace postcodedb::testing {

// Bytes handed out at most `chunk` at a time, so lines and characters straddle reads.
class TStringSource : public TByteSource {
 public:
  explicit TStringSource(std::string bytes, std::size_t chunk = 4096)
      : FBytes(std::move(bytes)), FChunk(chunk) {}
  std::size_t Read(char* buffer, std::size_t size) override;

 private:
  std::string FBytes;
  std::size_t FChunk;
  std::size_t FPos = 0;
};

// Lines joined with `end` after each.
std::string Lines(const std::vector<std::string>& lines, std::string_view end = "\n");
std::string Cp949(std::string_view utf8);
inline constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Fixtures written by hand in the published layouts, one line each (no line ends).
inline constexpr std::string_view kBuildingHeader =
    "우편번호|시도|시도영문|시군구|시군구영문|읍면|읍면영문|도로명코드|도로명|도로명영문|지하여부|"
    "건물번호본번|건물번호부번|건물관리번호|다량배달처명|시군구용건물명|법정동코드|법정동명|리명|"
    "행정동명|산여부|지번본번|읍면동일련번호|지번부번|구우편번호|우편번호일련번호";
std::vector<std::string> BuildingLines();
std::vector<std::string> MinistryAddressLines();     // rnaddrkor_<지역>.txt
std::vector<std::string> MinistryRelatedLotLines();  // jibun_rnaddrkor_<지역>.txt

// Every row of the inputs, read as a build would read them.
std::vector<TAddressRow> ReadAll(const std::vector<std::string>& paths);

// The error that stops reading the inputs; when none does, a test failure and an error with
// Line -1.
EInputError ReadError(const std::vector<std::string>& paths, const TZipLimits& limits = {});

// The genuine slice of the postal service's per-building file, or "" (with the reason in `why`)
// when this checkout has no shared data beside it.
std::string SharedDataFile(const std::string& relative, std::string& why);

}  // namespace postcodedb::testing

namespace postcodedb {
// Readable rows in failure messages.
void PrintTo(const TAddressRow& row, std::ostream* out);
}  // namespace postcodedb
