#include "calendar/CalendarData.h"

#include <windows.h>

#include "framework/Text.h"

namespace Calendar {
namespace {

// The decimal number in characters [first, first + count) when the text is
// longer than `over`, else 0.
int Part(const std::wstring& text, size_t first, size_t count, size_t over) {
  if (text.size() <= over) return 0;
  int value = 0;
  for (size_t i = first; i < first + count; ++i) {
    wchar_t c = text[i];
    if (c < L'0' || c > L'9') return value;  // a damaged text reads as far as it is digits
    value = value * 10 + (c - L'0');
  }
  return value;
}

std::wstring TwoCharacters(const std::wstring& text, size_t first, size_t over) {
  return text.size() > over ? text.substr(first, 2) : L"00";
}

}  // namespace

int TimeYear(const std::wstring& t) { return Part(t, 0, 4, 3); }
int TimeMonth(const std::wstring& t) { return Part(t, 4, 2, 5); }
int TimeDay(const std::wstring& t) { return Part(t, 6, 2, 7); }
int TimeHour(const std::wstring& t) { return Part(t, 9, 2, 10); }
int TimeMinute(const std::wstring& t) { return Part(t, 11, 2, 12); }

std::wstring HourMinuteText(const std::wstring& t) { return TwoCharacters(t, 9, 10) + L":" + TwoCharacters(t, 11, 12); }

namespace {
// Zero-padded decimal digits, as "%0*d" writes them for values that fit; a
// value with more digits than the width is written in full, as printf does.
void AppendPadded(std::wstring& out, int value, int width) {
  if (value < 0 || value >= (width == 4 ? 10000 : 100)) {
    out += wf::FormatText(width == 4 ? L"%04d" : L"%02d", value);
    return;
  }
  wchar_t digits[4];
  for (int i = width - 1; i >= 0; --i, value /= 10) digits[i] = static_cast<wchar_t>(L'0' + value % 10);
  out.append(digits, static_cast<size_t>(width));
}
}  // namespace

// Written digit by digit: the calendar makes these texts for every event it shows.
std::wstring MakeTimeText(int year, int month, int day, int hour, int minute) {
  std::wstring text;
  text.reserve(14);
  AppendPadded(text, year, 4);
  AppendPadded(text, month, 2);
  AppendPadded(text, day, 2);
  text += L'T';
  AppendPadded(text, hour, 2);
  AppendPadded(text, minute, 2);
  text += L'Z';
  return text;
}

std::wstring MakeDayText(int year, int month, int day) {
  std::wstring text;
  text.reserve(8);
  AppendPadded(text, year, 4);
  AppendPadded(text, month, 2);
  AppendPadded(text, day, 2);
  return text;
}

void SetAllDay(CCalendarData& event, int firstYear, int firstMonth, int firstDay, int lastYear, int lastMonth,
               int lastDay) {
  event.m_allDay = 1;
  event.m_start = MakeTimeText(firstYear, firstMonth, firstDay, 0, 0);
  event.m_end = MakeTimeText(lastYear, lastMonth, lastDay, 23, 59);
}

int TimeWeekday(const std::wstring& timeText) {
  SYSTEMTIME day{};
  day.wYear = static_cast<WORD>(TimeYear(timeText));
  day.wMonth = static_cast<WORD>(TimeMonth(timeText));
  day.wDay = static_cast<WORD>(TimeDay(timeText));
  FILETIME file;
  // The platform checks the date and works out its weekday.
  if (!::SystemTimeToFileTime(&day, &file) || !::FileTimeToSystemTime(&file, &day)) return -1;
  return day.wDayOfWeek;
}

const wchar_t* const kRepeatOptionKeys[kRepeatOptionCount] = {
    L"pim.calendar.repeat.onlyone", L"pim.calendar.repeat.day",   L"pim.calendar.repeat.workday",
    L"pim.calendar.repeat.week",    L"pim.calendar.repeat.month", L"pim.calendar.repeat.year"};

void ApplyRepeatOption(CCalendarData& event, int index) {
  if (index <= 0 || index >= kRepeatOptionCount) {
    if (index == 0) event.m_recurrences.clear();
    return;
  }
  if (event.m_recurrences.empty()) event.m_recurrences.emplace_back();
  CRecurrence& rule = event.m_recurrences.front();
  rule.m_interval = 1;
  rule.m_repeatStart = event.m_start;
  switch (index) {
    case 1:  // daily
      rule.m_type = CRecurrence::kDaily;
      rule.m_repeatFlag = 1;
      rule.m_repeatCount = 1000;
      break;
    case 2:  // workdays
      rule.m_type = CRecurrence::kWeekly;
      rule.m_weekdayMask = CRecurrence::kWorkdayMask;
      rule.m_repeatFlag = 1;
      rule.m_repeatCount = 500;
      break;
    case 3: {  // weekly, on the start day's weekday
      int weekday = TimeWeekday(event.m_start);
      rule.m_type = CRecurrence::kWeekly;
      rule.m_weekdayMask = weekday >= 0 ? (1 << weekday) : 0;
      rule.m_repeatFlag = 0;
      break;
    }
    case 4:  // monthly
    case 5:  // yearly
      rule.m_type = index == 4 ? CRecurrence::kMonthly : CRecurrence::kYearly;
      rule.m_repeatFlag = 1;
      rule.m_dayOfMonth = TimeDay(event.m_start);
      rule.m_monthOfYear = TimeMonth(event.m_start);
      break;
  }
}

int RepeatOptionOf(const CCalendarData& event) {
  if (event.m_recurrences.empty()) return 0;
  const CRecurrence& rule = event.m_recurrences.front();
  switch (rule.m_type) {
    case CRecurrence::kDaily: return 1;
    case CRecurrence::kWeekly: return rule.m_weekdayMask == CRecurrence::kWorkdayMask ? 2 : 3;
    case CRecurrence::kMonthly:
    case CRecurrence::kMonthlyToo: return 4;
    case CRecurrence::kYearly: return 5;
    default: return 0;
  }
}

const wchar_t* const kReminderOptionKeys[kReminderOptionCount] = {
    L"pim.calender.reminder.no",     L"pim.calendar.reminder.5min",  L"pim.calendar.reminder.10min",
    L"pim.calendar.reminder.15min",  L"pim.calendar.reminder.20min", L"pim.calendar.reminder.25min",
    L"pim.calendar.reminder.30min",  L"pim.calendar.reminder.45min", L"pim.calendar.reminder.1hour",
    L"pim.calendar.reminder.2hour",  L"pim.calendar.reminder.3hour", L"pim.calendar.reminder.12hour",
    L"pim.calendar.reminder.24hour", L"pim.calendar.reminder.2day",  L"pim.calendar.reminder.1week"};

const int32_t kReminderOptionMinutes[kReminderOptionCount] = {0,  5,   10,  15,  20,   25,   30,   45,
                                                              60, 120, 180, 720, 1440, 2880, 10080};

void ApplyReminderOption(CCalendarData& event, int index) {
  if (event.m_reminders.empty()) {
    CReminder reminder;
    reminder.m_minutes = 0;
    reminder.m_mode = 1;
    event.m_reminders.push_back(reminder);
  }
  if (index >= 0 && index < kReminderOptionCount) event.m_reminders.front().m_minutes = kReminderOptionMinutes[index];
}

}  // namespace Calendar
