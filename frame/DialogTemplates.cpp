#include "frame/DialogTemplates.h"

namespace {
volatile PVOID g_templateInstance = nullptr;
}

HINSTANCE GetDialogTemplateInstance() {
  PVOID module = InterlockedCompareExchangePointer(&g_templateInstance, nullptr, nullptr);
  return module ? static_cast<HINSTANCE>(module) : ::GetModuleHandleW(nullptr);
}

void SetDialogTemplateInstance(HINSTANCE module) { InterlockedExchangePointer(&g_templateInstance, module); }
