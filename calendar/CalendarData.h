// Calendar records: an event with its attendees, repeat rule and reminder, as
// the data-provider library and the event editor exchange them, and the time
// texts they carry. Plain code without resources, so the simulated handset
// uses it too; the calendar's texts are in CalendarTexts.h.
//
// Binary contract with the data-provider library: keep the order and types
// of the fields. Reserved fields are the library's and travel unchanged.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "calendar/ObjectBase.h"
#include "content/Content.h"

namespace Calendar {

// A person invited: the name picked in the contact picker; the CContent id
// is the value the picker returned with the entry.
class CAttendee : public CContent {
 public:
  bool operator==(const CAttendee&) const = default;
  std::wstring m_name;
  std::wstring m_text2;  // left empty by the editor
  int32_t m_reserved[4] = {0, 0, 0, 0};
};

// The repeat rule of an event. The plug-in never expands it: the library
// answers range queries with the occurrences already placed on their days.
class CRecurrence : public CContent {
 public:
  enum Type : int32_t { kDaily = 0, kWeekly = 1, kMonthly = 2, kMonthlyToo = 3, kYearly = 4 };
  static constexpr int32_t kWorkdayMask = 0x3E;  // Monday to Friday
  bool operator==(const CRecurrence&) const = default;

  int32_t m_dayOfMonth = 0;   // monthly and yearly: the start day's day of month
  int32_t m_weekdayMask = 0;  // weekly: bit 0 Sunday ... bit 6 Saturday
  int32_t m_reserved1 = 0;
  std::wstring m_repeatStart;  // the event's start time text
  std::wstring m_reservedText1;
  int32_t m_interval = 0;
  int32_t m_monthOfYear = 0;  // monthly and yearly: the start day's month
  int32_t m_repeatCount = 0;  // 1000 daily, 500 workdays, else 0
  uint8_t m_repeatFlag = 0;   // 1 daily, workdays, monthly, yearly; 0 weekly
  std::wstring m_reservedText2;
  std::wstring m_reservedText3;
  int32_t m_type = kDaily;
  int32_t m_reserved2 = 0;
};

class CReminder : public CContent {
 public:
  bool operator==(const CReminder&) const = default;
  int32_t m_minutes = 0;  // before the start
  int32_t m_mode = 0;     // 1 for reminders the editor creates
};

class CCalendarData : public CRemoteContent {
 public:
  CCalendarData() = default;
  CCalendarData(const CCalendarData&) = default;
  CCalendarData& operator=(const CCalendarData&) = default;
  ~CCalendarData() override = default;
  // A deep copy: texts and the three sequences, element by element.
  CContent* Clone() const override { return new CCalendarData(*this); }
  bool operator==(const CCalendarData&) const = default;

  bool IsAllDay() const { return m_allDay == 1; }

  std::wstring m_topic;
  std::wstring m_address;
  std::wstring m_remark;
  int32_t m_reserved1 = 0;
  int32_t m_allDay = 0;  // 1 = all-day event
  int32_t m_reserved2 = 0;
  std::wstring m_start;  // time text
  std::wstring m_reservedText;
  std::wstring m_end;    // time text
  std::wstring m_zone;   // the calendar descriptor's text
  std::vector<CAttendee> m_attendees;
  std::vector<CRecurrence> m_recurrences;  // empty: no repeat; the editor keeps one at most
  std::vector<CReminder> m_reminders;      // the editor uses the first one only
};

// --- time texts ---------------------------------------------------------
// A point in time is "YYYYMMDDTHHMMZ" (local wall-clock time; the Z is a
// fixed letter). Parts are read by position, and only when the text is long
// enough: a missing part reads as 0 (or "00" in a built text).

int TimeYear(const std::wstring& timeText);
int TimeMonth(const std::wstring& timeText);
int TimeDay(const std::wstring& timeText);
int TimeHour(const std::wstring& timeText);
int TimeMinute(const std::wstring& timeText);
// "HH:MM" from the hour and minute characters ("00" for a missing part).
std::wstring HourMinuteText(const std::wstring& timeText);
// "%04d%02d%02dT%02d%02dZ".
std::wstring MakeTimeText(int year, int month, int day, int hour, int minute);
// A query day, "%04d%02d%02d".
std::wstring MakeDayText(int year, int month, int day);
// Sets an event all-day from its first to its last day: start at 00:00, end at 23:59.
void SetAllDay(CCalendarData& event, int firstYear, int firstMonth, int firstDay, int lastYear, int lastMonth,
               int lastDay);
// The weekday of a time text's day, 0 = Sunday; -1 when the date is not valid.
int TimeWeekday(const std::wstring& timeText);

// --- repeat and reminder options of the event editor ---------------------

// Rows of the repeat list: once, daily, workdays, weekly, monthly, yearly.
constexpr int kRepeatOptionCount = 6;
extern const wchar_t* const kRepeatOptionKeys[kRepeatOptionCount];

// Stores the rule of repeat row `index` in `event` (row 0 removes the
// recurrence). Fields a row does not name keep the values the recurrence had.
void ApplyRepeatOption(CCalendarData& event, int index);
// The repeat row that shows the event's stored rule.
int RepeatOptionOf(const CCalendarData& event);

// Rows of the reminder list and the minutes each stores.
constexpr int kReminderOptionCount = 15;
extern const wchar_t* const kReminderOptionKeys[kReminderOptionCount];
extern const int32_t kReminderOptionMinutes[kReminderOptionCount];

// Saves reminder row `index`: the event keeps exactly one reminder (created
// with 0 minutes and mode 1 when it had none), given the row's minutes; an
// index outside the list leaves the stored minutes.
void ApplyReminderOption(CCalendarData& event, int index);

}  // namespace Calendar

// The form in which the calendar views keep an event.
class CUICalendarData : public CObjectBase {
 public:
  CUICalendarData() = default;
  explicit CUICalendarData(const Calendar::CCalendarData& event) : m_data(event) {}
  Calendar::CCalendarData m_data;
};
