#include "contact/ContactOperate.h"

#include <algorithm>

#include <commdlg.h>
#include <shlobj.h>

#include "contact/ContactGroupRules.h"
#include "contact/ContactGroupWnd.h"
#include "contact/PortDialogs.h"
#include "content/ContentUri.h"
#include "content/PimMessages.h"
#include "content/ReplyDispatch.h"
#include "controls/QsButton.h"
#include "controls/QsControls.h"
#include "controls/QsEdit.h"
#include "controls/QsTreeView.h"
#include "controls/ResText.h"
#include "controls/SuperGrid.h"
#include "frame/AppInterface.h"
#include "frame/suite/BaseLibrary.h"
#include "frame/suite/ResourceLibrary.h"
#include "frame/suite/SharedDialogs.h"
#include "framework/PopupMenu.h"
#include "framework/Text.h"
#include "message/MessageData.h"

using namespace Contact;
namespace U = ContentUri;

namespace {

void Info(const char* line) { LOG::I(PIM_INFO_LOG, "%s", line); }

// The windows of the module's dialogs, found by their titles when the phone
// goes away.
constexpr const wchar_t* kDialogTitleKeys[] = {
    L"pim.menu.editgroup", L"pim.static.newgroup", L"jorvhelper.newcontact.new", L"jorvhelper.newcontact.edit",
    L"common.open",        L"common.resave",       L"common.browsefolder",      L"common.messagebox.tamixtip"};

// Adds an item to a menu, its text the key's text followed by `accelerator`.
void AddItem(HMENU menu, UINT command, const wchar_t* key, const wchar_t* accelerator = L"") {
  std::wstring text = qs::ResText(key) + accelerator;
  ::AppendMenuW(menu, MF_STRING, command, text.c_str());
}

HMENU ExportSubmenu() {
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuW(menu, MF_STRING, kCmdExportXml, L"XML");
  ::AppendMenuW(menu, MF_STRING, kCmdExportExcel, L"EXCEL");
  ::AppendMenuW(menu, MF_STRING, kCmdExportVcard, L"VCARD");
  return menu;
}

// Greys the items of `off`; the two submenus are named by pseudo commands and
// found by their handles.
void DisableItems(HMENU menu, const std::set<UINT>& off, HMENU exportMenu, HMENU groupMenu) {
  for (UINT command : off) {
    if (command == kExportSubmenu || command == kAddToGroupSubmenu) {
      HMENU sub = command == kExportSubmenu ? exportMenu : groupMenu;
      for (int i = 0, n = ::GetMenuItemCount(menu); i < n; ++i)
        if (::GetSubMenu(menu, i) == sub) ::EnableMenuItem(menu, i, MF_BYPOSITION | MF_GRAYED);
    } else {
      ::EnableMenuItem(menu, command, MF_BYCOMMAND | MF_GRAYED);
      if (groupMenu) ::EnableMenuItem(groupMenu, command, MF_BYCOMMAND | MF_GRAYED);
    }
  }
}

}  // namespace

CContactOperate::CContactOperate() {
  m_owner.Open(this, this, this);
  m_support.m_pContactProvider = m_owner.Provider();
  m_support.m_pMSGHelper = m_owner.MessageHelper();
  m_support.m_pExportHelper = m_owner.ExportHelper();
}

CContactOperate::~CContactOperate() {
  // Nothing of the library may call back into a half-destroyed controller.
  m_support.m_pContactProvider = nullptr;
  m_support.m_pMSGHelper = nullptr;
  m_support.m_pExportHelper = nullptr;
  m_owner.Close();
  if (m_cardShown) JorvDisContactInfoHide();
}

bool CContactOperate::Ready() const { return m_controls.tree && m_controls.list; }

bool CContactOperate::Answer(const std::function<void()>& work) {
  return m_owner.Call([&] {
    work();
    return true;
  });
}

void CContactOperate::PostMain(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_controls.mainWindow) ::PostMessageW(m_controls.mainWindow, message, wParam, lParam);
}

void CContactOperate::Tell(const wchar_t* key) {
  JorvMessageBox(m_controls.mainWindow, qs::ResText(key).c_str(), qs::ResText(L"common.messagebox.tamixtip").c_str(),
                 JORV_MB_NOTICE, 0, 0);
}

bool CContactOperate::Ask(const wchar_t* key) {
  return JorvMessageBox(m_controls.mainWindow, qs::ResText(key).c_str(),
                        qs::ResText(L"common.messagebox.tamixtip").c_str(), JORV_MB_CONFIRM, 0, 0) == 1;
}

HWND CContactOperate::DialogOwner() const {
  HWND active = ::GetActiveWindow();
  return active ? active : m_controls.mainWindow;
}

HTREEITEM CContactOperate::SelectedTreeItem() const {
  return m_controls.tree
             ? reinterpret_cast<HTREEITEM>(m_controls.tree->SendMessage(TVM_GETNEXTITEM, TVGN_CARET, 0))
             : nullptr;
}

// ---------------------------------------------------------------------------
// Building the views

void CContactOperate::Init(const ContactControls& controls) {
  m_controls = controls;
  if (!Ready()) return;
  CQSTreeView& tree = *m_controls.tree;
  CQsSuperGrid& list = *m_controls.list;

  m_totalText = qs::ResText(L"common.total");
  m_groupText = qs::ResText(L"common.group");
  m_nodes[kPhoneNode].baseName = qs::ResText(L"pim.telephone");
  m_nodes[kFavouritesNode].baseName = qs::ResText(L"common.collection");

  tree.SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  m_root = InsertItem(TVI_ROOT, CountedLabel(m_totalText, 0));
  m_nodes[kPhoneNode].item = InsertItem(m_root, CountedLabel(m_nodes[kPhoneNode].baseName, 0));
  m_nodes[kFavouritesNode].item = InsertItem(m_root, CountedLabel(m_nodes[kFavouritesNode].baseName, 0));
  m_groupsItem = InsertItem(m_root, CountedLabel(m_groupText, 0));
  tree.SetGroupItem(m_root, true);
  tree.SetGroupItem(m_groupsItem, true);
  tree.SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(m_root));
  m_current = m_nodes[kPhoneNode].item;

  ContactRowLook look;
  look.otherText = qs::ResText(L"common.other");
  GetImage(L"pim_favorite_select.png", look.starOn);
  GetImage(L"pim_favorite_unselect.png", look.starOff);
  look.editText = qs::ResText(L"common.edit");
  look.deleteText = qs::ResText(L"common.delete");
  m_rows.SetLook(look);

  if (list.GetColumnCount() == 0) {
    auto fractions = ContactColumnFractions(list.GetClientRect().right + 187);
    const wchar_t* titles[kContactColumnCount] = {nullptr, L"pim.name", L"pim.tel", L"pim.email", L"common.group",
                                                  nullptr};
    for (int column = 0; column < kContactColumnCount; ++column)
      list.AddColumn(titles[column] ? qs::ResText(titles[column]) : std::wstring(), fractions[column]);
  }
  list.SetSectionImagesFromKeys(L"pim_list_Group_corner.png", L"pim_list_detail_open.png",
                                L"pim_list_detail_close.png");
  list.SetFontFromKey(GridFont::Action, L"tamix_font_gdione");
  list.SetColorFromKey(GridColor::ActionText, L"tamix_color_eight");
  list.SetModel(&m_rows);
}

void CContactOperate::LayoutList(int width, int height) {
  if (!m_controls.list) return;
  RECT rc = ContactListRect(width, height);
  m_controls.list->MoveWindow(rc);
  auto fractions = ContactColumnFractions(width);
  m_controls.list->SetColumnRatios(std::vector<double>(fractions.begin(), fractions.end()));
}

// ---------------------------------------------------------------------------
// Tree

HTREEITEM CContactOperate::InsertItem(HTREEITEM parent, const std::wstring& text, HTREEITEM after) {
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = const_cast<wchar_t*>(text.c_str());
  return reinterpret_cast<HTREEITEM>(m_controls.tree->SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void CContactOperate::SetItemText(HTREEITEM item, const std::wstring& text) {
  if (!item || !m_controls.tree) return;
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = const_cast<wchar_t*>(text.c_str());
  m_controls.tree->SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
}

void CContactOperate::SelectItem(HTREEITEM item) {
  if (item && m_controls.tree) m_controls.tree->SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void CContactOperate::EnableTree(bool enable) {
  if (m_controls.tree) m_controls.tree->EnableWindow(enable);
}

ContactNode CContactOperate::NodeOf(HTREEITEM item) const {
  if (!item) return ContactNode::kNone;
  if (item == m_root) return ContactNode::kRoot;
  if (item == m_groupsItem) return ContactNode::kGroups;
  if (item == m_nodes[kPhoneNode].item) return ContactNode::kPhone;
  if (item == m_nodes[kCardOneNode].item) return ContactNode::kCardOne;
  if (item == m_nodes[kCardTwoNode].item) return ContactNode::kCardTwo;
  if (item == m_nodes[kFavouritesNode].item) return ContactNode::kFavourites;
  return GroupIndexOf(item) >= 0 ? ContactNode::kGroup : ContactNode::kNone;
}

HTREEITEM CContactOperate::ItemOf(ContactNode node) const {
  switch (node) {
    case ContactNode::kRoot: return m_root;
    case ContactNode::kGroups: return m_groupsItem;
    case ContactNode::kPhone: return m_nodes[kPhoneNode].item;
    case ContactNode::kCardOne: return m_nodes[kCardOneNode].item;
    case ContactNode::kCardTwo: return m_nodes[kCardTwoNode].item;
    case ContactNode::kFavourites: return m_nodes[kFavouritesNode].item;
    default: return nullptr;
  }
}

int CContactOperate::GroupIndexOf(HTREEITEM item) const {
  for (size_t i = 0; i < m_groups.size(); ++i)
    if (m_groups[i].item == item) return static_cast<int>(i);
  return -1;
}

const wchar_t* CContactOperate::CurrentUri() const {
  switch (NodeOf(m_current)) {
    case ContactNode::kCardOne: return U::kContactCdma;
    case ContactNode::kCardTwo: return U::kContactGsm;
    case ContactNode::kFavourites: return U::kContactStar;
    default: return U::kContact;
  }
}

void CContactOperate::RemoveGroups() {
  for (const GroupEntry& entry : m_groups) {
    if (m_current == entry.item) m_current = m_nodes[kPhoneNode].item;
    m_controls.tree->SetGroupItem(entry.item, false);
    m_controls.tree->SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(entry.item));
  }
  m_groups.clear();
  UpdateGroupsLabel();
}

void CContactOperate::AddGroups(const ContentList& records) {
  for (const CContent* record : records) {
    auto* group = dynamic_cast<const CGroupData*>(record);
    if (!group) continue;
    GroupEntry entry;
    entry.group = *group;
    entry.item = InsertItem(m_groupsItem, CountedLabel(group->m_name, 0));
    m_groups.push_back(std::move(entry));
  }
  m_controls.tree->SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(m_groupsItem));
  UpdateGroupsLabel();
}

void CContactOperate::UpdateGroupsLabel() {
  SetItemText(m_groupsItem, CountedLabel(m_groupText, static_cast<uint32_t>(m_groups.size())));
}

void CContactOperate::UpdateRootLabel() {
  m_counts.hasCardOne = m_nodes[kCardOneNode].item != nullptr;
  m_counts.hasCardTwo = m_nodes[kCardTwoNode].item != nullptr;
  SetItemText(m_root, CountedLabel(m_totalText, m_counts.Total()));
}

void CContactOperate::RemoveCardNodes() {
  for (int node : {kCardOneNode, kCardTwoNode}) {
    FixedNode& card = m_nodes[node];
    if (!card.item) continue;
    if (m_current == card.item) m_current = m_nodes[kPhoneNode].item;
    m_controls.tree->SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(card.item));
    card.item = nullptr;
    card.count = 0;
  }
  m_counts.cardOne = m_counts.cardTwo = 0;
  UpdateRootLabel();
}

// ---------------------------------------------------------------------------
// List

void CContactOperate::RefreshList() {
  if (m_controls.list) m_controls.list->Refresh();
}

void CContactOperate::ClearList() {
  m_rows.Clear();
  if (m_controls.list) {
    m_controls.list->ClearSelection();
    m_controls.list->SetHeaderCheck(false);
  }
  RefreshList();
}

void CContactOperate::ShowRows(const ContentList& records, bool grouped) {
  DWORD start = ::GetTickCount();
  CQsSuperGrid& list = *m_controls.list;
  if (grouped) {
    // A new listing: the list is emptied and filled while it does not draw,
    // and never shown empty in between (its scroll range would go and come
    // back).
    list.ClearSelection();
    list.SetHeaderCheck(false);
    list.SetRedraw(FALSE);
    m_rows.Clear();
    m_rows.FillGrouped(records);
    list.Refresh();
    list.SetRedraw(TRUE);
    list.Invalidate(FALSE);
  } else {
    // A streamed batch: the owner-data list only learns its new row count.
    m_rows.AppendUngrouped(records);
    list.Refresh();
  }
  DWORD used = ::GetTickCount() - start;
  LOG::I(PIM_INFO_LOG, "Display contact count is: %d", static_cast<int>(records.size()));
  LOG::I(PIM_INFO_LOG, "Display contact used time is: %d ms", static_cast<int>(used));
}

void CContactOperate::UpdateToolbar() {
  ContactToolbarState state = ToolbarState(m_rows.ContactCount() == 0, m_refreshing, NodeOf(m_current));
  if (m_controls.deleteButton) m_controls.deleteButton->EnableWindow(state.deleteEnabled);
  if (m_controls.exportButton) m_controls.exportButton->EnableWindow(state.exportEnabled);
}

std::vector<int> CContactOperate::SelectedContactRows() const {
  std::vector<int> rows;
  if (!m_controls.list) return rows;
  for (int row : m_controls.list->GetSelectedRows())
    if (m_rows.IsContactRow(row)) rows.push_back(row);
  return rows;
}

void CContactOperate::SelectAll() {
  if (!m_controls.list) return;
  // Every contact row: the letter headers (27 at most) are left out.
  m_controls.list->SelectAll();
  for (int slot = 0; slot < kLetterSlotCount; ++slot)
    if (int header = m_rows.HeaderRow(slot); header >= 0) m_controls.list->SelectRow(header, false);
}

void CContactOperate::SetCheckMode(bool on) {
  // Leaving the mode keeps the boxes: a batch delete under way removes the
  // checked rows when its answer arrives.
  m_rows.SetCheckMode(on);
  if (m_controls.list) {
    m_controls.list->SetHeaderCheckColumn(on ? kColumnCheck : -1);
    m_controls.list->SetHeaderCheck(false);
    m_controls.list->RedrawAll();
  }
}

bool CContactOperate::ToggleRowCheck(int row) {
  if (!m_rows.IsContactRow(row)) return false;
  bool on = !m_rows.At(row).checked;
  m_rows.SetRowCheck(row, on);
  if (m_controls.list) m_controls.list->RedrawRow(row);
  return on;
}

void CContactOperate::SetAllChecks(bool on) {
  m_rows.SetAllChecks(on);
  if (m_controls.list) {
    m_controls.list->SetHeaderCheck(on);
    m_controls.list->RedrawAll();
  }
}

void CContactOperate::ClearChecks() { SetAllChecks(false); }

// ---------------------------------------------------------------------------
// Refresh and counts

void CContactOperate::Refresh() {
  if (!Ready() || m_refreshing) return;
  m_refreshing = true;
  for (CQsButton* button : {m_controls.deleteButton, m_controls.importButton, m_controls.refreshButton})
    if (button) button->EnableWindow(FALSE);
  if (m_controls.search) m_controls.search->EnableWindow(FALSE);
  if (m_controls.loading) m_controls.loading->ShowWindow(SW_SHOW);
  HideCard();

  m_controls.tree->SendMessage(TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(m_root));
  SelectItem(m_root);
  m_current = m_nodes[kPhoneNode].item;
  m_controls.list->SetCardMode(false);
  m_grouping = false;
  m_batches = 0;
  ClearList();
  RemoveGroups();
  EnableTree(false);

  Info("Start get siminfo !");
  m_support.GetSimInfo();
  Info("Start refresh Contact!");
  m_support.DeleteContactProvider();
  if (m_controls.host) m_controls.host->SetRunningTask(qs::ResText(L"common.tamixtip.runningtask"), true);
}

bool CContactOperate::OnReturnBatch(const std::wstring& uri, uint32_t status, const ContentList& records) {
  return Answer([&] {
    if (!Ready()) return;
    switch (content::MatchUri(uri, {U::kGroup, U::kContactStore})) {
      case 0:
        if (content::ReplySucceeded(status, "Query contactgroup success!", " Query ContactGroup fail!"))
          AddGroups(records);
        return;
      case 1:
        break;
      default:
        return;
    }
    if (!content::ReplySucceeded(status, nullptr, " Query contact fail!")) return;
    bool first = m_rows.ContactCount() == 0;
    ShowRows(records, false);
    ++m_batches;
    if (first && m_rows.ContactCount() > 0) {
      // Row 0 is the "other" header; the first contact is below it.
      m_controls.list->SelectRow(1);
      m_controls.list->SetFocusRow(1);
      if (m_controls.list->IsWindowVisible()) ShowCard(1, false);
    }
  });
}

bool CContactOperate::OnRefreshComplete(const std::wstring& uri, uint32_t status) {
  return Answer([&] {
    if (uri != U::kContactStore || !m_refreshing) return;
    m_refreshing = false;
    for (CQsButton* button : {m_controls.deleteButton, m_controls.importButton, m_controls.refreshButton})
      if (button) button->EnableWindow(TRUE);
    if (m_controls.search) m_controls.search->EnableWindow(TRUE);
    if (m_controls.loading) m_controls.loading->ShowWindow(SW_HIDE);
    UpdateToolbar();
    if (content::ReplySucceeded(status, "Refresh Contact Success!", "Refresh Contact fail!")) {
      Info("Start query the count of contact!");
      QueryCounts();
    }
    EnableTree(true);
    // The refresh folded the tree to its root; open it again on the nodes.
    m_controls.tree->SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(m_root));
    if (m_controls.host) m_controls.host->SetRunningTask(L"", false);
  });
}

void CContactOperate::QueryCounts() {
  Info("Start Refresh the count of group !");
  for (const wchar_t* uri : {U::kContactCount, U::kCdmaCount, U::kGsmCount, U::kStarCount}) m_support.QueryAll(uri);
  m_support.QueryGroupCount(U::kContact);
}

bool CContactOperate::OnReturnCount(const std::wstring& uri, uint32_t status, uint32_t count) {
  return Answer([&] {
    // In the order of the fixed nodes.
    static constexpr const char* kLines[kFixedCount] = {" Query count of Tel success!", " Query count of CDMA success!",
                                                        " Query count of GSM success!", " Query count of Star success!"};
    int node = content::MatchUri(uri, {U::kContactCount, U::kCdmaCount, U::kGsmCount, U::kStarCount});
    if (node == content::kNoMatch) return;
    if (status) return Info(" Query count of sysgroup fail!");
    FixedNode& fixed = m_nodes[node];
    if (!fixed.item) return;  // the card's node is gone (or never came): nothing to count
    Info(kLines[node]);
    fixed.count = count;
    SetItemText(fixed.item, CountedLabel(fixed.baseName, count));
    switch (node) {
      case kPhoneNode: m_counts.phone = count; break;
      case kCardOneNode: m_counts.cardOne = count; break;
      case kCardTwoNode: m_counts.cardTwo = count; break;
      default: m_counts.favourites = count; break;
    }
    UpdateRootLabel();
  });
}

bool CContactOperate::OnReturnGroupCount(const std::wstring&, uint32_t status, const GroupCountList& counts) {
  return Answer([&] {
    if (!content::ReplySucceeded(status, "Query the count of group success!", "Query the count of group fail!")) return;
    if (counts.empty()) {
      SetItemText(m_groupsItem, CountedLabel(m_groupText, 0));
      return;
    }
    for (const auto& [groupId, count] : counts)
      for (GroupEntry& entry : m_groups)
        if (entry.group.m_id == groupId) {
          entry.count = count;
          SetItemText(entry.item, CountedLabel(entry.group.m_name, count));
        }
  });
}

bool CContactOperate::OnGetSimInfo(uint32_t status, const SimCardList& cards) {
  return Answer([&] {
    if (!Ready()) return;
    RemoveCardNodes();
    if (!content::ReplySucceeded(status, "Get siminfo success!", "Get siminfo fail!")) return;
    for (const CSimInfo& card : cards) {
      int node = card.m_cardId == 1 ? kCardOneNode : card.m_cardId == 2 ? kCardTwoNode : -1;
      if (node < 0 || m_nodes[node].item) continue;
      m_nodes[node].baseName = qs::ResText(CardNameKey(getDisplayCardType(card), card.m_cardId));
      m_nodes[node].item = InsertItem(m_root, CountedLabel(m_nodes[node].baseName, 0));
    }
    m_cards = cards;
    UpdateRootLabel();
  });
}

// ---------------------------------------------------------------------------
// Listing and search

void CContactOperate::OnTreeSelect(HTREEITEM item) {
  if (!Ready() || !m_controls.deleteButton) return;
  ContactNode node = NodeOf(item);
  const wchar_t* uri = nullptr;
  switch (node) {
    case ContactNode::kCardOne: uri = U::kContactCdma; break;
    case ContactNode::kCardTwo: uri = U::kContactGsm; break;
    case ContactNode::kPhone: uri = U::kContact; break;
    case ContactNode::kFavourites: uri = U::kContactStar; break;
    case ContactNode::kGroup: uri = U::kContact; break;
    default: return;  // the root and the groups item list nothing
  }
  EnableTree(false);
  m_current = item;
  m_controls.list->SetCardMode(IsCardNode(node));
  if (node == ContactNode::kGroup) {
    m_support.QueryByClassId(uri, m_groups[GroupIndexOf(item)].group.m_id);
  } else {
    m_support.QueryAll(uri);
  }
}

void CContactOperate::Search(const std::wstring& keyword) {
  ContactNode node = NodeOf(m_current);
  ContentId classId = node == ContactNode::kGroup ? m_groups[GroupIndexOf(m_current)].group.m_id : 0;
  switch (node) {
    case ContactNode::kPhone:
    case ContactNode::kCardOne:
    case ContactNode::kCardTwo:
    case ContactNode::kFavourites:
    case ContactNode::kGroup:
      m_support.SearchContact(CurrentUri(), keyword, classId);
      break;
    default:
      break;
  }
}

bool CContactOperate::OnReturnContent(const std::wstring& uri, uint32_t status, const ContentList& records) {
  return Answer([&] {
    if (!Ready()) return;
    int match = content::MatchUri(uri, {U::kGroup, U::kContact, U::kContactStar, U::kContactCdma, U::kContactGsm});
    if (match == content::kNoMatch) return;
    if (match == 0) {
      if (content::ReplySucceeded(status, "Query contactgroup success!", " Query ContactGroup fail!")) {
        RemoveGroups();
        AddGroups(records);
      }
      return;
    }
    if (content::ReplySucceeded(status, "Query contact success!", " Query contact fail!")) {
      m_grouping = true;
      ShowRows(records, true);  // empties the list first
      if (m_cardShown) ShowCard(1, true);
    } else {
      ClearList();
    }
    UpdateToolbar();
    if (!m_controls.tree->IsWindowEnabled()) {
      EnableTree(true);
      PostMain(pim_msg::kContactFocus, 1);
    }
  });
}

// ---------------------------------------------------------------------------
// The contact card

void CContactOperate::ShowCard(int row, bool refreshOnly) {
  if (!m_controls.list) return;
  if (!m_rows.IsContactRow(row)) return HideCard();
  if (refreshOnly) {
    if (!m_cardShown) return;
    m_pendingAction = kCardRefresh;
  } else {
    m_pendingAction = kCardShow;
  }
  m_pendingRow = row;
  m_support.QueryByContentId(CurrentUri(), m_rows.At(row).contact.m_id);
}

bool CContactOperate::OnReturnById(const std::wstring&, uint32_t status, const ContentList& records) {
  return Answer([&] {
    const CContactData* contact = records.empty() ? nullptr : dynamic_cast<const CContactData*>(records.front());
    if (!content::ReplySucceeded(contact ? status : 1, "Query Contact By ID success!", "Query Contact By ID Fail!"))
      return;
    m_currentContact = *contact;
    PostMain(pim_msg::kContactById, 0);
  });
}

void CContactOperate::OnCardAction() {
  CardAction action = m_pendingAction;
  m_pendingAction = kCardNone;
  switch (action) {
    case kCardShow: {
      if (!m_controls.list) return;
      m_cardShown = true;
      PlaceCard();
      Info("Show contact detailwnd!");
      break;
    }
    case kCardRefresh:
      Info("Refresh contact detailwnd!");
      JorvDisContactRefurInfo(&m_currentContact);
      break;
    case kCardEdit:
      if (!JorvNewContactView(&m_currentContact, 1)) return;
      BeginBusy(L"common.updating");
      Info("Start update contact !");
      m_support.Update(U::kContact, &m_currentContact);
      break;
    default:
      break;
  }
}

void CContactOperate::PlaceCard() {
  if (!m_cardShown || !m_controls.list) return;
  RECT list = m_controls.list->GetWindowRect();
  JorvDisContactInfo(&m_currentContact, list.right - 362, list.top + 20, m_controls.mainWindow);
}

void CContactOperate::HideCard() {
  if (!m_cardShown) return;
  JorvDisContactInfoHide();
  m_cardShown = false;
  Info("Hide contact detailwnd!");
}

// ---------------------------------------------------------------------------
// Menus

void CContactOperate::ShowTreeMenu(HTREEITEM clicked, POINT screen) {
  if (!Ready()) return;
  m_portMode = 0;
  HMENU menu = ::CreatePopupMenu();
  AddItem(menu, kCmdSendGroupMessage, L"pim.menu.sendgroupmsg", L"  Ctrl+S");
  AddItem(menu, kCmdNewGroup, L"pim.menu.newgroup", L"  Ctrl+N");
  AddItem(menu, kCmdEditGroup, L"pim.menu.editgroup", L"  Ctrl+E");
  AddItem(menu, kCmdDeleteGroup, L"pim.menu.deletegroup", L"  DEL");
  HMENU exportMenu = ExportSubmenu();
  ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(exportMenu), qs::ResText(L"common.export").c_str());
  DisableItems(menu, DisabledTreeMenuItems(NodeOf(clicked), m_rows.RowCount() > 0), exportMenu, nullptr);
  wf::TrackPopup(menu, screen.x, screen.y, m_controls.mainWindow);
  ::DestroyMenu(menu);
}

void CContactOperate::ShowListMenu(int row, POINT screen) {
  if (!Ready()) return;
  m_portMode = 1;
  HMENU menu = ::CreatePopupMenu();
  AddItem(menu, kCmdSendMessage, L"pim.menu.sendmsg", L"  Ctrl+S");
  AddItem(menu, kCmdReadMessages, L"pim.menu.readsmsnote");
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AddItem(menu, kCmdRefresh, L"common.refresh", L"      F5");
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AddItem(menu, kCmdNewContact, L"common.new", L"      Ctrl+N");
  AddItem(menu, kCmdEditContact, L"common.edit", L"      Ctrl+E");
  AddItem(menu, kCmdDeleteContact, L"common.delete", L"      DEL");
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  HMENU groupMenu = ::CreatePopupMenu();
  for (size_t i = 0; i < m_groups.size(); ++i)
    ::AppendMenuW(groupMenu, MF_STRING, kCmdAddToGroupFirst + i, m_groups[i].group.m_name.c_str());
  ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(groupMenu), qs::ResText(L"pim.menu.addcontact").c_str());
  AddItem(menu, kCmdRemoveFromGroup, L"pim.menu.removecontact");
  HMENU exportMenu = ExportSubmenu();
  ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(exportMenu), qs::ResText(L"common.export").c_str());
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AddItem(menu, kCmdSelectAll, L"common.selectall", L"      Ctrl+A");
  AddItem(menu, kCmdStar, L"common.collection");

  ListMenuContext context;
  context.current = NodeOf(m_current);
  context.onContactRow = m_rows.IsContactRow(row);
  context.selectedRows = m_controls.list->GetSelectedCount();
  context.selectedContacts = static_cast<int>(SelectedContactRows().size());
  context.refreshing = m_refreshing;
  context.currentGroupIndex = GroupIndexOf(m_current);
  DisableItems(menu, DisabledListMenuItems(context), exportMenu, groupMenu);
  wf::TrackPopup(menu, screen.x, screen.y, m_controls.mainWindow);
  ::DestroyMenu(menu);
}

bool CContactOperate::OnMenuCommand(UINT command) {
  if (command >= kCmdAddToGroupFirst && command < kCmdAddToGroupFirst + m_groups.size()) {
    SetMembership(true, static_cast<int>(command - kCmdAddToGroupFirst));
    return true;
  }
  switch (command) {
    case kCmdSendGroupMessage: SendToGroup(); return true;
    case kCmdNewGroup: NewGroup(); return true;
    case kCmdEditGroup: EditGroup(); return true;
    case kCmdDeleteGroup: DeleteGroup(); return true;
    case kCmdExportXml: ImportExportXml(); return true;
    case kCmdExportExcel: ImportExportExcel(); return true;
    case kCmdExportVcard: ImportExportVcard(); return true;
    case kCmdSendMessage: SendToSelected(); return true;
    case kCmdRefresh:
      if (m_controls.search) m_controls.search->SetWindowText(L"");
      Refresh();
      return true;
    case kCmdNewContact: NewContact(); return true;
    case kCmdEditContact: {
      std::vector<int> rows = SelectedContactRows();
      if (rows.size() == 1) EditContact(rows.front());
      return true;
    }
    case kCmdDeleteContact: DeleteContacts(); return true;
    case kCmdRemoveFromGroup: SetMembership(false, GroupIndexOf(m_current)); return true;
    case kCmdStar: SetStar(true); return true;
    case kCmdSelectAll: SelectAll(); return true;
    default: return false;
  }
}

// ---------------------------------------------------------------------------
// Deleting

void CContactOperate::BeginBusy(const wchar_t* progressKey) {
  if (m_controls.host) m_controls.host->SetRunningTask(qs::ResText(L"common.tamixtip.runningtask"), true);
  m_wait = JorvWaitDynamicShowEx(m_controls.mainWindow, qs::ResText(progressKey).c_str());
}

void CContactOperate::EndBusy() {
  if (m_controls.mainWindow && ::IsWindow(m_controls.mainWindow))
    ::SendMessageW(m_controls.mainWindow, pim_msg::kHideWait, pim_msg::kModuleContacts,
                   reinterpret_cast<LPARAM>(m_wait));
  else if (m_wait)
    JorvWaitDynamicHideEx(m_wait);
  m_wait = nullptr;
  if (m_controls.host) m_controls.host->SetRunningTask(L"", false);
}

void CContactOperate::DeleteContacts() {
  std::vector<int> rows = SelectedContactRows();
  if (rows.empty() || IsCardNode(NodeOf(m_current))) return;
  HideCard();
  if (!Ask(L"pim.contact.deletetip")) return;
  m_batchDelete = false;
  m_deleteRows = rows;
  IdList ids;
  for (int row : rows) ids.push_back(m_rows.At(row).contact.m_id);
  BeginBusy(L"common.deleting");
  Info("Start delete contact!");
  m_support.Delete(U::kContact, ids);
}

void CContactOperate::BatchDeleteContacts() {
  m_batchDelete = true;
  IdList ids = m_rows.CheckedIds();
  BeginBusy(L"common.deleting");
  Info("Start bachdelete!");
  m_support.Delete(U::kContact, ids);
}

bool CContactOperate::OnDelete(const std::wstring& uri, uint32_t status) {
  return Answer([&] {
    int match = content::MatchUri(uri, {U::kContact, U::kGroup});
    if (match == content::kNoMatch) return;
    EndBusy();
    if (match == 1) return OnGroupDeleted(status);
    if (content::ReplySucceeded(status, "Delete Contact Success!", "Delete Contact fail!")) {
      if (!m_batchDelete) {
        // Ascending, each index lowered by the rows (and emptied headers)
        // already removed: remove by id instead, which is the same.
        std::vector<ContentId> ids;
        for (int row : m_deleteRows)
          if (m_rows.IsContactRow(row)) ids.push_back(m_rows.At(row).contact.m_id);
        for (ContentId id : ids) m_rows.Remove(id);
      } else {
        for (ContentId id : m_rows.CheckedIds()) m_rows.Remove(id);
      }
      if (m_controls.list) m_controls.list->ClearSelection();
      RefreshList();
      if (!m_refreshing) QueryCounts();
      UpdateToolbar();
    }
    if (m_batchDelete) ClearChecks();
    m_deleteRows.clear();
    PostMain(pim_msg::kContactFocus, 2);
  });
}

// ---------------------------------------------------------------------------
// The phone going away

void CContactOperate::CloseAll() {
  std::vector<std::wstring> titles;
  for (const wchar_t* key : kDialogTitleKeys) titles.push_back(qs::ResText(key));
  // The module's dialogs are top-level windows of this thread; each gets
  // one close message (a modal one ends its loop when we return).
  std::vector<HWND> windows;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM found) {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  for (HWND window : windows) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    if (::IsWindow(window) && std::find(titles.begin(), titles.end(), text) != titles.end())
      ::SendMessageW(window, WM_CLOSE, 0, 0);
  }
  m_support.Cancel();
}

void CContactOperate::ClearAll() {
  HideCard();
  m_refreshing = false;
  m_pendingAction = kCardNone;
  m_cards.clear();
  m_counts = ContactCounts{};
  if (!Ready()) return;
  ClearList();
  RemoveGroups();
  RemoveCardNodes();
  for (FixedNode& node : m_nodes) {
    node.count = 0;
    if (node.item) SetItemText(node.item, CountedLabel(node.baseName, 0));
  }
  UpdateRootLabel();
  m_current = m_nodes[kPhoneNode].item;
  m_controls.list->SetCardMode(false);
  EnableTree(true);
  if (m_controls.loading) m_controls.loading->ShowWindow(SW_HIDE);
  for (CQsButton* button : {m_controls.importButton, m_controls.refreshButton})
    if (button) button->EnableWindow(TRUE);
  if (m_controls.search) m_controls.search->EnableWindow(TRUE);
  UpdateToolbar();
  if (m_wait) EndBusy();
}

// ---------------------------------------------------------------------------
// Changing contacts

bool CContactOperate::BelongsToCurrentNode(const CContactData& contact) const {
  switch (NodeOf(m_current)) {
    case ContactNode::kPhone:
      return true;
    case ContactNode::kFavourites:
      return contact.m_starred != 0;
    case ContactNode::kGroup: {
      const std::wstring& name = m_groups[GroupIndexOf(m_current)].group.m_name;
      return std::find(contact.m_groupNames.begin(), contact.m_groupNames.end(), name) != contact.m_groupNames.end();
    }
    default:
      return false;
  }
}

void CContactOperate::NewContact() {
  HideCard();
  CContactData contact;
  if (!JorvNewContactView(&contact, 0)) return;
  BeginBusy(L"common.newing");
  Info("Start Insert Contact!");
  m_support.Insert(U::kContact, &contact);
}

void CContactOperate::EditContact(int row) {
  if (!m_rows.IsContactRow(row) || IsCardNode(NodeOf(m_current))) return;
  HideCard();
  m_pendingRow = row;
  m_pendingAction = kCardEdit;
  m_support.QueryByContentId(U::kContact, m_rows.At(row).contact.m_id);
}

void CContactOperate::AddContact(const CContactData& contact) {
  if (!m_refreshing) {
    for (const wchar_t* count : {U::kContactCount, U::kStarCount}) m_support.QueryAll(count);
    m_support.QueryGroupCount(U::kContact);
  }
  std::wstring keyword = m_controls.search ? m_controls.search->GetWindowText(512) : std::wstring();
  if (!keyword.empty() && !contact.Matches(keyword)) return;
  if (!Ready()) return;
  if (!m_grouping) {
    ContentList one{const_cast<CContactData*>(&contact)};
    m_rows.AppendUngrouped(one);
  } else if (BelongsToCurrentNode(contact)) {
    m_rows.AddGrouped(contact);
  }
  RefreshList();
  UpdateToolbar();
}

bool CContactOperate::OnInsert(const std::wstring& uri, uint32_t status, const ContentList& records) {
  return Answer([&] {
    int match = content::MatchUri(uri, {U::kContact, U::kGroup});
    if (match == content::kNoMatch) return;
    EndBusy();
    if (match == 0) {
      const CContactData* contact =
          records.empty() ? nullptr : dynamic_cast<const CContactData*>(records.front());
      if (content::ReplySucceeded(contact ? status : 1, "Insert Contact Success!", "Insert Contact fail!"))
        AddContact(*contact);
      PostMain(pim_msg::kContactFocus, 2);
      return;
    }
    const CGroupData* group = records.empty() ? nullptr : dynamic_cast<const CGroupData*>(records.front());
    if (content::ReplySucceeded(group ? status : 1, "Insert group Success!", "Insert ContactGroup fail!") && Ready()) {
      ContentList one{const_cast<CGroupData*>(group)};
      AddGroups(one);
    }
    PostMain(pim_msg::kContactFocus, 1);
  });
}

bool CContactOperate::OnUpdate(const std::wstring& uri, uint32_t status, const ContentList& records) {
  return Answer([&] {
    int match = content::MatchUri(uri, {U::kContact, U::kGroup});
    if (match == content::kNoMatch) return;
    EndBusy();
    if (match == 0) {
      const CContactData* contact =
          records.empty() ? nullptr : dynamic_cast<const CContactData*>(records.front());
      if (content::ReplySucceeded(contact ? status : 1, "Update Contact Success!", "Update Contact fail!") && Ready()) {
        int row = m_rows.FindContact(contact->m_id);
        m_support.QueryAll(U::kStarCount);
        m_support.QueryGroupCount(U::kContact);
        if (row >= 0) {
          if (!m_grouping) {
            m_rows.Replace(row, *contact);
          } else if (FilingSlot(contact->m_index) != m_rows.At(row).slot || !BelongsToCurrentNode(*contact)) {
            m_rows.Remove(contact->m_id);
            if (BelongsToCurrentNode(*contact)) m_rows.AddGrouped(*contact);
          } else {
            m_rows.Replace(row, *contact);
          }
        }
        if (m_currentContact.m_id == contact->m_id) m_currentContact = *contact;
        RefreshList();
        UpdateToolbar();
      }
      PostMain(pim_msg::kContactFocus, 2);
      return;
    }
    const CGroupData* group = records.empty() ? nullptr : dynamic_cast<const CGroupData*>(records.front());
    if (content::ReplySucceeded(group ? status : 1, "Update Group Success!", "Update ContactGroup fail!") && Ready()) {
      int index = GroupIndexOf(m_renameItem);
      if (index >= 0) {
        GroupEntry& entry = m_groups[index];
        entry.group = *group;
        SetItemText(entry.item, CountedLabel(entry.group.m_name, entry.count));
        m_support.QueryByClassId(U::kContact, entry.group.m_id);
      }
    }
    m_renameItem = nullptr;
    PostMain(pim_msg::kContactFocus, 1);
  });
}

// ---------------------------------------------------------------------------
// Groups

std::vector<std::wstring> CContactOperate::GroupNames() const {
  std::vector<std::wstring> names;
  for (const GroupEntry& entry : m_groups) names.push_back(entry.group.m_name);
  return names;
}

void CContactOperate::NewGroup() {
  CContactGroupWnd dialog(CContactGroupWnd::Mode::kNew, CGroupData{}, GroupNames());
  if (dialog.Run(DialogOwner()) != IDOK) return;
  CGroupData group;
  group.m_name = dialog.Group().m_name;
  group.m_remark = dialog.Group().m_remark;
  BeginBusy(L"common.newing");
  Info("Star insert group!");
  m_support.Insert(U::kGroup, &group);
}

void CContactOperate::EditGroup() {
  if (!m_controls.tree) return;
  HTREEITEM item = SelectedTreeItem();
  m_renameItem = item;
  int index = GroupIndexOf(item);
  if (index < 0) return;
  CContactGroupWnd dialog(CContactGroupWnd::Mode::kEdit, m_groups[index].group, GroupNames());
  if (dialog.Run(DialogOwner()) != IDOK) return;
  CGroupData copy = m_groups[index].group;
  copy.m_name = dialog.Group().m_name;
  copy.m_remark = dialog.Group().m_remark;
  UpdateGroup(copy);
}

void CContactOperate::UpdateGroup(CGroupData& changed) {
  BeginBusy(L"common.updating");
  Info("Start edit group!");
  m_support.Update(U::kGroup, &changed);
}

void CContactOperate::RenameGroup(HTREEITEM item, const std::wstring& newName) {
  int index = GroupIndexOf(item);
  if (index < 0) return;
  std::wstring name;
  std::vector<std::wstring> others;
  for (size_t i = 0; i < m_groups.size(); ++i)
    if (static_cast<int>(i) != index) others.push_back(m_groups[i].group.m_name);
  const std::wstring& current = m_groups[index].group.m_name;
  switch (CheckGroupName(newName, current, others, name)) {
    case GroupNameVerdict::kEmpty:
      Tell(L"pim.contact.groupemptytip");
      return;
    case GroupNameVerdict::kExists:
      Tell(L"pim.group.existtip");
      return;
    case GroupNameVerdict::kAccepted:
      break;
  }
  if (name == current) return;
  m_renameItem = item;
  CGroupData copy = m_groups[index].group;
  copy.m_name = name;
  UpdateGroup(copy);
}

void CContactOperate::DeleteGroup() {
  if (!m_controls.tree) return;
  HTREEITEM item = SelectedTreeItem();
  m_deleteItem = item;
  int index = GroupIndexOf(item);
  if (index < 0) return;
  if (!Ask(L"pim.contactgroup.deletetip")) return;
  IdList ids{m_groups[index].group.m_id};
  BeginBusy(L"common.deleting");
  Info("Start delete group!");
  m_support.Delete(U::kGroup, ids);
}

void CContactOperate::OnGroupDeleted(uint32_t status) {
  if (content::ReplySucceeded(status, "Delete group Success!", "Delete ContactGroup fail!") && Ready()) {
    int index = GroupIndexOf(m_deleteItem);
    if (index >= 0) {
      m_controls.tree->SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(m_deleteItem));
      m_groups.erase(m_groups.begin() + index);
      if (!m_groups.empty()) {
        size_t next = std::min(static_cast<size_t>(index), m_groups.size() - 1);
        SelectItem(m_groups[next].item);
        m_current = m_groups[next].item;
        m_support.QueryByClassId(U::kContact, m_groups[next].group.m_id);
      } else {
        SelectItem(m_nodes[kPhoneNode].item);
        m_current = m_nodes[kPhoneNode].item;
        m_controls.list->SetCardMode(false);
        m_support.QueryAll(U::kContact);
      }
      m_support.QueryGroupCount(U::kContact);
      UpdateGroupsLabel();
    }
  }
  m_deleteItem = nullptr;
  PostMain(pim_msg::kContactFocus, 1);
}

// ---------------------------------------------------------------------------
// Favourites and membership

void CContactOperate::SetStar(bool star) {
  if (!m_controls.list || IsCardNode(NodeOf(m_current))) return;
  m_starRows = SelectedContactRows();
  if (m_starRows.empty()) return;
  m_star = star;
  IdList ids;
  for (int row : m_starRows) ids.push_back(m_rows.At(row).contact.m_id);
  BeginBusy(star ? L"common.collecting" : L"common.cancelcollecting");
  Info("Start collect contact!");
  m_support.AddCollection(U::kContact, ids, star);
}

bool CContactOperate::OnSetStar(const std::wstring& uri, uint32_t status) {
  return Answer([&] {
    if (uri != U::kContact) return;
    EndBusy();
    if (content::ReplySucceeded(status, "Star Success!", "Star fail!") && Ready()) {
      std::vector<ContentId> gone;
      for (int row : m_starRows) {
        if (!m_rows.IsContactRow(row)) continue;
        m_rows.SetStarred(row, m_star);
        if (!m_star && NodeOf(m_current) == ContactNode::kFavourites) gone.push_back(m_rows.At(row).contact.m_id);
      }
      for (ContentId id : gone) m_rows.Remove(id);
      if (!gone.empty()) m_controls.list->ClearSelection();
      RefreshList();
      m_support.QueryAll(U::kStarCount);
      UpdateToolbar();
    }
    m_starRows.clear();
    PostMain(pim_msg::kContactFocus, 2);
  });
}

void CContactOperate::SetMembership(bool add, int groupIndex) {
  if (!m_controls.list) return;
  // Removing always concerns the group shown.
  if (!add) groupIndex = GroupIndexOf(m_current);
  if (groupIndex < 0 || groupIndex >= static_cast<int>(m_groups.size())) return SetStar(add);
  m_memberRows = SelectedContactRows();
  if (m_memberRows.empty()) return;
  m_memberAdd = add;
  m_memberGroup = groupIndex;
  IdList ids;
  for (int row : m_memberRows) ids.push_back(m_rows.At(row).contact.m_id);
  BeginBusy(add ? L"pim.contact.adding" : L"pim.contact.removing");
  Info("Start set membership!");
  m_support.AttachMembership(U::kMembership, ids, m_groups[groupIndex].group.m_id, add);
}

bool CContactOperate::OnMembership(const std::wstring& uri, uint32_t status) {
  return Answer([&] {
    if (uri != U::kMembership) return;
    EndBusy();
    if (content::ReplySucceeded(status, "Set membership success!", "Set membership fail!") && Ready() &&
        m_memberGroup >= 0 && m_memberGroup < static_cast<int>(m_groups.size())) {
      const std::wstring& name = m_groups[m_memberGroup].group.m_name;
      if (!m_memberAdd) {
        std::vector<ContentId> gone;
        for (int row : m_memberRows)
          if (m_rows.IsContactRow(row)) gone.push_back(m_rows.At(row).contact.m_id);
        for (ContentId id : gone) m_rows.Remove(id);
        m_controls.list->ClearSelection();
        UpdateToolbar();
      } else {
        for (int row : m_memberRows) m_rows.AddGroupName(row, name);
      }
      RefreshList();
      m_support.QueryGroupCount(U::kContact);
    }
    m_memberRows.clear();
    PostMain(pim_msg::kContactFocus, 2);
  });
}

// ---------------------------------------------------------------------------
// Sending

void CContactOperate::SendToSelected() {
  std::wstring numbers;
  for (int row : SelectedContactRows()) {
    std::wstring number = m_rows.At(row).contact.GetFirstPhone();
    if (!number.empty()) numbers += number + L";";
  }
  m_groupMessage = false;
  OpenCompose(numbers);
}

void CContactOperate::SendToGroup() {
  std::wstring numbers;
  for (int row = 0; row < m_rows.RowCount(); ++row) {
    if (!m_rows.IsContactRow(row)) continue;
    std::wstring number = m_rows.At(row).contact.GetFirstPhone();
    if (!number.empty()) numbers += number + L";";
  }
  m_groupMessage = true;
  OpenCompose(numbers);
}

void CContactOperate::OpenCompose(const std::wstring& numbers) {
  Message::CSMSData draft;
  draft.m_phoneNumber = numbers;
  SimCardList cards = m_cards;
  ContentList written;
  int save = 0;
  int send = JorvPhoneSendSmsNoNote(&draft, cards, 1, written, save);
  if (send && !m_cards.empty() && !written.empty()) {
    const CSimInfo& card = m_cards.front();
    for (CContent* record : written)
      if (auto* message = dynamic_cast<Message::CSMSData*>(record)) message->m_simText = card.m_cardText;
    BeginBusy(L"common.sending");
    Info("Start send msg!");
    m_support.Send(U::kSms, card.m_cardId, written, 1);
  }
  DeleteContents(written);
}

bool CContactOperate::OnSent(const std::wstring& uri, uint32_t status, const ContentList& messages) {
  return Answer([&] {
    if (uri != U::kSms) return;
    EndBusy();
    if (content::ReplySucceeded(status, "Send msg success!", "Send msg fail!")) {
      PostMain(pim_msg::kSentFromContacts, 2, static_cast<LPARAM>(messages.size()));
      if (m_controls.host) {
        std::wstring tip;
        const auto* first = messages.empty() ? nullptr : dynamic_cast<const Message::CSMSData*>(messages.front());
        if (messages.size() == 1 && first)
          tip = wf::FormatText(qs::ResText(L"pim.sms.sendmsgtip").c_str(), first->m_phoneNumber.c_str());
        else
          tip = qs::ResText(L"pim.sms.sendmoretip");
        m_controls.host->ShowTrayTip(0, tip);
      }
    }
    PostMain(pim_msg::kContactFocus, 2);
  });
}

// ---------------------------------------------------------------------------
// Import and export

void CContactOperate::ImportExportXml() { ImportExport(PortFormat::kXml); }
void CContactOperate::ImportExportExcel() { ImportExport(PortFormat::kExcel); }
void CContactOperate::ImportExportVcard() { ImportExport(PortFormat::kVcard); }

bool CContactOperate::AskPath(PortFormat format, bool import, std::wstring& path) {
  const std::wstring& start = UniPath::GetExportPath();
  HWND owner = DialogOwner();
  if (format == PortFormat::kVcard) {
    std::wstring title = qs::ResText(L"common.selectdirection");
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    browse.lpfn = [](HWND window, UINT message, LPARAM, LPARAM data) -> int {
      if (message == BFFM_INITIALIZED) {
        // Titled so that the module finds it to close it when the phone goes.
        ::SetWindowTextW(window, qs::ResText(L"common.browsefolder").c_str());
        ::SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
      }
      return 0;
    };
    browse.lParam = reinterpret_cast<LPARAM>(start.c_str());
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&browse);
    if (!chosen) return false;
    wchar_t folder[MAX_PATH] = {};
    bool ok = ::SHGetPathFromIDListW(chosen, folder) != FALSE;
    ::CoTaskMemFree(chosen);
    path = folder;
    return ok && !path.empty();
  }
  return port::AskFile(owner, format == PortFormat::kExcel ? port::FileKind::kExcel : port::FileKind::kXml, import,
                       path);
}

void CContactOperate::ImportExport(PortFormat format) {
  m_progressShown = false;
  m_portFinished = false;
  if (format == PortFormat::kExcel && !port::ExcelInstalled()) {
    Tell(L"pim.port.noinstalltip");
    return;
  }
  static constexpr const char* kFormatNames[] = {"Xml", "Excel", "Vcard"};
  const char* name = kFormatNames[static_cast<int>(format)];
  const wchar_t* suffix = format == PortFormat::kXml     ? U::kExportXmlSuffix
                          : format == PortFormat::kExcel ? U::kExportExcelSuffix
                                                         : U::kExportVcardSuffix;
  bool import = m_portMode == 2;
  std::wstring path;
  if (!AskPath(format, import, path)) return;
  if (import) {
    LOG::I(PIM_INFO_LOG, "Start import contacts by %s!", name);
    const wchar_t* uri = format == PortFormat::kXml     ? U::kContactImportXml
                         : format == PortFormat::kExcel ? U::kContactImportExcel
                                                        : U::kContactImportVcard;
    if (format == PortFormat::kVcard) m_support.ImportFromFolder(uri, path);
    else m_support.Import(uri, {path});
    if (m_controls.mainWindow)
      ::SendMessageW(m_controls.mainWindow, pim_msg::kImportExportStep, pim_msg::kModuleContacts,
                     pim_msg::kStepImportStarted);
    return;
  }
  if (m_portMode == 0) {
    LOG::I(PIM_INFO_LOG, "Start export the group contacts by %s", name);
    ContactNode node = NodeOf(m_current);
    if (node == ContactNode::kGroup) {
      m_support.ExportByClassId(std::wstring(U::kContact) + suffix, path, m_groups[GroupIndexOf(m_current)].group.m_id);
    } else if (IsFixedNode(node)) {
      m_support.Export(std::wstring(CurrentUri()) + suffix, path);
    }
  } else {
    IdList ids;
    for (int row : SelectedContactRows()) ids.push_back(m_rows.At(row).contact.m_id);
    LOG::I(PIM_INFO_LOG, "Start export the select contacts by %s", name);
    ContactNode node = NodeOf(m_current);
    const wchar_t* base = node == ContactNode::kCardOne   ? U::kContactCdma
                          : node == ContactNode::kCardTwo ? U::kContactGsm
                                                          : U::kContact;
    m_support.ExportByIds(std::wstring(base) + suffix, path, ids);
  }
  if (m_controls.mainWindow)
    ::SendMessageW(m_controls.mainWindow, pim_msg::kImportExportStep, pim_msg::kModuleContacts,
                   pim_msg::kStepExportStarted);
}

void CContactOperate::ShowImportProgress() { RunProgress(L"common.import", L"pim.static.importing"); }

void CContactOperate::ShowExportProgress() { RunProgress(L"common.export", L"pim.static.exporting"); }

void CContactOperate::RunProgress(const wchar_t* titleKey, const wchar_t* messageKey) {
  if (m_portFinished) return;  // the end came first: nothing to wait for
  if (m_controls.host) m_controls.host->SetRunningTask(qs::ResText(L"common.tamixtip.runningtask"), true);
  m_progress.SetTexts(qs::ResText(titleKey), qs::ResText(messageKey));
  m_progressShown = true;
  HWND owner = DialogOwner();
  if (m_progress.Run(owner) == CPimProgressWnd::kCancelled) {
    m_progressShown = false;
    m_support.CancelExport();
  }
}

void CContactOperate::FinishImportExport() {
  m_portFinished = true;
  if (m_progressShown) {
    m_progress.Close(0);
    m_progressShown = false;
  }
  if (m_controls.host) m_controls.host->SetRunningTask(L"", false);
}

bool CContactOperate::OnSetProgress(uint32_t done, uint32_t total) {
  return Answer([&] {
    if (m_progressShown) m_progress.SetProgress(done, total);
  });
}

bool CContactOperate::OnImportComplete(const std::wstring&, uint32_t status) {
  return Answer([&] {
    if (m_controls.mainWindow)
      ::SendMessageW(m_controls.mainWindow, pim_msg::kImportExportStep, pim_msg::kModuleContacts,
                     pim_msg::kStepFinished);
    if (!content::ReplySucceeded(status, "Import contacts success!", "Import contacts fail!") && m_controls.host)
      m_controls.host->ShowTrayTip(0, qs::ResText(L"pim.contact.importfail"));
    if (!Ready() || !m_controls.deleteButton) return;
    // Whatever came in, the module shows the phone again.
    m_controls.tree->SendMessage(TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(m_root));
    SelectItem(m_root);
    m_current = m_nodes[kPhoneNode].item;
    m_support.QueryAll(U::kGroup);
    QueryCounts();
    m_support.QueryAll(U::kContact);
    m_controls.list->SetCardMode(false);
    m_controls.deleteButton->EnableWindow(TRUE);
    if (m_controls.search) m_controls.search->SetWindowText(L"");
  });
}

bool CContactOperate::OnExportComplete(const std::wstring&, uint32_t status) {
  return Answer([&] {
    if (m_controls.mainWindow)
      ::SendMessageW(m_controls.mainWindow, pim_msg::kImportExportStep, pim_msg::kModuleContacts,
                     pim_msg::kStepFinished);
    if (!content::ReplySucceeded(status, "Export contacts success!", "Export contacts fail!") && m_controls.host)
      m_controls.host->ShowTrayTip(0, qs::ResText(L"pim.contact.exportfail"));
  });
}
