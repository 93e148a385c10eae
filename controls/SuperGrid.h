// CQsSuperGrid: the list of the contact, message and calendar modules.
//
// It binds a report-mode, owner-data list view of a dialog template
// (LVS_REPORT | LVS_OWNERDATA) and draws every row itself. The rows stay with
// the owner, behind IQsGridModel (GridModel.h): the grid asks for the cells of
// the rows on screen when it paints and for a cell's text when something reads
// it, so filling costs one item count and painting only the visible rows.
//
// What it adds to the list view:
//  - columns whose widths follow the owner's ratios of the client width
//    (LayoutColumns); the user cannot drag them;
//  - check-box cells, row actions (clickable texts or images in a cell), a
//    check box in the header of one column;
//  - section rows spanning the width, which the owner may let collapse;
//  - selection and hover drawing in the owner's fonts and colours;
//  - a card mode in which the rows are read-only SIM card entries: check boxes
//    and row actions are neither drawn nor clickable.
//
// Rows and items: the list view numbers its items; the owner numbers its rows.
// They are equal until a section is collapsed. Everything this class takes or
// gives is a row, and so are the grid's own notifications; the platform's
// notifications (NM_CLICK, LVN_ITEMCHANGED, ...) and messages (LVM_GETITEMTEXT)
// speak of items: RowFromItem / ItemFromRow convert.
//
// Item texts: the list view asks its parent for texts with LVN_GETDISPINFO;
// the grid answers those requests itself (it watches its parent's WM_NOTIFY),
// so LVM_GETITEMTEXT, assistive technology and tests read every cell as
// CQsGridCell::ReadableText gives it.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "controls/GridLayout.h"
#include "controls/GridModel.h"
#include "controls/GridPaint.h"
#include "controls/HeaderCtrl.h"
#include "framework/Gdi.h"
#include "framework/WindowImpl.h"

// ---- notifications (WM_NOTIFY to the parent; wParam: the grid's control id) ----

// QSGN_CELLCLICK: the user clicked the check box or a row action of a cell.
// lParam: NMQSGRIDCELL*. The grid changes nothing itself: the owner acts and
// updates its cell (then RedrawRow). The return value is ignored.
// Sent when the left button goes down (after the list view's own handling, so
// the row is already selected); a double click on a check box counts as a
// second click.
constexpr UINT QSGN_CELLCLICK = 0x240c;

// QSGN_HEADERCLICK: the user clicked a column header. lParam: NMQSGRIDHEADER*.
// On the column with the header check box the grid has already flipped the box
// (the owner may set it back with SetHeaderCheck). Return value ignored.
constexpr UINT QSGN_HEADERCLICK = 0x240e;

typedef struct tagNMQSGRIDCELL {
  NMHDR hdr;
  int iRow;     // the owner's row
  int iColumn;
  int iAction;  // the clicked row action of the cell (from 0), or -1 for the check box
  int iCheck;   // the cell's check value before the click: 1 for "1", otherwise 0
} NMQSGRIDCELL, *LPNMQSGRIDCELL;

typedef struct tagNMQSGRIDHEADER {
  NMHDR hdr;
  int iColumn;
  int iCheck;  // the header check box's value before the click (0 for a column without one)
} NMQSGRIDHEADER, *LPNMQSGRIDHEADER;

enum class GridFont { Row, Section, Action, Header };
enum class GridColor {
  Background,
  Text,
  SelectedBack,
  SelectedText,
  HoverBack,
  SectionBack,
  SectionText,
  ActionText,
  GridLine,
  HeaderText,
};

// What a point of the grid hits, in rows.
struct CQsGridHitInfo {
  qsgrid::HitPart part = qsgrid::HitPart::None;
  int row = -1;
  int column = -1;
  int action = -1;
};

class CQsSuperGrid : public wf::CWindowImpl<CQsSuperGrid> {
 public:
  static constexpr int kDefaultRowHeight = 30;

  CQsSuperGrid() = default;
  ~CQsSuperGrid() override;

  // Binds a report-mode owner-data list view (and its header).
  BOOL SubclassWindow(HWND list) override;
  BOOL SubclassDlgItem(int id, HWND dialog) { return SubclassWindow(::GetDlgItem(dialog, id)); }

  // ---- model ----
  void SetModel(IQsGridModel* model);
  IQsGridModel* GetModel() const { return m_model; }
  // The rows changed: reads the row count and the collapsed sections again
  // and repaints. Costs nothing per row (unless sections are collapsed, then
  // the rows under them). The selection is kept by item; an owner that
  // refills the list clears it (ClearSelection) or empties the list first.
  void Refresh();
  void RedrawRow(int row);
  void RedrawAll();
  int GetRowCount() const { return m_rows.RowCount(); }
  int GetItemCount() const { return m_rows.ItemCount(); }
  int RowFromItem(int item) const { return m_rows.RowOfItem(item); }
  int ItemFromRow(int row) const { return m_rows.ItemOfRow(row); }

  // ---- columns ----
  // Inserts a column with a title and its share of the client width.
  int InsertColumn(int index, const std::wstring& title, double ratio, int format = LVCFMT_LEFT);
  int AddColumn(const std::wstring& title, double ratio, int format = LVCFMT_LEFT) {
    return InsertColumn(GetColumnCount(), title, ratio, format);
  }
  int GetColumnCount() const { return static_cast<int>(m_ratios.size()); }
  // New shares for the existing columns (extra values are ignored); laid out
  // at once, even at the same width.
  void SetColumnRatios(const std::vector<double>& ratios);
  const std::vector<double>& GetColumnRatios() const { return m_ratios; }
  // Sets the widths from the ratios when the client width differs from the
  // width laid out last; runs by itself on every resize.
  void LayoutColumns();

  // ---- sections ----
  // Lets the owner flip a section (as a click on its expander does).
  void ToggleSection(int row);
  bool IsSectionCollapsed(int row) const;

  // ---- selection ----
  std::vector<int> GetSelectedRows() const;
  int GetSelectedCount() const;
  int GetFirstSelectedRow() const;
  bool IsRowSelected(int row) const;
  void SelectRow(int row, bool select = true);
  void SelectAll();
  void ClearSelection();
  void SetFocusRow(int row);
  int GetFocusRow() const;
  void EnsureRowVisible(int row);

  // ---- check boxes and card mode ----
  // Box images of check cells and of the header's check box.
  void SetCheckBoxImages(Gdiplus::Image* unchecked, Gdiplus::Image* checked);
  void SetCheckBoxImagesFromKeys(const std::wstring& unchecked, const std::wstring& checked);
  // The header check box: shown in `column` (-1 hides it).
  void SetHeaderCheckColumn(int column);
  int GetHeaderCheckColumn() const { return m_header.GetCheckColumn(); }
  void SetHeaderCheck(bool checked) { m_header.SetChecked(checked); }
  bool GetHeaderCheck() const { return m_header.IsChecked(); }
  void SetCardMode(bool cardMode);
  bool IsCardMode() const { return m_cardMode; }

  // ---- looks ----
  void SetRowHeight(int height);
  int GetRowHeight() const { return m_rowHeight; }
  void SetHeaderHeight(int height) { m_header.SetHeight(height); }
  void SetHeaderImages(Gdiplus::Image* span, Gdiplus::Image* separator) { m_header.SetImages(span, separator); }
  void SetHeaderImagesFromKeys(const std::wstring& span, const std::wstring& separator) {
    m_header.SetImagesFromKeys(span, separator);
  }
  // Section rows: a corner mark at the left, and the expander's two images
  // (without them sections show no expander and cannot be collapsed by a click).
  void SetSectionImages(Gdiplus::Image* corner, Gdiplus::Image* expanded, Gdiplus::Image* collapsed);
  void SetSectionImagesFromKeys(const std::wstring& corner, const std::wstring& expanded,
                                const std::wstring& collapsed);
  // Fonts from a face name, a size in points and a GDI+ style (1 bold, 2
  // italic, 4 underline), or from a resource key ("tamix_font_gdione").
  void SetFont(GridFont role, const std::wstring& faceName, double points, int style);
  void SetFontFromKey(GridFont role, const std::wstring& key);
  void SetColor(GridColor role, COLORREF color);
  void SetColorFromKey(GridColor role, const std::wstring& key);
  CQsHeaderCtrl& Header() { return m_header; }

  // ---- geometry (client coordinates of the grid) ----
  qsgrid::GridGeometry GetGeometry() const;
  // False for a row that is hidden or out of range.
  bool GetCellRect(int row, int column, RECT& rc) const;
  bool GetCheckBoxRect(int row, int column, RECT& rc);
  bool GetActionRect(int row, int column, int action, RECT& rc);
  bool GetExpanderRect(int row, RECT& rc);
  // The header check box, in the header's client coordinates.
  RECT GetHeaderCheckRect() { return m_header.GetCheckRect(); }
  CQsGridHitInfo HitTest(POINT pt);

  // Draws the rows that `clip` touches into `dc` (grid client coordinates).
  void Paint(HDC dc, const RECT& clip);

  BEGIN_MSG_MAP(CQsSuperGrid)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDblClk)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_HANDLER(WM_VSCROLL, OnScroll)
    MESSAGE_HANDLER(WM_HSCROLL, OnScroll)
    MESSAGE_HANDLER(WM_MOUSEWHEEL, OnScroll)
    MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
    MESSAGE_HANDLER(WM_NCDESTROY, OnNcDestroy)
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPrintClient(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDblClk(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnScroll(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnNotify(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnNcDestroy(UINT, WPARAM, LPARAM, BOOL&);

  // The parent's WM_NOTIFY: LVN_GETDISPINFO of this grid is answered here.
  static LRESULT CALLBACK ParentProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  bool AnswerDispInfo(LPARAM lParam, bool wide);
  void WatchParent(bool watch);

  void EnsureHeader();
  void CalibrateRowHeight();
  qsgrid::GridLook Look() const;
  HFONT DefaultFont() const;
  void RebuildHoverFont();
  void SetHover(int item, int column, int action);
  void RefreshHoverFromCursor();
  void InvalidateItem(int item);
  qsgrid::CellParts PartsOf(int row, int column, const qsgrid::GridGeometry& geometry);
  void SendCellClick(int row, int column, int action, int check);
  void SendHeaderClick(int column, int check);

  IQsGridModel* m_model = nullptr;
  qsgrid::CRowMap m_rows;
  std::vector<int> m_collapsed;  // sorted section rows
  std::vector<double> m_ratios;
  qsgrid::CColumnWidthKeeper m_widths;
  CQsHeaderCtrl m_header;
  HWND m_watchedParent = nullptr;

  qsgrid::GridLook m_look;
  wf::ScopedFont m_rowFont, m_sectionFont, m_actionFont, m_actionHoverFont;
  qsgrid::CImageCache m_images;
  int m_rowHeight = kDefaultRowHeight;
  HIMAGELIST m_heightImages = nullptr;  // gives the list view its row height
  int m_heightImagesSize = 0;
  bool m_calibrated = false;
  bool m_cardMode = false;

  int m_hoverItem = -1;
  int m_hoverColumn = -1;
  int m_hoverAction = -1;
  bool m_trackingLeave = false;
};
