#include "ShellWindow.h"

#include <commctrl.h>
#include "framework/GdiPlus.h"

#include <fstream>

#include "standins/base/LogControl.h"
#include "provider/ProviderAutomation.h"
#include "standins/connect/ConnectControl.h"
#include "standins/res/ResourceTools.h"
#include "framework/Gdi.h"
#include "framework/Screenshot.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/Text.h"

namespace shell {
namespace {

constexpr const wchar_t* kLanguageKey = L"Software\\Norvane\\Tamix";
constexpr const wchar_t* kLanguageSettings[3] = {L"Chinese(Simplified)", L"Chinese(Traditional)",
                                                 L"English(United States)"};

std::wstring Text(const wchar_t* key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

void Print(const std::wstring& line) {
  std::string utf8 = wf::ToUtf8(line + L"\n");
  DWORD written = 0;
  HANDLE out = ::GetStdHandle(STD_ERROR_HANDLE);
  if (out && out != INVALID_HANDLE_VALUE) ::WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

// A text on one line of a dump.
std::wstring Escaped(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    if (c == L'\n') out += L"\\n";
    else if (c == L'\r') out += L"\\r";
    else if (c == L'\t') out += L"\\t";
    else out += c;
  }
  return out;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool IsClass(HWND window, const wchar_t* name) {
  wchar_t className[64] = {};
  ::GetClassNameW(window, className, 64);
  return ::lstrcmpiW(className, name) == 0;
}

void DescribeTreeItems(HWND tree, HTREEITEM item, int depth, int level, std::wstring& out) {
  for (; item; item = TreeView_GetNextSibling(tree, item)) {
    wchar_t text[260] = {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = 260;
    ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    out += std::wstring(static_cast<size_t>(depth + level) * 2, L' ') + L"[item] " + Escaped(text) + L"\n";
    DescribeTreeItems(tree, TreeView_GetChild(tree, item), depth, level + 1, out);
  }
}

void DescribeListRows(HWND list, int depth, std::wstring& out) {
  const int items = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  int columns = header ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  if (columns < 1) columns = 1;
  const std::wstring indent(static_cast<size_t>(depth) * 2, L' ');
  out += indent + L"items=" + std::to_wstring(items) + L"\n";
  for (int item = 0; item < items && item < kListedRows; ++item) {
    out += indent + L"[row " + std::to_wstring(item) + L"]";
    for (int column = 0; column < columns; ++column) {
      wchar_t text[512] = {};
      LVITEMW lv{};
      lv.iSubItem = column;
      lv.pszText = text;
      lv.cchTextMax = 512;
      ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
      out += L"\t" + Escaped(text);
    }
    out += L"\n";
  }
}

void Describe(HWND window, int depth, std::wstring& out) {
  wchar_t className[128] = {};
  ::GetClassNameW(window, className, 128);
  RECT rc{};
  ::GetWindowRect(window, &rc);
  HWND parent = ::GetParent(window);
  if (parent && (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD))
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rc), 2);
  out += std::wstring(static_cast<size_t>(depth) * 2, L' ');
  out += wf::FormatText(L"%s \"%s\" id=0x%x %s (%ld,%ld,%ld,%ld)\n", className, Escaped(WindowText(window)).c_str(),
                        ::GetDlgCtrlID(window), ::IsWindowVisible(window) ? L"visible" : L"hidden", rc.left, rc.top,
                        rc.right, rc.bottom);
  if (IsClass(window, WC_TREEVIEWW)) DescribeTreeItems(window, TreeView_GetRoot(window), depth + 1, 0, out);
  if (IsClass(window, WC_LISTVIEWW)) DescribeListRows(window, depth + 1, out);
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    Describe(child, depth + 1, out);
}

struct OtherWindows {
  HWND except;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectOtherWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<OtherWindows*>(param);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process == ::GetCurrentProcessId() && window != search->except && ::IsWindowVisible(window))
    search->found.push_back(window);
  return TRUE;
}

}  // namespace

std::wstring DescribeWindowTree(HWND root) {
  std::wstring out;
  Describe(root, 0, out);
  return out;
}

std::wstring DescribeOtherWindows(HWND except) {
  OtherWindows search{except, {}};
  ::EnumWindows(&CollectOtherWindow, reinterpret_cast<LPARAM>(&search));
  std::wstring out;
  for (HWND window : search.found) Describe(window, 0, out);
  return out;
}

void DispatchHostMessage(HWND pluginWindow, MSG& msg) {
  if (pluginWindow && ::IsChild(pluginWindow, msg.hwnd) && ::IsDialogMessageW(pluginWindow, &msg)) return;
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
}

bool CShellWindow::Open(std::wstring& error) {
  if (!Create(nullptr, RECT{40, 30, 1000, 700}, TAMIX_SHELL_TITLE, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN)) {
    error = L"cannot create the host window";
    return false;
  }
  // Open at the plug-in's design size (959 x 528) between app bar and status bar.
  RECT status{};
  ::GetWindowRect(m_status, &status);
  RECT rc{0, 0, 959, kAppBarHeight + 528 + (status.bottom - status.top)};
  ::AdjustWindowRectEx(&rc, GetStyle(), TRUE, GetExStyle());
  SetWindowPos(nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!m_options.handsetFile.empty()) ProviderAutomation::UseHandsetFile(m_options.handsetFile);
  SetDeviceConnected(m_options.connected);
  UpdateStatus();
  if (!m_plugin.Load(m_options.pluginFolder, error) || !StartPlugin(error)) return false;
  ShowWindow(SW_SHOW);
  UpdateWindow();
  if (!m_options.script.empty()) SetTimer(kScriptTimer, 10);
  return true;
}

bool CShellWindow::StartPlugin(std::wstring& error) {
  if (!m_plugin.Start(m_hWnd, this, PluginArea(), error)) return false;
  Invalidate();  // the app bar shows the plug-in's button and name
  return true;
}

RECT CShellWindow::PluginArea() const {
  RECT rc = GetClientRect();
  RECT status{};
  if (m_status) ::GetWindowRect(m_status, &status);
  rc.top = kAppBarHeight;
  rc.bottom -= status.bottom - status.top;
  if (rc.bottom < rc.top) rc.bottom = rc.top;
  return rc;
}

RECT CShellWindow::AppButtonRect() const { return RECT{12, 8, 12 + 72, 8 + 72}; }

LRESULT CShellWindow::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  m_status = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBarId)), nullptr, nullptr);
  BuildMenu();
  return 0;
}

void CShellWindow::BuildMenu() {
  HMENU bar = ::CreateMenu();
  HMENU phone = ::CreatePopupMenu();
  ::AppendMenuW(phone, MF_STRING, kCmdConnect, Text(L"shell.menu.connect").c_str());
  ::AppendMenuW(phone, MF_STRING, kCmdDisconnect, Text(L"shell.menu.disconnect").c_str());
  ::AppendMenuW(phone, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(phone, MF_STRING, kCmdReceiveOne, Text(L"shell.menu.receive.one").c_str());
  ::AppendMenuW(phone, MF_STRING, kCmdReceiveSeveral, Text(L"shell.menu.receive.several").c_str());
  ::AppendMenuW(phone, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(phone, MF_STRING, kCmdExit, Text(L"shell.menu.exit").c_str());
  HMENU language = ::CreatePopupMenu();
  const wchar_t* names[3] = {L"shell.language.zhcn", L"shell.language.zhtw", L"shell.language.en"};
  for (int i = 0; i < 3; ++i) ::AppendMenuW(language, MF_STRING, kCmdLanguageFirst + i, Text(names[i]).c_str());
  ::CheckMenuRadioItem(language, kCmdLanguageFirst, kCmdLanguageLast, kCmdLanguageFirst + GetTextLanguage(),
                       MF_BYCOMMAND);
  HMENU help = ::CreatePopupMenu();
  ::AppendMenuW(help, MF_STRING, kCmdAbout, Text(L"shell.menu.about").c_str());
  ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(phone), Text(L"shell.menu.handset").c_str());
  ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(language), Text(L"shell.menu.language").c_str());
  ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), Text(L"shell.menu.help").c_str());
  HMENU old = ::GetMenu(m_hWnd);
  ::SetMenu(m_hWnd, bar);
  if (old) ::DestroyMenu(old);
}

void CShellWindow::UpdateStatus() {
  if (!m_status) return;
  RECT rc = GetClientRect();
  int parts[3] = {rc.right - 320 > 100 ? rc.right - 320 : 100, rc.right - 140 > 200 ? rc.right - 140 : 200, -1};
  ::SendMessageW(m_status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
  std::wstring task = m_runningTask.empty() ? Text(L"shell.status.ready") : m_runningTask;
  ::SendMessageW(m_status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(task.c_str()));
  std::wstring state = Text(IsDeviceConnected() ? L"shell.status.connected" : L"shell.status.disconnected");
  ::SendMessageW(m_status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(state.c_str()));
  const wchar_t* names[3] = {L"shell.language.zhcn", L"shell.language.zhtw", L"shell.language.en"};
  std::wstring language = Text(names[GetTextLanguage()]);
  ::SendMessageW(m_status, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(language.c_str()));
}

LRESULT CShellWindow::OnSize(UINT, WPARAM, LPARAM, BOOL&) {
  if (m_status) ::SendMessageW(m_status, WM_SIZE, 0, 0);
  UpdateStatus();
  m_plugin.Move(PluginArea());
  return 0;
}

void CShellWindow::DrawAppBar(HDC dc, const RECT& rc) const {
  RECT bar{rc.left, rc.top, rc.right, rc.top + kAppBarHeight};
  wf::ScopedBrush background(::CreateSolidBrush(RGB(0x1F, 0x4E, 0x86)));
  ::FillRect(dc, &bar, background);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
  wf::ScopedSelect font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  RECT product{bar.right - 200, bar.top, bar.right - 16, bar.bottom};
  ::DrawTextW(dc, TAMIX_SHELL_TITLE, -1, &product, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  IApplication* app = m_plugin.app();
  if (!app) return;
  Gdiplus::Image** images = app->GetMenuImages();
  // normal, hover, pressed (twice), disabled
  Gdiplus::Image* image = images ? images[m_pressed ? 2 : m_hover ? 1 : 0] : nullptr;
  RECT button = AppButtonRect();
  if (image) {
    Gdiplus::Graphics g(dc);
    g.DrawImage(image, static_cast<INT>(button.left), static_cast<INT>(button.top),
                static_cast<INT>(button.right - button.left), static_cast<INT>(button.bottom - button.top));
  }
  RECT label{button.right + 10, bar.top, button.right + 300, bar.bottom};
  ::DrawTextW(dc, app->GetAppName().c_str(), -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT CShellWindow::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  wf::PaintDC dc(m_hWnd);
  DrawAppBar(dc, GetClientRect());
  return 0;
}

LRESULT CShellWindow::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
  DrawAppBar(reinterpret_cast<HDC>(wParam), GetClientRect());
  return 0;
}

LRESULT CShellWindow::OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL&) {
  POINT pt = wf::PointFromLParam(lParam);
  RECT button = AppButtonRect();
  bool hover = ::PtInRect(&button, pt) != FALSE;
  if (hover != m_hover) {
    m_hover = hover;
    InvalidateRect(button, FALSE);
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
    if (hover) ::TrackMouseEvent(&track);
  }
  return 0;
}

LRESULT CShellWindow::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
  m_hover = m_pressed = false;
  InvalidateRect(AppButtonRect(), FALSE);
  return 0;
}

LRESULT CShellWindow::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&) {
  POINT pt = wf::PointFromLParam(lParam);
  RECT button = AppButtonRect();
  if (::PtInRect(&button, pt)) {
    m_pressed = true;
    InvalidateRect(button, FALSE);
  }
  return 0;
}

LRESULT CShellWindow::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&) {
  if (m_pressed) {
    m_pressed = false;
    InvalidateRect(AppButtonRect(), FALSE);
    if (IApplication* app = m_plugin.app()) ActivateApp(app->GetViewUri());
  }
  return 0;
}

void CShellWindow::ActivateApp(const std::wstring& viewUri) {
  IApplication* app = m_plugin.app();
  if (app && app->GetViewUri() == viewUri) app->ShowApp(SW_SHOW);
}

void CShellWindow::ShowTrayTip(int32_t, const std::wstring& text) {
  m_toast.Show(m_hWnd, TAMIX_SHELL_TITLE, text);
  LOG::I(L"TamixShell", L"tray tip: %s", text.c_str());
}

void CShellWindow::SetRunningTask(const std::wstring& text, bool running) {
  m_runningTask = running ? text : std::wstring();
  UpdateStatus();
}

void CShellWindow::SetConnected(bool connected) {
  SetDeviceConnected(connected);
  UpdateStatus();
}

void CShellWindow::SetLanguage(int language) {
  const std::wstring& value = kLanguageSettings[language];
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kLanguageKey, L"LanguageId", REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  // The plug-in reads its texts when its window is made: start it afresh.
  m_plugin.Stop();
  BuildMenu();
  UpdateStatus();
  std::wstring error;
  if (!StartPlugin(error)) Fail(L"restarting the plug-in: " + error);
}

LRESULT CShellWindow::OnConnect(WORD, WORD, HWND, BOOL&) {
  SetConnected(true);
  return 0;
}

LRESULT CShellWindow::OnDisconnect(WORD, WORD, HWND, BOOL&) {
  SetConnected(false);
  return 0;
}

LRESULT CShellWindow::OnReceive(WORD, WORD id, HWND, BOOL&) {
  // The simulated handset receives messages as a phone on the network would.
  ProviderAutomation::ReceiveMessages(id == kCmdReceiveOne ? 1 : 3);
  return 0;
}

LRESULT CShellWindow::OnLanguage(WORD, WORD id, HWND, BOOL&) {
  SetLanguage(id - kCmdLanguageFirst);
  return 0;
}

LRESULT CShellWindow::OnAbout(WORD, WORD, HWND, BOOL&) {
  std::wstring text = L"TamixShell\n\nDevelopment host of the suite, with a simulated handset.";
  ::MessageBoxW(m_hWnd, text.c_str(), TAMIX_SHELL_TITLE, MB_OK | MB_ICONINFORMATION);
  return 0;
}

LRESULT CShellWindow::OnExit(WORD, WORD, HWND, BOOL&) {
  PostMessage(WM_CLOSE);
  return 0;
}

LRESULT CShellWindow::OnClose(UINT, WPARAM, LPARAM, BOOL&) {
  m_plugin.Stop();  // Destroy, then DestroyAppInterface
  DestroyWindow();
  return 0;
}

LRESULT CShellWindow::OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
  m_plugin.Stop();
  ::PostQuitMessage(m_exitCode);
  return 0;
}

// --- automation -------------------------------------------------------------

void CShellWindow::Fail(const std::wstring& message) {
  Print(L"TamixShell: " + message);
  LOG::E(L"TamixShell", L"%s", message.c_str());
  m_exitCode = 2;
}

LRESULT CShellWindow::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
  if (wParam != kScriptTimer) {
    bHandled = FALSE;
    return 0;
  }
  KillTimer(kScriptTimer);
  RunNextStep();
  return 0;
}

void CShellWindow::RunNextStep() {
  while (m_nextStep < m_options.script.size()) {
    const ScriptStep& step = m_options.script[m_nextStep++];
    UINT delay = 0;
    if (!RunStep(step, delay)) {
      PostMessage(WM_CLOSE);
      return;
    }
    if (step.command == L"exit") return;
    // Let the program run between steps: messages posted by a step are handled first.
    SetTimer(kScriptTimer, delay > 0 ? delay : 50);
    return;
  }
}

bool CShellWindow::RunStep(const ScriptStep& step, UINT& delay) {
  long number = 0;
  if (step.command == L"wait") {
    ParseNumber(step.args[0], number);
    delay = static_cast<UINT>(number);
  } else if (step.command == L"shot") {
    std::wstring folder = m_options.screensFolder.empty() ? L"." : m_options.screensFolder;
    ::CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring path = folder + L"\\" + step.args[0] + L".png";
    if (!wf::SaveWindowAsPng(m_hWnd, path)) {
      Fail(L"cannot save " + path);
      return false;
    }
    Print(L"TamixShell: saved " + path);
  } else if (step.command == L"receive") {
    ParseNumber(step.args[0], number);
    ProviderAutomation::ReceiveMessages(static_cast<int>(number));
  } else if (step.command == L"connect" || step.command == L"disconnect") {
    SetConnected(step.command == L"connect");
  } else if (step.command == L"lang") {
    SetLanguage(step.args[0] == L"zhcn" ? 0 : step.args[0] == L"zhtw" ? 1 : 2);
  } else if (step.command == L"size") {
    long width = 0, height = 0;
    ParseNumber(step.args[0], width);
    ParseNumber(step.args[1], height);
    RECT rc{0, 0, width, height};
    ::AdjustWindowRectEx(&rc, GetStyle(), TRUE, GetExStyle());
    SetWindowPos(nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
  } else if (step.command == L"click" || step.command == L"tab") {
    ParseNumber(step.args[0], number);
    HWND plugin = m_plugin.window();
    if (step.command == L"click") {
      HWND button = plugin ? FindControl(plugin, static_cast<int>(number)) : nullptr;
      if (!button) {
        Fail(L"no control " + step.args[0] + L" in the plug-in window");
        return false;
      }
      // Posted, as a click arrives: a button that opens a modal dialog runs
      // it from the queue and the script goes on inside the dialog's loop.
      ::PostMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(number, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    } else {
      HWND tab = plugin ? ::FindWindowExW(plugin, nullptr, WC_TABCONTROLW, nullptr) : nullptr;
      if (!tab) {
        Fail(L"the plug-in window has no tab control");
        return false;
      }
      ::SendMessageW(tab, TCM_SETCURSEL, static_cast<WPARAM>(number), 0);
      NMHDR header{tab, static_cast<UINT_PTR>(::GetDlgCtrlID(tab)), static_cast<UINT>(TCN_SELCHANGE)};
      ::SendMessageW(plugin, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    }
  } else if (step.command == L"tree") {
    std::ofstream out(step.args[0].c_str(), std::ios::binary);
    out << wf::ToUtf8(DescribeWindowTree(m_hWnd) + L"== other windows of the process ==\n" +
                      DescribeOtherWindows(m_hWnd));
    if (!out) {
      Fail(L"cannot write " + step.args[0]);
      return false;
    }
  } else if (step.command == L"idle" || step.command == L"type" || step.command == L"row" ||
             step.command == L"node" || step.command == L"cell") {
    std::wstring problem;
    bool done = false;
    ParseNumber(step.args.empty() ? std::wstring() : step.args[0], number);
    if (step.command == L"idle") {
      done = WaitUntilIdle(problem);
    } else if (step.command == L"type") {
      done = TypeInto(static_cast<int>(number), step.args[1], problem);
    } else {
      long index = 0;
      ParseNumber(step.args[1], index);
      long column = -1;
      if (step.command == L"cell") ParseNumber(step.args[2], column);
      done = step.command == L"node" ? ClickNode(static_cast<int>(number), static_cast<int>(index), problem)
                                     : ClickRow(static_cast<int>(number), static_cast<int>(index), problem,
                                                static_cast<int>(column));
    }
    if (!done) {
      Fail(step.command + L": " + problem);
      return false;
    }
  } else if (step.command == L"key") {
    long key = 0;
    ParseNumber(step.args[0], number);
    ParseNumber(step.args[1], key);
    HWND plugin = m_plugin.window();
    HWND control = plugin ? LabelEditOr(FindControl(plugin, static_cast<int>(number))) : nullptr;
    if (!control) {
      Fail(L"no control " + step.args[0] + L" in the plug-in window");
      return false;
    }
    // Posted, as the keyboard's messages come, to the focused control.
    ::SetFocus(control);
    ::PostMessageW(control, WM_KEYDOWN, static_cast<WPARAM>(key), 1);
    ::PostMessageW(control, WM_KEYUP, static_cast<WPARAM>(key), static_cast<LPARAM>(0xC0000001));
  } else if (step.command == L"command") {
    ParseNumber(step.args[0], number);
    if (HWND plugin = m_plugin.window()) ::PostMessageW(plugin, WM_COMMAND, MAKEWPARAM(number, 0), 0);
  } else if (step.command == L"delay") {
    ParseNumber(step.args[0], number);
    ProviderAutomation::SetAnswerDelay(static_cast<unsigned>(number));
  } else if (step.command == L"menu") {
    HWND menu = OpenPopupMenu();
    if (!menu) {
      // Not open yet: the same step again a little later, for a while.
      if (++m_stepRetries > kStepRetryLimit) {
        Fail(L"menu: no popup menu is open");
        return false;
      }
      --m_nextStep;
      delay = 50;
      return true;
    }
    m_stepRetries = 0;
    ParseNumber(step.args[0], number);
    // The menu's own loop takes the keys: down to the item, then Enter.
    for (long i = 0; i <= number; ++i) ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 1);
    ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 1);
  } else if (step.command == L"until" || step.command == L"press" || step.command == L"fill" ||
             step.command == L"pick") {
    HWND dialog = FindTitled(step.args[0]);
    if (!dialog) {
      // Not shown yet: the same step again a little later, for a while.
      if (++m_stepRetries > kStepRetryLimit) {
        Fail(step.command + L": no window titled by " + step.args[0]);
        return false;
      }
      --m_nextStep;
      delay = 50;
      return true;
    }
    m_stepRetries = 0;
    long id = 0;
    if (step.args.size() > 1) ParseNumber(step.args[1], id);
    if (step.command == L"press") {
      ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(dialog, static_cast<int>(id))));
    } else if (step.command == L"fill") {
      HWND field = ::GetDlgItem(dialog, static_cast<int>(id));
      if (!field) {
        Fail(L"fill: no control " + step.args[1] + L" in the window titled by " + step.args[0]);
        return false;
      }
      ::SetWindowTextW(field, step.args[2].c_str());
    } else if (step.command == L"pick") {
      long row = 0;
      ParseNumber(step.args[2], row);
      std::wstring problem;
      if (!PickListRow(dialog, static_cast<int>(id), static_cast<int>(row), problem)) {
        Fail(L"pick in the window titled by " + step.args[0] + L": " + problem);
        return false;
      }
    }
  } else if (step.command == L"exit") {
    PostMessage(WM_CLOSE);
  }
  return true;
}

HWND CShellWindow::FindTitled(const std::wstring& titleKey) {
  std::wstring title;
  GetString(titleKey, title);
  struct Search {
    const std::wstring* title;
    HWND found;
  } search{&title, nullptr};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM param) -> BOOL {
        auto* search = reinterpret_cast<Search*>(param);
        wchar_t text[256] = {};
        ::GetWindowTextW(window, text, 256);
        if (::IsWindowVisible(window) && *search->title == text) {
          search->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool CShellWindow::WaitUntilIdle(std::wstring& problem) {
  // The library's answers reach the plug-in as messages sent from its thread
  // (delivered while WaitIdle waits) and lead to messages posted here, which
  // may ask the library again: settled only when a round of both finds
  // nothing to do.
  constexpr DWORD kLimit = 120000;
  const DWORD start = ::GetTickCount();
  for (;;) {
    ProviderAutomation::WaitIdle();
    int handled = 0;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the program's own loop
        problem = L"the host is closing";
        return false;
      }
      DispatchHostMessage(m_plugin.window(), msg);
      ++handled;
      if (::GetTickCount() - start > kLimit) break;
    }
    if (!m_hWnd) {
      problem = L"the host window is gone";
      return false;
    }
    if (handled == 0) return true;
    if (::GetTickCount() - start > kLimit) {
      problem = L"messages or answers kept coming for " + std::to_wstring(kLimit / 1000) + L" s";
      return false;
    }
  }
}

bool CShellWindow::TypeInto(int controlId, const std::wstring& text, std::wstring& problem) {
  HWND plugin = m_plugin.window();
  HWND edit = plugin ? LabelEditOr(FindControl(plugin, controlId)) : nullptr;
  if (!edit || !IsClass(edit, WC_EDITW)) {
    problem = L"no edit control " + std::to_wstring(controlId) + L" in the plug-in window";
    return false;
  }
  // What a user cannot type into, a script does not either.
  if (!::IsWindowVisible(edit) || !::IsWindowEnabled(edit)) {
    problem = L"the edit control " + std::to_wstring(controlId) + L" is hidden or disabled";
    return false;
  }
  // A single-line edit tells its parent EN_CHANGE when its text is set.
  ::SetWindowTextW(edit, text.c_str());
  if (WindowText(edit) != text) {
    problem = L"the edit control " + std::to_wstring(controlId) + L" did not take the text";
    return false;
  }
  return true;
}

// The popup menu shown by this thread, if one is open.
HWND CShellWindow::OpenPopupMenu() {
  HWND found = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM param) -> BOOL {
        if (IsClass(window, L"#32768") && ::IsWindowVisible(window)) {
          *reinterpret_cast<HWND*>(param) = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// A tree view whose item label is being edited has the keyboard in its
// label's edit box: that is where typing and keys go.
HWND CShellWindow::LabelEditOr(HWND control) {
  if (control && IsClass(control, WC_TREEVIEWW))
    if (auto edit = reinterpret_cast<HWND>(::SendMessageW(control, TVM_GETEDITCONTROL, 0, 0))) return edit;
  return control;
}

HWND CShellWindow::FindControl(HWND plugin, int controlId) {
  if (HWND direct = ::GetDlgItem(plugin, controlId)) return direct;
  // A control of a window the plug-in placed in its own (the conversation
  // window): the visible one first.
  struct Search {
    int id;
    HWND found;
  } search{controlId, nullptr};
  ::EnumChildWindows(
      plugin,
      [](HWND child, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (::GetDlgCtrlID(child) != s->id) return TRUE;
        if (!s->found || ::IsWindowVisible(child)) s->found = child;
        return !::IsWindowVisible(child);
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool CShellWindow::ClickNode(int controlId, int index, std::wstring& problem) {
  HWND plugin = m_plugin.window();
  HWND tree = plugin ? ::GetDlgItem(plugin, controlId) : nullptr;
  if (!tree || !IsClass(tree, WC_TREEVIEWW)) {
    problem = L"no tree view " + std::to_wstring(controlId) + L" in the plug-in window";
    return false;
  }
  if (!::IsWindowVisible(tree) || !::IsWindowEnabled(tree)) {
    problem = L"the tree view " + std::to_wstring(controlId) + L" is hidden or disabled";
    return false;
  }
  auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  for (int i = 0; item && i < index; ++i)
    item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(item)));
  if (!item) {
    problem = L"the tree view has no visible item " + std::to_wstring(index);
    return false;
  }
  ::SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  RECT rc{};
  if (!TreeView_GetItemRect(tree, item, &rc, TRUE)) {
    problem = L"item " + std::to_wstring(index) + L" is not on screen";
    return false;
  }
  // Posted, as the mouse's messages come.
  const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  ::PostMessageW(tree, WM_MOUSEMOVE, 0, at);
  ::PostMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(tree, WM_LBUTTONUP, 0, at);
  return true;
}

bool CShellWindow::ClickRow(int controlId, int item, std::wstring& problem, int column) {
  HWND plugin = m_plugin.window();
  HWND list = plugin ? ::GetDlgItem(plugin, controlId) : nullptr;
  if (!list || !IsClass(list, WC_LISTVIEWW)) {
    problem = L"no list view " + std::to_wstring(controlId) + L" in the plug-in window";
    return false;
  }
  if (!::IsWindowVisible(list) || !::IsWindowEnabled(list)) {
    problem = L"the list view " + std::to_wstring(controlId) + L" is hidden or disabled";
    return false;
  }
  const int items = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  if (item >= items) {
    problem = L"the list view has " + std::to_wstring(items) + L" items, no item " + std::to_wstring(item);
    return false;
  }
  // A user scrolls to the row first.
  ::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE);
  RECT rc{};
  rc.left = LVIR_BOUNDS;
  RECT client{};
  ::GetClientRect(list, &client);
  if (!::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rc)) ||
      !::IntersectRect(&rc, &rc, &client)) {
    problem = L"item " + std::to_wstring(item) + L" is not on screen";
    return false;
  }
  if (column >= 0) {
    // One cell: its column's part of the row.
    int left = rc.left;
    for (int c = 0; c < column; ++c) left += static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, c, 0));
    int width = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
    if (width <= 0) {
      problem = L"the list view has no column " + std::to_wstring(column);
      return false;
    }
    rc.left = left;
    rc.right = left + width;
  }
  // Posted, as the mouse's messages come: the list view handles the press and
  // the release from the queue and tells its parent NM_CLICK.
  const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  ::PostMessageW(list, WM_MOUSEMOVE, 0, at);
  ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(list, WM_LBUTTONUP, 0, at);
  return true;
}

}  // namespace shell
