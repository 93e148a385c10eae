#include "calendar/CalendarOperate.h"

#include <algorithm>

#include "calendar/CalendarNewDlg.h"
#include "calendar/CalendarSupport.h"
#include "content/PimMessages.h"
#include "content/ReplyDispatch.h"
#include "controls/ResText.h"
#include "controls/SuperGrid.h"
#include "frame/AppInterface.h"
#include "frame/suite/BaseLibrary.h"
#include "frame/suite/ResourceLibrary.h"
#include "frame/suite/SharedDialogs.h"
#include "framework/Clock.h"

using namespace Calendar;

namespace {

constexpr int kListLeft = 187;
constexpr int kListTop = 36;

// The detail popup: its size and where it sits against the list's right edge.
constexpr int kDetailWidth = 320;
constexpr int kDetailHeight = 240;
constexpr int kDetailFromRight = 339;
constexpr int kDetailFromTop = 20;
// An all-day event's end as the popup reads it: only its time, 23:59, shows.
constexpr const wchar_t* kAllDayDetailEnd = L"20110811T2359Z";

void Info(const char* line) { LOG::I(PIM_INFO_LOG, "%s", line); }

CCalendarSupport& Support() { return CCalendarSupport::GetInstance(); }

}  // namespace

CCalendarOperate::~CCalendarOperate() {
  if (m_registered) {
    Support().RemoveListener(this);
    Support().RemoveDateObserver(this);
  }
  if (m_controls.list && m_controls.list->GetModel() == &m_rows) m_controls.list->SetModel(nullptr);
}

// ---------------------------------------------------------------------------
// The list

void CCalendarOperate::InitList(const CalendarControls& controls) {
  m_controls = controls;
  CalendarRowLook look;
  look.days.today = qs::ResText(L"pim_calendar_today");
  look.days.tomorrow = qs::ResText(L"pim.calendar.tomorrow");
  look.editText = qs::ResText(L"common.edit");
  look.deleteText = qs::ResText(L"common.delete");
  GetImage(L"pim_calendar_icon.png", look.eventImage);
  m_rows.SetLook(look);
  m_rows.SetToday(Support().GetToday());

  if (CQsSuperGrid* list = m_controls.list) {
    if (list->GetColumnCount() == 0) {
      auto fractions = CalendarColumnFractions(list->GetClientRect().right);
      const wchar_t* titles[kCalendarColumnCount] = {nullptr, L"pim.calendar.time", L"pim.calendar.topic",
                                                     L"pim.calendar.address", L"pim.calendar.people", nullptr};
      for (int column = 0; column < kCalendarColumnCount; ++column)
        list->AddColumn(titles[column] ? qs::ResText(titles[column]) : std::wstring(), fractions[column]);
    }
    list->SetSectionImagesFromKeys(L"pim_list_Group_corner.png", L"pim_list_detail_open.png",
                                   L"pim_list_detail_close.png");
    list->SetCheckBoxImagesFromKeys(L"pim_checkbox_unselect.png", L"pim_checkbox_select.png");
    list->SetHeaderImagesFromKeys(L"comm_listheaer_span.png", L"comm_listheaer_sep.png");
    list->SetHeaderCheckColumn(kColumnCheck);
    list->SetFontFromKey(GridFont::Row, L"tamix_font_gdione");
    list->SetFontFromKey(GridFont::Section, L"tamix_font_gdithree");
    list->SetFontFromKey(GridFont::Header, L"tamix_font_gditwo");
    list->SetColorFromKey(GridColor::Text, L"tamix_color_one");
    list->SetColorFromKey(GridColor::ActionText, L"tamix_color_eight");
    list->SetModel(&m_rows);
  }
  SetHasEvents(m_rows.EventCount() > 0);
  Support().AddListener(this);
  Support().AddDateObserver(this);
  m_registered = true;
}

RECT CCalendarOperate::ListRect(int width, int height) {
  return RECT{kListLeft, kListTop, std::max(kListLeft, width), std::max(kListTop, height)};
}

void CCalendarOperate::Layout(int width, int height) {
  if (!m_controls.list) return;
  RECT area = ListRect(width, height);
  m_controls.list->MoveWindow(area);
  auto fractions = CalendarColumnFractions(area.right - area.left);
  m_controls.list->SetColumnRatios(std::vector<double>(fractions.begin(), fractions.end()));
}

void CCalendarOperate::SetHasEvents(bool hasEvents) {
  m_hasEvents = hasEvents;
  if (m_controls.deleteButton) ::EnableWindow(m_controls.deleteButton, hasEvents);
}

void CCalendarOperate::ShowFilled(int nearest) {
  CQsSuperGrid* list = m_controls.list;
  SetHasEvents(m_rows.RowCount() > 0);
  if (list) {
    list->Refresh();
    if (nearest >= 0) {
      list->SelectRow(nearest);
      list->SetFocusRow(nearest);
      list->EnsureRowVisible(nearest);
    }
    list->SetRedraw(TRUE);
    list->Invalidate(FALSE);
  }
  if (m_showAfterSearch) {
    m_showAfterSearch = false;
    // The detail is an event's: the first one under the day brought into view.
    int row = m_rows.NextEventRow(nearest, true);
    if (row >= 0 && m_controls.mainWindow) ::PostMessageW(m_controls.mainWindow, pim_msg::kShowEventDetail, row, 0);
  }
}

void CCalendarOperate::Redraw() {
  m_rows.SetToday(Support().GetToday());
  if (m_controls.list) m_controls.list->RedrawAll();
}

void CCalendarOperate::ClearAll() {
  m_rows.Clear();
  HideDetail();
  m_showAfterSearch = false;
  if (m_controls.list) {
    m_controls.list->ClearSelection();
    m_controls.list->SetHeaderCheck(false);
    m_controls.list->Refresh();
  }
  SetHasEvents(false);
}

// ---------------------------------------------------------------------------
// Queries

void CCalendarOperate::RefreshList() {
  ClearAll();
  Support().Refresh();
  if (m_controls.host) m_controls.host->SetRunningTask(qs::ResText(L"common.tamixtip.runningtask"), true);
}

void CCalendarOperate::MonthQueryRange(const CCHSDate& day, CCHSDate& from, CCHSDate& to) {
  from = CCHSDate(day.Year(), day.Month(), 1);
  // The last two days of the month before lead into the first week.
  from.SubDays(2);
  to = CCHSDate(day.Year(), day.Month(), GetDaysOfMonth(day.Month(), day.Year()));
}

void CCalendarOperate::QueryListMonth() {
  m_listMonth = Support().GetSelectedDate();
  CCHSDate from, to;
  MonthQueryRange(m_listMonth, from, to);
  Info("Start Query Calendar!");
  Support().QueryEvents(from, to);
}

void CCalendarOperate::OnDateChanged() {
  if (!m_listMode) return;
  CCHSDate selected = Support().GetSelectedDate();
  if (selected.Year() != m_listMonth.Year() || selected.Month() != m_listMonth.Month()) QueryListMonth();
}

void CCalendarOperate::Search(const std::wstring& keyword, bool showFound) {
  m_showAfterSearch = showFound;
  Info("Start Search Calendar!");
  Support().Search(keyword);
}

// ---------------------------------------------------------------------------
// Answers

bool CCalendarOperate::OnRefreshComplete(const std::wstring&, uint32_t status) {
  LOG::I(PIM_INFO_LOG, "Refresh Calendar Complete! iStatus = %d", static_cast<int>(status));
  if (m_listMode) QueryListMonth();
  if (m_controls.host) m_controls.host->SetRunningTask(L"", false);
  return true;
}

bool CCalendarOperate::OnReturnGroupContent(const std::wstring&, uint32_t status, const GroupedContent& groups) {
  if (!m_listMode) return true;
  if (!content::ReplySucceeded(status, "Query Calendar success!", " Query Calendar fail!")) return true;
  if (m_controls.list) {
    m_controls.list->SetRedraw(FALSE);
    m_controls.list->ClearSelection();
    m_controls.list->SetHeaderCheck(false);
  }
  m_rows.SetToday(Support().GetToday());
  int nearest = m_rows.FillGrouped(groups, Support().GetSelectedDate());
  ShowFilled(nearest);
  return true;
}

bool CCalendarOperate::OnReturnContent(const std::wstring& uri, uint32_t status, const ContentList& records) {
  return OnReturnEventList(uri, status, records);
}

bool CCalendarOperate::OnReturnEventList(const std::wstring&, uint32_t status, const ContentList& records) {
  if (!m_listMode) return true;
  if (!content::ReplySucceeded(status, "Search Calendar success!", " Search Calendar fail!")) {
    m_showAfterSearch = false;
    return true;
  }
  if (m_controls.list) {
    m_controls.list->SetRedraw(FALSE);
    m_controls.list->ClearSelection();
    m_controls.list->SetHeaderCheck(false);
  }
  m_rows.SetToday(Support().GetToday());
  int nearest = m_rows.FillFlat(records, Support().GetSelectedDate());
  ShowFilled(nearest);
  return true;
}

bool CCalendarOperate::OnReturnById(const std::wstring&, uint32_t, const ContentList& records) {
  const CCalendarData* event = records.empty() ? nullptr : dynamic_cast<const CCalendarData*>(records.front());
  if (event) {
    m_detailSource = *event;
    m_detailEvent = DetailCopy(*event);
  }
  if (m_controls.mainWindow) ::PostMessageW(m_controls.mainWindow, pim_msg::kEditEvent, 0, 0);
  return true;
}

bool CCalendarOperate::OnInsert(const std::wstring&, uint32_t status, CContent*) {
  content::ReplySucceeded(status, "Insert Calendar Success!", "Insert Calendar fail!");
  if (m_listMode) QueryListMonth();
  return true;
}

bool CCalendarOperate::OnUpdate(const std::wstring&, uint32_t status) {
  content::ReplySucceeded(status, "Update Calendar Success!", "Update Calendar fail!");
  if (m_listMode) QueryListMonth();
  return true;
}

bool CCalendarOperate::OnDelete(const std::wstring&, uint32_t status) {
  content::ReplySucceeded(status, "Delete Calendar Success!", "Delete Calendar fail!");
  if (m_listMode) QueryListMonth();
  return true;
}

// ---------------------------------------------------------------------------
// What the user does to rows

void CCalendarOperate::Tell(const wchar_t* key) {
  JorvMessageBox(m_controls.mainWindow, qs::ResText(key).c_str(), qs::ResText(L"common.messagebox.tamixtip").c_str(),
                 JORV_MB_NOTICE, 0, 0);
}

bool CCalendarOperate::Ask(const wchar_t* key) {
  return JorvMessageBox(m_controls.mainWindow, qs::ResText(key).c_str(),
                        qs::ResText(L"common.messagebox.tamixtip").c_str(), JORV_MB_CONFIRM, 0, 0) == 1;
}

void CCalendarOperate::DeleteRow(int row) {
  if (!m_rows.IsEventRow(row)) {
    Tell(L"pim.calendar.del.nosel");
    return;
  }
  ContentId id = m_rows.At(row).event.m_id;
  if (Ask(L"pim.calendar.delete.sure")) Support().DeleteOne(id);
}

void CCalendarOperate::DeleteChecked() { DeleteIds(m_rows.TickedIds()); }

void CCalendarOperate::DeleteSelected(const std::vector<int>& rows) { DeleteIds(m_rows.IdsOf(rows)); }

void CCalendarOperate::DeleteIds(const IdList& ids) {
  if (m_deleting) return;  // the question of another delete is still up
  if (ids.empty()) {
    Tell(L"pim.calendar.del.nosel");
  } else {
    m_deleting = true;
    if (Ask(L"pim.calendar.delete.sure")) Support().DeleteMany(ids);
    m_deleting = false;
  }
  ClearTicks();
}

void CCalendarOperate::ClearTicks() {
  m_rows.SetAllTicks(false);
  if (m_controls.list) {
    m_controls.list->SetHeaderCheck(false);
    m_controls.list->RedrawAll();
  }
}

void CCalendarOperate::CheckAll(bool on) {
  m_rows.SetAllTicks(on);
  if (m_controls.list) {
    m_controls.list->SetHeaderCheck(on);
    m_controls.list->RedrawAll();
  }
}

void CCalendarOperate::SelectAll() {
  CQsSuperGrid* list = m_controls.list;
  if (!list) return;
  list->ClearSelection();
  for (int row = 0; row < m_rows.RowCount(); ++row)
    if (m_rows.IsEventRow(row)) list->SelectRow(row);
}

void CCalendarOperate::MoveSelection(bool down) {
  CQsSuperGrid* list = m_controls.list;
  if (!list) return;
  std::vector<int> selected = list->GetSelectedRows();
  int from = selected.empty() ? list->GetFocusRow() : down ? selected.back() : selected.front();
  int next = m_rows.NextEventRow(from, down);
  if (next < 0) return;
  list->ClearSelection();
  list->SelectRow(next);
  list->SetFocusRow(next);
  list->EnsureRowVisible(next);
}

void CCalendarOperate::OnCellClick(int row, int column, int action, int check) {
  if (!m_rows.IsEventRow(row)) return;
  if (column == kColumnCheck) {
    m_rows.SetTick(row, check == 0);
    if (m_controls.list) m_controls.list->RedrawRow(row);
  } else if (column == kColumnActions) {
    if (action == kActionEdit) EditRow(row);
    else if (action == kActionDelete) DeleteRow(row);
  }
}

void CCalendarOperate::CloseDialogs() {
  struct Search {
    std::vector<std::wstring> titles;
    std::vector<HWND> found;
  } search;
  for (const wchar_t* key : {L"pim.calendar.newcalendar", L"pim.calendar.editcalendar", L"common.messagebox.tamixtip"})
    if (std::wstring title = qs::ResText(key); !title.empty()) search.titles.push_back(std::move(title));
  // Only this process's windows: another program may use the same titles.
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        if (process != ::GetCurrentProcessId()) return TRUE;
        wchar_t text[256] = {};
        ::GetWindowTextW(window, text, static_cast<int>(std::size(text)));
        if (std::find(s->titles.begin(), s->titles.end(), text) != s->titles.end()) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  for (HWND window : search.found)
    if (::IsWindow(window)) ::SendMessageW(window, WM_CLOSE, 0, 0);
}

// ---------------------------------------------------------------------------
// The editor and the detail popup

void CCalendarOperate::NewEvent() {
  HWND active = ::GetActiveWindow();
  RunEventEditor(active ? active : m_controls.mainWindow, wf::LocalTime(), false);
}

void CCalendarOperate::EditRow(int row) {
  if (m_rows.IsEventRow(row)) OpenEditor(true, m_rows.At(row).event);
}

// The event as stored, not the popup's copy (whose all-day end reads 23:59).
void CCalendarOperate::EditCurrent() { OpenEditor(true, m_detailSource); }

void CCalendarOperate::OpenEditor(bool, const CCalendarData& event) {
  HWND active = ::GetActiveWindow();
  RunEventEditor(active ? active : m_controls.mainWindow, event);
}

CCalendarData CCalendarOperate::DetailCopy(const CCalendarData& event) {
  CCalendarData copy = event;
  if (copy.IsAllDay()) copy.m_end = kAllDayDetailEnd;
  return copy;
}

RECT CCalendarOperate::DetailPlacement(const RECT& list) {
  int left = list.right - kDetailFromRight, top = list.top + kDetailFromTop;
  return RECT{left, top, left + kDetailWidth, top + kDetailHeight};
}

void CCalendarOperate::ShowDetail(int row) {
  if (!m_rows.IsEventRow(row)) return;
  m_detailSource = m_rows.At(row).event;
  m_detailEvent = DetailCopy(m_detailSource);
  RECT list{};
  if (m_controls.list && m_controls.list->m_hWnd) list = m_controls.list->GetWindowRect();
  m_detailRect = DetailPlacement(list);
  m_detailShown = true;
  PresentDetail();
}

void CCalendarOperate::PresentDetail() {
  if (!m_detailWnd.m_hWnd && m_controls.mainWindow) {
    // Its edit link opens the editor on the event as stored.
    m_detailWnd.Create(m_controls.mainWindow, [this](const CCalendarData&) {
      m_detailShown = false;
      EditCurrent();
    });
  }
  if (m_detailWnd.m_hWnd) m_detailWnd.Show(m_detailEvent, m_detailRect);
}

void CCalendarOperate::HideDetail() {
  m_detailShown = false;
  m_detailWnd.Hide();
}
