// The super grid against a plain report-mode list view, side by side in one
// run: filling each with the same rows (100,000 and 10) and repainting each.
// The grid's rows stay with its owner (a vector here, as the module
// controllers keep theirs), so filling it is the owner's copy plus one item
// count; the plain list view gets every cell by LVM_INSERTITEM and
// LVM_SETITEMTEXT with drawing switched off, the ordinary way.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "controls/SuperGrid.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/GdiPlus.h"

namespace {

constexpr int kColumns = 7;
const double kRatios[kColumns] = {0.05, 0.05, 0.15, 0.25, 0.2, 0.2, 0.1};
const wchar_t* const kTitles[kColumns] = {L"", L"", L"From", L"Message", L"Time", L"Network", L""};

// One line of a message list: day header rows and message rows.
struct MessageRow {
  bool header = false;
  bool checked = false;
  bool read = false;
  std::wstring party, body, time, network;
};

std::vector<MessageRow> MakeRows(int count) {
  std::vector<MessageRow> rows;
  rows.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    MessageRow row;
    row.header = i % 50 == 0;
    wchar_t text[96];
    if (row.header) {
      swprintf(text, 96, L"2026-03-%02d", 1 + (i / 50) % 28);
      row.party = text;
    } else {
      swprintf(text, 96, L"1380013%04d", i % 10000);
      row.party = text;
      swprintf(text, 96, L"Message %d: see you at the station at half past six", i);
      row.body = text;
      swprintf(text, 96, L"2026-03-%02d %02d:%02d", 1 + (i / 50) % 28, (i / 60) % 24, i % 60);
      row.time = text;
      row.network = (i % 3) ? L"China Mobile" : L"China Unicom";
      row.read = i % 4 != 0;
      row.checked = i % 7 == 0;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

Gdiplus::Image* Image(const wchar_t* name) {
  Gdiplus::Image* image = nullptr;
  GetImage(name, image);
  return image;
}

class MessageModel : public IQsGridModel {
 public:
  std::vector<MessageRow> rows;
  mutable long cellsAsked = 0;
  Gdiplus::Image* readImage = Image(L"sms_messageicon_readed.png");
  Gdiplus::Image* unreadImage = Image(L"sms_messageicon_noread.png");
  Gdiplus::Image* deleteImage = Image(L"pim_list_detail.png");

  int GetRowCount() const override { return static_cast<int>(rows.size()); }
  bool IsSectionRow(int row) const override { return rows[row].header; }
  void GetCell(int row, int column, CQsGridCell& cell) const override {
    ++cellsAsked;
    const MessageRow& r = rows[row];
    if (r.header) {
      if (column == 0) cell.text = r.party;
      return;
    }
    switch (column) {
      case 0: cell.check = true; cell.text = r.checked ? L"1" : L"0"; break;
      case 1: cell.image = r.read ? readImage : unreadImage; break;
      case 2: cell.text = r.party; break;
      case 3: cell.text = r.body; break;
      case 4: cell.text = r.time; break;
      case 5: cell.text = r.network; break;
      case 6: cell.actions = {{L"Delete", deleteImage}}; break;
      default: break;
    }
  }
};

// Rows that exist only as numbers: texts are made when a cell is asked for.
class GeneratedModel : public IQsGridModel {
 public:
  int rows = 0;
  int GetRowCount() const override { return rows; }
  bool IsSectionRow(int row) const override { return row % 50 == 0; }
  void GetCell(int row, int column, CQsGridCell& cell) const override {
    if (column == 0) {
      cell.check = !IsSectionRow(row);
      cell.text = IsSectionRow(row) ? L"2026-03-07" : L"0";
    } else if (!IsSectionRow(row)) {
      cell.text = std::to_wstring(row * 10 + column);
    }
  }
};

// The text the plain list view gets for a cell: what the grid reports for it.
std::wstring PlainText(const MessageModel& model, int row, int column) {
  CQsGridCell cell;
  model.GetCell(row, column, cell);
  return cell.ReadableText();
}

HWND MakeList(HWND parent, bool ownerData) {
  DWORD style = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | (ownerData ? LVS_OWNERDATA : 0);
  return ::CreateWindowExW(0, WC_LISTVIEWW, L"", style, 0, 0, 900, 600, parent, nullptr, ::GetModuleHandleW(nullptr),
                           nullptr);
}

void FillPlain(HWND list, const MessageModel& model) {
  ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  for (int row = 0; row < model.GetRowCount(); ++row) {
    std::wstring text = PlainText(model, row, 0);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = text.data();
    const int at = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    for (int column = 1; column < kColumns; ++column) {
      text = PlainText(model, row, column);
      LVITEMW sub{};
      sub.iSubItem = column;
      sub.pszText = text.data();
      ::SendMessageW(list, LVM_SETITEMTEXTW, at, reinterpret_cast<LPARAM>(&sub));
    }
  }
  ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

double Repaint(HWND list) {
  return bench::BestOf(20, [&] {
    ::InvalidateRect(list, nullptr, TRUE);
    ::UpdateWindow(list);
  });
}

LRESULT CALLBACK ParentProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(hWnd, msg, wParam, lParam);
}

HWND MakeParent() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ParentProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"GridBenchParent";
  ::RegisterClassExW(&wc);
  HWND parent = ::CreateWindowExW(0, wc.lpszClassName, L"grid bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                  920, 640, nullptr, nullptr, wc.hInstance, nullptr);
  ::ShowWindow(parent, SW_SHOWNOACTIVATE);
  return parent;
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&icc);
  ::OleInitialize(nullptr);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);

  {
    HWND parent = MakeParent();
    const std::vector<MessageRow> big = MakeRows(100000), small = MakeRows(10);

    // ---- the grid ----
    HWND gridList = MakeList(parent, true);
    CQsSuperGrid grid;
    grid.SubclassWindow(gridList);
    MessageModel model;
    for (int i = 0; i < kColumns; ++i) grid.AddColumn(kTitles[i], kRatios[i]);
    grid.SetCheckBoxImagesFromKeys(L"pim_checkbox_unselect.png", L"pim_checkbox_select.png");
    grid.SetHeaderImagesFromKeys(L"comm_listheaer_span.png", L"comm_listheaer_sep.png");
    grid.SetSectionImagesFromKeys(L"pim_list_Group_corner.png", L"", L"");
    grid.SetFontFromKey(GridFont::Row, L"tamix_font_gdione");
    grid.SetFontFromKey(GridFont::Section, L"tamix_font_gdithree");
    grid.SetModel(&model);

    auto fillGrid = [&](const std::vector<MessageRow>& rows) {
      model.rows.clear();
      grid.Refresh();  // the owner empties the list first, as the controllers do
      model.rows = rows;
      grid.Refresh();
    };
    const double gridFillBig = bench::BestOf(5, [&] { fillGrid(big); });
    model.cellsAsked = 0;
    const double gridRefreshOnly = bench::BestOf(5, [&] { grid.Refresh(); });
    const long cellsForFill = model.cellsAsked;
    const double gridRepaintTop = Repaint(gridList);
    grid.EnsureRowVisible(50000);
    model.cellsAsked = 0;
    const double gridRepaintMiddle = Repaint(gridList);
    const long cellsPerRepaint = model.cellsAsked / 20;
    const double gridFillSmall = bench::BestOf(5, [&] { fillGrid(small); });
    const double gridRefreshSmall = bench::BestOf(5, [&] { grid.Refresh(); });
    const double gridRepaintSmall = Repaint(gridList);

    // A million rows made up on demand: the item count is all a fill costs.
    GeneratedModel generated;
    generated.rows = 1000000;
    grid.SetModel(&generated);
    const double gridRefreshMillion = bench::BestOf(5, [&] { grid.Refresh(); });
    grid.EnsureRowVisible(500000);
    const double gridRepaintMillion = Repaint(gridList);
    grid.SetModel(&model);

    bench::Report("grid: fill 100,000 rows (owner's copy + Refresh)", gridFillBig, "ms", "best of 5");
    bench::Report("grid: Refresh alone with 100,000 rows", gridRefreshOnly, "ms",
                  "cells asked: " + std::to_string(cellsForFill));
    bench::Report("grid: fill 10 rows", gridFillSmall, "ms", "best of 5");
    bench::Report("grid: Refresh alone with 10 rows", gridRefreshSmall, "ms", "best of 5");
    bench::Report("grid: Refresh alone with 1,000,000 generated rows", gridRefreshMillion, "ms", "best of 5");
    bench::Report("grid: repaint, 1,000,000 generated rows, scrolled to row 500,000", gridRepaintMillion, "ms",
                  "best of 20");
    bench::Report("grid: repaint, 100,000 rows, top", gridRepaintTop, "ms", "best of 20");
    bench::Report("grid: repaint, 100,000 rows, scrolled to row 50,000", gridRepaintMiddle, "ms",
                  "cells asked per repaint: " + std::to_string(cellsPerRepaint));
    bench::Report("grid: repaint, 10 rows", gridRepaintSmall, "ms", "best of 20");
    ::DestroyWindow(gridList);

    // ---- the plain list view, same rows ----
    HWND plain = MakeList(parent, false);
    for (int i = 0; i < kColumns; ++i) {
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.cx = static_cast<int>(900 * kRatios[i]);
      column.pszText = const_cast<wchar_t*>(kTitles[i]);
      ::SendMessageW(plain, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    MessageModel source;
    source.rows = big;
    bench::Stopwatch watch;
    FillPlain(plain, source);
    const double plainFillBig = watch.Milliseconds();
    const double plainRepaintTop = Repaint(plain);
    ::SendMessageW(plain, LVM_ENSUREVISIBLE, 50000, FALSE);
    const double plainRepaintMiddle = Repaint(plain);
    source.rows = small;
    const double plainFillSmall = bench::BestOf(5, [&] { FillPlain(plain, source); });
    const double plainRepaintSmall = Repaint(plain);

    bench::Report("list view: fill 100,000 rows (LVM_INSERTITEM + LVM_SETITEMTEXT, redraw off)", plainFillBig, "ms",
                  "one run");
    bench::Report("list view: fill 10 rows", plainFillSmall, "ms", "best of 5");
    bench::Report("list view: repaint, 100,000 rows, top", plainRepaintTop, "ms", "best of 20");
    bench::Report("list view: repaint, 100,000 rows, scrolled to row 50,000", plainRepaintMiddle, "ms", "best of 20");
    bench::Report("list view: repaint, 10 rows", plainRepaintSmall, "ms", "best of 20");
    ::DestroyWindow(parent);
  }

  Gdiplus::GdiplusShutdown(token);
  ::OleUninitialize();
  return 0;
}
