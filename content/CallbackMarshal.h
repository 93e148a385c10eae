// Brings the data-provider library's callbacks onto the user-interface thread.
//
// The library may call back on a thread of its own, and the records of a
// reply are the library's only until the callback returns. A callback
// therefore hands its work to the user-interface thread with a sent message:
// the library's thread waits while the user-interface thread runs the work,
// so the records are still valid, and callbacks run one after another in the
// order they arrived. A callback that already runs on the user-interface
// thread runs its work at once.
//
// Create the marshal on the user-interface thread (a controller's
// constructor); Close it before destroying the library's objects, so that an
// answer still under way finds nothing to run.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>

namespace content {

class CCallbackMarshal {
 public:
  CCallbackMarshal();
  ~CCallbackMarshal();
  CCallbackMarshal(const CCallbackMarshal&) = delete;
  CCallbackMarshal& operator=(const CCallbackMarshal&) = delete;

  // Runs `work` on the user-interface thread and answers its result, or
  // `closedAnswer` when the marshal is closed.
  bool Call(const std::function<bool()>& work, bool closedAnswer = true);

  // From now on nothing runs. May be called from any thread.
  void Close() { m_closed = true; }
  bool IsClosed() const { return m_closed; }
  bool OnUiThread() const { return ::GetCurrentThreadId() == m_threadId; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_window = nullptr;
  DWORD m_threadId = 0;
  std::atomic<bool> m_closed{false};
};

}  // namespace content
