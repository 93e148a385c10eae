// CExportAppInterfaceImpl<TWnd>: the IApplication the host receives. It owns
// the one main-window object and forwards every operation to it.
#pragma once
#include <windows.h>

#include "frame/AppInterface.h"

template <class TWnd>
class CExportAppInterfaceImpl final : public IApplication {
 public:
  CExportAppInterfaceImpl() = default;
  CExportAppInterfaceImpl(const CExportAppInterfaceImpl&) = delete;
  CExportAppInterfaceImpl& operator=(const CExportAppInterfaceImpl&) = delete;
  ~CExportAppInterfaceImpl() { delete m_pWnd; }

  const std::wstring& GetViewUri() override { return m_pWnd->GetViewUri(); }
  const std::wstring& GetAppName() override { return m_pWnd->GetAppName(); }
  const std::wstring& GetAppTitle() override { return m_pWnd->GetAppTitle(); }
  uint32_t GetAppParam() override { return m_pWnd->GetAppParam(); }
  Gdiplus::Image** GetMenuImages() override { return m_pWnd->GetMenuImages(); }
  void SetHostInfo(AppHostInfo info) override { m_pWnd->SetHostInfo(info); }
  void SetAppHost(IAppHost* host) override { m_pWnd->SetAppHost(host); }
  // The stored handle goes to the platform unchecked, as the host expects.
  BOOL ShowApp(int showCommand) override { return ::ShowWindow(m_pWnd->m_hWnd, showCommand); }
  bool GetAppFlag() override { return m_pWnd->GetAppFlag(); }
  void ReservedPair(uint32_t first, uint32_t second) override {
    AppPair pair{first, second};
    m_pWnd->OnHostPair(&pair);
  }
  void ReservedVoid() override { m_pWnd->OnHostHookE(); }

  HWND Create(HWND parent) override {
    if (m_pWnd->m_hWnd && ::IsWindow(m_pWnd->m_hWnd)) {
      ::SetParent(m_pWnd->m_hWnd, parent);
      return m_pWnd->m_hWnd;
    }
    if (!parent) parent = ::FindWindowW(nullptr, TAMIX_SHELL_TITLE);
    HWND window = m_pWnd->Create(parent);
    if (window) ::ShowWindow(window, SW_HIDE);
    return window;
  }

  void Destroy() override {
    if (m_pWnd->m_hWnd && ::IsWindow(m_pWnd->m_hWnd)) ::DestroyWindow(m_pWnd->m_hWnd);
  }

  bool Move(const RECT& rect) override {
    ::MoveWindow(m_pWnd->m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    return true;
  }

  bool ReservedTrueA() override { return true; }
  bool ReservedTrueB() override { return true; }
  bool ReservedFalseA() override { return false; }
  bool ReservedFalseB() override { return false; }

  TWnd* m_pWnd = nullptr;
};
