// The group dialog as a user drives it: the resource module's template, its
// texts, the tips it shows for a refused name, and what it hands back.
#include <gtest/gtest.h>

#include "PimDialogTest.h"
#include "contact/ContactGroupWnd.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/Module.h"
#include "standins/dialogs/JorvAutomation.h"

namespace {

using Contact::CContactGroupWnd;
using Contact::CGroupData;

std::wstring Text(const wchar_t* key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

using ContactGroupWndTest = testing_support::PimDialogTest;

TEST_F(ContactGroupWndTest, ANewGroupIsSavedTrimmedAfterTheTipsForAnEmptyAndATakenName) {
  CContactGroupWnd dialog(CContactGroupWnd::Mode::kNew, CGroupData{}, {L"Family", L"Work"});
  struct Seen {
    std::wstring nameLabel, saveText, focusText;
    bool focusOnName = false;
    bool rounded = false;
    bool noMoveItem = false;
    bool stayedOpen = false;
  } seen;
  testing_support::AnswerWhenShown user(Text(L"pim.static.newgroup"), [&](HWND box) {
    seen.nameLabel = ControlText(box, IDC_GROUP_NAME_LABEL);
    seen.saveText = ControlText(box, IDOK);
    // Other test programs share the desktop and may hold the foreground: the
    // keyboard focus is only asked of a dialog that has it.
    seen.focusOnName = ::GetForegroundWindow() != box || ::GetFocus() == ::GetDlgItem(box, IDC_GROUP_NAME);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    seen.rounded = ::GetWindowRgn(box, region) == COMPLEXREGION;
    ::DeleteObject(region);
    seen.noMoveItem = ::GetMenuState(::GetSystemMenu(box, FALSE), SC_MOVE, MF_BYCOMMAND) == static_cast<UINT>(-1);
    ::SetDlgItemTextW(box, IDC_GROUP_NAME, L"   ");
    Click(box, IDOK);
    ::SetDlgItemTextW(box, IDC_GROUP_NAME, L"Work ");
    Click(box, IDOK);
    seen.stayedOpen = ::IsWindow(box) && ::IsWindowVisible(box);
    ::SetDlgItemTextW(box, IDC_GROUP_NAME, L"  Old friends ");
    ::SetDlgItemTextW(box, IDC_GROUP_REMARK, L"school");
    Click(box, IDOK);
  });
  EXPECT_EQ(dialog.Run(parent), IDOK);
  ASSERT_TRUE(user.acted());
  EXPECT_EQ(dialog.Group().m_name, L"Old friends");
  EXPECT_EQ(dialog.Group().m_remark, L"school");
  EXPECT_EQ(seen.nameLabel, Text(L"pim.static.groupname"));
  EXPECT_EQ(seen.saveText, Text(L"common.save"));
  EXPECT_TRUE(seen.focusOnName);
  EXPECT_TRUE(seen.rounded);
  EXPECT_TRUE(seen.noMoveItem);
  EXPECT_TRUE(seen.stayedOpen);

  auto journal = JorvAutomation::TakeJournal();
  ASSERT_EQ(journal.size(), 2u);
  EXPECT_EQ(journal[0].text, Text(L"pim.contact.groupemptytip"));
  EXPECT_EQ(journal[1].text, Text(L"pim.group.existtip"));
  EXPECT_EQ(journal[1].caption, Text(L"common.messagebox.tamixtip"));
}

TEST_F(ContactGroupWndTest, EditingKeepsItsOwnNameAndCancelHandsNothingBack) {
  CGroupData family;
  family.m_id = 7;
  family.m_name = L"Family";
  family.m_remark = L"at home";
  {
    CContactGroupWnd dialog(CContactGroupWnd::Mode::kEdit, family, {L"Family", L"Work"});
    std::wstring shownName;
    DWORD selectionStart = 99, selectionEnd = 0;
    testing_support::AnswerWhenShown user(Text(L"pim.menu.editgroup"), [&](HWND box) {
      shownName = ControlText(box, IDC_GROUP_NAME);
      ::SendDlgItemMessageW(box, IDC_GROUP_NAME, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
                            reinterpret_cast<LPARAM>(&selectionEnd));
      Click(box, IDOK);
    });
    EXPECT_EQ(dialog.Run(parent), IDOK);
    EXPECT_EQ(shownName, L"Family");
    EXPECT_EQ(selectionStart, 0u) << "the whole name is selected";
    EXPECT_EQ(selectionEnd, 6u);
    EXPECT_EQ(dialog.Group().m_name, L"Family");
    EXPECT_EQ(dialog.Group().m_id, 7u);
    EXPECT_TRUE(JorvAutomation::TakeJournal().empty()) << "keeping the name shows no tip";
  }
  for (int close : {IDCANCEL, IDC_GROUP_CLOSE}) {
    CContactGroupWnd dialog(CContactGroupWnd::Mode::kEdit, family, {L"Family"});
    testing_support::AnswerWhenShown user(Text(L"pim.menu.editgroup"), [&](HWND box) {
      ::SetDlgItemTextW(box, IDC_GROUP_NAME, L"Changed");
      Click(box, close);
    });
    EXPECT_EQ(dialog.Run(parent), 0) << close;
    EXPECT_EQ(dialog.Group().m_name, L"Family") << close;
  }
}

}  // namespace
