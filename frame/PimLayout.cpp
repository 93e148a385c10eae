#include "frame/PimLayout.h"

#include "frame/resmodule/PimResIds.h"
#include "frame/suite/BaseLibrary.h"

namespace {

enum Pane { kLeftColumn, kTopRow, kWholeArea };

struct PimLayoutEntry {
  Pane pane;
  UINT id;
  UINT anchors;
  int x, y, width, height;
};

constexpr UINT kLT = kLayoutLeft | kLayoutTop;
constexpr UINT kTR = kLayoutTop | kLayoutRight;
constexpr UINT kLB = kLayoutLeft | kLayoutBottom;

constexpr PimLayoutEntry kPimLayout[] = {
    // Side trees: fixed x and width, full height.
    {kLeftColumn, IDC_CONTACT_GROUP_TREE, kLayoutAll, 1, 36, 186, 492},
    {kLeftColumn, IDC_SMS_FOLDER_TREE, kLayoutAll, 1, 36, 186, 492},
    {kLeftColumn, IDC_SMS_CHAT_TREE, kLayoutAll, 1, 36, 186, 492},
    // Toolbar: the left part stays, the right part follows the right edge.
    {kTopRow, IDC_MODULE_TAB, kLT, 1, 0, 186, 36},
    {kTopRow, IDC_CONTACT_NEW, kLT, 191, 3, 94, 31},
    {kTopRow, IDC_SMS_NEW, kLT, 191, 3, 94, 31},
    {kTopRow, IDC_CALENDAR_NEW, kLT, 191, 3, 94, 31},
    {kTopRow, IDC_CONTACT_DELETESOME, kLT, 287, 3, 94, 31},
    {kTopRow, IDC_SMS_DELETESOME, kLT, 287, 3, 94, 31},
    {kTopRow, IDC_CALENDAR_DELETESOME, kLT, 287, 3, 94, 31},
    {kTopRow, IDC_CONTACT_IMPORT, kLT, 383, 3, 94, 31},
    {kTopRow, IDC_SMS_IMPORT, kLT, 383, 3, 94, 31},
    {kTopRow, IDC_CALENDAR_REFRESH, kLT, 383, 3, 94, 31},
    {kTopRow, IDC_CONTACT_EXPORT, kLT, 479, 3, 94, 31},
    {kTopRow, IDC_SMS_EXPORT, kLT, 479, 3, 94, 31},
    {kTopRow, IDC_CONTACT_REFRESH, kLT, 575, 3, 94, 31},
    {kTopRow, IDC_SMS_REFRESH, kLT, 575, 3, 94, 31},
    {kTopRow, IDC_MULTIDELETE_OK, kLT, 214, 3, 70, 31},
    {kTopRow, IDC_MULTIDELETE_CANCEL, kLT, 284, 3, 70, 31},
    {kTopRow, IDC_BUSY_CONTACT, kLT, 678, 6, 22, 22},
    {kTopRow, IDC_BUSY_SMS, kLT, 678, 6, 22, 22},
    {kTopRow, IDC_BUSY_CALENDAR, kLT, 485, 6, 22, 22},
    {kTopRow, IDC_SMS_MODE_LIST, kTR, 730, 4, 38, 27},
    {kTopRow, IDC_SMS_MODE_CHAT, kTR, 768, 4, 38, 27},
    {kTopRow, IDC_CALENDAR_VIEW_LIST, kTR, 650, 6, 39, 27},
    {kTopRow, IDC_CALENDAR_VIEW_MONTH, kTR, 689, 6, 37, 27},
    {kTopRow, IDC_CALENDAR_VIEW_WEEK, kTR, 726, 6, 37, 27},
    {kTopRow, IDC_CALENDAR_VIEW_DAY, kTR, 763, 6, 38, 27},
    {kTopRow, IDC_CONTACT_SEARCH, kTR, 812, 3, 138, 30},
    {kTopRow, IDC_SMS_SEARCH, kTR, 812, 3, 138, 30},
    {kTopRow, IDC_CALENDAR_SEARCH, kTR, 812, 3, 138, 30},
    // Module lists and the calendar's view area take the rest.
    {kWholeArea, IDC_CONTACT_LIST, kLayoutAll, 187, 36, 772, 492},
    {kWholeArea, IDC_SMS_LIST, kLayoutAll, 187, 36, 772, 492},
    {kWholeArea, IDC_CALENDAR_LIST, kLayoutAll, 187, 36, 772, 492},
    {kWholeArea, IDC_CALENDAR_VIEW_AREA, kLayoutAll, 187, 36, 772, 492},
    {kWholeArea, IDC_SIDE_FOOTER, kLB, 1, 480, 187, 46},
};

}  // namespace

bool DefinePimLayout(CDialogLayoutBase& layout) {
  CLayoutPane* root = layout.GetRootPane();
  if (!root) return false;
  CLayoutPane* panes[3] = {
      root->AddPane(0, 0, 0, 1),  // left column: zero width, full height
      root->AddPane(0, 0, 1, 0),  // top row: full width, zero height
      root->AddPane(0, 0, 1, 1),  // whole area
  };
  bool complete = true;
  for (const PimLayoutEntry& entry : kPimLayout) {
    if (!panes[entry.pane]->AddItem(entry.id, entry.anchors, entry.x, entry.y, entry.width, entry.height)) {
      LOG::E(PIM_ERROR_LOG, "CPimWnd layout: control 0x%x is not in the dialog template", entry.id);
      complete = false;
    }
  }
  return complete;
}
