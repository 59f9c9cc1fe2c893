#include "ui/wx/dbaware/db_grid_view.h"

#include <wx/dcclient.h>
#include <wx/settings.h>

#include <algorithm>

#include "ui/wx/control_views.h"
#include "ui/wx/convert.h"
#include "ui/wx/dbaware/cell_editor.h"
#include "ui/wx/dbaware/grid_table.h"
#include "ui/wx/font.h"
#include "ui/wx/keys.h"

namespace ui::wx {

namespace {

// The indicator column is as wide as the corner button above it.
constexpr int kIndicatorWidth = TwwDBGrid::kIButtonWidth;
// Room around a cell's text, so that a column of n characters shows n of them.
constexpr int kCellPadding = 8;

void Notify(wxGrid& grid, int message, int position, int count) {
  wxGridTableMessage notice(grid.GetTable(), message, position, count);
  grid.ProcessTableMessage(notice);
}

}  // namespace

TwwDBGridView::TwwDBGridView(TFormView& form, wxWindow* parent, TwwDBGrid& model,
                             const wxRect& rect)
    : wxGrid(parent, wxID_ANY, rect.GetPosition(), rect.GetSize(), wxWANTS_CHARS | wxBORDER_SUNKEN),
      FForm(form),
      FModel(model),
      FBinding(form, model, *this, [this] { RefreshOptions(); }) {
  SetTable(new TwwGridTable(model), true);
  SetFont(FormFont());
  SetDefaultCellFont(FormFont());
  SetLabelFont(FormFont());
  SetDefaultRowSize(GetCharHeight() + 6, true);
  SetDefaultCellOverflow(false);
  SetDefaultCellBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
  SetGridLineColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW));
  SetColLabelAlignment(wxALIGN_LEFT, wxALIGN_CENTRE);
  DisableDragRowSize();

  FCornerButton =
      new TButtonView(form, GetGridCornerLabelWindow(), model.IButton,
                      wxRect(0, 0, TwwDBGrid::kIButtonWidth, TwwDBGrid::kIButtonHeight));

  Bind(wxEVT_GRID_CELL_LEFT_CLICK, &TwwDBGridView::OnCellLeftClick, this);
  Bind(wxEVT_GRID_CELL_LEFT_DCLICK, &TwwDBGridView::OnCellLeftDClick, this);
  Bind(wxEVT_GRID_SELECT_CELL, &TwwDBGridView::OnSelectCell, this);
  Bind(wxEVT_GRID_EDITOR_SHOWN, &TwwDBGridView::OnEditorShown, this);
  Bind(wxEVT_GRID_TABBING, &TwwDBGridView::OnTabbing, this);
  Bind(wxEVT_GRID_COL_AUTO_SIZE, &TwwDBGridView::OnColAutoSize, this);
  Bind(wxEVT_KEY_DOWN, &TwwDBGridView::OnKeyDown, this);
  Bind(wxEVT_SIZE, &TwwDBGridView::OnSize, this);

  FRowsChangedId = model.RowsChanged.Connect([this] { SyncRows(); });
  FCurrentChangedId = model.CurrentChanged.Connect([this] { SyncCurrent(); });
  FBinding.Refresh();
  SyncCurrent();
}

TwwDBGridView::~TwwDBGridView() {
  FModel.RowsChanged.Disconnect(FRowsChangedId);
  FModel.CurrentChanged.Disconnect(FCurrentChangedId);
}

bool TwwDBGridView::Guarded(const std::function<void()>& handler) const {
  return FBinding.Guarded(handler);
}

// ---- the model's settings ----

void TwwDBGridView::RefreshOptions() {
  ApplyColumns();
  const TwwDBGridOptions& options = FModel.Options();
  if (!FOptionsShown || options != FShownOptions) {
    EnableEditing(options.Editing);
    SetColLabelSize(options.Titles ? std::max(TwwDBGrid::kIButtonHeight, GetCharHeight() + 6) : 0);
    SetRowLabelSize(options.Indicator ? kIndicatorWidth : 0);
    EnableDragColSize(options.ColumnResize);
    EnableGridLines(options.ColLines || options.RowLines);
    SetSelectionMode(options.RowSelect ? wxGridSelectRows : wxGridSelectCells);
    SetCellHighlightPenWidth(options.RowSelect ? 0 : 2);
    SetCellHighlightROPenWidth(options.RowSelect ? 0 : 1);
    if (!FOptionsShown || options.WordWrap != FShownOptions.WordWrap) {
      if (options.WordWrap) {
        RegisterDataType(wxGRID_VALUE_STRING, new wxGridCellAutoWrapStringRenderer,
                         new TwwCellEditor<wxGridCellAutoWrapStringEditor>(FForm, FModel));
      } else {
        RegisterDataType(wxGRID_VALUE_STRING, new wxGridCellStringRenderer,
                         new TwwCellEditor<wxGridCellTextEditor>(FForm, FModel));
      }
    }
    ShowScrollbars(options.HorzScrollBar ? wxSHOW_SB_DEFAULT : wxSHOW_SB_NEVER, wxSHOW_SB_DEFAULT);
    FShownOptions = options;
    FOptionsShown = true;
  }
  SetLabelBackgroundColour(FModel.TitleColor() ? ToWx(*FModel.TitleColor())
                                               : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
  FCornerButton->Move(0, std::max(0, (GetColLabelSize() - TwwDBGrid::kIButtonHeight) / 2));
  ClearAttrCache();
  ApplyFixedCols();
  ForceRefresh();
}

void TwwDBGridView::ApplyColumns() {
  if (FModel.Columns() == FShownColumns) return;
  const int have = GetNumberCols();
  const int want = FModel.ColumnCount();
  if (want > have) Notify(*this, wxGRIDTABLE_NOTIFY_COLS_APPENDED, want - have, 0);
  if (want < have) Notify(*this, wxGRIDTABLE_NOTIFY_COLS_DELETED, want, have - want);
  const int charWidth = GetCharWidth();
  for (int col = 0; col < want; ++col) {
    SetColSize(col, FModel.Columns()[static_cast<std::size_t>(col)].DisplayWidth * charWidth +
                        kCellPadding);
  }
  FShownColumns = FModel.Columns();
}

// wx refuses to freeze while the grid has no size or no rows; OnSize and SyncRows come back.
void TwwDBGridView::ApplyFixedCols() {
  if (GetNumberFrozenCols() != FModel.FixedCols()) FreezeTo(0, FModel.FixedCols());
}

// ---- the model's rows and current cell ----

void TwwDBGridView::SyncRows() {
  const int have = GetNumberRows();
  const int want = FModel.RowCount();
  if (want > have) Notify(*this, wxGRIDTABLE_NOTIFY_ROWS_APPENDED, want - have, 0);
  if (want < have) Notify(*this, wxGRIDTABLE_NOTIFY_ROWS_DELETED, want, have - want);
  ClearAttrCache();
  ApplyFixedCols();
  ForceRefresh();
}

void TwwDBGridView::SyncCurrent() {
  if (FSyncing) return;
  const int row = FModel.Row();
  const int col = FModel.Col();
  // An editor the model has dropped (its record went away) goes too; the model ignores its text.
  if (IsCellEditControlEnabled() && !FModel.EditorOpen()) DisableCellEditControl();
  if (row >= 0 && row < GetNumberRows() && col < GetNumberCols()) {
    FSyncing = true;
    if (GetGridCursorRow() != row || GetGridCursorCol() != col) SetGridCursor(row, col);
    MakeCellVisible(row, col);
    if (FModel.Options().RowSelect) SelectRow(row);
    FSyncing = false;
  }
  GetGridRowLabelWindow()->Refresh();
}

// ---- painting ----

void TwwDBGridView::DrawRowLabel(wxDC& dc, int row) {
  wxGrid::DrawRowLabel(dc, row);
  const TRowIndicator indicator = FModel.RowIndicator(row);
  if (indicator == TRowIndicator::None) return;
  const wxPoint c(GetRowLabelSize() / 2, GetRowTop(row) + GetRowHeight(row) / 2);
  dc.SetPen(*wxBLACK_PEN);
  dc.SetBrush(*wxBLACK_BRUSH);
  switch (indicator) {
    case TRowIndicator::Current: {
      const wxPoint arrow[] = {{c.x - 2, c.y - 4}, {c.x + 2, c.y}, {c.x - 2, c.y + 4}};
      dc.DrawPolygon(3, arrow);
      break;
    }
    case TRowIndicator::Editing:  // an I-beam
      dc.DrawLine(c.x, c.y - 4, c.x, c.y + 5);
      dc.DrawLine(c.x - 2, c.y - 4, c.x + 3, c.y - 4);
      dc.DrawLine(c.x - 2, c.y + 4, c.x + 3, c.y + 4);
      break;
    case TRowIndicator::Inserting:  // an asterisk
      dc.DrawLine(c.x, c.y - 4, c.x, c.y + 5);
      dc.DrawLine(c.x - 3, c.y - 2, c.x + 4, c.y + 3);
      dc.DrawLine(c.x - 3, c.y + 2, c.x + 4, c.y - 3);
      break;
    case TRowIndicator::None:
      break;
  }
}

wxPen TwwDBGridView::GetColGridLinePen(int col) {
  return FModel.Options().ColLines ? wxGrid::GetColGridLinePen(col) : *wxTRANSPARENT_PEN;
}

wxPen TwwDBGridView::GetRowGridLinePen(int row) {
  return FModel.Options().RowLines ? wxGrid::GetRowGridLinePen(row) : *wxTRANSPARENT_PEN;
}

void TwwDBGridView::FitColumn(int col) {
  wxClientDC dc(GetGridWindow());
  dc.SetFont(GetLabelFont());
  int width = dc.GetTextExtent(GetColLabelValue(col)).x;
  if (!FModel.ColumnIsCheckBox(col)) {
    dc.SetFont(GetDefaultCellFont());
    const int top = CalcUnscrolledPosition(wxPoint(0, 0)).y;
    const int first = YToRow(top, true);
    const int last = YToRow(top + GetGridWindow()->GetClientSize().y, true);
    for (int row = first; row >= 0 && row <= last; ++row)
      width = std::max(width, dc.GetTextExtent(GetCellValue(row, col)).x);
  }
  SetColSize(col, width + kCellPadding);
  ForceRefresh();
}

// ---- the user ----

void TwwDBGridView::OnCellLeftClick(wxGridEvent& event) {
  bool toggled = false;
  // After an error the click ends here, so the grid does not try the move a second time.
  if (!Guarded([&] { toggled = FModel.ClickCell(event.GetRow(), event.GetCol()); })) return;
  if (toggled) {
    GetGridWindow()->SetFocus();
    return;
  }
  event.Skip();
}

void TwwDBGridView::OnCellLeftDClick(wxGridEvent& event) {
  event.Skip();
  Guarded([this] { FModel.DblClick(); });
}

void TwwDBGridView::OnSelectCell(wxGridEvent& event) {
  if (FSyncing) {
    event.Skip();
    return;
  }
  const int row = event.GetRow();
  FSyncing = true;
  const bool moved = Guarded([&] { FModel.SetCurrentCell(row, event.GetCol()); });
  FSyncing = false;
  if (!moved) {
    event.Veto();
    return;
  }
  event.Skip();
  // Storing the record left may have shifted the rows (a new row dropped): follow the model once
  // the grid has finished its own move.
  if (FModel.Row() != row) CallAfter(&TwwDBGridView::SyncCurrent);
  GetGridRowLabelWindow()->Refresh();
}

void TwwDBGridView::OnEditorShown(wxGridEvent& event) {
  bool editing = false;
  if (!Guarded([&] { editing = FModel.BeginCellEdit(); }) || !editing) {
    event.Veto();
    return;
  }
  event.Skip();
}

void TwwDBGridView::OnKeyDown(wxKeyEvent& event) {
  const TKey key = ToKey(event.GetKeyCode());
  // Enter closes the editor and stays in the cell: the record stays pending until the user
  // leaves it.
  if (key == VK_RETURN && IsCellEditControlEnabled()) {
    DisableCellEditControl();
    return;
  }
  bool taken = false;
  if (key != 0 && !Guarded([&] { taken = FModel.KeyDown(key, ToShiftState(event)); })) taken = true;
  if (!taken) event.Skip();
}

void TwwDBGridView::OnTabbing(wxGridEvent& event) {
  if (FModel.Options().Tabs) {
    event.Skip();
    return;
  }
  Navigate(event.ShiftDown() ? wxNavigationKeyEvent::IsBackward : wxNavigationKeyEvent::IsForward);
}

void TwwDBGridView::OnColAutoSize(wxGridSizeEvent& event) {
  FitColumn(event.GetRowOrCol());
}

void TwwDBGridView::OnSize(wxSizeEvent& event) {
  event.Skip();
  if (GetNumberFrozenCols() != FModel.FixedCols()) CallAfter(&TwwDBGridView::ApplyFixedCols);
}

}  // namespace ui::wx
