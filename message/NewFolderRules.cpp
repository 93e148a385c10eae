#include "message/NewFolderRules.h"

#include <algorithm>

namespace Message {

std::wstring TrimFolderName(const std::wstring& text) {
  static constexpr wchar_t kBlanks[] = L" \t\r\n\u3000";
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::wstring::npos) return {};
  const size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

FolderNameVerdict CheckFolderName(const std::wstring& fieldText, const std::vector<std::wstring>& existingNames,
                                  std::wstring& name) {
  name = TrimFolderName(fieldText);
  if (name.empty()) return FolderNameVerdict::kEmpty;
  if (std::find(existingNames.begin(), existingNames.end(), name) != existingNames.end())
    return FolderNameVerdict::kExists;
  return FolderNameVerdict::kAccepted;
}

}  // namespace Message
