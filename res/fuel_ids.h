#pragma once
// Resource and command ids of the fuel-report view and its dialogs.
#define IDD_FUEL_MERGE        124
#define IDD_MILEAGE_GRAPH     125
#define IDR_FUEL_MENU         157

#define IDC_FUEL_MERGE_OK     1062
#define IDC_FUEL_MERGE_INTRO  1064
#define IDC_FUEL_MERGE_LIST   1041
#define IDC_GRAPH_SAVE        1046
#define IDC_GRAPH_ZOOM_OUT    1073
#define IDC_GRAPH_ZOOM_IN     1074

#define IDC_FUEL_LIST         59648
#define IDC_FUEL_STATISTICS   59649

#define ID_FUEL_FILE_NEW      57600
#define ID_FUEL_GRAPH         32880
#define ID_FUEL_WRITE_MASTER  32881
#define ID_FUEL_SAVE_SELECTED 32884
#define ID_FUEL_SAVE_MASTER   32885
#define ID_FUEL_MERGE         32888
#define ID_FUEL_TAB_TOTAL     32890
#define ID_FUEL_TAB_MAXIMUM   32891
#define ID_FUEL_TAB_MINIMUM   32892
#define ID_FUEL_TAB_AVERAGE   32893
#define ID_FUEL_TAB_CO2       32906
#define ID_FUEL_MAP           32876
#define ID_FUEL_TIPS          32930
#define ID_FUEL_EDIT_CELL     32820
