// Activates a module's manifest (an RT_MANIFEST resource) for the life of the
// guard, so that windows made meanwhile get the common controls it names.
// A module without that manifest leaves the caller's context as it is.
#pragma once
#include <windows.h>

namespace wf {

class ScopedActivationContext {
 public:
  ScopedActivationContext(HMODULE module, WORD manifestId);
  ~ScopedActivationContext();
  ScopedActivationContext(const ScopedActivationContext&) = delete;
  ScopedActivationContext& operator=(const ScopedActivationContext&) = delete;
  bool active() const { return m_cookie != 0; }

 private:
  HANDLE m_context = INVALID_HANDLE_VALUE;
  ULONG_PTR m_cookie = 0;
};

}  // namespace wf
