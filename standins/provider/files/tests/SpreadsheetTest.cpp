#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <cstdlib>
#include <string>

#include "files/LittleEndian.h"
#include "files/Spreadsheet.h"
#include "files/TextCodec.h"
#include "files/Zip.h"

namespace files {
namespace {

// ---- helpers: compound files, BIFF records and zip edits by hand ----

std::string PackCompound(const std::string& stream, const wchar_t* name = L"Workbook") {
  ILockBytes* lock = nullptr;
  IStorage* storage = nullptr;
  IStream* out = nullptr;
  EXPECT_EQ(S_OK, CreateILockBytesOnHGlobal(nullptr, TRUE, &lock));
  EXPECT_EQ(S_OK, StgCreateDocfileOnILockBytes(lock, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage));
  EXPECT_EQ(S_OK, storage->CreateStream(name, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &out));
  ULONG done = 0;
  out->Write(stream.data(), static_cast<ULONG>(stream.size()), &done);
  out->Release();
  storage->Commit(STGC_DEFAULT);
  storage->Release();
  STATSTG stat{};
  lock->Stat(&stat, STATFLAG_NONAME);
  std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
  lock->ReadAt(ULARGE_INTEGER{}, bytes.data(), static_cast<ULONG>(bytes.size()), &done);
  lock->Release();
  return bytes;
}

std::string UnpackCompound(const std::string& bytes) {
  ILockBytes* lock = nullptr;
  IStorage* storage = nullptr;
  IStream* in = nullptr;
  ULONG done = 0;
  CreateILockBytesOnHGlobal(nullptr, TRUE, &lock);
  lock->WriteAt(ULARGE_INTEGER{}, bytes.data(), static_cast<ULONG>(bytes.size()), &done);
  std::string stream;
  if (SUCCEEDED(StgOpenStorageOnILockBytes(lock, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &storage))) {
    if (SUCCEEDED(storage->OpenStream(L"Workbook", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &in))) {
      STATSTG stat{};
      in->Stat(&stat, STATFLAG_NONAME);
      stream.resize(static_cast<size_t>(stat.cbSize.QuadPart));
      in->Read(stream.data(), static_cast<ULONG>(stream.size()), &done);
      in->Release();
    }
    storage->Release();
  }
  lock->Release();
  return stream;
}

using files::le::Get16;
using files::le::Get32;
using files::le::Put16;
using files::le::Put32;

void Rec(std::string& out, uint16_t id, const std::string& body) {
  Put16(out, id);
  Put16(out, static_cast<uint32_t>(body.size()));
  out += body;
}
std::string Cell(uint32_t row, uint32_t column) {
  std::string body;
  Put16(body, row);
  Put16(body, column);
  Put16(body, 15);
  return body;
}
std::string Double(double v) {
  std::string bytes(8, '\0');
  memcpy(bytes.data(), &v, 8);
  return bytes;
}
std::string Bof(uint16_t version, uint16_t type) {
  std::string body;
  Put16(body, version);
  Put16(body, type);
  Put32(body, 0);
  Put32(body, 0);
  Put32(body, 0);
  return body;
}
std::string Wide(const std::wstring& text) {
  std::string bytes;
  for (wchar_t c : text) Put16(bytes, c);
  return bytes;
}

// The sheet every format must carry whole.
Sheet SampleSheet() {
  Sheet sheet;
  sheet.name = L"联系人";
  sheet.rows.push_back({L"姓名", L"电话", L"备注"});
  sheet.rows.push_back({L"张三", L"13800138000", L"第一行\n第二行"});
  sheet.rows.push_back({L"Tom & \"Jerry\" <x>", L"", L"after a gap"});
  sheet.rows.push_back({L" padded ", L"a\r\nb\tc", L"_x0041_ stays literal, \x0B vertical tab"});
  std::vector<std::wstring> wide;
  for (int c = 0; c < 30; ++c) wide.push_back(L"col" + std::to_wstring(c));
  sheet.rows.push_back(wide);
  std::wstring longCell;
  for (int i = 0; i < 10000; ++i) longCell += static_cast<wchar_t>(0x4E00 + i % 500);
  sheet.rows.push_back({L"long", longCell, std::wstring(9000, L'x')});
  for (int r = 0; r < 3000; ++r)
    sheet.rows.push_back({L"联系人" + std::to_wstring(r), std::to_wstring(13900000000LL + r), L"note " + std::to_wstring(r)});
  return sheet;
}

void ExpectSameRows(const Sheet& expected, const Sheet& actual) {
  ASSERT_EQ(expected.rows.size(), actual.rows.size());
  for (size_t r = 0; r < expected.rows.size(); ++r) EXPECT_EQ(expected.rows[r], actual.rows[r]) << "row " << r;
}

// ---- round trips ----

TEST(WorkbookRoundTrip, XlsxInBothStringStoragesKeepsEveryCell) {
  Sheet sheet = SampleSheet();
  for (StringStorage storage : {StringStorage::Shared, StringStorage::Inline}) {
    std::string bytes;
    std::wstring error;
    ASSERT_TRUE(WriteXlsx(sheet, bytes, error, storage)) << error;
    EXPECT_EQ(WorkbookKind::Xlsx, KindOfWorkbook(bytes));
    zip::Reader archive;
    ASSERT_TRUE(archive.Open(bytes, error)) << error;
    EXPECT_EQ(storage == StringStorage::Shared, archive.Has("xl/sharedStrings.xml"));
    std::string part;
    ASSERT_TRUE(archive.Extract("xl/worksheets/sheet1.xml", part, error));
    EXPECT_NE(std::string::npos, part.find("r=\"AD5\"")) << "columns past Z are AA..";
    std::string texts = part;
    if (storage == StringStorage::Shared) {
      ASSERT_TRUE(archive.Extract("xl/sharedStrings.xml", texts, error));
    }
    EXPECT_NE(std::string::npos, texts.find("_x000B_")) << "XML 1.0 cannot carry a vertical tab";
    Sheet read;
    ASSERT_TRUE(ReadWorkbook(bytes, read, error)) << error;
    EXPECT_EQ(L"联系人", read.name);
    ExpectSameRows(sheet, read);
  }
}

TEST(WorkbookRoundTrip, XlsKeepsEveryCellAndSplitsTheStringTableAsExcelDoes) {
  Sheet sheet = SampleSheet();
  std::string bytes;
  std::wstring error;
  ASSERT_TRUE(WriteXls(sheet, bytes, error)) << error;
  EXPECT_EQ(WorkbookKind::Xls, KindOfWorkbook(bytes));
  Sheet read;
  ASSERT_TRUE(ReadWorkbook(bytes, read, error)) << error;
  EXPECT_EQ(L"联系人", read.name);
  ExpectSameRows(sheet, read);

  // Every record within 8224 bytes; the string table continues, and a
  // CONTINUE that starts inside the long UTF-16 cell begins with its flags.
  std::string stream = UnpackCompound(bytes);
  int continues = 0, wideContinues = 0;
  for (size_t at = 0; at + 4 <= stream.size();) {
    uint16_t id = Get16(stream, at), size = Get16(stream, at + 2);
    EXPECT_LE(size, 8224);
    if (id == 0x003C) {
      ++continues;
      if (stream[at + 4] == 0x01 && Get16(stream, at + 5) >= 0x4E00 && Get16(stream, at + 5) < 0x4E00 + 500) ++wideContinues;
    }
    at += 4 + size;
  }
  EXPECT_GE(continues, 3);
  EXPECT_GE(wideContinues, 1);

  // Nothing but the workbook goes into the file: the directory holds the
  // root and the stream, its other entries are empty (no leftover memory).
  const size_t directory = 512 + 512 * size_t{Get32(bytes, 48)};
  ASSERT_LE(directory + 512, bytes.size());
  EXPECT_EQ(bytes[directory + 66], 5) << "root entry";
  EXPECT_EQ(bytes[directory + 128 + 66], 2) << "the Workbook stream";
  for (size_t entry = 2; entry < 4; ++entry)
    EXPECT_EQ(bytes.substr(directory + 128 * entry, 68), std::string(68, '\0')) << "entry " << entry;
  std::string again;
  ASSERT_TRUE(WriteXls(sheet, again, error)) << error;
  EXPECT_TRUE(again == bytes) << "the same sheet, the same bytes";
  Sheet small;
  small.rows = {{L"a"}};
  std::string first, second;
  ASSERT_TRUE(WriteXls(small, first, error) && WriteXls(small, second, error));
  EXPECT_TRUE(first == second);
  ASSERT_TRUE(ReadXls(first, read, error)) << error << " (a stream padded to the mini-stream cutoff)";
  EXPECT_EQ(read.rows, small.rows);

  // Texts over Excel's cell limit are cut to 32,767 characters; the sheet's size limit is refused.
  Sheet big;
  big.rows.push_back({std::wstring(40000, L'y')});
  ASSERT_TRUE(WriteXls(big, bytes, error)) << error;
  ASSERT_TRUE(ReadXls(bytes, read, error)) << error;
  EXPECT_EQ(32767u, read.rows.at(0).at(0).size());
  big.rows[0].resize(257, L"z");
  EXPECT_FALSE(WriteXls(big, bytes, error));
  EXPECT_NE(std::wstring::npos, error.find(L"256 columns"));
}

// ---- .xlsx as spreadsheet programs save it ----

TEST(WorkbookXlsxRead, ReadsPartsInTheFormSpreadsheetProgramsWrite) {
  const char* head = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
  const std::string main = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
  const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
  std::string types = std::string(head) + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>";
  std::string rootRels = std::string(head) +
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" Type=\"" + rel + "/officeDocument\" Target=\"book/main.xml\"/></Relationships>";
  std::string workbook = std::string(head) + "<workbook " + main + " xmlns:r=\"" + rel + "\"><sheets>" +
      "<sheet name=\"图表\" sheetId=\"2\" r:id=\"rId9\"/><sheet name=\"名单\" sheetId=\"1\" r:id=\"rId7\"/>"
      "</sheets></workbook>";
  std::string bookRels = std::string(head) +
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId9\" Type=\"" + rel + "/chartsheet\" Target=\"charts/c.xml\"/>"
      "<Relationship Id=\"rId7\" Type=\"" + rel + "/worksheet\" Target=\"/book/sheets/people.xml\"/>"
      "<Relationship Id=\"rId3\" Type=\"" + rel + "/sharedStrings\" Target=\"../book/strings.xml\"/></Relationships>";
  std::string strings = std::string(head) + "<sst " + main + " count=\"3\" uniqueCount=\"3\">" +
      "<si><r><rPr><b/><sz val=\"11\"/></rPr><t>张</t></r><r><t xml:space=\"preserve\"> 三</t></r>"
      "<rPh sb=\"0\" eb=\"1\"><t>ちょう</t></rPh></si>"
      "<si><t>line_x000D_\nnext &amp; more</t></si><si><t/></si></sst>";
  std::string cells = std::string(head) + "<worksheet " + main + "><sheetData>" +
      "<row r=\"1\" spans=\"1:3\"><c r=\"A1\" t=\"s\"><v>0</v></c>"
      "<c r=\"B1\" t=\"inlineStr\"><is><t xml:space=\"preserve\">inline &lt;x&gt;</t></is></c>"
      "<c r=\"C1\" s=\"1\"><v>13800138000</v></c></row>"
      "<row r=\"2\"><c r=\"A2\"><v>3.5</v></c><c r=\"B2\" t=\"n\"><v>1E+20</v></c>"
      "<c r=\"D2\" t=\"b\"><v>1</v></c><c r=\"E2\" t=\"str\"><f>A1&amp;\"x\"</f><v>张 三x</v></c>"
      "<c r=\"F2\" t=\"e\"><v>#DIV/0!</v></c><c r=\"G2\" s=\"3\"/></row>"
      "<row r=\"4\"><c r=\"AB4\" t=\"s\"><v>1</v></c><c r=\"AC4\"><v>0.10000000000000001</v></c>"
      "<c r=\"AD4\"><v>-7</v></c><c r=\"AE4\"><v>1.5E-7</v></c><c r=\"AF4\" t=\"b\"><v>0</v></c></row>"
      "</sheetData></worksheet>";
  zip::Writer writer;
  std::wstring error;
  std::string bytes;
  ASSERT_TRUE(writer.Add("[Content_Types].xml", types, false, error));
  ASSERT_TRUE(writer.Add("_rels/.rels", rootRels, true, error));
  ASSERT_TRUE(writer.Add("book/main.xml", workbook, true, error));
  ASSERT_TRUE(writer.Add("book/_rels/main.xml.rels", bookRels, false, error));
  ASSERT_TRUE(writer.Add("book/strings.xml", strings, true, error));
  ASSERT_TRUE(writer.Add("book/sheets/people.xml", cells, true, error));
  ASSERT_TRUE(writer.Finish(bytes, error));

  Sheet sheet;
  ASSERT_TRUE(ReadXlsx(bytes, sheet, error)) << error;
  EXPECT_EQ(L"名单", sheet.name);
  std::vector<std::wstring> row4(32);
  row4[27] = L"line\r\nnext & more";
  row4[28] = L"0.1";
  row4[29] = L"-7";
  row4[30] = L"1.5E-07";
  row4[31] = L"FALSE";
  Sheet expected;
  expected.rows = {{L"张 三", L"inline <x>", L"13800138000"},
                   {L"3.5", L"1E+20", L"", L"TRUE", L"张 三x", L"#DIV/0!"},
                   {},
                   row4};
  ExpectSameRows(expected, sheet);

  // A cell pointing past the shared strings is an error, not an empty cell.
  std::string bad = cells;
  bad.replace(bad.find("<v>1</v></c><c r=\"AC4\""), 8, "<v>9</v>");
  zip::Writer again;
  again.Add("_rels/.rels", rootRels, false, error);
  again.Add("book/main.xml", workbook, false, error);
  again.Add("book/_rels/main.xml.rels", bookRels, false, error);
  again.Add("book/strings.xml", strings, false, error);
  again.Add("book/sheets/people.xml", bad, false, error);
  again.Finish(bytes, error);
  EXPECT_FALSE(ReadXlsx(bytes, sheet, error));
  EXPECT_NE(std::wstring::npos, error.find(L"shared string 9"));
}

// ---- .xls as Excel writes it ----

std::string HandBuiltXls(bool encrypted, uint16_t version = 0x0600) {
  std::string globals, body;
  Rec(globals, 0x0809, Bof(version, 0x0005));
  if (encrypted) Rec(globals, 0x002F, std::string(54, '\x01'));
  body.clear();
  Put32(body, 0);  // patched below
  Put16(body, 0);
  body += '\x05';
  body += '\x00';
  body += "Sheet";
  size_t offsetAt = globals.size() + 4;
  Rec(globals, 0x0085, body);
  // SST: a compressed string, then a UTF-16 one with rich-text runs and phonetic data.
  body.clear();
  Put32(body, 2);
  Put32(body, 2);
  Put16(body, 4);
  body += '\x00';
  body += "Name";
  Put16(body, 2);
  body += '\x0D';  // UTF-16, phonetic, rich text
  Put16(body, 1);  // one run
  Put32(body, 6);  // phonetic bytes
  body += Wide(L"李四");
  Put32(body, 0x00050000);  // the run
  body += std::string(6, '\x07');
  Rec(globals, 0x00FC, body);
  Rec(globals, 0x000A, "");
  uint32_t sheetAt = static_cast<uint32_t>(globals.size());
  for (int i = 0; i < 4; ++i) globals[offsetAt + i] = static_cast<char>(sheetAt >> (8 * i));

  std::string sheet;
  Rec(sheet, 0x0809, Bof(0x0600, 0x0010));
  Rec(sheet, 0x00FD, Cell(0, 0) + std::string("\x00\x00\x00\x00", 4));
  body = Cell(0, 1);
  Put16(body, 3);
  body += '\x01';
  body += Wide(L"电话号");
  Rec(sheet, 0x0204, body);  // LABEL
  Rec(sheet, 0x00FD, Cell(1, 0) + std::string("\x01\x00\x00\x00", 4));
  Rec(sheet, 0x0203, Cell(1, 1) + Double(13800138000.0));  // NUMBER
  body = Cell(1, 2);
  Put32(body, 42u << 2 | 2);  // RK integer
  Rec(sheet, 0x027E, body);
  body = Cell(1, 3);
  Put32(body, 350u << 2 | 3);  // RK integer / 100
  Rec(sheet, 0x027E, body);
  body.clear();  // MULRK: 1.5 as the top of a double, -12, then 0.25 times 100 read back /100
  Put16(body, 2);
  Put16(body, 1);
  Put16(body, 15);
  Put32(body, 0x3FF80000);
  Put16(body, 15);
  Put32(body, static_cast<uint32_t>(-12) << 2 | 2);
  Put16(body, 15);
  Put32(body, 25u << 2 | 3);
  Put16(body, 3);
  Rec(sheet, 0x00BD, body);
  body = Cell(2, 5);
  body += '\x01';
  body += '\x00';
  Rec(sheet, 0x0205, body);  // BOOLERR TRUE
  body = Cell(2, 6);
  body += std::string("\x00\x00\x00\x00\x00\x00\xFF\xFF", 8);
  body += std::string(6, '\0');
  Rec(sheet, 0x0006, body);  // FORMULA with a text result
  body.clear();
  Put16(body, 2);
  body += '\x00';
  body += "ok";
  Rec(sheet, 0x0207, body);  // STRING
  Rec(sheet, 0x000A, "");
  return PackCompound(globals + sheet);
}

TEST(WorkbookXlsRead, ReadsNumberTextAndFormulaCellsOfBiff8) {
  std::string bytes = HandBuiltXls(false);
  Sheet sheet;
  std::wstring error;
  ASSERT_TRUE(ReadWorkbook(bytes, sheet, error)) << error;
  EXPECT_EQ(L"Sheet", sheet.name);
  Sheet expected;
  expected.rows = {{L"Name", L"电话号"},
                   {L"李四", L"13800138000", L"42", L"3.5"},
                   {L"", L"1.5", L"-12", L"0.25", L"", L"TRUE", L"ok"}};
  ExpectSameRows(expected, sheet);

  EXPECT_FALSE(ReadXls(HandBuiltXls(true), sheet, error));
  EXPECT_NE(std::wstring::npos, error.find(L"password")) << error;
  EXPECT_FALSE(ReadXls(HandBuiltXls(false, 0x0500), sheet, error));
  EXPECT_NE(std::wstring::npos, error.find(L"not supported")) << error;
  EXPECT_FALSE(ReadXls(PackCompound("\x09\x08\x08\x00\x00\x05\x05\x00\x00\x00\x00\x00", L"Book"), sheet, error));
  EXPECT_NE(std::wstring::npos, error.find(L"BIFF5")) << error;
}

// ---- damaged input ----

void ExpectRefused(std::string_view bytes, const wchar_t* words, const char* what) {
  Sheet sheet;
  sheet.rows = {{L"kept"}};
  std::wstring error;
  EXPECT_FALSE(ReadWorkbook(bytes, sheet, error)) << what;
  EXPECT_NE(std::wstring::npos, error.find(words)) << what << ": " << ToUtf8(error);
  EXPECT_EQ(1u, sheet.rows.size()) << what << ": a failed read leaves the sheet alone";
}

TEST(WorkbookDamage, DamagedFilesAreRefusedWithAReason) {
  Sheet sheet = SampleSheet();
  std::string xlsx, stored, xls;
  std::wstring error;
  ASSERT_TRUE(WriteXlsx(sheet, xlsx, error));
  ASSERT_TRUE(WriteXls(sheet, xls, error));
  zip::Writer writer;
  writer.Add("_rels/.rels", "<Relationships/>", false, error);
  writer.Add("xl/workbook.xml", "<workbook><sheets><sheet name=\"a\" r:id=\"x\"", false, error);
  writer.Finish(stored, error);

  ExpectRefused(xlsx.substr(0, xlsx.size() - 30), L"truncated", "zip without its end");
  ExpectRefused(xlsx.substr(0, xlsx.size() / 2) + xlsx.substr(xlsx.size() - 200), L"damaged", "zip cut in the middle");
  std::string flipped = stored;
  flipped[flipped.find("<Relationships/>") + 3] ^= 0x20;
  ExpectRefused(flipped, L"CRC", "stored entry with a changed byte");
  ExpectRefused(stored, L"XML", "broken XML");

  // The central directory claims a huge or impossible entry: refused before any allocation.
  size_t entry = xlsx.find("xl/worksheets/sheet1.xml", Get32(xlsx, xlsx.size() - 6)) - 46;
  std::string bomb = xlsx;
  for (uint32_t claim : {0xFFFFFFF0u, 200u << 20}) {
    for (int i = 0; i < 4; ++i) bomb[entry + 24 + i] = static_cast<char>(claim >> (8 * i));
    ExpectRefused(bomb, L"impossible size", "size claim");
  }

  ExpectRefused(xls.substr(0, xls.size() / 2), L".xls", "compound file cut in half");
  ExpectRefused(xls.substr(0, 1000), L".xls", "compound file header only");
  std::string noise(5000, '\0');
  srand(7);
  for (char& c : noise) c = static_cast<char>(rand());
  ExpectRefused(noise, L"not a workbook", "random bytes");
  ExpectRefused(std::string("PK\x03\x04", 4) + noise, L"zip", "random bytes after a zip signature");
  ExpectRefused(std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + noise, L".xls", "random compound file");
  ExpectRefused("", L"empty", "empty file");
  // A BIFF record running past the stream's end.
  std::string stream = UnpackCompound(xls);
  ExpectRefused(PackCompound(stream.substr(0, stream.size() - 3)), L"damaged", "cut Workbook stream");
}

}  // namespace
}  // namespace files
