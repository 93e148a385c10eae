// CQsSuperGrid bound to a real owner-data list view: column widths, the
// notifications that clicks send, collapsed sections, item texts through the
// platform's own requests, painting (pixels) and what filling and painting
// ask of the model.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <set>

#include "TestSupport.h"
#include "controls/SuperGrid.h"
#include "frame/resmodule/PimResIds.h"
#include "framework/Gdi.h"
#include "framework/GdiPlus.h"

using testing_support::CreateTestParent;
using testing_support::PumpMessages;

namespace {

constexpr int kListId = 0x488;

// A contact list in miniature: sections, a check column, two texts, two text
// actions and an image action.
class ContactsModel : public IQsGridModel {
 public:
  struct Row {
    bool section = false;
    std::wstring text;
    bool checked = false;
    std::wstring phone;
  };
  std::vector<Row> rows;
  std::set<int> collapsed;
  std::vector<int> toggles;
  Gdiplus::Image* removeImage = nullptr;
  mutable int cellCalls = 0;
  mutable int minRowAsked = INT_MAX;
  mutable int maxRowAsked = -1;

  int GetRowCount() const override { return static_cast<int>(rows.size()); }
  bool IsSectionRow(int row) const override { return rows[row].section; }
  void GetCell(int row, int column, CQsGridCell& cell) const override {
    ++cellCalls;
    minRowAsked = std::min(minRowAsked, row);
    maxRowAsked = std::max(maxRowAsked, row);
    const Row& r = rows[row];
    if (r.section) {
      if (column == 0) cell.text = r.text;
      return;
    }
    switch (column) {
      case 0:
        cell.check = true;
        cell.text = r.checked ? L"1" : L"0";
        break;
      case 1: cell.text = r.text; break;
      case 2: cell.text = r.phone; break;
      case 3: cell.actions = {{L"Edit", nullptr}, {L"Delete", nullptr}}; break;
      case 4: cell.actions = {{L"Remove", removeImage}}; break;
      default: break;
    }
  }
  void GetCollapsedSections(std::vector<int>& sections) const override {
    sections.assign(collapsed.begin(), collapsed.end());
  }
  void OnSectionToggle(int row) override {
    toggles.push_back(row);
    if (!collapsed.erase(row)) collapsed.insert(row);
  }
  void ResetCounters() const {
    cellCalls = 0;
    minRowAsked = INT_MAX;
    maxRowAsked = -1;
  }
};

// What the parent heard.
struct ParentLog {
  std::vector<NMQSGRIDCELL> cells;
  std::vector<NMQSGRIDHEADER> headers;
  std::vector<int> clickedItems;  // NM_CLICK
};

LRESULT CALLBACK RecordingParent(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* log = reinterpret_cast<ParentLog*>(data);
  if (msg == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code == QSGN_CELLCLICK) log->cells.push_back(*reinterpret_cast<const NMQSGRIDCELL*>(lParam));
    if (header->code == QSGN_HEADERCLICK) log->headers.push_back(*reinterpret_cast<const NMQSGRIDHEADER*>(lParam));
    if (header->code == NM_CLICK) log->clickedItems.push_back(reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem);
  }
  return ::DefSubclassProc(hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK CountColumnWidths(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  if (msg == LVM_SETCOLUMNWIDTH) ++*reinterpret_cast<int*>(data);
  return ::DefSubclassProc(hWnd, msg, wParam, lParam);
}

std::unique_ptr<Gdiplus::Bitmap> SolidImage(int width, int height, BYTE r, BYTE g, BYTE b) {
  auto image = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
  Gdiplus::Graphics graphics(image.get());
  graphics.Clear(Gdiplus::Color(255, r, g, b));
  return image;
}

POINT Centre(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

void PostClick(HWND hWnd, POINT pt) {
  ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  ::PostMessageW(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  PumpMessages();
}

std::wstring ItemText(HWND list, int item, int column) {
  wchar_t buffer[256] = {};
  LVITEMW request{};
  request.iSubItem = column;
  request.pszText = buffer;
  request.cchTextMax = 256;
  const LRESULT length = ::SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&request));
  return std::wstring(buffer, static_cast<size_t>(std::max<LRESULT>(length, 0)));
}

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kSelected = RGB(20, 160, 60);
constexpr COLORREF kHover = RGB(250, 230, 120);
constexpr COLORREF kSection = RGB(90, 90, 200);

class SuperGridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = CreateTestParent(1100, 700);
    ::SetWindowSubclass(parent, &RecordingParent, 1, reinterpret_cast<DWORD_PTR>(&log));
    list = ::CreateWindowExW(0, WC_LISTVIEWW, L"",
                             WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 0, 0, 700, 400,
                             parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)),
                             ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(list);
    ASSERT_TRUE(grid.SubclassWindow(list));
    checkedImage = SolidImage(18, 18, 255, 0, 0);
    uncheckedImage = SolidImage(18, 18, 0, 0, 255);
    expandedImage = SolidImage(16, 16, 0, 200, 0);
    collapsedImage = SolidImage(16, 16, 200, 200, 0);
    removeImage = SolidImage(16, 16, 120, 0, 120);
    grid.SetCheckBoxImages(uncheckedImage.get(), checkedImage.get());
    grid.SetSectionImages(nullptr, expandedImage.get(), collapsedImage.get());
    grid.SetColor(GridColor::Background, kBackground);
    grid.SetColor(GridColor::SelectedBack, kSelected);
    grid.SetColor(GridColor::HoverBack, kHover);
    grid.SetColor(GridColor::SectionBack, kSection);
    grid.AddColumn(L"", 0.08);
    grid.AddColumn(L"Name", 0.3);
    grid.AddColumn(L"Phone", 0.3);
    grid.AddColumn(L"", 0.22);
    grid.AddColumn(L"", 0.1);
    model.removeImage = removeImage.get();
    model.rows = {
        {true, L"A", false, L""},        {false, L"Alice", true, L"1381"},  {false, L"Anna", false, L"1382"},
        {true, L"B", false, L""},        {false, L"Bob", false, L"1383"},   {false, L"Bert", true, L"1384"},
        {true, L"Other", false, L""},    {false, L"Zed", false, L"1385"},
    };
    grid.SetModel(&model);
  }

  void TearDown() override { ::DestroyWindow(parent); }

  RECT CheckBox(int row, int column = 0) {
    RECT rc{};
    EXPECT_TRUE(grid.GetCheckBoxRect(row, column, rc)) << "row " << row;
    return rc;
  }
  RECT Action(int row, int column, int action) {
    RECT rc{};
    EXPECT_TRUE(grid.GetActionRect(row, column, action, rc)) << "row " << row << " action " << action;
    return rc;
  }
  // The grid as WM_PRINTCLIENT draws it.
  std::unique_ptr<wf::MemoryCanvas> Print() {
    const RECT client = grid.GetClientRect();
    auto canvas = std::make_unique<wf::MemoryCanvas>(nullptr, client.right, client.bottom);
    ::SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT);
    return canvas;
  }
  // A point of a row where nothing but the background is drawn: the far end
  // of the phone column (short texts).
  POINT EmptyPointOf(int row) {
    RECT cell{};
    EXPECT_TRUE(grid.GetCellRect(row, 2, cell));
    return POINT{cell.right - 4, cell.top + 3};
  }

  HWND parent = nullptr;
  HWND list = nullptr;
  ParentLog log;
  CQsSuperGrid grid;
  ContactsModel model;
  std::unique_ptr<Gdiplus::Bitmap> checkedImage, uncheckedImage, expandedImage, collapsedImage, removeImage;
};

// ---- columns ----

// The width the columns share in a grid `clientWidth` wide without a
// vertical scroll bar: room is kept for one.
int RoomForColumns(int clientWidth) { return clientWidth - ::GetSystemMetrics(SM_CXVSCROLL); }

TEST_F(SuperGridTest, ColumnWidthsFollowTheRatiosAndStayWhenTheScrollBarComes) {
  grid.SetColumnRatios({0.05, 0.05, 0.15, 0.25, 0.2});
  grid.AddColumn(L"Net", 0.2);
  grid.AddColumn(L"", 0.1);
  ::SetWindowPos(list, nullptr, 0, 0, 1000, 400, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_EQ(grid.GetClientRect().right, 1000);
  ASSERT_FALSE(::GetWindowLongPtrW(list, GWL_STYLE) & WS_VSCROLL);
  // Room is kept for the scroll bar while it is not shown.
  const auto expected = qsgrid::ComputeColumnWidths(RoomForColumns(1000), {0.05, 0.05, 0.15, 0.25, 0.2, 0.2, 0.1});
  int widths[7];
  for (int i = 0; i < 7; ++i) {
    widths[i] = ListView_GetColumnWidth(list, i);
    EXPECT_EQ(widths[i], expected[i]) << "column " << i;
  }
  // Rows past a page bring the scroll bar; the columns are not laid out again.
  for (int i = 0; i < 40; ++i) model.rows.push_back({false, L"Row", false, L"1390"});
  grid.Refresh();
  ASSERT_TRUE(::GetWindowLongPtrW(list, GWL_STYLE) & WS_VSCROLL);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(ListView_GetColumnWidth(list, i), widths[i]) << "column " << i;
}

TEST_F(SuperGridTest, ResizingToTheSameWidthSetsTheWidthsOnce) {
  int sets = 0;
  ::SetWindowSubclass(list, &CountColumnWidths, 2, reinterpret_cast<DWORD_PTR>(&sets));
  ::SetWindowPos(list, nullptr, 0, 0, 1000, 300, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(sets, 5);
  ::SetWindowPos(list, nullptr, 0, 0, 1000, 350, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(sets, 5);
  grid.LayoutColumns();  // the owner asking at the same width changes nothing either
  EXPECT_EQ(sets, 5);
  ::SetWindowPos(list, nullptr, 0, 0, 900, 350, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(sets, 10);
  ::RemoveWindowSubclass(list, &CountColumnWidths, 2);
}

TEST_F(SuperGridTest, NewRatiosApplyAtTheSameWidth) {
  ::SetWindowPos(list, nullptr, 0, 0, 1000, 400, SWP_NOMOVE | SWP_NOZORDER);
  grid.SetColumnRatios({0.1, 0.2, 0.3, 0.2, 0.2});
  const auto expected = qsgrid::ComputeColumnWidths(RoomForColumns(1000), {0.1, 0.2, 0.3, 0.2, 0.2});
  EXPECT_EQ(ListView_GetColumnWidth(list, 0), expected[0]);
  EXPECT_EQ(ListView_GetColumnWidth(list, 3), expected[3]);
}

TEST_F(SuperGridTest, ANarrowGridGivesAnOverfullColumnNoWidthRatherThanAutoSize) {
  // Three columns of 30 and a last of 30 leave the fourth -20 of 100: sent as
  // is, -1 or -2 would make the list view fit the column to its contents.
  grid.SetColumnRatios({0.3, 0.3, 0.3, 0.6, 0.3});
  ::SetWindowPos(list, nullptr, 0, 0, 100, 400, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(ListView_GetColumnWidth(list, 3), 0);
}

// ---- rows ----

TEST_F(SuperGridTest, RowsHaveTheChosenHeight) {
  RECT rc{};
  rc.left = LVIR_BOUNDS;
  ASSERT_TRUE(ListView_GetItemRect(list, 1, &rc, LVIR_BOUNDS));
  EXPECT_EQ(rc.bottom - rc.top, CQsSuperGrid::kDefaultRowHeight);
  grid.SetRowHeight(36);
  ASSERT_TRUE(ListView_GetItemRect(list, 1, &rc, LVIR_BOUNDS));
  EXPECT_EQ(rc.bottom - rc.top, 36);
  // And the header keeps its own height above them.
  RECT header = grid.Header().GetRectInParent();
  EXPECT_EQ(header.bottom - header.top, CQsHeaderCtrl::kDefaultHeight);
  ASSERT_TRUE(ListView_GetItemRect(list, 0, &rc, LVIR_BOUNDS));
  EXPECT_EQ(rc.top, header.bottom);
}

// ---- clicks ----

TEST_F(SuperGridTest, ACheckBoxClickReportsTheRowAndTheValueBeforeIt) {
  PostClick(list, Centre(CheckBox(2)));  // Anna, unchecked
  PostClick(list, Centre(CheckBox(1)));  // Alice, checked
  ASSERT_EQ(log.cells.size(), 2u);
  EXPECT_EQ(log.cells[0].hdr.idFrom, static_cast<UINT_PTR>(kListId));
  EXPECT_EQ(log.cells[0].hdr.hwndFrom, list);
  EXPECT_EQ(log.cells[0].iRow, 2);
  EXPECT_EQ(log.cells[0].iColumn, 0);
  EXPECT_EQ(log.cells[0].iAction, -1);
  EXPECT_EQ(log.cells[0].iCheck, 0);
  EXPECT_EQ(log.cells[1].iRow, 1);
  EXPECT_EQ(log.cells[1].iCheck, 1);
  // The grid leaves the value to the owner.
  EXPECT_EQ(model.rows[2].checked, false);
}

TEST_F(SuperGridTest, EachRowActionIsReportedByItsIndex) {
  PostClick(list, Centre(Action(4, 3, 0)));
  PostClick(list, Centre(Action(4, 3, 1)));
  PostClick(list, Centre(Action(7, 4, 0)));  // an image action
  ASSERT_EQ(log.cells.size(), 3u);
  EXPECT_EQ(log.cells[0].iRow, 4);
  EXPECT_EQ(log.cells[0].iColumn, 3);
  EXPECT_EQ(log.cells[0].iAction, 0);
  EXPECT_EQ(log.cells[1].iAction, 1);
  EXPECT_EQ(log.cells[2].iRow, 7);
  EXPECT_EQ(log.cells[2].iColumn, 4);
  EXPECT_EQ(log.cells[2].iAction, 0);
  EXPECT_EQ(log.cells[2].iCheck, 0);
  // The two text actions are told apart by position: the second lies right of the first.
  EXPECT_GT(Action(4, 3, 1).left, Action(4, 3, 0).right);
}

TEST_F(SuperGridTest, PlainCellsSendNoCellNoticeButThePlatformsClickStillArrives) {
  RECT cell{};
  ASSERT_TRUE(grid.GetCellRect(5, 1, cell));
  PostClick(list, POINT{cell.right - 3, (cell.top + cell.bottom) / 2});
  // Between the two actions.
  const RECT edit = Action(5, 3, 0);
  PostClick(list, POINT{edit.right + 2, (edit.top + edit.bottom) / 2});
  EXPECT_TRUE(log.cells.empty());
  ASSERT_EQ(log.clickedItems.size(), 2u);
  EXPECT_EQ(log.clickedItems[0], 5);
  EXPECT_EQ(grid.GetSelectedRows(), std::vector<int>{5});
}

TEST_F(SuperGridTest, ADoubleClickOnACheckBoxCountsAsTwoClicks) {
  const POINT pt = Centre(CheckBox(4));
  ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  ::PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  ::PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  PumpMessages();
  ASSERT_EQ(log.cells.size(), 2u);
  EXPECT_EQ(log.cells[1].iRow, 4);
}

TEST_F(SuperGridTest, InCardModeCheckBoxesAndActionsAreNotThere) {
  const POINT box = Centre(CheckBox(4));
  const POINT edit = Centre(Action(4, 3, 0));
  grid.SetCardMode(true);
  RECT rc{};
  EXPECT_FALSE(grid.GetCheckBoxRect(4, 0, rc));
  EXPECT_FALSE(grid.GetActionRect(4, 3, 0, rc));
  PostClick(list, box);
  PostClick(list, edit);
  EXPECT_TRUE(log.cells.empty());
  grid.SetCardMode(false);
  PostClick(list, box);
  EXPECT_EQ(log.cells.size(), 1u);
}

TEST_F(SuperGridTest, TheHeaderCheckBoxReportsItsValueBeforeTheClickAndFlips) {
  grid.SetHeaderCheckColumn(0);
  const HWND header = grid.Header().m_hWnd;
  ASSERT_TRUE(header);
  const RECT box = grid.GetHeaderCheckRect();
  ASSERT_GT(box.right, box.left);
  PostClick(header, Centre(box));
  EXPECT_TRUE(grid.GetHeaderCheck());
  PostClick(header, Centre(box));
  EXPECT_FALSE(grid.GetHeaderCheck());
  // Another column's header: its index, and no box to report.
  PostClick(header, Centre(grid.Header().GetItemRect(2)));
  ASSERT_EQ(log.headers.size(), 3u);
  EXPECT_EQ(log.headers[0].hdr.idFrom, static_cast<UINT_PTR>(kListId));
  EXPECT_EQ(log.headers[0].iColumn, 0);
  EXPECT_EQ(log.headers[0].iCheck, 0);
  EXPECT_EQ(log.headers[1].iColumn, 0);
  EXPECT_EQ(log.headers[1].iCheck, 1);
  EXPECT_EQ(log.headers[2].iColumn, 2);
  EXPECT_EQ(log.headers[2].iCheck, 0);
  EXPECT_FALSE(grid.GetHeaderCheck());
}

// ---- sections ----

TEST_F(SuperGridTest, ACollapsedSectionHidesItsRowsFromTheList) {
  model.collapsed = {0};
  grid.Refresh();
  EXPECT_EQ(ListView_GetItemCount(list), 6);
  EXPECT_EQ(ItemText(list, 0, 0), L"A");
  EXPECT_EQ(ItemText(list, 1, 0), L"B");   // Alice and Anna are gone
  EXPECT_EQ(ItemText(list, 2, 1), L"Bob");
  EXPECT_EQ(grid.RowFromItem(2), 4);
  EXPECT_EQ(grid.ItemFromRow(1), -1);
  EXPECT_TRUE(grid.IsSectionCollapsed(0));
  EXPECT_FALSE(grid.IsSectionCollapsed(3));
  // Notices speak of rows: Bob's box is row 4 although it is item 2.
  PostClick(list, Centre(CheckBox(4)));
  ASSERT_EQ(log.cells.size(), 1u);
  EXPECT_EQ(log.cells[0].iRow, 4);
}

TEST_F(SuperGridTest, TheExpanderFoldsAndUnfoldsASection) {
  RECT expander{};
  ASSERT_TRUE(grid.GetExpanderRect(3, expander));
  PostClick(list, Centre(expander));
  EXPECT_EQ(model.toggles, std::vector<int>{3});
  EXPECT_EQ(ListView_GetItemCount(list), 6);
  EXPECT_EQ(grid.ItemFromRow(7), 5);
  EXPECT_TRUE(log.cells.empty());  // the owner hears of it through its model only
  ASSERT_TRUE(grid.GetExpanderRect(3, expander));
  PostClick(list, Centre(expander));
  EXPECT_EQ(model.toggles, (std::vector<int>{3, 3}));
  EXPECT_EQ(ListView_GetItemCount(list), 8);
}

TEST_F(SuperGridTest, FoldingASectionKeepsTheSelectionOnItsRows) {
  model.collapsed = {3};
  grid.Refresh();
  grid.SelectRow(7);  // item 5 while B is folded
  grid.SelectRow(2);
  grid.ToggleSection(3);
  EXPECT_EQ(grid.ItemFromRow(7), 7);
  std::vector<int> selected = grid.GetSelectedRows();
  std::sort(selected.begin(), selected.end());
  EXPECT_EQ(selected, (std::vector<int>{2, 7}));
  EXPECT_FALSE(grid.IsRowSelected(5));  // the row that item 5 shows now
}

TEST_F(SuperGridTest, WithoutExpanderImagesSectionsDoNotFold) {
  grid.SetSectionImages(nullptr, nullptr, nullptr);
  RECT expander{};
  EXPECT_FALSE(grid.GetExpanderRect(0, expander));
  PostClick(list, POINT{30, grid.GetGeometry().ItemRect(0).top + 10});
  EXPECT_TRUE(model.toggles.empty());
  EXPECT_EQ(ListView_GetItemCount(list), 8);
}

// ---- texts ----

TEST_F(SuperGridTest, EveryCellCanBeReadBackWithTheListViewsOwnMessage) {
  const int items = ListView_GetItemCount(list);
  ASSERT_EQ(items, 8);
  for (int item = 0; item < items; ++item)
    for (int column = 0; column < grid.GetColumnCount(); ++column) {
      CQsGridCell cell;
      model.GetCell(item, column, cell);
      EXPECT_EQ(ItemText(list, item, column), cell.ReadableText()) << "item " << item << " column " << column;
    }
  // What those texts are for the kinds of cell.
  EXPECT_EQ(ItemText(list, 1, 0), L"1");
  EXPECT_EQ(ItemText(list, 2, 0), L"0");
  EXPECT_EQ(ItemText(list, 2, 1), L"Anna");
  EXPECT_EQ(ItemText(list, 2, 3), L"Edit Delete");
  EXPECT_EQ(ItemText(list, 2, 4), L"Remove");
  EXPECT_EQ(ItemText(list, 6, 0), L"Other");
  EXPECT_EQ(ItemText(list, 6, 1), L"");
}

TEST_F(SuperGridTest, TextRequestsAreAnsweredInBothCharacterSetsAndCutToTheBuffer) {
  char narrow[4] = {};
  NMLVDISPINFOA info{};
  info.hdr.hwndFrom = list;
  info.hdr.idFrom = kListId;
  info.hdr.code = LVN_GETDISPINFOA;
  info.item.mask = LVIF_TEXT;
  info.item.iItem = 4;
  info.item.iSubItem = 2;
  info.item.pszText = narrow;
  info.item.cchTextMax = 4;
  ::SendMessageW(parent, WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(narrow, "138");

  wchar_t wide[3] = {};
  LVITEMW request{};
  request.iSubItem = 1;
  request.pszText = wide;
  request.cchTextMax = 3;
  ::SendMessageW(list, LVM_GETITEMTEXTW, 5, reinterpret_cast<LPARAM>(&request));
  EXPECT_STREQ(wide, L"Be");
}

// ---- painting ----

TEST_F(SuperGridTest, SelectedSectionAndPlainRowsHaveTheirBackgrounds) {
  grid.SelectRow(4);
  auto canvas = Print();
  POINT selected = EmptyPointOf(4), plain = EmptyPointOf(5);
  EXPECT_EQ(canvas->GetPixelRef(selected.x, selected.y), kSelected);
  EXPECT_EQ(canvas->GetPixelRef(plain.x, plain.y), kBackground);
  const RECT section = grid.GetGeometry().ItemRect(3);
  EXPECT_EQ(canvas->GetPixelRef(section.right - 5, section.top + 3), kSection);
}

TEST_F(SuperGridTest, CheckedAndUncheckedBoxesShowTheirImagesInTheirCells) {
  auto canvas = Print();
  for (int row : {1, 2, 4, 5, 7}) {
    const POINT pt = Centre(CheckBox(row));
    const COLORREF expected = model.rows[row].checked ? RGB(255, 0, 0) : RGB(0, 0, 255);
    EXPECT_EQ(canvas->GetPixelRef(pt.x, pt.y), expected) << "row " << row;
  }
  // An image action is drawn where it is clicked.
  const POINT remove = Centre(Action(7, 4, 0));
  EXPECT_EQ(canvas->GetPixelRef(remove.x, remove.y), RGB(120, 0, 120));
  // Card mode draws no box.
  grid.SetCardMode(true);
  canvas = Print();
  const POINT box = Centre(grid.GetGeometry().CellRect(1, 0));
  EXPECT_EQ(canvas->GetPixelRef(box.x, box.y), kBackground);
}

TEST_F(SuperGridTest, TheRowUnderTheMouseIsDrawnHovered) {
  const POINT over = EmptyPointOf(5);
  ::SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
  auto canvas = Print();
  EXPECT_EQ(canvas->GetPixelRef(over.x, over.y), kHover);
  const POINT other = EmptyPointOf(4);
  EXPECT_EQ(canvas->GetPixelRef(other.x, other.y), kBackground);
  ::SendMessageW(list, WM_MOUSELEAVE, 0, 0);
  canvas = Print();
  EXPECT_EQ(canvas->GetPixelRef(over.x, over.y), kBackground);
}

TEST_F(SuperGridTest, TheCollapsedExpanderHasItsOwnImage) {
  RECT expander{};
  ASSERT_TRUE(grid.GetExpanderRect(3, expander));
  auto canvas = Print();
  POINT pt = Centre(expander);
  EXPECT_EQ(canvas->GetPixelRef(pt.x, pt.y), RGB(0, 200, 0));
  model.collapsed = {3};
  grid.Refresh();
  canvas = Print();
  EXPECT_EQ(canvas->GetPixelRef(pt.x, pt.y), RGB(200, 200, 0));
}

TEST_F(SuperGridTest, TheHeaderDrawsItsCheckBoxFromTheImages) {
  grid.SetHeaderCheckColumn(0);
  grid.SetHeaderCheck(true);
  const HWND header = grid.Header().m_hWnd;
  RECT client;
  ::GetClientRect(header, &client);
  wf::MemoryCanvas canvas(nullptr, client.right, client.bottom);
  ::SendMessageW(header, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
  const POINT pt = Centre(grid.GetHeaderCheckRect());
  EXPECT_EQ(canvas.GetPixelRef(pt.x, pt.y), RGB(255, 0, 0));
  grid.SetHeaderCheck(false);
  ::SendMessageW(header, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
  EXPECT_EQ(canvas.GetPixelRef(pt.x, pt.y), RGB(0, 0, 255));
}

TEST_F(SuperGridTest, ThePaintMessageDrawsOnScreenWhatPrintingDraws) {
  ::ShowWindow(parent, SW_SHOWNOACTIVATE);
  grid.SelectRow(2);
  ::InvalidateRect(list, nullptr, FALSE);
  ::UpdateWindow(list);
  const POINT pt = EmptyPointOf(2);
  HDC screen = ::GetDC(list);
  const COLORREF shown = ::GetPixel(screen, pt.x, pt.y);
  const POINT box = Centre(CheckBox(1));
  const COLORREF boxShown = ::GetPixel(screen, box.x, box.y);
  ::ReleaseDC(list, screen);
  EXPECT_EQ(shown, kSelected);
  EXPECT_EQ(boxShown, RGB(255, 0, 0));
}

// ---- a virtual list ----

TEST_F(SuperGridTest, FillingAHundredThousandRowsAsksTheModelNothing) {
  model.rows.assign(100000, ContactsModel::Row{false, L"Name", false, L"1390"});
  for (int i = 0; i < 100000; i += 1000) model.rows[i] = ContactsModel::Row{true, L"S", false, L""};
  model.ResetCounters();
  grid.Refresh();
  EXPECT_EQ(model.cellCalls, 0);
  EXPECT_EQ(ListView_GetItemCount(list), 100000);
}

TEST_F(SuperGridTest, PaintingAsksOnlyForTheRowsOnScreen) {
  model.rows.assign(100000, ContactsModel::Row{false, L"Name", false, L"1390"});
  grid.Refresh();
  grid.EnsureRowVisible(50000);
  model.ResetCounters();
  Print();
  const qsgrid::GridGeometry geometry = grid.GetGeometry();
  const int visible = (geometry.clientHeight - geometry.rowsTop + geometry.rowHeight - 1) / geometry.rowHeight;
  EXPECT_GT(model.cellCalls, 0);
  EXPECT_LE(model.cellCalls, visible * grid.GetColumnCount());
  EXPECT_GE(model.minRowAsked, 50000 - visible);
  EXPECT_LE(model.maxRowAsked, 50000 + visible);
}

// ---- the lists of the main window's template ----

INT_PTR CALLBACK PlainDialog(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// A message list in miniature: a day header, then messages with a lock box,
// a read image and a delete image in the last column.
class MessagesModel : public IQsGridModel {
 public:
  Gdiplus::Image* deleteImage = nullptr;
  int GetRowCount() const override { return 4; }
  bool IsSectionRow(int row) const override { return row == 0; }
  void GetCell(int row, int column, CQsGridCell& cell) const override {
    if (row == 0) {
      if (column == 0) cell.text = L"2026-03-07";
      return;
    }
    if (column == 0) {
      cell.check = true;
      cell.text = row == 2 ? L"1" : L"0";
    } else if (column == 2) {
      cell.text = L"1380013800" + std::to_wstring(row);
    } else if (column == 6) {
      cell.actions = {{L"Delete", deleteImage}};
    }
  }
};

TEST(SuperGridInTemplate, TheMessageListOfTheMainWindowWorksInItsDialog) {
  HMODULE resources = ::LoadLibraryW(L"PimRes.dll");
  ASSERT_TRUE(resources);
  HWND parent = CreateTestParent(1200, 700);
  HWND dialog = ::CreateDialogParamW(resources, MAKEINTRESOURCEW(IDD_PIM_MAIN), parent, &PlainDialog, 0);
  ASSERT_TRUE(dialog);
  ParentLog log;
  ::SetWindowSubclass(dialog, &RecordingParent, 1, reinterpret_cast<DWORD_PTR>(&log));

  CQsSuperGrid messages;
  ASSERT_TRUE(messages.SubclassDlgItem(IDC_SMS_LIST, dialog));
  auto deleteImage = SolidImage(16, 16, 200, 30, 30);
  MessagesModel model;
  model.deleteImage = deleteImage.get();
  const double ratios[] = {0.05, 0.05, 0.15, 0.25, 0.2, 0.2, 0.1};
  const wchar_t* titles[] = {L"", L"", L"From", L"Content", L"Time", L"Network", L""};
  for (int i = 0; i < 7; ++i) messages.AddColumn(titles[i], ratios[i]);
  messages.SetModel(&model);
  ::SetWindowPos(messages, nullptr, 0, 0, 1000, 500, SWP_NOMOVE | SWP_NOZORDER);

  const auto expected = qsgrid::ComputeColumnWidths(RoomForColumns(1000), {ratios, ratios + 7});
  for (int i = 0; i < 7; ++i) EXPECT_EQ(ListView_GetColumnWidth(messages, i), expected[i]) << "column " << i;
  EXPECT_EQ(ItemText(messages, 1, 2), L"13800138001");
  EXPECT_EQ(ItemText(messages, 3, 6), L"Delete");

  RECT remove{}, lock{};
  ASSERT_TRUE(messages.GetActionRect(3, 6, 0, remove));
  ASSERT_TRUE(messages.GetCheckBoxRect(2, 0, lock));
  PostClick(messages, Centre(remove));
  PostClick(messages, Centre(lock));
  ASSERT_EQ(log.cells.size(), 2u);
  EXPECT_EQ(log.cells[0].hdr.idFrom, static_cast<UINT_PTR>(IDC_SMS_LIST));
  EXPECT_EQ(log.cells[0].iRow, 3);
  EXPECT_EQ(log.cells[0].iColumn, 6);
  EXPECT_EQ(log.cells[0].iAction, 0);
  EXPECT_EQ(log.cells[1].iRow, 2);
  EXPECT_EQ(log.cells[1].iColumn, 0);
  EXPECT_EQ(log.cells[1].iCheck, 1);
  EXPECT_EQ(log.clickedItems, (std::vector<int>{3, 2}));

  ::DestroyWindow(parent);
  ::FreeLibrary(resources);
}

}  // namespace
