#pragma once
// Resource ids of the device-data views' dialogs.
#define IDD_ICON_SELECT       107

#define IDC_ICON_STOCK_TAB    1042
#define IDC_ICON_USER_TAB     1044
#define IDC_ICON_NOTE         1097
#define IDC_ICON_STOCK_GRID   59668
#define IDC_ICON_USER_GRID    59669

// The icon edit dialog.
#define IDD_ICON_EDIT         108
#define IDC_ICON_DELETE       1046
#define IDC_ICON_EDIT_GRID    59670

// The address-book view: its list, pictures, context menus (the second popup
// holds the edit commands; the BR region's has no map item) and commands.
#define IDB_AB_POSITION       174
#define IDR_AB_MENU           167
#define IDR_AB_MENU_BR        178
#define IDC_AB_LIST           59674
#define ID_ADD                32929
