// CWinDataExchange<T>: moves values between a dialog's controls and the
// dialog object's members, and binds member control objects to the controls
// of the template (subclassing them by identifier).
//
//   BEGIN_DDX_MAP(CMyDlg)
//     DDX_CONTROL(IDC_LIST, m_list)      // m_list: a CWindowImpl-based object
//     DDX_TEXT_LEN(IDC_NAME, m_name, 32) // std::wstring
//     DDX_INT(IDC_COUNT, m_count)
//     DDX_CHECK(IDC_FLAG, m_flag)        // bool or int
//   END_DDX_MAP()
//
// DoDataExchange(false) fills the controls, DoDataExchange(true) reads them
// back and answers false (after OnDataExchangeError) when a value is invalid.
#pragma once
#include <windows.h>

#include <cwchar>
#include <string>

namespace wf {

enum DdxError { DdxNotANumber = 1, DdxTooLong = 2 };

#define BEGIN_DDX_MAP(thisClass)                                                  \
  bool DoDataExchange(bool bSaveAndValidate = false, UINT nCtlID = (UINT)-1) {   \
    (void)bSaveAndValidate;                                                      \
    (void)nCtlID;

#define DDX_ENTRY_(nID, call)                          \
  if (nCtlID == (UINT)-1 || nCtlID == (UINT)(nID)) {   \
    if (!(call)) return false;                         \
  }

#define DDX_CONTROL(nID, obj) DDX_ENTRY_(nID, this->DDX_Control(nID, obj, bSaveAndValidate))
#define DDX_TEXT(nID, var) DDX_ENTRY_(nID, this->DDX_Text(nID, var, bSaveAndValidate, 0))
#define DDX_TEXT_LEN(nID, var, len) DDX_ENTRY_(nID, this->DDX_Text(nID, var, bSaveAndValidate, len))
#define DDX_INT(nID, var) DDX_ENTRY_(nID, this->DDX_Int(nID, var, bSaveAndValidate))
#define DDX_CHECK(nID, var) DDX_ENTRY_(nID, this->DDX_Check(nID, var, bSaveAndValidate))

#define END_DDX_MAP() \
  return true;        \
  }

template <class T>
class CWinDataExchange {
 public:
  // Called when a value read back is invalid; the default focuses the control.
  void OnDataExchangeError(UINT nCtlID, DdxError /*error*/) {
    HWND control = ::GetDlgItem(Dialog(), static_cast<int>(nCtlID));
    if (control) ::SetFocus(control);
    ::MessageBeep(MB_ICONEXCLAMATION);
  }

  template <class TControl>
  bool DDX_Control(UINT nID, TControl& control, bool /*save*/) {
    if (control.m_hWnd) return true;  // bound already
    return control.SubclassWindow(::GetDlgItem(Dialog(), static_cast<int>(nID))) != FALSE;
  }

  bool DDX_Text(UINT nID, std::wstring& value, bool save, int maxLength) {
    HWND control = ::GetDlgItem(Dialog(), static_cast<int>(nID));
    if (!save) {
      if (maxLength > 0) ::SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(maxLength), 0);
      return ::SetWindowTextW(control, value.c_str()) != FALSE;
    }
    int length = ::GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(control, text.data(), length + 1)));
    if (maxLength > 0 && static_cast<int>(text.size()) > maxLength) {
      static_cast<T*>(this)->OnDataExchangeError(nID, DdxTooLong);
      return false;
    }
    value = std::move(text);
    return true;
  }

  bool DDX_Int(UINT nID, int& value, bool save) {
    if (!save) return ::SetDlgItemInt(Dialog(), static_cast<int>(nID), static_cast<UINT>(value), TRUE) != FALSE;
    BOOL ok = FALSE;
    int read = static_cast<int>(::GetDlgItemInt(Dialog(), static_cast<int>(nID), &ok, TRUE));
    if (!ok) {
      static_cast<T*>(this)->OnDataExchangeError(nID, DdxNotANumber);
      return false;
    }
    value = read;
    return true;
  }

  bool DDX_Check(UINT nID, int& value, bool save) {
    if (!save) return ::CheckDlgButton(Dialog(), static_cast<int>(nID), static_cast<UINT>(value)) != FALSE;
    value = static_cast<int>(::IsDlgButtonChecked(Dialog(), static_cast<int>(nID)));
    return true;
  }
  bool DDX_Check(UINT nID, bool& value, bool save) {
    int state = value ? BST_CHECKED : BST_UNCHECKED;
    if (!DDX_Check(nID, state, save)) return false;
    if (save) value = state == BST_CHECKED;
    return true;
  }

 private:
  HWND Dialog() { return static_cast<T*>(this)->m_hWnd; }
};

}  // namespace wf
