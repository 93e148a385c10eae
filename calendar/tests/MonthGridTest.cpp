// The month view's days, navigation, body layout, hit testing and painting,
// without a window: painting goes into a 32-bit memory bitmap whose pixels
// are read back.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "calendar/LunarNames.h"
#include "calendar/MonthGrid.h"
#include "framework/Gdi.h"

namespace {

using namespace Calendar;

std::wstring Text(const CCHSDate& d) { return MakeDayText(d.Year(), d.Month(), d.Day()); }

DayModel Day(const CCHSDate& day, int events) {
  DayModel model{day, std::vector<CCalendarData>(static_cast<size_t>(events))};
  for (int i = 0; i < events; ++i) model.events[static_cast<size_t>(i)].m_topic = L"event " + std::to_wstring(i);
  return model;
}

COLORREF Rgb(Gdiplus::ARGB c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

// `over` with its alpha laid on the opaque `under`, as GDI+ blends it.
COLORREF Blend(Gdiplus::ARGB over, Gdiplus::ARGB under) {
  const int a = static_cast<int>(over >> 24);
  auto channel = [&](int shift) {
    return (((over >> shift) & 0xFF) * a + ((under >> shift) & 0xFF) * (255 - a)) / 255;
  };
  return RGB(channel(16), channel(8), channel(0));
}

bool Near(COLORREF a, COLORREF b, int tolerance = 3) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Pixels in `area` that are not `background`.
int Ink(const wf::MemoryCanvas& canvas, const RECT& area, COLORREF background) {
  int ink = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) ink += !Near(canvas.GetPixelRef(x, y), background, 8);
  return ink;
}

MonthLook TestLook() {
  MonthLook look;
  look.eventFont = {L"Tahoma", 9, 0};  // no dependence on a CJK font
  return look;
}

std::unique_ptr<wf::MemoryCanvas> Paint(const MonthBodyLayout& layout) {
  HDC screen = ::GetDC(nullptr);
  auto canvas = std::make_unique<wf::MemoryCanvas>(screen, layout.width, layout.height);
  ::ReleaseDC(nullptr, screen);
  {
    Gdiplus::Graphics g(canvas->dc());
    PaintMonthBody(g, layout, TestLook());
  }
  return canvas;
}

const MonthCell& CellOf(const MonthBodyLayout& layout, const CCHSDate& day) {
  return layout.cells.at(static_cast<size_t>(CCHSDate::DiffDays(day, layout.gridStart)));
}

// 1 March 2026 is a Sunday, 1 April a Wednesday, 1 January 2027 a Friday.
TEST(MonthGrid, GridStartQueryRangeAndSteps) {
  EXPECT_EQ(Text(GridStart(CCHSDate(2026, 3, 17))), L"20260301");
  EXPECT_EQ(Text(GridStart(CCHSDate(2026, 4, 30))), L"20260329");
  EXPECT_EQ(Text(GridStart(CCHSDate(2027, 1, 9))), L"20261227");
  const DayRange range = MonthViewQueryRange(CCHSDate(2026, 3, 31));
  EXPECT_EQ(Text(range.from) + L"-" + Text(range.to), L"20260118-20260530");

  EXPECT_EQ(Text(StepMonth(CCHSDate(2026, 1, 31), 1)), L"20260228");
  EXPECT_EQ(Text(StepMonth(CCHSDate(2028, 1, 31), 1)), L"20280229");
  EXPECT_EQ(Text(StepMonth(CCHSDate(2026, 1, 31), -13)), L"20241231");
  EXPECT_EQ(Text(StepYear(CCHSDate(2028, 2, 29), 1)), L"20290228");
  EXPECT_EQ(StepMonth(CCHSDate(2026, 1, 31), 1).WeekDay(), 6) << "derived fields follow";
  // The header's buttons, December and January wrapping into the next year.
  EXPECT_EQ(Text(ApplyMonthHeaderButton(MonthHeaderButton::PrevYear, CCHSDate(2026, 3, 31))), L"20250331");
  EXPECT_EQ(Text(ApplyMonthHeaderButton(MonthHeaderButton::PrevMonth, CCHSDate(2026, 1, 15))), L"20251215");
  EXPECT_EQ(Text(ApplyMonthHeaderButton(MonthHeaderButton::NextMonth, CCHSDate(2026, 12, 31))), L"20270131");
  EXPECT_EQ(Text(ApplyMonthHeaderButton(MonthHeaderButton::NextYear, CCHSDate(2026, 3, 31))), L"20270331");
}

// A new month or force asks; an answer for a neighbouring month redraws only
// when forced (the last answer already covered it), a far one always.
TEST(MonthGrid, QueryPlanAsksAndRedrawsByHowFarTheMonthMoved) {
  const CCHSDate march(2026, 3, 1);
  MonthQueryPlan plan = PlanMonthQuery(CCHSDate(1980, 1, 1), CCHSDate(2026, 3, 9), false);
  EXPECT_TRUE(plan.ask && plan.redrawOnAnswer);
  EXPECT_EQ(plan.shownMonth, march);
  EXPECT_FALSE(PlanMonthQuery(march, CCHSDate(2026, 3, 20), false).ask) << "same month";
  plan = PlanMonthQuery(march, CCHSDate(2026, 3, 20), true);
  EXPECT_TRUE(plan.ask && plan.redrawOnAnswer);
  for (const CCHSDate& neighbour : {CCHSDate(2026, 4, 2), CCHSDate(2026, 2, 27)}) {
    plan = PlanMonthQuery(march, neighbour, false);
    EXPECT_TRUE(plan.ask && !plan.redrawOnAnswer) << Text(neighbour);
    EXPECT_TRUE(PlanMonthQuery(march, neighbour, true).redrawOnAnswer) << Text(neighbour);
  }
  EXPECT_FALSE(PlanMonthQuery(CCHSDate(2026, 1, 1), CCHSDate(2025, 12, 31), false).redrawOnAnswer);
  EXPECT_TRUE(PlanMonthQuery(march, CCHSDate(2026, 5, 1), false).redrawOnAnswer);
  EXPECT_TRUE(PlanMonthQuery(march, CCHSDate(2025, 3, 1), false).redrawOnAnswer) << "same month a year away";
}

// A client size that 7 and 6 do not divide: corners are (j * W / 7, i * H / 6),
// sizes W / 7 by H / 6, which leaves a pixel between some cells.
TEST(MonthGrid, CellsTheirDaysAndColours) {
  const CCHSDate today(2026, 3, 10), selected(2026, 3, 12);
  MonthBodyInput input;
  input.width = 705;
  input.height = 605;
  input.today = today;
  input.selected = selected;
  const MonthBodyLayout layout = LayoutMonthBody(input);
  ASSERT_EQ(layout.cells.size(), 42u);
  const MonthCell& cell = layout.cells[2 * 7 + 3];
  EXPECT_EQ(cell.rect.left, 302);
  EXPECT_EQ(cell.rect.top, 201);
  EXPECT_EQ(cell.rect.right - cell.rect.left, 100);
  EXPECT_EQ(cell.rect.bottom - cell.rect.top, 100);
  EXPECT_EQ(Text(cell.day), L"20260318");
  EXPECT_EQ(cell.number, L"18");
  EXPECT_EQ(Text(layout.cells[41].day), L"20260411");
  EXPECT_EQ(CellOf(layout, today).text, month_colours::kTodayText);
  EXPECT_EQ(CellOf(layout, selected).fill, month_colours::kSelectedFill);
  EXPECT_EQ(CellOf(layout, selected).text, month_colours::kSelectedText);
  EXPECT_EQ(CellOf(layout, CCHSDate(2026, 4, 1)).text, month_colours::kOtherText);
}

class MonthEvents : public ::testing::Test {
 protected:
  // 700 x 600: cells of 100 x 100, room for (100 - 22) / 18 = 4 lines.
  MonthBodyLayout Layout(const std::vector<DayModel>& days, int languageId = kLanguageEnglish) {
    MonthBodyInput input;
    input.width = 700;
    input.height = 600;
    input.today = CCHSDate(2026, 3, 10);
    input.selected = CCHSDate(2026, 3, 12);
    input.days = &days;
    input.lunarNames = &m_names;
    input.languageId = languageId;
    return LayoutMonthBody(input);
  }
  void SetUp() override {
    for (auto& name : m_names.m_months) name = L"MMMM";
    for (auto& name : m_names.m_days) name = L"WWWW";
  }
  CLunarNames m_names;
};

TEST_F(MonthEvents, LinesThatFitTheMarkerAndTheColourOfPastDays) {
  const CCHSDate full(2026, 3, 4), overflow(2026, 3, 18);
  const MonthBodyLayout layout = Layout({Day(full, 4), Day(overflow, 5), Day(CCHSDate(2026, 6, 1), 3),
                                         Day(CCHSDate(), 2), Day(overflow, 1)});
  EXPECT_EQ(layout.linesPerCell, 4);
  ASSERT_EQ(layout.lines.size(), 8u) << "4 + 4; June and an unparsed day are not in the grid";
  const MonthCell& fullCell = CellOf(layout, full);
  const MonthCell& overflowCell = CellOf(layout, overflow);
  EXPECT_FALSE(fullCell.marker) << "four events fit";
  EXPECT_TRUE(overflowCell.marker);
  EXPECT_EQ(overflowCell.eventCount, 6) << "the day named twice keeps both lists";
  EXPECT_EQ(overflowCell.markerRect.left + 18, overflowCell.rect.right);
  EXPECT_EQ(overflowCell.markerRect.top + 18, overflowCell.rect.bottom);

  const RECT& first = layout.lines[0].rect;
  EXPECT_EQ(first.left, fullCell.rect.left + 2);
  EXPECT_EQ(first.top, fullCell.rect.top + 22);
  EXPECT_EQ(first.right - first.left, 79);
  EXPECT_EQ(layout.lines[3].rect.top, fullCell.rect.top + 22 + 3 * 18);
  EXPECT_EQ(layout.lines[0].topic, L"event 0");
  EXPECT_EQ(layout.lines[0].colour, month_colours::kPastEventText) << "4 March is before today";
  EXPECT_EQ(layout.lines[4].colour, month_colours::kEventText);
}

// An event line lies inside its day cell and must win there; elsewhere in the
// cell the day is hit; cells are half-open, and the pixel between two cells
// hits nothing.
TEST_F(MonthEvents, HitTestPrefersTheEventLine) {
  std::vector<DayModel> days{Day(CCHSDate(2026, 3, 4), 2)};
  days[0].events[1].m_remark = L"kept";
  const MonthBodyLayout layout = Layout(days);
  const RECT& second = layout.lines[1].rect;
  const MonthHitItem* hit = HitTestMonthBody(layout, POINT{second.left, second.top});
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->kind, MonthHitKind::Event);
  EXPECT_EQ(hit->event.m_remark, L"kept") << "a copy of the whole event";
  hit = HitTestMonthBody(layout, POINT{second.left, second.bottom});
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->kind, MonthHitKind::Day) << "below the last line";
  EXPECT_EQ(Text(hit->day), L"20260304");
  EXPECT_EQ(Text(HitTestMonthBody(layout, POINT{100, 0})->day), L"20260302") << "x = 100 is the second cell's";

  MonthBodyInput odd;
  odd.width = 705;
  odd.height = 605;
  odd.selected = CCHSDate(2026, 3, 4);
  const MonthBodyLayout gaps = LayoutMonthBody(odd);
  EXPECT_EQ(HitTestMonthBody(gaps, POINT{200, 50}), nullptr) << "between the second and third cells";
  EXPECT_EQ(HitTestMonthBody(gaps, POINT{704, 50}), nullptr) << "right of the last column";
}

TEST_F(MonthEvents, PaintedColoursAndTheCountMarker) {
  const CCHSDate today(2026, 3, 10), overflow(2026, 3, 18), few(2026, 3, 19);
  MonthBodyInput input;
  input.width = 700;
  input.height = 600;
  input.today = today;
  input.selected = today;
  std::vector<DayModel> days{Day(overflow, 5), Day(few, 3)};
  input.days = &days;
  const MonthBodyLayout layout = LayoutMonthBody(input);
  auto canvas = Paint(layout);

  auto corner = [&](const CCHSDate& day) {
    const RECT& rc = CellOf(layout, day).rect;
    return canvas->GetPixelRef(rc.left + 1, rc.bottom - 2);
  };
  EXPECT_EQ(corner(today), Rgb(month_colours::kTodayFill)) << "today, also selected";
  EXPECT_EQ(corner(CCHSDate(2026, 4, 2)), Rgb(month_colours::kOtherFill));
  EXPECT_EQ(corner(CCHSDate(2026, 3, 2)), Rgb(month_colours::kMonthFill));

  const RECT marker = CellOf(layout, overflow).markerRect;
  EXPECT_TRUE(Near(canvas->GetPixelRef(marker.left + 1, marker.top + 1),
                   Blend(month_colours::kMarkerFill, month_colours::kMonthFill)));
  EXPECT_GT(Ink(*canvas, marker, Blend(month_colours::kMarkerFill, month_colours::kMonthFill)), 0) << "the count";
  const RECT& fewCell = CellOf(layout, few).rect;
  const RECT noMarker{fewCell.right - 18, fewCell.bottom - 18, fewCell.right, fewCell.bottom};
  EXPECT_EQ(Ink(*canvas, noMarker, Rgb(month_colours::kMonthFill)), 0);
  // The event lines themselves are drawn.
  EXPECT_GT(Ink(*canvas, layout.lines[0].rect, Rgb(month_colours::kMonthFill)), 0);
}

// The lunar text stands right of the day number in Chinese only.
TEST_F(MonthEvents, LunarTextOnlyInChinese) {
  const CCHSDate day(2026, 3, 4);
  for (int language : {kLanguageChineseSimplified, kLanguageChineseTraditional, kLanguageEnglish, kLanguageOther}) {
    const MonthBodyLayout layout = Layout({}, language);
    const bool chinese = language <= kLanguageChineseTraditional;
    EXPECT_EQ(CellOf(layout, day).lunar.empty(), !chinese) << language;
    auto canvas = Paint(layout);
    const MonthCell& cell = CellOf(layout, day);
    const RECT right{cell.rect.left + 24, cell.rect.top + 1, cell.rect.left + 90, cell.rect.top + 19};
    const int ink = Ink(*canvas, right, Rgb(cell.fill));
    if (chinese)
      EXPECT_GT(ink, 20) << language;
    else
      EXPECT_EQ(ink, 0) << language;
  }
}

TEST(MonthHeader, ButtonsFlankTheTitleAndTheWeekdaysFollowTheColumns) {
  const MonthHeaderLayout header = LayoutMonthHeader(705, CCHSDate(2026, 3, 9));
  EXPECT_EQ(header.titleText, L"2026-03");
  const RECT order[5] = {header.buttons[0], header.buttons[1], header.title, header.buttons[2], header.buttons[3]};
  for (int i = 0; i < 4; ++i) EXPECT_LE(order[i].right, order[i + 1].left) << i;
  for (int i = 0; i < 4; ++i) {
    const RECT& b = header.buttons[i];
    EXPECT_TRUE(b.top >= 0 && b.bottom <= 30) << i;
    EXPECT_EQ(HitTestMonthHeader(header, POINT{b.left, b.bottom - 1}), static_cast<MonthHeaderButton>(i));
  }
  EXPECT_EQ(HitTestMonthHeader(header, POINT{header.title.left, 15}), MonthHeaderButton::None);
  for (int j = 0; j < 7; ++j) EXPECT_EQ(header.weekdays[j].left, j * 705 / 7);
  EXPECT_EQ(header.weekdays[6].right - header.weekdays[6].left, 100);
}

}  // namespace
