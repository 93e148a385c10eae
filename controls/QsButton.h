// CQsButton: a push button drawn from the images of its states.
//
// State choice on every paint: disabled → 6 (when it has an image); under the
// mouse → 4 while pressed (when it has an image), else 3 (when it has an
// image), else the last state drawn; focused → 5 (when it has an image);
// otherwise 2. A state without an image draws nothing (and is remembered as
// the last one drawn).
#pragma once
#include <windows.h>

#include "controls/ImageMgr.h"
#include "framework/WindowImpl.h"

// The button's drawing operation is called DrawText; the platform's macro of
// that name would turn it into DrawTextW. Code that includes this header
// calls the platform function by its W name.
#undef DrawText

namespace qs {
enum ButtonState : int {
  kButtonNormal = 2,
  kButtonHover = 3,
  kButtonPressed = 4,
  kButtonFocused = 5,
  kButtonDisabled = 6,
};

// The state a button draws with (see above); `hasImage(state)` tells whether
// a state has an image.
template <class HasImage>
int ChooseButtonState(bool disabled, bool hover, bool pressed, bool focused, int lastState, HasImage hasImage) {
  if (disabled && hasImage(kButtonDisabled)) return kButtonDisabled;
  if (hover) {
    if (pressed && hasImage(kButtonPressed)) return kButtonPressed;
    if (hasImage(kButtonHover)) return kButtonHover;
    return lastState;
  }
  if (focused && hasImage(kButtonFocused)) return kButtonFocused;
  return kButtonNormal;
}
}  // namespace qs

class CQsButton;

// The window side of CQsButton. Binding is overridden here, in the window
// base's own line of classes: an override declared in CQsButton itself would
// take a slot of the engine's table (the compiler gives it one there, before
// the button's own operations) and move DrawBackground and DrawText.
class CQsButtonWindow : public wf::CWindowImpl<CQsButton> {
 public:
  // Binds a button of a dialog (also through SubclassDlgItem): it becomes
  // owner-drawn and skinned.
  BOOL SubclassWindow(HWND hWnd) override;
};

// The engine comes first among the bases: its table is the button's primary
// one, followed by the family's hook, DrawBackground and DrawText.
class CQsButton : public CImageMgrCtrlBase<CQsButton>, public CQsButtonWindow {
 public:
  // Room between an icon (or a glyph of the state image) and the text, and
  // between the text and the button's edges.
  static constexpr int kIconLeft = 8;
  static constexpr int kTextGap = 4;
  static constexpr int kTextMargin = 6;

  CQsButton() = default;
  ~CQsButton() override;

  virtual void DrawBackground(HDC dc, const RECT& rc, bool disabled, bool hover, bool focused);
  virtual void DrawText(HDC dc, const RECT& rc);

  // Replaces the icon by a copy of the rectangle (x, y, width, height) of
  // `image`; drawn at the left, vertically centred, before the text.
  void SetIcon(Gdiplus::Image* image, int x, int y, int width, int height);
  // Whether the window text is drawn (a picture button keeps its text for
  // readers of the window only).
  void SetTextVisible(bool visible) { m_textVisible = visible; }
  // Makes the button a dialog's close box: drawn from the four 16-pixel
  // states of "common_close.png" (normal, hover, pressed, disabled), its
  // text kept for readers only; a placed button takes the images' size
  // and keeps its top right corner.
  void UseCloseBox();
  // A glyph that the state images carry at their left: its right edge, in
  // the image's pixels. The text keeps to the right of it however the image
  // is stretched.
  void SetTextInset(int pixels) { m_textInset = pixels; }
  // Where the icon and the text go in a client rectangle: the text right of
  // the icon (or glyph) and inside the button's edges, never over them.
  RECT IconRect(const RECT& client) const;
  RECT TextRect(const RECT& client);
  // A menu that pops up under the button when it is clicked (not owned).
  void SetPopupMenu(HMENU menu) { m_menu = menu; }
  HMENU PopupMenu() const { return m_menu; }

  // Draws the button as it looks now into `dc` (its client coordinates).
  void Paint(HDC dc, const RECT& client);

  int LastState() const { return m_lastState; }
  bool IsHover() const { return m_hover; }
  bool IsPressed() const { return m_pressed; }

  BEGIN_MSG_MAP(CQsButton)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_ENABLE, OnRepaintAfterDefault)
    MESSAGE_HANDLER(WM_SETFOCUS, OnRepaintAfterDefault)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnRepaintAfterDefault)
    MESSAGE_HANDLER(WM_SETTEXT, OnRepaintAfterDefault)
    MESSAGE_HANDLER(OCM_DRAWITEM, OnReflectedDrawItem)
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnRepaintAfterDefault(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnReflectedDrawItem(UINT, WPARAM, LPARAM, BOOL&) { return TRUE; }

  friend class CQsButtonWindow;
  void OnBound();
  void NotifyHover();

  int m_lastState = qs::kButtonNormal;
  bool m_pressed = false;
  bool m_hover = false;
  OwnedBitmap m_icon;  // a copy
  RECT m_iconRect{};
  HMENU m_menu = nullptr;
  int m_textInset = 0;
  bool m_textVisible = true;
};
