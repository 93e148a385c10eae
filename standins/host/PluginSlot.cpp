#include "PluginSlot.h"

#include "framework/Text.h"

namespace shell {
namespace {
std::wstring LastError() {
  DWORD code = ::GetLastError();
  wchar_t* text = nullptr;
  ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  std::wstring message = wf::FormatText(L"error %lu%s%s", code, text ? L": " : L"", text ? text : L"");
  if (text) ::LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) message.pop_back();
  return message;
}
}  // namespace

PluginSlot::~PluginSlot() { Unload(); }

bool PluginSlot::Load(const std::wstring& folder, std::wstring& error) {
  if (m_plugin) return true;
  std::wstring pluginPath = folder + L"\\PimPlugin.dll";
  std::wstring resourcePath = folder + L"\\PimRes.dll";
  m_resources = ::LoadLibraryW(resourcePath.c_str());
  if (!m_resources) {
    error = L"cannot load " + resourcePath + L" (" + LastError() + L")";
    return false;
  }
  m_plugin = ::LoadLibraryW(pluginPath.c_str());
  if (!m_plugin) {
    error = L"cannot load " + pluginPath + L" (" + LastError() + L")";
    Unload();
    return false;
  }
  m_create = reinterpret_cast<CreateAppInterfaceFn>(reinterpret_cast<void*>(::GetProcAddress(m_plugin, PIM_CREATE_APP_INTERFACE)));
  m_destroy = reinterpret_cast<DestroyAppInterfaceFn>(reinterpret_cast<void*>(::GetProcAddress(m_plugin, PIM_DESTROY_APP_INTERFACE)));
  if (!m_create || !m_destroy) {
    error = pluginPath + L" does not export CreateAppInterface and DestroyAppInterface";
    Unload();
    return false;
  }
  return true;
}

bool PluginSlot::Start(HWND parent, IAppHost* host, const RECT& area, std::wstring& error) {
  if (m_app) return true;
  if (!m_create) {
    error = L"the plug-in is not loaded";
    return false;
  }
  m_app = m_create(m_resources);
  if (!m_app) {
    error = L"CreateAppInterface failed";
    return false;
  }
  m_app->SetAppHost(host);  // before Create: the window hands it to its modules once
  m_window = m_app->Create(parent);
  if (!m_window) {
    error = L"the plug-in could not create its window";
    m_destroy(m_app);
    return false;
  }
  AppHostInfo info;
  info.parentWindow = AppHostInfo::FromWindow(parent);
  m_app->SetHostInfo(info);
  m_app->Move(area);
  m_app->ShowApp(SW_SHOW);
  return true;
}

void PluginSlot::Move(const RECT& area) {
  if (m_app && m_window) m_app->Move(area);
}

void PluginSlot::Stop() {
  if (!m_app) return;
  m_app->Destroy();
  m_destroy(m_app);  // sets m_app to null
  m_window = nullptr;
}

void PluginSlot::Unload() {
  Stop();
  if (m_plugin) ::FreeLibrary(m_plugin);
  if (m_resources) ::FreeLibrary(m_resources);
  m_plugin = m_resources = nullptr;
  m_create = nullptr;
  m_destroy = nullptr;
}

}  // namespace shell
