#include "CHSDate.h"

#include "Language.h"
#include "LunarNames.h"
#include "LunarTable.h"
#include "framework/Text.h"

#include <algorithm>

namespace {

bool IsLeapYear(int year) { return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0); }

bool IsValidDate(int year, int month, int day) {
  return year >= lunar::kFirstYear && year <= lunar::kLastYear && day >= 1 && day <= GetDaysOfMonth(month, year);
}

bool IsGregorianDate(int year, int month, int day) {
  return year >= CCHSDate::kEarliestYear && year <= CCHSDate::kLatestYear && day >= 1 &&
         day <= GetDaysOfMonth(month, year);
}

constexpr int64_t FloorDiv(int64_t a, int64_t b) { return (a >= 0 ? a : a - (b - 1)) / b; }
constexpr int64_t FloorMod(int64_t a, int64_t b) { return a - FloorDiv(a, b) * b; }

// Days since 1970-01-01 in the proleptic Gregorian calendar, for any month
// (normalised into its year) and any day offset.
constexpr int64_t DayNumber(int64_t year, int64_t month, int64_t day) {
  const int64_t carry = FloorDiv(month - 1, 12);
  year += carry;
  month -= 12 * carry;
  year -= month <= 2;
  const int64_t era = FloorDiv(year, 400);
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468 + (day - 1);
}

void FromDayNumber(int64_t number, int& year, int& month, int& day) {
  number += 719468;
  const int64_t era = FloorDiv(number, 146097);
  const int64_t dayOfEra = number - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t mp = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
}

constexpr int64_t kFirstDayNumber = DayNumber(CCHSDate::kEarliestYear, 1, 1);
constexpr int64_t kLastDayNumber = DayNumber(CCHSDate::kLatestYear, 12, 31);
static_assert(DayNumber(1970, 1, 1) == 0, "day numbers count from 1970-01-01, a Thursday");

}  // namespace

int GetDaysOfMonth(int month, int year) {
  switch (month) {
    case 2:
      return IsLeapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
      return 31;
    default:
      return 0;
  }
}

int GetDayOfYear(int year, int month, int day) {
  static const int kMonthStart[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  if (day < 1 || day > GetDaysOfMonth(month, year)) return -1;
  return kMonthStart[month - 1] + day - 1 + (IsLeapYear(year) && month >= 3 ? 1 : 0);
}

CCHSDate::CCHSDate(int year, int month, int day) { Set(year, month, day); }

bool CCHSDate::Set(int year, int month, int day) {
  m_year = year;
  m_month = month;
  m_day = day;
  Derive();
  return IsValid();
}

void CCHSDate::Derive() {
  // CalcWeekDay answers only within 1901..2099; elsewhere the day count gives
  // the weekday (1970-01-01 was a Thursday).
  if (!CalcWeekDay() && IsGregorian())
    m_weekDay = static_cast<int32_t>(FloorMod(DayNumber(m_year, m_month, m_day) + 4, 7));
  CalcLunar();
}

bool CCHSDate::IsValid() const { return IsValidDate(m_year, m_month, m_day); }

bool CCHSDate::IsGregorian() const { return IsGregorianDate(m_year, m_month, m_day); }

bool CCHSDate::CalcWeekDay() {
  if (!IsValid()) return false;
  int year = m_year;
  int month = m_month;
  if (month <= 2) {
    year -= 1;
    month += 12;
  }
  const int century = year / 100;
  const int rest = year - 100 * century;
  const int t = (13 * (month + 1)) / 5;
  // 699 keeps the sum positive and turns the count so that 0 is Sunday.
  m_weekDay = (t + rest / 4 + century / 4 - 2 * century + m_day + rest + 699) % 7;
  return true;
}

bool CCHSDate::CalcLunar() {
  m_lunarYear = 0;
  m_lunarMonth = 0;
  m_lunarDay = 0;
  m_leapMonth = 0;
  if (!IsValid()) return false;

  const uint32_t thisYear = lunar::YearDescriptor(m_year);
  const int newYear = GetDayOfYear(m_year, lunar::NewYearMonth(thisYear), lunar::NewYearDay(thisYear));
  const int today = GetDayOfYear(m_year, m_month, m_day);

  // Walk from the nearest lunar new year: forwards through this lunar year's
  // months, or backwards through the previous one's from its last day.
  uint32_t descriptor;
  int year, month, day, position;
  bool leap;
  if (today >= newYear) {
    descriptor = thisYear;
    year = m_year;
    month = 1;
    day = 1;
    leap = false;
    position = 0;
    const int leapMonth = lunar::LeapMonth(descriptor);
    int length = lunar::MonthLength(descriptor, position);
    for (int step = today - newYear; step > 0; --step) {
      if (++day <= length) continue;
      if (month == leapMonth && !leap) {
        leap = true;
      } else {
        ++month;
        leap = false;
      }
      length = lunar::MonthLength(descriptor, ++position);
      day = 1;
    }
  } else {
    descriptor = lunar::YearDescriptor(m_year - 1);
    if (descriptor == 0) return false;  // before the first new year of the table
    year = m_year - 1;
    const int leapMonth = lunar::LeapMonth(descriptor);
    position = lunar::MonthCount(descriptor) - 1;
    month = 12;
    leap = leapMonth == 12;
    day = lunar::MonthLength(descriptor, position);
    for (int step = newYear - 1 - today; step > 0; --step) {
      if (--day > 0) continue;
      if (leap) {
        leap = false;
      } else {
        --month;
        leap = month == leapMonth;
      }
      day = lunar::MonthLength(descriptor, --position);
    }
  }
  // Only a table whose new years and month lengths disagree walks off its year.
  if (position < 0 || position >= lunar::MonthCount(descriptor) || month < 1 || month > 12) return false;

  m_lunarYear = year;
  m_lunarMonth = month;
  m_lunarDay = day;
  m_leapMonth = leap ? 1 : 0;
  return true;
}

bool CCHSDate::MoveTo(int64_t dayNumber) {
  if (!IsGregorian() || dayNumber < kFirstDayNumber || dayNumber > kLastDayNumber) return false;
  int year, month, day;
  FromDayNumber(dayNumber, year, month, day);
  Set(year, month, day);
  return true;
}

bool CCHSDate::NextDay() { return MoveTo(DayNumber(m_year, m_month, m_day) + 1); }

bool CCHSDate::NextWeek() { return MoveTo(DayNumber(m_year, m_month, m_day) + 7); }

bool CCHSDate::NextMonth() {
  if (!IsGregorian()) return false;
  int year = m_year;
  int month = m_month + 1;
  if (month > 12) {
    month = 1;
    ++year;
  }
  if (year > kLatestYear) return false;
  const int length = GetDaysOfMonth(month, year);
  Set(year, month, m_day > length ? length : m_day);
  return true;
}

bool CCHSDate::SubDays(int n) {
  if (n == 0) return IsGregorian();
  return MoveTo(DayNumber(m_year, m_month, m_day) - static_cast<int64_t>(n));
}

int CCHSDate::DiffDays(const CCHSDate& a, const CCHSDate& b) {
  const int64_t days = DayNumber(a.m_year, a.m_month, a.m_day) - DayNumber(b.m_year, b.m_month, b.m_day);
  return static_cast<int>(std::clamp<int64_t>(days, INT32_MIN, INT32_MAX));
}

std::wstring CCHSDate::FormatDate(bool withYear) const {
  return withYear ? wf::FormatText(L"%04d-%02d-%02d", m_year, m_month, m_day)
                  : wf::FormatText(L"%02d-%02d", m_month, m_day);
}

// Fetches only the names it uses: a full LoadLunarNames costs 55 lookups in
// the resource library, each reading the language setting, and the views ask
// for a text per drawn day.
std::wstring CCHSDate::GetLunarText(bool withMonth, bool withDay) const {
  std::wstring text;
  if (!HasLunarDate()) return text;
  if (withMonth) {
    if (IsLeapMonth()) text += GetLunarIntercalaryPrefix();
    text += GetLunarMonthName(m_lunarMonth);
  }
  if (withDay) text += GetLunarDayName(m_lunarDay);
  return text;
}

std::wstring CCHSDate::GetLunarText(const CLunarNames& names, bool withMonth, bool withDay) const {
  std::wstring text;
  if (!HasLunarDate()) return text;
  if (withMonth) {
    if (IsLeapMonth()) text += names.m_intercalary;
    text += names.m_months[m_lunarMonth - 1];
  }
  if (withDay) text += names.m_days[m_lunarDay - 1];
  return text;
}

std::wstring CCHSDate::GetLunarCellText() const {
  if (!ShowsLunarDates(GetLanguageId())) return {};
  return m_lunarDay == 1 ? GetLunarText(true, false) : GetLunarText(false, true);
}

std::wstring CCHSDate::GetLunarCellText(const CLunarNames& names, int languageId) const {
  if (!ShowsLunarDates(languageId)) return {};
  return m_lunarDay == 1 ? GetLunarText(names, true, false) : GetLunarText(names, false, true);
}

int CCHSDate::GetWeekOfYear(int year, int month, int day) {
  if (!IsValidDate(year, month, day)) return 0;
  return (GetDayOfYear(year, month, day) - 1) / 7 + 1;
}
