#include "controls/QsButton.h"

#include <algorithm>

#include "controls/SkinMessages.h"
#include "controls/SkinPaint.h"

CQsButton::~CQsButton() = default;

BOOL CQsButtonWindow::SubclassWindow(HWND hWnd) {
  if (!wf::CWindowImpl<CQsButton>::SubclassWindow(hWnd)) return FALSE;
  static_cast<CQsButton*>(this)->OnBound();
  return TRUE;
}

void CQsButton::OnBound() {
  // Owner-drawn: the button no longer paints a face of its own; clicks still
  // reach the parent as BN_CLICKED.
  DWORD style = GetStyle();
  ::SendMessageW(m_hWnd, BM_SETSTYLE, (style & ~0xFu) | BS_OWNERDRAW, TRUE);
  MarkBound(m_hWnd);
}

void CQsButton::SetIcon(Gdiplus::Image* image, int x, int y, int width, int height) {
  m_icon.reset(CutImage(image, x, y, width, height));
  m_iconRect = RECT{x, y, x + (m_icon ? static_cast<int>(m_icon->GetWidth()) : 0),
                    y + (m_icon ? static_cast<int>(m_icon->GetHeight()) : 0)};
  if (m_hWnd) Invalidate(FALSE);
}

RECT CQsButton::IconRect(const RECT& client) const {
  if (!m_icon) return RECT{};
  int w = static_cast<int>(m_icon->GetWidth()), h = static_cast<int>(m_icon->GetHeight());
  RECT icon{client.left + kIconLeft, client.top + (client.bottom - client.top - h) / 2, 0, 0};
  icon.right = icon.left + w;
  icon.bottom = icon.top + h;
  return icon;
}

RECT CQsButton::TextRect(const RECT& client) {
  RECT box{client.left + kTextMargin, client.top, client.right - kTextMargin, client.bottom};
  if (m_textInset > 0) {
    // The glyph is stretched with the state image; so is its edge.
    Gdiplus::Bitmap* image = GetStateImage(m_lastState);
    int imageWidth = image ? static_cast<int>(image->GetWidth()) : 0;
    int clientWidth = client.right - client.left;
    int glyphRight = imageWidth > 0 ? ::MulDiv(m_textInset, clientWidth, imageWidth) : m_textInset;
    box.left = std::max<LONG>(box.left, client.left + glyphRight + kTextGap);
  }
  if (m_icon) box.left = std::max<LONG>(box.left, IconRect(client).right + kTextGap);
  // Pressed, the text sinks by a pixel without leaving its room.
  if (m_lastState == qs::kButtonPressed) {
    ++box.left;
    ++box.top;
    ++box.bottom;
  }
  if (box.right < box.left) box.right = box.left;
  return box;
}

void CQsButton::DrawBackground(HDC dc, const RECT& rc, bool, bool, bool) {
  skin::DrawStretched(dc, GetStateImage(m_lastState), rc);
  if (m_icon) skin::DrawStretched(dc, m_icon.get(), IconRect(rc));
}

void CQsButton::DrawText(HDC dc, const RECT& rc) {
  // Centred in its room; a text too long for it ends in an ellipsis.
  skin::DrawTextIn(dc, GetWindowText(), TextRect(rc), GetStateFont(m_lastState), GetStateTextColor(m_lastState),
                   DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

void CQsButton::Paint(HDC dc, const RECT& client) {
  bool disabled = !IsWindowEnabled();
  bool focused = ::GetFocus() == m_hWnd;
  int state = qs::ChooseButtonState(disabled, m_hover, m_pressed, focused, m_lastState,
                                    [this](int s) { return GetStateImage(s) != nullptr; });
  m_lastState = state;
  skin::PaintParentBackground(m_hWnd, dc, client);
  if (!GetStateImage(state)) return;
  DrawBackground(dc, client, disabled, m_hover, focused);
  if (m_textVisible) DrawText(dc, client);
}

LRESULT CQsButton::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  wf::PaintDC dc(m_hWnd);
  skin::PaintBuffered(m_hWnd, dc, [this](HDC buffer, const RECT& client) { Paint(buffer, client); });
  return 0;
}

LRESULT CQsButton::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  ::SetBkMode(dc, TRANSPARENT);
  Paint(dc, GetClientRect());
  return 0;
}

void CQsButton::NotifyHover() {
  Invalidate(FALSE);
  if (HWND parent = GetParent()) ::PostMessageW(parent, WM_QS_HOVERCHANGED, static_cast<WPARAM>(GetDlgCtrlID()), 0);
}

LRESULT CQsButton::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  if (!m_hover) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&track);
    m_hover = true;
    NotifyHover();
  }
  bHandled = FALSE;
  return 0;
}

LRESULT CQsButton::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  m_hover = false;
  NotifyHover();
  bHandled = FALSE;
  return 0;
}

LRESULT CQsButton::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  m_pressed = true;
  Invalidate(FALSE);
  bHandled = FALSE;  // the button keeps its own click handling
  return 0;
}

LRESULT CQsButton::OnLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  m_pressed = false;
  LRESULT result = DefWindowProc(msg, wParam, lParam);
  if (m_hWnd) Invalidate(FALSE);
  return result;
}

LRESULT CQsButton::OnRepaintAfterDefault(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT result = DefWindowProc(msg, wParam, lParam);
  Invalidate(FALSE);
  return result;
}

void CQsButton::UseCloseBox() {
  constexpr int kStates[] = {qs::kButtonNormal, qs::kButtonHover, qs::kButtonPressed, qs::kButtonDisabled};
  constexpr int kSize = 16;
  for (int i = 0; i < 4; ++i) SetStateImageFromKey(kStates[i], L"common_close.png", i * kSize, 0, kSize, kSize);
  SetTextVisible(false);
  // The images' own size, keeping the top right corner where it was placed.
  RECT placed;
  if (m_hWnd && ::GetWindowRect(m_hWnd, &placed)) {
    ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&placed), 2);
    ::SetWindowPos(m_hWnd, nullptr, placed.right - kSize, placed.top, kSize, kSize, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}
