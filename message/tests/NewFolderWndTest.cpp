// The new-folder dialog as a user drives it: the resource module's template,
// its texts and look, the tips it shows for a refused name, and what it hands
// back. The name rules are also checked on their own, where a refusal is
// cheap to enumerate.
#include <gtest/gtest.h>

#include "PimDialogTest.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/Module.h"
#include "message/NewFolderRules.h"
#include "message/NewFolderWnd.h"
#include "standins/dialogs/JorvAutomation.h"

namespace {

using Message::CheckFolderName;
using Message::FolderNameVerdict;

std::wstring Text(const wchar_t* key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

TEST(NewFolderRulesTest, BlanksOfEveryKindAreTrimmedAndOnlyAnExactNameIsTaken) {
  const std::vector<std::wstring> existing = {L"Work", L"\u5de5\u4f5c"};
  std::wstring name = L"left over";
  EXPECT_EQ(CheckFolderName(L"", existing, name), FolderNameVerdict::kEmpty);
  EXPECT_EQ(name, L"");
  EXPECT_EQ(CheckFolderName(L" \t\u3000 ", existing, name), FolderNameVerdict::kEmpty) << "ideographic space too";
  EXPECT_EQ(CheckFolderName(L"\u3000\u5de5\u4f5c ", existing, name), FolderNameVerdict::kExists);
  EXPECT_EQ(CheckFolderName(L"work", existing, name), FolderNameVerdict::kAccepted) << "case counts";
  EXPECT_EQ(CheckFolderName(L"\tMy  trips ", existing, name), FolderNameVerdict::kAccepted);
  EXPECT_EQ(name, L"My  trips") << "inner blanks stay";
}

using NewFolderWndTest = testing_support::PimDialogTest;

TEST_F(NewFolderWndTest, RefusesBlanksAndATakenNameThenSavesTheTrimmedName) {
  CNewFolderWnd dialog;
  struct Seen {
    std::wstring label, saveText, cancelText, afterRefusal;
    bool focusOnName = false, rounded = false, noMoveItem = false, noSizeItem = false, stayedOpen = false;
  } seen;
  testing_support::AnswerWhenShown user(Text(L"pim.sms.newfolder"), [&](HWND box) {
    seen.label = ControlText(box, IDC_NEWFOLDER_LABEL);
    seen.saveText = ControlText(box, IDOK);
    seen.cancelText = ControlText(box, IDCANCEL);
    // Other test programs share the desktop and may hold the foreground: the
    // keyboard focus is only asked of a dialog that has it.
    seen.focusOnName = ::GetForegroundWindow() != box || ::GetFocus() == ::GetDlgItem(box, IDC_NEWFOLDER_NAME);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    seen.rounded = ::GetWindowRgn(box, region) == COMPLEXREGION;
    ::DeleteObject(region);
    HMENU system = ::GetSystemMenu(box, FALSE);
    seen.noMoveItem = ::GetMenuState(system, SC_MOVE, MF_BYCOMMAND) == static_cast<UINT>(-1);
    seen.noSizeItem = ::GetMenuState(system, SC_SIZE, MF_BYCOMMAND) == static_cast<UINT>(-1);
    ::SetDlgItemTextW(box, IDC_NEWFOLDER_NAME, L" \t ");
    Click(box, IDOK);
    ::SetDlgItemTextW(box, IDC_NEWFOLDER_NAME, L"Travel ");
    Click(box, IDOK);
    seen.afterRefusal = ControlText(box, IDC_NEWFOLDER_NAME);
    seen.stayedOpen = ::IsWindow(box) && ::IsWindowVisible(box);
    ::SetDlgItemTextW(box, IDC_NEWFOLDER_NAME, L"  Work  ");
    Click(box, IDOK);
  });
  EXPECT_EQ(dialog.Run(parent, {L"Inbox archive", L"Travel"}), 1);
  ASSERT_TRUE(user.acted());
  EXPECT_EQ(dialog.Name(), L"Work");
  EXPECT_EQ(seen.label, Text(L"pim.static.foldername"));
  EXPECT_EQ(seen.saveText, Text(L"common.save"));
  EXPECT_EQ(seen.cancelText, Text(L"common.button.cancel"));
  EXPECT_TRUE(seen.focusOnName);
  EXPECT_TRUE(seen.rounded);
  EXPECT_TRUE(seen.noMoveItem);
  EXPECT_TRUE(seen.noSizeItem);
  EXPECT_TRUE(seen.stayedOpen);
  EXPECT_EQ(seen.afterRefusal, L"Travel ") << "a refused name stays as typed";

  auto journal = JorvAutomation::TakeJournal();
  ASSERT_EQ(journal.size(), 2u);
  EXPECT_EQ(journal[0].text, Text(L"pim.contact.groupemptytip"));
  EXPECT_EQ(journal[0].caption, Text(L"shell.maindlg.title"));
  EXPECT_EQ(journal[1].text, Text(L"pim.folder.existtip"));
  EXPECT_EQ(journal[1].caption, Text(L"common.messagebox.tamixtip"));
}

TEST_F(NewFolderWndTest, ALongPasteIsCutTo255) {
  CNewFolderWnd dialog;
  int length = 0;
  testing_support::AnswerWhenShown user(Text(L"pim.sms.newfolder"), [&](HWND box) {
    // A paste replaces the selection, as EM_REPLACESEL does.
    const std::wstring pasted = std::wstring(150, L'a') + std::wstring(150, L'\u6587');
    ::SendDlgItemMessageW(box, IDC_NEWFOLDER_NAME, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
    length = ::GetWindowTextLengthW(::GetDlgItem(box, IDC_NEWFOLDER_NAME));
    Click(box, IDOK);
  });
  EXPECT_EQ(dialog.Run(parent, {}), 1);
  EXPECT_EQ(length, 255);
  EXPECT_EQ(dialog.Name(), std::wstring(150, L'a') + std::wstring(105, L'\u6587'));
}

TEST_F(NewFolderWndTest, CancelAndTheCloseButtonHandNothingBack) {
  for (int close : {IDCANCEL, IDC_NEWFOLDER_CLOSE}) {
    CNewFolderWnd dialog;
    testing_support::AnswerWhenShown user(Text(L"pim.sms.newfolder"), [&](HWND box) {
      ::SetDlgItemTextW(box, IDC_NEWFOLDER_NAME, L"Unsaved");
      Click(box, close);
    });
    EXPECT_EQ(dialog.Run(parent, {L"Travel"}), 0) << close;
    EXPECT_TRUE(dialog.Name().empty()) << close;
  }
  EXPECT_TRUE(JorvAutomation::TakeJournal().empty());
}

}  // namespace
