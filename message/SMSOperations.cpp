// CSMSOperate: what the user does to messages and folders from the messages
// page (menus, keys, the list's cells) and the answers that finish it.
// Deleting goes through the recycle bin: only messages shown while the
// recycle bin is selected are erased, after a question.
#include <algorithm>

#include "contact/ContactData.h"
#include "content/ContentUri.h"
#include "content/ReplyDispatch.h"
#include "controls/QsTreeView.h"
#include "controls/ResText.h"
#include "controls/SuperGrid.h"
#include "frame/suite/BaseLibrary.h"
#include "frame/suite/SharedDialogs.h"
#include "framework/PopupMenu.h"
#include "message/MessageTexts.h"
#include "message/MessageTime.h"
#include "message/NewFolderWnd.h"
#include "message/SMSOperate.h"

using namespace Message;
namespace U = ContentUri;

namespace {

constexpr const char* kTag = "CSMSOperate";
void Info(const char* line) { LOG::I(kTag, "%s", line); }

// The copy and move submenus: the system folders by catalogue position, then
// the user folders by their position from `userBase`.
struct SubmenuSystemEntry {
  int position;
  UINT copyId, moveId;
  const wchar_t* key;
};
constexpr SubmenuSystemEntry kSubmenuSystem[] = {
    {kPosInbox, 42332, 42588, L"pim.sms.inbox"},
    {kPosOutbox, 42335, 42591, L"pim.sms.outbox"},
    {kPosSent, 42336, 42592, L"pim.sms.sent"},
    {kPosDrafts, 42337, 42593, L"pim.sms.draft"},
};
constexpr UINT kCopyUserBase = 42329;
constexpr UINT kMoveUserBase = 42585;

void AddItem(HMENU menu, UINT id, const wchar_t* key, const wchar_t* suffix = L"") {
  std::wstring text = qs::ResText(key) + suffix;
  ::AppendMenuW(menu, MF_STRING, id, text.c_str());
}

void Grey(HMENU menu, UINT id) { ::EnableMenuItem(menu, id, MF_BYCOMMAND | MF_GRAYED); }
void GreySubmenu(HMENU menu, HMENU sub) {
  for (int i = 0, n = ::GetMenuItemCount(menu); i < n; ++i)
    if (::GetSubMenu(menu, i) == sub) ::EnableMenuItem(menu, i, MF_BYPOSITION | MF_GRAYED);
}

HMENU ExportSubmenu() {
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuW(menu, MF_STRING, CSMSOperate::kCmdExportXml, L"XML");
  ::AppendMenuW(menu, MF_STRING, CSMSOperate::kCmdExportExcel, L"EXCEL");
  return menu;
}

bool IsSimFolderId(int32_t id) { return id == kFolderSimOne || id == kFolderSimTwo; }

}  // namespace

// ---------------------------------------------------------------------------
// Helpers

void CSMSOperate::Tell(const wchar_t* key, const wchar_t* captionKey) {
  JorvMessageBox(m_controls.mainWindow, qs::ResText(key).c_str(), qs::ResText(captionKey).c_str(), JORV_MB_NOTICE, 0,
                 0);
}

bool CSMSOperate::Ask(const wchar_t* key, const wchar_t* captionKey) {
  return JorvMessageBox(m_controls.mainWindow, qs::ResText(key).c_str(), qs::ResText(captionKey).c_str(),
                        JORV_MB_CONFIRM, 0, 0) == 1;
}

bool CSMSOperate::HasRecycleBin() const { return m_folders.size() > kPosRecycleBin && m_folders[kPosRecycleBin].system; }

std::vector<int> CSMSOperate::SelectedMessageRows() const {
  std::vector<int> rows;
  if (!m_controls.list) return rows;
  for (int row : m_controls.list->GetSelectedRows())
    if (m_rows.IsMessageRow(row)) rows.push_back(row);
  return rows;
}

void CSMSOperate::RedrawRows() {
  if (m_controls.list) m_controls.list->RedrawAll();
}

void CSMSOperate::FinishRowChange() {
  SetAllChecks(false);
  if (m_controls.list) m_controls.list->Refresh();
  RedrawRows();
  if (m_rows.MessageCount() == 0) EnableListButtons(false);
}

// ---------------------------------------------------------------------------
// Deleting and moving

void CSMSOperate::DeleteMessage(int row) {
  if (!m_rows.IsMessageRow(row)) return;
  m_actRow = row;
  m_manyRows = false;
  const CSMSData& message = m_rows.At(row).message;
  if (m_rows.At(row).locked) {
    Tell(L"pim.sms.lockmsg", L"common.caption.tip");
    return;
  }
  m_rows.SetRowCheck(row, true);
  DeleteIds(IdList{message.m_id});
}

void CSMSOperate::DeleteCheckedMessages() {
  IdList ids;
  for (int row = 0; row < m_rows.RowCount(); ++row)
    if (m_rows.IsMessageRow(row) && m_rows.At(row).checked && !m_rows.At(row).locked)
      ids.push_back(m_rows.At(row).message.m_id);
  m_manyRows = true;
  if (ids.empty() || !HasRecycleBin()) {
    RedrawRows();
    return;
  }
  DeleteIds(ids);
}

void CSMSOperate::DeleteIds(const IdList& ids) {
  if (!HasRecycleBin()) return;
  if (ShownFolderItem() == m_folders[kPosRecycleBin].item) {
    // Only here are messages erased, and only when the user says so.
    if (!Ask(L"pim.sms.delchatmsg", L"common.caption.tip")) {
      if (m_manyRows)
        SetAllChecks(false);
      else if (m_actRow >= 0)
        m_rows.SetRowCheck(m_actRow, false);
      RedrawRows();
      return;
    }
    IDataProvider* provider = m_owner.Provider();
    if (!provider) return;
    m_pendingIds = ids;
    ShowWait(L"common.deleting");
    Info("CSMSOperate:DeleteMessage interface ++++");
    provider->Delete(U::kSms, ids);
    return;
  }
  m_deleteByMove = true;
  MoveMessages(kPosRecycleBin, ids);
}

void CSMSOperate::MoveMessages(int target, const IdList& ids) {
  IDataProvider* provider = m_owner.Provider();
  if (!provider || target < 0 || target >= static_cast<int>(m_folders.size()) || ids.empty()) return;
  m_target = target;
  m_pendingIds = ids;
  ShowWait(m_deleteByMove ? L"common.deleting" : L"pim.static.movemessage");
  m_deleteByMove = false;
  provider->MoveMembership(U::kRemembership, ids, static_cast<ContentId>(m_folders[target].id));
}

void CSMSOperate::MoveSelected(int target) {
  IdList ids;
  m_manyRows = true;
  SetAllChecks(false);
  for (int row : SelectedMessageRows()) {
    if (m_rows.At(row).locked) continue;
    m_rows.SetRowCheck(row, true);
    ids.push_back(m_rows.At(row).message.m_id);
  }
  MoveMessages(target, ids);
}

int CSMSOperate::RemovePendingRows(int& unread) {
  unread = 0;
  for (int row = 0; row < m_rows.RowCount(); ++row)
    if (m_rows.IsMessageRow(row) && !m_rows.At(row).read &&
        std::find(m_pendingIds.begin(), m_pendingIds.end(), m_rows.At(row).message.m_id) != m_pendingIds.end())
      ++unread;
  int removed = m_rows.Remove(m_pendingIds);
  if (m_controls.list) m_controls.list->ClearSelection();
  return removed;
}

bool CSMSOperate::OnMembership(const std::wstring& uri, uint32_t status) {
  return Answer([&] {
    Info("SetMembership Callback");
    CloseWait();
    if (uri != U::kRemembership) return;
    if (status != 0) {
      FinishRowChange();
      return;
    }
    Info("CSMSOperate:OnMembership(ChangeMsgfolder) ++++");
    int unread = 0;
    int removed = RemovePendingRows(unread);
    AdjustFolderCount(ShownFolderItem(), -removed, -unread);
    AdjustFolderCountAt(m_target, removed, unread);
    m_pendingIds.clear();
    FinishRowChange();
  });
}

// ---------------------------------------------------------------------------
// Locking, opening, copying

void CSMSOperate::LockMessage(int row, bool lock) {
  if (!m_rows.IsMessageRow(row) || IsSimFolderId(ShownFolderId())) return;
  IDataProvider* provider = m_owner.Provider();
  if (!provider) return;
  m_lockId = m_rows.At(row).message.m_id;
  m_lockState = lock;
  Info("CSMSOperate:LockMessage interface ++++");
  ShowWait(lock ? L"pim.static.lockmessage" : L"pim.static.unlockmessage");
  provider->SetLock(U::kSms, IdList{m_lockId}, lock);
}

bool CSMSOperate::OnSetLock(const std::wstring& uri, uint32_t status) {
  return Answer([&] {
    Info("Set Message lock Callback");
    CloseWait();
    if (uri != U::kSms || status != 0) return;
    int row = m_rows.FindMessage(m_lockId);
    if (row < 0) return;
    CSMSData message = m_rows.At(row).message;
    message.m_lock = m_lockState ? 1 : 0;
    m_rows.Replace(row, message);
    if (m_controls.list) m_controls.list->RedrawRow(row);
  });
}

void CSMSOperate::OpenMessage(int row) {
  if (!m_rows.IsMessageRow(row)) return;
  const CSMSData message = m_rows.At(row).message;
  const bool unread = !m_rows.At(row).read;
  ComposeMessage(kComposeOpen, &message);
  if (!unread) return;
  IDataProvider* provider = m_owner.Provider();
  if (!provider) return;
  m_readId = message.m_id;
  Info("CSMSOperate:SetMessageRead interface ++++");
  provider->SetMessageRead(U::kSms, IdList{m_readId}, true);
}

bool CSMSOperate::OnSetRead(const std::wstring& uri, uint32_t status) {
  return Answer([&] {
    Info("Set Message Read Callback");
    if (uri != U::kSms || status != 0) return;
    Info("CSMSOperate:OnSetRead(SetMsgRead) ++++");
    int row = m_rows.FindMessage(m_readId);
    if (row >= 0) {
      CSMSData message = m_rows.At(row).message;
      message.m_read = 1;
      m_rows.Replace(row, message);
      if (m_controls.list) m_controls.list->RedrawRow(row);
    }
    int index = FolderIndexOf(ShownFolderItem());
    if (index == kPosInbox && m_folders[index].id == kFolderInbox && m_folders[index].folder.m_unread > 0)
      AdjustFolderCountAt(index, 0, -1);
  });
}

void CSMSOperate::CopyMessages(int target) {
  IDataProvider* provider = m_owner.Provider();
  if (!provider || target < 0 || target >= static_cast<int>(m_folders.size())) return;
  std::vector<int> rows = SelectedMessageRows();
  if (rows.empty()) return;
  m_target = target;
  std::vector<CSMSData> copies;
  const std::wstring now = MessageTimeNow();
  for (int row : rows) {
    CSMSData copy = m_rows.At(row).message;
    copy.m_time = now;
    copy.m_lock = 0;
    copy.m_state = CSMSData::kStateComposed;
    copy.m_folderId = m_folders[target].id;
    copies.push_back(std::move(copy));
    m_rows.SetRowCheck(row, true);
  }
  ContentList list;
  for (CSMSData& copy : copies) list.push_back(&copy);
  ShowWait(L"pim.static.copymessage");
  m_copying = true;
  provider->InsertMessage(U::kSms, list);
}

void CSMSOperate::OnCopied(uint32_t status, const ContentList& records) {
  Info("CSMSOperate:OnInsert(InsertMSG) ++++");
  CloseWait();
  m_copying = false;
  if (status != 0 || m_target < 0 || m_target >= static_cast<int>(m_folders.size())) {
    FinishRowChange();
    return;
  }
  int unread = 0;
  for (const CContent* record : records)
    if (auto* message = dynamic_cast<const CSMSData*>(record); message && message->m_read == 0) ++unread;
  const FolderEntry& target = m_folders[m_target];
  if (target.item && ShownFolderItem() == target.item) QueryFolder(target.id);
  AdjustFolderCountAt(m_target, static_cast<int>(records.size()), m_target == kPosInbox && target.system ? unread : 0);
  FinishRowChange();
}

void CSMSOperate::CheckAllRows() {
  if (!m_conversationMode) {
    SetAllChecks(true);
    return;
  }
  // A conversation: its unlocked messages of the phone's own folders.
  int index = m_selectedConversation;
  if (index < 0 || index >= static_cast<int>(m_conversations.size())) return;
  IdList ids;
  for (const CSMSData& message : m_conversations[index].messages)
    if (!message.m_lock && !IsSimFolderId(message.m_folderId)) ids.push_back(message.m_id);
  if (!ids.empty() && Ask(L"pim.sms.delchatmsg", L"common.caption.tip")) DeleteFromChat(ids);
}

void CSMSOperate::EmptyShown() {
  CheckAllRows();
  if (!m_conversationMode) DeleteCheckedMessages();
}

// ---------------------------------------------------------------------------
// The sender and the conversation of a message

void CSMSOperate::AddSenderToContacts(int row) {
  if (!m_rows.IsMessageRow(row)) return;
  Contact::CContactData contact;
  // A mobile number (label code 2), the only thing the message knows.
  contact.m_phones.emplace_back(2, m_rows.At(row).message.m_phoneNumber);
  if (JorvNewContactView(&contact, 0) != 1) return;
  if (IDataProvider* provider = m_owner.Provider()) provider->Insert(U::kContact, &contact);
}

void CSMSOperate::ShowMessageConversation(int row) {
  if (!m_rows.IsMessageRow(row)) return;
  ShowConversations(m_rows.At(row).message.m_phoneNumber, true);
}

void CSMSOperate::ShowMessageDetail(int row) {
  if (!m_rows.IsMessageRow(row) || !m_detail.m_hWnd) return;
  // The party's contact as far as the message knows it.
  Contact::CContactData contact;
  const CSMSData& message = m_rows.At(row).message;
  contact.m_id = static_cast<ContentId>(message.m_contactId);
  contact.m_name[Contact::kDisplayName] = message.m_contactName;
  m_detail.ShowMessage(message, message.m_contactId ? &contact : nullptr);
}

// ---------------------------------------------------------------------------
// Folders

std::vector<std::wstring> CSMSOperate::FolderNames() const {
  std::vector<std::wstring> names;
  for (const FolderEntry& entry : m_folders) names.push_back(entry.name);
  return names;
}

void CSMSOperate::NewFolder() {
  CNewFolderWnd dialog;
  HWND active = ::GetActiveWindow();
  if (dialog.Run(active ? active : m_controls.mainWindow, FolderNames()) == 1) InsertFolder(dialog.Name());
}

void CSMSOperate::InsertFolder(const std::wstring& name) {
  IDataProvider* provider = m_owner.Provider();
  if (!provider) return;
  m_currentFolder = CFolder{};
  m_currentFolder.m_name = name;
  Info("Star insert folder!");
  provider->Insert(U::kFolder, &m_currentFolder);
}

bool CSMSOperate::OnInsert(const std::wstring& uri, uint32_t status, CContent* record) {
  return Answer([&] {
    if (uri != U::kFolder) return;
    Info("Insert folder Callback");
    if (status != 0 || !Ready()) return;
    Info("CSMSOperate:OnInsert(Insertfolder) ++++");
    FolderEntry entry;
    auto* folder = dynamic_cast<const CFolder*>(record);
    entry.folder = folder ? *folder : m_currentFolder;
    entry.name = m_currentFolder.m_name;
    entry.id = static_cast<int32_t>(entry.folder.m_id);
    entry.system = false;
    TVINSERTSTRUCTW insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    std::wstring label = NewFolderLabel(entry.name);
    insert.item.pszText = label.data();
    entry.item = reinterpret_cast<HTREEITEM>(
        m_controls.folderTree->SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    m_folders.push_back(std::move(entry));
    m_controls.folderTree->SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(m_folders.back().item));
    m_rows.Clear();
    m_controls.list->ClearSelection();
    m_controls.list->Refresh();
    EnableListButtons(false);
  });
}

std::wstring CSMSOperate::FolderDisplayName(HTREEITEM item) const {
  int index = FolderIndexOf(item);
  return index < 0 ? std::wstring() : m_folders[index].name;
}

void CSMSOperate::BeginRenameFolder(HTREEITEM item) {
  if (!item || IsSystemFolder(item) || !m_controls.folderTree) return;
  m_controls.folderTree->SetFocus();
  m_controls.folderTree->SendMessage(TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(item));
}

void CSMSOperate::RenameFolder(HTREEITEM item, const std::wstring& text) {
  int index = FolderIndexOf(item);
  if (index < 0 || m_folders[index].system) return;
  if (text.empty()) {
    Tell(L"pim.sms.foldernameempty", L"common.messagebox.tamixtip");
    return;
  }
  for (size_t i = 0; i < m_folders.size(); ++i)
    if (static_cast<int>(i) != index && m_folders[i].name == text) {
      Tell(L"pim.folder.existtip", L"common.messagebox.tamixtip");
      return;
    }
  IDataProvider* provider = m_owner.Provider();
  if (!provider) return;
  m_currentFolder = m_folders[index].folder;
  m_currentFolder.m_name = text;
  m_renameIndex = index;
  Info("start update folderName");
  provider->Update(U::kFolder, &m_currentFolder);
}

bool CSMSOperate::OnUpdate(const std::wstring& uri, uint32_t status) {
  return Answer([&] {
    if (uri != U::kFolder) return;
    Info("Edit foldername Callback");
    int index = m_renameIndex;
    m_renameIndex = -1;
    if (status != 0 || index < 0 || index >= static_cast<int>(m_folders.size())) return;
    Info("CSMSOperate:OnUpdate(Updatefolder) ++++");
    m_folders[index].name = m_currentFolder.m_name;
    m_folders[index].folder.m_name = m_currentFolder.m_name;
    RelabelFolder(index);
  });
}

void CSMSOperate::DeleteFolder(HTREEITEM item) {
  int index = FolderIndexOf(item);
  if (index < 0 || m_folders[index].system) return;
  if (!Ask(L"pim.sms.delfoldertip", L"common.caption.tip")) return;
  if (ShownFolderItem() == item)
    for (int row = 0; row < m_rows.RowCount(); ++row)
      if (m_rows.IsMessageRow(row) && m_rows.At(row).locked) {
        Tell(L"pim.sms.lockmsginfolder", L"common.caption.tip");
        return;
      }
  IDataProvider* provider = m_owner.Provider();
  if (!provider) return;
  m_deletingFolder = index;
  m_movedOut = m_folders[index].folder.m_total;
  if (m_movedOut > 0) ShowWait(L"common.deleting");
  provider->Delete(U::kFolder, IdList{static_cast<ContentId>(m_folders[index].id)});
}

void CSMSOperate::OnFolderDeleted(uint32_t status) {
  LOG::I(kTag, "CSMSOperate:OnDelete(DelFolder) ++++! iStatus = %d", static_cast<int>(status));
  CloseWait();
  int index = m_deletingFolder;
  m_deletingFolder = -1;
  if (status != 0 || index < 0 || index >= static_cast<int>(m_folders.size())) return;
  HTREEITEM item = m_folders[index].item;
  HTREEITEM before = nullptr;
  for (int i = index - 1; i >= 0 && !before; --i) before = m_folders[i].item;
  if (item) m_controls.folderTree->SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
  m_folders.erase(m_folders.begin() + index);
  if (index != kPosInbox && before) {
    m_controls.folderTree->SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(before));
    ShowFolder(before, false);
  }
  AdjustFolderCountAt(kPosRecycleBin, m_movedOut, 0);
  m_movedOut = 0;
}

// ---------------------------------------------------------------------------
// Menus

void CSMSOperate::ShowMessageMenu(int row, POINT screen) {
  if (!m_rows.IsMessageRow(row)) return;  // no row under the pointer, or a header
  m_menuOrigin = kOriginList;
  m_actRow = row;
  std::vector<int> selected = SelectedMessageRows();
  const bool single = selected.size() == 1;
  const bool singleLocked = single && m_rows.At(selected.front()).locked;
  const bool simFolder = IsSimFolderId(ShownFolderId());

  HMENU menu = ::CreatePopupMenu();
  HMENU copy = ::CreatePopupMenu();
  HMENU move = ::CreatePopupMenu();
  HMENU exportMenu = ExportSubmenu();
  HTREEITEM shown = ShownFolderItem();
  for (const SubmenuSystemEntry& entry : kSubmenuSystem) {
    if (static_cast<int>(m_folders.size()) <= entry.position) continue;
    AddItem(copy, entry.copyId, entry.key);
    if (m_folders[entry.position].item != shown || !shown) AddItem(move, entry.moveId, entry.key);
  }
  for (size_t p = kMaxSystemFolders; p < m_folders.size(); ++p) {
    if (m_folders[p].system) continue;
    ::AppendMenuW(copy, MF_STRING, kCopyUserBase + p, m_folders[p].name.c_str());
    if (m_folders[p].item != shown) ::AppendMenuW(move, MF_STRING, kMoveUserBase + p, m_folders[p].name.c_str());
  }
  AddItem(menu, kCmdAddContact, L"pim.menu.smsaddcontact");
  AddItem(menu, kCmdSeeRecord, L"pim.menu.seerecord");
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AddItem(menu, kCmdRefresh, L"common.refresh", L"   F5");
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AddItem(menu, kCmdNew, L"common.new", L"   Ctrl+N");
  AddItem(menu, kCmdReply, L"pim.menu.reply", L"   Ctrl+R");
  AddItem(menu, kCmdForward, L"pim.menu.transmit");
  AddItem(menu, kCmdDelete, L"common.delete", L"   Del");
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(copy), qs::ResText(L"pim.menu.copymsg").c_str());
  ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(move), qs::ResText(L"pim.menu.movemsg").c_str());
  ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(exportMenu), qs::ResText(L"common.export").c_str());
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AddItem(menu, kCmdSelectAll, L"common.selectall", L"   Ctrl+A");

  if (simFolder) {
    Grey(menu, kCmdDelete);
    GreySubmenu(menu, move);
  }
  if (!single)
    for (UINT id : {kCmdAddContact, kCmdSeeRecord, kCmdReply, kCmdForward}) Grey(menu, id);
  if (singleLocked) {
    Grey(menu, kCmdDelete);
    GreySubmenu(menu, move);
  }
  if (m_refreshing) {
    Grey(menu, kCmdSeeRecord);
    Grey(menu, kCmdRefresh);
    GreySubmenu(menu, copy);
    GreySubmenu(menu, move);
  }
  wf::TrackPopup(menu, screen.x, screen.y, m_controls.mainWindow);
  ::DestroyMenu(menu);  // with its submenus
}

void CSMSOperate::ShowFolderMenu(HTREEITEM item, POINT screen) {
  if (m_folders.empty()) return;
  m_menuOrigin = kOriginFolderTree;
  m_menuFolder = item;
  HMENU menu = ::CreatePopupMenu();
  HMENU exportMenu = ExportSubmenu();
  AddItem(menu, kCmdNewFolder, L"pim.menu.newsmsfolder", L" Ctrl+N");
  AddItem(menu, kCmdRenameFolder, L"pim.menu.editsmsfolder", L" Ctrl+E");
  AddItem(menu, kCmdDeleteFolder, L"pim.menu.delsmsfolder", L" Del");
  ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(exportMenu), qs::ResText(L"common.export").c_str());
  AddItem(menu, kCmdEmpty, L"common.clear");
  if (IsSystemFolder(item)) {
    Grey(menu, kCmdRenameFolder);
    Grey(menu, kCmdDeleteFolder);
  }
  if (m_rows.RowCount() == 0 || IsSimFolderId(FolderIdOf(item))) Grey(menu, kCmdEmpty);
  wf::TrackPopup(menu, screen.x, screen.y, m_controls.mainWindow);
  ::DestroyMenu(menu);
}

void CSMSOperate::ShowConversationMenu(POINT screen) {
  if (m_conversations.empty()) return;
  m_menuOrigin = kOriginConversationTree;
  HMENU menu = ::CreatePopupMenu();
  AddItem(menu, kCmdEmpty, L"common.clear");
  ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(ExportSubmenu()), qs::ResText(L"common.export").c_str());
  wf::TrackPopup(menu, screen.x, screen.y, m_controls.mainWindow);
  ::DestroyMenu(menu);
}

int CSMSOperate::CopyTargetOf(UINT command) {
  for (const SubmenuSystemEntry& entry : kSubmenuSystem)
    if (entry.copyId == command) return entry.position;
  return command >= kCopyUserBase + kMaxSystemFolders && command < kMoveUserBase ? static_cast<int>(command - kCopyUserBase)
                                                                                   : -1;
}

int CSMSOperate::MoveTargetOf(UINT command) {
  for (const SubmenuSystemEntry& entry : kSubmenuSystem)
    if (entry.moveId == command) return entry.position;
  return command >= kMoveUserBase + kMaxSystemFolders ? static_cast<int>(command - kMoveUserBase) : -1;
}

bool CSMSOperate::OnMenuCommand(UINT command) {
  const int row = m_actRow;
  switch (command) {
    case kCmdAddContact: AddSenderToContacts(row); return true;
    case kCmdSeeRecord: ShowMessageConversation(row); return true;
    case kCmdRefresh: Refresh(); return true;
    case kCmdNew: ComposeMessage(kComposeNew, nullptr); return true;
    case kCmdReply:
    case kCmdForward:
      if (m_rows.IsMessageRow(row)) {
        const CSMSData message = m_rows.At(row).message;
        ComposeMessage(command == kCmdReply ? kComposeReply : kComposeForward, &message);
      }
      return true;
    case kCmdDelete: {
      std::vector<int> rows = SelectedMessageRows();
      if (rows.size() == 1) {
        DeleteMessage(rows.front());
      } else if (!rows.empty()) {
        SetAllChecks(false);
        for (int selected : rows) m_rows.SetRowCheck(selected, true);
        DeleteCheckedMessages();
      }
      return true;
    }
    case kCmdSelectAll: CheckAllRows(); RedrawRows(); return true;
    // Without a menu (a key, a script): the folder shown.
    case kCmdRenameFolder: BeginRenameFolder(m_menuFolder ? m_menuFolder : ShownFolderItem()); return true;
    case kCmdDeleteFolder: DeleteFolder(m_menuFolder ? m_menuFolder : ShownFolderItem()); return true;
    case kCmdEmpty: EmptyShown(); return true;
    case kCmdExportXml: ImportExportXml(); return true;
    case kCmdExportExcel: ImportExportExcel(); return true;
    default: break;
  }
  if (int target = CopyTargetOf(command); target >= 0) {
    CopyMessages(target);
    return true;
  }
  if (int target = MoveTargetOf(command); target >= 0) {
    MoveSelected(target);
    return true;
  }
  return false;
}
