#pragma once
// Resource ids of the window-layer tests.
#define IDD_TEST 101
#define IDC_NAME 1001
#define IDC_NUMBER 1002
#define IDC_CHECK 1003
#define IDR_TEST_ACCEL 102
#define IDR_TEST_MENU 103
#define ID_MENU_CMD 40001
#define ID_ACCEL_CMD 40002
#define ID_OTHER_CMD 40003
#define ID_SUB_FIRST 40004
