// The connection library: device notices reach registered windows in order.
#include <gtest/gtest.h>

#include <vector>

#include "TestSupport.h"
#include "frame/suite/ConnectLibrary.h"
#include "framework/WindowImpl.h"

namespace {

class NoticeLog : public wf::CWindowImpl<NoticeLog> {
 public:
  std::vector<UINT> notices;
  BEGIN_MSG_MAP(NoticeLog)
    MESSAGE_RANGE_HANDLER(WM_DEVICE_CONNECTED, WM_DEVICE_DISCONNECTED, OnNotice)
  END_MSG_MAP()
  LRESULT OnNotice(UINT msg, WPARAM, LPARAM, BOOL&) {
    notices.push_back(msg);
    return 0;
  }
};

TEST(ConnectLibrary, RegisteredWindowsHearEachChangeOnceInOrder) {
  SetDeviceConnected(false);
  HWND parent = testing_support::CreateTestParent();
  NoticeLog a, b, unregistered, gone;
  for (NoticeLog* log : {&a, &b, &unregistered, &gone})
    ASSERT_TRUE(log->Create(parent, RECT{0, 0, 1, 1}, nullptr, WS_CHILD));
  EXPECT_TRUE(RegSoftConnectNotify(a));
  EXPECT_TRUE(RegSoftConnectNotify(a)) << "registering twice is harmless";
  EXPECT_TRUE(RegSoftConnectNotify(b));
  EXPECT_TRUE(RegSoftConnectNotify(gone));
  EXPECT_FALSE(RegSoftConnectNotify(nullptr));
  gone.DestroyWindow();

  SetDeviceConnected(true);
  SetDeviceConnected(true);  // no change: no notice
  EXPECT_TRUE(IsDeviceConnected());
  SetDeviceConnected(false);
  testing_support::PumpMessages();

  std::vector<UINT> expected{WM_DEVICE_CONNECTED, WM_DEVICE_DISCONNECTED};
  EXPECT_EQ(a.notices, expected);
  EXPECT_EQ(b.notices, expected);
  EXPECT_TRUE(unregistered.notices.empty());

  EXPECT_TRUE(UnregSoftConnectNotify(a));
  EXPECT_FALSE(UnregSoftConnectNotify(a));
  SetDeviceConnected(true);
  testing_support::PumpMessages();
  EXPECT_EQ(a.notices.size(), 2u);
  EXPECT_EQ(b.notices.size(), 3u);
  UnregSoftConnectNotify(b);
  ::DestroyWindow(parent);
}

}  // namespace
