// What the connection library stand-in (TamixConnect.dll) offers beyond the
// suite's connection library: the host plugs the simulated handset in and out
// here, the data-provider stand-in asks whether it is plugged in, and tests
// drive both. The plug-in never includes this header.
#pragma once
#include "frame/suite/ConnectLibrary.h"

// The host calls this when the cable is plugged in or pulled out. A change is
// posted to every registered window that still exists, in order of
// registration; setting the state it already has posts nothing.
TAMIXCONNECT_API void SetDeviceConnected(bool connected);
TAMIXCONNECT_API bool IsDeviceConnected();

// Ends a window's registration before the window is destroyed (tests use it;
// a destroyed window needs no call). Answers whether it was registered.
TAMIXCONNECT_API BOOL UnregSoftConnectNotify(HWND window);
