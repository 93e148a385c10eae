// The contact picker of the shared-dialog library: the handset's contacts
// read through the simulated data-provider library, driven as a user drives
// the real dialog (check boxes, the header box, the search field, OK and
// Cancel), and the rows and answers of its model on their own.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "contact/ContactData.h"
#include "content/ContentUri.h"
#include "content/DataProvider.h"
#include "dialogs/ContactChoice.h"
#include "dialogs/JorvHelperIds.h"
#include "frame/suite/ResourceLibrary.h"
#include "frame/suite/SharedDialogs.h"
#include "framework/Text.h"
#include "provider/ProviderAutomation.h"
#include "standins/connect/ConnectControl.h"
#include "standins/dialogs/JorvAutomation.h"

namespace {

using jorv::CContactChoice;
using jorv::EntryText;
using jorv::MakeEntry;
using jorv::PickableContact;
using testing_support::AnswerWhenShown;
using testing_support::PressButton;
using testing_support::PumpMessages;
using testing_support::PumpUntil;

std::wstring Text(const wchar_t* key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

// What a list of entries says, in order: "text#value".
std::vector<std::wstring> Said(const std::list<JorvContactEntry>& entries) {
  std::vector<std::wstring> said;
  for (const JorvContactEntry& entry : entries) said.push_back(EntryText(entry) + L"#" + std::to_wstring(entry.value));
  return said;
}

// --- the model -------------------------------------------------------------------------------

PickableContact Row(uint32_t id, const wchar_t* name, const wchar_t* numbers = L"") {
  PickableContact row;
  row.id = id;
  row.name = name;
  row.numbers = numbers;
  row.search = wf::ToLower(row.name + L"\n" + row.numbers);
  return row;
}

std::vector<std::wstring> Names(const CContactChoice& choice) {
  std::vector<std::wstring> names;
  for (int row = 0; row < choice.GetRowCount(); ++row) names.push_back(choice.At(row).name);
  return names;
}

TEST(ContactChoice, EntriesHandedInTickTheirContactsAndTheRestKeepRowsOfTheirOwn) {
  // Handed in: a contact by id (under an old name), one whose contact is gone.
  CContactChoice choice({MakeEntry(L"Bob (old name)", 12), MakeEntry(L"Gone", 99)});
  EXPECT_EQ(Names(choice), (std::vector<std::wstring>{L"Bob (old name)", L"Gone"})) << "listed while reading";
  // The user unticks the gone one before the contacts arrive.
  choice.SetTicked(1, false);

  choice.SetContacts({Row(11, L"Ann"), Row(12, L"Bob"), Row(13, L"Cy")});
  EXPECT_EQ(Names(choice), (std::vector<std::wstring>{L"Gone", L"Ann", L"Bob", L"Cy"}));
  EXPECT_FALSE(choice.IsTicked(0)) << "the tick changed while reading carries over";
  EXPECT_TRUE(choice.IsTicked(2));
  EXPECT_EQ(choice.TickedCount(), 1u);

  // New ticks come after the entries handed in, which keep their order and
  // take the contact's current name.
  choice.SetTicked(3, true);
  choice.SetTicked(1, true);
  EXPECT_EQ(Said(choice.Chosen()), (std::vector<std::wstring>{L"Bob#12", L"Ann#11", L"Cy#13"}));
}

TEST(ContactChoice, SearchShowsMatchingRowsAndKeepsTheTicksItHides) {
  CContactChoice choice;
  choice.SetContacts({Row(1, L"Ann Lee", L"138 0013"), Row(2, L"Bob", L"555"), Row(3, L"Carol Ann")});
  choice.SetFilter(L"  ANN ");
  EXPECT_EQ(Names(choice), (std::vector<std::wstring>{L"Ann Lee", L"Carol Ann"}));
  choice.TickAllShown(true);
  EXPECT_TRUE(choice.AllShownTicked());
  choice.SetFilter(L"555");
  EXPECT_EQ(Names(choice), (std::vector<std::wstring>{L"Bob"}));
  EXPECT_FALSE(choice.AllShownTicked());
  choice.SetFilter(L"nobody");
  EXPECT_EQ(choice.GetRowCount(), 0);
  EXPECT_FALSE(choice.AllShownTicked()) << "nothing shown is not all ticked";
  choice.SetFilter(L"");
  EXPECT_EQ(Said(choice.Chosen()), (std::vector<std::wstring>{L"Ann Lee#1", L"Carol Ann#3"}));
}

TEST(ContactChoice, EntryTextsAreCutToTheirRoomAndAlwaysEnd) {
  const std::wstring longName(600, L'\u674e');
  JorvContactEntry entry = MakeEntry(longName, 7);
  EXPECT_EQ(wcslen(entry.text), 509u);
  EXPECT_EQ(EntryText(entry), longName.substr(0, 509));
  EXPECT_EQ(entry.value, 7u);
  // An entry filled to the brim without an end reads its 510 characters only.
  std::fill(std::begin(entry.text), std::end(entry.text), L'x');
  EXPECT_EQ(EntryText(entry), std::wstring(510, L'x'));

  CContactChoice choice;
  choice.SetContacts({Row(5, longName.c_str())});
  choice.SetTicked(0, true);
  ASSERT_EQ(choice.Chosen().size(), 1u);
  EXPECT_EQ(EntryText(choice.Chosen().front()), longName.substr(0, 509));
}

TEST(ContactChoice, ARowIsNamedAndFoundByWhatTheContactHas) {
  Contact::CContactData contact;
  contact.m_id = 21;
  contact.m_name[Contact::kDisplayName] = L"\u5f20\u4e09";
  contact.m_index = L"zhangsan";
  contact.m_phones = {Contact::CPhoneData(2, L"138 0013-8000"), Contact::CPhoneData(1, L"010 555")};
  contact.m_emails = {Contact::CEmailData(1, L"zs@example.com")};
  PickableContact row = jorv::PickableContactOf(contact);
  EXPECT_EQ(row.id, 21u);
  EXPECT_EQ(row.name, L"\u5f20\u4e09");
  EXPECT_EQ(row.numbers, L"138 0013-8000, 010 555");
  for (const wchar_t* found : {L"zhang", L"13800138000", L"0013-8", L"zs@example", L"\u5f20"})
    EXPECT_NE(row.search.find(wf::ToLower(found)), std::wstring::npos) << wf::ToUtf8(found);

  // Without a display name: the full name, else the number.
  contact.m_name[Contact::kDisplayName].clear();
  contact.m_name[Contact::kFullName] = L"Zhang San";
  EXPECT_EQ(jorv::PickableContactOf(contact).name, L"Zhang San");
  contact.m_name[Contact::kFullName].clear();
  EXPECT_EQ(jorv::PickableContactOf(contact).name, L"138 0013-8000");
}

// --- the dialog ------------------------------------------------------------------------------

// Keeps what the library answers to inserts: the contacts with their ids.
struct InsertRecorder : CDataProviderCallback {
  std::mutex mutex;
  std::map<std::wstring, uint32_t> ids;  // by display name
  bool OnInsert(const std::wstring&, uint32_t status, const ContentList& records) override {
    std::lock_guard<std::mutex> lock(mutex);
    for (CContent* record : records)
      if (auto* contact = dynamic_cast<Contact::CContactData*>(record); contact && status == 0)
        ids[contact->m_name[Contact::kDisplayName]] = contact->m_id;
    return true;
  }
};

Contact::CContactData NewContact(const wchar_t* name, std::vector<const wchar_t*> numbers,
                                 const wchar_t* email = nullptr) {
  Contact::CContactData contact;
  contact.m_name[Contact::kDisplayName] = name;
  for (const wchar_t* number : numbers) contact.m_phones.emplace_back(2, number);
  if (email) contact.m_emails.emplace_back(1, email);
  return contact;
}

HWND List(HWND dialog) { return ::GetDlgItem(dialog, IDC_JORV_PICK_LIST); }
std::wstring ControlText(HWND dialog, int id) {
  wchar_t text[256] = {};
  ::GetDlgItemTextW(dialog, id, text, 256);
  return text;
}
int RowCount(HWND dialog) { return static_cast<int>(::SendMessageW(List(dialog), LVM_GETITEMCOUNT, 0, 0)); }

std::wstring Cell(HWND dialog, int row, int column) {
  wchar_t buffer[600] = {};
  LVITEMW request{};
  request.iSubItem = column;
  request.pszText = buffer;
  request.cchTextMax = 600;
  const LRESULT length = ::SendMessageW(List(dialog), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&request));
  return std::wstring(buffer, static_cast<size_t>(std::max<LRESULT>(length, 0)));
}

// The rows as "name|numbers|tick".
std::vector<std::wstring> Rows(HWND dialog) {
  std::vector<std::wstring> rows;
  for (int row = 0; row < RowCount(dialog); ++row)
    rows.push_back(Cell(dialog, row, CContactChoice::kColumnName) + L"|" + Cell(dialog, row, CContactChoice::kColumnNumbers) +
                   L"|" + Cell(dialog, row, CContactChoice::kColumnCheck));
  return rows;
}

int RowOf(HWND dialog, const std::wstring& name) {
  for (int row = 0; row < RowCount(dialog); ++row)
    if (Cell(dialog, row, CContactChoice::kColumnName) == name) return row;
  return -1;
}

POINT Centre(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

void ClickAt(HWND window, POINT pt) {
  ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  ::PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  PumpMessages();
}

// A click on a row's check box, which sits in the middle of the first column.
void ClickCheck(HWND dialog, int row) {
  HWND list = List(dialog);
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  RECT column{}, item{};
  ::SendMessageW(header, HDM_GETITEMRECT, CContactChoice::kColumnCheck, reinterpret_cast<LPARAM>(&column));
  item.left = LVIR_BOUNDS;
  ::SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
  ClickAt(list, POINT{(column.left + column.right) / 2, (item.top + item.bottom) / 2});
}

// A click on the header's box, which ticks or clears every row shown.
void ClickHeaderBox(HWND dialog) {
  HWND header = reinterpret_cast<HWND>(::SendMessageW(List(dialog), LVM_GETHEADER, 0, 0));
  RECT column{};
  ::SendMessageW(header, HDM_GETITEMRECT, CContactChoice::kColumnCheck, reinterpret_cast<LPARAM>(&column));
  ClickAt(header, Centre(column));
}

// Types into the search field as the user's typing ends up there.
void Search(HWND dialog, const wchar_t* text) {
  ::SetDlgItemTextW(dialog, IDC_JORV_PICK_SEARCH, text);
  PumpMessages();
}

void PressKey(HWND dialog, UINT key) {
  ::PostMessageW(List(dialog), WM_KEYDOWN, key, 1);
  ::PostMessageW(List(dialog), WM_KEYUP, key, 0xC0000001);
}

// Posted behind what the user did: should that not end the dialog, this
// cancels it, and the test fails on the answer instead of waiting for ever.
void ThenCancel(HWND dialog) { PressButton(dialog, IDCANCEL); }

class ContactPickerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    JorvAutomation::Reset();
    JorvAutomation::SetUnattended(false);
    SetDeviceConnected(true);
    ProviderAutomation::ClearFaults();
    ProviderAutomation::SetInlineAnswers(false);
    ProviderAutomation::UseHandsetFile(folder.File(L"handset.dat"));
    ProviderAutomation::ResetHandset(ProviderAutomation::Sample{});  // no contacts, no messages, no events
    InsertRecorder recorder;
    IDataProvider* provider = CreateDataProvider(&recorder);
    ASSERT_NE(provider, nullptr);
    struct Book {
      const wchar_t* uri;
      Contact::CContactData contact;
    };
    std::vector<Book> books = {
        {ContentUri::kContact, NewContact(L"Ann Lee", {L"13800138000"})},
        {ContentUri::kContact, NewContact(L"Bob Stone", {L"139 1234 5678", L"010-555"})},
        {ContentUri::kContact, NewContact(L"Carol Ann", {}, L"carol@example.com")},
        {ContentUri::kContact, NewContact(L"Dan Wu", {L"13700001111"})},
        {ContentUri::kContactCdma, NewContact(L"Eve Card", {L"18600000000"})},
    };
    for (Book& book : books) ASSERT_TRUE(provider->Insert(book.uri, &book.contact));
    ProviderAutomation::WaitIdle();
    DestroyDataProvider(provider);
    ids = recorder.ids;
    ASSERT_EQ(ids.size(), books.size());
    owner = testing_support::CreateTestParent();
    ::ShowWindow(owner, SW_SHOW);
    ::SetActiveWindow(owner);
  }
  void TearDown() override {
    ::DestroyWindow(owner);
    ProviderAutomation::UseHandsetFile(L"");
    JorvAutomation::SetUnattended(false);
    JorvAutomation::Reset();
  }

  JorvContactEntry Given(const wchar_t* name) { return MakeEntry(name, ids.at(name)); }
  std::wstring Entry(const wchar_t* name) { return std::wstring(name) + L"#" + std::to_wstring(ids.at(name)); }

  // Waits inside the dialog until the handset's five contacts are listed
  // (and `extra` rows of entries that match none). Should they not come, the
  // test fails and the dialog is cancelled, so that the call returns.
  static bool Listed(HWND dialog, int extra = 0) {
    if (PumpUntil([&] { return RowCount(dialog) == 5 + extra; })) return true;
    ADD_FAILURE() << "the contacts were not listed; rows: " << RowCount(dialog);
    PressButton(dialog, IDCANCEL);
    return false;
  }

  testing_support::TempFolder folder;
  std::map<std::wstring, uint32_t> ids;
  HWND owner = nullptr;
  const std::wstring title = Text(L"jorvhelper.pickcontact.title");
};

TEST_F(ContactPickerTest, ListsTheHandsetsContactsWithTheEntriesHandedInTickedAndOkAnswersTheTicks) {
  std::list<JorvContactEntry> entries = {Given(L"Bob Stone"), MakeEntry(L"Someone gone", 4242)};
  AnswerWhenShown user(title, [&](HWND dialog) {
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), owner);
    EXPECT_FALSE(::IsWindowEnabled(owner)) << "modal over the window given";
    if (!Listed(dialog, 1)) return;
    EXPECT_EQ(Rows(dialog), (std::vector<std::wstring>{
                                L"Someone gone||1", L"Ann Lee|13800138000|0", L"Bob Stone|139 1234 5678, 010-555|1",
                                L"Carol Ann||0", L"Dan Wu|13700001111|0", L"Eve Card|18600000000|0"}))
        << "the phone's contacts, then the card's";
    EXPECT_EQ(ControlText(dialog, IDC_JORV_PICK_STATUS),
              wf::FormatText(Text(L"jorvhelper.pickcontact.count").c_str(), 2));

    ClickCheck(dialog, RowOf(dialog, L"Dan Wu"));
    ClickCheck(dialog, RowOf(dialog, L"Someone gone"));
    ClickCheck(dialog, RowOf(dialog, L"Ann Lee"));
    ClickCheck(dialog, RowOf(dialog, L"Ann Lee"));  // and back
    EXPECT_EQ(Cell(dialog, RowOf(dialog, L"Dan Wu"), 0), L"1");
    EXPECT_EQ(Cell(dialog, RowOf(dialog, L"Someone gone"), 0), L"0");
    EXPECT_EQ(Cell(dialog, RowOf(dialog, L"Ann Lee"), 0), L"0");
    EXPECT_EQ(ControlText(dialog, IDC_JORV_PICK_STATUS),
              wf::FormatText(Text(L"jorvhelper.pickcontact.count").c_str(), 2));
    PressButton(dialog, IDOK);
    ThenCancel(dialog);
  });
  EXPECT_EQ(JorvSelectContact(entries, owner), 1);
  EXPECT_TRUE(user.acted());
  EXPECT_EQ(Said(entries), (std::vector<std::wstring>{Entry(L"Bob Stone"), Entry(L"Dan Wu")}));
  EXPECT_TRUE(::IsWindowEnabled(owner)) << "the owner is given back";
  auto journal = JorvAutomation::TakeJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].function, L"JorvSelectContact");
  EXPECT_EQ(journal[0].owner, owner);
}

TEST_F(ContactPickerTest, SearchNarrowsTheListByNameOrNumberAndTheTicksOutlastIt) {
  std::list<JorvContactEntry> entries = {Given(L"Eve Card")};
  AnswerWhenShown user(title, [&](HWND dialog) {
    if (!Listed(dialog)) return;
    Search(dialog, L"ann");
    EXPECT_EQ(Rows(dialog), (std::vector<std::wstring>{L"Ann Lee|13800138000|0", L"Carol Ann||0"}));
    // The header box ticks what is shown, nothing else.
    ClickHeaderBox(dialog);
    EXPECT_EQ(Rows(dialog), (std::vector<std::wstring>{L"Ann Lee|13800138000|1", L"Carol Ann||1"}));

    Search(dialog, L"13912345678");  // the number without its blanks
    EXPECT_EQ(Rows(dialog), (std::vector<std::wstring>{L"Bob Stone|139 1234 5678, 010-555|0"}));
    Search(dialog, L"CAROL@");
    EXPECT_EQ(Rows(dialog), (std::vector<std::wstring>{L"Carol Ann||1"}));
    Search(dialog, L"nobody here");
    EXPECT_EQ(RowCount(dialog), 0);

    Search(dialog, L"");
    EXPECT_EQ(RowCount(dialog), 5) << "clearing the search shows everyone again";
    EXPECT_EQ(Cell(dialog, RowOf(dialog, L"Eve Card"), 0), L"1") << "the tick handed in, hidden meanwhile";
    EXPECT_EQ(Cell(dialog, RowOf(dialog, L"Dan Wu"), 0), L"0");
    PressButton(dialog, IDOK);
    ThenCancel(dialog);
  });
  EXPECT_EQ(JorvSelectContact(entries, owner), 1);
  EXPECT_TRUE(user.acted());
  EXPECT_EQ(Said(entries), (std::vector<std::wstring>{Entry(L"Eve Card"), Entry(L"Ann Lee"), Entry(L"Carol Ann")}));
}

TEST_F(ContactPickerTest, CancelEscapeTheCloseBoxAndClosingLeaveTheListAsItWas) {
  const std::vector<std::pair<const char*, std::function<void(HWND)>>> ways = {
      {"Cancel", [](HWND dialog) { PressButton(dialog, IDCANCEL); }},
      {"the close box", [](HWND dialog) { PressButton(dialog, IDC_JORV_PICK_CLOSE); }},
      {"Escape", [](HWND dialog) { PressKey(dialog, VK_ESCAPE); }},
      {"closing the window", [](HWND dialog) { ::SendMessageW(dialog, WM_CLOSE, 0, 0); }},  // Alt+F4
  };
  for (const auto& [name, leave] : ways) {
    std::list<JorvContactEntry> entries = {Given(L"Ann Lee"), MakeEntry(L"Someone gone", 4242)};
    const std::vector<std::wstring> before = Said(entries);
    AnswerWhenShown user(title, [&](HWND dialog) {
      if (!Listed(dialog, 1)) return;
      ClickCheck(dialog, RowOf(dialog, L"Ann Lee"));  // changed, then given up
      ClickCheck(dialog, RowOf(dialog, L"Dan Wu"));
      leave(dialog);
    });
    EXPECT_EQ(JorvSelectContact(entries, owner), 0) << name;
    EXPECT_TRUE(user.acted()) << name;
    EXPECT_EQ(Said(entries), before) << name;
  }
}

TEST_F(ContactPickerTest, ScriptedAndUnattendedAnswersShowNoWindow) {
  // Should a picker show after all, it is cancelled so that the test goes on to fail.
  AnswerWhenShown user(title, [](HWND dialog) { PressButton(dialog, IDCANCEL); });
  testing_support::WindowCreationCount created;
  ASSERT_TRUE(created.hooked());

  std::list<JorvContactEntry> entries = {Given(L"Ann Lee")};
  JorvAutomation::Queue(L"JorvSelectContact", [](JorvCall& call) {
    call.entries->push_back(MakeEntry(L"Scripted", 77));
    return 1;
  });
  EXPECT_EQ(JorvSelectContact(entries, owner), 1);
  EXPECT_EQ(Said(entries), (std::vector<std::wstring>{Entry(L"Ann Lee"), L"Scripted#77"}));

  JorvAutomation::SetUnattended(true);
  EXPECT_EQ(JorvSelectContact(entries, owner), 0);
  EXPECT_EQ(Said(entries), (std::vector<std::wstring>{Entry(L"Ann Lee"), L"Scripted#77"})) << "untouched";

  EXPECT_EQ(created.count(), 0);
  auto journal = JorvAutomation::TakeJournal();
  ASSERT_EQ(journal.size(), 2u) << "each call is journaled all the same";
  EXPECT_EQ(journal[0].function, L"JorvSelectContact");
  EXPECT_EQ(journal[1].function, L"JorvSelectContact");
  EXPECT_FALSE(user.acted());
}

}  // namespace
