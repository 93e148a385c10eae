#include "controls/QsEdit.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

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
  MarkBound(hWnd);
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
  MarkBound(hWnd);
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

float CQsSearchEdit::FrameScale(int windowWidth) {
  Gdiplus::Bitmap* image = GetStateImage(qs::kEditNormal);
  if (!image || image->GetWidth() == 0 || windowWidth <= 0) return 1.0f;
  return static_cast<float>(windowWidth) / static_cast<float>(image->GetWidth());
}

int CQsSearchEdit::ButtonWidth(int windowWidth) {
  int glyphLeft = static_cast<int>(std::ceil((kGlyphRight + kGlyphSize) * FrameScale(windowWidth)));
  return std::max(kButtonWidth, glyphLeft + (kButtonWidth - kGlyphRight - kGlyphSize));
}

RECT CQsSearchEdit::ClearButtonRect() {
  if (::GetWindowTextLengthW(m_hWnd) == 0) return RECT{};
  RECT window = WindowBox(m_hWnd);
  return RECT{window.right - ButtonWidth(window.right), window.top, window.right, window.bottom};
}

RECT CQsSearchEdit::TextAreaRect() {
  RECT text{};
  ::SendMessageW(m_hWnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
  POINT origin{0, 0};
  ::ClientToScreen(m_hWnd, &origin);
  RECT screen;
  ::GetWindowRect(m_hWnd, &screen);
  ::OffsetRect(&text, origin.x - screen.left, origin.y - screen.top);
  return text;
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
  // With text: a clear button (a cross in a circle) in the magnifier's place.
  RECT clear = ClearButtonRect();
  if (clear.right > clear.left) {
    Gdiplus::Graphics g(dc);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    float scale = FrameScale(window.right - window.left);
    float glyphLeft = clear.right - (kGlyphRight + kGlyphSize) * scale, glyphWidth = kGlyphSize * scale;
    float size = static_cast<float>(kGlyphSize);
    float x = glyphLeft + (glyphWidth - size) / 2.0f;
    float y = clear.top + (clear.bottom - clear.top - size) / 2.0f;
    // The field's face covers the magnifier of the frame image, inside its border.
    Gdiplus::SolidBrush under(Gdiplus::Color(255, 255, 255, 255));
    g.FillRectangle(&under, glyphLeft - 3, static_cast<float>(clear.top + 3), glyphWidth + 6,
                    static_cast<float>(clear.bottom - clear.top - 6));
    Gdiplus::SolidBrush disc(Gdiplus::Color(255, 0x9D, 0xBC, 0xE0));
    g.FillEllipse(&disc, x, y, size, size);
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
  int button = ButtonWidth(rc->right - rc->left);  // the text stops short of it
  rc->left += 6;
  rc->right -= button;
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
