#include "Recurrence.h"

#include <algorithm>

namespace handset {

// Civil-from-days and days-from-civil over the proleptic Gregorian calendar.
int DayNumber(int year, int month, int day) {
  year -= month <= 2;
  const int era = (year >= 0 ? year : year - 399) / 400;
  const int yoe = year - era * 400;
  const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void DateOfDay(int dayNumber, int& year, int& month, int& day) {
  int z = dayNumber + 719468;
  const int era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = z - era * 146097;
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  day = doy - (153 * mp + 2) / 5 + 1;
  month = mp < 10 ? mp + 3 : mp - 9;
  year = yoe + era * 400 + (month <= 2);
}

int WeekdayOfDay(int dayNumber) {
  int w = (dayNumber + 4) % 7;  // 1970-01-01 was a Thursday
  return w < 0 ? w + 7 : w;
}

bool IsValidDate(int year, int month, int day) {
  if (year < 1 || month < 1 || month > 12 || day < 1) return false;
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

bool DayOfText(const std::wstring& timeText, int& dayNumber) {
  int year = Calendar::TimeYear(timeText), month = Calendar::TimeMonth(timeText), day = Calendar::TimeDay(timeText);
  if (!IsValidDate(year, month, day)) return false;
  dayNumber = DayNumber(year, month, day);
  return true;
}

namespace {

struct Rule {
  int type;
  int interval;
  int count;  // 0: no limit
  int mask;
  int dayOfMonth;
  int monthOfYear;
};

int MonthIndex(int dayNumber) {
  int y, m, d;
  DateOfDay(dayNumber, y, m, d);
  return y * 12 + (m - 1);
}

int PopCount(int bits) {
  int n = 0;
  for (; bits; bits &= bits - 1) ++n;
  return n;
}

// Whether an occurrence of the rule starts on `day`; when it does, `ordinal`
// is its number counted from 0 at the series' start.
bool StartsOn(const Rule& rule, int start, int day, long& ordinal) {
  if (day < start) return false;
  int y, m, d;
  DateOfDay(day, y, m, d);
  switch (rule.type) {
    case Calendar::CRecurrence::kDaily:
      if ((day - start) % rule.interval) return false;
      ordinal = (day - start) / rule.interval;
      return true;
    case Calendar::CRecurrence::kWeekly: {
      if (!(rule.mask & (1 << WeekdayOfDay(day)))) return false;
      int startWeek = (start - WeekdayOfDay(start)) / 7, week = (day - WeekdayOfDay(day)) / 7;
      int weeks = week - startWeek;
      if (weeks % rule.interval) return false;
      int activeWeeksBefore = weeks / rule.interval;
      int startWeekday = WeekdayOfDay(start), weekday = WeekdayOfDay(day);
      int firstWeek = PopCount(rule.mask >> startWeekday);  // the start's partial week
      int before = PopCount(rule.mask & ((1 << weekday) - 1));
      if (activeWeeksBefore == 0)
        ordinal = before - PopCount(rule.mask & ((1 << startWeekday) - 1));
      else
        ordinal = firstWeek + static_cast<long>(activeWeeksBefore - 1) * PopCount(rule.mask) + before;
      return true;
    }
    case Calendar::CRecurrence::kMonthly:
    case Calendar::CRecurrence::kMonthlyToo:
    case Calendar::CRecurrence::kYearly: {
      bool yearly = rule.type == Calendar::CRecurrence::kYearly;
      if (d != rule.dayOfMonth || (yearly && m != rule.monthOfYear)) return false;
      int step = yearly ? 12 * rule.interval : rule.interval;
      int months = MonthIndex(day) - MonthIndex(start);
      if (months % step) return false;
      if (rule.count > 0) {
        // Count the valid ones since the start (months without the day are skipped).
        ordinal = 0;
        for (int index = MonthIndex(start); index < MonthIndex(day); index += step)
          ordinal += IsValidDate(index / 12, index % 12 + 1, rule.dayOfMonth) ? 1 : 0;
      } else {
        ordinal = 0;
      }
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

std::vector<Occurrence> OccurrencesIn(const Calendar::CCalendarData& event, int fromDay, int toDay) {
  std::vector<Occurrence> result;
  int start = 0, end = 0;
  if (!DayOfText(event.m_start, start) || fromDay > toDay) return result;
  if (!DayOfText(event.m_end, end) || end < start) end = start;
  const int span = end - start;
  const Calendar::CRecurrence* r0 = event.m_recurrences.empty() ? nullptr : &event.m_recurrences.front();
  if (!r0 || r0->m_type < Calendar::CRecurrence::kDaily || r0->m_type > Calendar::CRecurrence::kYearly) {
    // Not repeating (or by a rule this handset does not know): the event itself.
    if (end >= fromDay && start <= toDay) result.push_back({start, end});
    return result;
  }
  const Calendar::CRecurrence& r = *r0;
  int sy, sm, sd;
  DateOfDay(start, sy, sm, sd);
  Rule rule{r.m_type, std::max(1, r.m_interval), std::max(0, r.m_repeatCount), r.m_weekdayMask,
            r.m_dayOfMonth > 0 ? r.m_dayOfMonth : sd, r.m_monthOfYear > 0 ? r.m_monthOfYear : sm};
  if (rule.type == Calendar::CRecurrence::kWeekly && (rule.mask & 0x7F) == 0) rule.mask = 1 << WeekdayOfDay(start);
  for (int day = std::max(start, fromDay - span); day <= toDay; ++day) {
    long ordinal = 0;
    if (!StartsOn(rule, start, day, ordinal)) continue;
    if (rule.count > 0 && ordinal >= rule.count) break;  // ordinals only grow
    result.push_back({day, day + span});
  }
  return result;
}

}  // namespace handset
