// CCalendarViewCtrl: the right-hand side of the calendar page when it shows
// the month, week or day view. It keeps one state per view (the state draws
// the view's header, receives the mouse there and asks the provider for the
// view's days) and one body window per view (the grid and its events), and
// the day models of the last answer, from which the bodies draw. It follows
// the selected day of CCalendarSupport and hears the provider's answers.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "calendar/CHSDate.h"
#include "calendar/DateObserver.h"
#include "calendar/LunarNames.h"
#include "calendar/MonthGrid.h"
#include "calendar/WeekDayGrid.h"
#include "content/DataProvider.h"
#include "framework/BufferedPaint.h"
#include "framework/WindowImpl.h"

class CCalendarViewCtrl;

// What a view does with the mouse and the provider's answers. The operations
// are called by slot from the control: keep their order.
class CalendarViewState {
 public:
  CalendarViewState(CCalendarViewCtrl& control, const CCHSDate& shownFirst);
  virtual ~CalendarViewState() = default;
  CalendarViewState(const CalendarViewState&) = delete;
  CalendarViewState& operator=(const CalendarViewState&) = delete;

  virtual void Draw(Gdiplus::Graphics& g, const RECT& client, const CCHSDate& selected) = 0;
  virtual void OnMouseMove(UINT keys, int x, int y);
  virtual void OnLButtonDown(UINT keys, int x, int y);
  virtual void OnRButtonDown(UINT keys, int x, int y);
  virtual void OnLButtonDblClk(UINT keys, int x, int y);
  virtual void OnRButtonDblClk(UINT keys, int x, int y);
  virtual void OnReturnPage() {}
  virtual void OnRefreshComplete() { Query(true); }
  virtual void Unused() {}
  virtual void OnUpdated() { Query(true); }
  virtual void OnInserted() { Query(true); }
  virtual void OnDeleted() { Query(true); }
  // Asks the provider for the view's days when the selected day left them
  // (or always, forced).
  virtual void Query(bool force) = 0;

  bool RedrawOnAnswer() const { return m_redrawOnAnswer; }
  void ClearRedrawOnAnswer() { m_redrawOnAnswer = false; }
  const CCHSDate& ShownFirst() const { return m_shownFirst; }
  int ScrollPos() const { return m_scrollPos; }
  void SetScrollPos(int pos) { m_scrollPos = pos; }

 protected:
  // Header buttons: which one a point hits (-1: none), and what a click on
  // it does.
  virtual int HitHeaderButton(int x, int y) const = 0;
  virtual void PressHeaderButton(int button) = 0;
  // The selected day becomes `day`; every calendar part follows.
  void SelectDay(const CCHSDate& day);

  CCalendarViewCtrl& m_control;
  bool m_redrawOnAnswer = false;
  CCHSDate m_shownFirst;
  int m_scrollPos = 0;
  int m_hotButton = -1;
  bool m_pressed = false;
};

class CalendarViewStateMonth final : public CalendarViewState {
 public:
  explicit CalendarViewStateMonth(CCalendarViewCtrl& control);
  void Draw(Gdiplus::Graphics& g, const RECT& client, const CCHSDate& selected) override;
  void Query(bool force) override;

 private:
  int HitHeaderButton(int x, int y) const override;
  void PressHeaderButton(int button) override;

  Calendar::MonthHeaderLook m_look;
  bool m_lookLoaded = false;
  int m_width = 0;
};

// The week and day states: a header with previous / next, the column titles
// (the week's) and the all-day strip over a 24-hour grid; they differ in the
// period they show and ask for.
class CalendarViewStateTime : public CalendarViewState {
 public:
  CalendarViewStateTime(CCalendarViewCtrl& control, bool week);
  void Draw(Gdiplus::Graphics& g, const RECT& client, const CCHSDate& selected) override;
  void Query(bool force) override;
  void OnLButtonDblClk(UINT keys, int x, int y) override;
  bool IsWeek() const { return m_week; }
  Calendar::TimeHeaderLayout HeaderLayout(int width, const CCHSDate& selected) const;

 private:
  int HitHeaderButton(int x, int y) const override;
  void PressHeaderButton(int button) override;
  void LoadLook();

  bool m_week;
  Calendar::TimeHeaderLook m_look;
  Calendar::TimeViewTexts m_texts;
  CLunarNames m_names;
  bool m_lookLoaded = false;
  int m_width = 0;
};

class CalendarViewStateWeek final : public CalendarViewStateTime {
 public:
  explicit CalendarViewStateWeek(CCalendarViewCtrl& control) : CalendarViewStateTime(control, true) {}
};

class CalendarViewStateDay final : public CalendarViewStateTime {
 public:
  explicit CalendarViewStateDay(CCalendarViewCtrl& control) : CalendarViewStateTime(control, false) {}
};

// The body windows: children of the control below its header.
class CCalendarViewBodyWnd : public wf::CWindowImpl<CCalendarViewBodyWnd>,
                             public wf::CBufferedPaint<CCalendarViewBodyWnd> {
 public:
  DECLARE_WND_CLASS_EX(L"PimCalendarViewBody", CS_DBLCLKS, -1)
  explicit CCalendarViewBodyWnd(CCalendarViewCtrl& control) : m_control(control) {}
  ~CCalendarViewBodyWnd() override = default;

  HWND Create(HWND parent, int top);
  int Top() const { return m_top; }
  // Draws into `dc` (WM_PAINT, WM_PRINTCLIENT and tests).
  virtual void Paint(HDC dc) = 0;
  // Puts the scroll bar (of a body that scrolls) where its state's position is.
  void SyncScrollBar();

  BEGIN_MSG_MAP(CCalendarViewBodyWnd)
    CHAIN_MSG_MAP(wf::CBufferedPaint<CCalendarViewBodyWnd>)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDblClk)
    MESSAGE_HANDLER(WM_VSCROLL, OnVScroll)
    MESSAGE_HANDLER(WM_MOUSEWHEEL, OnMouseWheel)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
  END_MSG_MAP()

 protected:
  virtual void OnClick(POINT) {}
  virtual void OnDoubleClick(POINT) {}
  // The state whose scroll position the body shows (the week's and the
  // day's scroll over the 24-hour grid; the month's does not scroll).
  virtual CalendarViewState* ScrollState() { return nullptr; }
  virtual int ScrollHeight() const { return 0; }

  CCalendarViewCtrl& m_control;
  int m_top = 0;

 private:
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDblClk(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnVScroll(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseWheel(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  void ScrollTo(int pos);
};

class CCalendarMonthViewBodyWnd final : public CCalendarViewBodyWnd {
 public:
  using CCalendarViewBodyWnd::CCalendarViewBodyWnd;
  void Paint(HDC dc) override;
  Calendar::MonthBodyLayout CurrentLayout() const;

 private:
  void OnClick(POINT pt) override;
  void OnDoubleClick(POINT pt) override;
  Calendar::MonthLook m_look;
  bool m_lookLoaded = false;
 public:
  // The language's lunar names, read again when the suite's language changes
  // (the plug-in is restarted then).
  void LoadNames() { LoadLunarNames(m_lunarNames); }

 private:
  CLunarNames m_lunarNames;
};

// The week's and the day's grid: 24 hours of 60 pixels, scrolled.
class CCalendarTimeViewBodyWnd : public CCalendarViewBodyWnd {
 public:
  CCalendarTimeViewBodyWnd(CCalendarViewCtrl& control, bool week) : CCalendarViewBodyWnd(control), m_week(week) {}
  void Paint(HDC dc) override;
  Calendar::TimeBodyLayout CurrentLayout() const;

 private:
  void OnDoubleClick(POINT pt) override;
  CalendarViewState* ScrollState() override;
  int ScrollHeight() const override { return Calendar::kTimeGridHeight; }
  bool m_week;
  Calendar::TimeBodyLook m_look;
  bool m_lookLoaded = false;
};

class CCalendarWeekViewBodyWnd final : public CCalendarTimeViewBodyWnd {
 public:
  explicit CCalendarWeekViewBodyWnd(CCalendarViewCtrl& control) : CCalendarTimeViewBodyWnd(control, true) {}
};
class CCalendarDayViewBodyWnd final : public CCalendarTimeViewBodyWnd {
 public:
  explicit CCalendarDayViewBodyWnd(CCalendarViewCtrl& control) : CCalendarTimeViewBodyWnd(control, false) {}
};

class CCalendarViewCtrl : public wf::CWindowImpl<CCalendarViewCtrl>,
                          public wf::CBufferedPaint<CCalendarViewCtrl>,
                          public CDataProviderCallback,
                          public CDateOberver {
 public:
  DECLARE_WND_CLASS_EX(L"PimCalendarView", CS_DBLCLKS, -1)
  enum Mode { kNone = 0, kMonth = 1, kWeek = 2, kDay = 3 };
  static constexpr int kMonthBodyTop = 60;
  static constexpr int kWeekBodyTop = 102;
  static constexpr int kDayBodyTop = 62;

  // What the control asks of the main window.
  struct Host {
    std::function<void()> showDayView;  // leave the list, show the day view
    // Open the event editor on `event`; null: a new event on `day` at
    // `minute` of the day (-1: the view knows no time, the editor starts now).
    std::function<void(const Calendar::CCalendarData* event, const CCHSDate& day, int minute)> openEditor;
  };

  CCalendarViewCtrl();
  ~CCalendarViewCtrl() override;

  // Makes the window and its bodies (hidden) and registers with
  // CCalendarSupport.
  HWND Create(HWND parent, const RECT& rc, UINT id, Host host);

  void SetViewMode(int mode);
  int ViewMode() const { return m_mode; }
  CalendarViewState* CurrentState() const { return m_state; }
  CalendarViewStateMonth& MonthState() { return *m_month; }
  const std::vector<Calendar::DayModel>& DayModels() const { return m_days; }
  CCalendarMonthViewBodyWnd& MonthBody() { return m_monthBody; }
  CCalendarWeekViewBodyWnd& WeekBody() { return m_weekBody; }
  CCalendarDayViewBodyWnd& DayBody() { return m_dayBody; }
  CalendarViewStateWeek& WeekState() { return *m_week; }
  CalendarViewStateDay& DayState() { return *m_day; }
  const Host& Owner() const { return m_host; }
  // Redraws the header and the shown body.
  void Redraw();
  // Draws the header into `dc`.
  void Paint(HDC dc);

  // CDateOberver
  void OnDateChanged() override;
  void OnShowDay() override;

  bool OnReturnPage(const std::wstring& uri, uint32_t status, const ContentList& records) override;
  bool OnRefreshComplete(const std::wstring& uri, uint32_t status) override;
  bool OnUpdate(const std::wstring& uri, uint32_t status) override;
  bool OnInsert(const std::wstring& uri, uint32_t status, CContent* record) override;
  bool OnDelete(const std::wstring& uri, uint32_t status) override;
  bool OnReturnGroupContent(const std::wstring& uri, uint32_t status, const GroupedContent& groups) override;

  BEGIN_MSG_MAP(CCalendarViewCtrl)
    CHAIN_MSG_MAP(wf::CBufferedPaint<CCalendarViewCtrl>)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouse)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnMouse)
    MESSAGE_HANDLER(WM_RBUTTONDOWN, OnMouse)
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnMouse)
    MESSAGE_HANDLER(WM_RBUTTONDBLCLK, OnMouse)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  END_MSG_MAP()

 private:
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouse(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  void PlaceBodies(int width, int height);
  CCalendarViewBodyWnd* BodyOf(int mode);
  void Unregister();

  int m_mode = kNone;
  CalendarViewState* m_state = nullptr;
  std::unique_ptr<CalendarViewStateMonth> m_month;
  std::unique_ptr<CalendarViewStateWeek> m_week;
  std::unique_ptr<CalendarViewStateDay> m_day;
  std::vector<Calendar::DayModel> m_days;
  CCalendarMonthViewBodyWnd m_monthBody;
  CCalendarWeekViewBodyWnd m_weekBody;
  CCalendarDayViewBodyWnd m_dayBody;
  Host m_host;
  bool m_registered = false;
};
