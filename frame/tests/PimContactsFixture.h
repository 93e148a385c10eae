// The main window with the contacts module against the simulated handset,
// as the contacts tests drive it: a fixture that makes the window as the host
// does, sends it what a user's actions send, and reads back what the user sees
// through the platform's own messages (tree items, list item texts, menus).
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "contact/ContactRules.h"
#include "content/ContentUri.h"
#include "controls/ResText.h"
#include "frame/DialogTemplates.h"
#include "frame/PimWnd.h"
#include "framework/Clock.h"
#include "framework/Module.h"
#include "framework/PopupMenu.h"
#include "provider/ProviderAutomation.h"
#include "standins/base/LogControl.h"
#include "standins/connect/ConnectControl.h"
#include "standins/dialogs/JorvAutomation.h"

namespace pim_contacts_test {

using namespace Contact;
using qs::ResText;
using testing_support::ProgramFolder;

// The host's side: remembers the running-task texts.
struct RecordingHost : IAppHost {
  HWND GetHostWindow() override { return nullptr; }
  void ActivateApp(const std::wstring&) override {}
  void ShowTrayTip(int32_t, const std::wstring& text) override { tips.push_back(text); }
  void SetRunningTask(const std::wstring& text, bool running) override { tasks.emplace_back(text, running); }
  std::vector<std::wstring> tips;
  std::vector<std::pair<std::wstring, bool>> tasks;
};

struct MenuEntry {
  UINT id = 0;
  std::wstring text;
  bool enabled = true;
  std::vector<MenuEntry> sub;
};

inline std::vector<MenuEntry> ReadMenu(HMENU menu) {
  std::vector<MenuEntry> entries;
  for (int i = 0, n = ::GetMenuItemCount(menu); i < n; ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
    info.dwTypeData = text;
    info.cch = 255;
    ::GetMenuItemInfoW(menu, i, TRUE, &info);
    if (info.fType & MFT_SEPARATOR) continue;
    MenuEntry entry;
    entry.id = info.hSubMenu ? 0 : info.wID;
    entry.text = text;
    entry.enabled = !(info.fState & MFS_GRAYED);
    if (info.hSubMenu) entry.sub = ReadMenu(info.hSubMenu);
    entries.push_back(std::move(entry));
  }
  return entries;
}

inline const MenuEntry* Find(const std::vector<MenuEntry>& entries, UINT id) {
  for (const MenuEntry& entry : entries) {
    if (entry.id == id) return &entry;
    if (const MenuEntry* inner = Find(entry.sub, id)) return inner;
  }
  return nullptr;
}

inline const MenuEntry* FindText(const std::vector<MenuEntry>& entries, const std::wstring& text) {
  for (const MenuEntry& entry : entries)
    if (entry.text == text) return &entry;
  return nullptr;
}

inline size_t Count(const std::string& text, const std::string& line) {
  size_t n = 0;
  for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++n;
  return n;
}

class PimContactsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    resources = ::LoadLibraryW((ProgramFolder() + L"\\PimRes.dll").c_str());
    ASSERT_NE(resources, nullptr);
  }
  void SetUp() override {
    wf::SetResourceInstance(resources);
    SetDialogTemplateInstance(resources);
    LOG::SetLogRoot(logs.path());
    JorvAutomation::Reset();
    JorvAutomation::SetUnattended(true);
    ProviderAutomation::ClearFaults();
    ProviderAutomation::Sample sample;
    sample.contacts = 80;
    sample.seed = 7;
    ProviderAutomation::ResetHandset(sample);
    // Card one on a known network, card two on an unknown one.
    CSimInfo one, two;
    one.m_cardId = 1;
    one.m_network = L"GSM";
    two.m_cardId = 2;
    ASSERT_TRUE(ProviderAutomation::SetSimCards({one, two}));
    ProviderAutomation::WaitIdle();
    SetDeviceConnected(true);
    parent = testing_support::CreateTestParent(1200, 800);
    ::ShowWindow(parent, SW_SHOW);
  }
  void TearDown() override {
    wf::SetMenuChooser({});
    wf::SetClock({});
    window.reset();
    ::DestroyWindow(parent);
    ProviderAutomation::ClearFaults();
    ProviderAutomation::WaitIdle();
    JorvAutomation::Reset();
    LOG::SetLogRoot(L"");
  }

  // Makes the window as the host does: the host first, then the hidden window.
  void Create() {
    window = std::make_unique<CPimWnd>();
    window->SetAppHost(&host);
    ASSERT_TRUE(window->Create(parent));
    window->MoveWindow(0, 0, 959, 528);
  }
  void CreateAndShow() {
    Create();
    window->ShowWindow(SW_SHOW);
    Settle();
  }

  // Until every answer asked for has arrived and what it posted has run.
  void Settle() {
    for (int pass = 0; pass < 50; ++pass) {
      ProviderAutomation::WaitIdle();
      MSG msg;
      if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) return;
      testing_support::PumpMessages();
    }
  }

  CContactOperate& contacts() { return window->Contacts(); }
  std::string InfoLog() { return testing_support::ReadFile(logs.File(L"log\\PimPluginInfo.log")); }

  // Texts as assistive technology reads them: a tree item's, a list cell's.
  static std::wstring TreeText(CQSTreeView& tree, HTREEITEM item) {
    wchar_t text[256] = {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = 256;
    tree.SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
  }
  static std::wstring GridText(CQsSuperGrid& list, int row, int column) {
    wchar_t text[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    list.SendMessage(LVM_GETITEMTEXTW, list.ItemFromRow(row), reinterpret_cast<LPARAM>(&item));
    return text;
  }
  // What a tree sends its parent when the user clicks an item; what a list
  // sends for a row and for a click in a cell.
  void NotifyTreeClick(CQSTreeView& tree, HTREEITEM item) {
    NMQSTREEITEM click{};
    click.hdr.hwndFrom = tree;
    click.hdr.idFrom = static_cast<UINT_PTR>(tree.GetDlgCtrlID());
    click.hdr.code = QSTVN_ITEMCLICK;
    click.item = item;
    click.hitFlags = TVHT_ONITEMLABEL;
    window->SendMessage(WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
  }
  void NotifyRow(CQsSuperGrid& list, UINT code, int row) {
    NMITEMACTIVATE activate{};
    activate.hdr.hwndFrom = list;
    activate.hdr.idFrom = static_cast<UINT_PTR>(list.GetDlgCtrlID());
    activate.hdr.code = code;
    activate.iItem = row >= 0 ? list.ItemFromRow(row) : -1;
    window->SendMessage(WM_NOTIFY, activate.hdr.idFrom, reinterpret_cast<LPARAM>(&activate));
  }
  void NotifyCell(CQsSuperGrid& list, int row, int column, int action, int check) {
    NMQSGRIDCELL cell{};
    cell.hdr.hwndFrom = list;
    cell.hdr.idFrom = static_cast<UINT_PTR>(list.GetDlgCtrlID());
    cell.hdr.code = QSGN_CELLCLICK;
    cell.iRow = row;
    cell.iColumn = column;
    cell.iAction = action;
    cell.iCheck = check;
    window->SendMessage(WM_NOTIFY, cell.hdr.idFrom, reinterpret_cast<LPARAM>(&cell));
  }

  std::wstring ItemText(HTREEITEM item) { return TreeText(window->ContactTree(), item); }
  std::vector<std::wstring> ChildTexts(HTREEITEM parentItem) {
    std::vector<std::wstring> texts;
    auto& tree = window->ContactTree();
    for (auto child = reinterpret_cast<HTREEITEM>(tree.SendMessage(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parentItem)));
         child; child = reinterpret_cast<HTREEITEM>(tree.SendMessage(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child))))
      texts.push_back(ItemText(child));
    return texts;
  }
  std::wstring RootText() { return ItemText(contacts().ItemOf(ContactNode::kRoot)); }

  std::wstring CellText(int row, int column) { return GridText(window->ContactList(), row, column); }
  void ClickTreeItem(HTREEITEM item) { NotifyTreeClick(window->ContactTree(), item); }
  void ListNotify(UINT code, int row) { NotifyRow(window->ContactList(), code, row); }
  void CellClick(int row, int column, int action, int check) {
    NotifyCell(window->ContactList(), row, column, action, check);
  }
  void HeaderClick(int column, int check) {
    NMQSGRIDHEADER click{};
    click.hdr.hwndFrom = window->ContactList();
    click.hdr.idFrom = IDC_CONTACT_LIST;
    click.hdr.code = QSGN_HEADERCLICK;
    click.iColumn = column;
    click.iCheck = check;
    window->SendMessage(WM_NOTIFY, IDC_CONTACT_LIST, reinterpret_cast<LPARAM>(&click));
  }
  void Press(int id) {
    testing_support::PressButton(*window, id);
    testing_support::PumpMessages();
  }
  // Opens a context menu and answers what it offered; chooses `choose` (0: none).
  std::vector<MenuEntry> CaptureMenu(const std::function<void()>& open, UINT choose = 0) {
    std::vector<MenuEntry> offered;
    wf::SetMenuChooser([&](HMENU menu) {
      offered = ReadMenu(menu);
      return choose;
    });
    open();
    wf::SetMenuChooser({});
    testing_support::PumpMessages();
    return offered;
  }
  std::vector<JorvCall> Calls(const std::wstring& function) {
    std::vector<JorvCall> found;
    for (JorvCall& call : JorvAutomation::TakeJournal())
      if (call.function == function) found.push_back(call);
    return found;
  }
  bool Visible(int id) { return ::IsWindowVisible(window->GetDlgItem(id)) != FALSE; }
  bool Enabled(int id) { return ::IsWindowEnabled(window->GetDlgItem(id)) != FALSE; }

  static inline HMODULE resources = nullptr;
  testing_support::TempFolder logs;
  HWND parent = nullptr;
  RecordingHost host;
  std::unique_ptr<CPimWnd> window;
};

}  // namespace pim_contacts_test
