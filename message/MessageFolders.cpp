#include "message/MessageFolders.h"

#include <algorithm>
#include <utility>

#include "message/MessageTexts.h"

namespace Message {

void SortByOrderKey(std::vector<CFolder*>& folders) {
  for (size_t i = 0; i < folders.size(); ++i)
    for (size_t j = i + 1; j < folders.size(); ++j)
      if (folders[j]->m_orderKey > folders[i]->m_orderKey) std::swap(folders[i], folders[j]);
}

bool IsFolderListed(int position, bool systemFolder, bool cardOfType2, bool cardOfType1or3) {
  switch (position) {
    case kPosConversations:
    case kPosCard:
      return false;
    case kPosSimOne:
      return !systemFolder || cardOfType2;
    case kPosSimTwo:
      return !systemFolder || cardOfType1or3;
    default:
      return position >= 0;
  }
}

void AdjustCounts(CFolder& folder, int totalChange, int unreadChange, bool inbox) {
  folder.m_total = std::max(0, folder.m_total + totalChange);
  if (inbox) folder.m_unread = std::max(0, folder.m_unread + unreadChange);
}

}  // namespace Message
