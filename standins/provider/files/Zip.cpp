#include "Zip.h"
#include "LittleEndian.h"

#include <windows.h>
#include <zlib.h>

#include "TextCodec.h"

namespace files::zip {

namespace {

constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kEndSignature = 0x06054b50;
constexpr size_t kLocalSize = 30;
constexpr size_t kCentralSize = 46;
constexpr size_t kEndSize = 22;
constexpr uint16_t kUtf8Names = 0x0800;
// Deflate cannot expand data by more than about 1032 to 1: a larger claim is a lie.
constexpr uint64_t kMaxRatio = 1100;

using le::Get16;
using le::Get32;
using le::Put16;
using le::Put32;

uint32_t Crc(std::string_view data) {
  return static_cast<uint32_t>(crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(data.data()),
                                     static_cast<uInt>(data.size())));
}

// The MS-DOS time and date of the entries: now, as archivers write it.
void DosTime(uint16_t& time, uint16_t& date) {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  time = static_cast<uint16_t>(now.wHour << 11 | now.wMinute << 5 | now.wSecond / 2);
  date = static_cast<uint16_t>((now.wYear - 1980) << 9 | now.wMonth << 5 | now.wDay);
}

bool Deflate(std::string_view data, std::string& packed, std::wstring& error) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    error = L"cannot start the zip compression";
    return false;
  }
  packed.assign(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(packed.data());
  stream.avail_out = static_cast<uInt>(packed.size());
  int result = deflate(&stream, Z_FINISH);
  packed.resize(stream.total_out);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) {
    error = L"the zip compression failed";
    return false;
  }
  return true;
}

bool Inflate(std::string_view packed, std::string& data, std::wstring& error) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
    error = L"cannot start the zip decompression";
    return false;
  }
  char spare = 0;  // zlib wants somewhere to write even when nothing is expected
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  stream.avail_in = static_cast<uInt>(packed.size());
  stream.next_out = reinterpret_cast<Bytef*>(data.empty() ? &spare : data.data());
  stream.avail_out = static_cast<uInt>(data.size());
  int result = inflate(&stream, Z_FINISH);
  bool whole = result == Z_STREAM_END && stream.total_out == data.size();
  inflateEnd(&stream);
  if (!whole) error = result == Z_DATA_ERROR ? L"its compressed data is damaged" : L"its size does not match";
  return whole;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] + 32) : a[i];
    char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] + 32) : b[i];
    if (x != y) return false;
  }
  return true;
}

}  // namespace

bool Writer::Add(std::string_view name, std::string_view data, bool deflate, std::wstring& error) {
  std::string packed;
  if (deflate && !Deflate(data, packed, error)) return false;
  std::string_view body = deflate ? std::string_view(packed) : data;
  uint64_t end = out_.size() + kLocalSize + name.size() + body.size();
  if (data.size() >= 0xFFFFFFFFull || end >= 0xFFFFFFFFull || count_ + 1 >= 0xFFFF || name.size() > 0xFFFF) {
    error = L"the workbook is too large for a zip archive without zip64 extensions";
    return false;
  }
  uint16_t time = 0, date = 0;
  DosTime(time, date);
  uint32_t crc = Crc(data);
  uint32_t offset = static_cast<uint32_t>(out_.size());
  uint16_t method = deflate ? 8 : 0;

  Put32(out_, kLocalSignature);
  Put16(out_, 20);
  Put16(out_, kUtf8Names);
  Put16(out_, method);
  Put16(out_, time);
  Put16(out_, date);
  Put32(out_, crc);
  Put32(out_, static_cast<uint32_t>(body.size()));
  Put32(out_, static_cast<uint32_t>(data.size()));
  Put16(out_, static_cast<uint32_t>(name.size()));
  Put16(out_, 0);
  out_.append(name);
  out_.append(body);

  Put32(directory_, kCentralSignature);
  Put16(directory_, 20);
  Put16(directory_, 20);
  Put16(directory_, kUtf8Names);
  Put16(directory_, method);
  Put16(directory_, time);
  Put16(directory_, date);
  Put32(directory_, crc);
  Put32(directory_, static_cast<uint32_t>(body.size()));
  Put32(directory_, static_cast<uint32_t>(data.size()));
  Put16(directory_, static_cast<uint32_t>(name.size()));
  Put32(directory_, 0);  // extra field and comment lengths
  Put32(directory_, 0);  // disk number and internal attributes
  Put32(directory_, 0);  // external attributes
  Put32(directory_, offset);
  directory_.append(name);
  ++count_;
  return true;
}

bool Writer::Finish(std::string& bytes, std::wstring& error) {
  if (out_.size() + directory_.size() >= 0xFFFFFFFFull) {
    error = L"the workbook is too large for a zip archive without zip64 extensions";
    return false;
  }
  uint32_t directoryAt = static_cast<uint32_t>(out_.size());
  out_.append(directory_);
  Put32(out_, kEndSignature);
  Put32(out_, 0);  // this disk, the directory's disk
  Put16(out_, static_cast<uint32_t>(count_));
  Put16(out_, static_cast<uint32_t>(count_));
  Put32(out_, static_cast<uint32_t>(directory_.size()));
  Put32(out_, directoryAt);
  Put16(out_, 0);
  bytes = std::move(out_);
  out_.clear();
  directory_.clear();
  count_ = 0;
  return true;
}

bool Reader::Open(std::string_view bytes, std::wstring& error) {
  bytes_ = bytes;
  entries_.clear();
  if (bytes.size() < kEndSize) {
    error = L"the zip archive is truncated (no directory)";
    return false;
  }
  // The end record sits last, after an archive comment of up to 64 KB.
  size_t end = std::string_view::npos;
  size_t lowest = bytes.size() > kEndSize + 0xFFFF ? bytes.size() - kEndSize - 0xFFFF : 0;
  for (size_t at = bytes.size() - kEndSize + 1; at-- > lowest;) {
    if (Get32(bytes, at) == kEndSignature && at + kEndSize + Get16(bytes, at + 20) <= bytes.size()) {
      end = at;
      break;
    }
  }
  if (end == std::string_view::npos) {
    error = L"the zip archive is truncated or damaged (its directory is missing)";
    return false;
  }
  uint16_t count = Get16(bytes, end + 10);
  uint32_t directorySize = Get32(bytes, end + 12);
  uint32_t directoryAt = Get32(bytes, end + 16);
  if (count == 0xFFFF || directorySize == 0xFFFFFFFF || directoryAt == 0xFFFFFFFF) {
    error = L"zip64 archives are not supported";
    return false;
  }
  if (Get16(bytes, end + 4) != 0 || Get16(bytes, end + 8) != count) {
    error = L"archives split over several disks are not supported";
    return false;
  }
  if (static_cast<uint64_t>(directoryAt) + directorySize > end) {
    error = L"the zip archive is truncated or damaged (its directory lies outside the file)";
    return false;
  }
  size_t at = directoryAt;
  size_t limit = static_cast<size_t>(directoryAt) + directorySize;
  for (uint16_t i = 0; i < count; ++i) {
    if (at + kCentralSize > limit || Get32(bytes, at) != kCentralSignature) {
      error = L"the zip archive's directory is damaged";
      return false;
    }
    Entry entry;
    entry.flags = Get16(bytes, at + 8);
    entry.method = Get16(bytes, at + 10);
    entry.crc = Get32(bytes, at + 16);
    entry.packed = Get32(bytes, at + 20);
    entry.size = Get32(bytes, at + 24);
    entry.offset = Get32(bytes, at + 42);
    size_t nameSize = Get16(bytes, at + 28);
    size_t skip = nameSize + Get16(bytes, at + 30) + Get16(bytes, at + 32);
    if (at + kCentralSize + skip > limit) {
      error = L"the zip archive's directory is damaged";
      return false;
    }
    entry.name.assign(bytes.substr(at + kCentralSize, nameSize));
    entries_.push_back(std::move(entry));
    at += kCentralSize + skip;
  }
  return true;
}

const Reader::Entry* Reader::Find(std::string_view name) const {
  for (const Entry& entry : entries_)
    if (SameName(entry.name, name)) return &entry;
  return nullptr;
}

bool Reader::Has(std::string_view name) const { return Find(name) != nullptr; }

bool Reader::Extract(std::string_view name, std::string& data, std::wstring& error) const {
  const Entry* entry = Find(name);
  std::wstring what = L"the zip entry " + FromUtf8(name);
  if (!entry) {
    error = what + L" is missing";
    return false;
  }
  if (entry->flags & 0x0001) {
    error = what + L" is encrypted";
    return false;
  }
  if (entry->method != 0 && entry->method != 8) {
    error = what + L" uses an unsupported compression method (" + std::to_wstring(entry->method) + L")";
    return false;
  }
  if (entry->size > kMaxEntry || (entry->method == 0 && entry->size != entry->packed) ||
      (entry->method == 8 && entry->size > static_cast<uint64_t>(entry->packed) * kMaxRatio + 1024)) {
    error = what + L" claims an impossible size (" + std::to_wstring(entry->size) + L" bytes)";
    return false;
  }
  size_t at = entry->offset;
  if (static_cast<uint64_t>(at) + kLocalSize > bytes_.size() || Get32(bytes_, at) != kLocalSignature) {
    error = what + L" is damaged (its header is missing)";
    return false;
  }
  uint64_t start = static_cast<uint64_t>(at) + kLocalSize + Get16(bytes_, at + 26) + Get16(bytes_, at + 28);
  if (start + entry->packed > bytes_.size()) {
    error = what + L" is truncated";
    return false;
  }
  std::string_view packed = bytes_.substr(static_cast<size_t>(start), entry->packed);
  if (entry->method == 0) {
    data.assign(packed);
  } else {
    data.assign(entry->size, '\0');
    std::wstring reason;
    if (!Inflate(packed, data, reason)) {
      error = what + L" is damaged: " + reason;
      data.clear();
      return false;
    }
  }
  if (Crc(data) != entry->crc) {
    error = what + L" is damaged (CRC mismatch)";
    data.clear();
    return false;
  }
  return true;
}

}  // namespace files::zip
