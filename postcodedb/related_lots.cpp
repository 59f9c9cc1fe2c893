#include "postcodedb/related_lots.h"

#include <algorithm>

#include "postcodedb/input_error.h"
#include "postcodedb/ministry_columns.h"
#include "postcodedb/record_reader.h"

namespace postcodedb {

void TRelatedLots::Read(std::unique_ptr<TByteSource> source, const std::string& name,
                        const std::function<void(std::uint64_t)>& onBytes) {
  TTextLines lines(*source, name, TEncoding::Detect);
  TRecordReader records(lines, RelatedLotColumns(), true);
  while (records.Next()) {
    if (records.Text(kLotChangeReason) == kWithdrawnCode) continue;
    const std::string_view key = records.Text(kLotManagementNumber);
    if (key.empty() || key.size() > kMaxManagementNumberBytes) {
      records.FailColumn(kLotManagementNumber, "is not a management number");
    }
    if (FEntries.size() >= kMaxRelatedLots) {
      records.Fail("more than " + std::to_string(kMaxRelatedLots) + " related lots in one file");
    }
    TLot lot;
    lot.LegalDong = records.Text(kLotEupmyeondong);
    lot.Ri = records.Text(kLotRi);
    lot.Mountain = records.Code(kLotMountain, 1) == 1;
    lot.Main = records.Number(kLotMain);
    lot.Sub = records.Number(kLotSub, true);
    Add(key, lot);
    if (onBytes && FEntries.size() % 4096 == 0) onBytes(lines.BytesRead());
  }
  if (onBytes) onBytes(lines.BytesRead());
  Seal();
}

void TRelatedLots::Add(std::string_view managementNumber, const TLot& lot) {
  std::string areaKey = lot.LegalDong;
  areaKey += '|';
  areaKey += lot.Ri;
  auto [area, added] = FAreaIndex.try_emplace(std::move(areaKey), FAreas.size());
  if (added) FAreas.emplace_back(lot.LegalDong, lot.Ri);
  FEntries.push_back(TEntry{static_cast<std::uint32_t>(FKeys.size()),
                            static_cast<std::uint16_t>(managementNumber.size()), lot.Mountain,
                            area->second, static_cast<std::uint32_t>(lot.Main),
                            static_cast<std::uint32_t>(lot.Sub)});
  FKeys.append(managementNumber);
}

void TRelatedLots::Seal() {
  std::stable_sort(FEntries.begin(), FEntries.end(),
                   [this](const TEntry& a, const TEntry& b) { return Key(a) < Key(b); });
  FAreaIndex.clear();
}

void TRelatedLots::Find(std::string_view managementNumber, std::vector<TLot>& lots) const {
  auto first = std::lower_bound(
      FEntries.begin(), FEntries.end(), managementNumber,
      [this](const TEntry& entry, std::string_view key) { return Key(entry) < key; });
  for (auto it = first; it != FEntries.end() && Key(*it) == managementNumber; ++it) {
    const auto& [legalDong, ri] = FAreas[it->Area];
    lots.push_back(
        TLot{legalDong, ri, it->Mountain, static_cast<int>(it->Main), static_cast<int>(it->Sub)});
  }
}

}  // namespace postcodedb
