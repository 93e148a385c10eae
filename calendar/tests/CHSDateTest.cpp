// The calendar date: Gregorian helpers, weekdays and lunar dates of known
// days, stepping within and beyond the calendar's range, the ends of the
// Gregorian range, formatting and layout.
#include <gtest/gtest.h>

#include <cstring>

#include "calendar/CHSDate.h"
#include "calendar/LunarNames.h"

namespace {

struct Expected {
  int year, month, day, weekDay, lunarYear, lunarMonth, lunarDay;
  bool leap;
};

::testing::AssertionResult Is(const CCHSDate& d, const Expected& e) {
  if (d.Year() == e.year && d.Month() == e.month && d.Day() == e.day && d.WeekDay() == e.weekDay &&
      d.LunarYear() == e.lunarYear && d.LunarMonth() == e.lunarMonth && d.LunarDay() == e.lunarDay &&
      d.IsLeapMonth() == e.leap)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << d.FormatDate(true) << " weekday " << d.WeekDay() << " lunar "
                                       << d.LunarYear() << (d.IsLeapMonth() ? " leap " : " ") << d.LunarMonth()
                                       << "-" << d.LunarDay();
}

// Every field, the derived ones included.
::testing::AssertionResult Is(const CCHSDate& d, const CCHSDate& e) {
  return Is(d, {e.Year(), e.Month(), e.Day(), e.WeekDay(), e.LunarYear(), e.LunarMonth(), e.LunarDay(),
                e.IsLeapMonth()});
}

TEST(GregorianHelpers, MonthLengthsAndDaysOfTheYear) {
  EXPECT_EQ(GetDaysOfMonth(2, 2024) + GetDaysOfMonth(2, 2000), 58);
  EXPECT_EQ(GetDaysOfMonth(2, 1900) + GetDaysOfMonth(2, 2023), 56);
  EXPECT_EQ(GetDaysOfMonth(4, 2023) + GetDaysOfMonth(9, 2023) + GetDaysOfMonth(12, 2023), 91);
  EXPECT_EQ(GetDaysOfMonth(13, 2023), 0);
  EXPECT_EQ(GetDayOfYear(2023, 3, 1), 59);
  EXPECT_EQ(GetDayOfYear(2024, 12, 31), 365);
  EXPECT_EQ(GetDayOfYear(2023, 2, 29), -1);
}

TEST(CCHSDate, WeekdaysAndLunarDatesOfKnownDays) {
  const Expected days[] = {
      {2012, 1, 23, 1, 2012, 1, 1, false},  {2012, 1, 22, 0, 2011, 12, 29, false},  // new year and its eve
      // Before a new year the walk goes backwards; each month keeps its own length.
      {2011, 1, 1, 6, 2010, 11, 27, false}, {2011, 1, 3, 1, 2010, 11, 29, false},
      {2011, 1, 4, 2, 2010, 12, 1, false},  {2011, 2, 2, 3, 2010, 12, 30, false},
      // Leap months follow the ordinary month of the same number.
      {1903, 6, 24, 3, 1903, 5, 29, false}, {1903, 6, 25, 4, 1903, 5, 1, true},
      {1984, 11, 22, 4, 1984, 10, 30, false}, {1984, 11, 23, 5, 1984, 10, 1, true},
      {2023, 3, 21, 2, 2023, 2, 30, false}, {2023, 3, 22, 3, 2023, 2, 1, true},
      {2023, 4, 19, 3, 2023, 2, 29, true},  {2023, 4, 20, 4, 2023, 3, 1, false},
      {2033, 12, 22, 4, 2033, 11, 1, true}, {2034, 1, 1, 0, 2033, 11, 11, true},
      {2099, 3, 22, 0, 2099, 2, 1, true},   {2099, 4, 20, 1, 2099, 3, 1, false},
      // The ends of the table.
      {1901, 2, 19, 2, 1901, 1, 1, false},  {2099, 1, 20, 2, 2098, 12, 30, false},
      {2099, 12, 31, 4, 2099, 11, 20, false},
  };
  for (const Expected& e : days) EXPECT_TRUE(Is(CCHSDate(e.year, e.month, e.day), e));
}

// Fields that make no day keep what they were given, drop the lunar date,
// keep the weekday they had and do not step.
TEST(CCHSDate, FieldsThatMakeNoDayAreKeptAndDoNotStep) {
  const int bad[][3] = {{2023, 2, 29}, {2100, 2, 29}, {2023, 13, 1}, {2023, 5, 0}, {0, 1, 1}, {10000, 1, 1}};
  for (const auto& b : bad) {
    CCHSDate date(2023, 3, 22);  // a leap month: the flag must go too
    EXPECT_FALSE(date.Set(b[0], b[1], b[2]));
    EXPECT_FALSE(date.IsGregorian());
    EXPECT_FALSE(date.CalcWeekDay());
    EXPECT_FALSE(date.NextDay() || date.SubDays(1) || date.SubDays(-1) || date.NextWeek() || date.NextMonth());
    EXPECT_TRUE(Is(date, {b[0], b[1], b[2], 3, 0, 0, 0, false})) << "weekday kept, lunar date dropped";
  }
}

// Days outside the calendar's range are real days: not IsValid() and without
// a lunar date, but with their true weekday.
TEST(CCHSDate, DaysOutsideTheTableHaveNoLunarDateButTheirWeekday) {
  const Expected days[] = {
      {1900, 12, 31, 1, 0, 0, 0, false}, {2100, 1, 1, 5, 0, 0, 0, false}, {2100, 2, 28, 0, 0, 0, 0, false},
      {1, 1, 1, 1, 0, 0, 0, false},      {9999, 12, 31, 5, 0, 0, 0, false},
  };
  for (const Expected& e : days) {
    CCHSDate date(2023, 3, 22);
    EXPECT_FALSE(date.Set(e.year, e.month, e.day));
    EXPECT_TRUE(date.IsGregorian());
    EXPECT_FALSE(date.HasLunarDate());
    EXPECT_EQ(date.GetLunarText(true, true), L"");
    EXPECT_TRUE(Is(date, e));
    EXPECT_FALSE(date.CalcWeekDay()) << "the weekday rule covers only 1901..2099";
    EXPECT_EQ(date.WeekDay(), e.weekDay) << "and leaves the field alone";
  }
  // Inside the calendar's range but before the table's first lunar new year.
  CCHSDate early(1901, 2, 18);
  EXPECT_TRUE(early.IsValid());
  EXPECT_TRUE(Is(early, {1901, 2, 18, 1, 0, 0, 0, false}));
  CLunarNames names;
  names.m_days[17] = L"day 18";
  EXPECT_EQ(early.GetLunarCellText(names, 0), L"");
}

TEST(CCHSDate, SteppingAcrossMonthsAndYears) {
  const struct {
    CCHSDate from;
    bool (*step)(CCHSDate&);
    CCHSDate to;
  } cases[] = {
      {{2011, 1, 4}, [](CCHSDate& d) { return d.SubDays(1); }, {2011, 1, 3}},
      {{2012, 3, 1}, [](CCHSDate& d) { return d.SubDays(1); }, {2012, 2, 29}},
      {{2000, 3, 1}, [](CCHSDate& d) { return d.SubDays(366); }, {1999, 3, 1}},
      {{2023, 12, 30}, [](CCHSDate& d) { return d.SubDays(-3); }, {2024, 1, 2}},
      {{2024, 2, 26}, [](CCHSDate& d) { return d.NextWeek(); }, {2024, 3, 4}},
      {{2024, 1, 31}, [](CCHSDate& d) { return d.NextMonth(); }, {2024, 2, 29}},
      {{2023, 1, 31}, [](CCHSDate& d) { return d.NextMonth(); }, {2023, 2, 28}},
      {{2023, 12, 15}, [](CCHSDate& d) { return d.NextMonth(); }, {2024, 1, 15}},
  };
  for (const auto& c : cases) {
    CCHSDate d = c.from;
    ASSERT_TRUE(c.step(d)) << c.from.FormatDate(true);
    EXPECT_TRUE(Is(d, c.to)) << "from " << c.from.FormatDate(true);
  }

  // SubDays(-3) is three NextDay steps; SubDays(0) changes nothing.
  CCHSDate walked(2023, 4, 18), jumped = walked, same = walked;
  for (int i = 0; i < 3; ++i) walked.NextDay();
  ASSERT_TRUE(jumped.SubDays(-3));
  EXPECT_TRUE(Is(jumped, walked));
  EXPECT_TRUE(same.SubDays(0));
  EXPECT_TRUE(Is(same, {2023, 4, 18, 2, 2023, 2, 28, true}));
}

// A view steps past either end of the calendar's range and back again.
TEST(CCHSDate, SteppingCrossesTheEndsOfTheCalendarsRange) {
  CCHSDate date(2099, 12, 31);
  ASSERT_TRUE(date.NextDay());
  EXPECT_TRUE(Is(date, {2100, 1, 1, 5, 0, 0, 0, false}));
  EXPECT_FALSE(date.IsValid());
  ASSERT_TRUE(date.SubDays(1));
  EXPECT_TRUE(Is(date, {2099, 12, 31, 4, 2099, 11, 20, false})) << "the lunar date comes back";

  ASSERT_TRUE(date.NextMonth());
  EXPECT_TRUE(Is(date, {2100, 1, 31, 0, 0, 0, 0, false}));
  ASSERT_TRUE(date.NextMonth());
  EXPECT_TRUE(Is(date, {2100, 2, 28, 0, 0, 0, 0, false})) << "2100 is not a leap year";

  CCHSDate week(2099, 12, 28);
  ASSERT_TRUE(week.NextWeek());
  EXPECT_TRUE(Is(week, {2100, 1, 4, 1, 0, 0, 0, false}));
  week.Set(1900, 12, 29);
  ASSERT_TRUE(week.NextWeek());
  EXPECT_TRUE(Is(week, {1901, 1, 5, 6, 0, 0, 0, false}));
  week.Set(1901, 2, 14);
  ASSERT_TRUE(week.NextWeek());
  EXPECT_TRUE(Is(week, {1901, 2, 21, 4, 1901, 1, 3, false})) << "into the table";

  CCHSDate back(1901, 1, 1);
  ASSERT_TRUE(back.SubDays(1));
  EXPECT_TRUE(Is(back, {1900, 12, 31, 1, 0, 0, 0, false}));
  ASSERT_TRUE(back.SubDays(-1));
  EXPECT_TRUE(Is(back, {1901, 1, 1, 2, 0, 0, 0, false}));
  back.Set(1901, 3, 1);
  ASSERT_TRUE(back.SubDays(60));
  EXPECT_TRUE(Is(back, {1900, 12, 31, 1, 0, 0, 0, false}));
  ASSERT_TRUE(back.SubDays(-(365 * 200 + 49)));
  EXPECT_TRUE(Is(back, {2100, 12, 31, 5, 0, 0, 0, false}));
}

// The Gregorian range ends at 0001-01-01 and 9999-12-31: a step that would
// pass an end answers false and moves nothing, also part of the way.
TEST(CCHSDate, SteppingStopsAtTheEndsOfTheGregorianRange) {
  CCHSDate last(9999, 12, 31), lastWeek(9999, 12, 25), lastMonth(9999, 12, 1), first(1, 1, 1), near(1, 1, 10);
  EXPECT_FALSE(last.NextDay() || last.SubDays(-1) || lastWeek.NextWeek() || lastMonth.NextMonth());
  EXPECT_FALSE(first.SubDays(1) || first.SubDays(INT32_MAX) || first.SubDays(INT32_MIN) || near.SubDays(10));
  EXPECT_TRUE(Is(last, {9999, 12, 31, 5, 0, 0, 0, false}));
  EXPECT_TRUE(lastWeek == CCHSDate(9999, 12, 25) && lastMonth == CCHSDate(9999, 12, 1));
  EXPECT_TRUE(Is(first, {1, 1, 1, 1, 0, 0, 0, false}));
  EXPECT_TRUE(near == CCHSDate(1, 1, 10));

  ASSERT_TRUE(near.SubDays(9));
  EXPECT_TRUE(near == first);
  CCHSDate stillMonth(9999, 11, 30), stillWeek(9999, 12, 24);
  ASSERT_TRUE(stillMonth.NextMonth() && stillWeek.NextWeek());
  EXPECT_TRUE(stillMonth == CCHSDate(9999, 12, 30) && stillWeek == CCHSDate(9999, 12, 31));
}

// Every day of the Gregorian range, one NextDay at a time: each step is the
// next day of the month or the first of the next month, the weekday moves on
// by one also where the weekday rule hands over to the day count, and the
// lunar date exists exactly from the table's first new year to 2099-12-31.
TEST(CCHSDate, EveryDayOfTheGregorianRangeFollowsTheLast) {
  const CCHSDate first(1, 1, 1), tableFirst(1901, 2, 19), tableLast(2099, 12, 31);
  CCHSDate date = first;
  long long walked = 0;
  int failures = 0;
  for (;;) {
    const bool inTable = !(date < tableFirst) && !(tableLast < date);
    if (date.HasLunarDate() != inTable || date.IsValid() != (date.Year() >= 1901 && date.Year() <= 2099)) {
      ADD_FAILURE() << date.FormatDate(true) << ": lunar " << date.HasLunarDate() << ", valid " << date.IsValid();
      if (++failures == 10) return;
    }
    const CCHSDate previous = date;
    if (!date.NextDay()) break;
    ++walked;
    const bool nextInMonth = date.Year() == previous.Year() && date.Month() == previous.Month() &&
                             date.Day() == previous.Day() + 1;
    const bool nextMonth = date.Day() == 1 && previous.Day() == GetDaysOfMonth(previous.Month(), previous.Year()) &&
                           (date.Month() == previous.Month() + 1 ? date.Year() == previous.Year()
                                                                 : date.Month() == 1 && previous.Month() == 12 &&
                                                                       date.Year() == previous.Year() + 1);
    ASSERT_TRUE(nextInMonth || nextMonth) << previous.FormatDate(true) << " then " << date.FormatDate(true);
    ASSERT_EQ(date.WeekDay(), (previous.WeekDay() + 1) % 7) << date.FormatDate(true);
  }
  EXPECT_TRUE(date == CCHSDate(9999, 12, 31));
  EXPECT_EQ(walked, CCHSDate::DiffDays(date, first));
  EXPECT_EQ(walked, 3652058) << "days from 0001-01-01 to 9999-12-31";
}

TEST(CCHSDate, DiffDaysOrderFormatAndWeekNumber) {
  EXPECT_EQ(CCHSDate::DiffDays(CCHSDate(2024, 3, 1), CCHSDate(2024, 2, 28)), 2);
  EXPECT_EQ(CCHSDate::DiffDays(CCHSDate(2023, 2, 28), CCHSDate(2023, 3, 1)), -1);
  EXPECT_EQ(CCHSDate::DiffDays(CCHSDate(2023, 2, 30), CCHSDate(2023, 3, 2)), 0) << "an invalid day runs on";

  EXPECT_LT(CCHSDate(2023, 12, 31), CCHSDate(2024, 1, 1));
  EXPECT_LT(CCHSDate(2024, 1, 31), CCHSDate(2024, 2, 1));
  EXPECT_FALSE(CCHSDate(2024, 2, 2) < CCHSDate(2024, 2, 2));

  EXPECT_EQ(CCHSDate(2026, 3, 7).FormatDate(false), L"03-07");
  EXPECT_EQ(CCHSDate(2026, 3, 7).FormatDate(true), L"2026-03-07");

  EXPECT_EQ(CCHSDate::GetWeekOfYear(2023, 1, 8), 1);
  EXPECT_EQ(CCHSDate::GetWeekOfYear(2023, 1, 9), 2);
  EXPECT_EQ(CCHSDate(2024, 12, 31).GetWeekOfYear(), 53);
  EXPECT_EQ(CCHSDate::GetWeekOfYear(2023, 2, 29), 0);
}

// Other modules share the date's memory layout: the table of virtual
// functions, then year, month, day, weekday, lunar year, lunar month, lunar
// day as 32-bit integers and the leap-month flag as one byte.
TEST(CCHSDate, FieldsLieInTheirAgreedOrder) {
  CCHSDate date(2023, 3, 22);
  unsigned char bytes[sizeof(CCHSDate)];
  std::memcpy(bytes, &date, sizeof bytes);
  int32_t fields[7];
  std::memcpy(fields, bytes + sizeof(void*), sizeof fields);
  const int32_t expected[7] = {2023, 3, 22, 3, 2023, 2, 1};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(fields[i], expected[i]) << "field " << i;
  EXPECT_EQ(bytes[sizeof(void*) + sizeof fields], 1);
}

}  // namespace
