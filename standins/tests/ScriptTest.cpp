// The host's automation script.
#include <gtest/gtest.h>

#include "host/Script.h"

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
                                 L"fill common.resave 0x47c Z:\\out.xml; delay 800",
                                 steps, error))
      << error;
  ASSERT_EQ(steps.size(), 5u);
  EXPECT_EQ(steps[1].args, (std::vector<std::wstring>{L"jorvhelper.newcontact.new"}));
  EXPECT_EQ(steps[3].args, (std::vector<std::wstring>{L"common.resave", L"0x47c", L"Z:\\out.xml"}));
}

TEST(Script, MalformedAutomationStepsAreRefused) {
  std::vector<shell::ScriptStep> steps;
  std::wstring error;
  const wchar_t* bad[] = {L"idle 5", L"type", L"type   ", L"type search me", L"type -3 x",
                          L"row 0x488", L"row 0x488 1 2", L"row 0x488 first", L"row 0x488 -1",
                          L"command new", L"until", L"press common.open", L"press common.open ok",
                          L"fill common.open 0x47c", L"fill common.open name x.xml", L"delay -5"};
  for (const wchar_t* script : bad) {
    std::wstring full = std::wstring(L"wait 10; ") + script + L"; exit";
    EXPECT_FALSE(shell::ParseScript(full, steps, error)) << "accepted: " << testing::PrintToString(full);
    std::wstring command = std::wstring(script).substr(0, std::wstring(script).find(L' '));
    EXPECT_NE(error.find(command), std::wstring::npos) << "the error names the step: " << testing::PrintToString(error);
  }
}

}  // namespace
