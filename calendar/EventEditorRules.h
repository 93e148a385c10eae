// What the event editor decides, apart from its dialog so that it is checked
// without showing it: the 48 half-hour entries of the time lists, the form a
// new or an existing event opens with, how the form is written back into the
// event, the attendees picked in the shared contact picker, and how start and
// end are kept in order while the user changes one of them.
//
// Dates stay within 1901-01-01 .. 2099-12-31, the range of the calendar's
// lunar dates and of the editor's date pickers.
#pragma once
#include <windows.h>

#include <list>
#include <optional>
#include <string>
#include <vector>

#include "calendar/CalendarData.h"
#include "calendar/CalendarTexts.h"
#include "frame/suite/SharedDialogs.h"

namespace Calendar {

// Typing limits of the text fields.
constexpr size_t kTopicLimit = 48;
constexpr size_t kAddressLimit = 48;
constexpr size_t kRemarkLimit = 64;

// A view asks for an all-day event with this minute in the start it gives.
constexpr int kAllDayMinute = 61;

// --- dates and times --------------------------------------------------------

struct EditorDate {
  int year = 0, month = 0, day = 0;
  bool operator==(const EditorDate&) const = default;
};
struct ClockTime {
  int hour = 0, minute = 0;
  bool operator==(const ClockTime&) const = default;
};
struct EditorMoment {
  EditorDate date;
  ClockTime time;
  bool operator==(const EditorMoment&) const = default;
};

constexpr EditorDate kFirstEditorDate{1901, 1, 1};
constexpr EditorDate kLastEditorDate{2099, 12, 31};

bool IsValidDate(const EditorDate& date);
// A valid date moved into the editor's range; an invalid month or day is
// brought to the nearest one that exists.
EditorDate ClampToEditorRange(EditorDate date);
EditorDate AddDays(const EditorDate& date, int days);

// The time lists: entry 2h is "hh:00", entry 2h + 1 "hh:30".
constexpr int kTimeEntryCount = 48;
std::wstring TimeEntryText(int index);
// The entry a text shows, or -1 for any other text (a typed time).
int TimeEntryIndex(const std::wstring& text);
// "%02d:%02d".
std::wstring ClockText(const ClockTime& time);
// A time list's text read as "%d:%d": one or two digits, a colon, one or two
// digits, blanks around; hours 0..23 and minutes 0..59. Nothing otherwise.
std::optional<ClockTime> ParseClockText(const std::wstring& text);

// --- the form -----------------------------------------------------------------

// The editor's controls as plain values.
struct EditorForm {
  std::wstring topic, address, remark;
  bool allDay = false;
  EditorDate startDate, endDate;
  std::wstring startTime, endTime;  // the time lists' texts
  int repeatRow = 0;                // row of the repeat list (-1: none chosen)
  ReminderChoice reminder;          // row -1: the stored minutes, shown as their own text
};

// A new event starting at `start` (the local time now, or a place a view
// offered when `fromView`). Minute 61 asks for an all-day event.
//
// The start time is the next half hour after now: 09:10 gives 09:30, 09:40
// gives 10:00. A view's start is the half hour it falls in (09:00 and 09:30
// stay, 09:40 gives 09:30): the view offers the half hour that was clicked.
// After 23:30 the next half hour is 00:00 of the next day, so the event
// starts there instead of pointing past the list. The end is half an hour
// later, except that a start at 23:30 ends at 00:30 of the next day. On the
// last day of the range the times stay on that day (end 23:59).
EditorForm NewEventForm(const SYSTEMTIME& start, bool fromView);

// An existing event as the editor shows it. Times show as "%02d:%02d" (a
// time off the half hours is shown as typed text); a start date that cannot
// be read shows `fallback`, an end date that cannot be read the start's.
EditorForm EditEventForm(const CCalendarData& event, const EditorDate& fallback);

enum class FormProblem {
  kNone,
  kStartTime,  // the start time list does not hold a time
  kEndTime,
};

// Writes the form into `event` (the record as loaded, changed only when the
// form is accepted): texts cut at their limits (a longer text that came with
// the event may keep its length), all-day events from 00:00 of the first day
// to 23:59 of the last, the attendees from `people`, the repeat rule and the
// reminder of the chosen rows, and the zone (a descriptor without text keeps
// the event's). A rule the repeat list cannot show (read as "once") stays
// while "once" stays chosen.
FormProblem SaveForm(const EditorForm& form, const std::list<JorvContactEntry>& people, const std::wstring& zone,
                     CCalendarData& event);

// --- attendees ------------------------------------------------------------------

// The text of a picked entry (its first 509 characters at most).
std::wstring EntryText(const JorvContactEntry& entry);
// The picker's entries for the attendees an event has.
std::list<JorvContactEntry> EntriesOfAttendees(const std::vector<CAttendee>& attendees);
// One attendee per entry: an attendee of `previous` that the entry stands for
// is kept whole, any other is new (name = the entry's text, id = its value).
std::vector<CAttendee> AttendeesOfEntries(const std::list<JorvContactEntry>& entries,
                                          const std::vector<CAttendee>& previous);
// The people field: each entry's text followed by ";".
std::wstring PeopleText(const std::list<JorvContactEntry>& entries);

// --- start before end -------------------------------------------------------------

enum class ChangedControl { kStartDate, kEndDate, kStartTime, kEndTime };

// After `changed` was changed: when the end is before the start, corrects one
// of them and answers true.
//   start date: the end takes the start's date (one day more if still before);
//   end date:   the start takes the end's date (one day less if still after);
//   start time: the end becomes the start plus one hour;
//   end time:   the start becomes the end minus one hour.
// A correction never leaves the range: it stops at 1901-01-01 00:00 or
// 2099-12-31 23:59.
bool KeepEndAfterStart(ChangedControl changed, EditorMoment& start, EditorMoment& end);

}  // namespace Calendar
