// The base library stand-in: log files and the export folder.

#include "standins/base/LogControl.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdarg>
#include <map>
#include <mutex>

#include "framework/Text.h"

namespace {

std::mutex g_mutex;  // guards everything below
std::wstring g_root;  // empty: the host's folder
std::map<std::wstring, HANDLE> g_files;

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  size_t slash = folder.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : folder.substr(0, slash);
}

bool IsFileTarget(const std::wstring& target) {
  return target.size() > 4 && _wcsicmp(target.c_str() + target.size() - 4, L".log") == 0;
}

void CreateFolders(const std::wstring& filePath) {
  for (size_t i = 0; (i = filePath.find_first_of(L"\\/", i + 1)) != std::wstring::npos;) {
    std::wstring folder = filePath.substr(0, i);
    if (folder.size() > 2) ::CreateDirectoryW(folder.c_str(), nullptr);  // skips "C:"
  }
}

// Called with g_mutex held.
HANDLE FileFor(const std::wstring& relative) {
  std::wstring root = g_root.empty() ? ProgramFolder() : g_root;
  std::wstring path = (relative.size() > 1 && relative[1] == L':') ? relative : root + L"\\" + relative;
  auto it = g_files.find(path);
  if (it != g_files.end()) return it->second;
  CreateFolders(path);
  HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return INVALID_HANDLE_VALUE;  // not cached: retried next time
  g_files.emplace(path, file);
  return file;
}

void CloseAll() {
  for (auto& entry : g_files) ::CloseHandle(entry.second);
  g_files.clear();
}

void Write(bool error, const std::wstring& target, const std::string& textUtf8) {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  std::string line = wf::FormatTextA("%04u-%02u-%02u %02u:%02u:%02u.%03u [%lx] ", t.wYear, t.wMonth, t.wDay,
                                     t.wHour, t.wMinute, t.wSecond, t.wMilliseconds, ::GetCurrentThreadId());
  std::wstring file;
  if (IsFileTarget(target)) {
    file = target;
  } else {
    file = error ? L"" PIM_ERROR_LOG : L"" PIM_INFO_LOG;
    line += "<" + wf::ToUtf8(target) + "> ";
  }
  line += textUtf8;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  line += "\r\n";
  std::lock_guard<std::mutex> lock(g_mutex);
  HANDLE handle = FileFor(file);
  if (handle == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void WriteA(bool error, const char* target, const char* format, va_list args) {
  std::string text = wf::FormatTextVA(format, args);
  // Narrow texts are the system code page's (ASCII in practice).
  std::wstring wide(text.size(), L'\0');
  int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                static_cast<int>(wide.size()));
  wide.resize(n > 0 ? static_cast<size_t>(n) : 0);
  std::wstring wideTarget;
  for (const char* p = target ? target : "?"; *p; ++p) wideTarget += static_cast<wchar_t>(static_cast<unsigned char>(*p));
  Write(error, wideTarget, wf::ToUtf8(wide));
}

void WriteW(bool error, const wchar_t* target, const wchar_t* format, va_list args) {
  Write(error, target ? target : L"?", wf::ToUtf8(wf::FormatTextV(format, args)));
}

}  // namespace

namespace LOG {

void I(const char* target, const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteA(false, target, format, args);
  va_end(args);
}
void I(const wchar_t* target, const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  WriteW(false, target, format, args);
  va_end(args);
}
void E(const char* target, const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteA(true, target, format, args);
  va_end(args);
}
void E(const wchar_t* target, const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  WriteW(true, target, format, args);
  va_end(args);
}

void SetLogRoot(const std::wstring& folder) {
  std::lock_guard<std::mutex> lock(g_mutex);
  CloseAll();
  g_root = folder;
}

std::wstring GetLogRoot() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_root.empty() ? ProgramFolder() : g_root;
}

}  // namespace LOG

namespace UniPath {

const std::wstring& GetExportPath() {
  static const std::wstring path = [] {
    // The demo and tests point it elsewhere, as a user's setting would.
    wchar_t chosen[MAX_PATH] = {};
    DWORD length = ::GetEnvironmentVariableW(L"TAMIX_EXPORT_PATH", chosen, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
      ::CreateDirectoryW(chosen, nullptr);
      return std::wstring(chosen);
    }
    wchar_t documents[MAX_PATH] = {};
    std::wstring folder;
    if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, 0, documents)))
      folder = std::wstring(documents) + L"\\Tamix";
    else
      folder = ProgramFolder() + L"\\Export";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
  }();
  return path;
}

}  // namespace UniPath

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  // At process exit (reserved != null) the handles close with the process.
  if (reason == DLL_PROCESS_DETACH && !reserved) CloseAll();
  return TRUE;
}
