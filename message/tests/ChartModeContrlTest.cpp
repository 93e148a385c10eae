// The bubble control as a window: what it paints (pixels whose colours are
// fixed), what clicks select and tell the parent, and how it scrolls.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "TestSupport.h"
#include "framework/Gdi.h"
#include "message/ChartModeContrl.h"

namespace {

constexpr UINT kBubblesId = 80001;

struct Notice {
  UINT_PTR id;
  UINT code;
  int item;
  int action;
};

// The parent records the control's notifications.
LRESULT CALLBACK RecordNotices(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  if (msg == WM_NOTIFY) {
    const auto* n = reinterpret_cast<const NMQSCHATITEM*>(lParam);
    reinterpret_cast<std::vector<Notice>*>(data)->push_back(Notice{n->hdr.idFrom, n->hdr.code, n->iItem, n->iAction});
    return 0;
  }
  return ::DefSubclassProc(hWnd, msg, wParam, lParam);
}

chat::BubbleItem Item(std::wstring text, int side, std::wstring party = L"") {
  chat::BubbleItem item;
  item.text = std::move(text);
  item.time = L"2024-01-31 23:59:59";
  item.party = std::move(party);
  item.side = side;
  return item;
}

std::vector<chat::BubbleItem> ManyItems(int count) {
  std::vector<chat::BubbleItem> items;
  for (int i = 0; i < count; ++i)
    items.push_back(Item(std::wstring(static_cast<size_t>(5 + (i * 53) % 400), L'a' + i % 26),
                         i % 2 ? chat::kSideRight : chat::kSideLeft));
  return items;
}

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

class ChartModeContrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = testing_support::CreateTestParent(700, 500);
    ::SetWindowSubclass(parent, &RecordNotices, 1, reinterpret_cast<DWORD_PTR>(&notices));
    ::ShowWindow(parent, SW_SHOW);
    ASSERT_TRUE(bubbles.Create(parent, RECT{10, 10, 410, 310}, kBubblesId));
  }
  void TearDown() override {
    ::RemoveWindowSubclass(parent, &RecordNotices, 1);
    ::DestroyWindow(parent);
  }
  // What the control paints now, through the platform's print request.
  std::unique_ptr<wf::MemoryCanvas> Print() {
    const RECT client = bubbles.GetClientRect();
    HDC screen = ::GetDC(nullptr);
    auto canvas = std::make_unique<wf::MemoryCanvas>(screen, client.right, client.bottom);
    ::ReleaseDC(nullptr, screen);
    bubbles.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT);
    return canvas;
  }
  chat::BubbleGeometry Geometry(int index) {
    chat::BubbleGeometry g;
    EXPECT_TRUE(bubbles.GetItemGeometry(index, g));
    return g;
  }

  HWND parent = nullptr;
  CQsChartModeContrl bubbles;
  std::vector<Notice> notices;
};

// Channels within `step` of each other: a gradient's rows step between its ends.
bool Near(COLORREF a, COLORREF b, int step) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= step && std::abs(GetGValue(a) - GetGValue(b)) <= step &&
         std::abs(GetBValue(a) - GetBValue(b)) <= step;
}

TEST_F(ChartModeContrlTest, PaintsTheBackgroundEachSidesGradientAndTheSelectionBox) {
  bubbles.SetItems({Item(L"Are you coming tonight?", chat::kSideLeft, L"Wang Fang"),
                    Item(L"Yes, at seven.", chat::kSideRight)},
                   false);
  bubbles.SetSelectedIndex(1);
  const auto canvas = Print();
  const chat::BubbleGeometry left = Geometry(0), right = Geometry(1);
  const int width = canvas->width();

  EXPECT_EQ(canvas->GetPixelRef(width / 2, canvas->height() - 3), RGB(0xFE, 0xFE, 0xFE)) << "background below the items";

  // Inside the inner rounded rectangle (2 px in from the bubble's edge), left
  // of the text: the top row has the top colour, the last row nearly the bottom one.
  const int x = left.bubble.left + 6;
  EXPECT_EQ(canvas->GetPixelRef(x, left.bubble.top + 2), RGB(0xDD, 0xEA, 0xF7));
  EXPECT_TRUE(Near(canvas->GetPixelRef(x, left.bubble.bottom - 3), RGB(0xE0, 0xE9, 0xF3), 1));
  const int rx = right.bubble.left + 6;
  const int rightRows = right.bubble.bottom - right.bubble.top - 4;
  EXPECT_EQ(canvas->GetPixelRef(rx, right.bubble.top + 2), RGB(0xFF, 0xFF, 0xFF));
  const COLORREF rightLast = canvas->GetPixelRef(rx, right.bubble.bottom - 3);
  EXPECT_TRUE(Near(rightLast, RGB(0x9F, 0xB7, 0xCE), 0x60 / rightRows + 1)) << std::hex << rightLast;
  const COLORREF rightMiddle = canvas->GetPixelRef(rx, (right.bubble.top + right.bubble.bottom) / 2);
  EXPECT_LT(GetRValue(rightMiddle), 0xFF);
  EXPECT_GT(GetRValue(rightMiddle), 0x9F) << "between the two ends";

  // The selected item sits on a framed box from 2 px above its top; the other
  // item does not.
  EXPECT_EQ(canvas->GetPixelRef(width / 2, right.top + 3), RGB(0xCC, 0xDA, 0xE7));
  EXPECT_EQ(canvas->GetPixelRef(width / 2, right.top - 2), RGB(0x8F, 0xC4, 0xF6)) << "the box's frame";
  EXPECT_EQ(canvas->GetPixelRef(0, right.top + 3), RGB(0x8F, 0xC4, 0xF6));
  EXPECT_EQ(canvas->GetPixelRef(width - 10, left.top + 3), RGB(0xFE, 0xFE, 0xFE));

  // Some text was drawn inside each bubble, darker than either gradient.
  auto inkIn = [&](const RECT& rc) {
    int ink = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
      for (int px = rc.left; px < rc.right; ++px) ink += GetGValue(canvas->GetPixelRef(px, y)) < 0x80 ? 1 : 0;
    return ink;
  };
  EXPECT_GT(inkIn(left.text), 10);
  EXPECT_GT(inkIn(right.text), 10);
  EXPECT_GT(inkIn(left.heading), 10) << "the party and the time beside the bubble";
}

TEST_F(ChartModeContrlTest, AClickSelectsAndAClickInAnActionAreaTellsTheParent) {
  bubbles.SetItems({Item(L"first", chat::kSideLeft), Item(L"second message", chat::kSideRight)}, false);
  const chat::BubbleGeometry right = Geometry(1);
  const int middle = (right.bubble.top + right.bubble.bottom) / 2;
  ::SetFocus(parent);

  bubbles.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At((right.bubble.left + right.bubble.right) / 2, middle));
  EXPECT_EQ(bubbles.GetSelectedIndex(), 1);
  EXPECT_TRUE(notices.empty()) << "the middle of a bubble is no action area";
  EXPECT_EQ(::GetFocus(), bubbles.m_hWnd);

  bubbles.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(right.bubble.right + 10, middle));
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, 9232u);
  EXPECT_EQ(notices[0].id, kBubblesId);
  EXPECT_EQ(notices[0].item, 1);
  EXPECT_EQ(notices[0].action, 1);

  const chat::BubbleGeometry left = Geometry(0);
  bubbles.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(200, left.box.bottom + 5));
  EXPECT_EQ(bubbles.GetSelectedIndex(), -1) << "a click between the items selects none";

  bubbles.SetReadOnly(true);
  ::SetFocus(parent);
  bubbles.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(left.bubble.left + 20, left.bubble.top + 12));
  EXPECT_EQ(bubbles.GetSelectedIndex(), 0);
  EXPECT_EQ(::GetFocus(), parent) << "a read-only control leaves the focus where it was";
}

TEST_F(ChartModeContrlTest, ItOpensAtTheNewestAndScrollsBySixteenPixelUnits) {
  bubbles.SetItems(ManyItems(200));
  const int height = bubbles.GetClientRect().bottom;
  const int end = bubbles.GetContentHeight() - height;
  EXPECT_EQ(bubbles.GetScrollTop(), end);
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  ::GetScrollInfo(bubbles, SB_VERT, &info);
  EXPECT_EQ(info.nPos, info.nMax - static_cast<int>(info.nPage) + 1) << "the thumb at the end";
  EXPECT_EQ(info.nPage, static_cast<UINT>(height / 16));

  // What was seen moves by whole units, however the bubbles that come into
  // view correct the scroll range above it.
  auto newestOnScreen = [&] { return bubbles.Layout().ItemTop(199) - bubbles.GetScrollTop(); };
  const int newest = newestOnScreen();
  bubbles.SendMessage(WM_VSCROLL, SB_LINEUP);
  EXPECT_EQ(newestOnScreen(), newest + 16);
  UINT lines = 3;
  ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  bubbles.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(newestOnScreen(), newest + 16 + static_cast<int>(lines) * 16);
  bubbles.SendMessage(WM_KEYDOWN, VK_HOME);
  EXPECT_EQ(bubbles.GetScrollTop(), 0);
  bubbles.SendMessage(WM_KEYDOWN, VK_NEXT);
  EXPECT_EQ(bubbles.GetScrollTop(), height);
  ::GetScrollInfo(bubbles, SB_VERT, &info);
  EXPECT_EQ(info.nPos, height / 16);
  bubbles.SendMessage(WM_KEYDOWN, VK_END);
  EXPECT_EQ(bubbles.GetScrollTop(), bubbles.GetContentHeight() - height);
}

TEST_F(ChartModeContrlTest, TenThousandBubblesAreMeasuredOnlyAsTheyComeIntoView) {
  bubbles.SetItems(ManyItems(10000));
  const chat::CChatLayout& layout = bubbles.Layout();
  EXPECT_LT(layout.MeasuredCount(), 40) << "opening measures a screenful, not the conversation";
  EXPECT_TRUE(layout.IsMeasured(9999));
  EXPECT_FALSE(layout.IsMeasured(0));
  bubbles.SendMessage(WM_VSCROLL, SB_TOP);
  EXPECT_TRUE(layout.IsMeasured(0));
  EXPECT_EQ(bubbles.GetScrollTop(), 0);

  // A width change measures what is in view again, and keeps it in view.
  bubbles.SendMessage(WM_KEYDOWN, VK_END);
  bubbles.MoveWindow(10, 10, 300, 260);
  const int height = bubbles.GetClientRect().bottom;
  EXPECT_EQ(bubbles.GetScrollTop(), bubbles.GetContentHeight() - height) << "still at the newest";
  int first = 0, last = 0;
  ASSERT_TRUE(layout.VisibleRange(bubbles.GetScrollTop(), height, first, last));
  for (int i = first; i <= last; ++i) EXPECT_TRUE(layout.IsMeasured(i)) << i;
  EXPECT_LT(layout.MeasuredCount(), 40);
}

TEST_F(ChartModeContrlTest, RemovingBubblesKeepsTheSelectionOnItsBubble) {
  bubbles.SetItems({Item(L"a", 1), Item(L"b", 2), Item(L"c", 1), Item(L"d", 2)}, false);
  bubbles.SetSelectedIndex(2);
  bubbles.RemoveItems({0, 3});
  ASSERT_EQ(bubbles.GetItemCount(), 2);
  EXPECT_EQ(bubbles.GetSelectedIndex(), 1);
  EXPECT_EQ(bubbles.GetItem(1).text, L"c");
  bubbles.RemoveItems({1});
  EXPECT_EQ(bubbles.GetSelectedIndex(), -1);
  bubbles.AppendItems({Item(L"e", 1)});
  EXPECT_EQ(bubbles.GetItem(1).text, L"e");
}

}  // namespace
