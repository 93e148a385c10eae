#include "TestSupport.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <vector>

namespace testing_support {

void PumpMessages(DWORD maxMilliseconds) {
  DWORD start = ::GetTickCount();
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    if (::GetTickCount() - start >= maxMilliseconds) {
      ADD_FAILURE() << "messages kept coming for " << maxMilliseconds << " ms";
      return;
    }
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD maxMilliseconds) {
  DWORD start = ::GetTickCount();
  MSG msg;
  while (!done()) {
    if (::GetTickCount() - start >= maxMilliseconds) return done();
    if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    } else {
      // Woken by the next message; the timeout only re-checks state that
      // changes without one (a flag set by another thread).
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
  return true;
}

namespace {
std::string Narrow(const std::wstring& text) {
  int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// The answerers alive on this thread, by timer.
thread_local std::map<UINT_PTR, AnswerWhenShown*> t_answerers;

struct WindowSearch {
  const wchar_t* text;       // window text, or null for any
  const wchar_t* className;  // or null for any
  std::vector<HWND> found;
};

BOOL CALLBACK CollectMatching(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  wchar_t text[256] = {};
  if (search->text && (::GetWindowTextW(window, text, 256), wcscmp(text, search->text) != 0)) return TRUE;
  if (search->className && (::GetClassNameW(window, text, 256), wcscmp(text, search->className) != 0)) return TRUE;
  search->found.push_back(window);
  return TRUE;
}

// The top-level windows of this thread with that text and class.
std::vector<HWND> ThreadWindows(const wchar_t* text, const wchar_t* className) {
  WindowSearch search{text, className, {}};
  ::EnumThreadWindows(::GetCurrentThreadId(), &CollectMatching, reinterpret_cast<LPARAM>(&search));
  return search.found;
}
}  // namespace

AnswerWhenShown::AnswerWhenShown(std::wstring caption, std::function<void(HWND)> act, DWORD maxMilliseconds)
    : m_caption(std::move(caption)), m_act(std::move(act)), m_start(::GetTickCount()), m_limit(maxMilliseconds) {
  m_timer = ::SetTimer(nullptr, 0, 10, &AnswerWhenShown::OnTimer);
  if (m_timer) t_answerers[m_timer] = this;
  else ADD_FAILURE() << "no timer to answer \"" << Narrow(m_caption) << "\"";
}

AnswerWhenShown::~AnswerWhenShown() {
  if (!m_timer) return;
  ::KillTimer(nullptr, m_timer);
  t_answerers.erase(m_timer);
}

void CALLBACK AnswerWhenShown::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = t_answerers.find(id);
  if (it != t_answerers.end()) it->second->Poll();
}

void AnswerWhenShown::Poll() {
  if (m_done) return;
  for (HWND window : ThreadWindows(m_caption.c_str(), nullptr)) {
    if (!::IsWindowVisible(window)) continue;
    m_done = m_acted = true;
    ::KillTimer(nullptr, m_timer);
    m_act(window);
    return;
  }
  if (::GetTickCount() - m_start < m_limit) return;
  m_done = true;
  ::KillTimer(nullptr, m_timer);
  ADD_FAILURE() << "no window titled \"" << Narrow(m_caption) << "\" was shown within " << m_limit << " ms";
  // Whatever dialog this thread shows instead (another title, never shown)
  // is cancelled, so that the call under test returns and the test goes on
  // to report.
  for (HWND window : ThreadWindows(nullptr, L"#32770")) PressButton(window, IDCANCEL);
}

void PressButton(HWND dialog, int id) {
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

HWND CreateTestParent(int width, int height, const wchar_t* title) {
  static ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"PimTestParent";
    return ::RegisterClassExW(&wc);
  }();
  return ::CreateWindowExW(0, MAKEINTATOM(atom), title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                           width, height, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  ::GetTempPathW(MAX_PATH, base);
  static LONG counter = 0;
  for (;;) {
    wchar_t name[MAX_PATH];
    wsprintfW(name, L"%spimtest_%lu_%lu_%ld", base, ::GetCurrentProcessId(), ::GetTickCount(),
              ::InterlockedIncrement(&counter));
    if (::CreateDirectoryW(name, nullptr)) {
      m_path = name;
      return;
    }
  }
}

TempFolder::~TempFolder() {
  std::wstring from = m_path + L'\0';  // double-terminated list
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  ::SHFileOperationW(&op);
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace testing_support
