// The handset's file: the whole store in one file, saved atomically (a new
// file is written and flushed, then replaces the old one), so that a crash or
// a kill at any moment leaves the old or the new state, never a torn file.
//
//   "TAMIXHST" | format version (u32) | payload size (u64) | payload CRC-32 (u32) | payload
#pragma once
#include <functional>
#include <string>

#include "Store.h"

namespace handset {

struct LoadResult {
  enum Kind { kLoaded, kMissing, kDamaged } kind = kMissing;
  std::wstring problem;        // why a damaged file could not be read
  std::wstring setAsidePath;   // where a damaged file was moved
};

// Loads `path` into `store`. A missing file leaves `store` as it is. A file
// that cannot be read is moved aside (renamed "<path>.damaged-<time>") and
// reported, never overwritten; `store` is left as it is. A leftover
// "<path>.new" of an interrupted save is removed.
LoadResult LoadHandsetFile(const std::wstring& path, Store& store);

// Saves `store` to `path` atomically; false with `error` when it could not.
bool SaveHandsetFile(const std::wstring& path, const Store& store, std::wstring& error);

// Tests: called after the new file is complete and before it replaces the old
// one (a test kills the process there).
void SetSaveHook(std::function<void()> hook);

}  // namespace handset
