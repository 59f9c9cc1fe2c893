#pragma once

#include <cstddef>
#include <vector>

#include "ui/dbaware/db_grid.h"

namespace bench {

// Rows a grid shows at once, from the windows' layout: rows of 20 pixels (the 8-point font's
// height and the cell margins) under a 22-pixel title row, a partly shown last row counted.
// The record list is the main window's client height less the button panel, the bottom bar and
// the status bar: 586 - 49 - 35 - 19 = 483 pixels; the postcode grid is 312 pixels high.
inline constexpr int kRecordListRows = 24;
inline constexpr int kPostcodeGridRows = 15;

// Reads what a view reads to paint `rows` rows from `top`: each column's text, or its tick for a
// check-box column. Answers the bytes read, so the reading cannot be left out.
std::size_t PaintRows(const ui::TwwDBGrid& grid, int top, int rows);

// The cells a screenful of the grid shows.
inline int ScreenfulCells(const ui::TwwDBGrid& grid, int rows) {
  return rows * grid.ColumnCount();
}

// A grid model on another grid's data source and columns that counts every cell it reads from
// the data set: what painting really asks of the data layer.
class TCountingGrid : public ui::TwwDBGrid {
 public:
  TCountingGrid(ui::Screen& screen, const ui::TwwDBGrid& like);
  long Reads() const { return FReads; }

 protected:
  std::string ReadCell(int record, int field) const override;

 private:
  mutable long FReads = 0;
};

}  // namespace bench
