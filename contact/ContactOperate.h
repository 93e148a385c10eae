// CContactOperate: the controller of the contacts module.
//
// The main window hands it the module's controls and forwards the user's
// commands; it asks the data-provider library through its CContactSupport
// and is itself the callback of its provider, message helper and export
// helper. Every answer runs on the user-interface thread (through the
// marshal of its CProviderOwner): it is matched by its URI, logged, applied
// to the model (the rows, the groups, the counts) and shown; follow-up work
// of the main window is asked for with the private messages of
// content/PimMessages.h.
//
// The model, the rules and the look live apart (ContactRows, ContactRules):
// this class holds the state of the module and applies them to the controls.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>
#include <vector>

#include "contact/ContactData.h"
#include "contact/ContactRows.h"
#include "contact/ContactRules.h"
#include "contact/ContactSupport.h"
#include "content/DataProvider.h"
#include "content/ProviderOwner.h"
#include "contact/PimProgressWnd.h"

class IAppHost;
class CQSTreeView;
class CQsSuperGrid;
class CQsButton;
class CQsStatic;
class CQsSearchEdit;

// The controls of the module, owned by the main window.
struct ContactControls {
  HWND mainWindow = nullptr;
  CQSTreeView* tree = nullptr;
  CQsSuperGrid* list = nullptr;
  CQsButton* deleteButton = nullptr;
  CQsButton* importButton = nullptr;
  CQsButton* exportButton = nullptr;
  CQsButton* refreshButton = nullptr;
  CQsStatic* loading = nullptr;
  CQsSearchEdit* search = nullptr;
  IAppHost* host = nullptr;
};

class CContactOperate : public CDataProviderCallback, public CInstantMessageCallback, public CExportCallback {
 public:
  // What the card does when the contact asked for by identifier arrives.
  enum CardAction { kCardNone = 0, kCardEdit = 1, kCardShow = 2, kCardRefresh = 3 };

  CContactOperate();
  ~CContactOperate() override;
  CContactOperate(const CContactOperate&) = delete;
  CContactOperate& operator=(const CContactOperate&) = delete;

  // Takes the controls and builds the tree's fixed items and the list's
  // columns and look.
  void Init(const ContactControls& controls);
  // Places the list in a module area of `width` x `height`.
  void LayoutList(int width, int height);

  // Drops what the library holds and reads the phone again (nothing while a
  // refresh runs).
  void Refresh();
  // The user chose a tree item: lists its contacts.
  void OnTreeSelect(HTREEITEM item);
  // Searches the current node.
  void Search(const std::wstring& keyword);

  // The contact card beside the list.
  void ShowCard(int row, bool refreshOnly);
  void OnCardAction();
  void HideCard();
  bool IsCardShown() const { return m_cardShown; }
  // Keeps a shown card beside the list after the list moved.
  void PlaceCard();

  // Context menus at a screen point: of the tree item clicked, of a list row
  // (-1: below the rows). The chosen command comes back as WM_COMMAND to the
  // main window, which hands it to OnMenuCommand.
  void ShowTreeMenu(HTREEITEM clicked, POINT screen);
  void ShowListMenu(int row, POINT screen);
  // A command of the module's menus or keys; false when it is not one.
  bool OnMenuCommand(UINT command);

  // Changing contacts: a new one and one row's contact in the contact
  // editor; deleting the selected contacts (after a question) or the checked
  // ones.
  void NewContact();
  void EditContact(int row);
  void DeleteContacts();
  void BatchDeleteContacts();
  // A contact added to the phone elsewhere (the messages page): counted
  // again and listed when it belongs to the node shown.
  void AddContact(const Contact::CContactData& contact);
  // Unchecks every row and the header box.
  void ClearChecks();

  // Groups: new and edit in the group dialog, rename in place (the tree's
  // label editing), delete after a question.
  void NewGroup();
  void EditGroup();
  void RenameGroup(HTREEITEM item, const std::wstring& newName);
  void DeleteGroup();
  bool IsGroupItem(HTREEITEM item) const { return GroupIndexOf(item) >= 0; }

  // Favourites and membership of the selected contacts; a group index of -1
  // stars (add) or unstars them instead.
  void SetStar(bool star);
  void SetMembership(bool add, int groupIndex);

  // A message to the selected contacts or to every contact listed.
  void SendToSelected();
  void SendToGroup();

  // Import and export: the mode says what (0 the current node or group, 1
  // the selected contacts, 2 import); the main window runs the progress
  // window when told (pim_msg::kImportExportStep).
  void SetImportExportMode(int mode) { m_portMode = mode; }
  void ImportExportXml();
  void ImportExportExcel();
  void ImportExportVcard();
  void ShowImportProgress();
  void ShowExportProgress();
  void FinishImportExport();
  bool IsProgressShown() const { return m_progressShown; }
  CPimProgressWnd& ProgressWindow() { return m_progress; }

  // The deletion check boxes (the main window's multi-delete mode).
  void SetCheckMode(bool on);
  // Flips a row's box; answers its new state (false for a header row).
  bool ToggleRowCheck(int row);
  void SetAllChecks(bool on);
  int CheckedCount() const { return m_rows.CheckedCount(); }
  void SelectAll();

  // On disconnection: closes the module's dialogs and drops the answers not
  // yet delivered.
  void CloseAll();
  // Forgets every contact, group, card and count (the phone is gone).
  void ClearAll();

  // State, for the main window and tests.
  const Contact::CContactRows& Rows() const { return m_rows; }
  const Contact::ContactCounts& Counts() const { return m_counts; }
  bool IsRefreshing() const { return m_refreshing; }
  Contact::ContactNode NodeOf(HTREEITEM item) const;
  HTREEITEM ItemOf(Contact::ContactNode node) const;
  HTREEITEM CurrentItem() const { return m_current; }
  HTREEITEM GroupItem(size_t index) const { return index < m_groups.size() ? m_groups[index].item : nullptr; }
  size_t GroupCount() const { return m_groups.size(); }
  const Contact::CContactData& CurrentContact() const { return m_currentContact; }
  int ImportExportMode() const { return m_portMode; }

  // Callbacks of the library.
  bool OnReturnBatch(const std::wstring& uri, uint32_t status, const ContentList& records) override;
  bool OnRefreshComplete(const std::wstring& uri, uint32_t status) override;
  bool OnReturnContent(const std::wstring& uri, uint32_t status, const ContentList& records) override;
  bool OnReturnById(const std::wstring& uri, uint32_t status, const ContentList& records) override;
  bool OnReturnCount(const std::wstring& uri, uint32_t status, uint32_t count) override;
  bool OnReturnGroupCount(const std::wstring& uri, uint32_t status, const GroupCountList& counts) override;
  bool OnInsert(const std::wstring& uri, uint32_t status, const ContentList& records) override;
  bool OnUpdate(const std::wstring& uri, uint32_t status, const ContentList& records) override;
  bool OnDelete(const std::wstring& uri, uint32_t status) override;
  bool OnMembership(const std::wstring& uri, uint32_t status) override;
  bool OnSetStar(const std::wstring& uri, uint32_t status) override;
  bool OnGetSimInfo(uint32_t status, const SimCardList& cards) override;
  bool OnSent(const std::wstring& uri, uint32_t status, const ContentList& messages) override;
  bool OnImportComplete(const std::wstring& uri, uint32_t status) override;
  bool OnExportComplete(const std::wstring& uri, uint32_t status) override;
  bool OnSetProgress(uint32_t done, uint32_t total) override;

 private:
  struct GroupEntry {
    HTREEITEM item = nullptr;
    Contact::CGroupData group;
    uint32_t count = 0;
  };
  // Phone contacts, card one, card two, favourites.
  struct FixedNode {
    HTREEITEM item = nullptr;
    uint32_t count = 0;
    std::wstring baseName;
  };
  enum Fixed { kPhoneNode, kCardOneNode, kCardTwoNode, kFavouritesNode, kFixedCount };

  bool Ready() const;
  // A notice, and a question answered yes, over the main window.
  void Tell(const wchar_t* key);
  bool Ask(const wchar_t* key);
  // The owner of the module's modal dialogs: the active window.
  HWND DialogOwner() const;
  HTREEITEM SelectedTreeItem() const;
  // Runs a callback's work on the user-interface thread; contact callbacks
  // answer true, also for a failure.
  bool Answer(const std::function<void()>& work);

  // Tree.
  HTREEITEM InsertItem(HTREEITEM parent, const std::wstring& text, HTREEITEM after = TVI_LAST);
  void SetItemText(HTREEITEM item, const std::wstring& text);
  void RemoveGroups();
  void AddGroups(const ContentList& records);
  void UpdateGroupsLabel();
  void UpdateRootLabel();
  void RemoveCardNodes();
  void SelectItem(HTREEITEM item);
  void EnableTree(bool enable);
  int GroupIndexOf(HTREEITEM item) const;
  // The URI of the current node's list ("content://contact/contact" for a group).
  const wchar_t* CurrentUri() const;

  // List.
  void ClearList();
  void ShowRows(const ContentList& records, bool grouped);
  void RefreshList();
  void UpdateToolbar();
  std::vector<int> SelectedContactRows() const;

  void QueryCounts();
  // Whether a contact belongs in the list of the current node (with grouping).
  bool BelongsToCurrentNode(const Contact::CContactData& contact) const;
  void OnContactDeleted(uint32_t status);
  void OnGroupDeleted(uint32_t status);
  void OpenCompose(const std::wstring& numbers);
  std::vector<std::wstring> GroupNames() const;
  // Sends a changed group (edited or renamed) to the phone.
  void UpdateGroup(Contact::CGroupData& changed);
  // The file or folder of an import or export; false when the user cancelled.
  enum class PortFormat { kXml, kExcel, kVcard };
  void ImportExport(PortFormat format);
  bool AskPath(PortFormat format, bool import, std::wstring& path);
  // Runs the progress window until the end closes it or the user cancels.
  void RunProgress(const wchar_t* titleKey, const wchar_t* messageKey);
  // The busy indication around a change sent to the phone.
  void BeginBusy(const wchar_t* progressKey);
  void EndBusy();
  void PostMain(UINT message, WPARAM wParam, LPARAM lParam = 0);

  // Controls (not owned).
  ContactControls m_controls;

  // The library's objects: made at construction, destroyed first (see
  // CProviderOwner); the support only calls them.
  content::CProviderOwner m_owner;
  CContactSupport m_support;

  Contact::CContactRows m_rows;
  std::vector<GroupEntry> m_groups;
  HTREEITEM m_root = nullptr;
  HTREEITEM m_groupsItem = nullptr;
  std::array<FixedNode, kFixedCount> m_nodes;
  Contact::ContactCounts m_counts;
  HTREEITEM m_current = nullptr;
  HTREEITEM m_renameItem = nullptr;
  HTREEITEM m_deleteItem = nullptr;
  std::vector<int> m_deleteRows;  // the selection a delete was started on
  SimCardList m_cards;

  bool m_refreshing = false;
  bool m_batchDelete = false;
  bool m_cardShown = false;
  bool m_grouping = false;   // the list is grouped by letter (after a query; not while streaming)
  int m_batches = 0;
  int m_portMode = 0;        // import/export: 0 current node, 1 selected contacts, 2 import
  CardAction m_pendingAction = kCardNone;
  int m_pendingRow = -1;
  Contact::CContactData m_currentContact;
  HANDLE m_wait = nullptr;   // the shared wait animation while one is shown
  std::vector<int> m_memberRows;  // the selection a membership change was started on
  std::vector<int> m_starRows;    // the selection a star change was started on
  bool m_memberAdd = false;
  int m_memberGroup = -1;
  bool m_star = false;
  bool m_groupMessage = false;
  bool m_progressShown = false;
  bool m_portFinished = false;
  CPimProgressWnd m_progress;
  std::wstring m_totalText, m_groupText;
};
