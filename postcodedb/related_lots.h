#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "postcodedb/address_row.h"
#include "postcodedb/byte_source.h"

namespace postcodedb {

// More related lots than this in one region's file is not a genuine file (the largest region has
// well under a million); the cap bounds the index at about 50 bytes a lot.
inline constexpr std::size_t kMaxRelatedLots = 8'000'000;

// The related lots of one region (jibun_rnaddrkor_<지역>.txt), held so the region's addresses can
// be joined with them in one pass. The files come per region, so only one region is ever held:
// per lot its 도로명주소관리번호 in one shared buffer and a 20-byte entry, with each 동/리 name
// stored once. Rows whose 이동사유코드 is 63 (폐지) are left out.
class TRelatedLots {
 public:
  // Reads the whole file; throws EInputError. `onBytes` (may be empty) hears the bytes read so far
  // now and then, for progress.
  void Read(std::unique_ptr<TByteSource> source, const std::string& name,
            const std::function<void(std::uint64_t)>& onBytes = {});

  // The lots of one building, in file order, appended to `lots`.
  void Find(std::string_view managementNumber, std::vector<TLot>& lots) const;
  std::size_t Size() const { return FEntries.size(); }

 private:
  void Add(std::string_view managementNumber, const TLot& lot);
  // Orders the entries for Find once the file is read.
  void Seal();

  struct TEntry {
    std::uint32_t KeyOffset;
    std::uint16_t KeyLength;
    bool Mountain;
    std::uint32_t Area;  // index into FAreas
    std::uint32_t Main;
    std::uint32_t Sub;
  };
  std::string_view Key(const TEntry& entry) const {
    return std::string_view(FKeys).substr(entry.KeyOffset, entry.KeyLength);
  }

  std::string FKeys;
  std::vector<TEntry> FEntries;
  std::vector<std::pair<std::string, std::string>> FAreas;  // 법정동 and 리
  std::unordered_map<std::string, std::uint32_t> FAreaIndex;
};

}  // namespace postcodedb
