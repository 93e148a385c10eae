// Imports and exports as the library runs them: every format written from one
// handset and read into an empty one, what an export covers, and the promise
// that an import applies all of its records or none.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <set>

#include "TestSupport.h"
#include "files/PortRuns.h"
#include "files/SheetPort.h"
#include "files/Spreadsheet.h"
#include "files/TextCodec.h"
#include "handset/Store.h"

namespace {

using files::PortFormat;
using files::PortOutcome;
using handset::Book;

const files::Progress kQuiet = [](size_t, size_t) { return true; };

Contact::CContactData Person(const std::wstring& family, const std::wstring& given, const std::wstring& mobile) {
  Contact::CContactData c;
  c.m_name[Contact::kFamilyName] = family;
  c.m_name[Contact::kGivenName] = given;
  c.m_name[Contact::kDisplayName] = family + given;
  c.m_phones.emplace_back(2, mobile);
  return c;
}

// A handset whose contacts use what every format carries: the spreadsheet's
// columns are the narrowest of them.
void FillContacts(handset::Store& store) {
  for (const wchar_t* name : {L"家人", L"Work"}) {
    Contact::CGroupData group;
    group.m_name = name;
    store.InsertGroup(group);
  }
  Contact::CContactData wang = Person(L"王", L"小明", L"13800138000");
  wang.m_phones.emplace_back(1, L"010-62345678");
  wang.m_phones.emplace_back(3, L"+86 21 5555 0101");
  wang.m_phones.emplace_back(9, L"555-0199");              // Car: a labelled line in a sheet
  wang.m_phones.emplace_back(0, L"555-0142", L"Boat");     // the user's own label
  wang.m_emails.emplace_back(1, L"xiaoming@example.com");
  wang.m_emails.emplace_back(2, L"wang@work.example.com");
  Contact::COrganizationBaseData org;
  org.m_company = L"长城科技";
  org.m_title = L"工程师";
  org.m_department = L"研发部";
  wang.m_organizations.emplace_back(1, org);
  Contact::CPostalBaseData home;
  home.m_street = L"中关村大街 1 号";
  home.m_city = L"北京";
  home.m_postcode = L"100080";
  home.m_country = L"中国";
  wang.m_postals.emplace_back(1, home);
  wang.m_websites.emplace_back(0, L"https://example.com/~wang");
  wang.m_nicknames.emplace_back(0, L"明明");
  Contact::CIMData qq;
  qq.m_data = L"123456789";
  qq.m_protocol = 5;
  wang.m_ims.push_back(qq);
  wang.m_notes.push_back(L"Met at the fair; likes tea, \"green\" & <strong>\nSecond line");
  wang.m_groupNames = {L"家人", L"Work"};
  wang.m_starred = 1;
  store.InsertContact(Book::Phone, wang);

  Contact::CContactData smith = Person(L"Smith", L"Anna", L"+44 7700 900123");
  smith.m_name[Contact::kDisplayName] = L"Anna Smith";
  smith.m_groupNames = {L"Work"};
  store.InsertContact(Book::Phone, smith);
  Contact::CContactData bare;  // only a number: the handset names it after it
  bare.m_phones.emplace_back(2, L"10086");
  store.InsertContact(Book::Phone, bare);
  // A card contact is not part of an export of the phone's book.
  store.InsertContact(Book::CardOne, Person(L"Card", L"Only", L"111"));
}

std::vector<Contact::CContactData> PhoneContacts(const handset::Store& store) {
  ContentList records;
  store.CollectContacts(Book::Phone, {}, records);
  std::vector<Contact::CContactData> contacts;
  for (CContent* record : records) contacts.push_back(*static_cast<Contact::CContactData*>(record));
  DeleteContents(records);
  return contacts;
}

template <class Entries>
std::multiset<std::wstring> Typed(const Entries& entries) {
  std::multiset<std::wstring> out;
  for (const auto& e : entries) out.insert(std::to_wstring(e.m_type) + L"|" + e.GetTypeLabel(e.m_type) + L"|" + e.m_data);
  return out;
}

// What a user sees of a contact in the list and on its card.
void ExpectSameContact(const Contact::CContactData& want, const Contact::CContactData& got, const char* format) {
  SCOPED_TRACE(std::string(format) + " " + files::ToUtf8(want.m_name[Contact::kDisplayName]));
  for (int text : {Contact::kDisplayName, Contact::kFamilyName, Contact::kGivenName, Contact::kFullName})
    EXPECT_EQ(got.m_name[text], want.m_name[text]) << "name text " << text;
  EXPECT_EQ(Typed(got.m_phones), Typed(want.m_phones));
  EXPECT_EQ(Typed(got.m_emails), Typed(want.m_emails));
  ASSERT_EQ(got.m_organizations.size(), want.m_organizations.size());
  for (size_t i = 0; i < want.m_organizations.size(); ++i) {
    EXPECT_EQ(got.m_organizations[i].m_data.m_company, want.m_organizations[i].m_data.m_company);
    EXPECT_EQ(got.m_organizations[i].m_data.m_title, want.m_organizations[i].m_data.m_title);
    EXPECT_EQ(got.m_organizations[i].m_data.m_department, want.m_organizations[i].m_data.m_department);
  }
  ASSERT_EQ(got.m_postals.size(), want.m_postals.size());
  for (size_t i = 0; i < want.m_postals.size(); ++i) {
    EXPECT_EQ(got.m_postals[i].m_type, want.m_postals[i].m_type);
    EXPECT_EQ(got.m_postals[i].m_data, want.m_postals[i].m_data);
  }
  ASSERT_EQ(got.m_ims.size(), want.m_ims.size());
  for (size_t i = 0; i < want.m_ims.size(); ++i) {
    EXPECT_EQ(got.m_ims[i].m_data, want.m_ims[i].m_data);
    EXPECT_EQ(got.m_ims[i].m_protocol, want.m_ims[i].m_protocol);
  }
  ASSERT_EQ(got.m_websites.size(), want.m_websites.size());
  if (!want.m_websites.empty()) {
    EXPECT_EQ(got.m_websites[0].m_data, want.m_websites[0].m_data);
  }
  ASSERT_EQ(got.m_nicknames.size(), want.m_nicknames.size());
  if (!want.m_nicknames.empty()) {
    EXPECT_EQ(got.m_nicknames[0].m_data, want.m_nicknames[0].m_data);
  }
  EXPECT_EQ(got.m_notes, want.m_notes);
  EXPECT_EQ(std::set<std::wstring>(got.m_groupNames.begin(), got.m_groupNames.end()),
            std::set<std::wstring>(want.m_groupNames.begin(), want.m_groupNames.end()));
  EXPECT_EQ(got.m_starred != 0, want.m_starred != 0);
}

struct Case {
  const char* name;
  PortFormat format;
  const wchar_t* file;  // empty: the folder itself (vCard)
};

TEST(PortRuns, ContactsComeBackCompleteFromEveryFormat) {
  handset::Store phone;
  FillContacts(phone);
  const std::vector<Contact::CContactData> sent = PhoneContacts(phone);
  ASSERT_EQ(sent.size(), 3u);
  for (const Case& c : {Case{"xml", PortFormat::Xml, L"contacts.xml"}, Case{"xlsx", PortFormat::Excel, L"contacts.xlsx"},
                        Case{"xls", PortFormat::Excel, L"contacts.xls"}, Case{"vcard", PortFormat::VCard, L""}}) {
    SCOPED_TRACE(c.name);
    testing_support::TempFolder folder;
    std::wstring path = *c.file ? folder.File(c.file) : folder.path();
    size_t reports = 0;
    PortOutcome out = files::ExportContacts(phone, {}, c.format, path, files::kSimplifiedChinese,
                                            [&](size_t done, size_t total) {
                                              reports += total ? 1 : 0;
                                              return done <= total;
                                            });
    ASSERT_EQ(out.kind, PortOutcome::kDone) << files::ToUtf8(out.problem);
    EXPECT_EQ(out.moved, 3u);
    EXPECT_GE(reports, 1u);

    handset::Store empty;
    PortOutcome in = files::ImportContacts(empty, c.format, {path}, kQuiet);
    ASSERT_EQ(in.kind, PortOutcome::kDone) << files::ToUtf8(in.problem);
    EXPECT_EQ(in.moved, 3u);
    EXPECT_EQ(empty.GroupCount(), 2u) << "the groups come along";
    std::vector<Contact::CContactData> got = PhoneContacts(empty);
    ASSERT_EQ(got.size(), sent.size());
    for (size_t i = 0; i < sent.size(); ++i) ExpectSameContact(sent[i], got[i], c.name);
  }
}

Message::CSMSData Text(int32_t folder, const std::wstring& number, const std::wstring& time, const std::wstring& body) {
  Message::CSMSData m;
  m.m_folderId = folder;
  m.m_phoneNumber = number;
  m.m_time = time;
  m.m_body = body;
  return m;
}

TEST(PortRuns, MessagesComeBackIntoTheirFoldersOrIntoTheInboxWhenFoldersAreIgnored) {
  handset::Store phone;
  Message::CFolder trip;
  trip.m_name = L"旅行";
  int32_t tripId = phone.InsertFolder(trip);
  ContentList made;
  Message::CSMSData read = Text(Message::kFolderInbox, L"13800138000", L"20260301T101010Z", L"到了吗？\nline two");
  read.m_read = 1;
  read.m_lock = 1;
  Message::CSMSData sent = Text(Message::kFolderSent, L"10086", L"20251231T235959Z", L"  leading spaces & <tags>");
  sent.m_state = Message::CSMSData::kStateOutgoing;
  sent.m_read = 1;
  Message::CSMSData kept = Text(tripId, L"+44 7700 900123", L"20260115T080000Z", L"Hotel booked");
  for (auto* m : {&read, &sent, &kept}) made.push_back(m);
  phone.InsertMessages(made);

  for (const Case& c : {Case{"xml", PortFormat::Xml, L"m.xml"}, Case{"xlsx", PortFormat::Excel, L"m.xlsx"},
                        Case{"xls", PortFormat::Excel, L"m.xls"}}) {
    SCOPED_TRACE(c.name);
    testing_support::TempFolder folder;
    files::MessageScope all;
    all.ids = IdList{1, 2, 3};
    PortOutcome out = files::ExportMessages(phone, all, c.format, folder.File(c.file), files::kEnglish, kQuiet);
    ASSERT_EQ(out.kind, PortOutcome::kDone) << files::ToUtf8(out.problem);

    handset::Store empty;
    ASSERT_EQ(files::ImportMessages(empty, c.format, {folder.File(c.file)}, false, kQuiet).kind, PortOutcome::kDone);
    ContentList folders;
    empty.CollectFolders(folders);
    int32_t madeTrip = 0;
    for (CContent* f : folders)
      if (static_cast<Message::CFolder*>(f)->m_name == L"旅行") madeTrip = static_cast<int32_t>(f->m_id);
    DeleteContents(folders);
    ASSERT_NE(madeTrip, 0) << "the user folder is made by its name";
    std::vector<const Message::CSMSData*> got = empty.MessagesNewestFirst();
    ASSERT_EQ(got.size(), 3u);
    // Newest first: the inbox message, the one in the trip folder, the sent one.
    EXPECT_EQ(got[0]->m_body, read.m_body);
    EXPECT_EQ(got[0]->m_time, read.m_time);
    EXPECT_EQ(got[0]->m_folderId, Message::kFolderInbox);
    EXPECT_TRUE(got[0]->m_read && got[0]->m_lock);
    EXPECT_EQ(got[1]->m_folderId, madeTrip);
    EXPECT_EQ(got[1]->m_phoneNumber, kept.m_phoneNumber);
    EXPECT_FALSE(got[1]->m_read);
    EXPECT_EQ(got[2]->m_body, sent.m_body);
    EXPECT_EQ(got[2]->m_folderId, Message::kFolderSent);
    EXPECT_EQ(got[2]->m_state, Message::CSMSData::kStateOutgoing);

    handset::Store flat;
    ASSERT_EQ(files::ImportMessages(flat, c.format, {folder.File(c.file)}, true, kQuiet).kind, PortOutcome::kDone);
    std::multiset<int32_t> where;
    for (const auto* m : flat.MessagesNewestFirst()) where.insert(m->m_folderId);
    EXPECT_EQ(where, (std::multiset<int32_t>{Message::kFolderInbox, Message::kFolderInbox, Message::kFolderSent}));
  }
}

TEST(PortRuns, AnExportCoversItsScopeAndNothingMovedIsNotASuccess) {
  handset::Store phone;
  FillContacts(phone);
  testing_support::TempFolder folder;
  ContentList groups;
  phone.CollectGroups(groups);
  ContentId family = 0;
  for (CContent* g : groups)
    if (static_cast<Contact::CGroupData*>(g)->m_name == L"家人") family = g->m_id;
  DeleteContents(groups);

  files::ContactScope group;
  group.groupId = family;
  EXPECT_EQ(files::ExportContacts(phone, group, PortFormat::Xml, folder.File(L"g.xml"), 2, kQuiet).moved, 1u);
  files::ContactScope starred;
  starred.starredOnly = true;
  EXPECT_EQ(files::ExportContacts(phone, starred, PortFormat::Excel, folder.File(L"s.xlsx"), 2, kQuiet).moved, 1u);
  files::ContactScope card;
  card.book = Book::CardOne;
  EXPECT_EQ(files::ExportContacts(phone, card, PortFormat::VCard, folder.path(), 2, kQuiet).moved, 1u);

  files::ContactScope none;
  none.ids = IdList{};
  PortOutcome nothing = files::ExportContacts(phone, none, PortFormat::Xml, folder.File(L"n.xml"), 2, kQuiet);
  EXPECT_EQ(nothing.kind, PortOutcome::kNothing);
  EXPECT_EQ(::GetFileAttributesW(folder.File(L"n.xml").c_str()), INVALID_FILE_ATTRIBUTES) << "no empty file is left";
  handset::Store empty;
  files::MessageScope inbox;
  inbox.folderId = Message::kFolderInbox;
  EXPECT_EQ(files::ExportMessages(empty, inbox, PortFormat::Xml, folder.File(L"m.xml"), 2, kQuiet).kind,
            PortOutcome::kNothing);
  // A folder that does not exist is a failure, with the reason.
  PortOutcome missing = files::ExportContacts(phone, {}, PortFormat::VCard, folder.File(L"no such folder"), 2, kQuiet);
  EXPECT_EQ(missing.kind, PortOutcome::kFailed);
  EXPECT_NE(missing.problem.find(L"no such folder"), std::wstring::npos);
}

TEST(PortRuns, AnImportAppliesAllOrNothing) {
  handset::Store big;
  for (int i = 0; i < 1500; ++i) big.InsertContact(Book::Phone, Person(L"Person", std::to_wstring(i), L"1380000" + std::to_wstring(i)));
  testing_support::TempFolder folder;
  for (const Case& c : {Case{"xml", PortFormat::Xml, L"all.xml"}, Case{"xlsx", PortFormat::Excel, L"all.xlsx"},
                        Case{"vcard", PortFormat::VCard, L""}}) {
    SCOPED_TRACE(c.name);
    std::wstring path = *c.file ? folder.File(c.file) : folder.path();
    ASSERT_EQ(files::ExportContacts(big, {}, c.format, path, 2, kQuiet).moved, 1500u);

    // Cancelled half way through the records: the handset is as it was.
    handset::Store target;
    target.InsertContact(Book::Phone, Person(L"Already", L"Here", L"1"));
    const uint64_t revision = target.revision();
    size_t lastDone = 0;
    PortOutcome cancelled = files::ImportContacts(target, c.format, {path}, [&](size_t done, size_t total) {
      if (total) lastDone = done;
      return total == 0 || done < 750;
    });
    EXPECT_EQ(cancelled.kind, PortOutcome::kCancelled);
    EXPECT_LE(lastDone, 765u) << "stopped within a step of the cancel";
    EXPECT_EQ(target.CountContacts(Book::Phone, false), 1u);
    EXPECT_EQ(target.revision(), revision);

    // Cancelled while the file is still being read.
    PortOutcome early = files::ImportContacts(target, c.format, {path}, [](size_t, size_t total) { return total != 0; });
    EXPECT_EQ(early.kind, PortOutcome::kCancelled);
    EXPECT_EQ(target.CountContacts(Book::Phone, false), 1u);

    size_t reports = 0, final = 0;
    PortOutcome done = files::ImportContacts(target, c.format, {path}, [&](size_t d, size_t total) {
      if (total) ++reports, final = d;
      return true;
    });
    EXPECT_EQ(done.moved, 1500u);
    EXPECT_EQ(final, 1500u);
    EXPECT_LE(reports, 101u) << "progress in steps, not per record";
    EXPECT_EQ(target.CountContacts(Book::Phone, false), 1501u);
    if (*c.file == 0) {  // the vCard folder is read again by the next format otherwise
      WIN32_FIND_DATAW found;
      HANDLE search = ::FindFirstFileW((folder.path() + L"\\*.vcf").c_str(), &found);
      do ::DeleteFileW(folder.File(found.cFileName).c_str());
      while (::FindNextFileW(search, &found));
      ::FindClose(search);
    }
  }
}

TEST(PortRuns, ABadFileFailsTheImportWithItsReasonAndChangesNothing) {
  testing_support::TempFolder folder;
  std::wstring error;
  ASSERT_TRUE(files::WriteFileBytes(folder.File(L"broken.xml"), "<contacts version=\"1\"><contact>", error));
  ASSERT_TRUE(files::WriteFileBytes(folder.File(L"text.xlsx"), "Name,Mobile\nAnna,123\n", error));
  handset::Store target;
  const uint64_t revision = target.revision();
  for (const auto& [format, file] : {std::pair{PortFormat::Xml, L"broken.xml"}, std::pair{PortFormat::Excel, L"text.xlsx"},
                                     std::pair{PortFormat::Xml, L"missing.xml"}}) {
    PortOutcome out = files::ImportContacts(target, format, {folder.File(file)}, kQuiet);
    EXPECT_EQ(out.kind, PortOutcome::kFailed) << files::ToUtf8(file);
    EXPECT_NE(out.problem.find(file), std::wstring::npos) << files::ToUtf8(out.problem);
  }
  EXPECT_EQ(target.revision(), revision);
  // A folder without any card imports nothing, which is not a success.
  EXPECT_EQ(files::ImportContacts(target, PortFormat::VCard, {folder.path()}, kQuiet).kind, PortOutcome::kNothing);
}

// A sheet as a user saves it from a spreadsheet program: a title above the
// header, Chinese titles in another order, a number typed as a number, a time
// kept as a date cell, rows left empty.
TEST(PortRuns, ASheetSavedByASpreadsheetProgramImportsByItsColumnTitles) {
  files::Sheet contacts;
  contacts.rows = {{L"我的通讯录"},
                   {L"手機", L"姓名", L"電子郵件", L"分组", L"收藏"},
                   {L"13800138000", L"陈静", L"chen@example.com\nWork: jing@work.example", L"朋友", L"是"},
                   {},
                   {L"", L"No number", L"", L"", L"否"}};
  files::ContactSet set;
  std::wstring error;
  ASSERT_TRUE(files::SheetToContacts(contacts, set, error)) << files::ToUtf8(error);
  ASSERT_EQ(set.contacts.size(), 2u);
  const Contact::CContactData& chen = set.contacts[0];
  EXPECT_EQ(chen.m_name[Contact::kDisplayName], L"陈静");
  EXPECT_EQ(chen.m_name[Contact::kFullName], L"陈静") << "a lone name is the full name";
  ASSERT_EQ(chen.m_phones.size(), 1u);
  EXPECT_EQ(chen.m_phones[0].m_type, 2);
  ASSERT_EQ(chen.m_emails.size(), 2u);
  EXPECT_EQ(chen.m_emails[1].m_type, 2);
  EXPECT_EQ(chen.m_emails[1].m_data, L"jing@work.example");
  EXPECT_EQ(chen.m_starred, 1);
  EXPECT_FALSE(set.contacts[1].m_starred);
  ASSERT_EQ(set.groups.size(), 1u);
  EXPECT_EQ(set.groups[0].m_name, L"朋友");

  files::Sheet messages;
  messages.rows = {{L"Content", L"Number", L"Time", L"Folder", L"Locked"},
                   {L"Hello", L"10086", L"46082.5", L"Receipts", L"TRUE"},
                   {L"Bye", L"10010", L"2026/3/2 9:05", L"收件匣", L""}};
  files::MessageSet got;
  ASSERT_TRUE(files::SheetToMessages(messages, got, error)) << files::ToUtf8(error);
  ASSERT_EQ(got.messages.size(), 2u);
  EXPECT_EQ(got.messages[0].m_time, L"20260301T120000Z") << "a date cell's serial day";
  EXPECT_EQ(got.messages[0].m_lock, 1);
  ASSERT_EQ(got.folders.size(), 1u);
  EXPECT_EQ(got.messages[0].m_folderId, static_cast<int32_t>(got.folders[0].m_id));
  EXPECT_EQ(got.messages[1].m_time, L"20260302T090500Z");
  EXPECT_EQ(got.messages[1].m_folderId, Message::kFolderInbox) << "a system folder by its name in any language";

  files::Sheet unknown;
  unknown.rows = {{L"Foo", L"Bar"}, {L"1", L"2"}};
  EXPECT_FALSE(files::SheetToContacts(unknown, set, error));
  EXPECT_NE(error.find(L"no column"), std::wstring::npos);
}

}  // namespace
