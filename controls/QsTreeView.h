// CQSTreeView: a tree view whose rows are drawn from the images of its
// states: 70 the selected row, 74 an unselected row, 75 the row of a group
// (an item the owner marks as one). Besides the platform's notifications it
// sends its parent QSTVN_ITEMCLICK when a row is clicked anywhere on it,
// after the tree has handled the click (selected the row).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>

#include "controls/ImageMgr.h"
#include "framework/WindowImpl.h"

namespace qs {
enum TreeState : int { kTreeSelected = 70, kTreeUnselected = 74, kTreeGroup = 75 };
}

// WM_NOTIFY code: a row was clicked (the record follows).
constexpr UINT QSTVN_ITEMCLICK = 0x240d;
struct NMQSTREEITEM {
  NMHDR hdr;
  HTREEITEM item;    // the row clicked, null below the last row
  UINT hitFlags;     // TVHT_* of the point clicked
  POINT point;       // in the tree's client coordinates
};

class CQSTreeView : public wf::CWindowImpl<CQSTreeView>, public CImageMgrCtrlBase<CQSTreeView> {
 public:
  static constexpr int kRowHeight = 30;  // as tall as the row images

  BOOL SubclassWindow(HWND hWnd) override;

  // Marks an item as a group row (drawn with state 75).
  void SetGroupItem(HTREEITEM item, bool group);
  bool IsGroupItem(HTREEITEM item) const { return m_groups.count(item) != 0; }
  // A row's background state: selected, group or unselected.
  int RowState(HTREEITEM item) const;

  // The picture behind the rows (not owned; the resource library keeps it).
  void SetBackgroundImage(Gdiplus::Image* image) { m_background = image; }
  // The tree's second colour: its expand marks (the texts take the states' colours).
  void SetMarkColor(COLORREF color) { m_markColor = color; }
  void SetMarkColorFromKey(const std::wstring& colorKey);
  COLORREF MarkColor() const { return m_markColor; }

  // Draws one row (background image and text) into `dc`.
  void DrawRow(HDC dc, HTREEITEM item, const RECT& row);

  BEGIN_MSG_MAP(CQSTreeView)
    MESSAGE_HANDLER(OCM_NOTIFY, OnReflectedNotify)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
  END_MSG_MAP()

 private:
  LRESULT OnReflectedNotify(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&);

  std::set<HTREEITEM> m_groups;
  Gdiplus::Image* m_background = nullptr;
  COLORREF m_markColor = RGB(0x5B, 0x7F, 0xA8);
};
