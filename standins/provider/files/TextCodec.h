// Texts and files of the import/export formats: UTF-8 and the legacy
// character sets that real files carry, and whole-file reads and writes.
#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace files {

// Told after each record a reader or writer has handled; answers false to
// stop the run (the caller asked to cancel).
using Tick = std::function<bool()>;

std::string ToUtf8(std::wstring_view text);
// Invalid sequences become U+FFFD; a leading byte-order mark is kept.
std::wstring FromUtf8(std::string_view bytes);

// Decodes `bytes` written in the named character set ("UTF-8", "GB2312",
// "GBK", "GB18030", "BIG5", "SHIFT_JIS", "ISO-8859-1", "WINDOWS-1252",
// "US-ASCII", any case). False when the name is unknown or the platform has
// no table for it.
bool Decode(std::string_view bytes, std::string_view charset, std::wstring& out);

// The whole file; false with a readable reason.
bool ReadFileBytes(const std::wstring& path, std::string& bytes, std::wstring& error);
// Writes through a temporary file in the same folder that replaces `path`
// at the end, flushed, so a failed write leaves an existing file as it was.
bool WriteFileBytes(const std::wstring& path, std::string_view bytes, std::wstring& error);
// Writes straight into `path`: for the many small files of one run, which
// the run deletes itself when it fails (a flush and a rename each would cost
// more than the writing).
bool WritePlainFile(const std::wstring& path, std::string_view bytes, std::wstring& error);

// "C:\dir" + "name.vcf" with exactly one separator.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

}  // namespace files
