// The main window with the contacts module: loading, counting, listing,
// searching, the card, the menus, multi-delete and disconnection.
#include "PimContactsFixture.h"

namespace pim_contacts_test {
namespace {

TEST_F(PimContactsTest, TheFirstShowLoadsOnceAndTheTreeCountsPhoneAndCardsButNotFavourites) {
  Create();
  window->ShowWindow(SW_SHOW);
  window->ShowWindow(SW_HIDE);  // before any answer: the load already started
  window->ShowWindow(SW_SHOW);
  Settle();
  std::string log = InfoLog();
  EXPECT_EQ(Count(log, "Start refresh Contact!"), 1u);
  EXPECT_EQ(Count(log, "CSMSOperate:startRecv interface ++++"), 1u);
  EXPECT_NE(log.find("Refresh Contact Success!"), std::string::npos);

  ProviderAutomation::Counts handset = ProviderAutomation::GetCounts();
  ASSERT_GT(handset.cardOneContacts + handset.cardTwoContacts, 0u) << "the sample puts contacts on the cards";
  const Contact::ContactCounts& counts = contacts().Counts();
  ASSERT_GT(counts.favourites, 0u) << "the sample stars some contacts";
  uint32_t total = static_cast<uint32_t>(handset.phoneContacts + handset.cardOneContacts + handset.cardTwoContacts);
  EXPECT_EQ(RootText(), CountedLabel(ResText(L"common.total"), total));
  HTREEITEM root = contacts().ItemOf(ContactNode::kRoot);
  EXPECT_EQ(ChildTexts(root),
            (std::vector<std::wstring>{
                CountedLabel(ResText(L"pim.telephone"), static_cast<uint32_t>(handset.phoneContacts)),
                CountedLabel(ResText(L"common.collection"), counts.favourites),
                CountedLabel(ResText(L"common.group"), static_cast<uint32_t>(handset.groups)),
                CountedLabel(ResText(L"pim.gnetcard"), static_cast<uint32_t>(handset.cardOneContacts)),
                CountedLabel(ResText(L"pim.cardname.two"), static_cast<uint32_t>(handset.cardTwoContacts))}))
      << "card two's network is unknown: it is named by its slot";
  // Each group shows its member count.
  std::vector<std::wstring> groups = ChildTexts(contacts().ItemOf(ContactNode::kGroups));
  ASSERT_EQ(groups.size(), handset.groups);
  ASSERT_GT(groups.size(), 0u);
  EXPECT_EQ(groups[0].back(), L')');
  EXPECT_NE(groups[0].find(L"("), std::wstring::npos);

  // The streamed list: every phone contact under the one "other" header, the
  // first one selected and its card open beside the list.
  const CContactRows& rows = contacts().Rows();
  EXPECT_EQ(static_cast<size_t>(rows.ContactCount()), handset.phoneContacts);
  EXPECT_EQ(CellText(0, 0), ResText(L"common.other"));
  EXPECT_EQ(CellText(1, kColumnName), rows.At(1).contact.m_name[0]);
  EXPECT_TRUE(window->ContactList().IsRowSelected(1));
  std::vector<JorvCall> cards = Calls(L"JorvDisContactInfo");
  ASSERT_EQ(cards.size(), 1u);
  RECT list = window->ContactList().GetWindowRect();
  EXPECT_EQ(cards[0].x, list.right - 362);
  EXPECT_EQ(cards[0].y, list.top + 20);
  EXPECT_EQ(cards[0].owner, window->m_hWnd);
  EXPECT_EQ(contacts().CurrentContact().m_id, rows.At(1).contact.m_id);

  // The host's running-task text came and went.
  ASSERT_FALSE(host.tasks.empty());
  EXPECT_TRUE(host.tasks.front().second);
  EXPECT_FALSE(host.tasks.back().second);
  EXPECT_TRUE(Enabled(IDC_CONTACT_GROUP_TREE));
  EXPECT_TRUE(Enabled(IDC_CONTACT_REFRESH));
}

TEST_F(PimContactsTest, WithoutSimCardsThereAreNoCardNodesAndCountsOfAbsentNodesChangeNothing) {
  ASSERT_TRUE(ProviderAutomation::SetSimCards({}));
  CreateAndShow();
  ProviderAutomation::Counts handset = ProviderAutomation::GetCounts();
  std::vector<std::wstring> nodes = ChildTexts(contacts().ItemOf(ContactNode::kRoot));
  ASSERT_EQ(nodes.size(), 3u) << "phone contacts, favourites, groups";
  EXPECT_EQ(RootText(), CountedLabel(ResText(L"common.total"), static_cast<uint32_t>(handset.phoneContacts)));
  std::wstring before = RootText();
  contacts().OnReturnCount(ContentUri::kCdmaCount, 0, 7);   // a card count without its node
  contacts().OnReturnCount(ContentUri::kContactCount, 5, 99);  // a failed count
  EXPECT_EQ(RootText(), before);
  EXPECT_NE(InfoLog().find(" Query count of sysgroup fail!"), std::string::npos);
}

TEST_F(PimContactsTest, ASecondRefreshIsIgnoredAndAFailedOneQueriesNoCounts) {
  ProviderAutomation::FailOperation(L"DeleteProvider", 7);
  Create();
  window->ShowWindow(SW_SHOW);
  EXPECT_TRUE(contacts().IsRefreshing());
  EXPECT_FALSE(Enabled(IDC_CONTACT_GROUP_TREE));
  EXPECT_FALSE(Enabled(IDC_CONTACT_SEARCH));
  contacts().Refresh();
  // The refresh button's click, sent: handled before the failed answer can come in.
  window->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CONTACT_REFRESH, BN_CLICKED),
                      reinterpret_cast<LPARAM>(window->GetDlgItem(IDC_CONTACT_REFRESH)));
  EXPECT_TRUE(contacts().IsRefreshing());
  Settle();
  std::string log = InfoLog();
  EXPECT_EQ(Count(log, "Start refresh Contact!"), 1u);
  EXPECT_NE(log.find("Refresh Contact fail!"), std::string::npos);
  EXPECT_EQ(log.find("Start query the count of contact!"), std::string::npos);
  EXPECT_FALSE(contacts().IsRefreshing());
  EXPECT_TRUE(Enabled(IDC_CONTACT_GROUP_TREE)) << "the user can go on after a failure";
  EXPECT_TRUE(Enabled(IDC_CONTACT_SEARCH));
  EXPECT_FALSE(Enabled(IDC_CONTACT_DELETESOME)) << "nothing listed: nothing to delete";
}

TEST_F(PimContactsTest, TheTreeWaitsForTheListingAndNodesListTheirOwnContactsByLetter) {
  CreateAndShow();
  HTREEITEM favourites = contacts().ItemOf(ContactNode::kFavourites);
  ProviderAutomation::FailOperation(L"QueryAll", 9);
  ClickTreeItem(favourites);
  EXPECT_FALSE(Enabled(IDC_CONTACT_GROUP_TREE)) << "until the answer arrives";
  Settle();
  EXPECT_TRUE(Enabled(IDC_CONTACT_GROUP_TREE)) << "also after a failed answer";
  EXPECT_NE(InfoLog().find(" Query contact fail!"), std::string::npos);
  EXPECT_EQ(contacts().Rows().ContactCount(), 0);

  ProviderAutomation::ClearFaults();
  ClickTreeItem(favourites);
  Settle();
  const CContactRows& rows = contacts().Rows();
  EXPECT_EQ(static_cast<uint32_t>(rows.ContactCount()), contacts().Counts().favourites);
  int lastSlot = -1;
  for (int row = 0; row < rows.RowCount(); ++row) {
    if (rows.At(row).header) {
      EXPECT_GT(rows.At(row).slot, lastSlot) << "sections in letter order, \"other\" last";
      lastSlot = rows.At(row).slot;
    } else {
      EXPECT_TRUE(rows.At(row).starred) << "favourites only";
      EXPECT_EQ(rows.At(row).slot, lastSlot) << "under its own letter";
      EXPECT_EQ(FilingSlot(rows.At(row).contact.m_index), lastSlot);
    }
  }

  // A card lists its own book, read-only in the list.
  ClickTreeItem(contacts().ItemOf(ContactNode::kCardOne));
  Settle();
  EXPECT_EQ(static_cast<size_t>(rows.ContactCount()), ProviderAutomation::GetCounts().cardOneContacts);
  EXPECT_TRUE(window->ContactList().IsCardMode());
  EXPECT_FALSE(Enabled(IDC_CONTACT_DELETESOME)) << "card contacts are not deleted here";
  EXPECT_TRUE(Enabled(IDC_CONTACT_EXPORT));
}

TEST_F(PimContactsTest, SearchNarrowsTheCurrentNodeAndTheClearButtonBringsItBack) {
  CreateAndShow();
  ClickTreeItem(contacts().ItemOf(ContactNode::kPhone));
  Settle();
  int all = contacts().Rows().ContactCount();
  ASSERT_TRUE(contacts().Rows().IsContactRow(1));
  // A keyword that some contacts hold: two letters of the first contact's name.
  std::wstring keyword = contacts().Rows().At(1).contact.m_name[0].substr(0, 2);
  window->ContactSearch().SetWindowText(keyword);  // the edit tells its parent, as typing does
  Settle();
  const CContactRows& rows = contacts().Rows();
  ASSERT_GT(rows.ContactCount(), 0);
  EXPECT_LT(rows.ContactCount(), all);
  for (int row = 0; row < rows.RowCount(); ++row)
    if (!rows.At(row).header) {
      EXPECT_TRUE(rows.At(row).contact.Matches(keyword)) << row;
    }
  window->ContactSearch().Clear();
  Settle();
  EXPECT_EQ(contacts().Rows().ContactCount(), all);
}

TEST_F(PimContactsTest, TheCardFollowsTheClickedRowAndGoesWithTheWindow) {
  CreateAndShow();
  ClickTreeItem(contacts().ItemOf(ContactNode::kPhone));
  Settle();
  JorvAutomation::TakeJournal();
  int row = 3;
  ASSERT_TRUE(contacts().Rows().IsContactRow(row));
  window->ContactList().SelectRow(row);  // the list view selects, then tells
  ListNotify(NM_CLICK, row);
  Settle();
  EXPECT_EQ(contacts().CurrentContact().m_id, contacts().Rows().At(row).contact.m_id);
  EXPECT_EQ(Calls(L"JorvDisContactInfo").size(), 1u);
  EXPECT_TRUE(contacts().IsCardShown());
  window->ShowWindow(SW_HIDE);
  EXPECT_FALSE(contacts().IsCardShown());
  EXPECT_EQ(Calls(L"JorvDisContactInfoHide").size(), 1u);
  EXPECT_NE(InfoLog().find("Hide contact detailwnd!"), std::string::npos);
  // Clicking a letter header hides the card instead of asking for a contact.
  window->ShowWindow(SW_SHOW);
  Settle();
  EXPECT_TRUE(contacts().IsCardShown()) << "shown again with the window";
  ListNotify(NM_CLICK, 0);
  EXPECT_FALSE(contacts().IsCardShown());
}

TEST_F(PimContactsTest, TheMenusOfferTheirItemsWithShortcutsAndDisableByNodeAndRow) {
  CreateAndShow();
  ClickTreeItem(contacts().ItemOf(ContactNode::kPhone));
  Settle();
  POINT at{300, 300};
  window->ContactList().SelectRow(1);  // a right click selects the row it is on
  auto listMenu = CaptureMenu([&] { contacts().ShowListMenu(1, at); });
  ASSERT_NE(Find(listMenu, kCmdSendMessage), nullptr);
  EXPECT_EQ(Find(listMenu, kCmdSendMessage)->text, ResText(L"pim.menu.sendmsg") + L"  Ctrl+S");
  EXPECT_EQ(Find(listMenu, kCmdRefresh)->text, ResText(L"common.refresh") + L"      F5");
  EXPECT_EQ(Find(listMenu, kCmdSelectAll)->text, ResText(L"common.selectall") + L"      Ctrl+A");
  EXPECT_FALSE(Find(listMenu, kCmdRemoveFromGroup)->enabled) << "phone contacts are in no group to leave";
  EXPECT_TRUE(Find(listMenu, kCmdEditContact)->enabled);
  const MenuEntry* addTo = FindText(listMenu, ResText(L"pim.menu.addcontact"));
  ASSERT_NE(addTo, nullptr);
  EXPECT_EQ(addTo->sub.size(), contacts().GroupCount()) << "one item per group";
  EXPECT_EQ(listMenu.back().id, static_cast<UINT>(kCmdStar));

  auto onHeader = CaptureMenu([&] { contacts().ShowListMenu(0, at); });
  for (UINT id : {kCmdSendMessage, kCmdReadMessages, kCmdEditContact, kCmdDeleteContact})
    EXPECT_FALSE(Find(onHeader, id)->enabled) << id;
  EXPECT_FALSE(FindText(onHeader, ResText(L"pim.menu.addcontact"))->enabled);

  // The tree menu concerns the item clicked.
  auto onRoot = CaptureMenu([&] { contacts().ShowTreeMenu(contacts().ItemOf(ContactNode::kRoot), at); });
  EXPECT_TRUE(Find(onRoot, kCmdNewGroup)->enabled);
  for (UINT id : {kCmdSendGroupMessage, kCmdEditGroup, kCmdDeleteGroup}) EXPECT_FALSE(Find(onRoot, id)->enabled) << id;
  EXPECT_FALSE(FindText(onRoot, ResText(L"common.export"))->enabled);
  EXPECT_EQ(Find(onRoot, kCmdDeleteGroup)->text, ResText(L"pim.menu.deletegroup") + L"  DEL");
  auto onGroup = CaptureMenu([&] { contacts().ShowTreeMenu(contacts().GroupItem(0), at); });
  for (UINT id : {kCmdSendGroupMessage, kCmdNewGroup, kCmdEditGroup, kCmdDeleteGroup}) EXPECT_TRUE(Find(onGroup, id)->enabled) << id;

  // Choosing an item runs it: select all takes every contact row, no header.
  CaptureMenu([&] { contacts().ShowListMenu(1, at); }, kCmdSelectAll);
  EXPECT_EQ(window->ContactList().GetSelectedCount(), contacts().Rows().ContactCount());
  EXPECT_EQ(contacts().ImportExportMode(), 1);
}

TEST_F(PimContactsTest, MultiDeleteCountsChecksAndDeletesOnlyTheCheckedContacts) {
  CreateAndShow();
  ClickTreeItem(contacts().ItemOf(ContactNode::kPhone));
  Settle();
  const CContactRows& rows = contacts().Rows();
  size_t before = ProviderAutomation::GetCounts().phoneContacts;
  window->ContactList().SelectRow(1);  // a selection the batch delete must ignore

  Press(IDC_CONTACT_DELETESOME);
  EXPECT_TRUE(window->IsMultiDelete());
  EXPECT_FALSE(Enabled(IDC_MODULE_TAB));
  EXPECT_FALSE(Enabled(IDC_CONTACT_GROUP_TREE));
  EXPECT_TRUE(Visible(IDC_MULTIDELETE_OK));
  EXPECT_FALSE(Enabled(IDC_MULTIDELETE_OK)) << "nothing checked yet";
  EXPECT_FALSE(Visible(IDC_CONTACT_NEW));

  HeaderClick(kColumnCheck, 0);  // check all
  EXPECT_EQ(window->MultiDeleteCount(), rows.ContactCount()) << "the letter headers are not counted";
  EXPECT_TRUE(Enabled(IDC_MULTIDELETE_OK));
  HeaderClick(kColumnCheck, 1);  // uncheck all
  EXPECT_EQ(window->MultiDeleteCount(), 0);
  EXPECT_FALSE(Enabled(IDC_MULTIDELETE_OK));

  // Check two rows of the second section, uncheck one, click a header.
  int second = -1;
  for (int row = 1; row < rows.RowCount() && second < 0; ++row)
    if (rows.At(row).header) second = row;
  ASSERT_GT(second, 0);
  CellClick(second + 1, kColumnCheck, -1, 0);
  CellClick(second + 2, kColumnCheck, -1, 0);
  CellClick(second + 2, kColumnCheck, -1, 1);
  CellClick(second, kColumnCheck, -1, 0);
  EXPECT_EQ(window->MultiDeleteCount(), 1);
  ContentId doomed = rows.At(second + 1).contact.m_id;
  ContentId selected = rows.At(1).contact.m_id;

  Press(IDC_MULTIDELETE_OK);
  Settle();
  EXPECT_FALSE(window->IsMultiDelete());
  EXPECT_TRUE(Enabled(IDC_MODULE_TAB));
  EXPECT_TRUE(Enabled(IDC_CONTACT_GROUP_TREE));
  EXPECT_TRUE(Visible(IDC_CONTACT_NEW));
  EXPECT_FALSE(Visible(IDC_MULTIDELETE_OK));
  EXPECT_EQ(ProviderAutomation::GetCounts().phoneContacts, before - 1);
  EXPECT_EQ(rows.FindContact(doomed), -1);
  EXPECT_GE(rows.FindContact(selected), 0) << "a batch delete ignores the selection";
  EXPECT_EQ(rows.CheckedCount(), 0);
  EXPECT_EQ(JorvAutomation::OpenWaitCount(), 0) << "the wait animation closed with the answer";
  EXPECT_NE(InfoLog().find("Start bachdelete!"), std::string::npos);
  EXPECT_EQ(RootText().find(std::to_wstring(before) + L")"), std::wstring::npos) << "counted again";
}

TEST_F(PimContactsTest, ARowsDeleteActionAsksFirstAndRemovesOnlyThatContact) {
  CreateAndShow();
  ClickTreeItem(contacts().ItemOf(ContactNode::kPhone));
  Settle();
  const CContactRows& rows = contacts().Rows();
  size_t before = ProviderAutomation::GetCounts().phoneContacts;
  // The only contact of a section: its header goes with it.
  int row = -1;
  for (int r = 1; r + 1 < rows.RowCount() && row < 0; ++r)
    if (rows.At(r - 1).header && !rows.At(r).header && rows.At(r + 1).header) row = r;
  if (row < 0) row = 1;
  ContentId id = rows.At(row).contact.m_id;
  int slot = rows.At(row).slot;
  bool alone = rows.At(row - 1).header && (row + 1 >= rows.RowCount() || rows.At(row + 1).header);

  JorvAutomation::QueueAnswer(L"JorvMessageBox", 0);  // the user says no
  CellClick(row, kColumnActions, 1, 0);
  Settle();
  EXPECT_EQ(ProviderAutomation::GetCounts().phoneContacts, before);
  EXPECT_GE(rows.FindContact(id), 0);

  JorvAutomation::TakeJournal();
  JorvAutomation::QueueAnswer(L"JorvMessageBox", 1);
  CellClick(rows.FindContact(id), kColumnActions, 1, 0);
  std::vector<JorvCall> boxes = Calls(L"JorvMessageBox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, ResText(L"pim.contact.deletetip"));
  Settle();
  EXPECT_EQ(ProviderAutomation::GetCounts().phoneContacts, before - 1);
  EXPECT_EQ(rows.FindContact(id), -1);
  EXPECT_EQ(static_cast<size_t>(rows.ContactCount()), before - 1);
  if (alone) {
    EXPECT_EQ(rows.HeaderRow(slot), -1) << "an emptied section loses its header";
  }
  EXPECT_EQ(JorvAutomation::OpenWaitCount(), 0);
  EXPECT_NE(InfoLog().find("Delete Contact Success!"), std::string::npos);
  EXPECT_EQ(RootText().find(L"(" + std::to_wstring(before + ProviderAutomation::GetCounts().cardOneContacts +
                                                   ProviderAutomation::GetCounts().cardTwoContacts) + L")"),
            std::wstring::npos)
      << "the counts are asked again";
}

TEST_F(PimContactsTest, DisconnectClearsEverythingAndOnlyTheNextShowReloads) {
  CreateAndShow();
  window->ContactSearch().SetWindowText(L"zz");
  Settle();
  Press(IDC_CONTACT_DELETESOME);
  SetDeviceConnected(false);  // the cable is pulled: the library tells the window
  testing_support::PumpMessages();
  EXPECT_FALSE(window->IsLoaded());
  EXPECT_FALSE(window->IsMultiDelete());
  EXPECT_TRUE(Enabled(IDC_MODULE_TAB));
  EXPECT_EQ(window->CurrentModule(), CPimWnd::kContacts);
  EXPECT_TRUE(window->ContactSearch().GetWindowText().empty());
  EXPECT_EQ(contacts().Rows().RowCount(), 0);
  EXPECT_EQ(RootText(), CountedLabel(ResText(L"common.total"), 0));
  EXPECT_EQ(ChildTexts(contacts().ItemOf(ContactNode::kRoot)).size(), 3u) << "the cards went with the phone";
  EXPECT_EQ(Count(InfoLog(), "CSMSOperate:stopRecv interface ++++"), 1u);
  Settle();
  EXPECT_EQ(contacts().Rows().RowCount(), 0) << "nothing under way comes back";

  SetDeviceConnected(true);
  Settle();
  EXPECT_EQ(Count(InfoLog(), "Start refresh Contact!"), 1u) << "a reconnection alone loads nothing";
  window->ShowWindow(SW_HIDE);
  window->ShowWindow(SW_SHOW);
  Settle();
  EXPECT_EQ(Count(InfoLog(), "Start refresh Contact!"), 2u);
  EXPECT_EQ(static_cast<size_t>(contacts().Rows().ContactCount()), ProviderAutomation::GetCounts().phoneContacts);
}

TEST_F(PimContactsTest, TodayMovesAtTheFirstTickOfANewDayAndAZeroSizeMovesNothing) {
  CreateAndShow();
  SYSTEMTIME now{};
  now.wYear = 2026, now.wMonth = 12, now.wDay = 31, now.wHour = 23, now.wMinute = 59, now.wSecond = 59;
  wf::SetClock([&] { return now; });
  window->SendMessage(WM_TIMER, kDateTimer);
  EXPECT_EQ(window->TickDate().wDay, 31);
  now.wHour = 0, now.wMinute = 0, now.wSecond = 1, now.wYear = 2027, now.wMonth = 1, now.wDay = 1;
  window->SendMessage(WM_TIMER, kDateTimer);
  EXPECT_EQ(window->TickDate().wYear, 2027);
  EXPECT_EQ(window->TickDate().wMonth, 1);
  EXPECT_EQ(window->TickDate().wDay, 1);

  HWND view = window->GetDlgItem(IDC_CALENDAR_VIEW_AREA);
  RECT before;
  ::GetWindowRect(view, &before);
  window->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(0, 400));
  RECT after;
  ::GetWindowRect(view, &after);
  EXPECT_TRUE(::EqualRect(&before, &after));
  window->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(900, 400));
  ::GetWindowRect(view, &after);
  EXPECT_EQ(after.right - after.left, 900 - 188);
}

}  // namespace
}  // namespace pim_contacts_test
