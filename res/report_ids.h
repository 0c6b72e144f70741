#pragma once
// Resource ids of the drive-report views and their dialogs.
#define IDD_INFO_BALLOON     115
#define IDD_DR_PROPERTY      104

// Drive-report view: commands of its buttons, the distance combo, the list.
#define ID_IMPORT_REPORT     32813
#define ID_REPORT            32814
#define ID_VIEW_DRIVE_REPORT 32909
#define ID_VIEW_ECO_REPORT   32910
#define ID_TIPS              32930
#define IDC_DR_DISTANCE      1004
#define IDC_DR_LIST          59673
#define IDB_DR_CHECKS        150

// Property dialog: its buttons' commands and the panel window's scroll bar.
#define IDC_DR_SAVE          3
#define IDC_DR_PRINT         1070
#define IDC_DR_PANEL_SCROLL  59650
