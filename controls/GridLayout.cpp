#include "controls/GridLayout.h"

#include <algorithm>

namespace qsgrid {

std::vector<int16_t> ComputeColumnWidths(int width, const std::vector<double>& ratios) {
  const int n = static_cast<int>(ratios.size());
  std::vector<int16_t> widths(ratios.size(), 0);
  if (n == 0) return widths;
  int sum = 0;
  for (int i = 0; i <= n - 3; ++i) {
    const int w = static_cast<int>(width * ratios[i]);
    widths[i] = static_cast<int16_t>(w);
    sum += w;
  }
  const int last = static_cast<int>(width * ratios[n - 1]);
  widths[n - 1] = static_cast<int16_t>(last);
  if (n >= 2) widths[n - 2] = static_cast<int16_t>(width - last - sum);
  return widths;
}

bool CColumnWidthKeeper::Update(int width, const std::vector<double>& ratios, std::vector<int16_t>& widths) {
  if (width == m_width) return false;
  m_width = width;
  widths = ComputeColumnWidths(width, ratios);
  return true;
}

void CRowMap::Reset(int rows) {
  m_rows = rows > 0 ? rows : 0;
  m_hiddenTotal = 0;
  m_hidden.clear();
}

void CRowMap::Hide(int first, int count) {
  if (count <= 0 || first < 0 || first + count > m_rows) return;
  if (!m_hidden.empty() && first < m_hidden.back().first + m_hidden.back().count) return;
  m_hidden.push_back({first, count, m_hiddenTotal});
  m_hiddenTotal += count;
}

int CRowMap::RowOfItem(int item) const {
  if (item < 0 || item >= ItemCount()) return -1;
  // The last range whose first row lies at or before the row shown: the item
  // that follows a range is the first row after it, at item first - hiddenBefore.
  auto after = std::upper_bound(m_hidden.begin(), m_hidden.end(), item,
                                [](int value, const Range& r) { return value < r.first - r.hiddenBefore; });
  if (after == m_hidden.begin()) return item;
  const Range& r = *(after - 1);
  return item + r.hiddenBefore + r.count;
}

int CRowMap::ItemOfRow(int row) const {
  if (row < 0 || row >= m_rows) return -1;
  auto after = std::upper_bound(m_hidden.begin(), m_hidden.end(), row,
                                [](int value, const Range& r) { return value < r.first; });
  if (after == m_hidden.begin()) return row;
  const Range& r = *(after - 1);
  if (row < r.first + r.count) return -1;
  return row - r.hiddenBefore - r.count;
}

void BuildRowMap(CRowMap& map, int rows, std::vector<int> collapsedSections,
                 const std::function<bool(int)>& isSection) {
  map.Reset(rows);
  std::sort(collapsedSections.begin(), collapsedSections.end());
  collapsedSections.erase(std::unique(collapsedSections.begin(), collapsedSections.end()),
                          collapsedSections.end());
  for (int section : collapsedSections) {
    if (section < 0 || section >= rows || !isSection(section)) continue;
    int end = section + 1;
    while (end < rows && !isSection(end)) ++end;
    map.Hide(section + 1, end - section - 1);
  }
}

int GridGeometry::ItemAt(int y) const {
  if (y < rowsTop || rowHeight <= 0) return -1;
  const int item = topItem + (y - rowsTop) / rowHeight;
  return item < itemCount ? item : -1;
}

int GridGeometry::ColumnLeft(int column) const {
  int x = originX;
  for (int i = 0; i < column && i < static_cast<int>(columnWidths.size()); ++i) x += columnWidths[i];
  return x;
}

int GridGeometry::RowsWidth() const {
  int sum = 0;
  for (int w : columnWidths) sum += w;
  return sum;
}

int GridGeometry::ColumnAt(int x) const {
  int left = originX;
  for (int i = 0; i < static_cast<int>(columnWidths.size()); ++i) {
    if (x >= left && x < left + columnWidths[i]) return i;
    left += columnWidths[i];
  }
  return -1;
}

RECT GridGeometry::ItemRect(int item) const {
  const int top = rowsTop + (item - topItem) * rowHeight;
  return RECT{originX, top, originX + RowsWidth(), top + rowHeight};
}

RECT GridGeometry::CellRect(int item, int column) const {
  RECT rc = ItemRect(item);
  rc.left = ColumnLeft(column);
  rc.right = rc.left + (column >= 0 && column < static_cast<int>(columnWidths.size()) ? columnWidths[column] : 0);
  return rc;
}

void GridGeometry::ItemsIn(const RECT& clip, int& first, int& last) const {
  first = last = topItem;
  if (rowHeight <= 0 || clip.bottom <= rowsTop) return;
  const int top = std::max<int>(clip.top, rowsTop);
  first = topItem + (top - rowsTop) / rowHeight;
  last = topItem + (clip.bottom - rowsTop + rowHeight - 1) / rowHeight;
  first = std::min(first, itemCount);
  last = std::min(last, itemCount);
}

RECT CentreIn(const RECT& box, SIZE size) {
  const int x = box.left + (box.right - box.left - size.cx) / 2;
  const int y = box.top + (box.bottom - box.top - size.cy) / 2;
  return RECT{x, y, x + size.cx, y + size.cy};
}

namespace {
// A part of `size` placed at x, centred vertically in the row.
RECT PlaceAt(int x, const RECT& cell, SIZE size) {
  const int y = cell.top + (cell.bottom - cell.top - size.cy) / 2;
  return RECT{x, y, x + size.cx, y + size.cy};
}
}  // namespace

CellParts LayoutCell(const RECT& cell, const CellShape& shape, const CellMetrics& metrics) {
  CellParts parts;
  const bool alone = !shape.text && shape.actions.empty();
  int x = cell.left + metrics.padding;
  if (shape.check) {
    // A check box with nothing else (the usual first column) sits in the middle.
    if (alone && !shape.image) {
      parts.check = CentreIn(cell, shape.checkSize);
      return parts;
    }
    parts.check = PlaceAt(x, cell, shape.checkSize);
    x = parts.check.right + metrics.imageGap;
  }
  if (shape.image) {
    if (alone && !shape.check) {
      parts.image = CentreIn(cell, shape.imageSize);
      return parts;
    }
    parts.image = PlaceAt(x, cell, shape.imageSize);
    x = parts.image.right + metrics.imageGap;
  }
  if (!shape.actions.empty()) {
    for (const SIZE& size : shape.actions) {
      parts.actions.push_back(PlaceAt(x, cell, size));
      x += size.cx + metrics.actionGap;
    }
    x -= metrics.actionGap - metrics.imageGap;
  }
  if (shape.text) parts.text = RECT{x, cell.top, std::max<int>(x, cell.right - metrics.padding), cell.bottom};
  return parts;
}

SectionParts LayoutSection(const RECT& row, const SectionShape& shape, const CellMetrics& metrics) {
  SectionParts parts;
  int x = row.left;
  if (shape.cornerSize.cx > 0) {
    parts.corner = RECT{x, row.top, x + shape.cornerSize.cx, row.top + shape.cornerSize.cy};
    x = parts.corner.right;
  }
  x += metrics.padding;
  if (shape.expanderSize.cx > 0) {
    parts.expander = PlaceAt(x, row, shape.expanderSize);
    x = parts.expander.right + metrics.imageGap;
  }
  parts.text = RECT{x, row.top, std::max<int>(x, row.right - metrics.padding), row.bottom};
  return parts;
}

bool Contains(const RECT& rc, POINT pt) {
  return pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom;
}

GridHit HitCellParts(const CellParts& parts, POINT pt, int item, int column) {
  GridHit hit{HitPart::Cell, item, column, -1};
  if (Contains(parts.check, pt)) {
    hit.part = HitPart::CheckBox;
    return hit;
  }
  for (size_t i = 0; i < parts.actions.size(); ++i)
    if (Contains(parts.actions[i], pt)) {
      hit.part = HitPart::Action;
      hit.action = static_cast<int>(i);
      return hit;
    }
  return hit;
}

}  // namespace qsgrid
