// The tables behind the resource library: tab-separated UTF-8 text, one row
// per key, '#' comments, escapes \n \t \\ inside fields.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tamixres {

struct Row {
  int line = 0;
  std::vector<std::wstring> fields;
};

// Splits a table into rows of fields; blank lines and comments are skipped.
std::vector<Row> ParseTable(std::string_view utf8);

struct TextEntry {
  std::wstring byLanguage[3];  // 0 zh-CN, 1 zh-TW, 2 en-US (as GetTextLanguage numbers them)
};
struct FontEntry {
  std::wstring face;
  double size = 9;
  int32_t style = 0;
};
struct ImageEntry {
  int width = 0;
  int height = 0;
  int frames = 1;
};

struct Tables {
  std::map<std::wstring, TextEntry> texts;
  std::map<std::wstring, uint32_t> colors;  // 0xAARRGGBB
  std::map<std::wstring, FontEntry> fonts;
  std::map<std::wstring, ImageEntry> images;
  std::vector<std::wstring> problems;  // rows that could not be read
};

// Each Load* adds one table's rows to `tables` and notes bad rows in problems.
void LoadTexts(std::string_view utf8, Tables& tables);
void LoadColors(std::string_view utf8, Tables& tables);
void LoadFonts(std::string_view utf8, Tables& tables);
void LoadImages(std::string_view utf8, Tables& tables);

// "English(United States)" and anything else → 2; "Chinese(Simplified)" → 0;
// "Chinese(Traditional)" → 1.
int LanguageFromSetting(const std::wstring& setting);

}  // namespace tamixres
