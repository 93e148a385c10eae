#include "ToastWindow.h"

#include "framework/Gdi.h"

namespace shell {
namespace {
constexpr UINT_PTR kHideTimer = 1;
constexpr UINT kShownFor = 5000;
constexpr int kWidth = 300, kMargin = 12;
}  // namespace

void CToastWindow::Show(HWND owner, const std::wstring& title, const std::wstring& text) {
  m_title = title;
  m_text = text;
  if (!m_hWnd) {
    Create(owner, RECT{0, 0, kWidth, 80}, L"", WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE);
    if (!m_hWnd) return;
  }
  // Height to fit the text.
  RECT measure{0, 0, kWidth - 2 * kMargin, 0};
  {
    wf::ClientDC dc(m_hWnd);
    wf::ScopedSelect font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::DrawTextW(dc, m_text.c_str(), -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  }
  int height = kMargin + 18 + measure.bottom + kMargin;
  RECT area{};
  ::GetWindowRect(owner, &area);
  SetWindowPos(HWND_TOPMOST, area.right - kWidth - 16, area.bottom - height - 40, kWidth, height,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  Invalidate();
  SetTimer(kHideTimer, kShownFor);
}

void CToastWindow::Draw(HDC dc, const RECT& rc) const {
  wf::ScopedBrush background(::CreateSolidBrush(RGB(0xFF, 0xFF, 0xFF)));
  ::FillRect(dc, &rc, background);
  RECT band{rc.left, rc.top, rc.left + 4, rc.bottom};
  wf::ScopedBrush accent(::CreateSolidBrush(RGB(0x2B, 0x7B, 0xD6)));
  ::FillRect(dc, &band, accent);
  ::SetBkMode(dc, TRANSPARENT);
  wf::ScopedSelect font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  RECT titleRect{rc.left + kMargin, rc.top + kMargin - 4, rc.right - kMargin, rc.top + kMargin + 14};
  ::SetTextColor(dc, RGB(0x2B, 0x7B, 0xD6));
  ::DrawTextW(dc, m_title.c_str(), -1, &titleRect, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  RECT textRect{rc.left + kMargin, rc.top + kMargin + 18, rc.right - kMargin, rc.bottom - kMargin / 2};
  ::SetTextColor(dc, RGB(0x1F, 0x3A, 0x5F));
  ::DrawTextW(dc, m_text.c_str(), -1, &textRect, DT_WORDBREAK | DT_NOPREFIX);
}

LRESULT CToastWindow::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  wf::PaintDC dc(m_hWnd);
  Draw(dc, GetClientRect());
  return 0;
}

LRESULT CToastWindow::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
  Draw(reinterpret_cast<HDC>(wParam), GetClientRect());
  return 0;
}

LRESULT CToastWindow::OnTimer(UINT, WPARAM, LPARAM, BOOL&) {
  KillTimer(kHideTimer);
  ShowWindow(SW_HIDE);
  return 0;
}

LRESULT CToastWindow::OnClick(UINT, WPARAM, LPARAM, BOOL&) {
  KillTimer(kHideTimer);
  ShowWindow(SW_HIDE);
  return 0;
}

}  // namespace shell
