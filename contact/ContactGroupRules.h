// The rules of the group dialog's name field, apart from the dialog so that
// they are checked without showing it.
#pragma once
#include <string>
#include <vector>

namespace Contact {

// The text without the space characters (only those) at either end. Given no
// text at all it writes "Params Error." under the tag "CContactGroupWnd" to
// the information log and answers the empty text.
std::wstring TrimGroupName(const std::wstring& text);

enum class GroupNameVerdict {
  kAccepted,  // `name` holds the name to save
  kEmpty,     // nothing but blanks: the empty-name tip ("pim.contact.groupemptytip")
  kExists,    // another group has it: the exists tip ("pim.group.existtip")
};

// Checks the field's text on save: trimmed, not empty, and either the group's
// name at opening or no existing group's name (exact comparison, case
// counting).
GroupNameVerdict CheckGroupName(const std::wstring& fieldText, const std::wstring& nameAtOpening,
                                const std::vector<std::wstring>& existingNames, std::wstring& name);

}  // namespace Contact
