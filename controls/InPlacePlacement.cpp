#include "controls/InPlacePlacement.h"

#include <algorithm>

POINT PlaceInPlacePopup(HWND owner, const RECT& cell, SIZE size)
{
    POINT pt{cell.left - 3, cell.top - 2};
    ClientToScreen(owner, &pt);
    RECT client{};
    GetClientRect(owner, &client);
    MapWindowPoints(owner, nullptr, reinterpret_cast<POINT*>(&client), 2);
    MONITORINFO mi{sizeof(mi)};
    GetMonitorInfoW(MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &mi);
    RECT area{};
    if (!IntersectRect(&area, &mi.rcWork, &client))
        area = client;
    if (pt.x + size.cx > area.right)
        pt.x = area.right - size.cx;
    if (pt.y + size.cy > area.bottom)
        pt.y = area.bottom - size.cy;
    pt.x = std::max<LONG>(pt.x, area.left);
    pt.y = std::max<LONG>(pt.y, area.top);
    ScreenToClient(owner, &pt);
    return pt;
}
