// The week and day views without a window: where events stand on the time
// grid and how overlapping ones share a column, the days each view shows and
// asks for, the all-day strip, hit testing at a scroll position, and
// painting into a 32-bit memory bitmap whose pixels are read back.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "calendar/LunarNames.h"
#include "calendar/WeekDayGrid.h"
#include "framework/Gdi.h"

namespace {

using namespace Calendar;

std::wstring Text(const CCHSDate& d) { return MakeDayText(d.Year(), d.Month(), d.Day()); }

CCalendarData Timed(const std::wstring& topic, const CCHSDate& day, int fromHour, int fromMinute, int toHour,
                    int toMinute, int daysLater = 0) {
  CCalendarData event;
  event.m_topic = topic;
  event.m_start = MakeTimeText(day.Year(), day.Month(), day.Day(), fromHour, fromMinute);
  const CCHSDate end = AddDays(day, daysLater);
  event.m_end = MakeTimeText(end.Year(), end.Month(), end.Day(), toHour, toMinute);
  return event;
}

// x, y, width, height of a box, rounded to tenths.
std::vector<int> Box(const EventBox& box) {
  auto tenths = [](float v) { return static_cast<int>(v * 10 + 0.5f); };
  return {tenths(box.rect.X), tenths(box.rect.Y), tenths(box.rect.Width), tenths(box.rect.Height)};
}

const CCHSDate kWednesday(2026, 3, 11);  // the week of Sunday 8 March 2026

TEST(WeekDayPlacement, TheFourCasesAndEventsWithoutABox) {
  TimeSpan span;
  ASSERT_TRUE(PlaceTimedEvent(Timed(L"a", kWednesday, 9, 0, 10, 30), kWednesday, span));
  EXPECT_EQ(span.y, 540);
  EXPECT_EQ(span.height, 90);

  // 23:00 to 01:00 the next day: the end of its first day, the start of the second.
  const CCalendarData overnight = Timed(L"n", kWednesday, 23, 0, 1, 0, 1);
  ASSERT_TRUE(PlaceTimedEvent(overnight, kWednesday, span));
  EXPECT_EQ(span.y + span.height, 1440);
  EXPECT_EQ(span.y, 1380);
  ASSERT_TRUE(PlaceTimedEvent(overnight, AddDays(kWednesday, 1), span));
  EXPECT_EQ(span.y, 0);
  EXPECT_EQ(span.height, 60);

  const CCalendarData threeDays = Timed(L"t", kWednesday, 15, 0, 8, 0, 2);
  ASSERT_TRUE(PlaceTimedEvent(threeDays, AddDays(kWednesday, 1), span)) << "the day in between";
  EXPECT_EQ(span.y, 0);
  EXPECT_EQ(span.height, 1440);

  CCalendarData allDay;
  SetAllDay(allDay, 2026, 3, 11, 2026, 3, 11);
  EXPECT_FALSE(PlaceTimedEvent(allDay, kWednesday, span));
  EXPECT_FALSE(PlaceTimedEvent(overnight, AddDays(kWednesday, 2), span)) << "a day it does not reach";
  EXPECT_FALSE(PlaceTimedEvent(overnight, AddDays(kWednesday, -1), span));
  EXPECT_FALSE(PlaceTimedEvent(Timed(L"m", kWednesday, 22, 0, 0, 0, 1), AddDays(kWednesday, 1), span))
      << "ends at the day's midnight: nothing of it on that day";
}

// The day view's box of 09:00 to 10:30: y 540, height 90, the column from x 52.
TEST(WeekDayPlacement, DayViewBoxAndAnOvernightEventInTheWeek) {
  const std::vector<DayModel> days{{kWednesday, {Timed(L"a", kWednesday, 9, 0, 10, 30)}}};
  TimeBodyInput input;
  input.width = 452;
  input.height = 1440;
  input.selected = kWednesday;
  input.days = &days;
  const TimeBodyLayout day = LayoutDayBody(input);
  ASSERT_EQ(day.boxes.size(), 1u);
  EXPECT_EQ(Box(day.boxes[0]), (std::vector<int>{520, 5400, 4000, 900}));

  // In the week the provider lists the overnight event on both of its days.
  const CCalendarData overnight = Timed(L"n", kWednesday, 23, 0, 1, 0, 1);
  const std::vector<DayModel> both{{kWednesday, {overnight}}, {AddDays(kWednesday, 1), {overnight}}};
  input.width = 750;  // columns of 100
  input.days = &both;
  const TimeBodyLayout week = LayoutWeekBody(input);
  ASSERT_EQ(week.boxes.size(), 2u);
  EXPECT_EQ(Box(week.boxes[0]), (std::vector<int>{3500, 13800, 1000, 600})) << "Wednesday, the fourth column";
  EXPECT_EQ(Box(week.boxes[1]), (std::vector<int>{4500, 0, 1000, 600})) << "Thursday";
}

// Column from 0, 400 wide.
std::vector<EventBox> Share(const std::vector<CCalendarData>& events) {
  return LayoutDayEvents(kWednesday, events, 0, 400);
}

TEST(WeekDayLayout, OverlappingEventsShareTheColumn) {
  const CCHSDate& d = kWednesday;
  // 09:00-10:00 and 09:30-11:00 take halves; 10:30-11:30 overlaps only the
  // second and takes the free left half.
  auto boxes = Share({Timed(L"1", d, 9, 0, 10, 0), Timed(L"2", d, 9, 30, 11, 0), Timed(L"3", d, 10, 30, 11, 30)});
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(Box(boxes[0]), (std::vector<int>{0, 5400, 2000, 600}));
  EXPECT_EQ(Box(boxes[1]), (std::vector<int>{2000, 5700, 2000, 900}));
  EXPECT_EQ(Box(boxes[2]), (std::vector<int>{0, 6300, 2000, 600}));

  boxes = Share({Timed(L"lone", d, 14, 0, 15, 0)});
  EXPECT_EQ(Box(boxes[0]), (std::vector<int>{0, 8400, 4000, 600})) << "overlaps nothing: the whole width";
  boxes = Share({Timed(L"1", d, 9, 0, 10, 0), Timed(L"2", d, 10, 0, 11, 0)});
  EXPECT_EQ(Box(boxes[1])[2], 4000) << "one ends as the next starts: no overlap";

  boxes = Share({Timed(L"1", d, 9, 0, 12, 0), Timed(L"2", d, 9, 30, 12, 0), Timed(L"3", d, 10, 0, 12, 0)});
  EXPECT_EQ(Box(boxes[0])[0], 0);
  EXPECT_EQ(Box(boxes[1])[0], 1333);
  EXPECT_EQ(Box(boxes[2])[0], 2667);
  for (const EventBox& box : boxes) EXPECT_EQ(Box(box)[2], 1333) << "thirds";

  // A full column shared again: A, B and C fill it when E comes, so all four
  // take quarters; P, which B overlaps but E does not, and which comes
  // between A and B in the day's order, is narrowed to a quarter beside A.
  boxes = Share({Timed(L"A", d, 9, 0, 13, 0), Timed(L"P", d, 9, 0, 9, 30), Timed(L"B", d, 9, 15, 13, 0),
                 Timed(L"C", d, 10, 0, 13, 0), Timed(L"E", d, 11, 0, 12, 0)});
  ASSERT_EQ(boxes.size(), 5u);
  const int expectedX[5] = {0, 1000, 2000, 1000, 3000};  // A, P, B, C, E
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Box(boxes[static_cast<size_t>(i)])[0], expectedX[i]) << boxes[static_cast<size_t>(i)].topic;
    EXPECT_EQ(Box(boxes[static_cast<size_t>(i)])[2], 1000) << boxes[static_cast<size_t>(i)].topic;
  }
}

TEST(WeekDayQueries, WeekAndDayAskAndStep) {
  TimeQueryPlan plan = PlanWeekQuery(CCHSDate(1980, 1, 1), kWednesday, false);
  EXPECT_TRUE(plan.ask && plan.redrawOnAnswer);
  EXPECT_EQ(Text(plan.range.from) + L"-" + Text(plan.range.to), L"20260301-20260322");
  EXPECT_EQ(Text(plan.shownFirst), L"20260308");
  const CCHSDate shown(2026, 3, 8);
  EXPECT_FALSE(PlanWeekQuery(shown, CCHSDate(2026, 3, 14), false).ask) << "same week";
  EXPECT_TRUE(PlanWeekQuery(shown, CCHSDate(2026, 3, 14), true).redrawOnAnswer);
  plan = PlanWeekQuery(shown, CCHSDate(2026, 3, 15), false);
  EXPECT_TRUE(plan.ask && !plan.redrawOnAnswer) << "the next week is drawn from the last answer";
  EXPECT_FALSE(PlanWeekQuery(shown, CCHSDate(2026, 3, 7), false).redrawOnAnswer);
  EXPECT_TRUE(PlanWeekQuery(shown, CCHSDate(2026, 3, 22), false).redrawOnAnswer) << "two weeks on";

  plan = PlanDayQuery(CCHSDate(), CCHSDate(2026, 3, 1), false);
  EXPECT_TRUE(plan.ask && plan.redrawOnAnswer);
  EXPECT_EQ(Text(plan.range.from) + L"-" + Text(plan.range.to), L"20260228-20260302");
  EXPECT_FALSE(PlanDayQuery(CCHSDate(2026, 3, 1), CCHSDate(2026, 3, 1), false).ask);
  EXPECT_FALSE(PlanDayQuery(CCHSDate(2026, 3, 1), CCHSDate(2026, 3, 2), false).redrawOnAnswer);
  EXPECT_TRUE(PlanDayQuery(CCHSDate(2026, 3, 1), CCHSDate(2026, 3, 3), false).redrawOnAnswer);

  EXPECT_EQ(Text(ApplyWeekHeaderButton(TimeHeaderButton::Prev, CCHSDate(2026, 3, 4))), L"20260225");
  EXPECT_EQ(Text(ApplyWeekHeaderButton(TimeHeaderButton::Next, CCHSDate(2026, 12, 28))), L"20270104");
  EXPECT_EQ(Text(ApplyDayHeaderButton(TimeHeaderButton::Prev, CCHSDate(2026, 1, 1))), L"20251231");
  EXPECT_EQ(Text(ApplyDayHeaderButton(TimeHeaderButton::Next, CCHSDate(2028, 2, 28))), L"20280229");
}

class WeekView : public ::testing::Test {
 protected:
  void SetUp() override {
    const wchar_t* names[7] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
    for (int i = 0; i < 7; ++i) m_texts.weekdayNames[i] = names[i];
    m_texts.weekTitleFormat = L"%04d-%02d  Week %d";
    m_texts.allDay = L"All day";
  }
  TimeHeaderInput Header(const std::vector<DayModel>& days) {
    TimeHeaderInput input;
    input.width = 750;  // body columns of 100 from x 50
    input.selected = kWednesday;
    input.today = CCHSDate(2026, 3, 12);
    input.days = &days;
    input.texts = &m_texts;
    return input;
  }
  TimeViewTexts m_texts;
};

TEST_F(WeekView, ShowsSundayToSaturdayWithTitlesInTheBodysColumns) {
  const std::vector<DayModel> none;
  const TimeHeaderLayout header = LayoutWeekHeader(Header(none));
  EXPECT_EQ(header.titleText, L"2026-03  Week 10");
  ASSERT_EQ(header.columns.size(), 7u);
  EXPECT_EQ(Text(header.columns[0].day), L"20260308");
  EXPECT_EQ(header.columns[6].date, L"03-14");
  EXPECT_EQ(header.columns[3].name, L"Wed");
  EXPECT_EQ(header.columns[2].rect.left, 250);
  EXPECT_EQ(HitTestTimeHeader(header, POINT{header.buttons[1].left, header.buttons[1].bottom - 1}),
            TimeHeaderButton::Next);
  EXPECT_EQ(HitTestTimeHeader(header, POINT{header.title.left, 15}), TimeHeaderButton::None);
  EXPECT_LE(header.buttons[0].right, header.title.left);
  EXPECT_LE(header.title.right, header.buttons[1].left);

  TimeHeaderLook look;
  auto colours = [&](int column) { return TitleColoursOf(look, header.columns[static_cast<size_t>(column)]); };
  EXPECT_EQ(colours(4).fill, look.todayFill);
  EXPECT_EQ(colours(4).text, look.todayText);
  EXPECT_EQ(colours(3).fill, look.selectedFill);
  EXPECT_EQ(colours(3).text, look.dayText);
  EXPECT_EQ(colours(6).text, look.weekendText);
  EXPECT_EQ(colours(6).fill, 0u);

  // The lunar text (the month's name on 19 March 2026, the first day of the
  // second lunar month) in Chinese only.
  CLunarNames names;
  for (auto& name : names.m_months) name = L"M";
  for (auto& name : names.m_days) name = L"D";
  TimeHeaderInput input = Header(none);
  input.lunarNames = &names;
  input.selected = CCHSDate(2026, 3, 19);
  for (int language : {kLanguageChineseSimplified, kLanguageChineseTraditional, kLanguageEnglish, kLanguageOther}) {
    input.languageId = language;
    const TimeHeaderLayout lunar = LayoutWeekHeader(input);
    EXPECT_EQ(lunar.columns[4].lunar, ShowsLunarDates(language) ? L"M" : L"") << language;
    EXPECT_EQ(lunar.columns[3].lunar, ShowsLunarDates(language) ? L"D" : L"") << language;
  }

  TimeBodyInput body;
  body.width = 750;
  body.height = 400;
  body.selected = kWednesday;
  const TimeBodyLayout layout = LayoutWeekBody(body);
  ASSERT_EQ(layout.columns.size(), 7u);
  for (size_t d = 0; d < 7; ++d) EXPECT_EQ(layout.columns[d].left, header.columns[d].rect.left);
  EXPECT_EQ(Text(layout.columns[6].day), L"20260314");
}

TEST_F(WeekView, AllDayEventsOnlyInTheStrip) {
  CCalendarData holiday;
  holiday.m_topic = L"holiday";
  SetAllDay(holiday, 2026, 3, 9, 2026, 3, 9);
  std::vector<DayModel> days{{CCHSDate(2026, 3, 9), {holiday, Timed(L"meeting", CCHSDate(2026, 3, 9), 9, 0, 10, 0)}},
                             {CCHSDate(2026, 3, 13), {holiday, holiday, holiday}}};
  TimeBodyInput body;
  body.width = 750;
  body.height = 1440;
  body.selected = kWednesday;
  body.days = &days;
  const TimeBodyLayout layout = LayoutWeekBody(body);
  ASSERT_EQ(layout.boxes.size(), 1u);
  EXPECT_EQ(layout.boxes[0].topic, L"meeting");

  const TimeHeaderLayout header = LayoutWeekHeader(Header(days));
  ASSERT_EQ(header.allDay.size(), 3u) << "Monday's one and two of Friday's three";
  EXPECT_EQ(header.allDay[0].topic, L"holiday");
  EXPECT_EQ(header.allDay[0].colour, month_colours::kPastEventText) << "before today";
  EXPECT_EQ(header.allDay[1].colour, month_colours::kEventText);
  EXPECT_GE(header.allDay[0].rect.left, header.columns[1].rect.left);
  EXPECT_GE(header.allDay[0].rect.top, kWeekColumnTitlesBottom);
  EXPECT_LE(header.allDay[2].rect.bottom, kWeekHeaderHeight);
  ASSERT_EQ(header.markers.size(), 1u);
  EXPECT_EQ(header.markers[0].count, 3);
  EXPECT_EQ(header.markers[0].rect.right, header.columns[5].rect.right);
  const TimeHitItem* hit = HitTestAllDay(header, POINT{header.allDay[0].rect.left, header.allDay[0].rect.top});
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->event.m_topic, L"holiday");
  EXPECT_EQ(header.allDayLabel.right, kTimeLabelWidth);

  // The day view's strip lies below its title row.
  TimeHeaderInput dayInput = Header(days);
  dayInput.selected = CCHSDate(2026, 3, 9);
  const TimeHeaderLayout dayHeader = LayoutDayHeader(dayInput);
  EXPECT_EQ(dayHeader.titleText, L"Mon 2026-03-09");
  ASSERT_EQ(dayHeader.allDay.size(), 1u);
  EXPECT_EQ(dayHeader.allDay[0].rect.left, kDayViewColumnLeft + 2);
  EXPECT_GE(dayHeader.allDay[0].rect.top, kTimeTitleHeight);
  EXPECT_LE(dayHeader.allDay[0].rect.bottom, kDayHeaderHeight);
}

// Scrolled to 08:00: client y 100 is 09:40.
TEST(WeekDayHits, ABoxWinsOverItsCellAndCellsGiveDayAndTime) {
  std::vector<DayModel> days{{CCHSDate(2026, 3, 10), {Timed(L"t", CCHSDate(2026, 3, 10), 9, 0, 10, 0)}}};
  days[0].events[0].m_remark = L"kept";
  TimeBodyInput input;
  input.width = 750;
  input.height = 300;
  input.scroll = 480;
  input.selected = kWednesday;
  input.days = &days;
  const TimeBodyLayout layout = LayoutWeekBody(input);
  const TimeHitItem* hit = HitTestTimeBody(layout, POINT{270, 100});  // Tuesday's column
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->kind, TimeHitKind::Event);
  EXPECT_EQ(hit->event.m_remark, L"kept") << "a copy of the whole event";
  EXPECT_EQ(Text(hit->day), L"20260310");

  hit = HitTestTimeBody(layout, POINT{470, 100});  // Thursday, 09:40
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->kind, TimeHitKind::Cell);
  EXPECT_EQ(Text(hit->day), L"20260312");
  EXPECT_EQ(hit->hour * 100 + hit->minute, 930);
  hit = HitTestTimeBody(layout, POINT{470, 120});
  EXPECT_EQ(hit->hour * 100 + hit->minute, 1000) << "y 120 is 10:00, the next half hour";
  hit = HitTestTimeBody(layout, POINT{270, 120});
  EXPECT_EQ(hit->kind, TimeHitKind::Cell) << "the box ends at 10:00";
  EXPECT_EQ(HitTestTimeBody(layout, POINT{20, 100}), nullptr) << "the hour labels";
  EXPECT_EQ(ClampTimeScroll(1400, 300), 1140);
  EXPECT_EQ(ClampTimeScroll(-5, 300), 0);
}

COLORREF Rgb(Gdiplus::ARGB c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

// The darkest pixel of `area`, as R + G + B: text of a past day is never
// darker than its pale colour, text of other days is much darker.
int Darkest(const wf::MemoryCanvas& canvas, const RECT& area) {
  int darkest = 3 * 255;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      const COLORREF c = canvas.GetPixelRef(x, y);
      darkest = std::min(darkest, GetRValue(c) + GetGValue(c) + GetBValue(c));
    }
  return darkest;
}

TEST(WeekDayPaint, BoxesOnePixelInsideAndPastTopicsPale) {
  const CCHSDate monday(2026, 3, 9), friday(2026, 3, 13);
  const std::vector<DayModel> days{{monday, {Timed(L"Planning", monday, 9, 0, 11, 0)}},
                                   {friday, {Timed(L"Planning", friday, 9, 0, 11, 0)}}};
  TimeBodyInput input;
  input.width = 750;
  input.height = 400;
  input.scroll = 480;
  input.selected = kWednesday;
  input.today = kWednesday;
  input.days = &days;
  const TimeBodyLayout layout = LayoutWeekBody(input);
  ASSERT_EQ(layout.boxes.size(), 2u);
  TimeBodyLook look;
  look.eventFont = {L"Tahoma", 9, 0};  // no dependence on a CJK font
  HDC screen = ::GetDC(nullptr);
  wf::MemoryCanvas canvas(screen, layout.width, layout.height);
  ::ReleaseDC(nullptr, screen);
  {
    Gdiplus::Graphics g(canvas.dc());
    PaintTimeBody(g, layout, look);
  }
  const RECT past = BoxPixels(layout, layout.boxes[0]);
  EXPECT_EQ(past.left, 150);
  EXPECT_EQ(past.top, 60);
  EXPECT_EQ(past.bottom, 180);
  const int midY = (past.top + past.bottom) / 2;
  EXPECT_EQ(canvas.GetPixelRef(past.left + 1, midY), Rgb(look.boxFrame));
  EXPECT_EQ(canvas.GetPixelRef(past.right - 2, midY), Rgb(look.boxFrame));
  EXPECT_EQ(canvas.GetPixelRef(past.left + 5, past.bottom - 2), Rgb(look.boxFrame));
  EXPECT_EQ(canvas.GetPixelRef(past.right - 4, past.bottom - 4), Rgb(look.boxFill));
  EXPECT_NE(canvas.GetPixelRef(past.left, midY), Rgb(look.boxFrame)) << "the outer pixel is not the box's";
  EXPECT_EQ(canvas.GetPixelRef(past.left + 5, past.top - 1), Rgb(time_colours::kGridLine)) << "08:00's row ends";

  const RECT pastText{past.left + 2, past.top + 2, past.right - 2, past.top + 22};
  const RECT present = BoxPixels(layout, layout.boxes[1]);
  const RECT presentText{present.left + 2, present.top + 2, present.right - 2, present.top + 22};
  const COLORREF pale = Rgb(time_colours::kPastEventText);
  const int paleSum = GetRValue(pale) + GetGValue(pale) + GetBValue(pale);
  const int fillSum = GetRValue(Rgb(look.boxFill)) + GetGValue(Rgb(look.boxFill)) + GetBValue(Rgb(look.boxFill));
  EXPECT_LT(Darkest(canvas, pastText), fillSum - 60) << "the past topic is drawn";
  EXPECT_GE(Darkest(canvas, pastText), paleSum - 6);
  EXPECT_LT(Darkest(canvas, presentText), paleSum - 150);
}

}  // namespace
