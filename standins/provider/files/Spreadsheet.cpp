#include "Spreadsheet.h"
#include "XmlLiteInput.h"

#include <windows.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "TextCodec.h"
#include "Zip.h"

namespace files {

// Shared with the .xls code in Xls.cpp.
namespace workbook {

// The text a spreadsheet program shows for a number in the General format:
// whole numbers in full (a phone number saved as a number stays 13800138000),
// others with up to 15 significant digits, exponents as "1E+20".
std::wstring NumberText(double value) {
  if (!std::isfinite(value)) return L"#NUM!";
  if (value == 0) return L"0";
  char buffer[64];
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    std::snprintf(buffer, sizeof buffer, "%.0f", value);
    return std::wstring(buffer, buffer + std::strlen(buffer));
  }
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  std::string text(buffer);
  size_t e = text.find_first_of("eE");
  if (e != std::string::npos) {
    int exponent = std::atoi(text.c_str() + e + 1);
    char tail[16];
    std::snprintf(tail, sizeof tail, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    text = text.substr(0, e) + tail;
  }
  return std::wstring(text.begin(), text.end());
}

// A tab name both formats accept: 1 to 31 characters, none of []:*?/\ .
std::wstring TabName(const std::wstring& name) {
  std::wstring tab;
  for (wchar_t c : name) tab.push_back(wcschr(L"[]:*?/\\", c) || c < 0x20 ? L'_' : c);
  while (!tab.empty() && tab.front() == L'\'') tab.erase(tab.begin());
  if (tab.size() > 31) tab.resize(IS_HIGH_SURROGATE(tab[30]) ? 30 : 31);
  while (!tab.empty() && tab.back() == L'\'') tab.pop_back();
  return tab.empty() ? L"Sheet1" : tab;
}

// Spreadsheet programs hold at most 32,767 characters in a cell.
std::wstring_view CellText(std::wstring_view text) {
  constexpr size_t kMaxCell = 32767;
  if (text.size() <= kMaxCell) return text;
  return text.substr(0, IS_HIGH_SURROGATE(text[kMaxCell - 1]) ? kMaxCell - 1 : kMaxCell);
}

}  // namespace workbook

WorkbookKind KindOfWorkbook(std::string_view bytes) {
  if (bytes.substr(0, 4) == std::string_view("PK\x03\x04", 4)) return WorkbookKind::Xlsx;
  if (bytes.substr(0, 8) == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) return WorkbookKind::Xls;
  return WorkbookKind::Unknown;
}

bool ReadWorkbook(std::string_view bytes, Sheet& sheet, std::wstring& error) {
  switch (KindOfWorkbook(bytes)) {
    case WorkbookKind::Xlsx: return ReadXlsx(bytes, sheet, error);
    case WorkbookKind::Xls: return ReadXls(bytes, sheet, error);
    case WorkbookKind::Unknown: break;
  }
  error = bytes.empty() ? L"the workbook file is empty"
                        : L"the file is not a workbook: it is neither an .xlsx (zip) nor an .xls (compound file) document";
  return false;
}

namespace {

using workbook::CellText;
using workbook::NumberText;
using workbook::TabName;

constexpr int kXlsxRows = 1048576;
constexpr int kXlsxColumns = 16384;

// ---- writing ----

std::string ColumnName(int column) {  // 0 -> "A", 26 -> "AA"
  std::string name;
  for (int n = column + 1; n > 0; n = (n - 1) / 26) name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
  return name;
}

bool IsEscapeLike(std::wstring_view text, size_t at) {  // "_x0041_"
  if (at + 7 > text.size() || text[at + 1] != L'x' || text[at + 6] != L'_') return false;
  for (size_t i = at + 2; i < at + 6; ++i)
    if (!iswxdigit(text[i])) return false;
  return true;
}

// Cell text as XML: markup escaped; characters XML 1.0 cannot carry (and CR,
// which parsers turn into LF) as _xHHHH_ the way spreadsheet programs write
// them; an underscore that would read as such an escape is escaped itself.
std::string EscapeText(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size() + 16);
  for (size_t i = 0; i < text.size(); ++i) {
    wchar_t c = text[i];
    wchar_t hex[8];
    if (c == L'&') out += L"&amp;";
    else if (c == L'<') out += L"&lt;";
    else if (c == L'>') out += L"&gt;";
    else if (c == L'"') out += L"&quot;";
    else if (c == L'_' && IsEscapeLike(text, i)) out += L"_x005F_";
    else if ((c < 0x20 && c != L'\t' && c != L'\n') || c == 0xFFFE || c == 0xFFFF) {
      std::swprintf(hex, 8, L"_x%04X_", static_cast<unsigned>(c));
      out += hex;
    } else if (IS_HIGH_SURROGATE(c) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1])) {
      out += c;
      out += text[++i];
    } else if (IS_HIGH_SURROGATE(c) || IS_LOW_SURROGATE(c)) {
      out += L'\xFFFD';  // half a pair is not a character
    } else {
      out += c;
    }
  }
  return ToUtf8(out);
}

const char kXmlHead[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const char kMainNs[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char kRelNs[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

std::string ContentTypes(bool shared) {
  std::string xml = kXmlHead;
  xml += "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
         "<Override PartName=\"/xl/workbook.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
         "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
         "<Override PartName=\"/xl/styles.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>";
  if (shared)
    xml += "<Override PartName=\"/xl/sharedStrings.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>";
  xml += "<Override PartName=\"/docProps/app.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.extended-properties+xml\"/>"
         "</Types>";
  return xml;
}

std::string PackageRels() {
  return std::string(kXmlHead) +
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" + kRelNs + "/officeDocument\" Target=\"xl/workbook.xml\"/>"
         "<Relationship Id=\"rId2\" Type=\"" + kRelNs + "/extended-properties\" Target=\"docProps/app.xml\"/>"
         "</Relationships>";
}

std::string AppProperties() {
  return std::string(kXmlHead) +
         "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
         "<Application>Microsoft Excel</Application></Properties>";
}

std::string WorkbookPart(const std::wstring& tab) {
  return std::string(kXmlHead) + "<workbook xmlns=\"" + kMainNs + "\" xmlns:r=\"" + kRelNs + "\">" +
         "<bookViews><workbookView/></bookViews><sheets><sheet name=\"" + EscapeText(tab) +
         "\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
}

std::string WorkbookRels(bool shared) {
  std::string xml = std::string(kXmlHead) +
                    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                    "<Relationship Id=\"rId1\" Type=\"" + kRelNs + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
                    "<Relationship Id=\"rId2\" Type=\"" + kRelNs + "/styles\" Target=\"styles.xml\"/>";
  if (shared)
    xml += std::string("<Relationship Id=\"rId3\" Type=\"") + kRelNs + "/sharedStrings\" Target=\"sharedStrings.xml\"/>";
  return xml + "</Relationships>";
}

// Cell formats: 0 plain, 1 the bold header, 2 wrapped (text with line
// breaks), 3 bold and wrapped.
std::string StylesPart() {
  const char* font = "<sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/>";
  const char* plain = "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"";
  const char* bold = "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\"";
  const char* wrap = " applyAlignment=\"1\"><alignment wrapText=\"1\"/></xf>";
  return std::string(kXmlHead) + "<styleSheet xmlns=\"" + kMainNs + "\">" + "<fonts count=\"2\"><font>" + font +
         "</font><font><b/>" + font + "</font></fonts>" +
         "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
         "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
         "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
         "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
         "<cellXfs count=\"4\">" + plain + "/>" + bold + "/>" + plain + wrap + bold + wrap + "</cellXfs>" +
         "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
         "</styleSheet>";
}

class SharedStrings {
 public:
  size_t Index(std::wstring_view text) {
    ++uses_;
    auto [it, added] = index_.try_emplace(std::wstring(text), order_.size());
    if (added) order_.push_back(&it->first);
    return it->second;
  }
  std::string Part() const {
    std::string xml = std::string(kXmlHead) + "<sst xmlns=\"" + kMainNs + "\" count=\"" + std::to_string(uses_) +
                      "\" uniqueCount=\"" + std::to_string(order_.size()) + "\">";
    for (const std::wstring* text : order_) xml += "<si><t xml:space=\"preserve\">" + EscapeText(*text) + "</t></si>";
    return xml + "</sst>";
  }

 private:
  std::unordered_map<std::wstring, size_t> index_;
  std::vector<const std::wstring*> order_;  // node-based map: the keys stay put
  size_t uses_ = 0;
};

std::string SheetPart(const Sheet& sheet, SharedStrings* shared) {
  size_t width = 0;
  for (const auto& row : sheet.rows) width = std::max(width, row.size());
  std::string xml = std::string(kXmlHead) + "<worksheet xmlns=\"" + kMainNs + "\" xmlns:r=\"" + kRelNs + "\">";
  xml += "<dimension ref=\"A1";
  if (!sheet.rows.empty() && width > 0)
    xml += ":" + ColumnName(static_cast<int>(width) - 1) + std::to_string(sheet.rows.size());
  xml += "\"/><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\">";
  if (sheet.rows.size() > 1)  // the header stays in view while scrolling
    xml += "<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/>"
           "<selection pane=\"bottomLeft\" activeCell=\"A2\" sqref=\"A2\"/>";
  xml += "</sheetView></sheetViews><sheetFormatPr defaultRowHeight=\"15\"/><sheetData>";
  for (size_t r = 0; r < sheet.rows.size(); ++r) {
    std::string number = std::to_string(r + 1);
    std::string cells;
    for (size_t c = 0; c < sheet.rows[r].size(); ++c) {
      std::wstring_view text = CellText(sheet.rows[r][c]);
      if (text.empty()) continue;
      int style = (r == 0 ? 1 : 0) + (text.find_first_of(L"\r\n") != std::wstring_view::npos ? 2 : 0);
      cells += "<c r=\"" + ColumnName(static_cast<int>(c)) + number + "\"";
      if (style) cells += " s=\"" + std::to_string(style) + "\"";
      if (shared)
        cells += " t=\"s\"><v>" + std::to_string(shared->Index(text)) + "</v></c>";
      else
        cells += " t=\"inlineStr\"><is><t xml:space=\"preserve\">" + EscapeText(text) + "</t></is></c>";
    }
    if (!cells.empty()) xml += "<row r=\"" + number + "\">" + cells + "</row>";
  }
  return xml + "</sheetData></worksheet>";
}

// ---- reading ----

// A forward-only walk over one XML part with the platform's XmlLite.
class XmlScan {
 public:
  XmlScan() = default;
  XmlScan(const XmlScan&) = delete;
  XmlScan& operator=(const XmlScan&) = delete;
  ~XmlScan() {
    if (reader_) reader_->Release();
    if (stream_) stream_->Release();
  }

  bool Open(std::string_view bytes) {
    std::string ascii = XmlLiteInput(bytes);
    stream_ = ::SHCreateMemStream(reinterpret_cast<const BYTE*>(ascii.data()), static_cast<UINT>(ascii.size()));
    if (!stream_ || FAILED(::CreateXmlReader(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader_), nullptr)))
      return false;
    reader_->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
    return SUCCEEDED(reader_->SetInput(stream_));
  }

  // The next node; false at the end of the part or at broken XML (Failed()).
  bool Next() {
    XmlNodeType type = XmlNodeType_None;
    HRESULT result = reader_->Read(&type);
    if (result != S_OK) {
      failed_ = FAILED(result);
      return false;
    }
    type_ = type;
    name_.clear();
    empty_ = false;
    if (type == XmlNodeType_Element || type == XmlNodeType_EndElement) {
      const wchar_t* name = nullptr;
      UINT size = 0;
      if (SUCCEEDED(reader_->GetLocalName(&name, &size))) name_.assign(name, size);
      empty_ = type == XmlNodeType_Element && reader_->IsEmptyElement();
    }
    return true;
  }

  bool Failed() const { return failed_; }
  bool IsStart(const wchar_t* name) const { return type_ == XmlNodeType_Element && name_ == name; }
  bool IsEnd(const wchar_t* name) const { return type_ == XmlNodeType_EndElement && name_ == name; }
  bool IsEmpty() const { return empty_; }
  bool IsText() const {
    return type_ == XmlNodeType_Text || type_ == XmlNodeType_CDATA || type_ == XmlNodeType_Whitespace;
  }

  std::wstring Value() const {
    const wchar_t* value = nullptr;
    UINT size = 0;
    if (FAILED(reader_->GetValue(&value, &size)) || !value) return {};
    return std::wstring(value, size);
  }

  // The attribute of the current element by local name ("r:id" is "id").
  std::wstring Attribute(const wchar_t* name) const {
    std::wstring found;
    for (HRESULT more = reader_->MoveToFirstAttribute(); more == S_OK; more = reader_->MoveToNextAttribute()) {
      const wchar_t* local = nullptr;
      if (SUCCEEDED(reader_->GetLocalName(&local, nullptr)) && local && wcscmp(local, name) == 0) {
        found = Value();
        break;
      }
    }
    reader_->MoveToElement();
    return found;
  }

 private:
  IStream* stream_ = nullptr;
  IXmlReader* reader_ = nullptr;
  XmlNodeType type_ = XmlNodeType_None;
  std::wstring name_;
  bool empty_ = false;
  bool failed_ = false;
};

bool OpenPart(XmlScan& scan, std::string_view bytes, std::string_view part, std::wstring& error) {
  if (scan.Open(bytes)) return true;
  error = L"cannot read the workbook part " + FromUtf8(part);
  return false;
}

bool EndPart(const XmlScan& scan, std::string_view part, std::wstring& error) {
  if (!scan.Failed()) return true;
  error = L"the workbook part " + FromUtf8(part) + L" is not well-formed XML";
  return false;
}

// "_x000D_" back to the character; "_x005F_" is the underscore itself.
std::wstring Unescape(std::wstring text) {
  size_t at = text.find(L"_x");
  if (at == std::wstring::npos) return text;
  std::wstring out;
  size_t from = 0;
  for (; at != std::wstring::npos; at = text.find(L"_x", at)) {
    if (!IsEscapeLike(text, at)) {
      at += 1;
      continue;
    }
    out.append(text, from, at - from);
    out += static_cast<wchar_t>(std::wcstoul(text.substr(at + 2, 4).c_str(), nullptr, 16));
    at += 7;
    from = at;
  }
  out.append(text, from, std::wstring::npos);
  return out;
}

// A part's name from a relationship target, relative to the folder of the
// part that holds the relationship ("xl/" for the workbook).
std::string ResolvePart(const std::string& folder, const std::wstring& target) {
  std::string path = ToUtf8(target);
  path = !path.empty() && path[0] == '/' ? path.substr(1) : folder + path;
  std::vector<std::string> parts;
  size_t from = 0;
  while (from <= path.size()) {
    size_t slash = path.find('/', from);
    std::string segment = path.substr(from, slash == std::string::npos ? std::string::npos : slash - from);
    if (segment == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!segment.empty() && segment != ".") {
      parts.push_back(segment);
    }
    if (slash == std::string::npos) break;
    from = slash + 1;
  }
  std::string resolved;
  for (const std::string& segment : parts) resolved += (resolved.empty() ? "" : "/") + segment;
  return resolved;
}

struct Relationship {
  std::wstring id, type, target;
};

bool EndsWith(const std::wstring& text, const wchar_t* tail) {
  size_t size = wcslen(tail);
  return text.size() >= size && text.compare(text.size() - size, size, tail) == 0;
}

// The relationships of `part` ("xl/workbook.xml" -> "xl/_rels/workbook.xml.rels"); none when absent.
bool ReadRelationships(const zip::Reader& archive, const std::string& part, std::vector<Relationship>& out,
                       std::wstring& error) {
  size_t slash = part.rfind('/');
  std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
  std::string name = folder + "_rels/" + part.substr(folder.size()) + ".rels";
  out.clear();
  if (!archive.Has(name)) return true;
  std::string bytes;
  XmlScan scan;
  if (!archive.Extract(name, bytes, error) || !OpenPart(scan, bytes, name, error)) return false;
  while (scan.Next()) {
    if (scan.IsStart(L"Relationship"))
      out.push_back({scan.Attribute(L"Id"), scan.Attribute(L"Type"), scan.Attribute(L"Target")});
  }
  return EndPart(scan, name, error);
}

std::string FolderOf(const std::string& part) {
  size_t slash = part.rfind('/');
  return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

struct SheetPlace {
  std::string sheetPart, stringsPart;  // stringsPart empty when the workbook has none
  std::wstring name;
};

// Package -> workbook part -> its first worksheet and its shared strings.
bool LocateSheet(const zip::Reader& archive, SheetPlace& place, std::wstring& error) {
  std::vector<Relationship> rels;
  if (!ReadRelationships(archive, "", rels, error)) return false;
  std::string workbookPart = "xl/workbook.xml";
  for (const Relationship& rel : rels)
    if (EndsWith(rel.type, L"/officeDocument")) workbookPart = ResolvePart("", rel.target);

  std::string bytes;
  XmlScan scan;
  if (!archive.Extract(workbookPart, bytes, error) || !OpenPart(scan, bytes, workbookPart, error)) return false;
  std::vector<std::pair<std::wstring, std::wstring>> sheets;  // name, relationship id
  while (scan.Next())
    if (scan.IsStart(L"sheet")) sheets.emplace_back(scan.Attribute(L"name"), scan.Attribute(L"id"));
  if (!EndPart(scan, workbookPart, error) || !ReadRelationships(archive, workbookPart, rels, error)) return false;

  std::string folder = FolderOf(workbookPart);
  for (const Relationship& rel : rels)
    if (EndsWith(rel.type, L"/sharedStrings")) place.stringsPart = ResolvePart(folder, rel.target);
  for (const auto& [name, id] : sheets) {
    for (const Relationship& rel : rels) {
      if (rel.id == id && EndsWith(rel.type, L"/worksheet")) {  // chart sheets have no cells
        place.sheetPart = ResolvePart(folder, rel.target);
        place.name = name;
        return true;
      }
    }
  }
  error = L"the workbook has no worksheet";
  return false;
}

// The shared strings: rich-text runs joined, phonetic guides left out.
bool ReadSharedStrings(const zip::Reader& archive, const std::string& part, std::vector<std::wstring>& out,
                       std::wstring& error) {
  std::string bytes;
  XmlScan scan;
  if (!archive.Extract(part, bytes, error) || !OpenPart(scan, bytes, part, error)) return false;
  std::wstring text;
  bool inText = false;
  int phonetic = 0;
  while (scan.Next()) {
    if (scan.IsStart(L"si")) {
      text.clear();
      if (scan.IsEmpty()) out.emplace_back();
    } else if (scan.IsEnd(L"si")) {
      out.push_back(Unescape(std::move(text)));
      text.clear();
    } else if (scan.IsStart(L"rPh") && !scan.IsEmpty()) {
      ++phonetic;
    } else if (scan.IsEnd(L"rPh")) {
      --phonetic;
    } else if (scan.IsStart(L"t")) {
      inText = !scan.IsEmpty();
    } else if (scan.IsEnd(L"t")) {
      inText = false;
    } else if (inText && phonetic == 0 && scan.IsText()) {
      text += scan.Value();
    }
  }
  return EndPart(scan, part, error);
}

// "AB12" -> column 27, row 11 (both from 0).
bool ParseReference(const std::wstring& ref, int& row, int& column) {
  size_t i = 0;
  int c = 0, r = 0;
  for (; i < ref.size() && iswalpha(ref[i]); ++i) {
    c = c * 26 + (towupper(ref[i]) - L'A' + 1);
    if (c > kXlsxColumns) return false;
  }
  if (i == 0 || i == ref.size()) return false;
  for (; i < ref.size(); ++i) {
    if (!iswdigit(ref[i])) return false;
    r = r * 10 + (ref[i] - L'0');
    if (r > kXlsxRows) return false;
  }
  if (r == 0) return false;
  row = r - 1;
  column = c - 1;
  return true;
}

bool CellValue(const std::wstring& type, const std::wstring& value, const std::vector<std::wstring>& strings,
               std::wstring& text, std::wstring& error) {
  if (type == L"s") {
    wchar_t* end = nullptr;
    unsigned long index = std::wcstoul(value.c_str(), &end, 10);
    if (value.empty() || *end || index >= strings.size()) {
      error = L"a cell refers to shared string " + value + L", which the workbook does not have";
      return false;
    }
    text = strings[index];
  } else if (type == L"inlineStr" || type == L"str") {
    text = Unescape(value);
  } else if (type == L"b") {
    text = value.empty() ? L"" : value == L"1" || value == L"true" ? L"TRUE" : L"FALSE";
  } else if (type.empty() || type == L"n") {
    wchar_t* end = nullptr;
    double number = std::wcstod(value.c_str(), &end);
    text = value.empty() || *end ? value : NumberText(number);
  } else {
    text = value;  // "e": the error's own text; "d": the ISO date as written
  }
  return true;
}

void PlaceCell(Sheet& sheet, int row, int column, std::wstring text) {
  if (text.empty()) return;
  if (sheet.rows.size() <= static_cast<size_t>(row)) sheet.rows.resize(row + 1);
  auto& cells = sheet.rows[row];
  if (cells.size() <= static_cast<size_t>(column)) cells.resize(column + 1);
  cells[column] = std::move(text);
}

struct CellState {
  int row = -1, column = -1;
  std::wstring type, value;
  bool inValue = false, inText = false;
  int phonetic = 0;
};

bool ReadSheetCells(const std::string& part, std::string_view bytes, const std::vector<std::wstring>& strings,
                    Sheet& sheet, std::wstring& error) {
  XmlScan scan;
  if (!OpenPart(scan, bytes, part, error)) return false;
  CellState cell;
  auto finish = [&]() {
    std::wstring text;
    if (!CellValue(cell.type, cell.value, strings, text, error)) return false;
    PlaceCell(sheet, cell.row, cell.column, std::move(text));
    cell.value.clear();
    return true;
  };
  auto bad = [&](const std::wstring& what) {
    error = L"the worksheet " + FromUtf8(part) + L" has " + what;
    return false;
  };
  while (scan.Next()) {
    if (scan.IsStart(L"row")) {
      std::wstring number = scan.Attribute(L"r");
      int row = number.empty() ? cell.row + 1 : _wtoi(number.c_str()) - 1;
      if (row < 0 || row >= kXlsxRows || (!number.empty() && number.find_first_not_of(L"0123456789") != std::wstring::npos))
        return bad(L"a bad row number \"" + number + L"\"");
      cell.row = row;
      cell.column = -1;
    } else if (scan.IsStart(L"c")) {
      std::wstring ref = scan.Attribute(L"r");
      if (ref.empty()) {
        if (cell.row < 0) cell.row = 0;
        if (++cell.column >= kXlsxColumns) return bad(L"too many columns");
      } else if (!ParseReference(ref, cell.row, cell.column)) {
        return bad(L"a bad cell reference \"" + ref + L"\"");
      }
      cell.type = scan.Attribute(L"t");
      cell.value.clear();
      if (scan.IsEmpty() && !finish()) return false;
    } else if (scan.IsEnd(L"c")) {
      if (!finish()) return false;
    } else if (scan.IsStart(L"v")) {
      cell.inValue = !scan.IsEmpty();
    } else if (scan.IsEnd(L"v")) {
      cell.inValue = false;
    } else if (scan.IsStart(L"rPh") && !scan.IsEmpty()) {
      ++cell.phonetic;
    } else if (scan.IsEnd(L"rPh")) {
      --cell.phonetic;
    } else if (scan.IsStart(L"t")) {
      cell.inText = !scan.IsEmpty();
    } else if (scan.IsEnd(L"t")) {
      cell.inText = false;
    } else if (scan.IsText() && (cell.inValue || (cell.inText && cell.phonetic == 0))) {
      cell.value += scan.Value();
    }
  }
  return EndPart(scan, part, error);
}

}  // namespace

bool WriteXlsx(const Sheet& sheet, std::string& bytes, std::wstring& error, StringStorage strings) {
  size_t width = 0;
  for (const auto& row : sheet.rows) width = std::max(width, row.size());
  if (sheet.rows.size() > static_cast<size_t>(kXlsxRows) || width > static_cast<size_t>(kXlsxColumns)) {
    error = L"the sheet is larger than an .xlsx worksheet can hold (1,048,576 rows by 16,384 columns)";
    return false;
  }
  bool shared = strings == StringStorage::Shared;
  SharedStrings table;
  std::string sheetXml = SheetPart(sheet, shared ? &table : nullptr);
  zip::Writer archive;
  bool ok = archive.Add("[Content_Types].xml", ContentTypes(shared), true, error) &&
            archive.Add("_rels/.rels", PackageRels(), true, error) &&
            archive.Add("docProps/app.xml", AppProperties(), true, error) &&
            archive.Add("xl/workbook.xml", WorkbookPart(TabName(sheet.name)), true, error) &&
            archive.Add("xl/_rels/workbook.xml.rels", WorkbookRels(shared), true, error) &&
            archive.Add("xl/styles.xml", StylesPart(), true, error) &&
            archive.Add("xl/worksheets/sheet1.xml", sheetXml, true, error) &&
            (!shared || archive.Add("xl/sharedStrings.xml", table.Part(), true, error));
  return ok && archive.Finish(bytes, error);
}

bool ReadXlsx(std::string_view bytes, Sheet& sheet, std::wstring& error) {
  zip::Reader archive;
  if (!archive.Open(bytes, error)) return false;
  SheetPlace place;
  if (!LocateSheet(archive, place, error)) return false;
  std::vector<std::wstring> strings;
  if (!place.stringsPart.empty() && archive.Has(place.stringsPart) &&
      !ReadSharedStrings(archive, place.stringsPart, strings, error))
    return false;
  std::string part;
  if (!archive.Extract(place.sheetPart, part, error)) return false;
  Sheet read;
  read.name = place.name;
  if (!ReadSheetCells(place.sheetPart, part, strings, read, error)) return false;
  sheet = std::move(read);
  return true;
}

}  // namespace files
