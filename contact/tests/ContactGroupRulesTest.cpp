// The group dialog's name rules, without the dialog.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "contact/ContactGroupRules.h"
#include "standins/base/LogControl.h"

namespace {

using namespace Contact;

TEST(GroupNameRules, BlanksAroundTheNameGoAndOnlyTheSpaceCharacterIsABlank) {
  std::wstring name;
  EXPECT_EQ(CheckGroupName(L"  Family ", L"", {}, name), GroupNameVerdict::kAccepted);
  EXPECT_EQ(name, L"Family");
  EXPECT_EQ(CheckGroupName(L"Old  friends", L"", {}, name), GroupNameVerdict::kAccepted);
  EXPECT_EQ(name, L"Old  friends") << "blanks inside stay";
  EXPECT_EQ(CheckGroupName(L"\tWork\t", L"", {}, name), GroupNameVerdict::kAccepted);
  EXPECT_EQ(name, L"\tWork\t");
  EXPECT_EQ(CheckGroupName(L"    ", L"", {}, name), GroupNameVerdict::kEmpty);
  EXPECT_EQ(CheckGroupName(L"", L"", {}, name), GroupNameVerdict::kEmpty);
  EXPECT_TRUE(name.empty());
}

TEST(GroupNameRules, ANameTakenByAnotherGroupIsRefusedButTheGroupMayKeepItsOwn) {
  const std::vector<std::wstring> existing{L"Family", L"Colleagues"};
  std::wstring name;
  EXPECT_EQ(CheckGroupName(L"Colleagues ", L"Family", existing, name), GroupNameVerdict::kExists);
  EXPECT_EQ(CheckGroupName(L"Family", L"Family", existing, name), GroupNameVerdict::kAccepted)
      << "editing a group and keeping its name";
  EXPECT_EQ(CheckGroupName(L"family", L"", existing, name), GroupNameVerdict::kAccepted) << "case counts";
  EXPECT_EQ(name, L"family");
}

TEST(GroupNameRules, TrimmingNoTextAtAllIsReportedInTheInformationLog) {
  testing_support::TempFolder logs;
  LOG::SetLogRoot(logs.path());
  EXPECT_EQ(TrimGroupName(L""), L"");
  EXPECT_EQ(TrimGroupName(L" a "), L"a");
  LOG::SetLogRoot(L"");
  std::string info = testing_support::ReadFile(logs.File(L"log\\PimPluginInfo.log"));
  EXPECT_NE(info.find("CContactGroupWnd"), std::string::npos);
  EXPECT_NE(info.find("Params Error."), std::string::npos);
}

}  // namespace
