#include "controls/QsButton.h"


#include "controls/SkinMessages.h"
#include "controls/SkinPaint.h"

CQsButton::~CQsButton() { FreeImage(m_icon); }

BOOL CQsButton::SubclassWindow(HWND hWnd) {
  if (!wf::CWindowImpl<CQsButton>::SubclassWindow(hWnd)) return FALSE;
  // Owner-drawn: the button no longer paints a face of its own; clicks still
  // reach the parent as BN_CLICKED.
  DWORD style = GetStyle();
  ::SendMessageW(hWnd, BM_SETSTYLE, (style & ~0xFu) | BS_OWNERDRAW, TRUE);
  MarkSkinned(hWnd);
  return TRUE;
}

void CQsButton::SetIcon(Gdiplus::Image* image, int x, int y, int width, int height) {
  FreeImage(m_icon);
  m_icon = CutImage(image, x, y, width, height);
  m_iconRect = RECT{x, y, x + (m_icon ? static_cast<int>(m_icon->GetWidth()) : 0),
                    y + (m_icon ? static_cast<int>(m_icon->GetHeight()) : 0)};
  if (m_hWnd) Invalidate(FALSE);
}

void CQsButton::DrawBackground(HDC dc, const RECT& rc, bool, bool, bool) {
  skin::DrawStretched(dc, GetStateImage(m_lastState), rc);
  if (m_icon) {
    int w = static_cast<int>(m_icon->GetWidth()), h = static_cast<int>(m_icon->GetHeight());
    RECT icon{rc.left + 8, rc.top + (rc.bottom - rc.top - h) / 2, 0, 0};
    icon.right = icon.left + w;
    icon.bottom = icon.top + h;
    skin::DrawStretched(dc, m_icon, icon);
  }
}

void CQsButton::DrawText(HDC dc, const RECT& rc) {
  RECT box = rc;
  box.left += m_textInset;
  if (m_icon) box.left += 8 + static_cast<int>(m_icon->GetWidth());
  if (m_lastState == qs::kButtonPressed) ::OffsetRect(&box, 1, 1);
  skin::DrawTextIn(dc, GetWindowText(), box, GetStateFont(m_lastState), GetStateTextColor(m_lastState),
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
