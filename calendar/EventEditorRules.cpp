#include "calendar/EventEditorRules.h"

#include <algorithm>
#include <cwchar>

#include "framework/Text.h"

namespace Calendar {
namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a valid date, and back (proleptic Gregorian).
long long DayNumber(const EditorDate& d) {
  const int y = d.year - (d.month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (d.month + (d.month > 2 ? -3 : 9)) + 2) / 5 + d.day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097LL + doe - 719468;
}

EditorDate DateOfDayNumber(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0)), month, day};
}

constexpr long long kMinutesPerDay = 24 * 60;

long long MinuteNumber(const EditorMoment& m) {
  return DayNumber(m.date) * kMinutesPerDay + m.time.hour * 60 + m.time.minute;
}

EditorMoment MomentOfMinuteNumber(long long minutes) {
  long long day = minutes / kMinutesPerDay, rest = minutes % kMinutesPerDay;
  if (rest < 0) rest += kMinutesPerDay, --day;
  return {DateOfDayNumber(day), {static_cast<int>(rest / 60), static_cast<int>(rest % 60)}};
}

// The moment within 1901-01-01 00:00 .. 2099-12-31 23:59.
EditorMoment ClampMoment(const EditorMoment& m) {
  static const long long first = MinuteNumber({kFirstEditorDate, {0, 0}});
  static const long long last = MinuteNumber({kLastEditorDate, {23, 59}});
  return MomentOfMinuteNumber(std::clamp(MinuteNumber(m), first, last));
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\u3000'; }

// Up to two decimal digits at `pos`; false when there is none.
bool ReadSmallNumber(const std::wstring& text, size_t& pos, int& value) {
  size_t start = pos;
  value = 0;
  while (pos < text.size() && pos - start < 2 && text[pos] >= L'0' && text[pos] <= L'9')
    value = value * 10 + (text[pos++] - L'0');
  return pos > start;
}

// The first `limit` units of `text`, never ending inside a surrogate pair.
std::wstring Cut(const std::wstring& text, size_t limit) {
  if (text.size() <= limit) return text;
  size_t length = limit;
  if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) --length;
  return text.substr(0, length);
}

// A field as saved: cut at its typing limit, except that a text that came
// longer with the event may keep that length (the edit only stops typing).
std::wstring CutField(const std::wstring& typed, const std::wstring& loaded, size_t limit) {
  return Cut(typed, std::max(limit, loaded.size()));
}

EditorDate DateOfTimeText(const std::wstring& text) {
  return {TimeYear(text), TimeMonth(text), TimeDay(text)};
}

}  // namespace

// ---------------------------------------------------------------------------
// Dates and times

bool IsValidDate(const EditorDate& d) {
  return d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= DaysInMonth(d.year, d.month);
}

EditorDate ClampToEditorRange(EditorDate d) {
  if (d.year < kFirstEditorDate.year) return kFirstEditorDate;
  if (d.year > kLastEditorDate.year) return kLastEditorDate;
  d.month = std::clamp(d.month, 1, 12);
  d.day = std::clamp(d.day, 1, DaysInMonth(d.year, d.month));
  return d;
}

EditorDate AddDays(const EditorDate& date, int days) { return DateOfDayNumber(DayNumber(date) + days); }

std::wstring TimeEntryText(int index) {
  index = std::clamp(index, 0, kTimeEntryCount - 1);
  return ClockText({index / 2, index % 2 ? 30 : 0});
}

int TimeEntryIndex(const std::wstring& text) {
  for (int i = 0; i < kTimeEntryCount; ++i)
    if (text == TimeEntryText(i)) return i;
  return -1;
}

std::wstring ClockText(const ClockTime& time) { return wf::FormatText(L"%02d:%02d", time.hour, time.minute); }

std::optional<ClockTime> ParseClockText(const std::wstring& text) {
  size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  ClockTime time;
  if (!ReadSmallNumber(text, pos, time.hour)) return std::nullopt;
  // The full-width colon of a Chinese input method reads as a colon.
  if (pos >= text.size() || (text[pos] != L':' && text[pos] != L'\uFF1A')) return std::nullopt;
  ++pos;
  if (!ReadSmallNumber(text, pos, time.minute)) return std::nullopt;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  if (pos != text.size() || time.hour > 23 || time.minute > 59) return std::nullopt;
  return time;
}

// ---------------------------------------------------------------------------
// The form

EditorForm NewEventForm(const SYSTEMTIME& start, bool fromView) {
  EditorForm form;
  form.allDay = start.wMinute == kAllDayMinute;
  EditorDate day = ClampToEditorRange({start.wYear, start.wMonth, start.wDay});
  const int hour = std::min<int>(start.wHour, 23);
  // An all-day request carries no minute of its own: its times are the hour's.
  const int minute = form.allDay ? 0 : std::min<int>(start.wMinute, 59);
  int index = fromView ? 2 * hour + (minute >= 30 ? 1 : 0) : 2 * hour + 1 + (minute > 30 ? 1 : 0);
  if (index >= kTimeEntryCount) {
    // Past 23:30 the next half hour is the next day's first.
    if (day == kLastEditorDate) {
      index = kTimeEntryCount - 1;
    } else {
      day = AddDays(day, 1);
      index -= kTimeEntryCount;
    }
  }
  form.startDate = form.endDate = day;
  form.startTime = TimeEntryText(index);
  if (index + 1 < kTimeEntryCount) {
    form.endTime = TimeEntryText(index + 1);
  } else if (day == kLastEditorDate) {
    form.endTime = ClockText({23, 59});
  } else {
    form.endDate = AddDays(day, 1);
    form.endTime = TimeEntryText(1);  // 00:30
  }
  return form;
}

EditorForm EditEventForm(const CCalendarData& event, const EditorDate& fallback) {
  EditorForm form;
  form.topic = event.m_topic;
  form.address = event.m_address;
  form.remark = event.m_remark;
  form.allDay = event.IsAllDay();
  const EditorDate start = DateOfTimeText(event.m_start), end = DateOfTimeText(event.m_end);
  form.startDate = ClampToEditorRange(IsValidDate(start) ? start : fallback);
  form.endDate = IsValidDate(end) ? ClampToEditorRange(end) : form.startDate;
  // All-day events too: unticking the box shows the hours they span.
  form.startTime = ClockText({TimeHour(event.m_start), TimeMinute(event.m_start)});
  form.endTime = ClockText({TimeHour(event.m_end), TimeMinute(event.m_end)});
  form.repeatRow = RepeatOptionOf(event);
  form.reminder = ReminderOptionOf(event);
  return form;
}

FormProblem SaveForm(const EditorForm& form, const std::list<JorvContactEntry>& people, const std::wstring& zone,
                     CCalendarData& event) {
  ClockTime startTime{0, 0}, endTime{23, 59};
  if (!form.allDay) {
    auto start = ParseClockText(form.startTime);
    if (!start) return FormProblem::kStartTime;
    auto end = ParseClockText(form.endTime);
    if (!end) return FormProblem::kEndTime;
    startTime = *start;
    endTime = *end;
  }
  event.m_topic = CutField(form.topic, event.m_topic, kTopicLimit);
  event.m_address = CutField(form.address, event.m_address, kAddressLimit);
  event.m_remark = CutField(form.remark, event.m_remark, kRemarkLimit);
  event.m_allDay = form.allDay ? 1 : 0;
  event.m_start = MakeTimeText(form.startDate.year, form.startDate.month, form.startDate.day, startTime.hour,
                               startTime.minute);
  event.m_end =
      MakeTimeText(form.endDate.year, form.endDate.month, form.endDate.day, endTime.hour, endTime.minute);
  event.m_attendees = AttendeesOfEntries(people, event.m_attendees);
  // After the start: the rows take their weekday, day and month from it.
  const bool unknownRuleKept = form.repeatRow == 0 && !event.m_recurrences.empty() && RepeatOptionOf(event) == 0;
  if (!unknownRuleKept) ApplyRepeatOption(event, form.repeatRow);
  ApplyReminderOption(event, form.reminder.index);
  if (!zone.empty()) event.m_zone = zone;
  return FormProblem::kNone;
}

// ---------------------------------------------------------------------------
// Attendees

std::wstring EntryText(const JorvContactEntry& entry) {
  return std::wstring(entry.text, ::wcsnlen(entry.text, std::size(entry.text)));
}

std::list<JorvContactEntry> EntriesOfAttendees(const std::vector<CAttendee>& attendees) {
  std::list<JorvContactEntry> entries;
  for (const CAttendee& attendee : attendees) {
    JorvContactEntry entry{};
    const size_t length = std::min(attendee.m_name.size(), std::size(entry.text) - 1);
    std::copy_n(attendee.m_name.begin(), length, entry.text);
    entry.value = attendee.m_id;
    entries.push_back(entry);
  }
  return entries;
}

std::vector<CAttendee> AttendeesOfEntries(const std::list<JorvContactEntry>& entries,
                                          const std::vector<CAttendee>& previous) {
  std::vector<CAttendee> attendees;
  std::vector<bool> taken(previous.size(), false);
  for (const JorvContactEntry& entry : entries) {
    const std::wstring text = EntryText(entry);
    CAttendee attendee;
    attendee.m_id = entry.value;
    attendee.m_name = text;
    for (size_t i = 0; i < previous.size(); ++i) {
      // An entry made from a long name holds its beginning only.
      const CAttendee& known = previous[i];
      if (!taken[i] && known.m_id == entry.value && Cut(known.m_name, std::size(entry.text) - 1) == text) {
        attendee = known;
        taken[i] = true;
        break;
      }
    }
    attendees.push_back(std::move(attendee));
  }
  return attendees;
}

std::wstring PeopleText(const std::list<JorvContactEntry>& entries) {
  std::wstring text;
  for (const JorvContactEntry& entry : entries) text += EntryText(entry) + L";";
  return text;
}

// ---------------------------------------------------------------------------
// Start before end

bool KeepEndAfterStart(ChangedControl changed, EditorMoment& start, EditorMoment& end) {
  if (MinuteNumber(end) >= MinuteNumber(start)) return false;
  switch (changed) {
    case ChangedControl::kStartDate:
      end.date = start.date;
      if (MinuteNumber(end) < MinuteNumber(start)) end.date = AddDays(end.date, 1);
      break;
    case ChangedControl::kEndDate:
      start.date = end.date;
      if (MinuteNumber(start) > MinuteNumber(end)) start.date = AddDays(start.date, -1);
      break;
    case ChangedControl::kStartTime:
      end = MomentOfMinuteNumber(MinuteNumber(start) + 60);
      break;
    case ChangedControl::kEndTime:
      start = MomentOfMinuteNumber(MinuteNumber(end) - 60);
      break;
  }
  start = ClampMoment(start);
  end = ClampMoment(end);
  return true;
}

}  // namespace Calendar
