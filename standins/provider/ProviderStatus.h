// Status codes of the simulated data-provider library's replies (0 = success).
#pragma once
#include <cstdint>

namespace provider {
constexpr uint32_t kOk = 0;
constexpr uint32_t kNoPhone = 1;       // no handset behind the library
constexpr uint32_t kNotFound = 2;      // no record with that id
constexpr uint32_t kInvalid = 3;       // the request's URI or arguments make no sense
constexpr uint32_t kStorageError = 4;  // the handset's store could not be written
constexpr uint32_t kCancelled = 5;     // cancelled by the caller
constexpr uint32_t kUnsupported = 6;   // not supported by this handset
constexpr uint32_t kInjected = 7;      // a fault injected by a test
constexpr uint32_t kNoCard = 8;        // no SIM card with that id to send through
constexpr uint32_t kNothingMoved = 9;  // an import or export found no record to move
constexpr uint32_t kFileError = 10;    // a file could not be read or written, or is not of its format
}  // namespace provider
