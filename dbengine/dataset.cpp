#include "dbengine/dataset.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "dbengine/connection.h"
#include "dbengine/errors.h"
#include "dbengine/record_reader.h"
#include "dbengine/table_rows.h"
#include "dbengine/value_text.h"

namespace dbengine {
namespace {

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// SQLite's order of values: null, numbers, text, blobs; text byte by byte.
int Rank(CellKind kind) {
  switch (kind) {
    case CellKind::Null:
      return 0;
    case CellKind::Integer:
    case CellKind::Float:
      return 1;
    case CellKind::Text:
      return 2;
    case CellKind::Blob:
      return 3;
  }
  return 0;
}

int CompareCells(const CellView& a, const CellView& b) {
  const int rankA = Rank(a.Kind);
  const int rankB = Rank(b.Kind);
  if (rankA != rankB) return rankA < rankB ? -1 : 1;
  if (rankA == 1) {
    if (a.Kind == CellKind::Integer && b.Kind == CellKind::Integer)
      return a.Integer < b.Integer ? -1 : (a.Integer > b.Integer ? 1 : 0);
    const double x = a.Kind == CellKind::Integer ? static_cast<double>(a.Integer) : a.Float;
    const double y = b.Kind == CellKind::Integer ? static_cast<double>(b.Integer) : b.Float;
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  const int order = a.Bytes.compare(b.Bytes);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

}  // namespace

TDataSet::TDataSet() = default;

TDataSet::~TDataSet() {
  Close();
  FListeners.Notify(&TDataSetListener::DataSetDestroying);
}

void TDataSet::AddListener(TDataSetListener* listener) {
  FListeners.Add(listener);
}

void TDataSet::RemoveListener(TDataSetListener* listener) {
  FListeners.Remove(listener);
}

void TDataSet::NotifyDataSetChanged() {
  FListeners.Notify(&TDataSetListener::DataSetChanged);
}

void TDataSet::RequireActive() const {
  if (!Active()) throw EDatabaseError(kClosedDataSetMessage);
}

void TDataSet::RequireStatic(const char* operation) const {
  if (Streaming())
    throw EDatabaseError(std::string(operation) + " is not possible on a forward-only dataset");
}

bool TDataSet::CanModify() const {
  return Active() && !Streaming() && LockType != ltReadOnly && !UpdateTableName().empty() &&
         FOpenedOn != nullptr && !FOpenedOn->ReadOnly();
}

void TDataSet::RequireWritable() const {
  if (CanModify()) return;
  // When only the file stands in the way, say why and what to do about it.
  if (FOpenedOn != nullptr && !FOpenedOn->ReadOnlyReason().empty() && Active() && !Streaming() &&
      LockType != ltReadOnly && !UpdateTableName().empty())
    throw EDatabaseError(FOpenedOn->ReadOnlyReason());
  throw EDatabaseError("Cannot modify a read-only dataset");
}

void TDataSet::SetState(TDataSetState state) {
  if (FState == state) return;
  FState = state;
  FListeners.Notify(&TDataSetListener::StateChanged);
}

// ---- opening and closing ----

void TDataSet::SetActive(bool active) {
  if (active)
    Open();
  else
    Close();
}

void TDataSet::Open() {
  if (Active()) return;
  if (Connection == nullptr) throw EDatabaseError("The dataset has no connection.");
  if (!Connection->Connected()) Connection->Open();
  const TADOConnection::TChangeStamp stamp = Connection->ChangeStamp();
  try {
    auto reader =
        std::make_unique<RecordReader>(Connection->Handle(), SelectStatement(), HasRowId());
    FFields.clear();
    for (const ColumnInfo& column : reader->Columns())
      FFields.push_back(std::make_unique<TField>(*this, static_cast<int>(FFields.size()),
                                                 column.Name, column.Def.DataType,
                                                 column.Def.Size));
    FRecords.clear();
    if (Streaming()) {
      FStream = std::move(reader);
      Record first;
      if (FStream->Read(first)) FRecords.push_back(std::move(first));
      FStreamRecNo = FRecords.empty() ? 0 : 1;
    } else {
      ReadAllRecords(*reader);
      OrderRecords();
      FReadStamp = stamp;
    }
  } catch (...) {
    FStream.reset();
    FRecords.clear();
    FFields.clear();
    throw;
  }
  FOpenedOn = Connection;
  FOpenedOn->AttachDataSet(this);
  FCurrent = FRecords.empty() ? -1 : 0;
  FBof = true;
  FEof = FRecords.empty();
  FState = dsBrowse;
  FListeners.Notify(&TDataSetListener::ActiveChanged);
}

void TDataSet::ReadAllRecords(RecordReader& reader) {
  // Rows that are read again keep their serial, so bookmarks and the current record survive.
  std::unordered_map<std::int64_t, std::uint64_t> serials;
  if (HasRowId())
    for (const Record& record : FRecords)
      if (record.RowId != 0) serials.emplace(record.RowId, record.Serial);

  std::vector<Record> records;
  records.reserve(FRecords.size());
  Record record;
  while (reader.Read(record)) {
    const auto kept = serials.find(record.RowId);
    record.Serial = kept != serials.end() ? kept->second : FNextSerial++;
    records.push_back(std::move(record));
  }
  FRecords = std::move(records);
}

void TDataSet::Close() {
  if (!Active()) return;
  FStream.reset();
  FRecords.clear();
  FRecords.shrink_to_fit();
  EndEdit();
  FCurrent = -1;
  FStreamRecNo = 0;
  FBof = FEof = true;
  FState = dsInactive;
  if (FOpenedOn != nullptr) FOpenedOn->DetachDataSet(this);
  FOpenedOn = nullptr;
  FListeners.Notify(&TDataSetListener::ActiveChanged);
}

// ---- moving ----

void TDataSet::MoveTo(int index) {
  const int last = static_cast<int>(FRecords.size()) - 1;
  index = std::clamp(index, std::min(0, last), last);
  if (index == FCurrent) return;
  FCurrent = index;
  FListeners.Notify(&TDataSetListener::DataSetScrolled);
}

void TDataSet::UpdateRecord() {
  if (FState != dsEdit && FState != dsInsert) return;
  FListeners.Notify(&TDataSetListener::UpdateData);
}

void TDataSet::CheckBrowseMode() {
  if (FState != dsEdit && FState != dsInsert) return;
  // A value still in a control's hands makes an untouched record a modified one.
  UpdateRecord();
  if (FModified)
    Post();
  else
    Cancel();
}

void TDataSet::First() {
  RequireActive();
  CheckBrowseMode();
  if (Streaming()) {
    if (FStreamRecNo > 1 || FEof) {
      FStream->Restart();
      FRecords.clear();
      Record first;
      if (FStream->Read(first)) FRecords.push_back(std::move(first));
      FStreamRecNo = FRecords.empty() ? 0 : 1;
      FCurrent = FRecords.empty() ? -1 : 0;
      FListeners.Notify(&TDataSetListener::DataSetScrolled);
    }
  } else {
    MoveTo(0);
  }
  FBof = true;
  FEof = FRecords.empty();
}

void TDataSet::Last() {
  RequireActive();
  RequireStatic("Moving to the last record");
  CheckBrowseMode();
  MoveTo(static_cast<int>(FRecords.size()) - 1);
  FEof = true;
  FBof = FRecords.empty();
}

void TDataSet::Next() {
  MoveBy(1);
}

void TDataSet::Prior() {
  MoveBy(-1);
}

int TDataSet::MoveBy(int distance) {
  RequireActive();
  if (distance < 0) RequireStatic("Moving backwards");
  CheckBrowseMode();
  int moved = 0;
  if (Streaming()) {
    Record next;
    while (moved < distance && !FEof) {
      if (!FStream->Read(next)) {
        FEof = true;
        break;
      }
      FRecords.front() = std::move(next);
      ++FStreamRecNo;
      ++moved;
    }
    if (moved > 0) FListeners.Notify(&TDataSetListener::DataSetScrolled);
  } else {
    const int before = FCurrent;
    MoveTo(FCurrent + distance);
    moved = FCurrent - before;
  }
  if (FRecords.empty()) {
    FBof = FEof = true;
  } else if (distance != 0) {
    FEof = distance > 0 && moved < distance;
    FBof = distance < 0 && moved > distance;
  }
  return moved;
}

void TDataSet::SetRecNo(int recNo) {
  RequireActive();
  RequireStatic("Moving to a record number");
  CheckBrowseMode();
  MoveTo(recNo - 1);
  FBof = FEof = FRecords.empty();
}

int TDataSet::RecNo() const {
  if (!Active() || FCurrent < 0) return 0;
  return Streaming() ? FStreamRecNo : FCurrent + 1;
}

int TDataSet::RecordCount() const {
  RequireActive();
  return Streaming() ? -1 : static_cast<int>(FRecords.size());
}

bool TDataSet::IsEmpty() const {
  return !Active() || FRecords.empty();
}

// ---- fields ----

TField& TDataSet::Fields(int index) {
  RequireActive();
  if (index < 0 || index >= FieldCount())
    throw EDatabaseError("Field index out of range: " + std::to_string(index));
  return *FFields[static_cast<std::size_t>(index)];
}

int TDataSet::FieldIndex(const std::string& fieldName) const {
  for (const auto& field : FFields)
    if (SameName(field->FieldName(), fieldName)) return field->Index();
  return -1;
}

int TDataSet::RequireFieldIndex(const std::string& fieldName) const {
  const int index = FieldIndex(fieldName);
  if (index < 0) throw EDatabaseError("Field '" + fieldName + "' not found");
  return index;
}

TField* TDataSet::FindField(const std::string& fieldName) {
  const int index = Active() ? FieldIndex(fieldName) : -1;
  return index < 0 ? nullptr : FFields[static_cast<std::size_t>(index)].get();
}

TField& TDataSet::FieldByName(const std::string& fieldName) {
  RequireActive();
  return *FFields[static_cast<std::size_t>(RequireFieldIndex(fieldName))];
}

CellView TDataSet::StoredCell(int recordIndex, int fieldIndex) const {
  const Record& record = FRecords[static_cast<std::size_t>(recordIndex)];
  if (record.Values.Empty()) return {};
  return record.Values.Cell(fieldIndex);
}

CellView TDataSet::Cell(int recordIndex, int fieldIndex) const {
  if (recordIndex == FCurrent && (FState == dsEdit || FState == dsInsert))
    return FEditBuffer[static_cast<std::size_t>(fieldIndex)].View();
  return StoredCell(recordIndex, fieldIndex);
}

CellView TDataSet::CurrentCell(int fieldIndex) const {
  RequireActive();
  if (FCurrent < 0) return {};
  return Cell(FCurrent, fieldIndex);
}

void TDataSet::SetCurrentCell(int fieldIndex, CellValue value) {
  RequireActive();
  if (FState != dsEdit && FState != dsInsert)
    throw EDatabaseError("Dataset not in edit or insert mode");
  const TField& field = *FFields[static_cast<std::size_t>(fieldIndex)];
  if (field.DataType() == ftAutoInc)
    throw EDatabaseError("Field '" + field.FieldName() + "' cannot be modified");
  FEditBuffer[static_cast<std::size_t>(fieldIndex)] = std::move(value);
  FEditChanged[static_cast<std::size_t>(fieldIndex)] = true;
  FModified = true;
  FListeners.Notify(&TDataSetListener::RecordChanged, &field);
}

std::string TDataSet::CellText(int recordIndex, int fieldIndex) const {
  RequireActive();
  const bool reachable = Streaming()
                             ? recordIndex == FStreamRecNo - 1
                             : recordIndex >= 0 && recordIndex < static_cast<int>(FRecords.size());
  if (!reachable || fieldIndex < 0 || fieldIndex >= FieldCount())
    throw EDatabaseError("No cell at record " + std::to_string(recordIndex) + ", field " +
                         std::to_string(fieldIndex));
  const int index = Streaming() ? 0 : recordIndex;
  return dbengine::CellText(Cell(index, fieldIndex),
                            FFields[static_cast<std::size_t>(fieldIndex)]->DataType());
}

bool TDataSet::CellIsNull(int recordIndex, int fieldIndex) const {
  RequireActive();
  const int index = Streaming() ? 0 : recordIndex;
  if (index < 0 || index >= static_cast<int>(FRecords.size()) || fieldIndex < 0 ||
      fieldIndex >= FieldCount())
    return true;
  return Cell(index, fieldIndex).Kind == CellKind::Null;
}

// ---- editing ----

void TDataSet::StartEditBuffer(const Record* from) {
  const std::size_t count = FFields.size();
  FEditBuffer.assign(count, CellValue{});
  if (from != nullptr && !from->Values.Empty())
    for (std::size_t i = 0; i < count; ++i)
      FEditBuffer[i] = CellValue::From(from->Values.Cell(static_cast<int>(i)));
  FEditChanged.assign(count, false);
  FModified = false;
}

void TDataSet::EndEdit() {
  FEditBuffer.clear();
  FEditChanged.clear();
  FModified = false;
}

void TDataSet::Insert() {
  RequireActive();
  RequireWritable();
  CheckBrowseMode();
  const int at = std::max(FCurrent, 0);
  Record record;
  record.Serial = FNextSerial++;
  FRecords.insert(FRecords.begin() + at, std::move(record));
  FCurrent = at;
  FBof = FEof = false;
  StartEditBuffer(nullptr);
  SetState(dsInsert);
  NotifyDataSetChanged();
}

void TDataSet::Edit() {
  RequireActive();
  if (FState == dsEdit || FState == dsInsert) return;
  if (FRecords.empty()) return Insert();
  RequireWritable();
  StartEditBuffer(&FRecords[static_cast<std::size_t>(FCurrent)]);
  SetState(dsEdit);
}

void TDataSet::Post() {
  RequireActive();
  if (FState != dsEdit && FState != dsInsert)
    throw EDatabaseError("Dataset not in edit or insert mode");
  // Text longer than its column is refused, never cut: the row stays pending as typed.
  for (const auto& field : FFields) {
    const auto i = static_cast<std::size_t>(field->Index());
    if (field->DataType() != ftWideString || field->Size() <= 0 || !FEditChanged[i]) continue;
    if (FEditBuffer[i].Kind == CellKind::Text &&
        CharacterCount(FEditBuffer[i].Bytes) > static_cast<std::size_t>(field->Size()))
      throw EDatabaseError(field->FieldName() + ": the value is longer than the field's size of " +
                           std::to_string(field->Size()) + " characters");
  }
  std::vector<std::string> columns;
  columns.reserve(FFields.size());
  for (const auto& field : FFields) columns.push_back(field->FieldName());

  sqlite3* db = FOpenedOn->Handle();
  const std::string table = UpdateTableName();
  Record& record = FRecords[static_cast<std::size_t>(FCurrent)];
  std::int64_t rowId = record.RowId;
  if (FState == dsInsert)
    rowId = InsertRow(db, table, columns, FEditBuffer, FEditChanged);
  else
    UpdateRow(db, table, rowId, columns, FEditBuffer, FEditChanged);
  Record stored = ReadRow(db, table, rowId);
  record.Values = std::move(stored.Values);
  record.RowId = rowId;
  EndEdit();
  SetState(dsBrowse);
  NotifyDataSetChanged();
}

void TDataSet::Cancel() {
  RequireActive();
  if (FState == dsInsert) {
    FRecords.erase(FRecords.begin() + FCurrent);
    FCurrent = std::min(FCurrent, static_cast<int>(FRecords.size()) - 1);
    FBof = FEof = FRecords.empty();
    EndEdit();
    SetState(dsBrowse);
    NotifyDataSetChanged();
  } else if (FState == dsEdit) {
    EndEdit();
    SetState(dsBrowse);
    FListeners.Notify(&TDataSetListener::RecordChanged, static_cast<const TField*>(nullptr));
  }
}

void TDataSet::Delete() {
  RequireActive();
  if (FState == dsInsert) return Cancel();
  if (FRecords.empty()) throw EDatabaseError("Cannot perform this operation on an empty dataset");
  RequireWritable();
  DeleteRow(FOpenedOn->Handle(), UpdateTableName(),
            FRecords[static_cast<std::size_t>(FCurrent)].RowId);
  if (FState == dsEdit) {
    EndEdit();
    SetState(dsBrowse);
  }
  FRecords.erase(FRecords.begin() + FCurrent);
  FCurrent = std::min(FCurrent, static_cast<int>(FRecords.size()) - 1);
  FBof = FEof = FRecords.empty();
  NotifyDataSetChanged();
}

void TDataSet::Refresh() {
  RequireActive();
  CheckBrowseMode();
  if (Streaming()) {
    FEof = true;  // makes First read the statement again
    First();
    NotifyDataSetChanged();
    return;
  }
  const TADOConnection::TChangeStamp stamp = FOpenedOn->ChangeStamp();
  if (stamp == FReadStamp) {
    NotifyDataSetChanged();
    return;
  }
  const std::uint64_t current =
      FCurrent >= 0 ? FRecords[static_cast<std::size_t>(FCurrent)].Serial : 0;
  const int previousIndex = FCurrent;
  RecordReader reader(FOpenedOn->Handle(), SelectStatement(), HasRowId());
  if (reader.Columns().size() != FFields.size())
    throw EDatabaseError("The columns of the dataset changed; close it and open it again.");
  ReadAllRecords(reader);
  OrderRecords();
  FReadStamp = stamp;
  const int found = IndexOfSerial(current);
  const int last = static_cast<int>(FRecords.size()) - 1;
  FCurrent = found >= 0 ? found : std::clamp(previousIndex, std::min(0, last), last);
  FBof = FEof = FRecords.empty();
  NotifyDataSetChanged();
}

// ---- bookmarks and order ----

int TDataSet::IndexOfSerial(std::uint64_t serial) const {
  if (serial == 0) return -1;
  for (std::size_t i = 0; i < FRecords.size(); ++i)
    if (FRecords[i].Serial == serial) return static_cast<int>(i);
  return -1;
}

TBookmark TDataSet::GetBookmark() const {
  RequireActive();
  RequireStatic("A bookmark");
  if (FCurrent < 0) return {};
  return {FRecords[static_cast<std::size_t>(FCurrent)].Serial};
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark) const {
  return Active() && !Streaming() && IndexOfSerial(bookmark.Serial) >= 0;
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
  RequireActive();
  RequireStatic("A bookmark");
  CheckBrowseMode();
  const int index = IndexOfSerial(bookmark.Serial);
  if (index < 0) throw EDatabaseError("Record not found");
  MoveTo(index);
  FBof = FEof = false;
}

void TDataSet::SortRecords(const std::vector<SortKey>& keys) {
  const std::uint64_t current =
      FCurrent >= 0 ? FRecords[static_cast<std::size_t>(FCurrent)].Serial : 0;
  std::stable_sort(FRecords.begin(), FRecords.end(), [&keys](const Record& a, const Record& b) {
    for (const SortKey& key : keys) {
      const CellView x = a.Values.Empty() ? CellView{} : a.Values.Cell(key.FieldIndex);
      const CellView y = b.Values.Empty() ? CellView{} : b.Values.Cell(key.FieldIndex);
      const int order = CompareCells(x, y);
      if (order != 0) return key.Descending ? order > 0 : order < 0;
    }
    return a.RowId < b.RowId;
  });
  const int found = IndexOfSerial(current);
  if (found >= 0) FCurrent = found;
}

}  // namespace dbengine
