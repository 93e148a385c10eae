#include "IndexText.h"

#include <windows.h>

#include <mutex>
#include <shared_mutex>
#include <unordered_map>

#include "framework/Text.h"

namespace handset {
namespace {

std::shared_mutex g_mutex;
std::unordered_map<wchar_t, std::wstring> g_pinyin;

bool IsChinese(wchar_t c) { return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF); }

}  // namespace

size_t LoadPinyinTable(std::string_view utf8) {
  std::unordered_map<wchar_t, std::wstring> table;
  for (const std::wstring& line : wf::SplitLines(wf::FromUtf8(utf8))) {
    if (line.empty() || line[0] == L'#') continue;
    if (line.size() < 3 || line[1] != L'\t') continue;  // one character, a tab, a reading
    table[line[0]] = line.substr(2);
  }
  std::unique_lock<std::shared_mutex> lock(g_mutex);
  g_pinyin = std::move(table);
  return g_pinyin.size();
}

size_t PinyinTableSize() {
  std::shared_lock<std::shared_mutex> lock(g_mutex);
  return g_pinyin.size();
}

std::wstring PinyinOf(wchar_t character) {
  std::shared_lock<std::shared_mutex> lock(g_mutex);
  auto it = g_pinyin.find(character);
  return it == g_pinyin.end() ? std::wstring() : it->second;
}

std::wstring IndexTextOf(const std::wstring& name) {
  std::wstring index;
  std::shared_lock<std::shared_mutex> lock(g_mutex);
  for (wchar_t c : name) {
    if ((c >= L'a' && c <= L'z')) {
      index += static_cast<wchar_t>(c - L'a' + L'A');
    } else if ((c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9')) {
      index += c;
    } else if (IsChinese(c)) {
      auto it = g_pinyin.find(c);
      if (it == g_pinyin.end()) {
        index += c;
      } else {
        for (wchar_t p : it->second) index += (p >= L'a' && p <= L'z') ? static_cast<wchar_t>(p - L'a' + L'A') : p;
      }
    } else if (c >= 0xC0 && c < 0x250) {
      // Accented Latin letters file under their base letter's case-folded form.
      std::wstring upper(1, c);
      ::CharUpperBuffW(upper.data(), 1);
      index += upper;
    }
  }
  return index;
}

}  // namespace handset
