#include "dbengine/row_buffer.h"

#include <cstring>

namespace dbengine {
namespace {

std::size_t PayloadSize(const CellView& cell) {
  switch (cell.Kind) {
    case CellKind::Integer:
      return sizeof cell.Integer;
    case CellKind::Float:
      return sizeof cell.Float;
    case CellKind::Text:
    case CellKind::Blob:
      return cell.Bytes.size();
    case CellKind::Null:
      break;
  }
  return 0;
}

}  // namespace

CellValue CellValue::From(const CellView& view) {
  return {view.Kind, view.Integer, view.Float, std::string(view.Bytes)};
}

RowBuffer RowBuffer::Copy() const {
  RowBuffer copy;
  if (Empty()) return copy;
  const std::uint32_t count = ReadU32(FData.get());
  const std::uint32_t payload = count == 0 ? 0 : ReadU32(FData.get() + EndOffset(count - 1));
  const std::size_t size = PayloadOffset(count) + payload;
  copy.FData.reset(new std::uint8_t[size]);
  std::memcpy(copy.FData.get(), FData.get(), size);
  return copy;
}

RowBuffer RowBuffer::Pack(const std::vector<CellView>& cells) {
  const auto count = static_cast<std::uint32_t>(cells.size());
  std::size_t payload = 0;
  for (const CellView& cell : cells) payload += PayloadSize(cell);
  RowBuffer row;
  row.FData.reset(new std::uint8_t[PayloadOffset(count) + payload]);
  std::uint8_t* data = row.FData.get();
  std::memcpy(data, &count, sizeof count);
  std::uint8_t* kinds = data + KindsOffset(count);
  std::uint8_t* bytes = data + PayloadOffset(count);
  std::uint32_t end = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    const CellView& cell = cells[i];
    const void* from = cell.Kind == CellKind::Integer ? static_cast<const void*>(&cell.Integer)
                       : cell.Kind == CellKind::Float ? static_cast<const void*>(&cell.Float)
                                                      : static_cast<const void*>(cell.Bytes.data());
    const std::size_t size = PayloadSize(cell);
    if (size > 0) std::memcpy(bytes + end, from, size);
    end += static_cast<std::uint32_t>(size);
    std::memcpy(data + EndOffset(i), &end, sizeof end);
    kinds[i] = static_cast<std::uint8_t>(cell.Kind);
  }
  return row;
}

}  // namespace dbengine
