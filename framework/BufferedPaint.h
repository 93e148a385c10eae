// The paint, print and erase handlers of a window that draws all of its
// client area itself: WM_PAINT through an off-screen buffer (no flicker),
// WM_PRINTCLIENT straight into the given device context, and no erasing.
// The window class derives from CBufferedPaint<itself>, chains its message
// map to it and provides `void Paint(HDC)`.
#pragma once
#include <windows.h>

#include "framework/Gdi.h"
#include "framework/MessageMap.h"

namespace wf {

template <class T>
class CBufferedPaint {
 public:
  BEGIN_MSG_MAP(CBufferedPaint)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    T* self = static_cast<T*>(this);
    PaintBuffered(self->m_hWnd, [self](HDC dc, const RECT&) { self->Paint(dc); });
    return 0;
  }
  LRESULT OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
    static_cast<T*>(this)->Paint(reinterpret_cast<HDC>(wParam));
    return 0;
  }
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
};

}  // namespace wf
