// The plug-in as the host sees it: the DLL's exports and the application
// interface, loaded with LoadLibrary like the suite does.
#include <gtest/gtest.h>
#include "framework/GdiPlus.h"

#include <set>
#include <string>

#include "PeImage.h"
#include "TestSupport.h"
#include "VirtualSlots.h"
#include "frame/AppInterface.h"
#include "frame/resmodule/PimResIds.h"
#include "frame/suite/ResourceLibrary.h"

namespace {

using testing_support::CreateTestParent;
using testing_support::ProgramFolder;

class ApplicationTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    resources = ::LoadLibraryW((ProgramFolder() + L"\\PimRes.dll").c_str());
    plugin = ::LoadLibraryW((ProgramFolder() + L"\\PimPlugin.dll").c_str());
    ASSERT_NE(resources, nullptr);
    ASSERT_NE(plugin, nullptr);
    create = reinterpret_cast<CreateAppInterfaceFn>(reinterpret_cast<void*>(::GetProcAddress(plugin, PIM_CREATE_APP_INTERFACE)));
    destroy = reinterpret_cast<DestroyAppInterfaceFn>(reinterpret_cast<void*>(::GetProcAddress(plugin, PIM_DESTROY_APP_INTERFACE)));
  }
  void SetUp() override {
    ASSERT_TRUE(create && destroy);
    app = create(resources);
    ASSERT_NE(app, nullptr);
  }
  void TearDown() override {
    if (app) destroy(app);
    for (HWND parent : parents) ::DestroyWindow(parent);
  }
  HWND NewParent(const wchar_t* title = L"parent") {
    HWND parent = CreateTestParent(1100, 700, title);
    parents.push_back(parent);
    return parent;
  }
  static RECT ClientRectInParent(HWND window) {
    RECT rc;
    ::GetWindowRect(window, &rc);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }

  static inline HMODULE resources = nullptr;
  static inline HMODULE plugin = nullptr;
  static inline CreateAppInterfaceFn create = nullptr;
  static inline DestroyAppInterfaceFn destroy = nullptr;
  IApplication* app = nullptr;
  std::vector<HWND> parents;
};

TEST_F(ApplicationTest, TheDllExportsExactlyTheTwoEntryPoints) {
  EXPECT_EQ(pe_image::ExportedNames(plugin), (std::set<std::string>{"CreateAppInterface", "DestroyAppInterface"}));
}

TEST_F(ApplicationTest, PropertiesAreFixedFromConstruction) {
  std::wstring name;
  GetString(L"pim.app.name", name);
  EXPECT_EQ(app->GetViewUri(), L"view://CPimWnd");
  EXPECT_EQ(app->GetAppName(), name);
  EXPECT_EQ(app->GetAppTitle(), name);
  EXPECT_NE(&app->GetAppName(), &app->GetAppTitle()) << "two properties that hold the same text";
  EXPECT_EQ(app->GetAppParam(), 0u);
  EXPECT_FALSE(app->GetAppFlag());
  EXPECT_TRUE(app->ReservedTrueA());
  EXPECT_TRUE(app->ReservedTrueB());
  EXPECT_FALSE(app->ReservedFalseA());
  EXPECT_FALSE(app->ReservedFalseB());
  app->ReservedPair(1, 2);
  app->ReservedVoid();
}

TEST_F(ApplicationTest, MenuImagesAreNullUntilTheWindowIsMade) {
  Gdiplus::Image** images = app->GetMenuImages();
  ASSERT_NE(images, nullptr);
  for (int i = 0; i < kMenuImageCount; ++i) EXPECT_EQ(images[i], nullptr) << i;
  ASSERT_TRUE(app->Create(NewParent()));
  EXPECT_EQ(app->GetMenuImages(), images) << "the same block, now filled";
  for (int i = 0; i < kMenuImageCount; ++i) EXPECT_NE(images[i], nullptr) << i;
  EXPECT_EQ(images[2], images[3]) << "the pressed image serves twice";
  EXPECT_NE(images[0], images[1]);
}

TEST_F(ApplicationTest, CreateMakesAHiddenChildFromTheResourceModulesTemplate) {
  HWND parent = NewParent();
  HWND window = app->Create(parent);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(::GetParent(window), parent);
  EXPECT_FALSE(::IsWindowVisible(window));
  wchar_t text[16] = {};
  ::GetWindowTextW(window, text, 16);
  EXPECT_STREQ(text, L"pim");
  // A few controls of the template, one of each kind.
  struct { int id; const wchar_t* cls; } controls[] = {
      {IDC_CONTACT_GROUP_TREE, L"SysTreeView32"}, {IDC_MODULE_TAB, L"SysTabControl32"},
      {IDC_CONTACT_LIST, L"SysListView32"},       {IDC_CONTACT_SEARCH, L"Edit"},
      {IDC_CONTACT_NEW, L"Button"},               {IDC_BUSY_CONTACT, L"Static"}};
  for (const auto& control : controls) {
    HWND child = ::GetDlgItem(window, control.id);
    ASSERT_NE(child, nullptr) << control.id;
    wchar_t cls[64] = {};
    ::GetClassNameW(child, cls, 64);
    EXPECT_EQ(_wcsicmp(cls, control.cls), 0) << control.id;
  }
  // The system menu offers no Move: the host places the window.
  HMENU system = ::GetSystemMenu(window, FALSE);
  if (system) {
    EXPECT_EQ(::GetMenuState(system, SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1));
  }
}

// The toolbar's "new" button as the host shows it: its own picture, a glyph
// at the left of the face.
TEST_F(ApplicationTest, TheToolbarShowsItsPictures) {
  HWND window = app->Create(NewParent());
  HWND add = ::GetDlgItem(window, IDC_CONTACT_NEW);
  RECT rc;
  ::GetClientRect(add, &rc);
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, rc.right, rc.bottom);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  ::SendMessageW(add, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  int blue = 0;
  for (int x = 4; x < 30; ++x)
    for (int y = 4; y < rc.bottom - 4; ++y) {
      COLORREF c = ::GetPixel(dc, x, y);
      blue += GetBValue(c) > 180 && GetRValue(c) < 90 ? 1 : 0;  // the glyph's strong blue
    }
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  EXPECT_GT(blue, 20);
}

TEST_F(ApplicationTest, CreatingAgainReparentsTheSameWindow) {
  HWND first = NewParent(L"first");
  HWND second = NewParent(L"second");
  HWND window = app->Create(first);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(app->Create(second), window);
  EXPECT_EQ(::GetParent(window), second);
}

TEST_F(ApplicationTest, WithoutAParentTheHostsTopLevelWindowIsUsed) {
  HWND shell = NewParent(TAMIX_SHELL_TITLE);
  HWND window = app->Create(nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(::GetParent(window), shell);
}

TEST_F(ApplicationTest, HostInfoReparentsOnlyAnExistingWindow) {
  HWND first = NewParent(L"first");
  HWND second = NewParent(L"second");
  AppHostInfo info;
  info.parentWindow = AppHostInfo::FromWindow(second);
  app->SetHostInfo(info);  // no window yet: only stored
  HWND window = app->Create(first);
  EXPECT_EQ(::GetParent(window), first);
  app->SetHostInfo(info);
  EXPECT_EQ(::GetParent(window), second);
  info.parentWindow = 0;
  app->SetHostInfo(info);  // no parent given: stays where it is
  EXPECT_EQ(::GetParent(window), second);
}

TEST_F(ApplicationTest, MoveAndShowActOnTheWindow) {
  HWND window = app->Create(NewParent());
  EXPECT_TRUE(app->Move(RECT{96, 10, 96 + 959, 10 + 528}));
  RECT rc = ClientRectInParent(window);
  EXPECT_EQ(rc.left, 96);
  EXPECT_EQ(rc.top, 10);
  EXPECT_EQ(rc.right - rc.left, 959);
  EXPECT_EQ(rc.bottom - rc.top, 528);
  EXPECT_TRUE(app->Move(RECT{50, 10, 50, 300}));  // zero width
  rc = ClientRectInParent(window);
  EXPECT_EQ(rc.right - rc.left, 0);
  EXPECT_FALSE(app->ShowApp(SW_SHOW)) << "answers the earlier visibility";
  EXPECT_TRUE(app->ShowApp(SW_HIDE));
  EXPECT_FALSE(::IsWindowVisible(window));
}

TEST_F(ApplicationTest, DestroyEndsTheWindowAndCreateMakesANewOne) {
  HWND parent = NewParent();
  HWND window = app->Create(parent);
  app->Destroy();
  EXPECT_FALSE(::IsWindow(window));
  app->Destroy();  // no window: nothing to do
  HWND again = app->Create(parent);
  EXPECT_NE(again, nullptr);
  EXPECT_TRUE(::IsWindow(again));
}

TEST_F(ApplicationTest, DestroyAppInterfaceReleasesEverythingAndNullsThePointer) {
  HWND window = app->Create(NewParent());
  destroy(app);
  EXPECT_EQ(app, nullptr);
  EXPECT_FALSE(::IsWindow(window));
  IApplication* none = nullptr;
  destroy(none);  // tolerated
}

TEST_F(ApplicationTest, AResourceModuleWithoutTheTemplateFailsCreateAndLeavesTheObject) {
  destroy(app);
  app = create(::GetModuleHandleW(L"kernel32.dll"));
  ASSERT_NE(app, nullptr);
  HWND parent = NewParent();
  EXPECT_EQ(app->Create(parent), nullptr);
  EXPECT_EQ(app->Create(parent), nullptr) << "may be called again";
  EXPECT_EQ(app->GetViewUri(), L"view://CPimWnd");
  destroy(app);
  app = create(resources);  // the module is exchanged again
  EXPECT_NE(app->Create(parent), nullptr);
}

// The host calls the interface by slot: the order of the operations is part of
// the binary contract. Call a few through the table itself.
template <class R, class... Args>
R CallSlot(IApplication* app, int slot, Args... args) {
  using Fn = R (*)(IApplication*, Args...);
  void** table = *reinterpret_cast<void***>(app);
  return reinterpret_cast<Fn>(table[slot])(app, args...);
}

// Where the compiler puts each operation of the two interfaces: checked
// before any slot is called, so that a moved declaration fails here instead
// of running the wrong function on a live object.
void ExpectInterfaceSlots() {
  using testing_support::SlotOf;
  const int application[] = {
      SlotOf(&IApplication::GetViewUri),    SlotOf(&IApplication::GetAppName),
      SlotOf(&IApplication::GetAppTitle),   SlotOf(&IApplication::GetAppParam),
      SlotOf(&IApplication::GetMenuImages), SlotOf(&IApplication::SetHostInfo),
      SlotOf(&IApplication::SetAppHost),    SlotOf(&IApplication::ShowApp),
      SlotOf(&IApplication::GetAppFlag),    SlotOf(&IApplication::ReservedPair),
      SlotOf(&IApplication::ReservedVoid),  SlotOf(&IApplication::Create),
      SlotOf(&IApplication::Destroy),       SlotOf(&IApplication::Move),
      SlotOf(&IApplication::ReservedTrueA), SlotOf(&IApplication::ReservedTrueB),
      SlotOf(&IApplication::ReservedFalseA), SlotOf(&IApplication::ReservedFalseB)};
  for (int slot = 0; slot < static_cast<int>(std::size(application)); ++slot)
    EXPECT_EQ(application[slot], slot) << "operation " << slot << " of IApplication";
  const int host[] = {SlotOf(&IAppHost::GetHostWindow), SlotOf(&IAppHost::ActivateApp),
                      SlotOf(&IAppHost::ShowTrayTip), SlotOf(&IAppHost::SetRunningTask)};
  for (int slot = 0; slot < static_cast<int>(std::size(host)); ++slot)
    EXPECT_EQ(host[slot], slot) << "operation " << slot << " of IAppHost";
}

TEST_F(ApplicationTest, OperationsSitInTheirSlots) {
  ExpectInterfaceSlots();
  ASSERT_FALSE(HasFailure()) << "the interface's declarations moved; no slot is called";
  EXPECT_EQ(*CallSlot<const std::wstring*>(app, 0), L"view://CPimWnd");
  EXPECT_EQ(CallSlot<const std::wstring*>(app, 1), &app->GetAppName());
  EXPECT_EQ(CallSlot<const std::wstring*>(app, 2), &app->GetAppTitle());
  EXPECT_EQ(CallSlot<uint32_t>(app, 3), 0u);
  EXPECT_EQ(CallSlot<Gdiplus::Image**>(app, 4), app->GetMenuImages());
  EXPECT_FALSE(CallSlot<bool>(app, 8));
  HWND parent = NewParent();
  HWND window = CallSlot<HWND>(app, 11, parent);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(CallSlot<BOOL>(app, 7, SW_SHOW), FALSE);
  EXPECT_TRUE(::GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(CallSlot<bool>(app, 14));
  EXPECT_TRUE(CallSlot<bool>(app, 15));
  EXPECT_FALSE(CallSlot<bool>(app, 16));
  EXPECT_FALSE(CallSlot<bool>(app, 17));
  CallSlot<void>(app, 12);  // Destroy
  EXPECT_FALSE(::IsWindow(window));
}

}  // namespace
