#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dbengine/connection.h"
#include "dbengine/field.h"
#include "dbengine/listener_list.h"
#include "dbengine/row_buffer.h"
#include "dbengine/types.h"

namespace dbengine {

class TADOConnection;
class Cursor;
class RecordReader;
class RowSource;
class StaticCursor;

// What a data source, grid or navigator observes of a dataset.
class TDataSetListener {
 public:
  virtual ~TDataSetListener() = default;
  virtual void ActiveChanged() {}
  virtual void StateChanged() {}
  // The current record's values changed: one field, or all of them when field is null.
  virtual void RecordChanged(const TField* field) { (void)field; }
  // Rows were re-read, inserted, deleted or re-ordered.
  virtual void DataSetChanged() {}
  // Another record became current.
  virtual void DataSetScrolled() {}
  // The dataset is being destroyed; drop every pointer to it.
  virtual void DataSetDestroying() {}
  // The pending record is about to be stored or dropped: put what the control holds and has not
  // yet written (the text of an open cell editor) into it now, or it is lost.
  virtual void UpdateData() {}
};

// Names one row of an open dataset; an empty bookmark names none. A table's row is named by its
// rowid, so the bookmark holds across re-reads and re-sorts; a new row by the rowid it is stored
// as; a query's row by its place in one reading of the rows.
class TBookmark {
 public:
  bool Empty() const { return FKind == TKind::None; }

 private:
  friend class StaticCursor;
  enum class TKind : std::uint8_t { None, RowId, NewRow, Position };
  TKind FKind = TKind::None;
  std::int64_t FKey = 0;
  std::uint64_t FReading = 0;
  std::shared_ptr<const std::optional<std::int64_t>> FStored;
};

// Base of TADOTable and TADOQuery: a list of rows with a current record and the edit states.
// A static cursor counts the rows and reads them a page at a time as they are shown or walked,
// holding only a few pages (and, for a table, the rowids); a forward-only cursor streams them and
// is read-only. Leaving a pending record by any move posts it when modified and drops it
// otherwise.
class TDataSet {
 public:
  using TBookmark = dbengine::TBookmark;

  TDataSet(const TDataSet&) = delete;
  TDataSet& operator=(const TDataSet&) = delete;
  virtual ~TDataSet();

  TADOConnection* Connection = nullptr;
  TCursorType CursorType = ctStatic;
  TLockType LockType = ltOptimistic;
  // Rows a static cursor reads from the database at a time (a page); it holds a few pages. 0
  // lets the engine choose: 256 rows from a file, 64 from a server.
  int CacheSize = 0;

  // Opens the connection first when it is closed. Every open reads the rows anew.
  void Open();
  // Drops a pending record without storing it.
  void Close();
  void SetActive(bool active);
  bool Active() const { return FState != dsInactive; }
  TDataSetState State() const { return FState; }

  void First();
  void Last();
  void Next();
  void Prior();
  // Moves up to |distance| records; answers how many it moved (negative backwards).
  int MoveBy(int distance);
  // Makes the record with this 1-based number current.
  void SetRecNo(int recNo);
  bool Eof() const;
  bool Bof() const;
  // 1-based number of the current record, 0 when there is none.
  int RecNo() const;
  // Rows in the list, a pending new row included; -1 for a forward-only cursor.
  int RecordCount() const;

  // 0 while closed.
  int FieldCount() const { return Active() ? static_cast<int>(FFields.size()) : 0; }
  TField& Fields(int index);
  TField& FieldByName(const std::string& fieldName);
  TField* FindField(const std::string& fieldName);

  // A new row before the current one (posting a pending modified row first), shown at once.
  void Insert();
  // Edits the current record; on an empty dataset starts a new row instead.
  void Edit();
  void Post();
  void Cancel();
  void Delete();
  // Asks every control to put what it still holds into the pending record (see UpdateData);
  // nothing happens while no record is pending. Every move, refresh, sort and insert does it first.
  void UpdateRecord();
  // Posts a modified pending row (drops an untouched new one), reads the rows again and keeps
  // the current record where it still exists.
  void Refresh();
  bool Modified() const { return FModified; }
  bool IsEmpty() const;
  bool CanModify() const;

  TBookmark GetBookmark() const;
  void GotoBookmark(const TBookmark& bookmark);
  void FreeBookmark(TBookmark& bookmark) { bookmark = {}; }
  bool BookmarkValid(const TBookmark& bookmark) const;

  // Any row's value without moving the current record (for a virtual grid); the pending row
  // shows its edit buffer. recordIndex is 0-based in the list order. A row whose page cannot be
  // read just now reads as empty (null); a record number outside the list is an error.
  std::string CellText(int recordIndex, int fieldIndex) const;
  bool CellIsNull(int recordIndex, int fieldIndex) const;

  void AddListener(TDataSetListener* listener);
  void RemoveListener(TDataSetListener* listener);

 protected:
  TDataSet();

  // The rows of a static cursor, read a page of `pageSize` rows at a time.
  virtual std::unique_ptr<RowSource> StaticRows(TADOConnection& connection, int pageSize) = 0;
  // The statement a forward-only cursor streams.
  virtual std::unique_ptr<RecordReader> RowStream(TADOConnection& connection) = 0;

  // Reads the rows again after the order or the condition changed, keeping the current record
  // current when it is still shown. A failure leaves the rows as they were.
  void ReadRowsAgain();
  // The index of the field with this name (without regard to case) while opening too; -1 or
  // EDatabaseError "Field '<name>' not found" when there is none.
  int FieldIndex(const std::string& fieldName) const;
  int RequireFieldIndex(const std::string& fieldName) const;
  // Posts or drops a pending row: what every move does first.
  void CheckBrowseMode();
  void RequireActive() const;
  void NotifyDataSetChanged();

 private:
  friend class TField;

  std::unique_ptr<Cursor> MakeCursor(TADOConnection& connection);
  void RequireWritable() const;
  void SetState(TDataSetState state);
  void Scrolled(bool moved);
  CellView Cell(int recordIndex, int fieldIndex) const;
  void StartEditBuffer(bool fromCurrentRecord);
  void EndEdit();

  // TField's access to the current record.
  CellView CurrentCell(int fieldIndex) const;
  void SetCurrentCell(int fieldIndex, CellValue value);

  TDataSetState FState = dsInactive;
  std::vector<std::unique_ptr<TField>> FFields;
  std::unique_ptr<Cursor> FCursor;

  std::vector<CellValue> FEditBuffer;
  std::vector<bool> FEditChanged;
  bool FModified = false;
  // The version of the record being edited as it was read when the edit began.
  std::optional<std::int64_t> FEditVersion;

  TADOConnection* FOpenedOn = nullptr;
  // The connection's change stamp when the rows were last read: a refresh with nothing changed
  // since keeps them instead of reading them again.
  TADOConnection::TChangeStamp FReadStamp;
  ListenerList FListeners;
};

}  // namespace dbengine
