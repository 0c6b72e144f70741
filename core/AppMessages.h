#pragma once
// The program's own posted window messages (the WM_APP range), one list so
// that no two share a value.
#include <windows.h>

enum : UINT {
    // Main window: a received link waits in its pending list.
    WM_PENDING_LINK = WM_APP + 1,
    // Map-search view: opens the look-up for a pending place once the view is
    // on screen, not inside the body's view switch.
    WM_OPEN_PENDING = WM_APP + 2,
};
