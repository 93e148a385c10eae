// Identifiers of the layout tests' dialog templates (LayoutTest.rc).
#pragma once

#define IDD_LAYOUT_EX 301       // extended, DS_SETFONT, bold italic 11-point font
#define IDD_LAYOUT_PLAIN 302    // plain, DS_SETFONT, the same controls
#define IDD_LAYOUT_NOFONT 303   // plain, no font: the system's dialog base units
#define IDD_LAYOUT_NOFONT_EX 304  // extended, no font

#define IDC_FIXED 1001   // left, top
#define IDC_RIGHT 1002   // top, right
#define IDC_WIDE 1003    // left, top, right
#define IDC_FILL 1004    // all four
#define IDC_BOTTOM 1005  // left, bottom
#define IDC_CORNER 1006  // right, bottom
#define IDC_FREE 1007    // no anchors
#define IDC_GROUP 1008   // a group box outside the layout map
