// CAppWindowBase<T>: the host-facing properties of an application window,
// the first base of the plug-in's main window. CExportAppInterfaceImpl
// forwards the host's calls to these operations.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "frame/AppInterface.h"

template <class T>
class CAppWindowBase {
 public:
  CAppWindowBase(std::wstring viewUri, std::wstring name, std::wstring title, uint32_t param, bool flag)
      : m_param(param), m_viewUri(std::move(viewUri)), m_name(std::move(name)), m_title(std::move(title)),
        m_flag(flag) {}
  CAppWindowBase(const CAppWindowBase&) = delete;
  CAppWindowBase& operator=(const CAppWindowBase&) = delete;

  // Slot order is what the interface implementation forwards to.
  virtual const std::wstring& GetViewUri() { return m_viewUri; }        // 1
  virtual const std::wstring& GetAppName() { return m_name; }           // 2
  virtual const std::wstring& GetAppTitle() { return m_title; }         // 3
  virtual uint32_t GetAppParam() { return m_param; }                    // 4
  virtual int SetAppParam(uint32_t param) {                             // 5
    m_param = param;
    return 0;
  }
  virtual Gdiplus::Image** GetMenuImages() { return m_menuImages; }     // 6
  virtual void SetAppHost(IAppHost* host) { m_pHost = host; }           // 7
  virtual void OnHostHookA(uint32_t) {}                                 // 8
  virtual void OnHostHookB(uint32_t) {}                                 // 9
  virtual void OnHostHookC() {}                                         // 10
  virtual void OnHostHookD() {}                                         // 11
  virtual void SetHostInfo(AppHostInfo info) {                          // 12
    m_hostInfo = info;
    HWND parent = info.Parent();
    HWND self = static_cast<T*>(this)->m_hWnd;
    if (parent && self && ::IsWindow(self)) ::SetParent(self, parent);
  }
  virtual bool GetAppFlag() { return m_flag; }                          // 13
  virtual void OnHostPair(AppPair*) {}                                  // 14
  virtual void OnHostHookE() {}                                         // 15
  virtual bool HostQueryA() { return false; }                           // 16
  virtual bool HostQueryB() { return false; }                           // 17

 protected:
  // Not virtual, so the 17 operations are the base's whole table; the window
  // is deleted as its own class, whose destructor is virtual.
  ~CAppWindowBase() = default;

  uint32_t m_param;
  std::wstring m_viewUri;
  std::wstring m_name;
  std::wstring m_title;
  Gdiplus::Image* m_menuImages[kMenuImageCount] = {};
  AppHostInfo m_hostInfo;
  IAppHost* m_pHost = nullptr;
  bool m_flag;
};
