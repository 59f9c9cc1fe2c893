#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dbengine {

// How one stored value is held; mirrors SQLite's storage classes.
enum class CellKind : std::uint8_t { Null, Integer, Float, Text, Blob };

// A value read from a row without copying its bytes.
struct CellView {
  CellKind Kind = CellKind::Null;
  std::int64_t Integer = 0;
  double Float = 0;
  std::string_view Bytes;  // Text and Blob
};

// A value that owns its bytes: the edit buffer of a pending record.
struct CellValue {
  CellKind Kind = CellKind::Null;
  std::int64_t Integer = 0;
  double Float = 0;
  std::string Bytes;

  CellView View() const { return {Kind, Integer, Float, Bytes}; }
  static CellValue From(const CellView& view);
};

// One record's values in a single heap block: the column count, each cell's end offset and kind,
// then the cells' bytes. A page of rows read costs one allocation per row instead of one per
// value.
class RowBuffer {
 public:
  RowBuffer() = default;
  bool Empty() const { return FData == nullptr; }
  CellView Cell(int index) const;
  RowBuffer Copy() const;

 private:
  friend class RowBuilder;
  std::unique_ptr<std::uint8_t[]> FData;
};

// Collects one row's cells, then packs them into a RowBuffer; reused from row to row.
class RowBuilder {
 public:
  void Add(const CellView& cell);
  // Packs the cells added since the last Build and starts a new row.
  RowBuffer Build();

 private:
  void AddBytes(CellKind kind, const void* bytes, std::size_t size);

  std::vector<std::uint32_t> FEnds;
  std::vector<CellKind> FKinds;
  std::vector<std::uint8_t> FPayload;
};

}  // namespace dbengine

namespace dbengine {

// A row as a statement gave it; RowId is 0 for rows that have none (a query's).
struct Record {
  RowBuffer Values;
  std::int64_t RowId = 0;
};

}  // namespace dbengine
