#include "ActivationContext.h"

namespace wf {

ScopedActivationContext::ScopedActivationContext(HMODULE module, WORD manifestId) {
  if (!module || !::FindResourceW(module, MAKEINTRESOURCEW(manifestId), RT_MANIFEST)) return;
  wchar_t path[MAX_PATH];
  if (!::GetModuleFileNameW(module, path, MAX_PATH)) return;
  ACTCTXW context{};
  context.cbSize = sizeof(context);
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
  context.lpSource = path;
  context.lpResourceName = MAKEINTRESOURCEW(manifestId);
  context.hModule = module;
  m_context = ::CreateActCtxW(&context);
  if (m_context != INVALID_HANDLE_VALUE && !::ActivateActCtx(m_context, &m_cookie)) m_cookie = 0;
}

ScopedActivationContext::~ScopedActivationContext() {
  if (m_cookie) ::DeactivateActCtx(0, m_cookie);
  if (m_context != INVALID_HANDLE_VALUE) ::ReleaseActCtx(m_context);
}

}  // namespace wf
