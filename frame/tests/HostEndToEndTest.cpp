// The host program with the plug-in, as a user (or `make demo`) starts it:
// a separate process, headless, checked from the outside.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "contact/ContactData.h"
#include "content/ContentUri.h"
#include "content/DataProvider.h"
#include "frame/AppInterface.h"
#include "frame/resmodule/PimResIds.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/Text.h"
#include "provider/ProviderAutomation.h"
#include "standins/connect/ConnectControl.h"

namespace {

using testing_support::ProgramFolder;
using testing_support::ReadFile;
using testing_support::TempFolder;

class HostProcess {
 public:
  explicit HostProcess(const std::wstring& arguments) {
    std::wstring command = L"\"" + ProgramFolder() + L"\\TamixShell.exe\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    m_started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_info);
    m_error = m_started ? 0 : ::GetLastError();
  }
  ~HostProcess() {
    if (!m_started) return;
    if (::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(m_info.hProcess, 99);
    ::CloseHandle(m_info.hProcess);
    ::CloseHandle(m_info.hThread);
  }
  bool started() const { return m_started; }
  DWORD error() const { return m_error; }

  // The host's top-level window, once it is shown: the host lays out the
  // plug-in inside it before it shows it. Another process: polled.
  HWND WaitForWindow(DWORD timeoutMs = 60000) {
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs) {
      for (HWND w = ::FindWindowW(nullptr, TAMIX_SHELL_TITLE); w; w = ::FindWindowExW(nullptr, w, nullptr, TAMIX_SHELL_TITLE)) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(w, &pid);
        if (pid == m_info.dwProcessId && ::IsWindowVisible(w)) return w;
      }
      if (::WaitForSingleObject(m_info.hProcess, 20) == WAIT_OBJECT_0) return nullptr;  // it ended instead
    }
    return nullptr;
  }

  // Waits for the process to end; answers its exit code or -1 on timeout.
  long WaitForExit(DWORD timeoutMs = 60000) {
    if (::WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    ::GetExitCodeProcess(m_info.hProcess, &code);
    return static_cast<long>(code);
  }

 private:
  PROCESS_INFORMATION m_info{};
  bool m_started = false;
  DWORD m_error = 0;
};

HWND FindPluginWindow(HWND shell) {
  for (HWND child = ::GetWindow(shell, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[32] = {}, text[32] = {};
    ::GetClassNameW(child, cls, 32);
    ::GetWindowTextW(child, text, 32);
    if (wcscmp(cls, L"#32770") == 0 && wcscmp(text, L"pim") == 0) return child;
  }
  return nullptr;
}

TEST(HostEndToEnd, ThePluginWindowLivesInsideTheShellAndTheShellClosesCleanly) {
  TempFolder folder;
  HostProcess host(L"--handset \"" + folder.File(L"handset.dat") + L"\"");
  ASSERT_TRUE(host.started()) << "CreateProcess error " << host.error();
  HWND shell = host.WaitForWindow();
  ASSERT_NE(shell, nullptr) << "no visible TamixShell window";
  HWND plugin = FindPluginWindow(shell);
  ASSERT_NE(plugin, nullptr) << "no plug-in window among the shell's children";
  EXPECT_TRUE(::IsWindowVisible(plugin)) << "the host shows the plug-in";
  EXPECT_EQ(::GetParent(plugin), shell);
  // Every control of the main window's template is there.
  const int ids[] = {IDC_CONTACT_GROUP_TREE, IDC_CONTACT_LIST, IDC_MODULE_TAB, IDC_SMS_FOLDER_TREE,
                     IDC_SMS_CHAT_TREE, IDC_CONTACT_NEW, IDC_CONTACT_DELETESOME, IDC_CONTACT_REFRESH,
                     IDC_CONTACT_IMPORT, IDC_CONTACT_EXPORT, IDC_CONTACT_SEARCH, IDC_SMS_LIST, IDC_CALENDAR_LIST,
                     IDC_MULTIDELETE_OK, IDC_MULTIDELETE_CANCEL, IDC_CALENDAR_VIEW_LIST, IDC_CALENDAR_VIEW_DAY,
                     IDC_CALENDAR_VIEW_WEEK, IDC_CALENDAR_VIEW_MONTH, IDC_CALENDAR_VIEW_AREA, IDC_SMS_MODE_LIST,
                     IDC_SMS_MODE_CHAT, IDC_BUSY_CONTACT, IDC_BUSY_SMS, IDC_BUSY_CALENDAR, IDC_SMS_NEW,
                     IDC_SMS_DELETESOME, IDC_SMS_IMPORT, IDC_SMS_EXPORT, IDC_SMS_REFRESH, IDC_CALENDAR_NEW,
                     IDC_CALENDAR_DELETESOME, IDC_CALENDAR_REFRESH, IDC_CALENDAR_SEARCH, IDC_SMS_SEARCH,
                     IDC_SIDE_FOOTER};
  for (int id : ids) EXPECT_NE(::GetDlgItem(plugin, id), nullptr) << "control 0x" << std::hex << id;
  // The plug-in fills the shell's client area below its app bar.
  RECT shellClient, pluginRect;
  ::GetClientRect(shell, &shellClient);
  ::GetWindowRect(plugin, &pluginRect);
  ::MapWindowPoints(HWND_DESKTOP, shell, reinterpret_cast<POINT*>(&pluginRect), 2);
  EXPECT_EQ(pluginRect.left, 0);
  EXPECT_EQ(pluginRect.right, shellClient.right);
  EXPECT_GT(pluginRect.top, 0);
  EXPECT_LT(pluginRect.bottom, shellClient.bottom) << "the status bar stays visible";
  EXPECT_EQ(pluginRect.bottom - pluginRect.top, 528) << "the host opens at the plug-in's design size";
  EXPECT_EQ(pluginRect.right - pluginRect.left, 959);

  ::PostMessageW(shell, WM_CLOSE, 0, 0);
  EXPECT_EQ(host.WaitForExit(), 0);
}

TEST(HostEndToEnd, AScriptTakesScreenshotsWritesTheTreeAndExits) {
  TempFolder folder;
  std::wstring tree = folder.File(L"tree.txt");
  HostProcess host(L"--handset \"" + folder.File(L"handset.dat") + L"\" --screens \"" + folder.path() +
                   L"\" --script \"wait 200; tree " + tree + L"; shot main; receive 2; disconnect; connect; exit\"");
  ASSERT_TRUE(host.started()) << "CreateProcess error " << host.error();
  EXPECT_EQ(host.WaitForExit(), 0);
  std::string png = ReadFile(folder.File(L"main.png"));
  ASSERT_GT(png.size(), 1000u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  std::string text = ReadFile(tree);
  EXPECT_NE(text.find("\"TamixShell\""), std::string::npos);
  EXPECT_NE(text.find("#32770 \"pim\""), std::string::npos);
  EXPECT_NE(text.find("SysListView32"), std::string::npos);
}

// What a "tree" step wrote about the contacts module: the tree's items, the
// list's rows and the texts of the process's other windows.
struct Dump {
  struct Item {
    int level;
    std::string text;
  };
  std::vector<Item> treeItems;
  long listItems = -1;
  std::vector<std::vector<std::string>> rows;  // every column's text, first column first
  std::vector<std::string> otherWindowTexts;   // windows and their children

  static size_t Indent(const std::string& line) { return line.find_first_not_of(' '); }
  // The text between the quotes of a window line: Class "text" id=...
  static std::string WindowText(const std::string& line) {
    size_t open = line.find('"'), close = line.rfind("\" id=");
    return open == std::string::npos || close == std::string::npos || close <= open
               ? std::string()
               : line.substr(open + 1, close - open - 1);
  }

  explicit Dump(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    bool others = false;
    for (size_t i = 0; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      if (line == "== other windows of the process ==") {
        others = true;
        continue;
      }
      if (others) {
        if (line.find(" id=0x") != std::string::npos) otherWindowTexts.push_back(WindowText(line));
        continue;
      }
      const size_t depth = Indent(line);
      if (line.compare(depth, 14, "SysTreeView32 ") == 0 && line.find(" id=0x481 ") != std::string::npos) {
        for (size_t j = i + 1; j < lines.size(); ++j) {
          const size_t indent = Indent(lines[j]);
          if (lines[j].compare(indent, 7, "[item] ") != 0) break;
          treeItems.push_back({static_cast<int>((indent - depth) / 2) - 1, lines[j].substr(indent + 7)});
        }
      }
      if (line.compare(depth, 14, "SysListView32 ") == 0 && line.find(" id=0x488 ") != std::string::npos) {
        size_t j = i + 1;
        if (j < lines.size() && lines[j].compare(Indent(lines[j]), 6, "items=") == 0) {
          listItems = std::stol(lines[j].substr(Indent(lines[j]) + 6));
          ++j;
        }
        for (; j < lines.size() && lines[j].compare(Indent(lines[j]), 5, "[row ") == 0; ++j) {
          std::vector<std::string> cells;
          std::istringstream fields(lines[j].substr(Indent(lines[j])));
          std::string cell;
          std::getline(fields, cell, '\t');  // "[row n]"
          while (std::getline(fields, cell, '\t')) cells.push_back(cell);
          rows.push_back(cells);
        }
      }
    }
  }

  // A letter header row fills its first column only.
  static bool IsHeader(const std::vector<std::string>& row) {
    for (size_t column = 1; column < row.size(); ++column)
      if (!row[column].empty()) return false;
    return true;
  }
  bool ShowsWindowTitled(const std::string& text) const {
    for (const std::string& shown : otherWindowTexts)
      if (shown == text) return true;
    return false;
  }
};

// Copies the names of the contacts a query answers, as a module would.
struct NameReader : CDataProviderCallback {
  std::vector<std::wstring> names;
  bool OnReturnContent(const std::wstring&, uint32_t status, const ContentList& records) override {
    if (status == 0)
      for (const CContent* record : records)
        if (auto* contact = dynamic_cast<const Contact::CContactData*>(record))
          names.push_back(contact->m_name[Contact::kDisplayName]);
    return true;
  }
};

std::wstring Text(const wchar_t* key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

// A surname that a few contacts (all of them filed under it, so under one
// letter) carry: searching for it lists them and nobody else.
std::wstring PickSurname(const std::vector<std::wstring>& names, size_t& matches) {
  std::map<std::wstring, std::vector<std::wstring>> bySurname;
  for (const std::wstring& name : names)
    if (!name.empty() && name[0] >= 0x4e00 && name[0] <= 0x9fff) bySurname[name.substr(0, 1)];
  std::wstring best;
  matches = 0;
  for (auto& [surname, holders] : bySurname) {
    bool oneSection = true;
    for (const std::wstring& name : names)
      if (name.find(surname) != std::wstring::npos) {
        holders.push_back(name);
        oneSection = oneSection && name.compare(0, 1, surname) == 0;
      }
    if (oneSection && holders.size() >= 3 && holders.size() < 40 && (best.empty() || holders.size() < matches)) {
      best = surname;
      matches = holders.size();
    }
  }
  return best;
}

TEST(HostEndToEnd, TheContactsOfTheHandsetAreCountedListedSearchedAndShownOnTheCard) {
  TempFolder folder;
  const std::wstring file = folder.File(L"handset.dat");
  // The handset: made and saved here, read by the host process.
  SetDeviceConnected(true);
  ProviderAutomation::UseHandsetFile(file);
  ProviderAutomation::Sample sample;
  sample.contacts = 2000;
  ProviderAutomation::ResetHandset(sample);
  const ProviderAutomation::Counts counts = ProviderAutomation::GetCounts();
  NameReader reader;
  IDataProvider* provider = CreateDataProvider(&reader);
  ASSERT_NE(provider, nullptr);
  provider->QueryAll(ContentUri::kContact);
  ProviderAutomation::WaitIdle();
  DestroyDataProvider(provider);
  ProviderAutomation::UseHandsetFile(L"");
  ASSERT_EQ(reader.names.size(), 2000u);
  size_t matches = 0;
  const std::wstring keyword = PickSurname(reader.names, matches);
  ASSERT_FALSE(keyword.empty()) << "no surname held by a few contacts";
  const std::string keyword8 = wf::ToUtf8(keyword);

  // Clicks the last contact found: the card shows the first one after the search.
  const std::wstring a = folder.File(L"a.txt"), b = folder.File(L"b.txt"), c = folder.File(L"c.txt");
  const std::wstring script = L"idle; tree " + a + L"; type 0x4cf " + keyword + L"; idle; tree " + b +
                              L"; row 0x488 " + std::to_wstring(matches) + L"; idle; tree " + c + L"; exit";
  HostProcess host(L"--handset \"" + file + L"\" --script \"" + script + L"\"");
  ASSERT_TRUE(host.started()) << "CreateProcess error " << host.error();
  ASSERT_EQ(host.WaitForExit(180000), 0) << "the script ran to its end";

  // After the refresh: every node counted, every contact listed.
  const Dump first(ReadFile(a));
  ASSERT_GE(first.treeItems.size(), 4u);
  const size_t total = counts.phoneContacts + counts.cardOneContacts + counts.cardTwoContacts;
  EXPECT_GT(counts.cardOneContacts + counts.cardTwoContacts, 0u) << "the sample fills the SIM cards too";
  EXPECT_EQ(first.treeItems[0].level, 0);
  EXPECT_EQ(first.treeItems[0].text, wf::ToUtf8(Text(L"common.total")) + "(" + std::to_string(total) + ")");
  auto nodeShown = [&](const std::string& suffix) {
    for (const Dump::Item& item : first.treeItems)
      if (item.level == 1 && item.text.size() >= suffix.size() &&
          item.text.compare(item.text.size() - suffix.size(), suffix.size(), suffix) == 0)
        return true;
    return false;
  };
  EXPECT_TRUE(nodeShown(wf::ToUtf8(Text(L"pim.telephone")) + "(2000)"));
  EXPECT_TRUE(nodeShown("(" + std::to_string(counts.cardOneContacts) + ")")) << "card one's node";
  EXPECT_TRUE(nodeShown("(" + std::to_string(counts.cardTwoContacts) + ")")) << "card two's node";
  EXPECT_GE(first.listItems, 2000) << "every phone contact is listed";
  EXPECT_LE(first.listItems, 2000 + 27) << "besides at most one header row a letter";
  EXPECT_EQ(first.rows.size(), 50u) << "the dump lists the first rows";

  // After the search: only the contacts that carry the name, under their letter.
  const Dump second(ReadFile(b));
  EXPECT_LT(second.listItems, first.listItems);
  ASSERT_EQ(second.listItems, static_cast<long>(matches) + 1);
  ASSERT_EQ(second.rows.size(), matches + 1);
  EXPECT_TRUE(Dump::IsHeader(second.rows[0]));
  for (size_t row = 1; row < second.rows.size(); ++row) {
    ASSERT_GE(second.rows[row].size(), 2u);
    EXPECT_FALSE(Dump::IsHeader(second.rows[row])) << "row " << row;
    EXPECT_NE(second.rows[row][1].find(keyword8), std::string::npos)
        << "row " << row << " \"" << second.rows[row][1] << "\" does not hold \"" << keyword8 << "\"";
  }
  const std::string firstFound = second.rows[1][1], lastFound = second.rows[matches][1];
  EXPECT_TRUE(second.ShowsWindowTitled(firstFound)) << "the card follows the search to the first contact found";

  // After the click on the last one: the card shows it.
  ASSERT_NE(firstFound, lastFound) << "two contacts of the same name: the click would not show";
  const Dump third(ReadFile(c));
  EXPECT_EQ(third.listItems, second.listItems);
  EXPECT_TRUE(third.ShowsWindowTitled(lastFound)) << "the card of the clicked contact";
  EXPECT_FALSE(third.ShowsWindowTitled(firstFound));
}

TEST(HostEndToEnd, AStepThatCannotBeCarriedOutEndsTheHostWithCodeTwo) {
  TempFolder folder;  // a handset without contacts: the list has no row to click
  HostProcess host(L"--handset \"" + folder.File(L"handset.dat") + L"\" --script \"idle; row 0x488 3; exit\"");
  ASSERT_TRUE(host.started()) << "CreateProcess error " << host.error();
  EXPECT_EQ(host.WaitForExit(), 2);
}

TEST(HostEndToEnd, ABadScriptIsRefusedBeforeAnythingStarts) {
  HostProcess host(L"--script \"dance\"");
  ASSERT_TRUE(host.started()) << "CreateProcess error " << host.error();
  EXPECT_EQ(host.WaitForExit(), 1);
}

}  // namespace
