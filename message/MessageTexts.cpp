#include "message/MessageTexts.h"

#include <windows.h>

#include "controls/ResText.h"
#include "frame/suite/ResourceLibrary.h"
#include "frame/suite/SharedDialogs.h"
#include "framework/Text.h"

namespace Message {
namespace {

// The text of a display type: G, C and W networks, or null for another type.
const wchar_t* CardTypeKey(int displayType, const wchar_t* g, const wchar_t* c, const wchar_t* w) {
  switch (displayType) {
    case 1: return g;
    case 2: return c;
    case 3: return w;
    default: return nullptr;
  }
}

}  // namespace

const wchar_t* SystemFolderNameKey(int32_t rawId) {
  switch (rawId) {
    case kFolderConversations: return L"pim.sms.chart";
    case kFolderInbox: return L"pim.sms.inbox";
    case kFolderCard: return L"pim.sms.card";
    case kFolderOutbox: return L"pim.sms.outbox";
    case kFolderSent: return L"pim.sms.sent";
    case kFolderDrafts: return L"pim.sms.draft";
    case kFolderRecycleBin: return L"pim.sms.ashbin";
    case kFolderCellBroadcast: return L"pim.sms.cellbroadcast";
    case kFolderVoiceBox: return L"pim.sms.voicebox";
    case kFolderNotifications: return L"pim.sms.notifications";
    default: return nullptr;  // SIM card folders and unknown ids
  }
}

std::vector<CFolder> BuildFolderCatalogue(const ContentList& answer) {
  std::vector<CFolder> catalogue;
  std::vector<CFolder> user;
  int systems = 0;
  for (CContent* record : answer) {
    auto* folder = dynamic_cast<CFolder*>(record);
    if (!folder) continue;
    if (folder->IsSystem()) {
      if (systems < kMaxSystemFolders) {
        catalogue.push_back(*folder);
        ++systems;
      }
    } else {
      user.push_back(*folder);
    }
  }
  catalogue.insert(catalogue.end(), user.begin(), user.end());
  return catalogue;
}

std::wstring SimFolderName(int32_t rawId, const SimCardList& cards) {
  int32_t cardId = rawId == kFolderSimOne ? 1 : 2;
  int displayType = 0;
  for (const CSimInfo& card : cards)
    if (card.m_cardId == cardId) {
      displayType = getDisplayCardType(card);
      break;
    }
  if (const wchar_t* key = CardTypeKey(displayType, L"pim.gnetcard", L"pim.cnetcard", L"pim.wnetcard"))
    return qs::ResText(key);
  return wf::FormatText(qs::ResText(L"pim.sms.cardname").c_str(), cardId);
}

std::wstring FolderName(const CFolder& folder, const SimCardList& cards) {
  if (!folder.IsSystem()) return folder.m_name;
  if (folder.m_id == kFolderSimOne || folder.m_id == kFolderSimTwo)
    return SimFolderName(static_cast<int32_t>(folder.m_id), cards);
  const wchar_t* key = SystemFolderNameKey(static_cast<int32_t>(folder.m_id));
  return key ? qs::ResText(key) : std::wstring();
}

std::wstring NetworkText(const CSMSData& message, const SimCardList& cards) {
  const CSimInfo* card = nullptr;
  if (cards.size() == 1 && cards.front().m_cardId == message.m_cardId) {
    card = &cards.front();
  } else if (cards.size() == 2) {
    if (cards.front().m_cardId == message.m_cardId) card = &cards.front();
    else if (cards.back().m_cardId == message.m_cardId) card = &cards.back();
  }
  const wchar_t* key = card ? CardTypeKey(getDisplayCardType(*card), L"pim.sms.gnettype", L"pim.sms.cnettype",
                                          L"pim.sms.wnettype")
                            : nullptr;
  return qs::ResText(key ? key : L"pim.sms.unknownettype");
}

std::wstring PartyShown(const CSMSData& message) {
  return message.m_contactName.empty() ? message.m_phoneNumber : message.m_contactName;
}

std::wstring TruncateParty(const std::wstring& party) {
  return party.size() >= 15 ? party.substr(0, 14) + L"..." : party;
}

std::wstring InboxLabel(const std::wstring& name, int unread, int total) {
  return name + L"(" + std::to_wstring(unread) + L"/" + std::to_wstring(total) + L")";
}

std::wstring FolderLabel(const std::wstring& name, int total) { return name + L"(" + std::to_wstring(total) + L")"; }

std::wstring NewFolderLabel(const std::wstring& name) { return name + L"(0)"; }

std::wstring ConversationLabel(const std::wstring& party, int count) {
  return TruncateParty(party) + L"(" + std::to_wstring(count) + L")";
}

}  // namespace Message
