#include "ResourceTables.h"

#include <cwchar>

#include "framework/Text.h"

namespace tamixres {
namespace {

std::wstring Unescape(std::wstring_view field) {
  std::wstring out;
  out.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == L'\\' && i + 1 < field.size()) {
      wchar_t next = field[++i];
      out += next == L'n' ? L'\n' : next == L't' ? L'\t' : next;
    } else {
      out += field[i];
    }
  }
  return out;
}

std::wstring Where(const Row& row, const wchar_t* table, const wchar_t* what) {
  return wf::FormatText(L"%s table, line %d: %s", table, row.line, what);
}

bool ParseNumber(const std::wstring& text, double& value) {
  if (text.empty()) return false;
  wchar_t* end = nullptr;
  value = std::wcstod(text.c_str(), &end);
  return end && *end == L'\0';
}

}  // namespace

std::vector<Row> ParseTable(std::string_view utf8) {
  std::vector<Row> rows;
  if (utf8.size() >= 3 && utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
  std::wstring text = wf::FromUtf8(utf8);
  int lineNumber = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring_view line(text.data() + start, end - start);
    ++lineNumber;
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    if (!line.empty() && line.front() != L'#') {
      Row row;
      row.line = lineNumber;
      size_t from = 0;
      for (;;) {
        size_t tab = line.find(L'\t', from);
        row.fields.push_back(Unescape(line.substr(from, tab == std::wstring_view::npos ? line.npos : tab - from)));
        if (tab == std::wstring_view::npos) break;
        from = tab + 1;
      }
      rows.push_back(std::move(row));
    }
    start = end + 1;
  }
  return rows;
}

void LoadTexts(std::string_view utf8, Tables& tables) {
  for (const Row& row : ParseTable(utf8)) {
    if (row.fields.size() != 4 || row.fields[0].empty() || row.fields[1].empty()) {
      tables.problems.push_back(Where(row, L"text", L"expected key and three texts"));
      continue;
    }
    TextEntry entry;
    entry.byLanguage[2] = row.fields[1];
    // A missing translation falls back to English.
    entry.byLanguage[0] = row.fields[2].empty() ? row.fields[1] : row.fields[2];
    entry.byLanguage[1] = row.fields[3].empty() ? entry.byLanguage[0] : row.fields[3];
    tables.texts[row.fields[0]] = std::move(entry);
  }
}

void LoadColors(std::string_view utf8, Tables& tables) {
  for (const Row& row : ParseTable(utf8)) {
    const std::wstring* value = row.fields.size() == 2 ? &row.fields[1] : nullptr;
    if (!value || value->size() != 9 || (*value)[0] != L'#' ||
        value->find_first_not_of(L"0123456789abcdefABCDEF", 1) != std::wstring::npos) {
      tables.problems.push_back(Where(row, L"colour", L"expected key and #AARRGGBB"));
      continue;
    }
    tables.colors[row.fields[0]] = static_cast<uint32_t>(std::wcstoul(value->c_str() + 1, nullptr, 16));
  }
}

void LoadFonts(std::string_view utf8, Tables& tables) {
  for (const Row& row : ParseTable(utf8)) {
    double size = 0, style = 0;
    if (row.fields.size() != 4 || row.fields[1].empty() || !ParseNumber(row.fields[2], size) || size <= 0 ||
        !ParseNumber(row.fields[3], style) || style < 0 || style > 15) {
      tables.problems.push_back(Where(row, L"font", L"expected key, face, size in points and style 0-15"));
      continue;
    }
    tables.fonts[row.fields[0]] = FontEntry{row.fields[1], size, static_cast<int32_t>(style)};
  }
}

void LoadImages(std::string_view utf8, Tables& tables) {
  for (const Row& row : ParseTable(utf8)) {
    double width = 0, height = 0, frames = 0;
    if (row.fields.size() < 4 || !ParseNumber(row.fields[1], width) || !ParseNumber(row.fields[2], height) ||
        !ParseNumber(row.fields[3], frames) || width < 1 || height < 1 || frames < 1 || width > 4096 ||
        height > 4096) {
      tables.problems.push_back(Where(row, L"image", L"expected name, width, height and frames"));
      continue;
    }
    tables.images[row.fields[0]] = ImageEntry{static_cast<int>(width), static_cast<int>(height), static_cast<int>(frames)};
  }
}

int LanguageFromSetting(const std::wstring& setting) {
  if (setting == L"Chinese(Simplified)") return 0;
  if (setting == L"Chinese(Traditional)") return 1;
  return 2;
}

}  // namespace tamixres
