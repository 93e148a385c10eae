// The simulated handset's store, its file and its sample, without threads:
// repeat expansion, index texts, counts after changes, the binary encoding,
// atomic saving and damaged files.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "EmbeddedData.h"
#include "TestSupport.h"
#include "handset/Generator.h"
#include "handset/HandsetFile.h"
#include "handset/IndexText.h"
#include "handset/Recurrence.h"
#include "handset/Store.h"
#include "framework/Text.h"
#include "message/MessageTexts.h"

namespace {

using namespace handset;

int Day(int y, int m, int d) { return DayNumber(y, m, d); }

std::vector<std::wstring> Days(const std::vector<Occurrence>& occurrences) {
  std::vector<std::wstring> days;
  for (const auto& o : occurrences) days.push_back(DayText(o.firstDay));
  return days;
}

Calendar::CCalendarData Event(const std::wstring& start, const std::wstring& end, int repeatRow = 0) {
  Calendar::CCalendarData e;
  e.m_topic = L"t";
  e.m_start = start;
  e.m_end = end;
  if (repeatRow) Calendar::ApplyRepeatOption(e, repeatRow);
  return e;
}

TEST(Days, SerialNumbersRoundTripAndKnowTheirWeekday) {
  EXPECT_EQ(Day(1970, 1, 1), 0);
  int y, m, d;
  for (int day : {Day(1901, 2, 19), Day(2000, 2, 29), Day(2099, 12, 31), Day(2026, 3, 11)}) {
    DateOfDay(day, y, m, d);
    EXPECT_EQ(Day(y, m, d), day);
  }
  EXPECT_EQ(WeekdayOfDay(Day(2026, 3, 11)), 3);  // a Wednesday
  EXPECT_FALSE(IsValidDate(2025, 2, 29));
  EXPECT_TRUE(IsValidDate(2024, 2, 29));
  EXPECT_FALSE(IsValidDate(2100, 2, 29));
}

TEST(Recurrence, MonthlyOnThe31stSkipsShortMonthsAndCrossesTheYearEnd) {
  auto e = Event(L"20251031T0900Z", L"20251031T1000Z", 4);
  EXPECT_EQ(Days(OccurrencesIn(e, Day(2025, 10, 1), Day(2026, 3, 31))),
            (std::vector<std::wstring>{L"20251031", L"20251231", L"20260131", L"20260331"}));
}

TEST(Recurrence, YearlyOn29FebruaryOnlyInLeapYears) {
  auto e = Event(L"20240229T0000Z", L"20240229T2359Z", 5);
  EXPECT_EQ(Days(OccurrencesIn(e, Day(2024, 1, 1), Day(2032, 12, 31))),
            (std::vector<std::wstring>{L"20240229", L"20280229", L"20320229"}));
}

TEST(Recurrence, WeeklyWorkdaysAndDailyRulesKeepTheirDaysAndCounts) {
  auto weekly = Event(L"20260311T0800Z", L"20260311T0900Z", 3);  // Wednesdays
  EXPECT_EQ(Days(OccurrencesIn(weekly, Day(2026, 3, 1), Day(2026, 3, 31))),
            (std::vector<std::wstring>{L"20260311", L"20260318", L"20260325"}));
  auto workdays = Event(L"20261231T0800Z", L"20261231T0900Z", 2);  // Thursday, into the new year
  EXPECT_EQ(Days(OccurrencesIn(workdays, Day(2026, 12, 30), Day(2027, 1, 5))),
            (std::vector<std::wstring>{L"20261231", L"20270101", L"20270104", L"20270105"}));
  // 500 workday occurrences end after 100 weeks.
  auto farWorkdays = OccurrencesIn(workdays, Day(2028, 11, 1), Day(2028, 12, 31));
  ASSERT_FALSE(farWorkdays.empty());
  EXPECT_LT(farWorkdays.back().firstDay, Day(2028, 12, 31));
  int last = farWorkdays.back().firstDay;
  EXPECT_TRUE(OccurrencesIn(workdays, last + 1, last + 60).empty());
  auto daily = Event(L"20260101T0700Z", L"20260101T0730Z", 1);
  EXPECT_EQ(OccurrencesIn(daily, Day(2026, 2, 1), Day(2026, 2, 28)).size(), 28u);
  // A daily rule of 1000 occurrences ends on its 1000th day.
  EXPECT_EQ(OccurrencesIn(daily, Day(2028, 9, 1), Day(2028, 10, 31)).back().firstDay, Day(2026, 1, 1) + 999);
}

TEST(Recurrence, AnEventOverSeveralDaysTouchesEachOfThem) {
  auto e = Event(L"20260227T2200Z", L"20260302T0100Z");
  auto occurrences = OccurrencesIn(e, Day(2026, 3, 1), Day(2026, 3, 31));
  ASSERT_EQ(occurrences.size(), 1u);
  EXPECT_EQ(occurrences[0].firstDay, Day(2026, 2, 27));
  EXPECT_EQ(occurrences[0].lastDay, Day(2026, 3, 2));
  EXPECT_TRUE(OccurrencesIn(Event(L"2026", L""), Day(2026, 1, 1), Day(2026, 12, 31)).empty()) << "no valid start";
}

class StoreTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { LoadPinyinTable(provider::kPinyinData); }
  Contact::CContactData MakeContact(const std::wstring& name, const std::wstring& number) {
    Contact::CContactData c;
    c.m_name[Contact::kDisplayName] = name;
    if (!number.empty()) c.m_phones.emplace_back(2, number);
    return c;
  }
  Message::CSMSData MakeMessage(int32_t folder, const std::wstring& number, const std::wstring& time, int read = 1) {
    Message::CSMSData m;
    m.m_folderId = folder;
    m.m_phoneNumber = number;
    m.m_time = time;
    m.m_read = read;
    m.m_body = L"hi";
    return m;
  }
  std::map<int32_t, std::pair<int, int>> FolderCounts() {
    ContentList folders;
    store.CollectFolders(folders);
    std::map<int32_t, std::pair<int, int>> counts;
    for (CContent* record : folders) {
      auto* f = static_cast<Message::CFolder*>(record);
      counts[static_cast<int32_t>(f->m_id)] = {f->m_total, f->m_unread};
    }
    DeleteContents(folders);
    return counts;
  }
  Store store;
};

TEST_F(StoreTest, ContactsAreFiledByTheirNamesPinyinAndDeliveredInThatOrder) {
  EXPECT_EQ(IndexTextOf(L"张伟"), L"ZHANGWEI");
  EXPECT_EQ(IndexTextOf(L"alice Smith-2"), L"ALICESMITH2");
  EXPECT_GE(PinyinTableSize(), 500u);
  for (auto [name, number] : std::vector<std::pair<std::wstring, std::wstring>>{
           {L"张伟", L"1"}, {L"Alice", L"2"}, {L"王芳", L"3"}, {L"bob", L"4"}})
    store.InsertContact(Book::Phone, MakeContact(name, number));
  ContentList all;
  store.CollectContacts(Book::Phone, {}, all);
  std::vector<std::wstring> order;
  for (CContent* r : all) order.push_back(static_cast<Contact::CContactData*>(r)->m_name[Contact::kDisplayName]);
  DeleteContents(all);
  EXPECT_EQ(order, (std::vector<std::wstring>{L"Alice", L"bob", L"王芳", L"张伟"}));
}

TEST_F(StoreTest, SearchMatchesNamesNumbersAddressesAndIndexWithinAGroup) {
  Contact::CGroupData family;
  family.m_name = L"Family";
  ContentId group = store.InsertGroup(family);
  auto wei = MakeContact(L"张伟", L"13800001111");
  wei.m_emails.emplace_back(1, L"Wei@Example.com");
  wei.m_groupNames = {L"Family"};
  store.InsertContact(Book::Phone, wei);
  store.InsertContact(Book::Phone, MakeContact(L"Zhang San", L"13900002222"));
  auto count = [&](const std::wstring& keyword, ContentId groupId = 0) {
    ContentList found;
    ContactFilter filter;
    filter.keyword = keyword;
    filter.groupId = groupId;
    store.CollectContacts(Book::Phone, filter, found);
    size_t n = found.size();
    DeleteContents(found);
    return n;
  };
  EXPECT_EQ(count(L"zhang"), 2u) << "the index text ZHANGWEI and the name Zhang San";
  EXPECT_EQ(count(L"WEI@example"), 1u);
  EXPECT_EQ(count(L"0000111"), 1u);
  EXPECT_EQ(count(L"zhang", group), 1u);
  EXPECT_EQ(count(L"nobody"), 0u);
  GroupCountList counts = store.GroupCounts();
  EXPECT_EQ(counts, (GroupCountList{{group, 1}}));
}

TEST_F(StoreTest, FolderCountsFollowMovesDeletesReadsAndDeletedFolders) {
  Message::CFolder work;
  work.m_name = L"Work";
  int32_t workId = store.InsertFolder(work);
  ASSERT_GT(workId, 12);
  ContentList incoming;
  std::vector<Message::CSMSData> made{MakeMessage(11, L"10086", L"20260101T080000Z", 0),
                                      MakeMessage(11, L"10086", L"20260102T080000Z", 0),
                                      MakeMessage(11, L"10010", L"20260103T080000Z", 1),
                                      MakeMessage(workId, L"10010", L"20260104T080000Z", 1)};
  for (auto& m : made) incoming.push_back(&m);
  std::vector<ContentId> ids = store.InsertMessages(incoming);
  auto counts = FolderCounts();
  EXPECT_EQ(counts[11], std::make_pair(3, 2));
  EXPECT_TRUE(store.SetRead({ids[0]}, true));
  EXPECT_EQ(FolderCounts()[11], std::make_pair(3, 1));
  EXPECT_TRUE(store.MoveMessages({ids[1]}, Message::kFolderRecycleBin));
  counts = FolderCounts();
  EXPECT_EQ(counts[11], std::make_pair(2, 0));
  EXPECT_EQ(counts[4], std::make_pair(1, 1));
  EXPECT_FALSE(store.MoveMessages({ids[2], 9999}, workId)) << "an unknown id moves nothing";
  EXPECT_EQ(FolderCounts()[11].first, 2);
  EXPECT_EQ(store.DeleteFolders({static_cast<ContentId>(workId)}), 1u);
  counts = FolderCounts();
  EXPECT_EQ(counts.count(workId), 0u);
  EXPECT_EQ(counts[4].first, 2) << "a deleted folder's messages go to the recycle bin";
  EXPECT_EQ(store.DeleteFolders({11}), 0u) << "system folders stay";
  EXPECT_EQ(store.DeleteMessages({ids[1]}), 1u);
  EXPECT_EQ(FolderCounts()[4].first, 1);
}

TEST_F(StoreTest, ConversationsGroupByNumberNewestFirstAndKnowTheirContact) {
  store.InsertContact(Book::Phone, MakeContact(L"张伟", L"13800001111"));
  std::vector<Message::CSMSData> made{MakeMessage(11, L"13800001111", L"20260101T080000Z"),
                                      MakeMessage(6, L"10086", L"20260105T080000Z"),
                                      MakeMessage(6, L"13800001111", L"20260103T080000Z"),
                                      MakeMessage(4, L"10086", L"20260109T080000Z")};  // recycle bin: left out
  ContentList list;
  for (auto& m : made) list.push_back(&m);
  store.InsertMessages(list);
  GroupedContent conversations;
  store.CollectConversations(conversations);
  ASSERT_EQ(conversations.size(), 2u);
  EXPECT_EQ(conversations.front().first, L"10086");
  EXPECT_EQ(conversations.front().second.size(), 1u);
  auto& wei = conversations.back().second;
  ASSERT_EQ(wei.size(), 2u);
  auto* first = static_cast<Message::CSMSData*>(wei.front());
  EXPECT_EQ(first->m_time, L"20260101T080000Z") << "oldest first within a conversation";
  EXPECT_EQ(first->m_contactName, L"张伟");
  EXPECT_NE(first->m_contactId, 0);
  for (auto& group : conversations) DeleteContents(group.second);
}

TEST_F(StoreTest, EventsArePlacedOnEveryDayTheyTouchWithTheirOccurrenceDates) {
  store.InsertEvent(Event(L"20260302T0900Z", L"20260302T1000Z", 3));  // Mondays
  store.InsertEvent(Event(L"20260310T0000Z", L"20260311T2359Z"));
  GroupedContent days;
  store.CollectEventsByDay(Day(2026, 3, 1), Day(2026, 3, 16), days);
  std::vector<std::wstring> keys;
  for (auto& [key, events] : days) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::wstring>{L"20260302", L"20260309", L"20260310", L"20260311", L"20260316"}));
  auto* monday = static_cast<Calendar::CCalendarData*>(days.front().second.front());
  EXPECT_EQ(monday->m_start, L"20260302T0900Z");
  auto* later = static_cast<Calendar::CCalendarData*>(days.back().second.front());
  EXPECT_EQ(later->m_start, L"20260316T0900Z") << "an occurrence carries its own date";
  for (auto& group : days) DeleteContents(group.second);
  DayList withEvents;
  store.CollectEventDays(Day(2026, 3, 1), Day(2026, 3, 31), withEvents);
  EXPECT_EQ(withEvents.size(), 7u);  // five Mondays and the two days of the other event
}

TEST_F(StoreTest, TheWholeStoreRoundTripsThroughItsEncoding) {
  Corpus corpus;
  corpus.Load(provider::kNamesData);
  corpus.Load(provider::kPlacesData);
  corpus.Load(provider::kTextsData);
  SampleOptions options;
  options.contacts = 60;
  options.messages = 400;
  options.events = 50;
  GenerateSample(store, corpus, options);
  ByteWriter out;
  store.Serialize(out);
  Store loaded;
  ByteReader in(out.bytes().data(), out.bytes().size());
  ASSERT_TRUE(loaded.Deserialize(in));
  ByteWriter again;
  loaded.Serialize(again);
  EXPECT_EQ(again.bytes(), out.bytes());
  EXPECT_EQ(loaded.MessageCount(), 400u);

  // The same options make the same handset; another seed another one.
  Store twin, other;
  GenerateSample(twin, corpus, options);
  options.seed = 2;
  GenerateSample(other, corpus, options);
  ByteWriter twinBytes, otherBytes;
  twin.Serialize(twinBytes);
  other.Serialize(otherBytes);
  EXPECT_EQ(twinBytes.bytes(), out.bytes());
  EXPECT_NE(otherBytes.bytes(), out.bytes());

  // A cut-short encoding is refused and changes nothing.
  ByteReader cut(out.bytes().data(), out.bytes().size() / 2);
  EXPECT_FALSE(twin.Deserialize(cut));
  EXPECT_EQ(twin.MessageCount(), 400u);
}

TEST(ByteReader, NeverReadsPastItsEndNorTrustsAHugeCount) {
  ByteWriter out;
  out.U32(0x7FFFFFFF);  // a text "length" far beyond the buffer
  ByteReader in(out.bytes().data(), out.bytes().size());
  EXPECT_EQ(in.Text(), L"");
  EXPECT_FALSE(in.ok());
  EXPECT_EQ(in.U32(), 0u) << "a failed reader stays failed";
}

class HandsetFileTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { LoadPinyinTable(provider::kPinyinData); }
  std::wstring path() { return folder.File(L"handset.dat"); }
  Store Saved(const std::wstring& name) {
    Store store;
    Contact::CContactData c;
    c.m_name[Contact::kDisplayName] = name;
    store.InsertContact(Book::Phone, c);
    std::wstring error;
    EXPECT_TRUE(SaveHandsetFile(path(), store, error)) << wf::ToUtf8(error);
    return store;
  }
  static std::wstring FirstName(const Store& store) {
    ContentList all;
    store.CollectContacts(Book::Phone, {}, all);
    std::wstring name = all.empty() ? L"" : static_cast<Contact::CContactData*>(all.front())->m_name[0];
    DeleteContents(all);
    return name;
  }
  testing_support::TempFolder folder;
};

TEST_F(HandsetFileTest, ASavedHandsetLoadsAgainAndAMissingFileIsNoError) {
  Saved(L"Alice");
  Store loaded;
  EXPECT_EQ(LoadHandsetFile(path(), loaded).kind, LoadResult::kLoaded);
  EXPECT_EQ(FirstName(loaded), L"Alice");
  Store none;
  EXPECT_EQ(LoadHandsetFile(folder.File(L"absent.dat"), none).kind, LoadResult::kMissing);
}

TEST_F(HandsetFileTest, ADamagedFileIsSetAsideAndReportedNeverOverwritten) {
  Saved(L"Alice");
  std::string bytes = testing_support::ReadFile(path());
  bytes[bytes.size() - 3] ^= 0x5A;  // one flipped byte in the payload
  std::ofstream(path().c_str(), std::ios::binary) << bytes;
  Store store;
  LoadResult result = LoadHandsetFile(path(), store);
  EXPECT_EQ(result.kind, LoadResult::kDamaged);
  EXPECT_NE(result.problem.find(L"checksum"), std::wstring::npos);
  ASSERT_FALSE(result.setAsidePath.empty());
  EXPECT_EQ(testing_support::ReadFile(result.setAsidePath), bytes) << "the damaged file is kept as it was";
  EXPECT_EQ(::GetFileAttributesW(path().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(store.CountContacts(Book::Phone, false), 0u);

  std::ofstream(path().c_str(), std::ios::binary) << "not a handset at all";
  result = LoadHandsetFile(path(), store);
  EXPECT_EQ(result.kind, LoadResult::kDamaged);
  EXPECT_NE(result.setAsidePath, L"");
}

TEST_F(HandsetFileTest, AKillBetweenWriteAndReplaceLeavesTheOldState) {
  Saved(L"Old state");
  // A second process loads the handset, changes it and is killed while saving.
  std::wstring command = L"\"" + testing_support::ProgramFolder() + L"\\handset_crash_helper.exe\" \"" + path() + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  ASSERT_EQ(::WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
  DWORD code = 0;
  ::GetExitCodeProcess(pi.hProcess, &code);
  ::CloseHandle(pi.hProcess);
  ::CloseHandle(pi.hThread);
  ASSERT_EQ(code, 77u) << "the helper was killed inside the save";
  EXPECT_NE(::GetFileAttributesW((path() + L".new").c_str()), INVALID_FILE_ATTRIBUTES) << "the new file was written";
  Store loaded;
  EXPECT_EQ(LoadHandsetFile(path(), loaded).kind, LoadResult::kLoaded);
  EXPECT_EQ(FirstName(loaded), L"Old state");
  EXPECT_EQ(loaded.CountContacts(Book::Phone, false), 1u);
  EXPECT_EQ(::GetFileAttributesW((path() + L".new").c_str()), INVALID_FILE_ATTRIBUTES) << "the leftover is removed";
}

}  // namespace
