#pragma once
#define IDD_TEST_FORM 100
#define IDD_TEST_MODAL 101
#define IDC_NAME 1001
#define IDC_COUNT 1002
#define IDC_FLAG 1003
#define IDC_GO 1004
