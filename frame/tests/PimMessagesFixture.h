// The main window with the messages module against the simulated handset:
// a handset with 400 messages and two cards, the page opened (its first visit
// reads the phone), and what a user's clicks send.
#pragma once
#include "PimContactsFixture.h"
#include "message/MessageTexts.h"

namespace pim_contacts_test {

using namespace Message;

class PimMessagesTest : public PimContactsTest {
 protected:
  void SetUp() override {
    PimContactsTest::SetUp();
    ProviderAutomation::Sample sample;
    sample.contacts = 40;
    sample.messages = 400;
    sample.seed = 11;
    ProviderAutomation::ResetHandset(sample);
    SetCards({L"GSM", L""});
  }
  void SetCards(const std::vector<std::wstring>& networks) {
    SimCardList cards;
    int id = 1;
    for (const std::wstring& network : networks) {
      CSimInfo card;
      card.m_cardId = id++;
      card.m_network = network;
      card.m_cardText = L"card" + std::to_wstring(card.m_cardId);
      cards.push_back(card);
    }
    ASSERT_TRUE(ProviderAutomation::SetSimCards(cards));
    ProviderAutomation::WaitIdle();
  }
  // Shows the window, opens the messages tab (whose first visit reads the
  // handset) and waits for everything to arrive.
  void OpenMessages() {
    CreateAndShow();
    window->Tabs().SendMessage(TCM_SETCURSEL, 1);
    NMHDR change{window->Tabs(), IDC_MODULE_TAB, TCN_SELCHANGE};
    window->SendMessage(WM_NOTIFY, IDC_MODULE_TAB, reinterpret_cast<LPARAM>(&change));
    Settle();
  }
  CSMSOperate& messages() { return window->Messages(); }

  std::vector<std::wstring> RootTexts(CQSTreeView& tree) {
    std::vector<std::wstring> texts;
    for (auto item = reinterpret_cast<HTREEITEM>(tree.SendMessage(TVM_GETNEXTITEM, TVGN_ROOT, 0)); item;
         item = reinterpret_cast<HTREEITEM>(tree.SendMessage(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item))))
      texts.push_back(TreeText(tree, item));
    return texts;
  }
  std::wstring FolderText(int position) {
    return TreeText(window->FolderTree(), messages().Folders()[position].item);
  }
  std::wstring CellText(int row, int column) { return GridText(window->MessageList(), row, column); }
  void ClickFolder(int position) {
    NotifyTreeClick(window->FolderTree(), messages().Folders()[position].item);
    Settle();
  }
  void ClickConversation(int index) {
    NotifyTreeClick(window->ChatTree(), messages().Conversations()[index].item);
    Settle();
  }
  static CSMSData Message(ContentId id, const std::wstring& time, const std::wstring& number = L"10086",
                          const std::wstring& body = L"text") {
    CSMSData m;
    m.m_id = id;
    m.m_folderId = kFolderInbox;
    m.m_time = time;
    m.m_phoneNumber = number;
    m.m_body = body;
    return m;
  }
  // What the message list sends for a click in a cell and for a row.
  void MessageCellClick(int row, int column, int action, int check) {
    NotifyCell(window->MessageList(), row, column, action, check);
  }
  void MessageListNotify(UINT code, int row) { NotifyRow(window->MessageList(), code, row); }
  // The inbox's total.
  int InboxTotal() { return messages().Folders()[kPosInbox].folder.m_total; }
};

}  // namespace pim_contacts_test
