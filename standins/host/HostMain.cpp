// TamixShell: the development host of the suite. It loads the plug-in next to
// it, embeds its window and plays the suite's part: tray tips, the running
// task, the handset's connection and the language setting.
//
//   TamixShell.exe [--script "<steps>"] [--screens <folder>] [--plugins <folder>] [--handset <file>] [--disconnected]
//
// See Script.h for the automation steps.
#include <windows.h>
#include <commctrl.h>
#include "framework/GdiPlus.h"
#include <objbase.h>
#include <shellapi.h>

#include <string>

#include "ShellWindow.h"
#include "framework/Text.h"

namespace {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

int Usage(const std::wstring& problem) {
  std::string text = wf::ToUtf8(L"TamixShell: " + problem +
                                L"\nusage: TamixShell.exe [--script \"<steps>\"] [--screens <folder>] "
                                L"[--plugins <folder>] [--handset <file>] [--disconnected]\n");
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  return 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  shell::ShellOptions options;
  options.pluginFolder = ProgramFolder();
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  for (int i = 1; i < argc; ++i) {
    std::wstring arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == L"--script" && hasValue) {
      std::wstring error;
      if (!shell::ParseScript(argv[++i], options.script, error)) return Usage(L"bad script: " + error);
    } else if (arg == L"--screens" && hasValue) {
      options.screensFolder = argv[++i];
    } else if (arg == L"--plugins" && hasValue) {
      options.pluginFolder = argv[++i];
    } else if (arg == L"--handset" && hasValue) {
      options.handsetFile = argv[++i];
    } else if (arg == L"--disconnected") {
      options.connected = false;
    } else {
      return Usage(L"unknown argument " + arg);
    }
  }
  ::LocalFree(argv);

  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES |
                                            ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&icc);
  ::OleInitialize(nullptr);
  Gdiplus::GdiplusStartupInput gdiplusInput;
  ULONG_PTR gdiplusToken = 0;
  Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);

  int exitCode = 0;
  {
    shell::CShellWindow window(options);
    std::wstring error;
    if (!window.Open(error)) {
      Usage(error);
      exitCode = 3;
      if (window.m_hWnd) window.DestroyWindow();
    } else {
      MSG msg;
      while (::GetMessageW(&msg, nullptr, 0, 0) > 0) shell::DispatchHostMessage(window.PluginWindow(), msg);
      exitCode = window.exitCode();
    }
  }
  Gdiplus::GdiplusShutdown(gdiplusToken);
  ::OleUninitialize();
  return exitCode;
}
