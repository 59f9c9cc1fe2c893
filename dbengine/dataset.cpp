#include "dbengine/dataset.h"

#include <algorithm>

#include "dbengine/connection.h"
#include "dbengine/cursor.h"
#include "dbengine/errors.h"
#include "dbengine/forward_cursor.h"
#include "dbengine/record_reader.h"
#include "dbengine/row_source.h"
#include "dbengine/static_cursor.h"
#include "dbengine/storage.h"
#include "dbengine/value_text.h"
#include "platform/ascii_case.h"

namespace dbengine {
namespace {

// The most a page holds: each of its rows is a placeholder of one statement.
constexpr int kLargestPageSize = 1000;

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

void TDataSet::Scrolled(bool moved) {
  if (moved) FListeners.Notify(&TDataSetListener::DataSetScrolled);
}

void TDataSet::RequireActive() const {
  if (!Active()) throw EDatabaseError(kClosedDataSetMessage);
}

bool TDataSet::CanModify() const {
  return Active() && FCursor->CanModify() && LockType != ltReadOnly && FOpenedOn != nullptr &&
         !FOpenedOn->ReadOnly();
}

void TDataSet::RequireWritable() const {
  if (CanModify()) return;
  // When only the file stands in the way, say why and what to do about it.
  if (FOpenedOn != nullptr && !FOpenedOn->ReadOnlyReason().empty() && Active() &&
      FCursor->CanModify() && LockType != ltReadOnly)
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

std::unique_ptr<Cursor> TDataSet::MakeCursor(TADOConnection& connection) {
  if (CursorType == ctOpenForwardOnly)
    return std::make_unique<ForwardCursor>(RowStream(connection));
  const int pageSize =
      CacheSize > 0 ? std::min(CacheSize, kLargestPageSize) : connection.Data().DefaultPageSize();
  return std::make_unique<StaticCursor>(StaticRows(connection, pageSize));
}

void TDataSet::Open() {
  if (Active()) return;
  if (Connection == nullptr) throw EDatabaseError("The dataset has no connection.");
  if (!Connection->Connected()) Connection->Open();
  const TADOConnection::TChangeStamp stamp = Connection->ChangeStamp();
  std::unique_ptr<Cursor> cursor = MakeCursor(*Connection);
  FFields.clear();
  for (const ColumnInfo& column : cursor->Columns())
    FFields.push_back(std::make_unique<TField>(*this, static_cast<int>(FFields.size()), column.Name,
                                               column.Def.DataType, column.Def.Size));
  FCursor = std::move(cursor);
  FReadStamp = stamp;
  FOpenedOn = Connection;
  FOpenedOn->AttachDataSet(this);
  FState = dsBrowse;
  FListeners.Notify(&TDataSetListener::ActiveChanged);
}

void TDataSet::Close() {
  if (!Active()) return;
  FCursor.reset();
  EndEdit();
  FState = dsInactive;
  if (FOpenedOn != nullptr) FOpenedOn->DetachDataSet(this);
  FOpenedOn = nullptr;
  FListeners.Notify(&TDataSetListener::ActiveChanged);
}

void TDataSet::ReadRowsAgain() {
  RequireActive();
  CheckBrowseMode();
  const TADOConnection::TChangeStamp stamp = FOpenedOn->ChangeStamp();
  std::unique_ptr<Cursor> cursor = MakeCursor(*FOpenedOn);
  if (cursor->Columns().size() != FFields.size())
    throw EDatabaseError("The columns of the dataset changed; close it and open it again.");
  if (const std::optional<std::int64_t> current = FCursor->CurrentRowId()) cursor->Locate(*current);
  FCursor = std::move(cursor);
  FReadStamp = stamp;
  NotifyDataSetChanged();
}

// ---- moving ----

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
  Scrolled(FCursor->First());
}

void TDataSet::Last() {
  RequireActive();
  CheckBrowseMode();
  Scrolled(FCursor->Last());
}

void TDataSet::Next() {
  MoveBy(1);
}

void TDataSet::Prior() {
  MoveBy(-1);
}

int TDataSet::MoveBy(int distance) {
  RequireActive();
  CheckBrowseMode();
  const int moved = FCursor->MoveBy(distance);
  Scrolled(moved != 0);
  return moved;
}

void TDataSet::SetRecNo(int recNo) {
  RequireActive();
  CheckBrowseMode();
  Scrolled(FCursor->SetRecNo(recNo));
}

bool TDataSet::Eof() const {
  return !Active() || FCursor->Eof();
}

bool TDataSet::Bof() const {
  return !Active() || FCursor->Bof();
}

int TDataSet::RecNo() const {
  return Active() ? FCursor->RecNo() : 0;
}

int TDataSet::RecordCount() const {
  RequireActive();
  return FCursor->RecordCount();
}

bool TDataSet::IsEmpty() const {
  return !Active() || FCursor->IsEmpty();
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
    if (platform::SameText(field->FieldName(), fieldName)) return field->Index();
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

CellView TDataSet::Cell(int recordIndex, int fieldIndex) const {
  const bool current = recordIndex == FCursor->Current();
  if (current && (FState == dsEdit || FState == dsInsert))
    return FEditBuffer[static_cast<std::size_t>(fieldIndex)].View();
  const RowBuffer& row = current ? FCursor->CurrentRow() : FCursor->Row(recordIndex);
  return row.Empty() ? CellView{} : row.Cell(fieldIndex);
}

CellView TDataSet::CurrentCell(int fieldIndex) const {
  RequireActive();
  const int current = FCursor->Current();
  if (current < 0) return {};
  if (FState == dsEdit || FState == dsInsert)
    return FEditBuffer[static_cast<std::size_t>(fieldIndex)].View();
  const RowBuffer& row = FCursor->CurrentRow();
  return row.Empty() ? CellView{} : row.Cell(fieldIndex);
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
  if (!FCursor->Reachable(recordIndex) || fieldIndex < 0 || fieldIndex >= FieldCount())
    throw EDatabaseError("No cell at record " + std::to_string(recordIndex) + ", field " +
                         std::to_string(fieldIndex));
  try {
    return dbengine::CellText(Cell(recordIndex, fieldIndex),
                              FFields[static_cast<std::size_t>(fieldIndex)]->DataType());
  } catch (const EDatabaseError&) {
    // A page that cannot be read just now (the file locked beyond the wait, the table gone) is
    // painted empty: a paint has no one to tell, and the next move or refresh reports it.
    return {};
  }
}

bool TDataSet::CellIsNull(int recordIndex, int fieldIndex) const {
  RequireActive();
  if (!FCursor->Reachable(recordIndex) || fieldIndex < 0 || fieldIndex >= FieldCount()) return true;
  try {
    return Cell(recordIndex, fieldIndex).Kind == CellKind::Null;
  } catch (const EDatabaseError&) {
    return true;  // as CellText: unreadable just now
  }
}

// ---- editing ----

void TDataSet::StartEditBuffer(bool fromCurrentRecord) {
  const std::size_t count = FFields.size();
  FEditBuffer.assign(count, CellValue{});
  if (fromCurrentRecord) {
    const RowBuffer& row = FCursor->CurrentRow();
    if (!row.Empty())
      for (std::size_t i = 0; i < count; ++i)
        FEditBuffer[i] = CellValue::From(row.Cell(static_cast<int>(i)));
  }
  FEditChanged.assign(count, false);
  FModified = false;
}

void TDataSet::EndEdit() {
  FEditBuffer.clear();
  FEditChanged.clear();
  FModified = false;
  FEditVersion.reset();
}

void TDataSet::Insert() {
  RequireActive();
  RequireWritable();
  CheckBrowseMode();
  FCursor->InsertPending();
  StartEditBuffer(false);
  SetState(dsInsert);
  NotifyDataSetChanged();
}

void TDataSet::Edit() {
  RequireActive();
  if (FState == dsEdit || FState == dsInsert) return;
  if (FCursor->IsEmpty()) return Insert();
  RequireWritable();
  StartEditBuffer(true);
  // What another connection stores over this record from now on is not overwritten unseen.
  FEditVersion = FCursor->CurrentVersion();
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
  if (FState == dsInsert) {
    FCursor->StorePending(FEditBuffer, FEditChanged);
  } else {
    try {
      FCursor->StoreCurrent(FEditBuffer, FEditChanged, FEditVersion);
    } catch (const ERecordChanged& changed) {
      // The user has been told and the record stays pending as typed: storing it again puts the
      // changed fields over the other connection's version.
      FEditVersion = changed.CurrentVersion;
      throw;
    }
  }
  EndEdit();
  SetState(dsBrowse);
  NotifyDataSetChanged();
}

void TDataSet::Cancel() {
  RequireActive();
  if (FState == dsInsert) {
    FCursor->DropPending();
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
  if (FCursor->IsEmpty()) throw EDatabaseError("Cannot perform this operation on an empty dataset");
  RequireWritable();
  FCursor->DeleteCurrent();
  if (FState == dsEdit) {
    EndEdit();
    SetState(dsBrowse);
  }
  NotifyDataSetChanged();
}

void TDataSet::Refresh() {
  RequireActive();
  CheckBrowseMode();
  const TADOConnection::TChangeStamp stamp = FOpenedOn->ChangeStamp();
  FCursor->Refresh(stamp != FReadStamp);
  FReadStamp = stamp;
  NotifyDataSetChanged();
}

// ---- bookmarks ----

TBookmark TDataSet::GetBookmark() const {
  RequireActive();
  return FCursor->Bookmark();
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark) const {
  return Active() && FCursor->BookmarkValid(bookmark);
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
  RequireActive();
  CheckBrowseMode();
  Scrolled(FCursor->GotoBookmark(bookmark));
}

}  // namespace dbengine
