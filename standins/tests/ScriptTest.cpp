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

}  // namespace
