// Skinned edits: CQsEdit (a border by state) and CQsSearchEdit (the module
// search fields: a cue text, an image frame with a magnifier, and a clear
// button that empties the field and asks the parent to search).
#pragma once
#include <windows.h>

#include <string>

#include "controls/ImageMgr.h"
#include "framework/WindowImpl.h"

namespace qs {
enum EditState : int { kEditNormal = 2, kEditHover = 3, kEditFocused = 5, kEditDisabled = 6 };
}

class CQsEdit : public wf::CWindowImpl<CQsEdit>, public CImageMgrCtrlBase<CQsEdit> {
 public:
  BOOL SubclassWindow(HWND hWnd) override;
  // The state the border is drawn in now.
  int CurrentState() const;
  void PaintBorder(HDC windowDc, const RECT& window);

  BEGIN_MSG_MAP(CQsEdit)
    MESSAGE_HANDLER(WM_NCPAINT, OnNcPaint)
    MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(WM_SETFOCUS, OnFocusChange)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnFocusChange)
    MESSAGE_HANDLER(WM_ENABLE, OnFocusChange)
  END_MSG_MAP()

 protected:
  LRESULT OnNcPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnFocusChange(UINT, WPARAM, LPARAM, BOOL&);
  void RedrawFrame();

  bool m_hover = false;
};

class CQsSearchEdit : public wf::CWindowImpl<CQsSearchEdit>, public CImageMgrCtrlBase<CQsSearchEdit> {
 public:
  static constexpr int kMaxText = 255;
  // The button at the right: the frame image's magnifier (14 pixels, 9 from
  // the right edge) or, while there is text, the clear button in its place,
  // with room on its left so that the text stops short of it.
  static constexpr int kButtonWidth = 28;
  static constexpr int kGlyphSize = 14;
  static constexpr int kGlyphRight = 9;

  // Binds a search field: cue text from `cueKey`, the frame images, the font
  // "tamix_font_gdione" and the 255-character limit.
  BOOL SubclassWindow(HWND hWnd) override;
  void SetCueKey(const std::wstring& cueKey);
  const std::wstring& CueText() const { return m_cue; }

  // Empties the field and asks the parent to search (WM_QS_SEARCH).
  void Clear();
  // The clear button's rectangle in window coordinates (empty while there is
  // no text to clear). The text area ends at its left edge.
  RECT ClearButtonRect();
  // The formatting rectangle of the text in window coordinates.
  RECT TextAreaRect();
  void PaintFrame(HDC windowDc, const RECT& window);

  BEGIN_MSG_MAP(CQsSearchEdit)
    MESSAGE_HANDLER(WM_NCCALCSIZE, OnNcCalcSize)
    MESSAGE_HANDLER(WM_NCPAINT, OnNcPaint)
    MESSAGE_HANDLER(WM_NCHITTEST, OnNcHitTest)
    MESSAGE_HANDLER(WM_NCLBUTTONDOWN, OnNcLButtonDown)
    MESSAGE_HANDLER(WM_SETFOCUS, OnChangeThenFrame)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnChangeThenFrame)
    MESSAGE_HANDLER(WM_SETTEXT, OnChangeThenFrame)
    MESSAGE_HANDLER(WM_CHAR, OnChangeThenFrame)
    MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
    MESSAGE_HANDLER(WM_SIZE, OnChangeThenFrame)
  END_MSG_MAP()

 private:
  LRESULT OnNcCalcSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnNcPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnNcHitTest(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnNcLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnChangeThenFrame(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&);
  void RedrawFrame();
  // The frame image is stretched over the window, and its magnifier with it:
  // the horizontal scale, and the button's width at that scale.
  float FrameScale(int windowWidth);
  int ButtonWidth(int windowWidth);

  std::wstring m_cue;
};
