// Message records: a text message and a message folder, as the data-provider
// library delivers and takes them.
//
// Binary contract with the data-provider library: keep the order and types of
// the fields. Fields the plug-in never reads (the "opaque" ones) are filled by
// the library and must survive every copy unchanged.
#pragma once
#include <cstdint>
#include <string>

#include "content/Content.h"

namespace Message {

// Raw ids of the system folders, the values of a message's folder id and a
// system folder's id (the catalogue's order is 12 down to 4).
enum SystemFolderId : int32_t {
  kFolderNotifications = 1,
  kFolderVoiceBox = 2,
  kFolderCellBroadcast = 3,
  kFolderRecycleBin = 4,
  kFolderDrafts = 5,
  kFolderSent = 6,
  kFolderOutbox = 7,
  kFolderCard = 8,
  kFolderSimTwo = 9,
  kFolderSimOne = 10,
  kFolderInbox = 11,
  kFolderConversations = 12,
};

class CSMSData : public CRemoteContent {
 public:
  CSMSData() = default;
  CSMSData(const CSMSData&) = default;
  CSMSData& operator=(const CSMSData&) = default;
  ~CSMSData() override = default;
  CContent* Clone() const override { return new CSMSData(*this); }
  bool operator==(const CSMSData&) const = default;

  // State of a message composed on the computer and not sent (drafts, copies).
  static constexpr int32_t kStateComposed = 3;
  // State of a message shown on the right-hand side of a conversation.
  static constexpr int32_t kStateOutgoing = 1;
  static constexpr int32_t kDraftMarker = -1;

  // m_id (inherited): the handset's id of the message.
  int32_t m_folderId = 0;          // raw id of the folder that holds it
  std::wstring m_opaqueText1;
  std::wstring m_phoneNumber;      // the other party's number
  int32_t m_contactId = 0;         // matching contact, 0 = none
  std::wstring m_contactName;      // its display name, empty when none
  std::wstring m_time;             // "YYYYMMDDTHHMMSSZ", local wall-clock time
  int32_t m_opaqueInt1 = 1;
  int32_t m_read = 0;              // non-zero: read
  int32_t m_draftMarker = 0;       // -1 when saved as a draft
  int32_t m_state = 0;             // kStateComposed, kStateOutgoing, or as delivered
  int32_t m_opaqueInt2 = 0;
  std::wstring m_opaqueText2;
  std::wstring m_body;
  std::wstring m_opaqueText3;
  int32_t m_lock = 0;              // non-zero: protected from deletion and moving
  int32_t m_opaqueInt3 = 0;
  int32_t m_cardId = 0;            // SIM card of the message (1 or 2)
  std::wstring m_simText;          // the sending card's text (SIM card record)
};

class CFolder : public CRemoteContent {
 public:
  CFolder() = default;
  CFolder(const CFolder&) = default;
  CFolder& operator=(const CFolder&) = default;
  ~CFolder() override = default;
  CContent* Clone() const override { return new CFolder(*this); }
  bool operator==(const CFolder&) const = default;

  bool IsSystem() const { return m_system == 1; }

  // m_id (inherited): raw id, 1..12 for system folders.
  int32_t m_orderKey = 0;          // folders are listed by descending key
  std::wstring m_name;             // user folders only
  std::wstring m_opaqueText1;
  int32_t m_total = 0;
  int32_t m_unread = 0;
  int32_t m_opaqueInt2 = 0;
  int32_t m_opaqueInt3 = 0;
  int32_t m_system = 0;            // 1 = system folder
  int32_t m_opaqueInt4 = 0;
  int32_t m_opaqueInt5 = 0;
};

}  // namespace Message
