#include "MessageBoxWindow.h"

#include <algorithm>

#include "frame/suite/ResourceLibrary.h"

namespace jorv {
namespace {
std::wstring Text(const wchar_t* key, const wchar_t* fallback) {
  std::wstring text;
  return GetString(key, text) ? text : fallback;
}
}  // namespace

LRESULT CMessageBoxWindow::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  m_background.Reset(::CreateSolidBrush(RGB(0xF4, 0xF8, 0xFD)));
  SetWindowText(m_caption);
  wf::CWindow text(GetDlgItem(IDC_JORV_TEXT));
  wf::CWindow ok(GetDlgItem(IDOK));
  wf::CWindow cancel(GetDlgItem(IDCANCEL));
  text.SetWindowText(m_text);
  ok.SetWindowText(Text(L"common.button.ok", L"OK"));
  cancel.SetWindowText(Text(L"common.button.cancel", L"Cancel"));

  // Size the box to the text: between 280 and 460 pixels of text width.
  RECT measure{0, 0, 360, 0};
  {
    wf::ClientDC dc(m_hWnd);
    wf::ScopedSelect font(dc, text.GetFont());
    ::DrawTextW(dc, m_text.c_str(), -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    if (measure.right > 360) {
      measure = RECT{0, 0, 460, 0};
      ::DrawTextW(dc, m_text.c_str(), -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    }
  }
  const int margin = 18, buttonWidth = 84, buttonHeight = 28, gap = 8;
  int textWidth = std::max<int>(280, measure.right);
  int textHeight = std::max<int>(20, measure.bottom);
  int clientWidth = textWidth + 2 * margin;
  int clientHeight = margin + textHeight + margin + buttonHeight + margin;
  text.MoveWindow(margin, margin, textWidth, textHeight);
  int y = clientHeight - margin - buttonHeight;
  cancel.MoveWindow(clientWidth - margin - buttonWidth, y, buttonWidth, buttonHeight);
  ok.MoveWindow(clientWidth - margin - buttonWidth - (m_confirm ? buttonWidth + gap : 0), y, buttonWidth, buttonHeight);
  cancel.ShowWindow(m_confirm ? SW_SHOW : SW_HIDE);

  RECT window{0, 0, clientWidth, clientHeight};
  ::AdjustWindowRectEx(&window, GetStyle(), FALSE, GetExStyle());
  int width = window.right - window.left, height = window.bottom - window.top;
  // Centre over the owner, or the screen without one.
  RECT area{};
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  if (owner && ::IsWindowVisible(owner)) ::GetWindowRect(owner, &area);
  else ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  SetWindowPos(nullptr, area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2,
               width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetFocus(ok);
  return FALSE;  // focus set here
}

LRESULT CMessageBoxWindow::OnCtlColor(UINT, WPARAM wParam, LPARAM, BOOL&) {
  ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
  ::SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0x1F, 0x3A, 0x5F));
  return reinterpret_cast<LRESULT>(m_background.Get());
}

}  // namespace jorv
