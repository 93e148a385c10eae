#include "Language.h"

#include <windows.h>

#include <string_view>

namespace {

constexpr wchar_t kSettingKey[] = L"Software\\Norvane\\Tamix";
constexpr wchar_t kSettingValue[] = L"LanguageId";
constexpr DWORD kMaxValueBytes = 256;

}  // namespace

int GetLanguageId() {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kSettingKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return kLanguageOther;
  wchar_t value[kMaxValueBytes / sizeof(wchar_t)] = {};
  DWORD type = REG_NONE;
  DWORD bytes = kMaxValueBytes;
  LSTATUS status = ::RegQueryValueExW(key, kSettingValue, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes);
  ::RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ) return kLanguageOther;

  // The stored bytes need not end in a terminator (nor be a whole number of
  // characters); the text is what comes before the first null.
  std::wstring_view text(value, bytes / sizeof(wchar_t));
  text = text.substr(0, text.find(L'\0'));
  if (text == L"Chinese(Simplified)") return kLanguageChineseSimplified;
  if (text == L"Chinese(Traditional)") return kLanguageChineseTraditional;
  if (text == L"English(United States)") return kLanguageEnglish;
  return kLanguageOther;
}
