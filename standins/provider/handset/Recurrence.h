// Where an event falls: days as serial numbers, and the occurrences of an
// event (repeating or not) that touch a range of days.
#pragma once
#include <vector>

#include "calendar/CalendarData.h"

namespace handset {

// Serial day number of a Gregorian date (1970-01-01 is 0), and back.
int DayNumber(int year, int month, int day);
void DateOfDay(int dayNumber, int& year, int& month, int& day);
// 0 = Sunday ... 6 = Saturday.
int WeekdayOfDay(int dayNumber);
bool IsValidDate(int year, int month, int day);
// The day of a time text ("YYYYMMDD..."), or false when it holds no valid date.
bool DayOfText(const std::wstring& timeText, int& dayNumber);

struct Occurrence {
  int firstDay;  // the day the occurrence starts
  int lastDay;   // the day it ends (an event may run over several days)
};

// The occurrences of `event` that cover at least one day of [fromDay, toDay],
// in order. A repeating event (its first rule) repeats its whole span: daily
// every `interval` days, weekly on the days of its weekday mask every
// `interval` weeks, monthly on its day of month (months without that day are
// skipped), yearly on its month and day (29 February only in leap years). A
// positive repeat count limits the number of occurrences. An event without a
// valid start has none.
std::vector<Occurrence> OccurrencesIn(const Calendar::CCalendarData& event, int fromDay, int toDay);

}  // namespace handset
