// Matching replies by URI and logging their outcome.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "content/ContentUri.h"
#include "content/ReplyDispatch.h"
#include "standins/base/LogControl.h"

namespace {

using content::kNoMatch;
using content::MatchUri;

TEST(MatchUri, TheFirstWholeStringMatchWinsAndNothingElseDoes) {
  // The four count replies are told apart by URI.
  auto count = [](const std::wstring& uri) {
    return MatchUri(uri, {ContentUri::kContactCount, ContentUri::kCdmaCount, ContentUri::kGsmCount,
                          ContentUri::kStarCount});
  };
  EXPECT_EQ(count(L"content://contact/contact?result=count"), 0);
  EXPECT_EQ(count(L"content://contact/gsm?result=count"), 2);
  EXPECT_EQ(count(L"content://contact/contact/star?result=count"), 3);
  // Prefixes, extensions and other cases are different URIs.
  EXPECT_EQ(count(L"content://contact/contact"), kNoMatch);
  EXPECT_EQ(count(L"content://contact/gsm?result=count "), kNoMatch);
  EXPECT_EQ(count(L"CONTENT://contact/gsm?result=count"), kNoMatch);
  EXPECT_EQ(count(L""), kNoMatch);
  // The order decides between equal candidates.
  EXPECT_EQ(MatchUri(ContentUri::kSms, {ContentUri::kSmsInFolder, ContentUri::kSms, ContentUri::kSms}), 1);
}

TEST(UriLiterals, ContactExportsAreTheListUriWithTheFormatSuffix) {
  EXPECT_EQ(std::wstring(ContentUri::kContactStar) + ContentUri::kExportVcardSuffix,
            L"content://contact/contact/star?export=vcard");
  EXPECT_EQ(std::wstring(ContentUri::kContactCdma) + ContentUri::kExportExcelSuffix,
            L"content://contact/cdma?export=excel");
}

TEST(ReplySucceeded, LogsTheSuccessOrTheFailureLine) {
  testing_support::TempFolder folder;
  LOG::SetLogRoot(folder.path());
  EXPECT_TRUE(content::ReplySucceeded(0, "Insert Contact Success!", "Insert Contact fail!"));
  EXPECT_FALSE(content::ReplySucceeded(7, "Insert Contact Success!", "Insert Contact fail!"));
  EXPECT_FALSE(content::ReplySucceeded(1, nullptr, nullptr));
  std::string log = testing_support::ReadFile(folder.File(L"log\\PimPluginInfo.log"));
  LOG::SetLogRoot(L"");
  size_t success = log.find("Insert Contact Success!");
  size_t failure = log.find("Insert Contact fail!");
  ASSERT_NE(success, std::string::npos);
  ASSERT_NE(failure, std::string::npos);
  EXPECT_LT(success, failure);
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2);
}

}  // namespace
