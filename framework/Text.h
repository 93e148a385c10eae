// Text helpers shared by the product and the suite stand-ins.
#pragma once
#include <cstdarg>
#include <string>
#include <string_view>
#include <vector>

namespace wf {

// printf-style formatting with the platform's (Windows) conventions, which the
// resource texts are written for: in a wide format "%s" takes a wide string.
std::wstring FormatText(const wchar_t* format, ...);
std::wstring FormatTextV(const wchar_t* format, va_list args);
std::string FormatTextA(const char* format, ...);
std::string FormatTextVA(const char* format, va_list args);

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

// The lines of a text, without their line breaks ("\n" or "\r\n").
std::vector<std::wstring> SplitLines(std::wstring_view text);

// Lower-case for case-insensitive comparison of UI texts (all of Unicode's
// simple mappings that the platform knows).
std::wstring ToLower(std::wstring_view text);

}  // namespace wf
