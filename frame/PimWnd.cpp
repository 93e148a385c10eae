#include "frame/PimWnd.h"

#include <iterator>

#include "calendar/CalendarNewDlg.h"
#include "frame/PimLayout.h"
#include "frame/suite/BaseLibrary.h"
#include "frame/suite/ConnectLibrary.h"
#include "frame/suite/SharedDialogs.h"
#include "frame/suite/ResourceLibrary.h"
#include "controls/ResText.h"
#include "framework/ActivationContext.h"
#include "framework/Clock.h"
#include "framework/Module.h"
#include "framework/PopupMenu.h"

namespace {

constexpr const wchar_t* kMenuImageNames[kMenuImageCount] = {
    L"pim_mainmenu_normal.png", L"pim_mainmenu_over.png", L"pim_mainmenu_down.png",
    L"pim_mainmenu_down.png",  // the pressed image serves twice
    L"pim_mainmenu_disabled.png"};

// The toolbar buttons: their text, their picture (four 94 x 31 frames:
// normal, hover, pressed, disabled, with a glyph at the left) and module.
struct ToolButton {
  int id;
  int module;
  const wchar_t* textKey;
  const wchar_t* image;
};
constexpr ToolButton kToolButtons[] = {
    {IDC_CONTACT_NEW, CPimWnd::kContacts, L"common.new", L"pim_button_add.png"},
    {IDC_CONTACT_DELETESOME, CPimWnd::kContacts, L"common.deletesome", L"pim_button_delete_normal.png"},
    {IDC_CONTACT_REFRESH, CPimWnd::kContacts, L"common.refresh", L"pim_button_refresh.png"},
    {IDC_CONTACT_IMPORT, CPimWnd::kContacts, L"common.import", L"pim_button_import_normal.png"},
    {IDC_CONTACT_EXPORT, CPimWnd::kContacts, L"common.export", L"pim_button_import_normal.png"},
    {IDC_SMS_NEW, CPimWnd::kMessages, L"common.new", L"pim_button_add.png"},
    {IDC_SMS_DELETESOME, CPimWnd::kMessages, L"common.deletesome", L"pim_button_delete_normal.png"},
    {IDC_SMS_REFRESH, CPimWnd::kMessages, L"common.refresh", L"pim_button_refresh.png"},
    {IDC_SMS_IMPORT, CPimWnd::kMessages, L"common.import", L"pim_button_import_normal.png"},
    {IDC_SMS_EXPORT, CPimWnd::kMessages, L"common.export", L"pim_button_import_normal.png"},
    {IDC_CALENDAR_NEW, CPimWnd::kCalendar, L"common.new", L"pim_button_add.png"},
    {IDC_CALENDAR_DELETESOME, CPimWnd::kCalendar, L"common.deletesome", L"pim_button_delete_normal.png"},
    {IDC_CALENDAR_REFRESH, CPimWnd::kCalendar, L"common.refresh", L"pim_button_refresh.png"},
};

// Picture buttons: an unselected and a selected picture; the text is kept
// for readers of the window only.
struct PictureButton {
  int id;
  int module;
  const wchar_t* textKey;
  const wchar_t* unselected;
  const wchar_t* selected;
};
constexpr PictureButton kPictureButtons[] = {
    {IDC_CALENDAR_VIEW_LIST, CPimWnd::kCalendar, L"calendar.view.type.list", L"pim_calendar_list_unsel.png",
     L"pim_calendar_list_sel.png"},
    {IDC_CALENDAR_VIEW_DAY, CPimWnd::kCalendar, L"calendar.view.type.day", L"pim_calendar_day_unsel.png",
     L"pim_calendar_day_sel.png"},
    {IDC_CALENDAR_VIEW_WEEK, CPimWnd::kCalendar, L"calendar.view.type.week", L"pim_calendar_week_unsel.png",
     L"pim_calendar_week_sel.png"},
    {IDC_CALENDAR_VIEW_MONTH, CPimWnd::kCalendar, L"calendar.view.type.month", L"pim_calendar_month_unsel.png",
     L"pim_calendar_month_sel.png"},
    {IDC_SMS_MODE_LIST, CPimWnd::kMessages, nullptr, L"pic_mode_list.png", L"pic_mode_list_select.png"},
    {IDC_SMS_MODE_CHAT, CPimWnd::kMessages, nullptr, L"pic_mode_chat.png", L"pic_mode_chat_select.png"},
};

using qs::ResText;

// Commands of the calendar's context menu and of the import/export menus.
enum PimCommand : UINT {
  kCmdNewEvent = 0xa02f,
  kCmdEditEvent = 0xa030,
  kCmdDeleteEvents = 0xa031,
  kCmdToday = 0xa032,
  kCmdRefreshCalendar = 0xa033,
  kCmdSelectAllEvents = 0xa034,
  kCmdContactMenuFirst = 0xa05c,  // the contact menus: 41052 ...
  kCmdContactXml = 0xa060,
  kCmdContactExcel = 0xa061,
  kCmdContactVcard = 0xa062,
  kCmdContactMenuLast = 0xa25b,   // ... up to the last add-to-group command
  kCmdMessageXml = 0xa361,
  kCmdMessageExcel = 0xa362,
  kCmdFolderMenuFirst = 0xa35c,   // the message folder menu: 41820 ...,
  kCmdFolderMenuLast = 0xa362,    // and the import and export formats
  kCmdMessageMenuFirst = 0xa45c,  // the message menus and their copy and
  kCmdMessageMenuLast = 0xa75a,   // move submenus: 42076 ... 42842
};

// More folders than this and no new one is made.
constexpr int kMaxFolderItems = 100;

// The longest search text handed to a module.
constexpr int kMaxSearchText = 512;

void ShowControl(HWND dialog, int id, bool show) {
  if (HWND control = ::GetDlgItem(dialog, id)) ::ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

}  // namespace

CPimWnd::CPimWnd() : CAppWindowBase<CPimWnd>(L"view://CPimWnd", L"", L"", 0, false) {
  std::wstring name;
  GetString(L"pim.app.name", name);
  m_name = name;
  m_title = name;
  m_viewUri = L"view://CPimWnd";
  m_param = 0;
  for (auto& image : m_menuImages) image = nullptr;
  m_hostInfo = AppHostInfo{};
  m_pHost = nullptr;
  m_flag = false;
}

CPimWnd::~CPimWnd() {
  if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

HWND CPimWnd::Create(HWND parent) {
  HINSTANCE resources = wf::GetResourceInstance();
  wf::ScopedActivationContext manifest(resources, 2);
  return wf::CDialogImpl<CPimWnd>::Create(parent, 0, resources);
}

void CPimWnd::DefineLayout() { DefinePimLayout(*this); }

void CPimWnd::LoadMenuImages() {
  for (int i = 0; i < kMenuImageCount; ++i) {
    Gdiplus::Image* image = nullptr;
    GetImage(kMenuImageNames[i], image);
    m_menuImages[i] = image;
  }
}

void CPimWnd::SkinControls() {
  for (const ToolButton& tool : kToolButtons) {
    CQsButton& button = m_buttons[tool.id];
    button.SubclassDlgItem(tool.id, m_hWnd);
    button.SetWindowText(ResText(tool.textKey));
    button.SetStateImageFromKey(qs::kButtonNormal, tool.image, 0, 0, 94, 31);
    button.SetStateImageFromKey(qs::kButtonHover, tool.image, 94, 0, 94, 31);
    button.SetStateImageFromKey(qs::kButtonFocused, tool.image, 94, 0, 94, 31);
    button.SetStateImageFromKey(qs::kButtonPressed, tool.image, 188, 0, 94, 31);
    button.SetStateImageFromKey(qs::kButtonDisabled, tool.image, 282, 0, 94, 31);
    button.SetTextInset(25);  // the glyph of the toolbar images ends there
    for (int state = qs::kButtonNormal; state <= qs::kButtonDisabled; ++state) {
      button.SetStateFontFromKey(state, L"tamix_font_gdione");
      button.SetStateColorFromKey(state, L"tamix_color_one");
    }
  }
  for (const PictureButton& picture : kPictureButtons) {
    CQsButton& button = m_buttons[picture.id];
    button.SubclassDlgItem(picture.id, m_hWnd);
    if (picture.textKey) button.SetWindowText(ResText(picture.textKey));
    button.SetTextVisible(false);
    button.SetStateImageFromKey(qs::kButtonNormal, picture.unselected);
    button.SetStateImageFromKey(qs::kButtonHover, picture.selected);
    button.SetStateImageFromKey(qs::kButtonPressed, picture.selected);
  }
  // The list view and the list mode start selected.
  for (int id : {IDC_CALENDAR_VIEW_LIST, IDC_SMS_MODE_LIST})
    for (const PictureButton& picture : kPictureButtons)
      if (picture.id == id) m_buttons[id].SetStateImageFromKey(qs::kButtonNormal, picture.selected);
  // Multi-delete OK and Cancel: the shared button skin, hidden until needed.
  for (auto [id, key] : {std::pair{IDC_MULTIDELETE_OK, L"common.button.ok"}, std::pair{IDC_MULTIDELETE_CANCEL, L"common.button.cancel"}}) {
    CQsButton& button = m_buttons[id];
    button.SubclassDlgItem(id, m_hWnd);
    button.SetWindowText(ResText(key));
    button.ShowWindow(SW_HIDE);
  }

  m_tab.SetStateImageFromKey(qs::kTabSelected, L"pim_tab.png", 0, 0, 62, 36);
  m_tab.SetStateImageFromKey(qs::kTabOther, L"pim_tab.png", 62, 0, 62, 36);
  m_tab.SetStateFontFromKey(qs::kTabSelected, L"tamix_font_gditwo");
  m_tab.SetStateFontFromKey(qs::kTabOther, L"tamix_font_gditwo");
  m_tab.SetStateColorFromKey(qs::kTabSelected, L"tamix_color_one");
  m_tab.SetStateColorFromKey(qs::kTabOther, L"tamix_color_one");
  for (const wchar_t* key : {L"common.contact", L"common.sms", L"common.calendar"}) m_tab.AddTab(key);

  Gdiplus::Image* treeBackground = nullptr;
  GetImage(L"pim_tree_bg.png", treeBackground);
  for (CQSTreeView* tree : {&m_contactTree, &m_folderTree, &m_chatTree}) {
    tree->SetBackgroundImage(treeBackground);
    tree->SetStateImageFromKey(qs::kTreeSelected, L"pim_treeitem_select.png");
    tree->SetStateImageFromKey(qs::kTreeUnselected, L"pim_treeitem_unselect2.png");
    for (int state : {qs::kTreeSelected, qs::kTreeUnselected, qs::kTreeGroup}) {
      tree->SetStateFontFromKey(state, L"tamix_font_gditwo");
      tree->SetStateColorFromKey(state, L"tamix_color_one");
    }
    tree->SetMarkColorFromKey(L"tamix_color_five");
  }
  m_contactTree.SetStateImageFromKey(qs::kTreeGroup, L"pim_treeitem_unselectEx.png");

  m_contactSearch.SetCueKey(L"pim.edit.searchcontact");
  m_smsSearch.SetCueKey(L"pim.edit.searchsms");
  m_calendarSearch.SetCueKey(L"pim.edit.searchcalendar");

  for (CQsStatic& busy : m_busy) {
    busy.SetStateImageFromKey(qs::kFallbackState, L"common_waiting_samll.gif");
    busy.ShowWindow(SW_HIDE);
  }
  for (CQsSuperGrid* list : {&m_contactList, &m_smsList, &m_calendarList}) {
    list->SetFontFromKey(GridFont::Row, L"tamix_font_gdione");
    list->SetFontFromKey(GridFont::Section, L"tamix_font_gdithree");
    list->SetFontFromKey(GridFont::Header, L"tamix_font_gditwo");
    list->SetColorFromKey(GridColor::Text, L"tamix_color_one");
    list->SetCheckBoxImagesFromKeys(L"pim_checkbox_unselect.png", L"pim_checkbox_select.png");
    list->SetHeaderImagesFromKeys(L"comm_listheaer_span.png", L"comm_listheaer_sep.png");
  }
  SetBackgroundImage(L"comm_middle_background.png");
}

void CPimWnd::ShowToolbar(int module) {
  for (const ToolButton& tool : kToolButtons) ShowControl(m_hWnd, tool.id, tool.module == module);
  for (const PictureButton& picture : kPictureButtons) ShowControl(m_hWnd, picture.id, picture.module == module);
}

void CPimWnd::ShowModule(int module) {
  if (module != kMessages && module != kCalendar) module = kContacts;
  // Leaving a module takes its floating detail away; it comes back with the module.
  if (m_module == kContacts && module != kContacts && m_hWnd) {
    m_contactHadSelection = m_contactList.GetSelectedCount() > 0;
    m_contactOperate.HideCard();
  }
  if (m_module == kCalendar && module != kCalendar) {
    m_calendarHadSelection = m_calendarList.GetSelectedCount() > 0;
    m_calendarOperate.HideDetail();
  }
  int previous = m_module;
  m_module = module;
  bool contacts = module == kContacts, messages = module == kMessages, calendar = module == kCalendar;
  ShowControl(m_hWnd, IDC_CONTACT_LIST, contacts);
  ShowControl(m_hWnd, IDC_CONTACT_GROUP_TREE, contacts);
  ShowControl(m_hWnd, IDC_CONTACT_SEARCH, contacts);
  // In conversation mode the messages show their conversation tree and
  // window instead, and no search field.
  const bool conversations = m_smsOperate.IsConversationMode();
  m_smsOperate.ShowViews(messages);
  ShowControl(m_hWnd, IDC_SMS_SEARCH, messages && !conversations);
  ::EnableWindow(GetDlgItem(IDC_SMS_SEARCH), !conversations);
  ShowControl(m_hWnd, IDC_CALENDAR_SEARCH, calendar);
  ShowControl(m_hWnd, IDC_CALENDAR_MINI, calendar);
  // Also on the first call, when the module does not change: the template
  // makes the calendar's list visible, and it would lie over the contacts.
  ShowCalendarView(m_calendarViewButton);
  ShowControl(m_hWnd, IDC_SIDE_FOOTER, false);
  ShowToolbar(module);
  if (m_tab.SendMessage(TCM_GETCURSEL) != module - 1) m_tab.SendMessage(TCM_SETCURSEL, module - 1);
  if (messages && !m_messagesLoaded && m_loaded && ::IsWindowVisible(m_hWnd)) {
    // The first visit after a load reads the messages, as a refresh does.
    m_messagesLoaded = true;
    RefreshMessages();
  }
  if (calendar && !m_calendarLoaded && m_loaded && ::IsWindowVisible(m_hWnd)) {
    // The first visit after a load reads the calendar, as a refresh does.
    RefreshCalendar();
  }
  if (contacts && previous != kContacts && m_contactHadSelection && ::IsWindowVisible(m_hWnd)) {
    int row = m_contactList.GetFirstSelectedRow();
    if (row >= 0) m_contactOperate.ShowCard(row, false);
  }
}

LRESULT CPimWnd::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  LoadMenuImages();
  // The window's own controls first; the skin then binds whatever is left.
  DoDataExchange(false);
  SkinControls();
  InitSkin();
  RegSoftConnectNotify(m_hWnd);
  SetWindowText(L"pim");
  InitModules();
  BuildCalendarMenu();
  ShowModule(kContacts);
  SetTimer(kDateTimer, kDateTimerPeriod);
  // The window sits in the host's frame: it is never moved by the user.
  if (HMENU system = ::GetSystemMenu(m_hWnd, FALSE)) ::DeleteMenu(system, SC_MOVE, MF_BYCOMMAND);
  return FALSE;  // focus not set
}

void CPimWnd::InitModules() {
  ContactControls contacts;
  contacts.mainWindow = m_hWnd;
  contacts.tree = &m_contactTree;
  contacts.list = &m_contactList;
  contacts.deleteButton = &m_buttons[IDC_CONTACT_DELETESOME];
  contacts.importButton = &m_buttons[IDC_CONTACT_IMPORT];
  contacts.exportButton = &m_buttons[IDC_CONTACT_EXPORT];
  contacts.refreshButton = &m_buttons[IDC_CONTACT_REFRESH];
  contacts.loading = &m_busy[0];
  contacts.search = &m_contactSearch;
  contacts.host = m_pHost;
  m_contactOperate.Init(contacts);

  MessageControls messages;
  messages.mainWindow = m_hWnd;
  messages.folderTree = &m_folderTree;
  messages.chatTree = &m_chatTree;
  messages.list = &m_smsList;
  messages.newButton = &m_buttons[IDC_SMS_NEW];
  messages.deleteButton = &m_buttons[IDC_SMS_DELETESOME];
  messages.importButton = &m_buttons[IDC_SMS_IMPORT];
  messages.exportButton = &m_buttons[IDC_SMS_EXPORT];
  messages.refreshButton = &m_buttons[IDC_SMS_REFRESH];
  messages.listModeButton = &m_buttons[IDC_SMS_MODE_LIST];
  messages.chatModeButton = &m_buttons[IDC_SMS_MODE_CHAT];
  messages.loading = &m_busy[1];
  messages.host = m_pHost;
  messages.contactAdded = [this](const Contact::CContactData& contact) { m_contactOperate.AddContact(contact); };
  m_smsOperate.Init(messages);
  InitCalendar();

  RECT client = GetClientRect();
  if (client.right > 0 && client.bottom > 0) {
    m_contactOperate.LayoutList(client.right, client.bottom);
    m_smsOperate.LayoutViews(client.right, client.bottom);
  }
}

void CPimWnd::InitCalendar() {
  CalendarToolbar toolbar;
  for (int id : {IDC_CALENDAR_NEW, IDC_CALENDAR_REFRESH, IDC_CALENDAR_VIEW_LIST, IDC_CALENDAR_VIEW_DAY,
                 IDC_CALENDAR_VIEW_WEEK, IDC_CALENDAR_VIEW_MONTH})
    toolbar.buttons.push_back(GetDlgItem(id));
  toolbar.deleteButton = GetDlgItem(IDC_CALENDAR_DELETESOME);
  toolbar.hasEvents = [this] { return m_calendarOperate.HasEvents(); };
  toolbar.search = m_calendarSearch;
  toolbar.busy = m_busy[2];
  CCalendarSupport::GetInstance().Open(m_hWnd, m_pHost, toolbar);

  CalendarControls controls;
  controls.mainWindow = m_hWnd;
  controls.list = &m_calendarList;
  controls.deleteButton = GetDlgItem(IDC_CALENDAR_DELETESOME);
  controls.host = m_pHost;
  m_calendarOperate.InitList(controls);
  m_calendarOperate.SetListMode(true);

  // The mini month calendar takes the side column's two month blocks; the
  // views take the place of the template's view area.
  m_miniCalendar.Create(m_hWnd, RECT{1, 36, 1 + 186, 36 + 2 * Calendar::kMiniBlockHeight}, IDC_CALENDAR_MINI);
  RECT area{186, 37, 186 + 772, 37 + 491};
  if (HWND placeholder = GetDlgItem(IDC_CALENDAR_VIEW_AREA)) {
    ::GetWindowRect(placeholder, &area);
    ::MapWindowPoints(HWND_DESKTOP, m_hWnd, reinterpret_cast<POINT*>(&area), 2);
    ::DestroyWindow(placeholder);
  }
  CCalendarViewCtrl::Host host;
  host.showDayView = [this] { ShowCalendarView(kViewDay); };
  // A double-click on an event edits it; on an empty place of a view that
  // knows its time (the week and day grids) it starts a new event there.
  host.openEditor = [this](const Calendar::CCalendarData* event, const CCHSDate& day, int minute) {
    HWND active = ::GetActiveWindow();
    HWND owner = active ? active : m_hWnd;
    if (event) {
      RunEventEditor(owner, *event);
      return;
    }
    SYSTEMTIME start = wf::LocalTime();
    if (minute >= 0) {
      start.wYear = static_cast<WORD>(day.Year());
      start.wMonth = static_cast<WORD>(day.Month());
      start.wDay = static_cast<WORD>(day.Day());
      start.wDayOfWeek = static_cast<WORD>(day.WeekDay());
      start.wHour = static_cast<WORD>(minute / 60);
      start.wMinute = static_cast<WORD>(minute % 60);
    }
    RunEventEditor(owner, start, minute >= 0);
  };
  m_calendarView.Create(m_hWnd, area, IDC_CALENDAR_VIEW_AREA, host);
}

void CPimWnd::RefreshCalendar() {
  SetSearchText(m_calendarSearch, L"");
  m_calendarHadSelection = false;
  m_calendarOperate.HideDetail();
  m_calendarLoaded = true;
  m_calendarOperate.RefreshList();
}

void CPimWnd::SetCalendarViewButtons() {
  for (const PictureButton& picture : kPictureButtons) {
    if (picture.id < IDC_CALENDAR_VIEW_LIST || picture.id > IDC_CALENDAR_VIEW_MONTH) continue;
    const bool selected = static_cast<int>(picture.id) == m_calendarViewButton;
    m_buttons[picture.id].SetStateImageFromKey(qs::kButtonNormal, selected ? picture.selected : picture.unselected);
    m_buttons[picture.id].Invalidate();
  }
}

void CPimWnd::ShowCalendarView(int viewButton) {
  if (viewButton < kViewList || viewButton > kViewMonth) return;
  m_calendarViewButton = viewButton;
  SetCalendarViewButtons();
  const bool list = viewButton == kViewList;
  const bool shown = m_module == kCalendar;
  m_calendarOperate.SetListMode(list);
  if (!list) m_calendarOperate.HideDetail();
  ShowControl(m_hWnd, IDC_CALENDAR_LIST, shown && list);
  if (m_calendarView.m_hWnd) m_calendarView.ShowWindow(shown && !list ? SW_SHOW : SW_HIDE);
  const int mode = !shown || list               ? CCalendarViewCtrl::kNone
                   : viewButton == kViewMonth ? CCalendarViewCtrl::kMonth
                   : viewButton == kViewWeek  ? CCalendarViewCtrl::kWeek
                                              : CCalendarViewCtrl::kDay;
  m_calendarView.SetViewMode(mode);
  // Back to the list: the selected month again.
  if (list && shown) m_calendarOperate.QueryListMonth();
}

void CPimWnd::RefreshMessages() {
  SetSearchText(m_smsSearch, L"");
  m_smsOperate.ResetSearch();
  m_messagesLoaded = true;
  m_smsOperate.Refresh();
}

void CPimWnd::SetMessageModeButtons(bool conversations) {
  for (const PictureButton& picture : kPictureButtons) {
    if (picture.id != IDC_SMS_MODE_LIST && picture.id != IDC_SMS_MODE_CHAT) continue;
    bool selected = (picture.id == IDC_SMS_MODE_CHAT) == conversations;
    m_buttons[picture.id].SetStateImageFromKey(qs::kButtonNormal, selected ? picture.selected : picture.unselected);
    m_buttons[picture.id].Invalidate();
  }
}

void CPimWnd::BuildCalendarMenu() {
  m_calendarMenu = ::CreatePopupMenu();
  auto add = [this](UINT command, const wchar_t* key, const wchar_t* shortcut) {
    std::wstring text = ResText(key) + shortcut;
    ::AppendMenuW(m_calendarMenu, MF_STRING, command, text.c_str());
  };
  add(kCmdRefreshCalendar, L"common.refresh", L"F5");
  ::AppendMenuW(m_calendarMenu, MF_SEPARATOR, 0, nullptr);
  add(kCmdNewEvent, L"common.new", L"Ctrl+N");
  add(kCmdEditEvent, L"common.edit", L"Ctrl+E");
  add(kCmdDeleteEvents, L"common.delete", L"DEL");
  ::AppendMenuW(m_calendarMenu, MF_SEPARATOR, 0, nullptr);
  add(kCmdToday, L"pim_calendar_today", L"");
  ::AppendMenuW(m_calendarMenu, MF_SEPARATOR, 0, nullptr);
  add(kCmdSelectAllEvents, L"common.selectall", L"Ctrl+A");
}

LRESULT CPimWnd::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  LOG::I(PIM_INFO_LOG, "Pim.OnDestroy.stopRev()");
  LOG::I(PIM_INFO_LOG, "CSMSOperate:stopRecv interface ++++");
  m_smsOperate.StopReceive();
  m_contactOperate.HideCard();
  KillTimer(kDateTimer);
  m_calendarOperate.CloseDialogs();
  CCalendarSupport::GetInstance().Close();
  if (m_calendarMenu) ::DestroyMenu(m_calendarMenu);
  m_calendarMenu = nullptr;
  // No unregistering from the connection library: it has no such call and
  // forgets a window when the window is destroyed.
  bHandled = FALSE;
  return 0;
}

LRESULT CPimWnd::OnSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled) {
  bHandled = FALSE;  // the skin base repaints its frame too
  int width = LOWORD(lParam), height = HIWORD(lParam);
  if (width == 0 || height == 0) return 0;
  m_contactOperate.LayoutList(width, height);
  m_contactOperate.PlaceCard();
  m_smsOperate.LayoutViews(width, height);
  m_calendarOperate.Layout(width, height);
  if (m_calendarView.m_hWnd) m_calendarView.MoveWindow(186, 37, width - 188, height - 37, TRUE);
  // The mini calendar's background runs down the side column under its blocks.
  if (m_miniCalendar.m_hWnd) m_miniCalendar.MoveWindow(1, 36, 186, height - 36, TRUE);
  return 0;
}

LRESULT CPimWnd::OnMove(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  // The strip that holds the module's title and toolbar.
  RECT client = GetClientRect();
  RECT strip{0, 0, client.right, 36};
  InvalidateRect(strip, TRUE);
  return 0;
}

bool CPimWnd::ContactsShownAndVisible() const { return m_module == kContacts && ::IsWindowVisible(m_hWnd); }

LRESULT CPimWnd::OnShowWindow(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  if (!wParam) {
    if (m_module == kContacts) {
      m_contactHadSelection = m_contactList.GetSelectedCount() > 0;
      m_contactOperate.HideCard();
    } else if (m_module == kCalendar) {
      m_calendarHadSelection = m_calendarList.GetSelectedCount() > 0;
    }
    return 0;
  }
  if (!m_loaded) {
    // The first show after creation or after a disconnect loads the handset.
    m_loaded = true;
    m_smsOperate.StartReceive();
    m_contactOperate.Refresh();
    return 0;
  }
  if (m_module == kContacts && m_contactHadSelection) {
    int row = m_contactList.GetFirstSelectedRow();
    if (row >= 0) {
      m_contactList.SelectRow(row);
      m_contactOperate.ShowCard(row, false);
    }
  }
  return 0;
}

LRESULT CPimWnd::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
  if (wParam != kDateTimer) {
    bHandled = FALSE;
    return 0;
  }
  SYSTEMTIME now = wf::LocalTime();
  if (m_lastTickDate.wYear == 0) {
    m_lastTickDate = now;  // the first tick only remembers the date
    return 0;
  }
  if (now.wYear != m_lastTickDate.wYear || now.wMonth != m_lastTickDate.wMonth || now.wDay != m_lastTickDate.wDay) {
    // Midnight: "today" moves (the calendar reads it from here).
    m_lastTickDate = now;
    m_miniCalendar.TodayChanged();
    m_calendarOperate.Redraw();
    m_calendarView.Redraw();
  }
  return 0;
}

LRESULT CPimWnd::OnDeviceDisconnected(UINT, WPARAM, LPARAM, BOOL&) {
  m_contactOperate.CloseAll();
  m_contactOperate.ClearAll();
  if (m_multiDelete) LeaveMultiDelete(false);
  for (CQsSearchEdit* field : {&m_contactSearch, &m_smsSearch, &m_calendarSearch}) SetSearchText(*field, L"");
  m_loaded = false;  // the next show loads everything again
  m_contactHadSelection = m_calendarHadSelection = false;
  m_smsOperate.CloseAll();
  m_smsOperate.ClearAll();
  m_messagesLoaded = false;
  m_calendarOperate.HideDetail();
  m_calendarOperate.CloseDialogs();
  m_calendarOperate.ClearAll();
  m_calendarLoaded = false;
  SetMessageModeButtons(false);
  m_tab.SendMessage(TCM_SETCURSEL, 0);
  ShowModule(kContacts);
  LOG::I(PIM_INFO_LOG, "CSMSOperate:stopRecv interface ++++");
  m_smsOperate.StopReceive();
  return 0;
}

// ---------------------------------------------------------------------------
// Modules and search

LRESULT CPimWnd::OnTabSelChange(int, LPNMHDR, BOOL&) {
  int index = static_cast<int>(m_tab.SendMessage(TCM_GETCURSEL));
  ShowModule(index == 1 ? kMessages : index == 2 ? kCalendar : kContacts);
  return 0;
}

CQsSearchEdit& CPimWnd::SearchField(int module) {
  return module == kMessages ? m_smsSearch : module == kCalendar ? m_calendarSearch : m_contactSearch;
}

void CPimWnd::SetSearchText(CQsSearchEdit& field, const std::wstring& text) {
  // Emptying a field is not a search of its own.
  m_settingSearch = true;
  field.SetWindowText(text);
  m_settingSearch = false;
}

void CPimWnd::Search() {
  std::wstring text = SearchField(m_module).GetWindowText(kMaxSearchText);
  if (m_module == kContacts) m_contactOperate.Search(text);
  else if (m_module == kMessages) m_smsOperate.Search(text);
  else if (m_module == kCalendar) {
    m_calendarOperate.HideDetail();
    // An emptied field shows the selected month again.
    if (text.empty()) m_calendarOperate.QueryListMonth();
    else m_calendarOperate.Search(text);
  }
}

LRESULT CPimWnd::OnSearchMessage(UINT, WPARAM, LPARAM, BOOL&) {
  Search();
  return 0;
}

// ---------------------------------------------------------------------------
// Multi-delete mode

void CPimWnd::EnterMultiDelete() {
  for (const ToolButton& tool : kToolButtons) ShowControl(m_hWnd, tool.id, false);
  for (const PictureButton& picture : kPictureButtons) ShowControl(m_hWnd, picture.id, false);
  ShowControl(m_hWnd, IDC_MULTIDELETE_OK, true);
  ShowControl(m_hWnd, IDC_MULTIDELETE_CANCEL, true);
  m_tab.EnableWindow(FALSE);
  if (m_module == kContacts) {
    m_contactTree.EnableWindow(FALSE);
    m_contactOperate.HideCard();
    m_contactOperate.SetCheckMode(true);
  } else if (m_module == kMessages) {
    m_folderTree.EnableWindow(FALSE);
    m_smsOperate.SetCheckMode(true);
  } else if (m_module == kCalendar) {
    m_miniCalendar.EnableWindow(FALSE);
    m_calendarOperate.HideDetail();
    m_calendarList.SetHeaderCheckColumn(Calendar::kColumnCheck);
    m_calendarList.SetHeaderCheck(false);
  }
  m_multiDelete = true;
  SetCheckCount(0);
}

void CPimWnd::LeaveMultiDelete(bool deleteChecked) {
  ShowControl(m_hWnd, IDC_MULTIDELETE_OK, false);
  ShowControl(m_hWnd, IDC_MULTIDELETE_CANCEL, false);
  m_tab.EnableWindow(TRUE);
  ShowToolbar(m_module);
  if (m_module == kContacts) {
    if (deleteChecked && m_checkCount > 0) {
      m_contactOperate.BatchDeleteContacts();  // the boxes are cleared when the answer arrives
    } else {
      m_contactOperate.ClearChecks();
    }
    m_contactOperate.SetCheckMode(false);
    m_contactTree.EnableWindow(TRUE);
  } else if (m_module == kMessages) {
    if (deleteChecked && m_checkCount > 0)
      m_smsOperate.DeleteCheckedMessages();  // the boxes are cleared when the answer arrives
    else
      m_smsOperate.SetAllChecks(false);
    m_smsOperate.SetCheckMode(false);
    m_folderTree.EnableWindow(TRUE);
  } else if (m_module == kCalendar) {
    if (deleteChecked) m_calendarOperate.DeleteChecked();  // clears the ticks whatever the answer
    else m_calendarOperate.CheckAll(false);
    m_calendarList.SetHeaderCheckColumn(-1);
    m_miniCalendar.EnableWindow(TRUE);
  }
  m_multiDelete = false;
  m_checkCount = 0;
}

void CPimWnd::SetCheckCount(int count) {
  m_checkCount = count < 0 ? 0 : count;
  m_buttons[IDC_MULTIDELETE_OK].EnableWindow(m_checkCount > 0);
}

// ---------------------------------------------------------------------------
// Commands

void CPimWnd::ShowImportExportMenu(int buttonId) {
  RECT button;
  ::GetWindowRect(GetDlgItem(buttonId), &button);
  HMENU menu = ::CreatePopupMenu();
  bool contacts = buttonId == IDC_CONTACT_IMPORT || buttonId == IDC_CONTACT_EXPORT;
  ::AppendMenuW(menu, MF_STRING, contacts ? kCmdContactXml : kCmdMessageXml, L"XML");
  ::AppendMenuW(menu, MF_STRING, contacts ? kCmdContactExcel : kCmdMessageExcel, L"EXCEL");
  if (contacts) ::AppendMenuW(menu, MF_STRING, kCmdContactVcard, L"VCARD");
  wf::TrackPopup(menu, button.left, button.bottom, m_hWnd);
  ::DestroyMenu(menu);
}

LRESULT CPimWnd::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
  const UINT id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if (id == IDOK) {
    // Enter, turned into the dialog's OK by the dialog manager: on a message
    // row it opens the message in the detail window.
    if (::GetFocus() == m_smsList.m_hWnd && !m_multiDelete && m_smsList.GetFirstSelectedRow() >= 0)
      m_smsOperate.ShowMessageDetail(m_smsList.GetFirstSelectedRow());
    return 0;
  }
  if (lParam) {
    // From a control.
    if (id == IDC_CONTACT_SEARCH || id == IDC_SMS_SEARCH || id == IDC_CALENDAR_SEARCH) {
      if (code == EN_CHANGE && !m_settingSearch && static_cast<int>(id) == SearchField(m_module).GetDlgCtrlID()) Search();
      return 0;
    }
    if (code != BN_CLICKED) {
      bHandled = FALSE;
      return 0;
    }
    switch (id) {
      case IDC_CONTACT_DELETESOME:
      case IDC_SMS_DELETESOME:
      case IDC_CALENDAR_DELETESOME:
        EnterMultiDelete();
        return 0;
      case IDC_CONTACT_REFRESH:
        SetSearchText(m_contactSearch, L"");
        m_contactOperate.Refresh();
        return 0;
      case IDC_SMS_REFRESH:
        RefreshMessages();
        return 0;
      case IDC_SMS_NEW:
        m_smsOperate.ComposeMessage(CSMSOperate::kComposeNew, nullptr);
        return 0;
      case IDC_SMS_MODE_LIST:
        if (!m_smsOperate.IsConversationMode()) return 0;
        m_smsOperate.EnterListMode();
        SetMessageModeButtons(false);
        ShowModule(kMessages);
        return 0;
      case IDC_SMS_MODE_CHAT:
        // Already switched (a conversation asked for by number): only the
        // buttons and the search field follow.
        if (!m_smsOperate.IsConversationMode()) m_smsOperate.ShowConversations(L"", false);
        SetMessageModeButtons(true);
        ShowModule(m_module);
        return 0;
      case IDC_CALENDAR_REFRESH:
        RefreshCalendar();
        return 0;
      case IDC_CALENDAR_NEW:
        m_calendarOperate.NewEvent();
        return 0;
      case IDC_CALENDAR_VIEW_LIST:
      case IDC_CALENDAR_VIEW_DAY:
      case IDC_CALENDAR_VIEW_WEEK:
      case IDC_CALENDAR_VIEW_MONTH:
        ShowCalendarView(static_cast<int>(id));
        return 0;
      case IDC_CONTACT_NEW:
        m_contactOperate.NewContact();
        return 0;
      case IDC_CONTACT_IMPORT:
      case IDC_CONTACT_EXPORT:
        // The toolbar imports, or exports what the tree shows.
        m_contactOperate.SetImportExportMode(id == IDC_CONTACT_IMPORT ? 2 : 0);
        ShowImportExportMenu(id);
        return 0;
      case IDC_SMS_IMPORT:
        m_smsOperate.SetMenuOrigin(CSMSOperate::kOriginImport);
        ShowImportExportMenu(id);
        return 0;
      case IDC_SMS_EXPORT: {
        // The toolbar exports what the page shows: the folder, or the
        // selected conversation.
        m_smsOperate.SetMenuOrigin(m_smsOperate.IsConversationMode() ? CSMSOperate::kOriginConversationTree
                                                                     : CSMSOperate::kOriginFolderTree);
        RECT button;
        ::GetWindowRect(GetDlgItem(IDC_SMS_EXPORT), &button);
        m_smsOperate.ShowExportMenu(POINT{button.left, button.bottom});
        return 0;
      }
      case IDC_MULTIDELETE_OK:
        LeaveMultiDelete(true);
        return 0;
      case IDC_MULTIDELETE_CANCEL:
        LeaveMultiDelete(false);
        return 0;
      default:
        bHandled = FALSE;
        return 0;
    }
  }
  // From a menu (or an accelerator).
  if (id >= kCmdContactMenuFirst && id <= kCmdContactMenuLast) {
    m_contactOperate.OnMenuCommand(id);
    return 0;
  }
  if (id == CSMSOperate::kCmdNewFolder) {
    NewMessageFolder();
    return 0;
  }
  if ((id >= kCmdFolderMenuFirst && id <= kCmdFolderMenuLast) || (id >= kCmdMessageMenuFirst && id <= kCmdMessageMenuLast)) {
    m_smsOperate.OnMenuCommand(id);
    if (id == CSMSOperate::kCmdSeeRecord && m_smsOperate.IsConversationMode()) {
      SetMessageModeButtons(true);
      ShowModule(kMessages);
    }
    return 0;
  }
  switch (id) {
    case kCmdNewEvent:
      m_calendarOperate.NewEvent();
      return 0;
    case kCmdEditEvent:
      CalendarEdit();
      return 0;
    case kCmdDeleteEvents:
      CalendarDelete();
      return 0;
    case kCmdToday: {
      CCalendarSupport& support = CCalendarSupport::GetInstance();
      support.SetSelectedDate(support.GetToday());
      support.NotifyDateChanged();
      return 0;
    }
    case kCmdRefreshCalendar:
      RefreshCalendar();
      return 0;
    case kCmdSelectAllEvents:
      m_calendarOperate.SelectAll();
      return 0;
    default:
      bHandled = FALSE;
      return 0;
  }
}

// ---------------------------------------------------------------------------
// Notifications of the module lists and trees

void CPimWnd::OnContactCellClick(const NMQSGRIDCELL& cell) {
  using namespace Contact;
  if (m_multiDelete) {
    if (cell.iColumn != kColumnCheck) return;
    bool on = m_contactOperate.ToggleRowCheck(cell.iRow);
    if (m_contactOperate.Rows().IsContactRow(cell.iRow)) SetCheckCount(m_checkCount + (on ? 1 : -1));
    return;
  }
  if (!m_contactOperate.Rows().IsContactRow(cell.iRow)) return;
  if (cell.iColumn == kColumnActions && cell.iAction == 0) {
    m_contactOperate.EditContact(cell.iRow);
  } else if (cell.iColumn == kColumnActions && cell.iAction == 1) {
    // Delete this row's contact: it becomes the selection the delete takes.
    m_contactList.ClearSelection();
    m_contactList.SelectRow(cell.iRow);
    m_contactOperate.DeleteContacts();
  } else if (cell.iColumn == kColumnCheck) {
    // The star box: the row's contact is starred or unstarred.
    m_contactList.ClearSelection();
    m_contactList.SelectRow(cell.iRow);
    m_contactOperate.SetStar(cell.iCheck == 0);
  }
}

void CPimWnd::OnContactKey(WORD key) {
  bool control = ::GetKeyState(VK_CONTROL) < 0;
  if (m_multiDelete) return;
  if (control && (key == 'A' || key == 'a')) m_contactOperate.OnMenuCommand(Contact::kCmdSelectAll);
  else if (control && (key == 'S' || key == 's')) m_contactOperate.OnMenuCommand(Contact::kCmdSendMessage);
  else if (control && (key == 'N' || key == 'n')) m_contactOperate.OnMenuCommand(Contact::kCmdNewContact);
  else if (control && (key == 'E' || key == 'e')) m_contactOperate.OnMenuCommand(Contact::kCmdEditContact);
  else if (!control && key == VK_DELETE) m_contactOperate.OnMenuCommand(Contact::kCmdDeleteContact);
  else if (!control && key == VK_F5) {
    SetSearchText(m_contactSearch, L"");
    m_contactOperate.Refresh();
  }
}

LRESULT CPimWnd::OnContactListNotify(int, LPNMHDR header, BOOL& bHandled) {
  switch (header->code) {
    case NM_CLICK:
    case NM_DBLCLK: {  // both open the contact's card
      if (m_multiDelete) return 0;
      auto* item = reinterpret_cast<NMITEMACTIVATE*>(header);
      int row = item->iItem >= 0 ? m_contactList.RowFromItem(item->iItem) : -1;
      if (row >= 0) m_contactOperate.ShowCard(row, false);
      return 0;
    }
    case NM_RCLICK: {
      auto* item = reinterpret_cast<NMITEMACTIVATE*>(header);
      int row = item->iItem >= 0 ? m_contactList.RowFromItem(item->iItem) : -1;
      if (m_multiDelete) return 0;
      POINT cursor;
      ::GetCursorPos(&cursor);
      m_contactOperate.ShowListMenu(row, cursor);
      return 0;
    }
    case LVN_KEYDOWN:
      OnContactKey(reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey);
      return 0;
    case QSGN_CELLCLICK:
      OnContactCellClick(*reinterpret_cast<NMQSGRIDCELL*>(header));
      return 0;
    case QSGN_HEADERCLICK: {
      auto* click = reinterpret_cast<NMQSGRIDHEADER*>(header);
      if (!m_multiDelete || click->iColumn != Contact::kColumnCheck) return 0;
      bool check = click->iCheck == 0;
      m_contactOperate.SetAllChecks(check);
      SetCheckCount(check ? m_contactOperate.Rows().ContactCount() : 0);
      return 0;
    }
    default:
      bHandled = FALSE;
      return 0;
  }
}

// The row a click or the keyboard chose in a tree (a click also selects it,
// the keyboard already did), or null; a selection the code made is no choice.
HTREEITEM CPimWnd::ChosenItem(CQSTreeView& tree, const NMHDR* header) {
  if (header->code == TVN_SELCHANGEDW) {
    auto* change = reinterpret_cast<const NMTREEVIEWW*>(header);
    return change->action == TVC_BYKEYBOARD ? change->itemNew.hItem : nullptr;
  }
  auto* click = reinterpret_cast<const NMQSTREEITEM*>(header);
  if (!click->item || !(click->hitFlags & (TVHT_ONITEM | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT))) return nullptr;
  tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(click->item));
  return click->item;
}

// The row under the mouse pointer (for a right click), and the pointer.
HTREEITEM CPimWnd::ItemAtCursor(CQSTreeView& tree, POINT& cursor) {
  ::GetCursorPos(&cursor);
  TVHITTESTINFO hit{};
  hit.pt = cursor;
  tree.ScreenToClient(&hit.pt);
  tree.SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  return hit.hItem;
}

LRESULT CPimWnd::OnContactTreeNotify(int, LPNMHDR header, BOOL& bHandled) {
  switch (header->code) {
    case QSTVN_ITEMCLICK:
    case TVN_SELCHANGEDW:
      if (HTREEITEM chosen = ChosenItem(m_contactTree, header)) m_contactOperate.OnTreeSelect(chosen);
      return 0;
    case NM_RCLICK: {
      POINT cursor;
      if (HTREEITEM item = ItemAtCursor(m_contactTree, cursor)) m_contactOperate.ShowTreeMenu(item, cursor);
      return 0;
    }
    case TVN_KEYDOWN: {
      WORD key = reinterpret_cast<NMTVKEYDOWN*>(header)->wVKey;
      bool control = ::GetKeyState(VK_CONTROL) < 0;
      if (key == VK_F5) {
        SetSearchText(m_contactSearch, L"");
        m_contactOperate.Refresh();
      } else if (control && (key == 'N' || key == 'n')) {
        m_contactOperate.NewGroup();
      } else if (control && (key == 'E' || key == 'e')) {
        m_contactOperate.EditGroup();
      } else if (control && (key == 'S' || key == 's')) {
        m_contactOperate.SendToGroup();
      } else if (!control && key == VK_DELETE) {
        m_contactOperate.DeleteGroup();
      }
      return 0;
    }
    case TVN_BEGINLABELEDITW: {
      // Only a group's name can be edited in place, and without its count.
      auto* edit = reinterpret_cast<NMTVDISPINFOW*>(header);
      if (!m_contactOperate.IsGroupItem(edit->item.hItem)) return TRUE;
      if (HWND field = reinterpret_cast<HWND>(m_contactTree.SendMessage(TVM_GETEDITCONTROL))) {
        std::wstring text = wf::CWindow(field).GetWindowText();
        size_t open = text.rfind(L'(');
        if (open != std::wstring::npos) ::SetWindowTextW(field, text.substr(0, open).c_str());
      }
      return FALSE;
    }
    case TVN_ENDLABELEDITW: {
      auto* edit = reinterpret_cast<NMTVDISPINFOW*>(header);
      if (edit->item.pszText) m_contactOperate.RenameGroup(edit->item.hItem, edit->item.pszText);
      return FALSE;  // the label changes when the phone has taken the new name
    }
    default:
      bHandled = FALSE;
      return 0;
  }
}

void CPimWnd::OnCalendarKey(WORD key) {
  if (m_multiDelete) return;  // the list's shortcuts wait until the mode is left
  bool control = ::GetKeyState(VK_CONTROL) < 0;
  if (control) {
    if (key == 'A' || key == 'a') m_calendarOperate.SelectAll();
    else if (key == 'E' || key == 'e') CalendarEdit();
    else if (key == 'N' || key == 'n') m_calendarOperate.NewEvent();
    return;
  }
  if (key == VK_DELETE) CalendarDelete();
  else if (key == VK_UP || key == VK_DOWN) m_calendarOperate.MoveSelection(key == VK_DOWN);
  else if (key == VK_F5) RefreshCalendar();
}

void CPimWnd::CalendarEdit() {
  std::vector<int> selected = m_calendarList.GetSelectedRows();
  if (selected.size() == 1) {
    m_calendarOperate.HideDetail();
    m_calendarOperate.EditRow(selected.front());
    return;
  }
  const wchar_t* key = selected.empty() ? L"pim.calendar.edit.nosel" : L"pim.calendar.edit.notonly";
  JorvMessageBox(m_hWnd, ResText(key).c_str(), ResText(L"common.messagebox.tamixtip").c_str(), JORV_MB_NOTICE, 0, 0);
}

void CPimWnd::CalendarDelete() {
  std::vector<int> selected = m_calendarList.GetSelectedRows();
  if (!selected.empty()) {
    m_calendarOperate.DeleteSelected(selected);
    return;
  }
  JorvMessageBox(m_hWnd, ResText(L"pim.calendar.del.nosel").c_str(), ResText(L"common.messagebox.tamixtip").c_str(),
                 JORV_MB_NOTICE, 0, 0);
}

LRESULT CPimWnd::OnCalendarListNotify(int, LPNMHDR header, BOOL& bHandled) {
  switch (header->code) {
    case LVN_KEYDOWN:
      OnCalendarKey(reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey);
      return 0;
    case NM_RCLICK: {
      POINT cursor;
      ::GetCursorPos(&cursor);
      if (m_calendarMenu && !m_multiDelete) wf::TrackPopup(m_calendarMenu, cursor.x, cursor.y, m_hWnd);
      return 0;
    }
    case NM_CLICK: {
      // The clicked event's details beside the list; a day header has none.
      auto* item = reinterpret_cast<NMITEMACTIVATE*>(header);
      const int row = item->iItem >= 0 ? m_calendarList.RowFromItem(item->iItem) : -1;
      if (!m_multiDelete && m_calendarOperate.Rows().IsEventRow(row)) m_calendarOperate.ShowDetail(row);
      else m_calendarOperate.HideDetail();
      return 0;
    }
    case NM_DBLCLK: {
      auto* item = reinterpret_cast<NMITEMACTIVATE*>(header);
      if (m_multiDelete || item->iItem < 0) return 0;
      m_calendarOperate.HideDetail();
      m_calendarOperate.EditRow(m_calendarList.RowFromItem(item->iItem));
      return 0;
    }
    case QSGN_CELLCLICK: {
      auto* cell = reinterpret_cast<NMQSGRIDCELL*>(header);
      m_calendarOperate.OnCellClick(cell->iRow, cell->iColumn, cell->iAction, cell->iCheck);
      if (m_multiDelete) SetCheckCount(m_calendarOperate.Rows().TickedCount());
      return 0;
    }
    case QSGN_HEADERCLICK: {
      auto* click = reinterpret_cast<NMQSGRIDHEADER*>(header);
      if (click->iColumn != Calendar::kColumnCheck) return 0;
      m_calendarOperate.CheckAll(click->iCheck == 0);
      if (m_multiDelete) SetCheckCount(m_calendarOperate.Rows().TickedCount());
      return 0;
    }
    default:
      bHandled = FALSE;
      return 0;
  }
}

void CPimWnd::OnMessageCellClick(const NMQSGRIDCELL& cell) {
  using namespace Message;
  const CMessageRows& rows = m_smsOperate.Rows();
  if (m_multiDelete) {
    if (cell.iColumn != kColumnLock) return;
    bool on = m_smsOperate.ToggleRowCheck(cell.iRow);
    if (rows.IsMessageRow(cell.iRow)) SetCheckCount(m_checkCount + (on ? 1 : -1));
    return;
  }
  if (!rows.IsMessageRow(cell.iRow)) return;
  const int32_t shown = m_smsOperate.ShownFolderId();
  const bool simFolder = shown == kFolderSimOne || shown == kFolderSimTwo;
  if (cell.iColumn == kColumnLock) {
    m_smsOperate.LockMessage(cell.iRow, !rows.At(cell.iRow).locked);
  } else if (cell.iColumn == kColumnAction && cell.iAction == 0 && !simFolder) {
    m_smsList.ClearSelection();
    m_smsList.SelectRow(cell.iRow);
    m_smsOperate.DeleteMessage(cell.iRow);
  }
}

void CPimWnd::OnMessageKey(WORD key) {
  if (m_multiDelete) return;
  const bool control = ::GetKeyState(VK_CONTROL) < 0;
  const int row = m_smsList.GetFirstSelectedRow();
  m_smsOperate.SetActRow(row);
  if (control && (key == 'N' || key == 'n')) m_smsOperate.OnMenuCommand(CSMSOperate::kCmdNew);
  else if (control && (key == 'R' || key == 'r') && m_smsList.GetSelectedCount() == 1)
    m_smsOperate.OnMenuCommand(CSMSOperate::kCmdReply);
  else if (control && (key == 'A' || key == 'a')) m_smsOperate.OnMenuCommand(CSMSOperate::kCmdSelectAll);
  else if (!control && key == VK_DELETE) m_smsOperate.OnMenuCommand(CSMSOperate::kCmdDelete);
  else if (!control && key == VK_F5) RefreshMessages();
}

void CPimWnd::NewMessageFolder() {
  int items = static_cast<int>(m_folderTree.SendMessage(TVM_GETCOUNT));
  if (items > kMaxFolderItems) {
    JorvMessageBox(m_hWnd, ResText(L"pim.tip.folderfull").c_str(), ResText(L"common.caption.tip").c_str(),
                   JORV_MB_NOTICE, 0, 0);
    return;
  }
  m_smsOperate.NewFolder();
}

LRESULT CPimWnd::OnMessageListNotify(int, LPNMHDR header, BOOL& bHandled) {
  switch (header->code) {
    case LVN_KEYDOWN:
      OnMessageKey(reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey);
      return 0;
    case NM_RETURN:  // Enter: the message in the detail window
      if (!m_multiDelete && m_smsList.GetFirstSelectedRow() >= 0)
        m_smsOperate.ShowMessageDetail(m_smsList.GetFirstSelectedRow());
      return 0;
    case NM_DBLCLK: {
      if (m_multiDelete) return 0;
      auto* item = reinterpret_cast<NMITEMACTIVATE*>(header);
      if (item->iItem >= 0) m_smsOperate.OpenMessage(m_smsList.RowFromItem(item->iItem));
      return 0;
    }
    case NM_RCLICK: {
      if (m_multiDelete) return 0;
      auto* item = reinterpret_cast<NMITEMACTIVATE*>(header);
      POINT cursor;
      ::GetCursorPos(&cursor);
      m_smsOperate.ShowMessageMenu(item->iItem >= 0 ? m_smsList.RowFromItem(item->iItem) : -1, cursor);
      return 0;
    }
    case QSGN_CELLCLICK:
      OnMessageCellClick(*reinterpret_cast<NMQSGRIDCELL*>(header));
      return 0;
    case QSGN_HEADERCLICK: {
      auto* click = reinterpret_cast<NMQSGRIDHEADER*>(header);
      if (!m_multiDelete || click->iColumn != Message::kColumnLock) return 0;
      bool check = click->iCheck == 0;
      m_smsOperate.SetAllChecks(check);
      SetCheckCount(check ? m_smsOperate.Rows().MessageCount() : 0);
      return 0;
    }
    default:
      bHandled = FALSE;
      return 0;
  }
}

LRESULT CPimWnd::OnFolderTreeNotify(int, LPNMHDR header, BOOL& bHandled) {
  switch (header->code) {
    case QSTVN_ITEMCLICK:
    case TVN_SELCHANGEDW:
      if (HTREEITEM chosen = ChosenItem(m_folderTree, header)) m_smsOperate.ShowFolder(chosen, true);
      return 0;
    case TVN_KEYDOWN: {
      WORD key = reinterpret_cast<NMTVKEYDOWN*>(header)->wVKey;
      bool control = ::GetKeyState(VK_CONTROL) < 0;
      HTREEITEM selected = m_smsOperate.ShownFolderItem();
      if (key == VK_F5) RefreshMessages();
      else if (control && (key == 'N' || key == 'n')) NewMessageFolder();
      else if (control && (key == 'E' || key == 'e')) m_smsOperate.BeginRenameFolder(selected);
      else if (!control && key == VK_DELETE) m_smsOperate.DeleteFolder(selected);
      return 0;
    }
    case NM_RCLICK: {
      POINT cursor;
      HTREEITEM item = ItemAtCursor(m_folderTree, cursor);
      m_smsOperate.ShowFolderMenu(item ? item : m_smsOperate.ShownFolderItem(), cursor);
      return 0;
    }
    case TVN_BEGINLABELEDITW: {
      // Only a user folder's name is edited in place, without its count.
      auto* edit = reinterpret_cast<NMTVDISPINFOW*>(header);
      if (m_smsOperate.FolderIdOf(edit->item.hItem) < 0 || m_smsOperate.IsSystemFolder(edit->item.hItem)) return TRUE;
      if (HWND field = reinterpret_cast<HWND>(m_folderTree.SendMessage(TVM_GETEDITCONTROL))) {
        ::SendMessageW(field, EM_LIMITTEXT, 255, 0);
        ::SetWindowTextW(field, m_smsOperate.FolderDisplayName(edit->item.hItem).c_str());
        ::SendMessageW(field, EM_SETSEL, 0, -1);
      }
      return FALSE;
    }
    case TVN_ENDLABELEDITW: {
      auto* edit = reinterpret_cast<NMTVDISPINFOW*>(header);
      if (edit->item.pszText) m_smsOperate.RenameFolder(edit->item.hItem, edit->item.pszText);
      return FALSE;  // the label changes when the phone has taken the new name
    }
    default:
      bHandled = FALSE;
      return 0;
  }
}

LRESULT CPimWnd::OnChatTreeNotify(int, LPNMHDR header, BOOL& bHandled) {
  switch (header->code) {
    case NM_RCLICK: {
      POINT cursor;
      ::GetCursorPos(&cursor);
      m_smsOperate.ShowConversationMenu(cursor);
      return 0;
    }
    case QSTVN_ITEMCLICK:
    case TVN_SELCHANGEDW:
      if (HTREEITEM chosen = ChosenItem(m_chatTree, header)) m_smsOperate.ShowConversation(chosen);
      return 0;
    default:
      bHandled = FALSE;
      return 0;
  }
}

// ---------------------------------------------------------------------------
// Private messages of the controllers

LRESULT CPimWnd::OnSentFromContacts(UINT, WPARAM, LPARAM lParam, BOOL&) {
  m_smsOperate.OnSentElsewhere(static_cast<int>(lParam));
  return 0;
}

LRESULT CPimWnd::OnHideWait(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  JorvWaitDynamicHideEx(reinterpret_cast<HANDLE>(lParam));
  if (wParam == pim_msg::kModuleMessages) m_folderTree.SetFocus();
  return 0;
}

LRESULT CPimWnd::OnShowEventDetail(UINT, WPARAM wParam, LPARAM, BOOL&) {
  if (::IsWindowVisible(m_hWnd) && m_module == kCalendar) m_calendarHadSelection = true;
  m_calendarOperate.ShowDetail(static_cast<int>(wParam));
  return 0;
}

LRESULT CPimWnd::OnEditEvent(UINT, WPARAM, LPARAM, BOOL&) {
  m_calendarOperate.EditCurrent();
  return 0;
}

LRESULT CPimWnd::OnImportExportStep(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  if (wParam == pim_msg::kModuleMessages) {
    switch (lParam) {
      case pim_msg::kStepImportStarted: m_smsOperate.ShowImportProgress(); break;
      case pim_msg::kStepExportStarted: m_smsOperate.ShowExportProgress(); break;
      case pim_msg::kStepFinished: m_smsOperate.CloseProgress(); break;
      default: break;
    }
    return 0;
  }
  if (wParam != pim_msg::kModuleContacts) return 0;
  switch (lParam) {
    case pim_msg::kStepImportStarted: m_contactOperate.ShowImportProgress(); break;
    case pim_msg::kStepExportStarted: m_contactOperate.ShowExportProgress(); break;
    case pim_msg::kStepFinished: m_contactOperate.FinishImportExport(); break;
    default: break;
  }
  return 0;
}

LRESULT CPimWnd::OnContactById(UINT, WPARAM, LPARAM, BOOL&) {
  if (ContactsShownAndVisible()) m_contactOperate.OnCardAction();
  return 0;
}

LRESULT CPimWnd::OnContactFocus(UINT, WPARAM wParam, LPARAM, BOOL&) {
  if (wParam == 1) m_contactTree.SetFocus();
  else if (wParam == 2) m_contactList.SetFocus();
  return 0;
}

LRESULT CPimWnd::OnHideContactCard(UINT, WPARAM, LPARAM, BOOL&) {
  m_contactOperate.HideCard();
  return 0;
}
