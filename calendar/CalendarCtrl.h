// CCalendarCtrl: the mini month calendar on the left of the calendar page.
// Two consecutive months, today, the selected day and the days that hold
// events; a click picks a day (every calendar part follows the selected day
// of CCalendarSupport), a double-click also asks the views for that day, and
// the title's buttons step both months. What lies where, and the rules that
// move the shown month, are calendar/MiniMonth.h's; this window keeps the
// state, asks the provider and routes the mouse.
#pragma once
#include <windows.h>

#include <optional>
#include <vector>

#include "calendar/CHSDate.h"
#include "calendar/DateObserver.h"
#include "calendar/MiniMonth.h"
#include "content/DataProvider.h"
#include "framework/BufferedPaint.h"
#include "framework/WindowImpl.h"

class CCalendarCtrl : public wf::CWindowImpl<CCalendarCtrl>,
                      public wf::CBufferedPaint<CCalendarCtrl>,
                      public CDataProviderCallback,
                      public CDateOberver {
 public:
  DECLARE_WND_CLASS_EX(L"PimMiniCalendar", CS_DBLCLKS, -1)

  CCalendarCtrl() = default;
  ~CCalendarCtrl() override;

  // Makes the window, registers with CCalendarSupport (listener and date
  // observer) and shows the selected day's month.
  HWND Create(HWND parent, const RECT& rc, UINT id);

  // The month of the upper block (its first day), the event days of the last
  // answer, and what is drawn.
  CCHSDate ShownMonth() const { return m_shownMonth; }
  const std::vector<CCHSDate>& EventDays() const { return m_eventDays; }
  Calendar::MiniMonthLayout CurrentLayout() const;
  // Asks which days of both blocks hold events.
  void QueryEventDays();
  // The local date moved on (midnight): today is drawn elsewhere.
  void TodayChanged();
  // Draws into `dc` (WM_PAINT, WM_PRINTCLIENT and tests).
  void Paint(HDC dc);

  // The selected day changed elsewhere: the blocks follow it.
  void OnDateChanged() override;

  bool OnReturnDates(const std::wstring& uri, uint32_t status, const DayList& days) override;
  bool OnRefreshComplete(const std::wstring& uri, uint32_t status) override;
  bool OnUpdate(const std::wstring& uri, uint32_t status) override;
  bool OnDelete(const std::wstring& uri, uint32_t status) override;
  bool OnInsert(const std::wstring& uri, uint32_t status, const ContentList& records) override;
  bool OnInsert(const std::wstring& uri, uint32_t status, CContent* record) override;

  BEGIN_MSG_MAP(CCalendarCtrl)
    CHAIN_MSG_MAP(wf::CBufferedPaint<CCalendarCtrl>)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDblClk)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  END_MSG_MAP()

 private:
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDblClk(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);

  std::optional<Calendar::MiniHitItem> HitAt(LPARAM lParam) const;
  // The day becomes the selected day and every part hears of it.
  void Select(const CCHSDate& day);
  void Step(int months);
  void Unregister();

  CCHSDate m_shownMonth;
  std::vector<CCHSDate> m_eventDays;
  Calendar::MiniMonthLook m_look;
  std::wstring m_titleFormat;  // "calendar.date.format"
  bool m_lookLoaded = false;
  Calendar::MiniHitKind m_hot = Calendar::MiniHitKind::None;
  bool m_pressed = false;
  bool m_tracking = false;
  bool m_registered = false;
};
