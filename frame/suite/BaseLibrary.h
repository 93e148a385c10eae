// The suite's base library (TamixBase.dll): logging and well-known folders.
//
// LOG::I (information) and LOG::E (error) append one UTF-8 line per call:
//   2026-12-05 15:40:01.123 [1a4] <target> text
// (local time, thread id in hex, target, the formatted text). The target is a
// log file path relative to the host's folder ("log\PimPluginInfo.log",
// "log\PimPluginErr.log") or a component tag ("CSMSOperate"); a tag's lines go
// to the information log for I and to the error log for E. The format is a
// printf format with the platform's conventions (in a wide format "%s" is a
// wide string). Safe to call from any thread; never fails the caller. Errors
// are logged with the narrow form only; information lines may be wide.
#pragma once
#include <string>

#ifdef TAMIXBASE_BUILD
#define TAMIXBASE_API __declspec(dllexport)
#else
#define TAMIXBASE_API __declspec(dllimport)
#endif

namespace LOG {
TAMIXBASE_API void I(const char* target, const char* format, ...);
TAMIXBASE_API void I(const wchar_t* target, const wchar_t* format, ...);
TAMIXBASE_API void E(const char* target, const char* format, ...);
}  // namespace LOG

// Information and error log files of the plug-in.
#define PIM_INFO_LOG "log\\PimPluginInfo.log"
#define PIM_ERROR_LOG "log\\PimPluginErr.log"

namespace UniPath {
// The folder that import and export file dialogs open in: "Tamix" under the
// user's documents folder (created when missing).
TAMIXBASE_API const std::wstring& GetExportPath();
}  // namespace UniPath
