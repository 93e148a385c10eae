// The event editor: the modal dialog in which a calendar event is created or
// edited, and which saves it to the handset through CCalendarSupport.
//
// A skinned dialog of the resource module, 380 x 420 pixels with rounded
// corners, dragged by its body. The form's rules (defaults, loading, saving,
// start before end) are EventEditorRules; the dialog moves values between
// them and its controls. Save closes the dialog only when the handset took
// the request; otherwise everything stays as typed.
#pragma once
#include <windows.h>

#include <array>
#include <list>
#include <string>

#include "calendar/CalendarData.h"
#include "calendar/EventEditorRules.h"
#include "controls/QsButton.h"
#include "controls/QsControls.h"
#include "controls/SkinWindow.h"
#include "frame/resmodule/PimResIds.h"
#include "frame/suite/SharedDialogs.h"
#include "framework/DialogImpl.h"

// Opens the editor for a new event over `owner` (the active window): `start`
// is the local time now, or the place of a view that was double-clicked
// (`fromView`; minute 61 asks for an all-day event). 1 when saved, 0 when
// closed without saving, -1 when the dialog cannot be made.
int RunEventEditor(HWND owner, const SYSTEMTIME& start, bool fromView);
// Opens the editor on a copy of `event`; saving updates it on the handset.
int RunEventEditor(HWND owner, const Calendar::CCalendarData& event);

class CCalendarNewDlg : public wf::CDialogImpl<CCalendarNewDlg>, public CQsSkinWindowUI<CCalendarNewDlg, 0> {
 public:
  enum { IDD = IDD_CALENDAR_NEW };
  enum class Mode { kNew, kEdit };
  using SkinBase = CQsSkinWindowUI<CCalendarNewDlg, 0>;
  static constexpr int kWidth = 380;
  static constexpr int kHeight = 420;

  // New mode, starting at `start` (see RunEventEditor).
  CCalendarNewDlg(const SYSTEMTIME& start, bool fromView);
  // Edit mode, on a copy of `event`.
  explicit CCalendarNewDlg(const Calendar::CCalendarData& event);

  // Runs the dialog modally over `owner`: 1 when the save was taken by the
  // handset (Event() holds what was sent), 0 on cancel or close, -1 when the
  // dialog cannot be made.
  int Run(HWND owner);
  Mode GetMode() const { return m_mode; }
  const Calendar::CCalendarData& Event() const { return m_event; }

  BEGIN_MSG_MAP(CCalendarNewDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    COMMAND_ID_HANDLER(IDOK, OnSave)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    COMMAND_ID_HANDLER(IDC_CALNEW_CLOSE, OnCancel)
    COMMAND_HANDLER(IDC_CALNEW_ALLDAY, BN_CLICKED, OnAllDay)
    COMMAND_HANDLER(IDC_CALNEW_PEOPLE_PICK, BN_CLICKED, OnPickPeople)
    COMMAND_HANDLER(IDC_CALNEW_START_TIME, CBN_SELCHANGE, OnTimeChosen)
    COMMAND_HANDLER(IDC_CALNEW_END_TIME, CBN_SELCHANGE, OnTimeChosen)
    COMMAND_HANDLER(IDC_CALNEW_START_TIME, CBN_KILLFOCUS, OnTimeLeft)
    COMMAND_HANDLER(IDC_CALNEW_END_TIME, CBN_KILLFOCUS, OnTimeLeft)
    NOTIFY_HANDLER(IDC_CALNEW_START_DATE, DTN_DATETIMECHANGE, OnDateChanged)
    NOTIFY_HANDLER(IDC_CALNEW_END_DATE, DTN_DATETIMECHANGE, OnDateChanged)
    CHAIN_MSG_MAP(SkinBase)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSave(WORD, WORD, HWND, BOOL&);
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
  LRESULT OnAllDay(WORD, WORD, HWND, BOOL&);
  LRESULT OnPickPeople(WORD, WORD, HWND, BOOL&);
  LRESULT OnTimeChosen(WORD, WORD id, HWND, BOOL&);
  // A typed time counts once the user leaves the list: a half-typed one
  // ("1", "10:") is not a time yet, and "8:1" on the way to "8:15" is not
  // the time meant.
  LRESULT OnTimeLeft(WORD, WORD id, HWND, BOOL&);
  LRESULT OnDateChanged(int id, LPNMHDR header, BOOL&);

  void BindControls();
  void FillLists();
  void ShowForm(const Calendar::EditorForm& form);
  // The controls as a form; a text that cannot be read keeps the form's
  // value as opened (after the memory box).
  Calendar::EditorForm ReadForm();
  bool ReadText(int id, std::wstring& text);
  bool IsAllDayTicked() const;
  Calendar::EditorDate ReadDate(int id) const;
  void WriteDate(int id, const Calendar::EditorDate& date);
  // Selects the time list's entry for `text`, or shows `text` typed.
  void WriteTime(int id, const std::wstring& text);
  // Corrects start or end after a change of `changed` when the end comes
  // before the start. `id`/`text` give a time list's new text while the
  // list still shows the old one.
  void KeepOrder(Calendar::ChangedControl changed, int id = 0, const std::wstring& text = {});
  void KeepOrderAfterTyping(int id);
  // A time that does not read: back to the list, its text selected.
  void RefuseTime(int id);

  Mode m_mode;
  SYSTEMTIME m_start{};
  bool m_fromView = false;
  Calendar::CCalendarData m_event;
  Calendar::EditorForm m_opened;               // the form as the dialog opened
  std::list<JorvContactEntry> m_people;        // the attendees as picker entries
  bool m_writing = false;                      // the dialog itself is changing a date or time

  std::array<CQsStatic, 9> m_labels;  // the title, then the label of each row
  CQsButton m_close, m_pick;
  CQsCheckBox m_allDay;
  CQsDateTimePickerCtrl m_startDate, m_endDate;
};
