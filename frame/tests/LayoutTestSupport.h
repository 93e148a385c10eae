// Rectangles in the layout tests: compared and printed by value.
#pragma once
#include <windows.h>

#include <ostream>

// At global scope, where argument-dependent lookup finds them for RECT.
inline bool operator==(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }
inline std::ostream& operator<<(std::ostream& out, const RECT& rc) {
  return out << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
}

// The packed form of the layout's point properties: low word x, high word y.
inline HANDLE PackedPoint(int x, int y) {
  return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(static_cast<DWORD>(MAKELONG(x, y))));
}
