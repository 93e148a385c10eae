// The suite's connection library (TamixConnect.dll): tells registered windows
// when the handset connects or disconnects.
#pragma once
#include <windows.h>

#ifdef TAMIXCONNECT_BUILD
#define TAMIXCONNECT_API __declspec(dllexport)
#else
#define TAMIXCONNECT_API __declspec(dllimport)
#endif

// Posted to every registered window.
constexpr UINT WM_DEVICE_CONNECTED = 0x3421;
constexpr UINT WM_DEVICE_DISCONNECTED = 0x3422;

// Registers a window for the two notices (once per window; again is harmless).
// There is no call to unregister: a registration ends with its window, and a
// later window that happens to get the same handle is not registered by it.
TAMIXCONNECT_API BOOL RegSoftConnectNotify(HWND window);
