#include "message/ChatLayout.h"

#include <algorithm>

namespace chat {

std::vector<std::wstring_view> SplitChunks(std::wstring_view text, size_t length) {
  std::vector<std::wstring_view> chunks;
  if (length < 2) length = 2;  // room for a whole surrogate pair
  size_t at = 0;
  while (at < text.size()) {
    size_t take = std::min(length, text.size() - at);
    const wchar_t last = text[at + take - 1];
    if (at + take < text.size() && last >= 0xD800 && last <= 0xDBFF) --take;
    chunks.push_back(text.substr(at, take));
    at += take;
  }
  return chunks;
}

// ---- CHeightIndex ----

void CHeightIndex::Assign(const std::vector<int>& heights) {
  m_heights = heights;
  const size_t n = heights.size();
  m_tree.assign(n + 1, 0);
  m_total = 0;
  for (size_t i = 1; i <= n; ++i) {
    m_tree[i] += heights[i - 1];
    m_total += heights[i - 1];
    const size_t parent = i + (i & (~i + 1));
    if (parent <= n) m_tree[parent] += m_tree[i];
  }
  m_topBit = 1;
  while (static_cast<size_t>(m_topBit) * 2 <= n) m_topBit *= 2;
}

void CHeightIndex::Set(int index, int height) {
  const int64_t delta = static_cast<int64_t>(height) - m_heights[static_cast<size_t>(index)];
  if (delta == 0) return;
  m_heights[static_cast<size_t>(index)] = height;
  m_total += delta;
  for (size_t i = static_cast<size_t>(index) + 1; i < m_tree.size(); i += i & (~i + 1)) m_tree[i] += delta;
}

int64_t CHeightIndex::Prefix(int index) const {
  int64_t sum = 0;
  for (size_t i = static_cast<size_t>(std::clamp(index, 0, Size())); i > 0; i -= i & (~i + 1)) sum += m_tree[i];
  return sum;
}

int CHeightIndex::Find(int64_t y) const {
  if (y < 0 || y >= m_total) return -1;
  // Descend to the largest count of leading items whose heights sum to y or
  // less: the item after them holds y.
  size_t position = 0;
  int64_t rest = y;
  for (size_t bit = static_cast<size_t>(m_topBit); bit > 0; bit >>= 1) {
    const size_t next = position + bit;
    if (next < m_tree.size() && m_tree[next] <= rest) {
      position = next;
      rest -= m_tree[next];
    }
  }
  return static_cast<int>(position);
}

// ---- CChatLayout ----

CChatLayout::Entry CChatLayout::MakeEntry(BubbleItem item) {
  Entry entry;
  entry.item = std::move(item);
  return entry;
}

void CChatLayout::SetMeasure(MeasureText measure, TextScale scale) {
  m_measure = std::move(measure);
  m_scale = scale;
  m_scale.lineHeight = std::max(m_scale.lineHeight, 1);
  Reindex();
}

void CChatLayout::Assign(std::vector<BubbleItem> items) {
  m_entries.clear();
  m_entries.reserve(items.size());
  for (BubbleItem& item : items) m_entries.push_back(MakeEntry(std::move(item)));
  Reindex();
}

void CChatLayout::Append(std::vector<BubbleItem> items) {
  std::vector<int> heights(static_cast<size_t>(m_heights.Size()));
  for (int i = 0; i < m_heights.Size(); ++i) heights[static_cast<size_t>(i)] = m_heights.Height(i);
  for (BubbleItem& item : items) {
    m_entries.push_back(MakeEntry(std::move(item)));
    Estimate(m_entries.back());
    heights.push_back(m_entries.back().textHeight + kItemExtra);
  }
  m_heights.Assign(heights);
}

void CChatLayout::Remove(std::vector<int> indices) {
  std::sort(indices.begin(), indices.end());
  indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
  std::vector<Entry> kept;
  std::vector<int> heights;
  kept.reserve(m_entries.size());
  size_t next = 0;
  for (int i = 0; i < Count(); ++i) {
    while (next < indices.size() && indices[next] < i) ++next;
    if (next < indices.size() && indices[next] == i) {
      if (m_entries[static_cast<size_t>(i)].measured) --m_measuredCount;
      continue;
    }
    heights.push_back(m_heights.Height(i));
    kept.push_back(std::move(m_entries[static_cast<size_t>(i)]));
  }
  m_entries = std::move(kept);
  m_heights.Assign(heights);
}

void CChatLayout::SetClientWidth(int width) {
  width = std::max(width, 0);
  if (width == m_width) return;
  m_width = width;
  Reindex();
}

int CChatLayout::MaxBubbleWidth() const {
  return std::max(static_cast<int>(m_width * kMaxWidthRatio), kMinBubbleWidth);
}

int CChatLayout::MaxTextWidth() const { return std::max(MaxBubbleWidth() - 2 * kTextPadding, 1); }

// Every item back to its estimate.
void CChatLayout::Reindex() {
  std::vector<int> heights;
  heights.reserve(m_entries.size());
  for (Entry& entry : m_entries) {
    entry.measured = false;
    entry.chunkHeights.clear();
    Estimate(entry);
    heights.push_back(entry.textHeight + kItemExtra);
  }
  m_measuredCount = 0;
  m_heights.Assign(heights);
}

// Lines from the characters' widths: each paragraph wraps at the text width.
// Word wrapping only adds lines, so the estimate errs on the short side for
// long paragraphs; it is corrected when the item is seen.
void CChatLayout::Estimate(Entry& entry) const {
  const int maxWidth = MaxTextWidth();
  int64_t line = 0;
  int64_t widest = 0;
  int lines = 0;
  auto endParagraph = [&] {
    lines += line == 0 ? 1 : static_cast<int>((line + maxWidth - 1) / maxWidth);
    widest = std::max(widest, line);
    line = 0;
  };
  for (wchar_t c : entry.item.text) {
    if (c == L'\n') {
      endParagraph();
    } else if (c != L'\r' && !(c >= 0xDC00 && c <= 0xDFFF)) {
      line += c >= 0x2E80 ? m_scale.wideWidth : m_scale.narrowWidth;
    }
  }
  endParagraph();
  entry.textWidth = static_cast<int>(std::min<int64_t>(widest, maxWidth));
  entry.textHeight = lines * m_scale.lineHeight;
}

void CChatLayout::Measure(int index) {
  Entry& entry = m_entries[static_cast<size_t>(index)];
  if (entry.measured) return;
  const int maxWidth = MaxTextWidth();
  entry.chunkHeights.clear();
  int width = 0, height = 0;
  for (std::wstring_view chunk : SplitChunks(entry.item.text)) {
    SIZE size = m_measure ? m_measure(chunk, maxWidth) : SIZE{0, 0};
    ++m_measureCalls;
    entry.chunkHeights.push_back(static_cast<int>(size.cy));
    width = std::max(width, static_cast<int>(size.cx));
    height += static_cast<int>(size.cy);
  }
  // An empty text still gets a line, so its bubble keeps its shape.
  entry.textHeight = height > 0 ? height : m_scale.lineHeight;
  entry.textWidth = std::min(width, maxWidth);
  entry.measured = true;
  ++m_measuredCount;
  m_heights.Set(index, entry.textHeight + kItemExtra);
}

void CChatLayout::MeasureAll() {
  for (int i = 0; i < Count(); ++i) Measure(i);
}

bool CChatLayout::VisibleRange(int top, int height, int& first, int& last) const {
  first = last = -1;
  if (height <= 0 || Count() == 0 || top >= ContentHeight()) return false;
  first = ItemAt(std::max(top, 0));
  if (first < 0) return false;
  const int64_t bottom = static_cast<int64_t>(std::max(top, 0)) + height - 1;
  last = bottom >= m_heights.Total() ? Count() - 1 : m_heights.Find(bottom);
  return true;
}

int CChatLayout::MaxTop(int height) const { return std::max(ContentHeight() - std::max(height, 0), 0); }

int CChatLayout::Settle(int top, int height) {
  top = std::clamp(top, 0, MaxTop(height));
  if (height <= 0) return top;
  const bool atEnd = top >= MaxTop(height);
  for (;;) {
    int first = 0, last = 0;
    if (!VisibleRange(top, height, first, last)) return top;
    int anchor = -1;
    bool pending = false;
    for (int i = first; i <= last; ++i) {
      if (IsMeasured(i)) {
        if (anchor < 0) anchor = i;
      } else {
        pending = true;
      }
    }
    if (!pending) return top;
    if (anchor < 0) anchor = first;
    const int offset = ItemTop(anchor) - top;
    for (int i = first; i <= last; ++i) Measure(i);
    top = atEnd ? MaxTop(height) : std::clamp(ItemTop(anchor) - offset, 0, MaxTop(height));
  }
}

BubbleGeometry CChatLayout::Geometry(int index) const {
  const Entry& entry = m_entries[static_cast<size_t>(index)];
  BubbleGeometry g;
  g.top = ItemTop(index);
  g.height = ItemHeight(index);
  g.textHeight = entry.textHeight;
  const int h = entry.textHeight;
  const int right = std::max(UsableRight(), kSideMargin);
  g.box = RECT{0, g.top, m_width, g.top + h + kBoxExtra};
  g.highlight = RECT{0, g.top - kHighlightAbove, m_width, g.top + h + kBoxExtra};

  const int width = std::clamp(entry.textWidth + 2 * kTextPadding, kMinBubbleWidth, MaxBubbleWidth());
  const bool rightSide = entry.item.side == kSideRight;
  const int left = rightSide ? right - width : kSideMargin;
  g.bubble = RECT{left, g.top + kBubbleTop, left + width, g.top + h + kBoxExtra};
  g.text = RECT{g.bubble.left + kTextPadding, g.bubble.top + kTextPadding, g.bubble.right - kTextPadding,
                g.bubble.bottom - kTextPadding};

  // The heading on the open side of the bubble, past its action area.
  if (rightSide)
    g.heading = RECT{kSideMargin, g.bubble.top, std::max<LONG>(g.bubble.left - kHeadingGap, kSideMargin), g.bubble.bottom};
  else
    g.heading = RECT{std::min<LONG>(g.bubble.right + kHeadingGap, right), g.bubble.top, right, g.bubble.bottom};

  const int outside = kActionWidth - kActionInset;
  g.actions[0] = RECT{g.bubble.left - outside, g.bubble.top, g.bubble.left + kActionInset, g.bubble.bottom};
  g.actions[1] = RECT{g.bubble.right - kActionInset, g.bubble.top, g.bubble.right + outside, g.bubble.bottom};

  // The tail, on the shrunk bubble: its tip 3 px above the top edge, its base
  // 10 px below it, where the inner fill covers it.
  const RECT shrunk{g.bubble.left + 1, g.bubble.top + 1, g.bubble.right - 1, g.bubble.bottom - 1};
  const int tipY = shrunk.top - 3, baseY = shrunk.top + 10;
  if (rightSide) {
    g.tail[0] = POINT{shrunk.right - 20, baseY};
    g.tail[1] = POINT{shrunk.right - 35, baseY};
    g.tail[2] = POINT{shrunk.right - 15, tipY};
  } else {
    g.tail[0] = POINT{shrunk.left + 20, baseY};
    g.tail[1] = POINT{shrunk.left + 35, baseY};
    g.tail[2] = POINT{shrunk.left + 15, tipY};
  }
  return g;
}

ChatHit CChatLayout::HitTest(POINT pt) const {
  ChatHit hit;
  const int item = ItemAt(pt.y);
  if (item < 0) return hit;
  const BubbleGeometry g = Geometry(item);
  if (pt.y >= g.box.bottom) return hit;  // the gap below the item
  hit.item = item;
  hit.part = HitPart::Item;
  for (int k = 0; k < 2; ++k) {
    if (::PtInRect(&g.actions[k], pt)) {
      hit.part = HitPart::Action;
      hit.action = k;
      break;
    }
  }
  return hit;
}

}  // namespace chat
