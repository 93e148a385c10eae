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
// Work never lets an exception out (it would cross into the library): one
// that escapes is written to the error log and the callback answers the
// closed answer.
//
// While callback work runs, the library is waiting for it: the library's
// objects must not be cancelled or destroyed from inside it (the library would
// wait for the very answer that waits for us). RunAfterCallbackWork keeps such
// steps until the outermost work of the thread has returned and the library's
// thread has been released.
//
// Create the marshal on the user-interface thread (a controller's
// constructor); Close it before destroying the library's objects, so that an
// answer still under way finds nothing to run (CProviderOwner does both).
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
  // `closedAnswer` when the marshal is closed or the work failed.
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

// True while callback work of any marshal runs on the calling thread.
bool InCallbackWork();

// Runs `step` now when no callback work runs on this thread; otherwise once
// the outermost work has returned and the library's thread is released, in
// the order the steps were given.
void RunAfterCallbackWork(std::function<void()> step);

}  // namespace content
