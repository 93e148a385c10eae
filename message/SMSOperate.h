// CSMSOperate: the controller of the messages module.
//
// The main window hands it the module's controls and forwards the user's
// commands; it asks the data-provider library through the provider, message
// helper and export helper it owns, and is their callback. Answers run on the
// user-interface thread (through the marshal of its CProviderOwner), are
// matched by their URI, logged, applied to the model (the folder catalogue,
// the list rows, the conversations) and shown.
//
// The module has two modes: folders (the folder tree and the message list)
// and conversations (the conversation tree and the conversation window). The
// two list fillers hold the list lock for their whole run, so a library that
// calls them from threads of its own never fills the rows twice at once.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "contact/ContactData.h"
#include "content/DataProvider.h"
#include "content/ProviderOwner.h"
#include "message/ChatOwner.h"
#include "message/MessageData.h"
#include "message/MessageRows.h"
#include "message/SMSChatWnd.h"
#include "message/MessageDetailWnd.h"
#include "contact/PimProgressWnd.h"

class IAppHost;
class CQSTreeView;
class CQsSuperGrid;
class CQsButton;
class CQsStatic;

// The controls of the module, owned by the main window.
struct MessageControls {
  HWND mainWindow = nullptr;
  CQSTreeView* folderTree = nullptr;
  CQSTreeView* chatTree = nullptr;
  CQsSuperGrid* list = nullptr;
  CQsButton* newButton = nullptr;
  CQsButton* deleteButton = nullptr;   // "common.deletesome"
  CQsButton* importButton = nullptr;
  CQsButton* exportButton = nullptr;
  CQsButton* refreshButton = nullptr;
  CQsButton* listModeButton = nullptr;  // 0x56b
  CQsButton* chatModeButton = nullptr;  // 0x56c
  CQsStatic* loading = nullptr;
  IAppHost* host = nullptr;
  // Hands a contact added from a message to the contacts page.
  std::function<void(const Contact::CContactData&)> contactAdded;
};

class CSMSOperate : public CInstantMessageCallback,
                    public CDataProviderCallback,
                    public CExportCallback,
                    private IChatOwner {
 public:
  // Compose modes.
  enum ComposeMode { kComposeNew = 0, kComposeReply = 1, kComposeForward = 2, kComposeOpen = 4 };

  // Commands of the module's menus. The copy and move submenus add one per
  // target folder (42332.. and 42588..; user folders from 42329 and 42585
  // plus their catalogue position).
  enum MenuCommand : UINT {
    kCmdNewFolder = 41820, kCmdRenameFolder = 41821, kCmdDeleteFolder = 41822, kCmdEmpty = 41824,
    kCmdExportXml = 41825, kCmdExportExcel = 41826,
    kCmdAddContact = 42076, kCmdSeeRecord = 42077, kCmdNew = 42078, kCmdReply = 42079, kCmdForward = 42080,
    kCmdDelete = 42081, kCmdRefresh = 42082, kCmdSelectAll = 42083,
  };
  // Where the last menu (or button) was opened.
  enum MenuOrigin { kOriginFolderTree = 0, kOriginList = 1, kOriginImport = 2, kOriginConversationTree = 3,
                    kOriginConversationWindow = 4 };

  // A folder of the catalogue: its name, counts and tree item (null when the
  // tree does not list it).
  struct FolderEntry {
    std::wstring name;
    int32_t id = 0;
    bool system = false;
    Message::CFolder folder;
    HTREEITEM item = nullptr;
  };
  // The messages exchanged with one number, in the order of the answer.
  struct Conversation {
    HTREEITEM item = nullptr;
    std::wstring number;
    int count = 0;
    int32_t contactId = 0;
    std::vector<Message::CSMSData> messages;
    std::wstring label;  // the tree entry's text
  };

  CSMSOperate();
  ~CSMSOperate() override;
  CSMSOperate(const CSMSOperate&) = delete;
  CSMSOperate& operator=(const CSMSOperate&) = delete;

  // Takes the controls, sets up the list (InitMessageList), the trees
  // (InitFolderTree) and creates the conversation window.
  void Init(const MessageControls& controls);
  void InitMessageList(CQsSuperGrid& list);
  void InitFolderTree(CQSTreeView& folderTree, CQSTreeView& chatTree);
  // Places the list and the conversation window in a module area.
  void LayoutViews(int width, int height);
  // Shows the views of the current mode while the module is shown; hides
  // them all when it is not.
  void ShowViews(bool moduleShown);

  // Reads the handset again (nothing while a refresh runs).
  void Refresh();
  void ShowFolders();
  void ShowFolder(HTREEITEM item, bool showWait);
  // Conversation mode: the conversations are asked for (and, with
  // `selectByNumber`, the one of `number` selected when they come).
  void ShowConversations(const std::wstring& number, bool selectByNumber);
  void ShowConversation(HTREEITEM item);
  void EnterConversationMode();
  // Back to folders: the folder tree and the list, and the folders again.
  void EnterListMode();
  bool IsConversationMode() const { return m_conversationMode; }

  // The main window runs the next step of filling the conversation tree
  // (pim_msg::kFillConversations, with the generation it was posted for).
  void ContinueConversationTree(LPARAM generation);

  int32_t FolderIdOf(HTREEITEM item) const;
  bool IsSystemFolder(HTREEITEM item) const;
  void AdjustFolderCount(HTREEITEM item, int totalChange, int unreadChange);
  // Messages sent from the contacts module: the sent folder's count.
  void OnSentElsewhere(int count);

  // Narrows the folder shown to the messages whose party, number or text
  // holds `keyword` (an empty keyword shows them all).
  void Search(const std::wstring& keyword);
  // Forgets the search without listing again (a refresh follows).
  void ResetSearch() { m_keyword.clear(); }

  // Operations on messages (rows of the list) and folders.
  void DeleteMessage(int row);
  void DeleteCheckedMessages();
  void MoveMessages(int target, const IdList& ids);
  void LockMessage(int row, bool lock);
  void OpenMessage(int row);
  void CopyMessages(int target);
  void CheckAllRows();
  void AddSenderToContacts(int row);
  void ShowMessageConversation(int row);
  // The message of a row in the detail window, with a reply composer.
  void ShowMessageDetail(int row);
  CMessageDetailWnd& DetailWindow() { return m_detail; }
  // The names of the catalogue's folders (the new-folder dialog checks them).
  std::vector<std::wstring> FolderNames() const;
  // The new-folder dialog, then the folder sent to the phone.
  void NewFolder();
  void InsertFolder(const std::wstring& name);
  void BeginRenameFolder(HTREEITEM item);
  void RenameFolder(HTREEITEM item, const std::wstring& text);
  std::wstring FolderDisplayName(HTREEITEM item) const;
  void DeleteFolder(HTREEITEM item);
  // Context menus at a screen point; the chosen command comes back to the
  // main window, which hands it to OnMenuCommand.
  void ShowMessageMenu(int row, POINT screen);
  void ShowFolderMenu(HTREEITEM item, POINT screen);
  void ShowConversationMenu(POINT screen);
  bool OnMenuCommand(UINT command);
  void SetActRow(int row) { m_actRow = row; }
  int MenuOrigin() const { return m_menuOrigin; }
  // A toolbar button's request: no folder of a menu is meant.
  void SetMenuOrigin(int origin) {
    m_menuOrigin = origin;
    m_menuFolder = nullptr;
  }

  // Import (origin kOriginImport) or export (what the origin names) as XML
  // or Excel; the main window runs the progress window when told
  // (pim_msg::kImportExportStep with module 2).
  void ShowExportMenu(POINT screen);
  void ImportExportXml();
  void ImportExportExcel();
  void ShowImportProgress();
  void ShowExportProgress();
  void CloseProgress();
  bool IsProgressShown() const { return m_progressShown; }
  CPimProgressWnd& ProgressWindow() { return m_progress; }

  // Sending and receiving.
  void ComposeMessage(int mode, const Message::CSMSData* message);
  void SendMessages(const ContentList& messages);
  void StartReceive();
  // Ends the reports. The main window writes the log line of the stop.
  void StopReceive();
  void RequestSimInfo();

  // The deletion check boxes (the main window's multi-delete mode).
  void SetCheckMode(bool on);
  bool ToggleRowCheck(int row);
  void SetAllChecks(bool on);
  int CheckedCount() const { return m_rows.CheckedCount(); }

  // On disconnection: drops the answers not yet delivered; forgets every
  // folder, message, conversation and card.
  void CloseAll();
  void ClearAll();

  // State, for the main window and tests.
  const Message::CMessageRows& Rows() const { return m_rows; }
  const std::vector<FolderEntry>& Folders() const { return m_folders; }
  const std::vector<Conversation>& Conversations() const { return m_conversations; }
  const SimCardList& Cards() const { return m_cards; }
  bool HasCardOfType2() const { return m_cardType2; }
  bool HasCardOfType1or3() const { return m_cardType13; }
  bool IsRefreshing() const { return m_refreshing; }
  bool FoundNoFolders() const { return m_noFolders; }
  HTREEITEM ShownFolderItem() const;
  int32_t ShownFolderId() const { return FolderIdOf(ShownFolderItem()); }
  int SelectedConversation() const { return m_selectedConversation; }
  CSMSChatWnd& ChatWindow() { return m_chat; }

  // The messages module keeps no calendar descriptor.
  bool OnProviderEvent(uint32_t, const ProviderEvent&) override { return false; }
  bool OnReturnBatch(const std::wstring& uri, uint32_t status, const ContentList& records) override;
  bool OnRefreshComplete(const std::wstring& uri, uint32_t status) override;
  bool OnReturnGroupContent(const std::wstring& uri, uint32_t status, const GroupedContent& groups) override;
  bool OnReturnContent(const std::wstring& uri, uint32_t status, const ContentList& records) override;
  bool OnReturnById(const std::wstring& uri, uint32_t status, const ContentList& records) override;
  bool OnInsert(const std::wstring& uri, uint32_t status, const ContentList& records) override;
  bool OnInsert(const std::wstring& uri, uint32_t status, CContent* record) override;
  bool OnUpdate(const std::wstring& uri, uint32_t status) override;
  using CDataProviderCallback::OnUpdate;
  bool OnDelete(const std::wstring& uri, uint32_t status) override;
  bool OnMembership(const std::wstring& uri, uint32_t status) override;
  bool OnSetLock(const std::wstring& uri, uint32_t status) override;
  bool OnSetRead(const std::wstring& uri, uint32_t status) override;
  bool OnGetSimInfo(uint32_t status, const SimCardList& cards) override;
  bool OnSent(const std::wstring& uri, uint32_t status, const ContentList& messages) override;
  bool OnReceived(const std::wstring& uri, uint32_t status, const ContentList& messages) override;
  bool OnImportComplete(const std::wstring& uri, uint32_t status) override;
  bool OnExportComplete(const std::wstring& uri, uint32_t status) override;
  bool OnSetProgress(uint32_t done, uint32_t total) override;

 private:
  // IChatOwner
  void SendFromChat(const Message::CSMSData& message) override;
  void ForwardFromChat(const Message::CSMSData& message) override;
  void DeleteFromChat(const IdList& ids) override;
  void ShowConversationOf(const std::wstring& number) override;

  bool Ready() const { return m_controls.folderTree && m_controls.chatTree && m_controls.list; }
  bool Answer(const std::function<void()>& work);
  void ShowWait(const wchar_t* textKey);
  void CloseWait();

  // Folders.
  void RebuildFolderTree(const std::vector<const Message::CFolder*>& folders);
  // Lists the catalogue in the tree and selects the entry of a position
  // (the inbox when that one is not listed).
  void FillFolderTree(int selectPosition);
  void RemoveFolderItems();
  void AdjustFolderCountAt(int index, int totalChange, int unreadChange);
  int FolderIndexOf(HTREEITEM item) const;
  std::wstring FolderLabelOf(int index) const;
  void RelabelFolder(int index);
  HTREEITEM FolderItemAt(int position) const;
  void QueryFolder(int32_t folderId);

  // List.
  void DisplaySMSListNoOrder(const ContentList& batch);
  void DisplayListview(const ContentList& messages);
  void EnableListButtons(bool enable);
  void UpdateNetworkTexts();

  // Conversations.
  void RebuildConversations(const GroupedContent& groups);
  void SelectConversation(int index);
  void FillSelectedConversation(const ContentList& messages);
  void QueryConversationContact(int index);
  // Relabels a conversation's tree entry; makes it when it is the next one
  // to be made.
  void RelabelConversation(int index);
  // Makes the tree entries of up to `count` more conversations; posts the
  // next step when some are left.
  void FillConversationTree(size_t count);
  static std::wstring LabelOf(const Conversation& entry);
  int ConversationIndexOf(HTREEITEM item) const;
  void AppendToConversation(const ContentList& messages, bool sent);
  void SaveDrafts(const ContentList& messages);

  void TrayTip(const std::wstring& text);
  void Tell(const wchar_t* key, const wchar_t* captionKey);
  bool Ask(const wchar_t* key, const wchar_t* captionKey);

  // Operations.
  bool HasRecycleBin() const;
  std::vector<int> SelectedMessageRows() const;
  void RedrawRows();
  // After rows left or stayed: every box unchecked, the list redrawn, the
  // list's buttons off when nothing is left.
  void FinishRowChange();
  // Erases (in the recycle bin, after a question) or moves to the recycle bin.
  void DeleteIds(const IdList& ids);
  void MoveSelected(int target);
  int RemovePendingRows(int& unread);
  void OnCopied(uint32_t status, const ContentList& records);
  void OnFolderDeleted(uint32_t status);
  void EmptyShown();
  void ImportExport(bool excel);
  void RunProgress(const wchar_t* titleKey, const wchar_t* messageKey);
  static int CopyTargetOf(UINT command);
  static int MoveTargetOf(UINT command);

  MessageControls m_controls;
  content::CProviderOwner m_owner;

  Message::CSMSData m_currentMessage;  // scratch record of single-message operations
  Message::CFolder m_currentFolder;    // the record of folder inserts and updates
  Message::CMessageRows m_rows;
  std::vector<FolderEntry> m_folders;
  std::vector<Conversation> m_conversations;
  SimCardList m_cards;
  bool m_cardType2 = false;
  bool m_cardType13 = false;

  bool m_conversationMode = false;
  bool m_refreshing = false;
  bool m_skipFolderQuery = false;
  bool m_noFolders = false;
  bool m_simFolderShown = false;
  int m_batches = 0;               // refresh batches that held inbox messages
  std::wstring m_selectNumber;     // the conversation to select after the next query
  bool m_selectByNumber = false;
  int m_selectedConversation = -1;
  int m_openedRow = -1;
  int m_deletingFolder = -1;
  int m_movedOut = 0;
  HANDLE m_wait = nullptr;
  bool m_sendingFromCompose = false;
  bool m_saveToDrafts = false;
  bool m_composing = false;
  IdList m_chatDeleting;           // the bubbles a delete was started on
  // The operation in flight.
  int m_actRow = -1;
  bool m_manyRows = false;
  bool m_deleteByMove = false;
  bool m_copying = false;
  int m_target = -1;               // copy and move
  IdList m_pendingIds;             // the messages a delete or move was started on
  ContentId m_lockId = 0;
  bool m_lockState = false;
  ContentId m_readId = 0;
  int m_renameIndex = -1;
  int m_menuOrigin = kOriginFolderTree;
  HTREEITEM m_menuFolder = nullptr;
  bool m_progressShown = false;
  bool m_portFinished = false;
  CPimProgressWnd m_progress;
  // Conversation tree entries made so far (in order) and the answer they
  // belong to.
  static constexpr size_t kFirstConversations = 64;
  static constexpr size_t kConversationStep = 400;
  size_t m_treeFilled = 0;
  unsigned m_treeGeneration = 0;
  std::wstring m_keyword;           // the search of the folder shown
  bool m_moduleShown = false;

  CRITICAL_SECTION m_listLock;
  CSMSChatWnd m_chat;
  CMessageDetailWnd m_detail;
};
