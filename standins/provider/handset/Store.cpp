#include "Store.h"

#include <algorithm>

#include "IndexText.h"
#include "Recurrence.h"
#include "framework/Text.h"
#include "message/MessageTime.h"

namespace handset {
namespace {

constexpr wchar_t kSeparator = L'\x01';
constexpr uint32_t kFileMagic = 0x54534850;  // "PHST" in the serialised store
constexpr uint32_t kStoreVersion = 1;

template <class Record>
void AppendCopy(ContentList& out, const Record& record) {
  out.push_back(new Record(record));
}

std::wstring Lowered(const std::wstring& text) { return wf::ToLower(text); }

}  // namespace

std::wstring DayText(int dayNumber) {
  int y, m, d;
  DateOfDay(dayNumber, y, m, d);
  return Calendar::MakeDayText(y, m, d);
}

Store::Store() {
  // The system folders, in the order the handset lists them: raw ids 12..1.
  for (int32_t id = 12; id >= 1; --id) {
    Message::CFolder folder;
    folder.m_id = static_cast<ContentId>(id);
    folder.m_system = 1;
    folder.m_orderKey = 1000 + id;
    m_folders.push_back(folder);
  }
  CSimInfo one, two;
  one.m_cardId = 1;
  one.m_cardText = L"460030912345678";
  one.m_network = L"CDMA";
  one.m_operator = L"China Telecom";
  one.m_imsi = L"460030912345678";
  two.m_cardId = 2;
  two.m_cardText = L"460001234567890";
  two.m_network = L"GSM";
  two.m_operator = L"China Mobile";
  two.m_imsi = L"460001234567890";
  m_cards = {one, two};
}

// --- contacts ----------------------------------------------------------------

void Store::Prepare(StoredContact& stored) {
  Contact::CContactData& c = stored.data;
  c.Prepare();
  if (c.m_name[Contact::kDisplayName].empty()) c.m_name[Contact::kDisplayName] = c.m_name[Contact::kFullName];
  c.m_index = IndexTextOf(c.m_name[Contact::kDisplayName]);
  stored.search = Lowered(c.m_name[Contact::kDisplayName]) + kSeparator + Lowered(c.m_name[Contact::kGivenName]);
  for (const auto& phone : c.m_phones) stored.search += kSeparator + Lowered(phone.m_data);
  for (const auto& email : c.m_emails) stored.search += kSeparator + Lowered(email.m_data);
  stored.search += kSeparator + Lowered(c.m_index);
  // Phones list contacts by their letter, A to Z, and those without one
  // (digits, other scripts) after Z.
  const wchar_t first = c.m_index.empty() ? L'\0' : c.m_index[0];
  const bool letter = (first >= L'A' && first <= L'Z') || (first >= L'a' && first <= L'z');
  stored.sortKey = std::wstring(letter ? L"0" : L"1") + Lowered(c.m_index) + kSeparator + c.m_name[Contact::kDisplayName];
  c.m_groupNames.clear();  // delivered from the memberships
}

std::set<ContentId> Store::GroupsNamed(const std::vector<std::wstring>& names) const {
  std::set<ContentId> ids;
  for (const auto& name : names)
    for (const auto& [id, group] : m_groups)
      if (group.m_name == name) ids.insert(id);
  return ids;
}

Contact::CContactData Store::Delivered(const StoredContact& stored) const {
  Contact::CContactData copy = stored.data;
  for (ContentId id : stored.groups) {
    auto group = m_groups.find(id);
    if (group != m_groups.end()) copy.m_groupNames.push_back(group->second.m_name);
  }
  return copy;
}

const Store::StoredContact* Store::FindContact(ContentId id, Book* book) const {
  for (int b = 0; b < 3; ++b) {
    auto it = m_books[b].find(id);
    if (it != m_books[b].end()) {
      if (book) *book = static_cast<Book>(b);
      return &it->second;
    }
  }
  return nullptr;
}

size_t Store::CountContacts(Book book, bool starredOnly) const {
  const ContactBook& contacts = BookOf(book);
  if (!starredOnly) return contacts.size();
  return static_cast<size_t>(std::count_if(contacts.begin(), contacts.end(),
                                           [](const auto& entry) { return entry.second.data.m_starred != 0; }));
}

void Store::CollectContacts(Book book, const ContactFilter& filter, ContentList& out) const {
  std::wstring keyword = Lowered(filter.keyword);
  std::vector<const StoredContact*> found;
  for (const auto& [id, stored] : BookOf(book)) {
    if (filter.starredOnly && !stored.data.m_starred) continue;
    if (filter.groupId && !stored.groups.count(filter.groupId)) continue;
    if (!keyword.empty() && stored.search.find(keyword) == std::wstring::npos) continue;
    found.push_back(&stored);
  }
  std::sort(found.begin(), found.end(), [](const StoredContact* a, const StoredContact* b) {
    return a->sortKey != b->sortKey ? a->sortKey < b->sortKey : a->data.m_id < b->data.m_id;
  });
  for (const StoredContact* stored : found) out.push_back(new Contact::CContactData(Delivered(*stored)));
}

std::vector<const Contact::CContactData*> Store::SortedContacts(Book book) const {
  std::vector<const StoredContact*> all;
  for (const auto& entry : BookOf(book)) all.push_back(&entry.second);
  std::sort(all.begin(), all.end(), [](const StoredContact* a, const StoredContact* b) {
    return a->sortKey != b->sortKey ? a->sortKey < b->sortKey : a->data.m_id < b->data.m_id;
  });
  std::vector<const Contact::CContactData*> result;
  result.reserve(all.size());
  for (const StoredContact* stored : all) result.push_back(&stored->data);
  return result;
}

Contact::CContactData* Store::CopyContact(Book book, ContentId id) const {
  auto it = BookOf(book).find(id);
  return it == BookOf(book).end() ? nullptr : new Contact::CContactData(Delivered(it->second));
}

ContentId Store::InsertContact(Book book, const Contact::CContactData& contact) {
  StoredContact stored;
  stored.data = contact;
  stored.data.m_id = NextId(m_nextContact);
  // SIM books hold names and numbers only, and know no groups.
  if (book == Book::Phone) stored.groups = GroupsNamed(contact.m_groupNames);
  Prepare(stored);
  ContentId id = stored.data.m_id;
  BookOf(book).emplace(id, std::move(stored));
  Changed();
  return id;
}

bool Store::UpdateContact(Book book, const Contact::CContactData& contact) {
  auto it = BookOf(book).find(contact.m_id);
  if (it == BookOf(book).end()) return false;
  StoredContact& stored = it->second;
  stored.data = contact;
  if (book == Book::Phone) stored.groups = GroupsNamed(contact.m_groupNames);
  Prepare(stored);
  Changed();
  return true;
}

size_t Store::DeleteContacts(Book book, const IdList& ids) {
  size_t deleted = 0;
  for (ContentId id : ids) deleted += BookOf(book).erase(id);
  if (deleted) Changed();
  return deleted;
}

bool Store::SetStar(const IdList& ids, bool star) {
  ContactBook& phone = BookOf(Book::Phone);
  for (ContentId id : ids)
    if (!phone.count(id)) return false;
  for (ContentId id : ids) phone[id].data.m_starred = star ? 1 : 0;
  Changed();
  return true;
}

bool Store::SetMembership(const IdList& contactIds, ContentId groupId, bool add) {
  ContactBook& phone = BookOf(Book::Phone);
  if (!m_groups.count(groupId)) return false;
  for (ContentId id : contactIds)
    if (!phone.count(id)) return false;
  for (ContentId id : contactIds) {
    if (add) phone[id].groups.insert(groupId);
    else phone[id].groups.erase(groupId);
  }
  Changed();
  return true;
}

GroupCountList Store::GroupCounts() const {
  std::map<ContentId, uint32_t> counts;
  for (const auto& entry : m_groups) counts[entry.first] = 0;
  for (const auto& entry : BookOf(Book::Phone))
    for (ContentId group : entry.second.groups)
      if (counts.count(group)) ++counts[group];
  return GroupCountList(counts.begin(), counts.end());
}

void Store::CollectGroups(ContentList& out) const {
  for (const auto& entry : m_groups) AppendCopy(out, entry.second);
}

Contact::CGroupData* Store::CopyGroup(ContentId id) const {
  auto it = m_groups.find(id);
  return it == m_groups.end() ? nullptr : new Contact::CGroupData(it->second);
}

ContentId Store::InsertGroup(const Contact::CGroupData& group) {
  if (group.m_name.empty()) return 0;
  for (const auto& entry : m_groups)
    if (entry.second.m_name == group.m_name) return 0;
  Contact::CGroupData stored = group;
  stored.m_id = NextId(m_nextGroup);
  m_groups.emplace(stored.m_id, stored);
  Changed();
  return stored.m_id;
}

bool Store::UpdateGroup(const Contact::CGroupData& group) {
  auto it = m_groups.find(group.m_id);
  if (it == m_groups.end() || group.m_name.empty()) return false;
  for (const auto& entry : m_groups)
    if (entry.first != group.m_id && entry.second.m_name == group.m_name) return false;
  it->second = group;
  Changed();
  return true;
}

size_t Store::DeleteGroups(const IdList& ids) {
  size_t deleted = 0;
  for (ContentId id : ids) {
    if (!m_groups.erase(id)) continue;
    ++deleted;
    for (auto& entry : BookOf(Book::Phone)) entry.second.groups.erase(id);
  }
  if (deleted) Changed();
  return deleted;
}

// --- messages ----------------------------------------------------------------

Message::CFolder* Store::FolderById(int32_t folderId) {
  for (auto& folder : m_folders)
    if (static_cast<int32_t>(folder.m_id) == folderId) return &folder;
  return nullptr;
}

const Message::CFolder* Store::FolderById(int32_t folderId) const {
  for (const auto& folder : m_folders)
    if (static_cast<int32_t>(folder.m_id) == folderId) return &folder;
  return nullptr;
}

bool Store::HasFolder(int32_t folderId) const { return FolderById(folderId) != nullptr; }

void Store::CollectFolders(ContentList& out) const {
  std::map<int32_t, std::pair<int32_t, int32_t>> counts;  // folder → (total, unread)
  for (const auto& entry : m_messages) {
    auto& count = counts[entry.second.m_folderId];
    ++count.first;
    if (!entry.second.m_read) ++count.second;
  }
  for (const auto& folder : m_folders) {
    auto* copy = new Message::CFolder(folder);
    auto count = counts.find(static_cast<int32_t>(folder.m_id));
    copy->m_total = count == counts.end() ? 0 : count->second.first;
    copy->m_unread = count == counts.end() ? 0 : count->second.second;
    out.push_back(copy);
  }
}

Message::CFolder* Store::CopyFolder(int32_t folderId) const {
  const Message::CFolder* folder = FolderById(folderId);
  if (!folder) return nullptr;
  ContentList all;
  CollectFolders(all);
  Message::CFolder* result = nullptr;
  for (CContent* record : all) {
    if (!result && static_cast<int32_t>(record->m_id) == folderId) result = static_cast<Message::CFolder*>(record);
    else delete record;
  }
  return result;
}

void Store::RebuildNumberIndex() const {
  if (!m_numbersStale) return;
  m_numberOwner.clear();
  for (const auto& entry : BookOf(Book::Phone))
    for (const auto& phone : entry.second.data.m_phones)
      if (!phone.m_data.empty()) m_numberOwner.emplace(phone.m_data, entry.first);
  m_numbersStale = false;
}

Message::CSMSData Store::Delivered(const Message::CSMSData& stored) const {
  RebuildNumberIndex();
  Message::CSMSData copy = stored;
  auto owner = m_numberOwner.find(stored.m_phoneNumber);
  if (owner != m_numberOwner.end()) {
    auto contact = BookOf(Book::Phone).find(owner->second);
    copy.m_contactId = static_cast<int32_t>(owner->second);
    copy.m_contactName = contact->second.data.m_name[Contact::kDisplayName];
  } else {
    copy.m_contactId = 0;
    copy.m_contactName.clear();
  }
  return copy;
}

namespace {
bool NewerFirst(const Message::CSMSData* a, const Message::CSMSData* b) {
  return a->m_time != b->m_time ? a->m_time > b->m_time : a->m_id > b->m_id;
}
bool OlderFirst(const Message::CSMSData* a, const Message::CSMSData* b) {
  return a->m_time != b->m_time ? a->m_time < b->m_time : a->m_id < b->m_id;
}
}  // namespace

void Store::CollectFolderMessages(int32_t folderId, ContentList& out) const {
  std::vector<const Message::CSMSData*> found;
  for (const auto& entry : m_messages)
    if (entry.second.m_folderId == folderId) found.push_back(&entry.second);
  std::sort(found.begin(), found.end(), NewerFirst);
  for (const auto* message : found) out.push_back(new Message::CSMSData(Delivered(*message)));
}

std::vector<const Message::CSMSData*> Store::MessagesNewestFirst() const {
  std::vector<const Message::CSMSData*> all;
  all.reserve(m_messages.size());
  for (const auto& entry : m_messages) all.push_back(&entry.second);
  std::sort(all.begin(), all.end(), NewerFirst);
  return all;
}

void Store::CollectMessagesOfNumber(const std::wstring& number, ContentList& out) const {
  std::vector<const Message::CSMSData*> found;
  for (const auto& entry : m_messages)
    if (entry.second.m_phoneNumber == number && entry.second.m_folderId != Message::kFolderRecycleBin)
      found.push_back(&entry.second);
  std::sort(found.begin(), found.end(), OlderFirst);
  for (const auto* message : found) out.push_back(new Message::CSMSData(Delivered(*message)));
}

void Store::CollectConversations(GroupedContent& out) const {
  std::unordered_map<std::wstring, std::vector<const Message::CSMSData*>> byNumber;
  for (const auto& entry : m_messages) {
    const Message::CSMSData& message = entry.second;
    if (message.m_phoneNumber.empty() || message.m_folderId == Message::kFolderRecycleBin) continue;
    byNumber[message.m_phoneNumber].push_back(&message);
  }
  std::vector<std::pair<const std::wstring*, std::vector<const Message::CSMSData*>*>> conversations;
  for (auto& [number, messages] : byNumber) {
    std::sort(messages.begin(), messages.end(), OlderFirst);
    conversations.emplace_back(&number, &messages);
  }
  // Newest conversation first: by its latest message.
  std::sort(conversations.begin(), conversations.end(), [](const auto& a, const auto& b) {
    return NewerFirst(a.second->back(), b.second->back());
  });
  for (const auto& [number, messages] : conversations) {
    out.emplace_back(*number, ContentList());
    ContentList& list = out.back().second;
    for (const auto* message : *messages) list.push_back(new Message::CSMSData(Delivered(*message)));
  }
}

Message::CSMSData* Store::CopyMessage(ContentId id) const {
  auto it = m_messages.find(id);
  return it == m_messages.end() ? nullptr : new Message::CSMSData(Delivered(it->second));
}

std::vector<ContentId> Store::InsertMessages(const ContentList& messages) {
  std::vector<ContentId> ids;
  for (const CContent* record : messages) {
    auto* message = dynamic_cast<const Message::CSMSData*>(record);
    if (!message) continue;
    Message::CSMSData stored = *message;
    stored.m_id = NextId(m_nextMessage);
    if (!HasFolder(stored.m_folderId) || stored.m_folderId == Message::kFolderConversations ||
        stored.m_folderId == Message::kFolderCard)
      stored.m_folderId = Message::kFolderInbox;
    if (stored.m_time.empty()) stored.m_time = Message::MessageTimeNow();
    m_messages.emplace(stored.m_id, stored);
    ids.push_back(stored.m_id);
  }
  if (!ids.empty()) Changed();
  return ids;
}

size_t Store::DeleteMessages(const IdList& ids) {
  size_t deleted = 0;
  for (ContentId id : ids) deleted += m_messages.erase(id);
  if (deleted) Changed();
  return deleted;
}

bool Store::MoveMessages(const IdList& ids, int32_t folderId) {
  if (!HasFolder(folderId) || folderId == Message::kFolderConversations || folderId == Message::kFolderCard)
    return false;
  for (ContentId id : ids)
    if (!m_messages.count(id)) return false;
  for (ContentId id : ids) m_messages[id].m_folderId = folderId;
  Changed();
  return true;
}

bool Store::SetLock(const IdList& ids, bool lock) {
  for (ContentId id : ids)
    if (!m_messages.count(id)) return false;
  for (ContentId id : ids) m_messages[id].m_lock = lock ? 1 : 0;
  Changed();
  return true;
}

bool Store::SetRead(const IdList& ids, bool read) {
  for (ContentId id : ids)
    if (!m_messages.count(id)) return false;
  for (ContentId id : ids) m_messages[id].m_read = read ? 1 : 0;
  Changed();
  return true;
}

int32_t Store::InsertFolder(const Message::CFolder& folder) {
  if (folder.m_name.empty()) return 0;
  for (const auto& existing : m_folders)
    if (!existing.IsSystem() && existing.m_name == folder.m_name) return 0;
  Message::CFolder stored = folder;
  stored.m_id = NextId(m_nextFolder);
  stored.m_system = 0;
  stored.m_total = stored.m_unread = 0;
  // User folders come after the system ones, in the order they were made.
  stored.m_orderKey = 999 - static_cast<int32_t>(stored.m_id - 100);
  m_folders.push_back(stored);
  Changed();
  return static_cast<int32_t>(stored.m_id);
}

bool Store::RenameFolder(int32_t folderId, const std::wstring& name) {
  Message::CFolder* folder = FolderById(folderId);
  if (!folder || folder->IsSystem() || name.empty()) return false;
  for (const auto& other : m_folders)
    if (&other != folder && !other.IsSystem() && other.m_name == name) return false;
  folder->m_name = name;
  Changed();
  return true;
}

size_t Store::DeleteFolders(const IdList& ids) {
  size_t deleted = 0;
  for (ContentId id : ids) {
    auto it = std::find_if(m_folders.begin(), m_folders.end(),
                           [&](const Message::CFolder& f) { return f.m_id == id && !f.IsSystem(); });
    if (it == m_folders.end()) continue;
    for (auto& entry : m_messages)
      if (entry.second.m_folderId == static_cast<int32_t>(id)) entry.second.m_folderId = Message::kFolderRecycleBin;
    m_folders.erase(it);
    ++deleted;
  }
  if (deleted) Changed();
  return deleted;
}

std::vector<ContentId> Store::StoreSent(const ContentList& messages, int32_t cardId) {
  ContentList prepared;
  std::vector<Message::CSMSData> copies;
  copies.reserve(messages.size());
  std::wstring now = Message::MessageTimeNow();
  for (const CContent* record : messages) {
    auto* message = dynamic_cast<const Message::CSMSData*>(record);
    if (!message) continue;
    Message::CSMSData sent = *message;
    sent.m_folderId = Message::kFolderSent;
    sent.m_time = now;
    sent.m_read = 1;
    sent.m_state = Message::CSMSData::kStateOutgoing;
    sent.m_draftMarker = 0;
    sent.m_cardId = cardId;
    copies.push_back(sent);
  }
  for (auto& copy : copies) prepared.push_back(&copy);
  return InsertMessages(prepared);
}

// --- calendar ----------------------------------------------------------------

namespace {

// A copy of an occurrence placed on its own days: the start and end texts
// take the occurrence's dates, keeping the times of day.
Calendar::CCalendarData* Placed(const Calendar::CCalendarData& event, const Occurrence& occurrence) {
  auto* copy = new Calendar::CCalendarData(event);
  int y, m, d;
  DateOfDay(occurrence.firstDay, y, m, d);
  copy->m_start = Calendar::MakeTimeText(y, m, d, Calendar::TimeHour(event.m_start), Calendar::TimeMinute(event.m_start));
  DateOfDay(occurrence.lastDay, y, m, d);
  copy->m_end = Calendar::MakeTimeText(y, m, d, Calendar::TimeHour(event.m_end), Calendar::TimeMinute(event.m_end));
  return copy;
}

bool EarlierStart(const Calendar::CCalendarData* a, const Calendar::CCalendarData* b) {
  // All-day events first, then by start time, then by id.
  if (a->IsAllDay() != b->IsAllDay()) return a->IsAllDay();
  return a->m_start != b->m_start ? a->m_start < b->m_start : a->m_id < b->m_id;
}

}  // namespace

void Store::CollectEventsByDay(int fromDay, int toDay, GroupedContent& out) const {
  if (fromDay > toDay) return;
  std::map<int, std::vector<Calendar::CCalendarData*>> days;
  for (const auto& entry : m_events) {
    for (const Occurrence& occurrence : OccurrencesIn(entry.second, fromDay, toDay)) {
      Calendar::CCalendarData* placed = Placed(entry.second, occurrence);
      int first = std::max(occurrence.firstDay, fromDay), last = std::min(occurrence.lastDay, toDay);
      for (int day = first + 1; day <= last; ++day) days[day].push_back(new Calendar::CCalendarData(*placed));
      days[first].push_back(placed);
    }
  }
  for (auto& [day, events] : days) {
    std::sort(events.begin(), events.end(), EarlierStart);
    out.emplace_back(DayText(day), ContentList(events.begin(), events.end()));
  }
}

void Store::CollectEventDays(int fromDay, int toDay, DayList& out) const {
  if (fromDay > toDay) return;
  std::set<int> days;
  for (const auto& entry : m_events)
    for (const Occurrence& occurrence : OccurrencesIn(entry.second, fromDay, toDay))
      for (int day = std::max(occurrence.firstDay, fromDay); day <= std::min(occurrence.lastDay, toDay); ++day)
        days.insert(day);
  for (int day : days) out.push_back(DayText(day));
}

void Store::SearchEvents(const std::wstring& keyword, ContentList& out) const {
  std::wstring lowered = Lowered(keyword);
  std::vector<const Calendar::CCalendarData*> found;
  for (const auto& entry : m_events) {
    const Calendar::CCalendarData& e = entry.second;
    bool hit = lowered.empty() || Lowered(e.m_topic).find(lowered) != std::wstring::npos ||
               Lowered(e.m_address).find(lowered) != std::wstring::npos ||
               Lowered(e.m_remark).find(lowered) != std::wstring::npos;
    for (const auto& attendee : e.m_attendees)
      hit = hit || Lowered(attendee.m_name).find(lowered) != std::wstring::npos;
    if (hit) found.push_back(&e);
  }
  std::sort(found.begin(), found.end(), [](const auto* a, const auto* b) {
    return a->m_start != b->m_start ? a->m_start < b->m_start : a->m_id < b->m_id;
  });
  for (const auto* event : found) AppendCopy(out, *event);
}

Calendar::CCalendarData* Store::CopyEvent(ContentId id) const {
  auto it = m_events.find(id);
  return it == m_events.end() ? nullptr : new Calendar::CCalendarData(it->second);
}

ContentId Store::InsertEvent(const Calendar::CCalendarData& event) {
  int day = 0;
  if (!DayOfText(event.m_start, day)) return 0;
  Calendar::CCalendarData stored = event;
  stored.m_id = NextId(m_nextEvent);
  m_events.emplace(stored.m_id, stored);
  Changed();
  return stored.m_id;
}

bool Store::UpdateEvent(const Calendar::CCalendarData& event) {
  auto it = m_events.find(event.m_id);
  int day = 0;
  if (it == m_events.end() || !DayOfText(event.m_start, day)) return false;
  it->second = event;
  Changed();
  return true;
}

size_t Store::DeleteEvents(const IdList& ids) {
  size_t deleted = 0;
  for (ContentId id : ids) deleted += m_events.erase(id);
  if (deleted) Changed();
  return deleted;
}

// --- SIM cards ---------------------------------------------------------------

bool Store::SetSimCards(const SimCardList& cards) {
  if (cards.size() > 2) return false;
  std::set<int32_t> ids;
  for (const auto& card : cards)
    if ((card.m_cardId != 1 && card.m_cardId != 2) || !ids.insert(card.m_cardId).second) return false;
  m_cards = cards;
  Changed();
  return true;
}

bool Store::HasCard(int32_t cardId) const {
  return std::any_of(m_cards.begin(), m_cards.end(), [&](const CSimInfo& card) { return card.m_cardId == cardId; });
}

// --- the whole handset -------------------------------------------------------

void Store::Serialize(ByteWriter& out) const {
  out.U32(kFileMagic);
  out.U32(kStoreVersion);
  for (ContentId counter : {m_nextContact, m_nextGroup, m_nextMessage, m_nextFolder, m_nextEvent}) out.U32(counter);
  for (const ContactBook& book : m_books) {
    out.U32(static_cast<uint32_t>(book.size()));
    for (const auto& [id, stored] : book) {
      Write(out, stored.data);
      out.U32(static_cast<uint32_t>(stored.groups.size()));
      for (ContentId group : stored.groups) out.U32(group);
    }
  }
  out.U32(static_cast<uint32_t>(m_groups.size()));
  for (const auto& entry : m_groups) Write(out, entry.second);
  out.U32(static_cast<uint32_t>(m_folders.size()));
  for (const auto& folder : m_folders) Write(out, folder);
  out.U32(static_cast<uint32_t>(m_messages.size()));
  for (const auto& entry : m_messages) Write(out, entry.second);
  out.U32(static_cast<uint32_t>(m_events.size()));
  for (const auto& entry : m_events) Write(out, entry.second);
  out.U32(static_cast<uint32_t>(m_cards.size()));
  for (const auto& card : m_cards) Write(out, card);
}

bool Store::Deserialize(ByteReader& in) {
  if (in.U32() != kFileMagic || in.U32() != kStoreVersion) return false;
  Store loaded;
  for (ContentId* counter : {&loaded.m_nextContact, &loaded.m_nextGroup, &loaded.m_nextMessage, &loaded.m_nextFolder,
                             &loaded.m_nextEvent})
    *counter = in.U32();
  for (ContactBook& book : loaded.m_books) {
    uint32_t count = in.Count(64);
    for (uint32_t i = 0; i < count && in.ok(); ++i) {
      StoredContact stored;
      Read(in, stored.data);
      uint32_t groups = in.Count(4);
      for (uint32_t g = 0; g < groups; ++g) stored.groups.insert(in.U32());
      loaded.Prepare(stored);
      book.emplace(stored.data.m_id, std::move(stored));
    }
  }
  uint32_t groups = in.Count(40);
  for (uint32_t i = 0; i < groups && in.ok(); ++i) {
    Contact::CGroupData group;
    Read(in, group);
    loaded.m_groups.emplace(group.m_id, group);
  }
  loaded.m_folders.clear();
  uint32_t folders = in.Count(40);
  for (uint32_t i = 0; i < folders && in.ok(); ++i) {
    Message::CFolder folder;
    Read(in, folder);
    loaded.m_folders.push_back(folder);
  }
  uint32_t messages = in.Count(60);
  for (uint32_t i = 0; i < messages && in.ok(); ++i) {
    Message::CSMSData message;
    Read(in, message);
    loaded.m_messages.emplace(message.m_id, message);
  }
  uint32_t events = in.Count(60);
  for (uint32_t i = 0; i < events && in.ok(); ++i) {
    Calendar::CCalendarData event;
    Read(in, event);
    loaded.m_events.emplace(event.m_id, event);
  }
  loaded.m_cards.clear();
  uint32_t cards = in.Count(20);
  for (uint32_t i = 0; i < cards && in.ok(); ++i) {
    CSimInfo card;
    Read(in, card);
    loaded.m_cards.push_back(card);
  }
  if (!in.ok() || !in.AtEnd()) return false;
  // The twelve system folders are part of every handset.
  for (int32_t id = 1; id <= 12; ++id)
    if (!loaded.HasFolder(id)) return false;
  loaded.m_revision = m_revision + 1;
  *this = std::move(loaded);
  return true;
}

}  // namespace handset
