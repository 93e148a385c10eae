// The main window made from the resource module's template: its skinned
// controls, its modules and its layout when the host resizes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "TestSupport.h"
#include "frame/DialogTemplates.h"
#include "frame/PimWnd.h"
#include "frame/suite/ResourceLibrary.h"
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
  EXPECT_FALSE(Visible(IDC_CALENDAR_LIST)) << "the template shows every list; only the contacts' stays";
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

TEST_F(PimWndTest, SideTreesWriteInTheSecondFontWithTheirMarksInTheSecondColour) {
  // Rows of our own in the conversation tree, which nothing fills while the
  // messages module shows its folders.
  HWND tree = window.GetDlgItem(IDC_SMS_FOLDER_TREE);
  ::SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  ::SetWindowPos(tree, nullptr, 0, 0, 186, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const wchar_t* label = L"Colleagues(40)";
  auto add = [&](HTREEITEM parent, const wchar_t* text) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(text);
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  };
  HTREEITEM group = add(TVI_ROOT, label);
  add(group, L"x");
  ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, 0);  // no row selected: every row draws the same way
  union {
    RECT rect;
    HTREEITEM item;
  } text{};
  text.item = group;
  ASSERT_TRUE(::SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text.rect)));
  EXPECT_EQ(::SendMessageW(tree, TVM_GETITEMHEIGHT, 0, 0), 30) << "rows as tall as their images";
  HDC screen = ::GetDC(nullptr);
  wf::MemoryCanvas canvas(screen, 186, 200);
  ::ReleaseDC(nullptr, screen);
  ::SendMessageW(tree, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT | PRF_ERASEBKGND);

  // The text's ink is as wide as the label written in the second font, not the first.
  auto inkWidth = [](const wf::MemoryCanvas& c, const RECT& area) {
    int left = c.width(), right = -1;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) {
        COLORREF p = c.GetPixelRef(x, y);
        if (GetRValue(p) < 0x70 && GetGValue(p) < 0x80) left = std::min(left, x), right = std::max(right, x);
      }
    return right - left + 1;
  };
  auto written = [&](const wchar_t* key) {
    std::wstring face;
    double points = 0;
    int32_t style = 0;
    EXPECT_TRUE(GetFontEx(key, face, points, style));
    wf::MemoryCanvas sample(canvas.dc(), 186, 30);
    RECT all{0, 0, 186, 30};
    ::FillRect(sample.dc(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    wf::ScopedFont font(MakeFont(face, points, style));
    wf::ScopedSelect select(sample.dc(), font);
    ::SetTextColor(sample.dc(), RGB(0x1F, 0x3A, 0x5F));
    ::SetBkMode(sample.dc(), TRANSPARENT);
    ::DrawTextW(sample.dc(), label, -1, &all, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    return inkWidth(sample, all);
  };
  int ink = inkWidth(canvas, RECT{text.rect.left, text.rect.top, 186, text.rect.bottom});
  int second = written(L"tamix_font_gditwo"), first = written(L"tamix_font_gdione");
  ASSERT_NE(second, first) << "the label tells the two fonts apart";
  EXPECT_EQ(ink, second) << "gdione would be " << first;

  // The expand mark left of the text is drawn in the tree's second colour.
  BYTE a = 0, r = 0, g = 0, b = 0;
  ASSERT_TRUE(GetColorARGB(L"tamix_color_five", a, r, g, b));
  int mark = 0;
  for (int y = text.rect.top; y < text.rect.bottom; ++y)
    for (int x = std::max(0, static_cast<int>(text.rect.left) - 20); x < text.rect.left - 2; ++x) {
      COLORREF c = canvas.GetPixelRef(x, y);
      mark += std::abs(GetRValue(c) - r) < 12 && std::abs(GetGValue(c) - g) < 12 && std::abs(GetBValue(c) - b) < 12;
    }
  EXPECT_GT(mark, 2) << "the expand mark";
}

}  // namespace
