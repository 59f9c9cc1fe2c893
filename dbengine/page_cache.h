#pragma once

// Internal to this layer: the pages of rows a static cursor read last.

#include <cstdint>
#include <vector>

#include "dbengine/row_buffer.h"

namespace dbengine {

// Keeps the last few pages of rows read, so that painting a screenful and walking record by
// record read each page from the file once. Page n holds the rows at positions n * PageSize() up
// to the next page; the memory held is bounded by the capacity, whatever the number of rows.
class PageCache {
 public:
  PageCache(int pageSize, int capacity);

  int PageSize() const { return FPageSize; }
  int PageOf(int position) const { return position / FPageSize; }
  // The row at the position when its page is held; null otherwise.
  const RowBuffer* Find(int position);
  // Holds a page (the last one of a list may be short), in place of the page used longest ago.
  void Put(int page, std::vector<RowBuffer> rows);
  void Clear();

 private:
  struct Slot {
    int Page = -1;
    std::uint64_t Used = 0;
    std::vector<RowBuffer> Rows;
  };

  int FPageSize;
  int FCapacity;
  std::vector<Slot> FSlots;
  std::size_t FLastFound = 0;
  std::uint64_t FClock = 0;
};

}  // namespace dbengine
