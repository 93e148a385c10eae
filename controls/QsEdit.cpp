#include "controls/QsEdit.h"

#include <commctrl.h>

#include "controls/SkinMessages.h"
#include "controls/SkinPaint.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/Gdi.h"

namespace {

// The frame's rectangle relative to the window, and its client area inside it.
RECT WindowBox(HWND window) {
  RECT rc;
  ::GetWindowRect(window, &rc);
  ::OffsetRect(&rc, -rc.left, -rc.top);
  return rc;
}

// Paints a control's frame: `paint(dc, window)` draws the whole window into an
// off-screen canvas (GDI+ cannot draw outside the client area of a window DC),
// which is copied onto the window's frame, leaving the client alone.
template <class Paint>
void PaintNonClient(HWND window, Paint paint) {
  RECT box = WindowBox(window);
  RECT client;
  ::GetClientRect(window, &client);
  POINT origin{0, 0};
  ::ClientToScreen(window, &origin);
  RECT screen;
  ::GetWindowRect(window, &screen);
  ::OffsetRect(&client, origin.x - screen.left, origin.y - screen.top);
  HDC dc = ::GetWindowDC(window);
  {
    wf::MemoryCanvas canvas(dc, box.right, box.bottom);
    if (canvas.valid()) {
      paint(static_cast<HDC>(canvas), box);
      ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
      ::BitBlt(dc, 0, 0, box.right, box.bottom, canvas, 0, 0, SRCCOPY);
    }
  }
  ::ReleaseDC(window, dc);
}

void DrawBorder(HDC dc, const RECT& rc, COLORREF color) {
  wf::ScopedBrush brush(::CreateSolidBrush(color));
  ::FrameRect(dc, &rc, brush);
}

}  // namespace

// --- CQsEdit ------------------------------------------------------------------

BOOL CQsEdit::SubclassWindow(HWND hWnd) {
  if (!wf::CWindowImpl<CQsEdit>::SubclassWindow(hWnd)) return FALSE;
  MarkSkinned(hWnd);
  // A one-pixel border that the control draws itself. The frame is always
  // recomputed: the styles may already be what they should be.
  ModifyStyleEx(WS_EX_CLIENTEDGE, 0);
  ModifyStyle(0, WS_BORDER);
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

int CQsEdit::CurrentState() const {
  if (!IsWindowEnabled()) return qs::kEditDisabled;
  if (::GetFocus() == m_hWnd) return qs::kEditFocused;
  return m_hover ? qs::kEditHover : qs::kEditNormal;
}

void CQsEdit::PaintBorder(HDC dc, const RECT& window) {
  int state = CurrentState();
  // Only frames of its own: the shared table's states 2..6 are the buttons'.
  Gdiplus::Bitmap* image = ImageSourceMode() == kOwnImages ? GetStateImage(state) : nullptr;
  if (image) {
    skin::DrawStretched(dc, image, window);  // its edge is the border; the client covers the rest
    return;
  }
  DrawBorder(dc, window, state == qs::kEditFocused || state == qs::kEditHover ? skin::theme::kFocusBorder
                                                                              : skin::theme::kBorder);
}

LRESULT CQsEdit::OnNcPaint(UINT, WPARAM, LPARAM, BOOL&) {
  PaintNonClient(m_hWnd, [this](HDC dc, const RECT& window) { PaintBorder(dc, window); });
  return 0;
}

LRESULT CQsEdit::OnKeyDown(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  ::OutputDebugStringA("Edit OnKeydown\r\n");
  bHandled = FALSE;
  return 0;
}

void CQsEdit::RedrawFrame() { ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN); }

LRESULT CQsEdit::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  if (!m_hover) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&track);
    m_hover = true;
    RedrawFrame();
  }
  bHandled = FALSE;
  return 0;
}

LRESULT CQsEdit::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  m_hover = false;
  RedrawFrame();
  bHandled = FALSE;
  return 0;
}

LRESULT CQsEdit::OnFocusChange(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT result = DefWindowProc(msg, wParam, lParam);
  RedrawFrame();
  return result;
}

// --- CQsSearchEdit ---------------------------------------------------------------

BOOL CQsSearchEdit::SubclassWindow(HWND hWnd) {
  if (!wf::CWindowImpl<CQsSearchEdit>::SubclassWindow(hWnd)) return FALSE;
  MarkSkinned(hWnd);
  // normal and focused frames
  SetStateImageFromKey(qs::kEditNormal, L"pim1_searchedit_normal.png");
  SetStateImageFromKey(qs::kEditFocused, L"pim1_searchedit_select.png");
  SetStateFontFromKey(qs::kEditNormal, L"tamix_font_gdione");
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStateFont(qs::kEditNormal)), FALSE);
  SendMessage(EM_LIMITTEXT, kMaxText, 0);
  // The frame is drawn from the images: no border of the platform's, and the
  // frame is recomputed whether or not a style changed.
  ModifyStyleEx(WS_EX_CLIENTEDGE, 0);
  ModifyStyle(WS_BORDER, ES_AUTOHSCROLL);
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

void CQsSearchEdit::SetCueKey(const std::wstring& cueKey) {
  m_cue.clear();
  GetString(cueKey, m_cue);
  SendMessage(EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(m_cue.c_str()));
}

void CQsSearchEdit::Clear() {
  SetWindowText(L"");
  if (HWND parent = GetParent()) ::SendMessageW(parent, WM_QS_SEARCH, 0, 0);
}

RECT CQsSearchEdit::ClearButtonRect() const {
  if (::GetWindowTextLengthW(m_hWnd) == 0) return RECT{};
  RECT window = WindowBox(m_hWnd);
  return RECT{window.right - kButtonWidth, window.top, window.right, window.bottom};
}

void CQsSearchEdit::PaintFrame(HDC dc, const RECT& window) {
  bool focused = ::GetFocus() == m_hWnd;
  Gdiplus::Bitmap* image = GetStateImage(focused ? qs::kEditFocused : qs::kEditNormal);
  if (image) {
    skin::DrawStretched(dc, image, window);
  } else {
    wf::ScopedBrush face(::CreateSolidBrush(skin::theme::kWindow));
    ::FillRect(dc, &window, face);
    DrawBorder(dc, window, focused ? skin::theme::kFocusBorder : skin::theme::kBorder);
  }
  // With text: a clear button (a cross in a circle) over the magnifier.
  RECT clear = ClearButtonRect();
  if (clear.right > clear.left) {
    Gdiplus::Graphics g(dc);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    float x = clear.left + (kButtonWidth - 14) / 2.0f, y = clear.top + (clear.bottom - clear.top - 14) / 2.0f;
    Gdiplus::SolidBrush under(Gdiplus::Color(255, 255, 255, 255));  // covers the magnifier of the frame image
    g.FillRectangle(&under, x - 2, y - 2, 18.0f, 18.0f);
    Gdiplus::SolidBrush disc(Gdiplus::Color(255, 0x9D, 0xBC, 0xE0));
    g.FillEllipse(&disc, x, y, 14.0f, 14.0f);
    Gdiplus::Pen cross(Gdiplus::Color(255, 255, 255, 255), 1.6f);
    g.DrawLine(&cross, x + 4, y + 4, x + 10, y + 10);
    g.DrawLine(&cross, x + 10, y + 4, x + 4, y + 10);
  }
}

LRESULT CQsSearchEdit::OnNcCalcSize(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  // Room for the frame, the button at the right, and the text centred in height.
  RECT* rc = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
  int height = rc->bottom - rc->top;
  int line = 16;
  {
    wf::ClientDC dc(m_hWnd);
    wf::ScopedSelect font(dc, GetFont());
    TEXTMETRICW metrics{};
    if (::GetTextMetricsW(dc, &metrics)) line = metrics.tmHeight;
  }
  int vertical = height > line + 4 ? (height - line) / 2 : 2;
  rc->left += 6;
  rc->right -= kButtonWidth;
  rc->top += vertical;
  rc->bottom -= vertical;
  if (rc->right < rc->left) rc->right = rc->left;
  if (rc->bottom < rc->top) rc->bottom = rc->top;
  return 0;
}

LRESULT CQsSearchEdit::OnNcPaint(UINT, WPARAM, LPARAM, BOOL&) {
  PaintNonClient(m_hWnd, [this](HDC dc, const RECT& window) {
    skin::PaintParentBackground(m_hWnd, dc, window);  // under the image's rounded corners
    PaintFrame(dc, window);
  });
  return 0;
}

LRESULT CQsSearchEdit::OnNcHitTest(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT hit = DefWindowProc(msg, wParam, lParam);
  // The whole frame belongs to the field (clicks there focus it).
  return hit == HTNOWHERE || hit == HTTRANSPARENT ? HTBORDER : hit;
}

LRESULT CQsSearchEdit::OnNcLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&) {
  RECT screen;
  ::GetWindowRect(m_hWnd, &screen);
  POINT pt = wf::PointFromLParam(lParam);
  pt.x -= screen.left;
  pt.y -= screen.top;
  RECT clear = ClearButtonRect();
  if (::PtInRect(&clear, pt)) {
    Clear();
  } else {
    SetFocus();
  }
  return 0;
}

void CQsSearchEdit::RedrawFrame() { ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN); }

LRESULT CQsSearchEdit::OnChangeThenFrame(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT result = DefWindowProc(msg, wParam, lParam);
  RedrawFrame();
  return result;
}

LRESULT CQsSearchEdit::OnKeyDown(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  // Escape clears the field, as its button does.
  if (wParam == VK_ESCAPE && ::GetWindowTextLengthW(m_hWnd) > 0) {
    Clear();
    return 0;
  }
  LRESULT result = DefWindowProc(msg, wParam, lParam);
  RedrawFrame();
  return result;
}
