#pragma once
#define IDD_JORV_MESSAGEBOX 100
#define IDC_JORV_TEXT 1001
#define IDC_JORV_ICON 1002
// The contact card's line controls: one per line, numbered from here in line order.
#define IDC_JORV_CARDLINE 1100
