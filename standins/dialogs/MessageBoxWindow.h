// The suite's message box: the text, and OK (notice) or OK and Cancel
// (confirmation), sized to fit the text.
#pragma once
#include <string>

#include "JorvHelperIds.h"
#include "framework/DialogImpl.h"
#include "framework/Gdi.h"

namespace jorv {

class CMessageBoxWindow : public wf::CDialogImpl<CMessageBoxWindow> {
 public:
  enum { IDD = IDD_JORV_MESSAGEBOX };

  CMessageBoxWindow(std::wstring text, std::wstring caption, bool confirm)
      : m_text(std::move(text)), m_caption(std::move(caption)), m_confirm(confirm) {}

  BEGIN_MSG_MAP(CMessageBoxWindow)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_CTLCOLORDLG, OnCtlColor)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColor)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCtlColor(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnOK(WORD, WORD, HWND, BOOL&) { EndDialog(1); return 0; }
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&) { EndDialog(m_confirm ? 0 : 1); return 0; }

  std::wstring m_text;
  std::wstring m_caption;
  bool m_confirm;
  wf::ScopedBrush m_background;
};

}  // namespace jorv
