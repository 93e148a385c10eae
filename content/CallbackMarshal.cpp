#include "content/CallbackMarshal.h"

#include "frame/suite/BaseLibrary.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace content {
namespace {

constexpr UINT kRunWork = WM_APP + 0x51;
constexpr wchar_t kClassName[] = L"PimCallbackMarshal";

struct Work {
  const CCallbackMarshal* marshal;
  const std::function<bool()>* work;
  bool ran = false;
  bool result = true;
};

}  // namespace

CCallbackMarshal::CCallbackMarshal() : m_threadId(::GetCurrentThreadId()) {
  HINSTANCE module = reinterpret_cast<HINSTANCE>(&__ImageBase);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!::GetClassInfoExW(module, kClassName, &wc)) {
    wc.lpfnWndProc = &CCallbackMarshal::WindowProc;
    wc.hInstance = module;
    wc.lpszClassName = kClassName;
    ::RegisterClassExW(&wc);
  }
  // A message-only window: it exists to receive the sent work.
  m_window = ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, nullptr);
  if (!m_window) LOG::E(PIM_ERROR_LOG, "CCallbackMarshal: cannot create its window (error %lu)", ::GetLastError());
}

CCallbackMarshal::~CCallbackMarshal() {
  Close();
  if (m_window) ::DestroyWindow(m_window);
}

bool CCallbackMarshal::Call(const std::function<bool()>& work, bool closedAnswer) {
  if (m_closed) return closedAnswer;
  if (OnUiThread()) return work();
  if (!m_window) return closedAnswer;
  Work item{this, &work};
  ::SendMessageW(m_window, kRunWork, 0, reinterpret_cast<LPARAM>(&item));
  return item.ran ? item.result : closedAnswer;
}

LRESULT CALLBACK CCallbackMarshal::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kRunWork) return ::DefWindowProcW(window, message, wParam, lParam);
  auto* item = reinterpret_cast<Work*>(lParam);
  if (item->marshal->IsClosed()) return 0;  // closed while the work was on its way
  try {
    item->result = (*item->work)();
    item->ran = true;
  } catch (const std::exception& e) {
    LOG::E(PIM_ERROR_LOG, "A provider callback failed: %s", e.what());
  } catch (...) {
    LOG::E(PIM_ERROR_LOG, "A provider callback failed");
  }
  return 0;
}

}  // namespace content
