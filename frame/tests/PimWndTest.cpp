// The main window made from the resource module's template: its skinned
// controls, its modules and its layout when the host resizes it.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "frame/DialogTemplates.h"
#include "frame/PimWnd.h"
#include "framework/Gdi.h"
#include "framework/Module.h"

namespace {

using testing_support::ProgramFolder;

class PimWndTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    resources = ::LoadLibraryW((ProgramFolder() + L"\\PimRes.dll").c_str());
    ASSERT_NE(resources, nullptr);
  }
  void SetUp() override {
    wf::SetResourceInstance(resources);
    SetDialogTemplateInstance(resources);
    parent = testing_support::CreateTestParent(1200, 800);
    ::ShowWindow(parent, SW_SHOW);
    ASSERT_TRUE(window.Create(parent));
    window.ShowWindow(SW_SHOW);
    window.MoveWindow(0, 0, 959, 528);
  }
  void TearDown() override { ::DestroyWindow(parent); }
  RECT Rect(int id) {
    RECT rc;
    ::GetWindowRect(window.GetDlgItem(id), &rc);
    ::MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }
  bool Visible(int id) { return ::IsWindowVisible(window.GetDlgItem(id)) != FALSE; }

  static inline HMODULE resources = nullptr;
  HWND parent = nullptr;
  CPimWnd window;
};

TEST_F(PimWndTest, ToolbarButtonsCarryTheirOwnPicturesAndTexts) {
  CQsButton& add = window.Button(IDC_CONTACT_NEW);
  EXPECT_EQ(add.m_hWnd, window.GetDlgItem(IDC_CONTACT_NEW));
  EXPECT_EQ(add.ImageSourceMode(), CCtrlImageMgr::kOwnImages);
  ASSERT_NE(add.GetStateImage(qs::kButtonNormal), nullptr);
  EXPECT_EQ(add.GetStateImage(qs::kButtonNormal)->GetWidth(), 94u);
  EXPECT_FALSE(add.GetWindowText().empty());
  EXPECT_EQ(window.Button(IDC_MULTIDELETE_OK).ImageSourceMode(), CCtrlImageMgr::kSharedImages);
  RECT rc = add.GetClientRect();
  HDC screen = ::GetDC(nullptr);
  wf::MemoryCanvas canvas(screen, rc.right, rc.bottom);
  ::ReleaseDC(nullptr, screen);
  add.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
  int blue = 0;
  for (int x = 4; x < 30; ++x)
    for (int y = 4; y < rc.bottom - 4; ++y) {
      COLORREF c = canvas.GetPixelRef(x, y);
      blue += GetBValue(c) > 180 && GetRValue(c) < 90 ? 1 : 0;
    }
  EXPECT_GT(blue, 20) << "the glyph at the left of the picture";
  EXPECT_EQ(::GetWindowLongPtrW(add, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << "bound once, as a skinned button";

  EXPECT_FALSE(Visible(IDC_MULTIDELETE_OK));
}

TEST_F(PimWndTest, TheTabsShowOneModuleAtATime) {
  EXPECT_EQ(window.CurrentModule(), CPimWnd::kContacts);
  EXPECT_EQ(window.Tabs().SendMessage(TCM_GETITEMCOUNT), 3);
  EXPECT_TRUE(Visible(IDC_CONTACT_LIST));
  EXPECT_TRUE(Visible(IDC_CONTACT_NEW));
  EXPECT_FALSE(Visible(IDC_SMS_LIST));
  EXPECT_FALSE(Visible(IDC_SMS_SEARCH));
  // The host's click on the second tab.
  window.Tabs().SendMessage(TCM_SETCURSEL, 1);
  NMHDR header{window.Tabs(), IDC_MODULE_TAB, static_cast<UINT>(TCN_SELCHANGE)};
  window.SendMessage(WM_NOTIFY, IDC_MODULE_TAB, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(window.CurrentModule(), CPimWnd::kMessages);
  EXPECT_TRUE(Visible(IDC_SMS_LIST));
  EXPECT_TRUE(Visible(IDC_SMS_FOLDER_TREE));
  EXPECT_FALSE(Visible(IDC_SMS_CHAT_TREE));
  EXPECT_TRUE(Visible(IDC_SMS_MODE_CHAT));
  EXPECT_FALSE(Visible(IDC_CONTACT_LIST));
  EXPECT_FALSE(Visible(IDC_CONTACT_NEW));
  EXPECT_FALSE(Visible(IDC_CALENDAR_VIEW_MONTH));
  window.ShowModule(CPimWnd::kCalendar);
  EXPECT_EQ(window.Tabs().SendMessage(TCM_GETCURSEL), 2);
  EXPECT_TRUE(Visible(IDC_CALENDAR_VIEW_MONTH));
  EXPECT_TRUE(Visible(IDC_CALENDAR_SEARCH));
}

TEST_F(PimWndTest, GrowingTheWindowMovesAndStretchesWhatTheMapSays) {
  RECT search = Rect(IDC_CONTACT_SEARCH), month = Rect(IDC_CALENDAR_VIEW_MONTH), list = Rect(IDC_CONTACT_LIST);
  RECT tabs = Rect(IDC_MODULE_TAB), add = Rect(IDC_CONTACT_NEW), tree = Rect(IDC_CONTACT_GROUP_TREE);
  RECT footer = Rect(IDC_SIDE_FOOTER);
  EXPECT_EQ(search.left, 812);
  EXPECT_EQ(list.right - list.left, 772);
  window.MoveWindow(0, 0, 959 + 100, 528 + 50);
  EXPECT_EQ(Rect(IDC_CONTACT_SEARCH).left, search.left + 100);
  EXPECT_EQ(Rect(IDC_CALENDAR_VIEW_MONTH).left, month.left + 100);
  EXPECT_EQ(Rect(IDC_CONTACT_LIST).right - Rect(IDC_CONTACT_LIST).left, list.right - list.left + 100);
  EXPECT_EQ(Rect(IDC_CONTACT_LIST).bottom - Rect(IDC_CONTACT_LIST).top, list.bottom - list.top + 50);
  EXPECT_EQ(Rect(IDC_CONTACT_GROUP_TREE).bottom - Rect(IDC_CONTACT_GROUP_TREE).top, tree.bottom - tree.top + 50);
  EXPECT_EQ(Rect(IDC_CONTACT_GROUP_TREE).left, tree.left);
  EXPECT_EQ(Rect(IDC_MODULE_TAB).left, tabs.left);
  EXPECT_EQ(Rect(IDC_CONTACT_NEW).left, add.left);
  EXPECT_EQ(Rect(IDC_SIDE_FOOTER).top, footer.top + 50);
}

}  // namespace
