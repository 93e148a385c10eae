#include "calendar/CalendarDetailWnd.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "calendar/CalendarRows.h"
#include "controls/ResText.h"
#include "controls/SkinPaint.h"
#include "frame/suite/BaseLibrary.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/ActivationContext.h"
#include "framework/Module.h"

namespace Calendar {

DetailWords DetailWordsFromResources() {
  static const wchar_t* const kWeekdayKeys[7] = {
      L"calendar.sunday.full",   L"calendar.monday.full", L"calendar.tuesday.full", L"calendar.wednesday.full",
      L"calendar.thursday.full", L"calendar.friday.full", L"calendar.saturday.full"};
  DetailWords words;
  words.time = qs::ResText(L"pim.calendar.time");
  words.address = qs::ResText(L"pim.calendar.address");
  words.people = qs::ResText(L"pim.calendar.people");
  words.remark = qs::ResText(L"pim.calendar.remark");
  for (int day = 0; day < 7; ++day) words.weekdays[day] = qs::ResText(kWeekdayKeys[day]);
  return words;
}

std::wstring DetailTimeText(const CCalendarData& event, const DetailWords& words) {
  const int weekday = TimeWeekday(event.m_start);
  const std::wstring& name = weekday >= 0 && weekday < 7 ? words.weekdays[weekday] : std::wstring();
  wchar_t text[160] = {};
  std::swprintf(text, std::size(text), L"%04d-%02d-%02d(%ls) %02d:%02d-%02d:%02d", TimeYear(event.m_start),
                TimeMonth(event.m_start), TimeDay(event.m_start), name.c_str(), TimeHour(event.m_start),
                TimeMinute(event.m_start), TimeHour(event.m_end), TimeMinute(event.m_end));
  return text;
}

std::vector<DetailRow> DetailRows(const CCalendarData& event, const DetailWords& words) {
  std::vector<DetailRow> rows;
  rows.push_back({words.time, DetailTimeText(event, words)});
  rows.push_back({words.address, event.m_address});
  if (!event.m_attendees.empty()) rows.push_back({words.people, AttendeeNames(event)});
  rows.push_back({words.remark, event.m_remark});
  return rows;
}

}  // namespace Calendar

namespace {

using Calendar::DetailRow;

// The popup's design, in pixels of its 320 x 240 client area: the heading and
// the edit link on one line at the top, then per row a band with the label
// and the value under it. Values wrap; every row but the last keeps to two
// lines, the last takes what is left.
constexpr int kMargin = 12;
constexpr int kHeadingTop = 8;
constexpr int kHeadingHeight = 22;
constexpr int kLinkWidth = 64;
constexpr int kFirstRowTop = 36;
constexpr int kBandHeight = 22;
constexpr int kLabelIndent = 10;  // right of the band's accent stripe
constexpr int kValueGap = 3;      // between a band and its value
constexpr int kRowGap = 5;        // between a value and the next band
constexpr int kMaxValueLines = 2;
constexpr UINT_PTR kOwnerWatchId = 0x43444554;

int LabelId(int row) { return IDC_CALDETAIL_LABEL + 2 * row; }
int ValueId(int row) { return IDC_CALDETAIL_VALUE + 2 * row; }

}  // namespace

CCalendarDetailWnd::~CCalendarDetailWnd() {
  StopWatchingOwner();
  if (m_hWnd) DestroyWindow();
}

bool CCalendarDetailWnd::Create(HWND owner, EditHandler onEdit) {
  if (m_hWnd) return true;
  m_owner = owner;
  m_onEdit = std::move(onEdit);
  HINSTANCE resources = wf::GetResourceInstance();
  // Common controls 6 for the popup's controls, as for the main window.
  wf::ScopedActivationContext manifest(resources, 2);
  // A popup's owner is a top-level window; the main window is a child of the host's.
  HWND topLevel = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
  if (!wf::CDialogImpl<CCalendarDetailWnd>::Create(topLevel, 0, resources)) {
    LOG::E(PIM_ERROR_LOG, "CCalendarDetailWnd: dialog template %d is missing or damaged", IDD_CALENDAR_DETAIL);
    return false;
  }
  WatchOwner();
  return true;
}

LRESULT CCalendarDetailWnd::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  SetBackgroundImage(L"common_jorvhelper_background.png");
  m_band = nullptr;
  GetImage(L"common_jorvhelper_disinf_group.png", m_band);
  m_words = Calendar::DetailWordsFromResources();
  BindControls();
  InitSkin();
  ::SetDlgItemTextW(m_hWnd, IDC_CALDETAIL_EDIT, qs::ResText(L"common.edit").c_str());
  SetWindowPos(nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return FALSE;  // created hidden, and never focused
}

void CCalendarDetailWnd::BindControls() {
  std::wstring face = L"Tahoma";
  double points = 9;
  int32_t style = 0;
  if (!GetFontEx(L"tamix_font_gdiplusfour", face, points, style) || face.empty() || points <= 0) {
    face = L"Tahoma";
    points = 9;
    style = 0;
  }
  for (int row = 0; row < kMaxRows; ++row) {
    for (CQsStatic* text : {&m_labels[row], &m_values[row]}) {
      text->SubclassDlgItem(text == &m_labels[row] ? LabelId(row) : ValueId(row), m_hWnd);
      text->SetStateFont(qs::kFallbackState, face, points, style);
      text->SetStateColorFromKey(qs::kFallbackState, L"tamix_color_one");
    }
  }
  m_title.SubclassDlgItem(IDC_CALDETAIL_TITLE, m_hWnd);
  m_title.SetStateFont(qs::kFallbackState, face, points + 1, style | 1);  // bold, a little larger
  m_title.SetStateColorFromKey(qs::kFallbackState, L"tamix_color_one");
  // The edit link: underlined, in the colour of the lists' row actions.
  m_edit.SubclassDlgItem(IDC_CALDETAIL_EDIT, m_hWnd);
  m_edit.SetStateFont(qs::kFallbackState, face, points, style | 4);
  m_edit.SetStateColorFromKey(qs::kFallbackState, L"tamix_color_eight");
}

// ---- what the controller shows ----

void CCalendarDetailWnd::Show(const Calendar::CCalendarData& event, const RECT& screenRect) {
  m_event = event;
  m_rows = Calendar::DetailRows(event, m_words);
  if (!m_hWnd) {
    LOG::E(PIM_ERROR_LOG, "CCalendarDetailWnd: an event is shown before the popup is made");
    return;
  }
  SetWindowText(event.m_topic.c_str());
  // Sized first, so that the rows are laid out for the size shown.
  SetWindowPos(HWND_TOP, screenRect.left, screenRect.top, screenRect.right - screenRect.left,
               screenRect.bottom - screenRect.top, SWP_NOACTIVATE);
  LayOut();
  skin::ApplyRoundedOutline(m_hWnd, kCornerRadius);
  if (!IsWindowVisible()) ShowWindow(SW_SHOWNOACTIVATE);
  Invalidate(TRUE);
  UpdateWindow();
}

void CCalendarDetailWnd::Hide() {
  if (m_hWnd && IsWindowVisible()) ShowWindow(SW_HIDE);
}

bool CCalendarDetailWnd::IsShown() const { return m_hWnd && ::IsWindowVisible(m_hWnd); }

int CCalendarDetailWnd::TextHeight(const std::wstring& text, int width) {
  HDC dc = ::GetDC(m_hWnd);
  HFONT font = m_values[0].GetStateFont(qs::kFallbackState);
  HGDIOBJ old = ::SelectObject(dc, font);
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  RECT rc{0, 0, width, 0};
  if (!text.empty()) ::DrawTextW(dc, text.c_str(), -1, &rc, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
  ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
  const int lineHeight = std::max<int>(1, metrics.tmHeight);
  const int lines = std::max<int>(1, (rc.bottom - rc.top + lineHeight - 1) / lineHeight);
  return std::min(lines, kMaxValueLines) * lineHeight;
}

void CCalendarDetailWnd::LayOut() {
  const RECT client = GetClientRect();
  const int width = client.right - client.left, height = client.bottom - client.top;
  const int inner = width - 2 * kMargin;
  ::SetWindowPos(m_title.m_hWnd, nullptr, kMargin, kHeadingTop, inner - kLinkWidth - 8, kHeadingHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  m_title.SetWindowText(m_event.m_topic.c_str());
  ::SetWindowPos(m_edit.m_hWnd, nullptr, width - kMargin - kLinkWidth, kHeadingTop + 3, kLinkWidth,
                 kHeadingHeight - 3, SWP_NOZORDER | SWP_NOACTIVATE);

  m_bands.clear();
  int y = kFirstRowTop;
  const int shown = std::min<int>(static_cast<int>(m_rows.size()), kMaxRows);
  for (int row = 0; row < kMaxRows; ++row) {
    HWND label = m_labels[row].m_hWnd, value = m_values[row].m_hWnd;
    if (row >= shown) {
      ::ShowWindow(label, SW_HIDE);
      ::ShowWindow(value, SW_HIDE);
      ::SetWindowTextW(label, L"");
      ::SetWindowTextW(value, L"");
      continue;
    }
    const DetailRow& text = m_rows[static_cast<size_t>(row)];
    const RECT band{kMargin, y, width - kMargin, y + kBandHeight};
    m_bands.push_back(band);
    const int labelHeight = TextHeight(text.label, inner - kLabelIndent);
    const int labelLines = std::min(labelHeight, kBandHeight);
    ::SetWindowPos(label, nullptr, band.left + kLabelIndent, band.top + (kBandHeight - labelLines) / 2,
                   inner - kLabelIndent, labelLines, SWP_NOZORDER | SWP_NOACTIVATE);
    y = band.bottom + kValueGap;
    // The last row takes the rest of the popup; the others their text's height.
    const int bottom = height - kMargin / 2;
    int valueHeight = row == shown - 1 ? bottom - y : TextHeight(text.value, inner - kLabelIndent);
    valueHeight = std::max(0, std::min(valueHeight, bottom - y));
    ::SetWindowPos(value, nullptr, band.left + kLabelIndent, y, inner - kLabelIndent, valueHeight,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowTextW(label, text.label.c_str());
    ::SetWindowTextW(value, text.value.c_str());
    ::ShowWindow(label, SW_SHOWNA);
    ::ShowWindow(value, SW_SHOWNA);
    y += valueHeight + kRowGap;
  }
}

// ---- painting ----

void CCalendarDetailWnd::PaintSurface(HDC dc, const RECT& client) {
  PaintBackground(dc, client);
  for (const RECT& band : m_bands) {
    if (m_band) {
      skin::DrawStretched(dc, m_band, band);
    } else {
      wf::ScopedBrush face(::CreateSolidBrush(skin::theme::kFace));
      ::FillRect(dc, &band, face);
    }
  }
}

LRESULT CCalendarDetailWnd::OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL&) {
  PaintSurface(reinterpret_cast<HDC>(wParam), GetClientRect());
  return 1;
}

LRESULT CCalendarDetailWnd::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
  PaintSurface(reinterpret_cast<HDC>(wParam), GetClientRect());
  return 0;
}

LRESULT CCalendarDetailWnd::OnPaintChildBackground(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  // The part of the surface under the child, in the child's coordinates.
  HDC dc = reinterpret_cast<HDC>(wParam);
  RECT child{};
  ::GetWindowRect(reinterpret_cast<HWND>(lParam), &child);
  ::MapWindowPoints(HWND_DESKTOP, m_hWnd, reinterpret_cast<POINT*>(&child), 2);
  POINT old{};
  ::OffsetViewportOrgEx(dc, -child.left, -child.top, &old);
  PaintSurface(dc, GetClientRect());
  ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
  return 1;
}

LRESULT CCalendarDetailWnd::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  skin::ApplyRoundedOutline(m_hWnd, kCornerRadius);
  bHandled = FALSE;
  return 0;
}

LRESULT CCalendarDetailWnd::OnSetCursor(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
  // The edit link reads as a link: the hand.
  if (reinterpret_cast<HWND>(wParam) == m_edit.m_hWnd) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
  }
  bHandled = FALSE;
  return 0;
}

// ---- the user ----

LRESULT CCalendarDetailWnd::OnEdit(WORD, WORD, HWND, BOOL&) {
  // The popup gives way to the editor; the handler may replace the event.
  const Calendar::CCalendarData event = m_event;
  Hide();
  if (m_onEdit) m_onEdit(event);
  return 0;
}

LRESULT CCalendarDetailWnd::OnClose(UINT, WPARAM, LPARAM, BOOL&) {
  Hide();
  return 0;
}

LRESULT CCalendarDetailWnd::OnCancel(WORD, WORD, HWND, BOOL&) {
  Hide();
  return 0;
}

// ---- the owner ----

void CCalendarDetailWnd::WatchOwner() {
  if (m_owner && !m_watching &&
      ::SetWindowSubclass(m_owner, &OwnerWatch, kOwnerWatchId, reinterpret_cast<DWORD_PTR>(this)))
    m_watching = true;
}

void CCalendarDetailWnd::StopWatchingOwner() {
  if (m_watching && ::IsWindow(m_owner)) ::RemoveWindowSubclass(m_owner, &OwnerWatch, kOwnerWatchId);
  m_watching = false;
}

LRESULT CALLBACK CCalendarDetailWnd::OwnerWatch(HWND owner, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                                DWORD_PTR data) {
  auto* self = reinterpret_cast<CCalendarDetailWnd*>(data);
  const bool hidden = msg == WM_WINDOWPOSCHANGED && (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW);
  if (hidden) self->Hide();
  if (msg == WM_DESTROY) {
    // The watch takes itself away inside its own call, which the platform
    // allows in every case; the popup goes with the window it belongs to.
    ::RemoveWindowSubclass(owner, &OwnerWatch, id);
    self->m_watching = false;
    if (self->m_hWnd) self->DestroyWindow();
  }
  return ::DefSubclassProc(owner, msg, wParam, lParam);
}
