#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/button.h"
#include "ui/color.h"
#include "ui/control.h"
#include "ui/dbaware/data_link.h"
#include "ui/keys.h"
#include "ui/signal.h"

namespace dbengine {
class TField;
}

namespace ui {

class Screen;
class TForm;

// One column of the grid: the field it shows, its width in characters and its title.
struct TwwColumn {
  std::string FieldName;
  int DisplayWidth = 10;
  std::string Title;
  friend bool operator==(const TwwColumn&, const TwwColumn&) = default;
};

// How the grid looks and what it lets the user do.
struct TwwDBGridOptions {
  bool Editing = true;       // cells are edited in place, check boxes toggle, Ctrl+Delete deletes
  bool Titles = true;        // a title row above the columns
  bool Indicator = true;     // a row-indicator column at the left
  bool ColumnResize = true;  // columns resized by dragging; a double-click on a border fits one
  bool ColLines = true;
  bool RowLines = true;
  bool Tabs = true;        // Tab moves from cell to cell
  bool RowSelect = false;  // the whole current row is highlighted, not one cell
  bool WordWrap = false;   // text wraps within its cell
  bool HorzScrollBar = true;
  friend bool operator==(const TwwDBGridOptions&, const TwwDBGridOptions&) = default;
};

// What the row indicator shows beside a row.
enum class TRowIndicator { None, Current, Editing, Inserting };

// The data-aware grid: shows the rows of its data source's data set, one column per field. It is
// virtual: it reads a cell only when a view asks for it, without moving the current record, so a
// view that paints only what it shows costs the same on a hundred rows as on a hundred thousand.
// Changes made in a cell stay pending on the current record until something stores it (a move to
// another record, a refresh, a post). Whatever is about to store or drop that record asks the data
// set to update it first, and the text of an editor still open goes in then.
class TwwDBGrid : public TControl, private TDataLink {
 public:
  TwwDBGrid(std::string name, Screen& screen, const TForm* owner = nullptr);

  using TDataLink::DataSet;
  using TDataLink::DataSource;
  void SetDataSource(dbengine::TDataSource* dataSource) { TDataLink::SetDataSource(dataSource); }

  // Columns; FixedCols shrinks when the new columns leave it no room.
  const std::vector<TwwColumn>& Columns() const { return FColumns; }
  void SetColumns(std::vector<TwwColumn> columns);
  int ColumnCount() const { return static_cast<int>(FColumns.size()); }
  // The column shows a yes/no field as a check box.
  bool ColumnIsCheckBox(int col) const;

  const TwwDBGridOptions& Options() const { return FOptions; }
  void SetOptions(const TwwDBGridOptions& options);
  // The colour of the title row; none: the desktop's.
  const std::optional<TColor>& TitleColor() const { return FTitleColor; }
  void SetTitleColor(std::optional<TColor> color);

  // Leading data columns that stay in place when the grid scrolls sideways. A count that would
  // leave no column free to scroll (or a negative one) changes nothing.
  int FixedCols() const { return FFixedCols; }
  void SetFixedCols(int count);

  // ---- what a view paints ----
  int RowCount() const;
  std::string CellText(int row, int col) const;
  bool CellChecked(int row, int col) const;
  TRowIndicator RowIndicator(int row) const;

  // ---- the current cell ----
  // The current record's row, -1 when there is none; the current column.
  int Row() const;
  int Col() const { return FCol; }
  // Makes the cell current: an open editor's text goes into the record first, then the data set
  // moves (storing a pending record). A row past the last one is never made.
  void SetCurrentCell(int row, int col);

  // ---- in-place editing ----
  // Whether the current cell may take an editor: an editing grid, a writable data set with a
  // record, a column showing a field that can change and is no check box.
  bool CanEditCurrentCell() const;
  // Opens the editor on the current cell, putting the data set into edit mode; false when the
  // cell cannot be edited. The editor starts with the cell's text.
  bool BeginCellEdit();
  bool EditorOpen() const { return FEditorOpen; }
  const std::string& EditorText() const { return FEditorText; }
  // What the user has typed so far into the open editor.
  void SetEditorText(const std::string& text);
  // The editor closed: its text goes into the current record when `accept`, which stays pending.
  void EndCellEdit(bool accept);
  // Writes an open editor's text into the current record without storing the record; the editor
  // stays open. Does nothing when no editor is open.
  void CommitEdit();

  // ---- the user ----
  // One click on a cell; answers true when the grid acted on it (a check box toggled), so the
  // view does nothing more with it.
  bool ClickCell(int row, int col);
  // A key pressed in the grid; true when the grid took it (Ctrl+Delete, Insert, Space on a check
  // box), so the view must not act on it as well.
  bool KeyDown(TKey key, TShiftState shift);
  // The focus left the grid: an untouched new row is cancelled, otherwise an open editor's text
  // goes into the record.
  void DoExit() override;
  std::function<void()> OnDblClick;
  void DblClick() {
    if (OnDblClick) OnDblClick();
  }

  // The flat button in the top-left title cell; hidden until the form shows it.
  TButton IButton;
  static constexpr int kIButtonWidth = 13;
  static constexpr int kIButtonHeight = 22;

  // The rows to paint changed: read again, added, deleted, or a value or state of one changed.
  TSignal RowsChanged;
  // The current cell moved, or the editor was closed under the view (its record went away).
  TSignal CurrentChanged;

 protected:
  // Every cell the grid shows is read here: one row's field, without moving the current record.
  virtual std::string ReadCell(int record, int field) const;

 private:
  // TDataSetListener
  void ActiveChanged() override;
  void StateChanged() override;
  void RecordChanged(const dbengine::TField* field) override;
  void DataSetChanged() override;
  void DataSetScrolled() override;
  void UpdateData() override { CommitEdit(); }

  // The field of the column, null when the data set is closed or has no such field.
  dbengine::TField* ColumnField(int col) const;
  int ColumnFieldIndex(int col) const;
  void ResolveFields();
  void CloseEditor();
  void ToggleCheckBox();
  void DeleteCurrentRecord();

  Screen& FScreen;
  const TForm* FOwner;
  std::vector<TwwColumn> FColumns;
  std::vector<int> FFieldIndex;  // per column; -1 when unresolved
  TwwDBGridOptions FOptions;
  std::optional<TColor> FTitleColor;
  int FFixedCols = 0;
  int FCol = 0;
  bool FEditorOpen = false;
  std::string FEditorText;
};

}  // namespace ui
