#include "ContactCard.h"

#include "framework/GdiPlus.h"

#include <algorithm>
#include <cstdint>

#include "JorvHelperIds.h"
#include "frame/suite/ResourceLibrary.h"
#include "standins/dialogs/JorvAutomation.h"

namespace jorv {
namespace {

CContactCard* g_card = nullptr;  // the card shown; user-interface thread only

constexpr UINT_PTR kOwnerWatchId = 0x4A434344;
constexpr int kMaxHeight = 400;
constexpr int kCornerRadius = 8;
constexpr int kIndent = 8;       // entries sit a little right of their caption
constexpr int kLabelWidth = 84;  // the label column of an entry
constexpr COLORREF kBackground = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kNameBand = RGB(0xEE, 0xF5, 0xFD);

std::wstring Text(const wchar_t* key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

HFONT FontOf(const wchar_t* key, int addStyle = 0, double addPoints = 0) {
  std::wstring face;
  double points = 0;
  int32_t style = 0;
  if (!GetFontEx(key, face, points, style) || face.empty() || points <= 0) {
    face = L"Tahoma";
    points = 9;
    style = 0;
  }
  style |= addStyle;
  points += addPoints;
  LOGFONTW font{};
  HDC screen = ::GetDC(nullptr);
  font.lfHeight = -::MulDiv(static_cast<int>(points * 100 + 0.5), ::GetDeviceCaps(screen, LOGPIXELSY), 7200);
  ::ReleaseDC(nullptr, screen);
  font.lfWeight = (style & 1) ? FW_BOLD : FW_NORMAL;
  font.lfItalic = (style & 2) ? TRUE : FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
  return ::CreateFontIndirectW(&font);
}

COLORREF ColorOf(const wchar_t* key, COLORREF fallback) {
  uint32_t color = 0;
  return GetColor(key, color) ? static_cast<COLORREF>(color) : fallback;
}

int TextHeight(HFONT font) {
  HDC screen = ::GetDC(nullptr);
  TEXTMETRICW metrics{};
  {
    wf::ScopedSelect select(screen, font);
    ::GetTextMetricsW(screen, &metrics);
  }
  ::ReleaseDC(nullptr, screen);
  return metrics.tmHeight;
}

Gdiplus::Color Plus(COLORREF color) {
  return Gdiplus::Color(255, GetRValue(color), GetGValue(color), GetBValue(color));
}

void RoundedRectangle(Gdiplus::GraphicsPath& path, float x, float y, float width, float height, float radius) {
  const float d = 2 * radius;
  path.AddArc(x, y, d, d, 180, 90);
  path.AddArc(x + width - d, y, d, d, 270, 90);
  path.AddArc(x + width - d, y + height - d, d, d, 0, 90);
  path.AddArc(x, y + height - d, d, d, 90, 90);
  path.CloseFigure();
}

void DrawLineText(HDC dc, HFONT font, COLORREF color, const std::wstring& text, RECT rc, UINT align) {
  wf::ScopedSelect select(dc, font);
  ::SetTextColor(dc, color);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc,
              align | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

}  // namespace

CContactCard* CContactCard::Current() { return g_card; }

void CContactCard::Show(const Contact::CContactData& contact, int x, int y, HWND owner) {
  if (owner && !::IsWindow(owner)) return;  // nothing to show it over any more
  if (g_card && g_card->m_owner != owner) Hide();
  if (!g_card) {
    auto* card = new CContactCard(owner);
    if (!card->CreateWindowFor(owner)) {
      delete card;
      return;
    }
    g_card = card;
    card->WatchOwner();
  }
  g_card->m_contact = contact;
  g_card->m_position = POINT{x, y};
  g_card->Place();
  if (!g_card->IsWindowVisible()) g_card->ShowWindow(SW_SHOWNOACTIVATE);
  g_card->UpdateWindow();
}

void CContactCard::Refresh(const Contact::CContactData& contact) {
  if (!g_card) return;
  g_card->m_contact = contact;
  g_card->Place();
  g_card->UpdateWindow();
}

void CContactCard::Hide() {
  if (g_card) ::DestroyWindow(g_card->m_hWnd);  // OnFinalMessage lets go of it
}

bool CContactCard::CreateWindowFor(HWND owner) {
  LoadLook();
  HWND top = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
  return Create(top, RECT{0, 0, 340, 100}, L"", WS_POPUP | WS_CLIPSIBLINGS, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE) !=
         nullptr;
}

void CContactCard::LoadLook() {
  m_texts.noName = Text(L"jorvhelper.contactcard.noname");
  m_texts.phones = Text(L"jorvhelper.contactcard.phone");
  m_texts.emails = Text(L"jorvhelper.contactcard.email");
  m_texts.addresses = Text(L"jorvhelper.contactcard.address");
  m_texts.organizations = Text(L"jorvhelper.contactcard.organization");
  m_texts.groups = Text(L"jorvhelper.contactcard.group");
  m_nameFont.Reset(FontOf(L"tamix_font_gditwo", 1, 2));  // the card's title: larger and bold
  m_captionFont.Reset(FontOf(L"tamix_font_gdithree"));
  m_textFont.Reset(FontOf(L"tamix_font_gdione"));
  m_textColor = ColorOf(L"tamix_color_one", m_textColor);
  m_captionColor = ColorOf(L"tamix_color_eight", m_captionColor);
  m_lineColor = ColorOf(L"tamix_color_five", m_lineColor);
  // Labels halfway between the text and the lines: quieter than the values,
  // still easy to read on white.
  m_labelColor = RGB((GetRValue(m_textColor) + GetRValue(m_lineColor)) / 2,
                     (GetGValue(m_textColor) + GetGValue(m_lineColor)) / 2,
                     (GetBValue(m_textColor) + GetBValue(m_lineColor)) / 2);
}

CardMetrics CContactCard::MetricsFor(const RECT& workArea) const {
  CardMetrics metrics;
  metrics.nameHeight = std::max(metrics.nameHeight, TextHeight(m_nameFont) + 14);
  metrics.captionHeight = std::max(metrics.captionHeight, TextHeight(m_captionFont) + 10);
  metrics.lineHeight = std::max(metrics.lineHeight, TextHeight(m_textFont) + 6);
  metrics.maxHeight = std::min<int>(kMaxHeight, workArea.bottom - workArea.top);
  return metrics;
}

void CContactCard::Place() {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  RECT work{};
  if (::GetMonitorInfoW(::MonitorFromPoint(m_position, MONITOR_DEFAULTTONEAREST), &monitor)) work = monitor.rcWork;
  else ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);

  CardMetrics metrics = MetricsFor(work);
  m_layout = LayoutCard(m_contact, m_texts, metrics);
  const int width = metrics.width, height = m_layout.height;
  // Whole on the work area: pushed back from the right and bottom edges
  // first, so that the top-left corner wins on a screen too small for it.
  int left = std::max<int>(std::min<int>(m_position.x, work.right - width), work.left);
  int top = std::max<int>(std::min<int>(m_position.y, work.bottom - height), work.top);

  SetWindowText(m_layout.lines.front().text);
  SetWindowPos(nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  HRGN outline = ::CreateRoundRectRgn(0, 0, width + 1, height + 1, 2 * kCornerRadius, 2 * kCornerRadius);
  if (outline && !::SetWindowRgn(m_hWnd, outline, TRUE)) ::DeleteObject(outline);  // the window owns it once set
  RenewLineControls();
  Invalidate(FALSE);
}

void CContactCard::RenewLineControls() {
  while (HWND child = ::GetWindow(m_hWnd, GW_CHILD)) ::DestroyWindow(child);
  int id = IDC_JORV_CARDLINE;
  for (const CardLine& line : m_layout.lines) {
    const RECT& rc = line.rect;
    ::CreateWindowExW(0, L"Static", line.FullText().c_str(), WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, rc.left, rc.top,
                      rc.right - rc.left, rc.bottom - rc.top, m_hWnd,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), wf::GetCodeInstance(), nullptr);
  }
}

void CContactCard::WatchOwner() {
  if (m_owner && ::SetWindowSubclass(m_owner, &OwnerWatch, kOwnerWatchId, 0)) m_watching = true;
}

void CContactCard::StopWatchingOwner() {
  if (m_watching && ::IsWindow(m_owner)) ::RemoveWindowSubclass(m_owner, &OwnerWatch, kOwnerWatchId);
  m_watching = false;
}

LRESULT CALLBACK CContactCard::OwnerWatch(HWND owner, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR) {
  const bool hidden = msg == WM_WINDOWPOSCHANGED && (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW);
  if (msg == WM_DESTROY || hidden) {
    // The watch takes itself away here, inside its own call, which is the
    // one way of removing a subclass that the platform allows in every case.
    ::RemoveWindowSubclass(owner, &OwnerWatch, id);
    if (g_card && g_card->m_owner == owner) {
      g_card->m_watching = false;
      Hide();
    }
  }
  return ::DefSubclassProc(owner, msg, wParam, lParam);
}

void CContactCard::Draw(HDC dc, const RECT& rc) const {
  const int width = rc.right - rc.left, height = rc.bottom - rc.top;
  {
    Gdiplus::Graphics g(dc);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    Gdiplus::SolidBrush clear(Plus(kBackground));
    g.FillRectangle(&clear, static_cast<INT>(rc.left), static_cast<INT>(rc.top), width, height);
    Gdiplus::GraphicsPath outline;
    // GDI+ centres pixels on whole coordinates: a one-pixel pen along x = 0
    // and x = width - 1 covers exactly the first and last column.
    RoundedRectangle(outline, static_cast<float>(rc.left), static_cast<float>(rc.top), width - 1.0f, height - 1.0f,
                     kCornerRadius);
    if (!m_layout.lines.empty()) {
      // The name sits on a band of its own, cut by the rounded corners.
      const RECT& name = m_layout.lines.front().rect;
      g.SetClip(&outline);
      Gdiplus::SolidBrush band(Plus(kNameBand));
      const float bandBottom = static_cast<float>(rc.top + name.bottom);
      g.FillRectangle(&band, static_cast<float>(rc.left), static_cast<float>(rc.top), static_cast<float>(width),
                      bandBottom - rc.top);
      g.ResetClip();
      Gdiplus::Pen separator(Plus(m_lineColor), 1.0f);
      g.DrawLine(&separator, static_cast<float>(rc.left), bandBottom - 1, static_cast<float>(rc.right),
                 bandBottom - 1);
    }
    Gdiplus::Pen pen(Plus(m_lineColor), 1.0f);
    g.DrawPath(&pen, &outline);
  }

  ::SetBkMode(dc, TRANSPARENT);
  for (const CardLine& line : m_layout.lines) {
    RECT box = line.rect;
    ::OffsetRect(&box, rc.left, rc.top);
    switch (line.kind) {
      case CardLineKind::Name:
        box.left += 4;
        box.top = rc.top;  // centred on the whole band, which runs up to the outline
        DrawLineText(dc, m_nameFont, m_textColor, line.text, box, DT_VCENTER);
        break;
      case CardLineKind::Caption:
        // The room above a caption parts it from the section before.
        box.bottom -= 2;
        DrawLineText(dc, m_captionFont, m_captionColor, line.text, box, DT_BOTTOM);
        break;
      case CardLineKind::Entry: {
        box.left += kIndent;
        if (!line.label.empty()) {
          RECT label = box;
          label.right = std::min<LONG>(box.right, box.left + kLabelWidth - 6);
          DrawLineText(dc, m_textFont, m_labelColor, line.label, label, DT_VCENTER);
          box.left += kLabelWidth;
        }
        DrawLineText(dc, m_textFont, m_textColor, line.text, box, DT_VCENTER);
        break;
      }
      case CardLineKind::More:
        DrawLineText(dc, m_textFont, m_captionColor, line.text, box, DT_VCENTER | DT_CENTER);
        break;
    }
  }
}

LRESULT CContactCard::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  wf::PaintDC dc(m_hWnd);
  RECT rc = GetClientRect();
  wf::MemoryCanvas buffer(dc, rc.right, rc.bottom);
  if (buffer.valid()) {
    Draw(buffer, rc);
    ::BitBlt(dc, 0, 0, rc.right, rc.bottom, buffer, 0, 0, SRCCOPY);
  } else {
    Draw(dc, rc);
  }
  return 0;
}

LRESULT CContactCard::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
  Draw(reinterpret_cast<HDC>(wParam), GetClientRect());
  return 0;
}

void CContactCard::OnFinalMessage(HWND) {
  StopWatchingOwner();
  if (g_card == this) g_card = nullptr;
  delete this;
}

}  // namespace jorv

namespace JorvAutomation {

HWND ContactCardWindow() {
  jorv::CContactCard* card = jorv::CContactCard::Current();
  return card ? card->m_hWnd : nullptr;
}

}  // namespace JorvAutomation
