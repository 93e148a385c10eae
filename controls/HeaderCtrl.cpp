#include "controls/HeaderCtrl.h"

#include <vector>

#include "frame/suite/ResourceLibrary.h"
#include "framework/Gdi.h"

BOOL CQsHeaderCtrl::SubclassWindow(HWND hWnd) {
  if (!wf::CWindowImpl<CQsHeaderCtrl>::SubclassWindow(hWnd)) return FALSE;
  MarkBound(hWnd);
  return TRUE;
}

void CQsHeaderCtrl::Redraw() {
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CQsHeaderCtrl::SetImages(Gdiplus::Image* span, Gdiplus::Image* separator) {
  m_look.span = span;
  m_look.separator = separator;
  Redraw();
}

void CQsHeaderCtrl::SetImagesFromKeys(const std::wstring& spanKey, const std::wstring& separatorKey) {
  Gdiplus::Image* span = nullptr;
  Gdiplus::Image* separator = nullptr;
  GetImage(spanKey, span);
  GetImage(separatorKey, separator);
  SetImages(span, separator);
}

void CQsHeaderCtrl::SetCheckImages(Gdiplus::Image* unchecked, Gdiplus::Image* checked) {
  m_look.checkOff = unchecked;
  m_look.checkOn = checked;
  Redraw();
}

void CQsHeaderCtrl::SetHeight(int height) {
  m_height = height > 0 ? height : kDefaultHeight;
  // The list view asks its header for a layout when it is sized; a size
  // message with the current size makes it ask now.
  HWND list = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
  if (list) {
    RECT rc;
    ::GetClientRect(list, &rc);
    ::SendMessageW(list, WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.right, rc.bottom));
  }
}

void CQsHeaderCtrl::SetCheckColumn(int column) {
  m_checkColumn = column;
  Redraw();
}

void CQsHeaderCtrl::SetChecked(bool checked) {
  if (m_checked == checked) return;
  m_checked = checked;
  Redraw();
}

RECT CQsHeaderCtrl::GetItemRect(int column) const {
  RECT rc{};
  if (m_hWnd && column >= 0) ::SendMessageW(m_hWnd, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&rc));
  return rc;
}

RECT CQsHeaderCtrl::GetCheckRect() {
  if (m_checkColumn < 0) return RECT{};
  const RECT item = GetItemRect(m_checkColumn);
  if (item.right <= item.left) return RECT{};
  return qsgrid::HeaderCheckRect(item, m_look, m_images);
}

qsgrid::HeaderLook CQsHeaderCtrl::Look() {
  qsgrid::HeaderLook look = m_look;
  look.font = GetStateFont(kNormalState);
  look.text = GetStateTextColor(kNormalState);
  return look;
}

void CQsHeaderCtrl::Paint(HDC dc, const RECT& client) {
  std::vector<qsgrid::HeaderItemView> items;
  const int count = m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, HDM_GETITEMCOUNT, 0, 0)) : 0;
  for (int i = 0; i < count; ++i) {
    qsgrid::HeaderItemView view;
    view.rect = GetItemRect(i);
    wchar_t text[260] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = text;
    item.cchTextMax = 260;
    ::SendMessageW(m_hWnd, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    view.text = text;
    view.format = item.fmt;
    view.hasCheck = i == m_checkColumn;
    view.checked = m_checked;
    view.pressed = i == m_pressed;
    items.push_back(view);
  }
  qsgrid::PaintHeader(dc, client, items, Look(), m_images);
}

LRESULT CQsHeaderCtrl::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  wf::PaintDC paint(m_hWnd);
  RECT client = GetClientRect();
  if (client.right <= 0 || client.bottom <= 0) return 0;
  wf::MemoryCanvas buffer(paint, client.right, client.bottom);
  if (!buffer.valid()) return 0;
  Paint(buffer, client);
  ::BitBlt(paint, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
  return 0;
}

LRESULT CQsHeaderCtrl::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
  Paint(reinterpret_cast<HDC>(wParam), GetClientRect());
  return 0;
}

LRESULT CQsHeaderCtrl::OnLayout(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT result = DefWindowProc(uMsg, wParam, lParam);
  auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
  if (layout && layout->prc && layout->pwpos) {
    const int top = layout->pwpos->y;
    layout->pwpos->cy = m_height;
    layout->prc->top = top + m_height;
  }
  return result;
}

LRESULT CQsHeaderCtrl::OnSetCursor(UINT, WPARAM, LPARAM, BOOL&) {
  // No resize cursor over the dividers: the widths are not the user's to drag.
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  return TRUE;
}

LRESULT CQsHeaderCtrl::OnButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& bHandled) {
  HDHITTESTINFO hit{};
  hit.pt = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ::SendMessageW(m_hWnd, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  m_pressed = (hit.flags & HHT_ONHEADER) ? hit.iItem : -1;
  Redraw();
  bHandled = FALSE;
  return 0;
}

LRESULT CQsHeaderCtrl::OnButtonUp(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  if (m_pressed >= 0) {
    m_pressed = -1;
    Redraw();
  }
  bHandled = FALSE;
  return 0;
}
