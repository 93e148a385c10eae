// The text of a resource key in the suite's language, or an empty text when
// the resource library has none.
#pragma once
#include <string>

#include "frame/suite/ResourceLibrary.h"

namespace qs {

inline std::wstring ResText(const wchar_t* key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

}  // namespace qs
