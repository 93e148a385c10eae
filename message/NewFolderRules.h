// The rules of the new-folder dialog's name field, apart from the dialog so
// that they are checked without showing it.
#pragma once
#include <string>
#include <vector>

namespace Message {

// The text without the blanks (spaces, tabs, line breaks and the ideographic
// space) at either end.
std::wstring TrimFolderName(const std::wstring& text);

enum class FolderNameVerdict {
  kAccepted,  // `name` holds the name to create
  kEmpty,     // nothing but blanks: "pim.contact.groupemptytip"
  kExists,    // a folder has it already: "pim.folder.existtip"
};

// Checks the field's text on save: trimmed, not empty, and no existing
// folder's name (exact comparison: the handset tells folders apart by case).
FolderNameVerdict CheckFolderName(const std::wstring& fieldText, const std::vector<std::wstring>& existingNames,
                                  std::wstring& name);

}  // namespace Message
