// Reading the export and import tables of a loaded module (a DLL mapped with
// LoadLibrary, so every RVA is an offset from the module's base).
#pragma once
#include <windows.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace pe_image {

inline const IMAGE_DATA_DIRECTORY& Directory(HMODULE module, int entry) {
  auto* base = reinterpret_cast<const BYTE*>(module);
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  return nt->OptionalHeader.DataDirectory[entry];
}

// The names a module exports.
inline std::set<std::string> ExportedNames(HMODULE module) {
  auto* base = reinterpret_cast<const BYTE*>(module);
  const IMAGE_DATA_DIRECTORY& dir = Directory(module, IMAGE_DIRECTORY_ENTRY_EXPORT);
  std::set<std::string> names;
  if (!dir.VirtualAddress) return names;
  auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  auto* nameRvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) names.insert(reinterpret_cast<const char*>(base + nameRvas[i]));
  return names;
}

// What a module imports, by DLL (its name in lower case): the imported names,
// "#<ordinal>" for an import by ordinal. Delay-loaded imports are included.
// The import name table is read, not the address table, which the loader has
// overwritten; a DLL whose name table is missing is listed with "?".
inline std::map<std::string, std::vector<std::string>> ImportedNames(HMODULE module) {
  auto* base = reinterpret_cast<const BYTE*>(module);
  std::map<std::string, std::vector<std::string>> imports;
  auto lower = [](std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(::tolower(c)); });
    return text;
  };
  auto readNames = [&](const std::string& dll, DWORD nameTableRva) {
    std::vector<std::string>& names = imports[lower(dll)];
    if (!nameTableRva) {
      names.push_back("?");
      return;
    }
    for (auto* thunk = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + nameTableRva); thunk->u1.AddressOfData; ++thunk) {
      if (IMAGE_SNAP_BY_ORDINAL(thunk->u1.Ordinal)) {
        names.push_back("#" + std::to_string(IMAGE_ORDINAL(thunk->u1.Ordinal)));
      } else {
        auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + thunk->u1.AddressOfData);
        names.push_back(reinterpret_cast<const char*>(byName->Name));
      }
    }
  };
  const IMAGE_DATA_DIRECTORY& dir = Directory(module, IMAGE_DIRECTORY_ENTRY_IMPORT);
  if (dir.VirtualAddress)
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d)
      readNames(reinterpret_cast<const char*>(base + d->Name), d->OriginalFirstThunk);
  const IMAGE_DATA_DIRECTORY& delayed = Directory(module, IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT);
  if (delayed.VirtualAddress)
    for (auto* d = reinterpret_cast<const IMAGE_DELAYLOAD_DESCRIPTOR*>(base + delayed.VirtualAddress); d->DllNameRVA; ++d)
      readNames(reinterpret_cast<const char*>(base + d->DllNameRVA), d->ImportNameTableRVA);
  return imports;
}

}  // namespace pe_image
