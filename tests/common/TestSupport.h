// Helpers shared by the test programs.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace testing_support {

// Runs the thread's pending messages until none is left: what this thread
// posted (clicks, notices) has then been handled. It does not wait for
// anything still to come from other threads; use PumpUntil for that. A
// queue that never runs dry within `maxMilliseconds` fails the test.
void PumpMessages(DWORD maxMilliseconds = 10000);

// Pumps (waiting for messages in between) until `done` answers true; answers
// false if the deadline passed first, which the caller asserts on.
[[nodiscard]] bool PumpUntil(const std::function<bool()>& done, DWORD maxMilliseconds = 20000);

// Plays the user at a window that a modal loop of this thread shows (a
// message box, a dialog): while the object lives, a thread timer looks for a
// visible top-level window of this thread titled `caption` and runs `act` on
// it once. A dialog reads as hidden, every control included, until its modal
// loop first runs dry, so nothing is read or pressed before that. If no such
// window shows within `maxMilliseconds` the test fails and the dialogs of this
// thread are cancelled so that the loop ends.
class AnswerWhenShown {
 public:
  AnswerWhenShown(std::wstring caption, std::function<void(HWND)> act, DWORD maxMilliseconds = 20000);
  ~AnswerWhenShown();
  AnswerWhenShown(const AnswerWhenShown&) = delete;
  AnswerWhenShown& operator=(const AnswerWhenShown&) = delete;
  bool acted() const { return m_acted; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD);
  void Poll();

  std::wstring m_caption;
  std::function<void(HWND)> m_act;
  DWORD m_start;
  DWORD m_limit;
  UINT_PTR m_timer = 0;
  bool m_done = false;   // acted or gave up
  bool m_acted = false;
};

// Presses a button of a dialog the way a click does: WM_COMMAND with
// BN_CLICKED, posted so that the dialog's own loop handles it.
void PressButton(HWND dialog, int id);

// A top-level window of a plain class to parent test windows.
HWND CreateTestParent(int width = 800, int height = 600, const wchar_t* title = L"test parent");

// A fresh temporary folder (removed with its contents by the destructor).
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& path() const { return m_path; }
  std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }

 private:
  std::wstring m_path;
};

// The folder of the running test program.
std::wstring ProgramFolder();

// Reads a whole file (binary).
std::string ReadFile(const std::wstring& path);

// Counts the windows this thread creates while it lives.
class WindowCreationCount {
 public:
  WindowCreationCount() {
    s_count = 0;
    m_hook = ::SetWindowsHookExW(WH_CBT, &OnCbt, nullptr, ::GetCurrentThreadId());
  }
  ~WindowCreationCount() {
    if (m_hook) ::UnhookWindowsHookEx(m_hook);
  }
  bool hooked() const { return m_hook != nullptr; }
  int count() const { return s_count; }

 private:
  static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) ++s_count;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline int s_count = 0;
  HHOOK m_hook = nullptr;
};

}  // namespace testing_support
