#include "controls/SkinPaint.h"

#include "controls/SkinMessages.h"
#include "framework/Gdi.h"

namespace skin {

void PaintParentBackground(HWND control, HDC dc, const RECT& client) {
  HWND parent = ::GetParent(control);
  // A parent that knows the message answers non-zero after painting.
  if (parent && ::SendMessageW(parent, WM_QS_PAINTBACKGROUND, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(control)))
    return;
  HBRUSH brush = parent ? reinterpret_cast<HBRUSH>(::SendMessageW(parent, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                                                  reinterpret_cast<LPARAM>(parent)))
                        : nullptr;
  ::FillRect(dc, &client, brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
}

void DrawStretched(HDC dc, Gdiplus::Image* image, const RECT& rc) {
  if (!image || rc.right <= rc.left || rc.bottom <= rc.top) return;
  Gdiplus::Graphics g(dc);
  g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
  g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  g.DrawImage(image, static_cast<INT>(rc.left), static_cast<INT>(rc.top), static_cast<INT>(rc.right - rc.left),
              static_cast<INT>(rc.bottom - rc.top));
}

void DrawCentred(HDC dc, Gdiplus::Image* image, const RECT& rc) {
  if (!image) return;
  INT w = static_cast<INT>(image->GetWidth()), h = static_cast<INT>(image->GetHeight());
  Gdiplus::Graphics g(dc);
  g.DrawImage(image, static_cast<INT>(rc.left + (rc.right - rc.left - w) / 2),
              static_cast<INT>(rc.top + (rc.bottom - rc.top - h) / 2), w, h);
}

void DrawTextIn(HDC dc, const std::wstring& text, const RECT& rc, HFONT font, COLORREF color, UINT format) {
  if (text.empty()) return;
  wf::ScopedSelect select(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, color);
  RECT box = rc;
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format | DT_NOPREFIX);
}

void ApplyRoundedOutline(HWND window, int radius) {
  RECT rc{};
  ::GetWindowRect(window, &rc);
  HRGN outline = ::CreateRoundRectRgn(0, 0, rc.right - rc.left + 1, rc.bottom - rc.top + 1, radius, radius);
  if (outline && !::SetWindowRgn(window, outline, TRUE)) ::DeleteObject(outline);
}

}  // namespace skin
