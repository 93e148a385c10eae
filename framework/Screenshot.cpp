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

bool SaveWindowAsPng(HWND window, const std::wstring& path) {
  if (!::IsWindow(window)) return false;
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  RECT rc;
  ::GetWindowRect(window, &rc);
  int width = rc.right - rc.left, height = rc.bottom - rc.top;
  if (width <= 0 || height <= 0) return false;
  HDC source = ::GetWindowDC(window);
  if (!source) return false;
  bool ok = false;
  {
    MemoryCanvas canvas(source, width, height);
    if (canvas.valid()) ok = ::BitBlt(canvas, 0, 0, width, height, source, 0, 0, SRCCOPY | CAPTUREBLT) != FALSE;
    ::ReleaseDC(window, source);
    if (ok) ok = SaveCanvasAsPng(canvas, path);
  }
  return ok;
}

}  // namespace wf
