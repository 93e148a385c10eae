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
TAMIXCONNECT_API BOOL RegSoftConnectNotify(HWND window);

// Host side: the host calls this when the cable is plugged in or pulled out.
// A change is posted to every registered window that still exists, in order;
// setting the state it already has posts nothing.
TAMIXCONNECT_API void SetDeviceConnected(bool connected);
TAMIXCONNECT_API bool IsDeviceConnected();
TAMIXCONNECT_API BOOL UnregSoftConnectNotify(HWND window);
