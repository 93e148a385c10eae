#include "contact/PortDialogs.h"

#include <commdlg.h>

#include "controls/ResText.h"
#include "frame/suite/BaseLibrary.h"

namespace port {
namespace {

// The dialog ended without a file: the user's choice, or a failure worth a
// line in the error log.
bool Cancelled() {
  if (DWORD error = ::CommDlgExtendedError()) LOG::E(PIM_ERROR_LOG, "The file dialog failed: error 0x%lx", error);
  return false;
}

}  // namespace

bool ExcelInstalled() {
  HKEY excel = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Office\\Excel", 0, KEY_READ, &excel) != ERROR_SUCCESS)
    return false;
  ::RegCloseKey(excel);
  return true;
}

bool AskFile(HWND owner, FileKind kind, bool import, std::wstring& path) {
  // Pairs of label and pattern, each ended by a null, the list by another.
  static const wchar_t kXmlFilter[] = L"Import Files (*.xml)\0*.xml\0";
  static const wchar_t kXmlExportFilter[] = L"Export Files (*.xml)\0*.xml\0";
  static const wchar_t kExcelFilter[] = L"Export Files (*.xls)\0*.xls\0Export Files (*.xlsx)\0*.xlsx\0";
  const std::wstring& start = UniPath::GetExportPath();
  wchar_t file[MAX_PATH] = {};
  std::wstring title = qs::ResText(import ? L"common.open" : L"common.resave");
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kind == FileKind::kExcel ? kExcelFilter : import ? kXmlFilter : kXmlExportFilter;
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrInitialDir = start.c_str();
  dialog.lpstrTitle = title.c_str();
  if (import) {
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!::GetOpenFileNameW(&dialog)) return Cancelled();
  } else {
    dialog.lpstrDefExt = kind == FileKind::kExcel ? L"xlsx" : L"xml";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_CREATEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!::GetSaveFileNameW(&dialog)) return Cancelled();
  }
  path = file;
  return true;
}

}  // namespace port
