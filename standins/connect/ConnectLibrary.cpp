// The connection library stand-in: the host says when the handset is plugged
// in or pulled out, and every registered window is told by a posted notice.
//
// Windows do not unregister (the suite's library has no such call), so a
// registration must end with its window. A handle value alone cannot tell:
// after a window is destroyed the system may give the same value to a new
// window. Each registered window therefore carries a property holding its
// registration number, and a notice goes only to a handle whose window still
// carries that number; an entry that fails the test is dropped.

#include "standins/connect/ConnectControl.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

struct Registration {
  HWND window;
  UINT_PTR number;
};

std::mutex g_mutex;  // guards everything below
std::vector<Registration> g_windows;
UINT_PTR g_lastNumber = 0;
bool g_connected = false;

// The property's name as an atom, so that marking a window takes no atom
// reference that the window's destruction would have to give back.
LPCWSTR MarkName() {
  static const ATOM atom = ::GlobalAddAtomW(L"TamixConnect.Registration");
  return MAKEINTATOM(atom);
}

bool IsAlive(const Registration& entry) {
  return ::IsWindow(entry.window) && reinterpret_cast<UINT_PTR>(::GetPropW(entry.window, MarkName())) == entry.number;
}

// Called with g_mutex held.
void ForgetDeadWindows() {
  g_windows.erase(std::remove_if(g_windows.begin(), g_windows.end(), [](const Registration& r) { return !IsAlive(r); }),
                  g_windows.end());
}

}  // namespace

BOOL RegSoftConnectNotify(HWND window) {
  if (!window || !::IsWindow(window)) return FALSE;
  std::lock_guard<std::mutex> lock(g_mutex);
  ForgetDeadWindows();
  if (std::any_of(g_windows.begin(), g_windows.end(), [window](const Registration& r) { return r.window == window; }))
    return TRUE;
  Registration entry{window, ++g_lastNumber};
  if (!::SetPropW(window, MarkName(), reinterpret_cast<HANDLE>(entry.number))) return FALSE;
  g_windows.push_back(entry);
  return TRUE;
}

BOOL UnregSoftConnectNotify(HWND window) {
  std::lock_guard<std::mutex> lock(g_mutex);
  ForgetDeadWindows();
  auto it = std::find_if(g_windows.begin(), g_windows.end(), [window](const Registration& r) { return r.window == window; });
  if (it == g_windows.end()) return FALSE;
  ::RemovePropW(window, MarkName());
  g_windows.erase(it);
  return TRUE;
}

void SetDeviceConnected(bool connected) {
  std::vector<Registration> targets;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_connected == connected) return;
    g_connected = connected;
    ForgetDeadWindows();
    targets = g_windows;
  }
  UINT notice = connected ? WM_DEVICE_CONNECTED : WM_DEVICE_DISCONNECTED;
  for (const Registration& target : targets)
    if (IsAlive(target)) ::PostMessageW(target.window, notice, 0, 0);
}

bool IsDeviceConnected() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_connected;
}
