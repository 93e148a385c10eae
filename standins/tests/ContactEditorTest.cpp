// The contact editor: the form it edits (plain code: loading, checks, writing
// back), and the real window driven as a user drives it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "dialogs/ContactForm.h"
#include "dialogs/JorvHelperIds.h"
#include "frame/suite/ResourceLibrary.h"
#include "frame/suite/SharedDialogs.h"
#include "framework/Text.h"
#include "framework/Window.h"
#include "standins/dialogs/JorvAutomation.h"

namespace {

using Contact::CContactData;
using jorv::ContactForm;
using jorv::FormVerdict;
using jorv::LabelledRow;
using testing_support::AnswerWhenShown;

std::wstring Text(const wchar_t* key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

// A contact with something in every field, the ones the editor does not show
// included, and texts the editor would trim if they were typed.
CContactData RichContact() {
  CContactData c;
  c.m_id = 4711;
  c.m_flag = 3;
  c.m_sourceAccount = L"phone";
  c.m_sourceType = L"local";
  c.m_sourceId = L"src-9";
  c.m_version = 12;
  c.m_name[Contact::kDisplayName] = L"Zhang Wei";
  c.m_name[Contact::kFamilyName] = L"Zhang";
  c.m_name[Contact::kGivenName] = L"Wei";
  c.m_name[Contact::kNamePrefix] = L"Dr.";
  c.m_name[Contact::kFullName] = L"Zhang Wei";
  c.m_name[Contact::kPhoneticFamilyName] = L"zhang";
  c.m_nicknames.emplace_back(0, L"Xiao Wei");
  c.m_nicknames.emplace_back(0, L"Wei Wei");
  c.m_photo = L"photo-bytes";
  c.m_notes = {L"met at the fair\nlikes tea", L"second note"};
  c.m_phones.emplace_back(Contact::CPhoneData::kMobile, L"13800138000", L"", true);
  c.m_phones.emplace_back(0, L"010-6552 1234", L"Studio");
  c.m_phones.emplace_back(25, L"+86 10 8888", L"Satellite");
  c.m_emails.emplace_back(2, L"zhang.wei@example.com");
  Contact::CIMData qq(5, L"12345678");
  qq.m_protocol = 0;
  c.m_ims.push_back(qq);
  Contact::CPostalBaseData home;
  home.m_street = L"12 Garden Road";
  home.m_poBox = L"PO 7";
  home.m_city = L"Beijing";
  home.m_postcode = L"100000";
  c.m_postals.emplace_back(1, home);
  c.m_postals.emplace_back(2, Contact::CPostalBaseData{L"1 Office Park", L"", L"", L"Shanghai", L"", L"", L""});
  Contact::COrganizationBaseData work;
  work.m_company = L"ACME ";  // a trailing blank the user never typed
  work.m_title = L"Engineer";
  work.m_department = L"R&D";
  c.m_organizations.emplace_back(1, work);
  c.m_extras.push_back({L"birthday", 3, {L"1980-01-02"}, L"vnd.event"});
  c.m_websites.emplace_back(0, L"https://example.com/wei");
  c.m_ringtone = L"bells";
  c.m_sendToVoicemail = 1;
  c.m_groupNames = {L"Family", L"Work"};
  c.m_timesContacted = 9;
  c.m_index = L"Z";
  c.m_starred = 1;
  return c;
}

// --- the form ----------------------------------------------------------------

TEST(ContactForm, LeftAsLoadedItChangesNothingInTheRecord) {
  const CContactData original = RichContact();
  CContactData saved = original;
  jorv::ApplyContactForm(jorv::FormFromContact(original), saved);
  EXPECT_TRUE(saved == original) << "every field, shown or not, stays as it was";
}

TEST(ContactForm, RowsEditTheirEntriesAndLabelsBecomeCodes) {
  CContactData c = RichContact();
  ContactForm form = jorv::FormFromContact(c);
  form.phones[0].value = L" 13900139000 ";    // the primary mark stays with the entry
  form.phones[1].label = L"work";             // a table text in any case gives its code
  form.phones.push_back({L"Pager", L"5550100"});
  form.phones.push_back({L"Boat", L"5550101"});  // the user's own label
  form.phones.push_back({L"", L"5550102"});      // no label: Mobile
  form.phones.push_back({L"Home", L"   "});      // blanks: dropped
  form.emails[0].value = L"";                    // emptied: dropped
  form.emails.push_back({L"Mobile", L"wei@example.org"});
  form.ims.push_back({L"Skype", L"wei.zhang"});
  jorv::ApplyContactForm(form, c);

  ASSERT_EQ(c.m_phones.size(), 6u);
  EXPECT_EQ(c.m_phones[0].m_data, L"13900139000");
  EXPECT_EQ(c.m_phones[0].m_type, Contact::CPhoneData::kMobile);
  EXPECT_TRUE(c.m_phones[0].m_primary);
  EXPECT_EQ(c.m_phones[1].m_type, 3);
  EXPECT_EQ(c.m_phones[1].m_data, L"010-6552 1234");
  EXPECT_EQ(c.m_phones[2].m_type, 25) << "a label left as shown keeps a code outside the table";
  EXPECT_EQ(c.m_phones[2].m_label, L"Satellite");
  EXPECT_EQ(c.m_phones[3].m_type, 6);
  EXPECT_EQ(c.m_phones[4].m_type, 0);
  EXPECT_EQ(c.m_phones[4].m_label, L"Boat");
  EXPECT_EQ(c.m_phones[5].m_type, Contact::CPhoneData::kMobile);
  EXPECT_FALSE(c.m_phones[5].m_primary);
  ASSERT_EQ(c.m_emails.size(), 1u);
  EXPECT_EQ(c.m_emails[0].m_data, L"wei@example.org");
  EXPECT_EQ(c.m_emails[0].m_type, 4);
  ASSERT_EQ(c.m_ims.size(), 2u);
  EXPECT_EQ(c.m_ims[0].m_protocol, 0) << "an account left alone keeps its protocol";
  EXPECT_EQ(c.m_ims[1].m_type, 4);
  EXPECT_EQ(c.m_ims[1].m_protocol, 4) << "a new account names its protocol by its label";
}

TEST(ContactForm, WhatTheFormDoesNotShowStaysWhenShownFieldsAreEmptied) {
  CContactData c = RichContact();
  for (int i = 0; i < 9; ++i) c.m_phones.emplace_back(1, L"6000" + std::to_wstring(i));  // 12 numbers
  ContactForm form = jorv::FormFromContact(c);
  form.phones.resize(JORV_EDITOR_PHONE_ROWS);  // as many rows as the window has room for
  form.phones[0].value = L"10086";
  form.street = form.city = form.postcode = L"";  // the PO box keeps the address
  form.company = form.jobTitle = L"";             // the department keeps the organisation
  form.nickname = L"";                            // the first nickname goes, the second stays
  form.website = L" ";
  form.notes = L"";
  jorv::ApplyContactForm(form, c);

  ASSERT_EQ(c.m_phones.size(), 12u);
  EXPECT_EQ(c.m_phones[0].m_data, L"10086");
  EXPECT_EQ(c.m_phones[10].m_data, L"60007");
  EXPECT_EQ(c.m_phones[11].m_data, L"60008");
  ASSERT_EQ(c.m_postals.size(), 2u);
  EXPECT_EQ(c.m_postals[0].m_data.m_poBox, L"PO 7");
  EXPECT_TRUE(c.m_postals[0].m_data.m_street.empty());
  EXPECT_EQ(c.m_postals[1].m_data.m_city, L"Shanghai");
  ASSERT_EQ(c.m_organizations.size(), 1u);
  EXPECT_EQ(c.m_organizations[0].m_data.m_department, L"R&D");
  EXPECT_EQ(c.m_nicknames.size(), 1u);
  EXPECT_EQ(c.m_nicknames[0].m_data, L"Wei Wei");
  EXPECT_TRUE(c.m_websites.empty());
  EXPECT_EQ(c.m_notes, std::vector<std::wstring>{L"second note"});

  // Without hidden texts the emptied address and organisation go; a new one
  // is added where there was none.
  CContactData plain;
  plain.m_postals.emplace_back(2, Contact::CPostalBaseData{L"Road 1", L"", L"", L"Xi'an", L"", L"", L""});
  plain.m_organizations.emplace_back(1, Contact::COrganizationBaseData{L"ACME", L"", L"", L"", L"", L"", L""});
  ContactForm emptied = jorv::FormFromContact(plain);
  emptied.givenName = L"Li";
  emptied.street = emptied.city = emptied.company = L"";
  jorv::ApplyContactForm(emptied, plain);
  EXPECT_TRUE(plain.m_postals.empty());
  EXPECT_TRUE(plain.m_organizations.empty());
  ContactForm added = jorv::FormFromContact(plain);
  added.city = L"Chengdu";
  added.postalLabel = L"Work";
  added.jobTitle = L"Chef";
  jorv::ApplyContactForm(added, plain);
  ASSERT_EQ(plain.m_postals.size(), 1u);
  EXPECT_EQ(plain.m_postals[0].m_type, 2);
  EXPECT_EQ(plain.m_postals[0].m_data.m_city, L"Chengdu");
  ASSERT_EQ(plain.m_organizations.size(), 1u);
  EXPECT_EQ(plain.m_organizations[0].m_data.m_title, L"Chef");
}

TEST(ContactForm, TheNameIsComposedAgainOnlyWhenItsPartsChange) {
  CContactData fresh;
  ContactForm form = jorv::FormFromContact(fresh);
  form.familyName = L"王";
  form.givenName = L"芳";
  jorv::ApplyContactForm(form, fresh);
  EXPECT_EQ(fresh.m_name[Contact::kFullName], L"王芳");
  EXPECT_EQ(fresh.m_name[Contact::kDisplayName], L"王芳");

  // Only a number changed: the names stay as the handset wrote them.
  CContactData english = RichContact();
  form = jorv::FormFromContact(english);
  form.phones[0].value = L"10010";
  jorv::ApplyContactForm(form, english);
  EXPECT_EQ(english.m_name[Contact::kFullName], L"Zhang Wei");
  EXPECT_EQ(english.m_name[Contact::kDisplayName], L"Zhang Wei");

  // A changed part: the full name is composed again and a display name that
  // repeated it follows; a display name of its own stays.
  form = jorv::FormFromContact(english);
  form.familyName = L"Li";
  jorv::ApplyContactForm(form, english);
  EXPECT_EQ(english.m_name[Contact::kFullName], L"LiWei");
  EXPECT_EQ(english.m_name[Contact::kDisplayName], L"LiWei");
  CContactData boss = RichContact();
  boss.m_name[Contact::kDisplayName] = L"Boss";
  form = jorv::FormFromContact(boss);
  form.givenName = L"Lei";
  jorv::ApplyContactForm(form, boss);
  EXPECT_EQ(boss.m_name[Contact::kFullName], L"ZhangLei");
  EXPECT_EQ(boss.m_name[Contact::kDisplayName], L"Boss");

  // No name at all: the contact is named by its number.
  CContactData numberOnly;
  form = jorv::FormFromContact(numberOnly);
  form.phones.push_back({L"Mobile", L"13700137000"});
  jorv::ApplyContactForm(form, numberOnly);
  EXPECT_EQ(numberOnly.m_name[Contact::kGivenName], L"13700137000");
  EXPECT_EQ(numberOnly.m_name[Contact::kDisplayName], L"13700137000");
}

TEST(ContactFormCheck, ANameANumberOrAnAddressIsNeeded) {
  ContactForm form;
  EXPECT_EQ(jorv::CheckContactForm(form).verdict, FormVerdict::kEmpty);
  form.givenName = L" \t";
  form.phones = {{L"Mobile", L"  "}};
  form.emails = {{L"Home", L""}};
  form.company = L"ACME";  // not a name
  EXPECT_EQ(jorv::CheckContactForm(form).verdict, FormVerdict::kEmpty) << "blanks are empty";

  ContactForm named;
  named.nameSuffix = L"Jr.";
  EXPECT_EQ(jorv::CheckContactForm(named).verdict, FormVerdict::kAccepted);
  ContactForm numbered;
  numbered.phones = {{L"", L""}, {L"Home", L"10086"}};
  EXPECT_EQ(jorv::CheckContactForm(numbered).verdict, FormVerdict::kAccepted);
  ContactForm addressed;
  addressed.emails = {{L"Home", L"a@b.c"}};
  EXPECT_EQ(jorv::CheckContactForm(addressed).verdict, FormVerdict::kAccepted);
  // A contact named only by its display name keeps that name.
  CContactData simOnly;
  simOnly.m_name[Contact::kDisplayName] = L"Boss";
  EXPECT_EQ(jorv::CheckContactForm(jorv::FormFromContact(simOnly)).verdict, FormVerdict::kAccepted);
  // Its parts erased, a contact whose display name only repeated them has none.
  CContactData parts = RichContact();
  ContactForm erased = jorv::FormFromContact(parts);
  erased.familyName = erased.givenName = erased.namePrefix = L"";
  erased.phones.clear();
  erased.emails.clear();
  EXPECT_EQ(jorv::CheckContactForm(erased).verdict, FormVerdict::kEmpty);
}

TEST(ContactFormCheck, ANumberMustBeDialable) {
  for (const wchar_t* good : {L"13800138000", L"+86 (10) 6552-1234", L"*21#", L"10086p123w4", L"10086P1W2", L"0"})
    EXPECT_TRUE(jorv::IsDialable(good)) << wf::ToUtf8(good);
  for (const wchar_t* bad : {L"1380013800x", L"abc", L"+-()", L"", L"10.086", L"１２３", L"10086/2"})
    EXPECT_FALSE(jorv::IsDialable(bad)) << wf::ToUtf8(bad);

  ContactForm form;
  form.givenName = L"Wei";
  form.phones = {{L"Mobile", L"13800138000"}, {L"Home", L""}, {L"Work", L" 12a34 "}, {L"Work", L"x"}};
  jorv::FormCheck check = jorv::CheckContactForm(form);
  EXPECT_EQ(check.verdict, FormVerdict::kBadNumber);
  EXPECT_EQ(check.row, 2u) << "the first refused row";
  EXPECT_EQ(check.number, L"12a34");
}

TEST(ContactForm, NotesKeepTheirOwnLineEnds) {
  EXPECT_EQ(jorv::NotesForEdit(L"a\nb\r\nc"), L"a\r\nb\r\nc");
  EXPECT_EQ(jorv::NotesFromEdit(L"a\r\nb\r\nc", L"a\nb\r\nc"), L"a\nb\r\nc") << "left alone";
  EXPECT_EQ(jorv::NotesFromEdit(L"a\r\nb\r\nd", L"a\nb\r\nc"), L"a\nb\nd") << "edited";
}

// --- the window --------------------------------------------------------------

std::wstring ItemText(HWND dialog, int id) {
  return wf::CWindow(::GetDlgItem(dialog, id)).GetWindowText();
}

void SetItem(HWND dialog, int id, const std::wstring& text) { ::SetDlgItemTextW(dialog, id, text.c_str()); }

// Clicks a button and lets the dialog handle it before going on.
void Press(HWND dialog, int id) {
  ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// Picks a label from a label box's list; false when it is not listed.
bool ChooseLabel(HWND dialog, int id, const std::wstring& label) {
  HWND box = ::GetDlgItem(dialog, id);
  auto index =
      ::SendMessageW(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(label.c_str()));
  if (index == CB_ERR) return false;
  ::SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  return true;
}

int ShownRows(HWND dialog, int firstValue, int room) {
  int shown = 0;
  for (int i = 0; i < room; ++i) shown += ::IsWindowVisible(::GetDlgItem(dialog, firstValue + i)) ? 1 : 0;
  return shown;
}

class ContactEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    JorvAutomation::Reset();
    JorvAutomation::SetUnattended(false);
    m_newTitle = Text(L"jorvhelper.newcontact.new");
    m_editTitle = Text(L"jorvhelper.newcontact.edit");
    ASSERT_FALSE(m_newTitle.empty());
    ASSERT_NE(m_newTitle, m_editTitle);
  }
  void TearDown() override {
    JorvAutomation::SetUnattended(false);
    JorvAutomation::Reset();
  }
  std::wstring m_newTitle;
  std::wstring m_editTitle;
};

TEST_F(ContactEditorTest, ANewContactIsMadeFromWhatWasTyped) {
  CContactData contact;
  struct Seen {
    int phoneRows = 0, emailRows = 0, imRows = 0;
    std::wstring firstLabel, saveText, cancelText, familyText;
    bool rounded = false;
    bool addEnabled = false;
  } seen;
  AnswerWhenShown user(m_newTitle, [&](HWND dialog) {
    seen.phoneRows = ShownRows(dialog, IDC_JORV_EDITOR_PHONE_VALUE, JORV_EDITOR_PHONE_ROWS);
    seen.emailRows = ShownRows(dialog, IDC_JORV_EDITOR_EMAIL_VALUE, JORV_EDITOR_EMAIL_ROWS);
    seen.imRows = ShownRows(dialog, IDC_JORV_EDITOR_IM_VALUE, JORV_EDITOR_IM_ROWS);
    seen.firstLabel = ItemText(dialog, IDC_JORV_EDITOR_PHONE_LABEL);
    seen.saveText = ItemText(dialog, IDOK);
    seen.cancelText = ItemText(dialog, IDCANCEL);
    seen.familyText = ItemText(dialog, IDC_JORV_EDITOR_FAMILY_TEXT);
    seen.addEnabled = ::IsWindowEnabled(::GetDlgItem(dialog, IDC_JORV_EDITOR_ADD_PHONE)) != FALSE;
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    seen.rounded = ::GetWindowRgn(dialog, region) == COMPLEXREGION;
    ::DeleteObject(region);

    SetItem(dialog, IDC_JORV_EDITOR_FAMILY, L"王");
    SetItem(dialog, IDC_JORV_EDITOR_GIVEN, L" 芳 ");
    SetItem(dialog, IDC_JORV_EDITOR_PHONE_VALUE, L"138 0013 8000");
    ChooseLabel(dialog, IDC_JORV_EDITOR_PHONE_LABEL + 2, L"Home");
    SetItem(dialog, IDC_JORV_EDITOR_PHONE_VALUE + 2, L"010-8765 4321");
    SetItem(dialog, IDC_JORV_EDITOR_EMAIL_LABEL + 1, L"Club");  // a label of the user's own
    SetItem(dialog, IDC_JORV_EDITOR_EMAIL_VALUE + 1, L"fang@example.com");
    ChooseLabel(dialog, IDC_JORV_EDITOR_IM_LABEL, L"Skype");
    SetItem(dialog, IDC_JORV_EDITOR_IM_VALUE, L"wang.fang");
    ChooseLabel(dialog, IDC_JORV_EDITOR_POSTAL_LABEL, L"Work");
    SetItem(dialog, IDC_JORV_EDITOR_CITY, L"Hangzhou");
    SetItem(dialog, IDC_JORV_EDITOR_COMPANY, L"Tea House");
    SetItem(dialog, IDC_JORV_EDITOR_JOBTITLE, L"Owner");
    SetItem(dialog, IDC_JORV_EDITOR_NICKNAME, L"Xiao Fang");
    SetItem(dialog, IDC_JORV_EDITOR_WEBSITE, L"tea.example.com");
    SetItem(dialog, IDC_JORV_EDITOR_NOTES, L"green tea\r\nno sugar");
    Press(dialog, IDOK);
  });
  EXPECT_EQ(JorvNewContactView(&contact, 0), 1);
  ASSERT_TRUE(user.acted());

  EXPECT_EQ(seen.phoneRows, 3);
  EXPECT_EQ(seen.emailRows, 3);
  EXPECT_EQ(seen.imRows, 2);
  EXPECT_EQ(seen.firstLabel, L"Mobile");
  EXPECT_EQ(seen.saveText, Text(L"common.save"));
  EXPECT_EQ(seen.cancelText, Text(L"common.button.cancel"));
  EXPECT_EQ(seen.familyText, Text(L"jorvhelper.newcontact.familyname"));
  EXPECT_TRUE(seen.addEnabled);
  EXPECT_TRUE(seen.rounded);

  CContactData made;
  made.m_name[Contact::kFamilyName] = L"王";
  made.m_name[Contact::kGivenName] = L"芳";  // trimmed
  made.m_name[Contact::kFullName] = made.m_name[Contact::kDisplayName] = L"王芳";
  made.m_phones.emplace_back(Contact::CPhoneData::kMobile, L"138 0013 8000");  // the empty middle row dropped
  made.m_phones.emplace_back(1, L"010-8765 4321");
  made.m_emails.emplace_back(0, L"fang@example.com", L"Club");
  Contact::CIMData skype(4, L"wang.fang");
  skype.m_protocol = 4;
  made.m_ims.push_back(skype);
  made.m_postals.emplace_back(2, Contact::CPostalBaseData{L"", L"", L"", L"Hangzhou", L"", L"", L""});
  made.m_organizations.emplace_back(1, Contact::COrganizationBaseData{L"Tea House", L"Owner", L"", L"", L"", L"", L""});
  made.m_nicknames.emplace_back(0, L"Xiao Fang");
  made.m_websites.emplace_back(0, L"tea.example.com");
  made.m_notes = {L"green tea\nno sugar"};
  EXPECT_TRUE(contact == made);
  EXPECT_EQ(contact.m_phones.size(), 2u);

  auto journal = JorvAutomation::TakeJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].function, L"JorvNewContactView");
  EXPECT_EQ(journal[0].kind, 0);
}

TEST_F(ContactEditorTest, EditingShowsEveryFieldAndSavesOnlyWhatChanged) {
  CContactData contact = RichContact();
  // What each control of the window shows, read as assistive technology reads it.
  const std::vector<std::pair<int, std::wstring>> expected = {
      {IDC_JORV_EDITOR_TITLE, m_editTitle},
      {IDC_JORV_EDITOR_SHOWNNAME, L"Zhang Wei"},
      {IDC_JORV_EDITOR_FAMILY, L"Zhang"},
      {IDC_JORV_EDITOR_PREFIX, L"Dr."},
      {IDC_JORV_EDITOR_NICKNAME, L"Xiao Wei"},
      {IDC_JORV_EDITOR_COMPANY, L"ACME "},
      {IDC_JORV_EDITOR_WEBSITE, L"https://example.com/wei"},
      {IDC_JORV_EDITOR_POSTAL_LABEL, L"Home"},
      {IDC_JORV_EDITOR_STREET, L"12 Garden Road"},
      {IDC_JORV_EDITOR_CITY, L"Beijing"},
      {IDC_JORV_EDITOR_GROUPS, L"Family, Work"},
      {IDC_JORV_EDITOR_NOTES, L"met at the fair\r\nlikes tea"},
      {IDC_JORV_EDITOR_PHONE_LABEL, L"Mobile"},
      {IDC_JORV_EDITOR_PHONE_VALUE, L"13800138000"},
      {IDC_JORV_EDITOR_PHONE_LABEL + 1, L"Studio"},
      {IDC_JORV_EDITOR_PHONE_VALUE + 1, L"010-6552 1234"},
      {IDC_JORV_EDITOR_PHONE_LABEL + 2, L"Satellite"},
      {IDC_JORV_EDITOR_PHONE_VALUE + 2, L"+86 10 8888"},
      {IDC_JORV_EDITOR_EMAIL_LABEL, L"Work"},
      {IDC_JORV_EDITOR_EMAIL_VALUE, L"zhang.wei@example.com"},
      {IDC_JORV_EDITOR_IM_LABEL, L"QQ"},
      {IDC_JORV_EDITOR_IM_VALUE, L"12345678"},
  };
  std::vector<std::wstring> seen;
  int phoneRows = 0;
  bool groupsReadOnly = false;
  AnswerWhenShown user(m_editTitle, [&](HWND dialog) {
    for (const auto& [id, text] : expected) seen.push_back(ItemText(dialog, id));
    phoneRows = ShownRows(dialog, IDC_JORV_EDITOR_PHONE_VALUE, JORV_EDITOR_PHONE_ROWS);
    groupsReadOnly = (::GetWindowLongPtrW(::GetDlgItem(dialog, IDC_JORV_EDITOR_GROUPS), GWL_STYLE) & ES_READONLY) != 0;
    SetItem(dialog, IDC_JORV_EDITOR_PHONE_VALUE + 1, L"010-6552 9999");
    Press(dialog, IDOK);
  });
  EXPECT_EQ(JorvNewContactView(&contact, 1), 1);
  ASSERT_TRUE(user.acted());
  ASSERT_EQ(seen.size(), expected.size());
  for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], expected[i].second) << "control " << expected[i].first;
  EXPECT_EQ(phoneRows, 3);
  EXPECT_TRUE(groupsReadOnly);

  CContactData saved = RichContact();
  saved.m_phones[1].m_data = L"010-6552 9999";
  EXPECT_TRUE(contact == saved) << "only the changed number differs";
  auto journal = JorvAutomation::TakeJournal();
  ASSERT_FALSE(journal.empty());
  EXPECT_EQ(journal[0].kind, 1);
}

TEST_F(ContactEditorTest, CancelEscapeAndTheCloseBoxLeaveTheRecordAsItWas) {
  const CContactData original = RichContact();
  enum class Way { kCancel, kCloseBox, kEscape, kClose };
  for (Way way : {Way::kCancel, Way::kCloseBox, Way::kEscape, Way::kClose}) {
    CContactData contact = original;
    AnswerWhenShown user(m_editTitle, [&](HWND dialog) {
      SetItem(dialog, IDC_JORV_EDITOR_FAMILY, L"Changed");
      SetItem(dialog, IDC_JORV_EDITOR_PHONE_VALUE, L"");
      SetItem(dialog, IDC_JORV_EDITOR_NOTES, L"gone");
      HWND family = ::GetDlgItem(dialog, IDC_JORV_EDITOR_FAMILY);
      switch (way) {
        case Way::kCancel: testing_support::PressButton(dialog, IDCANCEL); break;
        case Way::kCloseBox: testing_support::PressButton(dialog, IDC_JORV_EDITOR_CLOSE); break;
        // Keys come through the dialog's own loop, as typed into a field.
        case Way::kEscape: ::PostMessageW(family, WM_KEYDOWN, VK_ESCAPE, 0x00010001); break;
        case Way::kClose: ::PostMessageW(dialog, WM_CLOSE, 0, 0); break;
      }
    });
    EXPECT_EQ(JorvNewContactView(&contact, 1), 0) << static_cast<int>(way);
    EXPECT_TRUE(user.acted());
    EXPECT_TRUE(contact == original) << static_cast<int>(way);
  }
}

TEST_F(ContactEditorTest, SaveRefusesAnEmptyContactAndABadNumberAndKeepsWhatWasTyped) {
  std::vector<HWND> tipOwners;
  for (int i = 0; i < 2; ++i) {
    JorvAutomation::Queue(L"JorvMessageBox", [&tipOwners](JorvCall& call) {
      tipOwners.push_back(call.owner);
      return 1;
    });
  }
  CContactData contact;
  HWND editor = nullptr;
  bool openAfterRefusals = false;
  std::wstring numberAfterRefusal;
  AnswerWhenShown user(m_newTitle, [&](HWND dialog) {
    editor = dialog;
    SetItem(dialog, IDC_JORV_EDITOR_COMPANY, L"ACME");  // no name, number or address yet
    Press(dialog, IDOK);
    SetItem(dialog, IDC_JORV_EDITOR_PHONE_VALUE + 1, L"139-0013-900x");
    Press(dialog, IDOK);
    openAfterRefusals = ::IsWindowVisible(dialog) != FALSE;
    numberAfterRefusal = ItemText(dialog, IDC_JORV_EDITOR_PHONE_VALUE + 1);
    SetItem(dialog, IDC_JORV_EDITOR_PHONE_VALUE + 1, L"139-0013-9000");
    Press(dialog, IDOK);
  });
  EXPECT_EQ(JorvNewContactView(&contact, 0), 1);
  ASSERT_TRUE(user.acted());
  EXPECT_TRUE(openAfterRefusals);
  EXPECT_EQ(numberAfterRefusal, L"139-0013-900x") << "nothing typed is lost";
  ASSERT_EQ(contact.m_phones.size(), 1u);
  EXPECT_EQ(contact.m_phones[0].m_data, L"139-0013-9000");
  EXPECT_EQ(contact.m_organizations[0].m_data.m_company, L"ACME");

  auto journal = JorvAutomation::TakeJournal();
  ASSERT_EQ(journal.size(), 3u);
  EXPECT_EQ(journal[1].function, L"JorvMessageBox");
  EXPECT_EQ(journal[1].text, Text(L"jorvhelper.newcontact.empty"));
  EXPECT_EQ(journal[1].caption, Text(L"common.messagebox.tamixtip"));
  EXPECT_EQ(journal[1].kind, JORV_MB_NOTICE);
  EXPECT_EQ(journal[2].text, wf::FormatText(Text(L"jorvhelper.newcontact.badnumber").c_str(), L"139-0013-900x"));
  EXPECT_EQ(tipOwners, (std::vector<HWND>{editor, editor})) << "the tips are modal over the editor";
}

TEST_F(ContactEditorTest, TypingStopsAtTheLimitsAndLongTextsOfTheRecordStayWhole) {
  CContactData contact;
  contact.m_name[Contact::kGivenName] = std::wstring(100, L'g');  // longer than a name field takes
  contact.m_name[Contact::kFullName] = contact.m_name[Contact::kGivenName];
  LRESULT familyLimit = 0, numberLimit = 0, givenLimit = 0;
  AnswerWhenShown user(m_editTitle, [&](HWND dialog) {
    familyLimit = ::SendDlgItemMessageW(dialog, IDC_JORV_EDITOR_FAMILY, EM_GETLIMITTEXT, 0, 0);
    givenLimit = ::SendDlgItemMessageW(dialog, IDC_JORV_EDITOR_GIVEN, EM_GETLIMITTEXT, 0, 0);
    numberLimit = ::SendDlgItemMessageW(dialog, IDC_JORV_EDITOR_PHONE_VALUE, EM_GETLIMITTEXT, 0, 0);
    // Pasted or set from outside, past the limits.
    SetItem(dialog, IDC_JORV_EDITOR_FAMILY, std::wstring(100, L'f'));
    SetItem(dialog, IDC_JORV_EDITOR_PHONE_VALUE, std::wstring(60, L'1'));
    SetItem(dialog, IDC_JORV_EDITOR_PHONE_LABEL, std::wstring(50, L'L'));
    Press(dialog, IDOK);
  });
  EXPECT_EQ(JorvNewContactView(&contact, 1), 1);
  EXPECT_EQ(familyLimit, jorv::limits::kName);
  EXPECT_EQ(givenLimit, 100) << "room for the record's own text";
  EXPECT_EQ(numberLimit, jorv::limits::kNumber);
  EXPECT_EQ(contact.m_name[Contact::kFamilyName], std::wstring(jorv::limits::kName, L'f'));
  EXPECT_EQ(contact.m_name[Contact::kGivenName], std::wstring(100, L'g'));
  ASSERT_EQ(contact.m_phones.size(), 1u);
  EXPECT_EQ(contact.m_phones[0].m_data, std::wstring(jorv::limits::kNumber, L'1'));
  EXPECT_EQ(contact.m_phones[0].m_label, std::wstring(jorv::limits::kLabel, L'L'));
}

TEST_F(ContactEditorTest, AddShowsMoreRowsUntilTheListIsFull) {
  CContactData contact = RichContact();
  for (int i = 0; i < 9; ++i) contact.m_phones.emplace_back(1, L"6000" + std::to_wstring(i));  // 12 numbers
  struct Seen {
    int phoneRows = 0, emailRows = 0, emailRowsAfter = 0;
    bool phoneAdd = true, emailAddAfter = true, newRowFocused = false;
    std::wstring newLabel;
  } seen;
  AnswerWhenShown user(m_editTitle, [&](HWND dialog) {
    seen.phoneRows = ShownRows(dialog, IDC_JORV_EDITOR_PHONE_VALUE, JORV_EDITOR_PHONE_ROWS);
    seen.phoneAdd = ::IsWindowEnabled(::GetDlgItem(dialog, IDC_JORV_EDITOR_ADD_PHONE)) != FALSE;
    seen.emailRows = ShownRows(dialog, IDC_JORV_EDITOR_EMAIL_VALUE, JORV_EDITOR_EMAIL_ROWS);
    for (int i = 0; i < JORV_EDITOR_EMAIL_ROWS; ++i) Press(dialog, IDC_JORV_EDITOR_ADD_EMAIL);
    seen.emailRowsAfter = ShownRows(dialog, IDC_JORV_EDITOR_EMAIL_VALUE, JORV_EDITOR_EMAIL_ROWS);
    seen.emailAddAfter = ::IsWindowEnabled(::GetDlgItem(dialog, IDC_JORV_EDITOR_ADD_EMAIL)) != FALSE;
    const int last = IDC_JORV_EDITOR_EMAIL_VALUE + JORV_EDITOR_EMAIL_ROWS - 1;
    // Only asked of a dialog that has the keyboard: other programs may hold the foreground.
    seen.newRowFocused = ::GetForegroundWindow() != dialog || ::GetFocus() == ::GetDlgItem(dialog, last);
    seen.newLabel = ItemText(dialog, IDC_JORV_EDITOR_EMAIL_LABEL + JORV_EDITOR_EMAIL_ROWS - 1);
    SetItem(dialog, last, L"fifth@example.com");
    SetItem(dialog, IDC_JORV_EDITOR_PHONE_VALUE + JORV_EDITOR_PHONE_ROWS - 1, L"");  // the tenth number goes
    Press(dialog, IDOK);
  });
  EXPECT_EQ(JorvNewContactView(&contact, 1), 1);
  EXPECT_EQ(seen.phoneRows, JORV_EDITOR_PHONE_ROWS);
  EXPECT_FALSE(seen.phoneAdd) << "no room for more rows";
  EXPECT_EQ(seen.emailRows, 3);
  EXPECT_EQ(seen.emailRowsAfter, JORV_EDITOR_EMAIL_ROWS);
  EXPECT_FALSE(seen.emailAddAfter);
  EXPECT_TRUE(seen.newRowFocused);
  EXPECT_EQ(seen.newLabel, L"Home");
  ASSERT_EQ(contact.m_emails.size(), 2u);
  EXPECT_EQ(contact.m_emails[1].m_data, L"fifth@example.com");
  ASSERT_EQ(contact.m_phones.size(), 11u) << "the numbers without a row stay";
  EXPECT_EQ(contact.m_phones[8].m_data, L"60005");
  EXPECT_EQ(contact.m_phones[9].m_data, L"60007");
  EXPECT_EQ(contact.m_phones[10].m_data, L"60008");
}

TEST_F(ContactEditorTest, OpensModalOverTheActiveWindowOfTheThread) {
  HWND owner = testing_support::CreateTestParent();
  ::ShowWindow(owner, SW_SHOW);
  ::SetActiveWindow(owner);
  ASSERT_EQ(::GetActiveWindow(), owner);
  HWND seenOwner = nullptr;
  bool ownerEnabled = true;
  CContactData contact;
  AnswerWhenShown user(m_newTitle, [&](HWND dialog) {
    seenOwner = ::GetWindow(dialog, GW_OWNER);
    ownerEnabled = ::IsWindowEnabled(owner) != FALSE;
    testing_support::PressButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(JorvNewContactView(&contact, 0), 0);
  EXPECT_EQ(seenOwner, owner);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(::IsWindowEnabled(owner)) << "the owner is given back";
  ::DestroyWindow(owner);
}

}  // namespace
