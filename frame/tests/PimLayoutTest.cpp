// The main window's layout map on the real template 137 of PimRes.dll: what
// moves and what stretches when the host makes the window larger.
#include <gtest/gtest.h>

#include <map>

#include "LayoutTestSupport.h"
#include "TestSupport.h"
#include "frame/DialogLayout.h"
#include "frame/DialogTemplates.h"
#include "frame/PimLayout.h"
#include "frame/resmodule/PimResIds.h"
#include "framework/DialogImpl.h"

namespace {

RECT Xywh(int x, int y, int width, int height) { return RECT{x, y, x + width, y + height}; }
RECT Moved(RECT rc, int left, int top, int right, int bottom) {
  return RECT{rc.left + left, rc.top + top, rc.right + right, rc.bottom + bottom};
}

// The main window's template with nothing but its layout.
class MainLayoutDialog : public wf::CDialogImpl<MainLayoutDialog>, public CDialogLayout<MainLayoutDialog> {
 public:
  enum { IDD = IDD_PIM_MAIN };
  bool mapComplete = false;
  BEGIN_MSG_MAP(MainLayoutDialog)
    CHAIN_MSG_MAP(CDialogLayout<MainLayoutDialog>)
  END_MSG_MAP()
  void DefineLayout() { mapComplete = DefinePimLayout(*this); }
};

constexpr UINT kSearchFields[] = {IDC_CONTACT_SEARCH, IDC_SMS_SEARCH, IDC_CALENDAR_SEARCH};
constexpr UINT kViewButtons[] = {IDC_CALENDAR_VIEW_LIST, IDC_CALENDAR_VIEW_DAY, IDC_CALENDAR_VIEW_WEEK,
                                 IDC_CALENDAR_VIEW_MONTH, IDC_SMS_MODE_LIST, IDC_SMS_MODE_CHAT};
constexpr UINT kLists[] = {IDC_CONTACT_LIST, IDC_SMS_LIST, IDC_CALENDAR_LIST, IDC_CALENDAR_VIEW_AREA};
constexpr UINT kTrees[] = {IDC_CONTACT_GROUP_TREE, IDC_SMS_FOLDER_TREE, IDC_SMS_CHAT_TREE};
constexpr UINT kStaying[] = {IDC_MODULE_TAB,   IDC_CONTACT_NEW,    IDC_SMS_NEW,      IDC_CALENDAR_NEW,
                             IDC_SMS_IMPORT,   IDC_CONTACT_REFRESH, IDC_MULTIDELETE_OK, IDC_BUSY_CONTACT};

class PimLayoutTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    resources = ::LoadLibraryW((testing_support::ProgramFolder() + L"\\PimRes.dll").c_str());
  }
  void SetUp() override {
    ASSERT_NE(resources, nullptr);
    SetDialogTemplateInstance(resources);
    parent = testing_support::CreateTestParent(1300, 900);
    ASSERT_TRUE(dialog.Create(parent, 0, resources));
    design = dialog.GetClientRect();
    for (const DialogTemplateItem& item : dialog.GetLayoutTemplate().GetItems()) before[item.id] = Rect(item.id);
  }
  void TearDown() override {
    dialog.DestroyWindow();
    ::DestroyWindow(parent);
    SetDialogTemplateInstance(nullptr);
  }
  RECT Rect(UINT id) const {
    RECT rc;
    ::GetWindowRect(dialog.GetDlgItem(static_cast<int>(id)), &rc);
    ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }
  void Grow(int dx, int dy) {
    ::SetWindowPos(dialog, nullptr, 0, 0, design.right + dx, design.bottom + dy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  static inline HMODULE resources = nullptr;
  HWND parent = nullptr;
  MainLayoutDialog dialog;
  RECT design{};
  std::map<UINT, RECT> before;
};

TEST_F(PimLayoutTest, AtTheDesignSizeEveryControlIsWhereTheMapPutsIt) {
  EXPECT_TRUE(dialog.mapComplete);
  EXPECT_EQ(design, (RECT{0, 0, 959, 528}));
  for (UINT id : kTrees) EXPECT_EQ(before[id], Xywh(1, 36, 186, 492)) << id;
  for (UINT id : kLists) EXPECT_EQ(before[id], Xywh(187, 36, 772, 492)) << id;
  for (UINT id : kSearchFields) EXPECT_EQ(before[id], Xywh(812, 3, 138, 30)) << id;
  EXPECT_EQ(before[IDC_MODULE_TAB], Xywh(1, 0, 186, 36));
  EXPECT_EQ(before[IDC_CONTACT_NEW], Xywh(191, 3, 94, 31));
  EXPECT_EQ(before[IDC_CALENDAR_VIEW_DAY], Xywh(763, 6, 38, 27));
  EXPECT_EQ(before[IDC_BUSY_CALENDAR], Xywh(485, 6, 22, 22));
  EXPECT_EQ(before[IDC_SIDE_FOOTER], Xywh(1, 480, 187, 46));
}

TEST_F(PimLayoutTest, GrowingInWidthMovesTheSearchAndViewButtonsAndWidensTheLists) {
  Grow(100, 0);
  for (UINT id : kSearchFields) EXPECT_EQ(Rect(id), Moved(before[id], 100, 0, 100, 0)) << id;
  for (UINT id : kViewButtons) EXPECT_EQ(Rect(id), Moved(before[id], 100, 0, 100, 0)) << id;
  for (UINT id : kLists) EXPECT_EQ(Rect(id), Moved(before[id], 0, 0, 100, 0)) << id;
  for (UINT id : kTrees) EXPECT_EQ(Rect(id), before[id]) << id;
  for (UINT id : kStaying) EXPECT_EQ(Rect(id), before[id]) << id;
  EXPECT_EQ(Rect(IDC_SIDE_FOOTER), before[IDC_SIDE_FOOTER]);
}

TEST_F(PimLayoutTest, GrowingInHeightLengthensTheTreesAndListsAndMovesTheFooterDown) {
  Grow(0, 50);
  for (UINT id : kTrees) EXPECT_EQ(Rect(id), Moved(before[id], 0, 0, 0, 50)) << id;
  for (UINT id : kLists) EXPECT_EQ(Rect(id), Moved(before[id], 0, 0, 0, 50)) << id;
  EXPECT_EQ(Rect(IDC_SIDE_FOOTER), Moved(before[IDC_SIDE_FOOTER], 0, 50, 0, 50));
  for (UINT id : kSearchFields) EXPECT_EQ(Rect(id), before[id]) << id;  // the toolbar keeps its height
  for (UINT id : kStaying) EXPECT_EQ(Rect(id), before[id]) << id;

  const RECT footer = Rect(IDC_SIDE_FOOTER);
  HWND footerWindow = dialog.GetDlgItem(IDC_SIDE_FOOTER);
  EXPECT_EQ(::GetPropW(footerWindow, kLayoutPropTopLeft), PackedPoint(footer.left, footer.top));
  EXPECT_EQ(::GetPropW(footerWindow, kLayoutPropBottomRight), PackedPoint(footer.right, footer.bottom));
}

}  // namespace
