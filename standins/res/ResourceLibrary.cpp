// The resource library stand-in: texts in three languages, colours, fonts
// and images, from the tables built into this DLL (data/*.tsv).

#include "standins/res/ResourceTools.h"

#include <windows.h>
#include "framework/GdiPlus.h"

#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "ResourceTables.h"
#include "SkinImages.h"
#include "standins/base/LogControl.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

constexpr wchar_t kLanguageKey[] = L"Software\\Norvane\\Tamix";
constexpr wchar_t kLanguageValue[] = L"LanguageId";

std::string_view TableResource(const wchar_t* name) {
  HMODULE self = reinterpret_cast<HMODULE>(&__ImageBase);
  HRSRC info = ::FindResourceW(self, name, RT_RCDATA);
  HGLOBAL data = info ? ::LoadResource(self, info) : nullptr;
  if (!data) return {};
  return std::string_view(static_cast<const char*>(::LockResource(data)), ::SizeofResource(self, info));
}

const tamixres::Tables& Tables() {
  static const tamixres::Tables tables = [] {
    tamixres::Tables t;
    tamixres::LoadTexts(TableResource(L"TEXTS"), t);
    tamixres::LoadColors(TableResource(L"COLORS"), t);
    tamixres::LoadFonts(TableResource(L"FONTS"), t);
    tamixres::LoadImages(TableResource(L"IMAGES"), t);
    for (const std::wstring& problem : t.problems) LOG::E(L"" PIM_ERROR_LOG, L"TamixRes: %s", problem.c_str());
    return t;
  }();
  return tables;
}

// Logs a missing key once, so a screen drawn many times does not flood the log.
void ReportMissing(const wchar_t* kind, const std::wstring& key) {
  static std::mutex mutex;
  static std::set<std::wstring> reported;
  std::lock_guard<std::mutex> lock(mutex);
  if (reported.insert(std::wstring(kind) + L":" + key).second)
    LOG::E(L"" PIM_ERROR_LOG, L"TamixRes: no %s for key \"%s\"", kind, key.c_str());
}

std::mutex g_imageMutex;
std::map<std::wstring, std::unique_ptr<Gdiplus::Bitmap>>* g_images = nullptr;  // lives until process end

bool EnsureGdiplus() {
  static const bool started = [] {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    // Never shut down: images handed out stay valid until the process ends.
    return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  }();
  return started;
}

}  // namespace

int GetTextLanguage() {
  wchar_t value[128] = {};  // the value is at most 256 bytes
  DWORD bytes = sizeof(value);
  LSTATUS status = ::RegGetValueW(HKEY_CURRENT_USER, kLanguageKey, kLanguageValue, RRF_RT_REG_SZ, nullptr, value, &bytes);
  return tamixres::LanguageFromSetting(status == ERROR_SUCCESS ? std::wstring(value) : std::wstring());
}

bool GetString(const std::wstring& key, std::wstring& text) {
  const auto& texts = Tables().texts;
  auto it = texts.find(key);
  if (it == texts.end()) {
    ReportMissing(L"text", key);
    text = key;
    return false;
  }
  text = it->second.byLanguage[GetTextLanguage()];
  return true;
}

bool GetImage(const std::wstring& name, Gdiplus::Image*& image) {
  const auto& images = Tables().images;
  auto entry = images.find(name);
  if (entry == images.end()) {
    ReportMissing(L"image", name);
    image = nullptr;
    return false;
  }
  if (!EnsureGdiplus()) {
    image = nullptr;
    return false;
  }
  std::lock_guard<std::mutex> lock(g_imageMutex);
  if (!g_images) g_images = new std::map<std::wstring, std::unique_ptr<Gdiplus::Bitmap>>();
  auto& slot = (*g_images)[name];
  if (!slot) slot.reset(tamixres::DrawSkinImage(name, entry->second));
  image = slot.get();
  return image != nullptr;
}

bool GetFontEx(const std::wstring& key, std::wstring& faceName, double& size, int32_t& style) {
  const auto& fonts = Tables().fonts;
  auto it = fonts.find(key);
  if (it == fonts.end()) {
    ReportMissing(L"font", key);
    return false;
  }
  faceName = it->second.face;
  size = it->second.size;
  style = it->second.style;
  return true;
}

bool GetColorARGB(const std::wstring& key, BYTE& alpha, BYTE& red, BYTE& green, BYTE& blue) {
  const auto& colors = Tables().colors;
  auto it = colors.find(key);
  if (it == colors.end()) {
    ReportMissing(L"colour", key);
    return false;
  }
  uint32_t argb = it->second;
  alpha = static_cast<BYTE>(argb >> 24);
  red = static_cast<BYTE>(argb >> 16);
  green = static_cast<BYTE>(argb >> 8);
  blue = static_cast<BYTE>(argb);
  return true;
}

bool GetColor(const std::wstring& key, uint32_t& color) {
  BYTE a = 0, r = 0, g = 0, b = 0;
  if (!GetColorARGB(key, a, r, g, b)) return false;
  color = RGB(r, g, b);
  return true;
}

std::vector<std::wstring> GetImageNames() {
  std::vector<std::wstring> names;
  for (const tamixres::Row& row : tamixres::ParseTable(TableResource(L"IMAGES")))
    if (!row.fields.empty() && Tables().images.count(row.fields[0])) names.push_back(row.fields[0]);
  return names;
}
