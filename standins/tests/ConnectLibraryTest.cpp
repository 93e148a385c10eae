// The connection library: device notices reach registered windows in order.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "TestSupport.h"
#include "standins/connect/ConnectControl.h"
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

// Windows never unregister, so a registration must end with its window even
// when the system gives the window's handle to a later window. The system
// accepts a handle without its upper word (the reuse count) as naming
// whichever window holds that slot now: registered that way, the handle
// behaves exactly like a reused one once the slot has a new window.
TEST(ConnectLibrary, AHandleReusedAfterItsWindowDiedIsNotRegistered) {
  SetDeviceConnected(false);
  HWND parent = testing_support::CreateTestParent();
  NoticeLog first;
  ASSERT_TRUE(first.Create(parent, RECT{0, 0, 1, 1}, nullptr, WS_CHILD));
  auto slotOf = [](HWND window) { return reinterpret_cast<UINT_PTR>(window) & 0xFFFF; };
  HWND slot = reinterpret_cast<HWND>(slotOf(first));
  ASSERT_TRUE(RegSoftConnectNotify(slot));
  first.DestroyWindow();

  std::vector<std::unique_ptr<NoticeLog>> later;
  NoticeLog* heir = nullptr;
  for (int i = 0; i < 64 && !heir; ++i) {
    later.push_back(std::make_unique<NoticeLog>());
    ASSERT_TRUE(later.back()->Create(parent, RECT{0, 0, 1, 1}, nullptr, WS_CHILD));
    if (slotOf(*later.back()) == reinterpret_cast<UINT_PTR>(slot)) heir = later.back().get();
  }
  if (!heir) {
    ::DestroyWindow(parent);
    GTEST_SKIP() << "no new window was given the freed handle slot";
  }
  ASSERT_TRUE(::IsWindow(slot)) << "the registered handle now names the new window";

  SetDeviceConnected(true);
  testing_support::PumpMessages();
  EXPECT_TRUE(heir->notices.empty()) << "a window that never registered was told of the handset";
  EXPECT_FALSE(UnregSoftConnectNotify(slot)) << "the dead registration is forgotten";
  SetDeviceConnected(false);
  ::DestroyWindow(parent);
}

}  // namespace
