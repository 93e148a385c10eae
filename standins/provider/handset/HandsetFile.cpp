#include "HandsetFile.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "framework/Text.h"

namespace handset {
namespace {

constexpr char kMagic[8] = {'T', 'A', 'M', 'I', 'X', 'H', 'S', 'T'};
constexpr uint32_t kFormatVersion = 1;
constexpr size_t kHeaderSize = 8 + 4 + 8 + 4;

std::function<void()>& SaveHook() {
  static std::function<void()> hook;
  return hook;
}

std::wstring SystemError(DWORD code) {
  wchar_t* text = nullptr;
  ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  std::wstring message = wf::FormatText(L"error %lu", code);
  if (text) {
    message += L": ";
    message += text;
    ::LocalFree(text);
  }
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
    message.pop_back();
  return message;
}

bool ReadWholeFile(const std::wstring& path, std::vector<uint8_t>& bytes, DWORD& error) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = ::GetLastError();
    return false;
  }
  LARGE_INTEGER size{};
  bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart < (1LL << 31);
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    ok = bytes.empty() || (::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                           got == bytes.size());
  }
  error = ok ? 0 : ::GetLastError();
  ::CloseHandle(file);
  return ok;
}

std::wstring SetAside(const std::wstring& path) {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  std::wstring base = path + wf::FormatText(L".damaged-%04u%02u%02u-%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                                            t.wMinute, t.wSecond);
  std::wstring aside = base;
  for (int n = 2; ::GetFileAttributesW(aside.c_str()) != INVALID_FILE_ATTRIBUTES; ++n)
    aside = base + wf::FormatText(L"-%d", n);
  return ::MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH) ? aside : std::wstring();
}

}  // namespace

void SetSaveHook(std::function<void()> hook) { SaveHook() = std::move(hook); }

LoadResult LoadHandsetFile(const std::wstring& path, Store& store) {
  LoadResult result;
  std::wstring leftover = path + L".new";
  if (::GetFileAttributesW(leftover.c_str()) != INVALID_FILE_ATTRIBUTES) ::DeleteFileW(leftover.c_str());

  std::vector<uint8_t> bytes;
  DWORD error = 0;
  if (!ReadWholeFile(path, bytes, error)) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return result;  // kMissing
    result.kind = LoadResult::kDamaged;
    result.problem = L"cannot be read (" + SystemError(error) + L")";
    result.setAsidePath = SetAside(path);
    return result;
  }
  result.kind = LoadResult::kDamaged;
  if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, 8) != 0) {
    result.problem = L"is not a handset file";
  } else {
    ByteReader header(bytes.data() + 8, kHeaderSize - 8);
    uint32_t version = header.U32();
    uint64_t size = header.U64();
    uint32_t crc = header.U32();
    if (version != kFormatVersion) {
      result.problem = wf::FormatText(L"has format version %u, this handset reads %u", version, kFormatVersion);
    } else if (size != bytes.size() - kHeaderSize) {
      result.problem = L"is cut short or too long";
    } else if (Crc32(bytes.data() + kHeaderSize, bytes.size() - kHeaderSize) != crc) {
      result.problem = L"fails its checksum";
    } else {
      ByteReader payload(bytes.data() + kHeaderSize, bytes.size() - kHeaderSize);
      if (store.Deserialize(payload)) {
        result.kind = LoadResult::kLoaded;
        return result;
      }
      result.problem = L"holds records that cannot be read";
    }
  }
  result.setAsidePath = SetAside(path);
  return result;
}

bool SaveHandsetFile(const std::wstring& path, const Store& store, std::wstring& error) {
  ByteWriter payload;
  store.Serialize(payload);
  ByteWriter file;
  file.Bytes(kMagic, 8);
  file.U32(kFormatVersion);
  file.U64(payload.bytes().size());
  file.U32(Crc32(payload.bytes().data(), payload.bytes().size()));
  std::vector<uint8_t>& header = file.bytes();
  header.insert(header.end(), payload.bytes().begin(), payload.bytes().end());

  // The folder may not exist yet.
  for (size_t i = 0; (i = path.find_first_of(L"\\/", i + 1)) != std::wstring::npos;)
    if (i > 2) ::CreateDirectoryW(path.substr(0, i).c_str(), nullptr);

  std::wstring fresh = path + L".new";
  HANDLE out = ::CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) {
    error = L"cannot create " + fresh + L" (" + SystemError(::GetLastError()) + L")";
    return false;
  }
  DWORD written = 0;
  bool ok = ::WriteFile(out, header.data(), static_cast<DWORD>(header.size()), &written, nullptr) &&
            written == header.size() && ::FlushFileBuffers(out);
  DWORD code = ok ? 0 : ::GetLastError();
  ::CloseHandle(out);
  if (!ok) {
    ::DeleteFileW(fresh.c_str());
    error = L"cannot write " + fresh + L" (" + SystemError(code) + L")";
    return false;
  }
  if (SaveHook()) SaveHook()();
  if (!::MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = L"cannot replace " + path + L" (" + SystemError(::GetLastError()) + L")";
    ::DeleteFileW(fresh.c_str());
    return false;
  }
  return true;
}

}  // namespace handset
