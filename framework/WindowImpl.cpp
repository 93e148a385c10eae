#include "WindowImpl.h"

#include "DialogImpl.h"

namespace wf {

void ReportStrayException(const char* where, const char* what) {
  char line[512];
  wsprintfA(line, "wf: exception in %s: %s\n", where, what);
  ::OutputDebugStringA(line);
}

void*& PendingDialogObject() {
  thread_local void* pending = nullptr;
  return pending;
}

}  // namespace wf
