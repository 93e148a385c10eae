// The host program with the plug-in, as a user (or `make demo`) starts it:
// a separate process, headless, checked from the outside.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "frame/AppInterface.h"
#include "frame/resmodule/PimResIds.h"

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

TEST(HostEndToEnd, ABadScriptIsRefusedBeforeAnythingStarts) {
  HostProcess host(L"--script \"dance\"");
  ASSERT_TRUE(host.started()) << "CreateProcess error " << host.error();
  EXPECT_EQ(host.WaitForExit(), 1);
}

}  // namespace
