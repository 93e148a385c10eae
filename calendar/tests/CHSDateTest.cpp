// The calendar date: Gregorian helpers, weekdays and lunar dates of known
// days, stepping, the ends of the valid range, formatting and layout.
#include <gtest/gtest.h>

#include <cstring>

#include "calendar/CHSDate.h"

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

TEST(CCHSDate, BadDatesKeepTheirFieldsAndRefuseToStep) {
  EXPECT_TRUE(Is(CCHSDate(1901, 2, 18), {1901, 2, 18, 1, 0, 0, 0, false})) << "before the table: no lunar date";
  const int bad[][3] = {{1900, 12, 31}, {2100, 1, 1}, {2023, 2, 29}, {2023, 13, 1}, {2023, 5, 0}};
  for (const auto& b : bad) {
    CCHSDate date(2023, 3, 22);
    EXPECT_FALSE(date.Set(b[0], b[1], b[2]));
    EXPECT_FALSE(date.CalcWeekDay());
    EXPECT_FALSE(date.NextDay() || date.SubDays(1) || date.NextWeek() || date.NextMonth());
    EXPECT_TRUE(Is(date, {b[0], b[1], b[2], 3, 0, 0, 0, false})) << "weekday kept, lunar date dropped";
  }
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

TEST(CCHSDate, SteppingStopsAtTheEndsOfTheRange) {
  CCHSDate last(2099, 12, 31), lastWeek(2099, 12, 25), lastMonth(2099, 12, 1), first(1901, 1, 1);
  EXPECT_FALSE(last.NextDay() || last.SubDays(-1) || lastWeek.NextWeek() || lastMonth.NextMonth());
  EXPECT_FALSE(first.SubDays(1) || first.SubDays(INT32_MAX) || first.SubDays(INT32_MIN));
  EXPECT_TRUE(last == CCHSDate(2099, 12, 31) && lastWeek == CCHSDate(2099, 12, 25) &&
              lastMonth == CCHSDate(2099, 12, 1) && first == CCHSDate(1901, 1, 1));
  EXPECT_EQ(last.LunarDay(), 20);
  EXPECT_TRUE(CCHSDate(2099, 12, 24).NextWeek());
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
