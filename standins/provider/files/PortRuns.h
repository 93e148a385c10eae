// The runs of the library's import and export helper against the simulated
// handset: what an export covers, the file it writes in each format, and an
// import that reads its files first and then applies all of their records
// or none. Plain code: no threads, no windows (the helper runs them on the
// answer thread and reports their progress through its callback).
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "content/Content.h"
#include "handset/Store.h"

namespace files {

enum class PortFormat { Xml, Excel, VCard };

// Told how far a run is (records done of total); answers false to cancel.
using Progress = std::function<bool(size_t done, size_t total)>;

struct PortOutcome {
  enum Kind { kDone, kNothing, kCancelled, kFailed } kind = kNothing;
  size_t moved = 0;      // records written or imported
  size_t skipped = 0;    // records (cards) that could not be read
  std::wstring problem;  // why it failed, or what was skipped, for the log
};

// An export of contacts: a book (or its favourites), a group, or chosen ids.
struct ContactScope {
  handset::Book book = handset::Book::Phone;
  bool starredOnly = false;
  ContentId groupId = 0;
  std::optional<IdList> ids;
};
// An export of messages: a folder, or chosen ids.
struct MessageScope {
  int32_t folderId = 0;
  std::optional<IdList> ids;
};

// `path` is a file for XML and Excel (".xls" writes the binary workbook, any
// other name Office Open XML), a folder for vCard (one card per contact).
// `language` titles the spreadsheet columns (the suite's numbering).
PortOutcome ExportContacts(const handset::Store& store, const ContactScope& scope, PortFormat format,
                           const std::wstring& path, int language, const Progress& progress);
PortOutcome ExportMessages(const handset::Store& store, const MessageScope& scope, PortFormat format,
                           const std::wstring& path, int language, const Progress& progress);

// Imports into the phone's contacts every record of `paths` (for vCard, the
// .vcf files of each folder in `paths`). A file that cannot be read fails the
// run; a vCard that cannot be read is skipped and counted.
PortOutcome ImportContacts(handset::Store& store, PortFormat format, const std::vector<std::wstring>& paths,
                           const Progress& progress);
// `ignoreFolders`: the handset keeps no folders of the file; messages go to
// the inbox (or to the sent folder when they were sent).
PortOutcome ImportMessages(handset::Store& store, PortFormat format, const std::vector<std::wstring>& paths,
                           bool ignoreFolders, const Progress& progress);

}  // namespace files
