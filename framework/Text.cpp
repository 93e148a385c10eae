#include "Text.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace wf {

std::wstring FormatTextV(const wchar_t* format, va_list args) {
  if (!format) return {};
  std::vector<wchar_t> buffer(256);
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    // The msvcrt form: "%s" in a wide format is a wide string, as on Windows.
    int n = _vsnwprintf(buffer.data(), buffer.size(), format, copy);
    va_end(copy);
    if (n >= 0 && static_cast<size_t>(n) < buffer.size()) return std::wstring(buffer.data(), static_cast<size_t>(n));
    if (buffer.size() >= (1u << 24)) return std::wstring(buffer.data(), buffer.size() - 1);
    buffer.resize(buffer.size() * 4);
  }
}

std::wstring FormatText(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring text = FormatTextV(format, args);
  va_end(args);
  return text;
}

std::string FormatTextVA(const char* format, va_list args) {
  if (!format) return {};
  std::vector<char> buffer(256);
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    int n = _vsnprintf(buffer.data(), buffer.size(), format, copy);
    va_end(copy);
    if (n >= 0 && static_cast<size_t>(n) < buffer.size()) return std::string(buffer.data(), static_cast<size_t>(n));
    if (buffer.size() >= (1u << 24)) return std::string(buffer.data(), buffer.size() - 1);
    buffer.resize(buffer.size() * 4);
  }
}

std::string FormatTextA(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatTextVA(format, args);
  va_end(args);
  return text;
}

std::string ToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring FromUtf8(std::string_view text) {
  if (text.empty()) return {};
  int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::wstring ToLower(std::wstring_view text) {
  std::wstring out(text);
  if (!out.empty()) ::CharLowerBuffW(out.data(), static_cast<DWORD>(out.size()));
  return out;
}

}  // namespace wf
