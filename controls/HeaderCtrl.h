// CQsHeaderCtrl: the skinned column header of the module lists. It binds the
// header that a report-mode list view makes for itself and draws it from a
// background image stretched over the strip, a separator image at the right
// edge of every column, the column titles in its font and colour (state 2 of
// the image manager), and an optional check box in one column.
//
// The header has a fixed height and its columns cannot be dragged wider or
// narrower: the grid owns the widths (they follow the owner's ratios).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "controls/GridPaint.h"
#include "controls/ImageMgr.h"
#include "framework/WindowImpl.h"

class CQsHeaderCtrl : public wf::CWindowImpl<CQsHeaderCtrl>, public CImageMgrCtrlBase<CQsHeaderCtrl> {
 public:
  static constexpr int kNormalState = 2;  // the state whose font and colour the titles use
  static constexpr int kDefaultHeight = 28;

  BOOL SubclassWindow(HWND hWnd) override;

  // Looks.
  void SetImages(Gdiplus::Image* span, Gdiplus::Image* separator);
  void SetImagesFromKeys(const std::wstring& spanKey, const std::wstring& separatorKey);
  void SetCheckImages(Gdiplus::Image* unchecked, Gdiplus::Image* checked);
  void SetFontFromKey(const std::wstring& fontKey) { SetStateFontFromKey(kNormalState, fontKey); Redraw(); }
  void SetTextColorFromKey(const std::wstring& colorKey) { SetStateColorFromKey(kNormalState, colorKey); Redraw(); }
  // The strip's height; the list view lays out its rows below it.
  void SetHeight(int height);
  int GetHeight() const { return m_height; }

  // The check box: shown in one column (-1: none).
  void SetCheckColumn(int column);
  int GetCheckColumn() const { return m_checkColumn; }
  void SetChecked(bool checked);
  bool IsChecked() const { return m_checked; }
  // Where the check box is drawn, in the header's client coordinates (empty
  // when there is none).
  RECT GetCheckRect();
  RECT GetItemRect(int column) const;

  // Draws the whole strip into `dc`.
  void Paint(HDC dc, const RECT& client);

  BEGIN_MSG_MAP(CQsHeaderCtrl)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(HDM_LAYOUT, OnLayout)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnButtonUp)
    MESSAGE_HANDLER(WM_CAPTURECHANGED, OnButtonUp)
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPrintClient(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnLayout(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnButtonUp(UINT, WPARAM, LPARAM, BOOL&);
  void Redraw();
  qsgrid::HeaderLook Look();

  qsgrid::HeaderLook m_look;
  qsgrid::CImageCache m_images;
  int m_height = kDefaultHeight;
  int m_checkColumn = -1;
  bool m_checked = false;
  int m_pressed = -1;
};
