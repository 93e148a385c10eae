// Painting pieces that the skinned controls share.
#pragma once
#include <windows.h>

#include <string>

#include "framework/GdiPlus.h"

namespace skin {

// Fills `dc` (the control's off-screen context) with what the parent shows
// under `control`: the parent paints it when it answers WM_QS_PAINTBACKGROUND;
// otherwise the parent's dialog colour is used.
void PaintParentBackground(HWND control, HDC dc, const RECT& client);

// Draws `image` stretched over `rc` (nothing for a null image).
void DrawStretched(HDC dc, Gdiplus::Image* image, const RECT& rc);

// Draws `image` at its own size centred in `rc`.
void DrawCentred(HDC dc, Gdiplus::Image* image, const RECT& rc);

// Draws text in a font and colour with a transparent background.
void DrawTextIn(HDC dc, const std::wstring& text, const RECT& rc, HFONT font, COLORREF color, UINT format);

// Gives a popup window a rounded outline with corners of `radius` pixels
// (the window region; the window owns it once set).
void ApplyRoundedOutline(HWND window, int radius);

// Runs `paint(dc, client)` into an off-screen bitmap and copies it to `target`.
template <class Paint>
void PaintBuffered(HWND window, HDC target, Paint paint);

// The theme's colours when a control has no image for a state.
namespace theme {
constexpr COLORREF kText = RGB(0x1F, 0x3A, 0x5F);
constexpr COLORREF kBorder = RGB(0x9D, 0xBC, 0xE0);
constexpr COLORREF kFocusBorder = RGB(0x2B, 0x7B, 0xD6);
constexpr COLORREF kFace = RGB(0xE8, 0xF1, 0xFB);
constexpr COLORREF kWindow = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kDisabledText = RGB(0x9A, 0xA8, 0xB8);
constexpr COLORREF kAccent = RGB(0x2B, 0x7B, 0xD6);
constexpr COLORREF kSelection = RGB(0xCC, 0xE4, 0xF7);
}  // namespace theme

}  // namespace skin

#include "framework/Gdi.h"

template <class Paint>
void skin::PaintBuffered(HWND window, HDC target, Paint paint) {
  RECT client;
  ::GetClientRect(window, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  wf::MemoryCanvas buffer(target, client.right, client.bottom);
  if (!buffer.valid()) return;
  ::SetBkMode(buffer, TRANSPARENT);
  paint(static_cast<HDC>(buffer), client);
  ::BitBlt(target, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
}
