// The plug-in's two exports. Loading the library does nothing beyond static
// initialisation; everything starts with CreateAppInterface.
#include <windows.h>

#include <new>

#include "frame/AppInterface.h"
#include "frame/DialogTemplates.h"
#include "frame/ExportAppInterfaceImpl.h"
#include "frame/PimWnd.h"
#include "frame/suite/BaseLibrary.h"
#include "content/CallbackMarshal.h"
#include "framework/Module.h"
#include "framework/WindowImpl.h"

using CPimApplication = CExportAppInterfaceImpl<CPimWnd>;

namespace {
// An exception that reached a window procedure goes to the error log too.
void LogStrayException(const char* line) { LOG::E(PIM_ERROR_LOG, "%s", line); }
}  // namespace

extern "C" IApplication* CreateAppInterface(HINSTANCE resourceModule) {
  wf::SetResourceInstance(resourceModule);
  SetDialogTemplateInstance(resourceModule);
  wf::SetStrayExceptionReporter(&LogStrayException);
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
  application = nullptr;
  impl->Destroy();
  // A host may release the plug-in from a loop that runs inside the plug-in's
  // own callback work (a message box of an answer, say): the frames of that
  // work still use the window object, and the library is waiting for them.
  // The object goes once the work has returned; at once otherwise.
  content::RunAfterCallbackWork([impl] {
    delete impl;  // deletes the window object through its virtual destructor
  });
}
