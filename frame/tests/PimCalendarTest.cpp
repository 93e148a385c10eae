// The calendar page of the main window against the simulated handset: the
// first visit reads the calendar into the list, the view buttons switch to
// the month view, the mini month calendar and the views follow one selected
// day, and today moves at midnight.
#include "PimContactsFixture.h"
#include "calendar/CalendarSupport.h"
#include "calendar/MonthGrid.h"

namespace pim_contacts_test {
namespace {

using Calendar::CCalendarData;

CCalendarSupport& Support() { return CCalendarSupport::GetInstance(); }

CCalendarData Event(const std::wstring& day, const wchar_t* from, const wchar_t* to, const std::wstring& topic) {
  CCalendarData e;
  e.m_start = day + L"T" + from + L"Z";
  e.m_end = day + L"T" + to + L"Z";
  e.m_topic = topic;
  return e;
}

class PimCalendarTest : public PimContactsTest {
 protected:
  void SetUp() override {
    PimContactsTest::SetUp();
    ProviderAutomation::ResetHandset(ProviderAutomation::Sample{});  // no events but ours
    ProviderAutomation::WaitIdle();
    wf::SetClock([this] { return now; });
    // The selected day belongs to the process, not to one window.
    Support().SetSelectedDate(CCHSDate(2026, 3, 7));
  }
  // Shows the window with `events` on the handset and opens the calendar tab.
  void OpenCalendar(const std::vector<CCalendarData>& events) {
    CreateAndShow();
    for (CCalendarData event : events) ASSERT_TRUE(Support().Insert(event));
    Settle();
    window->Tabs().SendMessage(TCM_SETCURSEL, 2);
    NMHDR change{window->Tabs(), IDC_MODULE_TAB, static_cast<UINT>(TCN_SELCHANGE)};
    window->SendMessage(WM_NOTIFY, IDC_MODULE_TAB, reinterpret_cast<LPARAM>(&change));
    Settle();
  }
  CCalendarOperate& calendar() { return window->Calendar(); }
  std::vector<std::wstring> Topics() {
    std::vector<std::wstring> topics;
    const Calendar::CCalendarRows& rows = calendar().Rows();
    for (int row = 0; row < rows.RowCount(); ++row)
      if (rows.IsEventRow(row)) topics.push_back(rows.At(row).event.m_topic);
    return topics;
  }
  // A click (or double-click) in the middle of `rc` of a window.
  static void ClickIn(HWND target, const RECT& rc, bool twice = false) {
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(target, WM_LBUTTONUP, 0, at);
    if (twice) {
      ::SendMessageW(target, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
      ::SendMessageW(target, WM_LBUTTONUP, 0, at);
    }
  }
  const Calendar::MiniCell* MiniCellOf(const Calendar::MiniMonthLayout& layout, int block, const CCHSDate& day) {
    for (const Calendar::MiniCell& cell : layout.blocks[block].cells)
      if (cell.day == day) return &cell;
    return nullptr;
  }
  const Calendar::MonthCell* MonthCellOf(const Calendar::MonthBodyLayout& layout, const CCHSDate& day) {
    for (const Calendar::MonthCell& cell : layout.cells)
      if (cell.day == day) return &cell;
    return nullptr;
  }
  SYSTEMTIME now{2026, 3, 6, 7, 10, 0, 0, 0};  // Saturday 7 March 2026, 10:00
};

TEST_F(PimCalendarTest, TheFirstVisitListsTheMonthAndTheMiniCalendarMarksItsEventDays) {
  OpenCalendar({Event(L"20260305", L"0900", L"1000", L"Dentist"), Event(L"20260307", L"1800", L"1900", L"Dinner"),
                Event(L"20260415", L"0900", L"1000", L"Trip"), Event(L"20260601", L"0900", L"1000", L"Later")});
  EXPECT_EQ(Topics(), (std::vector<std::wstring>{L"Dentist", L"Dinner"})) << "the selected month only";
  // Both blocks (March and April) know their event days; June is not shown.
  const std::vector<CCHSDate>& days = window->MiniCalendar().EventDays();
  EXPECT_EQ(days, (std::vector<CCHSDate>{CCHSDate(2026, 3, 5), CCHSDate(2026, 3, 7), CCHSDate(2026, 4, 15)}));
  Calendar::MiniMonthLayout mini = window->MiniCalendar().CurrentLayout();
  const Calendar::MiniCell* trip = MiniCellOf(mini, 1, CCHSDate(2026, 4, 15));
  ASSERT_NE(trip, nullptr);
  EXPECT_TRUE(trip->bold);
  EXPECT_FALSE(MiniCellOf(mini, 1, CCHSDate(2026, 4, 16))->bold);

  // A click on 15 April in the lower block: the blocks stay, the list shows April.
  ClickIn(window->MiniCalendar(), trip->rect);
  Settle();
  EXPECT_EQ(Support().GetSelectedDate(), CCHSDate(2026, 4, 15));
  EXPECT_EQ(window->MiniCalendar().ShownMonth(), CCHSDate(2026, 3, 1));
  EXPECT_EQ(Topics(), std::vector<std::wstring>{L"Trip"});
}

TEST_F(PimCalendarTest, TheMonthViewFollowsTheSelectedDayAndADoubleClickOnADayShowsTheDayView) {
  OpenCalendar({Event(L"20260310", L"0900", L"1000", L"Standup"), Event(L"20260430", L"0900", L"1000", L"Review")});
  Press(IDC_CALENDAR_VIEW_MONTH);
  Settle();
  CCalendarViewCtrl& view = window->CalendarView();
  EXPECT_EQ(view.ViewMode(), CCalendarViewCtrl::kMonth);
  EXPECT_TRUE(::IsWindowVisible(view));
  EXPECT_FALSE(::IsWindowVisible(window->CalendarList())) << "the list gives way to the view";
  Calendar::MonthBodyLayout month = view.MonthBody().CurrentLayout();
  EXPECT_EQ(month.gridStart, CCHSDate(2026, 3, 1));
  ASSERT_EQ(month.lines.size(), 1u) << "April's event lies beyond the grid";
  EXPECT_EQ(month.lines[0].topic, L"Standup");

  // The header's next month: 7 April; the grid starts on 29 March and shows
  // the review, which the first answer already brought.
  ProviderAutomation::ResetCallCounts();
  Calendar::MonthHeaderLayout header = Calendar::LayoutMonthHeader(view.GetClientRect().right, CCHSDate(2026, 3, 7));
  ClickIn(view, header.buttons[static_cast<int>(Calendar::MonthHeaderButton::NextMonth)]);
  Settle();
  EXPECT_EQ(Support().GetSelectedDate(), CCHSDate(2026, 4, 7));
  month = view.MonthBody().CurrentLayout();
  EXPECT_EQ(month.gridStart, CCHSDate(2026, 3, 29));
  ASSERT_EQ(month.lines.size(), 1u);
  EXPECT_EQ(month.lines[0].topic, L"Review");
  EXPECT_EQ(window->MiniCalendar().ShownMonth(), CCHSDate(2026, 3, 1)) << "April is the mini calendar's lower block";

  // A double-click on an event line opens it in the editor; on a day it
  // selects the day and shows the day view.
  std::wstring topic;
  testing_support::AnswerWhenShown editor(ResText(L"pim.calendar.editcalendar"), [&](HWND box) {
    wchar_t text[64] = {};
    ::GetDlgItemTextW(box, IDC_CALNEW_TOPIC, text, 64);
    topic = text;
    testing_support::PressButton(box, IDCANCEL);
  });
  const RECT line = month.lines[0].rect;
  ::PostMessageW(view.MonthBody(), WM_LBUTTONDBLCLK, MK_LBUTTON,
                 MAKELPARAM((line.left + line.right) / 2, (line.top + line.bottom) / 2));
  Settle();
  EXPECT_TRUE(editor.acted());
  EXPECT_EQ(topic, L"Review");
  EXPECT_EQ(view.ViewMode(), CCalendarViewCtrl::kMonth);
  const Calendar::MonthCell* ninth = MonthCellOf(month, CCHSDate(2026, 4, 9));
  ASSERT_NE(ninth, nullptr);
  ClickIn(view.MonthBody(), ninth->strip, true);
  Settle();
  EXPECT_EQ(Support().GetSelectedDate(), CCHSDate(2026, 4, 9));
  EXPECT_EQ(view.ViewMode(), CCalendarViewCtrl::kDay);
  EXPECT_EQ(window->CalendarViewButton(), CPimWnd::kViewDay);

  // Back to the list: the selected month is listed.
  Press(IDC_CALENDAR_VIEW_LIST);
  Settle();
  EXPECT_EQ(view.ViewMode(), CCalendarViewCtrl::kNone);
  EXPECT_TRUE(::IsWindowVisible(window->CalendarList()));
  EXPECT_EQ(Topics(), std::vector<std::wstring>{L"Review"});
}

// Saturday 7 March 2026, 10:00: a weekly event made in the editor lands on
// every Saturday from the 7th in each view, and on no other day.
TEST_F(PimCalendarTest, AWeeklyEventMadeInTheEditorShowsOnItsDaysInEveryView) {
  OpenCalendar({});
  testing_support::AnswerWhenShown user(ResText(L"pim.calendar.newcalendar"), [&](HWND box) {
    ::SetDlgItemTextW(box, IDC_CALNEW_TOPIC, L"Swimming");
    HWND repeat = ::GetDlgItem(box, IDC_CALNEW_REPEAT);
    ::SendMessageW(repeat, CB_SETCURSEL, 3, 0);  // weekly
    ::SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDC_CALNEW_REPEAT, CBN_SELCHANGE), reinterpret_cast<LPARAM>(repeat));
    testing_support::PressButton(box, IDOK);
  });
  Press(IDC_CALENDAR_NEW);
  Settle();
  ASSERT_TRUE(user.acted());
  ASSERT_EQ(ProviderAutomation::GetCounts().events, 1u);
  EXPECT_EQ(Topics(), std::vector<std::wstring>(4, L"Swimming")) << "the list: the four Saturdays of March";

  CCalendarViewCtrl& view = window->CalendarView();
  Press(IDC_CALENDAR_VIEW_MONTH);
  Settle();
  std::vector<CCHSDate> days;
  Calendar::MonthBodyLayout month = view.MonthBody().CurrentLayout();
  for (const Calendar::MonthEventLine& line : month.lines)
    if (line.topic == L"Swimming") days.push_back(month.cells[static_cast<size_t>(line.cell)].day);
  EXPECT_EQ(days, (std::vector<CCHSDate>{CCHSDate(2026, 3, 7), CCHSDate(2026, 3, 14), CCHSDate(2026, 3, 21),
                                         CCHSDate(2026, 3, 28), CCHSDate(2026, 4, 4), CCHSDate(2026, 4, 11)}));

  // The week of the 7th: one box, in Saturday's column, 10:30 to 11:00.
  Press(IDC_CALENDAR_VIEW_WEEK);
  Settle();
  Calendar::TimeBodyLayout week = view.WeekBody().CurrentLayout();
  ASSERT_EQ(week.boxes.size(), 1u);
  EXPECT_EQ(week.boxes[0].column, 6);
  EXPECT_FLOAT_EQ(week.boxes[0].rect.Y, 630.0f);
  EXPECT_FLOAT_EQ(week.boxes[0].rect.Height, 30.0f);

  // The day view of Saturday the 14th shows it, Friday the 13th nothing.
  Press(IDC_CALENDAR_VIEW_DAY);
  Support().SetSelectedDate(CCHSDate(2026, 3, 14));
  Support().NotifyDateChanged();
  Settle();
  ASSERT_EQ(view.DayBody().CurrentLayout().boxes.size(), 1u);
  EXPECT_EQ(view.DayBody().CurrentLayout().boxes[0].topic, L"Swimming");
  Support().SetSelectedDate(CCHSDate(2026, 3, 13));
  Support().NotifyDateChanged();
  Settle();
  EXPECT_TRUE(view.DayBody().CurrentLayout().boxes.empty());
}

TEST_F(PimCalendarTest, DeletingAsksFirstAndTheShortcutsWantTheRightSelection) {
  OpenCalendar({Event(L"20260302", L"0900", L"1000", L"One"), Event(L"20260303", L"0900", L"1000", L"Two")});
  CQsSuperGrid& list = window->CalendarList();
  const Calendar::CCalendarRows& rows = calendar().Rows();
  list.ClearSelection();
  JorvAutomation::TakeJournal();
  list.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
  std::vector<JorvCall> boxes = Calls(L"JorvMessageBox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, ResText(L"pim.calendar.del.nosel"));

  std::vector<int> events;
  for (int row = 0; row < rows.RowCount(); ++row)
    if (rows.IsEventRow(row)) events.push_back(row);
  ASSERT_EQ(events.size(), 2u);
  for (int row : events) list.SelectRow(row);
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  list.SendMessage(WM_KEYDOWN, 'E', 0);
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
  boxes = Calls(L"JorvMessageBox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, ResText(L"pim.calendar.edit.notonly"));

  // Delete with both selected: asked, then both leave the handset and the list.
  JorvAutomation::QueueAnswer(L"JorvMessageBox", 1);
  list.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
  Settle();
  EXPECT_EQ(ProviderAutomation::GetCounts().events, 0u);
  EXPECT_TRUE(Topics().empty());

  // Multi-delete holds the shortcuts back.
  JorvAutomation::TakeJournal();
  Press(IDC_CALENDAR_DELETESOME);
  list.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_TRUE(Calls(L"JorvMessageBox").empty());
  EXPECT_FALSE(::IsWindowEnabled(window->MiniCalendar()));
  Press(IDC_MULTIDELETE_CANCEL);
  EXPECT_TRUE(::IsWindowEnabled(window->MiniCalendar()));
}

TEST_F(PimCalendarTest, TodayMovesInTheMiniCalendarAtTheFirstTickOfANewDay) {
  now = SYSTEMTIME{2026, 12, 4, 31, 23, 59, 59, 0};
  Support().SetSelectedDate(CCHSDate(2026, 12, 31));
  OpenCalendar({});
  CCalendarCtrl& mini = window->MiniCalendar();
  window->SendMessage(WM_TIMER, kDateTimer);
  auto todayOf = [&] {
    Calendar::MiniMonthLayout layout = mini.CurrentLayout();
    for (const Calendar::MiniBlock& block : layout.blocks)
      for (const Calendar::MiniCell& cell : block.cells)
        if (cell.today && cell.inMonth) return cell.day;
    return CCHSDate();
  };
  EXPECT_EQ(todayOf(), CCHSDate(2026, 12, 31));
  // Drawn; a tick of the same day asks for nothing, the first of a new day
  // draws the mini calendar again with 1 January as today.
  ::UpdateWindow(mini);
  window->SendMessage(WM_TIMER, kDateTimer);
  EXPECT_FALSE(::GetUpdateRect(mini, nullptr, FALSE));
  now = SYSTEMTIME{2027, 1, 5, 1, 0, 0, 1, 0};
  window->SendMessage(WM_TIMER, kDateTimer);
  EXPECT_TRUE(::GetUpdateRect(mini, nullptr, FALSE));
  EXPECT_EQ(todayOf(), CCHSDate(2027, 1, 1)) << "January is the lower block";
}

}  // namespace
}  // namespace pim_contacts_test
