// The messages module in the main window against the simulated handset:
// refresh, folders, lists by day, conversations, sending and receiving.
#include <thread>

#include "PimMessagesFixture.h"
#include "message/MessageFolders.h"

namespace pim_contacts_test {
namespace {

using namespace Message;

TEST_F(PimMessagesTest, RefreshStreamsTheInboxUnderOneHeaderAndListsTheFoldersOnceASecondIsIgnored) {
  CreateAndShow();
  messages().Refresh();
  messages().Refresh();  // while the first runs: nothing
  window->Tabs().SendMessage(TCM_SETCURSEL, 1);
  NMHDR change{window->Tabs(), IDC_MODULE_TAB, TCN_SELCHANGE};
  window->SendMessage(WM_NOTIFY, IDC_MODULE_TAB, reinterpret_cast<LPARAM>(&change));
  Settle();
  std::string log = InfoLog();
  EXPECT_EQ(Count(log, "Start refresh SMS!"), 1u);
  EXPECT_EQ(Count(log, "CSMSOperate DisplaySMSListNoOrder mux in +++++++++++ "),
            Count(log, "CSMSOperate DisplaySMSListNoOrder mux out +++++++++++ "));
  EXPECT_FALSE(messages().IsRefreshing());

  // The catalogue: inbox label with unread and total; with card one on GSM
  // (type 1) and card two unknown, card two's folder (position 3) is listed
  // and card one's (position 2) is not; positions 0 and 4 never are.
  const auto& folders = messages().Folders();
  ASSERT_GE(folders.size(), 9u);
  EXPECT_EQ(FolderText(kPosInbox), InboxLabel(ResText(L"pim.sms.inbox"), folders[kPosInbox].folder.m_unread,
                                               folders[kPosInbox].folder.m_total));
  EXPECT_GT(folders[kPosInbox].folder.m_total, 0);
  EXPECT_EQ(folders[kPosSimOne].item, nullptr);
  EXPECT_NE(folders[kPosSimTwo].item, nullptr);
  EXPECT_EQ(folders[kPosConversations].item, nullptr);
  EXPECT_EQ(folders[kPosCard].item, nullptr);
  EXPECT_EQ(FolderText(kPosSent), FolderLabel(ResText(L"pim.sms.sent"), folders[kPosSent].folder.m_total));
  EXPECT_EQ(window->FolderTree().SendMessage(TVM_GETNEXTITEM, TVGN_CARET, 0),
            reinterpret_cast<LRESULT>(folders[kPosInbox].item));

  // The streamed inbox: one header with no label, then every inbox message;
  // the folders were asked for once more and the inbox not queried again.
  const CMessageRows& rows = messages().Rows();
  ASSERT_GT(rows.RowCount(), 1);
  EXPECT_TRUE(rows.At(0).header);
  EXPECT_EQ(rows.At(0).label, L"");
  EXPECT_EQ(rows.MessageCount(), folders[kPosInbox].folder.m_total);
  EXPECT_EQ(rows.RowCount(), rows.MessageCount() + 1);
  EXPECT_TRUE(window->MessageList().IsRowSelected(1));
  EXPECT_EQ(Count(log, "QueryAll(Folders:URI)"), 1u);
  EXPECT_EQ(Count(log, "CSMSOPerate:QueryByClassId by folder +++"), 0u);
  EXPECT_EQ(CellText(1, kColumnBody), rows.At(1).message.m_body);
  EXPECT_EQ(CellText(1, kColumnTime), TimeShown(rows.At(1).message.m_time));

  // A later rebuild does query the inbox, and now the rows go by day.
  messages().ShowFolders();
  Settle();
  EXPECT_EQ(Count(InfoLog(), "CSMSOPerate:QueryByClassId by folder +++"), 1u);
  ASSERT_GT(rows.RowCount(), 1);
  EXPECT_EQ(rows.At(0).label, DayKey(rows.At(1).message.m_time));
  EXPECT_GT(rows.RowCount(), rows.MessageCount() + 1);
}

TEST_F(PimMessagesTest, FoldersListByDayAndTheCardFoldersFollowTheCards) {
  OpenMessages();
  ClickFolder(kPosSent);
  const CMessageRows& rows = messages().Rows();
  EXPECT_EQ(rows.MessageCount(), messages().Folders()[kPosSent].folder.m_total);
  for (int row = 0; row < rows.RowCount(); ++row)
    if (!rows.At(row).header) {
      EXPECT_EQ(rows.At(row).message.m_folderId, kFolderSent);
    }

  // Two messages of one day with another day between them: two headers of
  // the same label.
  CSMSData a = Message(1, L"20260301T080000Z"), b = Message(2, L"20260228T080000Z"),
           c = Message(3, L"20260301T070000Z");
  ContentList answer{&a, &b, &c};
  messages().OnReturnContent(ContentUri::kSmsInFolder, 0, answer);
  ASSERT_EQ(rows.RowCount(), 6);
  EXPECT_EQ(rows.At(0).label, L"2026-03-01");
  EXPECT_EQ(rows.At(2).label, L"2026-02-28");
  EXPECT_EQ(rows.At(4).label, L"2026-03-01");
  // A failed answer changes nothing.
  messages().OnReturnContent(ContentUri::kSmsInFolder, 5, ContentList{&a});
  EXPECT_EQ(rows.RowCount(), 6);

  // A card of display type 2 lists card one's folder, named by its network.
  SetCards({L"CDMA"});
  messages().RequestSimInfo();
  Settle();
  ASSERT_NE(messages().Folders()[kPosSimOne].item, nullptr);
  EXPECT_EQ(messages().Folders()[kPosSimTwo].item, nullptr);
  EXPECT_EQ(FolderText(kPosSimOne).rfind(ResText(L"pim.cnetcard"), 0), 0u);

  // Totals never go below 0.
  messages().AdjustFolderCount(messages().Folders()[kPosInbox].item, -100000, -100000);
  EXPECT_EQ(FolderText(kPosInbox), ResText(L"pim.sms.inbox") + L"(0/0)");
  messages().AdjustFolderCount(messages().Folders()[kPosSent].item, 2, 5);
  EXPECT_EQ(messages().Folders()[kPosSent].folder.m_unread, 0);  // only the inbox counts unread
}

TEST_F(PimMessagesTest, AnEmptyCatalogueSwitchesToConversationsAndAnEmptyAnswerLeavesThemEmpty) {
  CreateAndShow();
  window->Tabs().SendMessage(TCM_SETCURSEL, 1);
  // Straight to the end of a refresh that found no folder.
  messages().OnRefreshComplete(ContentUri::kSmsStore, 0);
  Settle();
  EXPECT_TRUE(messages().IsConversationMode());
  EXPECT_TRUE(messages().FoundNoFolders());
  EXPECT_FALSE(Enabled(IDC_SMS_MODE_LIST));
  EXPECT_NE(Count(InfoLog(), "CSMSOperate:QueryAll by groupby telephonenumber ++++"), 0u);

  messages().OnReturnGroupContent(ContentUri::kConversations, 0, GroupedContent{});
  EXPECT_TRUE(RootTexts(window->ChatTree()).empty());
  EXPECT_TRUE(messages().ChatWindow().Messages().empty());
  EXPECT_TRUE(messages().ChatWindow().Number().empty());
  EXPECT_FALSE(Enabled(IDC_SMS_EXPORT));
}

TEST_F(PimMessagesTest, ConversationsListByNumberAndTheChatShowsTheSelectedOneWithItsContact) {
  OpenMessages();
  Press(IDC_SMS_MODE_CHAT);
  Settle();
  ASSERT_TRUE(messages().IsConversationMode());
  EXPECT_TRUE(::IsWindowVisible(window->ChatTree()));
  EXPECT_FALSE(::IsWindowVisible(window->FolderTree()));
  EXPECT_FALSE(::IsWindowVisible(window->MessageList()));
  EXPECT_TRUE(::IsWindowVisible(messages().ChatWindow()));
  EXPECT_FALSE(Visible(IDC_SMS_SEARCH));

  const auto& conversations = messages().Conversations();
  ASSERT_GE(conversations.size(), 2u);
  std::vector<std::wstring> labels = RootTexts(window->ChatTree());
  ASSERT_EQ(labels.size(), conversations.size());
  EXPECT_EQ(labels[0], ConversationLabel(TruncateParty(PartyShown(conversations[0].messages.front())),
                                         conversations[0].count));
  EXPECT_EQ(messages().ChatWindow().Number(), conversations[0].number);
  EXPECT_EQ(messages().ChatWindow().Messages().size(), conversations[0].messages.size());

  // Another conversation: asked for by its number; with a contact, the
  // contact is asked for too.
  ClickConversation(1);
  EXPECT_NE(Count(InfoLog(), "CSMSOPerate:QueryByTelephoneNumber +++"), 0u);
  EXPECT_EQ(messages().SelectedConversation(), 1);
  EXPECT_EQ(messages().ChatWindow().Number(), conversations[1].number);
  EXPECT_EQ(static_cast<int>(messages().ChatWindow().Messages().size()), conversations[1].count);
  for (const CSMSData& m : messages().ChatWindow().Messages()) EXPECT_EQ(m.m_phoneNumber, conversations[1].number);

  // Back to folders: they are listed again.
  Press(IDC_SMS_MODE_LIST);
  Settle();
  EXPECT_FALSE(messages().IsConversationMode());
  EXPECT_TRUE(::IsWindowVisible(window->FolderTree()));
  EXPECT_FALSE(::IsWindowVisible(messages().ChatWindow()));
  EXPECT_TRUE(Visible(IDC_SMS_SEARCH));
}

TEST_F(PimMessagesTest, ReceivedMessagesShowATipRaiseTheInboxAndQueryItAgain) {
  OpenMessages();
  int total = InboxTotal();
  int unread = messages().Folders()[kPosInbox].folder.m_unread;
  host.tips.clear();

  ASSERT_EQ(ProviderAutomation::ReceiveMessages(3), 3);
  Settle();
  ASSERT_EQ(host.tips.size(), 1u);
  wchar_t expected[128];
  swprintf(expected, 128, ResText(L"pim.sms.messagenum").c_str(), 3);
  EXPECT_EQ(host.tips[0], expected);
  EXPECT_EQ(InboxTotal(), total + 3);
  EXPECT_EQ(messages().Folders()[kPosInbox].folder.m_unread, unread + 3);
  EXPECT_EQ(Count(InfoLog(), "CSMSOperate:QueryByClassId ++++"), 1u);
  EXPECT_EQ(messages().Rows().MessageCount(), total + 3);

  // One message: the tip's second line is the number and the first nine
  // characters of the text.
  CSMSData hello = Message(90001, MessageTimeNow(), L"10086", L"Hello world, see you");
  messages().OnReceived(ContentUri::kSms, 0, ContentList{&hello});
  ASSERT_EQ(host.tips.size(), 2u);
  EXPECT_EQ(host.tips[1], ResText(L"pim.sms.messagetip") + L"\n10086Hello wor");
  // A failed report shows nothing and counts nothing.
  messages().OnReceived(ContentUri::kSms, 3, ContentList{&hello});
  EXPECT_EQ(host.tips.size(), 2u);
  EXPECT_EQ(InboxTotal(), total + 4);
}

TEST_F(PimMessagesTest, ComposedMessagesAreSentSavedAsDraftsOrDropped) {
  OpenMessages();
  ClickFolder(kPosSent);
  int sent = messages().Folders()[kPosSent].folder.m_total;
  size_t stored = ProviderAutomation::GetCounts().messages;
  host.tips.clear();

  // Cancelled without saving: nothing is sent or stored.
  JorvAutomation::Queue(L"JorvPhoneSendSms", [](JorvCall&) { return 0; });
  Press(IDC_SMS_NEW);
  Settle();
  EXPECT_EQ(ProviderAutomation::GetCounts().messages, stored);
  EXPECT_TRUE(host.tips.empty());

  // Two recipients: the plural tip, the sent folder up by two and listed again.
  JorvAutomation::Queue(L"JorvPhoneSendSms", [](JorvCall& call) {
    for (const wchar_t* number : {L"13800000001", L"13800000002"}) {
      auto* m = new CSMSData;
      m->m_phoneNumber = number;
      m->m_body = L"See you at eight";
      call.written->push_back(m);
    }
    return 1;
  });
  Press(IDC_SMS_NEW);
  Settle();
  ASSERT_EQ(host.tips.size(), 1u);
  EXPECT_EQ(host.tips[0], ResText(L"pim.sms.sendmoretip"));
  EXPECT_EQ(messages().Folders()[kPosSent].folder.m_total, sent + 2);
  EXPECT_EQ(messages().Rows().MessageCount(), sent + 2);
  EXPECT_EQ(ProviderAutomation::GetCounts().messages, stored + 2);

  // Saved instead of sent: a draft (state 3, marker -1) in the drafts folder.
  int drafts = messages().Folders()[kPosDrafts].folder.m_total;
  JorvAutomation::Queue(L"JorvPhoneSendSms", [](JorvCall& call) {
    auto* m = new CSMSData;
    m->m_phoneNumber = L"13800000003";
    m->m_body = L"Draft";
    call.written->push_back(m);
    *call.save = 1;
    return 0;
  });
  Press(IDC_SMS_NEW);
  Settle();
  EXPECT_EQ(messages().Folders()[kPosDrafts].folder.m_total, drafts + 1);
  ClickFolder(kPosDrafts);
  const CMessageRows& rows = messages().Rows();
  bool found = false;
  for (int row = 0; row < rows.RowCount(); ++row)
    if (!rows.At(row).header && rows.At(row).message.m_body == L"Draft") {
      found = true;
      EXPECT_EQ(rows.At(row).message.m_state, CSMSData::kStateComposed);
      EXPECT_EQ(rows.At(row).message.m_draftMarker, CSMSData::kDraftMarker);
    }
  EXPECT_TRUE(found);
}

TEST_F(PimMessagesTest, ARefreshBatchAndAFolderAnswerFromTwoThreadsNeverMixTheirRows) {
  OpenMessages();
  std::vector<CSMSData> batchMessages, folderMessages;
  for (int i = 0; i < 300; ++i) {
    batchMessages.push_back(Message(100000 + i, L"20260301T080000Z", L"1", L"batch"));
    folderMessages.push_back(Message(200000 + i, i < 150 ? L"20260302T080000Z" : L"20260301T080000Z", L"2", L"folder"));
  }
  ContentList batch, folder;
  for (auto& m : batchMessages) batch.push_back(&m);
  for (auto& m : folderMessages) folder.push_back(&m);

  for (int round = 0; round < 5; ++round) {
    std::atomic<int> done{0};
    // The two arrive together, from two threads of the library.
    std::thread one([&] {
      messages().OnReturnBatch(ContentUri::kSms, 0, batch);
      ++done;
    });
    std::thread two([&] {
      messages().OnReturnContent(ContentUri::kSmsInFolder, 0, folder);
      ++done;
    });
    while (done < 2) testing_support::PumpMessages();
    one.join();
    two.join();
    // A folder answer replaces the rows; a later batch of the refresh adds
    // its inbox messages under a header of its own. Never a mixture.
    const CMessageRows& rows = messages().Rows();
    ASSERT_TRUE(rows.RowCount() == 302 || rows.RowCount() == 603) << rows.RowCount();
    EXPECT_EQ(rows.At(0).label, L"2026-03-02");
    EXPECT_EQ(rows.At(151).label, L"2026-03-01");
    for (int row = 0; row < 302; ++row)
      if (!rows.At(row).header) {
        EXPECT_EQ(rows.At(row).message.m_body, L"folder") << row;
      }
    if (rows.RowCount() == 603) {
      EXPECT_TRUE(rows.At(302).header);
      EXPECT_EQ(rows.At(302).label, L"");
      for (int row = 303; row < 603; ++row) EXPECT_EQ(rows.At(row).message.m_body, L"batch") << row;
    }
  }
  std::string log = InfoLog();
  EXPECT_EQ(Count(log, "CSMSOperate DisplayListview mux in"), Count(log, "CSMSOperate DisplayListview mux out"));
}

TEST_F(PimMessagesTest, TheChatSendsThroughTheFirstCardAndTheReplyBecomesARightBubble) {
  OpenMessages();
  Press(IDC_SMS_MODE_CHAT);
  Settle();
  ASSERT_FALSE(messages().Conversations().empty());
  int count = messages().Conversations()[0].count;
  std::wstring number = messages().Conversations()[0].number;
  host.tips.clear();

  ::SetDlgItemTextW(messages().ChatWindow(), 1398, L"On my way");
  testing_support::PressButton(messages().ChatWindow(), 1395);
  Settle();
  ASSERT_EQ(host.tips.size(), 1u);
  wchar_t expected[128];
  _snwprintf(expected, 128, ResText(L"pim.sms.sendmsgtip").c_str(), number.c_str());  // "%s" is wide here
  EXPECT_EQ(host.tips[0], expected);
  EXPECT_EQ(messages().Conversations()[0].count, count + 1);
  ASSERT_FALSE(messages().ChatWindow().Messages().empty());
  EXPECT_EQ(messages().ChatWindow().Messages().back().m_body, L"On my way");
  EXPECT_EQ(messages().ChatWindow().Bubbles().GetItemCount(), count + 1);
  EXPECT_EQ(messages().ChatWindow().Bubbles().GetItem(count).side, 2);
  EXPECT_EQ(RootTexts(window->ChatTree())[0],
            ConversationLabel(TruncateParty(PartyShown(messages().Conversations()[0].messages.front())), count + 1));
}

}  // namespace
}  // namespace pim_contacts_test

namespace pim_contacts_test {
namespace {

TEST_F(PimMessagesTest, ABubbleDeletedFromTheChatLeavesThePhoneAndTheConversationCount) {
  OpenMessages();
  Press(IDC_SMS_MODE_CHAT);
  Settle();
  // The longest conversation, as the user would pick one to tidy up.
  const auto& conversations = messages().Conversations();
  size_t longest = 0;
  for (size_t i = 0; i < conversations.size(); ++i)
    if (conversations[i].count > conversations[longest].count) longest = i;
  ASSERT_GE(conversations[longest].count, 2);
  ClickConversation(static_cast<int>(longest));
  CSMSChatWnd& chat = messages().ChatWindow();
  const int count = conversations[longest].count;
  // An unlocked message of the phone's own folders.
  int index = -1;
  for (size_t i = 0; i < chat.Messages().size() && index < 0; ++i) {
    const CSMSData& m = chat.Messages()[i];
    if (!m.m_lock && m.m_folderId != kFolderSimOne && m.m_folderId != kFolderSimTwo) index = static_cast<int>(i);
  }
  ASSERT_GE(index, 0);
  const ContentId id = chat.Messages()[index].m_id;
  const size_t stored = ProviderAutomation::GetCounts().messages;

  JorvAutomation::QueueAnswer(L"JorvMessageBox", 1);
  wf::SetMenuChooser([](HMENU menu) { return ::GetMenuItemID(menu, 0); });  // "delete"
  chat::BubbleGeometry g;
  ASSERT_TRUE(chat.Bubbles().GetItemGeometry(index, g));
  chat.Bubbles().ScrollTo(g.top + chat.Bubbles().GetScrollTop());  // the bubble at the top of the view
  ASSERT_TRUE(chat.Bubbles().GetItemGeometry(index, g));
  POINT at{(g.bubble.left + g.bubble.right) / 2, (g.bubble.top + g.bubble.bottom) / 2};
  ::ClientToScreen(chat.Bubbles(), &at);
  chat.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(chat.Bubbles().m_hWnd), MAKELPARAM(at.x, at.y));
  wf::SetMenuChooser({});
  Settle();

  EXPECT_EQ(ProviderAutomation::GetCounts().messages, stored - 1);
  EXPECT_EQ(messages().Conversations()[longest].count, count - 1);
  EXPECT_EQ(static_cast<int>(chat.Messages().size()), count - 1);
  EXPECT_EQ(chat.Bubbles().GetItemCount(), count - 1);
  for (const CSMSData& m : chat.Messages()) EXPECT_NE(m.m_id, id);
  EXPECT_EQ(RootTexts(window->ChatTree())[longest],
            ConversationLabel(TruncateParty(PartyShown(messages().Conversations()[longest].messages.front())),
                              count - 1));
}

}  // namespace
}  // namespace pim_contacts_test

namespace pim_contacts_test {
namespace {

TEST_F(PimMessagesTest, ALongConversationTreeFillsInStepsAndALaterAnswerReplacesItWhole) {
  OpenMessages();
  Press(IDC_SMS_MODE_CHAT);
  Settle();
  auto answer = [](int numbers, const std::wstring& body, std::vector<CSMSData>& store) {
    store.clear();
    store.reserve(numbers);
    GroupedContent groups;
    for (int n = 0; n < numbers; ++n) {
      store.push_back(Message(500000 + n, L"20260301T080000Z", L"1390000" + std::to_wstring(1000 + n), body));
    }
    for (CSMSData& m : store) groups.emplace_back(m.m_phoneNumber, ContentList{&m});
    return groups;
  };
  auto treeCount = [&] { return static_cast<int>(window->ChatTree().SendMessage(TVM_GETCOUNT)); };
  std::vector<CSMSData> first, second;

  messages().OnReturnGroupContent(ContentUri::kConversations, 0, answer(1000, L"a", first));
  EXPECT_LT(treeCount(), 1000);  // the first screenful now, the rest from the queue
  EXPECT_GT(treeCount(), 0);
  // Selecting one far down makes its entry at once. (The handset's own
  // answer to this query comes later and replaces the tree with its few.)
  messages().ShowConversations(L"13900001900", true);
  messages().OnReturnGroupContent(ContentUri::kConversations, 0, answer(1000, L"a", first));
  EXPECT_EQ(messages().SelectedConversation(), 900);
  EXPECT_EQ(window->ChatTree().SendMessage(TVM_GETNEXTITEM, TVGN_CARET, 0),
            reinterpret_cast<LRESULT>(messages().Conversations()[900].item));
  EXPECT_EQ(messages().ChatWindow().Number(), L"13900001900");
  Settle();
  EXPECT_EQ(treeCount(), static_cast<int>(messages().Conversations().size()));
  EXPECT_LT(treeCount(), 100);

  // A shorter answer while steps of a longer one wait: the tree ends with
  // exactly its entries and labels.
  messages().OnReturnGroupContent(ContentUri::kConversations, 0, answer(1000, L"a", first));
  messages().OnReturnGroupContent(ContentUri::kConversations, 0, answer(700, L"b", second));
  Settle();
  ASSERT_EQ(treeCount(), 700);
  std::vector<std::wstring> labels = RootTexts(window->ChatTree());
  ASSERT_EQ(labels.size(), 700u);
  EXPECT_EQ(labels[0], L"13900001000(1)");
  EXPECT_EQ(labels[699], L"13900001699(1)");
  for (size_t i = 0; i < labels.size(); ++i) EXPECT_EQ(labels[i], messages().Conversations()[i].label) << i;
  // A click on any entry finds its conversation.
  ClickConversation(650);
  EXPECT_EQ(messages().SelectedConversation(), 650);
}

}  // namespace
}  // namespace pim_contacts_test
