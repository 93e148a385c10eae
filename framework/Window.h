// CWindow: a thin, copyable wrapper of a window handle.
//
// It owns nothing: copying it copies the handle, destroying it leaves the
// window alone. Only the calls that the product uses are wrapped; anything
// else is one ::Call(m_hWnd, ...) away.
#pragma once
#include <windows.h>

#include <string>

namespace wf {

// The point packed into a mouse message's lParam (signed: multi-monitor
// coordinates may be negative). windowsx.h is not used: its macros clash with
// the framework's names (SubclassWindow).
inline POINT PointFromLParam(LPARAM lParam) {
  return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

class CWindow {
 public:
  HWND m_hWnd = nullptr;

  CWindow(HWND hWnd = nullptr) : m_hWnd(hWnd) {}
  CWindow& operator=(HWND hWnd) { m_hWnd = hWnd; return *this; }
  operator HWND() const { return m_hWnd; }

  void Attach(HWND hWnd) { m_hWnd = hWnd; }
  HWND Detach() { HWND h = m_hWnd; m_hWnd = nullptr; return h; }
  BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }

  // Identity and family.
  HWND GetParent() const { return ::GetParent(m_hWnd); }
  HWND SetParent(HWND parent) { return ::SetParent(m_hWnd, parent); }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  std::wstring GetClassName() const {
    wchar_t name[256] = {};
    ::GetClassNameW(m_hWnd, name, 256);
    return name;
  }

  // Style.
  DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
  DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0) {
    return Modify(GWL_STYLE, remove, add, swpFlags);
  }
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0) {
    return Modify(GWL_EXSTYLE, remove, add, swpFlags);
  }

  // Text.
  BOOL SetWindowText(const std::wstring& text) { return ::SetWindowTextW(m_hWnd, text.c_str()); }
  std::wstring GetWindowText(int maxChars = -1) const {
    int length = ::GetWindowTextLengthW(m_hWnd);
    if (maxChars >= 0 && length > maxChars) length = maxChars;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int got = ::GetWindowTextW(m_hWnd, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
  }
  void SetFont(HFONT font, BOOL redraw = TRUE) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(redraw, 0));
  }
  HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }

  // Geometry.
  RECT GetClientRect() const { RECT rc{}; ::GetClientRect(m_hWnd, &rc); return rc; }
  RECT GetWindowRect() const { RECT rc{}; ::GetWindowRect(m_hWnd, &rc); return rc; }
  // The window's rectangle in its parent's client coordinates.
  RECT GetRectInParent() const {
    RECT rc = GetWindowRect();
    ::MapWindowPoints(HWND_DESKTOP, GetParent(), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }
  BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) {
    return ::MoveWindow(m_hWnd, x, y, width, height, repaint);
  }
  BOOL MoveWindow(const RECT& rc, BOOL repaint = TRUE) {
    return MoveWindow(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, repaint);
  }
  BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
  }
  BOOL ScreenToClient(POINT* pt) const { return ::ScreenToClient(m_hWnd, pt); }
  BOOL ClientToScreen(POINT* pt) const { return ::ClientToScreen(m_hWnd, pt); }

  // State.
  BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  HWND SetFocus() { return ::SetFocus(m_hWnd); }
  BOOL DestroyWindow() { return ::DestroyWindow(m_hWnd); }

  // Painting.
  BOOL Invalidate(BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, nullptr, erase); }
  BOOL InvalidateRect(const RECT& rc, BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, &rc, erase); }
  BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }
  void SetRedraw(BOOL redraw) { SendMessage(WM_SETREDRAW, redraw); }

  // Messages and timers.
  LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, msg, wParam, lParam);
  }
  BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageW(m_hWnd, msg, wParam, lParam);
  }
  LRESULT SendDlgItemMessage(int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendDlgItemMessageW(m_hWnd, id, msg, wParam, lParam);
  }
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
  BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

  // Properties.
  BOOL SetProp(LPCWSTR name, HANDLE value) { return ::SetPropW(m_hWnd, name, value); }
  HANDLE GetProp(LPCWSTR name) const { return ::GetPropW(m_hWnd, name); }

 private:
  BOOL Modify(int index, DWORD remove, DWORD add, UINT swpFlags) {
    DWORD old = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, index));
    DWORD now = (old & ~remove) | add;
    if (now == old) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, index, static_cast<LONG_PTR>(now));
    if (swpFlags)
      ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
  }
};

}  // namespace wf
