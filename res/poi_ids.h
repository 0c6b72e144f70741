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
