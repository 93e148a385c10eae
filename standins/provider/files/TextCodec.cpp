#include "TextCodec.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

namespace files {

std::string ToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::wstring FromUtf8(std::string_view bytes) {
  if (bytes.empty()) return {};
  // Without MB_ERR_INVALID_CHARS the platform replaces bad sequences with U+FFFD.
  int size = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), size);
  return out;
}

namespace {

UINT CodePageOf(std::string_view charset) {
  std::string name(charset);
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
  name.erase(std::remove(name.begin(), name.end(), '"'), name.end());
  struct Entry {
    const char* name;
    UINT codePage;
  };
  static const Entry kEntries[] = {
      {"UTF-8", CP_UTF8},        {"UTF8", CP_UTF8},          {"GB2312", 936},      {"GBK", 936},
      {"CP936", 936},            {"GB18030", 54936},         {"BIG5", 950},        {"BIG-5", 950},
      {"SHIFT_JIS", 932},        {"SHIFT-JIS", 932},         {"SJIS", 932},        {"EUC-KR", 949},
      {"ISO-8859-1", 28591},     {"LATIN1", 28591},          {"ISO-8859-15", 28605}, {"WINDOWS-1252", 1252},
      {"CP1252", 1252},          {"US-ASCII", 20127},        {"ASCII", 20127},     {"ISO-8859-2", 28592},
      {"WINDOWS-1251", 1251},    {"KOI8-R", 20866},
  };
  for (const Entry& entry : kEntries)
    if (name == entry.name) return entry.codePage;
  return 0;
}

}  // namespace

bool Decode(std::string_view bytes, std::string_view charset, std::wstring& out) {
  UINT codePage = CodePageOf(charset);
  if (codePage == 0 || (codePage != CP_UTF8 && !::IsValidCodePage(codePage))) return false;
  out.clear();
  if (bytes.empty()) return true;
  int size = ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (size <= 0) return false;
  out.assign(static_cast<size_t>(size), L'\0');
  ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), size);
  return true;
}

namespace {

std::wstring LastError(const wchar_t* what, const std::wstring& path) {
  DWORD code = ::GetLastError();
  wchar_t* text = nullptr;
  ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring reason = text ? text : L"";
  if (text) ::LocalFree(text);
  while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
    reason.pop_back();
  return std::wstring(what) + L" " + path + L": " + (reason.empty() ? L"error " + std::to_wstring(code) : reason);
}

}  // namespace

bool ReadFileBytes(const std::wstring& path, std::string& bytes, std::wstring& error) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = LastError(L"cannot open", path);
    return false;
  }
  LARGE_INTEGER size{};
  bool ok = ::GetFileSizeEx(file, &size) != 0;
  // Files of these formats are documents, not archives: a gigabyte is a mistake.
  if (ok && size.QuadPart > (1LL << 30)) {
    ::CloseHandle(file);
    error = L"the file " + path + L" is too large";
    return false;
  }
  if (ok) {
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    ok = bytes.empty() || (::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                           read == bytes.size());
  }
  if (!ok) error = LastError(L"cannot read", path);
  ::CloseHandle(file);
  return ok;
}

namespace {

// Creates `target` with `bytes`, flushed when asked; errors name `path`, the
// file the caller means. A file that could not be written whole is deleted.
bool CreateWithBytes(const std::wstring& target, const std::wstring& path, std::string_view bytes, bool flush,
                     std::wstring& error) {
  HANDLE file = ::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = LastError(L"cannot create", path);
    return false;
  }
  DWORD written = 0;
  bool ok = bytes.empty() ||
            (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size());
  ok = ok && (!flush || ::FlushFileBuffers(file));
  if (!ok) error = LastError(L"cannot write", path);
  ::CloseHandle(file);
  if (!ok) ::DeleteFileW(target.c_str());
  return ok;
}

}  // namespace

bool WriteFileBytes(const std::wstring& path, std::string_view bytes, std::wstring& error) {
  std::wstring temporary = path + L".part";
  if (!CreateWithBytes(temporary, path, bytes, true, error)) return false;
  if (::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  error = LastError(L"cannot replace", path);
  ::DeleteFileW(temporary.c_str());
  return false;
}

bool WritePlainFile(const std::wstring& path, std::string_view bytes, std::wstring& error) {
  return CreateWithBytes(path, path, bytes, false, error);
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty()) return name;
  wchar_t last = folder.back();
  return (last == L'\\' || last == L'/') ? folder + name : folder + L"\\" + name;
}

}  // namespace files
