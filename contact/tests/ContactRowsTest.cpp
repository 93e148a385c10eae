// The contact list's rows: letter sections as answers fill them and single
// contacts join and leave them, the cells the grid draws, check boxes, and
// the list's layout arithmetic. No window is needed.
#include <gtest/gtest.h>

#include <memory>
#include <numeric>

#include "contact/ContactRows.h"

namespace {

using namespace Contact;

CContactData MakeContact(ContentId id, const std::wstring& index, const std::wstring& name = L"") {
  CContactData contact;
  contact.m_id = id;
  contact.m_index = index;
  contact.m_name[0] = name.empty() ? index : name;
  return contact;
}

// The list as text: "[A]" for a header, the display name for a contact.
std::vector<std::wstring> Layout(const CContactRows& rows) {
  std::vector<std::wstring> out;
  for (int row = 0; row < rows.RowCount(); ++row) {
    CQsGridCell cell;
    rows.GetCell(row, 0, cell);
    out.push_back(rows.At(row).header ? L"[" + cell.text + L"]" : rows.At(row).contact.m_name[0]);
  }
  return out;
}

struct Answer {
  std::vector<std::unique_ptr<CContactData>> owned;
  ContentList list;
  void Add(CContactData contact) {
    owned.push_back(std::make_unique<CContactData>(std::move(contact)));
    list.push_back(owned.back().get());
  }
};

TEST(ContactRows, ContactsAreFiledByTheFirstLetterOfTheirIndexText) {
  EXPECT_EQ(FilingSlot(L"BAI"), 1);
  EXPECT_EQ(FilingSlot(L"bai"), 1) << "small letters file under the capital";
  EXPECT_EQ(FilingSlot(L"Zhang"), 25);
  EXPECT_EQ(FilingSlot(L"8ZHANG"), kOtherSlot);
  EXPECT_EQ(FilingSlot(L"\u5f20\u4f1f"), kOtherSlot);
  EXPECT_EQ(FilingSlot(L""), kOtherSlot);
  EXPECT_EQ(FilingSlot(L"\u00c9MILE"), kOtherSlot) << "only A to Z are letters here";
}

TEST(ContactRows, AnAnswerIsSectionedWhereTheLetterChangesAndSingleContactsKeepTheLetterOrder) {
  CContactRows rows;
  ContactRowLook look;
  look.otherText = L"Other";
  rows.SetLook(look);
  Answer answer;
  answer.Add(MakeContact(1, L"ALICE"));
  answer.Add(MakeContact(2, L"ANDY"));
  answer.Add(MakeContact(3, L"DAVID"));
  answer.Add(MakeContact(4, L"9LIVES"));
  rows.FillGrouped(answer.list);
  EXPECT_EQ(Layout(rows), (std::vector<std::wstring>{L"[A]", L"ALICE", L"ANDY", L"[D]", L"DAVID", L"[Other]", L"9LIVES"}));

  // A first "C" lands between "A" and "D"; a second "A" at the end of its section;
  // a "Z" before "other"; another "other" last.
  EXPECT_EQ(rows.AddGrouped(MakeContact(5, L"CAROL")), 4);
  EXPECT_EQ(rows.AddGrouped(MakeContact(6, L"AARON")), 3);
  rows.AddGrouped(MakeContact(7, L"zoe", L"ZOE"));
  rows.AddGrouped(MakeContact(8, L"", L"(no index)"));
  EXPECT_EQ(Layout(rows), (std::vector<std::wstring>{L"[A]", L"ALICE", L"ANDY", L"AARON", L"[C]", L"CAROL", L"[D]",
                                                     L"DAVID", L"[Z]", L"ZOE", L"[Other]", L"9LIVES", L"(no index)"}));
  EXPECT_EQ(rows.ContactCount(), 8);
  EXPECT_EQ(rows.FindContact(7), 9);

  // Removing the last contact of a section takes its header with it.
  EXPECT_TRUE(rows.Remove(5));
  EXPECT_EQ(rows.HeaderRow(2), -1);
  EXPECT_TRUE(rows.Remove(1));
  EXPECT_NE(rows.HeaderRow(0), -1) << "A still has contacts";
  EXPECT_FALSE(rows.Remove(5));
  EXPECT_EQ(Layout(rows), (std::vector<std::wstring>{L"[A]", L"ANDY", L"AARON", L"[D]", L"DAVID", L"[Z]", L"ZOE",
                                                     L"[Other]", L"9LIVES", L"(no index)"}));
  // And a "B" added now finds its place again.
  EXPECT_EQ(rows.AddGrouped(MakeContact(9, L"BEN")), 4);
  EXPECT_EQ(rows.HeaderRow(1), 3);
}

TEST(ContactRows, StreamedBatchesGoUnderOneOtherHeaderInTheirOrder) {
  CContactRows rows;
  Answer first, second;
  first.Add(MakeContact(1, L"ZED"));
  first.Add(MakeContact(2, L"AMY"));
  second.Add(MakeContact(3, L"BOB"));
  rows.AppendUngrouped(first.list);
  rows.AppendUngrouped(second.list);
  ASSERT_EQ(rows.RowCount(), 4);
  EXPECT_TRUE(rows.IsSectionRow(0));
  EXPECT_EQ(rows.At(0).slot, kOtherSlot);
  EXPECT_EQ(rows.At(1).contact.m_id, 1u);
  EXPECT_EQ(rows.At(3).contact.m_id, 3u);
  rows.Clear();
  EXPECT_EQ(rows.RowCount(), 0);
  EXPECT_EQ(rows.HeaderRow(kOtherSlot), -1);
}

TEST(ContactRows, CellsShowNameNumberAddressGroupsStarAndActions) {
  CContactRows rows;
  Gdiplus::Image* on = reinterpret_cast<Gdiplus::Image*>(0x10);
  Gdiplus::Image* off = reinterpret_cast<Gdiplus::Image*>(0x20);
  rows.SetLook(ContactRowLook{L"Other", on, off, L"Edit", L"Delete"});
  CContactData contact = MakeContact(7, L"WANG", L"Wang Fang");
  contact.m_phones = {CPhoneData(1, L"010-1234"), CPhoneData(2, L"13800138000")};
  contact.m_emails = {CEmailData(1, L"fang@example.com")};
  contact.m_groupNames = {L"Family", L"Friends"};
  contact.m_starred = 1;
  int row = rows.AddGrouped(contact);
  auto cell = [&](int column) {
    CQsGridCell c;
    rows.GetCell(row, column, c);
    return c;
  };
  EXPECT_EQ(cell(kColumnName).text, L"Wang Fang");
  EXPECT_EQ(cell(kColumnCheck).image, on) << "the star is the first column's box";
  EXPECT_TRUE(cell(kColumnCheck).IsChecked());
  EXPECT_EQ(cell(kColumnPhone).text, L"13800138000") << "no primary number: the first Mobile one";
  EXPECT_EQ(cell(kColumnEmail).text, L"fang@example.com");
  EXPECT_EQ(cell(kColumnGroups).text, L"Family  Friends  ");
  ASSERT_EQ(cell(kColumnActions).actions.size(), 2u);
  EXPECT_EQ(cell(kColumnActions).actions[1].text, L"Delete");
  rows.SetCheckMode(true);
  EXPECT_TRUE(cell(kColumnCheck).check);
  EXPECT_FALSE(cell(kColumnCheck).IsChecked()) << "checking for deletion shows the deletion box, not the star";
  EXPECT_EQ(cell(kColumnCheck).image, nullptr);
  rows.SetCheckMode(false);

  contact.m_id = 8;
  contact.m_starred = 0;
  int second = rows.AddGrouped(contact);
  CQsGridCell star;
  rows.GetCell(second, kColumnCheck, star);
  EXPECT_EQ(star.image, off);
  CQsGridCell header;
  rows.GetCell(rows.HeaderRow(FilingSlot(L"WANG")), 0, header);
  EXPECT_EQ(header.text, L"W");
}

TEST(ContactRows, CheckBoxesBelongToContactRowsOnly) {
  CContactRows rows;
  Answer answer;
  answer.Add(MakeContact(1, L"ALICE"));
  answer.Add(MakeContact(2, L"BOB"));
  answer.Add(MakeContact(3, L"BETTY"));
  rows.FillGrouped(answer.list);  // [A] ALICE [B] BOB BETTY
  rows.SetRowCheck(0, true);      // a header: ignored
  rows.SetRowCheck(4, true);
  rows.SetRowCheck(1, true);
  EXPECT_EQ(rows.CheckedIds(), (IdList{1, 3}));
  rows.SetAllChecks(true);
  EXPECT_EQ(rows.CheckedCount(), 3);
  EXPECT_FALSE(rows.At(0).checked);
  CQsGridCell box;
  rows.GetCell(3, kColumnCheck, box);
  EXPECT_FALSE(box.IsChecked()) << "outside check mode the box is the star";
  rows.SetCheckMode(true);
  box = CQsGridCell{};
  rows.GetCell(3, kColumnCheck, box);
  EXPECT_TRUE(box.IsChecked());
  rows.SetAllChecks(false);
  EXPECT_TRUE(rows.CheckedIds().empty());
}

TEST(ContactRows, ACollapsedSectionStaysCollapsedWhenRowsMoveAndOpensWhenItEmpties) {
  CContactRows rows;
  Answer answer;
  answer.Add(MakeContact(1, L"BOB"));
  answer.Add(MakeContact(2, L"DAN"));
  rows.FillGrouped(answer.list);  // [B] BOB [D] DAN
  rows.OnSectionToggle(2);
  rows.OnSectionToggle(1);  // not a section row: nothing
  rows.AddGrouped(MakeContact(3, L"ANN"));  // [A] ANN [B] BOB [D] DAN
  std::vector<int> collapsed;
  rows.GetCollapsedSections(collapsed);
  EXPECT_EQ(collapsed, std::vector<int>{4});
  rows.Remove(2);
  rows.AddGrouped(MakeContact(4, L"DORA"));
  collapsed.clear();
  rows.GetCollapsedSections(collapsed);
  EXPECT_TRUE(collapsed.empty()) << "a section made again starts open";
}

TEST(ContactListLayout, TheListSitsRightOfTheTreeAndItsColumnsFollowTheWidth) {
  RECT list = ContactListRect(990, 600);
  EXPECT_EQ(list.left, 187);
  EXPECT_EQ(list.top, 36);
  EXPECT_EQ(list.right - list.left, 990 - 187);
  EXPECT_EQ(list.bottom - list.top, 600 - 36);

  auto fractions = ContactColumnFractions(990);  // 800 pixels to share
  EXPECT_NEAR(fractions[kColumnCheck] * 800, 40, 1e-9);
  EXPECT_NEAR(fractions[kColumnActions] * 800, 120, 1e-9);
  EXPECT_NEAR(fractions[kColumnName] * 800, 120, 1e-9);   // 3/16 of 640
  EXPECT_NEAR(fractions[kColumnPhone] * 800, 160, 1e-9);  // 4/16
  EXPECT_NEAR(fractions[kColumnEmail] * 800, 200, 1e-9);  // 5/16
  EXPECT_NEAR(fractions[kColumnGroups] * 800, 160, 1e-9);
  EXPECT_NEAR(std::accumulate(fractions.begin(), fractions.end(), 0.0), 1.0, 1e-12);

  for (int width : {0, 190, 300, 350}) {
    auto narrow = ContactColumnFractions(width);
    for (double f : narrow) EXPECT_GE(f, 0.0) << "width " << width;
    EXPECT_NEAR(std::accumulate(narrow.begin(), narrow.end(), 0.0), 1.0, 1e-12) << "width " << width;
  }
}

}  // namespace
