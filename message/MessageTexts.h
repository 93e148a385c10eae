// The message module's shared display rules: the folder catalogue, folder and
// card names, network texts, and labels with counts. Folder and card names
// come from the resource and shared-dialog libraries.
#pragma once
#include <string>
#include <vector>

#include "content/Content.h"
#include "content/SimCard.h"
#include "message/MessageData.h"
#include "message/MessageTime.h"

namespace Message {

// Catalogue positions the module relies on.
enum CataloguePosition : int {
  kPosConversations = 0,
  kPosInbox = 1,
  kPosSimOne = 2,
  kPosSimTwo = 3,
  kPosCard = 4,
  kPosOutbox = 5,
  kPosSent = 6,
  kPosDrafts = 7,
  kPosRecycleBin = 8,
};
constexpr int kMaxSystemFolders = 9;

// The resource key naming system folder `rawId`; null for the two SIM card
// folders (named from their cards) and for ids outside 1..12.
const wchar_t* SystemFolderNameKey(int32_t rawId);

// The folder catalogue from the library's answer to a folder query: the first
// nine system folders in answer order, then every user folder. Records that
// are not folders are skipped.
std::vector<CFolder> BuildFolderCatalogue(const ContentList& answer);

// The name of a SIM card folder (raw id 10: card one, 9: card two), from the
// display type of that card's record.
std::wstring SimFolderName(int32_t rawId, const SimCardList& cards);

// The name a folder is shown with: system folders by raw id (an id outside
// 1..12 gives an empty name), user folders by their own name.
std::wstring FolderName(const CFolder& folder, const SimCardList& cards);

// The network text of a message's card for the message list.
std::wstring NetworkText(const CSMSData& message, const SimCardList& cards);

// The contact name when there is one, else the phone number.
std::wstring PartyShown(const CSMSData& message);
// First 14 characters and "..." for texts of 15 characters or more.
std::wstring TruncateParty(const std::wstring& party);

// Labels with counts, without blanks.
std::wstring InboxLabel(const std::wstring& name, int unread, int total);
std::wstring FolderLabel(const std::wstring& name, int total);
std::wstring NewFolderLabel(const std::wstring& name);
std::wstring ConversationLabel(const std::wstring& party, int count);

}  // namespace Message
