// Calendar records: copies, time texts, and the repeat and reminder rows of
// the event editor in both directions.
#include <gtest/gtest.h>

#include <memory>

#include "calendar/CalendarData.h"
#include "calendar/CalendarTexts.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/Text.h"

namespace {

using namespace Calendar;

CCalendarData FullEvent() {
  CCalendarData e;
  e.m_id = 90;
  e.m_flag = 1;
  e.m_topic = L"Review";
  e.m_address = L"Room 5";
  e.m_remark = L"bring slides";
  e.m_reserved1 = 4;
  e.m_allDay = 0;
  e.m_reserved2 = 5;
  e.m_start = L"20260307T0930Z";
  e.m_reservedText = L"r";
  e.m_end = L"20260307T1030Z";
  e.m_zone = L"Asia/Shanghai";
  CAttendee a;
  a.m_id = 3;
  a.m_name = L"Zhang Wei";
  a.m_text2 = L"t";
  a.m_reserved[2] = 8;
  e.m_attendees.push_back(a);
  CRecurrence r;
  r.m_type = CRecurrence::kWeekly;
  r.m_weekdayMask = 8;
  r.m_reservedText3 = L"x";
  r.m_repeatFlag = 1;
  e.m_recurrences.push_back(r);
  CReminder m;
  m.m_minutes = 15;
  m.m_mode = 1;
  e.m_reminders.push_back(m);
  return e;
}

TEST(CalendarRecords, CloneIsADeepCopyOfEveryFieldAndSequence) {
  auto source = std::make_unique<CCalendarData>(FullEvent());
  std::unique_ptr<CContent> copy(source->Clone());
  auto* event = dynamic_cast<CCalendarData*>(copy.get());
  ASSERT_NE(event, nullptr);
  EXPECT_TRUE(*event == *source);
  source.reset();
  EXPECT_EQ(event->m_attendees.front().m_reserved[2], 8);
  EXPECT_EQ(event->m_recurrences.front().m_reservedText3, L"x");
  // The sub-records keep the base clone: a plain record with the base fields.
  std::unique_ptr<CContent> attendee(event->m_attendees.front().Clone());
  EXPECT_EQ(dynamic_cast<CAttendee*>(attendee.get()), nullptr);
  EXPECT_EQ(attendee->m_id, 3u);
}

TEST(TimeTexts, PartsAreReadOnlyWhenTheTextIsLongEnough) {
  EXPECT_EQ(MakeTimeText(2026, 3, 7, 9, 30), L"20260307T0930Z");
  EXPECT_EQ(MakeDayText(2026, 3, 7), L"20260307");
  // Out-of-range parts are written in full, as the printf form writes them.
  EXPECT_EQ(MakeTimeText(12026, 3, 7, 123, -5), L"120260307T123-5Z");
  EXPECT_EQ(MakeDayText(99, 1, 1), L"00990101");
  std::wstring full = L"20260307T0930Z";
  EXPECT_EQ(TimeYear(full), 2026);
  EXPECT_EQ(TimeMonth(full), 3);
  EXPECT_EQ(TimeDay(full), 7);
  EXPECT_EQ(TimeHour(full), 9);
  EXPECT_EQ(TimeMinute(full), 30);
  EXPECT_EQ(HourMinuteText(full), L"09:30");
  std::wstring twelve = L"20260307T093";  // shorter than 13: no minute
  EXPECT_EQ(TimeHour(twelve), 9);
  EXPECT_EQ(TimeMinute(twelve), 0);
  EXPECT_EQ(HourMinuteText(twelve), L"09:00");
  std::wstring ten = L"20260307T0";  // shorter than 11: no hour either
  EXPECT_EQ(TimeHour(ten), 0);
  EXPECT_EQ(HourMinuteText(ten), L"00:00");
  EXPECT_EQ(TimeDay(L"2026030"), 0);
  EXPECT_EQ(TimeYear(L"202"), 0);
  EXPECT_EQ(TimeYear(L""), 0);
}

TEST(TimeTexts, AnAllDayEventRunsFromMidnightToOneMinuteBefore) {
  CCalendarData e;
  SetAllDay(e, 2026, 3, 7, 2026, 3, 8);
  EXPECT_TRUE(e.IsAllDay());
  EXPECT_EQ(e.m_start, L"20260307T0000Z");
  EXPECT_EQ(e.m_end, L"20260308T2359Z");
}

TEST(RepeatRows, StoreTheirRuleAndReadBack) {
  CCalendarData e;
  e.m_start = L"20260311T0800Z";  // a Wednesday
  ApplyRepeatOption(e, 3);
  ASSERT_EQ(e.m_recurrences.size(), 1u);
  EXPECT_EQ(e.m_recurrences[0].m_weekdayMask, 8);
  EXPECT_EQ(e.m_recurrences[0].m_repeatFlag, 0);
  EXPECT_EQ(e.m_recurrences[0].m_repeatStart, e.m_start);
  EXPECT_EQ(RepeatOptionOf(e), 3);

  ApplyRepeatOption(e, 2);
  EXPECT_EQ(e.m_recurrences[0].m_weekdayMask, 0x3E);
  EXPECT_EQ(e.m_recurrences[0].m_repeatCount, 500);
  EXPECT_EQ(RepeatOptionOf(e), 2) << "the workday mask reads back as the workday row";
  // A weekly rule that happens to hold the workday mask reads back the same way.
  e.m_recurrences[0].m_repeatFlag = 0;
  EXPECT_EQ(RepeatOptionOf(e), 2);

  ApplyRepeatOption(e, 1);
  EXPECT_EQ(e.m_recurrences[0].m_type, CRecurrence::kDaily);
  EXPECT_EQ(e.m_recurrences[0].m_repeatCount, 1000);
  EXPECT_EQ(e.m_recurrences.size(), 1u) << "one rule at most";

  ApplyRepeatOption(e, 5);
  EXPECT_EQ(e.m_recurrences[0].m_type, CRecurrence::kYearly);
  EXPECT_EQ(e.m_recurrences[0].m_dayOfMonth, 11);
  EXPECT_EQ(e.m_recurrences[0].m_monthOfYear, 3);
  EXPECT_EQ(RepeatOptionOf(e), 5);
  e.m_recurrences[0].m_type = CRecurrence::kMonthlyToo;
  EXPECT_EQ(RepeatOptionOf(e), 4);
  e.m_recurrences[0].m_type = 9;
  EXPECT_EQ(RepeatOptionOf(e), 0);

  ApplyRepeatOption(e, 0);
  EXPECT_TRUE(e.m_recurrences.empty()) << "the once row removes the rule entirely";
  EXPECT_EQ(RepeatOptionOf(e), 0);
}

TEST(ReminderRows, SaveExactlyOneReminderAndReadBackRowsOrCustomText) {
  CCalendarData e;
  EXPECT_EQ(ReminderOptionOf(e).index, 0) << "no reminder: the first row";
  ApplyReminderOption(e, 8);
  ASSERT_EQ(e.m_reminders.size(), 1u);
  EXPECT_EQ(e.m_reminders[0].m_minutes, 60);
  EXPECT_EQ(e.m_reminders[0].m_mode, 1);
  EXPECT_EQ(ReminderOptionOf(e).index, 8);
  ApplyReminderOption(e, 14);
  EXPECT_EQ(e.m_reminders.size(), 1u);
  EXPECT_EQ(e.m_reminders[0].m_minutes, 10080);
  ApplyReminderOption(e, -1);
  EXPECT_EQ(e.m_reminders[0].m_minutes, 10080) << "no valid row keeps the stored minutes";

  e.m_reminders[0].m_minutes = 90;
  ReminderChoice custom = ReminderOptionOf(e);
  EXPECT_EQ(custom.index, -1);
  std::wstring format;
  GetString(L"calendar.reminder.format", format);
  EXPECT_EQ(custom.customText, wf::FormatText(format.c_str(), 90));
  EXPECT_NE(custom.customText.find(L"90"), std::wstring::npos);

  CCalendarData fresh;
  ApplyReminderOption(fresh, -1);
  ASSERT_EQ(fresh.m_reminders.size(), 1u) << "saving always leaves one reminder";
  EXPECT_EQ(fresh.m_reminders[0].m_minutes, 0);
  EXPECT_EQ(ReminderOptionOf(fresh).index, -1) << "a stored 0 is not the no-reminder row";
}

TEST(ReminderRows, EveryRowHasItsText) {
  for (const wchar_t* key : kReminderOptionKeys) {
    std::wstring text;
    EXPECT_TRUE(GetString(key, text)) << wf::ToUtf8(key);
  }
  for (const wchar_t* key : kRepeatOptionKeys) {
    std::wstring text;
    EXPECT_TRUE(GetString(key, text)) << wf::ToUtf8(key);
  }
}

}  // namespace
