// The shared contact card: a real floating window whose lines are read back
// through its child controls, and its layout as plain code.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "dialogs/ContactCardLayout.h"
#include "dialogs/JorvHelperIds.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/Gdi.h"
#include "framework/Text.h"
#include "framework/Window.h"
#include "standins/dialogs/JorvAutomation.h"

namespace {

using Contact::CContactData;
using jorv::CardLineKind;

std::wstring Text(const wchar_t* key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

// Two numbers (one with a table label, one with the user's own), an e-mail
// address, a postal address, an organisation and two groups.
std::unique_ptr<CContactData> FullContact() {
  auto contact = std::make_unique<CContactData>();
  contact->m_id = 7;
  contact->m_name[Contact::kDisplayName] = L"Zhang Wei";
  contact->m_phones.emplace_back(Contact::CPhoneData::kMobile, L"13800138000");
  contact->m_phones.emplace_back(0, L"010-6552 1234", L"Studio");
  contact->m_emails.emplace_back(2, L"zhang.wei@example.com");
  Contact::CPostalBaseData home;
  home.m_street = L"12 Garden Road";
  home.m_city = L"Beijing";
  home.m_postcode = L"100000";
  home.m_country = L"China";
  contact->m_postals.emplace_back(1, home);
  Contact::COrganizationBaseData work;
  work.m_company = L"Tamix Ltd.";
  work.m_title = L"Engineer";
  contact->m_organizations.emplace_back(0, work);
  contact->m_groupNames = {L"Friends", L"Colleagues"};
  return contact;
}

// The card's lines as assistive technology reads them: its child controls in
// window order, each of which must carry its line's identifier.
std::vector<std::wstring> ReadLines(HWND card) {
  std::vector<std::wstring> lines;
  int id = IDC_JORV_CARDLINE;
  for (HWND child = ::GetWindow(card, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    EXPECT_EQ(::GetDlgCtrlID(child), id++) << "line " << lines.size() << " is out of order";
    lines.push_back(wf::CWindow(child).GetWindowText());
  }
  return lines;
}

std::wstring WindowText(HWND window) { return wf::CWindow(window).GetWindowText(); }

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// Whether something dark enough to be text was drawn inside each line of the
// card (the separator at the foot of the name line left out).
bool EveryLineIsDrawn(HWND card) {
  RECT client;
  ::GetClientRect(card, &client);
  HDC screen = ::GetDC(nullptr);
  wf::MemoryCanvas canvas(screen, client.right, client.bottom);
  ::ReleaseDC(nullptr, screen);
  if (!canvas.valid()) return false;
  ::SendMessageW(card, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
  ::GdiFlush();
  for (HWND child = ::GetWindow(card, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    RECT line = wf::CWindow(child).GetRectInParent();
    bool inked = false;
    for (int y = line.top + 2; y < line.bottom - 2 && !inked; ++y)
      for (int x = line.left; x < line.right && !inked; ++x) {
        COLORREF pixel = canvas.GetPixelRef(x, y);
        inked = GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 3 * 0xC0;
      }
    if (!inked) {
      ADD_FAILURE() << "nothing drawn for line \"" << wf::ToUtf8(WindowText(child)) << "\"";
      return false;
    }
  }
  return true;
}

class ContactCardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    JorvAutomation::Reset();
    m_owner = testing_support::CreateTestParent();
    ::ShowWindow(m_owner, SW_SHOW);
  }
  void TearDown() override {
    JorvDisContactInfoHide();
    if (::IsWindow(m_owner)) ::DestroyWindow(m_owner);
    JorvAutomation::Reset();
  }
  HWND m_owner = nullptr;
};

TEST_F(ContactCardTest, ShowsItsOwnCopyOfTheContactUntilRefreshedOrHidden) {
  HWND activeBefore = ::GetActiveWindow();
  auto contact = FullContact();
  JorvDisContactInfo(contact.get(), 100, 120, m_owner);
  contact.reset();  // the caller's record may go right after the call

  HWND card = JorvAutomation::ContactCardWindow();
  ASSERT_NE(card, nullptr);
  EXPECT_TRUE(::IsWindowVisible(card));
  EXPECT_EQ(wf::CWindow(card).GetClassName(), L"JorvContactCard");
  EXPECT_EQ(::GetWindow(card, GW_OWNER), m_owner);
  EXPECT_EQ(::GetActiveWindow(), activeBefore) << "the card took the activation";
  EXPECT_NE(::GetForegroundWindow(), card);
  EXPECT_EQ(WindowText(card), L"Zhang Wei");
  std::vector<std::wstring> expected = {
      L"Zhang Wei",
      Text(L"jorvhelper.contactcard.phone"), L"Mobile: 13800138000", L"Studio: 010-6552 1234",
      Text(L"jorvhelper.contactcard.email"), L"Work: zhang.wei@example.com",
      Text(L"jorvhelper.contactcard.address"), L"Home: 12 Garden Road, Beijing, 100000, China",
      Text(L"jorvhelper.contactcard.organization"), L"Tamix Ltd., Engineer",
      Text(L"jorvhelper.contactcard.group"), L"Friends, Colleagues"};
  EXPECT_EQ(ReadLines(card), expected);
  RECT placed = wf::CWindow(card).GetWindowRect();
  EXPECT_EQ(placed.left, 100);
  EXPECT_EQ(placed.top, 120);
  EXPECT_EQ(placed.right - placed.left, 340);
  EXPECT_TRUE(EveryLineIsDrawn(card));

  // A refresh replaces the lines in the same window; a card grown shorter
  // keeps its place.
  CContactData other;
  other.m_name[Contact::kDisplayName] = L"Li Na";
  other.m_emails.emplace_back(1, L"li.na@example.com");
  JorvDisContactRefurInfo(&other);
  EXPECT_EQ(JorvAutomation::ContactCardWindow(), card);
  EXPECT_EQ(WindowText(card), L"Li Na");
  EXPECT_EQ(ReadLines(card),
            (std::vector<std::wstring>{L"Li Na", Text(L"jorvhelper.contactcard.email"), L"Home: li.na@example.com"}));
  RECT refreshed = wf::CWindow(card).GetWindowRect();
  EXPECT_EQ(refreshed.top, 120);
  EXPECT_LT(refreshed.bottom - refreshed.top, placed.bottom - placed.top);

  // Shown again while shown: the same card moves.
  JorvDisContactInfo(FullContact().get(), 200, 150, m_owner);
  EXPECT_EQ(JorvAutomation::ContactCardWindow(), card);
  EXPECT_EQ(wf::CWindow(card).GetWindowRect().left, 200);
  EXPECT_EQ(ReadLines(card), expected);

  JorvDisContactInfoHide();
  EXPECT_EQ(JorvAutomation::ContactCardWindow(), nullptr);
  EXPECT_FALSE(::IsWindow(card));
  JorvDisContactInfoHide();           // nothing shown: nothing to do
  JorvDisContactRefurInfo(&other);    // a refresh does not bring it back
  JorvDisContactInfo(nullptr, 0, 0, m_owner);  // nor does a missing contact
  EXPECT_EQ(JorvAutomation::ContactCardWindow(), nullptr);

  // Every call is journaled as before.
  std::vector<std::wstring> functions;
  for (const JorvCall& call : JorvAutomation::TakeJournal()) functions.push_back(call.function);
  EXPECT_EQ(functions, (std::vector<std::wstring>{L"JorvDisContactInfo", L"JorvDisContactRefurInfo",
                                                  L"JorvDisContactInfo", L"JorvDisContactInfoHide",
                                                  L"JorvDisContactInfoHide", L"JorvDisContactRefurInfo",
                                                  L"JorvDisContactInfo"}));
}

TEST_F(ContactCardTest, StaysWholeOnTheWorkAreaAndCutsWhatDoesNotFit) {
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  CContactData many;
  many.m_name[Contact::kDisplayName] = L"Many Numbers";
  for (int i = 0; i < 60; ++i) many.m_phones.emplace_back(2, L"1390000" + std::to_wstring(1000 + i));

  for (POINT at : {POINT{work.right - 20, work.bottom - 10}, POINT{work.left - 300, work.top - 500}}) {
    JorvDisContactInfo(&many, at.x, at.y, m_owner);
    HWND card = JorvAutomation::ContactCardWindow();
    ASSERT_NE(card, nullptr);
    RECT rc = wf::CWindow(card).GetWindowRect();
    EXPECT_TRUE(Inside(rc, work)) << "card at " << rc.left << "," << rc.top << "-" << rc.right << "," << rc.bottom;
    EXPECT_LE(rc.bottom - rc.top, 400);
    std::vector<std::wstring> lines = ReadLines(card);
    ASSERT_GT(lines.size(), 3u);
    EXPECT_LT(lines.size(), 62u);
    EXPECT_EQ(lines.back(), L"\u2026");
    EXPECT_EQ(lines[lines.size() - 2].substr(0, 8), L"Mobile: ");
  }
}

TEST_F(ContactCardTest, GoesWithItsOwner) {
  // The plug-in's window is a child: the card hangs on the top-level window
  // but goes when the child goes, or hides.
  for (bool destroy : {true, false}) {
    HWND child = ::CreateWindowExW(0, L"Static", L"list", WS_CHILD | WS_VISIBLE, 0, 0, 200, 200, m_owner, nullptr,
                                   nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    JorvDisContactInfo(FullContact().get(), 50, 50, child);
    HWND card = JorvAutomation::ContactCardWindow();
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(::GetWindow(card, GW_OWNER), m_owner);
    if (destroy) ::DestroyWindow(child);
    else ::ShowWindow(child, SW_HIDE);
    EXPECT_FALSE(::IsWindow(card)) << (destroy ? "owner destroyed" : "owner hidden");
    EXPECT_EQ(JorvAutomation::ContactCardWindow(), nullptr);
    CContactData other;
    JorvDisContactRefurInfo(&other);
    EXPECT_EQ(JorvAutomation::ContactCardWindow(), nullptr);
    if (!destroy) ::DestroyWindow(child);
  }

  // Shown for another owner, the card belongs to that one.
  HWND second = testing_support::CreateTestParent(400, 300, L"second owner");
  ::ShowWindow(second, SW_SHOW);
  JorvDisContactInfo(FullContact().get(), 50, 50, m_owner);
  JorvDisContactInfo(FullContact().get(), 60, 60, second);
  HWND card = JorvAutomation::ContactCardWindow();
  ASSERT_NE(card, nullptr);
  EXPECT_EQ(::GetWindow(card, GW_OWNER), second);
  // A top-level owner takes its owned card with it.
  ::DestroyWindow(second);
  EXPECT_FALSE(::IsWindow(card));
  EXPECT_EQ(JorvAutomation::ContactCardWindow(), nullptr);
}

jorv::CardTexts Captions() {
  return jorv::CardTexts{L"(no name)", L"Phone", L"E-mail", L"Address", L"Organization", L"Groups"};
}

std::vector<std::wstring> Texts(const jorv::CardLayout& layout) {
  std::vector<std::wstring> texts;
  for (const auto& line : layout.lines) texts.push_back(line.FullText());
  return texts;
}

TEST(ContactCardLayout, LeavesOutWhatIsEmptyAndKeepsEachTextOnOneLine) {
  CContactData contact;  // no name, and only blank or partial entries
  contact.m_phones.emplace_back(2, L"");
  contact.m_emails.emplace_back(1, L"  ");
  Contact::CPostalBaseData address;
  address.m_street = L"3 Hill St\r\nFlat 2";
  address.m_city = L"\tShanghai ";
  contact.m_postals.emplace_back(7, address, L"Holiday");
  Contact::COrganizationBaseData job;
  job.m_title = L"Engineer";
  contact.m_organizations.emplace_back(0, job);
  contact.m_groupNames = {L"", L"Family"};

  jorv::CardLayout layout = LayoutCard(contact, Captions(), jorv::CardMetrics{});
  EXPECT_EQ(Texts(layout), (std::vector<std::wstring>{L"(no name)", L"Address", L"Holiday: 3 Hill St Flat 2, Shanghai",
                                                      L"Organization", L"Engineer", L"Groups", L"Family"}));
  EXPECT_FALSE(layout.cut);
  EXPECT_EQ(layout.lines[1].kind, CardLineKind::Caption);

  // The composed full name stands in for a missing list name.
  contact.m_name[Contact::kFullName] = L"Wang Fang";
  EXPECT_EQ(LayoutCard(contact, Captions(), jorv::CardMetrics{}).lines.front().text, L"Wang Fang");
}

TEST(ContactCardLayout, CutsAtTheMaximumHeightWithAnEllipsisLine) {
  CContactData contact;
  contact.m_name[Contact::kDisplayName] = L"Chen Jie";
  for (const wchar_t* number : {L"1", L"2", L"3"}) contact.m_phones.emplace_back(2, number);
  contact.m_emails.emplace_back(1, L"a@example.com");
  contact.m_emails.emplace_back(2, L"b@example.com");
  jorv::CardMetrics metrics;  // padding 10, name 30, caption 24, line 20: 198 pixels in all
  ASSERT_EQ(metrics.padding + metrics.nameHeight + 2 * metrics.captionHeight + 5 * metrics.lineHeight +
                metrics.padding, 198);

  metrics.maxHeight = 198;
  jorv::CardLayout whole = LayoutCard(contact, Captions(), metrics);
  EXPECT_FALSE(whole.cut);
  EXPECT_EQ(whole.height, 198);
  EXPECT_EQ(whole.lines.size(), 8u);

  // One pixel short: the e-mail caption would still fit above the "…" line,
  // but a caption without its entries is left out too.
  metrics.maxHeight = 197;
  jorv::CardLayout cut = LayoutCard(contact, Captions(), metrics);
  EXPECT_TRUE(cut.cut);
  EXPECT_EQ(Texts(cut),
            (std::vector<std::wstring>{L"Chen Jie", L"Phone", L"Mobile: 1", L"Mobile: 2", L"Mobile: 3", L"\u2026"}));
  EXPECT_EQ(cut.lines.back().kind, CardLineKind::More);
  EXPECT_LE(cut.height, metrics.maxHeight);
  for (size_t i = 1; i < cut.lines.size(); ++i)
    EXPECT_EQ(cut.lines[i].rect.top, cut.lines[i - 1].rect.bottom) << "line " << i;
  EXPECT_EQ(cut.height, cut.lines.back().rect.bottom + metrics.padding);
}

}  // namespace
