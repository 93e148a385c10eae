// The resource module carries dialog templates and a manifest; no code runs in it.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
