#pragma once
// A string grid's geometry in pixels, for the backends that show it: every cell is followed by a one-pixel
// grid line to its right and below it; the fixed rows and columns stay, the others scroll.
#include "controls.h"

namespace korval::forms::grid_geometry {

// The height of a row with its line.
int RowStep(const StringGrid& g);
// The fixed rows' and columns' extent.
int FixedHeight(const StringGrid& g);
int FixedWidth(const StringGrid& g);
// Scrolling rows wholly shown in a client area of `height` pixels (at least one).
int VisibleRows(const StringGrid& g, int height);
// Scrolling columns wholly shown from the left column on in a client area of `width` pixels (at least one).
int VisibleCols(const StringGrid& g, int width);
// The last top row that still fills the area: the last row shows at its foot.
int LastTopRow(const StringGrid& g, int height);
// The last first column that still shows the last column wholly (or as much as fits).
int LastLeftCol(const StringGrid& g, int width);

}  // namespace korval::forms::grid_geometry
