#include "controls/ParentBackground.h"

void DrawParentBackground(HWND child, HDC dc, COLORREF fallback)
{
    RECT client{};
    ::GetClientRect(child, &client);
    HBRUSH brush = ::CreateSolidBrush(fallback);
    ::FillRect(dc, &client, brush);
    ::DeleteObject(brush);
    HWND parent = ::GetParent(child);
    if (!parent)
        return;
    POINT origin{0, 0};
    ::MapWindowPoints(child, parent, &origin, 1);
    POINT old{};
    ::OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    ::SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
}
