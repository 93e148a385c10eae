// The base library: log lines and the export folder.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "standins/base/LogControl.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempFolder;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

class BaseLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { LOG::SetLogRoot(folder.path()); }
  void TearDown() override { LOG::SetLogRoot(L""); }
  std::string Info() { return ReadFile(folder.File(L"log\\PimPluginInfo.log")); }
  std::string Errors() { return ReadFile(folder.File(L"log\\PimPluginErr.log")); }
  TempFolder folder;
};

TEST_F(BaseLibraryTest, FileTargetsAndTagsGoToTheirLogs) {
  LOG::I(PIM_INFO_LOG, "Insert Contact Success!");
  LOG::E(PIM_ERROR_LOG, "In CContactSupport::QueryAll() , Error:m_pContactProvider == NULL !");
  LOG::I("CSMSOperate", "Fresh Message Complete! iStatus = %d", 3);
  LOG::E("CContactGroupWnd", "bad %s", "name");
  auto info = Lines(Info());
  auto errors = Lines(Errors());
  ASSERT_EQ(info.size(), 2u);
  ASSERT_EQ(errors.size(), 2u);
  std::regex prefix(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[[0-9a-f]+\] )");
  EXPECT_TRUE(std::regex_search(info[0], prefix)) << info[0];
  EXPECT_TRUE(info[0].ends_with("] Insert Contact Success!")) << info[0];
  EXPECT_TRUE(info[1].ends_with("<CSMSOperate> Fresh Message Complete! iStatus = 3")) << info[1];
  EXPECT_TRUE(errors[1].ends_with("<CContactGroupWnd> bad name")) << errors[1];
}

TEST_F(BaseLibraryTest, WideLinesAreUtf8AndTakeWideStrings) {
  LOG::I(L"CSMSOperate", L"Send Message number = %d to %s", 2, L"张伟");
  auto info = Lines(Info());
  ASSERT_EQ(info.size(), 1u);
  EXPECT_TRUE(info[0].ends_with("<CSMSOperate> Send Message number = 2 to \xE5\xBC\xA0\xE4\xBC\x9F")) << info[0];
}

TEST_F(BaseLibraryTest, TrailingLineBreaksDoNotMakeEmptyLines) {
  LOG::I(PIM_INFO_LOG, "Edit OnKeydown\r\n");
  LOG::I(PIM_INFO_LOG, "next");
  auto info = Lines(Info());
  ASSERT_EQ(info.size(), 2u);
  EXPECT_TRUE(info[0].ends_with("Edit OnKeydown"));
}

TEST_F(BaseLibraryTest, LinesFromManyThreadsStayWhole) {
  constexpr int kThreads = 8, kLines = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t] {
      for (int i = 0; i < kLines; ++i) LOG::I(PIM_INFO_LOG, "thread %d line %d %s", t, i, "xxxxxxxxxxxxxxxxxxxxxxxx");
    });
  for (auto& thread : threads) thread.join();
  auto info = Lines(Info());
  ASSERT_EQ(info.size(), static_cast<size_t>(kThreads * kLines));
  std::regex whole(R"(^.* \[[0-9a-f]+\] thread \d line \d+ x{24}$)");
  int bad = 0;
  for (const auto& line : info) bad += !std::regex_match(line, whole);
  EXPECT_EQ(bad, 0);
}

TEST(ExportPath, IsAnExistingFolderAndStaysTheSame) {
  const std::wstring& path = UniPath::GetExportPath();
  ASSERT_FALSE(path.empty());
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(&UniPath::GetExportPath(), &path);
}

}  // namespace
