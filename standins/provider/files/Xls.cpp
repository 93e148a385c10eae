// Binary Excel 97-2003 workbooks: BIFF8 records in the "Workbook" stream of
// an OLE compound file, made and opened with the platform's structured storage.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "Spreadsheet.h"
#include "CompoundFile.h"
#include "LittleEndian.h"

namespace files {

namespace workbook {  // in Spreadsheet.cpp
std::wstring NumberText(double value);
std::wstring TabName(const std::wstring& name);
std::wstring_view CellText(std::wstring_view text);
}  // namespace workbook

namespace {

using workbook::CellText;
using workbook::NumberText;

constexpr size_t kXlsRows = 65536;
constexpr size_t kXlsColumns = 256;
constexpr size_t kMaxRecord = 8224;          // a record's body, CONTINUE included
constexpr uint64_t kMaxStream = 256u << 20;  // a Workbook stream larger than this is not a contact list

enum : uint16_t {
  kFormula = 0x0006,
  kEof = 0x000A,
  kFilePass = 0x002F,
  kFont = 0x0031,
  kWindow1 = 0x003D,
  kContinue = 0x003C,
  kPane = 0x0041,
  kCodePage = 0x0042,
  kBoundSheet = 0x0085,
  kMulRk = 0x00BD,
  kRString = 0x00D6,
  kXf = 0x00E0,
  kSst = 0x00FC,
  kLabelSst = 0x00FD,
  kDimensions = 0x0200,
  kNumber = 0x0203,
  kLabel = 0x0204,
  kBoolErr = 0x0205,
  kString = 0x0207,
  kWindow2 = 0x023E,
  kRk = 0x027E,
  kStyle = 0x0293,
  kBof = 0x0809,
};

using le::Get16;
using le::Get32;
using le::Put16;
using le::Put32;
using le::Put8;

void Record(std::string& out, uint16_t id, std::string_view body) {
  Put16(out, id);
  Put16(out, static_cast<uint32_t>(body.size()));
  out.append(body);
}

// ---- writing ----

bool Narrow(std::wstring_view text) {  // every character fits the 8-bit "compressed" form
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x100; });
}

void PutChars(std::string& out, std::wstring_view text, bool wide) {
  for (wchar_t c : text) wide ? Put16(out, c) : Put8(out, c);
}

std::string Bof(uint16_t type) {
  std::string body;
  Put16(body, 0x0600);  // BIFF8
  Put16(body, type);
  Put16(body, 0x0DBB);  // build and year of the writing program, as Excel 97 puts them
  Put16(body, 0x07CC);
  Put32(body, 0);
  Put32(body, 0x00000006);
  return body;
}

std::string Font(bool bold) {
  std::string body;
  Put16(body, 200);  // 10 points in twips
  Put16(body, bold ? 1 : 0);  // the old bold bit, which some readers still take over the weight
  Put16(body, 0x7FFF);  // the window text colour
  Put16(body, bold ? 700 : 400);
  Put16(body, 0);
  Put32(body, 0);  // underline, family, character set, reserved
  Put8(body, 5);
  Put8(body, 0);
  body += "Arial";
  return body;
}

// Style XFs have no parent (0xFFF) and, in "used" bits, mark what they do not set.
std::string Xf(uint16_t font, bool style, uint8_t align, uint8_t used) {
  std::string body;
  Put16(body, font);
  Put16(body, 0);  // General
  Put16(body, style ? 0xFFF5 : 0x0001);
  Put8(body, align);
  Put8(body, 0);
  Put8(body, 0);
  Put8(body, used);
  Put32(body, 0);       // no borders
  Put32(body, 0);
  Put16(body, 0x20C0);  // automatic pattern colours
  return body;
}

// The cell formats after the 15 style XFs.
enum : uint16_t { kPlainXf = 15, kHeaderXf = 16, kWrapXf = 17, kHeaderWrapXf = 18 };

std::string GlobalsStream(const Sheet& sheet, std::string_view sst, size_t& sheetOffsetAt) {
  std::string out;
  Record(out, kBof, Bof(0x0005));
  std::string body;
  Put16(body, 1200);  // the strings are UTF-16
  Record(out, kCodePage, body);
  body.clear();
  for (uint32_t v : {0u, 0u, 0x4000u, 0x2000u, 0x0038u, 0u, 0u, 1u, 0x0258u}) Put16(body, v);
  Record(out, kWindow1, body);
  // Font 4 does not exist in BIFF: the bold font is number 5.
  for (int i = 0; i < 4; ++i) Record(out, kFont, Font(false));
  Record(out, kFont, Font(true));
  for (int i = 0; i < 15; ++i) Record(out, kXf, Xf(i >= 1 && i <= 4 ? (i + 1) / 2 : 0, true, 0x20, i ? 0xF4 : 0));
  Record(out, kXf, Xf(0, false, 0x20, 0));
  Record(out, kXf, Xf(5, false, 0x20, 0x08));
  Record(out, kXf, Xf(0, false, 0x28, 0x10));  // wrap text: 0x08 in the alignment byte
  Record(out, kXf, Xf(5, false, 0x28, 0x18));
  body.clear();
  Put16(body, 0x8000);  // built-in style "Normal" on XF 0
  Put8(body, 0);
  Put8(body, 0xFF);
  Record(out, kStyle, body);
  std::wstring tab = workbook::TabName(sheet.name);
  bool wide = !Narrow(tab);
  body.clear();
  Put32(body, 0);  // the sheet's BOF offset, patched when known
  Put16(body, 0);  // visible worksheet
  Put8(body, static_cast<uint32_t>(tab.size()));
  Put8(body, wide ? 1 : 0);
  PutChars(body, tab, wide);
  sheetOffsetAt = out.size() + 4;
  Record(out, kBoundSheet, body);
  out.append(sst);
  Record(out, kEof, {});
  return out;
}

// The shared string table, split into CONTINUE records of at most 8224 bytes.
// A string's header never splits; its characters may, and then the next
// record starts with the option flags again.
class SstWriter {
 public:
  uint32_t Index(std::wstring_view text) {
    ++uses_;
    auto [it, added] = index_.try_emplace(std::wstring(text), static_cast<uint32_t>(order_.size()));
    if (added) order_.push_back(&it->first);
    return it->second;
  }

  std::string Records() {
    std::vector<std::string> bodies;
    std::string current;
    Put32(current, uses_);
    Put32(current, static_cast<uint32_t>(order_.size()));
    for (const std::wstring* text : order_) {
      bool wide = !Narrow(*text);
      size_t unit = wide ? 2 : 1;
      if (current.size() + 3 + unit > kMaxRecord) bodies.push_back(std::move(current)), current.clear();
      Put16(current, static_cast<uint32_t>(text->size()));
      Put8(current, wide ? 1 : 0);
      for (size_t i = 0; i < text->size();) {
        size_t room = (kMaxRecord - current.size()) / unit;
        if (room == 0) {
          bodies.push_back(std::move(current));
          current.clear();
          Put8(current, wide ? 1 : 0);
          continue;
        }
        size_t take = std::min(room, text->size() - i);
        PutChars(current, std::wstring_view(*text).substr(i, take), wide);
        i += take;
      }
    }
    bodies.push_back(std::move(current));
    std::string out;
    for (size_t i = 0; i < bodies.size(); ++i) Record(out, i ? kContinue : kSst, bodies[i]);
    return out;
  }

 private:
  std::unordered_map<std::wstring, uint32_t> index_;
  std::vector<const std::wstring*> order_;
  uint32_t uses_ = 0;
};

std::string Worksheet(const Sheet& sheet, size_t width, SstWriter& sst) {
  std::string out;
  Record(out, kBof, Bof(0x0010));
  std::string body;
  Put32(body, 0);
  Put32(body, static_cast<uint32_t>(sheet.rows.size()));  // one past the last row and column
  Put16(body, 0);
  Put16(body, static_cast<uint32_t>(width));
  Put16(body, 0);
  Record(out, kDimensions, body);
  for (size_t r = 0; r < sheet.rows.size(); ++r) {
    for (size_t c = 0; c < sheet.rows[r].size(); ++c) {
      std::wstring_view text = CellText(sheet.rows[r][c]);
      if (text.empty()) continue;
      bool wrap = text.find_first_of(L"\r\n") != std::wstring_view::npos;
      body.clear();
      Put16(body, static_cast<uint32_t>(r));
      Put16(body, static_cast<uint32_t>(c));
      Put16(body, r == 0 ? (wrap ? kHeaderWrapXf : kHeaderXf) : (wrap ? kWrapXf : kPlainXf));
      Put32(body, sst.Index(text));
      Record(out, kLabelSst, body);
    }
  }
  bool frozen = sheet.rows.size() > 1;  // the header stays in view while scrolling
  body.clear();
  Put16(body, 0x06B6 | (frozen ? 0x0108 : 0));
  for (uint32_t v : {0u, 0u, 64u, 0u, 0u, 0u, 0u}) Put16(body, v);
  Record(out, kWindow2, body);
  if (frozen) {
    body.clear();
    for (uint32_t v : {0u, 1u, 1u, 0u}) Put16(body, v);
    Put8(body, 2);  // the active pane is the lower one
    Put8(body, 0);
    Record(out, kPane, body);
  }
  Record(out, kEof, {});
  return out;
}

struct Unknown {
  IUnknown* p = nullptr;
  ~Unknown() {
    if (p) p->Release();
  }
};

// ---- reading ----

struct Rec {
  uint16_t id = 0;
  std::string_view body;
};

// The records of the Workbook stream; a record running past the stream's end is damage.
class RecordScan {
 public:
  explicit RecordScan(std::string_view stream, size_t at = 0) : stream_(stream), at_(at) {}
  // False at the end of the stream, or with `damaged` set.
  bool Next(Rec& rec) {
    if (at_ + 4 > stream_.size()) return false;
    size_t size = Get16(stream_, at_ + 2);
    if (at_ + 4 + size > stream_.size()) {
      damaged = true;
      return false;
    }
    rec.id = Get16(stream_, at_);
    rec.body = stream_.substr(at_ + 4, size);
    at_ += 4 + size;
    return true;
  }
  uint16_t PeekId() const { return at_ + 4 <= stream_.size() ? Get16(stream_, at_) : 0; }
  bool damaged = false;

 private:
  std::string_view stream_;
  size_t at_;
};

// A record's body and its CONTINUE records, read as strings run across them:
// a string's characters that continue in the next record start with a new
// option byte (8-bit or UTF-16); other data simply continues.
class Pieces {
 public:
  void Add(std::string_view body) { parts_.push_back(body); }
  bool AtEnd() {
    while (part_ < parts_.size() && at_ == parts_[part_].size()) ++part_, at_ = 0;
    return part_ == parts_.size();
  }
  bool Byte(uint32_t& value) {
    if (AtEnd()) return false;
    value = static_cast<unsigned char>(parts_[part_][at_++]);
    return true;
  }
  bool U16(uint32_t& value) {
    uint32_t low = 0, high = 0;
    if (!Byte(low) || !Byte(high)) return false;
    value = low | high << 8;
    return true;
  }
  bool U32(uint32_t& value) {
    uint32_t low = 0, high = 0;
    if (!U16(low) || !U16(high)) return false;
    value = low | high << 16;
    return true;
  }
  bool Skip(uint32_t count) {
    for (uint32_t byte = 0; count > 0; --count)
      if (!Byte(byte)) return false;
    return true;
  }
  bool Chars(uint32_t count, bool wide, std::wstring& out) {
    out.clear();
    while (count > 0) {
      if (at_ == parts_[part_].size()) {
        uint32_t flags = 0;
        if (part_ + 1 == parts_.size()) return false;
        ++part_, at_ = 0;
        if (!Byte(flags)) return false;
        wide = flags & 0x01;
      }
      std::string_view part = parts_[part_];
      size_t unit = wide ? 2 : 1;
      size_t take = std::min<size_t>(count, (part.size() - at_) / unit);
      if (take == 0) return false;  // half a UTF-16 character before a record's end
      for (size_t i = 0; i < take; ++i, at_ += unit)
        out.push_back(wide ? static_cast<wchar_t>(Get16(part, at_)) : static_cast<unsigned char>(part[at_]));
      count -= static_cast<uint32_t>(take);
    }
    return true;
  }
  // A full BIFF8 string: length, options, rich-text runs and phonetic data skipped.
  bool String(std::wstring& out, bool shortLength = false) {
    uint32_t count = 0, flags = 0, runs = 0, extra = 0;
    if (!(shortLength ? Byte(count) : U16(count)) || !Byte(flags)) return false;
    if ((flags & 0x08) && !U16(runs)) return false;
    if ((flags & 0x04) && !U32(extra)) return false;
    if (part_ == parts_.size()) return count == 0;
    return Chars(count, flags & 0x01, out) && Skip(runs * 4) && Skip(extra);
  }

 private:
  std::vector<std::string_view> parts_;
  size_t part_ = 0, at_ = 0;
};

bool ReadStream(std::string_view bytes, std::string& stream, std::wstring& error) {
  ILockBytes* lock = nullptr;
  HRESULT hr = ::CreateILockBytesOnHGlobal(nullptr, TRUE, &lock);
  Unknown holdLock{lock};
  ULONG written = 0;
  if (SUCCEEDED(hr)) hr = lock->WriteAt(ULARGE_INTEGER{}, bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  IStorage* storage = nullptr;
  if (SUCCEEDED(hr)) hr = ::StgOpenStorageOnILockBytes(lock, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &storage);
  Unknown holdStorage{storage};
  if (FAILED(hr)) {
    error = L"the .xls file is damaged (its compound file structure cannot be opened)";
    return false;
  }
  IStream* in = nullptr;
  if (FAILED(storage->OpenStream(L"Workbook", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &in))) {
    IStream* old = nullptr;
    bool biff5 = SUCCEEDED(storage->OpenStream(L"Book", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &old));
    if (old) old->Release();
    error = biff5 ? L"Excel 5.0/95 workbooks (BIFF5) are not supported; save the file as Excel 97-2003 or .xlsx"
                  : L"the .xls file has no Workbook stream";
    return false;
  }
  Unknown holdStream{in};
  STATSTG stat{};
  if (FAILED(in->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > kMaxStream) {
    error = L"the .xls file's Workbook stream is damaged or too large";
    return false;
  }
  stream.assign(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
  ULONG read = 0;
  if (FAILED(in->Read(stream.data(), static_cast<ULONG>(stream.size()), &read)) || read != stream.size()) {
    error = L"the .xls file is truncated (its Workbook stream cannot be read whole)";
    return false;
  }
  return true;
}

struct Globals {
  std::vector<std::wstring> strings;
  uint32_t sheetAt = 0;
  std::wstring sheetName;
  bool hasSheet = false;
};

bool Damaged(std::wstring& error, const wchar_t* what) {
  error = std::wstring(L"the .xls file is damaged (") + what + L")";
  return false;
}

bool CheckVersion(const Rec& first, std::wstring& error) {
  if (first.id == 0x0009 || first.id == 0x0209 || first.id == 0x0409) {
    error = L"Excel 2.x-4.0 workbooks are not supported; save the file as Excel 97-2003 or .xlsx";
    return false;
  }
  if (first.id != kBof || first.body.size() < 4) return Damaged(error, L"it does not start with a BOF record");
  if (Get16(first.body, 0) != 0x0600) {
    error = L"Excel 5.0/95 workbooks (BIFF5) are not supported; save the file as Excel 97-2003 or .xlsx";
    return false;
  }
  return true;
}

// Collects the body and the CONTINUE records that follow it.
Pieces WithContinues(RecordScan& scan, std::string_view body) {
  Pieces pieces;
  pieces.Add(body);
  Rec next;
  while (scan.PeekId() == kContinue && scan.Next(next)) pieces.Add(next.body);
  return pieces;
}

bool ReadGlobals(std::string_view stream, Globals& globals, std::wstring& error) {
  RecordScan scan(stream);
  Rec rec;
  if (!scan.Next(rec)) return Damaged(error, L"the Workbook stream is empty");
  if (!CheckVersion(rec, error)) return false;
  while (scan.Next(rec) && rec.id != kEof) {
    if (rec.id == kFilePass) {
      error = L"the .xls file is password-protected (encrypted); remove the password in the spreadsheet program first";
      return false;
    }
    if (rec.id == kBoundSheet && rec.body.size() >= 8 && !globals.hasSheet && rec.body[5] == 0) {
      Pieces name;
      name.Add(rec.body.substr(6));
      globals.sheetAt = Get32(rec.body, 0);
      globals.hasSheet = name.String(globals.sheetName, true);
    } else if (rec.id == kSst) {
      if (rec.body.size() < 8) return Damaged(error, L"a short shared string table");
      uint32_t unique = Get32(rec.body, 4);
      Pieces pieces = WithContinues(scan, rec.body.substr(8));
      for (uint32_t i = 0; i < unique && !pieces.AtEnd(); ++i) {
        std::wstring text;
        if (!pieces.String(text)) return Damaged(error, L"a string of the shared string table is cut off");
        globals.strings.push_back(std::move(text));
      }
    }
  }
  if (scan.damaged) return Damaged(error, L"a record runs past the end of the stream");
  if (!globals.hasSheet) {
    error = L"the .xls file has no worksheet";
    return false;
  }
  return true;
}

// A number cell's value from its RK form: a 30-bit integer or the top of a double, maybe times 100.
double RkValue(uint32_t rk) {
  double value;
  if (rk & 0x02) {
    value = static_cast<double>(static_cast<int32_t>(rk) >> 2);
  } else {
    uint64_t bits = static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32;
    std::memcpy(&value, &bits, sizeof value);
  }
  return rk & 0x01 ? value / 100 : value;
}

double DoubleAt(std::string_view body, size_t at) {
  uint64_t bits = Get32(body, at) | static_cast<uint64_t>(Get32(body, at + 4)) << 32;
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::wstring ErrorText(uint32_t code) {
  switch (code) {
    case 0x00: return L"#NULL!";
    case 0x07: return L"#DIV/0!";
    case 0x0F: return L"#VALUE!";
    case 0x17: return L"#REF!";
    case 0x1D: return L"#NAME?";
    case 0x24: return L"#NUM!";
    default: return L"#N/A";
  }
}

void PlaceCell(Sheet& sheet, size_t row, size_t column, std::wstring text) {
  if (text.empty()) return;
  if (sheet.rows.size() <= row) sheet.rows.resize(row + 1);
  auto& cells = sheet.rows[row];
  if (cells.size() <= column) cells.resize(column + 1);
  cells[column] = std::move(text);
}

struct CellReader {
  const Globals& globals;
  Sheet& sheet;
  std::wstring& error;
  bool stringPending = false;  // a formula's text result comes in the STRING record after it
  size_t pendingRow = 0, pendingColumn = 0;

  // One cell record; false only for damage.
  bool Read(RecordScan& scan, const Rec& rec) {
    std::string_view body = rec.body;
    if (rec.id == kString && stringPending) {
      stringPending = false;
      Pieces pieces = WithContinues(scan, body);
      std::wstring text;
      if (!pieces.String(text)) return Damaged(error, L"a formula's text result is cut off");
      PlaceCell(sheet, pendingRow, pendingColumn, std::move(text));
      return true;
    }
    if (rec.id != kLabelSst && rec.id != kLabel && rec.id != kRString && rec.id != kNumber && rec.id != kRk &&
        rec.id != kMulRk && rec.id != kBoolErr && rec.id != kFormula)
      return true;
    if (body.size() < 6) return Damaged(error, L"a cell record is too short");
    size_t row = Get16(body, 0), column = Get16(body, 2);
    switch (rec.id) {
      case kLabelSst: {
        if (body.size() < 10) return Damaged(error, L"a cell record is too short");
        uint32_t index = Get32(body, 6);
        if (index >= globals.strings.size()) return Damaged(error, L"a cell refers to a missing shared string");
        PlaceCell(sheet, row, column, globals.strings[index]);
        return true;
      }
      case kLabel:
      case kRString: {
        Pieces pieces;
        pieces.Add(body.substr(6));
        std::wstring text;
        if (!pieces.String(text)) return Damaged(error, L"a text cell is cut off");
        PlaceCell(sheet, row, column, std::move(text));
        return true;
      }
      case kNumber:
        if (body.size() < 14) return Damaged(error, L"a number cell is too short");
        PlaceCell(sheet, row, column, NumberText(DoubleAt(body, 6)));
        return true;
      case kRk:
        if (body.size() < 10) return Damaged(error, L"a number cell is too short");
        PlaceCell(sheet, row, column, NumberText(RkValue(Get32(body, 6))));
        return true;
      case kMulRk: {
        size_t count = (body.size() - 6) / 6;
        for (size_t i = 0; i < count; ++i) PlaceCell(sheet, row, column + i, NumberText(RkValue(Get32(body, 6 + i * 6))));
        return true;
      }
      case kBoolErr:
        if (body.size() < 8) return Damaged(error, L"a boolean cell is too short");
        PlaceCell(sheet, row, column,
                  body[7] ? ErrorText(static_cast<unsigned char>(body[6])) : body[6] ? L"TRUE" : L"FALSE");
        return true;
      default:
        return Formula(row, column, body);
    }
  }

  bool Formula(size_t row, size_t column, std::string_view body) {
    if (body.size() < 14) return Damaged(error, L"a formula cell is too short");
    if (Get16(body, 12) != 0xFFFF) {
      PlaceCell(sheet, row, column, NumberText(DoubleAt(body, 6)));
      return true;
    }
    uint8_t kind = static_cast<uint8_t>(body[6]);
    uint8_t value = static_cast<uint8_t>(body[8]);
    if (kind == 0) {
      stringPending = true;
      pendingRow = row;
      pendingColumn = column;
    } else if (kind == 1) {
      PlaceCell(sheet, row, column, value ? L"TRUE" : L"FALSE");
    } else if (kind == 2) {
      PlaceCell(sheet, row, column, ErrorText(value));
    }
    return true;
  }
};

bool ReadCells(std::string_view stream, const Globals& globals, Sheet& sheet, std::wstring& error) {
  if (globals.sheetAt >= stream.size()) return Damaged(error, L"the worksheet lies outside the stream");
  RecordScan scan(stream, globals.sheetAt);
  Rec rec;
  if (!scan.Next(rec) || rec.id != kBof) return Damaged(error, L"the worksheet does not start with a BOF record");
  CellReader cells{globals, sheet, error};
  int depth = 1;  // a chart inside the sheet brings its own BOF and EOF
  while (depth > 0 && scan.Next(rec)) {
    if (rec.id == kBof) ++depth;
    else if (rec.id == kEof) --depth;
    else if (depth == 1 && !cells.Read(scan, rec)) return false;
  }
  if (scan.damaged) return Damaged(error, L"a record runs past the end of the stream");
  if (depth > 0) return Damaged(error, L"the worksheet has no end");
  return true;
}

}  // namespace

bool WriteXls(const Sheet& sheet, std::string& bytes, std::wstring& error) {
  size_t width = 0;
  for (const auto& row : sheet.rows) width = std::max(width, row.size());
  if (sheet.rows.size() > kXlsRows || width > kXlsColumns) {
    error = L"the sheet is larger than an .xls worksheet can hold (65,536 rows by 256 columns); save it as .xlsx";
    return false;
  }
  SstWriter sst;
  std::string cells = Worksheet(sheet, width, sst);
  size_t offsetAt = 0;
  std::string stream = GlobalsStream(sheet, sst.Records(), offsetAt);
  uint32_t sheetAt = static_cast<uint32_t>(stream.size());
  for (int i = 0; i < 4; ++i) stream[offsetAt + i] = static_cast<char>((sheetAt >> (8 * i)) & 0xFF);
  stream += cells;
  return CompoundFileOfOneStream(L"Workbook", stream, bytes, error);
}

bool ReadXls(std::string_view bytes, Sheet& sheet, std::wstring& error) {
  std::string stream;
  Globals globals;
  if (!ReadStream(bytes, stream, error) || !ReadGlobals(stream, globals, error)) return false;
  Sheet read;
  read.name = globals.sheetName;
  if (!ReadCells(stream, globals, read, error)) return false;
  sheet = std::move(read);
  return true;
}

}  // namespace files
