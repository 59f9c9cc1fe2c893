#include "dbengine/row_buffer.h"

#include <cstring>

namespace dbengine {
namespace {

// Block layout: uint32 count, uint32 end offset per cell, one kind byte per cell, the payload.
std::size_t EndsOffset() {
  return sizeof(std::uint32_t);
}
std::size_t KindsOffset(std::uint32_t count) {
  return EndsOffset() + count * sizeof(std::uint32_t);
}
std::size_t PayloadOffset(std::uint32_t count) {
  return KindsOffset(count) + count;
}

std::uint32_t ReadU32(const std::uint8_t* at) {
  std::uint32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

}  // namespace

CellValue CellValue::From(const CellView& view) {
  return {view.Kind, view.Integer, view.Float, std::string(view.Bytes)};
}

CellView RowBuffer::Cell(int index) const {
  const std::uint8_t* data = FData.get();
  const std::uint32_t count = ReadU32(data);
  const auto i = static_cast<std::uint32_t>(index);
  const std::uint8_t* ends = data + EndsOffset();
  const std::uint32_t end = ReadU32(ends + i * sizeof(std::uint32_t));
  const std::uint32_t begin = i == 0 ? 0 : ReadU32(ends + (i - 1) * sizeof(std::uint32_t));
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

RowBuffer RowBuffer::Copy() const {
  RowBuffer copy;
  if (Empty()) return copy;
  const std::uint32_t count = ReadU32(FData.get());
  const std::uint32_t payload =
      count == 0 ? 0 : ReadU32(FData.get() + EndsOffset() + (count - 1) * sizeof(std::uint32_t));
  const std::size_t size = PayloadOffset(count) + payload;
  copy.FData.reset(new std::uint8_t[size]);
  std::memcpy(copy.FData.get(), FData.get(), size);
  return copy;
}

void RowBuilder::AddBytes(CellKind kind, const void* bytes, std::size_t size) {
  if (size > 0) {
    const auto* first = static_cast<const std::uint8_t*>(bytes);
    FPayload.insert(FPayload.end(), first, first + size);
  }
  FKinds.push_back(kind);
  FEnds.push_back(static_cast<std::uint32_t>(FPayload.size()));
}

void RowBuilder::Add(const CellView& cell) {
  switch (cell.Kind) {
    case CellKind::Null:
      return AddBytes(cell.Kind, nullptr, 0);
    case CellKind::Integer:
      return AddBytes(cell.Kind, &cell.Integer, sizeof cell.Integer);
    case CellKind::Float:
      return AddBytes(cell.Kind, &cell.Float, sizeof cell.Float);
    case CellKind::Text:
    case CellKind::Blob:
      return AddBytes(cell.Kind, cell.Bytes.data(), cell.Bytes.size());
  }
}

RowBuffer RowBuilder::Build() {
  const auto count = static_cast<std::uint32_t>(FKinds.size());
  RowBuffer row;
  row.FData.reset(new std::uint8_t[PayloadOffset(count) + FPayload.size()]);
  std::uint8_t* data = row.FData.get();
  std::memcpy(data, &count, sizeof count);
  if (count > 0) {
    std::memcpy(data + EndsOffset(), FEnds.data(), count * sizeof(std::uint32_t));
    std::memcpy(data + KindsOffset(count), FKinds.data(), count);
  }
  if (!FPayload.empty()) std::memcpy(data + PayloadOffset(count), FPayload.data(), FPayload.size());
  FEnds.clear();
  FKinds.clear();
  FPayload.clear();
  return row;
}

}  // namespace dbengine
