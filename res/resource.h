#pragma once
// Resource ids shared by the program's code and its .rc file.
#define IDS_APP_NAME        128     // also the single-instance semaphore name
#define IDS_APP_TITLE       57344   // caption of start-up message boxes
#define IDR_MAINFRAME       128
