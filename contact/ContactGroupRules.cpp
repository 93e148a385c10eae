#include "contact/ContactGroupRules.h"

#include <algorithm>

#include "frame/suite/BaseLibrary.h"

namespace Contact {

std::wstring TrimGroupName(const std::wstring& text) {
  if (text.empty()) {
    LOG::I("CContactGroupWnd", "Params Error.");
    return {};
  }
  size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return {};
  size_t last = text.find_last_not_of(L' ');
  return text.substr(first, last - first + 1);
}

GroupNameVerdict CheckGroupName(const std::wstring& fieldText, const std::wstring& nameAtOpening,
                                const std::vector<std::wstring>& existingNames, std::wstring& name) {
  name = fieldText.empty() ? std::wstring() : TrimGroupName(fieldText);
  if (name.empty()) return GroupNameVerdict::kEmpty;
  if (name == nameAtOpening) return GroupNameVerdict::kAccepted;
  if (std::find(existingNames.begin(), existingNames.end(), name) != existingNames.end())
    return GroupNameVerdict::kExists;
  return GroupNameVerdict::kAccepted;
}

}  // namespace Contact
