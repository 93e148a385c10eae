#include "calendar/CalendarTexts.h"

#include <windows.h>

#include "frame/suite/ResourceLibrary.h"
#include "framework/Text.h"

namespace Calendar {

ReminderChoice ReminderOptionOf(const CCalendarData& event) {
  ReminderChoice choice;
  if (event.m_reminders.empty()) return choice;  // row 0
  int32_t minutes = event.m_reminders.front().m_minutes;
  for (int i = 1; i < kReminderOptionCount; ++i)
    if (kReminderOptionMinutes[i] == minutes) {
      choice.index = i;
      return choice;
    }
  // A stored 0 is not "no reminder": it shows as its own text too.
  std::wstring format;
  GetString(L"calendar.reminder.format", format);
  choice.index = -1;
  choice.customText = wf::FormatText(format.c_str(), minutes);
  return choice;
}

}  // namespace Calendar
