#include "HandsetService.h"

#include <windows.h>
#include <shlobj.h>

#include "EmbeddedData.h"
#include "standins/base/LogControl.h"
#include "handset/HandsetFile.h"
#include "handset/IndexText.h"

namespace provider {

HandsetService& HandsetService::Instance() {
  static HandsetService* service = new HandsetService();  // lives until process end
  return *service;
}

std::wstring HandsetService::DefaultPath() {
  wchar_t value[MAX_PATH] = {};
  DWORD n = ::GetEnvironmentVariableW(L"TAMIX_HANDSET_FILE", value, MAX_PATH);
  if (n > 0 && n < MAX_PATH) return value;
  wchar_t appData[MAX_PATH] = {};
  if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, appData)))
    return std::wstring(appData) + L"\\Tamix\\handset.dat";
  return L"handset.dat";
}

std::wstring HandsetService::FilePath() { return m_path.empty() ? DefaultPath() : m_path; }

handset::Store& HandsetService::Store() {
  if (m_store) return *m_store;
  if (handset::PinyinTableSize() == 0) handset::LoadPinyinTable(kPinyinData);
  m_store = std::make_unique<handset::Store>();
  std::wstring path = FilePath();
  handset::LoadResult result = handset::LoadHandsetFile(path, *m_store);
  switch (result.kind) {
    case handset::LoadResult::kLoaded:
      LOG::I(L"DataProvider", L"handset loaded from %s", path.c_str());
      break;
    case handset::LoadResult::kMissing:
      LOG::I(L"DataProvider", L"no handset file at %s: a new handset", path.c_str());
      break;
    case handset::LoadResult::kDamaged:
      LOG::E(L"DataProvider", L"the handset file %s %s; it was set aside as %s and a new handset is used",
             path.c_str(), result.problem.c_str(),
             result.setAsidePath.empty() ? L"(could not be moved)" : result.setAsidePath.c_str());
      break;
  }
  m_mayNotSave = result.kind == handset::LoadResult::kDamaged && result.setAsidePath.empty();
  m_savedRevision = m_store->revision();
  return *m_store;
}

void HandsetService::SaveIfChanged() {
  if (!m_store || m_store->revision() == m_savedRevision) return;
  if (m_mayNotSave) {
    LOG::E(L"DataProvider", L"changes are not saved: the damaged handset file %s is left as it is",
           FilePath().c_str());
    m_savedRevision = m_store->revision();
    return;
  }
  std::wstring path = FilePath(), error;
  if (handset::SaveHandsetFile(path, *m_store, error)) {
    m_savedRevision = m_store->revision();
  } else {
    LOG::E(L"DataProvider", L"the handset could not be saved: %s", error.c_str());
  }
}

void HandsetService::Replace(handset::Store fresh) {
  Store();  // a damaged file is set aside before anything replaces it
  *m_store = std::move(fresh);
  m_savedRevision = m_store->revision() + 1;  // differs: saved at the next chance
}

void HandsetService::UseFile(const std::wstring& path) {
  SaveIfChanged();
  m_store.reset();
  m_path = path;
  m_mayNotSave = false;
}

}  // namespace provider
