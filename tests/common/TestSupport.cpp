#include "TestSupport.h"

#include <shellapi.h>

#include <fstream>
#include <sstream>

namespace testing_support {

void PumpMessages(DWORD maxMilliseconds) {
  DWORD start = ::GetTickCount();
  MSG msg;
  while (::GetTickCount() - start < maxMilliseconds) {
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) break;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
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
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
  return true;
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
