#include "MessageMap.h"

namespace wf {

BOOL ReflectNotifications(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
  HWND child = nullptr;
  switch (uMsg) {
    case WM_COMMAND:
      child = reinterpret_cast<HWND>(lParam);  // null for menus and accelerators
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<LPNMHDR>(lParam)->hwndFrom;
      break;
    case WM_DRAWITEM:
      if (wParam) child = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)->hwndItem;
      break;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      child = reinterpret_cast<HWND>(lParam);
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      child = reinterpret_cast<HWND>(lParam);
      break;
    default:
      return FALSE;
  }
  if (!child || !::IsWindow(child)) return FALSE;
  lResult = ::SendMessageW(child, OCM__BASE + uMsg, wParam, lParam);
  return TRUE;
}

}  // namespace wf
