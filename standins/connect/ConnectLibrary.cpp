// The connection library stand-in: the host says when the handset is plugged
// in or pulled out, and every registered window is told by a posted notice.

#include "frame/suite/ConnectLibrary.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {
std::mutex g_mutex;
std::vector<HWND> g_windows;
bool g_connected = false;
}  // namespace

BOOL RegSoftConnectNotify(HWND window) {
  if (!window || !::IsWindow(window)) return FALSE;
  std::lock_guard<std::mutex> lock(g_mutex);
  if (std::find(g_windows.begin(), g_windows.end(), window) == g_windows.end()) g_windows.push_back(window);
  return TRUE;
}

BOOL UnregSoftConnectNotify(HWND window) {
  std::lock_guard<std::mutex> lock(g_mutex);
  auto it = std::find(g_windows.begin(), g_windows.end(), window);
  if (it == g_windows.end()) return FALSE;
  g_windows.erase(it);
  return TRUE;
}

void SetDeviceConnected(bool connected) {
  std::vector<HWND> targets;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_connected == connected) return;
    g_connected = connected;
    // Windows that died without unregistering are forgotten here.
    g_windows.erase(std::remove_if(g_windows.begin(), g_windows.end(), [](HWND w) { return !::IsWindow(w); }),
                    g_windows.end());
    targets = g_windows;
  }
  UINT notice = connected ? WM_DEVICE_CONNECTED : WM_DEVICE_DISCONNECTED;
  for (HWND window : targets) ::PostMessageW(window, notice, 0, 0);
}

bool IsDeviceConnected() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_connected;
}
