#include "message/ChartModeContrl.h"

#include <algorithm>

#include "framework/Module.h"

namespace chat {
namespace {

constexpr UINT kTextFormat = DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;
// Not clipped: a glyph may reach a pixel past its advance, which a
// right-aligned line would lose at the rectangle's edge.
constexpr UINT kHeadingFormat = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_NOCLIP;
constexpr int kOuterRadius = 5;
constexpr int kInnerRadius = 2;

RECT Shifted(RECT rc, int dy) {
  ::OffsetRect(&rc, 0, dy);
  return rc;
}

RECT Shrunk(RECT rc, int by) {
  ::InflateRect(&rc, -by, -by);
  return rc;
}

TRIVERTEX Vertex(int x, int y, COLORREF color) {
  TRIVERTEX v{};
  v.x = x;
  v.y = y;
  v.Red = static_cast<COLOR16>(GetRValue(color) << 8);
  v.Green = static_cast<COLOR16>(GetGValue(color) << 8);
  v.Blue = static_cast<COLOR16>(GetBValue(color) << 8);
  return v;
}

// A vertical gradient from `top` to `bottom` inside a rounded rectangle.
// The clip region is in device coordinates: it follows the context's origin
// (a buffered paint draws a part of the client at an offset).
void FillRoundGradient(HDC dc, const RECT& rc, int radius, COLORREF top, COLORREF bottom) {
  if (rc.right <= rc.left || rc.bottom <= rc.top) return;
  POINT origin{0, 0};
  ::LPtoDP(dc, &origin, 1);
  wf::ScopedRegion shape(::CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, 2 * radius, 2 * radius));
  ::OffsetRgn(shape, origin.x, origin.y);
  const int saved = ::SaveDC(dc);
  ::ExtSelectClipRgn(dc, shape, RGN_AND);
  TRIVERTEX vertices[2] = {Vertex(rc.left, rc.top, top), Vertex(rc.right, rc.bottom, bottom)};
  GRADIENT_RECT span{0, 1};
  ::GradientFill(dc, vertices, 2, &span, 1, GRADIENT_FILL_RECT_V);
  ::RestoreDC(dc, saved);
}

int LineHeight(HDC dc, HFONT font) {
  wf::ScopedSelect select(dc, font);
  TEXTMETRICW tm{};
  ::GetTextMetricsW(dc, &tm);
  return tm.tmHeight;
}

struct PaintTools {
  wf::ScopedPen framePen;
  wf::ScopedBrush frameBrush, background;
  int headingLine = 0;
  int textLine = 0;
};

void PaintHighlight(HDC dc, const RECT& box, COLORREF fill, COLORREF frame) {
  wf::ScopedBrush fillBrush(::CreateSolidBrush(fill));
  wf::ScopedBrush frameBrush(::CreateSolidBrush(frame));
  ::FillRect(dc, &box, fillBrush);
  ::FrameRect(dc, &box, frameBrush);
}

void PaintItem(HDC dc, const RECT& clip, const CChatLayout& layout, int index, const ChatLook& look,
               const ChatViewState& view, const PaintTools& tools) {
  const BubbleGeometry g = layout.Geometry(index);
  const int dy = -view.scrollTop;
  const BubbleItem& item = layout.Item(index);
  const bool right = item.side == kSideRight;

  if (index == view.selected)
    PaintHighlight(dc, Shifted(g.highlight, dy), view.readOnly ? look.readOnlyFill : look.selectedFill,
                   view.readOnly ? look.readOnlyFrame : look.selectedFrame);
  else if (index == view.hover)
    PaintHighlight(dc, Shifted(g.highlight, dy), look.hoverFill, look.hoverFrame);

  // 1. The outer rounded rectangle in the frame colour.
  const RECT bubble = Shifted(g.bubble, dy);
  {
    wf::ScopedSelect pen(dc, tools.framePen);
    wf::ScopedSelect brush(dc, tools.frameBrush);
    ::RoundRect(dc, bubble.left, bubble.top, bubble.right, bubble.bottom, 2 * kOuterRadius, 2 * kOuterRadius);
  }
  // 2. The tail, in the gradient's top colour so that it joins the bubble.
  const COLORREF topColor = right ? look.rightTop : look.leftTop;
  const COLORREF bottomColor = right ? look.rightBottom : look.leftBottom;
  {
    POINT tail[3];
    for (int k = 0; k < 3; ++k) tail[k] = POINT{g.tail[k].x, g.tail[k].y + dy};
    wf::ScopedBrush fill(::CreateSolidBrush(topColor));
    wf::ScopedSelect pen(dc, tools.framePen);
    wf::ScopedSelect brush(dc, fill);
    ::Polygon(dc, tail, 3);
  }
  // 3. The inner rounded rectangle with the side's gradient.
  FillRoundGradient(dc, Shrunk(bubble, 2), kInnerRadius, topColor, bottomColor);

  // The text, chunk below chunk.
  ::SetTextColor(dc, look.text);
  RECT text = Shifted(g.text, dy);
  const std::vector<int>& heights = layout.ChunkHeights(index);
  {
    wf::ScopedSelect font(dc, look.textFont);
    if (heights.empty()) {  // not measured: drawn whole, clipped to its estimate
      ::DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &text, kTextFormat);
    } else {
      const std::vector<std::wstring_view> chunks = SplitChunks(item.text);
      int y = text.top;
      for (size_t k = 0; k < chunks.size() && k < heights.size(); ++k) {
        RECT piece{text.left, y, text.right, y + heights[k]};
        y += heights[k];
        if (piece.bottom <= clip.top || piece.top >= clip.bottom) continue;
        ::DrawTextW(dc, chunks[k].data(), static_cast<int>(chunks[k].size()), &piece, kTextFormat);
      }
    }
  }

  // The heading: the party in the headings font, the time under it.
  RECT heading = Shifted(g.heading, dy);
  if (heading.right > heading.left) {
    const UINT align = right ? DT_RIGHT : DT_LEFT;
    ::SetTextColor(dc, look.heading);
    if (!item.party.empty()) {
      wf::ScopedSelect font(dc, look.headingFont);
      RECT line{heading.left, heading.top, heading.right, heading.top + tools.headingLine};
      ::DrawTextW(dc, item.party.c_str(), static_cast<int>(item.party.size()), &line, kHeadingFormat | align);
      heading.top = line.bottom;
    }
    wf::ScopedSelect font(dc, look.textFont);
    RECT line{heading.left, heading.top, heading.right, heading.top + tools.textLine};
    ::DrawTextW(dc, item.time.c_str(), static_cast<int>(item.time.size()), &line, kHeadingFormat | align);
  }
}

}  // namespace

void PaintBubbles(HDC dc, const RECT& clip, const CChatLayout& layout, const ChatLook& look,
                  const ChatViewState& view) {
  PaintTools tools;
  tools.background.Reset(::CreateSolidBrush(look.background));
  ::FillRect(dc, &clip, tools.background);
  int first = 0, last = 0;
  // An item's highlight reaches 2 px above it, into the item before.
  if (!layout.VisibleRange(view.scrollTop + clip.top, clip.bottom - clip.top + kHighlightAbove, first, last)) return;
  tools.framePen.Reset(::CreatePen(PS_SOLID, 1, look.frame));
  tools.frameBrush.Reset(::CreateSolidBrush(look.frame));
  tools.headingLine = LineHeight(dc, look.headingFont);
  tools.textLine = LineHeight(dc, look.textFont);
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  for (int i = first; i <= last; ++i) PaintItem(dc, clip, layout, i, look, view, tools);
  ::SetBkMode(dc, oldMode);
}

}  // namespace chat

// ---- CQsChartModeContrl ----

namespace {
// A mouse message's client point (signed: a captured mouse may be outside).
POINT PointOf(LPARAM lParam) {
  return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}
}  // namespace

CQsChartModeContrl::CQsChartModeContrl() {
  MakeFonts();
  m_look.textFont = m_textFont;
  m_look.headingFont = m_headingFont;
  m_measureDc = ::CreateCompatibleDC(nullptr);
  m_measureDcFont = ::SelectObject(m_measureDc, m_textFont);
  TEXTMETRICW tm{};
  ::GetTextMetricsW(m_measureDc, &tm);
  SIZE ideograph{};
  ::GetTextExtentPoint32W(m_measureDc, L"\x4E2D", 1, &ideograph);
  chat::TextScale scale;
  scale.lineHeight = std::max<int>(tm.tmHeight, 1);
  scale.narrowWidth = std::max<int>(tm.tmAveCharWidth, 1);
  scale.wideWidth = ideograph.cx > 0 ? ideograph.cx : scale.lineHeight;
  HDC measureDc = m_measureDc;
  m_layout.SetMeasure(
      [measureDc](std::wstring_view text, int maxWidth) {
        RECT rc{0, 0, maxWidth, 0};
        ::DrawTextW(measureDc, text.data(), static_cast<int>(text.size()), &rc, DT_CALCRECT | chat::kTextFormat);
        return SIZE{rc.right - rc.left, rc.bottom - rc.top};
      },
      scale);
}

CQsChartModeContrl::~CQsChartModeContrl() {
  if (m_measureDc) {
    ::SelectObject(m_measureDc, m_measureDcFont);
    ::DeleteDC(m_measureDc);
  }
}

void CQsChartModeContrl::MakeFonts() {
  LOGFONTW font = DefaultFont();
  font.lfHeight = kFontHeight;
  font.lfWidth = 0;
  font.lfItalic = FALSE;
  font.lfUnderline = FALSE;
  font.lfStrikeOut = FALSE;
  if (font.lfFaceName[0] == 0) lstrcpynW(font.lfFaceName, L"Tahoma", LF_FACESIZE);
  font.lfWeight = FW_NORMAL;
  m_textFont.Reset(::CreateFontIndirectW(&font));
  font.lfWeight = FW_SEMIBOLD;
  m_headingFont.Reset(::CreateFontIndirectW(&font));
}

bool CQsChartModeContrl::RegisterWindowClass() {
  // The class procedure is the platform's default: the object binds by
  // subclassing, and no pointer into this module outlives it in the class.
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (::GetClassInfoExW(wf::GetCodeInstance(), kClassName, &wc)) return true;
  wc.style = CS_GLOBALCLASS;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = wf::GetCodeInstance();
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CQsChartModeContrl::Create(HWND parent, const RECT& rc, UINT id, DWORD style) {
  if (m_hWnd || !RegisterWindowClass()) return nullptr;
  HWND window = ::CreateWindowExW(0, kClassName, L"", style, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                                  parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), wf::GetCodeInstance(),
                                  nullptr);
  if (window && !SubclassWindow(window)) {
    ::DestroyWindow(window);
    return nullptr;
  }
  return window;
}

BOOL CQsChartModeContrl::SubclassWindow(HWND window) {
  if (!wf::CWindowImpl<CQsChartModeContrl>::SubclassWindow(window)) return FALSE;
  MarkBound(window);
  OnBound();
  return TRUE;
}

void CQsChartModeContrl::OnBound() {
  const RECT client = GetClientRect();
  m_layout.SetClientWidth(client.right);
  m_viewHeight = client.bottom;
  SettleAt(m_top);
}

int CQsChartModeContrl::ClientHeight() const { return m_hWnd ? static_cast<int>(GetClientRect().bottom) : 0; }

// ---- items ----

void CQsChartModeContrl::SetItems(std::vector<chat::BubbleItem> items, bool showEnd) {
  m_layout.Assign(std::move(items));
  m_selected = m_hover = -1;
  SettleAt(showEnd ? INT_MAX / 2 : 0);
}

void CQsChartModeContrl::AppendItems(std::vector<chat::BubbleItem> items) {
  m_layout.Append(std::move(items));
  ScrollToEnd();
}

void CQsChartModeContrl::RemoveItems(const std::vector<int>& indices) {
  std::vector<int> unique = indices;
  std::sort(unique.begin(), unique.end());
  unique.erase(std::unique(unique.begin(), unique.end()), unique.end());
  // The selection follows its item, or goes with it.
  if (m_selected >= 0) {
    const auto at = std::lower_bound(unique.begin(), unique.end(), m_selected);
    const bool gone = at != unique.end() && *at == m_selected;
    const auto below = std::count_if(unique.begin(), at, [](int removed) { return removed >= 0; });
    m_selected = gone ? -1 : m_selected - static_cast<int>(below);
  }
  m_hover = -1;
  m_layout.Remove(std::move(unique));
  SettleAt(m_top);
}

void CQsChartModeContrl::SetSelectedIndex(int index) {
  if (index < 0 || index >= GetItemCount()) index = -1;
  if (index == m_selected) return;
  m_selected = index;
  if (m_hWnd) Invalidate(FALSE);
}

void CQsChartModeContrl::SetReadOnly(bool readOnly) {
  m_readOnly = readOnly;
  if (m_hWnd) Invalidate(FALSE);
}

void CQsChartModeContrl::SetLook(const chat::ChatLook& look) {
  m_look = look;
  m_look.textFont = m_textFont;
  m_look.headingFont = m_headingFont;
  if (m_hWnd) Invalidate(FALSE);
}

// ---- scrolling ----

void CQsChartModeContrl::SettleAt(int top) {
  m_top = m_layout.Settle(top, ClientHeight());
  if (!m_hWnd) return;
  UpdateScrollBar();
  Invalidate(FALSE);
}

void CQsChartModeContrl::ScrollTo(int top) { SettleAt(top); }

void CQsChartModeContrl::UpdateScrollBar() {
  const int content = m_layout.ContentHeight();
  const int height = ClientHeight();
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  // Always shown (disabled when there is nothing to scroll): a bar that came
  // and went would change the width and wrap every text anew.
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  info.nMin = 0;
  info.nMax = content > 0 ? (content - 1) / chat::kScrollUnit : 0;
  info.nPage = content > height ? static_cast<UINT>(height / chat::kScrollUnit) : static_cast<UINT>(info.nMax + 1);
  const int lastPosition = std::max(info.nMax - static_cast<int>(info.nPage) + 1, 0);
  info.nPos = m_top >= m_layout.MaxTop(height) ? lastPosition : std::min(m_top / chat::kScrollUnit, lastPosition);
  // Drawing the bar is the dearest part of a scroll step under some
  // platforms: skip it when nothing it shows has changed.
  if (m_shownBar.cbSize && m_shownBar.nMax == info.nMax && m_shownBar.nPage == info.nPage && m_shownBar.nPos == info.nPos)
    return;
  m_shownBar = info;
  ::SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
}

LRESULT CQsChartModeContrl::OnVScroll(UINT, WPARAM wParam, LPARAM, BOOL&) {
  const int page = std::max(ClientHeight(), chat::kScrollUnit);
  switch (LOWORD(wParam)) {
    case SB_LINEUP: ScrollBy(-chat::kScrollUnit); break;
    case SB_LINEDOWN: ScrollBy(chat::kScrollUnit); break;
    case SB_PAGEUP: ScrollBy(-page); break;
    case SB_PAGEDOWN: ScrollBy(page); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollToEnd(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_ALL;
      ::GetScrollInfo(m_hWnd, SB_VERT, &info);
      const int lastPosition = info.nMax - static_cast<int>(info.nPage) + 1;
      if (info.nTrackPos >= lastPosition)
        ScrollToEnd();
      else
        ScrollTo(info.nTrackPos * chat::kScrollUnit);
      break;
    }
    default: break;
  }
  return 0;
}

LRESULT CQsChartModeContrl::OnMouseWheel(UINT, WPARAM wParam, LPARAM, BOOL&) {
  UINT lines = 3;
  ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
  if (lines == WHEEL_PAGESCROLL)
    ScrollBy(-delta * std::max(ClientHeight(), chat::kScrollUnit) / WHEEL_DELTA);
  else
    ScrollBy(-delta * static_cast<int>(lines) * chat::kScrollUnit / WHEEL_DELTA);
  return 0;
}

LRESULT CQsChartModeContrl::OnKeyDown(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
  const int page = std::max(ClientHeight(), chat::kScrollUnit);
  switch (wParam) {
    case VK_UP: ScrollBy(-chat::kScrollUnit); break;
    case VK_DOWN: ScrollBy(chat::kScrollUnit); break;
    case VK_PRIOR: ScrollBy(-page); break;
    case VK_NEXT: ScrollBy(page); break;
    case VK_HOME: ScrollTo(0); break;
    case VK_END: ScrollToEnd(); break;
    default: bHandled = FALSE; break;
  }
  return 0;
}

LRESULT CQsChartModeContrl::OnSize(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  if (wParam == SIZE_MINIMIZED) return 0;
  const int width = LOWORD(lParam), height = HIWORD(lParam);
  // What the user looks at stays: the end of the conversation, or the first
  // item of the view at its place on the screen.
  const bool atEnd = m_top >= m_layout.MaxTop(m_viewHeight);
  const int anchor = m_layout.ItemAt(m_top);
  const int offset = anchor >= 0 ? m_layout.ItemTop(anchor) - m_top : 0;
  m_layout.SetClientWidth(width);
  m_viewHeight = height;
  SettleAt(atEnd ? INT_MAX / 2 : anchor >= 0 ? m_layout.ItemTop(anchor) - offset : m_top);
  return 0;
}

// ---- mouse ----

chat::ChatHit CQsChartModeContrl::HitTest(POINT client) const {
  return m_layout.HitTest(POINT{client.x, client.y + m_top});
}

bool CQsChartModeContrl::GetItemGeometry(int index, chat::BubbleGeometry& g) const {
  if (index < 0 || index >= GetItemCount()) return false;
  g = m_layout.Geometry(index);
  const int dy = -m_top;
  for (RECT* rc : {&g.box, &g.highlight, &g.bubble, &g.text, &g.heading, &g.actions[0], &g.actions[1]})
    ::OffsetRect(rc, 0, dy);
  for (POINT& p : g.tail) p.y += dy;
  g.top += dy;
  return true;
}

LRESULT CQsChartModeContrl::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&) {
  const POINT pt = PointOf(lParam);
  if (!m_readOnly) ::SetFocus(m_hWnd);
  const chat::ChatHit hit = HitTest(pt);
  SetSelectedIndex(hit.item);
  if (hit.part == chat::HitPart::Action) SendActionClick(hit.item, hit.action);
  return 0;
}

LRESULT CQsChartModeContrl::OnRButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& bHandled) {
  const POINT pt = PointOf(lParam);
  if (!m_readOnly) ::SetFocus(m_hWnd);
  SetSelectedIndex(HitTest(pt).item);
  bHandled = FALSE;  // the platform turns the button's release into WM_CONTEXTMENU
  return 0;
}

void CQsChartModeContrl::SendActionClick(int item, int action) {
  NMQSCHATITEM notice{};
  notice.hdr.hwndFrom = m_hWnd;
  notice.hdr.idFrom = static_cast<UINT_PTR>(::GetWindowLongPtrW(m_hWnd, GWLP_ID));
  notice.hdr.code = QSCN_ACTIONCLICK;
  notice.iItem = item;
  notice.iAction = action;
  ::SendMessageW(GetParent(), WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice));
}

LRESULT CQsChartModeContrl::OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL&) {
  if (!m_trackingLeave) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
    m_trackingLeave = ::TrackMouseEvent(&track) != FALSE;
  }
  SetHover(HitTest(PointOf(lParam)).item);
  return 0;
}

LRESULT CQsChartModeContrl::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
  m_trackingLeave = false;
  SetHover(-1);
  return 0;
}

void CQsChartModeContrl::SetHover(int index) {
  if (index == m_hover) return;
  m_hover = index;
  Invalidate(FALSE);
}

// ---- painting ----

void CQsChartModeContrl::Paint(HDC dc, const RECT& clip) const {
  chat::ChatViewState view;
  view.scrollTop = m_top;
  view.selected = m_selected;
  view.hover = m_hover;
  view.readOnly = m_readOnly;
  chat::PaintBubbles(dc, clip, m_layout, m_look, view);
}

LRESULT CQsChartModeContrl::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  wf::PaintBuffered(m_hWnd, [this](HDC dc, const RECT& clip) { Paint(dc, clip); });
  return 0;
}

LRESULT CQsChartModeContrl::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
  Paint(reinterpret_cast<HDC>(wParam), GetClientRect());
  return 0;
}
