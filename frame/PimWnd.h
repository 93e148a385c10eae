// CPimWnd: the plug-in's main window inside the host's frame, a modeless
// dialog made from template IDD_PIM_MAIN of the resource module.
#pragma once
#include <windows.h>

#include <cstdint>

#include "frame/AppWindowBase.h"
#include "frame/resmodule/PimResIds.h"
#include "framework/DataExchange.h"
#include "framework/DialogImpl.h"

// Timer that watches the local date so that "today" moves at midnight.
constexpr UINT_PTR kDateTimer = 312;
constexpr UINT kDateTimerPeriod = 1000;

class CPimWnd : public CAppWindowBase<CPimWnd>,
                public wf::CDialogImpl<CPimWnd>,
                public wf::CWinDataExchange<CPimWnd> {
 public:
  enum { IDD = IDD_PIM_MAIN };
  enum Module { kContacts = 1, kMessages = 2, kCalendar = 3 };

  CPimWnd();
  ~CPimWnd() override;

  // Creates the window from the resource module's template, with the module's
  // common-controls manifest active so that its controls are version 6.
  HWND Create(HWND parent);

  // Operations of the main window beyond the host-facing ones.
  virtual bool OnModuleCommandA(uint32_t, uint32_t, uint32_t, uint32_t) { return true; }
  virtual bool OnModuleCommandB(uint32_t, uint32_t, uint32_t, uint32_t) { return true; }
  virtual bool OnModuleCommandC(uint32_t, uint32_t, uint32_t, uint32_t) { return true; }

  int CurrentModule() const { return m_module; }
  bool IsLoaded() const { return m_loaded; }
  bool IsMultiDelete() const { return m_multiDelete; }

  BEGIN_MSG_MAP(CPimWnd)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_SHOWWINDOW, OnShowWindow)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(0x3421, OnDeviceConnected)
    MESSAGE_HANDLER(0x3422, OnDeviceDisconnected)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnShowWindow(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDeviceConnected(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  LRESULT OnDeviceDisconnected(UINT, WPARAM, LPARAM, BOOL&);

  void LoadMenuImages();

  int m_module = kContacts;
  bool m_loaded = false;
  bool m_multiDelete = false;
  SYSTEMTIME m_lastTickDate{};  // wYear 0 until the first tick
};
