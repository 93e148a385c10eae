// The suite's resource library (TamixRes.dll): texts, images, fonts and
// colours of the user interface, looked up by key.
//
// Keys are wide strings: texts "pim.app.name", images "pim_button_add.png",
// fonts "tamix_font_gdione", colours "tamix_color_one". Every function fills
// its output arguments and answers whether the key is known; callers set the
// outputs to empty / null / zero before the call and do not read the answer.
//
// Texts come in the language that the suite is set to: the string value
// "LanguageId" of HKEY_CURRENT_USER\Software\Norvane\Tamix, read afresh on
// every call ("Chinese(Simplified)", "Chinese(Traditional)", otherwise English).
// An unknown text key yields the key itself, so that a missing text shows up.
//
// Images are GDI+ images owned and cached by the library for the life of the
// process: draw them, copy them, never delete them. GDI+ must be started in
// the process (the host does it).
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace Gdiplus {
class Image;
}

#ifdef TAMIXRES_BUILD
#define TAMIXRES_API __declspec(dllexport)
#else
#define TAMIXRES_API __declspec(dllimport)
#endif

TAMIXRES_API bool GetString(const std::wstring& key, std::wstring& text);
TAMIXRES_API bool GetImage(const std::wstring& name, Gdiplus::Image*& image);
// size in points; style is a GDI+ FontStyle bit set (1 bold, 2 italic, 4 underline, 8 strikeout).
TAMIXRES_API bool GetFontEx(const std::wstring& key, std::wstring& faceName, double& size, int32_t& style);
// colour as 0x00BBGGRR (COLORREF).
TAMIXRES_API bool GetColor(const std::wstring& key, uint32_t& color);
TAMIXRES_API bool GetColorARGB(const std::wstring& key, BYTE& alpha, BYTE& red, BYTE& green, BYTE& blue);
