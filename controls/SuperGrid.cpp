#include "controls/SuperGrid.h"

#include <algorithm>

#include "frame/suite/ResourceLibrary.h"

namespace {

Gdiplus::Image* ImageOf(const std::wstring& key) {
  Gdiplus::Image* image = nullptr;
  if (!key.empty()) GetImage(key, image);
  return image;
}

}  // namespace

// The row-height image list stays with the list view, which frees its image
// lists when it is destroyed (it keeps showing rows of our height if unbound).
CQsSuperGrid::~CQsSuperGrid() { WatchParent(false); }

BOOL CQsSuperGrid::SubclassWindow(HWND list) {
  if (!wf::CWindowImpl<CQsSuperGrid>::SubclassWindow(list)) return FALSE;
  MarkSkinned(list);
  // Clicks anywhere in a row select it, not only on the first column's text.
  SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  WatchParent(true);
  EnsureHeader();
  SetRowHeight(m_rowHeight);
  RebuildHoverFont();
  Refresh();
  return TRUE;
}

void CQsSuperGrid::EnsureHeader() {
  if (m_header.m_hWnd || !m_hWnd) return;
  HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
  if (header && m_header.SubclassWindow(header)) {
    m_header.SetCheckImages(m_look.checkOff, m_look.checkOn);
    m_header.SetHeight(m_header.GetHeight());
  }
}

// ---- parent watch: item texts ----

void CQsSuperGrid::WatchParent(bool watch) {
  if (watch && !m_watchedParent && m_hWnd) {
    HWND parent = ::GetParent(m_hWnd);
    if (parent && ::SetWindowSubclass(parent, &ParentProc, reinterpret_cast<UINT_PTR>(this),
                                      reinterpret_cast<DWORD_PTR>(this)))
      m_watchedParent = parent;
  } else if (!watch && m_watchedParent) {
    ::RemoveWindowSubclass(m_watchedParent, &ParentProc, reinterpret_cast<UINT_PTR>(this));
    m_watchedParent = nullptr;
  }
}

LRESULT CALLBACK CQsSuperGrid::ParentProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR refData) {
  auto* self = reinterpret_cast<CQsSuperGrid*>(refData);
  if (uMsg == WM_NOTIFY && self->m_hWnd) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom == self->m_hWnd && (header->code == LVN_GETDISPINFOW || header->code == LVN_GETDISPINFOA))
      if (self->AnswerDispInfo(lParam, header->code == LVN_GETDISPINFOW)) return 0;
  } else if (uMsg == WM_NCDESTROY) {
    ::RemoveWindowSubclass(hWnd, &ParentProc, id);
    self->m_watchedParent = nullptr;
  }
  return ::DefSubclassProc(hWnd, uMsg, wParam, lParam);
}

bool CQsSuperGrid::AnswerDispInfo(LPARAM lParam, bool wide) {
  // Both record kinds start alike: NMHDR, then an LVITEM whose text fields
  // differ only in the character type.
  auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
  LVITEMW& item = info->item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return false;
  const int row = m_rows.RowOfItem(item.iItem);
  std::wstring text;
  if (m_model && row >= 0 && item.iSubItem >= 0 && item.iSubItem < GetColumnCount()) {
    CQsGridCell cell;
    m_model->GetCell(row, item.iSubItem, cell);
    text = cell.ReadableText();
  }
  if (wide) {
    lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
  } else {
    // Converted whole, then cut: the conversion refuses a buffer too small.
    std::string converted(text.size() * 4 + 1, '\0');
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), converted.data(),
                                        static_cast<int>(converted.size()), nullptr, nullptr);
    converted.resize(n > 0 ? static_cast<size_t>(n) : 0);
    lstrcpynA(reinterpret_cast<char*>(item.pszText), converted.c_str(), item.cchTextMax);
  }
  return true;
}

// ---- model ----

void CQsSuperGrid::SetModel(IQsGridModel* model) {
  m_model = model;
  Refresh();
}

void CQsSuperGrid::Refresh() {
  const int rows = m_model ? m_model->GetRowCount() : 0;
  std::vector<int> collapsed;
  if (m_model) m_model->GetCollapsedSections(collapsed);
  const IQsGridModel* model = m_model;
  qsgrid::BuildRowMap(m_rows, rows, collapsed, [model](int row) { return model->IsSectionRow(row); });
  // Drawn as collapsed: the listed rows that really are sections.
  m_collapsed.clear();
  for (int section : collapsed)
    if (section >= 0 && section < rows && model->IsSectionRow(section)) m_collapsed.push_back(section);
  std::sort(m_collapsed.begin(), m_collapsed.end());
  if (!m_hWnd) return;
  SendMessage(LVM_SETITEMCOUNT, m_rows.ItemCount(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
  m_hoverItem = m_hoverColumn = m_hoverAction = -1;
  CalibrateRowHeight();
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CQsSuperGrid::InvalidateItem(int item) {
  if (!m_hWnd || item < 0 || item >= m_rows.ItemCount()) return;
  const qsgrid::GridGeometry geometry = GetGeometry();
  RECT rc = geometry.ItemRect(item);
  rc.left = 0;
  rc.right = geometry.clientWidth;
  ::InvalidateRect(m_hWnd, &rc, FALSE);
}

void CQsSuperGrid::RedrawRow(int row) { InvalidateItem(m_rows.ItemOfRow(row)); }

void CQsSuperGrid::RedrawAll() {
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
  if (m_header.m_hWnd) ::InvalidateRect(m_header.m_hWnd, nullptr, FALSE);
}

// ---- columns ----

int CQsSuperGrid::InsertColumn(int index, const std::wstring& title, double ratio, int format) {
  if (!m_hWnd) return -1;
  index = std::clamp(index, 0, GetColumnCount());
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
  column.fmt = format;
  column.cx = 0;
  column.pszText = const_cast<wchar_t*>(title.c_str());
  const int at = static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)));
  if (at < 0) return -1;
  m_ratios.insert(m_ratios.begin() + at, ratio);
  EnsureHeader();
  m_widths.Forget();
  LayoutColumns();
  return at;
}

void CQsSuperGrid::SetColumnRatios(const std::vector<double>& ratios) {
  for (size_t i = 0; i < m_ratios.size() && i < ratios.size(); ++i) m_ratios[i] = ratios[i];
  m_widths.Forget();
  LayoutColumns();
}

void CQsSuperGrid::LayoutColumns() {
  if (!m_hWnd || m_ratios.empty()) return;
  // The widths leave room for the vertical scroll bar whether it is shown or
  // not: a list that grows past a page (or shrinks below one) keeps its
  // columns instead of laying them out again, which costs a repaint of every
  // column over all the rows.
  int width = GetClientRect().right;
  if (!(GetStyle() & WS_VSCROLL)) width -= ::GetSystemMetrics(SM_CXVSCROLL);
  std::vector<int16_t> widths;
  if (!m_widths.Update(std::max(width, 0), m_ratios, widths)) return;
  for (size_t i = 0; i < widths.size(); ++i) {
    // -1 and -2 would mean "fit the contents" to the list view: a column
    // squeezed below nothing is simply empty.
    const int16_t width = widths[i] < 0 ? int16_t{0} : widths[i];
    SendMessage(LVM_SETCOLUMNWIDTH, i, MAKELPARAM(static_cast<WORD>(width), 0));
  }
  RedrawAll();
}

// ---- sections ----

bool CQsSuperGrid::IsSectionCollapsed(int row) const {
  return std::binary_search(m_collapsed.begin(), m_collapsed.end(), row);
}

void CQsSuperGrid::ToggleSection(int row) {
  if (!m_model || row < 0 || row >= m_rows.RowCount() || !m_model->IsSectionRow(row)) return;
  // Items are renumbered below the section: keep the selection on its rows.
  const std::vector<int> selected = GetSelectedRows();
  const int focus = GetFocusRow();
  m_model->OnSectionToggle(row);
  ClearSelection();
  Refresh();
  for (int r : selected) SelectRow(r, true);
  if (focus >= 0) SetFocusRow(focus);
}

// ---- selection ----

std::vector<int> CQsSuperGrid::GetSelectedRows() const {
  std::vector<int> rows;
  if (!m_hWnd) return rows;
  int item = -1;
  while ((item = static_cast<int>(SendMessage(LVM_GETNEXTITEM, item, LVNI_SELECTED))) >= 0) {
    const int row = m_rows.RowOfItem(item);
    if (row >= 0) rows.push_back(row);
  }
  return rows;
}

int CQsSuperGrid::GetSelectedCount() const {
  return m_hWnd ? static_cast<int>(SendMessage(LVM_GETSELECTEDCOUNT)) : 0;
}

int CQsSuperGrid::GetFirstSelectedRow() const {
  return m_hWnd ? m_rows.RowOfItem(static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)))
                : -1;
}

bool CQsSuperGrid::IsRowSelected(int row) const {
  const int item = m_rows.ItemOfRow(row);
  return item >= 0 && (SendMessage(LVM_GETITEMSTATE, item, LVIS_SELECTED) & LVIS_SELECTED);
}

void CQsSuperGrid::SelectRow(int row, bool select) {
  const int item = m_rows.ItemOfRow(row);
  if (item < 0 || !m_hWnd) return;
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED;
  state.state = select ? LVIS_SELECTED : 0;
  SendMessage(LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
}

void CQsSuperGrid::SelectAll() {
  if (!m_hWnd) return;
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED;
  state.state = LVIS_SELECTED;
  SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
}

void CQsSuperGrid::ClearSelection() {
  if (!m_hWnd) return;
  // Item by item over the selected ones only: "every item" (-1) walks the
  // whole list, which with tens of thousands of rows takes seconds.
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED;
  int item = -1;
  while ((item = static_cast<int>(SendMessage(LVM_GETNEXTITEM, item, LVNI_SELECTED))) >= 0)
    SendMessage(LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
}

void CQsSuperGrid::SetFocusRow(int row) {
  const int item = m_rows.ItemOfRow(row);
  if (item < 0 || !m_hWnd) return;
  LVITEMW state{};
  state.stateMask = LVIS_FOCUSED;
  state.state = LVIS_FOCUSED;
  SendMessage(LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
}

int CQsSuperGrid::GetFocusRow() const {
  return m_hWnd ? m_rows.RowOfItem(static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)))
                : -1;
}

void CQsSuperGrid::EnsureRowVisible(int row) {
  const int item = m_rows.ItemOfRow(row);
  if (item >= 0 && m_hWnd) SendMessage(LVM_ENSUREVISIBLE, item, FALSE);
}

// ---- check boxes, card mode ----

void CQsSuperGrid::SetCheckBoxImages(Gdiplus::Image* unchecked, Gdiplus::Image* checked) {
  m_look.checkOff = unchecked;
  m_look.checkOn = checked;
  m_header.SetCheckImages(unchecked, checked);
  RedrawAll();
}

void CQsSuperGrid::SetCheckBoxImagesFromKeys(const std::wstring& unchecked, const std::wstring& checked) {
  SetCheckBoxImages(ImageOf(unchecked), ImageOf(checked));
}

void CQsSuperGrid::SetHeaderCheckColumn(int column) {
  EnsureHeader();
  m_header.SetCheckColumn(column);
}

void CQsSuperGrid::SetCardMode(bool cardMode) {
  if (m_cardMode == cardMode) return;
  m_cardMode = cardMode;
  RedrawAll();
}

// ---- looks ----

void CQsSuperGrid::SetRowHeight(int height) {
  m_rowHeight = height > 0 ? height : kDefaultRowHeight;
  m_calibrated = false;
  if (!m_hWnd) return;
  // A report list view makes its rows as tall as its small images (plus a
  // little): an image list of blank images is how a row height is chosen.
  // The padding differs between versions, so it is measured once rows exist.
  const int imageHeight = std::max(1, m_rowHeight - 1);
  HIMAGELIST images = ::ImageList_Create(1, imageHeight, ILC_COLOR32, 1, 0);
  HIMAGELIST old = reinterpret_cast<HIMAGELIST>(
      SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images)));
  if (old && old == m_heightImages) ::ImageList_Destroy(old);
  m_heightImages = images;
  m_heightImagesSize = imageHeight;
  CalibrateRowHeight();
  RedrawAll();
}

void CQsSuperGrid::CalibrateRowHeight() {
  if (m_calibrated || !m_hWnd || m_rows.ItemCount() == 0 || !m_heightImages) return;
  m_calibrated = true;
  RECT rc{};
  rc.left = LVIR_BOUNDS;
  if (!SendMessage(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc))) return;
  const int measured = rc.bottom - rc.top;
  if (measured == m_rowHeight) return;
  const int imageHeight = m_heightImagesSize + (m_rowHeight - measured);
  if (imageHeight <= 0) return;
  HIMAGELIST images = ::ImageList_Create(1, imageHeight, ILC_COLOR32, 1, 0);
  HIMAGELIST old = reinterpret_cast<HIMAGELIST>(
      SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images)));
  if (old && old == m_heightImages) ::ImageList_Destroy(old);
  m_heightImages = images;
  m_heightImagesSize = imageHeight;
}

void CQsSuperGrid::SetSectionImages(Gdiplus::Image* corner, Gdiplus::Image* expanded, Gdiplus::Image* collapsed) {
  m_look.sectionCorner = corner;
  m_look.sectionExpanded = expanded;
  m_look.sectionCollapsed = collapsed;
  RedrawAll();
}

void CQsSuperGrid::SetSectionImagesFromKeys(const std::wstring& corner, const std::wstring& expanded,
                                            const std::wstring& collapsed) {
  SetSectionImages(ImageOf(corner), ImageOf(expanded), ImageOf(collapsed));
}

void CQsSuperGrid::SetFont(GridFont role, const std::wstring& faceName, double points, int style) {
  HFONT font = MakeFont(faceName, points, style);
  switch (role) {
    case GridFont::Row: m_rowFont.Reset(font); RebuildHoverFont(); break;
    case GridFont::Section: m_sectionFont.Reset(font); break;
    case GridFont::Action: m_actionFont.Reset(font); RebuildHoverFont(); break;
    case GridFont::Header:
      ::DeleteObject(font);
      m_header.SetStateFont(CQsHeaderCtrl::kNormalState, faceName, points, style);
      break;
  }
  RedrawAll();
}

void CQsSuperGrid::SetFontFromKey(GridFont role, const std::wstring& key) {
  std::wstring face;
  double size = 0;
  int32_t style = 0;
  if (GetFontEx(key, face, size, style) && size > 0) SetFont(role, face, size, style);
}

void CQsSuperGrid::SetColor(GridColor role, COLORREF color) {
  switch (role) {
    case GridColor::Background: m_look.background = color; break;
    case GridColor::Text: m_look.text = color; break;
    case GridColor::SelectedBack: m_look.selectedBack = color; break;
    case GridColor::SelectedText: m_look.selectedText = color; break;
    case GridColor::HoverBack: m_look.hoverBack = color; break;
    case GridColor::SectionBack: m_look.sectionBack = color; break;
    case GridColor::SectionText: m_look.sectionText = color; break;
    case GridColor::ActionText: m_look.actionText = color; break;
    case GridColor::GridLine: m_look.gridLine = color; break;
    case GridColor::HeaderText: m_header.SetStateTextColor(CQsHeaderCtrl::kNormalState, color); break;
  }
  RedrawAll();
}

void CQsSuperGrid::SetColorFromKey(GridColor role, const std::wstring& key) {
  uint32_t color = 0;
  if (GetColor(key, color)) SetColor(role, static_cast<COLORREF>(color));
}

HFONT CQsSuperGrid::DefaultFont() const {
  HFONT font = m_hWnd ? reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)) : nullptr;
  return font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void CQsSuperGrid::RebuildHoverFont() {
  HFONT base = m_actionFont ? m_actionFont.Get() : m_rowFont ? m_rowFont.Get() : DefaultFont();
  LOGFONTW font{};
  if (!::GetObjectW(base, sizeof(font), &font)) return;
  font.lfUnderline = TRUE;
  m_actionHoverFont.Reset(::CreateFontIndirectW(&font));
}

qsgrid::GridLook CQsSuperGrid::Look() const {
  qsgrid::GridLook look = m_look;
  const HFONT fallback = DefaultFont();
  look.rowFont = m_rowFont ? m_rowFont.Get() : fallback;
  look.sectionFont = m_sectionFont ? m_sectionFont.Get() : look.rowFont;
  look.actionFont = m_actionFont ? m_actionFont.Get() : look.rowFont;
  look.actionHoverFont = m_actionHoverFont.Get();
  return look;
}

// ---- geometry and hit testing ----

qsgrid::GridGeometry CQsSuperGrid::GetGeometry() const {
  qsgrid::GridGeometry geometry;
  if (!m_hWnd) return geometry;
  const RECT client = GetClientRect();
  geometry.clientWidth = client.right;
  geometry.clientHeight = client.bottom;
  geometry.itemCount = m_rows.ItemCount();
  geometry.rowHeight = m_rowHeight;
  geometry.rowsTop = 0;
  if (m_header.m_hWnd && (m_header.GetStyle() & WS_VISIBLE)) {
    RECT header = m_header.GetRectInParent();
    geometry.rowsTop = header.bottom;
  }
  geometry.originX = -::GetScrollPos(m_hWnd, SB_HORZ);
  for (int i = 0; i < GetColumnCount(); ++i)
    geometry.columnWidths.push_back(static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, i)));
  if (geometry.itemCount > 0) {
    // The list view's own numbers, so that drawing and its scrolling agree.
    geometry.topItem = static_cast<int>(SendMessage(LVM_GETTOPINDEX));
    RECT rc{};
    rc.left = LVIR_BOUNDS;
    if (SendMessage(LVM_GETITEMRECT, geometry.topItem, reinterpret_cast<LPARAM>(&rc)) && rc.bottom > rc.top) {
      geometry.rowsTop = rc.top;
      geometry.rowHeight = rc.bottom - rc.top;
      geometry.originX = rc.left;
    }
  }
  return geometry;
}

bool CQsSuperGrid::GetCellRect(int row, int column, RECT& rc) const {
  const int item = m_rows.ItemOfRow(row);
  if (item < 0 || column < 0 || column >= GetColumnCount()) return false;
  rc = GetGeometry().CellRect(item, column);
  return true;
}

qsgrid::CellParts CQsSuperGrid::PartsOf(int row, int column, const qsgrid::GridGeometry& geometry) {
  CQsGridCell cell;
  m_model->GetCell(row, column, cell);
  wf::ClientDC dc(m_hWnd);
  const qsgrid::GridLook look = Look();
  const RECT rc = geometry.CellRect(m_rows.ItemOfRow(row), column);
  return qsgrid::LayoutCell(rc, qsgrid::ShapeOfCell(dc, cell, look, m_images, m_cardMode), look.metrics);
}

bool CQsSuperGrid::GetCheckBoxRect(int row, int column, RECT& rc) {
  if (!m_model || m_rows.ItemOfRow(row) < 0 || column < 0 || column >= GetColumnCount() || m_model->IsSectionRow(row))
    return false;
  rc = PartsOf(row, column, GetGeometry()).check;
  return rc.right > rc.left;
}

bool CQsSuperGrid::GetActionRect(int row, int column, int action, RECT& rc) {
  if (!m_model || m_rows.ItemOfRow(row) < 0 || column < 0 || column >= GetColumnCount() || m_model->IsSectionRow(row))
    return false;
  const qsgrid::CellParts parts = PartsOf(row, column, GetGeometry());
  if (action < 0 || action >= static_cast<int>(parts.actions.size())) return false;
  rc = parts.actions[action];
  return true;
}

bool CQsSuperGrid::GetExpanderRect(int row, RECT& rc) {
  const int item = m_rows.ItemOfRow(row);
  if (!m_model || item < 0 || !m_model->IsSectionRow(row)) return false;
  const qsgrid::GridLook look = Look();
  rc = qsgrid::LayoutSection(GetGeometry().ItemRect(item), qsgrid::ShapeOfSection(look, m_images), look.metrics)
           .expander;
  return rc.right > rc.left;
}

CQsGridHitInfo CQsSuperGrid::HitTest(POINT pt) {
  CQsGridHitInfo info;
  if (!m_model || !m_hWnd) return info;
  const qsgrid::GridGeometry geometry = GetGeometry();
  if (pt.x < 0 || pt.y < 0 || pt.x >= geometry.clientWidth || pt.y >= geometry.clientHeight) return info;
  const int item = geometry.ItemAt(pt.y);
  const int row = m_rows.RowOfItem(item);
  if (row < 0) return info;
  info.row = row;
  info.column = geometry.ColumnAt(pt.x);
  if (m_model->IsSectionRow(row)) {
    RECT expander{};
    info.part = GetExpanderRect(row, expander) && qsgrid::Contains(expander, pt) ? qsgrid::HitPart::Expander
                                                                                 : qsgrid::HitPart::Section;
    return info;
  }
  if (info.column < 0) {
    info.part = qsgrid::HitPart::Cell;
    return info;
  }
  const qsgrid::GridHit hit = qsgrid::HitCellParts(PartsOf(row, info.column, geometry), pt, item, info.column);
  info.part = hit.part;
  info.action = hit.action;
  return info;
}

// ---- painting ----

void CQsSuperGrid::Paint(HDC dc, const RECT& clip) {
  qsgrid::GridViewState view;
  view.hoverItem = m_hoverItem;
  view.hoverColumn = m_hoverColumn;
  view.hoverAction = m_hoverAction;
  view.cardMode = m_cardMode;
  view.itemState = [this](int item) {
    return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, item, LVIS_SELECTED | LVIS_FOCUSED));
  };
  view.sectionCollapsed = [this](int row) { return IsSectionCollapsed(row); };
  qsgrid::PaintRows(dc, clip, GetGeometry(), m_rows, m_model, Look(), view, m_images);
}

LRESULT CQsSuperGrid::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  wf::PaintBuffered(m_hWnd, [this](HDC dc, const RECT& clip) { Paint(dc, clip); });
  return 0;
}

LRESULT CQsSuperGrid::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
  Paint(reinterpret_cast<HDC>(wParam), GetClientRect());
  return 0;
}

LRESULT CQsSuperGrid::OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT result = DefWindowProc(uMsg, wParam, lParam);
  LayoutColumns();
  return result;
}

// ---- mouse ----

void CQsSuperGrid::SendCellClick(int row, int column, int action, int check) {
  NMQSGRIDCELL record{};
  record.hdr.hwndFrom = m_hWnd;
  record.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(m_hWnd));
  record.hdr.code = QSGN_CELLCLICK;
  record.iRow = row;
  record.iColumn = column;
  record.iAction = action;
  record.iCheck = check;
  ::SendMessageW(::GetParent(m_hWnd), WM_NOTIFY, record.hdr.idFrom, reinterpret_cast<LPARAM>(&record));
}

void CQsSuperGrid::SendHeaderClick(int column, int check) {
  NMQSGRIDHEADER record{};
  record.hdr.hwndFrom = m_hWnd;
  record.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(m_hWnd));
  record.hdr.code = QSGN_HEADERCLICK;
  record.iColumn = column;
  record.iCheck = check;
  ::SendMessageW(::GetParent(m_hWnd), WM_NOTIFY, record.hdr.idFrom, reinterpret_cast<LPARAM>(&record));
}

LRESULT CQsSuperGrid::OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL&) {
  // What was under the mouse before the list view selects or scrolls.
  const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  const CQsGridHitInfo hit = HitTest(pt);
  CQsGridCell cell;
  if (hit.part == qsgrid::HitPart::CheckBox || hit.part == qsgrid::HitPart::Action)
    m_model->GetCell(hit.row, hit.column, cell);
  const LRESULT result = DefWindowProc(uMsg, wParam, lParam);
  switch (hit.part) {
    case qsgrid::HitPart::CheckBox: SendCellClick(hit.row, hit.column, -1, cell.IsChecked() ? 1 : 0); break;
    case qsgrid::HitPart::Action: SendCellClick(hit.row, hit.column, hit.action, cell.IsChecked() ? 1 : 0); break;
    case qsgrid::HitPart::Expander: ToggleSection(hit.row); break;
    default: break;
  }
  return result;
}

LRESULT CQsSuperGrid::OnLButtonDblClk(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL&) {
  // Quick clicks on check boxes must not get lost to the double click.
  const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  const CQsGridHitInfo hit = HitTest(pt);
  CQsGridCell cell;
  if (hit.part == qsgrid::HitPart::CheckBox) m_model->GetCell(hit.row, hit.column, cell);
  const LRESULT result = DefWindowProc(uMsg, wParam, lParam);
  if (hit.part == qsgrid::HitPart::CheckBox) SendCellClick(hit.row, hit.column, -1, cell.IsChecked() ? 1 : 0);
  if (hit.part == qsgrid::HitPart::Expander) ToggleSection(hit.row);
  return result;
}

void CQsSuperGrid::SetHover(int item, int column, int action) {
  if (item == m_hoverItem && column == m_hoverColumn && action == m_hoverAction) return;
  const int old = m_hoverItem;
  m_hoverItem = item;
  m_hoverColumn = column;
  m_hoverAction = action;
  InvalidateItem(old);
  if (item != old) InvalidateItem(item);
}

LRESULT CQsSuperGrid::OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL& bHandled) {
  const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  const CQsGridHitInfo hit = HitTest(pt);
  const int item = m_rows.ItemOfRow(hit.row);
  SetHover(item, hit.column, hit.part == qsgrid::HitPart::Action ? hit.action : -1);
  if (!m_trackingLeave) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
    m_trackingLeave = ::TrackMouseEvent(&track) != FALSE;
  }
  bHandled = FALSE;  // the list view tracks the mouse too (drag, hot item)
  return 0;
}

LRESULT CQsSuperGrid::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  m_trackingLeave = false;
  SetHover(-1, -1, -1);
  bHandled = FALSE;
  return 0;
}

void CQsSuperGrid::RefreshHoverFromCursor() {
  POINT pt;
  if (!::GetCursorPos(&pt) || !::ScreenToClient(m_hWnd, &pt)) return;
  RECT client = GetClientRect();
  if (m_hoverItem < 0 || !qsgrid::Contains(client, pt)) {
    SetHover(-1, -1, -1);
    return;
  }
  const CQsGridHitInfo hit = HitTest(pt);
  SetHover(m_rows.ItemOfRow(hit.row), hit.column, hit.part == qsgrid::HitPart::Action ? hit.action : -1);
}

LRESULT CQsSuperGrid::OnScroll(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL&) {
  // Rows move under a still mouse: the hovered row changes with them.
  const LRESULT result = DefWindowProc(uMsg, wParam, lParam);
  RefreshHoverFromCursor();
  return result;
}

LRESULT CQsSuperGrid::OnSetCursor(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
  if (reinterpret_cast<HWND>(wParam) == m_hWnd && LOWORD(lParam) == HTCLIENT) {
    POINT pt;
    if (::GetCursorPos(&pt) && ::ScreenToClient(m_hWnd, &pt)) {
      const qsgrid::HitPart part = HitTest(pt).part;
      if (part == qsgrid::HitPart::CheckBox || part == qsgrid::HitPart::Action || part == qsgrid::HitPart::Expander) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
    }
  }
  (void)uMsg;
  bHandled = FALSE;
  return 0;
}

// ---- header notifications ----

LRESULT CQsSuperGrid::OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& bHandled) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  bHandled = FALSE;
  if (!m_header.m_hWnd || header->hwndFrom != m_header.m_hWnd) return 0;
  switch (header->code) {
    case HDN_ITEMCLICKW:
    case HDN_ITEMCLICKA: {
      // NMHEADERA and NMHEADERW agree up to the item index.
      const int column = reinterpret_cast<const NMHEADERW*>(lParam)->iItem;
      const bool hasBox = column >= 0 && column == m_header.GetCheckColumn();
      const int before = hasBox && m_header.IsChecked() ? 1 : 0;
      // Flipped first, so that the owner's answer (SetHeaderCheck) is final.
      if (hasBox) m_header.SetChecked(before == 0);
      SendHeaderClick(column, before);
      return 0;  // the list view still tells its parent (LVN_COLUMNCLICK)
    }
    case HDN_BEGINTRACKW:
    case HDN_BEGINTRACKA:
      // Widths follow the ratios; the user does not drag them.
      bHandled = TRUE;
      return TRUE;
    case HDN_DIVIDERDBLCLICKW:
    case HDN_DIVIDERDBLCLICKA:
      bHandled = TRUE;  // no fitting a column to its contents either
      return 0;
    default:
      return 0;
  }
}

LRESULT CQsSuperGrid::OnNcDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  WatchParent(false);
  m_heightImages = nullptr;  // the list view destroys its image lists
  bHandled = FALSE;
  return 0;
}
