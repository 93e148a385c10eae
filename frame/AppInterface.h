// The contract between the suite (the host) and the plug-in.
//
// The plug-in DLL exports exactly CreateAppInterface and DestroyAppInterface.
// The host drives the returned IApplication in this order: SetAppHost, Create
// (window made hidden), Move / ShowApp as it lays out its frame (SetHostInfo
// at any time), Destroy, DestroyAppInterface.
//
// Binary contract: the virtual operations are declared in slot order,
// reserved ones included.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace Gdiplus {
class Image;
}

// The host's description of where the plug-in lives: the parent window, then
// three values the plug-in stores and never reads. Handles are 32-bit values
// (sign-extended on 64-bit Windows, as window handles are).
struct AppHostInfo {
  uint32_t parentWindow = 0;
  uint32_t reserved1 = 0;
  uint32_t reserved2 = 0;
  uint32_t reserved3 = 0;

  HWND Parent() const { return static_cast<HWND>(LongToHandle(static_cast<LONG>(parentWindow))); }
  static uint32_t FromWindow(HWND window) { return static_cast<uint32_t>(HandleToLong(window)); }
};

// Two 32-bit values, the argument of the reserved pair operation.
struct AppPair {
  uint32_t first = 0;
  uint32_t second = 0;
};

// The five main-menu button images: normal, hover, pressed, pressed again, disabled.
constexpr int kMenuImageCount = 5;

// The host's callback object. The plug-in calls only ShowTrayTip and
// SetRunningTask (the third and fourth operations).
class IAppHost {
 public:
  // The host's top-level window.
  virtual HWND GetHostWindow() = 0;
  // Brings the page of the application with this view identifier to the front.
  virtual void ActivateApp(const std::wstring& viewUri) = 0;
  // A balloon text in the host's notification area; kind 0 is information.
  virtual void ShowTrayTip(int32_t kind, const std::wstring& text) = 0;
  // The running-task text of the host's status area; running = false ends it.
  virtual void SetRunningTask(const std::wstring& text, bool running) = 0;

 protected:
  ~IAppHost() = default;
};

class IApplication {
 public:
  virtual const std::wstring& GetViewUri() = 0;
  virtual const std::wstring& GetAppName() = 0;
  virtual const std::wstring& GetAppTitle() = 0;
  virtual uint32_t GetAppParam() = 0;
  // The address of the five main-menu images; null images until Create.
  virtual Gdiplus::Image** GetMenuImages() = 0;
  // Stores the host record; re-parents the window to its parent when both exist.
  virtual void SetHostInfo(AppHostInfo info) = 0;
  // Must come before Create: the window hands the host to its modules once.
  virtual void SetAppHost(IAppHost* host) = 0;
  // ShowWindow on the main window; answers the platform's result.
  virtual BOOL ShowApp(int showCommand) = 0;
  virtual bool GetAppFlag() = 0;
  virtual void ReservedPair(uint32_t first, uint32_t second) = 0;
  virtual void ReservedVoid() = 0;
  // Creates the main window (hidden) as a child of `parent`; a null parent
  // means the top-level window titled "TamixShell". Answers null on failure.
  // Called again while the window lives, re-parents it and answers it.
  virtual HWND Create(HWND parent) = 0;
  virtual void Destroy() = 0;
  // Moves the window to the rectangle (left, top, right, bottom), repainting.
  virtual bool Move(const RECT& rect) = 0;
  virtual bool ReservedTrueA() = 0;
  virtual bool ReservedTrueB() = 0;
  virtual bool ReservedFalseA() = 0;
  virtual bool ReservedFalseB() = 0;

 protected:
  ~IApplication() = default;  // released with DestroyAppInterface
};

// The exports, as the host finds them with GetProcAddress.
extern "C" {
typedef IApplication* (*CreateAppInterfaceFn)(HINSTANCE resourceModule);
typedef void (*DestroyAppInterfaceFn)(IApplication*& application);
}
#define PIM_CREATE_APP_INTERFACE "CreateAppInterface"
#define PIM_DESTROY_APP_INTERFACE "DestroyAppInterface"

// The title of the host's top-level window.
#define TAMIX_SHELL_TITLE L"TamixShell"
