// The contacts module's request wrappers: a missing library object is never
// called and leaves its error line.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "contact/ContactSupport.h"
#include "content/ContentUri.h"
#include "standins/base/LogControl.h"

namespace {

class ContactSupportTest : public ::testing::Test {
 protected:
  void SetUp() override { LOG::SetLogRoot(folder.path()); }
  void TearDown() override { LOG::SetLogRoot(L""); }
  std::string Errors() { return testing_support::ReadFile(folder.File(L"log\\PimPluginErr.log")); }
  testing_support::TempFolder folder;
};

TEST_F(ContactSupportTest, MissingObjectsAreNotCalledAndTheirErrorLinesAreWritten) {
  CContactSupport support;
  EXPECT_FALSE(support.Insert(ContentUri::kContact, nullptr));
  EXPECT_FALSE(support.QueryAll(ContentUri::kContact));
  EXPECT_FALSE(support.DeleteContactProvider());
  EXPECT_FALSE(support.GetSimInfo());
  EXPECT_FALSE(support.Export(ContentUri::kContact, L"C:\\x.xml"));
  EXPECT_TRUE(support.AttachMembership(ContentUri::kMembership, {1}, 2, true)) << "answers true either way";
  EXPECT_TRUE(support.SearchContact(ContentUri::kContact, L"wei", 0)) << "answers true either way";
  std::string errors = Errors();
  for (const char* line :
       {"In CContactSupport::Insert() , Error:m_pContactProvider == NULL !",
        "In CContactSupport::QueryAll() , Error:m_pContactProvider == NULL !",
        "In CContactSupport::DeleteContactProvider() , Error:m_pContactProvider == NULL !",
        "In CContactSupport::GetSimInfo() , Error:m_pMSGHelper == NULL !",
        "In CContactSupport::Export() , Error:m_pExportHelper == NULL !",
        "In CContactSupport::AttachMembership() , Error:m_pContactProvider == NULL !",
        "In CContactSupport::SearchContact() , Error:m_pContactProvider == NULL !"})
    EXPECT_NE(errors.find(line), std::string::npos) << line;
}

}  // namespace
