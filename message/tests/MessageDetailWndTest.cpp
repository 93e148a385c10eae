// The message detail window made from the resource module's template, driven
// as the controller and the user drive it: the message it shows and on which
// side, closing that only hides it, its layout, and the composer (note,
// phrases, sending through the first card) and the record button. Shared
// dialogs are answered by the stand-in's script; the controller is a fake that
// records what it is asked.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "PimDialogTest.h"
#include "frame/DialogTemplates.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/Text.h"
#include "message/MessageDetailWnd.h"

namespace {

using Message::CSMSData;

std::wstring Text(const wchar_t* key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

class FakeOwner : public IChatOwner {
 public:
  std::vector<CSMSData> sent;
  std::vector<std::wstring> conversations;
  void SendFromChat(const CSMSData& message) override { sent.push_back(message); }
  void ForwardFromChat(const CSMSData&) override {}
  void DeleteFromChat(const IdList&) override {}
  void ShowConversationOf(const std::wstring& number) override { conversations.push_back(number); }
};

CSimInfo Card(int id) {
  CSimInfo card;
  card.m_cardId = id;
  card.m_network = L"GSM";
  return card;
}

CSMSData Sms(const wchar_t* number, const wchar_t* body, int32_t state = 0) {
  CSMSData message;
  message.m_id = 5;
  message.m_time = L"20240131T080000Z";
  message.m_body = body;
  message.m_state = state;
  message.m_phoneNumber = number;
  message.m_folderId = Message::kFolderInbox;
  return message;
}

class MessageDetailWndTest : public testing_support::PimDialogTest {
 protected:
  void SetUp() override {
    PimDialogTest::SetUp();
    SetDialogTemplateInstance(resources);  // the windows lay out from their templates
    // The main window is a child of the host's.
    mainWindow = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 900, 600, parent, nullptr,
                                   nullptr, nullptr);
    ASSERT_TRUE(window.Create(mainWindow, &owner));
  }
  HWND Item(int id) { return ::GetDlgItem(window, id); }
  std::wstring ItemText(int id) { return ControlText(window, id); }
  RECT Rect(int id) {
    RECT rc;
    ::GetWindowRect(Item(id), &rc);
    ::MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }
  void Press(int id) { Click(window, id); }
  void Type(const std::wstring& text) {
    for (wchar_t c : text) ::SendMessageW(Item(IDC_DETAIL_EDIT), WM_CHAR, c, 1);
  }
  std::wstring Note(int count, int messages) {
    return wf::FormatText(Text(L"jorvhelper.newsms.note").c_str(), count, messages);
  }

  HWND mainWindow = nullptr;
  FakeOwner owner;
  CMessageDetailWnd window;
};

TEST_F(MessageDetailWndTest, AHiddenPopupThatShowsOneMessageOnItsSideAndHidesWhenClosed) {
  EXPECT_FALSE(window.IsWindowVisible());
  EXPECT_EQ(window.GetStyle() & (WS_POPUP | WS_CHILD), static_cast<DWORD>(WS_POPUP));
  EXPECT_EQ(::GetWindow(window, GW_OWNER), parent) << "owned by the top-level window";
  ASSERT_EQ(Item(IDC_DETAIL_BUBBLE), window.Bubble().m_hWnd);
  EXPECT_EQ(ItemText(IDC_DETAIL_PHRASE), Text(L"pim.sms.comphrase"));
  EXPECT_EQ(ItemText(IDC_DETAIL_RECORD), Text(L"pim.sms.chartrecord"));
  EXPECT_EQ(ItemText(IDC_DETAIL_SEND), L"\u53d1\u9001");

  Contact::CContactData contact;
  contact.m_name[Contact::kDisplayName] = L"Li Na";
  window.ShowMessage(Sms(L"13800138000", L"Are you coming?"), &contact);
  EXPECT_TRUE(window.IsWindowVisible());
  CQsChartModeContrl& bubble = window.Bubble();
  ASSERT_EQ(bubble.GetItemCount(), 1);
  EXPECT_EQ(bubble.GetItem(0).text, L"Are you coming?");
  EXPECT_EQ(bubble.GetItem(0).side, chat::kSideLeft);
  EXPECT_EQ(bubble.GetItem(0).time, L"2024-01-31 08:00:00");
  EXPECT_EQ(ItemText(IDC_DETAIL_NAME), L"Li Na");
  EXPECT_EQ(ItemText(IDC_DETAIL_NUMBER), L"13800138000");

  // Our own message, from a number without a contact: replaces the first.
  CSMSData mine = Sms(L"10086", L"Balance?", CSMSData::kStateOutgoing);
  mine.m_contactName = L"Operator";
  window.ShowMessage(mine, nullptr);
  ASSERT_EQ(bubble.GetItemCount(), 1);
  EXPECT_EQ(bubble.GetItem(0).text, L"Balance?");
  EXPECT_EQ(bubble.GetItem(0).side, chat::kSideRight);
  EXPECT_EQ(ItemText(IDC_DETAIL_NAME), L"Operator");
  EXPECT_EQ(ItemText(IDC_DETAIL_NUMBER), L"10086");

  window.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  testing_support::PumpMessages();
  EXPECT_TRUE(::IsWindow(window)) << "closing hides, it does not destroy";
  EXPECT_FALSE(window.IsWindowVisible());

  window.ShowMessage(mine, nullptr);
  ASSERT_TRUE(window.IsWindowVisible());
  ::SendMessageW(Item(IDC_DETAIL_EDIT), WM_KEYDOWN, VK_ESCAPE, 1);
  testing_support::PumpMessages();
  EXPECT_FALSE(window.IsWindowVisible()) << "Escape in the composer";

  // Grown by 100 x 60: the bubble takes it, the composer row follows the bottom.
  window.ShowMessage(mine, nullptr);
  const RECT bubbleBefore = Rect(IDC_DETAIL_BUBBLE), editBefore = Rect(IDC_DETAIL_EDIT),
             sendBefore = Rect(IDC_DETAIL_SEND), photoBefore = Rect(IDC_DETAIL_PHOTO);
  const RECT frame = window.GetWindowRect();
  window.MoveWindow(frame.left, frame.top, frame.right - frame.left + 100, frame.bottom - frame.top + 60);
  const RECT bubbleAfter = Rect(IDC_DETAIL_BUBBLE), editAfter = Rect(IDC_DETAIL_EDIT),
             sendAfter = Rect(IDC_DETAIL_SEND), photoAfter = Rect(IDC_DETAIL_PHOTO);
  EXPECT_EQ(bubbleAfter.right - bubbleAfter.left, bubbleBefore.right - bubbleBefore.left + 100);
  EXPECT_EQ(bubbleAfter.bottom - bubbleAfter.top, bubbleBefore.bottom - bubbleBefore.top + 60);
  EXPECT_EQ(editAfter.top, editBefore.top + 60);
  EXPECT_EQ(editAfter.bottom - editAfter.top, editBefore.bottom - editBefore.top);
  EXPECT_EQ(sendAfter.left, sendBefore.left + 100);
  EXPECT_EQ(sendAfter.top, sendBefore.top + 60);
  EXPECT_EQ(photoAfter.left, photoBefore.left);
  EXPECT_EQ(photoAfter.top, photoBefore.top);
}

// The composer itself is the conversation window's (tested there); here:
// the party it replies to, the first card, and the no-card state.
TEST_F(MessageDetailWndTest, RepliesGoToTheMessagesPartyThroughTheFirstCard) {
  window.ShowMessage(Sms(L"13912345678", L"Dinner at eight?"), nullptr);
  EXPECT_EQ(ItemText(IDC_DETAIL_NOTE), Note(0, 0));
  Type(L"Yes, see you there");
  EXPECT_EQ(ItemText(IDC_DETAIL_NOTE), Note(18, 0));

  // No card: nothing to send with.
  EXPECT_FALSE(::IsWindowEnabled(Item(IDC_DETAIL_SEND)));
  EXPECT_TRUE(::GetWindowLongPtrW(Item(IDC_DETAIL_NOCARD), GWL_STYLE) & WS_VISIBLE);
  Press(IDC_DETAIL_SEND);
  EXPECT_TRUE(owner.sent.empty());

  window.SetSimCards({Card(2), Card(1)});
  EXPECT_TRUE(::IsWindowEnabled(Item(IDC_DETAIL_SEND)));
  EXPECT_FALSE(::GetWindowLongPtrW(Item(IDC_DETAIL_NOCARD), GWL_STYLE) & WS_VISIBLE);
  Press(IDC_DETAIL_SEND);
  ASSERT_EQ(owner.sent.size(), 1u);
  EXPECT_EQ(owner.sent[0].m_phoneNumber, L"13912345678");
  EXPECT_EQ(owner.sent[0].m_body, L"Yes, see you there");
  EXPECT_EQ(owner.sent[0].m_cardId, 2) << "the first card listed";
  EXPECT_EQ(ItemText(IDC_DETAIL_EDIT), L"");
  EXPECT_EQ(ItemText(IDC_DETAIL_NOTE), Note(0, 0));
  Press(IDC_DETAIL_SEND);
  EXPECT_EQ(owner.sent.size(), 1u) << "an empty composer sends nothing";

  Press(IDC_DETAIL_RECORD);
  EXPECT_EQ(owner.conversations, std::vector<std::wstring>{L"13912345678"});
}

}  // namespace
