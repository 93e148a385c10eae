#include "frame/PimWnd.h"

#include <iterator>

#include "frame/PimLayout.h"
#include "frame/suite/BaseLibrary.h"
#include "frame/suite/ConnectLibrary.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/ActivationContext.h"
#include "framework/Module.h"

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

std::wstring Text(const wchar_t* key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

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
    button.SetWindowText(Text(tool.textKey));
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
    if (picture.textKey) button.SetWindowText(Text(picture.textKey));
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
    button.SetWindowText(Text(key));
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

void CPimWnd::ShowModule(int module) {
  if (module != kMessages && module != kCalendar) module = kContacts;
  m_module = module;
  bool contacts = module == kContacts, messages = module == kMessages, calendar = module == kCalendar;
  ShowControl(m_hWnd, IDC_CONTACT_LIST, contacts);
  ShowControl(m_hWnd, IDC_CONTACT_GROUP_TREE, contacts);
  ShowControl(m_hWnd, IDC_CONTACT_SEARCH, contacts);
  // In conversation mode the messages show their conversation tree instead.
  ShowControl(m_hWnd, IDC_SMS_LIST, messages && !m_conversationMode);
  ShowControl(m_hWnd, IDC_SMS_FOLDER_TREE, messages && !m_conversationMode);
  ShowControl(m_hWnd, IDC_SMS_CHAT_TREE, messages && m_conversationMode);
  ShowControl(m_hWnd, IDC_SMS_SEARCH, messages);
  ::EnableWindow(GetDlgItem(IDC_SMS_SEARCH), !m_conversationMode);
  ShowControl(m_hWnd, IDC_CALENDAR_LIST, calendar);
  ShowControl(m_hWnd, IDC_CALENDAR_SEARCH, calendar);
  ShowControl(m_hWnd, IDC_CALENDAR_VIEW_AREA, false);
  ShowControl(m_hWnd, IDC_SIDE_FOOTER, false);
  for (const ToolButton& tool : kToolButtons) ShowControl(m_hWnd, tool.id, tool.module == module);
  for (const PictureButton& picture : kPictureButtons) ShowControl(m_hWnd, picture.id, picture.module == module);
  if (m_tab.SendMessage(TCM_GETCURSEL) != module - 1) m_tab.SendMessage(TCM_SETCURSEL, module - 1);
}

LRESULT CPimWnd::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  LoadMenuImages();
  // The window's own controls first; the skin then binds whatever is left.
  DoDataExchange(false);
  SkinControls();
  InitSkin();
  RegSoftConnectNotify(m_hWnd);
  SetWindowText(L"pim");
  ShowModule(kContacts);
  SetTimer(kDateTimer, kDateTimerPeriod);
  // The window sits in the host's frame: it is never moved by the user.
  if (HMENU system = ::GetSystemMenu(m_hWnd, FALSE)) ::DeleteMenu(system, SC_MOVE, MF_BYCOMMAND);
  return FALSE;  // focus not set
}

LRESULT CPimWnd::OnTabSelChange(int, LPNMHDR, BOOL&) {
  int index = static_cast<int>(m_tab.SendMessage(TCM_GETCURSEL));
  ShowModule(index == 1 ? kMessages : index == 2 ? kCalendar : kContacts);
  return 0;
}

LRESULT CPimWnd::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  KillTimer(kDateTimer);
  // No unregistering from the connection library: it has no such call and
  // forgets a window when the window is destroyed.
  bHandled = FALSE;
  return 0;
}

LRESULT CPimWnd::OnShowWindow(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
  if (wParam && !m_loaded) m_loaded = true;  // the first show after creation or a disconnect loads
  bHandled = FALSE;
  return 0;
}

LRESULT CPimWnd::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
  if (wParam != kDateTimer) {
    bHandled = FALSE;
    return 0;
  }
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  if (m_lastTickDate.wYear == 0) {
    m_lastTickDate = now;  // the first tick only remembers the date
    return 0;
  }
  if (now.wYear != m_lastTickDate.wYear || now.wMonth != m_lastTickDate.wMonth || now.wDay != m_lastTickDate.wDay)
    m_lastTickDate = now;
  return 0;
}

LRESULT CPimWnd::OnDeviceDisconnected(UINT, WPARAM, LPARAM, BOOL&) {
  m_loaded = false;  // the next show loads everything again
  m_multiDelete = false;
  m_conversationMode = false;
  for (CQsSearchEdit* field : {&m_contactSearch, &m_smsSearch, &m_calendarSearch}) field->SetWindowText(L"");
  ShowModule(kContacts);
  return 0;
}
