// The look the shared dialogs' windows take from the resource library: a
// text by key, a colour with a fallback, and a font choice with the dialogs'
// default (Tahoma 9) when the key gives none.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "frame/suite/ResourceLibrary.h"

namespace jorv {

inline std::wstring Text(const wchar_t* key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

inline COLORREF Colour(const wchar_t* key, COLORREF fallback) {
  BYTE a = 0, r = 0, g = 0, b = 0;
  return GetColorARGB(key, a, r, g, b) ? RGB(r, g, b) : fallback;
}

struct FontChoice {
  std::wstring face = L"Tahoma";
  double points = 9;
  int32_t style = 0;
};

inline FontChoice FontOf(const wchar_t* key) {
  FontChoice font;
  if (!GetFontEx(key, font.face, font.points, font.style) || font.face.empty() || font.points <= 0) font = FontChoice();
  return font;
}

}  // namespace jorv
