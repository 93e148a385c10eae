#include "WindowImpl.h"

#include <atomic>
#include <cstdio>

#include "DialogImpl.h"

namespace wf {
namespace {
std::atomic<StrayExceptionReporter> g_reporter{nullptr};
}

void SetStrayExceptionReporter(StrayExceptionReporter reporter) { g_reporter = reporter; }

void ReportStrayException(const char* where, const char* what) {
  // snprintf cuts a long description instead of writing past the line.
  char line[512];
  std::snprintf(line, sizeof(line), "wf: exception in %s: %s", where ? where : "?", what ? what : "?");
  ::OutputDebugStringA(line);
  ::OutputDebugStringA("\n");
  if (StrayExceptionReporter reporter = g_reporter.load()) reporter(line);
}

void*& PendingDialogObject() {
  thread_local void* pending = nullptr;
  return pending;
}

}  // namespace wf
