#include "controls/QsTreeView.h"

#include "controls/SkinPaint.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/Gdi.h"

BOOL CQSTreeView::SubclassWindow(HWND hWnd) {
  if (!wf::CWindowImpl<CQSTreeView>::SubclassWindow(hWnd)) return FALSE;
  MarkBound(hWnd);
  ModifyStyle(TVS_HASLINES, TVS_FULLROWSELECT);
  SendMessage(TVM_SETBKCOLOR, 0, static_cast<LPARAM>(skin::theme::kWindow));
  SendMessage(TVM_SETITEMHEIGHT, kRowHeight, 0);
  return TRUE;
}

void CQSTreeView::SetMarkColorFromKey(const std::wstring& colorKey) {
  BYTE a = 0, r = 0, g = 0, b = 0;
  if (GetColorARGB(colorKey, a, r, g, b)) m_markColor = RGB(r, g, b);
}

void CQSTreeView::SetGroupItem(HTREEITEM item, bool group) {
  if (group) m_groups.insert(item);
  else m_groups.erase(item);
}

int CQSTreeView::RowState(HTREEITEM item) const {
  HTREEITEM selected = reinterpret_cast<HTREEITEM>(::SendMessageW(m_hWnd, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (item == selected) return qs::kTreeSelected;
  return IsGroupItem(item) ? qs::kTreeGroup : qs::kTreeUnselected;
}

void CQSTreeView::DrawRow(HDC dc, HTREEITEM item, const RECT& row) {
  int state = RowState(item);
  Gdiplus::Bitmap* image = GetStateImage(state);
  if (!image && state == qs::kTreeGroup) image = GetStateImage(qs::kTreeUnselected);
  if (image) {
    skin::DrawStretched(dc, image, row);
  } else {
    wf::ScopedBrush face(::CreateSolidBrush(state == qs::kTreeSelected ? skin::theme::kSelection : skin::theme::kWindow));
    ::FillRect(dc, &row, face);
  }
  // Text, indented by the item's depth, after the expand mark's room.
  wchar_t text[260] = {};
  TVITEMW tv{};
  tv.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_STATE;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = 260;
  SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  // The message takes the item in the rectangle it fills.
  union {
    RECT rect;
    HTREEITEM item;
  } query{};
  query.item = item;
  SendMessage(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&query.rect));
  RECT textRect = query.rect;
  RECT box{textRect.left, row.top, row.right - 4, row.bottom};
  if (tv.cChildren) {
    // The expand mark: a small chevron left of the text.
    Gdiplus::Graphics g(dc);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    Gdiplus::Pen pen(Gdiplus::Color(255, GetRValue(m_markColor), GetGValue(m_markColor), GetBValue(m_markColor)), 1.6f);
    float x = static_cast<float>(textRect.left - 12), y = (row.top + row.bottom) / 2.0f;
    bool expanded = (tv.state & TVIS_EXPANDED) != 0;
    if (expanded) {
      Gdiplus::PointF mark[] = {{x - 4, y - 2}, {x, y + 2}, {x + 4, y - 2}};
      g.DrawLines(&pen, mark, 3);
    } else {
      Gdiplus::PointF mark[] = {{x - 2, y - 4}, {x + 2, y}, {x - 2, y + 4}};
      g.DrawLines(&pen, mark, 3);
    }
  }
  COLORREF color = IsWindowEnabled() ? GetStateTextColor(state) : skin::theme::kDisabledText;
  skin::DrawTextIn(dc, text, box, GetStateFont(state), color, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

LRESULT CQSTreeView::OnReflectedNotify(UINT, WPARAM, LPARAM lParam, BOOL& bHandled) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header->code != NM_CUSTOMDRAW) {
    bHandled = FALSE;
    return 0;
  }
  auto* draw = reinterpret_cast<NMTVCUSTOMDRAW*>(lParam);
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      RECT row = draw->nmcd.rc;
      RECT client = GetClientRect();
      row.left = client.left;
      row.right = client.right;
      DrawRow(draw->nmcd.hdc, reinterpret_cast<HTREEITEM>(draw->nmcd.dwItemSpec), row);
      return CDRF_SKIPDEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

LRESULT CQSTreeView::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&) {
  TVHITTESTINFO hit{};
  hit.pt = wf::PointFromLParam(lParam);
  SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  // The tree selects (and follows the button until it is released) first:
  // had the owner selected the row before, the tree would take the click for
  // a second one on the selected row and start editing its label.
  DefWindowProc();
  if (!::IsWindow(m_hWnd)) return 0;
  NMQSTREEITEM notice{};
  notice.hdr.hwndFrom = m_hWnd;
  notice.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  notice.hdr.code = QSTVN_ITEMCLICK;
  notice.item = hit.hItem;
  notice.hitFlags = hit.flags;
  notice.point = hit.pt;
  if (HWND parent = GetParent()) ::SendMessageW(parent, WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice));
  return 0;
}

LRESULT CQSTreeView::OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL&) {
  RECT client = GetClientRect();
  HDC dc = reinterpret_cast<HDC>(wParam);
  if (m_background) {
    skin::DrawStretched(dc, m_background, client);
  } else {
    wf::ScopedBrush face(::CreateSolidBrush(skin::theme::kWindow));
    ::FillRect(dc, &client, face);
  }
  return 1;
}
