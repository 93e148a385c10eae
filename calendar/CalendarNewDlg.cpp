#include "calendar/CalendarNewDlg.h"

#include <commctrl.h>

#include <new>

#include "calendar/CalendarSupport.h"
#include "controls/ResText.h"
#include "controls/SkinPaint.h"
#include "frame/suite/BaseLibrary.h"
#include "framework/ActivationContext.h"
#include "framework/Clock.h"
#include "framework/Module.h"

using namespace Calendar;

namespace {

constexpr int kCornerRadius = 12;
constexpr int kTimeTextLimit = 5;  // "hh:mm"

// The labels, in the form's order, after the title.
struct Label {
  int id;
  const wchar_t* key;
};
constexpr Label kRowLabels[] = {
    {IDC_CALNEW_TOPIC_LABEL, L"pim.calendar.topic"},       {IDC_CALNEW_START_LABEL, L"pim.calendar.start"},
    {IDC_CALNEW_END_LABEL, L"pim.calendar.end"},           {IDC_CALNEW_ADDRESS_LABEL, L"pim.calendar.address"},
    {IDC_CALNEW_PEOPLE_LABEL, L"pim.calendar.people"},     {IDC_CALNEW_REPEAT_LABEL, L"pim.calendar.repeat"},
    {IDC_CALNEW_REMINDER_LABEL, L"pim.calendar.reminder"}, {IDC_CALNEW_REMARK_LABEL, L"pim.calendar.remark"},
};

SYSTEMTIME DayTime(const EditorDate& date) {
  SYSTEMTIME day{};
  day.wYear = static_cast<WORD>(date.year);
  day.wMonth = static_cast<WORD>(date.month);
  day.wDay = static_cast<WORD>(date.day);
  return day;
}

bool IsStart(int id) { return id == IDC_CALNEW_START_DATE || id == IDC_CALNEW_START_TIME; }

}  // namespace

int RunEventEditor(HWND owner, const SYSTEMTIME& start, bool fromView) {
  CCalendarNewDlg dialog(start, fromView);
  return dialog.Run(owner);
}

int RunEventEditor(HWND owner, const CCalendarData& event) {
  CCalendarNewDlg dialog(event);
  return dialog.Run(owner);
}

CCalendarNewDlg::CCalendarNewDlg(const SYSTEMTIME& start, bool fromView)
    : m_mode(Mode::kNew), m_start(start), m_fromView(fromView) {}

CCalendarNewDlg::CCalendarNewDlg(const CCalendarData& event) : m_mode(Mode::kEdit), m_event(event) {}

int CCalendarNewDlg::Run(HWND owner) {
  HINSTANCE resources = wf::GetResourceInstance();
  // Common controls 6 for the dialog's controls, as for the main window; the
  // date pickers' class is registered here in case the host did not ask.
  wf::ScopedActivationContext manifest(resources, 2);
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&classes);
  const INT_PTR result = DoModal(owner, 0, resources);
  if (result == -1) {
    LOG::E(PIM_ERROR_LOG, "CCalendarNewDlg: dialog template %d is missing or damaged", IDD_CALENDAR_NEW);
    return -1;
  }
  return result == 1 ? 1 : 0;
}

// ---------------------------------------------------------------------------
// Opening

void CCalendarNewDlg::BindControls() {
  m_labels[0].SubclassDlgItem(IDC_CALNEW_TITLE, m_hWnd);
  m_labels[0].SetStateFontFromKey(qs::kFallbackState, L"tamix_font_gdiplustwo");
  m_labels[0].SetStateColorFromKey(qs::kFallbackState, L"tamix_color_one");
  for (size_t i = 0; i < std::size(kRowLabels); ++i) {
    CQsStatic& label = m_labels[i + 1];
    label.SubclassDlgItem(kRowLabels[i].id, m_hWnd);
    label.SetStateFontFromKey(qs::kFallbackState, L"tamix_font_gditwo");
    label.SetStateColorFromKey(qs::kFallbackState, L"tamix_color_one");
  }
  if (m_allDay.SubclassDlgItem(IDC_CALNEW_ALLDAY, m_hWnd)) {
    m_allDay.SetStateFontFromKey(qs::kFallbackState, L"tamix_font_gditwo");
    m_allDay.SetStateColorFromKey(qs::kFallbackState, L"tamix_color_one");
  }
  if (m_pick.SubclassDlgItem(IDC_CALNEW_PEOPLE_PICK, m_hWnd)) {
    m_pick.SetStateImageFromKey(qs::kButtonNormal, L"Jorvhelper_newcontact_btn_normal.png");
    m_pick.SetStateImageFromKey(qs::kButtonFocused, L"Jorvhelper_newcontact_btn_nmousein.png");
    m_pick.SetStateImageFromKey(qs::kButtonHover, L"Jorvhelper_newcontact_btn_nmousein.png");
    m_pick.SetStateImageFromKey(qs::kButtonPressed, L"Jorvhelper_newcontact_btn_down.png");
    m_pick.SetStateFontFromKey(qs::kButtonNormal, L"tamix_font_gditwo");
    m_pick.SetStateColorFromKey(qs::kButtonNormal, L"tamix_color_one");
  }
  m_startDate.SubclassDlgItem(IDC_CALNEW_START_DATE, m_hWnd);
  m_endDate.SubclassDlgItem(IDC_CALNEW_END_DATE, m_hWnd);
  if (m_close.SubclassDlgItem(IDC_CALNEW_CLOSE, m_hWnd)) m_close.UseCloseBox();
}

void CCalendarNewDlg::FillLists() {
  for (int id : {IDC_CALNEW_START_TIME, IDC_CALNEW_END_TIME}) {
    for (int i = 0; i < kTimeEntryCount; ++i)
      ::SendDlgItemMessageW(m_hWnd, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(TimeEntryText(i).c_str()));
    ::SendDlgItemMessageW(m_hWnd, id, CB_LIMITTEXT, kTimeTextLimit, 0);
  }
  for (const wchar_t* key : kRepeatOptionKeys)
    ::SendDlgItemMessageW(m_hWnd, IDC_CALNEW_REPEAT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(qs::ResText(key).c_str()));
  for (const wchar_t* key : kReminderOptionKeys)
    ::SendDlgItemMessageW(m_hWnd, IDC_CALNEW_REMINDER, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(qs::ResText(key).c_str()));
  // Dates beyond the calendar's range cannot be chosen or typed.
  SYSTEMTIME range[2] = {DayTime(kFirstEditorDate), DayTime(kLastEditorDate)};
  for (int id : {IDC_CALNEW_START_DATE, IDC_CALNEW_END_DATE}) {
    ::SendDlgItemMessageW(m_hWnd, id, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
    ::SendDlgItemMessageW(m_hWnd, id, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"yyyy-M-d"));
  }
  ::SendDlgItemMessageW(m_hWnd, IDC_CALNEW_TOPIC, EM_LIMITTEXT, kTopicLimit, 0);
  ::SendDlgItemMessageW(m_hWnd, IDC_CALNEW_ADDRESS, EM_LIMITTEXT, kAddressLimit, 0);
  ::SendDlgItemMessageW(m_hWnd, IDC_CALNEW_REMARK, EM_LIMITTEXT, kRemarkLimit, 0);
}

void CCalendarNewDlg::ShowForm(const EditorForm& form) {
  m_writing = true;
  ::SetDlgItemTextW(m_hWnd, IDC_CALNEW_TOPIC, form.topic.c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_CALNEW_ADDRESS, form.address.c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_CALNEW_REMARK, form.remark.c_str());
  WriteDate(IDC_CALNEW_START_DATE, form.startDate);
  WriteDate(IDC_CALNEW_END_DATE, form.endDate);
  WriteTime(IDC_CALNEW_START_TIME, form.startTime);
  WriteTime(IDC_CALNEW_END_TIME, form.endTime);
  ::CheckDlgButton(m_hWnd, IDC_CALNEW_ALLDAY, form.allDay ? BST_CHECKED : BST_UNCHECKED);
  for (int id : {IDC_CALNEW_START_TIME, IDC_CALNEW_END_TIME}) ::EnableWindow(::GetDlgItem(m_hWnd, id), !form.allDay);
  ::SetDlgItemTextW(m_hWnd, IDC_CALNEW_PEOPLE, PeopleText(m_people).c_str());
  ::SendDlgItemMessageW(m_hWnd, IDC_CALNEW_REPEAT, CB_SETCURSEL, form.repeatRow, 0);
  HWND reminder = ::GetDlgItem(m_hWnd, IDC_CALNEW_REMINDER);
  if (form.reminder.index >= 0) {
    ::SendMessageW(reminder, CB_SETCURSEL, form.reminder.index, 0);
  } else {
    // Minutes without a row of their own get one, after the fifteen.
    LRESULT row = ::SendMessageW(reminder, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(form.reminder.customText.c_str()));
    ::SendMessageW(reminder, CB_SETCURSEL, row, 0);
  }
  m_writing = false;
}

LRESULT CCalendarNewDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  SetBackgroundImage(L"common_jorvhelper_background.png");
  BindControls();
  InitSkin();
  const std::wstring title =
      qs::ResText(m_mode == Mode::kEdit ? L"pim.calendar.editcalendar" : L"pim.calendar.newcalendar");
  SetWindowText(title.c_str());  // the main window finds the dialog by it when the phone goes
  ::SetDlgItemTextW(m_hWnd, IDC_CALNEW_TITLE, title.c_str());
  for (const Label& label : kRowLabels) ::SetDlgItemTextW(m_hWnd, label.id, qs::ResText(label.key).c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_CALNEW_ALLDAY, qs::ResText(L"pim.calendar.allday").c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_CALNEW_PEOPLE_PICK, qs::ResText(L"jorvhelper.newcontact.add").c_str());
  ::SetDlgItemTextW(m_hWnd, IDOK, qs::ResText(L"common.save").c_str());
  ::SetDlgItemTextW(m_hWnd, IDCANCEL, qs::ResText(L"common.button.cancel").c_str());
  FillLists();

  if (m_mode == Mode::kEdit) {
    const SYSTEMTIME now = wf::LocalTime();
    m_opened = EditEventForm(m_event, {now.wYear, now.wMonth, now.wDay});
    m_people = EntriesOfAttendees(m_event.m_attendees);
  } else {
    m_opened = NewEventForm(m_start, m_fromView);
  }
  ShowForm(m_opened);

  // A fixed size, dragged by its body: the menu offers neither.
  SetWindowPos(nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (HMENU system = ::GetSystemMenu(m_hWnd, FALSE)) {
    ::DeleteMenu(system, SC_SIZE, MF_BYCOMMAND);
    ::DeleteMenu(system, SC_MOVE, MF_BYCOMMAND);
  }
  skin::ApplyRoundedOutline(m_hWnd, kCornerRadius);
  HWND topic = ::GetDlgItem(m_hWnd, IDC_CALNEW_TOPIC);
  ::SetFocus(topic);
  ::SendMessageW(topic, EM_SETSEL, 0, -1);
  return FALSE;  // the focus is set
}

LRESULT CCalendarNewDlg::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  skin::ApplyRoundedOutline(m_hWnd, kCornerRadius);
  bHandled = FALSE;
  return 0;
}

LRESULT CCalendarNewDlg::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
  ::ReleaseCapture();
  ::SendMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  return 0;
}

// ---------------------------------------------------------------------------
// Controls

bool CCalendarNewDlg::IsAllDayTicked() const { return ::IsDlgButtonChecked(m_hWnd, IDC_CALNEW_ALLDAY) == BST_CHECKED; }

EditorDate CCalendarNewDlg::ReadDate(int id) const {
  SYSTEMTIME day{};
  if (::SendDlgItemMessageW(m_hWnd, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&day)) != GDT_VALID)
    return IsStart(id) ? m_opened.startDate : m_opened.endDate;
  return {day.wYear, day.wMonth, day.wDay};
}

void CCalendarNewDlg::WriteDate(int id, const EditorDate& date) {
  SYSTEMTIME day = DayTime(date);
  ::SendDlgItemMessageW(m_hWnd, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&day));
}

void CCalendarNewDlg::WriteTime(int id, const std::wstring& text) {
  HWND list = ::GetDlgItem(m_hWnd, id);
  const int entry = TimeEntryIndex(text);
  ::SendMessageW(list, CB_SETCURSEL, entry, 0);
  if (entry < 0) ::SetWindowTextW(list, text.c_str());
}

bool CCalendarNewDlg::ReadText(int id, std::wstring& text) {
  HWND control = ::GetDlgItem(m_hWnd, id);
  try {
    const int length = ::GetWindowTextLengthW(control);
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    buffer.resize(static_cast<size_t>(::GetWindowTextW(control, buffer.data(), length + 1)));
    text = std::move(buffer);
    return true;
  } catch (const std::bad_alloc&) {
    JorvMessageBox(m_hWnd, L"Exception while allocating memory!", L"error", JORV_MB_NOTICE, 0, 0);
    return false;
  }
}

EditorForm CCalendarNewDlg::ReadForm() {
  EditorForm form = m_opened;
  ReadText(IDC_CALNEW_TOPIC, form.topic);
  ReadText(IDC_CALNEW_ADDRESS, form.address);
  ReadText(IDC_CALNEW_REMARK, form.remark);
  ReadText(IDC_CALNEW_START_TIME, form.startTime);
  ReadText(IDC_CALNEW_END_TIME, form.endTime);
  form.allDay = IsAllDayTicked();
  form.startDate = ReadDate(IDC_CALNEW_START_DATE);
  form.endDate = ReadDate(IDC_CALNEW_END_DATE);
  form.repeatRow = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_CALNEW_REPEAT, CB_GETCURSEL, 0, 0));
  const int reminder = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_CALNEW_REMINDER, CB_GETCURSEL, 0, 0));
  // The row of other minutes (after the fifteen) keeps what is stored.
  form.reminder.index = reminder >= 0 && reminder < kReminderOptionCount ? reminder : -1;
  return form;
}

// ---------------------------------------------------------------------------
// Start before end

void CCalendarNewDlg::KeepOrder(ChangedControl changed, int id, const std::wstring& text) {
  if (m_writing) return;
  const bool allDay = IsAllDayTicked();
  // An all-day event is compared as it is saved, from 00:00 to 23:59.
  EditorMoment start{ReadDate(IDC_CALNEW_START_DATE), {0, 0}}, end{ReadDate(IDC_CALNEW_END_DATE), {23, 59}};
  if (!allDay) {
    std::wstring startText, endText;
    if (!ReadText(IDC_CALNEW_START_TIME, startText) || !ReadText(IDC_CALNEW_END_TIME, endText)) return;
    if (id == IDC_CALNEW_START_TIME) startText = text;
    if (id == IDC_CALNEW_END_TIME) endText = text;
    auto startTime = ParseClockText(startText), endTime = ParseClockText(endText);
    if (!startTime || !endTime) return;  // half typed: nothing to compare yet
    start.time = *startTime;
    end.time = *endTime;
  }
  const EditorMoment startBefore = start, endBefore = end;
  if (!KeepEndAfterStart(changed, start, end)) return;
  m_writing = true;
  if (start.date != startBefore.date) WriteDate(IDC_CALNEW_START_DATE, start.date);
  if (end.date != endBefore.date) WriteDate(IDC_CALNEW_END_DATE, end.date);
  if (!allDay && start.time != startBefore.time) WriteTime(IDC_CALNEW_START_TIME, ClockText(start.time));
  if (!allDay && end.time != endBefore.time) WriteTime(IDC_CALNEW_END_TIME, ClockText(end.time));
  m_writing = false;
}

LRESULT CCalendarNewDlg::OnDateChanged(int id, LPNMHDR, BOOL&) {
  KeepOrder(IsStart(id) ? ChangedControl::kStartDate : ChangedControl::kEndDate);
  return 0;
}

LRESULT CCalendarNewDlg::OnTimeChosen(WORD, WORD id, HWND list, BOOL&) {
  // The list's text follows the choice only after this notification.
  const LRESULT entry = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
  if (entry < 0 || entry >= kTimeEntryCount) return 0;
  KeepOrder(IsStart(id) ? ChangedControl::kStartTime : ChangedControl::kEndTime, id,
            TimeEntryText(static_cast<int>(entry)));
  return 0;
}

void CCalendarNewDlg::KeepOrderAfterTyping(int id) {
  std::wstring text;
  if (ReadText(id, text))
    KeepOrder(IsStart(id) ? ChangedControl::kStartTime : ChangedControl::kEndTime, id, text);
}

LRESULT CCalendarNewDlg::OnTimeLeft(WORD, WORD id, HWND, BOOL&) {
  KeepOrderAfterTyping(id);
  return 0;
}

LRESULT CCalendarNewDlg::OnAllDay(WORD, WORD, HWND, BOOL&) {
  const bool allDay = IsAllDayTicked();
  for (int id : {IDC_CALNEW_START_TIME, IDC_CALNEW_END_TIME}) ::EnableWindow(::GetDlgItem(m_hWnd, id), !allDay);
  // Back to hours: the times may have been left behind while the dates moved.
  if (!allDay) KeepOrder(ChangedControl::kStartTime);
  return 0;
}

// ---------------------------------------------------------------------------
// People, save and cancel

LRESULT CCalendarNewDlg::OnPickPeople(WORD, WORD, HWND, BOOL&) {
  // The picker works on a copy: a cancelled pick leaves the people as they were.
  std::list<JorvContactEntry> entries = m_people;
  if (JorvSelectContact(entries, m_hWnd) == 0) return 0;
  m_people = std::move(entries);
  ::SetDlgItemTextW(m_hWnd, IDC_CALNEW_PEOPLE, PeopleText(m_people).c_str());
  return 0;
}

void CCalendarNewDlg::RefuseTime(int id) {
  HWND list = ::GetDlgItem(m_hWnd, id);
  ::MessageBeep(MB_ICONEXCLAMATION);
  ::SetFocus(list);
  ::SendMessageW(list, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

LRESULT CCalendarNewDlg::OnSave(WORD, WORD, HWND, BOOL&) {
  // Enter saves without leaving the time being typed: it counts as left.
  HWND focus = ::GetFocus();
  for (int id : {IDC_CALNEW_START_TIME, IDC_CALNEW_END_TIME}) {
    HWND list = ::GetDlgItem(m_hWnd, id);
    if (focus && (focus == list || ::IsChild(list, focus))) KeepOrderAfterTyping(id);
  }
  CCalendarSupport& support = CCalendarSupport::GetInstance();
  CCalendarData event = m_event;
  switch (SaveForm(ReadForm(), m_people, support.Descriptor().m_text, event)) {
    case FormProblem::kStartTime:
      RefuseTime(IDC_CALNEW_START_TIME);
      return 0;
    case FormProblem::kEndTime:
      RefuseTime(IDC_CALNEW_END_TIME);
      return 0;
    case FormProblem::kNone:
      break;
  }
  const bool taken = m_mode == Mode::kNew ? support.Insert(event) : support.Update(event);
  if (!taken) {
    // Everything stays as typed for another try.
    LOG::E(PIM_ERROR_LOG, "CCalendarNewDlg: the handset did not take the event; the editor stays open");
    return 0;
  }
  m_event = std::move(event);
  EndDialog(1);
  return 0;
}

LRESULT CCalendarNewDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
  EndDialog(0);
  return 0;
}
