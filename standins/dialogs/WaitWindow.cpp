#include "WaitWindow.h"

#include "framework/GdiPlus.h"

#include <cmath>
#include <mutex>
#include <set>

#include "Automation.h"
#include "framework/Gdi.h"

namespace jorv {
namespace {
constexpr UINT_PTR kAnimationTimer = 1;
constexpr int kWidth = 240, kHeight = 96, kDots = 12;
std::mutex g_openMutex;
std::set<HWND> g_open;
}  // namespace

CWaitWindow* CWaitWindow::Show(HWND owner, const std::wstring& text) {
  auto* window = new CWaitWindow(text);
  RECT area{};
  HWND top = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
  if (owner && ::IsWindowVisible(owner)) ::GetWindowRect(owner, &area);
  else ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  RECT rc{area.left + (area.right - area.left - kWidth) / 2, area.top + (area.bottom - area.top - kHeight) / 2, 0, 0};
  rc.right = rc.left + kWidth;
  rc.bottom = rc.top + kHeight;
  if (!window->Create(top, rc, text.c_str(), WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW | WS_EX_TOPMOST)) {
    delete window;
    return nullptr;
  }
  {
    std::lock_guard<std::mutex> lock(g_openMutex);
    g_open.insert(window->m_hWnd);
  }
  WaitOpened();
  window->SetTimer(kAnimationTimer, 80);
  window->ShowWindow(SW_SHOWNOACTIVATE);
  window->UpdateWindow();
  return window;
}

bool CWaitWindow::IsOpen(HANDLE handle) {
  std::lock_guard<std::mutex> lock(g_openMutex);
  return g_open.count(static_cast<HWND>(handle)) != 0;
}

void CWaitWindow::Draw(HDC dc, const RECT& rc) const {
  Gdiplus::Graphics g(dc);
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::SolidBrush background(Gdiplus::Color(255, 0xF4, 0xF8, 0xFD));
  g.FillRectangle(&background, static_cast<INT>(rc.left), static_cast<INT>(rc.top),
                  static_cast<INT>(rc.right - rc.left), static_cast<INT>(rc.bottom - rc.top));
  // Ring of dots; the head is the darkest and the tail fades out.
  const float cx = rc.left + 34.0f, cy = (rc.top + rc.bottom) / 2.0f, radius = 14.0f;
  for (int i = 0; i < kDots; ++i) {
    int age = (m_step - i + kDots) % kDots;
    BYTE alpha = static_cast<BYTE>(255 - age * 18);
    Gdiplus::SolidBrush dot(Gdiplus::Color(alpha, 0x2B, 0x7B, 0xD6));
    float angle = 6.2831853f * i / kDots;
    g.FillEllipse(&dot, cx + radius * std::cos(angle) - 3.0f, cy + radius * std::sin(angle) - 3.0f, 6.0f, 6.0f);
  }
  RECT textRect{rc.left + 62, rc.top, rc.right - 10, rc.bottom};
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(0x1F, 0x3A, 0x5F));
  wf::ScopedSelect font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  ::DrawTextW(dc, m_text.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

LRESULT CWaitWindow::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  wf::PaintDC dc(m_hWnd);
  RECT rc = GetClientRect();
  wf::MemoryCanvas buffer(dc, rc.right, rc.bottom);
  Draw(buffer, rc);
  ::BitBlt(dc, 0, 0, rc.right, rc.bottom, buffer, 0, 0, SRCCOPY);
  return 0;
}

LRESULT CWaitWindow::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
  Draw(reinterpret_cast<HDC>(wParam), GetClientRect());
  return 0;
}

LRESULT CWaitWindow::OnTimer(UINT, WPARAM, LPARAM, BOOL&) {
  m_step = (m_step + 1) % kDots;
  Invalidate(FALSE);
  return 0;
}

void CWaitWindow::OnFinalMessage(HWND hWnd) {
  {
    std::lock_guard<std::mutex> lock(g_openMutex);
    g_open.erase(hWnd);
  }
  WaitClosed();
  delete this;
}

}  // namespace jorv
