#include "Module.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace wf {
namespace {
// Written by SetResourceInstance (host thread), read by any thread that loads
// a template: an interlocked pointer keeps the two consistent.
volatile PVOID g_resourceInstance = nullptr;
}  // namespace

HINSTANCE GetCodeInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

HINSTANCE GetResourceInstance() {
  PVOID current = InterlockedCompareExchangePointer(&g_resourceInstance, nullptr, nullptr);
  return current ? static_cast<HINSTANCE>(current) : GetCodeInstance();
}

HINSTANCE SetResourceInstance(HINSTANCE instance) {
  return static_cast<HINSTANCE>(InterlockedExchangePointer(&g_resourceInstance, instance));
}

}  // namespace wf
