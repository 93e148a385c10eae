#include "controls/QsControls.h"

#include <commctrl.h>

#include <algorithm>

#include "controls/SkinPaint.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/Gdi.h"

namespace qs {

int ChooseCheckState(bool checked, bool disabled, bool focused) {
  if (disabled) return checked ? kCheckCheckedDisabled : kCheckUncheckedDisabled;
  if (focused) return checked ? kCheckCheckedFocused : kCheckUncheckedFocused;
  return checked ? kCheckChecked : kCheckUnchecked;
}

int ChooseRadioState(bool checked, bool disabled) {
  if (disabled) return checked ? kRadioCheckedDisabled : kRadioUncheckedDisabled;
  return checked ? kRadioChecked : kRadioUnchecked;
}

}  // namespace qs

namespace {
template <class Control>
LRESULT PaintBufferedWith(Control& control) {
  wf::PaintDC dc(control.m_hWnd);
  skin::PaintBuffered(control.m_hWnd, dc, [&](HDC buffer, const RECT& client) { control.Paint(buffer, client); });
  return 0;
}
}  // namespace

// --- static text -----------------------------------------------------------------

BOOL CQsStatic::SubclassWindow(HWND hWnd) {
  if (!wf::CWindowImpl<CQsStatic>::SubclassWindow(hWnd)) return FALSE;
  MarkBound(hWnd);
  return TRUE;
}

void CQsStatic::Paint(HDC dc, const RECT& client) {
  skin::PaintParentBackground(m_hWnd, dc, client);
  // Only a picture of its own: the shared table's state 2 is the buttons'.
  if (ImageSourceMode() == kOwnImages)
    if (Gdiplus::Bitmap* image = GetStateImage(qs::kFallbackState)) skin::DrawCentred(dc, image, client);
  DWORD style = GetStyle();
  UINT align = (style & SS_TYPEMASK) == SS_CENTER ? DT_CENTER : (style & SS_TYPEMASK) == SS_RIGHT ? DT_RIGHT : DT_LEFT;
  skin::DrawTextIn(dc, GetWindowText(), client, GetStateFont(qs::kFallbackState),
                   IsWindowEnabled() ? GetStateTextColor(qs::kFallbackState) : skin::theme::kDisabledText,
                   align | DT_WORDBREAK | DT_END_ELLIPSIS);
}

LRESULT CQsStatic::OnPaint(UINT, WPARAM, LPARAM, BOOL&) { return PaintBufferedWith(*this); }

LRESULT CQsStatic::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
  Paint(reinterpret_cast<HDC>(wParam), GetClientRect());
  return 0;
}

LRESULT CQsStatic::OnSetText(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT result = DefWindowProc(msg, wParam, lParam);
  Invalidate(FALSE);
  return result;
}

// --- combo box -------------------------------------------------------------------

BOOL CQsComboBox::SubclassWindow(HWND hWnd) {
  if (!wf::CWindowImpl<CQsComboBox>::SubclassWindow(hWnd)) return FALSE;
  MarkBound(hWnd);
  return TRUE;
}

void CQsComboBox::PaintButton(HDC dc) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetComboBoxInfo(m_hWnd, &info) || info.rcButton.right <= info.rcButton.left) return;
  int state = !IsWindowEnabled() ? qs::kComboDisabled
              : info.stateButton & STATE_SYSTEM_PRESSED ? qs::kComboButtonPressed
              : m_hover ? qs::kComboHover
                        : qs::kComboButton;
  Gdiplus::Bitmap* image = GetStateImage(state);
  if (!image) image = GetStateImage(qs::kComboButton);
  if (image) {
    skin::DrawStretched(dc, image, info.rcButton);
    return;
  }
  // No image: a flat button with a chevron in the theme's colours.
  wf::ScopedBrush face(::CreateSolidBrush(skin::theme::kFace));
  ::FillRect(dc, &info.rcButton, face);
  Gdiplus::Graphics g(dc);
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::Pen pen(Gdiplus::Color(255, 0x2B, 0x7B, 0xD6), 1.8f);
  float cx = (info.rcButton.left + info.rcButton.right) / 2.0f, cy = (info.rcButton.top + info.rcButton.bottom) / 2.0f;
  Gdiplus::PointF chevron[] = {{cx - 4, cy - 2}, {cx, cy + 2}, {cx + 4, cy - 2}};
  g.DrawLines(&pen, chevron, 3);
}

LRESULT CQsComboBox::OnPaint(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT result = DefWindowProc(msg, wParam, lParam);  // the box and its text
  wf::ClientDC dc(m_hWnd);
  PaintButton(dc);
  return result;
}

LRESULT CQsComboBox::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  if (!m_hover) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&track);
    m_hover = true;
    Invalidate(FALSE);
  }
  bHandled = FALSE;
  return 0;
}

LRESULT CQsComboBox::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  m_hover = false;
  Invalidate(FALSE);
  bHandled = FALSE;
  return 0;
}

// --- progress bar ----------------------------------------------------------------

BOOL CQSProgressBar::SubclassWindow(HWND hWnd) {
  if (!wf::CWindowImpl<CQSProgressBar>::SubclassWindow(hWnd)) return FALSE;
  MarkBound(hWnd);
  return TRUE;
}

int CQSProgressBar::FillWidth(int position, int low, int high, int width) {
  if (high <= low || width <= 0) return 0;
  position = std::clamp(position, low, high);
  return static_cast<int>(static_cast<long long>(position - low) * width / (high - low));
}

void CQSProgressBar::Paint(HDC dc, const RECT& client) {
  skin::PaintParentBackground(m_hWnd, dc, client);
  PBRANGE range{};
  SendMessage(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  int position = static_cast<int>(SendMessage(PBM_GETPOS));
  int fill = FillWidth(position, range.iLow, range.iHigh, client.right - client.left);
  RECT filled{client.left, client.top, client.left + fill, client.bottom};
  Gdiplus::Bitmap* track = GetStateImage(qs::kProgressTrack);
  Gdiplus::Bitmap* body = GetStateImage(qs::kProgressFill);
  if (track) {
    skin::DrawStretched(dc, track, client);
  } else {
    wf::ScopedBrush face(::CreateSolidBrush(skin::theme::kFace));
    ::FillRect(dc, &client, face);
  }
  if (fill <= 0) return;
  if (body) {
    skin::DrawStretched(dc, body, filled);
  } else {
    wf::ScopedBrush accent(::CreateSolidBrush(skin::theme::kAccent));
    ::FillRect(dc, &filled, accent);
  }
  // The leading edge of the fill.
  if (Gdiplus::Bitmap* edge = GetStateImage(qs::kProgressEdge)) {
    int w = static_cast<int>(edge->GetWidth());
    RECT at{std::max(client.left, filled.right - w), client.top, filled.right, client.bottom};
    skin::DrawStretched(dc, edge, at);
  }
}

LRESULT CQSProgressBar::OnPaint(UINT, WPARAM, LPARAM, BOOL&) { return PaintBufferedWith(*this); }

LRESULT CQSProgressBar::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
  Paint(reinterpret_cast<HDC>(wParam), GetClientRect());
  return 0;
}

// --- tab control -----------------------------------------------------------------

BOOL CQsTabCtrl::SubclassWindow(HWND hWnd) {
  if (!wf::CWindowImpl<CQsTabCtrl>::SubclassWindow(hWnd)) return FALSE;
  MarkBound(hWnd);
  return TRUE;
}

int CQsTabCtrl::AddTab(const std::wstring& textKey) {
  std::wstring text;
  GetString(textKey, text);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  int count = static_cast<int>(SendMessage(TCM_GETITEMCOUNT));
  int index = static_cast<int>(SendMessage(TCM_INSERTITEMW, count, reinterpret_cast<LPARAM>(&item)));
  FitTabs();
  return index;
}

void CQsTabCtrl::FitTabs() {
  int count = static_cast<int>(SendMessage(TCM_GETITEMCOUNT));
  RECT client = GetClientRect();
  if (count <= 0 || client.right <= 0) return;
  // A little less than the share: the control keeps a margin and would show
  // scroll arrows for tabs that do not fit.
  SendMessage(TCM_SETITEMSIZE, 0, MAKELPARAM((client.right - 4) / count, client.bottom));
}

void CQsTabCtrl::Paint(HDC dc, const RECT& client) {
  skin::PaintParentBackground(m_hWnd, dc, client);
  if (Gdiplus::Bitmap* strip = GetStateImage(qs::kTabStrip)) skin::DrawStretched(dc, strip, client);
  int count = static_cast<int>(SendMessage(TCM_GETITEMCOUNT));
  int selected = static_cast<int>(SendMessage(TCM_GETCURSEL));
  // The tabs share the width evenly: the strip is theirs alone.
  for (int i = 0; i < count; ++i) {
    RECT tab{client.left + (client.right - client.left) * i / count, client.top,
             client.left + (client.right - client.left) * (i + 1) / count, client.bottom};
    int state = i == selected ? qs::kTabSelected : qs::kTabOther;
    if (Gdiplus::Bitmap* image = GetStateImage(state)) {
      skin::DrawStretched(dc, image, tab);
    } else if (i == selected) {
      wf::ScopedBrush face(::CreateSolidBrush(skin::theme::kWindow));
      ::FillRect(dc, &tab, face);
    }
    wchar_t text[128] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessage(TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    COLORREF color = i == selected ? skin::theme::kAccent : skin::theme::kText;
    if (GetStateImage(state)) color = GetStateTextColor(state);
    // The tab texts keep the default font whatever fonts the states carry,
    // and stay off the tab's border.
    RECT room = tab;
    ::InflateRect(&room, -kTabTextInset, 0);
    skin::DrawTextIn(dc, text, room, DefaultFontHandle(), color, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
}

LRESULT CQsTabCtrl::OnPaint(UINT, WPARAM, LPARAM, BOOL&) { return PaintBufferedWith(*this); }

LRESULT CQsTabCtrl::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
  Paint(reinterpret_cast<HDC>(wParam), GetClientRect());
  return 0;
}

LRESULT CQsTabCtrl::OnRepaintAfterDefault(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT result = DefWindowProc(msg, wParam, lParam);
  Invalidate(FALSE);
  return result;
}

// --- date-time picker ------------------------------------------------------------

BOOL CQsDateTimePickerCtrl::SubclassWindow(HWND hWnd) {
  if (!wf::CWindowImpl<CQsDateTimePickerCtrl>::SubclassWindow(hWnd)) return FALSE;
  MarkBound(hWnd);
  return TRUE;
}

void CQsDateTimePickerCtrl::PaintFrame(HDC dc, const RECT& client) {
  bool focused = ::GetFocus() == m_hWnd || ::IsChild(m_hWnd, ::GetFocus());
  wf::ScopedBrush border(::CreateSolidBrush(focused ? skin::theme::kFocusBorder : skin::theme::kBorder));
  ::FrameRect(dc, &client, border);
  // The drop-down button, from the combo box's states when given.
  RECT button{client.right - 20, client.top + 1, client.right - 1, client.bottom - 1};
  if ((GetStyle() & DTS_UPDOWN) == 0) {
    if (Gdiplus::Bitmap* image = GetStateImage(qs::kComboButton)) skin::DrawStretched(dc, image, button);
  }
}

LRESULT CQsDateTimePickerCtrl::OnPaint(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT result = DefWindowProc(msg, wParam, lParam);
  wf::ClientDC dc(m_hWnd);
  PaintFrame(dc, GetClientRect());
  return result;
}

LRESULT CQsDateTimePickerCtrl::OnRepaintAfterDefault(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT result = DefWindowProc(msg, wParam, lParam);
  Invalidate(FALSE);
  return result;
}
