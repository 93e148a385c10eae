// The shared-dialog library: real message boxes and wait animation, and the
// automation that lets tests answer dialogs instead of a user.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "dialogs/JorvHelperIds.h"
#include "framework/Gdi.h"
#include "standins/dialogs/JorvAutomation.h"

namespace {

class SharedDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { JorvAutomation::Reset(); }
  void TearDown() override {
    JorvAutomation::SetUnattended(false);
    JorvAutomation::Reset();
  }
};

// What the user saw of a message box before pressing one of its buttons.
struct SeenBox {
  std::wstring text;
  bool okVisible = false;
  bool cancelVisible = false;
};

// Reads the box titled `caption` once it is on screen, then presses `button`.
std::function<void(HWND)> ReadAndPress(SeenBox& seen, int button) {
  return [&seen, button](HWND box) {
    wchar_t text[256] = {};
    ::GetDlgItemTextW(box, IDC_JORV_TEXT, text, 256);
    seen.text = text;
    seen.okVisible = ::IsWindowVisible(::GetDlgItem(box, IDOK)) != FALSE;
    seen.cancelVisible = ::IsWindowVisible(::GetDlgItem(box, IDCANCEL)) != FALSE;
    testing_support::PressButton(box, button);
  };
}

TEST_F(SharedDialogsTest, AConfirmationAnswersOneOnlyForOK) {
  HWND owner = testing_support::CreateTestParent();
  SeenBox seen;
  {
    testing_support::AnswerWhenShown user(L"Confirm test", ReadAndPress(seen, IDOK));
    EXPECT_EQ(JorvMessageBox(owner, L"Delete the contact?", L"Confirm test", JORV_MB_CONFIRM, 0, 0), 1);
    EXPECT_TRUE(user.acted());
  }
  EXPECT_EQ(seen.text, L"Delete the contact?");
  EXPECT_TRUE(seen.okVisible);
  EXPECT_TRUE(seen.cancelVisible);

  {
    testing_support::AnswerWhenShown user(L"Confirm test", ReadAndPress(seen, IDCANCEL));
    EXPECT_EQ(JorvMessageBox(owner, L"Delete the contact?", L"Confirm test", JORV_MB_CONFIRM, 0, 0), 0);
    EXPECT_TRUE(user.acted());
  }
  ::DestroyWindow(owner);
}

TEST_F(SharedDialogsTest, ANoticeHasOneButtonAndAnswersOneWhicheverWayItCloses) {
  SeenBox seen;
  testing_support::AnswerWhenShown user(L"Notice test", ReadAndPress(seen, IDCANCEL));  // Escape or the close box
  EXPECT_EQ(JorvMessageBox(nullptr, L"Saved.", L"Notice test", JORV_MB_NOTICE, 0, 0), 1);
  EXPECT_TRUE(user.acted());
  EXPECT_EQ(seen.text, L"Saved.");
  EXPECT_TRUE(seen.okVisible);
  EXPECT_FALSE(seen.cancelVisible);
}

TEST_F(SharedDialogsTest, ScriptedAnswersAreTakenInOrderAndEveryCallIsJournaled) {
  JorvAutomation::QueueAnswer(L"JorvMessageBox", 1);
  JorvAutomation::QueueAnswer(L"JorvMessageBox", 0);
  JorvAutomation::SetUnattended(true);
  EXPECT_EQ(JorvMessageBox(nullptr, L"first", L"cap", JORV_MB_CONFIRM, 0, 0), 1);
  EXPECT_EQ(JorvMessageBox(nullptr, L"second", L"cap", JORV_MB_CONFIRM, 0, 0), 0);
  // Nothing queued any more: unattended answers as a user who cancels.
  EXPECT_EQ(JorvMessageBox(nullptr, L"third", L"cap", JORV_MB_CONFIRM, 0, 0), 0);
  EXPECT_EQ(JorvMessageBox(nullptr, L"notice", L"cap", JORV_MB_NOTICE, 0, 0), 1);
  auto journal = JorvAutomation::TakeJournal();
  ASSERT_EQ(journal.size(), 4u);
  EXPECT_EQ(journal[0].text, L"first");
  EXPECT_EQ(journal[2].caption, L"cap");
  EXPECT_EQ(journal[3].kind, JORV_MB_NOTICE);
  EXPECT_TRUE(JorvAutomation::TakeJournal().empty());
}

TEST_F(SharedDialogsTest, AResponderFillsTheOutputsOfTheCall) {
  JorvAutomation::SetUnattended(true);
  JorvAutomation::Queue(L"JorvSelectPhrase", [](JorvCall& call) {
    *call.phrase = L"On my way";
    return 1;
  });
  std::wstring phrase;
  EXPECT_EQ(JorvSelectPhrase(phrase), 1);
  EXPECT_EQ(phrase, L"On my way");
  EXPECT_EQ(JorvSelectPhrase(phrase), 0) << "unattended: cancelled";

  JorvAutomation::Queue(L"JorvSelectContact", [](JorvCall& call) {
    JorvContactEntry entry{};
    wcscpy(entry.text, L"Zhang Wei");
    entry.value = 42;
    call.entries->push_back(entry);
    return 1;
  });
  std::list<JorvContactEntry> entries;
  EXPECT_EQ(JorvSelectContact(entries, nullptr), 1);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries.front().value, 42u);

  ContentList written;
  int save = 7;
  SimCardList cards(1);
  JorvAutomation::Queue(L"JorvPhoneSendSms", [](JorvCall& call) {
    EXPECT_EQ(call.cards->size(), 1u);
    EXPECT_EQ(call.kind, 1);
    *call.save = 1;
    return 0;
  });
  EXPECT_EQ(JorvPhoneSendSms(nullptr, cards, 1, written, save), 0);
  EXPECT_EQ(save, 1);
  EXPECT_EQ(JorvPhoneSendSmsNoNote(nullptr, cards, 1, written, save), 0);
  EXPECT_EQ(save, 0) << "a cancelled compose window saves nothing";
}

// The window's client area as it draws it now.
std::vector<DWORD> Printed(HWND window) {
  RECT rc;
  ::GetClientRect(window, &rc);
  HDC screen = ::GetDC(nullptr);
  wf::MemoryCanvas canvas(screen, rc.right, rc.bottom);
  ::ReleaseDC(nullptr, screen);
  if (!canvas.valid()) return {};
  ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
  ::GdiFlush();
  return std::vector<DWORD>(canvas.bits(), canvas.bits() + rc.right * rc.bottom);
}

TEST_F(SharedDialogsTest, TheWaitAnimationIsARealWindowUntilHidden) {
  HWND owner = testing_support::CreateTestParent();
  ::ShowWindow(owner, SW_SHOW);
  HANDLE wait = JorvWaitDynamicShowEx(owner, L"Refreshing...");
  ASSERT_NE(wait, nullptr);
  HWND window = static_cast<HWND>(wait);
  EXPECT_TRUE(::IsWindowVisible(window));
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  EXPECT_STREQ(name, L"JorvWaitDynamic");
  EXPECT_EQ(JorvAutomation::OpenWaitCount(), 1);
  // It turns while the thread goes on pumping messages.
  std::vector<DWORD> first = Printed(window);
  ASSERT_FALSE(first.empty());
  EXPECT_TRUE(testing_support::PumpUntil([&] { return Printed(window) != first; })) << "the ring never turned";
  JorvWaitDynamicHideEx(wait);
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(JorvAutomation::OpenWaitCount(), 0);
  JorvWaitDynamicHideEx(wait);     // a stale handle is ignored
  JorvWaitDynamicHideEx(nullptr);  // and so is none
  JorvWaitDynamicHideEx(owner);    // a window that is not a wait animation is left alone
  EXPECT_TRUE(::IsWindow(owner));
  ::DestroyWindow(owner);
}

TEST(DisplayCardType, FollowsTheCardsNetwork) {
  CSimInfo card;
  card.m_cardId = 1;
  card.m_network = L"GSM";
  EXPECT_EQ(getDisplayCardType(card), 1);
  card.m_network = L"cdma";
  EXPECT_EQ(getDisplayCardType(card), 2);
  card.m_network = L"WCDMA";
  EXPECT_EQ(getDisplayCardType(card), 3);
  card.m_network = L"";
  EXPECT_EQ(getDisplayCardType(card), 0);
}

}  // namespace
