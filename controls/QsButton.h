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

class CQsButton : public CImageMgrCtrlBase<CQsButton>, public wf::CWindowImpl<CQsButton> {
 public:
  CQsButton() = default;
  ~CQsButton() override;

  // Binds a button of a dialog: it becomes owner-drawn and skinned.
  BOOL SubclassWindow(HWND hWnd) override;

  // Slot order after the engine's (and the family's hook).
  virtual void DrawBackground(HDC dc, const RECT& rc, bool disabled, bool hover, bool focused);
  virtual void DrawText(HDC dc, const RECT& rc);

  // Replaces the icon by a copy of the rectangle (x, y, width, height) of
  // `image`; drawn at the left, vertically centred, before the text.
  void SetIcon(Gdiplus::Image* image, int x, int y, int width, int height);
  // Whether the window text is drawn (a picture button keeps its text for
  // readers of the window only).
  void SetTextVisible(bool visible) { m_textVisible = visible; }
  // Room kept free at the left of the text (a glyph in the state image).
  void SetTextInset(int pixels) { m_textInset = pixels; }
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

  void NotifyHover();

  int m_lastState = qs::kButtonNormal;
  bool m_pressed = false;
  bool m_hover = false;
  Gdiplus::Bitmap* m_icon = nullptr;  // owned copy
  RECT m_iconRect{};
  HMENU m_menu = nullptr;
  int m_textInset = 0;
  bool m_textVisible = true;
};
