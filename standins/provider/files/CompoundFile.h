// An OLE compound file (version 3, 512-byte sectors) holding one stream, as
// a binary Excel workbook is. Written here rather than with the platform's
// structured storage: Wine's fills the unused directory entries with leftover
// memory (the process's environment was seen in one), which other readers
// refuse and which must not leave the machine in a user's file. The same
// stream gives the same bytes.
#pragma once
#include <string>
#include <string_view>

namespace files {

// Streams shorter than the mini-stream cutoff (4096 bytes) are padded with
// zeros up to it, so that every stream lives in regular sectors.
bool CompoundFileOfOneStream(const std::wstring& name, std::string_view stream, std::string& bytes,
                             std::wstring& error);

}  // namespace files
