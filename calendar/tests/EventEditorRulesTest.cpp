// The event editor's rules without its dialog: the time lists, the form a
// new or an existing event opens with, what a save writes into the event,
// the picked attendees, and the corrections that keep the end after the start.
#include <gtest/gtest.h>

#include <tuple>

#include "calendar/EventEditorRules.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/Text.h"

namespace {

using namespace Calendar;

SYSTEMTIME At(int year, int month, int day, int hour, int minute) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wHour = static_cast<WORD>(hour);
  t.wMinute = static_cast<WORD>(minute);
  return t;
}

// Start and end of a form as "yyyy-mm-dd hh:mm".
std::pair<std::wstring, std::wstring> Span(const EditorForm& form) {
  auto text = [](const EditorDate& d, const std::wstring& time) {
    return wf::FormatText(L"%04d-%02d-%02d ", d.year, d.month, d.day) + time;
  };
  return {text(form.startDate, form.startTime), text(form.endDate, form.endTime)};
}

JorvContactEntry Entry(const std::wstring& text, uint32_t value) {
  JorvContactEntry entry{};
  std::copy_n(text.begin(), std::min<size_t>(text.size(), 509), entry.text);
  entry.value = value;
  return entry;
}

TEST(EventEditorRules, TheTimeListsHoldTheHalfHoursAndATypedTimeReadsAsHoursAndMinutes) {
  EXPECT_EQ(TimeEntryText(0), L"00:00");
  EXPECT_EQ(TimeEntryText(19), L"09:30");
  EXPECT_EQ(TimeEntryText(47), L"23:30");
  for (int i = 0; i < kTimeEntryCount; ++i) EXPECT_EQ(TimeEntryIndex(TimeEntryText(i)), i);
  EXPECT_EQ(TimeEntryIndex(L"09:10"), -1);
  EXPECT_EQ(TimeEntryIndex(L"9:30"), -1) << "only the list's own text is an entry";

  EXPECT_EQ(ParseClockText(L"9:5"), (ClockTime{9, 5}));
  EXPECT_EQ(ParseClockText(L" 23:59 "), (ClockTime{23, 59}));
  EXPECT_EQ(ParseClockText(L"08\uFF1A15"), (ClockTime{8, 15})) << "full-width colon";
  for (const wchar_t* bad : {L"", L"24:00", L"12:60", L"1230", L"12:", L":30", L"123:00", L"12:30x", L"-1:00"})
    EXPECT_FALSE(ParseClockText(bad).has_value()) << bad;
}

TEST(EventEditorRules, ANewEventStartsAtTheNextHalfHourAndEndsHalfAnHourLater) {
  EXPECT_EQ(Span(NewEventForm(At(2026, 3, 7, 9, 10), false)),
            std::make_pair(std::wstring(L"2026-03-07 09:30"), std::wstring(L"2026-03-07 10:00")));
  EXPECT_EQ(Span(NewEventForm(At(2026, 3, 7, 9, 40), false)).first, L"2026-03-07 10:00");
  EXPECT_EQ(Span(NewEventForm(At(2026, 3, 7, 9, 30), false)).first, L"2026-03-07 09:30");
  EXPECT_EQ(Span(NewEventForm(At(2026, 3, 7, 9, 0), false)).first, L"2026-03-07 09:30");

  // 23:10: the end passes the list and goes to 00:30 of the next day, across
  // a month and a year as well.
  EXPECT_EQ(Span(NewEventForm(At(2026, 3, 7, 23, 10), false)),
            std::make_pair(std::wstring(L"2026-03-07 23:30"), std::wstring(L"2026-03-08 00:30")));
  EXPECT_EQ(Span(NewEventForm(At(2026, 12, 31, 23, 10), false)).second, L"2027-01-01 00:30");
  // After 23:30 the next half hour is the next day's first.
  EXPECT_EQ(Span(NewEventForm(At(2028, 2, 28, 23, 45), false)),
            std::make_pair(std::wstring(L"2028-02-29 00:00"), std::wstring(L"2028-02-29 00:30")));
  // ...except on the last day there is.
  EXPECT_EQ(Span(NewEventForm(At(2099, 12, 31, 23, 45), false)),
            std::make_pair(std::wstring(L"2099-12-31 23:30"), std::wstring(L"2099-12-31 23:59")));

  // A view's place is the half hour it falls in.
  EXPECT_EQ(Span(NewEventForm(At(2026, 3, 7, 9, 0), true)).first, L"2026-03-07 09:00");
  EXPECT_EQ(Span(NewEventForm(At(2026, 3, 7, 9, 30), true)).first, L"2026-03-07 09:30");
  EXPECT_EQ(Span(NewEventForm(At(2026, 3, 7, 9, 40), true)).first, L"2026-03-07 09:30");

  EditorForm allDay = NewEventForm(At(2026, 3, 7, 0, kAllDayMinute), true);
  EXPECT_TRUE(allDay.allDay);
  EXPECT_EQ(Span(allDay), std::make_pair(std::wstring(L"2026-03-07 00:00"), std::wstring(L"2026-03-07 00:30")));
  EXPECT_FALSE(NewEventForm(At(2026, 3, 7, 9, 59), false).allDay);
  EXPECT_EQ(allDay.repeatRow, 0);
  EXPECT_EQ(allDay.reminder.index, 0);

  // A start outside the pickers' range opens at its edge.
  EXPECT_EQ(NewEventForm(At(1899, 5, 1, 8, 0), true).startDate, kFirstEditorDate);
}

TEST(EventEditorRules, SavingWritesTheTimeTextsAndAnAllDayEventSpansItsDays) {
  EditorForm form = NewEventForm(At(2026, 3, 7, 0, kAllDayMinute), true);
  form.startTime = L"garbage";  // disabled lists do not count
  CCalendarData event;
  ASSERT_EQ(SaveForm(form, {}, L"Zone", event), FormProblem::kNone);
  EXPECT_EQ(event.m_allDay, 1);
  EXPECT_EQ(event.m_start, L"20260307T0000Z");
  EXPECT_EQ(event.m_end, L"20260307T2359Z");
  EXPECT_EQ(event.m_zone, L"Zone");
  ASSERT_EQ(event.m_reminders.size(), 1u);
  EXPECT_EQ(std::make_tuple(event.m_reminders[0].m_minutes, event.m_reminders[0].m_mode), std::make_tuple(0, 1));
  EXPECT_TRUE(event.m_recurrences.empty());

  form.allDay = false;
  form.startTime = L"9:5";
  form.endDate = {2026, 3, 8};
  form.endTime = L"00:30";
  form.repeatRow = 3;
  form.reminder.index = 8;
  ASSERT_EQ(SaveForm(form, {}, L"", event), FormProblem::kNone);
  EXPECT_EQ(event.m_allDay, 0);
  EXPECT_EQ(event.m_start, L"20260307T0905Z");
  EXPECT_EQ(event.m_end, L"20260308T0030Z");
  EXPECT_EQ(event.m_zone, L"Zone") << "no descriptor text: the zone stays";
  ASSERT_EQ(event.m_recurrences.size(), 1u);
  EXPECT_EQ(event.m_recurrences[0].m_weekdayMask, 1 << 6) << "7 March 2026 is a Saturday";
  EXPECT_EQ(event.m_reminders[0].m_minutes, 60);

  // A time that does not read is refused and the event stays as it was.
  const CCalendarData before = event;
  form.endTime = L"25:00";
  EXPECT_EQ(SaveForm(form, {}, L"Other", event), FormProblem::kEndTime);
  form.startTime = L"";
  EXPECT_EQ(SaveForm(form, {}, L"Other", event), FormProblem::kStartTime);
  EXPECT_TRUE(event == before);
}

TEST(EventEditorRules, AnEventLoadsAsStoredAndWhatTheListsCannotShowSurvivesASave) {
  CCalendarData event;
  event.m_topic = L"Review";
  event.m_start = L"20260311T0910Z";
  event.m_end = L"20260311T1030Z";
  CReminder reminder;
  reminder.m_minutes = 90;
  reminder.m_mode = 2;
  event.m_reminders.push_back(reminder);
  CRecurrence rule;
  rule.m_type = 9;  // no row shows it
  rule.m_reservedText2 = L"kept";
  event.m_recurrences.push_back(rule);

  EditorForm form = EditEventForm(event, {2000, 1, 1});
  EXPECT_EQ(form.topic, L"Review");
  EXPECT_EQ(Span(form), std::make_pair(std::wstring(L"2026-03-11 09:10"), std::wstring(L"2026-03-11 10:30")));
  EXPECT_EQ(TimeEntryIndex(form.startTime), -1) << "shown as typed text";
  EXPECT_EQ(form.repeatRow, 0);
  std::wstring format;
  GetString(L"calendar.reminder.format", format);
  EXPECT_EQ(form.reminder.index, -1);
  EXPECT_EQ(form.reminder.customText, wf::FormatText(format.c_str(), 90));

  ASSERT_EQ(SaveForm(form, {}, L"", event), FormProblem::kNone);
  EXPECT_EQ(event.m_start, L"20260311T0910Z");
  ASSERT_EQ(event.m_reminders.size(), 1u);
  EXPECT_EQ(std::make_tuple(event.m_reminders[0].m_minutes, event.m_reminders[0].m_mode), std::make_tuple(90, 2));
  ASSERT_EQ(event.m_recurrences.size(), 1u);
  EXPECT_EQ(event.m_recurrences[0].m_reservedText2, L"kept");

  // A known rule set to "once" goes.
  event.m_recurrences[0].m_type = CRecurrence::kDaily;
  form = EditEventForm(event, {});
  EXPECT_EQ(form.repeatRow, 1);
  form.repeatRow = 0;
  ASSERT_EQ(SaveForm(form, {}, L"", event), FormProblem::kNone);
  EXPECT_TRUE(event.m_recurrences.empty());

  // Dates that do not read: the start shows the fallback, the end the start's.
  event.m_start = L"2026";
  event.m_end = L"20261341T1000Z";
  form = EditEventForm(event, {2026, 5, 4});
  EXPECT_EQ(form.startDate, (EditorDate{2026, 5, 4}));
  EXPECT_EQ(form.endDate, (EditorDate{2026, 5, 4}));
}

TEST(EventEditorRules, TextsAreCutAtTheirLimitsUnlessTheEventBroughtThemLonger) {
  CCalendarData event;
  event.m_address = std::wstring(60, L'b');
  EditorForm form = EditEventForm(event, {2026, 3, 7});
  form.topic = std::wstring(47, L'a') + L"\U0001F600";  // a surrogate pair across the limit
  form.address.pop_back();                             // the edit lets the user shorten a longer text
  form.remark = std::wstring(100, L'c');
  ASSERT_EQ(SaveForm(form, {}, L"", event), FormProblem::kNone);
  EXPECT_EQ(event.m_topic, std::wstring(47, L'a')) << "half a character is not kept";
  EXPECT_EQ(event.m_address, std::wstring(59, L'b'));
  EXPECT_EQ(event.m_remark.size(), kRemarkLimit);
}

TEST(EventEditorRules, PickedEntriesBecomeAttendeesAndKnownOnesKeepTheirOwnFields) {
  CAttendee li;
  li.m_id = 7;
  li.m_name = L"Li";
  li.m_text2 = L"from the phone";
  li.m_reserved[1] = 4;
  CAttendee longName;
  longName.m_id = 8;
  longName.m_name = std::wstring(600, L'n');
  std::list<JorvContactEntry> entries = EntriesOfAttendees({li, longName});
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(EntryText(entries.back()), std::wstring(509, L'n'));
  EXPECT_EQ(entries.back().value, 8u);

  entries.push_back(Entry(L"Wang", 9));
  EXPECT_EQ(PeopleText(entries), L"Li;" + std::wstring(509, L'n') + L";Wang;");
  std::vector<CAttendee> attendees = AttendeesOfEntries(entries, {li, longName});
  ASSERT_EQ(attendees.size(), 3u);
  EXPECT_TRUE(attendees[0] == li);
  EXPECT_EQ(attendees[1].m_name.size(), 600u) << "the whole name, not the entry's part";
  EXPECT_EQ(std::make_tuple(attendees[2].m_id, attendees[2].m_name, attendees[2].m_text2),
            std::make_tuple(9u, std::wstring(L"Wang"), std::wstring()));

  // The same name picked with another value is another person.
  attendees = AttendeesOfEntries({Entry(L"Li", 70)}, {li});
  EXPECT_EQ(attendees[0].m_text2, L"");
  // An entry whose text fills all 510 characters reads only as far as it goes.
  JorvContactEntry full{};
  std::fill(std::begin(full.text), std::end(full.text), L'x');
  EXPECT_EQ(EntryText(full).size(), 510u);
}

TEST(EventEditorRules, AChangeThatPutsTheEndBeforeTheStartCorrectsTheOtherSide) {
  using M = EditorMoment;
  struct Row {
    ChangedControl changed;
    M start, end, wantStart, wantEnd;
  };
  const Row rows[] = {
      // start date moved past the end: the end takes its date...
      {ChangedControl::kStartDate, M{{2026, 3, 9}, {9, 0}}, M{{2026, 3, 7}, {10, 0}}, M{{2026, 3, 9}, {9, 0}},
       M{{2026, 3, 9}, {10, 0}}},
      // ...and one day more when its time is earlier.
      {ChangedControl::kStartDate, M{{2026, 3, 9}, {23, 30}}, M{{2026, 3, 7}, {0, 30}}, M{{2026, 3, 9}, {23, 30}},
       M{{2026, 3, 10}, {0, 30}}},
      // end date moved before the start: the start takes its date, one day less if needed.
      {ChangedControl::kEndDate, M{{2026, 3, 9}, {9, 0}}, M{{2026, 3, 1}, {10, 0}}, M{{2026, 3, 1}, {9, 0}},
       M{{2026, 3, 1}, {10, 0}}},
      {ChangedControl::kEndDate, M{{2026, 3, 9}, {23, 30}}, M{{2026, 3, 1}, {0, 30}}, M{{2026, 2, 28}, {23, 30}},
       M{{2026, 3, 1}, {0, 30}}},
      // start time: end = start + 1 hour, across midnight.
      {ChangedControl::kStartTime, M{{2026, 12, 31}, {23, 30}}, M{{2026, 12, 31}, {10, 0}}, M{{2026, 12, 31}, {23, 30}},
       M{{2027, 1, 1}, {0, 30}}},
      // end time: start = end - 1 hour.
      {ChangedControl::kEndTime, M{{2026, 3, 1}, {9, 0}}, M{{2026, 3, 1}, {0, 20}}, M{{2026, 2, 28}, {23, 20}},
       M{{2026, 3, 1}, {0, 20}}},
      // Never out of the range.
      {ChangedControl::kStartTime, M{{2099, 12, 31}, {23, 30}}, M{{2099, 12, 31}, {8, 0}}, M{{2099, 12, 31}, {23, 30}},
       M{{2099, 12, 31}, {23, 59}}},
      {ChangedControl::kEndTime, M{{1901, 1, 1}, {9, 0}}, M{{1901, 1, 1}, {0, 30}}, M{{1901, 1, 1}, {0, 0}},
       M{{1901, 1, 1}, {0, 30}}},
  };
  for (const Row& row : rows) {
    M start = row.start, end = row.end;
    EXPECT_TRUE(KeepEndAfterStart(row.changed, start, end)) << static_cast<int>(row.changed);
    EXPECT_EQ(start, row.wantStart) << static_cast<int>(row.changed) << " " << start.date.day << " " << start.time.hour;
    EXPECT_EQ(end, row.wantEnd) << static_cast<int>(row.changed) << " " << end.date.day << " " << end.time.hour;
  }
  // An end at or after the start is left alone, whatever changed.
  for (ChangedControl changed :
       {ChangedControl::kStartDate, ChangedControl::kEndDate, ChangedControl::kStartTime, ChangedControl::kEndTime}) {
    M start{{2026, 3, 7}, {9, 0}}, end = start;
    EXPECT_FALSE(KeepEndAfterStart(changed, start, end));
    EXPECT_EQ(end, start);
  }
}

}  // namespace
