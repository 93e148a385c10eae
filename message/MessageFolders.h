// The folder rules of the messages module: the order folders arrive in, which
// catalogue positions the folder tree lists, and how counts change. Plain
// code over the records.
#pragma once
#include <vector>

#include "message/MessageData.h"

namespace Message {

// Orders a refresh's folders by descending order key: an exchange sort that
// brings a later folder forward whenever its key is strictly greater.
void SortByOrderKey(std::vector<CFolder*>& folders);

// Whether catalogue `position` gets an entry in the folder tree. The
// conversations (0) and the card folder (4) never do, whatever holds those
// positions; positions 2 and 3 only when a user folder holds them or a card
// of their kind is in the phone (position 2: a card of display type 2; position 3: of type 1 or 3).
bool IsFolderListed(int position, bool systemFolder, bool cardOfType2, bool cardOfType1or3);

// Adds changes to a folder's total and (for the inbox) unread count; a
// result below 0 is kept at 0.
void AdjustCounts(CFolder& folder, int totalChange, int unreadChange, bool inbox);

}  // namespace Message
