// The string grid's geometry: rows and columns with their one-pixel lines, what a client area shows wholly,
// and how far the grid scrolls before its last row or column would leave the foot or the right edge.
#include "grid_geometry.h"

#include <gtest/gtest.h>

#include "application.h"
#include "headless.h"

namespace korval::forms {
namespace {

using namespace grid_geometry;

class GridForm : public Form {
 public:
  explicit GridForm(Application& app) : Form(app, "TGridTest", "GridTest") {
    grid = Add<StringGrid>(this, "StringGrid1");
  }
  StringGrid* grid;
};

class GridGeometryTest : public ::testing::Test {
 protected:
  HeadlessBackend backend;
  FakeSystem system;
  Application app{backend, system};
  StringGrid& g = *app.CreateForm<GridForm>().grid;  // 24-pixel rows, 64-pixel columns, one fixed of each
};

TEST_F(GridGeometryTest, RowsAndColumnsTakeTheirLine) {
  EXPECT_EQ(RowStep(g), 25);
  EXPECT_EQ(FixedHeight(g), 25);
  EXPECT_EQ(FixedWidth(g), 65);
  g.SetFixedRows(2);
  g.SetFixedCols(2);
  g.SetColWidth(1, 30);
  EXPECT_EQ(FixedHeight(g), 50);
  EXPECT_EQ(FixedWidth(g), 65 + 31);
}

TEST_F(GridGeometryTest, OnlyWholeRowsCountAsShownAndTheLastShowsAtTheFoot) {
  g.SetRowCount(100);
  const struct {
    int height, visible, lastTop;
  } cases[] = {
      {190, 6, 94},  // (190 - 25) / 25 rows beneath the fixed one
      {50, 1, 99},   // exactly one
      {49, 1, 99},   // not even one wholly: still one
      {10, 1, 99},   // less than the fixed row
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.height);
    EXPECT_EQ(VisibleRows(g, c.height), c.visible);
    EXPECT_EQ(LastTopRow(g, c.height), c.lastTop);
  }
  g.SetRowCount(3);
  EXPECT_EQ(LastTopRow(g, 190), 1) << "a grid that fits does not scroll";
}

TEST_F(GridGeometryTest, ColumnsScrollUntilTheLastOneShowsWhole) {
  g.SetColCount(5);
  EXPECT_EQ(VisibleCols(g, 300), 3) << "65 + 3 x 65 fit in 300, a fourth does not";
  EXPECT_EQ(VisibleCols(g, 100), 1) << "not even one wholly: still one";
  EXPECT_EQ(LastLeftCol(g, 300), 2);
  g.SetLeftCol(2);
  EXPECT_EQ(VisibleCols(g, 300), 3) << "from the last left column, the last column shows";
  EXPECT_EQ(LastLeftCol(g, 100), 4) << "a last column wider than the room is shown as far as it fits";
  g.SetColWidth(4, 200);
  EXPECT_EQ(LastLeftCol(g, 300), 4);
}

}  // namespace
}  // namespace korval::forms
