// Little-endian integers in the byte strings of the binary formats (zip,
// compound files, BIFF records): appended, written in place and read. Readers
// check their bounds before they call these.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace files::le {

inline void Put8(std::string& out, uint32_t value) { out.push_back(static_cast<char>(value & 0xFF)); }
inline void Put16(std::string& out, uint32_t value) {
  Put8(out, value);
  Put8(out, value >> 8);
}
inline void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

inline void Set16(std::string& out, size_t at, uint32_t value) {
  out[at] = static_cast<char>(value & 0xFF);
  out[at + 1] = static_cast<char>(value >> 8 & 0xFF);
}
inline void Set32(std::string& out, size_t at, uint32_t value) {
  Set16(out, at, value & 0xFFFF);
  Set16(out, at + 2, value >> 16);
}

inline uint16_t Get16(std::string_view bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8);
}
inline uint32_t Get32(std::string_view bytes, size_t at) {
  return Get16(bytes, at) | static_cast<uint32_t>(Get16(bytes, at + 2)) << 16;
}

}  // namespace files::le
