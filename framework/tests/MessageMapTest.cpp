// Message routing, chaining and subclassing of the window framework.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "framework/WindowImpl.h"

using testing_support::CreateTestParent;
using testing_support::PumpMessages;

namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kFallThrough = WM_APP + 2;
constexpr UINT kMixinOnly = WM_APP + 3;
constexpr UINT kRangeFirst = WM_APP + 10;
constexpr UINT kRangeLast = WM_APP + 19;
constexpr UINT kThrow = WM_APP + 30;

// A mixin that takes part in the message map of the window that derives from it.
template <class T>
class LoggingMixin {
 public:
  std::vector<std::string> mixinLog;

  BEGIN_MSG_MAP(LoggingMixin)
    MESSAGE_HANDLER(kMixinOnly, OnMixinOnly)
    MESSAGE_HANDLER(kPing, OnPing)
    MESSAGE_HANDLER(kFallThrough, OnFallThrough)
  END_MSG_MAP()

  LRESULT OnMixinOnly(UINT, WPARAM, LPARAM, BOOL&) {
    mixinLog.push_back("mixin");
    // The mixin reaches the window through the derived class.
    return static_cast<T*>(this)->m_hWnd ? 77 : 0;
  }
  LRESULT OnPing(UINT, WPARAM, LPARAM, BOOL&) {
    mixinLog.push_back("mixin-ping");  // must never run: the window handles kPing first
    return 0;
  }
  LRESULT OnFallThrough(UINT, WPARAM, LPARAM, BOOL&) {
    mixinLog.push_back("mixin-fall");
    return 5;
  }
};

class Member {
 public:
  int hits = 0;
  BEGIN_MSG_MAP(Member)
    MESSAGE_HANDLER(WM_APP + 40, OnMember)
  END_MSG_MAP()
  LRESULT OnMember(UINT, WPARAM wParam, LPARAM, BOOL&) {
    ++hits;
    return static_cast<LRESULT>(wParam) * 2;
  }
};

class TestWindow : public wf::CWindowImpl<TestWindow>, public LoggingMixin<TestWindow> {
 public:
  std::vector<std::string> log;
  Member member;
  bool finalCalled = false;

  BEGIN_MSG_MAP(TestWindow)
    MESSAGE_HANDLER(kPing, OnPing)
    MESSAGE_HANDLER(kFallThrough, OnFallThroughFirst)
    MESSAGE_RANGE_HANDLER(kRangeFirst, kRangeLast, OnRange)
    MESSAGE_HANDLER(kThrow, OnThrow)
    COMMAND_HANDLER(200, BN_CLICKED, OnButtonClicked)
    COMMAND_RANGE_HANDLER(300, 310, OnCommandRange)
    COMMAND_ID_HANDLER(400, OnCommandAnyCode)
    NOTIFY_HANDLER(500, NM_CLICK, OnListClick)
    NOTIFY_CODE_HANDLER(NM_DBLCLK, OnAnyDoubleClick)
    CHAIN_MSG_MAP(LoggingMixin<TestWindow>)
    CHAIN_MSG_MAP_MEMBER(member)
  END_MSG_MAP()

  LRESULT OnPing(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    log.push_back("ping");
    return static_cast<LRESULT>(wParam + lParam);
  }
  LRESULT OnFallThroughFirst(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    log.push_back("fall");
    bHandled = FALSE;  // let the mixin answer
    return 0;
  }
  LRESULT OnRange(UINT msg, WPARAM, LPARAM, BOOL&) { return static_cast<LRESULT>(msg - kRangeFirst); }
  LRESULT OnThrow(UINT, WPARAM, LPARAM, BOOL&) { throw std::runtime_error("boom"); }
  LRESULT OnButtonClicked(WORD code, WORD id, HWND, BOOL&) {
    log.push_back("clicked " + std::to_string(id) + "/" + std::to_string(code));
    return 0;
  }
  LRESULT OnCommandRange(WORD, WORD id, HWND, BOOL&) {
    log.push_back("range " + std::to_string(id));
    return 0;
  }
  LRESULT OnCommandAnyCode(WORD code, WORD, HWND, BOOL&) {
    log.push_back("any " + std::to_string(code));
    return 0;
  }
  LRESULT OnListClick(int idCtrl, LPNMHDR, BOOL&) {
    log.push_back("nm_click " + std::to_string(idCtrl));
    return 11;
  }
  LRESULT OnAnyDoubleClick(int idCtrl, LPNMHDR, BOOL&) {
    log.push_back("dbl " + std::to_string(idCtrl));
    return 0;
  }
  void OnFinalMessage(HWND) override { finalCalled = true; }
};

class MessageMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = CreateTestParent();
    ASSERT_TRUE(parent);
    ASSERT_TRUE(window.Create(parent, RECT{0, 0, 100, 100}, L"w", WS_CHILD | WS_VISIBLE));
  }
  void TearDown() override {
    if (parent) ::DestroyWindow(parent);
  }
  LRESULT Notify(UINT_PTR id, UINT code) {
    NMHDR header{nullptr, id, code};
    return window.SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
  }
  HWND parent = nullptr;
  TestWindow window;
};

TEST_F(MessageMapTest, HandlersAnswerTheirOwnMessagesAndTheResultReachesTheSender) {
  EXPECT_EQ(window.SendMessage(kPing, 2, 3), 5);
  EXPECT_EQ(window.SendMessage(kRangeFirst + 4), 4);
  EXPECT_EQ(window.SendMessage(kRangeLast), 9);
  EXPECT_EQ(window.log, (std::vector<std::string>{"ping"}));
  // The window handled kPing first, so the mixin's handler for it never ran.
  EXPECT_TRUE(window.mixinLog.empty());
}

TEST_F(MessageMapTest, CommandsAreMatchedByIdentifierCodeAndRange) {
  window.SendMessage(WM_COMMAND, MAKEWPARAM(200, BN_CLICKED));
  window.SendMessage(WM_COMMAND, MAKEWPARAM(200, BN_SETFOCUS));  // other code: not matched
  window.SendMessage(WM_COMMAND, MAKEWPARAM(305, 0));
  window.SendMessage(WM_COMMAND, MAKEWPARAM(311, 0));  // just outside the range
  window.SendMessage(WM_COMMAND, MAKEWPARAM(400, EN_CHANGE));
  EXPECT_EQ(window.log, (std::vector<std::string>{"clicked 200/0", "range 305", "any 768"}));
}

TEST_F(MessageMapTest, NotificationsAreMatchedByControlAndCode) {
  EXPECT_EQ(Notify(500, NM_CLICK), 11);
  Notify(501, NM_CLICK);   // another control
  Notify(777, NM_DBLCLK);  // any control
  EXPECT_EQ(window.log, (std::vector<std::string>{"nm_click 500", "dbl 777"}));
}

TEST_F(MessageMapTest, ChainedMapsSeeWhatTheWindowLeavesInOrder) {
  // Only the mixin knows this message; it reaches the window's handle.
  EXPECT_EQ(window.SendMessage(kMixinOnly), 77);
  // The window's handler declines, the chained mixin answers.
  EXPECT_EQ(window.SendMessage(kFallThrough), 5);
  EXPECT_EQ(window.log, (std::vector<std::string>{"fall"}));
  EXPECT_EQ(window.mixinLog, (std::vector<std::string>{"mixin", "mixin-fall"}));
  // A member object's map comes after the mixin's.
  EXPECT_EQ(window.SendMessage(WM_APP + 40, 21), 42);
  EXPECT_EQ(window.member.hits, 1);
}

TEST_F(MessageMapTest, UnhandledMessagesGetDefaultProcessing) {
  window.SetWindowText(L"caption");
  EXPECT_EQ(window.GetWindowText(), L"caption");
  EXPECT_EQ(window.SendMessage(WM_APP + 99), 0);
}

TEST_F(MessageMapTest, AnExceptionInAHandlerStaysInsideTheWindowProcedure) {
  EXPECT_EQ(window.SendMessage(kThrow), 0);
  EXPECT_EQ(window.SendMessage(kPing, 1, 1), 2);  // still routing
}

TEST_F(MessageMapTest, DestroyingTheWindowUnbindsTheObjectAndCallsOnFinalMessage) {
  HWND hWnd = window.m_hWnd;
  ::DestroyWindow(hWnd);
  EXPECT_TRUE(window.finalCalled);
  EXPECT_EQ(window.m_hWnd, nullptr);
  // The object can make a new window afterwards.
  EXPECT_TRUE(window.Create(parent, RECT{0, 0, 10, 10}, L"again", WS_CHILD));
}

// A window whose own handler destroys it: the handler goes on using the
// object after DestroyWindow returns, so the binding must outlive it.
class SelfClosingWindow : public wf::CWindowImpl<SelfClosingWindow> {
 public:
  static constexpr UINT kClose = WM_APP + 50;
  int finalCalls = 0;
  HWND handleSeenAfterDestroy = nullptr;
  BEGIN_MSG_MAP(SelfClosingWindow)
    MESSAGE_HANDLER(kClose, OnClose)
  END_MSG_MAP()
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&) {
    ::DestroyWindow(m_hWnd);
    handleSeenAfterDestroy = m_hWnd;  // the frames above still see their window
    return 42;
  }
  void OnFinalMessage(HWND) override { ++finalCalls; }
};

TEST(WindowLifetime, AWindowDestroyedByItsOwnHandlerIsUnboundWhenTheHandlerReturnsAndCanBeMadeAgain) {
  HWND parent = CreateTestParent();
  SelfClosingWindow window;
  for (int round = 0; round < 2; ++round) {
    HWND hWnd = window.Create(parent, RECT{0, 0, 10, 10}, L"self", WS_CHILD);
    ASSERT_TRUE(hWnd) << "round " << round;
    EXPECT_EQ(::SendMessageW(hWnd, SelfClosingWindow::kClose, 0, 0), 42);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(window.handleSeenAfterDestroy, hWnd);
    EXPECT_EQ(window.m_hWnd, nullptr);
    EXPECT_EQ(window.finalCalls, round + 1);
  }
  ::DestroyWindow(parent);
}

// A subclassed control that destroys itself from its own handler.
class SelfClosingControl : public wf::CWindowImpl<SelfClosingControl> {
 public:
  int finalCalls = 0;
  BEGIN_MSG_MAP(SelfClosingControl)
    MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
  END_MSG_MAP()
  LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&) {
    ::DestroyWindow(m_hWnd);
    return 0;
  }
  void OnFinalMessage(HWND) override { ++finalCalls; }
};

TEST(WindowLifetime, ASubclassedControlDestroyedByItsOwnHandlerCanBeBoundAgain) {
  HWND parent = CreateTestParent();
  SelfClosingControl control;
  for (int round = 0; round < 2; ++round) {
    HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 50, 20, parent, nullptr, nullptr, nullptr);
    ASSERT_TRUE(control.SubclassWindow(edit)) << "round " << round;
    ::SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_FALSE(::IsWindow(edit));
    EXPECT_EQ(control.m_hWnd, nullptr);
    EXPECT_EQ(control.finalCalls, round + 1);
  }
  ::DestroyWindow(parent);
}

std::vector<std::string>& ReportedLines() {
  static std::vector<std::string> lines;
  return lines;
}

TEST(StrayExceptions, AreReportedWithTheirTextCutToTheLineAndTheWindowGoesOn) {
  class Thrower : public wf::CWindowImpl<Thrower> {
   public:
    std::string what;
    BEGIN_MSG_MAP(Thrower)
      MESSAGE_HANDLER(kThrow, OnThrow)
    END_MSG_MAP()
    LRESULT OnThrow(UINT, WPARAM, LPARAM, BOOL&) { throw std::runtime_error(what); }
  };
  ReportedLines().clear();
  wf::SetStrayExceptionReporter([](const char* line) { ReportedLines().emplace_back(line); });
  HWND parent = CreateTestParent();
  Thrower window;
  ASSERT_TRUE(window.Create(parent, RECT{0, 0, 10, 10}, L"t", WS_CHILD));
  window.what = "short";
  window.SendMessage(kThrow);
  window.what = std::string(4000, 'x');  // far longer than any report line
  window.SendMessage(kThrow);
  wf::SetStrayExceptionReporter(nullptr);
  window.SendMessage(kThrow);  // no reporter: only the debugger hears of it
  ASSERT_EQ(ReportedLines().size(), 2u);
  EXPECT_EQ(ReportedLines()[0], "wf: exception in window procedure: short");
  EXPECT_LT(ReportedLines()[1].size(), 512u);
  EXPECT_EQ(ReportedLines()[1].rfind("wf: exception in window procedure: xxxx", 0), 0u);
  ::DestroyWindow(parent);
}

TEST(WindowLifetime, DestroyingTheObjectFirstLeavesAWindowThatStillWorks) {
  HWND parent = CreateTestParent();
  HWND hWnd = nullptr;
  {
    TestWindow window;
    hWnd = window.Create(parent, RECT{0, 0, 10, 10}, L"orphan", WS_CHILD);
    ASSERT_TRUE(hWnd);
  }
  // No object any more: messages get default processing instead of a dangling call.
  EXPECT_EQ(::SendMessageW(hWnd, kPing, 2, 3), 0);
  EXPECT_TRUE(::DestroyWindow(hWnd));
  ::DestroyWindow(parent);
}

// Subclassing an existing control: the object sees its messages first and the
// control keeps its own behaviour for everything else.
class DigitFilter : public wf::CWindowImpl<DigitFilter> {
 public:
  int swallowed = 0;
  bool finalCalled = false;
  BEGIN_MSG_MAP(DigitFilter)
    MESSAGE_HANDLER(WM_CHAR, OnChar)
  END_MSG_MAP()
  LRESULT OnChar(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
    if (wParam >= L'0' && wParam <= L'9') {
      ++swallowed;
      return 0;
    }
    bHandled = FALSE;
    return 0;
  }
  void OnFinalMessage(HWND) override { finalCalled = true; }
};

class UpperCaser : public wf::CWindowImpl<UpperCaser> {
 public:
  BEGIN_MSG_MAP(UpperCaser)
    MESSAGE_HANDLER(WM_CHAR, OnChar)
  END_MSG_MAP()
  LRESULT OnChar(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    return DefWindowProc(msg, reinterpret_cast<WPARAM>(::CharUpperW(reinterpret_cast<LPWSTR>(wParam))), lParam);
  }
};

TEST(Subclassing, ASubclassedEditFiltersItsInputAndKeepsItsOwnBehaviour) {
  HWND parent = CreateTestParent();
  HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, parent,
                                reinterpret_cast<HMENU>(42), nullptr, nullptr);
  ASSERT_TRUE(edit);
  DigitFilter filter;
  ASSERT_TRUE(filter.SubclassDlgItem(42, parent));
  EXPECT_FALSE(filter.SubclassWindow(edit)) << "an object binds one window only";
  for (wchar_t c : std::wstring(L"a1b2")) ::SendMessageW(edit, WM_CHAR, c, 1);
  EXPECT_EQ(wf::CWindow(edit).GetWindowText(), L"ab");
  EXPECT_EQ(filter.swallowed, 2);

  // A second subclass sees messages before the first.
  UpperCaser upper;
  ASSERT_TRUE(upper.SubclassWindow(edit));
  ::SendMessageW(edit, WM_CHAR, L'c', 1);
  ::SendMessageW(edit, WM_CHAR, L'3', 1);
  EXPECT_EQ(wf::CWindow(edit).GetWindowText(), L"abC");

  // Unsubclassing the first leaves the second working.
  EXPECT_EQ(filter.UnsubclassWindow(), edit);
  ::SendMessageW(edit, WM_CHAR, L'4', 1);
  EXPECT_EQ(wf::CWindow(edit).GetWindowText(), L"abC4");

  ::DestroyWindow(parent);
  EXPECT_FALSE(filter.finalCalled) << "no longer bound when the control died";
  EXPECT_EQ(upper.m_hWnd, nullptr);
}

TEST(Subclassing, TheBindingEndsWhenTheControlIsDestroyed) {
  HWND parent = CreateTestParent();
  HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 100, 20, parent, nullptr, nullptr, nullptr);
  DigitFilter filter;
  ASSERT_TRUE(filter.SubclassWindow(edit));
  ::DestroyWindow(parent);
  EXPECT_TRUE(filter.finalCalled);
  EXPECT_EQ(filter.m_hWnd, nullptr);
}

// Reflection: the parent hands a control's notifications back to it.
class ReflectingParent : public wf::CWindowImpl<ReflectingParent> {
 public:
  BEGIN_MSG_MAP(ReflectingParent)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()
};

class SelfAwareButton : public wf::CWindowImpl<SelfAwareButton> {
 public:
  int clicks = 0;
  BEGIN_MSG_MAP(SelfAwareButton)
    MESSAGE_HANDLER(OCM_COMMAND, OnReflectedCommand)
  END_MSG_MAP()
  LRESULT OnReflectedCommand(UINT, WPARAM wParam, LPARAM, BOOL&) {
    if (HIWORD(wParam) == BN_CLICKED) ++clicks;
    return 0;
  }
};

TEST(Reflection, AButtonReceivesItsOwnClickBackFromTheParent) {
  HWND top = CreateTestParent();
  ReflectingParent parent;
  ASSERT_TRUE(parent.Create(top, RECT{0, 0, 200, 200}, nullptr, WS_CHILD | WS_VISIBLE));
  HWND button = ::CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 50, 20,
                                  parent, reinterpret_cast<HMENU>(7), nullptr, nullptr);
  SelfAwareButton self;
  ASSERT_TRUE(self.SubclassWindow(button));
  ::SendMessageW(button, BM_CLICK, 0, 0);
  PumpMessages();
  EXPECT_EQ(self.clicks, 1);
  ::DestroyWindow(top);
}

}  // namespace
