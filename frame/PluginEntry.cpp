// The plug-in's two exports. Loading the library does nothing beyond static
// initialisation; everything starts with CreateAppInterface.
#include <windows.h>

#include <new>

#include "frame/AppInterface.h"
#include "frame/DialogTemplates.h"
#include "frame/ExportAppInterfaceImpl.h"
#include "frame/PimWnd.h"
#include "framework/Module.h"

using CPimApplication = CExportAppInterfaceImpl<CPimWnd>;

extern "C" IApplication* CreateAppInterface(HINSTANCE resourceModule) {
  wf::SetResourceInstance(resourceModule);
  SetDialogTemplateInstance(resourceModule);
  auto* application = new (std::nothrow) CPimApplication();
  if (!application) return nullptr;
  application->m_pWnd = new (std::nothrow) CPimWnd();
  if (!application->m_pWnd) {
    delete application;
    return nullptr;
  }
  return application;
}

extern "C" void DestroyAppInterface(IApplication*& application) {
  if (!application) return;
  auto* impl = static_cast<CPimApplication*>(application);
  impl->Destroy();
  delete impl;  // deletes the window object through its virtual destructor
  application = nullptr;
}
