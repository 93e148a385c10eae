// The grid's arithmetic without a window: column widths, the item/row map of
// collapsed sections, row geometry, the parts of a cell and hit testing.
#include <gtest/gtest.h>

#include "controls/GridLayout.h"

using namespace qsgrid;

namespace {

std::vector<int> AsInts(const std::vector<int16_t>& widths) { return std::vector<int>(widths.begin(), widths.end()); }

const std::vector<double> kMessageRatios{0.05, 0.05, 0.15, 0.25, 0.2, 0.2, 0.1};

}  // namespace

TEST(ColumnWidths, RatiosOverAThousandPixels) {
  EXPECT_EQ(AsInts(ComputeColumnWidths(1000, kMessageRatios)), (std::vector<int>{50, 50, 150, 250, 200, 200, 100}));
}

TEST(ColumnWidths, TheSecondToLastColumnTakesWhatTruncationLeaves) {
  // 999 * 0.05 = 49.95 and so on: every product is cut, the sixth column
  // absorbs the lost fractions so the columns still fill the width.
  const std::vector<int> widths = AsInts(ComputeColumnWidths(999, kMessageRatios));
  EXPECT_EQ(widths, (std::vector<int>{49, 49, 149, 249, 199, 205, 99}));
  int sum = 0;
  for (int w : widths) sum += w;
  EXPECT_EQ(sum, 999);
}

TEST(ColumnWidths, FewColumns) {
  EXPECT_TRUE(ComputeColumnWidths(500, {}).empty());
  // One column: only the last-column rule applies.
  EXPECT_EQ(AsInts(ComputeColumnWidths(500, {0.5})), (std::vector<int>{250}));
  // Two: the first is what the second leaves.
  EXPECT_EQ(AsInts(ComputeColumnWidths(500, {0.1, 0.3})), (std::vector<int>{350, 150}));
}

TEST(ColumnWidths, OverfullRatiosLeaveANegativeRemainder) {
  // The rule is followed, not corrected: the window clamps what it sets.
  EXPECT_EQ(AsInts(ComputeColumnWidths(100, {0.6, 0.6, 0.3})), (std::vector<int>{60, 10, 30}));
  EXPECT_EQ(AsInts(ComputeColumnWidths(100, {0.9, 0.6, 0.3})), (std::vector<int>{90, -20, 30}));
}

TEST(ColumnWidths, TheKeeperLaysOutEachWidthOnce) {
  CColumnWidthKeeper keeper;
  std::vector<int16_t> widths;
  EXPECT_TRUE(keeper.Update(1000, kMessageRatios, widths));
  EXPECT_EQ(widths[5], 200);
  widths.clear();
  EXPECT_FALSE(keeper.Update(1000, kMessageRatios, widths));
  EXPECT_TRUE(widths.empty());
  EXPECT_TRUE(keeper.Update(800, kMessageRatios, widths));
  EXPECT_EQ(keeper.RememberedWidth(), 800);
  keeper.Forget();
  EXPECT_TRUE(keeper.Update(800, kMessageRatios, widths));
}

TEST(RowMap, WithNothingHiddenItemsAreRows) {
  CRowMap map;
  map.Reset(100000);
  EXPECT_EQ(map.ItemCount(), 100000);
  EXPECT_FALSE(map.HasHidden());
  EXPECT_EQ(map.RowOfItem(0), 0);
  EXPECT_EQ(map.RowOfItem(99999), 99999);
  EXPECT_EQ(map.RowOfItem(100000), -1);
  EXPECT_EQ(map.RowOfItem(-1), -1);
  EXPECT_EQ(map.ItemOfRow(12345), 12345);
}

TEST(RowMap, HiddenRangesShiftTheItemsAfterThem) {
  CRowMap map;
  map.Reset(10);
  map.Hide(2, 3);  // rows 2, 3, 4
  map.Hide(7, 2);  // rows 7, 8
  ASSERT_EQ(map.ItemCount(), 5);
  const int expectedRows[] = {0, 1, 5, 6, 9};
  for (int item = 0; item < 5; ++item) {
    EXPECT_EQ(map.RowOfItem(item), expectedRows[item]) << "item " << item;
    EXPECT_EQ(map.ItemOfRow(expectedRows[item]), item) << "row " << expectedRows[item];
  }
  for (int hidden : {2, 3, 4, 7, 8}) EXPECT_EQ(map.ItemOfRow(hidden), -1) << "row " << hidden;
  EXPECT_EQ(map.RowOfItem(5), -1);
  EXPECT_EQ(map.ItemOfRow(10), -1);
}

TEST(RowMap, OverlappingOrOutOfRangeRangesAreIgnored) {
  CRowMap map;
  map.Reset(10);
  map.Hide(3, 4);
  map.Hide(5, 2);   // overlaps the first
  map.Hide(9, 5);   // runs past the end
  map.Hide(1, 0);   // empty
  EXPECT_EQ(map.ItemCount(), 6);
}

TEST(RowMap, CollapsedSectionsHideTheirRowsUpToTheNextSection) {
  // Sections at rows 0, 3 and 6 of 9 rows.
  auto isSection = [](int row) { return row == 0 || row == 3 || row == 6; };
  CRowMap map;
  BuildRowMap(map, 9, {6, 3}, isSection);  // unsorted on purpose
  EXPECT_EQ(map.ItemCount(), 5);            // 0 1 2 3 6
  EXPECT_EQ(map.RowOfItem(3), 3);
  EXPECT_EQ(map.RowOfItem(4), 6);
  EXPECT_EQ(map.ItemOfRow(5), -1);
  EXPECT_EQ(map.ItemOfRow(8), -1);  // the last section hides up to the end

  // A row that is not a section, or one out of range, collapses nothing.
  BuildRowMap(map, 9, {1, 42, -3}, isSection);
  EXPECT_EQ(map.ItemCount(), 9);

  // A section directly followed by another hides nothing.
  auto adjacent = [](int row) { return row == 0 || row == 1; };
  BuildRowMap(map, 4, {0}, adjacent);
  EXPECT_EQ(map.ItemCount(), 4);
}

TEST(RowMap, BuildingAsksOnlyAboutTheRowsUnderCollapsedSections) {
  int asked = 0;
  auto isSection = [&](int row) {
    ++asked;
    return row % 1000 == 0;
  };
  CRowMap map;
  BuildRowMap(map, 100000, {}, isSection);
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(map.ItemCount(), 100000);
  BuildRowMap(map, 100000, {5000}, isSection);
  EXPECT_EQ(map.ItemCount(), 100000 - 999);
  EXPECT_LE(asked, 1001);
}

TEST(Geometry, ItemsColumnsAndCells) {
  GridGeometry g;
  g.clientWidth = 400;
  g.clientHeight = 200;
  g.rowsTop = 28;
  g.rowHeight = 30;
  g.topItem = 10;
  g.itemCount = 50;
  g.originX = -20;  // scrolled sideways
  g.columnWidths = {40, 200, 100};

  EXPECT_EQ(g.ItemAt(27), -1);  // the header
  EXPECT_EQ(g.ItemAt(28), 10);
  EXPECT_EQ(g.ItemAt(57), 10);
  EXPECT_EQ(g.ItemAt(58), 11);
  EXPECT_EQ(g.ColumnAt(-21), -1);
  EXPECT_EQ(g.ColumnAt(-20), 0);
  EXPECT_EQ(g.ColumnAt(20), 1);
  EXPECT_EQ(g.ColumnAt(319), 2);
  EXPECT_EQ(g.ColumnAt(320), -1);

  const RECT cell = g.CellRect(12, 1);
  EXPECT_EQ(cell.left, 20);
  EXPECT_EQ(cell.right, 220);
  EXPECT_EQ(cell.top, 88);
  EXPECT_EQ(cell.bottom, 118);

  int first = 0, last = 0;
  g.ItemsIn(RECT{0, 0, 400, 200}, first, last);
  EXPECT_EQ(first, 10);
  EXPECT_EQ(last, 16);  // (200 - 28) / 30 rounded up: 6 rows touched
  g.ItemsIn(RECT{0, 90, 400, 100}, first, last);
  EXPECT_EQ(first, 12);
  EXPECT_EQ(last, 13);
  g.itemCount = 12;
  g.ItemsIn(RECT{0, 0, 400, 200}, first, last);
  EXPECT_EQ(last, 12);  // never past the last item
}

TEST(CellParts, ACheckBoxAloneSitsInTheMiddle) {
  CellShape shape;
  shape.check = true;
  shape.checkSize = SIZE{18, 18};
  const CellParts parts = LayoutCell(RECT{0, 30, 40, 60}, shape);
  EXPECT_EQ(parts.check.left, 11);
  EXPECT_EQ(parts.check.top, 36);
  EXPECT_EQ(parts.check.right - parts.check.left, 18);
}

TEST(CellParts, ActionsStandSideBySideInTheirOrder) {
  CellMetrics metrics;
  CellShape shape;
  shape.actions = {SIZE{30, 12}, SIZE{40, 12}};
  const CellParts parts = LayoutCell(RECT{100, 0, 300, 30}, shape, metrics);
  ASSERT_EQ(parts.actions.size(), 2u);
  EXPECT_EQ(parts.actions[0].left, 100 + metrics.padding);
  EXPECT_EQ(parts.actions[1].left, parts.actions[0].right + metrics.actionGap);
  EXPECT_EQ(parts.actions[1].right - parts.actions[1].left, 40);

  // Hits: each action by its index, the gap between them is the plain cell.
  auto hitAt = [&](int x) { return HitCellParts(parts, POINT{x, 15}, 7, 5); };
  EXPECT_EQ(hitAt(parts.actions[0].left + 1).part, HitPart::Action);
  EXPECT_EQ(hitAt(parts.actions[0].left + 1).action, 0);
  EXPECT_EQ(hitAt(parts.actions[1].right - 1).action, 1);
  EXPECT_EQ(hitAt(parts.actions[0].right + 2).part, HitPart::Cell);
  EXPECT_EQ(hitAt(parts.actions[1].right + 1).part, HitPart::Cell);
  EXPECT_EQ(HitCellParts(parts, POINT{parts.actions[0].left + 1, 1}, 7, 5).part, HitPart::Cell);  // above it
}

TEST(CellParts, ImageBeforeTextAndCentredAlone) {
  CellShape shape;
  shape.image = true;
  shape.imageSize = SIZE{16, 16};
  shape.text = true;
  CellMetrics metrics;
  CellParts parts = LayoutCell(RECT{0, 0, 200, 30}, shape, metrics);
  EXPECT_EQ(parts.image.left, metrics.padding);
  EXPECT_EQ(parts.text.left, parts.image.right + metrics.imageGap);
  EXPECT_EQ(parts.text.right, 200 - metrics.padding);

  shape.text = false;
  parts = LayoutCell(RECT{0, 0, 40, 30}, shape, metrics);
  EXPECT_EQ(parts.image.left, 12);
  EXPECT_EQ(parts.image.top, 7);
}

TEST(SectionParts, CornerExpanderThenLabel) {
  SectionShape shape;
  shape.cornerSize = SIZE{16, 16};
  shape.expanderSize = SIZE{16, 16};
  CellMetrics metrics;
  const SectionParts parts = LayoutSection(RECT{0, 30, 500, 60}, shape, metrics);
  EXPECT_EQ(parts.corner.left, 0);
  EXPECT_EQ(parts.corner.top, 30);
  EXPECT_EQ(parts.expander.left, 16 + metrics.padding);
  EXPECT_EQ(parts.expander.top, 37);
  EXPECT_EQ(parts.text.left, parts.expander.right + metrics.imageGap);

  // Without an expander image there is nothing to click.
  const SectionParts plain = LayoutSection(RECT{0, 30, 500, 60}, SectionShape{}, metrics);
  EXPECT_EQ(plain.expander.right - plain.expander.left, 0);
}
