// GDI+ with the headers it needs before it (mingw-w64's gdiplus.h does not
// include them itself).
#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
