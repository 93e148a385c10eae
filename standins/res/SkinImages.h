// Draws the images of the skin. Every image name yields a bitmap of the size
// its table row gives, with its state frames side by side; the catalogue in
// SkinImages.cpp says how each name is drawn (families in SkinControls.cpp
// and SkinSurfaces.cpp, glyphs in SkinGlyphs.cpp, colours and shapes in
// SkinPaint.cpp).
#pragma once
#include <windows.h>
#include "framework/GdiPlus.h"

#include <string>

#include "ResourceTables.h"

namespace tamixres {

// A new bitmap for `name` (the caller owns it), or null when GDI+ fails.
Gdiplus::Bitmap* DrawSkinImage(const std::wstring& name, const ImageEntry& entry);

}  // namespace tamixres
