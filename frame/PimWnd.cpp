#include "frame/PimWnd.h"

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

void CPimWnd::LoadMenuImages() {
  for (int i = 0; i < kMenuImageCount; ++i) {
    Gdiplus::Image* image = nullptr;
    GetImage(kMenuImageNames[i], image);
    m_menuImages[i] = image;
  }
}

LRESULT CPimWnd::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  LoadMenuImages();
  RegSoftConnectNotify(m_hWnd);
  SetWindowText(L"pim");
  SetTimer(kDateTimer, kDateTimerPeriod);
  // The window sits in the host's frame: it is never moved by the user.
  if (HMENU system = ::GetSystemMenu(m_hWnd, FALSE)) ::DeleteMenu(system, SC_MOVE, MF_BYCOMMAND);
  return FALSE;  // focus not set
}

LRESULT CPimWnd::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  KillTimer(kDateTimer);
  UnregSoftConnectNotify(m_hWnd);
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
  m_module = kContacts;
  return 0;
}
