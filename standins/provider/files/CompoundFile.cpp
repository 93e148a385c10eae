#include "CompoundFile.h"

#include "LittleEndian.h"

#include <cstdint>

namespace files {
namespace {

constexpr uint32_t kSector = 512;
constexpr uint32_t kPerFatSector = kSector / 4;
constexpr uint32_t kHeaderFatSlots = 109;
constexpr uint32_t kMiniCutoff = 4096;
constexpr uint32_t kFree = 0xFFFFFFFF, kEndOfChain = 0xFFFFFFFE, kFatSector = 0xFFFFFFFD, kDifatSector = 0xFFFFFFFC;
constexpr uint32_t kNoStream = 0xFFFFFFFF;

using le::Set16;
using le::Set32;

// One 128-byte directory entry.
void Entry(std::string& out, size_t at, const std::wstring& name, uint8_t type, uint32_t child, uint32_t start,
           uint32_t size) {
  for (size_t i = 0; i < name.size() && i < 31; ++i) Set16(out, at + 2 * i, name[i]);
  Set16(out, at + 64, name.empty() ? 0 : static_cast<uint32_t>(2 * (name.size() + 1)));
  out[at + 66] = static_cast<char>(type);
  out[at + 67] = 1;  // black: a tree of one node is balanced
  Set32(out, at + 68, kNoStream);
  Set32(out, at + 72, kNoStream);
  Set32(out, at + 76, child);
  Set32(out, at + 116, start);
  Set32(out, at + 120, size);
}

}  // namespace

bool CompoundFileOfOneStream(const std::wstring& name, std::string_view stream, std::string& bytes,
                             std::wstring& error) {
  if (name.empty() || name.size() > 31) {
    error = L"a stream name has 1 to 31 characters";
    return false;
  }
  // Version 3 files hold sizes below 4 GB; a workbook near that is a mistake.
  if (stream.size() > 0x7FFFFFFF) {
    error = L"the workbook is too large for a compound file";
    return false;
  }
  const uint32_t size = static_cast<uint32_t>(stream.size() < kMiniCutoff ? kMiniCutoff : stream.size());
  const uint32_t streamSectors = (size + kSector - 1) / kSector;
  // Sectors: the stream, one directory sector, the FAT, then the DIFAT when the
  // header's 109 FAT slots are not enough. The FAT covers itself and the DIFAT.
  uint32_t fat = 1, difat = 0;
  for (;;) {
    uint32_t total = streamSectors + 1 + fat + difat;
    uint32_t needFat = (total + kPerFatSector - 1) / kPerFatSector;
    uint32_t needDifat = needFat > kHeaderFatSlots ? (needFat - kHeaderFatSlots + 126) / 127 : 0;
    if (needFat == fat && needDifat == difat) break;
    fat = needFat, difat = needDifat;
  }
  const uint32_t directory = streamSectors, firstFat = directory + 1, firstDifat = firstFat + fat;
  const uint32_t total = firstDifat + difat;

  bytes.assign(kSector + static_cast<size_t>(total) * kSector, '\0');
  auto sectorAt = [](uint32_t sector) { return kSector + static_cast<size_t>(sector) * kSector; };

  // Header.
  static const unsigned char kSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  for (size_t i = 0; i < sizeof kSignature; ++i) bytes[i] = static_cast<char>(kSignature[i]);
  Set16(bytes, 24, 0x003E);  // minor version
  Set16(bytes, 26, 0x0003);  // major version 3: 512-byte sectors
  Set16(bytes, 28, 0xFFFE);  // little-endian
  Set16(bytes, 30, 9);       // 2^9 bytes a sector
  Set16(bytes, 32, 6);       // 2^6 bytes a mini sector
  Set32(bytes, 44, fat);
  Set32(bytes, 48, directory);
  Set32(bytes, 56, kMiniCutoff);
  Set32(bytes, 60, kEndOfChain);  // no mini FAT
  Set32(bytes, 68, difat ? firstDifat : kEndOfChain);
  Set32(bytes, 72, difat);
  for (uint32_t slot = 0; slot < kHeaderFatSlots; ++slot)
    Set32(bytes, 76 + 4 * slot, slot < fat ? firstFat + slot : kFree);

  // The stream's sectors (zeros after its end), the directory.
  bytes.replace(sectorAt(0), stream.size(), stream.data(), stream.size());
  Entry(bytes, sectorAt(directory), L"Root Entry", 5, 1, kEndOfChain, 0);
  Entry(bytes, sectorAt(directory) + 128, name, 2, kNoStream, 0, size);
  for (size_t unused = 2; unused < 4; ++unused) {  // free entries: no name, no links
    size_t at = sectorAt(directory) + 128 * unused;
    Set32(bytes, at + 68, kNoStream);
    Set32(bytes, at + 72, kNoStream);
    Set32(bytes, at + 76, kNoStream);
  }

  // The FAT: the stream's chain, then the directory, FAT and DIFAT sectors.
  auto setFat = [&](uint32_t sector, uint32_t value) { Set32(bytes, sectorAt(firstFat) + 4 * size_t{sector}, value); };
  for (uint32_t entry = 0; entry < fat * kPerFatSector; ++entry) setFat(entry, kFree);
  for (uint32_t s = 0; s < streamSectors; ++s) setFat(s, s + 1 < streamSectors ? s + 1 : kEndOfChain);
  setFat(directory, kEndOfChain);
  for (uint32_t s = 0; s < fat; ++s) setFat(firstFat + s, kFatSector);
  for (uint32_t s = 0; s < difat; ++s) setFat(firstDifat + s, kDifatSector);

  // The DIFAT: the FAT sectors past the header's 109, 127 to a sector, chained.
  for (uint32_t d = 0; d < difat; ++d) {
    size_t at = sectorAt(firstDifat + d);
    for (uint32_t slot = 0; slot < 127; ++slot) {
      uint32_t index = kHeaderFatSlots + d * 127 + slot;
      Set32(bytes, at + 4 * slot, index < fat ? firstFat + index : kFree);
    }
    Set32(bytes, at + 508, d + 1 < difat ? firstDifat + d + 1 : kEndOfChain);
  }
  return true;
}

}  // namespace files
