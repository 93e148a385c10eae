// The conversation window made from the resource module's template, driven
// as the controller and the user drive it: its layout, the send buttons per
// SIM card, the composer's note and phrases, sending, and the bubble menu.
// Shared dialogs are answered by the stand-in's script; the controller is a
// fake that records what it is asked.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "PimDialogTest.h"
#include "frame/DialogTemplates.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/PopupMenu.h"
#include "framework/Text.h"
#include "message/MessageTexts.h"
#include "message/SMSChatWnd.h"

namespace {

using Message::CSMSData;

std::wstring Text(const wchar_t* key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

class FakeOwner : public IChatOwner {
 public:
  std::vector<CSMSData> sent, forwarded;
  std::vector<IdList> deleted;
  void SendFromChat(const CSMSData& message) override { sent.push_back(message); }
  void ForwardFromChat(const CSMSData& message) override { forwarded.push_back(message); }
  void DeleteFromChat(const IdList& ids) override { deleted.push_back(ids); }
};

CSimInfo Card(int id, const wchar_t* network) {
  CSimInfo card;
  card.m_cardId = id;
  card.m_network = network;
  return card;
}

CSMSData Sms(ContentId id, const wchar_t* time, const wchar_t* body, int32_t state = 0) {
  CSMSData message;
  message.m_id = id;
  message.m_time = time;
  message.m_body = body;
  message.m_state = state;
  message.m_phoneNumber = L"13800138000";
  message.m_folderId = Message::kFolderInbox;
  return message;
}

class SMSChatWndTest : public testing_support::PimDialogTest {
 protected:
  void SetUp() override {
    PimDialogTest::SetUp();
    SetDialogTemplateInstance(resources);  // the windows lay out from their templates
    ASSERT_TRUE(window.Create(parent, &owner));
  }
  HWND Item(int id) { return ::GetDlgItem(window, id); }
  // Shown within the window (the window itself may be hidden).
  bool Visible(int id) { return (::GetWindowLongPtrW(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
  std::wstring ItemText(int id) { return ControlText(window, id); }
  RECT Rect(int id) {
    RECT rc;
    ::GetWindowRect(Item(id), &rc);
    ::MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&rc), 2);
    return RECT{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};  // x, y, width, height
  }
  void Press(int id) { Click(window, id); }
  void Type(const std::wstring& text) {
    for (wchar_t c : text) ::SendMessageW(Item(IDC_CHAT_EDIT), WM_CHAR, c, 1);
  }
  std::wstring Note(int count, int messages) {
    return wf::FormatText(Text(L"jorvhelper.newsms.note").c_str(), count, messages);
  }
  // A right click on bubble `index`, answered by choosing the menu item with
  // the text of `key`; the menu's texts are kept.
  void ChooseFromMenu(int index, const wchar_t* key) {
    const std::wstring wanted = Text(key);
    wf::SetMenuChooser([this, wanted](HMENU menu) {
      menuTexts.clear();
      UINT chosen = 0;
      for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        menuTexts.push_back(text);
        if (wanted == text) chosen = ::GetMenuItemID(menu, i);
      }
      return chosen;
    });
    chat::BubbleGeometry g;
    ASSERT_TRUE(window.Bubbles().GetItemGeometry(index, g));
    const LPARAM at = MAKELPARAM((g.bubble.left + g.bubble.right) / 2, (g.bubble.top + g.bubble.bottom) / 2);
    window.Bubbles().SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, at);
    window.Bubbles().SendMessage(WM_RBUTTONUP, 0, at);
    testing_support::PumpMessages();  // the chosen command is posted
  }

  FakeOwner owner;
  CSMSChatWnd window;
  std::vector<std::wstring> menuTexts;
};

TEST_F(SMSChatWndTest, AHiddenChildWhoseLayoutStretchesTheBubblesAndTheComposer) {
  EXPECT_FALSE(window.IsWindowVisible());
  EXPECT_TRUE(window.GetStyle() & WS_CHILD);
  EXPECT_EQ(window.GetParent(), parent);
  ASSERT_EQ(Item(IDC_CHAT_BUBBLES), window.Bubbles().m_hWnd) << "the template's control of id 80001";
  EXPECT_EQ(wf::CWindow(Item(IDC_CHAT_BUBBLES)).GetClassName(), L"QsChartModeContrl");

  window.ShowWindow(SW_SHOW);
  window.MoveWindow(0, 0, 773, 486);
  auto same = [](RECT a, RECT b) { return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom; };
  EXPECT_TRUE(same(Rect(IDC_CHAT_BUBBLES), RECT{12, 31, 547, 300}));
  EXPECT_TRUE(same(Rect(IDC_CHAT_SEND_ONE), RECT{594, 433, 68, 37}));
  EXPECT_TRUE(same(Rect(IDC_CHAT_PHOTO), RECT{595, 41, 139, 139}));

  // 100 px wider and 50 px taller.
  window.MoveWindow(0, 0, 873, 536);
  EXPECT_TRUE(same(Rect(IDC_CHAT_TITLE), RECT{12, 12, 540, 18}));
  EXPECT_TRUE(same(Rect(IDC_CHAT_BUBBLES), RECT{12, 31, 647, 350}));
  EXPECT_TRUE(same(Rect(IDC_CHAT_EDIT), RECT{12, 360, 647, 164}));
  EXPECT_TRUE(same(Rect(IDC_CHAT_PHRASE), RECT{12, 383, 68, 27}));
  EXPECT_TRUE(same(Rect(IDC_CHAT_NOTE), RECT{528, 390, 129, 20}));
  EXPECT_TRUE(same(Rect(IDC_CHAT_PHOTO), RECT{695, 41, 139, 139}));
  EXPECT_TRUE(same(Rect(IDC_CHAT_NOCARD_IMAGE), RECT{721, 412, 69, 107}));
  EXPECT_TRUE(same(Rect(IDC_CHAT_SEND_TWO), RECT{767, 483, 68, 37}));
}

TEST_F(SMSChatWndTest, SendButtonsFollowTheSimCardsAndCarryTheirTip) {
  window.SetSimCards({Card(1, L"CDMA")});
  EXPECT_TRUE(Visible(IDC_CHAT_SEND_ONE));
  EXPECT_EQ(ItemText(IDC_CHAT_SEND_ONE), Text(L"pim.button.onecard")) << "display type 2";
  EXPECT_FALSE(Visible(IDC_CHAT_SEND_TWO));
  EXPECT_FALSE(Visible(IDC_CHAT_NOCARD_PROMPT));
  EXPECT_FALSE(Visible(IDC_CHAT_NOCARD_IMAGE));

  window.SetSimCards({Card(1, L"GSM"), Card(2, L"LTE")});
  EXPECT_EQ(ItemText(IDC_CHAT_SEND_ONE), Text(L"pim.button.twocard"));
  EXPECT_TRUE(Visible(IDC_CHAT_SEND_TWO));
  EXPECT_EQ(ItemText(IDC_CHAT_SEND_TWO), wf::FormatText(Text(L"pim.sms.cardname").c_str(), 2)) << "no display type";
  window.SetSimCards({Card(2, L"WCDMA"), Card(1, L"GSM")});
  EXPECT_EQ(ItemText(IDC_CHAT_SEND_ONE), Text(L"pim.button.threecard")) << "by the records' order";

  for (const SimCardList& none : {SimCardList{}, SimCardList{Card(1, L"GSM"), Card(2, L"GSM"), Card(3, L"GSM")}}) {
    window.SetSimCards(none);
    EXPECT_FALSE(Visible(IDC_CHAT_SEND_ONE));
    EXPECT_FALSE(Visible(IDC_CHAT_SEND_TWO));
    EXPECT_TRUE(Visible(IDC_CHAT_NOCARD_PROMPT));
    EXPECT_TRUE(Visible(IDC_CHAT_NOCARD_IMAGE));
    EXPECT_EQ(ItemText(IDC_CHAT_NOCARD_PROMPT), Text(L"easydial.static.nocardprompt"));
  }

  // One tool tip for the two buttons, owned by the top-level window, and gone
  // with the conversation window.
  struct Found {
    HWND owner;
    std::vector<HWND> tips;
  } found{parent, {}};
  auto collect = [](HWND hwnd, LPARAM data) -> BOOL {
    auto* f = reinterpret_cast<Found*>(data);
    wchar_t name[64] = {};
    ::GetClassNameW(hwnd, name, 64);
    if (_wcsicmp(name, L"tooltips_class32") == 0 && ::GetWindow(hwnd, GW_OWNER) == f->owner) f->tips.push_back(hwnd);
    return TRUE;
  };
  ::EnumThreadWindows(::GetCurrentThreadId(), collect, reinterpret_cast<LPARAM>(&found));
  ASSERT_EQ(found.tips.size(), 1u);
  HWND tip = found.tips[0];
  ASSERT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
  for (int id : {IDC_CHAT_SEND_ONE, IDC_CHAT_SEND_TWO}) {
    wchar_t text[256] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(Item(id));
    tool.lpszText = text;
    ::SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(text), Text(L"common.tip.clicksend")) << id;
  }
  window.DestroyWindow();
  EXPECT_FALSE(::IsWindow(tip));
}

TEST_F(SMSChatWndTest, TheNoteCountsWhatIsTypedAndAPhraseIsAppendedWithinEightHundred) {
  EXPECT_EQ(ItemText(IDC_CHAT_NOTE), Note(0, 0));
  // Pasted, then one more key.
  ::SendDlgItemMessageW(window, IDC_CHAT_EDIT, EM_REPLACESEL, TRUE,
                        reinterpret_cast<LPARAM>(std::wstring(1339, L'k').c_str()));
  EXPECT_EQ(ItemText(IDC_CHAT_NOTE), Note(1339, 1));
  Type(L"k");
  EXPECT_EQ(ItemText(IDC_CHAT_NOTE), Note(1340, 2));

  ::SetDlgItemTextW(window, IDC_CHAT_EDIT, std::wstring(790, L'x').c_str());
  JorvAutomation::Queue(L"JorvSelectPhrase", [](JorvCall& call) {
    *call.phrase = L"See you at six!";
    return 1;
  });
  Press(IDC_CHAT_PHRASE);
  EXPECT_EQ(ItemText(IDC_CHAT_EDIT), std::wstring(790, L'x') + L"See you at");
  EXPECT_EQ(ItemText(IDC_CHAT_NOTE), Note(800, 1));

  ::SetDlgItemTextW(window, IDC_CHAT_EDIT, L"Hello");
  JorvAutomation::Queue(L"JorvSelectPhrase", [](JorvCall& call) {
    *call.phrase = L", world";
    return 1;
  });
  Press(IDC_CHAT_PHRASE);
  EXPECT_EQ(ItemText(IDC_CHAT_EDIT), L"Hello, world");
  EXPECT_EQ(ItemText(IDC_CHAT_NOTE), Note(12, 0));
  Press(IDC_CHAT_PHRASE);  // unattended: the picker is cancelled
  EXPECT_EQ(ItemText(IDC_CHAT_EDIT), L"Hello, world");
}

TEST_F(SMSChatWndTest, ASendButtonHandsTheReplyToTheControllerWithItsCard) {
  window.SetConversation(L"13800138000", {Sms(1, L"20240131T080000Z", L"Where are you?")});
  window.SetSimCards({Card(1, L"GSM"), Card(2, L"CDMA")});
  Press(IDC_CHAT_SEND_TWO);
  EXPECT_TRUE(owner.sent.empty()) << "an empty composer sends nothing";

  Type(L"On my way");
  Press(IDC_CHAT_SEND_TWO);
  ASSERT_EQ(owner.sent.size(), 1u);
  EXPECT_EQ(owner.sent[0].m_phoneNumber, L"13800138000");
  EXPECT_EQ(owner.sent[0].m_body, L"On my way");
  EXPECT_EQ(owner.sent[0].m_cardId, 2);
  EXPECT_EQ(ItemText(IDC_CHAT_EDIT), L"");
  EXPECT_EQ(ItemText(IDC_CHAT_NOTE), Note(0, 0));

  Type(L"ok");
  Press(IDC_CHAT_SEND_ONE);
  ASSERT_EQ(owner.sent.size(), 2u);
  EXPECT_EQ(owner.sent[1].m_cardId, 1);

  window.Clear();
  Type(L"to nobody");
  Press(IDC_CHAT_SEND_ONE);
  EXPECT_EQ(owner.sent.size(), 2u) << "no conversation, no one to send to";
  EXPECT_EQ(ItemText(IDC_CHAT_EDIT), L"to nobody") << "and the text stays";
}

TEST_F(SMSChatWndTest, BubblesShowTheConversationInTimeOrderOnTheSideOfTheirState) {
  CSMSData named = Sms(3, L"20240131T090000Z", L"See you", CSMSData::kStateOutgoing);
  CSMSData first = Sms(1, L"20240130T070000Z", L"Morning");
  first.m_contactName = L"Zhang Wei from the office";
  window.SetConversation(L"13800138000", {named, first, Sms(2, L"20240131T080000Z", L"Lunch?")});
  CQsChartModeContrl& bubbles = window.Bubbles();
  ASSERT_EQ(bubbles.GetItemCount(), 3);
  EXPECT_EQ(window.Messages()[0].m_id, 1u);
  EXPECT_EQ(bubbles.GetItem(0).text, L"Morning");
  EXPECT_EQ(bubbles.GetItem(0).side, chat::kSideLeft);
  EXPECT_EQ(bubbles.GetItem(0).party, L"Zhang Wei from the office");
  EXPECT_EQ(bubbles.GetItem(0).time, L"2024-01-30 07:00:00");
  EXPECT_EQ(bubbles.GetItem(2).side, chat::kSideRight);
  EXPECT_EQ(ItemText(IDC_CHAT_TITLE), Text(L"pim.sms.chattip") + L"13800138000");
  EXPECT_EQ(ItemText(IDC_CHAT_NUMBER), L"13800138000");

  Contact::CContactData contact;
  contact.m_name[Contact::kDisplayName] = L"Zhang Wei from the office";
  window.SetContact(&contact);
  EXPECT_EQ(ItemText(IDC_CHAT_TITLE), Text(L"pim.sms.chattip") + Message::TruncateParty(L"Zhang Wei from the office"));
  EXPECT_EQ(ItemText(IDC_CHAT_NAME), L"Zhang Wei from the office");

  window.AppendReceived({Sms(4, L"20240131T100000Z", L"Fine", CSMSData::kStateOutgoing)});
  window.AppendSent({Sms(5, L"20240131T100100Z", L"Good")});
  ASSERT_EQ(bubbles.GetItemCount(), 5);
  EXPECT_EQ(bubbles.GetItem(3).side, chat::kSideLeft) << "received, whatever its state";
  EXPECT_EQ(bubbles.GetItem(4).side, chat::kSideRight);
  EXPECT_EQ(bubbles.GetScrollTop(), bubbles.Layout().MaxTop(bubbles.GetClientRect().bottom)) << "the newest in view";

  EXPECT_EQ(window.CheckedCount(), 0);
  bubbles.SetSelectedIndex(3);
  ASSERT_EQ(window.CheckedCount(), 1);
  EXPECT_EQ(window.CheckedMessages()[0].m_id, 4u);

  window.RemoveMessages({2, 4, 99});
  ASSERT_EQ(bubbles.GetItemCount(), 3);
  EXPECT_EQ(window.Messages().size(), 3u);
  EXPECT_EQ(bubbles.GetItem(1).text, L"See you");
  EXPECT_EQ(window.CheckedCount(), 0) << "the selected bubble went with its message";

  window.Clear();
  EXPECT_EQ(bubbles.GetItemCount(), 0);
  EXPECT_EQ(ItemText(IDC_CHAT_TITLE), L"");
  EXPECT_EQ(ItemText(IDC_CHAT_NAME), L"");
  EXPECT_TRUE(window.Number().empty());
}

TEST_F(SMSChatWndTest, TheBubbleMenuRefusesLockedAndSimMessagesAndDeletesOnlyOnOk) {
  CSMSData locked = Sms(7, L"20240131T080000Z", L"keep this");
  locked.m_lock = 1;
  CSMSData onCard = Sms(8, L"20240131T080100Z", L"on the card");
  onCard.m_folderId = Message::kFolderSimOne;
  window.SetConversation(L"13800138000", {locked, onCard, Sms(9, L"20240131T080200Z", L"plain")});

  ChooseFromMenu(0, L"common.delete");
  EXPECT_EQ(menuTexts, (std::vector<std::wstring>{Text(L"common.delete"), Text(L"pim.menu.transmit")}));
  auto journal = JorvAutomation::TakeJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].text, Text(L"pim.sms.lockmsg"));
  EXPECT_EQ(journal[0].caption, Text(L"common.caption.tip"));
  EXPECT_TRUE(owner.deleted.empty());

  ChooseFromMenu(1, L"common.delete");
  journal = JorvAutomation::TakeJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].text, Text(L"pim.sms.cardmsg"));
  EXPECT_EQ(journal[0].caption, Text(L"common.caption.tip"));
  EXPECT_TRUE(owner.deleted.empty());

  JorvAutomation::QueueAnswer(L"JorvMessageBox", 0);
  ChooseFromMenu(2, L"common.delete");
  journal = JorvAutomation::TakeJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].text, Text(L"pim.sms.delchatmsg"));
  EXPECT_EQ(journal[0].caption, Text(L"common.messagebox.tamixtip"));
  EXPECT_EQ(journal[0].kind, JORV_MB_CONFIRM);
  EXPECT_TRUE(owner.deleted.empty()) << "cancelled";

  JorvAutomation::QueueAnswer(L"JorvMessageBox", 1);
  ChooseFromMenu(2, L"common.delete");
  ASSERT_EQ(owner.deleted.size(), 1u);
  EXPECT_EQ(owner.deleted[0], IdList{9});
  EXPECT_EQ(window.Bubbles().GetItemCount(), 3) << "the bubble goes when the controller reports the delete";

  ChooseFromMenu(0, L"pim.menu.transmit");
  ASSERT_EQ(owner.forwarded.size(), 1u);
  EXPECT_EQ(owner.forwarded[0].m_id, 7u);
  EXPECT_EQ(owner.forwarded[0].m_body, L"keep this");
}

}  // namespace
