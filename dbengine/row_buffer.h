#pragma once

#include <cstdint>
#include <cstring>
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
// value, and each value is copied once.
class RowBuffer {
 public:
  RowBuffer() = default;
  // The cells, copied; text and blobs may point into a statement's current row.
  static RowBuffer Pack(const std::vector<CellView>& cells);

  bool Empty() const { return FData == nullptr; }
  // Read for every field of every row a walk passes, so kept where callers can inline it.
  CellView Cell(int index) const {
    const std::uint8_t* data = FData.get();
    const std::uint32_t count = ReadU32(data);
    const auto i = static_cast<std::uint32_t>(index);
    const std::uint32_t end = ReadU32(data + EndOffset(i));
    const std::uint32_t begin = i == 0 ? 0 : ReadU32(data + EndOffset(i - 1));
    const std::uint8_t* bytes = data + PayloadOffset(count) + begin;
    CellView cell;
    cell.Kind = static_cast<CellKind>(data[KindsOffset(count) + i]);
    switch (cell.Kind) {
      case CellKind::Integer:
        std::memcpy(&cell.Integer, bytes, sizeof cell.Integer);
        break;
      case CellKind::Float:
        std::memcpy(&cell.Float, bytes, sizeof cell.Float);
        break;
      case CellKind::Text:
      case CellKind::Blob:
        cell.Bytes = std::string_view(reinterpret_cast<const char*>(bytes), end - begin);
        break;
      case CellKind::Null:
        break;
    }
    return cell;
  }
  RowBuffer Copy() const;

 private:
  // Block layout: uint32 count, uint32 end offset per cell, one kind byte per cell, the payload.
  static std::size_t EndOffset(std::uint32_t cell) { return sizeof(std::uint32_t) * (1 + cell); }
  static std::size_t KindsOffset(std::uint32_t count) { return EndOffset(count); }
  static std::size_t PayloadOffset(std::uint32_t count) { return KindsOffset(count) + count; }
  static std::uint32_t ReadU32(const std::uint8_t* at) {
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
  }

  std::unique_ptr<std::uint8_t[]> FData;
};

}  // namespace dbengine

namespace dbengine {

// A row as a statement gave it; RowId is 0 for rows that have none (a query's).
struct Record {
  RowBuffer Values;
  std::int64_t RowId = 0;
};

}  // namespace dbengine
