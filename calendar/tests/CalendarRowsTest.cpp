// The calendar list's rows without windows: what the list shown against the
// simulated handset (CalendarOperateTest) does not reach easily — ties and
// limits of the nearest day, labels at month and year ends, texts cut short.
#include <gtest/gtest.h>

#include <algorithm>

#include "calendar/CalendarRows.h"

using namespace Calendar;

namespace {

CCalendarData Event(ContentId id, const std::wstring& start, const std::wstring& end = L"") {
  CCalendarData e;
  e.m_id = id;
  e.m_start = start;
  e.m_end = end;
  return e;
}

TEST(CalendarRowsTest, TheNearestDayIsTheFirstOfTwoEquallyNearAndNoneBeyondAThousandDays) {
  CCalendarRows rows;
  CCalendarData a = Event(1, L"20260305T0800Z"), b = Event(2, L"20260308T0800Z"), c = Event(3, L"20260310T0800Z");
  GroupedContent days{{L"20260305", {&a}}, {L"20260308", {&b}}, {L"20260310", {&c}}};
  EXPECT_EQ(rows.FillGrouped(days, CCHSDate(2026, 3, 9)), 2);  // the 8th and the 10th lie one day away
  EXPECT_EQ(rows.FillGrouped(days, CCHSDate(2029, 1, 1)), -1);

  // A search answer: the same day twice, apart, gets two headers.
  CCalendarData d = Event(4, L"20260305T0900Z");
  EXPECT_EQ(rows.FillFlat(ContentList{&a, &b, &d}, CCHSDate(2026, 3, 7)), 2);
  std::vector<bool> headers;
  for (int row = 0; row < rows.RowCount(); ++row) headers.push_back(rows.IsSectionRow(row));
  EXPECT_EQ(headers, (std::vector<bool>{true, false, true, false, true, false}));
}

TEST(CalendarRowsTest, TomorrowCrossesMonthAndYearEndsAndHeadersFollowTheDate) {
  CalendarDayWords words{L"Today", L"Tomorrow"};
  EXPECT_EQ(DayLabel(L"20260301T0800Z", CCHSDate(2026, 2, 28), words), L"Tomorrow");
  EXPECT_EQ(DayLabel(L"20260101", CCHSDate(2025, 12, 31), words), L"Tomorrow");
  EXPECT_EQ(DayLabel(L"20250101", CCHSDate(2025, 12, 31), words), L"2025-01-01");
  EXPECT_EQ(DayLabel(L"20260229", CCHSDate(2026, 2, 28), words), L"2026-02-29");  // not a day, not tomorrow

  CCalendarRows rows;
  rows.SetLook(CalendarRowLook{words});
  rows.SetToday(CCHSDate(2026, 3, 7));
  CCalendarData a = Event(1, L"20260308T0800Z");
  rows.FillGrouped(GroupedContent{{L"20260308", {&a}}}, CCHSDate(2026, 3, 7));
  EXPECT_EQ(rows.LabelOf(0), L"Tomorrow");
  rows.SetToday(CCHSDate(2026, 3, 8));  // midnight
  EXPECT_EQ(rows.LabelOf(0), L"Today");
}

TEST(CalendarRowsTest, CutTextsTicksAndCollapsedDaysKeepToTheirRows) {
  CCalendarRows rows;
  CCalendarData a = Event(1, L"20260307T09", L"2026030"), b = Event(2, L"20260308T0800Z");
  rows.FillGrouped(GroupedContent{{L"20260307", {&a}}, {L"20260308", {&b}}}, CCHSDate(2026, 3, 7));
  CQsGridCell time, headerCheck;
  rows.GetCell(1, kColumnTime, time);
  EXPECT_EQ(time.text, L"09:00-00:00");
  rows.GetCell(0, kColumnCheck, headerCheck);
  EXPECT_FALSE(headerCheck.check);  // a day header has no box

  rows.SetTick(0, true);
  rows.SetTick(3, true);
  EXPECT_EQ(rows.TickedIds(), (IdList{2}));
  rows.SetAllTicks(true);
  EXPECT_EQ(rows.TickedCount(), 2);
  EXPECT_EQ(rows.IdsOf({0, 1, 2, 9}), (IdList{1}));

  rows.OnSectionToggle(2);
  rows.OnSectionToggle(3);  // not a header
  std::vector<int> collapsed;
  rows.GetCollapsedSections(collapsed);
  EXPECT_EQ(collapsed, (std::vector<int>{2}));
  rows.FillGrouped(GroupedContent{}, CCHSDate(2026, 3, 7));
  rows.GetCollapsedSections(collapsed);
  EXPECT_TRUE(collapsed.empty());  // a new answer opens every day again
}

TEST(CalendarColumnsTest, FixedColumnsKeepTheirPixelsAndTheRestIsShared) {
  for (int width : {60, 300, 850}) {
    auto f = CalendarColumnFractions(width);
    double sum = 0;
    for (double part : f) sum += part;
    EXPECT_NEAR(sum, 1.0, 1e-9) << width;
    EXPECT_GE(*std::min_element(f.begin(), f.end()), 0.0) << width;
    if (width > 120) {
      EXPECT_NEAR(f[kColumnCheck] * width, 40, 1e-9);
      EXPECT_NEAR(f[kColumnActions] * width, 80, 1e-9);
      EXPECT_NEAR(f[kColumnTopic] / f[kColumnTime], 25.0 / 20, 1e-9);
    }
  }
}

}  // namespace
