// What the base library stand-in (TamixBase.dll) offers beyond the suite's
// base library: the host, the other stand-ins, tests and tools include this
// header; the plug-in never does (it calls only frame/suite/BaseLibrary.h).
#pragma once
#include <string>

#include "frame/suite/BaseLibrary.h"

namespace LOG {
// An error line with a wide target and format, for the stand-ins' own errors.
TAMIXBASE_API void E(const wchar_t* target, const wchar_t* format, ...);

// The folder that relative targets are written under: the host's folder unless
// changed here (tests point it at a temporary folder). Empty restores the default.
TAMIXBASE_API void SetLogRoot(const std::wstring& folder);
TAMIXBASE_API std::wstring GetLogRoot();
}  // namespace LOG
