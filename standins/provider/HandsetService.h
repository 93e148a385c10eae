// The one simulated handset of the process, shared by every provider, message
// helper and export helper object. It is used on the answer thread only (the
// library's answers run there one at a time); other threads reach it through
// AnswerQueue::RunAndWait.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "handset/Store.h"

namespace provider {

class HandsetService {
 public:
  static HandsetService& Instance();

  // The store, loaded from the handset file on first use.
  handset::Store& Store();
  // Saves the store when it changed since it was loaded or last saved.
  void SaveIfChanged();
  // Replaces the handset with `fresh` (saved when next idle).
  void Replace(handset::Store fresh);
  // Saves the current handset and makes `path` the handset file (read on
  // next use). An empty path restores the default.
  void UseFile(const std::wstring& path);
  std::wstring FilePath();

  // "%APPDATA%\Tamix\handset.dat", or the TAMIX_HANDSET_FILE environment value.
  static std::wstring DefaultPath();

 private:
  HandsetService() = default;
  std::unique_ptr<handset::Store> m_store;
  std::wstring m_path;
  uint64_t m_savedRevision = 0;
  bool m_mayNotSave = false;  // a damaged file that could not be moved aside stays untouched
};

}  // namespace provider
