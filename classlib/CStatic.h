#pragma once
// A static control (class "STATIC").
#include "classlib/CWnd.h"

class CStatic : public CWnd {
public:
    BOOL Create(const wchar_t* text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF)
    {
        return CWnd::CreateEx(0, L"STATIC", text, style | WS_CHILD, rect, parent, id);
    }
    HBITMAP SetBitmap(HBITMAP bitmap) { return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap))); }
    HICON SetIcon(HICON icon) { return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon))); }
};
