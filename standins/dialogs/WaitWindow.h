// The wait animation: a small popup over its owner with a turning ring of
// dots and a text, until it is hidden.
#pragma once
#include <string>

#include "framework/WindowImpl.h"

namespace jorv {

class CWaitWindow : public wf::CWindowImpl<CWaitWindow> {
 public:
  DECLARE_WND_CLASS_EX(L"JorvWaitDynamic", CS_HREDRAW | CS_VREDRAW, COLOR_WINDOW)

  // Creates the popup centred over `owner` (or the screen) and shows it.
  static CWaitWindow* Show(HWND owner, const std::wstring& text);
  // Answers whether `handle` is a wait window still shown.
  static bool IsOpen(HANDLE handle);

  // Draws one frame of the animation (step 0..11) into `dc`.
  void Draw(HDC dc, const RECT& rc) const;

  BEGIN_MSG_MAP(CWaitWindow)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
  END_MSG_MAP()

 private:
  explicit CWaitWindow(std::wstring text) : m_text(std::move(text)) {}
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
  void OnFinalMessage(HWND) override;

  std::wstring m_text;
  int m_step = 0;
};

}  // namespace jorv
