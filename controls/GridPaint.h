// Drawing of the super grid's rows and of its header, into whatever device
// context the caller gives (WM_PAINT's off-screen buffer, WM_PRINTCLIENT's
// context, a test's memory bitmap). Nothing here changes state.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/GridLayout.h"
#include "controls/GridModel.h"
#include "controls/SkinPaint.h"

namespace qsgrid {

// An image made ready for GDI: premultiplied 32-bit pixels in a DIB section,
// drawn with AlphaBlend (no GDI+ per paint).
class CImageCache {
 public:
  struct Entry {
    HBITMAP bitmap = nullptr;
    SIZE size{0, 0};
  };
  CImageCache() = default;
  ~CImageCache();
  CImageCache(const CImageCache&) = delete;
  CImageCache& operator=(const CImageCache&) = delete;

  // The prepared copy of `image` (made on first use), or null for a null or
  // empty image.
  const Entry* Get(Gdiplus::Image* image);
  SIZE SizeOf(Gdiplus::Image* image);
  void Draw(HDC dc, Gdiplus::Image* image, const RECT& at);
  void Clear();

 private:
  std::map<Gdiplus::Image*, Entry> m_entries;
};

// Everything about the look that the owner chose (or the defaults).
struct GridLook {
  COLORREF background = skin::theme::kWindow;
  COLORREF text = skin::theme::kText;
  COLORREF selectedBack = skin::theme::kSelection;
  COLORREF selectedText = skin::theme::kText;
  COLORREF hoverBack = skin::theme::kFace;
  COLORREF sectionBack = RGB(0xEE, 0xF5, 0xFD);
  COLORREF sectionText = skin::theme::kText;
  COLORREF actionText = skin::theme::kAccent;
  COLORREF gridLine = RGB(0xE1, 0xEA, 0xF4);
  // Fonts, owned by the grid; null means the list view's font.
  HFONT rowFont = nullptr;
  HFONT sectionFont = nullptr;
  HFONT actionFont = nullptr;
  HFONT actionHoverFont = nullptr;  // the action font underlined
  // Images (borrowed); a missing box image is drawn as a plain box.
  Gdiplus::Image* checkOff = nullptr;
  Gdiplus::Image* checkOn = nullptr;
  Gdiplus::Image* sectionCorner = nullptr;
  Gdiplus::Image* sectionExpanded = nullptr;
  Gdiplus::Image* sectionCollapsed = nullptr;
  CellMetrics metrics;
};

// What changes from moment to moment.
struct GridViewState {
  int hoverItem = -1;
  int hoverColumn = -1;
  int hoverAction = -1;
  bool cardMode = false;  // SIM card entries: no check boxes and no row actions
  // LVIS_SELECTED / LVIS_FOCUSED of an item.
  std::function<UINT(int item)> itemState;
  // Whether a section row (by row) is collapsed.
  std::function<bool(int row)> sectionCollapsed;
};

// Size of the plain box drawn when no box image is given.
constexpr SIZE kPlainBoxSize{13, 13};

// Measures the parts of a cell (text widths in the fonts of `look`). In card
// mode check boxes and actions are left out.
CellShape ShapeOfCell(HDC dc, const CQsGridCell& cell, const GridLook& look, CImageCache& images, bool cardMode);
SectionShape ShapeOfSection(const GridLook& look, CImageCache& images);

// Paints the rows that `clip` touches, then the empty space below and to the
// right of them.
void PaintRows(HDC dc, const RECT& clip, const GridGeometry& geometry, const CRowMap& rows,
               const IQsGridModel* model, const GridLook& look, const GridViewState& view, CImageCache& images);

// ---- header ----

struct HeaderItemView {
  RECT rect{};
  std::wstring text;
  int format = HDF_LEFT;
  bool hasCheck = false;
  bool checked = false;
  bool pressed = false;
};

struct HeaderLook {
  Gdiplus::Image* span = nullptr;       // background, stretched over the strip
  Gdiplus::Image* separator = nullptr;  // at the right edge of every item
  Gdiplus::Image* checkOff = nullptr;
  Gdiplus::Image* checkOn = nullptr;
  HFONT font = nullptr;
  COLORREF text = skin::theme::kText;
  COLORREF face = skin::theme::kFace;
  COLORREF border = skin::theme::kBorder;
  int padding = 6;
};

// Where the check box of a header item lies.
RECT HeaderCheckRect(const RECT& item, const HeaderLook& look, CImageCache& images);

void PaintHeader(HDC dc, const RECT& client, const std::vector<HeaderItemView>& items, const HeaderLook& look,
                 CImageCache& images);

// A plain check box (frame and tick) for when no image is given.
void DrawPlainCheckBox(HDC dc, const RECT& box, bool checked, COLORREF frame, COLORREF tick);

}  // namespace qsgrid
