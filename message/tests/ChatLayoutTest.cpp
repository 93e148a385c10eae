// The bubble arithmetic without a window: a measure that wraps fixed-width
// characters stands in for the font, so every height is known exactly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "message/ChatLayout.h"

namespace {

using chat::BubbleItem;
using chat::CChatLayout;

// 6 px per character and 14 px per line; a paragraph wraps at the width.
constexpr int kCharWidth = 6;
constexpr int kLine = 14;

struct FakeMeasure {
  std::vector<size_t> lengths;  // every text measured, in order
  std::vector<int> widths;      // the width it was measured within
  SIZE operator()(std::wstring_view text, int maxWidth) {
    lengths.push_back(text.size());
    widths.push_back(maxWidth);
    const int perLine = std::max(maxWidth / kCharWidth, 1);
    int lines = 0, widest = 0, run = 0;
    auto end = [&] {
      lines += run == 0 ? 1 : (run + perLine - 1) / perLine;
      // A paragraph that wraps fills the width, as a long text does.
      widest = std::max(widest, run > perLine ? maxWidth : run * kCharWidth);
      run = 0;
    };
    for (wchar_t c : text) (c == L'\n') ? end() : void(++run);
    end();
    return SIZE{widest, lines * kLine};
  }
};

// A layout whose estimates differ from its measure (other widths and line
// height), as a real font's would: corrections then move things.
CChatLayout MakeLayout(FakeMeasure& measure, int width) {
  CChatLayout layout([&measure](std::wstring_view text, int maxWidth) { return measure(text, maxWidth); },
                     chat::TextScale{16, 7, 13});
  layout.SetClientWidth(width);
  return layout;
}

BubbleItem Item(std::wstring text, int side = chat::kSideLeft) {
  BubbleItem item;
  item.text = std::move(text);
  item.time = L"2024-01-31 23:59:59";
  item.side = side;
  return item;
}

// Lengths from 1 to a few hundred characters, some with line breaks.
std::vector<BubbleItem> MixedItems(int count) {
  std::vector<BubbleItem> items;
  for (int i = 0; i < count; ++i) {
    std::wstring text(static_cast<size_t>(1 + (i * 37) % 300), L'a');
    if (i % 5 == 0) text += L"\nsecond line";
    items.push_back(Item(std::move(text), i % 3 == 0 ? chat::kSideRight : chat::kSideLeft));
  }
  return items;
}

TEST(ChatLayoutTest, NineHundredCharactersAreMeasuredAsThreeStackedChunksOfOneBubble) {
  FakeMeasure measure;
  CChatLayout layout = MakeLayout(measure, 1000);
  layout.Assign({Item(std::wstring(900, L'x')), Item(L"next")});
  layout.Measure(0);
  layout.Measure(1);

  ASSERT_EQ(measure.lengths, (std::vector<size_t>{400, 400, 100, 4}));
  // 0.618 of 1000, less the text's padding on both sides.
  EXPECT_EQ(layout.MaxTextWidth(), 618 - 20);
  EXPECT_EQ(measure.widths[0], 598);
  // 99 characters a line: 5 + 5 + 2 lines.
  EXPECT_EQ(layout.ChunkHeights(0), (std::vector<int>{5 * kLine, 5 * kLine, 2 * kLine}));
  const int h = 12 * kLine;
  const chat::BubbleGeometry g = layout.Geometry(0);
  EXPECT_EQ(g.textHeight, h);
  EXPECT_EQ(g.bubble.bottom - g.bubble.top, h + 20);
  EXPECT_EQ(g.box.bottom - g.box.top, h + 30);
  EXPECT_EQ(g.text.top, g.bubble.top + 10);
  EXPECT_EQ(layout.ItemTop(1), g.text.bottom + 25) << "the next item starts 25 px below this text";
  EXPECT_EQ(layout.ContentHeight(), (h + 45) + (kLine + 45)) << "the scroll range sums the item heights";
}

TEST(ChatLayoutTest, ChunksKeepSurrogatePairsWhole) {
  std::wstring text(399, L'a');
  text += L"\xD83D\xDE00";  // one character in two units, at 399 and 400
  text += std::wstring(10, L'b');
  const auto chunks = chat::SplitChunks(text);
  ASSERT_EQ(chunks.size(), 2u);
  EXPECT_EQ(chunks[0].size(), 399u);
  EXPECT_EQ(chunks[1].substr(0, 2), std::wstring_view(L"\xD83D\xDE00"));
  EXPECT_TRUE(chat::SplitChunks(L"").empty());
}

TEST(ChatLayoutTest, LeftBubblesHugTheLeftEdgeAndRightOnesTheRightAtMostTheGoldenShare) {
  FakeMeasure measure;
  CChatLayout layout = MakeLayout(measure, 1000);
  layout.Assign({Item(L"hi"), Item(std::wstring(300, L'y'), chat::kSideRight), Item(L"abcdefghij", chat::kSideRight)});
  layout.MeasureAll();

  const chat::BubbleGeometry left = layout.Geometry(0);
  EXPECT_EQ(left.bubble.left, 5);
  EXPECT_EQ(left.bubble.top, left.top + 10);
  EXPECT_EQ(left.bubble.right - left.bubble.left, chat::kMinBubbleWidth) << "a short text still has room for its tail";
  EXPECT_GE(left.heading.left, left.bubble.right) << "the heading stands on the open side";
  EXPECT_EQ(left.tail[2].x, left.bubble.left + 1 + 15);
  EXPECT_EQ(left.tail[2].y, left.bubble.top + 1 - 3);
  EXPECT_EQ(left.tail[0].y, left.bubble.top + 1 + 10);

  const chat::BubbleGeometry wide = layout.Geometry(1);
  EXPECT_EQ(wide.bubble.right, 995);
  EXPECT_EQ(wide.bubble.right - wide.bubble.left, 618) << "capped at 0.618 of the width";
  EXPECT_LE(wide.heading.right, wide.bubble.left);
  EXPECT_EQ(wide.tail[1].x, wide.bubble.right - 1 - 35);

  const chat::BubbleGeometry narrow = layout.Geometry(2);
  EXPECT_EQ(narrow.bubble.right, 995);
  EXPECT_EQ(narrow.bubble.right - narrow.bubble.left, 10 * kCharWidth + 20);
}

TEST(ChatLayoutTest, ItemsAreFoundAtEveryHeightAsALinearScanFindsThem) {
  FakeMeasure measure;
  CChatLayout layout = MakeLayout(measure, 700);
  layout.Assign(MixedItems(150));
  for (int i = 0; i < 150; i += 4) layout.Measure(i);  // a mix of exact and estimated heights
  layout.Remove({3, 77, 77, 149, 500});
  layout.Append(MixedItems(9));
  ASSERT_EQ(layout.Count(), 150 - 3 + 9);

  int top = 0;
  for (int i = 0; i < layout.Count(); ++i) {
    ASSERT_EQ(layout.ItemTop(i), top) << "item " << i;
    top += layout.ItemHeight(i);
  }
  ASSERT_EQ(layout.ContentHeight(), top);
  int item = 0, itemEnd = layout.ItemHeight(0);
  for (int y = 0; y < top; ++y) {
    while (y >= itemEnd) itemEnd += layout.ItemHeight(++item);
    ASSERT_EQ(layout.ItemAt(y), item) << "y " << y;
  }
  EXPECT_EQ(layout.ItemAt(-1), -1);
  EXPECT_EQ(layout.ItemAt(top), -1);

  int first = 0, last = 0;
  ASSERT_TRUE(layout.VisibleRange(layout.ItemTop(10) + 1, layout.ItemHeight(10) + layout.ItemHeight(11), first, last));
  EXPECT_EQ(first, 10);
  EXPECT_EQ(last, 12) << "one pixel of the third item shows";
  ASSERT_TRUE(layout.VisibleRange(top - 5, 300, first, last));
  EXPECT_EQ(last, layout.Count() - 1);
  EXPECT_FALSE(layout.VisibleRange(top, 300, first, last));
}

TEST(ChatLayoutTest, AViewAtTheEndMeasuresOnlyWhatItShowsAndStaysAtTheEnd) {
  FakeMeasure measure;
  CChatLayout layout = MakeLayout(measure, 547);
  layout.Assign(MixedItems(10000));
  EXPECT_EQ(layout.MeasuredCount(), 0) << "nothing is measured before a view asks";

  const int view = 300;
  const int top = layout.Settle(INT_MAX / 2, view);
  EXPECT_EQ(top, layout.MaxTop(view)) << "still at the end after the corrections";
  int first = 0, last = 0;
  ASSERT_TRUE(layout.VisibleRange(top, view, first, last));
  EXPECT_EQ(last, 9999);
  for (int i = first; i <= last; ++i) EXPECT_TRUE(layout.IsMeasured(i)) << i;
  EXPECT_LE(layout.MeasuredCount(), last - first + 1 + 4);
}

TEST(ChatLayoutTest, ScrollingUpOverUnmeasuredItemsLeavesWhatWasSeenInPlace) {
  FakeMeasure measure;
  CChatLayout layout = MakeLayout(measure, 547);
  layout.Assign(MixedItems(2000));
  const int view = 300;
  int top = layout.Settle(layout.ContentHeight() / 2, view);
  int first = 0, last = 0;
  ASSERT_TRUE(layout.VisibleRange(top, view, first, last));
  const int seen = first;
  const int seenOnScreen = layout.ItemTop(seen) - top;

  const long before = layout.MeasureCalls();
  top = layout.Settle(top - 250, view);
  EXPECT_GT(layout.MeasureCalls(), before) << "items came into view";
  EXPECT_EQ(layout.ItemTop(seen) - top, seenOnScreen + 250) << "the item seen moved by the scroll, not by corrections";
}

TEST(ChatLayoutTest, ANewWidthMeasuresAgainAndTheSameWidthDoesNot) {
  FakeMeasure measure;
  CChatLayout layout = MakeLayout(measure, 600);
  layout.Assign(MixedItems(20));
  layout.MeasureAll();
  const size_t calls = measure.lengths.size();
  layout.SetClientWidth(600);
  EXPECT_EQ(layout.MeasuredCount(), 20);
  layout.SetClientWidth(400);
  EXPECT_EQ(layout.MeasuredCount(), 0);
  layout.Measure(7);
  EXPECT_EQ(measure.lengths.size(), calls + 1);
  EXPECT_EQ(measure.widths.back(), static_cast<int>(400 * 0.618) - 20);
}

TEST(ChatLayoutTest, ClicksHitItemsTheirActionAreasOrNothing) {
  FakeMeasure measure;
  CChatLayout layout = MakeLayout(measure, 600);
  layout.Assign({Item(std::wstring(40, L'a')), Item(std::wstring(40, L'b'), chat::kSideRight)});
  layout.MeasureAll();
  const chat::BubbleGeometry left = layout.Geometry(0);
  const chat::BubbleGeometry right = layout.Geometry(1);
  const int middle = (left.bubble.top + left.bubble.bottom) / 2;

  auto hit = [&](int x, int y) { return layout.HitTest(POINT{x, y}); };
  EXPECT_EQ(hit((left.bubble.left + left.bubble.right) / 2, middle).part, chat::HitPart::Item);
  // 40 px across the right edge, 15 of them inside the bubble.
  EXPECT_EQ(hit(left.bubble.right - 15, middle).part, chat::HitPart::Action);
  EXPECT_EQ(hit(left.bubble.right - 15, middle).action, 1);
  EXPECT_EQ(hit(left.bubble.right + 24, middle).part, chat::HitPart::Action);
  EXPECT_EQ(hit(left.bubble.right + 25, middle).part, chat::HitPart::Item);
  EXPECT_EQ(hit(left.bubble.right - 16, middle).part, chat::HitPart::Item);
  const chat::ChatHit atLeftEdge = hit(right.bubble.left + 2, (right.bubble.top + right.bubble.bottom) / 2);
  EXPECT_EQ(atLeftEdge.part, chat::HitPart::Action);
  EXPECT_EQ(atLeftEdge.item, 1);
  EXPECT_EQ(atLeftEdge.action, 0);
  EXPECT_EQ(hit(300, left.box.bottom + 3).part, chat::HitPart::None) << "the gap between two items";
  EXPECT_EQ(hit(300, layout.ContentHeight() + 10).item, -1);
}

}  // namespace
