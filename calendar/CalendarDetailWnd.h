// CCalendarDetailWnd: the event detail popup of the calendar list. It shows
// one event read-only: its topic as the heading, then rows of a label and a
// value (time, place, attendees when there are any, remark), and an edit link
// that hands the event to its owner for the editor.
//
// Made once, hidden, from the resource module's template and owned by the
// top-level window of the window it is made for, like the other popups of the
// plug-in. It never takes the activation or the focus: it is a no-activate
// tool window shown without activation, and a click on it (the edit link
// included) leaves the active window as it is. It hides when the window it was
// made for is hidden, and goes with it.
//
// What it shows is the plain function DetailRows; each row's label and value
// are child statics (IDC_CALDETAIL_LABEL + 2i, IDC_CALDETAIL_VALUE + 2i), so
// readers and tests get the texts with GetWindowText.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "calendar/CalendarData.h"
#include "controls/QsControls.h"
#include "controls/SkinMessages.h"
#include "controls/SkinWindow.h"
#include "frame/resmodule/PimResIds.h"
#include "framework/DialogImpl.h"
#include "framework/Gdi.h"

namespace Calendar {

// One line of the popup: a label and its value.
struct DetailRow {
  std::wstring label;
  std::wstring value;
  bool operator==(const DetailRow&) const = default;
};

// The words of the popup, from the resource library (DetailWordsFromResources)
// or handed in by tests.
struct DetailWords {
  std::wstring time;     // "pim.calendar.time"
  std::wstring address;  // "pim.calendar.address"
  std::wstring people;   // "pim.calendar.people"
  std::wstring remark;   // "pim.calendar.remark"
  // Full weekday names, Sunday first ("calendar.sunday.full" ...).
  std::wstring weekdays[7];
};
DetailWords DetailWordsFromResources();

// The time row's value: "%04d-%02d-%02d(%s) %02d:%02d-%02d:%02d" with the
// start's date and weekday name and the start's and end's hour and minute
// (the caller has already given an all-day event its 23:59 end).
std::wstring DetailTimeText(const CCalendarData& event, const DetailWords& words);
// The rows in order: time, place, attendees (only when there are any, their
// names joined by ";"), remark.
std::vector<DetailRow> DetailRows(const CCalendarData& event, const DetailWords& words);

}  // namespace Calendar

class CCalendarDetailWnd : public wf::CDialogImpl<CCalendarDetailWnd>,
                           public CQsSkinWindowUI<CCalendarDetailWnd, 0> {
 public:
  enum { IDD = IDD_CALENDAR_DETAIL };
  using SkinBase = CQsSkinWindowUI<CCalendarDetailWnd, 0>;
  // Told the event shown when the user asks to edit it; the popup has hidden
  // itself by then.
  using EditHandler = std::function<void(const Calendar::CCalendarData&)>;

  static constexpr int kWidth = 320;
  static constexpr int kHeight = 240;
  static constexpr int kCornerRadius = 12;
  static constexpr int kMaxRows = 4;

  CCalendarDetailWnd() = default;
  ~CCalendarDetailWnd() override;

  // Creates the popup hidden for `owner` (the window it belongs to; its
  // top-level window owns the popup). False when the template is missing.
  bool Create(HWND owner, EditHandler onEdit = {});
  void SetEditHandler(EditHandler onEdit) { m_onEdit = std::move(onEdit); }

  // Fills the popup with `event` and shows it at `screenRect` (its size is
  // the popup's; it is normally kWidth x kHeight), without activating it.
  void Show(const Calendar::CCalendarData& event, const RECT& screenRect);
  void Hide();
  bool IsShown() const;

  const Calendar::CCalendarData& Event() const { return m_event; }
  const std::vector<Calendar::DetailRow>& Rows() const { return m_rows; }

  BEGIN_MSG_MAP(CCalendarDetailWnd)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_MOUSEACTIVATE, OnMouseActivate)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    // The surface carries the label bands: painted here, not by the skin base.
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_QS_PAINTBACKGROUND, OnPaintChildBackground)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    COMMAND_HANDLER(IDC_CALDETAIL_EDIT, STN_CLICKED, OnEdit)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    CHAIN_MSG_MAP(SkinBase)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseActivate(UINT, WPARAM, LPARAM, BOOL&) { return MA_NOACTIVATE; }
  LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPrintClient(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPaintChildBackground(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEdit(WORD, WORD, HWND, BOOL&);
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&);

  void BindControls();
  // Places the heading, the link and the rows for the rows held, and fills
  // the statics; unused row statics are hidden.
  void LayOut();
  // The background image and a band under each label.
  void PaintSurface(HDC dc, const RECT& client);
  // The height of `text` wrapped at `width` in the values' font, at most
  // two lines.
  int TextHeight(const std::wstring& text, int width);

  void WatchOwner();
  void StopWatchingOwner();
  static LRESULT CALLBACK OwnerWatch(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  HWND m_owner = nullptr;
  bool m_watching = false;
  EditHandler m_onEdit;
  Calendar::DetailWords m_words;
  Calendar::CCalendarData m_event;
  std::vector<Calendar::DetailRow> m_rows;
  std::vector<RECT> m_bands;  // client coordinates, one per row shown

  CQsStatic m_title, m_edit;
  CQsStatic m_labels[kMaxRows], m_values[kMaxRows];
  Gdiplus::Image* m_band = nullptr;  // the resource library's
};
