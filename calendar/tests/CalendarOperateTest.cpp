// The calendar's support and list controller against the simulated handset:
// a stand-in main window that records the private messages it is sent, a real
// super grid, and events saved to the handset and read back through the
// month query, the search and the delete, as the list shows them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "TestSupport.h"
#include "calendar/CalendarOperate.h"
#include "calendar/CalendarSupport.h"
#include "content/PimMessages.h"
#include "controls/ResText.h"
#include "controls/SuperGrid.h"
#include "frame/AppInterface.h"
#include "frame/resmodule/PimResIds.h"
#include "framework/Clock.h"
#include "framework/Module.h"
#include "provider/ProviderAutomation.h"
#include "standins/base/LogControl.h"
#include "standins/connect/ConnectControl.h"
#include "standins/dialogs/JorvAutomation.h"

using namespace Calendar;
using qs::ResText;

namespace {

CCalendarSupport& Support() { return CCalendarSupport::GetInstance(); }

// The private messages the main window was sent, in order.
std::vector<std::tuple<UINT, WPARAM, LPARAM>> g_mainMessages;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == pim_msg::kHideWait || message == pim_msg::kShowEventDetail || message == pim_msg::kEditEvent) {
    g_mainMessages.emplace_back(message, wParam, lParam);
    // As the main window does: the delete's wait box goes.
    if (message == pim_msg::kHideWait) JorvWaitDynamicHideEx(reinterpret_cast<HANDLE>(lParam));
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

struct RecordingHost : IAppHost {
  HWND GetHostWindow() override { return nullptr; }
  void ActivateApp(const std::wstring&) override {}
  void ShowTrayTip(int32_t, const std::wstring&) override {}
  void SetRunningTask(const std::wstring& text, bool running) override { tasks.emplace_back(text, running); }
  std::vector<std::pair<std::wstring, bool>> tasks;
};

// Another calendar part: writes which answers reached it.
struct RecordingListener : CDataProviderCallback {
  RecordingListener(std::vector<std::wstring>& journal, std::wstring name) : journal(journal), name(std::move(name)) {}
  bool OnRefreshComplete(const std::wstring&, uint32_t) override { return Note(L"refresh"); }
  bool OnReturnById(const std::wstring&, uint32_t, const ContentList&) override { return Note(L"byid"); }
  bool OnReturnDates(const std::wstring&, uint32_t, const DayList&) override { return Note(L"dates"); }
  bool Note(const wchar_t* what) {
    journal.push_back(name + L":" + what);
    return true;
  }
  std::vector<std::wstring>& journal;
  std::wstring name;
};

CCalendarData Event(const std::wstring& start, const std::wstring& end, const std::wstring& topic) {
  CCalendarData e;
  e.m_start = start;
  e.m_end = end;
  e.m_topic = topic;
  return e;
}

class CalendarOperateTest : public ::testing::Test {
 protected:
  // The plug-in's resource module: the detail popup is made from its template.
  static void SetUpTestSuite() {
    resources = ::LoadLibraryW((testing_support::ProgramFolder() + L"\\PimRes.dll").c_str());
    ASSERT_NE(resources, nullptr);
  }
  static inline HMODULE resources = nullptr;

  void SetUp() override {
    wf::SetResourceInstance(resources);
    g_mainMessages.clear();
    LOG::SetLogRoot(logs.path());
    JorvAutomation::Reset();
    JorvAutomation::SetUnattended(true);
    ProviderAutomation::ClearFaults();
    ProviderAutomation::ResetHandset(ProviderAutomation::Sample{});
    ProviderAutomation::WaitIdle();
    SetDeviceConnected(true);
    wf::SetClock([] { return SYSTEMTIME{2026, 3, 6, 7, 10, 0, 0, 0}; });  // Saturday 7 March 2026, 10:00

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"CalendarTestMain";
    ::RegisterClassExW(&wc);
    main = ::CreateWindowExW(0, wc.lpszClassName, L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1000, 600, nullptr,
                             nullptr, wc.hInstance, nullptr);
    ASSERT_NE(main, nullptr);
    HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, L"",
                                  WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 187, 36, 800,
                                  500, main, reinterpret_cast<HMENU>(IDC_CALENDAR_LIST), wc.hInstance, nullptr);
    ASSERT_TRUE(grid.SubclassWindow(list));
    auto child = [&](const wchar_t* cls) {
      return ::CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, main, nullptr, wc.hInstance, nullptr);
    };
    for (int i = 0; i < 6; ++i) toolbar.buttons.push_back(child(L"BUTTON"));
    toolbar.deleteButton = child(L"BUTTON");
    toolbar.search = child(L"EDIT");
    toolbar.busy = child(L"STATIC");
    ::ShowWindow(toolbar.busy, SW_HIDE);
    toolbar.hasEvents = [this] { return operate && operate->HasEvents(); };

    Support().SetSelectedDate(CCHSDate(2026, 3, 7));
    ASSERT_TRUE(Support().Open(main, &host, toolbar));
    operate = std::make_unique<CCalendarOperate>();
    operate->InitList({main, &grid, toolbar.deleteButton, &host});
    Settle();
    ProviderAutomation::ResetCallCounts();
    JorvAutomation::TakeJournal();
  }
  void TearDown() override {
    Support().RemoveListener(&first);
    Support().RemoveListener(&second);
    operate.reset();
    Support().Close();
    ProviderAutomation::WaitIdle();
    ::DestroyWindow(main);
    wf::SetClock({});
    JorvAutomation::Reset();
    LOG::SetLogRoot(L"");
  }

  // Until every answer asked for has arrived and what it posted has run.
  void Settle() {
    for (int pass = 0; pass < 50; ++pass) {
      ProviderAutomation::WaitIdle();
      MSG msg;
      if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) return;
      testing_support::PumpMessages();
    }
  }
  void Save(CCalendarData event) {
    ASSERT_TRUE(Support().Insert(event));
    Settle();
  }
  void SelectDay(int year, int month, int day) {
    Support().SetSelectedDate(CCHSDate(year, month, day));
    Support().NotifyDateChanged();
  }
  // A cell as assistive technology reads it.
  std::wstring Text(int row, int column) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    grid.SendMessage(LVM_GETITEMTEXTW, grid.ItemFromRow(row), reinterpret_cast<LPARAM>(&item));
    return text;
  }
  std::vector<std::wstring> Topics() {
    std::vector<std::wstring> topics;
    for (int row = 0; row < operate->Rows().RowCount(); ++row)
      topics.push_back(operate->Rows().IsEventRow(row) ? Text(row, kColumnTopic) : L"# " + Text(row, 0));
    return topics;
  }
  std::vector<JorvCall> MessageBoxes() {
    std::vector<JorvCall> found;
    for (JorvCall& call : JorvAutomation::TakeJournal())
      if (call.function == L"JorvMessageBox") found.push_back(call);
    return found;
  }
  bool Enabled(HWND window) { return ::IsWindowEnabled(window) != FALSE; }
  // The six buttons, the search field and the delete button enabled; the busy indicator shown.
  std::vector<bool> Toolbar() {
    std::vector<bool> states;
    for (HWND button : toolbar.buttons) states.push_back(Enabled(button));
    states.insert(states.end(), {Enabled(toolbar.search), Enabled(toolbar.deleteButton), !!::IsWindowVisible(toolbar.busy)});
    return states;
  }

  testing_support::TempFolder logs;
  HWND main = nullptr;
  CQsSuperGrid grid;
  CalendarToolbar toolbar;
  RecordingHost host;
  std::unique_ptr<CCalendarOperate> operate;
  std::vector<std::wstring> journal;
  RecordingListener first{journal, L"first"}, second{journal, L"second"};
};

TEST_F(CalendarOperateTest, TheListAsksForItsMonthAndAgainOnlyWhenTheMonthChanges) {
  // March asks for 20260227..20260331, January for 20251230..20260131.
  for (const wchar_t* day : {L"20251229", L"20251230", L"20260131", L"20260226", L"20260227", L"20260331", L"20260401"})
    Save(Event(std::wstring(day) + L"T0800Z", std::wstring(day) + L"T0900Z", day));
  EXPECT_EQ(Topics(), (std::vector<std::wstring>{L"# 2026-02-27", L"20260227", L"# 2026-03-31", L"20260331"}));

  ProviderAutomation::ResetCallCounts();
  SelectDay(2026, 3, 31);
  EXPECT_EQ(ProviderAutomation::CallCount(L"QueryByDate"), 0u);
  SelectDay(2026, 1, 15);
  EXPECT_EQ(ProviderAutomation::CallCount(L"QueryByDate"), 1u);
  Settle();
  EXPECT_EQ(Topics(), (std::vector<std::wstring>{L"# 2025-12-30", L"20251230", L"# 2026-01-31", L"20260131"}));
  SelectDay(2025, 1, 15);  // the same month of another year
  EXPECT_EQ(ProviderAutomation::CallCount(L"QueryByDate"), 2u);
  Settle();
  EXPECT_TRUE(Topics().empty());
  EXPECT_FALSE(operate->HasEvents());
  EXPECT_FALSE(Enabled(toolbar.deleteButton));

  // Another view shows the calendar: the list does not follow.
  operate->SetListMode(false);
  SelectDay(2026, 3, 7);
  EXPECT_EQ(ProviderAutomation::CallCount(L"QueryByDate"), 2u);
}

TEST_F(CalendarOperateTest, TodayTomorrowAndAnAllDayEventAsTheListShowsThem) {
  CCalendarData holiday = Event(L"20260307T0000Z", L"20260307T2359Z", L"Holiday");
  holiday.m_allDay = 1;
  Save(holiday);
  CCalendarData meeting = Event(L"20260308T0930Z", L"20260308T1000Z", L"Meeting");
  CAttendee li, wang;
  li.m_name = L"Li";
  wang.m_name = L"Wang";
  meeting.m_attendees = {li, wang};
  Save(meeting);
  Save(Event(L"20260320T1400Z", L"20260320T1500Z", L"Later"));

  EXPECT_EQ(Topics(), (std::vector<std::wstring>{L"# " + ResText(L"pim_calendar_today"), L"Holiday",
                                                 L"# " + ResText(L"pim.calendar.tomorrow"), L"Meeting",
                                                 L"# 2026-03-20", L"Later"}));
  EXPECT_EQ(Text(1, kColumnTime), L"00:00-23:59");
  EXPECT_EQ(Text(3, kColumnTime), L"09:30-10:00");
  EXPECT_EQ(Text(3, kColumnPeople), L"Li;Wang");
  EXPECT_EQ(grid.GetSelectedRows(), (std::vector<int>{0}));  // the selected day's header
  EXPECT_TRUE(Enabled(toolbar.deleteButton));

  operate->ShowDetail(3);
  EXPECT_EQ(operate->DetailEvent().m_end, L"20260308T1000Z");  // a timed event keeps its end
  operate->ShowDetail(1);
  ASSERT_TRUE(operate->IsDetailShown());
  EXPECT_EQ(operate->DetailEvent().m_topic, L"Holiday");
  EXPECT_EQ(HourMinuteText(operate->DetailEvent().m_end), L"23:59");
  RECT list = grid.GetWindowRect(), place = operate->DetailRect();
  EXPECT_EQ(std::make_tuple(place.left, place.top, place.right - place.left, place.bottom - place.top),
            std::make_tuple(list.right - 339, list.top + 20, 320L, 240L));
  operate->HideDetail();
  operate->ShowDetail(2);  // a header has no detail
  EXPECT_FALSE(operate->IsDetailShown());

  grid.ClearSelection();
  grid.SelectRow(1);
  std::vector<std::vector<int>> steps;
  for (bool down : {true, true, true, false}) {
    operate->MoveSelection(down);
    steps.push_back(grid.GetSelectedRows());
  }
  EXPECT_EQ(steps, (std::vector<std::vector<int>>{{3}, {5}, {5}, {3}}));
}

TEST_F(CalendarOperateTest, DeletingNeedsAnEventAndTheUsersYes) {
  Save(Event(L"20260307T0800Z", L"20260307T0900Z", L"One"));
  Save(Event(L"20260307T0900Z", L"20260307T1000Z", L"Two"));
  ASSERT_EQ(Topics().size(), 3u);
  ProviderAutomation::ResetCallCounts();

  operate->DeleteChecked();
  operate->DeleteRow(0);  // a day header
  auto boxes = MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  for (const JorvCall& box : boxes)
    EXPECT_EQ(std::tie(box.text, box.caption, box.kind),
              std::make_tuple(ResText(L"pim.calendar.del.nosel"), ResText(L"common.messagebox.tamixtip"), JORV_MB_NOTICE));
  EXPECT_EQ(ProviderAutomation::CallCount(L"Delete"), 0u);

  // Ticked, then the question cancelled: nothing goes and the tick is cleared.
  operate->OnCellClick(2, kColumnCheck, -1, 0);
  EXPECT_EQ(operate->Rows().TickedIds(), (IdList{operate->Rows().At(2).event.m_id}));
  operate->DeleteChecked();
  boxes = MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(std::tie(boxes[0].text, boxes[0].kind), std::make_tuple(ResText(L"pim.calendar.delete.sure"), JORV_MB_CONFIRM));
  EXPECT_EQ(ProviderAutomation::CallCount(L"Delete"), 0u);
  EXPECT_EQ(operate->Rows().TickedCount(), 0);

  operate->OnCellClick(2, kColumnCheck, -1, 0);
  JorvAutomation::QueueAnswer(L"JorvMessageBox", 1);
  operate->DeleteChecked();
  EXPECT_EQ(ProviderAutomation::CallCount(L"Delete"), 1u);
  HANDLE wait = Support().WaitBox();
  ASSERT_NE(wait, nullptr);
  EXPECT_EQ(JorvAutomation::OpenWaitCount(), 1);
  Settle();
  EXPECT_EQ(g_mainMessages, (std::vector<std::tuple<UINT, WPARAM, LPARAM>>{
                                {pim_msg::kHideWait, pim_msg::kModuleCalendar, reinterpret_cast<LPARAM>(wait)}}));
  EXPECT_EQ(JorvAutomation::OpenWaitCount(), 0);
  EXPECT_EQ(Topics(), (std::vector<std::wstring>{L"# " + ResText(L"pim_calendar_today"), L"One"}));

  // The row's own delete action: one event, no wait box.
  JorvAutomation::QueueAnswer(L"JorvMessageBox", 1);
  operate->OnCellClick(1, kColumnActions, kActionDelete, 0);
  Settle();
  EXPECT_EQ(ProviderAutomation::CallCount(L"Delete"), 2u);
  EXPECT_TRUE(Topics().empty());
  EXPECT_FALSE(Enabled(toolbar.deleteButton));
}

TEST_F(CalendarOperateTest, AnswersReachListenersInOrderOnlyWithTheCalendarsUri) {
  Support().AddListener(&first);
  Support().AddListener(&second);
  Support().AddListener(&first);  // once only

  // From the library's own thread: another store's refresh is not the
  // calendar's; a single-event answer goes to every part whatever its URI.
  bool done = false;
  std::thread library([&] {
    Support().OnRefreshComplete(L"content://contact", 0);
    Support().OnReturnById(L"content://contact/contact", 0, ContentList{});
    done = true;
  });
  EXPECT_TRUE(testing_support::PumpUntil([&] { return done; }));
  library.join();
  testing_support::PumpMessages();
  EXPECT_EQ(journal, (std::vector<std::wstring>{L"first:byid", L"second:byid"}));
  EXPECT_EQ(g_mainMessages, (std::vector<std::tuple<UINT, WPARAM, LPARAM>>{{pim_msg::kEditEvent, 0, 0}}));

  journal.clear();
  operate->RefreshList();
  const std::vector<bool> refreshing{false, false, false, false, false, false, false, false, true};
  EXPECT_EQ(Toolbar(), refreshing);
  EXPECT_EQ(host.tasks.back(), std::make_pair(ResText(L"common.tamixtip.runningtask"), true));
  // Before the calendar's own answer can arrive (nothing is pumped yet).
  Support().OnRefreshComplete(L"content://contact", 0);
  EXPECT_TRUE(journal.empty());
  EXPECT_EQ(Toolbar(), refreshing);
  EXPECT_TRUE(Support().IsRefreshing());

  ProviderAutomation::ResetCallCounts();
  Settle();  // the calendar's own refresh answer
  EXPECT_EQ(journal, (std::vector<std::wstring>{L"first:refresh", L"second:refresh"}));
  // All back on but delete: there is nothing to delete on an empty handset.
  EXPECT_EQ(Toolbar(), (std::vector<bool>{true, true, true, true, true, true, true, false, false}));
  EXPECT_EQ(host.tasks.back(), std::make_pair(std::wstring(), false));
  EXPECT_EQ(ProviderAutomation::CallCount(L"QueryByDate"), 1u);  // the list's month, read again
  EXPECT_FALSE(Support().Descriptor().m_text.empty());

  // The event-day answer carries the date query's URI and still arrives.
  journal.clear();
  ASSERT_TRUE(Support().QueryEventDays(CCHSDate(2026, 3, 1), CCHSDate(2026, 3, 31)));
  Settle();
  EXPECT_EQ(journal, (std::vector<std::wstring>{L"first:dates", L"second:dates"}));
}

TEST_F(CalendarOperateTest, ASearchCanAskForItsFindToBeShownAndAClosedSupportAsksNothing) {
  Save(Event(L"20260307T1200Z", L"20260307T1300Z", L"Lunch"));
  Save(Event(L"20260410T0800Z", L"20260410T0900Z", L"Dentist"));
  operate->Search(L"dentist", true);
  Settle();
  EXPECT_EQ(Topics(), (std::vector<std::wstring>{L"# 2026-04-10", L"Dentist"}));
  EXPECT_EQ(g_mainMessages, (std::vector<std::tuple<UINT, WPARAM, LPARAM>>{{pim_msg::kShowEventDetail, 1, 0}}));

  Support().Close();
  ProviderAutomation::ResetCallCounts();
  EXPECT_FALSE(Support().Refresh());
  EXPECT_FALSE(Support().DeleteOne(1));
  EXPECT_FALSE(Support().DeleteMany(IdList{1}));
  EXPECT_FALSE(Support().QueryEventDays(CCHSDate(2026, 3, 1), CCHSDate(2026, 3, 31)));
  EXPECT_FALSE(Support().QueryEvents(CCHSDate(2026, 3, 1), CCHSDate(2026, 3, 31)));
  EXPECT_FALSE(Support().Search(L"x"));
  operate->RefreshList();
  for (const wchar_t* call : {L"DeleteProvider", L"Delete", L"QueryByDate", L"SearchContact"})
    EXPECT_EQ(ProviderAutomation::CallCount(call), 0u) << call;
  EXPECT_EQ(JorvAutomation::OpenWaitCount(), 0);
  EXPECT_TRUE(Enabled(toolbar.buttons[0]));  // no refresh began, so nothing waits to be re-enabled
}

TEST_F(CalendarOperateTest, ClosingDialogsClosesOnlyTheCalendarsOwn) {
  auto topLevel = [](const std::wstring& title) {
    return ::CreateWindowExW(0, L"STATIC", title.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  };
  HWND tip = topLevel(ResText(L"common.messagebox.tamixtip"));
  HWND editor = topLevel(ResText(L"pim.calendar.editcalendar"));
  HWND other = topLevel(L"Something else");
  operate->CloseDialogs();
  EXPECT_FALSE(::IsWindow(tip));
  EXPECT_FALSE(::IsWindow(editor));
  EXPECT_TRUE(::IsWindow(other));
  ::DestroyWindow(other);
}

}  // namespace
