#include "controls/GridPaint.h"

#include <algorithm>

#include "framework/Gdi.h"
#include "framework/GdiPlus.h"

namespace qsgrid {

// ---- images ----

CImageCache::~CImageCache() { Clear(); }

void CImageCache::Clear() {
  for (auto& [image, entry] : m_entries)
    if (entry.bitmap) ::DeleteObject(entry.bitmap);
  m_entries.clear();
}

const CImageCache::Entry* CImageCache::Get(Gdiplus::Image* image) {
  if (!image) return nullptr;
  auto found = m_entries.find(image);
  if (found != m_entries.end()) return found->second.bitmap ? &found->second : nullptr;

  Entry entry;
  const INT width = static_cast<INT>(image->GetWidth());
  const INT height = static_cast<INT>(image->GetHeight());
  if (width > 0 && height > 0) {
    // Render once into premultiplied pixels; AlphaBlend then only copies.
    Gdiplus::Bitmap pargb(width, height, PixelFormat32bppPARGB);
    {
      Gdiplus::Graphics g(&pargb);
      g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
      g.DrawImage(image, 0, 0, width, height);
    }
    Gdiplus::BitmapData data{};
    Gdiplus::Rect whole(0, 0, width, height);
    if (pargb.LockBits(&whole, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data) == Gdiplus::Ok) {
      BITMAPINFO bi{};
      bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
      bi.bmiHeader.biWidth = width;
      bi.bmiHeader.biHeight = -height;
      bi.bmiHeader.biPlanes = 1;
      bi.bmiHeader.biBitCount = 32;
      bi.bmiHeader.biCompression = BI_RGB;
      void* bits = nullptr;
      entry.bitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
      if (entry.bitmap && bits) {
        for (INT y = 0; y < height; ++y)
          memcpy(static_cast<BYTE*>(bits) + static_cast<size_t>(y) * width * 4,
                 static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride,
                 static_cast<size_t>(width) * 4);
        entry.size = SIZE{width, height};
      }
      pargb.UnlockBits(&data);
    }
  }
  auto& stored = m_entries[image] = entry;
  return stored.bitmap ? &stored : nullptr;
}

SIZE CImageCache::SizeOf(Gdiplus::Image* image) {
  const Entry* entry = Get(image);
  return entry ? entry->size : SIZE{0, 0};
}

void CImageCache::Draw(HDC dc, Gdiplus::Image* image, const RECT& at) {
  const Entry* entry = Get(image);
  if (!entry) return;
  HDC source = ::CreateCompatibleDC(dc);
  if (!source) return;
  {
    wf::ScopedSelect select(source, entry->bitmap);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(dc, at.left, at.top, at.right - at.left, at.bottom - at.top, source, 0, 0, entry->size.cx,
                 entry->size.cy, blend);
  }
  ::DeleteDC(source);
}

// ---- small drawing helpers ----

namespace {

void Fill(HDC dc, const RECT& rc, COLORREF color) {
  if (rc.right <= rc.left || rc.bottom <= rc.top) return;
  ::SetBkColor(dc, color);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
}

void Text(HDC dc, const std::wstring& text, RECT rc, HFONT font, COLORREF color, UINT format) {
  if (text.empty() || rc.right <= rc.left) return;
  wf::ScopedSelect select(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, color);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc,
              format | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

SIZE TextSize(HDC dc, const std::wstring& text, HFONT font) {
  SIZE size{0, 0};
  if (text.empty()) return size;
  wf::ScopedSelect select(dc, font);
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

SIZE BoxSize(const GridLook& look, CImageCache& images, Gdiplus::Image* own) {
  if (own) return images.SizeOf(own);
  SIZE size = images.SizeOf(look.checkOff);
  if (size.cx == 0) size = images.SizeOf(look.checkOn);
  return size.cx ? size : kPlainBoxSize;
}

}  // namespace

void DrawPlainCheckBox(HDC dc, const RECT& box, bool checked, COLORREF frame, COLORREF tick) {
  wf::ScopedBrush white(::CreateSolidBrush(RGB(0xFF, 0xFF, 0xFF)));
  wf::ScopedPen pen(::CreatePen(PS_SOLID, 1, frame));
  {
    wf::ScopedSelect p(dc, pen), b(dc, white);
    ::Rectangle(dc, box.left, box.top, box.right, box.bottom);
  }
  if (!checked) return;
  wf::ScopedPen tickPen(::CreatePen(PS_SOLID, 2, tick));
  wf::ScopedSelect p(dc, tickPen);
  const int w = box.right - box.left, h = box.bottom - box.top;
  POINT points[3] = {{box.left + w / 4, box.top + h / 2},
                     {box.left + w / 2 - 1, box.bottom - h / 4 - 1},
                     {box.right - w / 4, box.top + h / 4}};
  ::Polyline(dc, points, 3);
}

CellShape ShapeOfCell(HDC dc, const CQsGridCell& cell, const GridLook& look, CImageCache& images, bool cardMode) {
  CellShape shape;
  if (cell.check) {
    if (!cardMode) {
      shape.check = true;
      shape.checkSize = BoxSize(look, images, cell.image);
    }
    return shape;  // a check cell's text is its value, never drawn
  }
  if (cell.image) {
    shape.image = true;
    shape.imageSize = images.SizeOf(cell.image);
  }
  if (!cardMode)
    for (const CQsGridAction& action : cell.actions)
      shape.actions.push_back(action.image ? images.SizeOf(action.image) : TextSize(dc, action.text, look.actionFont));
  shape.text = !cell.text.empty();
  return shape;
}

SectionShape ShapeOfSection(const GridLook& look, CImageCache& images) {
  SectionShape shape;
  shape.cornerSize = images.SizeOf(look.sectionCorner);
  shape.expanderSize = images.SizeOf(look.sectionExpanded);
  if (shape.expanderSize.cx == 0) shape.expanderSize = images.SizeOf(look.sectionCollapsed);
  return shape;
}

namespace {

void PaintSectionRow(HDC dc, const RECT& rowRect, int row, const IQsGridModel* model, const GridLook& look,
                     const GridViewState& view, bool selected, CImageCache& images) {
  Fill(dc, rowRect, selected ? look.selectedBack : look.sectionBack);
  CQsGridCell cell;
  model->GetCell(row, 0, cell);
  const SectionParts parts = LayoutSection(rowRect, ShapeOfSection(look, images), look.metrics);
  images.Draw(dc, look.sectionCorner, parts.corner);
  if (parts.expander.right > parts.expander.left) {
    const bool collapsed = view.sectionCollapsed && view.sectionCollapsed(row);
    Gdiplus::Image* mark = collapsed ? look.sectionCollapsed : look.sectionExpanded;
    images.Draw(dc, mark ? mark : (collapsed ? look.sectionExpanded : look.sectionCollapsed), parts.expander);
  }
  Text(dc, cell.text, parts.text, look.sectionFont, look.sectionText, DT_LEFT);
}

void PaintCell(HDC dc, const RECT& cellRect, const CQsGridCell& cell, const GridLook& look, const GridViewState& view,
               bool hoverCell, bool selected, CImageCache& images) {
  const CellParts parts =
      LayoutCell(cellRect, ShapeOfCell(dc, cell, look, images, view.cardMode), look.metrics);
  if (cell.check) {
    if (view.cardMode) return;
    Gdiplus::Image* box = cell.image ? cell.image : (cell.IsChecked() ? look.checkOn : look.checkOff);
    if (box)
      images.Draw(dc, box, parts.check);
    else
      DrawPlainCheckBox(dc, parts.check, cell.IsChecked(), look.text, look.actionText);
    return;
  }
  if (cell.image) images.Draw(dc, cell.image, parts.image);
  for (size_t i = 0; i < parts.actions.size(); ++i) {
    const CQsGridAction& action = cell.actions[i];
    if (action.image) {
      images.Draw(dc, action.image, parts.actions[i]);
    } else {
      const bool hot = hoverCell && view.hoverAction == static_cast<int>(i);
      RECT rc = parts.actions[i];
      rc.top = cellRect.top;
      rc.bottom = cellRect.bottom;
      Text(dc, action.text, rc, hot && look.actionHoverFont ? look.actionHoverFont : look.actionFont,
           look.actionText, DT_LEFT);
    }
  }
  Text(dc, cell.text, parts.text, look.rowFont, selected ? look.selectedText : look.text, DT_LEFT);
}

}  // namespace

void PaintRows(HDC dc, const RECT& clip, const GridGeometry& geometry, const CRowMap& rows,
               const IQsGridModel* model, const GridLook& look, const GridViewState& view, CImageCache& images) {
  int first = 0, last = 0;
  geometry.ItemsIn(clip, first, last);
  if (!model) last = first;
  const int columns = static_cast<int>(geometry.columnWidths.size());
  const int rowsRight = geometry.originX + geometry.RowsWidth();
  CQsGridCell cell;
  for (int item = first; item < last; ++item) {
    const int row = rows.RowOfItem(item);
    if (row < 0) continue;
    RECT rowRect = geometry.ItemRect(item);
    const UINT state = view.itemState ? view.itemState(item) : 0;
    const bool selected = (state & LVIS_SELECTED) != 0;
    if (model->IsSectionRow(row)) {
      PaintSectionRow(dc, rowRect, row, model, look, view, selected, images);
    } else {
      const bool hover = item == view.hoverItem;
      Fill(dc, rowRect, selected ? look.selectedBack : hover ? look.hoverBack : look.background);
      for (int column = 0; column < columns; ++column) {
        const RECT cellRect = geometry.CellRect(item, column);
        if (cellRect.right <= clip.left || cellRect.left >= clip.right) continue;
        cell = CQsGridCell{};
        model->GetCell(row, column, cell);
        PaintCell(dc, cellRect, cell, look, view, hover && column == view.hoverColumn, selected, images);
      }
    }
    RECT line{rowRect.left, rowRect.bottom - 1, rowRect.right, rowRect.bottom};
    Fill(dc, line, look.gridLine);
  }
  // What no row covers: below the last row and right of the last column.
  const RECT below{clip.left, std::max<LONG>(clip.top, geometry.ItemRect(last).top), clip.right, clip.bottom};
  Fill(dc, below, look.background);
  const RECT right{std::max<LONG>(clip.left, rowsRight), clip.top, clip.right, clip.bottom};
  Fill(dc, right, look.background);
  // Between the header and the first row, in case the list leaves a gap.
  const RECT above{clip.left, clip.top, clip.right, std::min<LONG>(clip.bottom, geometry.rowsTop)};
  Fill(dc, above, look.background);
}

// ---- header ----

RECT HeaderCheckRect(const RECT& item, const HeaderLook& look, CImageCache& images) {
  SIZE size = images.SizeOf(look.checkOff);
  if (size.cx == 0) size = images.SizeOf(look.checkOn);
  if (size.cx == 0) size = kPlainBoxSize;
  return CentreIn(item, size);
}

void PaintHeader(HDC dc, const RECT& client, const std::vector<HeaderItemView>& items, const HeaderLook& look,
                 CImageCache& images) {
  if (look.span) {
    images.Draw(dc, look.span, client);
  } else {
    Fill(dc, client, look.face);
    Fill(dc, RECT{client.left, client.bottom - 1, client.right, client.bottom}, look.border);
  }
  for (const HeaderItemView& item : items) {
    RECT rc = item.rect;
    if (item.pressed) OffsetRect(&rc, 1, 1);
    if (item.hasCheck) {
      const RECT box = HeaderCheckRect(rc, look, images);
      Gdiplus::Image* image = item.checked ? look.checkOn : look.checkOff;
      if (image)
        images.Draw(dc, image, box);
      else
        DrawPlainCheckBox(dc, box, item.checked, look.border, look.text);
    } else if (!item.text.empty()) {
      RECT textRect{rc.left + look.padding, rc.top, rc.right - look.padding, rc.bottom};
      UINT align = (item.format & HDF_JUSTIFYMASK) == HDF_CENTER  ? DT_CENTER
                   : (item.format & HDF_JUSTIFYMASK) == HDF_RIGHT ? DT_RIGHT
                                                                  : DT_LEFT;
      Text(dc, item.text, textRect, look.font, look.text, align);
    }
    // The separator sits on the item's right edge.
    SIZE sep = images.SizeOf(look.separator);
    if (sep.cx > 0) {
      RECT at{item.rect.right - sep.cx, client.top, item.rect.right, client.bottom};
      images.Draw(dc, look.separator, at);
    } else {
      Fill(dc, RECT{item.rect.right - 1, client.top + 4, item.rect.right, client.bottom - 4}, look.border);
    }
  }
}

}  // namespace qsgrid
