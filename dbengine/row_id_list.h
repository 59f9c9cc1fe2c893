#pragma once

// Internal to this layer: which rows a table dataset shows, and in which order.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dbengine/parameters.h"
#include "dbengine/statement.h"
#include "dbengine/storage.h"

namespace dbengine {

// What a table dataset shows: the table and the key that names its rows (both as statements name
// them), the condition its rows meet (the storage's dialect, empty for every row) with the values
// of its placeholders, and the order (ties broken by the key), also reversed.
struct RowSelection {
  std::string Table;
  std::string Key;
  std::string Condition;
  TParameters Parameters;
  std::string OrderBy;
  std::string ReversedOrderBy;
  // Whether an index is known to give the order; none when only the statement can tell.
  std::optional<bool> IndexedOrder;
};

// The rows of a selection as their keys (rowids) only, 8 bytes a row, in the selection's order.
//
// When an index (or the table itself) gives the order and no condition narrows it, reading the
// list costs a count and one page: the rest is read a page at a time when asked for, from
// whichever end is nearer, and a walk in either direction reads ever more pages at once. When
// the storage has to sort or filter to give the rows, it reads the whole list at once, since
// every page would cost as much as all of them.
//
// Until the whole list is read, a row another connection adds or removes shifts the pages read
// afterwards; reading the list again (Read) shows the file as it is. Changing the list (Insert,
// Erase) reads the rest of it first.
class RowIdList {
 public:
  RowIdList(Storage& storage, RowSelection selection, int pageSize);

  void Read();
  int Count() const { return FCount; }
  // The rowid at a position; a position whose row went away meanwhile holds kNoRow.
  std::int64_t At(int position);
  // The position of a rowid among those read so far; -1 when they do not hold it (the rest of
  // the list may).
  int Find(std::int64_t rowId) const;
  bool Whole() const { return FPages.empty(); }
  // Reads the rest of the list, so that what this connection changes next cannot shift it.
  void ReadWhole();
  void Insert(int position, std::int64_t rowId);
  void Erase(int position);

  static constexpr std::int64_t kNoRow = INT64_MIN;

 private:
  std::string OrderedStatement(bool reversed, bool paged) const;
  std::vector<std::int64_t> ReadAll(Statement& ordered, std::vector<std::int64_t> ids);
  void TakeWhole(std::vector<std::int64_t> ids);
  // The list of `count` rows whose first page is `first`; the others are read when reached.
  void TakePages(std::vector<std::int64_t> first, std::int64_t count);
  // `size` rowids from `offset` on, in the order or (backward) in the reversed order.
  std::vector<std::int64_t> PageOfIds(bool backward, int offset, int size);
  void ReadPages(int page);
  void ReadRange(int begin, int end);

  Storage& FStorage;
  RowSelection FSelection;
  int FPageSize;
  int FCount = 0;
  // The whole list, once read.
  std::vector<std::int64_t> FIds;
  // While only part of it is read: one entry per page, empty until read.
  std::vector<std::vector<std::int64_t>> FPages;
  std::unique_ptr<Statement> FForwardPage;  // a page by LIMIT and OFFSET, from either end
  std::unique_ptr<Statement> FBackwardPage;
};

}  // namespace dbengine
