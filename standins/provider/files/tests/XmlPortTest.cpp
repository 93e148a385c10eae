#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "files/XmlPort.h"

namespace files {
namespace {

using Contact::CContactData;

// Texts that XML treats specially: markup characters, quotes, line ends, Chinese.
const std::wstring kTricky = L"李 & <b> \"q\" 'a'\nline2";

CContactData FullContact() {
  CContactData c;
  c.m_id = 4000000001u;
  c.m_flag = 7;
  c.m_sourceAccount = L"me@example.com";
  c.m_sourceType = L"com.example";
  c.m_sourceId = L"src-1";
  c.m_version = 12;
  const wchar_t* names[Contact::kNameTextCount] = {L"张 三", L"张", L"三", L"Dr.", L"中", L"Jr.",
                                                   L"张中三", L"zhang", L"san", L"zhong", L"zhang zhong san"};
  for (int i = 0; i < Contact::kNameTextCount; ++i) c.m_name[i] = names[i];
  c.m_nicknames = {{0, L"小三", L"my nick"}};
  c.m_photo = L"iVBORw0KGgo=";
  c.m_notes = {kTricky, L"", L"  padded\r\nCRLF  "};  // an empty note is still a note
  c.m_phones = {{2, L"+86 138 0000 0000", L"", true}, {0, L"", L"空号 & <x>"}};
  c.m_emails = {{1, L"a&b@example.com"}};
  Contact::CPostalBaseData address{L"1 Road\nBuilding \"A\"", L"PO 5", L"Nb", L"北京", L"BJ", L"100000", L"中国"};
  c.m_postals = {{1, address, L"", true}};
  Contact::COrganizationBaseData org{L"A&B <Co>", L"CEO", L"R&D", L"boss", L"AB", L"ei bi", L"Room 1"};
  c.m_organizations = {{0, org, L"work\tplace"}};
  Contact::CIMData im(5, L"qq:12345", L"");
  im.m_protocol = 4;
  c.m_ims = {im};
  c.m_extras = {{L"vnd.x/item", 3, {L"v1", L"", L"v3 'x'"}, L"text/plain"}, {L"empty", 0, {}, L""}};
  c.m_websites = {{3, L"http://x.example/?a=1&b=2"}};
  c.m_ringtone = L"C:\\Ring\\tone.mp3";
  c.m_sendToVoicemail = 1;
  c.m_groupNames = {L"同事", L"Friends & Family"};
  c.m_timesContacted = 42;
  c.m_index = L"zhangsan";
  c.m_starred = 1;
  return c;
}

ContactSet FullContactSet() {
  ContactSet set;
  set.contacts = {FullContact(), CContactData()};  // a bare contact too: nothing invented on reading
  Contact::CGroupData first;
  first.m_id = 9;
  first.m_name = L"同事";
  first.m_remark = L"at <work>";
  first.m_version = 3;
  first.m_sourceAccount = L"acc";
  first.m_sourceType = L"type";
  first.m_sourceId = L"sid";
  first.m_visible = 1;
  first.m_systemId = L"sys";
  first.m_deleted = 0;
  first.m_shouldSync = 1;
  first.m_syncData1 = L"s1";
  first.m_syncData2 = L"s2";
  Contact::CGroupData second;
  second.m_id = 2;
  second.m_name = L"Friends & Family";
  set.groups = {first, second};  // not in id order: the file keeps the order
  return set;
}

Message::CSMSData MakeMessage(ContentId id, int32_t folder, const std::wstring& body) {
  Message::CSMSData m;
  m.m_id = id;
  m.m_folderId = folder;
  m.m_phoneNumber = L"+8613800000000";
  m.m_contactName = L"王五 <w>";
  m.m_contactId = 17;
  m.m_time = L"20240131T235959Z";
  m.m_read = 1;
  m.m_state = Message::CSMSData::kStateOutgoing;
  m.m_body = body;
  return m;
}

MessageSet FullMessageSet() {
  MessageSet set;
  Message::CFolder folder;
  folder.m_id = 101;
  folder.m_name = L"Work & play";
  folder.m_orderKey = 50;
  folder.m_opaqueText1 = L"t";
  folder.m_opaqueInt2 = 2;
  folder.m_opaqueInt5 = -5;
  folder.m_flag = 1;
  set.folders = {folder};
  Message::CSMSData draft = MakeMessage(1, 101, L"   leading spaces, CR LF\r\nbell \x07 and a lone CR\r");
  draft.m_draftMarker = Message::CSMSData::kDraftMarker;
  draft.m_state = Message::CSMSData::kStateComposed;
  draft.m_lock = 1;
  draft.m_cardId = 2;
  draft.m_simText = L"SIM2\x01";
  draft.m_opaqueText1 = L"o1";
  draft.m_opaqueInt1 = 0;  // differs from the record's default 1
  draft.m_opaqueInt2 = 9;
  draft.m_opaqueText2 = L"o2\\u0041";  // a backslash that is data, not an escape
  draft.m_opaqueText3 = L"o3";
  draft.m_opaqueInt3 = -3;
  draft.m_flag = 2;
  std::wstring emoji = L"emoji \xD83D\xDE00\tok \\ \n";
  emoji += L'\0';
  emoji += L"nul, lone \xD800 half";
  set.messages = {draft, MakeMessage(2, Message::kFolderInbox, emoji), MakeMessage(3, 101, L"  "),
                  MakeMessage(4, Message::kFolderSent, L"")};
  return set;
}

// Windows' XmlLite names the encoding "utf-8", Wine's "UTF-8"; no byte-order mark in front.
bool StartsWithUtf8Declaration(const std::string& bytes) {
  std::string start = bytes.substr(0, 38);
  for (char& c : start) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return start == "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
}

TEST(XmlContacts, EveryFieldRoundTripsExactlyAndGroupsKeepTheirOrder) {
  ContactSet set = FullContactSet();
  std::string bytes;
  std::wstring error;
  int ticks = 0;
  ASSERT_TRUE(WriteContactsXml(set, bytes, error, [&] { return ++ticks, true; })) << error;
  EXPECT_EQ(2, ticks);
  EXPECT_TRUE(StartsWithUtf8Declaration(bytes)) << bytes.substr(0, 60);
  EXPECT_NE(std::string::npos, bytes.find("xmlns=\"urn:tamix:pim:contacts:1\""));

  ContactSet read;
  ticks = 0;
  ASSERT_TRUE(ReadContactsXml(bytes, read, error, [&] { return ++ticks, true; })) << error;
  EXPECT_EQ(2, ticks);
  ASSERT_EQ(2u, read.contacts.size());
  EXPECT_TRUE(read.contacts[0] == set.contacts[0]) << bytes;
  EXPECT_TRUE(read.contacts[1] == set.contacts[1]);
  ASSERT_EQ(2u, read.groups.size());
  EXPECT_TRUE(read.groups[0] == set.groups[0]);
  EXPECT_TRUE(read.groups[1] == set.groups[1]);
}

TEST(XmlMessages, FoldersAndBodiesRoundTripExactly) {
  MessageSet set = FullMessageSet();
  std::string bytes;
  std::wstring error;
  ASSERT_TRUE(WriteMessagesXml(set, true, bytes, error)) << error;
  EXPECT_TRUE(StartsWithUtf8Declaration(bytes));

  MessageSet read;
  ASSERT_TRUE(ReadMessagesXml(bytes, read, error)) << error;
  ASSERT_EQ(1u, read.folders.size());
  EXPECT_TRUE(read.folders[0] == set.folders[0]);
  ASSERT_EQ(set.messages.size(), read.messages.size());
  for (size_t i = 0; i < set.messages.size(); ++i) {
    EXPECT_EQ(set.messages[i].m_body, read.messages[i].m_body) << i;
    EXPECT_TRUE(read.messages[i] == set.messages[i]) << i << "\n" << bytes;
  }
}

TEST(XmlMessages, WithoutFoldersNoFolderIsWrittenOrRead) {
  MessageSet set = FullMessageSet();
  std::string bytes;
  std::wstring error;
  ASSERT_TRUE(WriteMessagesXml(set, false, bytes, error)) << error;
  EXPECT_EQ(std::string::npos, bytes.find("folder")) << bytes;
  MessageSet read;
  ASSERT_TRUE(ReadMessagesXml(bytes, read, error)) << error;
  EXPECT_TRUE(read.folders.empty());
  ASSERT_EQ(set.messages.size(), read.messages.size());
  for (size_t i = 0; i < set.messages.size(); ++i) {
    Message::CSMSData expected = set.messages[i];
    expected.m_folderId = 0;
    EXPECT_TRUE(read.messages[i] == expected) << i;
  }
}

TEST(XmlReading, ForeignAndOlderFilesRead) {
  // A later version's extras (unknown elements, attributes, other vocabularies) are skipped.
  const char* extended =
      "<?xml version='1.0' encoding='UTF-8'?>\n<!-- made by hand -->\n"
      "<contacts xmlns='urn:tamix:pim:contacts:1' xmlns:o='urn:other' version='1' created='today'>"
      "<future a='b'><contact id='66'/></future><o:contact id='77'/>"
      "<contact id='5' mood='happy'><name display='Ann' hair='red'/><hobby>chess</hobby>"
      "<phone type='2' o:x='y'>123<sub>ignored</sub>4</phone><o:phone>no</o:phone><![CDATA[stray]]></contact>"
      "</contacts>";
  ContactSet contacts;
  std::wstring error;
  ASSERT_TRUE(ReadContactsXml(extended, contacts, error)) << error;
  ASSERT_EQ(1u, contacts.contacts.size());
  const CContactData& ann = contacts.contacts[0];
  EXPECT_EQ(5u, ann.m_id);
  EXPECT_EQ(L"Ann", ann.m_name[Contact::kDisplayName]);
  ASSERT_EQ(1u, ann.m_phones.size());
  EXPECT_EQ(L"1234", ann.m_phones[0].m_data);
  EXPECT_EQ(2, ann.m_phones[0].m_type);

  // UTF-16 with a byte-order mark, declaration naming UTF-16.
  std::wstring wide = L"\xFEFF<?xml version=\"1.0\" encoding=\"UTF-16\"?><messages version=\"1\">"
                      L"<message id=\"3\" number=\"10086\" folder=\"11\">你好 \xD83D\xDE00</message></messages>";
  std::string utf16(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
  MessageSet messages;
  ASSERT_TRUE(ReadMessagesXml(utf16, messages, error)) << error;
  ASSERT_EQ(1u, messages.messages.size());
  EXPECT_EQ(L"你好 \xD83D\xDE00", messages.messages[0].m_body);
  EXPECT_EQ(11, messages.messages[0].m_folderId);

  // Old style: no declaration, namespace or version.
  ASSERT_TRUE(ReadMessagesXml("<messages><message id='8'>hi</message></messages>", messages, error)) << error;
  ASSERT_EQ(1u, messages.messages.size());
  EXPECT_EQ(L"hi", messages.messages[0].m_body);
  EXPECT_EQ(0, messages.messages[0].m_folderId);
  EXPECT_EQ(1, messages.messages[0].m_opaqueInt1);  // the record's default, not zero
}

// Each bad document gives a readable error naming where, and an empty set.
TEST(XmlReading, DamagedFilesAreRefusedWithAPlace) {
  std::string good;
  std::wstring error;
  ASSERT_TRUE(WriteContactsXml(FullContactSet(), good, error)) << error;
  std::string random;
  for (unsigned i = 0, x = 12345; i < 4000; ++i) random += static_cast<char>((x = x * 1103515245 + 12345) >> 16);
  std::string bomb =
      "<?xml version='1.0'?><!DOCTYPE contacts [<!ENTITY a 'aaaaaaaaaa'><!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;'>"
      "<!ENTITY c '&b;&b;&b;&b;&b;&b;&b;&b;'><!ENTITY d '&c;&c;&c;&c;&c;&c;&c;&c;'>]>"
      "<contacts><contact><note>&d;&d;&d;&d;</note></contact></contacts>";
  std::string deep = "<contacts>";
  for (int i = 0; i < 5000; ++i) deep += "<x>";
  struct Case {
    const char* what;
    std::string bytes;
    std::wstring mustMention;
  };
  const Case cases[] = {
      {"wrong root", "<messages version='1'/>", L"root element"},
      {"other namespace", "<contacts xmlns='urn:tamix:pim:contacts:9'/>", L"namespace"},
      {"newer version", "<contacts version='2'><contact id='1'/></contacts>", L"version 2"},
      {"bad number", "<contacts><contact id='1'/>\n<contact id='x1'/></contacts>", L"line 2"},
      {"broken escape", "<contacts><contact><note escaped='#text'>\\u00G1</note></contact></contacts>", L"escape"},
      {"truncated", good.substr(0, good.size() / 2), L"line "},
      {"cut after a tag", good.substr(0, good.find("<contact ")) + "<contact id='1'>", L"ends before"},
      {"entity bomb", bomb, L"line "},
      {"random bytes", random, L"line "},
      {"too deep", deep, L"line "},
      {"empty", "", L"empty"},
  };
  for (const Case& c : cases) {
    ContactSet set;
    set.contacts.resize(1);
    error.clear();
    EXPECT_FALSE(ReadContactsXml(c.bytes, set, error)) << c.what;
    EXPECT_NE(std::wstring::npos, error.find(c.mustMention)) << c.what << ": " << ToUtf8(error);
    EXPECT_TRUE(set.contacts.empty() && set.groups.empty()) << c.what;
  }
  // Cut anywhere before the root's end tag, a document is incomplete: refused, never a hang or a crash.
  size_t rootEnd = good.rfind("</contacts>");
  ASSERT_NE(std::string::npos, rootEnd);
  for (size_t size = 0; size < rootEnd; ++size) {
    ContactSet set;
    error.clear();
    EXPECT_FALSE(ReadContactsXml(std::string_view(good).substr(0, size), set, error)) << size;
    EXPECT_FALSE(error.empty()) << size;
  }
  std::string messages;
  ASSERT_TRUE(WriteMessagesXml(FullMessageSet(), true, messages, error)) << error;
  rootEnd = messages.rfind("</messages>");
  ASSERT_NE(std::string::npos, rootEnd);
  for (size_t size = 0; size < rootEnd; ++size) {
    MessageSet set;
    error.clear();
    EXPECT_FALSE(ReadMessagesXml(std::string_view(messages).substr(0, size), set, error)) << size;
    EXPECT_FALSE(error.empty()) << size;
  }
}

TEST(XmlReading, TickFalseCancelsWithoutError) {
  ContactSet contacts = FullContactSet();
  std::string bytes;
  std::wstring error;
  int ticks = 0;
  auto stopAtFirst = [&] { return ++ticks, false; };
  EXPECT_FALSE(WriteContactsXml(contacts, bytes, error, stopAtFirst));
  EXPECT_TRUE(error.empty());
  EXPECT_EQ(1, ticks);
  ASSERT_TRUE(WriteContactsXml(contacts, bytes, error)) << error;
  ticks = 0;
  EXPECT_FALSE(ReadContactsXml(bytes, contacts, error, stopAtFirst));
  EXPECT_TRUE(error.empty());
  EXPECT_TRUE(contacts.contacts.empty());
  EXPECT_EQ(1, ticks);

  MessageSet messages = FullMessageSet();
  ASSERT_TRUE(WriteMessagesXml(messages, true, bytes, error)) << error;
  ticks = 0;
  EXPECT_FALSE(ReadMessagesXml(bytes, messages, error, stopAtFirst));
  EXPECT_TRUE(error.empty());
  EXPECT_EQ(1, ticks);
  ticks = 0;
  EXPECT_FALSE(WriteMessagesXml(FullMessageSet(), true, bytes, error, stopAtFirst));
  EXPECT_TRUE(error.empty());
  EXPECT_EQ(1, ticks);
}

}  // namespace
}  // namespace files
