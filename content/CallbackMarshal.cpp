#include "content/CallbackMarshal.h"

#include <deque>
#include <exception>

#include "frame/suite/BaseLibrary.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace content {
namespace {

constexpr UINT kRunWork = WM_APP + 0x51;
constexpr wchar_t kClassName[] = L"PimCallbackMarshal";

// The answer of a sent work item: the sender learns from the message result
// whether the work ran and what it answered, so nothing on its stack is
// touched once it has been released.
constexpr LRESULT kNotRun = 0;
constexpr LRESULT kRanFalse = 1;
constexpr LRESULT kRanTrue = 2;

struct Work {
  const CCallbackMarshal* marshal;
  const std::function<bool()>* work;
};

// Callback work running on this thread, and the steps that wait for it.
struct ThreadWork {
  int depth = 0;
  std::deque<std::function<void()>> after;
};
ThreadWork& ThisThread() {
  thread_local ThreadWork state;
  return state;
}

// Runs `work` as callback work; answers kNotRun when it threw.
LRESULT RunGuarded(const std::function<bool()>& work) {
  ThreadWork& state = ThisThread();
  ++state.depth;
  LRESULT answer = kNotRun;
  try {
    answer = work() ? kRanTrue : kRanFalse;
  } catch (const std::exception& e) {
    LOG::E(PIM_ERROR_LOG, "A provider callback failed: %s", e.what());
  } catch (...) {
    LOG::E(PIM_ERROR_LOG, "A provider callback failed");
  }
  --state.depth;
  return answer;
}

// Runs the steps kept for the end of callback work (only at the outermost level).
void RunKeptSteps() {
  ThreadWork& state = ThisThread();
  while (state.depth == 0 && !state.after.empty()) {
    std::function<void()> step = std::move(state.after.front());
    state.after.pop_front();
    try {
      step();
    } catch (const std::exception& e) {
      LOG::E(PIM_ERROR_LOG, "A step after callback work failed: %s", e.what());
    } catch (...) {
      LOG::E(PIM_ERROR_LOG, "A step after callback work failed");
    }
  }
}

}  // namespace

bool InCallbackWork() { return ThisThread().depth > 0; }

void RunAfterCallbackWork(std::function<void()> step) {
  if (!step) return;
  ThisThread().after.push_back(std::move(step));
  RunKeptSteps();
}

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
  LRESULT answer;
  if (OnUiThread()) {
    answer = RunGuarded(work);
    RunKeptSteps();
  } else {
    HWND window = m_window;
    if (!window) return closedAnswer;
    Work item{this, &work};
    // Nothing of this object may be used after the send: the work may have
    // closed and destroyed it.
    answer = ::SendMessageW(window, kRunWork, 0, reinterpret_cast<LPARAM>(&item));
  }
  return answer == kNotRun ? closedAnswer : answer == kRanTrue;
}

LRESULT CALLBACK CCallbackMarshal::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kRunWork) return ::DefWindowProcW(window, message, wParam, lParam);
  auto* item = reinterpret_cast<Work*>(lParam);
  if (item->marshal->IsClosed()) return kNotRun;  // closed while the work was on its way
  LRESULT answer = RunGuarded(*item->work);
  if (!InCallbackWork() && !ThisThread().after.empty()) {
    // Release the library's thread first: a kept step may cancel or destroy
    // the object whose answer is waiting here.
    ::ReplyMessage(answer);
    RunKeptSteps();
  }
  return answer;
}

}  // namespace content
