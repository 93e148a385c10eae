#include "Screenshot.h"

#include "framework/GdiPlus.h"

#include <vector>

#include "Gdi.h"

namespace wf {
namespace {

bool PngEncoder(CLSID& clsid) {
  UINT count = 0, bytes = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return false;
  std::vector<BYTE> buffer(bytes);
  auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, bytes, encoders) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (wcscmp(encoders[i].MimeType, L"image/png") == 0) {
      clsid = encoders[i].Clsid;
      return true;
    }
  }
  return false;
}

}  // namespace

bool SaveBitmapAsPng(HBITMAP bitmap, const std::wstring& path) {
  CLSID png;
  if (!PngEncoder(png)) return false;
  Gdiplus::Bitmap image(bitmap, nullptr);
  return image.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
}

bool SaveImageAsPng(Gdiplus::Image& image, const std::wstring& path) {
  CLSID png;
  return PngEncoder(png) && image.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
}

bool SaveCanvasAsPng(const MemoryCanvas& canvas, const std::wstring& path) {
  CLSID png;
  if (!canvas.valid() || !PngEncoder(png)) return false;
  ::GdiFlush();
  Gdiplus::Bitmap image(canvas.width(), canvas.height(), canvas.width() * 4, PixelFormat32bppRGB,
                        reinterpret_cast<BYTE*>(const_cast<DWORD*>(canvas.bits())));
  return image.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
}

namespace {

// The visible top-level windows above `window` that it owns (directly or
// through other owned windows), bottom first.
std::vector<HWND> OwnedPopupsAbove(HWND window) {
  std::vector<HWND> above;
  for (HWND w = ::GetWindow(window, GW_HWNDPREV); w; w = ::GetWindow(w, GW_HWNDPREV)) {
    if (!::IsWindowVisible(w)) continue;
    for (HWND owner = ::GetWindow(w, GW_OWNER); owner; owner = ::GetWindow(owner, GW_OWNER))
      if (owner == window) {
        above.push_back(w);
        break;
      }
  }
  return above;
}

bool CopyWindowInto(HDC target, HWND window, int x, int y) {
  RECT rc;
  ::GetWindowRect(window, &rc);
  HDC source = ::GetWindowDC(window);
  if (!source) return false;
  // A window shaped by a region (rounded corners) shows only inside it.
  HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
  bool shaped = ::GetWindowRgn(window, shape) != ERROR;
  if (shaped) {
    ::OffsetRgn(shape, x, y);
    ::SelectClipRgn(target, shape);
  }
  bool ok = ::BitBlt(target, x, y, rc.right - rc.left, rc.bottom - rc.top, source, 0, 0, SRCCOPY | CAPTUREBLT) != FALSE;
  if (shaped) ::SelectClipRgn(target, nullptr);
  ::DeleteObject(shape);
  ::ReleaseDC(window, source);
  return ok;
}

}  // namespace

bool SaveWindowAsPng(HWND window, const std::wstring& path) {
  if (!::IsWindow(window)) return false;
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  RECT rc;
  ::GetWindowRect(window, &rc);
  int width = rc.right - rc.left, height = rc.bottom - rc.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = ::GetDC(nullptr);
  MemoryCanvas canvas(screen, width, height);
  ::ReleaseDC(nullptr, screen);
  if (!canvas.valid() || !CopyWindowInto(canvas, window, 0, 0)) return false;
  for (HWND popup : OwnedPopupsAbove(window)) {
    ::RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    RECT at;
    ::GetWindowRect(popup, &at);
    CopyWindowInto(canvas, popup, at.left - rc.left, at.top - rc.top);
  }
  return SaveCanvasAsPng(canvas, path);
}

}  // namespace wf
