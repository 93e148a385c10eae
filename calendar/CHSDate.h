// The calendar's date: a Gregorian day with its weekday and its place in the
// Chinese lunar calendar. Every date that the calendar handles (today, the
// selected day, the bounds of a view, a day cell) is a CCHSDate.
//
// Two ranges matter:
//  - The calendar's range, 1901-01-01 to 2099-12-31: IsValid(), CalcWeekDay
//    and the week number answer only inside it. Lunar dates exist from the
//    first lunar new year of the table (1901-02-19) to 2099-12-31.
//  - The Gregorian range the date steps through, 0001-01-01 to 9999-12-31
//    (proleptic Gregorian, the four-digit years FormatDate writes):
//    NextDay, NextWeek, NextMonth and SubDays step anywhere inside it, so a
//    view may walk past either end of the calendar's range and back.
//
// Outside the lunar table the lunar fields are all 0 and the leap flag 0
// (HasLunarDate() false, no lunar text). Outside 1901..2099 CalcWeekDay
// refuses and leaves the weekday alone, but building or stepping a date
// stores its true weekday anyway, counted from its day number, so code that
// steps past 2099 and reads the weekday sees the right day. Fields that make
// no day at all (2023-02-29, month 13) are kept as given with no lunar date
// and the weekday they had before; such a date does not step.
#pragma once
#include <compare>
#include <cstdint>
#include <string>

#include "ObjectBase.h"

class CLunarNames;

// 29 for February of a leap year, 28 for other Februaries, 30 for April,
// June, September and November, 31 for the other months; 0 for a month
// outside 1..12.
int GetDaysOfMonth(int month, int year);

// Zero-based day of the year (1 January = 0); -1 when month and day do not
// make a date.
int GetDayOfYear(int year, int month, int day);

class CCHSDate : public CObjectBase {
 public:
  // All fields 0: not a valid date until Set.
  CCHSDate() = default;
  CCHSDate(int year, int month, int day);

  // Stores the Gregorian fields and derives the others; answers IsValid().
  bool Set(int year, int month, int day);

  int Year() const { return m_year; }
  int Month() const { return m_month; }
  int Day() const { return m_day; }
  int WeekDay() const { return m_weekDay; }  // 0 = Sunday ... 6 = Saturday
  int LunarYear() const { return m_lunarYear; }
  int LunarMonth() const { return m_lunarMonth; }  // 1..12, 0 = no lunar date
  int LunarDay() const { return m_lunarDay; }      // 1..30, 0 = no lunar date
  bool IsLeapMonth() const { return m_leapMonth != 0; }

  // The ends of the Gregorian range that the stepping operations keep to.
  static constexpr int kEarliestYear = 1;
  static constexpr int kLatestYear = 9999;

  // A real Gregorian date within 1901..2099.
  bool IsValid() const;
  // A real Gregorian date within 0001..9999.
  bool IsGregorian() const;
  bool HasLunarDate() const { return m_lunarDay != 0; }

  // Derives the weekday; false (weekday unchanged) for a date that is not
  // IsValid().
  bool CalcWeekDay();
  // Derives the lunar fields; false, with the lunar fields 0, when the day has
  // no lunar date.
  bool CalcLunar();

  // Date arithmetic over 0001-01-01..9999-12-31; the derived fields are
  // derived again. Each answers false and changes nothing when the date is
  // not IsGregorian() or the result would pass an end of that range.
  bool NextDay();
  bool NextWeek();
  // Month + 1, the day clamped to the new month's length.
  bool NextMonth();
  // n days back (n < 0: -n days forward); 0 changes nothing.
  bool SubDays(int n);

  // Days from b to a: positive when a is later. Counted in the proleptic
  // Gregorian calendar, so it answers for any fields (a day past the end of
  // its month counts on into the next month).
  static int DiffDays(const CCHSDate& a, const CCHSDate& b);

  // Ordered by year, then month, then day; derived fields take no part.
  friend bool operator==(const CCHSDate& a, const CCHSDate& b) {
    return a.m_year == b.m_year && a.m_month == b.m_month && a.m_day == b.m_day;
  }
  friend std::strong_ordering operator<=>(const CCHSDate& a, const CCHSDate& b) {
    if (a.m_year != b.m_year) return a.m_year <=> b.m_year;
    if (a.m_month != b.m_month) return a.m_month <=> b.m_month;
    return a.m_day <=> b.m_day;
  }

  // "2026-03-07" with the year, "03-07" without.
  std::wstring FormatDate(bool withYear) const;

  // The lunar month name (after the intercalary prefix in a leap month) and/or
  // the lunar day name, in the resource library's current language; the names
  // are fetched afresh at every call. Empty without a lunar date.
  std::wstring GetLunarText(bool withMonth, bool withDay) const;
  // The same from names already fetched, for callers that draw many days.
  std::wstring GetLunarText(const CLunarNames& names, bool withMonth, bool withDay) const;

  // What a day cell shows under the day number: nothing unless the suite runs
  // in a Chinese language (GetLanguageId 0 or 1); the month name on the first
  // day of a lunar month, the day name on the other days.
  std::wstring GetLunarCellText() const;
  std::wstring GetLunarCellText(const CLunarNames& names, int languageId) const;

  // Week number for the week view's header: 1 to 8 January are week 1, then
  // seven-day blocks counted from 2 January. 0 for an invalid date.
  static int GetWeekOfYear(int year, int month, int day);
  int GetWeekOfYear() const { return GetWeekOfYear(m_year, m_month, m_day); }
  // The same, with a scratch date that is set to 1 January of the year (its
  // weekday plays no part in the number).
  static int GetWeekOfYear(CCHSDate& date, int year, int month, int day) {
    date.Set(year, 1, 1);
    return GetWeekOfYear(year, month, day);
  }

 private:
  // The field order is part of the binary layout that other modules share.
  int32_t m_year = 0;
  int32_t m_month = 0;
  int32_t m_day = 0;
  int32_t m_weekDay = 0;
  int32_t m_lunarYear = 0;
  int32_t m_lunarMonth = 0;
  int32_t m_lunarDay = 0;
  uint8_t m_leapMonth = 0;

  void Derive();
  bool MoveTo(int64_t dayNumber);
};
