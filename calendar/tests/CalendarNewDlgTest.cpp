// The event editor as a user drives it, saving to the simulated handset
// through the calendar's support: what a new and an existing event show, what
// a save stores, the corrections made while typing, and the refusals that
// keep the dialog open with the input.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "PimDialogTest.h"
#include "calendar/CalendarNewDlg.h"
#include "calendar/CalendarSupport.h"
#include "controls/ResText.h"
#include "framework/Text.h"
#include "provider/ProviderAutomation.h"
#include "standins/base/LogControl.h"
#include "standins/connect/ConnectControl.h"
#include "standins/dialogs/JorvAutomation.h"

using namespace Calendar;
using qs::ResText;

namespace {

CCalendarSupport& Support() { return CCalendarSupport::GetInstance(); }

// The calendar part that hears what the handset stored.
struct StoredEvents : CDataProviderCallback {
  bool OnInsert(const std::wstring&, uint32_t status, CContent* record) override {
    if (auto* event = dynamic_cast<CCalendarData*>(record); event && status == 0) inserted.push_back(*event);
    return true;
  }
  bool OnUpdate(const std::wstring&, uint32_t status) override {
    updates.push_back(status);
    return true;
  }
  bool OnReturnGroupContent(const std::wstring&, uint32_t, const GroupedContent& groups) override {
    found.clear();
    for (const auto& day : groups)
      for (CContent* record : day.second)
        if (auto* event = dynamic_cast<CCalendarData*>(record)) found.push_back(*event);
    return true;
  }
  std::vector<CCalendarData> inserted, found;
  std::vector<uint32_t> updates;
};

SYSTEMTIME At(int year, int month, int day, int hour, int minute) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wHour = static_cast<WORD>(hour);
  t.wMinute = static_cast<WORD>(minute);
  return t;
}

class CalendarNewDlgTest : public testing_support::PimDialogTest {
 protected:
  void SetUp() override {
    PimDialogTest::SetUp();
    LOG::SetLogRoot(logs.path());
    ProviderAutomation::ClearFaults();
    ProviderAutomation::ResetHandset(ProviderAutomation::Sample{});
    ProviderAutomation::WaitIdle();
    SetDeviceConnected(true);
    ASSERT_TRUE(Support().Open(parent, nullptr, CalendarToolbar{}));
    Support().AddListener(&stored);
    Settle();  // the calendar's descriptor
    ProviderAutomation::ResetCallCounts();
  }
  void TearDown() override {
    Support().RemoveListener(&stored);
    Support().Close();
    ProviderAutomation::WaitIdle();
    LOG::SetLogRoot(L"");
    PimDialogTest::TearDown();
  }

  // Until every answer asked for has arrived and been handed over.
  static void Settle() {
    for (int pass = 0; pass < 50; ++pass) {
      ProviderAutomation::WaitIdle();
      MSG msg;
      if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) return;
      testing_support::PumpMessages();
    }
  }
  // The events the handset holds on one day.
  std::vector<CCalendarData> EventsOn(int year, int month, int day) {
    EXPECT_TRUE(Support().QueryEvents(CCHSDate(year, month, day), CCHSDate(year, month, day)));
    Settle();
    return stored.found;
  }

  static std::wstring DateShown(HWND box, int id) {
    SYSTEMTIME day{};
    if (::SendDlgItemMessageW(box, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&day)) != GDT_VALID) return L"?";
    return wf::FormatText(L"%d-%d-%d", day.wYear, day.wMonth, day.wDay);
  }
  // A user's date: set in the picker, which then tells the dialog.
  static void PickDate(HWND box, int id, int year, int month, int day) {
    SYSTEMTIME date = At(year, month, day, 0, 0);
    HWND picker = ::GetDlgItem(box, id);
    ::SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
    NMDATETIMECHANGE change{};
    change.nmhdr = {picker, static_cast<UINT_PTR>(id), static_cast<UINT>(DTN_DATETIMECHANGE)};
    change.dwFlags = GDT_VALID;
    change.st = date;
    ::SendMessageW(box, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&change));
  }
  // Types into a time list's field over its whole text, a key at a time.
  static void TypeTime(HWND box, int id, const std::wstring& text) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(::GetComboBoxInfo(::GetDlgItem(box, id), &info));
    ::SendMessageW(info.hwndItem, EM_SETSEL, 0, -1);
    for (wchar_t c : text) ::SendMessageW(info.hwndItem, WM_CHAR, c, 1);
  }
  // The keyboard focus leaves a time list.
  static void Leave(HWND box, int id) {
    ::SendMessageW(box, WM_COMMAND, MAKEWPARAM(id, CBN_KILLFOCUS), reinterpret_cast<LPARAM>(::GetDlgItem(box, id)));
  }
  // Chooses a row of a list as a click in its drop-down does.
  static void Choose(HWND box, int id, int row) {
    HWND list = ::GetDlgItem(box, id);
    ::SendMessageW(list, CB_SETCURSEL, row, 0);
    ::SendMessageW(box, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  }
  static int Selected(HWND box, int id) {
    return static_cast<int>(::SendDlgItemMessageW(box, id, CB_GETCURSEL, 0, 0));
  }
  static int Rows(HWND box, int id) { return static_cast<int>(::SendDlgItemMessageW(box, id, CB_GETCOUNT, 0, 0)); }
  static bool Enabled(HWND box, int id) { return ::IsWindowEnabled(::GetDlgItem(box, id)) != FALSE; }

  testing_support::TempFolder logs;
  StoredEvents stored;
};

TEST_F(CalendarNewDlgTest, ANewEventAt2310OpensFrom2330To0030AndSavesWhatIsShown) {
  struct Seen {
    std::wstring startDate, startTime, endDate, endTime, people, cancelledPick;
    int width = 0, height = 0, timeRows = 0, repeatRows = 0, reminderRows = 0, repeat = -1, reminder = -1;
    bool rounded = false, timesEnabled = false, allDay = true, rangeSet = false;
    SYSTEMTIME range[2] = {};
  } seen;
  JorvAutomation::Queue(L"JorvSelectContact", [](JorvCall& call) {
    call.entries->clear();
    for (auto [name, value] : {std::pair{L"Li", 7u}, std::pair{L"Wang", 9u}}) {
      JorvContactEntry entry{};
      ::wcscpy(entry.text, name);
      entry.value = value;
      call.entries->push_back(entry);
    }
    return 1;
  });
  testing_support::AnswerWhenShown user(ResText(L"pim.calendar.newcalendar"), [&](HWND box) {
    RECT window;
    ::GetWindowRect(box, &window);
    seen.width = window.right - window.left;
    seen.height = window.bottom - window.top;
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    seen.rounded = ::GetWindowRgn(box, region) == COMPLEXREGION;
    ::DeleteObject(region);
    seen.startDate = DateShown(box, IDC_CALNEW_START_DATE);
    seen.endDate = DateShown(box, IDC_CALNEW_END_DATE);
    seen.startTime = ControlText(box, IDC_CALNEW_START_TIME);
    seen.endTime = ControlText(box, IDC_CALNEW_END_TIME);
    seen.timeRows = Rows(box, IDC_CALNEW_START_TIME);
    seen.repeatRows = Rows(box, IDC_CALNEW_REPEAT);
    seen.reminderRows = Rows(box, IDC_CALNEW_REMINDER);
    seen.repeat = Selected(box, IDC_CALNEW_REPEAT);
    seen.reminder = Selected(box, IDC_CALNEW_REMINDER);
    seen.timesEnabled = Enabled(box, IDC_CALNEW_START_TIME) && Enabled(box, IDC_CALNEW_END_TIME);
    seen.allDay = ::IsDlgButtonChecked(box, IDC_CALNEW_ALLDAY) == BST_CHECKED;
    seen.rangeSet = ::SendDlgItemMessageW(box, IDC_CALNEW_START_DATE, DTM_GETRANGE, 0,
                                          reinterpret_cast<LPARAM>(seen.range)) == (GDTR_MIN | GDTR_MAX);
    ::SetDlgItemTextW(box, IDC_CALNEW_TOPIC, L"Late call");
    Click(box, IDC_CALNEW_PEOPLE_PICK);
    seen.people = ControlText(box, IDC_CALNEW_PEOPLE);
    Click(box, IDC_CALNEW_PEOPLE_PICK);  // unattended: the picker answers as cancelled
    seen.cancelledPick = ControlText(box, IDC_CALNEW_PEOPLE);
    Choose(box, IDC_CALNEW_REMINDER, 3);
    Click(box, IDOK);
  });
  EXPECT_EQ(RunEventEditor(parent, At(2026, 3, 7, 23, 10), false), 1);
  ASSERT_TRUE(user.acted());
  EXPECT_EQ(seen.width, CCalendarNewDlg::kWidth);
  EXPECT_EQ(seen.height, CCalendarNewDlg::kHeight);
  EXPECT_TRUE(seen.rounded);
  EXPECT_EQ(seen.startDate + L" " + seen.startTime, L"2026-3-7 23:30");
  EXPECT_EQ(seen.endDate + L" " + seen.endTime, L"2026-3-8 00:30");
  EXPECT_EQ(seen.timeRows, 48);
  EXPECT_EQ(std::make_tuple(seen.repeatRows, seen.repeat, seen.reminderRows, seen.reminder),
            std::make_tuple(6, 0, 15, 0));
  EXPECT_TRUE(seen.timesEnabled);
  EXPECT_FALSE(seen.allDay);
  ASSERT_TRUE(seen.rangeSet);
  EXPECT_EQ(std::make_tuple(seen.range[0].wYear, seen.range[0].wMonth, seen.range[0].wDay), std::make_tuple(1901, 1, 1));
  EXPECT_EQ(std::make_tuple(seen.range[1].wYear, seen.range[1].wMonth, seen.range[1].wDay),
            std::make_tuple(2099, 12, 31));
  EXPECT_EQ(seen.people, L"Li;Wang;");
  EXPECT_EQ(seen.cancelledPick, L"Li;Wang;") << "a cancelled pick keeps the people";

  Settle();
  ASSERT_EQ(stored.inserted.size(), 1u);
  const CCalendarData& event = stored.inserted[0];
  EXPECT_EQ(event.m_topic, L"Late call");
  EXPECT_EQ(event.m_start, L"20260307T2330Z");
  EXPECT_EQ(event.m_end, L"20260308T0030Z");
  EXPECT_EQ(event.m_allDay, 0);
  EXPECT_FALSE(Support().Descriptor().m_text.empty());
  EXPECT_EQ(event.m_zone, Support().Descriptor().m_text);
  ASSERT_EQ(event.m_attendees.size(), 2u);
  EXPECT_EQ(std::make_tuple(event.m_attendees[1].m_name, event.m_attendees[1].m_id),
            std::make_tuple(std::wstring(L"Wang"), 9u));
  ASSERT_EQ(event.m_reminders.size(), 1u);
  EXPECT_EQ(event.m_reminders[0].m_minutes, 15);
  auto journal = JorvAutomation::TakeJournal();
  ASSERT_GE(journal.size(), 1u);
  EXPECT_EQ(journal[0].function, L"JorvSelectContact");
  EXPECT_NE(journal[0].owner, nullptr) << "the picker is owned by the editor";
}

TEST_F(CalendarNewDlgTest, AnEditedEventKeepsWhatTheFormCannotShowAndIsUpdated) {
  CCalendarData original;
  original.m_topic = L"Review";
  original.m_start = L"20260311T0910Z";
  original.m_end = L"20260311T1030Z";
  original.m_reserved1 = 5;
  CAttendee li;
  li.m_id = 7;
  li.m_name = L"Li";
  li.m_text2 = L"desk 4";
  original.m_attendees.push_back(li);
  CReminder reminder;
  reminder.m_minutes = 90;
  reminder.m_mode = 1;
  original.m_reminders.push_back(reminder);
  ASSERT_TRUE(Support().Insert(original));
  Settle();
  ASSERT_EQ(stored.inserted.size(), 1u);
  const CCalendarData event = stored.inserted[0];

  std::wstring startTime, reminderText, people, format;
  int startEntry = 0;
  testing_support::AnswerWhenShown user(ResText(L"pim.calendar.editcalendar"), [&](HWND box) {
    startTime = ControlText(box, IDC_CALNEW_START_TIME);
    startEntry = Selected(box, IDC_CALNEW_START_TIME);
    reminderText = ControlText(box, IDC_CALNEW_REMINDER);
    people = ControlText(box, IDC_CALNEW_PEOPLE);
    ::SetDlgItemTextW(box, IDC_CALNEW_TOPIC, L"Review, moved");
    Click(box, IDOK);
  });
  EXPECT_EQ(RunEventEditor(parent, event), 1);
  GetString(L"calendar.reminder.format", format);
  EXPECT_EQ(startTime, L"09:10");
  EXPECT_EQ(startEntry, -1) << "a time off the half hours is typed text";
  EXPECT_EQ(reminderText, wf::FormatText(format.c_str(), 90));
  EXPECT_EQ(people, L"Li;");

  Settle();
  EXPECT_EQ(stored.updates, (std::vector<uint32_t>{0}));
  auto found = EventsOn(2026, 3, 11);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].m_id, event.m_id);
  EXPECT_EQ(found[0].m_topic, L"Review, moved");
  EXPECT_EQ(found[0].m_start, L"20260311T0910Z");
  EXPECT_EQ(found[0].m_reserved1, 5);
  ASSERT_EQ(found[0].m_reminders.size(), 1u);
  EXPECT_EQ(found[0].m_reminders[0].m_minutes, 90);
  ASSERT_EQ(found[0].m_attendees.size(), 1u);
  EXPECT_EQ(found[0].m_attendees[0].m_text2, L"desk 4");
}

TEST_F(CalendarNewDlgTest, ChangingADateOrATimeKeepsTheEndAfterTheStartAndAllDaySavesWholeDays) {
  std::vector<std::wstring> steps;
  bool timesEnabled = true;
  testing_support::AnswerWhenShown user(ResText(L"pim.calendar.newcalendar"), [&](HWND box) {
    auto note = [&] {
      steps.push_back(DateShown(box, IDC_CALNEW_START_DATE) + L" " + ControlText(box, IDC_CALNEW_START_TIME) +
                      L" - " + DateShown(box, IDC_CALNEW_END_DATE) + L" " + ControlText(box, IDC_CALNEW_END_TIME));
    };
    note();
    PickDate(box, IDC_CALNEW_START_DATE, 2026, 3, 9);  // the end follows to the 9th
    note();
    PickDate(box, IDC_CALNEW_END_DATE, 2026, 3, 1);  // the start goes back to the 1st
    note();
    TypeTime(box, IDC_CALNEW_END_TIME, L"8:15");  // counts once the list is left
    note();
    Leave(box, IDC_CALNEW_END_TIME);  // the start an hour earlier
    note();
    Choose(box, IDC_CALNEW_START_TIME, 47);  // 23:30: the end an hour later, the next day
    note();
    ::SendDlgItemMessageW(box, IDC_CALNEW_ALLDAY, BM_CLICK, 0, 0);  // ticks it
    timesEnabled = Enabled(box, IDC_CALNEW_START_TIME) || Enabled(box, IDC_CALNEW_END_TIME);
    Click(box, IDOK);
  });
  EXPECT_EQ(RunEventEditor(parent, At(2026, 3, 7, 9, 0), true), 1);
  EXPECT_EQ(steps, (std::vector<std::wstring>{
                       L"2026-3-7 09:00 - 2026-3-7 09:30",
                       L"2026-3-9 09:00 - 2026-3-9 09:30",
                       L"2026-3-1 09:00 - 2026-3-1 09:30",
                       L"2026-3-1 09:00 - 2026-3-1 8:15",
                       L"2026-3-1 07:15 - 2026-3-1 8:15",
                       L"2026-3-1 23:30 - 2026-3-2 00:30",
                   }));
  EXPECT_FALSE(timesEnabled);
  Settle();
  ASSERT_EQ(stored.inserted.size(), 1u);
  EXPECT_EQ(stored.inserted[0].m_allDay, 1);
  EXPECT_EQ(stored.inserted[0].m_start, L"20260301T0000Z");
  EXPECT_EQ(stored.inserted[0].m_end, L"20260302T2359Z");
}

TEST_F(CalendarNewDlgTest, ARefusedSaveKeepsTheEditorOpenWithTheInput) {
  Support().Close();  // the handset takes no request now
  struct Seen {
    bool openAfterBadTime = false, openAfterRefusal = false;
    std::wstring endTimeKept, topicKept;
  } seen;
  testing_support::AnswerWhenShown user(ResText(L"pim.calendar.newcalendar"), [&](HWND box) {
    ::SetDlgItemTextW(box, IDC_CALNEW_TOPIC, L"Dentist");
    TypeTime(box, IDC_CALNEW_END_TIME, L"25:00");
    Click(box, IDOK);
    seen.openAfterBadTime = ::IsWindowVisible(box) != FALSE;
    seen.endTimeKept = ControlText(box, IDC_CALNEW_END_TIME);
    TypeTime(box, IDC_CALNEW_END_TIME, L"11:00");
    Click(box, IDOK);  // refused by the handset
    seen.openAfterRefusal = ::IsWindowVisible(box) != FALSE;
    seen.topicKept = ControlText(box, IDC_CALNEW_TOPIC);
    ASSERT_TRUE(Support().Open(parent, nullptr, CalendarToolbar{}));
    Click(box, IDOK);
  });
  EXPECT_EQ(RunEventEditor(parent, At(2026, 3, 7, 9, 0), true), 1);
  EXPECT_TRUE(seen.openAfterBadTime);
  EXPECT_EQ(seen.endTimeKept, L"25:00");
  EXPECT_TRUE(seen.openAfterRefusal);
  EXPECT_EQ(seen.topicKept, L"Dentist");
  Settle();
  EXPECT_EQ(ProviderAutomation::CallCount(L"Insert"), 1u);
  ASSERT_EQ(stored.inserted.size(), 1u);
  EXPECT_EQ(stored.inserted[0].m_topic, L"Dentist");
  EXPECT_EQ(stored.inserted[0].m_end, L"20260307T1100Z");
}

TEST_F(CalendarNewDlgTest, OverlongInputIsCutAtTheLimitsOfAnAllDayEvent) {
  std::vector<int> lengths;
  bool ticked = false, timesEnabled = true;
  testing_support::AnswerWhenShown user(ResText(L"pim.calendar.newcalendar"), [&](HWND box) {
    ticked = ::IsDlgButtonChecked(box, IDC_CALNEW_ALLDAY) == BST_CHECKED;
    timesEnabled = Enabled(box, IDC_CALNEW_START_TIME) || Enabled(box, IDC_CALNEW_END_TIME);
    const std::wstring pasted(100, L'\u6587');
    for (int id : {IDC_CALNEW_TOPIC, IDC_CALNEW_ADDRESS, IDC_CALNEW_REMARK}) {
      ::SendDlgItemMessageW(box, id, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
      lengths.push_back(::GetWindowTextLengthW(::GetDlgItem(box, id)));
    }
    Click(box, IDOK);
  });
  EXPECT_EQ(RunEventEditor(parent, At(2026, 3, 7, 0, kAllDayMinute), true), 1);
  EXPECT_TRUE(ticked);
  EXPECT_FALSE(timesEnabled);
  EXPECT_EQ(lengths, (std::vector<int>{48, 48, 64}));
  Settle();
  ASSERT_EQ(stored.inserted.size(), 1u);
  EXPECT_EQ(stored.inserted[0].m_topic, std::wstring(48, L'\u6587'));
  EXPECT_EQ(stored.inserted[0].m_remark.size(), 64u);
  EXPECT_EQ(stored.inserted[0].m_start, L"20260307T0000Z");
  EXPECT_EQ(stored.inserted[0].m_end, L"20260307T2359Z");
}

}  // namespace
