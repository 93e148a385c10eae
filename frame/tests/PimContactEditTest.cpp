// The main window with the contacts module: changing contacts and groups,
// favourites, membership, sending, and the import and export flows, against
// the simulated handset. The shared dialogs answer from scripts here; their
// own windows are tested with the shared-dialog library.
#include "PimContactsFixture.h"

#include "content/PimMessages.h"
#include "message/MessageData.h"

namespace pim_contacts_test {
namespace {

class PimContactEditTest : public PimContactsTest {
 protected:
  void LoadPhoneNode() {
    CreateAndShow();
    ClickTreeItem(contacts().ItemOf(ContactNode::kPhone));
    Settle();
  }
  std::wstring NodeText(ContactNode node) { return ItemText(contacts().ItemOf(node)); }
  uint32_t NodeCount(ContactNode node) { return CountOf(NodeText(node)); }
  static uint32_t CountOf(const std::wstring& label) {
    size_t open = label.rfind(L'(');
    return open == std::wstring::npos ? 0u : static_cast<uint32_t>(std::wcstoul(label.c_str() + open + 1, nullptr, 10));
  }
  int RowNamed(const std::wstring& name) {
    const CContactRows& rows = contacts().Rows();
    for (int row = 0; row < rows.RowCount(); ++row)
      if (rows.IsContactRow(row) && rows.At(row).contact.m_name[0] == name) return row;
    return -1;
  }
  void Select(int row) {
    window->ContactList().ClearSelection();
    window->ContactList().SelectRow(row);
  }
  std::string ErrorLog() { return testing_support::ReadFile(logs.File(L"log\\PimPluginErr.log")); }
};

// The contact editor as the user fills it.
void QueueEditor(const std::wstring& given, const std::wstring& family, const std::wstring& number) {
  JorvAutomation::Queue(L"JorvNewContactView", [=](JorvCall& call) {
    call.contact->m_name[kGivenName] = given;
    call.contact->m_name[kFamilyName] = family;
    call.contact->m_name[kDisplayName] = given + L" " + family;
    if (!number.empty()) call.contact->m_phones = {CPhoneData(CPhoneData::kMobile, number)};
    return 1;
  });
}

TEST_F(PimContactEditTest, ACreatedContactIsEditedStarredGroupedAndDeletedWhileTheTreeCountsFollow) {
  LoadPhoneNode();
  const uint32_t phone = NodeCount(ContactNode::kPhone);
  const uint32_t favourites = NodeCount(ContactNode::kFavourites);
  HTREEITEM group = contacts().GroupItem(0);
  ASSERT_NE(group, nullptr);
  const uint32_t members = CountOf(ItemText(group));

  QueueEditor(L"Zed", L"Quist", L"13900000001");
  Press(IDC_CONTACT_NEW);
  Settle();
  EXPECT_EQ(NodeCount(ContactNode::kPhone), phone + 1);
  int row = RowNamed(L"Zed Quist");
  ASSERT_GE(row, 0) << "shown in its letter's section";
  EXPECT_EQ(JorvAutomation::OpenWaitCount(), 0);

  // Edit through the row's action: the record arrives by identifier first.
  QueueEditor(L"Anna", L"Quist", L"13900000002");
  CellClick(row, kColumnActions, 0, 0);
  Settle();
  EXPECT_EQ(RowNamed(L"Zed Quist"), -1);
  row = RowNamed(L"Anna Quist");
  ASSERT_GE(row, 0);
  EXPECT_EQ(contacts().Rows().At(row).contact.GetFirstPhone(), L"13900000002");
  EXPECT_NE(InfoLog().find("Update Contact Success!"), std::string::npos);

  // Star with the row's star box, then add to the first group from the menu.
  CellClick(row, kColumnCheck, -1, 0);
  Settle();
  row = RowNamed(L"Anna Quist");
  EXPECT_TRUE(contacts().Rows().At(row).starred);
  EXPECT_EQ(NodeCount(ContactNode::kFavourites), favourites + 1);
  Select(row);
  window->SendMessage(WM_COMMAND, MAKEWPARAM(kCmdAddToGroupFirst, 0), 0);
  Settle();
  EXPECT_EQ(CountOf(ItemText(group)), members + 1);
  const auto& names = contacts().Rows().At(RowNamed(L"Anna Quist")).contact.m_groupNames;
  EXPECT_EQ(names.size(), 1u);

  // Delete it.
  JorvAutomation::QueueAnswer(L"JorvMessageBox", 1);
  CellClick(RowNamed(L"Anna Quist"), kColumnActions, 1, 0);
  Settle();
  EXPECT_EQ(RowNamed(L"Anna Quist"), -1);
  EXPECT_EQ(NodeCount(ContactNode::kPhone), phone);
  EXPECT_EQ(NodeCount(ContactNode::kFavourites), favourites);
  EXPECT_EQ(CountOf(ItemText(group)), members);
  EXPECT_EQ(JorvAutomation::OpenWaitCount(), 0);
}

TEST_F(PimContactEditTest, OnACardNodeNothingIsDeletedStarredOrEdited) {
  LoadPhoneNode();
  ClickTreeItem(contacts().ItemOf(ContactNode::kCardOne));
  Settle();
  ASSERT_TRUE(contacts().Rows().IsContactRow(1));
  Select(1);
  JorvAutomation::TakeJournal();
  const size_t logged = InfoLog().size();
  contacts().DeleteContacts();
  contacts().SetStar(true);
  contacts().EditContact(1);
  Settle();
  EXPECT_TRUE(JorvAutomation::TakeJournal().empty()) << "no question, no wait animation";
  std::string log = InfoLog().substr(logged);
  EXPECT_EQ(log.find("Start delete contact!"), std::string::npos);
  EXPECT_EQ(log.find("Start collect contact!"), std::string::npos);
  EXPECT_EQ(log.find("Query Contact By ID"), std::string::npos);
}

TEST_F(PimContactEditTest, UnstarringRemovesTheRowsFromFavouritesOnlyThere) {
  LoadPhoneNode();
  ClickTreeItem(contacts().ItemOf(ContactNode::kFavourites));
  Settle();
  const CContactRows& rows = contacts().Rows();
  int before = rows.ContactCount();
  ASSERT_GE(before, 2);
  ContentId first = rows.At(1).contact.m_id;
  Select(1);
  contacts().SetStar(false);
  Settle();
  EXPECT_EQ(rows.FindContact(first), -1);
  EXPECT_EQ(rows.ContactCount(), before - 1);
  EXPECT_EQ(NodeCount(ContactNode::kFavourites), static_cast<uint32_t>(before - 1));

  // On the phone node the row stays, with its star off.
  ClickTreeItem(contacts().ItemOf(ContactNode::kPhone));
  Settle();
  int starred = -1;
  for (int row = 0; row < rows.RowCount() && starred < 0; ++row)
    if (rows.IsContactRow(row) && rows.At(row).starred) starred = row;
  ASSERT_GE(starred, 0);
  ContentId id = rows.At(starred).contact.m_id;
  Select(starred);
  contacts().SetStar(false);
  Settle();
  int row = rows.FindContact(id);
  ASSERT_GE(row, 0);
  EXPECT_FALSE(rows.At(row).starred);
}

TEST_F(PimContactEditTest, RenamingAGroupChecksTheNameAndDeletingTheLastSelectsPhoneContacts) {
  LoadPhoneNode();
  ASSERT_GE(contacts().GroupCount(), 2u);
  HTREEITEM first = contacts().GroupItem(0);
  std::wstring firstLabel = ItemText(first);
  std::wstring firstName = firstLabel.substr(0, firstLabel.rfind(L'('));
  std::wstring secondLabel = ItemText(contacts().GroupItem(1));
  std::wstring secondName = secondLabel.substr(0, secondLabel.rfind(L'('));

  JorvAutomation::TakeJournal();
  contacts().RenameGroup(first, L"  " + firstName + L" ");
  EXPECT_TRUE(Calls(L"JorvMessageBox").empty());
  contacts().RenameGroup(first, secondName);
  contacts().RenameGroup(first, L"   ");
  std::vector<JorvCall> boxes = Calls(L"JorvMessageBox");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, ResText(L"pim.group.existtip"));
  EXPECT_EQ(boxes[1].text, ResText(L"pim.contact.groupemptytip"));
  Settle();
  EXPECT_EQ(InfoLog().find("Start edit group!"), std::string::npos) << "nothing was sent";

  // Renamed in place as a user does: the tree's label edit, then Enter.
  CQSTreeView& tree = window->ContactTree();
  tree.SetFocus();
  HWND field = reinterpret_cast<HWND>(tree.SendMessage(TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(first)));
  ASSERT_NE(field, nullptr) << "groups can be renamed in place";
  EXPECT_EQ(wf::CWindow(field).GetWindowText(), firstName) << "the count is not part of the name";
  ::SetWindowTextW(field, L" Renamed ");
  tree.SendMessage(TVM_ENDEDITLABELNOW, FALSE);
  Settle();
  EXPECT_EQ(ItemText(first).substr(0, 8), L"Renamed(");
  EXPECT_EQ(tree.SendMessage(TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(contacts().ItemOf(ContactNode::kPhone))), 0)
      << "a fixed node keeps its name";

  // Delete every group; the last one leaves the phone contacts shown.
  while (contacts().GroupCount() > 0) {
    window->ContactTree().SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(contacts().GroupItem(0)));
    JorvAutomation::QueueAnswer(L"JorvMessageBox", 1);
    size_t before = contacts().GroupCount();
    contacts().DeleteGroup();
    Settle();
    ASSERT_EQ(contacts().GroupCount(), before - 1);
    if (contacts().GroupCount() > 0) {
      EXPECT_EQ(contacts().NodeOf(contacts().CurrentItem()), ContactNode::kGroup);
    }
  }
  EXPECT_EQ(contacts().CurrentItem(), contacts().ItemOf(ContactNode::kPhone));
  EXPECT_EQ(static_cast<size_t>(contacts().Rows().ContactCount()), ProviderAutomation::GetCounts().phoneContacts);
  EXPECT_EQ(NodeText(ContactNode::kGroups), CountedLabel(ResText(L"common.group"), 0));
}

TEST_F(PimContactEditTest, AContactThatDoesNotMatchTheSearchIsNotShownWhenInserted) {
  LoadPhoneNode();
  window->ContactSearch().SetWindowText(L"Quist");
  Settle();
  int before = contacts().Rows().ContactCount();
  QueueEditor(L"Nobody", L"Else", L"13900000009");
  contacts().NewContact();
  Settle();
  EXPECT_EQ(contacts().Rows().ContactCount(), before);
  QueueEditor(L"Ada", L"Quist", L"13900000010");
  contacts().NewContact();
  Settle();
  EXPECT_EQ(contacts().Rows().ContactCount(), before + 1);
}

TEST_F(PimContactEditTest, SendingToSelectedContactsSendsOneMessageEachAndTellsTheUser) {
  LoadPhoneNode();
  std::vector<int> rows;
  for (int row = 0; row < contacts().Rows().RowCount() && rows.size() < 2; ++row)
    if (contacts().Rows().IsContactRow(row) && !contacts().Rows().At(row).contact.GetFirstPhone().empty())
      rows.push_back(row);
  ASSERT_EQ(rows.size(), 2u);
  window->ContactList().ClearSelection();
  for (int row : rows) window->ContactList().SelectRow(row);
  std::wstring numbers;
  JorvAutomation::Queue(L"JorvPhoneSendSmsNoNote", [&](JorvCall& call) {
    numbers = call.draft->m_phoneNumber;
    size_t start = 0;
    for (size_t end; (end = numbers.find(L';', start)) != std::wstring::npos; start = end + 1) {
      auto* message = new Message::CSMSData;
      message->m_phoneNumber = numbers.substr(start, end - start);
      message->m_body = L"See you at eight";
      call.written->push_back(message);
    }
    return 1;
  });
  window->SendMessage(WM_COMMAND, MAKEWPARAM(kCmdSendMessage, 0), 0);
  Settle();
  EXPECT_EQ(numbers, contacts().Rows().At(rows[0]).contact.GetFirstPhone() + L";" +
                         contacts().Rows().At(rows[1]).contact.GetFirstPhone() + L";");
  EXPECT_NE(InfoLog().find("Send msg success!"), std::string::npos);
  ASSERT_EQ(host.tips.size(), 1u);
  EXPECT_EQ(host.tips[0], ResText(L"pim.sms.sendmoretip"));
  EXPECT_EQ(JorvAutomation::OpenWaitCount(), 0);
}

// The file dialogs and the progress window are real windows: they are
// answered once shown.
void ChooseFile(HWND dialog, const std::wstring& path) {
  // The file name field: a combo box in the explorer-style dialog, an edit otherwise.
  for (int id : {0x47c, 0x480})
    if (HWND field = ::GetDlgItem(dialog, id)) ::SetWindowTextW(field, path.c_str());
  testing_support::PressButton(dialog, IDOK);
}

TEST_F(PimContactEditTest, ExportsNameTheirSetAndTheProgressWindowClosesAtTheEnd) {
  LoadPhoneNode();
  testing_support::TempFolder files;
  struct Case {
    ContactNode node;
    int mode;
    const char* uri;
  };
  int run = 0;
  std::wstring path;
  for (Case c : {Case{ContactNode::kGroup, 0, "content://contact/contact?export=xml"},
                 Case{ContactNode::kFavourites, 0, "content://contact/contact/star?export=xml"},
                 Case{ContactNode::kCardTwo, 1, "content://contact/gsm?export=xml"}}) {
    HTREEITEM item = c.node == ContactNode::kGroup ? contacts().GroupItem(0) : contacts().ItemOf(c.node);
    ClickTreeItem(item);
    Settle();
    Select(1);
    contacts().SetImportExportMode(c.mode);
    host.tasks.clear();
    // A new file each time: the save dialog would ask before replacing one.
    path = files.File(L"out" + std::to_wstring(++run) + L".xml");
    testing_support::AnswerWhenShown save(ResText(L"common.resave"), [&](HWND dialog) { ChooseFile(dialog, path); });
    contacts().ImportExportXml();  // returns when the progress window has closed
    EXPECT_TRUE(save.acted());
    EXPECT_FALSE(contacts().IsProgressShown());
    // The progress window opened (the running task with it) and the end closed it.
    ASSERT_EQ(host.tasks.size(), 2u);
    EXPECT_TRUE(host.tasks[0].second);
    EXPECT_FALSE(host.tasks[1].second);
    EXPECT_NE(InfoLog().find(std::string("contacts exported as XML, 0 skipped (") + c.uri + ")"), std::string::npos)
        << c.uri;
  }
  std::string log = InfoLog();
  EXPECT_NE(log.find("Start export the group contacts by Xml"), std::string::npos);
  EXPECT_NE(log.find("Start export the select contacts by Xml"), std::string::npos);
  EXPECT_NE(log.find("Export contacts success!"), std::string::npos);
  EXPECT_EQ(log.find("Export contacts fail!"), std::string::npos);
  // The last export, the selected contact of card two, is the file.
  std::string written = testing_support::ReadFile(path);
  EXPECT_EQ(Count(written, "<contact "), 1u) << written;
}

// A spreadsheet program registered: the Excel export writes a workbook, and
// importing it back doubles the phone's contacts.
TEST_F(PimContactEditTest, WithASpreadsheetProgramTheExcelExportWritesAWorkbookThatImportsBack) {
  LoadPhoneNode();
  HKEY excel = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Office\\Excel", 0, nullptr, 0, KEY_WRITE,
                              nullptr, &excel, nullptr),
            ERROR_SUCCESS);
  ::RegCloseKey(excel);
  struct Unregister {
    ~Unregister() { ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Office\\Excel"); }
  } unregister;
  testing_support::TempFolder files;
  const std::wstring path = files.File(L"contacts.xlsx");
  const uint32_t before = NodeCount(ContactNode::kPhone);
  ASSERT_GT(before, 0u);
  contacts().SetImportExportMode(0);
  {
    testing_support::AnswerWhenShown save(ResText(L"common.resave"), [&](HWND dialog) { ChooseFile(dialog, path); });
    contacts().ImportExportExcel();
    EXPECT_TRUE(save.acted());
  }
  Settle();
  const std::string workbook = testing_support::ReadFile(path);
  ASSERT_GT(workbook.size(), 4u);
  EXPECT_EQ(workbook.substr(0, 4), std::string("PK\x03\x04", 4)) << "an Office Open XML package";

  contacts().SetImportExportMode(2);
  {
    testing_support::AnswerWhenShown open(ResText(L"common.open"), [&](HWND dialog) { ChooseFile(dialog, path); });
    contacts().ImportExportExcel();
    EXPECT_TRUE(open.acted());
  }
  Settle();
  EXPECT_NE(InfoLog().find("Import contacts success!"), std::string::npos);
  EXPECT_EQ(NodeCount(ContactNode::kPhone), 2 * before) << "every exported contact came back";
}

TEST_F(PimContactEditTest, ExcelMissingShowsOnlyTheBoxAndVcardImportsAFolder) {
  LoadPhoneNode();
  HKEY excel = nullptr;
  ASSERT_NE(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Office\\Excel", 0, KEY_READ, &excel),
            ERROR_SUCCESS)
      << "this machine has a spreadsheet program";
  JorvAutomation::TakeJournal();
  contacts().SetImportExportMode(2);
  contacts().ImportExportExcel();
  std::vector<JorvCall> calls = JorvAutomation::TakeJournal();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].text, ResText(L"pim.port.noinstalltip"));

  const int refreshesBefore = static_cast<int>(Count(InfoLog(), "Query contact success!"));
  testing_support::AnswerWhenShown browse(ResText(L"common.browsefolder"),
                                          [](HWND dialog) { testing_support::PressButton(dialog, IDOK); });
  contacts().ImportExportVcard();
  EXPECT_TRUE(browse.acted());
  Settle();
  EXPECT_NE(InfoLog().find("Start import contacts by Vcard!"), std::string::npos);
  // The folder holds no card: nothing imported, which the library reports as a failure.
  std::string errors = ErrorLog();
  EXPECT_NE(errors.find("no contacts imported as vCard (content://contact/contact?import=vcard, "), std::string::npos)
      << errors;
  EXPECT_GT(static_cast<int>(Count(InfoLog(), "Query contact success!")), refreshesBefore)
      << "a failed import still shows the phone again";
}

TEST_F(PimContactEditTest, TheProgressWindowCountsAndAnEarlyEndKeepsItClosed) {
  LoadPhoneNode();
  std::wstring counter;
  int bar = -1;
  testing_support::AnswerWhenShown progress(ResText(L"common.export"), [&](HWND dialog) {
    contacts().ProgressWindow().SetProgress(1, 3);
    counter = wf::CWindow(::GetDlgItem(dialog, IDC_PROGRESS_COUNTER)).GetWindowText();
    bar = static_cast<int>(::SendDlgItemMessageW(dialog, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0));
    testing_support::PressButton(dialog, IDCANCEL);
  });
  contacts().ShowExportProgress();
  EXPECT_TRUE(progress.acted());
  EXPECT_EQ(counter, L"1/3");
  EXPECT_EQ(bar, 33);
  EXPECT_FALSE(contacts().IsProgressShown()) << "cancelled";

  contacts().FinishImportExport();  // the end came first
  contacts().ShowImportProgress();  // returns at once: no window
  EXPECT_FALSE(contacts().IsProgressShown());
}

}  // namespace
}  // namespace pim_contacts_test

namespace pim_contacts_test {
namespace {

TEST_F(PimContactEditTest, PullingTheCableClosesAnOpenGroupDialogAndNothingIsSaved) {
  LoadPhoneNode();
  JorvAutomation::SetUnattended(false);  // the plug-in's own dialog, shown for real
  testing_support::AnswerWhenShown dialog(ResText(L"pim.static.newgroup"), [](HWND shown) {
    ::SetDlgItemTextW(shown, IDC_GROUP_NAME, L"Hikers");
    SetDeviceConnected(false);  // the connection library tells the main window
  });
  size_t groups = contacts().GroupCount();
  contacts().NewGroup();  // returns when the dialog has been closed
  JorvAutomation::SetUnattended(true);
  EXPECT_TRUE(dialog.acted());
  Settle();
  EXPECT_FALSE(window->IsLoaded()) << "the disconnection was handled";
  EXPECT_EQ(InfoLog().find("Star insert group!"), std::string::npos) << "nothing was sent";
  EXPECT_LE(contacts().GroupCount(), groups);
}

}  // namespace
}  // namespace pim_contacts_test
