// The main window's table of virtual functions as a module built apart from
// ours reaches it: the host-facing operations of CAppWindowBase in slots 0 to
// 16, then the window's own three operations. Every slot is called through the
// table of a real window and answers what the operation of that slot answers.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "VirtualSlots.h"
#include "frame/DialogTemplates.h"
#include "frame/PimWnd.h"
#include "framework/Module.h"

namespace {

using testing_support::CallSlot;
using testing_support::SlotOf;
using Base = CAppWindowBase<CPimWnd>;

// Reads the base's stored host pointer and flag, which no operation of the
// base returns.
struct BaseFields : Base {
  static constexpr IAppHost* Base::*kHost = &BaseFields::m_pHost;
  static constexpr bool Base::*kFlag = &BaseFields::m_flag;
};

// A host that is never called here.
class QuietHost : public IAppHost {
 public:
  HWND GetHostWindow() override { return nullptr; }
  void ActivateApp(const std::wstring&) override {}
  void ShowTrayTip(int32_t, const std::wstring&) override {}
  void SetRunningTask(const std::wstring&, bool) override {}
};

class WindowSlotsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    resources = ::LoadLibraryW((testing_support::ProgramFolder() + L"\\PimRes.dll").c_str());
    ASSERT_NE(resources, nullptr);
  }
  void SetUp() override {
    wf::SetResourceInstance(resources);
    SetDialogTemplateInstance(resources);
    first = testing_support::CreateTestParent(1000, 700, L"first");
    second = testing_support::CreateTestParent(1000, 700, L"second");
    ASSERT_TRUE(window.Create(first));
  }
  void TearDown() override {
    ::DestroyWindow(first);
    ::DestroyWindow(second);
  }

  static inline HMODULE resources = nullptr;
  HWND first = nullptr, second = nullptr;
  QuietHost host;
  CPimWnd window;
};

// Where g++ put each operation. The tests that call slots check this first:
// a slot that holds another operation (or a destructor) may take arguments
// that were never passed, so it is reported instead of called.
::testing::AssertionResult OperationsSitInTheAgreedSlots() {
  const struct {
    int slot, expected;
    const char* name;
  } slots[] = {
      {SlotOf(&Base::GetViewUri), 0, "GetViewUri"},       {SlotOf(&Base::GetAppName), 1, "GetAppName"},
      {SlotOf(&Base::GetAppTitle), 2, "GetAppTitle"},     {SlotOf(&Base::GetAppParam), 3, "GetAppParam"},
      {SlotOf(&Base::SetAppParam), 4, "SetAppParam"},     {SlotOf(&Base::GetMenuImages), 5, "GetMenuImages"},
      {SlotOf(&Base::SetAppHost), 6, "SetAppHost"},       {SlotOf(&Base::OnHostHookA), 7, "OnHostHookA"},
      {SlotOf(&Base::OnHostHookB), 8, "OnHostHookB"},     {SlotOf(&Base::OnHostHookC), 9, "OnHostHookC"},
      {SlotOf(&Base::OnHostHookD), 10, "OnHostHookD"},    {SlotOf(&Base::SetHostInfo), 11, "SetHostInfo"},
      {SlotOf(&Base::GetAppFlag), 12, "GetAppFlag"},      {SlotOf(&Base::OnHostPair), 13, "OnHostPair"},
      {SlotOf(&Base::OnHostHookE), 14, "OnHostHookE"},    {SlotOf(&Base::HostQueryA), 15, "HostQueryA"},
      {SlotOf(&Base::HostQueryB), 16, "HostQueryB"},      {SlotOf(&CPimWnd::OnModuleCommandA), 17, "OnModuleCommandA"},
      {SlotOf(&CPimWnd::OnModuleCommandB), 18, "OnModuleCommandB"},
      {SlotOf(&CPimWnd::OnModuleCommandC), 19, "OnModuleCommandC"},
  };
  std::string misplaced;
  for (const auto& s : slots)
    if (s.slot != s.expected)
      misplaced += std::string(s.name) + " in slot " + std::to_string(s.slot) + " instead of " +
                   std::to_string(s.expected) + "; ";
  if (misplaced.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << misplaced;
}

TEST_F(WindowSlotsTest, TheHostFacingOperationsAnswerThroughTheirSlots) {
  ASSERT_TRUE(OperationsSitInTheAgreedSlots());
  CPimWnd* w = &window;
  const std::wstring* viewUri = CallSlot<const std::wstring*>(w, 0);
  EXPECT_EQ(viewUri, &window.GetViewUri());
  EXPECT_EQ(*viewUri, L"view://CPimWnd");
  EXPECT_EQ(CallSlot<const std::wstring*>(w, 1), &window.GetAppName());
  EXPECT_EQ(CallSlot<const std::wstring*>(w, 2), &window.GetAppTitle());
  EXPECT_NE(CallSlot<const std::wstring*>(w, 1), CallSlot<const std::wstring*>(w, 2)) << "name and title";

  EXPECT_EQ(CallSlot<uint32_t>(w, 3), 0u);
  EXPECT_EQ(CallSlot<int>(w, 4, 0x1234u), 0);
  EXPECT_EQ(window.GetAppParam(), 0x1234u);
  EXPECT_EQ(CallSlot<uint32_t>(w, 3), 0x1234u);

  Gdiplus::Image** images = CallSlot<Gdiplus::Image**>(w, 5);
  ASSERT_EQ(images, window.GetMenuImages());
  EXPECT_NE(images[0], nullptr) << "loaded by the window's initialisation";

  CallSlot<void>(w, 6, static_cast<IAppHost*>(&host));
  EXPECT_EQ(window.*BaseFields::kHost, &host);

  // The hooks do nothing: the state set above stays.
  AppPair pair{3, 4};
  CallSlot<void>(w, 7, 1u);
  CallSlot<void>(w, 8, 2u);
  CallSlot<void>(w, 9);
  CallSlot<void>(w, 10);
  CallSlot<void>(w, 13, &pair);
  CallSlot<void>(w, 14);
  EXPECT_EQ(window.GetAppParam(), 0x1234u);
  EXPECT_EQ(window.*BaseFields::kHost, &host);

  ASSERT_EQ(::GetParent(window), first);
  AppHostInfo info;
  info.parentWindow = AppHostInfo::FromWindow(second);
  CallSlot<void>(w, 11, info);
  EXPECT_EQ(::GetParent(window), second) << "the host record re-parents the window";

  // The flag is the only one of the three that follows the stored value.
  window.*BaseFields::kFlag = true;
  EXPECT_TRUE(CallSlot<bool>(w, 12));
  EXPECT_FALSE(CallSlot<bool>(w, 15));
  EXPECT_FALSE(CallSlot<bool>(w, 16));
  window.*BaseFields::kFlag = false;
  EXPECT_FALSE(CallSlot<bool>(w, 12));
}

TEST_F(WindowSlotsTest, TheWindowsOwnOperationsFollowAndAnswerTrue) {
  ASSERT_TRUE(OperationsSitInTheAgreedSlots());
  for (int slot = 17; slot <= 19; ++slot) EXPECT_TRUE(CallSlot<bool>(&window, slot, 1u, 2u, 3u, 4u)) << slot;
  EXPECT_TRUE(::IsWindow(window)) << "the window lives on";
}

}  // namespace
