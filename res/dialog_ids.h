#pragma once
// Resource ids of the general dialogs: message box, progress, options,
// language and model choosers, version check, about box, card chooser.

// Dialog templates
#define IDD_PROGRESS        102
#define IDD_MODEL_SELECT    113
#define IDD_VERSION_CHECK   114
#define IDD_ABOUT           116
#define IDD_REMOVABLE       121
#define IDD_OPTIONS         117
#define IDD_MESSAGE         119
#define IDD_LANGUAGE_SELECT 150

// Default captions of the message box, one per style
#define IDS_MESSAGE_CAPTION 129
#define IDS_CONFIRM_CAPTION1 130
#define IDS_CONFIRM_CAPTION4 131
#define IDS_CONFIRM_CAPTION3 132
#define IDS_CONFIRM_CAPTION10 133
#define IDS_CONFIRM_CAPTION11 134

// Message box items
#define IDC_MSG_BUTTON_LEFT   1008
#define IDC_MSG_BUTTON_2      1009
#define IDC_MSG_BUTTON_MIDDLE 1010
#define IDC_MSG_BUTTON_4      1011
#define IDC_MSG_BUTTON_RIGHT  1012
#define IDC_MSG_TEXT          1029

// Progress dialog items
#define IDC_PROGRESS_1003   1003
#define IDC_PROGRESS_1004   1004
#define IDC_PROGRESS_TEXT   1005
#define IDC_PROGRESS_BAR    1006
#define IDC_PROGRESS_1007   1007

// Language and model choosers
#define IDC_LANGUAGE_PLACE  1047
#define IDC_LANGUAGE_COMBO  1000
#define IDC_MODEL_COMBO     1001
#define IDC_REGION_COMBO    1002
#define IDC_MODEL_LABEL1    1098
#define IDC_MODEL_LABEL2    1099

// Version check
#define IDC_VERCHECK_STARTUP  1094
#define IDC_VERCHECK_DOWNLOAD 1095

// Card chooser
#define IDC_REMOVABLE_REFRESH 1014
#define IDC_REMOVABLE_LIST    1024
#define IDC_REMOVABLE_NAME    1045

// Partners dialog and its banners' logo commands
#define IDD_PARTNERS        127
#define ID_WHERE_IS         32937
#define ID_VIA_MICHELIN     32938
