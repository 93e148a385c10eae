#include "controls/SkinWindow.h"

#include <algorithm>

#include "controls/QsButton.h"
#include "controls/QsControls.h"
#include "controls/QsEdit.h"
#include "frame/suite/ResourceLibrary.h"

namespace skin {

// Source image, then state ← rectangle; all rectangles at y 0. The radio and
// combo-box cuts are 18 pixels wide although their frames lie 20 and 24 apart.
const SharedCut kSharedSkin[] = {
    {L"comm_button.png", 2, 0, 0, 84, 37},
    {L"comm_button.png", 5, 84, 0, 84, 37},
    {L"comm_button.png", 3, 84, 0, 84, 37},
    {L"comm_button.png", 4, 168, 0, 84, 37},
    {L"comm_button.png", 6, 252, 0, 84, 37},
    {L"comm_checkbox.png", 18, 0, 0, 18, 18},
    {L"comm_checkbox.png", 14, 18, 0, 18, 18},
    {L"comm_checkbox.png", 19, 36, 0, 18, 18},
    {L"comm_checkbox.png", 17, 54, 0, 18, 18},
    {L"comm_checkbox_select_focus.png", 15, 0, 0, 18, 18},
    {L"comm_checkbox_unselect_focus.png", 16, 0, 0, 18, 18},
    {L"comm_radiobox.png", 36, 0, 0, 18, 20},
    {L"comm_radiobox.png", 35, 20, 0, 18, 20},
    {L"comm_radiobox.png", 38, 40, 0, 18, 20},
    {L"comm_radiobox.png", 37, 60, 0, 18, 20},
    {L"comm_combox.png", 22, 0, 0, 18, 24},
    {L"comm_combox.png", 25, 0, 0, 18, 24},
    {L"comm_combox.png", 23, 24, 0, 18, 24},
    {L"comm_combox.png", 24, 48, 0, 18, 24},
    {L"comm_combox.png", 26, 72, 0, 18, 24},
};
const size_t kSharedSkinSize = std::size(kSharedSkin);

void LoadSharedSkin() {
  CCtrlImageMgr::ClearSharedStateImages();
  for (const SharedCut& cut : kSharedSkin) {
    Gdiplus::Image* image = nullptr;
    GetImage(cut.image, image);
    if (image) CCtrlImageMgr::SetSharedStateImage(cut.state, image, cut.x, cut.y, cut.width, cut.height);
  }
  std::wstring face;
  double size = 0;
  int32_t style = 0;
  if (GetFontEx(L"default_font", face, size, style) && !face.empty())
    CCtrlImageMgr::SetDefaultFont(face, size, style);
  uint32_t color = 0;
  if (GetColor(L"default_color", color)) CCtrlImageMgr::SetDefaultTextColor(color);
}

void TileImage(Gdiplus::Graphics& g, Gdiplus::Image* image, const Gdiplus::Rect& area) {
  if (!image || area.Width <= 0 || area.Height <= 0) return;
  const INT w = static_cast<INT>(image->GetWidth()), h = static_cast<INT>(image->GetHeight());
  if (w <= 0 || h <= 0) return;
  for (INT y = area.Y; y < area.GetBottom(); y += h) {
    INT rowHeight = std::min(h, area.GetBottom() - y);
    for (INT x = area.X; x < area.GetRight(); x += w) {
      INT columnWidth = std::min(w, area.GetRight() - x);
      g.DrawImage(image, Gdiplus::Rect(x, y, columnWidth, rowHeight), 0, 0, columnWidth, rowHeight, Gdiplus::UnitPixel);
    }
  }
}

void DrawNineFrame(Gdiplus::Graphics& g, Gdiplus::Image* const pieces[kFramePieces], const Gdiplus::Rect& bounds) {
  for (int i = 0; i < kFramePieces; ++i)
    if (!pieces[i]) return;
  auto width = [&](int piece) { return static_cast<INT>(pieces[piece]->GetWidth()); };
  auto height = [&](int piece) { return static_cast<INT>(pieces[piece]->GetHeight()); };
  const INT left = width(kLeft), right = width(kRight), top = height(kTop), bottom = height(kBottom);
  const INT x0 = bounds.X, y0 = bounds.Y, x1 = bounds.GetRight(), y1 = bounds.GetBottom();
  // Inside, then the four edges, then the corners, each at its natural size.
  TileImage(g, pieces[kCentre], Gdiplus::Rect(x0 + left, y0 + top, x1 - x0 - left - right, y1 - y0 - top - bottom));
  TileImage(g, pieces[kTop], Gdiplus::Rect(x0 + width(kTopLeft), y0, x1 - x0 - width(kTopLeft) - width(kTopRight), top));
  TileImage(g, pieces[kBottom],
            Gdiplus::Rect(x0 + width(kBottomLeft), y1 - bottom, x1 - x0 - width(kBottomLeft) - width(kBottomRight), bottom));
  TileImage(g, pieces[kLeft], Gdiplus::Rect(x0, y0 + height(kTopLeft), left, y1 - y0 - height(kTopLeft) - height(kBottomLeft)));
  TileImage(g, pieces[kRight],
            Gdiplus::Rect(x1 - right, y0 + height(kTopRight), right, y1 - y0 - height(kTopRight) - height(kBottomRight)));
  auto corner = [&](int piece, INT x, INT y) {
    g.DrawImage(pieces[piece], Gdiplus::Rect(x, y, width(piece), height(piece)), 0, 0, width(piece), height(piece),
                Gdiplus::UnitPixel);
  };
  corner(kTopLeft, x0, y0);
  corner(kTopRight, x1 - width(kTopRight), y0);
  corner(kBottomLeft, x0, y1 - height(kBottomLeft));
  corner(kBottomRight, x1 - width(kBottomRight), y1 - height(kBottomRight));
}

namespace {
template <class Control>
std::unique_ptr<CCtrlImageMgr> Bind(HWND child) {
  auto control = std::make_unique<Control>();
  if (!control->SubclassWindow(child)) return nullptr;
  return control;
}
}  // namespace

std::unique_ptr<CCtrlImageMgr> BindSkinnedControl(HWND child) {
  wchar_t name[64] = {};
  ::GetClassNameW(child, name, 64);
  if (_wcsicmp(name, L"BUTTON") == 0) {
    switch (::GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK) {
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON:
      case BS_OWNERDRAW:
        return Bind<CQsButton>(child);
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
        return Bind<CQsCheckBox>(child);
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        return Bind<CQsRadioBox>(child);
      default:
        return nullptr;  // group boxes keep the platform's frame
    }
  }
  if (_wcsicmp(name, L"COMBOBOX") == 0) return Bind<CQsComboBox>(child);
  if (_wcsicmp(name, L"EDIT") == 0) return Bind<CQsEdit>(child);
  if (_wcsicmp(name, L"MSCTLS_PROGRESS32") == 0) return Bind<CQSProgressBar>(child);
  if (_wcsicmp(name, L"SYSTABCONTROL32") == 0) return Bind<CQsTabCtrl>(child);
  if (_wcsicmp(name, L"STATIC") == 0) {
    DWORD type = ::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK;
    // Text statics only: pictures and frames keep their own drawing.
    if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE)
      return Bind<CQsStatic>(child);
    return nullptr;
  }
  // Scroll bars are left as the platform draws them.
  return nullptr;
}

}  // namespace skin
