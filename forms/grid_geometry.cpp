#include "grid_geometry.h"

#include <algorithm>

namespace korval::forms::grid_geometry {

int RowStep(const StringGrid& g) { return g.DefaultRowHeight() + 1; }

int FixedHeight(const StringGrid& g) { return g.FixedRows() * RowStep(g); }

int FixedWidth(const StringGrid& g) {
  int w = 0;
  for (int c = 0; c < g.FixedCols(); ++c) w += g.ColWidth(c) + 1;
  return w;
}

int VisibleRows(const StringGrid& g, int height) {
  return std::max(1, (height - FixedHeight(g)) / RowStep(g));
}

int VisibleCols(const StringGrid& g, int width) {
  int x = FixedWidth(g), n = 0;
  for (int c = g.LeftCol(); c < g.ColCount(); ++c) {
    x += g.ColWidth(c) + 1;
    if (x > width) break;
    ++n;
  }
  return std::max(1, n);
}

int LastTopRow(const StringGrid& g, int height) {
  return std::max(g.FixedRows(), g.RowCount() - VisibleRows(g, height));
}

int LastLeftCol(const StringGrid& g, int width) {
  int x = FixedWidth(g), col = g.ColCount();
  while (col > g.FixedCols()) {
    const int w = g.ColWidth(col - 1) + 1;
    if (x + w > width && col < g.ColCount()) break;
    x += w;
    --col;
  }
  return std::max(g.FixedCols(), col);
}

}  // namespace korval::forms::grid_geometry
