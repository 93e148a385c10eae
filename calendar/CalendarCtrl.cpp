#include "calendar/CalendarCtrl.h"

#include <gdiplus.h>

#include "calendar/CalendarData.h"
#include "calendar/CalendarSupport.h"
#include "content/ContentUri.h"
#include "controls/ResText.h"
#include "framework/Gdi.h"

namespace {
CCHSDate FirstOfMonth(const CCHSDate& day) { return CCHSDate(day.Year(), day.Month(), 1); }
}  // namespace

CCalendarCtrl::~CCalendarCtrl() { Unregister(); }

HWND CCalendarCtrl::Create(HWND parent, const RECT& rc, UINT id) {
  CCalendarSupport& support = CCalendarSupport::GetInstance();
  m_shownMonth = FirstOfMonth(support.GetSelectedDate());
  HWND window = wf::CWindowImpl<CCalendarCtrl>::Create(parent, rc, L"", WS_CHILD | WS_CLIPSIBLINGS, 0,
                                                       static_cast<UINT>(id));
  if (!window) return nullptr;
  support.AddListener(this);
  support.AddDateObserver(this);
  m_registered = true;
  return window;
}

void CCalendarCtrl::Unregister() {
  if (!m_registered) return;
  CCalendarSupport& support = CCalendarSupport::GetInstance();
  support.RemoveListener(this);
  support.RemoveDateObserver(this);
  m_registered = false;
}

Calendar::MiniMonthLayout CCalendarCtrl::CurrentLayout() const {
  CCalendarSupport& support = CCalendarSupport::GetInstance();
  Calendar::MiniMonthInput input;
  RECT client{};
  if (m_hWnd) ::GetClientRect(m_hWnd, &client);
  input.width = client.right;
  input.height = client.bottom;
  input.shownMonth = m_shownMonth;
  input.today = support.GetToday();
  input.selected = support.GetSelectedDate();
  input.eventDays = &m_eventDays;
  if (!m_titleFormat.empty()) input.titleFormat = m_titleFormat;
  return Calendar::LayoutMiniMonth(input);
}

void CCalendarCtrl::QueryEventDays() {
  const Calendar::DayRange range = Calendar::MiniMonthQueryRange(m_shownMonth);
  CCalendarSupport::GetInstance().QueryEventDays(range.from, range.to);
}

void CCalendarCtrl::TodayChanged() {
  if (m_hWnd) Invalidate(FALSE);
}

void CCalendarCtrl::Paint(HDC dc) {
  if (!m_lookLoaded) {
    m_look = Calendar::LoadMiniMonthLook();
    m_titleFormat = qs::ResText(L"calendar.date.format");
    m_lookLoaded = true;
  }
  Calendar::PaintMiniMonth(dc, CurrentLayout(), m_look, m_hot, m_pressed);
}

std::optional<Calendar::MiniHitItem> CCalendarCtrl::HitAt(LPARAM lParam) const {
  const Calendar::MiniMonthLayout layout = CurrentLayout();
  const Calendar::MiniHitItem* hit = Calendar::HitTestMiniMonth(layout, wf::PointFromLParam(lParam));
  if (!hit) return std::nullopt;
  return *hit;
}

void CCalendarCtrl::Select(const CCHSDate& day) {
  CCalendarSupport& support = CCalendarSupport::GetInstance();
  support.SetSelectedDate(day);
  support.NotifyDateChanged();  // this control follows through OnDateChanged
  Invalidate(FALSE);
}

void CCalendarCtrl::Step(int months) {
  CCalendarSupport& support = CCalendarSupport::GetInstance();
  const Calendar::MiniMonthStep step = Calendar::StepMiniMonth(m_shownMonth, support.GetSelectedDate(), months);
  m_shownMonth = step.shownMonth;
  support.SetSelectedDate(step.selected);
  support.NotifyDateChanged();
  QueryEventDays();
  Invalidate(FALSE);
}

LRESULT CCalendarCtrl::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&) {
  const std::optional<Calendar::MiniHitItem> hit = HitAt(lParam);
  if (!hit) return 0;
  switch (hit->kind) {
    case Calendar::MiniHitKind::PrevButton:
    case Calendar::MiniHitKind::NextButton:
      m_hot = hit->kind;
      m_pressed = true;
      Step(hit->kind == Calendar::MiniHitKind::PrevButton ? -1 : 1);
      break;
    case Calendar::MiniHitKind::Day:
      // Only a day of a block's own month is picked by a single click.
      if (hit->inMonth) Select(hit->day);
      break;
    default:
      break;
  }
  return 0;
}

LRESULT CCalendarCtrl::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&) {
  if (m_pressed) {
    m_pressed = false;
    Invalidate(FALSE);
  }
  return 0;
}

LRESULT CCalendarCtrl::OnLButtonDblClk(UINT, WPARAM, LPARAM lParam, BOOL&) {
  const std::optional<Calendar::MiniHitItem> hit = HitAt(lParam);
  if (!hit) return 0;
  if (hit->kind != Calendar::MiniHitKind::Day) {
    // A quick second press on a button steps once more.
    if (hit->kind == Calendar::MiniHitKind::PrevButton || hit->kind == Calendar::MiniHitKind::NextButton)
      Step(hit->kind == Calendar::MiniHitKind::PrevButton ? -1 : 1);
    return 0;
  }
  const CCHSDate day = hit->day;
  const CCHSDate shown = Calendar::MiniMonthAfterDoubleClick(m_shownMonth, day);
  if (!(shown == m_shownMonth)) {
    m_shownMonth = shown;
    QueryEventDays();
  }
  CCalendarSupport& support = CCalendarSupport::GetInstance();
  support.SetSelectedDate(day);
  support.NotifyDateChanged();
  support.NotifyShowDay();
  Invalidate(FALSE);
  return 0;
}

LRESULT CCalendarCtrl::OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL&) {
  if (!m_tracking) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
    m_tracking = ::TrackMouseEvent(&track) != FALSE;
  }
  const std::optional<Calendar::MiniHitItem> hit = HitAt(lParam);
  Calendar::MiniHitKind hot = hit && (hit->kind == Calendar::MiniHitKind::PrevButton ||
                                      hit->kind == Calendar::MiniHitKind::NextButton)
                                  ? hit->kind
                                  : Calendar::MiniHitKind::None;
  if (hot != m_hot) {
    m_hot = hot;
    Invalidate(FALSE);
  }
  return 0;
}

LRESULT CCalendarCtrl::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
  m_tracking = false;
  if (m_hot != Calendar::MiniHitKind::None || m_pressed) {
    m_hot = Calendar::MiniHitKind::None;
    m_pressed = false;
    Invalidate(FALSE);
  }
  return 0;
}

LRESULT CCalendarCtrl::OnSize(UINT, WPARAM, LPARAM, BOOL&) {
  Invalidate(FALSE);
  return 0;
}

LRESULT CCalendarCtrl::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  Unregister();
  bHandled = FALSE;
  return 0;
}

void CCalendarCtrl::OnDateChanged() {
  const CCHSDate shown = Calendar::MiniMonthFollow(m_shownMonth, CCalendarSupport::GetInstance().GetSelectedDate());
  if (!(shown == m_shownMonth)) {
    m_shownMonth = shown;
    QueryEventDays();
  }
  if (m_hWnd) Invalidate(FALSE);
}

bool CCalendarCtrl::OnReturnDates(const std::wstring&, uint32_t status, const DayList& days) {
  if (status != 0) return true;
  m_eventDays.clear();
  for (const std::wstring& text : days) {
    CCHSDate day;
    if (day.Set(Calendar::TimeYear(text), Calendar::TimeMonth(text), Calendar::TimeDay(text)))
      m_eventDays.push_back(day);
  }
  if (m_hWnd) Invalidate(FALSE);
  return true;
}

bool CCalendarCtrl::OnRefreshComplete(const std::wstring&, uint32_t) {
  QueryEventDays();
  return true;
}
bool CCalendarCtrl::OnUpdate(const std::wstring&, uint32_t) {
  QueryEventDays();
  return true;
}
bool CCalendarCtrl::OnDelete(const std::wstring&, uint32_t) {
  QueryEventDays();
  return true;
}
bool CCalendarCtrl::OnInsert(const std::wstring&, uint32_t, const ContentList&) {
  QueryEventDays();
  return true;
}
bool CCalendarCtrl::OnInsert(const std::wstring&, uint32_t, CContent*) {
  QueryEventDays();
  return true;
}
