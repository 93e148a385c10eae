// Private messages between skinned controls and the windows that hold them.
#pragma once
#include <windows.h>

// Child → parent (sent): paint your background under me into this off-screen
// context. wParam: the HDC (in the child's client coordinates); lParam: the child.
constexpr UINT WM_QS_PAINTBACKGROUND = 0x2401;
// Child → parent (posted): the mouse came over me or left me. wParam: my id.
constexpr UINT WM_QS_HOVERCHANGED = 0x2402;
// Search field → parent (sent): search with my text now. wParam, lParam: 0.
constexpr UINT WM_QS_SEARCH = 0x2404;
