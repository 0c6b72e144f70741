#pragma once
// Resource ids of the POI views' dialogs.
#define IDD_POI_EDIT        105

#define IDC_POI_NAME        1033
#define IDC_POI_ADDRESS     1034
#define IDC_POI_TELEPHONE   1035
#define IDC_POI_DESCRIPTION 1037
#define IDC_POI_LONGITUDE   1039
#define IDC_POI_LATITUDE    1040
#define IDC_POI_LABEL_FIRST 1048  // 1048..1053, one per field
#define IDC_POI_NOTE        1054

// The POI list views: list, buttons and their commands, and the context menu
// (its second popup holds the edit commands).
#define IDR_POI_MENU        143
#define IDR_POI_MAP_MENU    142
#define IDC_POI_LIST        59665
#define ID_IMPORT           32812
#define ID_EDIT             32820
#define ID_LONLAT           32823
#define ID_SEARCH           32825
#define ID_NEW              32833
#define ID_EXPORT           32843
#define ID_GOOGLE           32860

// The import views' buttons, and what they send after an address-book import.
#define ID_CONVERT          32819
#define ID_OPEN_AB          32870
#define ID_DELETE_UNDOREDO  32928

// The map look-up dialog (edits and labels as the POI edit dialog's).
#define IDD_POI_MAP         152
