// The zip container of the .xlsx workbooks: raw deflate from zlib, UTF-8
// names, no zip64 (a one-sheet workbook of contacts or messages never needs it).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace files::zip {

// Entries are appended in order; Finish adds the central directory.
class Writer {
 public:
  bool Add(std::string_view name, std::string_view data, bool deflate, std::wstring& error);
  bool Finish(std::string& bytes, std::wstring& error);

 private:
  std::string out_;
  std::string directory_;
  size_t count_ = 0;
};

// Reads the central directory of an archive held in memory; Extract checks
// sizes and CRC, so a damaged entry is an error, not wrong data.
class Reader {
 public:
  // The largest entry the reader will unpack.
  static constexpr uint32_t kMaxEntry = 256u << 20;

  bool Open(std::string_view bytes, std::wstring& error);
  // Names compare without regard to ASCII case, as the package parts do.
  bool Has(std::string_view name) const;
  bool Extract(std::string_view name, std::string& data, std::wstring& error) const;

 private:
  struct Entry {
    std::string name;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint32_t crc = 0;
    uint32_t packed = 0;
    uint32_t size = 0;
    uint32_t offset = 0;
  };
  const Entry* Find(std::string_view name) const;

  std::string_view bytes_;
  std::vector<Entry> entries_;
};

}  // namespace files::zip
