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

void RowBuilder::AddBytes(CellKind kind, const void* bytes, std::size_t size) {
  if (size > 0) {
    const auto* first = static_cast<const std::uint8_t*>(bytes);
    FPayload.insert(FPayload.end(), first, first + size);
  }
  FKinds.push_back(kind);
  FEnds.push_back(static_cast<std::uint32_t>(FPayload.size()));
}

void RowBuilder::AddNull() {
  AddBytes(CellKind::Null, nullptr, 0);
}
void RowBuilder::AddInteger(std::int64_t value) {
  AddBytes(CellKind::Integer, &value, sizeof value);
}
void RowBuilder::AddFloat(double value) {
  AddBytes(CellKind::Float, &value, sizeof value);
}
void RowBuilder::AddText(const void* bytes, std::size_t size) {
  AddBytes(CellKind::Text, bytes, size);
}
void RowBuilder::AddBlob(const void* bytes, std::size_t size) {
  AddBytes(CellKind::Blob, bytes, size);
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
