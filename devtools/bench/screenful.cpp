#include "devtools/bench/screenful.h"

#include <algorithm>

namespace bench {

std::size_t PaintRows(const ui::TwwDBGrid& grid, int top, int rows) {
  std::size_t bytes = 0;
  const int end = std::min(top + rows, grid.RowCount());
  for (int row = std::max(top, 0); row < end; ++row) {
    for (int col = 0; col < grid.ColumnCount(); ++col) {
      bytes +=
          grid.ColumnIsCheckBox(col) ? grid.CellChecked(row, col) : grid.CellText(row, col).size();
    }
  }
  return bytes;
}

TCountingGrid::TCountingGrid(ui::Screen& screen, const ui::TwwDBGrid& like)
    : TwwDBGrid("counting", screen) {
  SetDataSource(like.DataSource());
  SetColumns(like.Columns());
}

std::string TCountingGrid::ReadCell(int record, int field) const {
  ++FReads;
  return TwwDBGrid::ReadCell(record, field);
}

}  // namespace bench
