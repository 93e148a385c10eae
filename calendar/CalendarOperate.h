// CCalendarOperate: the controller of the calendar's list view.
//
// It asks CCalendarSupport for the events of the selected month, keeps them as
// rows grouped by day (Calendar::CCalendarRows, the list's model) and carries
// out what the user does to them: delete, search, tick, select, move, and the
// event detail. It registers with the support as a listener and a date
// observer; the support calls it on the user-interface thread, so it owns no
// provider and no marshal of its own.
//
// While another calendar view is shown (list mode off) it ignores the
// answers: the views ask for other ranges and handle their own.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "calendar/CHSDate.h"
#include "calendar/CalendarData.h"
#include "calendar/CalendarDetailWnd.h"
#include "calendar/CalendarRows.h"
#include "calendar/DateObserver.h"
#include "content/DataProvider.h"

class IAppHost;
class CQsSuperGrid;

// What the main window hands the controller.
struct CalendarControls {
  HWND mainWindow = nullptr;
  CQsSuperGrid* list = nullptr;  // control 0x4d1
  // "common.deletesome": on only while the list holds events.
  HWND deleteButton = nullptr;
  IAppHost* host = nullptr;
};

class CCalendarOperate : public CDataProviderCallback, public CDateOberver {
 public:
  CCalendarOperate() = default;
  ~CCalendarOperate() override;
  CCalendarOperate(const CCalendarOperate&) = delete;
  CCalendarOperate& operator=(const CCalendarOperate&) = delete;

  // The list's columns, images and fonts; registers with CCalendarSupport.
  void InitList(const CalendarControls& controls);
  // Places the list in a calendar area `width` x `height` (the module's
  // client area) and shares its width out among the columns.
  void Layout(int width, int height);
  static RECT ListRect(int width, int height);

  // On while the list is the calendar view shown.
  void SetListMode(bool on) { m_listMode = on; }
  bool IsListMode() const { return m_listMode; }

  // Empties the list and reads the handset's calendar again.
  void RefreshList();
  // Asks for the events of the selected day's month, with the last two days
  // of the month before.
  void QueryListMonth();
  // The days QueryListMonth asks for when `day` is selected.
  static void MonthQueryRange(const CCHSDate& day, CCHSDate& from, CCHSDate& to);
  // The month last asked for (year 0 before the first query).
  const CCHSDate& ListMonth() const { return m_listMonth; }

  // The event editor (new, a row's event, the detail's event).
  void NewEvent();
  void EditRow(int row);
  void EditCurrent();

  // Deleting, each after the user's yes; with no event to delete a notice.
  void DeleteRow(int row);
  void DeleteChecked();
  void DeleteSelected(const std::vector<int>& rows);

  void CheckAll(bool on);
  void SelectAll();
  // One event row down or up from the selection, stepping over day headers.
  void MoveSelection(bool down);
  // A click in a cell of the list (QSGN_CELLCLICK): the check box ticks, the
  // operations edit or delete.
  void OnCellClick(int row, int column, int action, int check);

  // Searches the events; with `showFound`, the main window is told the row to
  // show once the list is filled (pim_msg::kShowEventDetail).
  void Search(const std::wstring& keyword, bool showFound = false);
  // Closes the editor and the calendar's message boxes (the phone went away).
  void CloseDialogs();

  // The detail popup of an event row.
  void ShowDetail(int row);
  void HideDetail();
  // The popup also hides itself (its edit link, its owner hidden).
  bool IsDetailShown() const { return m_detailWnd.IsShown(); }
  CCalendarDetailWnd& DetailWindow() { return m_detailWnd; }
  const Calendar::CCalendarData& DetailEvent() const { return m_detailEvent; }
  const RECT& DetailRect() const { return m_detailRect; }
  // What the popup shows of `event`: an all-day event ends at 23:59.
  static Calendar::CCalendarData DetailCopy(const Calendar::CCalendarData& event);
  // Where the popup goes beside a list at `list` (screen coordinates).
  static RECT DetailPlacement(const RECT& list);

  // Today moved (midnight): the day headers follow.
  void Redraw();
  // The phone went away: no rows, no detail.
  void ClearAll();

  bool HasEvents() const { return m_hasEvents; }
  const Calendar::CCalendarRows& Rows() const { return m_rows; }

  // ---- answers forwarded by CCalendarSupport ----
  bool OnRefreshComplete(const std::wstring& uri, uint32_t status) override;
  bool OnReturnGroupContent(const std::wstring& uri, uint32_t status, const GroupedContent& groups) override;
  bool OnReturnContent(const std::wstring& uri, uint32_t status, const ContentList& records) override;
  bool OnReturnById(const std::wstring& uri, uint32_t status, const ContentList& records) override;
  bool OnInsert(const std::wstring& uri, uint32_t status, CContent* record) override;
  using CDataProviderCallback::OnInsert;
  bool OnUpdate(const std::wstring& uri, uint32_t status) override;
  using CDataProviderCallback::OnUpdate;
  bool OnDelete(const std::wstring& uri, uint32_t status) override;
  // The flat event list of OnReturnContent (a search): the list's rows.
  // Declared before the date observer's operations so that it takes the
  // first slot after the callback interface's own.
  virtual bool OnReturnEventList(const std::wstring& uri, uint32_t status, const ContentList& records);

  // ---- CDateOberver ----
  void OnDateChanged() override;

 private:
  // The rows were rebuilt; `nearest` is the header row to bring into view.
  void ShowFilled(int nearest);
  void SetHasEvents(bool hasEvents);
  void ClearTicks();
  void DeleteIds(const IdList& ids);
  void Tell(const wchar_t* key);
  bool Ask(const wchar_t* key);
  // The event editor and the detail popup are separate windows still to be
  // built; these are the places that will open and show them.
  void OpenEditor(bool editMode, const Calendar::CCalendarData& event);
  void PresentDetail();

  CalendarControls m_controls;
  Calendar::CCalendarRows m_rows;
  bool m_registered = false;
  bool m_listMode = true;
  bool m_hasEvents = false;
  bool m_deleting = false;        // a multi-row delete is being asked for
  bool m_showAfterSearch = false; // tell the main window the row to show after the next fill
  CCHSDate m_listMonth;
  Calendar::CCalendarData m_detailEvent;   // as the popup shows it
  Calendar::CCalendarData m_detailSource;  // as stored
  CCalendarDetailWnd m_detailWnd;
  RECT m_detailRect{};
  bool m_detailShown = false;
};
