// What the contacts and messages modules share before an import or export:
// whether a spreadsheet program is installed, and the file to read or write,
// asked with the platform's open and save dialogs in the export folder.
#pragma once
#include <windows.h>

#include <string>

namespace port {

// The machine's registration of the spreadsheet program.
bool ExcelInstalled();

enum class FileKind { kXml, kExcel };

// Asks for a file: to read (open dialog, titled "common.open") or to write
// (save dialog, "common.resave", asking before it overwrites); false when the
// user cancelled.
bool AskFile(HWND owner, FileKind kind, bool import, std::wstring& path);

}  // namespace port
