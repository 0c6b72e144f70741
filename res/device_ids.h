#pragma once
// Resource ids of the device-data views' dialogs.
#define IDD_ICON_SELECT       107

#define IDC_ICON_STOCK_TAB    1042
#define IDC_ICON_USER_TAB     1044
#define IDC_ICON_NOTE         1097
#define IDC_ICON_STOCK_GRID   59668
#define IDC_ICON_USER_GRID    59669
