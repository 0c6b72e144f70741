#pragma once
// The picture editor: its panes' controls and its commands.
#define IDC_PIC_TREE            59659
#define IDC_PIC_THUMBS          59660

#define ID_PIC_ICON_MODE        32836
#define ID_PIC_SCREEN_MODE      32837
#define ID_PIC_TRIM             32832
#define ID_PIC_CANCEL           32845
#define ID_PIC_FIT_WIDTH        32896
#define ID_PIC_FIT_HEIGHT       32897
#define ID_PIC_ROTATE_RIGHT     32898
#define ID_PIC_ROTATE_LEFT      32899
#define ID_PIC_TOGGLE_FRAME     32900
#define ID_PIC_ICON_EDIT        32854
#define ID_PIC_SELECT_IMAGE     32908
#define ID_SHELL_BACK           32828
#define ID_SHELL_UP             32830
