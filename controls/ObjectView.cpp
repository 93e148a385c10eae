#include "controls/ObjectView.h"

#include <algorithm>

#include "controls/ImageMgr.h"
#include "controls/SkinPaint.h"
#include "frame/suite/ResourceLibrary.h"

CListTreeItem* CListTreeItem::AddChild(CItemInfo info) {
  m_children.push_back(std::make_unique<CListTreeItem>(std::move(info), this));
  return m_children.back().get();
}

namespace objview {

namespace {

void LayoutLevel(const CListTreeItem& item, int width, const ViewMetrics& metrics, const MeasureText& measure,
                 int& top, std::vector<RowLayout>& out) {
  const int level = item.GetLevel();
  const int labelLeft = metrics.padding + level * metrics.indent;
  const int labelRight = std::max(labelLeft, metrics.padding + metrics.labelWidth);
  const int valueLeft = labelRight + metrics.columnGap;
  const int valueRight = std::max(valueLeft, width - metrics.padding);
  const CItemInfo& info = item.GetItemInfo();
  const int labelHeight = measure(info.GetLabel(), labelRight - labelLeft, true);
  const int valueHeight = measure(info.GetValue(), valueRight - valueLeft, false);
  const int height = std::max(labelHeight, valueHeight);
  RowLayout row;
  row.item = &item;
  row.label = RECT{labelLeft, top, labelRight, top + height};
  row.value = RECT{valueLeft, top, valueRight, top + height};
  out.push_back(row);
  top += height + metrics.rowGap;
  for (size_t i = 0; i < item.GetChildCount(); ++i)
    LayoutLevel(*item.GetChild(i), width, metrics, measure, top, out);
}

}  // namespace

std::vector<RowLayout> LayoutRows(const std::vector<std::unique_ptr<CListTreeItem>>& rows, int width,
                                  const ViewMetrics& metrics, const MeasureText& measure) {
  std::vector<RowLayout> out;
  int top = metrics.padding;
  for (const auto& row : rows) LayoutLevel(*row, width, metrics, measure, top, out);
  return out;
}

}  // namespace objview

namespace {

constexpr UINT kWrap = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_LEFT | DT_TOP;

}  // namespace

HWND CQsObjectView::Create(HWND parent, const RECT& rc, UINT id) {
  HWND hWnd = wf::CWindowImpl<CQsObjectView>::Create(parent, rc, nullptr, WS_CHILD | WS_VISIBLE, 0, id);
  if (hWnd) MarkSkinned(hWnd);
  return hWnd;
}

BOOL CQsObjectView::SubclassWindow(HWND hWnd) {
  if (!wf::CWindowImpl<CQsObjectView>::SubclassWindow(hWnd)) return FALSE;
  MarkSkinned(hWnd);
  Redraw();
  return TRUE;
}

void CQsObjectView::Redraw() {
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

CListTreeItem* CQsObjectView::InsertItem(CItemInfo info, CListTreeItem* parent) {
  CListTreeItem* item = nullptr;
  if (parent) {
    item = parent->AddChild(std::move(info));
  } else {
    m_rows.push_back(std::make_unique<CListTreeItem>(std::move(info)));
    item = m_rows.back().get();
  }
  Redraw();
  return item;
}

void CQsObjectView::DeleteAllItems() {
  m_rows.clear();
  Redraw();
}

void CQsObjectView::SetMetrics(const objview::ViewMetrics& metrics) {
  m_metrics = metrics;
  Redraw();
}

void CQsObjectView::SetFont(Role role, const std::wstring& faceName, double points, int style) {
  (role == Role::Label ? m_labelFont : m_valueFont).Reset(MakeFont(faceName, points, style));
  Redraw();
}

void CQsObjectView::SetFontFromKey(Role role, const std::wstring& key) {
  std::wstring face;
  double size = 0;
  int32_t style = 0;
  if (GetFontEx(key, face, size, style) && size > 0) SetFont(role, face, size, style);
}

void CQsObjectView::SetTextColor(Role role, COLORREF color) {
  (role == Role::Label ? m_labelColor : m_valueColor) = color;
  Redraw();
}

void CQsObjectView::SetTextColorFromKey(Role role, const std::wstring& key) {
  uint32_t color = 0;
  if (GetColor(key, color)) SetTextColor(role, static_cast<COLORREF>(color));
}

void CQsObjectView::SetBackgroundImage(Gdiplus::Image* image) {
  m_background = image;
  Redraw();
}

void CQsObjectView::SetBackgroundImageFromKey(const std::wstring& key) {
  Gdiplus::Image* image = nullptr;
  GetImage(key, image);
  SetBackgroundImage(image);
}

void CQsObjectView::SetLineColor(COLORREF color) {
  m_lineColor = color;
  Redraw();
}

HFONT CQsObjectView::FontOf(Role role) const {
  const wf::ScopedFont& own = role == Role::Label ? m_labelFont : m_valueFont;
  if (own) return own.Get();
  HFONT parentFont = m_hWnd ? reinterpret_cast<HFONT>(::SendMessageW(::GetParent(m_hWnd), WM_GETFONT, 0, 0)) : nullptr;
  return parentFont ? parentFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

std::vector<objview::RowLayout> CQsObjectView::Layout(HDC dc, int width) const {
  const HFONT labelFont = FontOf(Role::Label), valueFont = FontOf(Role::Value);
  auto measure = [&](const std::wstring& text, int textWidth, bool label) {
    wf::ScopedSelect select(dc, label ? labelFont : valueFont);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    if (text.empty() || textWidth <= 0) return static_cast<int>(metrics.tmHeight);
    RECT rc{0, 0, textWidth, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, kWrap | DT_CALCRECT);
    return std::max<int>(rc.bottom - rc.top, metrics.tmHeight);
  };
  return objview::LayoutRows(m_rows, width, m_metrics, measure);
}

int CQsObjectView::GetContentHeight(int width) const {
  wf::ClientDC dc(m_hWnd);
  const auto rows = Layout(dc, width);
  return rows.empty() ? 0 : static_cast<int>(rows.back().value.bottom) + m_metrics.padding;
}

void CQsObjectView::Paint(HDC dc, const RECT& client) {
  skin::PaintParentBackground(m_hWnd, dc, client);
  if (m_background) skin::DrawStretched(dc, m_background, client);
  ::SetBkMode(dc, TRANSPARENT);
  const HFONT labelFont = FontOf(Role::Label), valueFont = FontOf(Role::Value);
  for (const objview::RowLayout& row : Layout(dc, client.right - client.left)) {
    const CItemInfo& info = row.item->GetItemInfo();
    RECT label = row.label, value = row.value;
    {
      wf::ScopedSelect select(dc, labelFont);
      ::SetTextColor(dc, m_labelColor);
      ::DrawTextW(dc, info.GetLabel().c_str(), static_cast<int>(info.GetLabel().size()), &label, kWrap);
    }
    {
      wf::ScopedSelect select(dc, valueFont);
      ::SetTextColor(dc, m_valueColor);
      ::DrawTextW(dc, info.GetValue().c_str(), static_cast<int>(info.GetValue().size()), &value, kWrap);
    }
    if (m_lineColor != CLR_NONE && row.item->GetLevel() == 0) {
      const int y = row.value.bottom + m_metrics.rowGap / 2;
      RECT line{m_metrics.padding, y, client.right - m_metrics.padding, y + 1};
      ::SetBkColor(dc, m_lineColor);
      ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &line, nullptr, 0, nullptr);
    }
  }
}

LRESULT CQsObjectView::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  wf::PaintDC paint(m_hWnd);
  skin::PaintBuffered(m_hWnd, paint, [this](HDC dc, const RECT& client) { Paint(dc, client); });
  return 0;
}

LRESULT CQsObjectView::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
  Paint(reinterpret_cast<HDC>(wParam), GetClientRect());
  return 0;
}

LRESULT CQsObjectView::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  Redraw();  // the values wrap anew
  bHandled = FALSE;
  return 0;
}
