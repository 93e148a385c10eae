// The lunar year table and every day it covers. Expected lunar dates are
// worked out here month by month from the table's bit layout, independently
// of the date class's day-by-day conversion.
#include <gtest/gtest.h>

#include <vector>

#include "calendar/CHSDate.h"
#include "calendar/LunarTable.h"

namespace {

struct Month {
  int number;
  bool leap;
  int length;
};

std::vector<Month> MonthsOf(int year) {
  const uint32_t d = lunar::kYearTable[year - 1901];
  const int leapMonth = (d >> 20) & 15;
  std::vector<Month> months;
  int flag = 19;
  for (int number = 1; number <= 12; ++number) {
    months.push_back({number, false, (d >> flag--) & 1 ? 30 : 29});
    if (number == leapMonth) months.push_back({number, true, (d >> flag--) & 1 ? 30 : 29});
  }
  return months;
}

CCHSDate NewYear(int year) {
  const uint32_t d = lunar::kYearTable[year - 1901];
  return CCHSDate(year, (d >> 5) & 3, d & 31);
}

// Each year's months, counted from its new year, end the day before the next
// new year; one wrong digit in the table breaks this.
TEST(LunarTable, EveryYearEndsWhereTheNextBegins) {
  EXPECT_EQ(lunar::YearDescriptor(1900) | lunar::YearDescriptor(2100), 0u);
  for (int year = 1901; year <= 2099; ++year) {
    const uint32_t d = lunar::kYearTable[year - 1901];
    EXPECT_EQ(d >> 24, 0u) << year;
    if (((d >> 20) & 15) == 0) {
      EXPECT_EQ(d & 0x80, 0u) << year << ": a thirteenth month without a leap month";
    }
    EXPECT_TRUE(NewYear(year) >= CCHSDate(year, 1, 21) && NewYear(year) <= CCHSDate(year, 2, 20)) << year;
    int length = 0;
    for (const Month& m : MonthsOf(year)) length += m.length;
    if (year < 2099) {
      EXPECT_EQ(CCHSDate::DiffDays(NewYear(year + 1), NewYear(year)), length) << year;
    }
  }
}

// Walks from the first lunar new year of the table to the end of 2099:
// weekdays advance by one, lunar days by one or restart at 1 after a full
// month, months follow in the table's order with each leap month where the
// table puts it, DiffDays counts the walk, and SubDays(1) undoes each step.
TEST(LunarRange, EveryDayFollowsTheTable) {
  const CCHSDate first(1901, 2, 19);
  CCHSDate date = first;
  int lunarYear = 1901, lunarDay = 1, walked = 0, leapMonths = 0, failures = 0;
  std::vector<Month> months = MonthsOf(lunarYear);
  size_t index = 0;

  for (;;) {
    const Month& month = months[index];
    if (date.LunarYear() != lunarYear || date.LunarMonth() != month.number || date.IsLeapMonth() != month.leap ||
        date.LunarDay() != lunarDay || CCHSDate::DiffDays(date, first) != walked) {
      ADD_FAILURE() << date.FormatDate(true) << ": lunar " << date.LunarYear() << (date.IsLeapMonth() ? " leap " : " ")
                    << date.LunarMonth() << "-" << date.LunarDay() << ", table " << lunarYear
                    << (month.leap ? " leap " : " ") << month.number << "-" << lunarDay;
      if (++failures == 10) return;
    }
    leapMonths += month.leap && lunarDay == 1;
    if (date == CCHSDate(2099, 12, 31)) break;

    const CCHSDate previous = date;
    ASSERT_TRUE(date.NextDay());
    ++walked;
    ASSERT_EQ(date.WeekDay(), (previous.WeekDay() + 1) % 7) << date.FormatDate(true);
    ASSERT_TRUE(date.LunarDay() == previous.LunarDay() + 1 ||
                (date.LunarDay() == 1 && previous.LunarDay() == month.length))
        << date.FormatDate(true);
    CCHSDate back = date;
    ASSERT_TRUE(back.SubDays(1));
    ASSERT_TRUE(back == previous && back.WeekDay() == previous.WeekDay() && back.LunarDay() == previous.LunarDay() &&
                back.LunarMonth() == previous.LunarMonth() && back.IsLeapMonth() == previous.IsLeapMonth())
        << "one day back from " << date.FormatDate(true);

    if (++lunarDay > month.length) {
      lunarDay = 1;
      if (++index == months.size()) {
        months = MonthsOf(++lunarYear);
        index = 0;
        ASSERT_EQ(date, NewYear(lunarYear)) << "lunar year " << lunarYear - 1 << " ends on the wrong day";
      }
    }
  }
  int leapYears = 0;
  for (uint32_t d : lunar::kYearTable) leapYears += ((d >> 20) & 15) != 0;
  EXPECT_EQ(leapMonths, leapYears);
  EXPECT_EQ(lunarYear, 2099);
}

}  // namespace
