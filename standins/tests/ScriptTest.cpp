// The host's automation script.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "dialogs/JorvHelperIds.h"
#include "frame/suite/ResourceLibrary.h"
#include "frame/suite/SharedDialogs.h"
#include "host/Script.h"
#include "standins/dialogs/JorvAutomation.h"

namespace {

TEST(Script, StepsAreSplitIntoCommandsAndArguments) {
  std::vector<shell::ScriptStep> steps;
  std::wstring error;
  ASSERT_TRUE(shell::ParseScript(L" wait 100;shot main ;; click 0x4cc; size 800 600; exit", steps, error));
  ASSERT_EQ(steps.size(), 5u);
  EXPECT_EQ(steps[0].command, L"wait");
  EXPECT_EQ(steps[0].args, std::vector<std::wstring>{L"100"});
  EXPECT_EQ(steps[1].args, std::vector<std::wstring>{L"main"});
  EXPECT_EQ(steps[3].args, (std::vector<std::wstring>{L"800", L"600"}));
  long id = 0;
  EXPECT_TRUE(shell::ParseNumber(steps[2].args[0], id));
  EXPECT_EQ(id, 0x4cc);
}

TEST(Script, MalformedStepsAreRefusedWithTheirName) {
  std::vector<shell::ScriptStep> steps;
  std::wstring error;
  EXPECT_FALSE(shell::ParseScript(L"wait", steps, error));
  EXPECT_NE(error.find(L"wait"), std::wstring::npos);
  EXPECT_FALSE(shell::ParseScript(L"key 0x4d0", steps, error));
  EXPECT_FALSE(shell::ParseScript(L"key 0x4d0 enter", steps, error));
  EXPECT_FALSE(shell::ParseScript(L"cell 0x4d0 2", steps, error));
  EXPECT_FALSE(shell::ParseScript(L"wait soon", steps, error));
  EXPECT_FALSE(shell::ParseScript(L"jump 3", steps, error));
  EXPECT_NE(error.find(L"jump"), std::wstring::npos);
  EXPECT_FALSE(shell::ParseScript(L"lang fr", steps, error));
  EXPECT_FALSE(shell::ParseScript(L"click -5", steps, error));
  EXPECT_TRUE(shell::ParseScript(L"", steps, error));
  EXPECT_TRUE(steps.empty());
}

TEST(Script, TypeTakesTheRestOfItsStepAsTheText) {
  std::vector<shell::ScriptStep> steps;
  std::wstring error;
  ASSERT_TRUE(shell::ParseScript(L"idle; type 0x4cf  Wang  Li ; type 1231;type 0x4cf 张伟;row 0x488 12; idle", steps,
                                 error))
      << error;
  ASSERT_EQ(steps.size(), 6u);
  EXPECT_EQ(steps[0].command, L"idle");
  EXPECT_TRUE(steps[0].args.empty());
  EXPECT_EQ(steps[1].args, (std::vector<std::wstring>{L"0x4cf", L"Wang  Li"})) << "inner blanks kept, ends trimmed";
  EXPECT_EQ(steps[2].args, (std::vector<std::wstring>{L"1231", L""})) << "no text: the field is emptied";
  EXPECT_EQ(steps[3].args, (std::vector<std::wstring>{L"0x4cf", L"张伟"}));
  EXPECT_EQ(steps[4].args, (std::vector<std::wstring>{L"0x488", L"12"}));
}

TEST(Script, DialogStepsNameTheWindowByItsTitleKey) {
  std::vector<shell::ScriptStep> steps;
  std::wstring error;
  ASSERT_TRUE(shell::ParseScript(L"command 0xa06c; until jorvhelper.newcontact.new; press common.resave 1;"
                                 L"fill common.resave 0x47c Z:\\out.xml; delay 800;"
                                 L"pick jorvhelper.phrase.title 0x962 2",
                                 steps, error))
      << error;
  ASSERT_EQ(steps.size(), 6u);
  EXPECT_EQ(steps[1].args, (std::vector<std::wstring>{L"jorvhelper.newcontact.new"}));
  EXPECT_EQ(steps[3].args, (std::vector<std::wstring>{L"common.resave", L"0x47c", L"Z:\\out.xml"}));
  EXPECT_EQ(steps[5].args, (std::vector<std::wstring>{L"jorvhelper.phrase.title", L"0x962", L"2"}));
}

TEST(Script, MalformedAutomationStepsAreRefused) {
  std::vector<shell::ScriptStep> steps;
  std::wstring error;
  const wchar_t* bad[] = {L"idle 5", L"type", L"type   ", L"type search me", L"type -3 x",
                          L"row 0x488", L"row 0x488 1 2", L"row 0x488 first", L"row 0x488 -1",
                          L"command new", L"until", L"press common.open", L"press common.open ok",
                          L"fill common.open 0x47c", L"fill common.open name x.xml", L"delay -5",
                          L"pick jorvhelper.phrase.title 0x962", L"pick jorvhelper.phrase.title list 2",
                          L"pick jorvhelper.phrase.title 0x962 third", L"pick jorvhelper.phrase.title 0x962 -1"};
  for (const wchar_t* script : bad) {
    std::wstring full = std::wstring(L"wait 10; ") + script + L"; exit";
    EXPECT_FALSE(shell::ParseScript(full, steps, error)) << "accepted: " << testing::PrintToString(full);
    std::wstring command = std::wstring(script).substr(0, std::wstring(script).find(L' '));
    EXPECT_NE(error.find(command), std::wstring::npos) << "the error names the step: " << testing::PrintToString(error);
  }
}

// "pick" and then "press <title> 1" on the phrase picker, as a script runs
// them inside the dialog's loop: the last row, scrolled to first.
TEST(Script, PickClicksARowOfAListBoxForTheDialogToTake) {
  JorvAutomation::Reset();
  JorvAutomation::SetUnattended(false);
  std::wstring title, expected;
  GetString(L"jorvhelper.phrase.title", title);
  testing_support::AnswerWhenShown user(title, [&](HWND dialog) {
    HWND list = ::GetDlgItem(dialog, IDC_JORV_PHRASE_LIST);
    const auto rows = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
    if (rows < 9) {
      ADD_FAILURE() << "too few rows to need scrolling: " << rows;
      testing_support::PressButton(dialog, IDCANCEL);
      return;
    }
    GetString(L"jorvhelper.phrase." + std::to_wstring(rows), expected);
    std::wstring problem;
    EXPECT_FALSE(shell::PickListRow(dialog, IDOK, 0, problem));
    EXPECT_NE(problem.find(L"no list box"), std::wstring::npos) << testing::PrintToString(problem);
    EXPECT_FALSE(shell::PickListRow(dialog, IDC_JORV_PHRASE_LIST, rows, problem));
    EXPECT_NE(problem.find(L"no row " + std::to_wstring(rows)), std::wstring::npos) << testing::PrintToString(problem);
    ::EnableWindow(list, FALSE);
    EXPECT_FALSE(shell::PickListRow(dialog, IDC_JORV_PHRASE_LIST, 0, problem)) << "a disabled list is not clicked";
    ::EnableWindow(list, TRUE);
    EXPECT_EQ(::SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR) << "a refused pick selects nothing";

    EXPECT_TRUE(shell::PickListRow(dialog, IDC_JORV_PHRASE_LIST, rows - 1, problem)) << testing::PrintToString(problem);
    testing_support::PressButton(dialog, IDOK);
    testing_support::PressButton(dialog, IDCANCEL);  // ends the dialog, should the pick have missed
  });
  std::wstring phrase;
  EXPECT_EQ(JorvSelectPhrase(phrase), 1);
  EXPECT_TRUE(user.acted());
  EXPECT_FALSE(expected.empty());
  EXPECT_EQ(phrase, expected);
  JorvAutomation::Reset();
}

}  // namespace
