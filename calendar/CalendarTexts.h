// Calendar texts that come from the resource library, in the language that
// the suite is set to.
#pragma once
#include <string>

#include "calendar/CalendarData.h"

namespace Calendar {

// What the reminder list shows for the event: a row, or (row -1) a text made
// from the resource format "calendar.reminder.format" for other minutes.
struct ReminderChoice {
  int index = 0;
  std::wstring customText;
};
ReminderChoice ReminderOptionOf(const CCalendarData& event);

}  // namespace Calendar
