// What the resource library stand-in (TamixRes.dll) offers beyond the suite's
// resource library: the host shows the language, and the control gallery
// draws every image. The plug-in never includes this header.
#pragma once
#include <string>
#include <vector>

#include "frame/suite/ResourceLibrary.h"

// The names of every image the library draws, in the order of its table.
TAMIXRES_API std::vector<std::wstring> GetImageNames();

// The language that texts come in: 0 Chinese (Simplified), 1 Chinese
// (Traditional), 2 English (United States). Read from the registry each time.
TAMIXRES_API int GetTextLanguage();
