// CPimWnd: the plug-in's main window inside the host's frame, a modeless
// dialog made from template IDD_PIM_MAIN of the resource module. It holds the
// three modules (contacts, messages, calendar) — each a list, a side tree, a
// search field and a toolbar — and switches between them with its tabs.
#pragma once
#include <windows.h>

#include <cstdint>
#include <map>

#include "calendar/CalendarCtrl.h"
#include "calendar/CalendarOperate.h"
#include "calendar/CalendarSupport.h"
#include "calendar/CalendarViewCtrl.h"
#include "contact/ContactOperate.h"
#include "content/PimMessages.h"
#include "controls/QsButton.h"
#include "controls/QsControls.h"
#include "controls/QsEdit.h"
#include "controls/QsTreeView.h"
#include "controls/SkinWindow.h"
#include "controls/SuperGrid.h"
#include "frame/AppWindowBase.h"
#include "frame/DialogLayout.h"
#include "frame/resmodule/PimResIds.h"
#include "frame/suite/ConnectLibrary.h"
#include "framework/DataExchange.h"
#include "framework/DialogImpl.h"
#include "message/SMSOperate.h"

// Timer that watches the local date so that "today" moves at midnight.
constexpr UINT_PTR kDateTimer = 312;
constexpr UINT kDateTimerPeriod = 1000;

class CPimWnd : public CAppWindowBase<CPimWnd>,
                public CQsSkinWindowUI<CPimWnd, 0>,
                public wf::CDialogImpl<CPimWnd>,
                public wf::CWinDataExchange<CPimWnd>,
                public CDialogLayout<CPimWnd> {
 public:
  enum { IDD = IDD_PIM_MAIN };
  enum Module { kContacts = 1, kMessages = 2, kCalendar = 3 };
  using SkinBase = CQsSkinWindowUI<CPimWnd, 0>;
  using LayoutBase = CDialogLayout<CPimWnd>;

  CPimWnd();

  // Operations of the main window beyond the host-facing ones. Slot order: the
  // 17 of CAppWindowBase, then these three. They come before the destructor
  // and the message map because g++ also gives an overrider of another base's
  // virtual function a slot of this table, where it is declared.
  virtual bool OnModuleCommandA(uint32_t, uint32_t, uint32_t, uint32_t) { return true; }
  virtual bool OnModuleCommandB(uint32_t, uint32_t, uint32_t, uint32_t) { return true; }
  virtual bool OnModuleCommandC(uint32_t, uint32_t, uint32_t, uint32_t) { return true; }

  ~CPimWnd() override;

  // Creates the window from the resource module's template, with the module's
  // common-controls manifest active so that its controls are version 6.
  HWND Create(HWND parent);

  // The layout map (called by the layout base at initialisation).
  void DefineLayout();

  // Shows one module's list, tree, search field and toolbar and hides the
  // other modules'.
  void ShowModule(int module);

  int CurrentModule() const { return m_module; }
  bool IsLoaded() const { return m_loaded; }
  bool IsMultiDelete() const { return m_multiDelete; }
  int MultiDeleteCount() const { return m_checkCount; }
  // The local date of the last tick of the date timer (year 0 before the first).
  const SYSTEMTIME& TickDate() const { return m_lastTickDate; }
  CQsButton& Button(int id) { return m_buttons[id]; }
  CQsTabCtrl& Tabs() { return m_tab; }
  CQsSuperGrid& ContactList() { return m_contactList; }
  CQsSuperGrid& CalendarList() { return m_calendarList; }
  CQSTreeView& ContactTree() { return m_contactTree; }
  CQsSearchEdit& ContactSearch() { return m_contactSearch; }
  CContactOperate& Contacts() { return m_contactOperate; }
  CQsSuperGrid& MessageList() { return m_smsList; }
  CQSTreeView& FolderTree() { return m_folderTree; }
  CQSTreeView& ChatTree() { return m_chatTree; }
  CQsSearchEdit& MessageSearch() { return m_smsSearch; }
  CSMSOperate& Messages() { return m_smsOperate; }
  CCalendarOperate& Calendar() { return m_calendarOperate; }
  CCalendarCtrl& MiniCalendar() { return m_miniCalendar; }
  CCalendarViewCtrl& CalendarView() { return m_calendarView; }
  // The calendar's view buttons: list, day, week, month.
  enum CalendarViewKind { kViewList = IDC_CALENDAR_VIEW_LIST, kViewDay = IDC_CALENDAR_VIEW_DAY,
                          kViewWeek = IDC_CALENDAR_VIEW_WEEK, kViewMonth = IDC_CALENDAR_VIEW_MONTH };
  void ShowCalendarView(int viewButton);
  int CalendarViewButton() const { return m_calendarViewButton; }

  BEGIN_DDX_MAP(CPimWnd)
    DDX_CONTROL(IDC_MODULE_TAB, m_tab)
    DDX_CONTROL(IDC_CONTACT_GROUP_TREE, m_contactTree)
    DDX_CONTROL(IDC_SMS_FOLDER_TREE, m_folderTree)
    DDX_CONTROL(IDC_SMS_CHAT_TREE, m_chatTree)
    DDX_CONTROL(IDC_CONTACT_SEARCH, m_contactSearch)
    DDX_CONTROL(IDC_SMS_SEARCH, m_smsSearch)
    DDX_CONTROL(IDC_CALENDAR_SEARCH, m_calendarSearch)
    DDX_CONTROL(IDC_CONTACT_LIST, m_contactList)
    DDX_CONTROL(IDC_SMS_LIST, m_smsList)
    DDX_CONTROL(IDC_CALENDAR_LIST, m_calendarList)
    DDX_CONTROL(IDC_BUSY_CONTACT, m_busy[0])
    DDX_CONTROL(IDC_BUSY_SMS, m_busy[1])
    DDX_CONTROL(IDC_BUSY_CALENDAR, m_busy[2])
  END_DDX_MAP()

  BEGIN_MSG_MAP(CPimWnd)
    CHAIN_MSG_MAP(LayoutBase)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_MOVE, OnMove)
    MESSAGE_HANDLER(WM_SHOWWINDOW, OnShowWindow)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_DEVICE_CONNECTED, OnDeviceConnected)
    MESSAGE_HANDLER(WM_DEVICE_DISCONNECTED, OnDeviceDisconnected)
    MESSAGE_HANDLER(pim_msg::kSearch, OnSearchMessage)
    MESSAGE_HANDLER(pim_msg::kHideWait, OnHideWait)
    MESSAGE_HANDLER(pim_msg::kShowEventDetail, OnShowEventDetail)
    MESSAGE_HANDLER(pim_msg::kEditEvent, OnEditEvent)
    MESSAGE_HANDLER(pim_msg::kImportExportStep, OnImportExportStep)
    MESSAGE_HANDLER(pim_msg::kContactById, OnContactById)
    MESSAGE_HANDLER(pim_msg::kContactFocus, OnContactFocus)
    MESSAGE_HANDLER(pim_msg::kHideContactCard, OnHideContactCard)
    MESSAGE_HANDLER(pim_msg::kSentFromContacts, OnSentFromContacts)
    MESSAGE_HANDLER(pim_msg::kFillConversations, OnFillConversations)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    NOTIFY_HANDLER(IDC_MODULE_TAB, TCN_SELCHANGE, OnTabSelChange)
    NOTIFY_ID_HANDLER(IDC_CONTACT_LIST, OnContactListNotify)
    NOTIFY_ID_HANDLER(IDC_CONTACT_GROUP_TREE, OnContactTreeNotify)
    NOTIFY_ID_HANDLER(IDC_SMS_LIST, OnMessageListNotify)
    NOTIFY_ID_HANDLER(IDC_SMS_FOLDER_TREE, OnFolderTreeNotify)
    NOTIFY_ID_HANDLER(IDC_SMS_CHAT_TREE, OnChatTreeNotify)
    NOTIFY_ID_HANDLER(IDC_CALENDAR_LIST, OnCalendarListNotify)
    CHAIN_MSG_MAP(SkinBase)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnShowWindow(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDeviceConnected(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  LRESULT OnDeviceDisconnected(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSearchMessage(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnHideWait(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnShowEventDetail(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEditEvent(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnImportExportStep(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnContactById(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnContactFocus(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnHideContactCard(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSentFromContacts(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnFillConversations(UINT, WPARAM, LPARAM lParam, BOOL&) {
    m_smsOperate.ContinueConversationTree(lParam);
    return 0;
  }
  LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTabSelChange(int, LPNMHDR, BOOL&);
  LRESULT OnContactListNotify(int, LPNMHDR, BOOL&);
  static HTREEITEM ChosenItem(CQSTreeView& tree, const NMHDR* header);
  static HTREEITEM ItemAtCursor(CQSTreeView& tree, POINT& cursor);
  LRESULT OnContactTreeNotify(int, LPNMHDR, BOOL&);
  LRESULT OnCalendarListNotify(int, LPNMHDR, BOOL&);
  LRESULT OnMessageListNotify(int, LPNMHDR, BOOL&);
  LRESULT OnFolderTreeNotify(int, LPNMHDR, BOOL&);
  LRESULT OnChatTreeNotify(int, LPNMHDR, BOOL&);

  void LoadMenuImages();
  void SkinControls();
  void InitModules();
  void BuildCalendarMenu();
  void ShowToolbar(int module);
  void Search();
  void SetSearchText(CQsSearchEdit& field, const std::wstring& text);
  CQsSearchEdit& SearchField(int module);
  void EnterMultiDelete();
  void LeaveMultiDelete(bool deleteChecked);
  void SetCheckCount(int count);
  void OnContactCellClick(const NMQSGRIDCELL& cell);
  void OnContactKey(WORD key);
  void OnCalendarKey(WORD key);
  void OnMessageCellClick(const NMQSGRIDCELL& cell);
  void OnMessageKey(WORD key);
  // The folder menu's new folder, within the folder limit.
  void NewMessageFolder();
  void RefreshMessages();
  // The mode buttons of the messages module: the selected one is drawn selected.
  void SetMessageModeButtons(bool conversations);
  void CalendarEdit();
  void CalendarDelete();
  void RefreshCalendar();
  void InitCalendar();
  void SetCalendarViewButtons();
  void ShowImportExportMenu(int buttonId);
  bool ContactsShownAndVisible() const;

  // Controls, bound to the template's by identifier.
  CQsTabCtrl m_tab;
  CQSTreeView m_contactTree, m_folderTree, m_chatTree;
  CQsSearchEdit m_contactSearch, m_smsSearch, m_calendarSearch;
  CQsSuperGrid m_contactList, m_smsList, m_calendarList;
  CQsStatic m_busy[3];
  std::map<int, CQsButton> m_buttons;
  HMENU m_calendarMenu = nullptr;

  // The module controllers; made after the controls they are handed and
  // destroyed before them.
  CContactOperate m_contactOperate;
  CSMSOperate m_smsOperate;
  CCalendarOperate m_calendarOperate;
  // The calendar's own windows, made at initialisation (children of this one).
  CCalendarCtrl m_miniCalendar;
  CCalendarViewCtrl m_calendarView;
  int m_calendarViewButton = kViewList;
  bool m_calendarLoaded = false;  // the calendar was read since the last load

  int m_module = kContacts;
  bool m_loaded = false;
  bool m_multiDelete = false;
  int m_checkCount = 0;           // rows checked in the multi-delete mode
  bool m_messagesLoaded = false;  // the messages were read since the last load
  bool m_contactHadSelection = false;
  bool m_calendarHadSelection = false;
  bool m_settingSearch = false;   // the window itself changes a search field's text
  SYSTEMTIME m_lastTickDate{};    // wYear 0 until the first tick
};
