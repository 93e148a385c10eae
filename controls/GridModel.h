// What the owner of a CQsSuperGrid implements: the grid holds no rows. It asks
// the model for the cells of the rows it draws (only the visible ones) and for
// the text of a cell when something reads it, so a list of any length costs
// the same to fill and to paint.
//
// Rows are the owner's own numbering: 0..GetRowCount()-1, section rows
// included. Collapsing a section hides rows from the list view but does not
// renumber them; the grid maps between its items and the owner's rows.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace Gdiplus {
class Image;
}

// A clickable text or image inside a cell. With an image the image is shown
// and the text is what readers of the cell get (and a tool text).
struct CQsGridAction {
  std::wstring text;
  Gdiplus::Image* image = nullptr;
};

// The contents of one cell, filled by the model.
//
// Images are borrowed: the resource library's images live as long as the
// process; an owner's own images must outlive the grid's use of them.
struct CQsGridCell {
  // The cell's text: drawn for an ordinary cell; "1" (checked) or "0" for a
  // check cell; on a section row the text of column 0 is the section's label.
  std::wstring text;
  // A check cell: shows a check box that reflects `text`.
  bool check = false;
  // An image: in a check cell it replaces the grid's box image (the owner
  // picks the one for the value, e.g. a star); otherwise drawn before the
  // text, or centred when the cell has no text.
  Gdiplus::Image* image = nullptr;
  // Row actions, numbered from 0 in the order shown.
  std::vector<CQsGridAction> actions;

  bool IsChecked() const { return check && text == L"1"; }
  // What readers of the cell get (list view item text, assistive technology):
  // the text, or for a cell that only holds actions, their texts.
  std::wstring ReadableText() const;
};

class IQsGridModel {
 public:
  virtual int GetRowCount() const = 0;
  // Section (header) rows span the whole width and show their label.
  virtual bool IsSectionRow(int /*row*/) const { return false; }
  virtual void GetCell(int row, int column, CQsGridCell& cell) const = 0;
  // The section rows that are collapsed now. Each hides the rows after it up
  // to the next section row. Asked when the grid is refreshed.
  virtual void GetCollapsedSections(std::vector<int>& /*sectionRows*/) const {}
  // The user clicked the expander of a section: the owner flips its flag (or
  // does nothing to keep sections open); the grid refreshes afterwards.
  virtual void OnSectionToggle(int /*sectionRow*/) {}

 protected:
  ~IQsGridModel() = default;
};
