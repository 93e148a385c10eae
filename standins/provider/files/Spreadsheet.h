// Workbooks of one sheet: Office Open XML (.xlsx, a zip of XML parts, deflated
// with zlib) and binary Excel 97-2003 (.xls, BIFF8 records in an OLE compound
// file made with the platform's structured storage).
#pragma once
#include <string>
#include <string_view>

#include "Sheet.h"

namespace files {

enum class WorkbookKind { Unknown, Xlsx, Xls };
// Told by the file's first bytes, not its name.
WorkbookKind KindOfWorkbook(std::string_view bytes);

// Shared strings are what spreadsheet programs write; inline strings are
// what some other writers do. The reader takes both.
enum class StringStorage { Shared, Inline };
bool WriteXlsx(const Sheet& sheet, std::string& bytes, std::wstring& error,
               StringStorage strings = StringStorage::Shared);
bool WriteXls(const Sheet& sheet, std::string& bytes, std::wstring& error);

// The first sheet of the workbook. False with a readable reason.
bool ReadXlsx(std::string_view bytes, Sheet& sheet, std::wstring& error);
bool ReadXls(std::string_view bytes, Sheet& sheet, std::wstring& error);
bool ReadWorkbook(std::string_view bytes, Sheet& sheet, std::wstring& error);

}  // namespace files
