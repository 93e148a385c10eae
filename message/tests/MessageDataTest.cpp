// Message records and the messages module's display rules.
#include <gtest/gtest.h>

#include <memory>

#include "frame/suite/ResourceLibrary.h"
#include "message/MessageData.h"
#include "message/MessageTexts.h"

namespace {

using namespace Message;

std::wstring Text(const wchar_t* key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

CSMSData FullMessage() {
  CSMSData m;
  m.m_id = 501;
  m.m_flag = 2;
  m.m_folderId = 11;
  m.m_opaqueText1 = L"o1";
  m.m_phoneNumber = L"10086";
  m.m_contactId = 77;
  m.m_contactName = L"China Mobile";
  m.m_time = L"20240131T235959Z";
  m.m_opaqueInt1 = 9;
  m.m_read = 1;
  m.m_draftMarker = -1;
  m.m_state = 3;
  m.m_opaqueInt2 = 8;
  m.m_opaqueText2 = L"o2";
  m.m_body = L"Hello world, see you";
  m.m_opaqueText3 = L"o3";
  m.m_lock = 1;
  m.m_opaqueInt3 = 7;
  m.m_cardId = 2;
  m.m_simText = L"sim";
  return m;
}

CFolder Folder(ContentId rawId, bool system, const std::wstring& name = L"", int total = 0, int unread = 0) {
  CFolder f;
  f.m_id = rawId;
  f.m_system = system ? 1 : 0;
  f.m_name = name;
  f.m_total = total;
  f.m_unread = unread;
  return f;
}

TEST(MessageRecords, ClonesKeepAllTwentyFieldsAndEveryFolderField) {
  auto source = std::make_unique<CSMSData>(FullMessage());
  std::unique_ptr<CContent> copy(source->Clone());
  auto* message = dynamic_cast<CSMSData*>(copy.get());
  ASSERT_NE(message, nullptr);
  EXPECT_TRUE(*message == *source);
  source.reset();
  EXPECT_EQ(message->m_opaqueInt1, 9);
  EXPECT_EQ(CSMSData().m_opaqueInt1, 1) << "a new message starts with 1 there";

  CFolder folder = Folder(20, false, L"Work", 5, 2);
  folder.m_flag = 1;
  folder.m_orderKey = 1;
  folder.m_opaqueText1 = L"t";
  folder.m_opaqueInt2 = 2;
  folder.m_opaqueInt3 = 3;
  folder.m_opaqueInt4 = 4;
  folder.m_opaqueInt5 = 5;
  std::unique_ptr<CContent> folderCopy(folder.Clone());
  ASSERT_NE(dynamic_cast<CFolder*>(folderCopy.get()), nullptr);
  EXPECT_TRUE(*static_cast<CFolder*>(folderCopy.get()) == folder);
}

TEST(MessageTimes, AreShownWithSeparatorsAndGroupedByDay) {
  EXPECT_EQ(MessageTimeText(2024, 1, 31, 23, 59, 59), L"20240131T235959Z");
  EXPECT_EQ(TimeShown(L"20240131T235959Z"), L"2024-01-31 23:59:59");
  EXPECT_EQ(DayKey(L"20240131T235959Z"), L"2024-01-31");
  EXPECT_EQ(TimeShown(L"20240131T2359"), L"20240131T2359") << "13 characters: unchanged";
  EXPECT_EQ(TimeShown(L"20240131T23595"), L"2024-01-31 23:59:5") << "14 characters: cut short";
  EXPECT_EQ(TimeShown(L""), L"");
  EXPECT_EQ(MessageTimeNow().size(), 16u);
}

TEST(MessageTexts, PartiesAreNamedTruncatedAndLabelled) {
  CSMSData m;
  m.m_phoneNumber = L"10086";
  EXPECT_EQ(PartyShown(m), L"10086");
  m.m_contactName = L"Zhang Wei";
  EXPECT_EQ(PartyShown(m), L"Zhang Wei");
  EXPECT_EQ(TruncateParty(L"12345678901234"), L"12345678901234") << "14 characters stand whole";
  EXPECT_EQ(TruncateParty(L"123456789012345"), L"12345678901234...");
  EXPECT_EQ(InboxLabel(L"Inbox", 3, 20), L"Inbox(3/20)");
  EXPECT_EQ(FolderLabel(L"Sent", 7), L"Sent(7)");
  EXPECT_EQ(NewFolderLabel(L"Work"), L"Work(0)");
  EXPECT_EQ(ConversationLabel(L"一二三四五六七八九十一二三四五", 3), L"一二三四五六七八九十一二三四...(3)");
}

TEST(FolderCatalogue, TakesNineSystemFoldersThenEveryUserFolder) {
  std::vector<CFolder> stored;
  for (int rawId = 12; rawId >= 1; --rawId) stored.push_back(Folder(static_cast<ContentId>(rawId), true));
  stored.push_back(Folder(100, false, L"Work"));
  stored.push_back(Folder(101, false, L"Family"));
  ContentList answer;
  for (CFolder& folder : stored) answer.push_back(&folder);
  CContent notAFolder;
  answer.push_back(&notAFolder);  // checked, not trusted
  std::vector<CFolder> catalogue = BuildFolderCatalogue(answer);
  ASSERT_EQ(catalogue.size(), 11u);
  EXPECT_EQ(catalogue[kPosConversations].m_id, 12u);
  EXPECT_EQ(catalogue[kPosInbox].m_id, 11u);
  EXPECT_EQ(catalogue[kPosRecycleBin].m_id, 4u);
  EXPECT_EQ(catalogue[9].m_name, L"Work");
  EXPECT_EQ(catalogue[10].m_name, L"Family");
}

TEST(FolderNames, SystemFoldersAreNamedByTheirRawId) {
  SimCardList none;
  EXPECT_EQ(FolderName(Folder(11, true, L"ignored"), none), Text(L"pim.sms.inbox"));
  EXPECT_EQ(FolderName(Folder(4, true), none), Text(L"pim.sms.ashbin"));
  EXPECT_EQ(FolderName(Folder(13, true, L"ignored"), none), L"");
  EXPECT_EQ(FolderName(Folder(0, true), none), L"");
  EXPECT_EQ(FolderName(Folder(55, false, L"My folder"), none), L"My folder");
}

TEST(FolderNames, SimCardFoldersAreNamedByTheirCardsNetwork) {
  CSimInfo one, two;
  one.m_cardId = 1;
  one.m_network = L"CDMA";
  two.m_cardId = 2;
  two.m_network = L"GSM";
  SimCardList cards{one, two};
  EXPECT_EQ(SimFolderName(10, cards), Text(L"pim.cnetcard"));
  EXPECT_EQ(SimFolderName(9, cards), Text(L"pim.gnetcard"));
  cards.back().m_network = L"WCDMA";
  EXPECT_EQ(SimFolderName(9, cards), Text(L"pim.wnetcard"));
  cards.back().m_network = L"satellite";
  std::wstring format = Text(L"pim.sms.cardname");
  wchar_t expected[128];
  _snwprintf(expected, 128, format.c_str(), 2);
  EXPECT_EQ(SimFolderName(9, cards), expected) << "an unknown network names the card by its number";
  EXPECT_EQ(SimFolderName(9, SimCardList{}).empty(), false);
}

TEST(NetworkText, NeedsAKnownCardThatMatchesTheMessage) {
  CSMSData message;
  message.m_cardId = 2;
  std::wstring unknown = Text(L"pim.sms.unknownettype");
  EXPECT_EQ(NetworkText(message, {}), unknown);
  CSimInfo gsm;
  gsm.m_cardId = 2;
  gsm.m_network = L"GSM";
  EXPECT_EQ(NetworkText(message, {gsm}), Text(L"pim.sms.gnettype"));
  CSimInfo cdma;
  cdma.m_cardId = 1;
  cdma.m_network = L"CDMA";
  EXPECT_EQ(NetworkText(message, {cdma}), unknown) << "one card that is not the message's";
  EXPECT_EQ(NetworkText(message, {cdma, gsm}), Text(L"pim.sms.gnettype")) << "the second of two";
  message.m_cardId = 1;
  EXPECT_EQ(NetworkText(message, {cdma, gsm}), Text(L"pim.sms.cnettype"));
  EXPECT_EQ(NetworkText(message, {cdma, gsm, gsm}), unknown) << "more than two cards";
}

}  // namespace
