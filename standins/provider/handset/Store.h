// The simulated handset's store: what a phone holds (contacts in its memory
// and on up to two SIM cards, groups, messages in folders, calendar events,
// the SIM cards themselves) and the operations the data-provider library
// carries out on it. Plain data and code: no threads, no windows, no files
// (the library serialises access and saves it, HandsetFile.h).
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "Serial.h"
#include "calendar/CalendarData.h"
#include "contact/ContactData.h"
#include "content/Content.h"
#include "content/SimCard.h"
#include "message/MessageData.h"

namespace handset {

// Where a contact lives: the phone's memory or one of the SIM cards' books.
enum class Book { Phone = 0, CardOne = 1, CardTwo = 2 };

// What a contact query wants.
struct ContactFilter {
  bool starredOnly = false;
  ContentId groupId = 0;  // 0: any
  std::wstring keyword;   // empty: any; else case-insensitive search
};

class Store {
 public:
  // A new handset: the system folders, no contacts, messages or events, and
  // the two SIM cards it came with.
  Store();

  // Every change raises the revision (the library saves when it moved).
  uint64_t revision() const { return m_revision; }

  // --- contacts and groups ---
  size_t CountContacts(Book book, bool starredOnly) const;
  // Copies of the matching contacts, sorted by index text (then name, id),
  // appended to `out` as new records; group names filled in.
  void CollectContacts(Book book, const ContactFilter& filter, ContentList& out) const;
  // The contacts of a book in delivery order, for streaming; valid until the next change.
  std::vector<const Contact::CContactData*> SortedContacts(Book book) const;
  // A copy of one contact with its group names, or null.
  Contact::CContactData* CopyContact(Book book, ContentId id) const;
  // Stores a new contact; its id, index text and group names are the store's.
  // Answers the stored copy's id (0 when it cannot be stored).
  ContentId InsertContact(Book book, const Contact::CContactData& contact);
  bool UpdateContact(Book book, const Contact::CContactData& contact);
  // Answers how many were deleted; unknown ids are skipped.
  size_t DeleteContacts(Book book, const IdList& ids);
  // Both answer false when any id is unknown, and then change nothing.
  bool SetStar(const IdList& ids, bool star);
  bool SetMembership(const IdList& contactIds, ContentId groupId, bool add);
  GroupCountList GroupCounts() const;

  void CollectGroups(ContentList& out) const;
  Contact::CGroupData* CopyGroup(ContentId id) const;
  // A group needs a name no other group has.
  ContentId InsertGroup(const Contact::CGroupData& group);
  bool UpdateGroup(const Contact::CGroupData& group);
  size_t DeleteGroups(const IdList& ids);
  size_t GroupCount() const { return m_groups.size(); }

  // --- messages and folders ---
  // System folders (raw ids 12 down to 1) then user folders, with their
  // totals and unread counts.
  void CollectFolders(ContentList& out) const;
  bool HasFolder(int32_t folderId) const;
  // Messages newest first, contact names filled from the phone's contacts.
  void CollectFolderMessages(int32_t folderId, ContentList& out) const;
  std::vector<const Message::CSMSData*> MessagesNewestFirst() const;
  // The messages exchanged with a number (recycle bin excluded), oldest first.
  void CollectMessagesOfNumber(const std::wstring& number, ContentList& out) const;
  // One group per number, newest conversation first, messages oldest first.
  void CollectConversations(GroupedContent& out) const;
  Message::CSMSData* CopyMessage(ContentId id) const;
  // A message as it would be delivered (contact name filled in).
  Message::CSMSData Delivered(const Message::CSMSData& stored) const;
  // Stores copies of new messages; a message for a folder that does not
  // exist goes to the inbox. Answers the stored ids in order.
  std::vector<ContentId> InsertMessages(const ContentList& messages);
  size_t DeleteMessages(const IdList& ids);
  // False when the folder does not exist or any id is unknown.
  bool MoveMessages(const IdList& ids, int32_t folderId);
  bool SetLock(const IdList& ids, bool lock);
  bool SetRead(const IdList& ids, bool read);
  // A user folder; false on an empty or duplicate name.
  int32_t InsertFolder(const Message::CFolder& folder);
  bool RenameFolder(int32_t folderId, const std::wstring& name);
  // Deletes user folders; their messages go to the recycle bin.
  size_t DeleteFolders(const IdList& ids);
  Message::CFolder* CopyFolder(int32_t folderId) const;
  // Stores messages sent through card `cardId` in the sent folder.
  std::vector<ContentId> StoreSent(const ContentList& messages, int32_t cardId);
  size_t MessageCount() const { return m_messages.size(); }

  // --- calendar ---
  // For each day of [fromDay, toDay] (serial days) that holds events, the day
  // text and copies of its events, repeating events placed on their days.
  void CollectEventsByDay(int fromDay, int toDay, GroupedContent& out) const;
  void CollectEventDays(int fromDay, int toDay, DayList& out) const;
  // Events whose topic, address, remark or attendees hold the keyword.
  void SearchEvents(const std::wstring& keyword, ContentList& out) const;
  Calendar::CCalendarData* CopyEvent(ContentId id) const;
  ContentId InsertEvent(const Calendar::CCalendarData& event);
  bool UpdateEvent(const Calendar::CCalendarData& event);
  size_t DeleteEvents(const IdList& ids);
  size_t EventCount() const { return m_events.size(); }

  // --- SIM cards ---
  const SimCardList& SimCards() const { return m_cards; }
  // Zero, one or two cards with ids 1 and/or 2; false otherwise.
  bool SetSimCards(const SimCardList& cards);
  bool HasCard(int32_t cardId) const;

  // --- the whole handset ---
  void Serialize(ByteWriter& out) const;
  // Replaces this store with what `in` holds; false (store unchanged) when it
  // cannot be read.
  bool Deserialize(ByteReader& in);

 private:
  struct StoredContact {
    Contact::CContactData data;
    std::set<ContentId> groups;
    std::wstring search;   // lower-case searchable texts, separated
    std::wstring sortKey;  // index text, then display name
  };
  using ContactBook = std::map<ContentId, StoredContact>;

  ContactBook& BookOf(Book book) { return m_books[static_cast<int>(book)]; }
  const ContactBook& BookOf(Book book) const { return m_books[static_cast<int>(book)]; }
  void Prepare(StoredContact& stored);
  std::set<ContentId> GroupsNamed(const std::vector<std::wstring>& names) const;
  Contact::CContactData Delivered(const StoredContact& stored) const;
  const StoredContact* FindContact(ContentId id, Book* book = nullptr) const;
  void Changed() { ++m_revision; m_numbersStale = true; }
  void RebuildNumberIndex() const;
  Message::CFolder* FolderById(int32_t folderId);
  const Message::CFolder* FolderById(int32_t folderId) const;
  ContentId NextId(ContentId& counter) { return counter++; }

  ContactBook m_books[3];
  std::map<ContentId, Contact::CGroupData> m_groups;
  std::map<ContentId, Message::CSMSData> m_messages;
  std::vector<Message::CFolder> m_folders;  // system folders first
  std::map<ContentId, Calendar::CCalendarData> m_events;
  SimCardList m_cards;
  ContentId m_nextContact = 1;
  ContentId m_nextGroup = 1;
  ContentId m_nextMessage = 1;
  ContentId m_nextFolder = 100;
  ContentId m_nextEvent = 1;
  uint64_t m_revision = 0;

  // Phone number → the phone contact that has it, for naming messages.
  mutable std::unordered_map<std::wstring, ContentId> m_numberOwner;
  mutable bool m_numbersStale = true;
};

// The day text "YYYYMMDD" of a serial day.
std::wstring DayText(int dayNumber);

}  // namespace handset
