// The arithmetic of the conversation bubbles, apart from any window: where
// each bubble, its text, its tail, its heading and its action areas lie, how
// tall the conversation is, which bubbles a view shows and what a point hits.
// The bubble control (ChartModeContrl.h) gives it a text measure and a width
// and asks it; tests give it a measure of their own.
//
// Item geometry, from the item's top T and its text height h (content
// coordinates: y from the top of the whole conversation):
//   bubble      T + 10 .. T + h + 30 (text plus 10 above and below it)
//   text block  T + 20 .. T + h + 20
//   item box    T .. T + h + 30
//   highlight   T - 2 .. T + h + 30 (behind a selected or hovered item)
//   next item   T + h + 45 (25 below the end of this text block)
// The item's height, which the scroll range sums, is that pitch, h + 45.
// Horizontally a left bubble (side 1) starts 5 px from the left edge and a
// right one (side 2) ends 5 px before the right edge; a bubble is at most
// 0.618 of the width wide and at least wide enough for its tail. The heading
// (party and time) stands beside the bubble, on its open side.
//
// Laziness. A conversation may hold 10,000 messages, and measuring a text
// (word breaking in a font) is by far the dearest step, so an item is
// measured only when a view first shows it, and then kept until the width
// changes. An item not measured yet counts with an estimate of its height
// (from its characters and the font's narrow and wide character widths), so
// the scroll range is known at once and becomes exact as items are seen.
// Heights sit in a Fenwick tree: an item's top, the total, and the item at a
// given y all cost O(log n), and a correction costs the same.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace chat {

enum BubbleSide : int { kSideLeft = 1, kSideRight = 2 };

// The fixed measures of the layout.
constexpr double kMaxWidthRatio = 0.618;  // of the client width
constexpr size_t kChunkLength = 400;      // characters measured and drawn at a time
constexpr int kSideMargin = 5;
constexpr int kBubbleTop = 10;       // bubble below the item top
constexpr int kTextPadding = 10;     // text inside the bubble, on every side
constexpr int kItemGap = 25;         // from the end of a text block to the next item
constexpr int kHighlightAbove = 2;
constexpr int kMinBubbleWidth = 50;  // room for the tail (15..35 px in from the edge)
constexpr int kScrollUnit = 16;      // pixels per scroll-bar unit
constexpr int kActionWidth = 40;     // an action area straddles a bubble edge,
constexpr int kActionInset = 15;     // this much of it inside the bubble
constexpr int kHeadingGap = 30;      // between the bubble and its heading (past the action area)
// Item box and item height over the text height.
constexpr int kBoxExtra = kBubbleTop + 2 * kTextPadding;   // 30
constexpr int kItemExtra = kBubbleTop + kTextPadding + kItemGap;  // 45

// One bubble: what it shows.
struct BubbleItem {
  std::wstring text;
  std::wstring time;   // as shown
  std::wstring party;  // as shown; may be empty
  int side = kSideLeft;
};

// The size that DrawText gives for `text` with DT_CALCRECT | DT_WORDBREAK |
// DT_NOPREFIX | DT_EDITCONTROL within `maxWidth`: the widest line and the
// height of all lines.
using MeasureText = std::function<SIZE(std::wstring_view text, int maxWidth)>;

// What estimates need of the font.
struct TextScale {
  int lineHeight = 16;
  int narrowWidth = 7;  // average width of Latin letters and digits
  int wideWidth = 14;   // width of an ideograph or a full-width form
};

// Where one item's parts lie (content coordinates).
struct BubbleGeometry {
  int top = 0;         // item top
  int height = 0;      // item pitch: text + 45
  int textHeight = 0;
  RECT box{};          // item box, across the usable width
  RECT highlight{};
  RECT bubble{};       // outer rounded rectangle
  RECT text{};         // the text block
  RECT heading{};      // party and time
  RECT actions[2]{};   // at the bubble's left and right edges
  POINT tail[3]{};
};

enum class HitPart { None, Item, Action };

struct ChatHit {
  HitPart part = HitPart::None;
  int item = -1;
  int action = -1;  // 0 left edge, 1 right edge
};

// The 400-character pieces of a text, in order. A piece never ends between
// the two halves of a surrogate pair (it is one character shorter then).
std::vector<std::wstring_view> SplitChunks(std::wstring_view text, size_t length = kChunkLength);

// Prefix sums of item heights with point updates (a Fenwick tree).
class CHeightIndex {
 public:
  void Assign(const std::vector<int>& heights);
  void Set(int index, int height);  // index must be in range
  int Size() const { return static_cast<int>(m_heights.size()); }
  int Height(int index) const { return m_heights[static_cast<size_t>(index)]; }
  // Sum of the heights of items [0, index).
  int64_t Prefix(int index) const;
  int64_t Total() const { return m_total; }
  // The item whose span [top, top + height) holds y; -1 for y < 0 or at or
  // past the total (an item of height 0 is never found).
  int Find(int64_t y) const;

 private:
  std::vector<int> m_heights;
  std::vector<int64_t> m_tree;  // 1-based
  int64_t m_total = 0;
  int m_topBit = 0;
};

class CChatLayout {
 public:
  CChatLayout() = default;
  CChatLayout(MeasureText measure, TextScale scale) { SetMeasure(std::move(measure), scale); }

  // A new measure forgets every measurement.
  void SetMeasure(MeasureText measure, TextScale scale);
  const TextScale& Scale() const { return m_scale; }

  // ---- items ----
  void Assign(std::vector<BubbleItem> items);
  void Append(std::vector<BubbleItem> items);
  // Removes the items at the given indices (any order; repeats and indices out
  // of range are ignored).
  void Remove(std::vector<int> indices);
  void Clear() { Assign({}); }
  int Count() const { return static_cast<int>(m_entries.size()); }
  const BubbleItem& Item(int index) const { return m_entries[static_cast<size_t>(index)].item; }

  // ---- width ----
  // A new width forgets every measurement (text wraps differently).
  void SetClientWidth(int width);
  int ClientWidth() const { return m_width; }
  int MaxBubbleWidth() const;
  // The width texts are measured within: the widest bubble less its padding.
  int MaxTextWidth() const;

  // ---- heights ----
  // The scroll range: the sum of the item heights, exact for the measured
  // items and estimated for the others.
  int ContentHeight() const { return static_cast<int>(m_heights.Total()); }
  int ItemTop(int index) const { return static_cast<int>(m_heights.Prefix(index)); }
  int ItemHeight(int index) const { return m_heights.Height(index); }
  // The item whose pitch holds y, or -1.
  int ItemAt(int y) const { return m_heights.Find(y); }
  // The items that a view of `height` pixels from `top` shows, inclusive;
  // false when it shows none.
  bool VisibleRange(int top, int height, int& first, int& last) const;

  bool IsMeasured(int index) const { return m_entries[static_cast<size_t>(index)].measured; }
  int MeasuredCount() const { return m_measuredCount; }
  // How many texts (chunks) have been measured since the layout was made.
  long MeasureCalls() const { return m_measureCalls; }
  // Measures the item if it is not measured yet.
  void Measure(int index);
  void MeasureAll();
  // The measured heights of the item's chunks (empty until it is measured).
  const std::vector<int>& ChunkHeights(int index) const { return m_entries[static_cast<size_t>(index)].chunkHeights; }

  // Measures every item that a view of `height` pixels from `top` shows and
  // answers the view's top after the corrections: a view at the end of the
  // conversation stays at the end; otherwise the first item the view showed
  // measured (or else its first item) keeps its place on the screen, so what
  // the user already saw does not move. The answer lies in 0..MaxTop.
  int Settle(int top, int height);
  int MaxTop(int height) const;

  // ---- geometry ----
  BubbleGeometry Geometry(int index) const;
  ChatHit HitTest(POINT contentPoint) const;

 private:
  struct Entry {
    BubbleItem item;
    bool measured = false;
    int textWidth = 0;
    int textHeight = 0;
    std::vector<int> chunkHeights;
  };
  static Entry MakeEntry(BubbleItem item);
  void Estimate(Entry& entry) const;
  void Reindex();
  int UsableRight() const { return m_width - kSideMargin; }

  MeasureText m_measure;
  TextScale m_scale;
  int m_width = 0;
  std::vector<Entry> m_entries;
  CHeightIndex m_heights;
  int m_measuredCount = 0;
  long m_measureCalls = 0;
};

}  // namespace chat
