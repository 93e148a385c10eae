// The message list's rows and the folder rules, without windows.
#include <gtest/gtest.h>

#include "message/MessageFolders.h"
#include "message/MessageRows.h"

using namespace Message;

namespace {

CSMSData At(ContentId id, const std::wstring& time, int32_t folder = kFolderInbox) {
  CSMSData m;
  m.m_id = id;
  m.m_time = time;
  m.m_folderId = folder;
  return m;
}

TEST(MessageRowsTest, StreamedBatchesShareOneHeaderAndRemovingTakesEmptyDaysAlong) {
  CMessageRows rows;
  CSMSData a = At(1, L"20260301T080000Z"), b = At(2, L"20260301T090000Z", kFolderSent), c = At(3, L"20260228T080000Z");
  EXPECT_EQ(rows.AppendStreamed(ContentList{&a, &b}, kFolderInbox), 1);
  EXPECT_EQ(rows.AppendStreamed(ContentList{&c}, kFolderInbox), 1);
  ASSERT_EQ(rows.RowCount(), 3);  // one header for the whole refresh
  EXPECT_TRUE(rows.At(0).header);

  CSMSData d = At(4, L"20260227T080000Z");
  rows.FillByDay(ContentList{&a, &c, &d});
  ASSERT_EQ(rows.RowCount(), 6);
  rows.SetRowCheck(1, true);
  rows.SetRowCheck(0, true);  // a header has no box
  EXPECT_EQ(rows.CheckedCount(), 1);
  EXPECT_EQ(rows.Remove(IdList{3, 99}), 1);
  ASSERT_EQ(rows.RowCount(), 4);
  EXPECT_EQ(rows.At(0).label, L"2026-03-01");
  EXPECT_EQ(rows.At(2).label, L"2026-02-27");
  EXPECT_EQ(rows.Remove(IdList{1, 4}), 2);
  EXPECT_EQ(rows.RowCount(), 0);
}

TEST(MessageRowsTest, TheActionColumnKeepsSixtyPixelsAndTheFractionsStayWhole) {
  for (int width : {200, 400, 600, 1200}) {
    auto fractions = MessageColumnFractions(width);
    double sum = 0;
    for (double f : fractions) sum += f;
    EXPECT_NEAR(sum, 1.0, 1e-9) << width;
    EXPECT_GE(fractions[kColumnAction] * width, 60 - 1e-9) << width;
    EXPECT_GE(fractions[kColumnBody], 0.0) << width;
  }
}

TEST(MessageFoldersTest, TheExchangeSortPutsGreaterKeysFirstAndCountsStopAtZero) {
  CFolder f[4];
  int keys[] = {5, 9, 5, 7};
  std::vector<CFolder*> folders;
  for (int i = 0; i < 4; ++i) {
    f[i].m_id = i;
    f[i].m_orderKey = keys[i];
    folders.push_back(&f[i]);
  }
  SortByOrderKey(folders);
  std::vector<int> ids;
  for (CFolder* folder : folders) ids.push_back(static_cast<int>(folder->m_id));
  // The exchange sort is not stable: the two folders of key 5 swap.
  EXPECT_EQ(ids, (std::vector<int>{1, 3, 2, 0}));

  CFolder inbox;
  inbox.m_total = 3;
  inbox.m_unread = 1;
  AdjustCounts(inbox, -5, -2, true);
  EXPECT_EQ(inbox.m_total, 0);
  EXPECT_EQ(inbox.m_unread, 0);
}

}  // namespace
