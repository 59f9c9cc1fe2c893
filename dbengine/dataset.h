#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dbengine/connection.h"
#include "dbengine/field.h"
#include "dbengine/listener_list.h"
#include "dbengine/row_buffer.h"
#include "dbengine/types.h"

namespace dbengine {

class TADOConnection;
class RecordReader;

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

// Names one row of an open dataset; an empty bookmark names none.
struct TBookmark {
  std::uint64_t Serial = 0;
  bool Empty() const { return Serial == 0; }
};

// Base of TADOTable and TADOQuery: a list of rows with a current record and the edit states.
// A static cursor reads every row when it opens; a forward-only cursor streams them and is
// read-only. Leaving a pending record by any move posts it when modified and drops it otherwise.
class TDataSet {
 public:
  using TBookmark = dbengine::TBookmark;

  TDataSet(const TDataSet&) = delete;
  TDataSet& operator=(const TDataSet&) = delete;
  virtual ~TDataSet();

  TADOConnection* Connection = nullptr;
  TCursorType CursorType = ctStatic;
  TLockType LockType = ltOptimistic;

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
  bool Eof() const { return FEof; }
  bool Bof() const { return FBof; }
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
  // Posts a modified pending row (drops an untouched new one), reads every row again and keeps
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
  // shows its edit buffer. recordIndex is 0-based in the list order.
  std::string CellText(int recordIndex, int fieldIndex) const;
  bool CellIsNull(int recordIndex, int fieldIndex) const;

  void AddListener(TDataSetListener* listener);
  void RemoveListener(TDataSetListener* listener);

 protected:
  TDataSet();

  // The SQLite statement that reads the rows. When HasRowId, its first column is the rowid.
  virtual std::string SelectStatement() const = 0;
  // The table Post and Delete write to; empty when the rows cannot be changed.
  virtual std::string UpdateTableName() const { return {}; }
  virtual bool HasRowId() const { return false; }
  // Re-orders the rows after every read (Open, Refresh); a table applies its Sort here.
  virtual void OrderRecords() {}

  // Sorts the list stably by the fields (descending where asked), ties by rowid; keeps the
  // current record current.
  struct SortKey {
    int FieldIndex;
    bool Descending;
  };
  void SortRecords(const std::vector<SortKey>& keys);
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

  bool Streaming() const { return CursorType == ctOpenForwardOnly; }
  void RequireStatic(const char* operation) const;
  void RequireWritable() const;
  void ReadAllRecords(RecordReader& reader);
  void MoveTo(int index);
  void SetState(TDataSetState state);
  int IndexOfSerial(std::uint64_t serial) const;
  CellView StoredCell(int recordIndex, int fieldIndex) const;
  CellView Cell(int recordIndex, int fieldIndex) const;
  void StartEditBuffer(const Record* from);
  void EndEdit();

  // TField's access to the current record.
  CellView CurrentCell(int fieldIndex) const;
  void SetCurrentCell(int fieldIndex, CellValue value);

  TDataSetState FState = dsInactive;
  std::vector<std::unique_ptr<TField>> FFields;
  std::vector<Record> FRecords;
  int FCurrent = -1;
  bool FBof = true;
  bool FEof = true;
  std::unique_ptr<RecordReader> FStream;
  int FStreamRecNo = 0;
  std::uint64_t FNextSerial = 1;

  std::vector<CellValue> FEditBuffer;
  std::vector<bool> FEditChanged;
  bool FModified = false;

  TADOConnection* FOpenedOn = nullptr;
  // The connection's change stamp when the rows were last read: a refresh with nothing changed
  // since keeps them instead of reading them all again.
  TADOConnection::TChangeStamp FReadStamp;
  ListenerList FListeners;
};

}  // namespace dbengine
