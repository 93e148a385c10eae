// Contact records: copies, labels, the number and address to show, the
// completed name and searching.
#include <gtest/gtest.h>

#include <memory>

#include "VirtualSlots.h"
#include "contact/ContactData.h"

namespace {

using namespace Contact;
using testing_support::CallSlot;
using testing_support::SlotOf;

// A contact with every field set to something other than its default, the
// fields the plug-in never reads included.
CContactData FullContact() {
  CContactData c;
  c.m_id = 7001;
  c.m_flag = 3;
  c.m_sourceAccount = L"acct";
  c.m_sourceType = L"type";
  c.m_sourceId = L"src";
  c.m_version = 9;
  for (int i = 0; i < kNameTextCount; ++i) c.m_name[i] = L"name" + std::to_wstring(i);
  c.m_nicknames.emplace_back(0, L"Wei", L"nick");
  c.m_photo = L"photo";
  c.m_notes = {L"note 1", L"note 2"};
  c.m_phones.emplace_back(2, L"13800000000", L"", true);
  c.m_phones.emplace_back(0, L"010-1234", L"Beijing office", false);
  c.m_emails.emplace_back(1, L"wei@example.com", L"", false);
  CPostalData postal(2, CPostalBaseData{L"1 Road", L"box", L"area", L"Beijing", L"BJ", L"100000", L"CN"}, L"", true);
  c.m_postals.push_back(postal);
  c.m_organizations.emplace_back(0, COrganizationBaseData{L"Co", L"CEO", L"HQ", L"runs it", L"CO", L"ko", L"5F"}, L"org");
  CIMData im(5, L"12345", L"", false);
  im.m_protocol = 5;
  c.m_ims.push_back(im);
  c.m_extras.push_back(CExtraData{L"x", 4, {L"a", L"b"}, L"mime"});
  c.m_websites.emplace_back(0, L"example.com", L"home page");
  c.m_ringtone = L"ring";
  c.m_sendToVoicemail = 1;
  c.m_groupNames = {L"Family", L"Work"};
  c.m_timesContacted = 12;
  c.m_index = L"ZHANGWEI";
  c.m_starred = 1;
  return c;
}

TEST(ContactRecords, CloneCopiesEveryFieldAndOutlivesTheSource) {
  auto source = std::make_unique<CContactData>(FullContact());
  std::unique_ptr<CContent> copy(source->Clone());
  auto* contact = dynamic_cast<CContactData*>(copy.get());
  ASSERT_NE(contact, nullptr) << "a clone is of the record's own class";
  EXPECT_TRUE(*contact == *source);
  source.reset();
  EXPECT_EQ(contact->m_ims.front().m_protocol, 5);
  EXPECT_EQ(contact->m_postals.front().m_data.m_city, L"Beijing");
  EXPECT_EQ(contact->m_name[kPhoneticFullName], L"name10");

  CGroupData group;
  group.m_id = 12;
  group.m_flag = 1;
  group.m_version = 2;
  group.m_sourceAccount = L"a";
  group.m_sourceType = L"b";
  group.m_sourceId = L"c";
  group.m_visible = 1;
  group.m_name = L"Friends";
  group.m_remark = L"close ones";
  group.m_systemId = L"sys";
  group.m_deleted = 1;
  group.m_shouldSync = 1;
  group.m_syncData1 = L"s1";
  group.m_syncData2 = L"s2";
  std::unique_ptr<CContent> groupCopy(group.Clone());
  ASSERT_NE(dynamic_cast<CGroupData*>(groupCopy.get()), nullptr);
  EXPECT_TRUE(*static_cast<CGroupData*>(groupCopy.get()) == group);
}

TEST(ContactRecords, CopyFormsRefuseAMissingSideAndIgnoreThemselves) {
  CContactData target;
  CContactData source = FullContact();
  EXPECT_FALSE(CContactData::Copy(nullptr, &source));
  EXPECT_FALSE(CContactData::Copy(&target, nullptr));
  EXPECT_TRUE(target == CContactData()) << "a refused copy changes nothing";
  EXPECT_TRUE(CContactData::Copy(&target, &source));
  EXPECT_TRUE(target == source);
  target.Copy(target);
  EXPECT_TRUE(target == source);
  CGroupData group, other;
  other.m_name = L"x";
  EXPECT_FALSE(CGroupData::Copy(&group, nullptr));
  EXPECT_TRUE(CGroupData::Copy(&group, &other));
  EXPECT_EQ(group.m_name, L"x");
}

TEST(ContactRecords, LabelsComeFromTheTableOnlyWithinItsRange) {
  CPhoneData phone(0, L"1", L"Beijing office");
  EXPECT_EQ(phone.GetTypeLabel(0), L"Beijing office") << "code 0 is the user's own label";
  EXPECT_EQ(phone.GetTypeLabel(2), L"Mobile");
  EXPECT_EQ(phone.GetTypeLabel(20), L"MMS");
  EXPECT_EQ(phone.GetTypeLabel(21), L"Beijing office");
  EXPECT_EQ(phone.GetTypeLabel(-1), L"Beijing office");
  CEmailData email(0, L"a@b", L"mine");
  EXPECT_EQ(email.GetTypeLabel(4), L"Mobile");
  EXPECT_EQ(email.GetTypeLabel(5), L"mine");
  CPostalData postal(0, {}, L"flat");
  EXPECT_EQ(postal.GetTypeLabel(3), L"Other");
  EXPECT_EQ(postal.GetTypeLabel(4), L"flat");
  CIMData im(0, L"id", L"own");
  EXPECT_EQ(im.GetTypeLabel(9), L"Custom") << "9 is in the protocol table's range";
  EXPECT_EQ(im.GetTypeLabel(5), L"QQ");
  EXPECT_EQ(im.GetTypeLabel(10), L"own");
  CWebsiteData site(3, L"x", L"blog");
  EXPECT_EQ(site.GetTypeLabel(3), L"blog") << "web sites have no table";
}

// Modules built apart from ours ask an entry for its label through the first
// slot of its table: nothing may sit in front of GetTypeLabel.
TEST(ContactRecords, AnEntryAnswersItsLabelFromTheFirstSlot) {
  ASSERT_EQ(SlotOf(&CCommonData<std::wstring>::GetTypeLabel), 0) << "a slot in front of the label";
  ASSERT_EQ(SlotOf(&CCommonData<CPostalBaseData>::GetTypeLabel), 0);
  CContactData c = FullContact();
  EXPECT_EQ(CallSlot<const std::wstring&>(&c.m_phones[0], 0, 2), L"Mobile");
  EXPECT_EQ(&CallSlot<const std::wstring&>(&c.m_phones[1], 0, 0), &c.m_phones[1].m_label) << "its own label";
  EXPECT_EQ(CallSlot<const std::wstring&>(&c.m_emails[0], 0, 3), L"Other");
  EXPECT_EQ(CallSlot<const std::wstring&>(&c.m_postals[0], 0, 2), L"Work");
  EXPECT_EQ(CallSlot<const std::wstring&>(&c.m_ims[0], 0, 9), L"Custom");
  EXPECT_EQ(CallSlot<const std::wstring&>(&c.m_organizations[0], 0, 1), L"org") << "no table";
  EXPECT_EQ(CallSlot<const std::wstring&>(&c.m_websites[0], 0, 2), L"home page") << "no table";
}

TEST(ContactRecords, TheNumberToShowFallsBackFromPrimaryToMobileToFirst) {
  CContactData c;
  EXPECT_EQ(c.GetFirstPhone(), L"");
  c.m_phones.emplace_back(1, L"home-1");
  c.m_phones.emplace_back(2, L"mobile-1");
  c.m_phones.emplace_back(2, L"mobile-2");
  EXPECT_EQ(c.GetFirstPhone(), L"mobile-1") << "no primary: the first Mobile";
  c.m_phones.emplace_back(3, L"", L"", true);
  EXPECT_EQ(c.GetFirstPhone(), L"mobile-1") << "an empty primary number is passed over";
  c.m_phones.back().m_data = L"work-1";
  EXPECT_EQ(c.GetFirstPhone(), L"work-1");
  CContactData noMobile;
  noMobile.m_phones.emplace_back(1, L"home-1");
  noMobile.m_phones.emplace_back(3, L"work-1");
  EXPECT_EQ(noMobile.GetFirstPhone(), L"home-1");

  c.m_emails.emplace_back(1, L"first@x");
  c.m_emails.emplace_back(2, L"primary@x", L"", true);
  EXPECT_EQ(c.GetFirstEmail(), L"primary@x");
  c.m_emails.back().m_data.clear();
  EXPECT_EQ(c.GetFirstEmail(), L"first@x");
}

TEST(ContactRecords, PrepareCompletesTheNameFromItsPartsOrTheNumberOrTheAddress) {
  CContactData named;
  named.m_name[kFamilyName] = L"张";
  named.m_name[kMiddleName] = L"";
  named.m_name[kGivenName] = L"伟";
  EXPECT_TRUE(named.Prepare());
  EXPECT_EQ(named.m_name[kFullName], L"张伟");

  CContactData kept;
  kept.m_name[kFullName] = L"Given Name";
  kept.m_name[kGivenName] = L"x";
  kept.Prepare();
  EXPECT_EQ(kept.m_name[kFullName], L"Given Name") << "an existing full name stays";

  CContactData numberOnly;
  numberOnly.m_phones.emplace_back(2, L"10086");
  numberOnly.Prepare();
  EXPECT_EQ(numberOnly.m_name[kGivenName], L"10086");
  EXPECT_EQ(numberOnly.m_name[kFullName], L"10086");

  CContactData addressOnly;
  addressOnly.m_emails.emplace_back(1, L"wei@example.com");
  addressOnly.Prepare();
  EXPECT_EQ(addressOnly.m_name[kGivenName], L"wei@example.com");
  EXPECT_EQ(addressOnly.m_name[kFullName], L"wei@example.com");
}

TEST(ContactRecords, MatchingIgnoresCaseAndLooksWhereItShould) {
  CContactData c;
  c.m_name[kDisplayName] = L"zhang wei";
  c.m_name[kGivenName] = L"Wei";
  c.m_name[kFamilyName] = L"Surname";
  c.m_phones.emplace_back(2, L"138-0000-1111");
  c.m_emails.emplace_back(1, L"Boss@Example.com");
  c.m_index = L"ZHANGWEI";
  EXPECT_TRUE(c.Matches(L"ZHANG"));
  EXPECT_TRUE(c.Matches(L"0000-11"));
  EXPECT_TRUE(c.Matches(L"boss@example"));
  EXPECT_TRUE(c.Matches(L"ngwe"));  // the index text
  EXPECT_TRUE(c.Matches(L""));
  EXPECT_FALSE(c.Matches(L"surname")) << "the family name alone is not searched";
  EXPECT_FALSE(c.Matches(L"Li"));
  CContactData chinese;
  chinese.m_name[kDisplayName] = L"张伟";
  EXPECT_TRUE(chinese.Matches(L"伟"));
}

}  // namespace
