#pragma once

#include <wx/grid.h>

#include <cstddef>
#include <vector>

#include "ui/dbaware/db_grid.h"
#include "ui/wx/control_binding.h"

namespace ui::wx {

class TButtonView;
class TFormView;

// The wx grid that shows a TwwDBGrid: a virtual table that reads only the rows it paints, the
// row indicator in the row-label column, the corner button in the top-left title cell, frozen
// leading columns, one-click check boxes and in-place editors that write into the model. The
// model must outlive the view.
class TwwDBGridView : public wxGrid {
 public:
  TwwDBGridView(TFormView& form, wxWindow* parent, TwwDBGrid& model, const wxRect& rect);
  ~TwwDBGridView() override;

  TButtonView* CornerButton() const { return FCornerButton; }

 protected:
  void DrawRowLabel(wxDC& dc, int row) override;
  wxPen GetColGridLinePen(int col) override;
  wxPen GetRowGridLinePen(int row) override;

 private:
  void RefreshOptions();
  void ApplyColumns();
  void ApplyFixedCols();
  void SyncRows();
  void SyncCurrent();
  // Fits the column to its title and to the rows in sight: measuring every row of a large table
  // would read all of it.
  void FitColumn(int col);
  bool Guarded(const std::function<void()>& handler) const;

  void OnCellLeftClick(wxGridEvent& event);
  void OnCellLeftDClick(wxGridEvent& event);
  void OnSelectCell(wxGridEvent& event);
  void OnEditorShown(wxGridEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnTabbing(wxGridEvent& event);
  void OnColAutoSize(wxGridSizeEvent& event);
  void OnSize(wxSizeEvent& event);

  TFormView& FForm;
  TwwDBGrid& FModel;
  TControlBinding FBinding;
  TButtonView* FCornerButton = nullptr;
  std::size_t FRowsChangedId;
  std::size_t FCurrentChangedId;
  std::vector<TwwColumn> FShownColumns;
  TwwDBGridOptions FShownOptions;
  bool FOptionsShown = false;
  // The grid follows the model's current cell; its own cell events must not go back to it then.
  bool FSyncing = false;
};

}  // namespace ui::wx
