// CQsObjectView: label/value rows placed one under the other, values wrapped
// in their column, rows of rows indented; painted over the parent's background.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "TestSupport.h"
#include "controls/ObjectView.h"
#include "controls/SkinMessages.h"
#include "framework/Gdi.h"

using testing_support::CreateTestParent;

namespace {

// 5 pixels a character, 10 a line: enough to see where wrapping happens.
int FakeMeasure(const std::wstring& text, int width, bool) {
  const int perLine = std::max(1, width / 5);
  const int lines = std::max<int>(1, (static_cast<int>(text.size()) + perLine - 1) / perLine);
  return lines * 10;
}

TEST(ObjectViewLayout, RowsStackAndLongValuesTakeMoreLines) {
  std::vector<std::unique_ptr<CListTreeItem>> rows;
  rows.push_back(std::make_unique<CListTreeItem>(CItemInfo(L"Time", L"2026-03-07(Saturday) 09:00-10:00")));
  rows.push_back(std::make_unique<CListTreeItem>(CItemInfo(L"Remark", std::wstring(100, L'x'))));
  rows.back()->AddChild(CItemInfo(L"Note", L"y"));
  rows.push_back(std::make_unique<CListTreeItem>(CItemInfo(L"Place", L"")));

  objview::ViewMetrics m;  // label 72, indent 12, padding 8, gap 8, row gap 6
  const auto layout = objview::LayoutRows(rows, 300, m, FakeMeasure);
  ASSERT_EQ(layout.size(), 4u);

  // The value column runs from after the label column to the right padding.
  EXPECT_EQ(layout[0].label.left, 8);
  EXPECT_EQ(layout[0].label.right, 80);
  EXPECT_EQ(layout[0].value.left, 88);
  EXPECT_EQ(layout[0].value.right, 292);
  EXPECT_EQ(layout[0].label.top, 8);
  EXPECT_EQ(layout[0].value.bottom, 18);

  // 100 characters in 204 pixels: three lines.
  EXPECT_EQ(layout[1].value.top, 24);
  EXPECT_EQ(layout[1].value.bottom, 54);
  EXPECT_EQ(layout[1].label.bottom, 54);  // the label cell is as tall as its row

  // A row's own row follows it, indented in the label column only.
  EXPECT_EQ(layout[2].item->GetItemInfo().GetLabel(), L"Note");
  EXPECT_EQ(layout[2].item->GetLevel(), 1);
  EXPECT_EQ(layout[2].label.left, 20);
  EXPECT_EQ(layout[2].label.right, 80);
  EXPECT_EQ(layout[2].value.left, 88);
  EXPECT_EQ(layout[2].label.top, 60);

  // An empty value still takes a line.
  EXPECT_EQ(layout[3].value.bottom - layout[3].value.top, 10);
}

TEST(ObjectViewLayout, AVeryNarrowViewKeepsColumnsInOrder) {
  std::vector<std::unique_ptr<CListTreeItem>> rows;
  rows.push_back(std::make_unique<CListTreeItem>(CItemInfo(L"Time", L"now")));
  const auto layout = objview::LayoutRows(rows, 50, objview::ViewMetrics{}, FakeMeasure);
  ASSERT_EQ(layout.size(), 1u);
  EXPECT_GE(layout[0].value.left, layout[0].label.right);
  EXPECT_GE(layout[0].value.right, layout[0].value.left);
}

constexpr COLORREF kParentColour = RGB(10, 120, 200);

// A skinned parent paints the background under its child on request.
LRESULT CALLBACK PaintingParent(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (msg == WM_QS_PAINTBACKGROUND) {
    HWND child = reinterpret_cast<HWND>(lParam);
    RECT rc;
    ::GetClientRect(child, &rc);
    HBRUSH brush = ::CreateSolidBrush(kParentColour);
    ::FillRect(reinterpret_cast<HDC>(wParam), &rc, brush);
    ::DeleteObject(brush);
    return TRUE;
  }
  return ::DefSubclassProc(hWnd, msg, wParam, lParam);
}

class ObjectViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = CreateTestParent(600, 400);
    ::SetWindowSubclass(parent, &PaintingParent, 1, 0);
    ASSERT_TRUE(view.Create(parent, RECT{10, 10, 330, 250}, 0x500));
    view.SetFont(CQsObjectView::Role::Label, L"Tahoma", 9, 0);
    view.SetFont(CQsObjectView::Role::Value, L"Tahoma", 9, 0);
    view.SetLineColor(CLR_NONE);
    view.InsertItem(L"Time", L"2026-03-07(Saturday) 09:00-10:00");
    view.InsertItem(L"Place", L"Room 4");
    view.InsertItem(L"Remark", L"Bring the quarterly figures and the printed minutes of the last two meetings, "
                               L"and ask about the budget for next year");
  }
  void TearDown() override { ::DestroyWindow(parent); }

  HWND parent = nullptr;
  CQsObjectView view;
};

TEST_F(ObjectViewTest, ANarrowerViewWrapsValuesOntoMoreLines) {
  const int wide = view.GetContentHeight(600);
  const int narrow = view.GetContentHeight(200);
  EXPECT_GT(wide, 0);
  EXPECT_GT(narrow, wide);
  view.DeleteAllItems();
  EXPECT_EQ(view.GetItemCount(), 0u);
  EXPECT_EQ(view.GetContentHeight(200), 0);
}

TEST_F(ObjectViewTest, PaintsOverTheParentsBackgroundAndKeepsValuesInTheirColumn) {
  const RECT client = view.GetClientRect();
  wf::MemoryCanvas canvas(nullptr, client.right, client.bottom);
  ::SendMessageW(view, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);

  // Below the rows the parent's background shows.
  EXPECT_EQ(canvas.GetPixelRef(client.right - 2, client.bottom - 2), kParentColour);

  const auto layout = view.Layout(canvas.dc(), client.right);
  ASSERT_EQ(layout.size(), 3u);
  const RECT remark = layout[2].value;
  auto inkIn = [&](const RECT& rc) {
    int ink = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
      for (int x = rc.left; x < rc.right; ++x)
        if (canvas.GetPixelRef(x, y) != kParentColour) ++ink;
    return ink;
  };
  // The long remark needs several lines, and they are drawn...
  const int lineHeight = layout[1].value.bottom - layout[1].value.top;
  ASSERT_GT(remark.bottom - remark.top, 2 * lineHeight);
  EXPECT_GT(inkIn(RECT{remark.left, remark.bottom - lineHeight, remark.right, remark.bottom}), 0);
  // ...without running into the right margin or into the label column.
  EXPECT_EQ(inkIn(RECT{remark.right, remark.top, client.right, remark.bottom}), 0);
  EXPECT_EQ(inkIn(RECT{layout[2].label.right, remark.top, remark.left, remark.bottom}), 0);
  // The label is drawn in its own column.
  EXPECT_GT(inkIn(layout[2].label), 0);
}

}  // namespace
