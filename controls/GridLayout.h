// The arithmetic of the super grid, apart from any window: column widths from
// ratios, the map between the list view's items and the owner's rows when
// sections are collapsed, row and cell geometry, where the parts of a cell
// lie, and hit testing. The window code (SuperGrid.cpp) gathers the numbers
// from the list view and asks these functions; tests ask them directly.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace qsgrid {

// ---- column widths ----

// Widths of columns with ratios r0..r(n-1) over a client width W: every
// column but the last two gets truncate(W * ri), the last one
// truncate(W * r(n-1)), and the second-to-last whatever is left, so the
// columns always fill W exactly. Widths are 16-bit values, as the list view's
// column-width message takes them.
std::vector<int16_t> ComputeColumnWidths(int width, const std::vector<double>& ratios);

// Remembers the width last laid out, so that a resize that keeps the width
// (a height change, a repeated WM_SIZE) sets no widths.
class CColumnWidthKeeper {
 public:
  // The widths to set for `width`, or nothing when it was laid out already.
  bool Update(int width, const std::vector<double>& ratios, std::vector<int16_t>& widths);
  // New ratios must be applied even at the same width.
  void Forget() { m_width = -1; }
  int RememberedWidth() const { return m_width; }

 private:
  int m_width = -1;
};

// ---- items and rows ----

// The list view shows "items"; the owner holds "rows". They are the same
// numbers until a section is collapsed: then the rows under it are hidden and
// every item after it stands for a later row.
class CRowMap {
 public:
  // `rows` rows, nothing hidden.
  void Reset(int rows);
  // Hides `count` rows from `first` on. Ranges come in ascending order and do
  // not overlap (a range that does is ignored).
  void Hide(int first, int count);
  int RowCount() const { return m_rows; }
  int ItemCount() const { return m_rows - m_hiddenTotal; }
  bool HasHidden() const { return m_hiddenTotal > 0; }
  // The row an item shows, or -1 outside 0..ItemCount()-1.
  int RowOfItem(int item) const;
  // The item that shows a row, or -1 when the row is hidden or out of range.
  int ItemOfRow(int row) const;

 private:
  struct Range {
    int first;         // first hidden row
    int count;         // rows hidden
    int hiddenBefore;  // rows hidden by the ranges before this one
  };
  int m_rows = 0;
  int m_hiddenTotal = 0;
  std::vector<Range> m_hidden;
};

// Builds the map from the owner's rows: every collapsed section hides the rows
// after it up to the next section row. `isSection` is asked only for the rows
// under collapsed sections, so an owner with nothing collapsed costs nothing.
void BuildRowMap(CRowMap& map, int rows, std::vector<int> collapsedSections,
                 const std::function<bool(int)>& isSection);

// ---- geometry ----

// What the window knows about its layout at one moment; everything in client
// coordinates of the list view.
struct GridGeometry {
  int clientWidth = 0;
  int clientHeight = 0;
  int rowsTop = 0;     // top of the first visible item (below the header)
  int rowHeight = 1;
  int topItem = 0;     // the first visible item
  int itemCount = 0;
  int originX = 0;     // left edge of column 0 (negative when scrolled sideways)
  std::vector<int> columnWidths;

  // Item under a client y, or -1.
  int ItemAt(int y) const;
  // Column under a client x, or -1.
  int ColumnAt(int x) const;
  RECT ItemRect(int item) const;                 // the whole row
  RECT CellRect(int item, int column) const;     // one cell of it
  int ColumnLeft(int column) const;
  int RowsWidth() const;                          // sum of the column widths
  // Items that a clip rectangle touches: [first, last).
  void ItemsIn(const RECT& clip, int& first, int& last) const;
};

// ---- the parts of a cell ----

// Spacing of the contents of a cell.
struct CellMetrics {
  int padding = 6;        // left and right inside a cell
  int imageGap = 4;       // between an image and the text after it
  int actionGap = 10;     // between two row actions
};

// What a cell holds, with the sizes the window measured.
struct CellShape {
  bool check = false;          // a check box (drawn centred when the cell has nothing else)
  SIZE checkSize{0, 0};
  bool image = false;          // an image (before the text, or centred when alone)
  SIZE imageSize{0, 0};
  bool text = false;
  std::vector<SIZE> actions;   // row actions, side by side from the left
};

struct CellParts {
  RECT check{};
  RECT image{};
  RECT text{};
  std::vector<RECT> actions;
};

CellParts LayoutCell(const RECT& cell, const CellShape& shape, const CellMetrics& metrics = {});

// The parts of a section row: a corner mark, the expander and the label.
struct SectionShape {
  SIZE cornerSize{0, 0};
  SIZE expanderSize{0, 0};
};
struct SectionParts {
  RECT corner{};
  RECT expander{};
  RECT text{};
};
SectionParts LayoutSection(const RECT& row, const SectionShape& shape, const CellMetrics& metrics = {});

// A rectangle of `size` centred in `box`.
RECT CentreIn(const RECT& box, SIZE size);

// ---- hit testing ----

enum class HitPart {
  None,         // outside every row
  Cell,         // a cell, not on anything clickable
  CheckBox,     // the check box of a cell
  Action,       // a row action of a cell (index in `action`)
  Expander,     // the expander of a section row
  Section,      // elsewhere on a section row
};

struct GridHit {
  HitPart part = HitPart::None;
  int item = -1;
  int column = -1;
  int action = -1;
};

// Finds what a point of a cell hits among its parts.
GridHit HitCellParts(const CellParts& parts, POINT pt, int item, int column);

bool Contains(const RECT& rc, POINT pt);

}  // namespace qsgrid
