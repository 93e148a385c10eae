// Operations on messages and folders in the main window against the
// simulated handset: delete through the recycle bin, restore, lock, open,
// copy, move, and folders made, renamed and deleted, with every count.
#include "PimMessagesFixture.h"
#include "message/NewFolderWnd.h"

namespace pim_contacts_test {
namespace {

class PimMessageOpsTest : public PimMessagesTest {
 protected:
  int Total(int position) { return messages().Folders()[position].folder.m_total; }
  int Unread(int position) { return messages().Folders()[position].folder.m_unread; }
  // The first message row of the list matching `wanted`, or -1.
  template <class Wanted>
  int FindRow(Wanted wanted) {
    const CMessageRows& rows = messages().Rows();
    for (int row = 0; row < rows.RowCount(); ++row)
      if (rows.IsMessageRow(row) && wanted(rows.At(row))) return row;
    return -1;
  }
  void Select(int row) {
    window->MessageList().ClearSelection();
    window->MessageList().SelectRow(row);
  }
  // The message list's menu on `row`; chooses `choose` (0: nothing).
  std::vector<MenuEntry> RowMenu(int row, UINT choose = 0) {
    return CaptureMenu([&] { messages().ShowMessageMenu(row, POINT{10, 10}); }, choose);
  }
  int PositionOf(const std::wstring& name) {
    const auto& folders = messages().Folders();
    for (size_t i = 0; i < folders.size(); ++i)
      if (folders[i].name == name) return static_cast<int>(i);
    return -1;
  }
};

TEST_F(PimMessageOpsTest, DeletingGoesThroughTheRecycleBinAndMovingBackRestores) {
  OpenMessages();
  ClickFolder(kPosInbox);
  const int inbox = Total(kPosInbox), inboxUnread = Unread(kPosInbox), bin = Total(kPosRecycleBin);
  const size_t stored = ProviderAutomation::GetCounts().messages;
  int row = FindRow([](const CMessageRows::Row& r) { return !r.read && !r.locked; });
  ASSERT_GE(row, 0);
  const ContentId id = messages().Rows().At(row).message.m_id;

  // In the inbox a delete is a move: nothing is erased.
  Select(row);
  RowMenu(row, CSMSOperate::kCmdDelete);
  Settle();
  EXPECT_EQ(Total(kPosInbox), inbox - 1);
  EXPECT_EQ(Unread(kPosInbox), inboxUnread - 1);
  EXPECT_EQ(Total(kPosRecycleBin), bin + 1);
  EXPECT_EQ(ProviderAutomation::GetCounts().messages, stored);
  EXPECT_EQ(messages().Rows().FindMessage(id), -1);
  EXPECT_EQ(messages().Rows().CheckedCount(), 0);

  // In the recycle bin: a question first; Cancel sends nothing and leaves
  // the row unchecked.
  ClickFolder(kPosRecycleBin);
  row = messages().Rows().FindMessage(id);
  ASSERT_GE(row, 0);
  JorvAutomation::TakeJournal();
  JorvAutomation::QueueAnswer(L"JorvMessageBox", 0);
  Select(row);
  RowMenu(row, CSMSOperate::kCmdDelete);
  Settle();
  std::vector<JorvCall> asked = Calls(L"JorvMessageBox");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].text, ResText(L"pim.sms.delchatmsg"));
  EXPECT_FALSE(messages().Rows().At(row).checked);
  EXPECT_EQ(Total(kPosRecycleBin), bin + 1);

  // The move submenu offers every folder but the one shown; moving back to
  // the inbox restores the message.
  std::vector<MenuEntry> menu = RowMenu(row);
  const MenuEntry* move = FindText(menu, ResText(L"pim.menu.movemsg"));
  ASSERT_NE(move, nullptr);
  EXPECT_NE(FindText(move->sub, ResText(L"pim.sms.inbox")), nullptr);
  EXPECT_EQ(FindText(move->sub, ResText(L"pim.sms.ashbin")), nullptr);
  const MenuEntry* copy = FindText(menu, ResText(L"pim.menu.copymsg"));
  ASSERT_NE(copy, nullptr);
  RowMenu(row, FindText(move->sub, ResText(L"pim.sms.inbox"))->id);
  Settle();
  EXPECT_EQ(Total(kPosRecycleBin), bin);
  EXPECT_EQ(Total(kPosInbox), inbox);
  EXPECT_EQ(Unread(kPosInbox), inboxUnread);
  ClickFolder(kPosInbox);
  EXPECT_GE(messages().Rows().FindMessage(id), 0);

  // Erased for good only from the recycle bin, after OK.
  ClickFolder(kPosInbox);
  row = messages().Rows().FindMessage(id);
  Select(row);
  RowMenu(row, CSMSOperate::kCmdDelete);
  Settle();
  ClickFolder(kPosRecycleBin);
  row = messages().Rows().FindMessage(id);
  JorvAutomation::QueueAnswer(L"JorvMessageBox", 1);
  Select(row);
  RowMenu(row, CSMSOperate::kCmdDelete);
  Settle();
  EXPECT_EQ(ProviderAutomation::GetCounts().messages, stored - 1);
  EXPECT_EQ(Total(kPosRecycleBin), bin);
  EXPECT_EQ(messages().Rows().FindMessage(id), -1);
}

TEST_F(PimMessageOpsTest, LockedMessagesStayAndOpeningMarksReadOnce) {
  OpenMessages();
  ClickFolder(kPosInbox);
  int row = FindRow([](const CMessageRows::Row& r) { return !r.locked && !r.read; });
  ASSERT_GE(row, 0);
  const ContentId id = messages().Rows().At(row).message.m_id;

  // A click on the lock column locks; the row's delete action is refused.
  MessageCellClick(row, kColumnLock, 0, 0);
  Settle();
  row = messages().Rows().FindMessage(id);
  EXPECT_TRUE(messages().Rows().At(row).locked);
  JorvAutomation::TakeJournal();
  const int inbox = Total(kPosInbox);
  MessageCellClick(row, kColumnAction, 0, 0);
  Settle();
  std::vector<JorvCall> told = Calls(L"JorvMessageBox");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].text, ResText(L"pim.sms.lockmsg"));
  EXPECT_EQ(Total(kPosInbox), inbox);
  // The list menu on a single locked message greys delete and the move submenu.
  Select(row);
  std::vector<MenuEntry> menu = RowMenu(row);
  EXPECT_FALSE(Find(menu, CSMSOperate::kCmdDelete)->enabled);

  // Opening an unread message shows it and marks it read: the inbox's unread
  // count drops by one; opening it again sends nothing.
  const int unread = Unread(kPosInbox);
  JorvAutomation::QueueAnswer(L"JorvPhoneSendSms", 0);
  MessageListNotify(NM_DBLCLK, row);
  Settle();
  EXPECT_TRUE(messages().Rows().At(messages().Rows().FindMessage(id)).read);
  EXPECT_EQ(Unread(kPosInbox), unread - 1);
  std::string log = InfoLog();
  EXPECT_EQ(Count(log, "CSMSOperate:SetMessageRead interface ++++"), 1u);
  JorvAutomation::QueueAnswer(L"JorvPhoneSendSms", 0);
  MessageListNotify(NM_DBLCLK, messages().Rows().FindMessage(id));
  Settle();
  EXPECT_EQ(Count(InfoLog(), "CSMSOperate:SetMessageRead interface ++++"), 1u);
  EXPECT_EQ(Unread(kPosInbox), unread - 1);
}

// The sender saved from the message list is a new phone contact, and the
// contacts page (loaded before) lists it without a refresh.
TEST_F(PimMessageOpsTest, TheSenderAddedToTheContactsIsListedOnTheContactsPage) {
  OpenMessages();
  ClickFolder(kPosInbox);
  const int listed = window->Contacts().Rows().ContactCount();
  ASSERT_GT(listed, 0);
  const size_t stored = ProviderAutomation::GetCounts().phoneContacts;
  int row = FindRow([](const CMessageRows::Row& r) { return !r.message.m_phoneNumber.empty(); });
  ASSERT_GE(row, 0);
  const std::wstring number = messages().Rows().At(row).message.m_phoneNumber;
  Select(row);
  JorvAutomation::QueueAnswer(L"JorvNewContactView", 1);
  RowMenu(row, CSMSOperate::kCmdAddContact);
  Settle();
  EXPECT_EQ(ProviderAutomation::GetCounts().phoneContacts, stored + 1);
  EXPECT_EQ(Count(InfoLog(), "Insert Contact Success!"), 1u);
  const CContactRows& rows = window->Contacts().Rows();
  ASSERT_EQ(rows.ContactCount(), listed + 1);
  bool found = false;
  for (int r = 0; r < rows.RowCount() && !found; ++r)
    found = rows.IsContactRow(r) && !rows.At(r).contact.m_phones.empty() &&
            rows.At(r).contact.m_phones.front().m_data == number;
  EXPECT_TRUE(found) << "the new contact is a row of the contacts list";
}

TEST_F(PimMessageOpsTest, CopiesAreComposedNowAndCountedWhereTheyGo) {
  OpenMessages();
  ClickFolder(kPosSent);
  const CMessageRows& rows = messages().Rows();
  ASSERT_GE(rows.MessageCount(), 2);
  // Two messages, made unread for the copy's count.
  window->MessageList().ClearSelection();
  int picked = 0, pickedUnread = 0;
  for (int row = 0; row < rows.RowCount() && picked < 2; ++row)
    if (rows.IsMessageRow(row)) {
      window->MessageList().SelectRow(row);
      ++picked;
      pickedUnread += rows.At(row).read ? 0 : 1;
    }
  const int inbox = Total(kPosInbox), unread = Unread(kPosInbox);
  const std::wstring before = MessageTimeNow();
  int first = window->MessageList().GetFirstSelectedRow();
  RowMenu(first, 42332);  // copy to the inbox
  Settle();
  // The unread count follows the copies' own flag.
  EXPECT_EQ(Total(kPosInbox), inbox + 2);
  EXPECT_EQ(Unread(kPosInbox), unread + pickedUnread);
  ClickFolder(kPosInbox);
  int copies = 0;
  for (int row = 0; row < rows.RowCount(); ++row) {
    if (!rows.IsMessageRow(row) || rows.At(row).message.m_state != CSMSData::kStateComposed) continue;
    ++copies;
    EXPECT_EQ(rows.At(row).message.m_lock, 0);
    EXPECT_GE(rows.At(row).message.m_time, before);
  }
  EXPECT_EQ(copies, 2);

  // Two unread ones copied into the inbox raise its unread count by two.
  CSMSData a = Message(700001, MessageTimeNow(), L"1", L"one"), b = Message(700002, MessageTimeNow(), L"2", L"two");
  messages().OnReturnContent(ContentUri::kSmsInFolder, 0, ContentList{&a, &b});
  window->MessageList().SelectRow(1);
  window->MessageList().SelectRow(2);
  const int unreadBefore = Unread(kPosInbox), totalBefore = Total(kPosInbox);
  RowMenu(1, 42332);
  Settle();
  EXPECT_EQ(Unread(kPosInbox), unreadBefore + 2);
  EXPECT_EQ(Total(kPosInbox), totalBefore + 2);
}

TEST_F(PimMessageOpsTest, FoldersAreMadeRenamedWithChecksAndDeletedIntoTheRecycleBin) {
  OpenMessages();
  const size_t folders = messages().Folders().size();
  // A new folder through its dialog.
  JorvAutomation::TakeJournal();
  messages().InsertFolder(L"Receipts");
  Settle();
  ASSERT_EQ(messages().Folders().size(), folders + 1);
  const int made = static_cast<int>(folders);
  EXPECT_EQ(FolderText(made), L"Receipts(0)");
  EXPECT_EQ(window->FolderTree().SendMessage(TVM_GETNEXTITEM, TVGN_CARET, 0),
            reinterpret_cast<LRESULT>(messages().Folders()[made].item));

  // Renaming: another folder's name is refused, its own name taken.
  HTREEITEM item = messages().Folders()[made].item;
  const std::wstring other = messages().Folders()[kMaxSystemFolders].name;
  messages().RenameFolder(item, other);
  Settle();
  std::vector<JorvCall> told = Calls(L"JorvMessageBox");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].text, ResText(L"pim.folder.existtip"));
  messages().RenameFolder(item, L"");
  Settle();
  told = Calls(L"JorvMessageBox");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].text, ResText(L"pim.sms.foldernameempty"));
  messages().RenameFolder(item, L"Receipts");
  Settle();
  EXPECT_TRUE(Calls(L"JorvMessageBox").empty());
  EXPECT_NE(Count(InfoLog(), "CSMSOperate:OnUpdate(Updatefolder) ++++"), 0u);
  messages().RenameFolder(item, L"Bills");
  Settle();
  EXPECT_EQ(FolderText(made), L"Bills(0)");

  // A user folder with messages, one of them locked: the delete is refused
  // after the question; unlocked, it goes and its messages count into the
  // recycle bin.
  int work = kMaxSystemFolders;
  ClickFolder(work);
  const int moved = Total(work);
  ASSERT_GT(moved, 0);
  const int bin = Total(kPosRecycleBin);
  // Every locked message unlocked, then one locked.
  for (int row = FindRow([](const CMessageRows::Row& r) { return r.locked; }); row >= 0;
       row = FindRow([](const CMessageRows::Row& r) { return r.locked; })) {
    MessageCellClick(row, kColumnLock, 0, 0);
    Settle();
  }
  MessageCellClick(1, kColumnLock, 0, 0);
  Settle();
  ASSERT_TRUE(messages().Rows().At(1).locked);
  JorvAutomation::QueueAnswer(L"JorvMessageBox", 1);
  messages().DeleteFolder(messages().Folders()[work].item);
  Settle();
  told = Calls(L"JorvMessageBox");
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[0].text, ResText(L"pim.sms.delfoldertip"));
  EXPECT_EQ(told[1].text, ResText(L"pim.sms.lockmsginfolder"));
  EXPECT_EQ(messages().Folders().size(), folders + 1);

  MessageCellClick(1, kColumnLock, 0, 0);
  Settle();
  JorvAutomation::QueueAnswer(L"JorvMessageBox", 1);
  const std::wstring name = messages().Folders()[work].name;
  messages().DeleteFolder(messages().Folders()[work].item);
  Settle();
  EXPECT_EQ(messages().Folders().size(), folders);
  EXPECT_EQ(PositionOf(name), -1);
  EXPECT_EQ(Total(kPosRecycleBin), bin + moved);
  // System folders are never deleted (not even asked about).
  JorvAutomation::TakeJournal();
  messages().DeleteFolder(messages().Folders()[kPosInbox].item);
  Settle();
  EXPECT_TRUE(Calls(L"JorvMessageBox").empty());
}

TEST_F(PimMessageOpsTest, TheNewFolderItemStopsAtTheFolderLimit) {
  OpenMessages();
  for (int i = 0; i < 95; ++i) messages().InsertFolder(L"F" + std::to_wstring(i));
  Settle();
  ASSERT_GT(window->FolderTree().SendMessage(TVM_GETCOUNT), 100);
  JorvAutomation::TakeJournal();
  window->SendMessage(WM_COMMAND, MAKEWPARAM(CSMSOperate::kCmdNewFolder, 0), 0);
  std::vector<JorvCall> told = Calls(L"JorvMessageBox");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].text, ResText(L"pim.tip.folderfull"));
}

// The file dialogs and the progress window are real windows, answered once
// shown.
void ChooseFile(HWND dialog, const std::wstring& path) {
  for (int id : {0x47c, 0x480})
    if (HWND field = ::GetDlgItem(dialog, id)) ::SetWindowTextW(field, path.c_str());
  testing_support::PressButton(dialog, IDOK);
}

TEST_F(PimMessageOpsTest, ImportsWithoutFoldersIgnoreThemAndAnyEndShowsThePhoneAgain) {
  CreateAndShow();
  window->Tabs().SendMessage(TCM_SETCURSEL, 1);
  testing_support::TempFolder files;
  const std::wstring file = files.File(L"messages.xml");
  ::CloseHandle(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  // Straight to the end of a refresh that found no folder: the page shows
  // conversations.
  messages().OnRefreshComplete(ContentUri::kSmsStore, 0);
  Settle();
  ASSERT_TRUE(messages().FoundNoFolders());
  const size_t reloads = Count(InfoLog(), "CSMSOperate:QueryAll by phonenumber ++++");

  messages().SetMenuOrigin(CSMSOperate::kOriginImport);
  testing_support::AnswerWhenShown open(ResText(L"common.open"), [&](HWND dialog) { ChooseFile(dialog, file); });
  messages().ImportExportXml();
  Settle();
  EXPECT_TRUE(open.acted()) << testing_support::ReadFile(logs.File(L"log\\PimPluginErr.log"));
  EXPECT_FALSE(messages().IsProgressShown());
  EXPECT_NE(testing_support::ReadFile(logs.File(L"log\\PimPluginErr.log")).find("content://sms/sms?import=xml?import?ignorefolder=true"),
            std::string::npos);
  // An empty file is not a message file: the import fails, and the page
  // still asks for the conversations again.
  EXPECT_EQ(Count(InfoLog(), "CSMSOperate:QueryAll by phonenumber ++++"), reloads + 1);
}

TEST_F(PimMessageOpsTest, ExportingAFolderRunsTheProgressWindowAndCancelStopsIt) {
  OpenMessages();
  testing_support::TempFolder files;
  ProviderAutomation::HoldTransfers(true);  // the run waits after its first step for the cancel
  CaptureMenu([&] { messages().ShowFolderMenu(messages().Folders()[kPosSent].item, POINT{10, 10}); });
  testing_support::AnswerWhenShown save(ResText(L"common.resave"),
                                        [&](HWND dialog) { ChooseFile(dialog, files.File(L"sent.xml")); });
  // The window counts the folder's messages (the library was given the
  // folder, not a list of messages); then the user cancels.
  bool cancelled = false;
  std::wstring counter;
  testing_support::AnswerWhenShown progress(ResText(L"common.export"), [&](HWND dialog) {
    HWND text = ::GetDlgItem(dialog, IDC_PROGRESS_COUNTER);
    for (int pass = 0; pass < 400 && wf::CWindow(text).GetWindowText().empty(); ++pass) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      testing_support::PumpMessages();
    }
    counter = wf::CWindow(text).GetWindowText();
    cancelled = true;
    testing_support::PressButton(dialog, IDCANCEL);
  });
  host.tasks.clear();
  ProviderAutomation::ResetCallCounts();
  messages().OnMenuCommand(CSMSOperate::kCmdExportXml);
  Settle();
  ProviderAutomation::HoldTransfers(false);
  Settle();
  EXPECT_TRUE(save.acted());
  EXPECT_TRUE(cancelled);
  const std::wstring total = L"/" + std::to_wstring(messages().Folders()[kPosSent].folder.m_total);
  EXPECT_NE(counter.find(total), std::wstring::npos) << counter;
  EXPECT_FALSE(messages().IsProgressShown());
  EXPECT_EQ(ProviderAutomation::CallCount(L"CancelExport"), 1u) << "cancel is asked once";
  ASSERT_FALSE(host.tasks.empty());
  EXPECT_TRUE(host.tasks.front().second);
  EXPECT_FALSE(host.tasks.back().second) << "the running task ends with the export";
  // A late request for the window opens nothing.
  messages().ShowExportProgress();
  EXPECT_FALSE(messages().IsProgressShown());
}

}  // namespace
}  // namespace pim_contacts_test
