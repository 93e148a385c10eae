// The host's tray tip: a small notice in the bottom-right corner of the host
// window that goes away by itself after a few seconds (or on a click).
#pragma once
#include <string>

#include "framework/WindowImpl.h"

namespace shell {

class CToastWindow : public wf::CWindowImpl<CToastWindow> {
 public:
  DECLARE_WND_CLASS_EX(L"TamixShellToast", CS_HREDRAW | CS_VREDRAW, COLOR_INFOBK)

  // Shows `text` under `title` over the bottom-right corner of `owner`,
  // replacing a notice shown before.
  void Show(HWND owner, const std::wstring& title, const std::wstring& text);
  const std::wstring& text() const { return m_text; }
  void Draw(HDC dc, const RECT& rc) const;

  BEGIN_MSG_MAP(CToastWindow)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnClick)
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnClick(UINT, WPARAM, LPARAM, BOOL&);

  std::wstring m_title;
  std::wstring m_text;
};

}  // namespace shell
