// Writes the skin sheet (every image of the resource library, and mock-ups)
// as a PNG file; false when it cannot.
#pragma once
#include <string>

bool WriteSkinSheet(const std::wstring& path);
