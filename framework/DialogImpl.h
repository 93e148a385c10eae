// Dialogs made from a dialog template of a module, modeless (Create) or modal
// (DoModal). The derived class names its template with `enum { IDD = ... };`
// and handles messages in its message map like any window; a message left
// unhandled gets the dialog manager's default processing.
#pragma once
#include <windows.h>

#include "Module.h"
#include "WindowImpl.h"

namespace wf {

// The object that the next dialog created on this thread binds to: a dialog
// receives messages (WM_SETFONT, WM_INITDIALOG...) before its creation call
// returns, so the object is handed over through the creating thread.
void*& PendingDialogObject();

template <class TBase = CWindow>
class CDialogImplBaseT : public CWindowImplBaseT<TBase> {
 protected:
  static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CDialogImplBaseT*>(::GetWindowLongPtrW(hWnd, DWLP_USER));
    if (!self) {
      void*& pending = PendingDialogObject();
      if (!pending) return FALSE;
      self = static_cast<CDialogImplBaseT*>(pending);
      pending = nullptr;
      ::SetWindowLongPtrW(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
      self->m_hWnd = hWnd;
      self->m_binding = CWindowImplBaseT<TBase>::Binding::Dialog;
    }
    return self->RouteDialogMessage(hWnd, uMsg, wParam, lParam);
  }

  INT_PTR RouteDialogMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    MSG msg{hWnd, uMsg, wParam, lParam, 0, {0, 0}};
    const MSG* outer = this->m_pCurrentMsg;
    this->m_pCurrentMsg = &msg;
    LRESULT lResult = 0;
    BOOL handled = FALSE;
    try {
      handled = this->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0);
    } catch (const std::exception& e) {
      ReportStrayException("dialog procedure", e.what());
    } catch (...) {
      ReportStrayException("dialog procedure", "unknown exception");
    }
    this->m_pCurrentMsg = outer;
    if (uMsg == WM_NCDESTROY) this->m_destroyed = true;
    if (this->m_destroyed && outer == nullptr) {
      // Nothing of the dialog may be touched after this: the object may be gone.
      this->FinishDestroyed(hWnd);
      return handled ? TRUE : FALSE;
    }
    if (!handled) return FALSE;
    switch (uMsg) {
      // These answer through the procedure's own result.
      case WM_COMPAREITEM:
      case WM_VKEYTOITEM:
      case WM_CHARTOITEM:
      case WM_INITDIALOG:
      case WM_QUERYDRAGICON:
      case WM_CTLCOLORMSGBOX:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX:
      case WM_CTLCOLORBTN:
      case WM_CTLCOLORDLG:
      case WM_CTLCOLORSCROLLBAR:
      case WM_CTLCOLORSTATIC:
        return static_cast<INT_PTR>(lResult);
      default:
        ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, lResult);
        return TRUE;
    }
  }
};

template <class T, class TBase = CWindow>
class CDialogImpl : public CDialogImplBaseT<TBase> {
 public:
  // Modeless: creates the dialog from template T::IDD of `module` as a child
  // or owned window of `parent`. WM_INITDIALOG runs inside this call.
  HWND Create(HWND parent, LPARAM initParam = 0, HINSTANCE module = GetResourceInstance()) {
    if (this->m_hWnd) return nullptr;
    PendingDialogObject() = static_cast<CDialogImplBaseT<TBase>*>(this);
    HWND hWnd = ::CreateDialogParamW(module, MAKEINTRESOURCEW(T::IDD), parent,
                                     &CDialogImplBaseT<TBase>::DialogProc, initParam);
    PendingDialogObject() = nullptr;
    return hWnd;
  }

  // Modal: runs the dialog's own message loop until EndDialog.
  INT_PTR DoModal(HWND parent = ::GetActiveWindow(), LPARAM initParam = 0,
                  HINSTANCE module = GetResourceInstance()) {
    if (this->m_hWnd) return -1;
    PendingDialogObject() = static_cast<CDialogImplBaseT<TBase>*>(this);
    INT_PTR result = ::DialogBoxParamW(module, MAKEINTRESOURCEW(T::IDD), parent,
                                       &CDialogImplBaseT<TBase>::DialogProc, initParam);
    PendingDialogObject() = nullptr;
    return result;
  }

  BOOL EndDialog(INT_PTR result) { return ::EndDialog(this->m_hWnd, result); }
};

}  // namespace wf
