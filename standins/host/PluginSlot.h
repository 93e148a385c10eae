// Loads the plug-in and its resource module and drives its application
// interface in the order the plug-in needs: SetAppHost, Create, Move,
// ShowApp ... Destroy, DestroyAppInterface.
#pragma once
#include <windows.h>

#include <string>

#include "frame/AppInterface.h"

namespace shell {

class PluginSlot {
 public:
  PluginSlot() = default;
  ~PluginSlot();
  PluginSlot(const PluginSlot&) = delete;
  PluginSlot& operator=(const PluginSlot&) = delete;

  // Loads "<folder>\PimPlugin.dll" and "<folder>\PimRes.dll"; on failure
  // `error` says which and why.
  bool Load(const std::wstring& folder, std::wstring& error);
  // Creates the application and its window inside `parent` at `area`, shown.
  bool Start(HWND parent, IAppHost* host, const RECT& area, std::wstring& error);
  void Move(const RECT& area);
  // Destroys the window and releases the application (loaded modules stay).
  void Stop();
  void Unload();

  IApplication* app() const { return m_app; }
  HWND window() const { return m_window; }

 private:
  HMODULE m_plugin = nullptr;
  HMODULE m_resources = nullptr;
  CreateAppInterfaceFn m_create = nullptr;
  DestroyAppInterfaceFn m_destroy = nullptr;
  IApplication* m_app = nullptr;
  HWND m_window = nullptr;
};

}  // namespace shell
