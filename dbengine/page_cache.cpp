#include "dbengine/page_cache.h"

#include <algorithm>

namespace dbengine {

PageCache::PageCache(int pageSize, int capacity)
    : FPageSize(std::max(pageSize, 1)), FCapacity(std::max(capacity, 1)) {}

const RowBuffer* PageCache::Find(int position) {
  const int page = PageOf(position);
  // A walk and a paint read one page many times in a row: the last page found is tried first.
  if (FLastFound >= FSlots.size() || FSlots[FLastFound].Page != page) {
    const auto found = std::find_if(FSlots.begin(), FSlots.end(),
                                    [page](const Slot& slot) { return slot.Page == page; });
    if (found == FSlots.end()) return nullptr;
    FLastFound = static_cast<std::size_t>(found - FSlots.begin());
  }
  Slot& slot = FSlots[FLastFound];
  slot.Used = ++FClock;
  const auto index = static_cast<std::size_t>(position - page * FPageSize);
  return index < slot.Rows.size() ? &slot.Rows[index] : nullptr;
}

void PageCache::Put(int page, std::vector<RowBuffer> rows) {
  auto slot = std::find_if(FSlots.begin(), FSlots.end(),
                           [page](const Slot& held) { return held.Page == page; });
  if (slot == FSlots.end()) {
    if (static_cast<int>(FSlots.size()) < FCapacity) {
      slot = FSlots.insert(FSlots.end(), Slot{});
    } else {
      slot = std::min_element(FSlots.begin(), FSlots.end(),
                              [](const Slot& a, const Slot& b) { return a.Used < b.Used; });
    }
  }
  slot->Page = page;
  slot->Used = ++FClock;
  slot->Rows = std::move(rows);
  FLastFound = static_cast<std::size_t>(slot - FSlots.begin());
}

void PageCache::Clear() {
  FSlots.clear();
  FLastFound = 0;
}

}  // namespace dbengine
