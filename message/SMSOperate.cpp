#include "message/SMSOperate.h"

#include <algorithm>
#include <cwctype>

#include "content/ContentUri.h"
#include "content/PimMessages.h"
#include "content/ReplyDispatch.h"
#include "contact/ContactData.h"
#include "controls/QsButton.h"
#include "controls/QsControls.h"
#include "controls/QsTreeView.h"
#include "controls/ResText.h"
#include "controls/SuperGrid.h"
#include "frame/AppInterface.h"
#include "frame/resmodule/PimResIds.h"
#include "frame/suite/BaseLibrary.h"
#include "frame/suite/ResourceLibrary.h"
#include "frame/suite/SharedDialogs.h"
#include "framework/Text.h"
#include "message/MessageFolders.h"
#include "message/MessageTexts.h"

using namespace Message;
namespace U = ContentUri;

namespace {

constexpr const char* kTag = "CSMSOperate";

void Info(const char* line) { LOG::I(kTag, "%s", line); }

// A wide printf-style resource text with its arguments.
template <typename... Args>
std::wstring FormatText(const wchar_t* key, Args... args) {
  std::wstring format = qs::ResText(key);
  wchar_t buffer[1024];
  int written = _snwprintf(buffer, std::size(buffer) - 1, format.c_str(), args...);
  buffer[std::size(buffer) - 1] = 0;
  return written < 0 ? std::wstring(buffer) : std::wstring(buffer, static_cast<size_t>(written));
}

std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
  return text;
}

bool Matches(const CSMSData& message, const std::wstring& lowerKeyword) {
  for (const std::wstring* field : {&message.m_contactName, &message.m_phoneNumber, &message.m_body})
    if (Lower(*field).find(lowerKeyword) != std::wstring::npos) return true;
  return false;
}

// The tree's items, first to last, at the root.
void DeleteAllItems(CQSTreeView* tree) {
  if (tree) tree->SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

HTREEITEM InsertRootItem(CQSTreeView* tree, const std::wstring& text) {
  TVINSERTSTRUCTW insert{};
  insert.hParent = TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = const_cast<wchar_t*>(text.c_str());
  return reinterpret_cast<HTREEITEM>(tree->SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void SetItemText(CQSTreeView* tree, HTREEITEM item, const std::wstring& text) {
  if (!tree || !item) return;
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = const_cast<wchar_t*>(text.c_str());
  tree->SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
}

void SelectTreeItem(CQSTreeView* tree, HTREEITEM item) {
  if (tree && item) tree->SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

HTREEITEM TreeSelection(const CQSTreeView* tree) {
  return tree ? reinterpret_cast<HTREEITEM>(::SendMessageW(tree->m_hWnd, TVM_GETNEXTITEM, TVGN_CARET, 0)) : nullptr;
}

void Enable(wf::CWindow* window, bool enable) {
  if (window && window->m_hWnd) window->EnableWindow(enable);
}

void Show(wf::CWindow* window, bool show) {
  if (window && window->m_hWnd) window->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

}  // namespace

CSMSOperate::CSMSOperate() {
  ::InitializeCriticalSection(&m_listLock);
  m_owner.Open(static_cast<IDataProviderCallback*>(this), static_cast<IInstantMessageCallback*>(this),
               static_cast<IExportCallback*>(this));
}

CSMSOperate::~CSMSOperate() {
  m_owner.Close();
  if (m_chat.m_hWnd) m_chat.DestroyWindow();
  if (m_detail.m_hWnd) m_detail.DestroyWindow();
  ::DeleteCriticalSection(&m_listLock);
}

bool CSMSOperate::Answer(const std::function<void()>& work) {
  return m_owner.Call([&] {
    work();
    return true;
  });
}

void CSMSOperate::ShowWait(const wchar_t* textKey) {
  if (m_controls.host) m_controls.host->SetRunningTask(qs::ResText(L"common.tamixtip.runningtask"), true);
  if (m_wait) JorvWaitDynamicHideEx(m_wait);
  m_wait = JorvWaitDynamicShowEx(m_controls.mainWindow, qs::ResText(textKey).c_str());
}

void CSMSOperate::CloseWait() {
  if (m_wait) {
    if (m_controls.mainWindow && ::IsWindow(m_controls.mainWindow))
      ::SendMessageW(m_controls.mainWindow, pim_msg::kHideWait, pim_msg::kModuleMessages,
                     reinterpret_cast<LPARAM>(m_wait));
    else
      JorvWaitDynamicHideEx(m_wait);
    m_wait = nullptr;
  }
  if (m_controls.host) m_controls.host->SetRunningTask(L"", false);
}

void CSMSOperate::TrayTip(const std::wstring& text) {
  if (m_controls.host) m_controls.host->ShowTrayTip(0, text);
}

// ---------------------------------------------------------------------------
// Building the views

void CSMSOperate::Init(const MessageControls& controls) {
  m_controls = controls;
  if (!Ready()) return;
  InitMessageList(*m_controls.list);
  InitFolderTree(*m_controls.folderTree, *m_controls.chatTree);
  if (!m_chat.m_hWnd && m_controls.mainWindow) m_chat.Create(m_controls.mainWindow, this);
  if (!m_detail.m_hWnd && m_controls.mainWindow) m_detail.Create(m_controls.mainWindow, this);
  Show(&m_chat, false);
  Show(m_controls.chatTree, false);
}

void CSMSOperate::InitMessageList(CQsSuperGrid& list) {
  MessageRowLook look;
  GetImage(L"sms_lockicon_lock.png", look.locked);
  GetImage(L"sms_lockicon_unlock.png", look.unlocked);
  GetImage(L"sms_messageicon_readed.png", look.read);
  GetImage(L"sms_messageicon_noread.png", look.unread);
  GetImage(L"pim_list_detail.png", look.action);
  look.deleteText = qs::ResText(L"common.delete");
  m_rows.SetLook(look);
  UpdateNetworkTexts();

  if (list.GetColumnCount() == 0) {
    auto fractions = MessageColumnFractions(list.GetClientRect().right);
    const wchar_t* titles[kMessageColumnCount] = {nullptr, nullptr, L"pim.sms.sendperson", L"pim.sms.msgcontent",
                                                  L"pim.sms.time", L"pim.sim.sendnet", nullptr};
    for (int column = 0; column < kMessageColumnCount; ++column)
      list.AddColumn(titles[column] ? qs::ResText(titles[column]) : std::wstring(), fractions[column]);
  }
  list.SetSectionImagesFromKeys(L"pim_list_Group_corner.png", L"", L"");
  list.SetCheckBoxImagesFromKeys(L"pim_checkbox_unselect.png", L"pim_checkbox_select.png");
  list.SetHeaderImagesFromKeys(L"comm_listheaer_span.png", L"comm_listheaer_sep.png");
  list.SetFontFromKey(GridFont::Row, L"tamix_font_gdione");
  list.SetFontFromKey(GridFont::Section, L"tamix_font_gdithree");
  list.SetFontFromKey(GridFont::Header, L"tamix_font_gditwo");
  list.SetColorFromKey(GridColor::Text, L"tamix_color_one");
  list.SetColorFromKey(GridColor::ActionText, L"tamix_color_eight");
  list.SetModel(&m_rows);
}

void CSMSOperate::InitFolderTree(CQSTreeView& folderTree, CQSTreeView& chatTree) {
  Gdiplus::Image* background = nullptr;
  GetImage(L"pim_tree_bg.png", background);
  for (CQSTreeView* tree : {&folderTree, &chatTree}) {
    tree->SetBackgroundImage(background);
    tree->SetStateImageFromKey(qs::kTreeSelected, L"pim_treeitem_select.png");
    tree->SetStateImageFromKey(qs::kTreeUnselected, L"pim_treeitem_unselect2.png");
  }
}

void CSMSOperate::LayoutViews(int width, int height) {
  RECT area{187, 36, std::max(187, width), std::max(36, height)};
  if (m_controls.list) {
    m_controls.list->MoveWindow(area);
    auto fractions = MessageColumnFractions(area.right - area.left);
    m_controls.list->SetColumnRatios(std::vector<double>(fractions.begin(), fractions.end()));
  }
  if (m_chat.m_hWnd) m_chat.MoveWindow(area);
}

void CSMSOperate::ShowViews(bool moduleShown) {
  m_moduleShown = moduleShown;
  // The detail window belongs to the page: it goes when the page does.
  if (!moduleShown && m_detail.m_hWnd) m_detail.Hide();
  Show(m_controls.folderTree, moduleShown && !m_conversationMode);
  Show(m_controls.list, moduleShown && !m_conversationMode);
  Show(m_controls.chatTree, moduleShown && m_conversationMode);
  Show(&m_chat, moduleShown && m_conversationMode);
}

void CSMSOperate::UpdateNetworkTexts() {
  MessageRowLook look = m_rows.Look();
  look.networkByCard.clear();
  CSMSData probe;
  for (const CSimInfo& card : m_cards) {
    probe.m_cardId = card.m_cardId;
    look.networkByCard[card.m_cardId] = NetworkText(probe, m_cards);
  }
  probe.m_cardId = -1;
  look.unknownNetwork = NetworkText(probe, m_cards);
  m_rows.SetLook(look);
}

// ---------------------------------------------------------------------------
// Refresh

void CSMSOperate::Refresh() {
  if (!Ready() || m_refreshing) return;
  m_refreshing = true;
  for (CQsButton* button : {m_controls.newButton, m_controls.deleteButton, m_controls.importButton,
                            m_controls.exportButton, m_controls.refreshButton})
    Enable(button, false);
  Show(m_controls.loading, true);
  m_batches = 0;
  {
    m_rows.Clear();
    m_controls.list->ClearSelection();
    m_controls.list->SetHeaderCheck(false);
    m_controls.list->Refresh();
  }
  RequestSimInfo();
  Info("Start refresh SMS!");
  m_folders.clear();
  if (IDataProvider* provider = m_owner.Provider()) provider->DeleteProvider(U::kSmsStore);
  if (m_conversationMode) {
    Enable(m_controls.chatTree, false);
    Enable(&m_chat, false);
  } else {
    Enable(m_controls.list, false);
  }
  if (m_controls.host) m_controls.host->SetRunningTask(qs::ResText(L"common.tamixtip.runningtask"), true);
}

void CSMSOperate::RequestSimInfo() {
  Info("CSMSOperate:GetCardInfo interface ++++");
  if (IInstantMessageHelper* helper = m_owner.MessageHelper()) helper->GetSimInfo();
}

bool CSMSOperate::OnReturnBatch(const std::wstring& uri, uint32_t status, const ContentList& records) {
  return Answer([&] {
    if (!Ready() || status != 0) return;
    switch (content::MatchUri(uri, {U::kFolder, U::kSms})) {
      case 0: {
        if (records.empty()) return;
        std::vector<const CFolder*> folders;
        std::vector<CFolder*> sorted;
        for (CContent* record : records)
          if (auto* folder = dynamic_cast<CFolder*>(record)) sorted.push_back(folder);
        SortByOrderKey(sorted);
        folders.assign(sorted.begin(), sorted.end());
        RebuildFolderTree(folders);
        return;
      }
      case 1:
        DisplaySMSListNoOrder(records);
        return;
      default:
        return;
    }
  });
}

void CSMSOperate::DisplaySMSListNoOrder(const ContentList& batch) {
  Info("CSMSOperate DisplaySMSListNoOrder mux wait +++++++++++ \n");
  ::EnterCriticalSection(&m_listLock);
  Info("CSMSOperate DisplaySMSListNoOrder mux in +++++++++++ \n");
  DWORD start = ::GetTickCount();
  CQsSuperGrid& list = *m_controls.list;
  list.SetRedraw(FALSE);
  if (m_batches == 0) {
    m_rows.Clear();
    list.ClearSelection();
  }
  bool inboxListed = m_folders.size() > kPosInbox && m_folders[kPosInbox].item;
  if (inboxListed) {
    int32_t inbox = m_folders[kPosInbox].id;
    bool any = std::any_of(batch.begin(), batch.end(), [inbox](const CContent* record) {
      auto* message = dynamic_cast<const CSMSData*>(record);
      return message && message->m_folderId == inbox;
    });
    if (any) ++m_batches;
    m_rows.AppendStreamed(batch, inbox);
  }
  list.Refresh();
  if (m_rows.RowCount() > 1 && list.GetSelectedCount() == 0) {
    list.SelectRow(1);
    list.SetFocusRow(1);
  }
  list.SetRedraw(TRUE);
  list.Invalidate(FALSE);
  LOG::I(kTag, "Display message count is: %d", static_cast<int>(batch.size()));
  LOG::I(kTag, "Display message used time is: %d ms", static_cast<int>(::GetTickCount() - start));
  Info("CSMSOperate DisplaySMSListNoOrder mux out +++++++++++ \n");
  ::LeaveCriticalSection(&m_listLock);
}

bool CSMSOperate::OnRefreshComplete(const std::wstring& uri, uint32_t status) {
  return Answer([&] {
    if (!Ready() || uri != U::kSmsStore) return;
    LOG::I(kTag, "Fresh Message Complete! iStatus = %d", static_cast<int>(status));
    CloseWait();
    for (CQsButton* button : {m_controls.newButton, m_controls.deleteButton, m_controls.importButton,
                              m_controls.exportButton, m_controls.refreshButton})
      Enable(button, true);
    Show(m_controls.loading, false);
    m_refreshing = false;
    EnableListButtons(m_rows.MessageCount() > 0);
    if (m_conversationMode) {
      Enable(m_controls.list, false);
      Show(m_controls.list, false);
      Enable(&m_chat, true);
      Enable(m_controls.chatTree, true);
    } else {
      Enable(m_controls.list, true);
    }
    if (status == 0) {
      if (!m_conversationMode) {
        if (m_folders.empty()) {
          // A phone without folders is shown by its conversations.
          Enable(m_controls.listModeButton, false);
          m_noFolders = true;
          if (m_controls.mainWindow && m_controls.chatModeButton)
            ::SendMessageW(m_controls.mainWindow, WM_COMMAND, MAKEWPARAM(IDC_SMS_MODE_CHAT, BN_CLICKED),
                           reinterpret_cast<LPARAM>(m_controls.chatModeButton->m_hWnd));
        } else {
          m_noFolders = false;
          m_skipFolderQuery = true;
          Info("QueryAll(Folders:URI)");
          if (IDataProvider* provider = m_owner.Provider()) provider->QueryAll(U::kFolder);
        }
      } else {
        Info("QueryAll(content://sms/sms?groupby=telephonenumber)");
        if (IDataProvider* provider = m_owner.Provider()) provider->QueryAll(U::kConversations);
        if (m_folders.empty()) Enable(m_controls.listModeButton, false);
      }
    }
    Enable(m_controls.folderTree, true);
    if (m_controls.host) m_controls.host->SetRunningTask(L"", false);
  });
}

// ---------------------------------------------------------------------------
// Folders

void CSMSOperate::RemoveFolderItems() {
  DeleteAllItems(m_controls.folderTree);
  for (FolderEntry& entry : m_folders) entry.item = nullptr;
}

void CSMSOperate::RebuildFolderTree(const std::vector<const CFolder*>& folders) {
  DeleteAllItems(m_controls.folderTree);
  ContentList answer;
  for (const CFolder* folder : folders) {
    LOG::I(kTag, "The raw folder id is:%d ++++++++++++++\r\n", static_cast<int>(folder->m_id));
    answer.push_back(const_cast<CFolder*>(folder));
  }
  m_folders.clear();
  for (CFolder& folder : BuildFolderCatalogue(answer)) {
    FolderEntry entry;
    entry.name = FolderName(folder, m_cards);
    entry.id = static_cast<int32_t>(folder.m_id);
    entry.system = folder.IsSystem();
    entry.folder = std::move(folder);
    m_folders.push_back(std::move(entry));
  }
  FillFolderTree(kPosInbox);
  if (!m_refreshing) {
    // After a refresh the batches have shown the inbox already: the first
    // rebuild only clears the flag.
    if (HTREEITEM inbox = FolderItemAt(kPosInbox)) ShowFolder(inbox, false);
    m_skipFolderQuery = false;
  }
}

void CSMSOperate::FillFolderTree(int selectPosition) {
  RemoveFolderItems();
  for (size_t position = 0; position < m_folders.size(); ++position) {
    FolderEntry& entry = m_folders[position];
    if (!IsFolderListed(static_cast<int>(position), entry.system, m_cardType2, m_cardType13)) continue;
    entry.item = InsertRootItem(m_controls.folderTree, FolderLabelOf(static_cast<int>(position)));
  }
  HTREEITEM select = FolderItemAt(selectPosition);
  SelectTreeItem(m_controls.folderTree, select ? select : FolderItemAt(kPosInbox));
  if (m_controls.folderTree) m_controls.folderTree->Invalidate();
}

std::wstring CSMSOperate::FolderLabelOf(int index) const {
  const FolderEntry& entry = m_folders[index];
  return index == kPosInbox ? InboxLabel(entry.name, entry.folder.m_unread, entry.folder.m_total)
                            : FolderLabel(entry.name, entry.folder.m_total);
}

void CSMSOperate::RelabelFolder(int index) {
  if (index >= 0 && index < static_cast<int>(m_folders.size()))
    SetItemText(m_controls.folderTree, m_folders[index].item, FolderLabelOf(index));
}

int CSMSOperate::FolderIndexOf(HTREEITEM item) const {
  if (!item) return -1;
  for (size_t i = 0; i < m_folders.size(); ++i)
    if (m_folders[i].item == item) return static_cast<int>(i);
  return -1;
}

HTREEITEM CSMSOperate::FolderItemAt(int position) const {
  return position >= 0 && position < static_cast<int>(m_folders.size()) ? m_folders[position].item : nullptr;
}

HTREEITEM CSMSOperate::ShownFolderItem() const { return TreeSelection(m_controls.folderTree); }

int32_t CSMSOperate::FolderIdOf(HTREEITEM item) const {
  int index = FolderIndexOf(item);
  return index < 0 ? -1 : m_folders[index].id;
}

bool CSMSOperate::IsSystemFolder(HTREEITEM item) const {
  int index = FolderIndexOf(item);
  return index >= 0 && m_folders[index].system;
}

void CSMSOperate::AdjustFolderCount(HTREEITEM item, int totalChange, int unreadChange) {
  AdjustFolderCountAt(FolderIndexOf(item), totalChange, unreadChange);
}

void CSMSOperate::AdjustFolderCountAt(int index, int totalChange, int unreadChange) {
  if (index < 0 || index >= static_cast<int>(m_folders.size())) return;
  AdjustCounts(m_folders[index].folder, totalChange, unreadChange, index == kPosInbox);
  RelabelFolder(index);
}

void CSMSOperate::OnSentElsewhere(int count) {
  if (m_folders.size() <= kPosSent || count <= 0) return;
  AdjustFolderCountAt(kPosSent, count, 0);
  if (m_folders[kPosSent].item && ShownFolderItem() == m_folders[kPosSent].item) QueryFolder(m_folders[kPosSent].id);
}

void CSMSOperate::QueryFolder(int32_t folderId) {
  if (IDataProvider* provider = m_owner.Provider()) provider->QueryByClassId(U::kSmsInFolder, folderId);
}

void CSMSOperate::ShowFolders() {
  Info("QueryAll(Folders:URI)");
  if (IDataProvider* provider = m_owner.Provider()) provider->QueryAll(U::kFolder);
}

void CSMSOperate::ShowFolder(HTREEITEM item, bool showWait) {
  int32_t id = FolderIdOf(item);
  if (id == -1 || m_skipFolderQuery) return;
  if (showWait) ShowWait(L"common.refreshing");
  Info("CSMSOPerate:QueryByClassId by folder +++");
  QueryFolder(id);
}

void CSMSOperate::Search(const std::wstring& keyword) {
  if (keyword == m_keyword) return;
  m_keyword = keyword;
  if (!m_conversationMode) ShowFolder(ShownFolderItem(), false);
}

bool CSMSOperate::OnReturnContent(const std::wstring& uri, uint32_t status, const ContentList& records) {
  return Answer([&] {
    int match = content::MatchUri(uri, {U::kFolder, U::kSmsInFolder, U::kSmsOfNumber});
    if (match == 1 || match == 2) CloseWait();
    if (!Ready() || status != 0) return;
    switch (match) {
      case 0: {
        Info("OnReturnContent by QueryAll(Folders::URI) +++");
        std::vector<const CFolder*> folders;
        for (const CContent* record : records)
          if (auto* folder = dynamic_cast<const CFolder*>(record)) folders.push_back(folder);
        RebuildFolderTree(folders);
        return;
      }
      case 1:
        Info("OnReturnContent by QueryAll(content://sms/sms?folder) +++");
        DisplayListview(records);
        return;
      case 2:
        Info("OnReturnContent by QueryAll(content://sms/sms?temphonenumber) +++");
        FillSelectedConversation(records);
        return;
      default:
        return;
    }
  });
}

void CSMSOperate::EnableListButtons(bool enable) {
  Enable(m_controls.deleteButton, enable);
  Enable(m_controls.exportButton, enable);
}

void CSMSOperate::DisplayListview(const ContentList& messages) {
  Info("CSMSOperate DisplayListview mux wait +++++++++++ \n");
  ::EnterCriticalSection(&m_listLock);
  Info("CSMSOperate DisplayListview mux in +++++++++++ \n");
  DWORD start = ::GetTickCount();
  int32_t shown = ShownFolderId();
  m_simFolderShown = shown == kFolderSimOne || shown == kFolderSimTwo;
  if (m_simFolderShown)
    Enable(m_controls.deleteButton, false);  // messages on a SIM card are not deleted in batches
  else
    EnableListButtons(!messages.empty());

  CQsSuperGrid& list = *m_controls.list;
  list.ClearSelection();
  list.SetHeaderCheck(false);
  list.SetRedraw(FALSE);
  if (m_keyword.empty()) {
    m_rows.FillByDay(messages);
  } else {
    std::wstring keyword = Lower(m_keyword);
    ContentList found;
    for (CContent* record : messages)
      if (auto* message = dynamic_cast<CSMSData*>(record); message && Matches(*message, keyword)) found.push_back(record);
    m_rows.FillByDay(found);
  }
  list.Refresh();
  if (m_rows.RowCount() > 1) {
    list.SelectRow(1);
    list.SetFocusRow(1);
  }
  list.SetRedraw(TRUE);
  list.Invalidate(FALSE);
  LOG::I(kTag, "Display message count is: %d", static_cast<int>(messages.size()));
  LOG::I(kTag, "Display message used time is: %d ms", static_cast<int>(::GetTickCount() - start));
  Info("CSMSOperate DisplayListview mux out +++++++++++ \n");
  ::LeaveCriticalSection(&m_listLock);
}

// ---------------------------------------------------------------------------
// Conversations

void CSMSOperate::ShowConversations(const std::wstring& number, bool selectByNumber) {
  if (!Ready()) return;
  m_selectNumber = number;
  m_selectByNumber = selectByNumber;
  m_conversationMode = true;
  Enable(m_controls.listModeButton, !m_noFolders);
  Enable(m_controls.chatModeButton, true);
  if (!m_refreshing) {
    ShowWait(L"common.refreshing");
    Info("CSMSOperate:QueryAll by groupby telephonenumber ++++");
    if (IDataProvider* provider = m_owner.Provider()) provider->QueryAll(U::kConversations);
  }
  ShowViews(m_moduleShown);
}

void CSMSOperate::EnterConversationMode() {
  m_conversationMode = true;
  ShowViews(m_moduleShown);
}

void CSMSOperate::EnterListMode() {
  m_conversationMode = false;
  ShowViews(m_moduleShown);
  ShowFolders();
}

bool CSMSOperate::OnReturnGroupContent(const std::wstring& uri, uint32_t status, const GroupedContent& groups) {
  return Answer([&] {
    Info("OnReturnGroupConten Callback");
    CloseWait();
    if (!Ready()) return;
    if (uri == U::kConversations && status == 0) {
      Info("CSMSOperate:OnReturnGroupContent ++++");
      RebuildConversations(groups);
    }
    if (groups.empty()) Enable(m_controls.exportButton, false);
  });
}

void CSMSOperate::RebuildConversations(const GroupedContent& groups) {
  // A tree view measures each entry's text as it is inserted (a quarter of a
  // millisecond under Wine): the entries the tree has are kept, relabelled
  // only where the label changed, the first screenful is inserted now and
  // the rest in steps the main window runs from its queue.
  CQSTreeView& tree = *m_controls.chatTree;
  tree.SetRedraw(FALSE);
  std::vector<HTREEITEM> items;
  std::vector<std::wstring> labels;
  items.reserve(m_treeFilled);
  labels.reserve(m_treeFilled);
  for (size_t i = 0; i < m_treeFilled && i < m_conversations.size(); ++i) {
    items.push_back(m_conversations[i].item);
    labels.push_back(std::move(m_conversations[i].label));
  }
  m_conversations.clear();
  m_selectedConversation = -1;
  m_conversations.reserve(groups.size());
  for (const auto& [number, messages] : groups) {
    Conversation entry;
    entry.number = number;
    entry.messages.reserve(messages.size());
    for (const CContent* record : messages)
      if (auto* message = dynamic_cast<const CSMSData*>(record)) entry.messages.push_back(*message);
    entry.count = static_cast<int>(entry.messages.size());
    if (!entry.messages.empty()) entry.contactId = entry.messages.front().m_contactId;
    entry.label = LabelOf(entry);
    size_t index = m_conversations.size();
    if (index < items.size()) entry.item = items[index];
    bool changed = entry.item && entry.label != labels[index];
    m_conversations.push_back(std::move(entry));
    if (changed) RelabelConversation(static_cast<int>(index));
  }
  for (size_t i = m_conversations.size(); i < items.size(); ++i)
    tree.SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(items[i]));
  m_treeFilled = std::min(items.size(), m_conversations.size());
  ++m_treeGeneration;
  FillConversationTree(kFirstConversations);
  tree.SetRedraw(TRUE);
  tree.Invalidate();
  m_chat.SetConversationCount(static_cast<int>(m_conversations.size()));
  int select = m_conversations.empty() ? -1 : 0;
  if (m_selectByNumber) {
    for (size_t i = 0; i < m_conversations.size(); ++i)
      if (m_conversations[i].number == m_selectNumber) select = static_cast<int>(i);
    m_selectByNumber = false;
  }
  if (select < 0) {
    m_chat.Clear();
  } else {
    SelectConversation(select);
    const Conversation& shown = m_conversations[select];
    m_chat.SetConversation(shown.number, shown.messages);
    Enable(m_controls.exportButton, shown.count > 0);
    QueryConversationContact(select);
  }
  if (m_controls.chatTree) m_controls.chatTree->Invalidate();
}

void CSMSOperate::FillConversationTree(size_t count) {
  const size_t end = std::min(m_conversations.size(), m_treeFilled + count);
  while (m_treeFilled < end) RelabelConversation(static_cast<int>(m_treeFilled));
  if (m_treeFilled < m_conversations.size() && m_controls.mainWindow)
    ::PostMessageW(m_controls.mainWindow, pim_msg::kFillConversations, 0, static_cast<LPARAM>(m_treeGeneration));
}

void CSMSOperate::ContinueConversationTree(LPARAM generation) {
  // A step of an answer that a later one replaced has nothing left to do.
  if (generation != static_cast<LPARAM>(m_treeGeneration) || !m_controls.chatTree) return;
  m_controls.chatTree->SetRedraw(FALSE);
  FillConversationTree(kConversationStep);
  m_controls.chatTree->SetRedraw(TRUE);
  m_controls.chatTree->Invalidate();
}

void CSMSOperate::SelectConversation(int index) {
  m_selectedConversation = index;
  if (static_cast<size_t>(index) >= m_treeFilled) {
    // Far down the list: its entry is made now, with those above it.
    m_controls.chatTree->SetRedraw(FALSE);
    while (m_treeFilled <= static_cast<size_t>(index)) RelabelConversation(static_cast<int>(m_treeFilled));
    m_controls.chatTree->SetRedraw(TRUE);
  }
  SelectTreeItem(m_controls.chatTree, m_conversations[index].item);
}

void CSMSOperate::RelabelConversation(int index) {
  if (index < 0 || index >= static_cast<int>(m_conversations.size()) || !m_controls.chatTree) return;
  Conversation& entry = m_conversations[index];
  entry.label = LabelOf(entry);
  // Entries are made in order: one below the filled part waits for its step.
  if (!entry.item && static_cast<size_t>(index) != m_treeFilled) return;
  TVITEMW tv{};
  tv.mask = TVIF_TEXT | TVIF_PARAM;
  tv.pszText = entry.label.data();
  tv.lParam = index;
  if (entry.item) {
    tv.hItem = entry.item;
    m_controls.chatTree->SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  } else {
    TVINSERTSTRUCTW insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item = tv;
    entry.item = reinterpret_cast<HTREEITEM>(
        m_controls.chatTree->SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    ++m_treeFilled;
  }
}

std::wstring CSMSOperate::LabelOf(const Conversation& entry) {
  std::wstring party = entry.messages.empty() ? entry.number : PartyShown(entry.messages.front());
  return ConversationLabel(TruncateParty(party), entry.count);
}

int CSMSOperate::ConversationIndexOf(HTREEITEM item) const {
  if (!item || !m_controls.chatTree) return -1;
  // An entry's parameter is its conversation's index.
  TVITEMW tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = item;
  if (!m_controls.chatTree->SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return -1;
  size_t index = static_cast<size_t>(tv.lParam);
  return index < m_conversations.size() && m_conversations[index].item == item ? static_cast<int>(index) : -1;
}

void CSMSOperate::QueryConversationContact(int index) {
  const Conversation& entry = m_conversations[index];
  if (entry.contactId != 0) {
    Info("QueryByClassId++");
    if (IDataProvider* provider = m_owner.Provider())
      provider->QueryByContentId(U::kContact, static_cast<ContentId>(entry.contactId));
  } else {
    m_chat.SetContact(nullptr);
  }
}

void CSMSOperate::ShowConversation(HTREEITEM item) {
  int index = ConversationIndexOf(item);
  if (index < 0) return;
  m_selectedConversation = index;
  const Conversation& entry = m_conversations[index];
  if (entry.number.empty()) {
    m_chat.SetConversation(entry.number, entry.messages);
    return;
  }
  ShowWait(L"common.refreshing");
  Info("CSMSOPerate:QueryByTelephoneNumber +++");
  if (IDataProvider* provider = m_owner.Provider()) provider->QueryByTelephoneNumber(U::kSmsOfNumber, entry.number);
}

void CSMSOperate::FillSelectedConversation(const ContentList& messages) {
  int index = m_selectedConversation;
  if (index < 0 || index >= static_cast<int>(m_conversations.size())) return;
  Conversation& entry = m_conversations[index];
  entry.messages.clear();
  for (const CContent* record : messages)
    if (auto* message = dynamic_cast<const CSMSData*>(record)) entry.messages.push_back(*message);
  entry.contactId = entry.messages.empty() ? 0 : entry.messages.front().m_contactId;
  entry.count = static_cast<int>(entry.messages.size());
  Enable(m_controls.exportButton, entry.count != 0);
  m_chat.SetConversation(entry.number, entry.messages);
  QueryConversationContact(index);
  RelabelConversation(index);
}

bool CSMSOperate::OnReturnById(const std::wstring& uri, uint32_t status, const ContentList& records) {
  return Answer([&] {
    if (uri != U::kContact || status != 0 || !m_chat.m_hWnd) return;
    const Contact::CContactData* contact =
        records.empty() ? nullptr : dynamic_cast<const Contact::CContactData*>(records.front());
    // An answer for a conversation no longer selected is of no use.
    int index = m_selectedConversation;
    if (contact && (index < 0 || index >= static_cast<int>(m_conversations.size()) ||
                    static_cast<int32_t>(contact->m_id) != m_conversations[index].contactId))
      return;
    m_chat.SetContact(contact);
  });
}

// ---------------------------------------------------------------------------
// Composing, sending and receiving

void CSMSOperate::ComposeMessage(int mode, const CSMSData* message) {
  if (m_composing) return;  // the compose dialog is modal: one at a time
  if (!m_conversationMode) {
    int index = FolderIndexOf(ShownFolderItem());
    if (index >= 0) m_currentFolder = m_folders[index].folder;
  }
  m_sendingFromCompose = true;
  CSMSData draft;
  int editable = 1;
  switch (mode) {
    case kComposeNew:
      break;
    case kComposeReply:
      if (message) draft.m_phoneNumber = message->m_phoneNumber;
      break;
    case kComposeForward:
      if (message) draft.m_body = message->m_body;
      break;
    default:
      if (message) draft = *message;
      editable = draft.m_state == CSMSData::kStateComposed ? 1 : 0;
      break;
  }
  SimCardList cards = m_cards;
  ContentList written;
  int save = 0;
  m_composing = true;
  int result;
  if (mode == kComposeNew && m_conversationMode) {
    Info("CSMSOperate:JorvPhoneSendSmsNoNote ++++");
    result = JorvPhoneSendSmsNoNote(&draft, cards, editable, written, save);
  } else {
    Info("CSMSOperate:JorvPhoneSendSms ++++");
    result = JorvPhoneSendSms(&draft, cards, editable, written, save);
  }
  m_composing = false;
  if (result == 0) {
    m_sendingFromCompose = false;
    if (!m_conversationMode && save && !written.empty()) SaveDrafts(written);
  } else if (!written.empty()) {
    SendMessages(written);
  } else {
    m_sendingFromCompose = false;
  }
  DeleteContents(written);
}

void CSMSOperate::SaveDrafts(const ContentList& messages) {
  for (CContent* record : messages) {
    auto* message = dynamic_cast<CSMSData*>(record);
    if (!message) continue;
    message->m_state = CSMSData::kStateComposed;
    message->m_draftMarker = CSMSData::kDraftMarker;
    if (m_folders.size() > kPosDrafts) message->m_folderId = m_folders[kPosDrafts].id;
  }
  m_saveToDrafts = true;
  Info("CSMSOperate:InsertMessage ++++");
  if (IDataProvider* provider = m_owner.Provider()) provider->InsertMessage(U::kSmsNewInsert, messages);
}

void CSMSOperate::SendMessages(const ContentList& messages) {
  if (messages.empty()) return;
  if (m_cards.empty()) {
    // Nothing can be sent without a card; the text is kept as a draft
    // rather than lost.
    m_sendingFromCompose = false;
    JorvMessageBox(m_controls.mainWindow, qs::ResText(L"easydial.static.nocardprompt").c_str(),
                   qs::ResText(L"common.caption.tip").c_str(), JORV_MB_NOTICE, 0, 0);
    if (!m_conversationMode) SaveDrafts(messages);
    return;
  }
  const CSimInfo& first = m_cards.front();
  for (CContent* record : messages)
    if (auto* message = dynamic_cast<CSMSData*>(record)) message->m_simText = first.m_cardText;
  Info("CSMSOperate:SendMessage interface ++++");
  if (IInstantMessageHelper* helper = m_owner.MessageHelper()) helper->Send(U::kSms, first.m_cardId, messages, 1);
}

bool CSMSOperate::OnInsert(const std::wstring& uri, uint32_t status, const ContentList& records) {
  return Answer([&] {
    if (uri == U::kSms && m_copying) {
      OnCopied(status, records);
      return;
    }
    if (uri == U::kContact) {  // the sender added to the contacts
      auto* contact = records.empty() ? nullptr : dynamic_cast<const Contact::CContactData*>(records.front());
      if (content::ReplySucceeded(contact ? status : 1, "Insert Contact Success!", "Insert Contact fail!") &&
          m_controls.contactAdded)
        m_controls.contactAdded(*contact);
      return;
    }
    if (uri != U::kSmsNewInsert) return;
    Info("CSMSOperate:OnInsert(InsertMSG) ++++");
    if (status != 0) {
      m_saveToDrafts = false;
      return;
    }
    if (m_saveToDrafts && m_folders.size() > kPosDrafts) {
      FolderEntry& drafts = m_folders[kPosDrafts];
      if (drafts.item && ShownFolderItem() == drafts.item) QueryFolder(drafts.id);
      AdjustFolderCountAt(kPosDrafts, static_cast<int>(records.size()), 0);
    }
    m_saveToDrafts = false;
  });
}

bool CSMSOperate::OnSent(const std::wstring& uri, uint32_t status, const ContentList& messages) {
  return Answer([&] {
    Info("Send Message Callback");
    if (status != 0 || messages.empty()) {
      m_sendingFromCompose = false;
      return;
    }
    Info("CSMSOperate:OnSent(SendMsg) ++++");
    int count = static_cast<int>(messages.size());
    auto* first = dynamic_cast<const CSMSData*>(messages.front());
    std::wstring tip;
    if (count == 1) {
      tip = FormatText(L"pim.sms.sendmsgtip", first ? first->m_phoneNumber.c_str() : L"");
    } else {
      LOG::I(kTag, "Send Message number = %d", count);
      tip = qs::ResText(L"pim.sms.sendmoretip");
    }
    Info("CSMSOperate:OnTrayDisplay(SendMsg bubbletip) ++++");
    TrayTip(tip);

    if (uri == U::kSms && !m_conversationMode && m_folders.size() > kPosSent && m_folders[kPosSent].system &&
        m_controls.folderTree) {
      AdjustFolderCountAt(kPosSent, count, 0);
      if (m_folders[kPosSent].item && ShownFolderItem() == m_folders[kPosSent].item) {
        Info("CSMSOperate:QueryByClassId ++++");
        QueryFolder(m_folders[kPosSent].id);
      }
    }
    if (m_conversationMode && !m_sendingFromCompose && first) AppendToConversation(messages, true);
    m_sendingFromCompose = false;
  });
}

void CSMSOperate::AppendToConversation(const ContentList& messages, bool sent) {
  int index = m_selectedConversation;
  auto* first = dynamic_cast<const CSMSData*>(messages.front());
  if (index < 0 || index >= static_cast<int>(m_conversations.size()) || !first ||
      m_conversations[index].number != first->m_phoneNumber)
    return;
  std::vector<CSMSData> added;
  for (const CContent* record : messages)
    if (auto* message = dynamic_cast<const CSMSData*>(record)) added.push_back(*message);
  Conversation& entry = m_conversations[index];
  entry.messages.insert(entry.messages.end(), added.begin(), added.end());
  entry.count += static_cast<int>(added.size());
  if (sent)
    m_chat.AppendSent(added);
  else
    m_chat.AppendReceived(added);
  RelabelConversation(index);
}

bool CSMSOperate::OnReceived(const std::wstring& uri, uint32_t status, const ContentList& messages) {
  return Answer([&] {
    Info("Receive Message Callback");
    if (status != 0 || messages.empty() || uri != U::kSms) return;
    Info("CSMSOperate:OnReceived ++++");
    int count = static_cast<int>(messages.size());
    std::wstring tip;
    if (count == 1) {
      auto* message = dynamic_cast<const CSMSData*>(messages.front());
      tip = qs::ResText(L"pim.sms.messagetip") + L"\n";
      if (message) tip += message->m_phoneNumber + message->m_body.substr(0, 9);
      Info("CSMSOperate:OnTrayDisplay(RevOneMsg bubbletip) ++++");
    } else {
      tip = FormatText(L"pim.sms.messagenum", count);
      Info("CSMSOperate:OnTrayDisplay(RevMsg bubbletip) ++++");
    }
    TrayTip(tip);

    if (!m_conversationMode && !m_refreshing) {
      if (m_folders.size() > kPosInbox && m_folders[kPosInbox].item && ShownFolderItem() == m_folders[kPosInbox].item) {
        Info("CSMSOperate:QueryByClassId ++++");
        QueryFolder(m_folders[kPosInbox].id);
      }
      if (m_folders.size() > 1) AdjustFolderCountAt(kPosInbox, count, count);
    }
    if (m_conversationMode) AppendToConversation(messages, false);
  });
}

void CSMSOperate::StartReceive() {
  Info("CSMSOperate:startRecv interface ++++");
  if (IInstantMessageHelper* helper = m_owner.MessageHelper()) helper->startRecv(U::kSms);
}

void CSMSOperate::StopReceive() {
  if (IInstantMessageHelper* helper = m_owner.MessageHelper()) helper->stopRecv();
}

bool CSMSOperate::OnGetSimInfo(uint32_t status, const SimCardList& cards) {
  return Answer([&] {
    Info("GetCardInfo Callback");
    m_cardType2 = m_cardType13 = false;
    if (status != 0) return;
    Info("CSMSOperate:OnGetSimInfo ++++");
    m_cards = cards;
    for (const CSimInfo& card : m_cards) {
      int type = getDisplayCardType(card);
      if (type == 1 || type == 3) m_cardType13 = true;
      if (type == 2) m_cardType2 = true;
    }
    UpdateNetworkTexts();
    if (m_chat.m_hWnd) m_chat.SetSimCards(m_cards);
    if (m_detail.m_hWnd) m_detail.SetSimCards(m_cards);
    // Folders already listed follow the cards (names and the card folders).
    if (!m_folders.empty() && m_controls.folderTree) {
      int selected = FolderIndexOf(ShownFolderItem());
      for (FolderEntry& entry : m_folders)
        if (entry.system) entry.name = FolderName(entry.folder, m_cards);
      FillFolderTree(selected);
    }
    if (m_controls.list) m_controls.list->RedrawAll();
  });
}

// ---------------------------------------------------------------------------
// The conversation window's requests

void CSMSOperate::SendFromChat(const CSMSData& message) {
  m_sendingFromCompose = false;
  ContentList messages{new CSMSData(message)};
  SendMessages(messages);
  DeleteContents(messages);
}

void CSMSOperate::ForwardFromChat(const CSMSData& message) { ComposeMessage(kComposeForward, &message); }

void CSMSOperate::ShowConversationOf(const std::wstring& number) {
  if (m_detail.m_hWnd) m_detail.Hide();
  ShowConversations(number, true);
  // The main window follows with its mode buttons and search field.
  if (m_controls.mainWindow && m_controls.chatModeButton)
    ::SendMessageW(m_controls.mainWindow, WM_COMMAND, MAKEWPARAM(IDC_SMS_MODE_CHAT, BN_CLICKED),
                   reinterpret_cast<LPARAM>(m_controls.chatModeButton->m_hWnd));
}

void CSMSOperate::DeleteFromChat(const IdList& ids) {
  if (ids.empty() || !m_chatDeleting.empty()) return;
  IDataProvider* provider = m_owner.Provider();
  if (!provider) return;
  m_chatDeleting = ids;
  ShowWait(L"common.deleting");
  Info("Start delete message!");
  provider->Delete(U::kSms, ids);
}

bool CSMSOperate::OnDelete(const std::wstring& uri, uint32_t status) {
  return Answer([&] {
    if (uri == U::kFolder) {
      OnFolderDeleted(status);
      return;
    }
    if (uri != U::kSms) return;
    LOG::I(kTag, "CSMSOperate:OnDelete(DelMSG) ++++! iStatus = %d", static_cast<int>(status));
    CloseWait();
    if (!m_chatDeleting.empty()) {
      // From the conversation window: its bubbles and the conversation.
      IdList ids;
      ids.swap(m_chatDeleting);
      if (status != 0) return;
      m_chat.RemoveMessages(ids);
      int index = m_selectedConversation;
      if (index < 0 || index >= static_cast<int>(m_conversations.size())) return;
      Conversation& entry = m_conversations[index];
      auto gone = [&ids](const CSMSData& m) { return std::find(ids.begin(), ids.end(), m.m_id) != ids.end(); };
      entry.messages.erase(std::remove_if(entry.messages.begin(), entry.messages.end(), gone), entry.messages.end());
      entry.count = static_cast<int>(entry.messages.size());
      RelabelConversation(index);
      return;
    }
    if (status == 0) {
      int unread = 0;
      int removed = RemovePendingRows(unread);
      AdjustFolderCount(ShownFolderItem(), -removed, -unread);
    }
    m_pendingIds.clear();
    FinishRowChange();
  });
}

// ---------------------------------------------------------------------------
// Check boxes and the phone going away

void CSMSOperate::SetCheckMode(bool on) {
  m_rows.SetCheckMode(on);
  if (m_controls.list) {
    m_controls.list->SetHeaderCheckColumn(on ? kColumnLock : -1);
    m_controls.list->SetHeaderCheck(false);
    m_controls.list->RedrawAll();
  }
}

bool CSMSOperate::ToggleRowCheck(int row) {
  if (!m_rows.IsMessageRow(row)) return false;
  bool on = !m_rows.At(row).checked;
  m_rows.SetRowCheck(row, on);
  if (m_controls.list) m_controls.list->RedrawRow(row);
  return on;
}

void CSMSOperate::SetAllChecks(bool on) {
  m_rows.SetAllChecks(on);
  if (m_controls.list) {
    m_controls.list->SetHeaderCheck(on);
    m_controls.list->RedrawAll();
  }
}

void CSMSOperate::CloseAll() {
  if (IDataProvider* provider = m_owner.Provider()) provider->Cancel();
  if (m_wait) CloseWait();
}

void CSMSOperate::ClearAll() {
  m_refreshing = false;
  m_conversationMode = false;
  m_skipFolderQuery = m_noFolders = m_simFolderShown = false;
  m_batches = 0;
  m_selectedConversation = -1;
  m_chatDeleting.clear();
  m_keyword.clear();
  m_cards.clear();
  m_cardType2 = m_cardType13 = false;
  m_folders.clear();
  m_conversations.clear();
  m_treeFilled = 0;
  ++m_treeGeneration;
  m_rows.Clear();
  if (!Ready()) return;
  DeleteAllItems(m_controls.folderTree);
  DeleteAllItems(m_controls.chatTree);
  m_controls.list->ClearSelection();
  m_controls.list->Refresh();
  Enable(m_controls.list, true);
  Enable(m_controls.folderTree, true);
  Show(m_controls.loading, false);
  for (CQsButton* button : {m_controls.newButton, m_controls.deleteButton, m_controls.importButton,
                            m_controls.exportButton, m_controls.refreshButton, m_controls.listModeButton,
                            m_controls.chatModeButton})
    Enable(button, true);
  if (m_chat.m_hWnd) {
    m_chat.Clear();
    m_chat.SetSimCards(m_cards);
  }
  if (m_detail.m_hWnd) {
    m_detail.Hide();
    m_detail.SetSimCards(m_cards);
  }
  ShowViews(m_moduleShown);
}
