// Saves what a window shows (frame and children included) as a PNG file.
// Works headless: the window's DC is copied, not the screen.
#pragma once
#include <windows.h>

#include <string>

namespace wf {

// Answers false when the window cannot be read or the file not written.
// GDI+ must be started. The visible popups that the window owns (a floating
// card, a wait animation) are drawn over it where they lie, as a user sees
// them: without a display each window is read from its own surface.
bool SaveWindowAsPng(HWND window, const std::wstring& path);

// Saves a bitmap (not selected into a DC) as PNG.
bool SaveBitmapAsPng(HBITMAP bitmap, const std::wstring& path);

class MemoryCanvas;
}  // namespace wf
namespace Gdiplus {
class Image;
}
namespace wf {
// Saves a GDI+ image as PNG.
bool SaveImageAsPng(Gdiplus::Image& image, const std::wstring& path);
class MemoryCanvas;
// Saves what was drawn into an off-screen canvas as PNG.
bool SaveCanvasAsPng(const MemoryCanvas& canvas, const std::wstring& path);

}  // namespace wf
