#include "calendar/CalendarViewCtrl.h"

#include <algorithm>

#include "calendar/CalendarSupport.h"
#include "calendar/LunarNames.h"
#include "content/ContentUri.h"
#include "framework/Gdi.h"

namespace {
namespace U = ContentUri;

constexpr Gdiplus::ARGB kControlBackground = 0xFFFFF0D2;

CCHSDate Selected() { return CCalendarSupport::GetInstance().GetSelectedDate(); }

}  // namespace

// ---- CalendarViewState ----

CalendarViewState::CalendarViewState(CCalendarViewCtrl& control, const CCHSDate& shownFirst)
    : m_control(control), m_shownFirst(shownFirst) {}

void CalendarViewState::OnMouseMove(UINT, int x, int y) {
  const int hot = HitHeaderButton(x, y);
  if (hot != m_hotButton) {
    m_hotButton = hot;
    m_pressed = false;
    m_control.Invalidate(FALSE);
  }
}

void CalendarViewState::OnLButtonDown(UINT, int x, int y) {
  const int button = HitHeaderButton(x, y);
  if (button < 0) return;
  m_hotButton = button;
  m_pressed = true;
  PressHeaderButton(button);
}

void CalendarViewState::OnRButtonDown(UINT keys, int x, int y) { OnMouseMove(keys, x, y); }
void CalendarViewState::OnLButtonDblClk(UINT keys, int x, int y) { OnLButtonDown(keys, x, y); }
void CalendarViewState::OnRButtonDblClk(UINT keys, int x, int y) { OnMouseMove(keys, x, y); }

void CalendarViewState::SelectDay(const CCHSDate& day) {
  CCalendarSupport& support = CCalendarSupport::GetInstance();
  support.SetSelectedDate(day);
  support.NotifyDateChanged();  // the control follows (and queries) with the others
  m_control.Redraw();
}

// ---- month ----

CalendarViewStateMonth::CalendarViewStateMonth(CCalendarViewCtrl& control)
    : CalendarViewState(control, CCHSDate(1980, 1, 1)) {}

void CalendarViewStateMonth::Query(bool force) {
  const Calendar::MonthQueryPlan plan = Calendar::PlanMonthQuery(m_shownFirst, Selected(), force);
  if (!plan.ask) return;
  m_shownFirst = plan.shownMonth;
  m_redrawOnAnswer = plan.redrawOnAnswer;
  CCalendarSupport::GetInstance().QueryEvents(plan.range.from, plan.range.to);
}

void CalendarViewStateMonth::Draw(Gdiplus::Graphics& g, const RECT& client, const CCHSDate& selected) {
  if (!m_lookLoaded) {
    m_look = Calendar::LoadMonthHeaderLook();
    m_lookLoaded = true;
  }
  m_width = client.right - client.left;
  const Calendar::MonthHeaderLayout layout = Calendar::LayoutMonthHeader(m_width, selected);
  Calendar::PaintMonthHeader(g, layout, m_look, static_cast<Calendar::MonthHeaderButton>(m_hotButton), m_pressed);
}

int CalendarViewStateMonth::HitHeaderButton(int x, int y) const {
  const Calendar::MonthHeaderLayout layout = Calendar::LayoutMonthHeader(m_width, Selected());
  return static_cast<int>(Calendar::HitTestMonthHeader(layout, POINT{x, y}));
}

void CalendarViewStateMonth::PressHeaderButton(int button) {
  SelectDay(Calendar::ApplyMonthHeaderButton(static_cast<Calendar::MonthHeaderButton>(button), Selected()));
}

// ---- week and day ----

CalendarViewStateTime::CalendarViewStateTime(CCalendarViewCtrl& control, bool week)
    : CalendarViewState(control, week ? CCHSDate(1980, 1, 1) : CCHSDate()), m_week(week) {
  // The working day in view at first.
  m_scrollPos = 8 * Calendar::kHourHeight;
}

void CalendarViewStateTime::Query(bool force) {
  const Calendar::TimeQueryPlan plan = m_week ? Calendar::PlanWeekQuery(m_shownFirst, Selected(), force)
                                              : Calendar::PlanDayQuery(m_shownFirst, Selected(), force);
  if (!plan.ask) return;
  m_shownFirst = plan.shownFirst;
  m_redrawOnAnswer = plan.redrawOnAnswer;
  CCalendarSupport::GetInstance().QueryEvents(plan.range.from, plan.range.to);
}

void CalendarViewStateTime::LoadLook() {
  if (m_lookLoaded) return;
  m_look = Calendar::LoadTimeHeaderLook();
  m_texts = Calendar::LoadTimeViewTexts();
  LoadLunarNames(m_names);
  m_lookLoaded = true;
}

Calendar::TimeHeaderLayout CalendarViewStateTime::HeaderLayout(int width, const CCHSDate& selected) const {
  Calendar::TimeHeaderInput input;
  input.width = width;
  input.selected = selected;
  input.today = CCalendarSupport::GetInstance().GetToday();
  input.days = &m_control.DayModels();
  input.texts = &m_texts;
  input.lunarNames = &m_names;
  input.languageId = GetLanguageId();
  return m_week ? Calendar::LayoutWeekHeader(input) : Calendar::LayoutDayHeader(input);
}

void CalendarViewStateTime::Draw(Gdiplus::Graphics& g, const RECT& client, const CCHSDate& selected) {
  LoadLook();
  m_width = client.right - client.left;
  Calendar::PaintTimeHeader(g, HeaderLayout(m_width, selected), m_look,
                            static_cast<Calendar::TimeHeaderButton>(m_hotButton), m_pressed);
}

int CalendarViewStateTime::HitHeaderButton(int x, int y) const {
  return static_cast<int>(Calendar::HitTestTimeHeader(HeaderLayout(m_width, Selected()), POINT{x, y}));
}

void CalendarViewStateTime::PressHeaderButton(int button) {
  const auto pressed = static_cast<Calendar::TimeHeaderButton>(button);
  SelectDay(m_week ? Calendar::ApplyWeekHeaderButton(pressed, Selected())
                   : Calendar::ApplyDayHeaderButton(pressed, Selected()));
}

void CalendarViewStateTime::OnLButtonDblClk(UINT keys, int x, int y) {
  // An all-day event of the strip opens in the editor; elsewhere a double
  // click is two clicks.
  const Calendar::TimeHeaderLayout layout = HeaderLayout(m_width, Selected());
  if (const Calendar::TimeHitItem* hit = Calendar::HitTestAllDay(layout, POINT{x, y})) {
    if (hit->kind == Calendar::TimeHitKind::Event && m_control.Owner().openEditor)
      m_control.Owner().openEditor(&hit->event, hit->day, -1);
    return;
  }
  CalendarViewState::OnLButtonDblClk(keys, x, y);
}

// ---- bodies ----

HWND CCalendarViewBodyWnd::Create(HWND parent, int top) {
  m_top = top;
  RECT client{};
  ::GetClientRect(parent, &client);
  RECT rc{0, top, client.right, std::max(client.bottom, static_cast<LONG>(top))};
  HWND window = wf::CWindowImpl<CCalendarViewBodyWnd>::Create(
      parent, rc, L"", WS_CHILD | WS_CLIPSIBLINGS | (ScrollState() ? WS_VSCROLL : 0), 0);
  SyncScrollBar();
  return window;
}

LRESULT CCalendarViewBodyWnd::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&) {
  OnClick(wf::PointFromLParam(lParam));
  return 0;
}

LRESULT CCalendarViewBodyWnd::OnLButtonDblClk(UINT, WPARAM, LPARAM lParam, BOOL&) {
  OnDoubleClick(wf::PointFromLParam(lParam));
  return 0;
}

Calendar::MonthBodyLayout CCalendarMonthViewBodyWnd::CurrentLayout() const {
  CCalendarSupport& support = CCalendarSupport::GetInstance();
  RECT client{};
  if (m_hWnd) ::GetClientRect(m_hWnd, &client);
  Calendar::MonthBodyInput input;
  input.width = client.right;
  input.height = client.bottom;
  input.selected = support.GetSelectedDate();
  input.today = support.GetToday();
  input.days = &m_control.DayModels();
  input.languageId = GetLanguageId();
  input.lunarNames = &m_lunarNames;
  return Calendar::LayoutMonthBody(input);
}

void CCalendarMonthViewBodyWnd::Paint(HDC dc) {
  if (!m_lookLoaded) {
    m_look = Calendar::LoadMonthLook();
    m_lookLoaded = true;
  }
  Gdiplus::Graphics g(dc);
  Calendar::PaintMonthBody(g, CurrentLayout(), m_look);
}

void CCalendarMonthViewBodyWnd::OnClick(POINT pt) {
  const Calendar::MonthBodyLayout layout = CurrentLayout();
  const Calendar::MonthHitItem* hit = Calendar::HitTestMonthBody(layout, pt);
  if (!hit) return;
  CCalendarSupport& support = CCalendarSupport::GetInstance();
  support.SetSelectedDate(hit->day);
  support.NotifyDateChanged();
  m_control.Redraw();
}

void CCalendarMonthViewBodyWnd::OnDoubleClick(POINT pt) {
  const Calendar::MonthBodyLayout layout = CurrentLayout();
  const Calendar::MonthHitItem* hit = Calendar::HitTestMonthBody(layout, pt);
  if (!hit) return;
  if (hit->kind == Calendar::MonthHitKind::Event) {
    if (m_control.Owner().openEditor) m_control.Owner().openEditor(&hit->event, hit->day, -1);
    return;
  }
  const CCHSDate day = hit->day;
  CCalendarSupport& support = CCalendarSupport::GetInstance();
  support.SetSelectedDate(day);
  support.NotifyDateChanged();
  m_control.Redraw();
  if (m_control.Owner().showDayView) m_control.Owner().showDayView();
}

Calendar::TimeBodyLayout CCalendarTimeViewBodyWnd::CurrentLayout() const {
  CCalendarSupport& support = CCalendarSupport::GetInstance();
  RECT client{};
  if (m_hWnd) ::GetClientRect(m_hWnd, &client);
  Calendar::TimeBodyInput input;
  input.width = client.right;
  input.height = client.bottom;
  const CalendarViewState& state = m_week ? static_cast<const CalendarViewState&>(m_control.WeekState())
                                          : static_cast<const CalendarViewState&>(m_control.DayState());
  input.scroll = Calendar::ClampTimeScroll(state.ScrollPos(), client.bottom);
  input.selected = support.GetSelectedDate();
  input.today = support.GetToday();
  input.days = &m_control.DayModels();
  return m_week ? Calendar::LayoutWeekBody(input) : Calendar::LayoutDayBody(input);
}

void CCalendarTimeViewBodyWnd::Paint(HDC dc) {
  if (!m_lookLoaded) {
    m_look = Calendar::LoadTimeBodyLook();
    m_lookLoaded = true;
  }
  Gdiplus::Graphics g(dc);
  Calendar::PaintTimeBody(g, CurrentLayout(), m_look);
}

CalendarViewState* CCalendarTimeViewBodyWnd::ScrollState() {
  return m_week ? static_cast<CalendarViewState*>(&m_control.WeekState())
                : static_cast<CalendarViewState*>(&m_control.DayState());
}

void CCalendarTimeViewBodyWnd::OnDoubleClick(POINT pt) {
  const Calendar::TimeBodyLayout layout = CurrentLayout();
  const Calendar::TimeHitItem* hit = Calendar::HitTestTimeBody(layout, pt);
  if (!hit || !m_control.Owner().openEditor) return;
  // An event opens as it is; an empty half hour starts a new event there.
  if (hit->kind == Calendar::TimeHitKind::Event) m_control.Owner().openEditor(&hit->event, hit->day, -1);
  else m_control.Owner().openEditor(nullptr, hit->day, hit->hour * 60 + hit->minute);
}

// ---- scrolling bodies ----

void CCalendarViewBodyWnd::SyncScrollBar() {
  CalendarViewState* state = ScrollState();
  if (!m_hWnd || !state) return;
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = ScrollHeight() - 1;
  info.nPage = static_cast<UINT>(std::max<LONG>(client.bottom, 0));
  info.nPos = Calendar::ClampTimeScroll(state->ScrollPos(), client.bottom);
  ::SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
}

void CCalendarViewBodyWnd::ScrollTo(int pos) {
  CalendarViewState* state = ScrollState();
  if (!state) return;
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  pos = Calendar::ClampTimeScroll(pos, client.bottom);
  if (pos == state->ScrollPos()) return;
  state->SetScrollPos(pos);
  SyncScrollBar();
  Invalidate(FALSE);
}

LRESULT CCalendarViewBodyWnd::OnVScroll(UINT, WPARAM wParam, LPARAM, BOOL&) {
  CalendarViewState* state = ScrollState();
  if (!state) return 0;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  if (!::GetScrollInfo(m_hWnd, SB_VERT, &info)) return 0;
  const int page = static_cast<int>(info.nPage);
  int pos = state->ScrollPos();
  switch (LOWORD(wParam)) {
    case SB_LINEUP: pos -= Calendar::kHalfHourHeight; break;
    case SB_LINEDOWN: pos += Calendar::kHalfHourHeight; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    case SB_TOP: pos = info.nMin; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return 0;
  }
  ScrollTo(pos);
  return 0;
}

LRESULT CCalendarViewBodyWnd::OnMouseWheel(UINT, WPARAM wParam, LPARAM, BOOL&) {
  CalendarViewState* state = ScrollState();
  if (!state) return 0;
  // An hour a notch.
  const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
  ScrollTo(state->ScrollPos() - notches * Calendar::kHourHeight);
  return 0;
}

LRESULT CCalendarViewBodyWnd::OnSize(UINT, WPARAM, LPARAM, BOOL&) {
  SyncScrollBar();
  Invalidate(FALSE);
  return 0;
}

// ---- the control ----

CCalendarViewCtrl::CCalendarViewCtrl()
    : m_month(std::make_unique<CalendarViewStateMonth>(*this)),
      m_week(std::make_unique<CalendarViewStateWeek>(*this)),
      m_day(std::make_unique<CalendarViewStateDay>(*this)),
      m_monthBody(*this),
      m_weekBody(*this),
      m_dayBody(*this) {}

CCalendarViewCtrl::~CCalendarViewCtrl() { Unregister(); }

HWND CCalendarViewCtrl::Create(HWND parent, const RECT& rc, UINT id, Host host) {
  m_host = std::move(host);
  HWND window = wf::CWindowImpl<CCalendarViewCtrl>::Create(parent, rc, L"", WS_CHILD | WS_CLIPCHILDREN, 0,
                                                           static_cast<UINT>(id));
  if (!window) return nullptr;
  m_monthBody.Create(window, kMonthBodyTop);
  m_monthBody.LoadNames();
  m_weekBody.Create(window, kWeekBodyTop);
  m_dayBody.Create(window, kDayBodyTop);
  CCalendarSupport& support = CCalendarSupport::GetInstance();
  support.AddDateObserver(this);
  support.AddListener(this);
  m_registered = true;
  return window;
}

void CCalendarViewCtrl::Unregister() {
  if (!m_registered) return;
  CCalendarSupport& support = CCalendarSupport::GetInstance();
  support.RemoveListener(this);
  support.RemoveDateObserver(this);
  m_registered = false;
}

CCalendarViewBodyWnd* CCalendarViewCtrl::BodyOf(int mode) {
  switch (mode) {
    case kMonth: return &m_monthBody;
    case kWeek: return &m_weekBody;
    case kDay: return &m_dayBody;
    default: return nullptr;
  }
}

void CCalendarViewCtrl::SetViewMode(int mode) {
  if (mode == m_mode || mode < kNone || mode > kDay) return;
  m_mode = mode;
  m_state = mode == kMonth ? static_cast<CalendarViewState*>(m_month.get())
            : mode == kWeek ? static_cast<CalendarViewState*>(m_week.get())
            : mode == kDay  ? static_cast<CalendarViewState*>(m_day.get())
                            : nullptr;
  for (int m = kMonth; m <= kDay; ++m)
    if (CCalendarViewBodyWnd* body = BodyOf(m); body && body->m_hWnd) {
      body->ShowWindow(m == mode ? SW_SHOW : SW_HIDE);
      if (m == mode) body->SyncScrollBar();
    }
  Redraw();
  if (m_state) m_state->Query(true);
}

void CCalendarViewCtrl::Redraw() {
  if (!m_hWnd) return;
  Invalidate(FALSE);
  if (CCalendarViewBodyWnd* body = BodyOf(m_mode); body && body->m_hWnd) body->Invalidate(FALSE);
}

void CCalendarViewCtrl::PlaceBodies(int width, int height) {
  for (int m = kMonth; m <= kDay; ++m) {
    CCalendarViewBodyWnd* body = BodyOf(m);
    if (body && body->m_hWnd)
      body->SetWindowPos(nullptr, 0, body->Top(), width, std::max(0, height - body->Top()),
                         SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CCalendarViewCtrl::Paint(HDC dc) {
  Gdiplus::Graphics g(dc);
  RECT client = GetClientRect();
  Calendar::FillViewRect(g, kControlBackground, client);
  if (m_state) m_state->Draw(g, client, CCalendarSupport::GetInstance().GetSelectedDate());
}

LRESULT CCalendarViewCtrl::OnSize(UINT, WPARAM, LPARAM lParam, BOOL&) {
  PlaceBodies(LOWORD(lParam), HIWORD(lParam));
  Invalidate(FALSE);
  return 0;
}

LRESULT CCalendarViewCtrl::OnMouse(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
  if (!m_state) return 0;
  const UINT keys = static_cast<UINT>(wParam);
  const POINT pt = wf::PointFromLParam(lParam);
  switch (message) {
    case WM_MOUSEMOVE: m_state->OnMouseMove(keys, pt.x, pt.y); break;
    case WM_LBUTTONDOWN: m_state->OnLButtonDown(keys, pt.x, pt.y); break;
    case WM_RBUTTONDOWN: m_state->OnRButtonDown(keys, pt.x, pt.y); break;
    case WM_LBUTTONDBLCLK: m_state->OnLButtonDblClk(keys, pt.x, pt.y); break;
    case WM_RBUTTONDBLCLK: m_state->OnRButtonDblClk(keys, pt.x, pt.y); break;
    default: break;
  }
  return 0;
}

LRESULT CCalendarViewCtrl::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  Unregister();
  bHandled = FALSE;
  return 0;
}

void CCalendarViewCtrl::OnDateChanged() {
  if (!m_state) return;
  m_state->Query(false);
  Redraw();
}

void CCalendarViewCtrl::OnShowDay() {
  if (m_host.showDayView) m_host.showDayView();
}

bool CCalendarViewCtrl::OnReturnPage(const std::wstring&, uint32_t, const ContentList&) {
  if (m_state) m_state->OnReturnPage();
  return true;
}
bool CCalendarViewCtrl::OnRefreshComplete(const std::wstring&, uint32_t) {
  if (m_state) m_state->OnRefreshComplete();
  return true;
}
bool CCalendarViewCtrl::OnUpdate(const std::wstring&, uint32_t) {
  if (m_state) m_state->OnUpdated();
  return true;
}
bool CCalendarViewCtrl::OnInsert(const std::wstring&, uint32_t, CContent*) {
  if (m_state) m_state->OnInserted();
  return true;
}
bool CCalendarViewCtrl::OnDelete(const std::wstring&, uint32_t) {
  if (m_state) m_state->OnDeleted();
  return true;
}

bool CCalendarViewCtrl::OnReturnGroupContent(const std::wstring& uri, uint32_t status, const GroupedContent& groups) {
  if (uri != U::kCalendar || status != 0) return true;
  m_days.clear();
  for (const auto& [dayText, events] : groups) {
    if (events.empty()) continue;
    Calendar::DayModel model;
    // A day text that cannot be read gives a day that matches no cell.
    model.day.Set(Calendar::TimeYear(dayText), Calendar::TimeMonth(dayText), Calendar::TimeDay(dayText));
    for (const CContent* record : events)
      if (auto* event = dynamic_cast<const Calendar::CCalendarData*>(record)) model.events.push_back(*event);
    m_days.push_back(std::move(model));
  }
  if (m_state && m_state->RedrawOnAnswer()) {
    m_state->ClearRedrawOnAnswer();
    Redraw();
  }
  return true;
}
