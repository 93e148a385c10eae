// The event detail popup of the calendar list: what its rows say (the plain
// row building), and the popup made from the resource module's template as
// the list controller drives it: placed and rounded at its rectangle, never
// taking the activation, its edit link calling back with the event, hidden on
// request and with the window it belongs to.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "PimDialogTest.h"
#include "calendar/CalendarDetailWnd.h"
#include "calendar/CalendarOperate.h"
#include "frame/suite/ResourceLibrary.h"

namespace {

using Calendar::CAttendee;
using Calendar::CCalendarData;
using Calendar::DetailRow;

std::wstring Text(const wchar_t* key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

Calendar::DetailWords Words() {
  Calendar::DetailWords words;
  words.time = L"T";
  words.address = L"A";
  words.people = L"P";
  words.remark = L"R";
  const wchar_t* const days[7] = {L"Sun!", L"Mon!", L"Tue!", L"Wed!", L"Thu!", L"Fri!", L"Sat!"};
  for (int i = 0; i < 7; ++i) words.weekdays[i] = days[i];
  return words;
}

CAttendee Attendee(const wchar_t* name, ContentId id) {
  CAttendee attendee;
  attendee.m_name = name;
  attendee.m_id = id;
  return attendee;
}

// Wednesday 11 March 2026, 09:30 to 11:05.
CCalendarData Meeting() {
  CCalendarData event;
  event.m_id = 42;
  event.m_topic = L"Budget review";
  event.m_address = L"Room 4";
  event.m_remark = L"Bring the figures";
  event.m_start = L"20260311T0930Z";
  event.m_end = L"20260311T1105Z";
  return event;
}

TEST(CalendarDetailRows, TimeRowCarriesTheStartsWeekdayAndBothTimes) {
  const Calendar::DetailWords words = Words();
  EXPECT_EQ(Calendar::DetailTimeText(Meeting(), words), L"2026-03-11(Wed!) 09:30-11:05");

  // An event that runs past midnight shows the start's day and weekday.
  CCalendarData late = Meeting();
  late.m_start = L"20260307T2330Z";  // a Saturday
  late.m_end = L"20260308T0045Z";
  EXPECT_EQ(Calendar::DetailTimeText(late, words), L"2026-03-07(Sat!) 23:30-00:45");

  // All-day, as the list hands it over: from 00:00 to 23:59, whatever its last day.
  CCalendarData allDay = Meeting();
  Calendar::SetAllDay(allDay, 2026, 3, 1, 2026, 3, 2);  // Sunday and Monday
  EXPECT_EQ(Calendar::DetailTimeText(CCalendarOperate::DetailCopy(allDay), words), L"2026-03-01(Sun!) 00:00-23:59");
}

TEST(CalendarDetailRows, PeopleRowOnlyWithAttendeesNamesJoinedBySemicolons) {
  const Calendar::DetailWords words = Words();
  CCalendarData event = Meeting();
  std::vector<DetailRow> expected = {
      {L"T", L"2026-03-11(Wed!) 09:30-11:05"}, {L"A", L"Room 4"}, {L"R", L"Bring the figures"}};
  EXPECT_EQ(Calendar::DetailRows(event, words), expected);

  event.m_attendees = {Attendee(L"Ann Lee", 7), Attendee(L"\u5f20\u4e09", 9)};
  expected.insert(expected.begin() + 2, DetailRow{L"P", L"Ann Lee;\u5f20\u4e09"});
  EXPECT_EQ(Calendar::DetailRows(event, words), expected);

  // Empty place and remark still have their rows: the popup's shape stays.
  event.m_address.clear();
  event.m_remark.clear();
  auto rows = Calendar::DetailRows(event, words);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[1], (DetailRow{L"A", L""}));
  EXPECT_EQ(rows[3], (DetailRow{L"R", L""}));
}

class CalendarDetailWndTest : public testing_support::PimDialogTest {
 protected:
  void SetUp() override {
    PimDialogTest::SetUp();
    // As the plug-in's main window: a child of the host's top-level window.
    owner = ::CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 0, 0, 600, 400, parent, nullptr, nullptr,
                              nullptr);
    ASSERT_NE(owner, nullptr);
    ::SetActiveWindow(parent);
  }

  static std::wstring Child(HWND popup, int id) { return ControlText(popup, id); }
  static bool Visible(HWND popup, int id) { return ::IsWindowVisible(::GetDlgItem(popup, id)) != FALSE; }
  static RECT ChildRect(HWND popup, int id) {
    RECT rc{};
    ::GetWindowRect(::GetDlgItem(popup, id), &rc);
    ::MapWindowPoints(HWND_DESKTOP, popup, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }

  HWND owner = nullptr;
};

TEST_F(CalendarDetailWndTest, ShownAtItsRectangleRoundedWithoutTakingTheActivation) {
  CCalendarDetailWnd popup;
  ASSERT_TRUE(popup.Create(owner));
  HWND window = popup.m_hWnd;
  EXPECT_FALSE(popup.IsShown()) << "made hidden";
  EXPECT_EQ(::GetWindow(window, GW_OWNER), parent) << "owned by the owner's top-level window";
  EXPECT_NE(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_NOACTIVATE, 0);
  ASSERT_EQ(::GetActiveWindow(), parent);

  const RECT at = CCalendarOperate::DetailPlacement(RECT{200, 100, 900, 600});
  popup.Show(Meeting(), at);
  EXPECT_TRUE(popup.IsShown());
  RECT placed{};
  ::GetWindowRect(window, &placed);
  EXPECT_TRUE(::EqualRect(&placed, &at)) << placed.left << "," << placed.top << " " << placed.right << ","
                                         << placed.bottom;
  EXPECT_EQ(placed.right - placed.left, CCalendarDetailWnd::kWidth);
  EXPECT_EQ(placed.bottom - placed.top, CCalendarDetailWnd::kHeight);
  EXPECT_EQ(::GetActiveWindow(), parent) << "showing it took the activation";
  EXPECT_NE(::GetFocus(), window);
  // A click on it must not activate it either.
  EXPECT_EQ(::SendMessageW(window, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(parent),
                           MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_NOACTIVATE);

  // The corners are cut off, the edges' middles are not.
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(window, region), ERROR) << "no outline";
  const int w = CCalendarDetailWnd::kWidth, h = CCalendarDetailWnd::kHeight;
  for (POINT corner : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}, POINT{1, 1}})
    EXPECT_FALSE(::PtInRegion(region, corner.x, corner.y)) << corner.x << "," << corner.y;
  for (POINT edge : {POINT{w / 2, 0}, POINT{0, h / 2}, POINT{w - 1, h / 2}, POINT{w / 2, h - 1}})
    EXPECT_TRUE(::PtInRegion(region, edge.x, edge.y)) << edge.x << "," << edge.y;
  ::DeleteObject(region);

  // Shown again elsewhere: it moves, keeps its outline, and stays one window.
  const RECT second{40, 50, 40 + w, 50 + h};
  popup.Show(Meeting(), second);
  ::GetWindowRect(window, &placed);
  EXPECT_TRUE(::EqualRect(&placed, &second));
  EXPECT_EQ(popup.m_hWnd, window);
}

TEST_F(CalendarDetailWndTest, RowsReadInTheSuitesWordsInOrderInsideThePopup) {
  CCalendarDetailWnd popup;
  ASSERT_TRUE(popup.Create(owner));
  HWND window = popup.m_hWnd;

  CCalendarData event = Meeting();
  event.m_attendees = {Attendee(L"Ann Lee", 7), Attendee(L"Bo Chen", 9)};
  popup.Show(event, RECT{100, 100, 420, 340});
  const std::wstring time =
      L"2026-03-11(" + Text(L"calendar.wednesday.full") + L") 09:30-11:05";
  const std::vector<DetailRow> expected = {{Text(L"pim.calendar.time"), time},
                                           {Text(L"pim.calendar.address"), L"Room 4"},
                                           {Text(L"pim.calendar.people"), L"Ann Lee;Bo Chen"},
                                           {Text(L"pim.calendar.remark"), L"Bring the figures"}};
  EXPECT_EQ(popup.Rows(), expected);
  EXPECT_EQ(Child(window, IDC_CALDETAIL_TITLE), L"Budget review");
  EXPECT_EQ(Child(window, IDC_CALDETAIL_EDIT), Text(L"common.edit"));
  RECT client{};
  ::GetClientRect(window, &client);
  int previousBottom = ChildRect(window, IDC_CALDETAIL_TITLE).bottom;
  for (int row = 0; row < 4; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(Child(window, IDC_CALDETAIL_LABEL + 2 * row), expected[row].label);
    EXPECT_EQ(Child(window, IDC_CALDETAIL_VALUE + 2 * row), expected[row].value);
    EXPECT_TRUE(Visible(window, IDC_CALDETAIL_LABEL + 2 * row));
    EXPECT_TRUE(Visible(window, IDC_CALDETAIL_VALUE + 2 * row));
    // Top to bottom without overlapping, and whole inside the popup.
    const RECT label = ChildRect(window, IDC_CALDETAIL_LABEL + 2 * row);
    const RECT value = ChildRect(window, IDC_CALDETAIL_VALUE + 2 * row);
    EXPECT_GE(label.top, previousBottom);
    EXPECT_GE(value.top, label.bottom);
    EXPECT_GT(value.bottom, value.top) << "no room left for the value";
    EXPECT_LE(value.bottom, client.bottom);
    EXPECT_LE(value.right, client.right);
    previousBottom = value.bottom;
  }

  // The next event has no attendees: three rows, the fourth slot empty and hidden.
  popup.Show(Meeting(), RECT{100, 100, 420, 340});
  ASSERT_EQ(popup.Rows().size(), 3u);
  EXPECT_EQ(Child(window, IDC_CALDETAIL_LABEL + 4), Text(L"pim.calendar.remark"));
  EXPECT_EQ(Child(window, IDC_CALDETAIL_VALUE + 4), L"Bring the figures");
  EXPECT_FALSE(Visible(window, IDC_CALDETAIL_LABEL + 6));
  EXPECT_FALSE(Visible(window, IDC_CALDETAIL_VALUE + 6));
  EXPECT_EQ(Child(window, IDC_CALDETAIL_VALUE + 6), L"") << "the attendees of the event before";
}

TEST_F(CalendarDetailWndTest, EditLinkHandsTheShownEventOverAndGivesWay) {
  std::vector<CCalendarData> edited;
  CCalendarDetailWnd popup;
  ASSERT_TRUE(popup.Create(owner, [&](const CCalendarData& event) {
    EXPECT_FALSE(popup.IsShown()) << "the popup would cover the editor";
    edited.push_back(event);
  }));
  CCalendarData first = Meeting();
  CCalendarData second = Meeting();
  second.m_id = 43;
  second.m_topic = L"Lunch";
  second.m_attendees = {Attendee(L"Ann Lee", 7)};
  popup.Show(first, RECT{100, 100, 420, 340});
  popup.Show(second, RECT{100, 100, 420, 340});

  // A click on the link, as the mouse gives it.
  HWND link = ::GetDlgItem(popup.m_hWnd, IDC_CALDETAIL_EDIT);
  ::SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  ::SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  ASSERT_EQ(edited.size(), 1u);
  EXPECT_EQ(edited[0], second) << "the event shown last, whole";
  EXPECT_FALSE(popup.IsShown());
  EXPECT_EQ(::GetActiveWindow(), parent);
}

TEST_F(CalendarDetailWndTest, HiddenOnRequestAndWithTheWindowItBelongsTo) {
  CCalendarDetailWnd popup;
  ASSERT_TRUE(popup.Create(owner));
  popup.Show(Meeting(), RECT{100, 100, 420, 340});
  ASSERT_TRUE(popup.IsShown());
  popup.Hide();
  EXPECT_FALSE(popup.IsShown());
  EXPECT_FALSE(::IsWindowVisible(popup.m_hWnd));
  popup.Hide();  // twice is harmless
  EXPECT_FALSE(popup.IsShown());

  // The calendar page goes away (another module, the plug-in hidden).
  popup.Show(Meeting(), RECT{100, 100, 420, 340});
  ASSERT_TRUE(popup.IsShown());
  ::ShowWindow(owner, SW_HIDE);
  EXPECT_FALSE(popup.IsShown());

  // The page's window is destroyed: the popup goes with it.
  ::ShowWindow(owner, SW_SHOW);
  popup.Show(Meeting(), RECT{100, 100, 420, 340});
  HWND window = popup.m_hWnd;
  ::DestroyWindow(owner);
  owner = nullptr;
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(popup.m_hWnd, nullptr);
  EXPECT_FALSE(popup.IsShown());
}

}  // namespace
