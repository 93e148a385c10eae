// RAII for GDI handles and selections, and an off-screen buffer for
// double-buffered painting.
#pragma once
#include <windows.h>

#include <functional>
#include <utility>

namespace wf {

// Owns one GDI object (pen, brush, font, bitmap, region) and deletes it.
template <class H>
class ScopedGdiObject {
 public:
  explicit ScopedGdiObject(H handle = nullptr) : m_handle(handle) {}
  ~ScopedGdiObject() { Reset(); }
  ScopedGdiObject(ScopedGdiObject&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
  ScopedGdiObject& operator=(ScopedGdiObject&& other) noexcept {
    if (this != &other) { Reset(); m_handle = std::exchange(other.m_handle, nullptr); }
    return *this;
  }
  ScopedGdiObject(const ScopedGdiObject&) = delete;
  ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;

  H Get() const { return m_handle; }
  operator H() const { return m_handle; }
  H Release() { return std::exchange(m_handle, nullptr); }
  void Reset(H handle = nullptr) {
    if (m_handle) ::DeleteObject(m_handle);
    m_handle = handle;
  }

 private:
  H m_handle;
};

using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedPen = ScopedGdiObject<HPEN>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedRegion = ScopedGdiObject<HRGN>;

// Selects an object into a DC for the lifetime of the guard.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(object ? ::SelectObject(dc, object) : nullptr) {}
  ~ScopedSelect() { if (m_old) ::SelectObject(m_dc, m_old); }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_old;
};

// BeginPaint / EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND hWnd) : m_hWnd(hWnd) { m_dc = ::BeginPaint(hWnd, &m_ps); }
  ~PaintDC() { ::EndPaint(m_hWnd, &m_ps); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  operator HDC() const { return m_dc; }
  const PAINTSTRUCT& ps() const { return m_ps; }

 private:
  HWND m_hWnd;
  PAINTSTRUCT m_ps{};
  HDC m_dc;
};

// GetDC / ReleaseDC.
class ClientDC {
 public:
  explicit ClientDC(HWND hWnd) : m_hWnd(hWnd), m_dc(::GetDC(hWnd)) {}
  ~ClientDC() { if (m_dc) ::ReleaseDC(m_hWnd, m_dc); }
  ClientDC(const ClientDC&) = delete;
  ClientDC& operator=(const ClientDC&) = delete;
  operator HDC() const { return m_dc; }

 private:
  HWND m_hWnd;
  HDC m_dc;
};

// A memory DC with a bitmap of the given size selected; 32 bits per pixel
// top-down DIB so tests and screenshots can read the pixels directly.
class MemoryCanvas {
 public:
  MemoryCanvas(HDC compatible, int width, int height);
  ~MemoryCanvas();
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;

  HDC dc() const { return m_dc; }
  operator HDC() const { return m_dc; }
  HBITMAP bitmap() const { return m_bitmap; }
  int width() const { return m_width; }
  int height() const { return m_height; }
  bool valid() const { return m_dc && m_bitmap; }
  // Pixel as 0x00RRGGBB (COLORREF order is 0x00BBGGRR: use GetPixelRef).
  COLORREF GetPixelRef(int x, int y) const;
  const DWORD* bits() const { return m_bits; }

 private:
  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
  DWORD* m_bits = nullptr;
  int m_width = 0;
  int m_height = 0;
};

// Answers WM_PAINT through an off-screen buffer of the part to repaint, so a
// window that repaints often (scrolling) does not flicker: `paint` draws in
// window coordinates into the buffer's DC, limited to the given clip.
void PaintBuffered(HWND window, const std::function<void(HDC, const RECT&)>& paint);

}  // namespace wf
