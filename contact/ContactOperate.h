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

  // Deleting: the selected contacts (after a question), or the checked ones.
  void DeleteContacts();
  void BatchDeleteContacts();
  // Unchecks every row and the header box.
  void ClearChecks();

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
  bool OnDelete(const std::wstring& uri, uint32_t status) override;
  bool OnGetSimInfo(uint32_t status, const SimCardList& cards) override;

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
  std::wstring m_totalText, m_groupText;
};
