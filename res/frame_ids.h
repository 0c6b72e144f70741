#pragma once
// Commands of the main window, its panes, the start menu and the application
// object, and the frame's own resources (menu and accelerators 128).
// Shared with res/frame.rc, so only #define lines.

// Application commands (the caption menu's "Menu" popup).
#define ID_APP_ABOUT            57664
#define ID_APP_EXIT             57665
#define ID_HELP                 57670
#define ID_HOMEPAGE             32806
#define ID_OPTION               32807
#define ID_LANGUAGE_SELECT      32857
#define ID_MODEL_SELECT         32911
#define ID_VERSION_CHECK        32918

// Edit and file commands of the accelerator table (carried out by the views).
#define ID_FILE_OPEN            57601
#define ID_FILE_SAVE            57603
#define ID_EDIT_COPY            57634
#define ID_EDIT_CUT             57635
#define ID_EDIT_PASTE           57637
#define ID_EDIT_SELECT_ALL      57642
#define ID_EDIT_UNDO            57643
#define ID_EDIT_REDO            57644
#define ID_RESET                32855
#define ID_DELETE               32803
#define ID_REFRESH              32800
#define ID_PROPERTIES           32802

// Caption menu button and its Alt keys.
#define ID_MENU_FILE            32774
#define ID_MENU_EDIT            32775
#define ID_MENU_VIEW            32776
#define ID_MENU_HELP            32777

// View commands: each selects one body view (the header turns them into the switch).
#define ID_MAIN_MENU            32779
#define ID_POI_FROM_CSV         32784
#define ID_POI_EDIT_CSV         32785
#define ID_POI_EDIT_KML         32786
#define ID_POI_RSS_READER       32787
#define ID_POI_MAP              32788
#define ID_CLONING              32789
#define ID_PICTURE_EDIT         32790
#define ID_ADDRESS_BOOK         32791
#define ID_ADDRESS_BOOK_IMPORT  32792
#define ID_DRIVE_REPORT         32793
#define ID_FUEL_REPORT          32794
#define ID_APPS                 32795

// Main window, header and start menu.
#define ID_SELCHANGED           32801
#define ID_BACK                 32810
#define ID_TOP                  32853
#define ID_ICON                 32821
#define ID_INIT_IG              32839
#define ID_MENU_REFRESH         32939
#define ID_REFRESH_SENSIS       32935
#define ID_SENSIS               32927
#define ID_CATEGORY_POI         32780
#define ID_CATEGORY_TOOLS       32781
#define ID_CATEGORY_DRIVE       32782
#define ID_CATEGORY_APPS        32783
#define ID_PI_EDIT              32851
#define ID_PI_PARTNERS          32856
#define ID_SET_FUEL_MASTER      32901
#define ID_TITLE_EDIT           59674

// Resources of the frame.
#define IDR_FRAME_MENU          128
#define IDR_FRAME_ACCEL         128
