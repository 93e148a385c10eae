// The mini month calendar's rules for the shown month, its layout, hit
// testing and painting, without a window.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "calendar/MiniMonth.h"
#include "framework/Gdi.h"

namespace {

using namespace Calendar;

std::wstring Text(const CCHSDate& d) { return MakeDayText(d.Year(), d.Month(), d.Day()); }

COLORREF Rgb(Gdiplus::ARGB c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

int Ink(const wf::MemoryCanvas& canvas, const RECT& area, COLORREF background) {
  int ink = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) ink += canvas.GetPixelRef(x, y) != background;
  return ink;
}

const MiniCell& CellOf(const MiniBlock& block, const CCHSDate& day) {
  for (const MiniCell& cell : block.cells)
    if (cell.day == day) return cell;
  ADD_FAILURE() << "no cell for " << Text(day);
  return block.cells.front();
}

TEST(MiniMonth, QueryRangeCoversBothGrids) {
  DayRange range = MiniMonthQueryRange(CCHSDate(2026, 3, 17));
  EXPECT_EQ(Text(range.from) + L"-" + Text(range.to), L"20260301-20260510") << "9 May is the lower grid's last cell";
  range = MiniMonthQueryRange(CCHSDate(2026, 12, 1));
  EXPECT_EQ(Text(range.from) + L"-" + Text(range.to), L"20261129-20270207") << "1 January 2027 is a Friday";
}

TEST(MiniMonth, ShownMonthFollowsTheSelectedDayAndDoubleClicks) {
  const CCHSDate march(2026, 3, 1), december(2026, 12, 1);
  EXPECT_EQ(Text(MiniMonthFollow(CCHSDate(2026, 3, 9), CCHSDate(2026, 4, 30))), L"20260301") << "lower block";
  EXPECT_EQ(Text(MiniMonthFollow(march, CCHSDate(2026, 5, 3))), L"20260501") << "two months ahead";
  EXPECT_EQ(Text(MiniMonthFollow(march, CCHSDate(2026, 2, 28))), L"20260201");
  EXPECT_EQ(Text(MiniMonthFollow(december, CCHSDate(2027, 1, 15))), L"20261201") << "January after December";
  EXPECT_EQ(Text(MiniMonthFollow(december, CCHSDate(2027, 2, 1))), L"20270201");
  EXPECT_EQ(Text(MiniMonthFollow(december, CCHSDate(2025, 12, 5))), L"20251201") << "a year back";

  // Only a day in neither month moves the blocks, by one month.
  EXPECT_EQ(Text(MiniMonthAfterDoubleClick(march, CCHSDate(2026, 2, 22))), L"20260201");
  EXPECT_EQ(Text(MiniMonthAfterDoubleClick(march, CCHSDate(2026, 4, 2))), L"20260301");
  EXPECT_EQ(Text(MiniMonthAfterDoubleClick(march, CCHSDate(2026, 5, 3))), L"20260401");
  EXPECT_EQ(Text(MiniMonthAfterDoubleClick(december, CCHSDate(2027, 1, 31))), L"20261201");
  EXPECT_EQ(Text(MiniMonthAfterDoubleClick(december, CCHSDate(2027, 2, 1))), L"20270101");
  EXPECT_EQ(Text(MiniMonthAfterDoubleClick(december, CCHSDate(2026, 11, 29))), L"20261101");
}

TEST(MiniMonth, ButtonsMoveMonthAndSelectedDayTogether) {
  MiniMonthStep step = StepMiniMonth(CCHSDate(2026, 1, 1), CCHSDate(2026, 1, 31), 1);
  EXPECT_EQ(Text(step.shownMonth) + L" " + Text(step.selected), L"20260201 20260228");
  step = StepMiniMonth(CCHSDate(2026, 1, 1), CCHSDate(2026, 1, 31), -1);
  EXPECT_EQ(Text(step.shownMonth) + L" " + Text(step.selected), L"20251201 20251231");
  step = StepMiniMonth(CCHSDate(2026, 12, 1), CCHSDate(2027, 1, 15), 1);
  EXPECT_EQ(Text(step.shownMonth) + L" " + Text(step.selected), L"20270101 20270215");
}

class MiniLayout : public ::testing::Test {
 protected:
  // March and April 2026 at 186 pixels: columns of (186 - 5) / 7 = 25, centred.
  static MiniMonthLayout Layout(const std::vector<CCHSDate>& eventDays, const CCHSDate& today,
                                const CCHSDate& selected) {
    MiniMonthInput input;
    input.width = 186;
    input.height = 450;
    input.shownMonth = CCHSDate(2026, 3, 9);
    input.today = today;
    input.selected = selected;
    input.eventDays = &eventDays;
    return LayoutMiniMonth(input);
  }
  std::unique_ptr<wf::MemoryCanvas> Paint(const MiniMonthLayout& layout) {
    HDC screen = ::GetDC(nullptr);
    auto canvas = std::make_unique<wf::MemoryCanvas>(screen, layout.width, layout.height);
    ::ReleaseDC(nullptr, screen);
    PaintMiniMonth(canvas->dc(), layout, m_look);
    return canvas;
  }
  MiniMonthLook m_look;
};

TEST_F(MiniLayout, BlocksCellsFlagsAndHits) {
  const CCHSDate eventDay(2026, 4, 5), today(2026, 4, 10), selected(2026, 4, 20);
  const MiniMonthLayout layout = Layout({eventDay}, today, selected);
  const MiniBlock& upper = layout.blocks[0];
  const MiniBlock& lower = layout.blocks[1];
  EXPECT_EQ(upper.titleText + L" " + lower.titleText, L"2026-03 2026-04");
  EXPECT_EQ(lower.grid.top, 212 + 30 + 26);
  EXPECT_EQ(lower.grid.bottom, 424);
  ASSERT_EQ(lower.cells.size(), 42u);
  EXPECT_EQ(Text(lower.cells[0].day), L"20260329");
  const RECT& cell = lower.cells[8].rect;
  EXPECT_EQ(cell.left, 5 + 25);
  EXPECT_EQ(cell.top, 268 + 26);
  EXPECT_EQ(cell.right - cell.left, 25);
  EXPECT_EQ(lower.weekdays[3].left, lower.cells[3].rect.left);

  // The event day is bold in both blocks, a trailing day of the upper one.
  EXPECT_TRUE(CellOf(upper, eventDay).bold && !CellOf(upper, eventDay).inMonth);
  EXPECT_TRUE(CellOf(lower, eventDay).bold && CellOf(lower, eventDay).inMonth);
  EXPECT_FALSE(CellOf(lower, CCHSDate(2026, 4, 6)).bold);
  EXPECT_TRUE(CellOf(lower, today).today && !CellOf(lower, today).selected);
  EXPECT_TRUE(CellOf(lower, selected).selected && !CellOf(lower, selected).today);

  // Both buttons in the upper title bar; a leading day of the lower grid can
  // be hit (a double-click moves the blocks) but is marked as not selectable.
  for (auto [rect, kind] : {std::pair{layout.prevButton, MiniHitKind::PrevButton},
                            std::pair{layout.nextButton, MiniHitKind::NextButton}}) {
    EXPECT_LE(rect.bottom, 30);
    const MiniHitItem* hit = HitTestMiniMonth(layout, POINT{rect.left, rect.top});
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->kind, kind);
  }
  EXPECT_LT(layout.prevButton.right, layout.nextButton.left);
  const RECT& leading = lower.cells[0].rect;
  const MiniHitItem* hit = HitTestMiniMonth(layout, POINT{leading.left, leading.bottom - 1});
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(Text(hit->day), L"20260329");
  EXPECT_FALSE(hit->inMonth);
  EXPECT_TRUE(HitTestMiniMonth(layout, POINT{leading.left, leading.bottom})->inMonth) << "5 April";
  EXPECT_EQ(HitTestMiniMonth(layout, POINT{leading.left - 1, leading.top}), nullptr) << "left margin";
}

TEST_F(MiniLayout, TodaySelectedAndBoldArePainted) {
  const CCHSDate today(2026, 4, 10), selected(2026, 4, 20), eventDay(2026, 4, 14);
  MiniMonthLayout layout = Layout({eventDay}, today, selected);
  auto canvas = Paint(layout);
  const RECT todayRect = CellOf(layout.blocks[1], today).rect;
  const RECT selectedRect = CellOf(layout.blocks[1], selected).rect;
  EXPECT_EQ(canvas->GetPixelRef(todayRect.left + 1, todayRect.top + 1), Rgb(m_look.todayBack));
  EXPECT_EQ(canvas->GetPixelRef(selectedRect.left + 1, selectedRect.top + 1), Rgb(m_look.selectedBack));

  // Today selected as well: the selection shows round today's fill.
  canvas = Paint(Layout({}, today, today));
  EXPECT_EQ(canvas->GetPixelRef(todayRect.left, todayRect.top + 1), Rgb(m_look.selectedBack));
  EXPECT_EQ(canvas->GetPixelRef(todayRect.left + 3, todayRect.top + 3), Rgb(m_look.todayBack));

  // The same number drawn bold leaves more ink.
  auto inkOf = [&](const std::vector<CCHSDate>& days) {
    const MiniMonthLayout drawn = Layout(days, today, selected);
    return Ink(*Paint(drawn), CellOf(drawn.blocks[1], eventDay).rect, Rgb(m_look.background));
  };
  const int regular = inkOf({}), bold = inkOf({eventDay});
  EXPECT_GT(regular, 0);
  EXPECT_GT(bold, regular);
}

}  // namespace
