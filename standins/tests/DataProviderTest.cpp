// The data-provider library against its contract: every operation the
// plug-in uses, answered through the expected callback with its status and
// payload, in request order, on the library's thread; faults, cancelling,
// reception, the import and export machinery, and the handset file.
#include <gtest/gtest.h>

#include <cwctype>

#include <atomic>
#include <map>
#include <fstream>
#include <mutex>
#include <vector>

#include "TestSupport.h"
#include "calendar/CalendarData.h"
#include "contact/ContactData.h"
#include "content/ContentUri.h"
#include "content/DataProvider.h"
#include "standins/base/LogControl.h"
#include "standins/connect/ConnectControl.h"
#include "framework/Text.h"
#include "message/MessageData.h"
#include "message/MessageTexts.h"
#include "provider/ProviderAutomation.h"
#include "provider/ProviderStatus.h"

namespace {

namespace U = ContentUri;
using testing_support::TempFolder;

// How long a test waits for the other thread before it fails: long enough for
// the slowest machine, and running out is a failure, never a pass.
constexpr DWORD kPatience = 60000;

// Writes down every answer as "<callback> <uri> <status> <count>" and keeps
// copies of what it needs, as a module would.
struct Recorder : CDataProviderCallback, CInstantMessageCallback, CExportCallback {
  std::mutex mutex;
  std::vector<std::string> log;
  std::vector<DWORD> threads;
  std::vector<Contact::CContactData> contacts;
  std::vector<Message::CSMSData> messages;
  std::vector<Message::CFolder> folders;
  std::vector<Calendar::CCalendarData> events;
  std::vector<std::wstring> keys;  // conversation numbers, day texts
  GroupCountList groupCounts;
  SimCardList cards;
  uint32_t count = 0;
  std::vector<std::pair<uint32_t, uint32_t>> progress;
  std::atomic<bool> inCall{false};
  std::atomic<int> answeredDuringCall{0};
  // While set, answers on any thread but the test's wait for it, so answers
  // on the library's thread are noted only after the test has made all its
  // calls, and one given inside a request's call (on the test's thread) is
  // caught with inCall still true, whatever the timing.
  HANDLE gate = nullptr;
  std::atomic<bool> gateTimedOut{false};
  const DWORD testThread = ::GetCurrentThreadId();

  void Note(const char* what, const std::wstring& uri, uint32_t status, size_t n) {
    if (gate && ::GetCurrentThreadId() != testThread && ::WaitForSingleObject(gate, kPatience) != WAIT_OBJECT_0)
      gateTimedOut = true;
    if (inCall) ++answeredDuringCall;
    log.push_back(std::string(what) + " " + wf::ToUtf8(uri) + " " + std::to_string(status) + " " + std::to_string(n));
    threads.push_back(::GetCurrentThreadId());
  }
  void Keep(const ContentList& list) {
    for (CContent* r : list) {
      if (auto* c = dynamic_cast<Contact::CContactData*>(r)) contacts.push_back(*c);
      else if (auto* m = dynamic_cast<Message::CSMSData*>(r)) messages.push_back(*m);
      else if (auto* f = dynamic_cast<Message::CFolder*>(r)) folders.push_back(*f);
      else if (auto* e = dynamic_cast<Calendar::CCalendarData*>(r)) events.push_back(*e);
    }
  }
  bool List(const char* what, const std::wstring& uri, uint32_t status, const ContentList& list) {
    std::lock_guard<std::mutex> lock(mutex);
    Note(what, uri, status, list.size());
    Keep(list);
    return true;
  }
  bool Status(const char* what, const std::wstring& uri, uint32_t status) {
    std::lock_guard<std::mutex> lock(mutex);
    Note(what, uri, status, 0);
    return true;
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex);
    log.clear();
    threads.clear();
    contacts.clear();
    messages.clear();
    folders.clear();
    events.clear();
    keys.clear();
    progress.clear();
  }

  bool OnProviderEvent(uint32_t, const ProviderEvent& e) override { return Status("Event", e.m_text.empty() ? L"" : L"-", 0); }
  bool OnReturnBatch(const std::wstring& u, uint32_t s, const ContentList& l) override { return List("Batch", u, s, l); }
  bool OnRefreshComplete(const std::wstring& u, uint32_t s) override { return Status("Complete", u, s); }
  bool OnReturnGroupContent(const std::wstring& u, uint32_t s, const GroupedContent& g) override {
    std::lock_guard<std::mutex> lock(mutex);
    Note("Grouped", u, s, g.size());
    for (const auto& [key, list] : g) {
      keys.push_back(key);
      Keep(list);
    }
    return true;
  }
  bool OnReturnContent(const std::wstring& u, uint32_t s, const ContentList& l) override { return List("Content", u, s, l); }
  bool OnReturnById(const std::wstring& u, uint32_t s, const ContentList& l) override { return List("ById", u, s, l); }
  bool OnReturnCount(const std::wstring& u, uint32_t s, uint32_t n) override {
    std::lock_guard<std::mutex> lock(mutex);
    Note("Count", u, s, n);
    count = n;
    return true;
  }
  bool OnReturnGroupCount(const std::wstring& u, uint32_t s, const GroupCountList& c) override {
    std::lock_guard<std::mutex> lock(mutex);
    Note("GroupCount", u, s, c.size());
    groupCounts = c;
    return true;
  }
  bool OnReturnDates(const std::wstring& u, uint32_t s, const DayList& days) override {
    std::lock_guard<std::mutex> lock(mutex);
    Note("Dates", u, s, days.size());
    keys.assign(days.begin(), days.end());
    return true;
  }
  bool OnInsert(const std::wstring& u, uint32_t s, const ContentList& l) override { return List("Insert", u, s, l); }
  bool OnInsert(const std::wstring& u, uint32_t s, CContent* r) override {
    return List("InsertOne", u, s, r ? ContentList{r} : ContentList{});
  }
  bool OnUpdate(const std::wstring& u, uint32_t s, const ContentList& l) override { return List("Update", u, s, l); }
  bool OnUpdate(const std::wstring& u, uint32_t s) override { return Status("UpdateStatus", u, s); }
  bool OnDelete(const std::wstring& u, uint32_t s) override { return Status("Delete", u, s); }
  bool OnMembership(const std::wstring& u, uint32_t s) override { return Status("Membership", u, s); }
  bool OnSetLock(const std::wstring& u, uint32_t s) override { return Status("Lock", u, s); }
  bool OnSetRead(const std::wstring& u, uint32_t s) override { return Status("Read", u, s); }
  bool OnSetStar(const std::wstring& u, uint32_t s) override { return Status("Star", u, s); }
  bool OnGetSimInfo(uint32_t s, const SimCardList& c) override {
    std::lock_guard<std::mutex> lock(mutex);
    Note("Sim", L"", s, c.size());
    cards = c;
    return true;
  }
  bool OnSent(const std::wstring& u, uint32_t s, const ContentList& l) override { return List("Sent", u, s, l); }
  bool OnReceived(const std::wstring& u, uint32_t s, const ContentList& l) override { return List("Received", u, s, l); }
  bool OnImportComplete(const std::wstring& u, uint32_t s) override { return Status("Imported", u, s); }
  bool OnExportComplete(const std::wstring& u, uint32_t s) override { return Status("Exported", u, s); }
  bool OnSetProgress(uint32_t done, uint32_t total) override {
    std::lock_guard<std::mutex> lock(mutex);
    progress.emplace_back(done, total);
    return true;
  }
};

class ProviderContract : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDeviceConnected(true);
    ProviderAutomation::ClearFaults();
    ProviderAutomation::SetInlineAnswers(false);
    ProviderAutomation::UseHandsetFile(folder.File(L"handset.dat"));
    ProviderAutomation::Sample sample;
    sample.contacts = 120;
    sample.messages = 600;
    sample.events = 60;
    ProviderAutomation::ResetHandset(sample);
    provider = CreateDataProvider(&recorder);
    helper = CreateInstantMessageHelper(&recorder);
    exporter = CreateExportHelper(&recorder);
    Settle();
  }
  void TearDown() override {
    DestroyDataProvider(provider);
    DestroyInstantMessageHelper(helper);
    DestroyExportHelper(exporter);
    ProviderAutomation::ClearFaults();
    ProviderAutomation::UseHandsetFile(L"");
  }
  // Waits for every answer, then forgets them.
  void Settle() {
    ProviderAutomation::WaitIdle();
    recorder.Clear();
  }
  std::vector<std::string> Answers() {
    ProviderAutomation::WaitIdle();
    return recorder.log;
  }
  static std::string Line(const char* what, const std::wstring& uri, uint32_t status, size_t n) {
    return std::string(what) + " " + wf::ToUtf8(uri) + " " + std::to_string(status) + " " + std::to_string(n);
  }

  TempFolder folder;
  Recorder recorder;
  IDataProvider* provider = nullptr;
  IInstantMessageHelper* helper = nullptr;
  IExportHelper* exporter = nullptr;
};

TEST_F(ProviderContract, AnswersComeLaterOnTheLibrarysThreadInRequestOrder) {
  ProviderAutomation::Counts counts = ProviderAutomation::GetCounts();
  HANDLE gate = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  recorder.gate = gate;
  recorder.inCall = true;
  EXPECT_TRUE(provider->QueryAll(U::kContactCount));
  EXPECT_TRUE(provider->QueryAll(U::kGroup));
  EXPECT_TRUE(provider->Delete(U::kGroup, IdList{9999}));
  EXPECT_TRUE(helper->GetSimInfo());
  recorder.inCall = false;
  ::SetEvent(gate);
  auto answers = Answers();
  EXPECT_EQ(recorder.answeredDuringCall, 0);
  EXPECT_FALSE(recorder.gateTimedOut);
  EXPECT_EQ(answers, (std::vector<std::string>{Line("Count", U::kContactCount, 0, counts.phoneContacts),
                                               Line("Content", U::kGroup, 0, counts.groups),
                                               Line("Delete", U::kGroup, provider::kNotFound, 0),
                                               Line("Sim", L"", 0, 2)}));
  for (DWORD thread : recorder.threads) EXPECT_NE(thread, ::GetCurrentThreadId());
  recorder.gate = nullptr;
  ::CloseHandle(gate);
}

TEST_F(ProviderContract, AContactRefreshStreamsGroupsThenSortedContactsThenTheEnd) {
  ProviderAutomation::Counts counts = ProviderAutomation::GetCounts();
  ASSERT_TRUE(provider->DeleteProvider(U::kContactStore));
  auto answers = Answers();
  ASSERT_GE(answers.size(), 3u);
  EXPECT_EQ(answers.front(), Line("Batch", U::kGroup, 0, counts.groups));
  EXPECT_EQ(answers.back(), Line("Complete", U::kContactStore, 0, 0));
  EXPECT_EQ(recorder.contacts.size(), counts.phoneContacts);
  // By index text, letters A to Z first (either case), then the rest: the
  // plug-in makes a section wherever the letter changes.
  auto key = [](const std::wstring& index) {
    bool letter = !index.empty() && std::iswalpha(index[0]) && index[0] < 0x80;
    std::wstring lowered = index;
    for (wchar_t& c : lowered) c = static_cast<wchar_t>(std::towlower(c));
    return std::make_pair(!letter, lowered);
  };
  for (size_t i = 1; i < recorder.contacts.size(); ++i)
    EXPECT_LE(key(recorder.contacts[i - 1].m_index), key(recorder.contacts[i].m_index)) << "sorted by index text";
}

TEST_F(ProviderContract, ContactsAreCountedSearchedInsertedUpdatedStarredAndDeleted) {
  provider->QueryAll(U::kStarCount);
  Answers();
  uint32_t stars = recorder.count;
  Settle();

  Contact::CContactData wei;
  wei.m_name[Contact::kDisplayName] = L"张伟伟";
  wei.m_phones.emplace_back(2, L"13912345678");
  provider->Insert(U::kContact, &wei);
  wei.m_name[0] = L"changed after the call";  // the library works on its own copy
  ASSERT_EQ(Answers(), std::vector<std::string>{Line("Insert", U::kContact, 0, 1)});
  Contact::CContactData stored = recorder.contacts.at(0);
  EXPECT_NE(stored.m_id, 0u);
  EXPECT_EQ(stored.m_name[0], L"张伟伟");
  EXPECT_EQ(stored.m_index, L"ZHANGWEIWEI");
  Settle();

  provider->SearchContact(U::kContact, L"zhangweiwei", 0);
  provider->SearchContact(U::kContact, L"912345", 0);
  provider->QueryByContentId(U::kContact, stored.m_id);
  auto answers = Answers();
  EXPECT_EQ(answers, (std::vector<std::string>{Line("Content", U::kContact, 0, 1), Line("Content", U::kContact, 0, 1),
                                               Line("ById", U::kContact, 0, 1)}));
  Settle();

  stored.m_name[0] = L"Wei Zhang";
  provider->Update(U::kContact, &stored);
  provider->AddCollection(U::kContact, IdList{stored.m_id}, true);
  provider->QueryAll(U::kStarCount);
  answers = Answers();
  EXPECT_EQ(answers[0], Line("Update", U::kContact, 0, 1));
  EXPECT_EQ(recorder.contacts.at(0).m_index, L"WEIZHANG") << "the index follows the new name";
  EXPECT_EQ(answers[1], Line("Star", U::kContact, 0, 0));
  EXPECT_EQ(recorder.count, stars + 1);
  Settle();

  provider->Delete(U::kContact, IdList{stored.m_id});
  provider->Delete(U::kContact, IdList{stored.m_id});
  provider->QueryByContentId(U::kContact, stored.m_id);
  Message::CFolder notAContact;
  provider->Insert(U::kContact, &notAContact);
  EXPECT_EQ(Answers(), (std::vector<std::string>{Line("Delete", U::kContact, 0, 0),
                                                 Line("Delete", U::kContact, provider::kNotFound, 0),
                                                 Line("ById", U::kContact, provider::kNotFound, 0),
                                                 Line("Insert", U::kContact, provider::kInvalid, 0)}));
}

TEST_F(ProviderContract, GroupsAndMembershipsKeepTheirCounts) {
  Contact::CGroupData group;
  group.m_name = L"Chess club";
  provider->Insert(U::kGroup, &group);
  provider->Insert(U::kGroup, &group);  // a second group of that name is refused
  auto answers = Answers();
  EXPECT_EQ(answers, (std::vector<std::string>{Line("Insert", U::kGroup, 0, 1),
                                               Line("Insert", U::kGroup, provider::kInvalid, 0)}));
  Settle();
  provider->QueryAll(U::kContact);
  Answers();
  ASSERT_GE(recorder.contacts.size(), 3u);
  IdList members{recorder.contacts[0].m_id, recorder.contacts[1].m_id, recorder.contacts[2].m_id};
  Settle();
  provider->QueryAll(U::kGroup);
  Answers();
  ContentId chess = 0;
  // The group list is kept by the recorder only as a log line: find it by name.
  ContentList groups;
  (void)groups;
  Settle();
  // Look the new group up through the group counts: it is the one with the highest id.
  provider->QueryGroupCount(U::kContact);
  Answers();
  for (const auto& [id, count] : recorder.groupCounts) chess = std::max(chess, id);
  ASSERT_NE(chess, 0u);
  Settle();
  provider->AttachMembership(U::kMembership, members, chess, true);
  provider->QueryGroupCount(U::kContact);
  provider->QueryByClassId(U::kContact, chess);
  answers = Answers();
  EXPECT_EQ(answers[0], Line("Membership", U::kMembership, 0, 0));
  uint32_t counted = 0;
  for (const auto& [id, count] : recorder.groupCounts)
    if (id == chess) counted = count;
  EXPECT_EQ(counted, 3u);
  EXPECT_EQ(answers[2], Line("Content", U::kContact, 0, 3));
  for (const auto& member : recorder.contacts)
    EXPECT_NE(std::find(member.m_groupNames.begin(), member.m_groupNames.end(), L"Chess club"),
              member.m_groupNames.end());
  Settle();
  provider->Delete(U::kGroup, IdList{chess});
  provider->AttachMembership(U::kMembership, members, chess, false);  // the group is gone
  EXPECT_EQ(Answers(), (std::vector<std::string>{Line("Delete", U::kGroup, 0, 0),
                                                 Line("Membership", U::kMembership, provider::kInvalid, 0)}));
}

TEST_F(ProviderContract, AMessageRefreshStreamsFoldersThenMessagesNewestFirst) {
  ProviderAutomation::Counts counts = ProviderAutomation::GetCounts();
  provider->DeleteProvider(U::kSmsStore);
  auto answers = Answers();
  ASSERT_GE(answers.size(), 3u);
  EXPECT_EQ(answers.front().rfind("Batch content://sms/folder 0", 0), 0u);
  EXPECT_EQ(answers.back(), Line("Complete", U::kSmsStore, 0, 0));
  ASSERT_GE(recorder.folders.size(), 12u);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(recorder.folders[static_cast<size_t>(i)].m_id, static_cast<ContentId>(12 - i));
  EXPECT_EQ(recorder.messages.size(), counts.messages);
  for (size_t i = 1; i < recorder.messages.size(); ++i)
    EXPECT_GE(recorder.messages[i - 1].m_time, recorder.messages[i].m_time);
}

// The inbox's entry of a folder answer: (total, unread).
std::pair<int, int> InboxOf(const std::vector<Message::CFolder>& folders) {
  for (const auto& f : folders)
    if (f.m_id == 11) return {f.m_total, f.m_unread};
  return {-1, -1};
}

TEST_F(ProviderContract, FolderCountsFollowReceptionReadingAndMoves) {
  provider->QueryAll(U::kFolder);
  Answers();
  auto inbox = InboxOf(recorder.folders);
  Settle();

  ASSERT_TRUE(helper->startRecv(U::kSms));
  EXPECT_EQ(ProviderAutomation::ReceiveMessages(3), 3);
  provider->QueryAll(U::kFolder);
  auto answers = Answers();
  EXPECT_EQ(answers[0], Line("Received", U::kSms, 0, 3));
  EXPECT_EQ(InboxOf(recorder.folders), std::make_pair(inbox.first + 3, inbox.second + 3));
  IdList arrived;
  for (const auto& m : recorder.messages) arrived.push_back(m.m_id);
  Settle();

  provider->SetMessageRead(U::kSms, IdList{arrived.front()}, true);
  provider->MoveMembership(U::kRemembership, IdList{arrived.back()}, Message::kFolderRecycleBin);
  provider->SetLock(U::kSms, IdList{arrived.front()}, true);
  provider->QueryAll(U::kFolder);
  answers = Answers();
  EXPECT_EQ(answers[0], Line("Read", U::kSms, 0, 0));
  EXPECT_EQ(answers[1], Line("Membership", U::kRemembership, 0, 0));
  EXPECT_EQ(answers[2], Line("Lock", U::kSms, 0, 0));
  EXPECT_EQ(InboxOf(recorder.folders), std::make_pair(inbox.first + 2, inbox.second + 1));
  Settle();

  EXPECT_TRUE(helper->stopRecv());
  EXPECT_EQ(ProviderAutomation::ReceiveMessages(1), 1);
  EXPECT_TRUE(Answers().empty()) << "no report after stopRecv";
}

TEST_F(ProviderContract, UserFoldersAreMadeRenamedAndDeletedIntoTheRecycleBin) {
  Message::CFolder folder;
  folder.m_name = L"Receipts";
  provider->Insert(U::kFolder, &folder);
  Answers();
  ASSERT_EQ(recorder.log.at(0), Line("InsertOne", U::kFolder, 0, 1));
  Message::CFolder stored = recorder.folders.at(0);
  EXPECT_FALSE(stored.IsSystem());
  Settle();
  provider->QueryAll(U::kSmsInFolder);  // not a query of all: refused
  provider->QueryByClassId(U::kSmsInFolder, Message::kFolderInbox);
  Answers();
  IdList someInbox{recorder.messages.at(0).m_id, recorder.messages.at(1).m_id};
  Settle();
  provider->MoveMembership(U::kRemembership, someInbox, static_cast<ContentId>(stored.m_id));
  stored.m_name = L"Old receipts";
  provider->Update(U::kFolder, &stored);
  provider->Delete(U::kFolder, IdList{stored.m_id});
  provider->QueryByClassId(U::kSmsInFolder, Message::kFolderRecycleBin);
  auto answers = Answers();
  EXPECT_EQ(answers[0], Line("Membership", U::kRemembership, 0, 0));
  EXPECT_EQ(answers[1], Line("UpdateStatus", U::kFolder, 0, 0));
  EXPECT_EQ(answers[2], Line("Delete", U::kFolder, 0, 0));
  int fromDeleted = 0;
  for (const auto& m : recorder.messages)
    fromDeleted += (m.m_id == someInbox.front() || m.m_id == someInbox.back()) ? 1 : 0;
  EXPECT_EQ(fromDeleted, 2) << "the deleted folder's messages are in the recycle bin";
}

TEST_F(ProviderContract, ConversationsAndSendingGoThroughTheSentFolder) {
  provider->QueryAll(U::kConversations);
  Answers();
  ASSERT_FALSE(recorder.keys.empty());
  std::wstring number = recorder.keys.front();
  Settle();

  Message::CSMSData draft;
  draft.m_phoneNumber = number;
  draft.m_body = L"See you at six";
  helper->Send(U::kSms, 2, ContentList{&draft}, 1);
  provider->QueryAll(U::kConversations);
  provider->QueryByTelephoneNumber(U::kSmsOfNumber, number);
  auto answers = Answers();
  EXPECT_EQ(answers[0], Line("Sent", U::kSms, 0, 1));
  const Message::CSMSData& sent = recorder.messages.at(0);
  EXPECT_EQ(sent.m_folderId, Message::kFolderSent);
  EXPECT_EQ(sent.m_cardId, 2);
  EXPECT_EQ(recorder.keys.front(), number) << "the newest conversation comes first";
  EXPECT_EQ(recorder.messages.back().m_body, L"See you at six") << "a conversation's messages oldest first";

  Settle();
  ASSERT_TRUE(ProviderAutomation::SetSimCards({}));
  helper->Send(U::kSms, 1, ContentList{&draft}, 1);
  helper->GetSimInfo();
  EXPECT_EQ(Answers(), (std::vector<std::string>{Line("Sent", U::kSms, provider::kNoCard, 0), Line("Sim", L"", 0, 0)}));
}

TEST_F(ProviderContract, SavedAndCopiedMessagesAreInsertedIntoTheirFolders) {
  provider->QueryAll(U::kFolder);
  Answers();
  std::map<ContentId, int> totals;
  for (const auto& f : recorder.folders) totals[f.m_id] = f.m_total;
  Settle();
  Message::CSMSData draft, copy, nowhere;
  draft.m_phoneNumber = L"10086";
  draft.m_body = L"draft";
  draft.m_folderId = Message::kFolderDrafts;
  draft.m_state = Message::CSMSData::kStateComposed;
  draft.m_draftMarker = Message::CSMSData::kDraftMarker;
  copy = draft;
  copy.m_folderId = Message::kFolderSent;
  nowhere = draft;
  nowhere.m_folderId = 4242;  // no such folder: it lands in the inbox
  provider->InsertMessage(U::kSmsNewInsert, ContentList{&draft});
  provider->InsertMessage(U::kSms, ContentList{&copy, &nowhere});
  provider->InsertMessage(U::kFolder, ContentList{&draft});  // not a message URI
  provider->QueryAll(U::kFolder);
  auto answers = Answers();
  EXPECT_EQ(answers[0], Line("Insert", U::kSmsNewInsert, 0, 1));
  EXPECT_EQ(answers[1], Line("Insert", U::kSms, 0, 2));
  EXPECT_EQ(answers[2], Line("Insert", U::kFolder, provider::kInvalid, 0));
  EXPECT_EQ(recorder.messages.at(0).m_draftMarker, -1) << "what the plug-in set travels back";
  EXPECT_NE(recorder.messages.at(0).m_id, 0u);
  std::map<ContentId, int> after;
  for (const auto& f : recorder.folders) after[f.m_id] = f.m_total;
  EXPECT_EQ(after[Message::kFolderDrafts], totals[Message::kFolderDrafts] + 1);
  EXPECT_EQ(after[Message::kFolderSent], totals[Message::kFolderSent] + 1);
  EXPECT_EQ(after[Message::kFolderInbox], totals[Message::kFolderInbox] + 1);
}

TEST_F(ProviderContract, CalendarEventsAreStoredAndFoundByDayWithRepeatsPlaced) {
  Calendar::CCalendarData event;
  event.m_topic = L"Standup";
  event.m_start = L"20270104T0930Z";  // a Monday
  event.m_end = L"20270104T0945Z";
  Calendar::ApplyRepeatOption(event, 2);  // workdays
  provider->Insert(U::kCalendar, &event);
  Answers();
  ASSERT_EQ(recorder.log.at(0), Line("InsertOne", U::kCalendar, 0, 1));
  Calendar::CCalendarData stored = recorder.events.at(0);
  Settle();

  provider->QueryByDate(U::kCalendar, L"20270104", L"20270110");
  provider->QueryByDate(U::kCalendarByDate, L"20270104", L"20270110");
  provider->SearchContact(U::kCalendar, L"standup", 0);
  provider->QueryByDate(U::kCalendar, L"20270110", L"20270104");  // backwards
  auto answers = Answers();
  int standups = 0;
  for (const auto& e : recorder.events) standups += e.m_topic == L"Standup" ? 1 : 0;
  EXPECT_EQ(standups, 5 + 1) << "five workdays, and the search's one";
  EXPECT_EQ(answers[1].rfind("Dates content://calendar/calendar/result=date 0", 0), 0u);
  EXPECT_EQ(answers[3], Line("Grouped", U::kCalendar, provider::kInvalid, 0));
  Settle();

  stored.m_topic = L"Daily standup";
  provider->Update(U::kCalendar, &stored);
  provider->QueryByContentId(U::kCalendar, stored.m_id);
  provider->Delete(U::kCalendar, IdList{stored.m_id});
  answers = Answers();
  EXPECT_EQ(answers[0], Line("UpdateStatus", U::kCalendar, 0, 0));
  EXPECT_EQ(recorder.events.at(0).m_topic, L"Daily standup");
  EXPECT_EQ(answers[2], Line("Delete", U::kCalendar, 0, 0));
}

TEST_F(ProviderContract, FaultsAndAPulledCableGiveTheirStatusAndChangeNothing) {
  ProviderAutomation::FailOperation(L"QueryAll", 42);
  provider->QueryAll(U::kContactCount);
  provider->QueryGroupCount(U::kContact);
  ProviderAutomation::WaitIdle();
  ProviderAutomation::FailOperation(L"QueryAll", 0);
  provider->QueryAll(U::kContactCount);
  auto answers = Answers();
  EXPECT_EQ(answers[0], Line("Count", U::kContactCount, 42, 0));
  EXPECT_EQ(answers[1].rfind("GroupCount content://contact/contact 0", 0), 0u);
  EXPECT_EQ(answers[2].rfind("Count content://contact/contact?result=count 0", 0), 0u);
  Settle();

  ProviderAutomation::Counts before = ProviderAutomation::GetCounts();
  SetDeviceConnected(false);
  Contact::CContactData c;
  c.m_name[0] = L"Nobody";
  provider->Insert(U::kContact, &c);
  EXPECT_EQ(Answers(), std::vector<std::string>{Line("Insert", U::kContact, provider::kNoPhone, 0)});
  SetDeviceConnected(true);
  EXPECT_EQ(ProviderAutomation::GetCounts().phoneContacts, before.phoneContacts);

  // A seeded failure rate fails the same requests every time.
  auto failures = [&] {
    Settle();
    ProviderAutomation::SetFailureRate(0.5, 7);
    for (int i = 0; i < 20; ++i) provider->QueryAll(U::kContactCount);
    std::string pattern;
    for (const auto& line : Answers()) pattern += line.find(" 0 ") != std::string::npos ? '.' : 'x';
    ProviderAutomation::ClearFaults();
    return pattern;
  };
  std::string first = failures();
  EXPECT_EQ(failures(), first);
  EXPECT_NE(first.find('x'), std::string::npos);
  EXPECT_NE(first.find('.'), std::string::npos);
}

// Blocks the answer thread in the first contact batch until released.
struct BlockingBatches : Recorder {
  HANDLE entered = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<bool> releaseTimedOut{false};
  ~BlockingBatches() {
    ::CloseHandle(entered);
    ::CloseHandle(release);
  }
  bool OnReturnBatch(const std::wstring& u, uint32_t s, const ContentList& l) override {
    Recorder::OnReturnBatch(u, s, l);
    if (u == U::kContactStore) {
      ::SetEvent(entered);
      if (::WaitForSingleObject(release, kPatience) != WAIT_OBJECT_0) releaseTimedOut = true;
    }
    return true;
  }
};

TEST_F(ProviderContract, CancelStopsARefreshUnderWay) {
  ProviderAutomation::Sample big;
  big.contacts = 1600;  // several batches
  ProviderAutomation::ResetHandset(big);
  BlockingBatches blocking;
  IDataProvider* streaming = CreateDataProvider(&blocking);
  streaming->DeleteProvider(U::kContactStore);
  ASSERT_EQ(::WaitForSingleObject(blocking.entered, kPatience), WAIT_OBJECT_0);
  streaming->Cancel();
  ::SetEvent(blocking.release);
  ProviderAutomation::WaitIdle();
  int batches = 0;
  for (const auto& line : blocking.log) batches += line.rfind("Batch content://contact ", 0) == 0 ? 1 : 0;
  EXPECT_EQ(batches, 1);
  EXPECT_EQ(blocking.log.back().rfind("Complete", 0), std::string::npos) << "no end after a cancel";
  EXPECT_FALSE(blocking.releaseTimedOut);
  DestroyDataProvider(streaming);
}

// Holds the answer thread inside its first answer until released.
struct Gate : CDataProviderCallback {
  HANDLE entered = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> answers{0};
  std::atomic<bool> releaseTimedOut{false};
  ~Gate() {
    ::CloseHandle(entered);
    ::CloseHandle(release);
  }
  bool OnReturnContent(const std::wstring&, uint32_t, const ContentList&) override {
    ++answers;
    ::SetEvent(entered);
    if (::WaitForSingleObject(release, kPatience) != WAIT_OBJECT_0) releaseTimedOut = true;
    return true;
  }
};

TEST_F(ProviderContract, ImportAndExportMoveRealFilesReportProgressAndSucceedOnlyWhenRecordsMoved) {
  const auto before = ProviderAutomation::GetCounts();
  exporter->Export(std::wstring(U::kContact) + U::kExportXmlSuffix, folder.File(L"out.xml"));
  exporter->ExportByClassId(U::kSmsExportExcel, folder.File(L"inbox.xls"), Message::kFolderInbox);
  exporter->ExportByIds(U::kSmsExportXml, folder.File(L"three.xml"), IdList{1, 2, 3});
  auto answers = Answers();
  EXPECT_EQ(answers, (std::vector<std::string>{Line("Exported", L"content://contact/contact?export=xml", 0, 0),
                                               Line("Exported", U::kSmsExportExcel, 0, 0),
                                               Line("Exported", U::kSmsExportXml, 0, 0)}));
  ASSERT_FALSE(recorder.progress.empty());
  EXPECT_EQ(recorder.progress.front().second, before.phoneContacts);
  EXPECT_EQ(recorder.progress.back(), std::make_pair(3u, 3u)) << "three ids: three records";
  Settle();

  // What was written comes back: the contacts double, the three messages join.
  exporter->Import(U::kContactImportXml, {folder.File(L"out.xml")});
  exporter->Import(U::kSmsImportXml, {folder.File(L"three.xml")});
  EXPECT_EQ(Answers(), (std::vector<std::string>{Line("Imported", U::kContactImportXml, 0, 0),
                                                 Line("Imported", U::kSmsImportXml, 0, 0)}));
  auto after = ProviderAutomation::GetCounts();
  EXPECT_EQ(after.phoneContacts, 2 * before.phoneContacts);
  EXPECT_EQ(after.messages, before.messages + 3);
  Settle();

  // Nothing to move, a file that is not there, a format the URI does not know.
  exporter->ExportByIds(U::kSmsExportXml, folder.File(L"none.xml"), IdList{});
  exporter->Import(U::kSmsImportExcel, {folder.File(L"missing.xlsx")});
  exporter->ImportFromFolder(U::kContactImportVcard, folder.File(L"no cards here"));
  exporter->Export(L"content://contact/contact?export=pdf", folder.File(L"x.pdf"));
  EXPECT_EQ(Answers(), (std::vector<std::string>{Line("Exported", U::kSmsExportXml, provider::kNothingMoved, 0),
                                                 Line("Imported", U::kSmsImportExcel, provider::kFileError, 0),
                                                 Line("Imported", U::kContactImportVcard, provider::kNothingMoved, 0),
                                                 Line("Exported", L"content://contact/contact?export=pdf",
                                                      provider::kInvalid, 0)}));
  EXPECT_EQ(ProviderAutomation::GetCounts().phoneContacts, after.phoneContacts);
  Settle();
}

TEST_F(ProviderContract, ACancelledImportLeavesTheHandsetAsItWasAndACancelledExportLeavesNoFile) {
  exporter->Export(std::wstring(U::kContact) + U::kExportVcardSuffix, folder.path());
  ASSERT_EQ(Answers(), std::vector<std::string>{Line("Exported", L"content://contact/contact?export=vcard", 0, 0)});
  Settle();
  const auto before = ProviderAutomation::GetCounts();

  // Held after its first step: the cancel lands in the middle of the run.
  ProviderAutomation::HoldTransfers(true);
  exporter->ImportFromFolder(U::kContactImportVcard, folder.path());
  ASSERT_TRUE(testing_support::PumpUntil([&] {
    std::lock_guard<std::mutex> lock(recorder.mutex);
    return !recorder.progress.empty();
  }));
  exporter->CancelExport();
  EXPECT_EQ(Answers(), std::vector<std::string>{Line("Imported", U::kContactImportVcard, provider::kCancelled, 0)});
  ASSERT_FALSE(recorder.progress.empty());
  EXPECT_LT(recorder.progress.back().first, recorder.progress.back().second) << "stopped in the middle";
  EXPECT_EQ(ProviderAutomation::GetCounts().phoneContacts, before.phoneContacts);
  Settle();

  exporter->Export(std::wstring(U::kContact) + U::kExportXmlSuffix, folder.File(L"cancelled.xml"));
  ASSERT_TRUE(testing_support::PumpUntil([&] {
    std::lock_guard<std::mutex> lock(recorder.mutex);
    return !recorder.progress.empty();
  }));
  exporter->CancelExport();
  EXPECT_EQ(Answers(), std::vector<std::string>{Line("Exported", L"content://contact/contact?export=xml",
                                                     provider::kCancelled, 0)});
  EXPECT_EQ(::GetFileAttributesW(folder.File(L"cancelled.xml").c_str()), INVALID_FILE_ATTRIBUTES);
  ProviderAutomation::HoldTransfers(false);
  Settle();
}

TEST_F(ProviderContract, ChangesAreSavedAndAnotherHandsetFileIsReadWhenChosen) {
  Contact::CContactData c;
  c.m_name[0] = L"Saved person";
  provider->Insert(U::kContact, &c);
  Answers();
  size_t phone = ProviderAutomation::GetCounts().phoneContacts;
  ProviderAutomation::UseHandsetFile(folder.File(L"other.dat"));
  EXPECT_EQ(ProviderAutomation::GetCounts().phoneContacts, 0u) << "a new handset where there is no file";
  ProviderAutomation::UseHandsetFile(folder.File(L"handset.dat"));
  EXPECT_EQ(ProviderAutomation::GetCounts().phoneContacts, phone);
}

TEST_F(ProviderContract, ADamagedHandsetFileIsSetAsideAndReported) {
  TempFolder logs;
  LOG::SetLogRoot(logs.path());
  std::wstring damaged = folder.File(L"damaged.dat");
  std::ofstream(damaged.c_str(), std::ios::binary) << "TAMIXHST and then nonsense";
  ProviderAutomation::UseHandsetFile(damaged);
  EXPECT_EQ(ProviderAutomation::GetCounts().phoneContacts, 0u);
  std::string errors = testing_support::ReadFile(logs.File(L"log\\PimPluginErr.log"));
  LOG::SetLogRoot(L"");
  EXPECT_NE(errors.find("set aside"), std::string::npos) << errors;
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((damaged + L".damaged-*").c_str(), &found);
  EXPECT_NE(search, INVALID_HANDLE_VALUE);
  if (search != INVALID_HANDLE_VALUE) ::FindClose(search);
}

// --- the answer machinery on its own ------------------------------------------

TEST(AnswerMachinery, WithoutACallbackNothingIsCreated) {
  EXPECT_EQ(CreateDataProvider(nullptr), nullptr);
  EXPECT_EQ(CreateInstantMessageHelper(nullptr), nullptr);
  EXPECT_EQ(CreateExportHelper(nullptr), nullptr);
}

TEST(AnswerMachinery, DestroyingAnObjectDropsItsAnswersAndWaitsForTheOneUnderWay) {
  Gate gate, dropped;
  IDataProvider* blocker = CreateDataProvider(&gate);
  IDataProvider* provider = CreateDataProvider(&dropped);
  blocker->QueryAll(U::kGroup);  // holds the answer thread
  ASSERT_EQ(::WaitForSingleObject(gate.entered, kPatience), WAIT_OBJECT_0);
  provider->QueryAll(U::kGroup);
  provider->QueryAll(U::kGroup);
  DestroyDataProvider(provider);  // its two answers are still queued
  ::SetEvent(gate.release);
  DestroyDataProvider(blocker);  // waits for the answer under way
  EXPECT_EQ(dropped.answers, 0);
  EXPECT_EQ(gate.answers, 1);
  EXPECT_FALSE(gate.releaseTimedOut);
}

struct SelfDestroying : CDataProviderCallback {
  IDataProvider* provider = nullptr;
  int answers = 0;
  bool OnReturnContent(const std::wstring&, uint32_t, const ContentList&) override {
    ++answers;
    DestroyDataProvider(provider);
    return true;
  }
};

TEST(AnswerMachinery, AnObjectMayBeDestroyedFromInsideItsOwnAnswer) {
  // The answer thread is held until both requests are made: otherwise the
  // first answer may destroy the object before the second call.
  Gate hold;
  IDataProvider* blocker = CreateDataProvider(&hold);
  blocker->QueryAll(U::kGroup);
  ASSERT_EQ(::WaitForSingleObject(hold.entered, kPatience), WAIT_OBJECT_0);
  SelfDestroying callback;
  IDataProvider* provider = callback.provider = CreateDataProvider(&callback);
  provider->QueryAll(U::kGroup);
  provider->QueryAll(U::kGroup);  // dropped by the destruction
  ::SetEvent(hold.release);
  ProviderAutomation::WaitIdle();
  EXPECT_EQ(callback.answers, 1);
  EXPECT_EQ(callback.provider, nullptr);
  DestroyDataProvider(blocker);
  EXPECT_FALSE(hold.releaseTimedOut);
}

// Brings its answer to the user-interface thread with a sent message, as the
// plug-in does.
struct SendsToWindow : CDataProviderCallback {
  HWND window = nullptr;
  std::atomic<int> delivered{0};
  bool OnReturnContent(const std::wstring&, uint32_t, const ContentList&) override {
    ::SendMessageW(window, WM_NULL, 0, 0);
    ++delivered;
    return true;
  }
};

TEST(AnswerMachinery, WaitingForTheLibraryLetsAnswersSentToThisThreadThrough) {
  SendsToWindow callback;
  callback.window = testing_support::CreateTestParent();
  IDataProvider* provider = CreateDataProvider(&callback);
  for (int i = 0; i < 5; ++i) provider->QueryAll(U::kGroup);
  ProviderAutomation::WaitIdle();  // would never return if sent messages were not let in
  EXPECT_EQ(callback.delivered, 5);
  provider->QueryAll(U::kGroup);
  DestroyDataProvider(provider);  // and neither would this
  ::DestroyWindow(callback.window);
}

TEST(AnswerMachinery, InlineModeAnswersInsideTheCall) {
  Recorder recorder;
  ProviderAutomation::SetInlineAnswers(true);
  IDataProvider* provider = CreateDataProvider(&recorder);
  provider->QueryAll(U::kGroup);
  EXPECT_EQ(recorder.log.size(), 2u) << "the descriptor, then the answer";
  EXPECT_EQ(recorder.threads.back(), ::GetCurrentThreadId());
  ProviderAutomation::SetInlineAnswers(false);
  DestroyDataProvider(provider);
}

}  // namespace
