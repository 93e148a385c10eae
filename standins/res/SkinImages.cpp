#include "SkinImages.h"

namespace tamixres {

Gdiplus::Bitmap* DrawSkinImage(const std::wstring& /*name*/, const ImageEntry& entry) {
  auto* bitmap = new Gdiplus::Bitmap(entry.width, entry.height, PixelFormat32bppARGB);
  if (bitmap->GetLastStatus() != Gdiplus::Ok) {
    delete bitmap;
    return nullptr;
  }
  Gdiplus::Graphics g(bitmap);
  g.Clear(Gdiplus::Color(255, 0xE8, 0xF1, 0xFB));
  // Each state frame gets its own shade so that states can be told apart.
  int frameWidth = entry.width / entry.frames;
  for (int i = 0; i < entry.frames; ++i) {
    BYTE shade = static_cast<BYTE>(0xE8 - 0x18 * (i % 5));
    Gdiplus::SolidBrush fill(Gdiplus::Color(255, shade, static_cast<BYTE>(shade + 8), 0xFB));
    g.FillRectangle(&fill, i * frameWidth, 0, frameWidth, entry.height);
    Gdiplus::Pen border(Gdiplus::Color(255, 0x7F, 0xA8, 0xD6));
    g.DrawRectangle(&border, i * frameWidth, 0, frameWidth - 1, entry.height - 1);
  }
  return bitmap;
}

}  // namespace tamixres
