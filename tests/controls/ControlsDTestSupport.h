#pragma once
// Shared pieces of the tree, thumbnail grid and browser host tests: a parent
// that records the notifications its children send (after they took back
// what they reflect), and real input through the system's input queue.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <vector>

#include "ControlsBTestSupport.h"

namespace controlstest {

struct Note {
    UINT message;   // WM_NOTIFY, WM_CONTEXTMENU, WM_COMMAND
    int code;       // notification code
    int item;       // list notifications: iItem
    UINT oldState, newState;
    POINT point;    // list: ptAction; tree: ptDrag; context menu: screen point
    UINT action;    // tree: action
    HTREEITEM oldNode, newNode;
    WPARAM wParam;
};

// Live GDI objects of one type (OBJ_FONT, OBJ_MEMDC, ...) in this process.
// GetGuiResources answers 0 under Wine; Wine takes a handle without its
// generation word (the low word is the table index), so walking every low
// word finds every live object.
inline int CountGdiObjects(DWORD type)
{
    int n = 0;
    for (UINT_PTR i = 1; i < 0x10000; ++i)
        n += ::GetObjectType(reinterpret_cast<HGDIOBJ>(i)) == type;
    return n;
}

class CNotifyParent : public CLogParent {
public:
    std::vector<Note> notes;
    LRESULT answer = 0;         // what the parent answers to every notification
    std::function<void(NMHDR*)> onNotify;  // runs after the notification is logged
    int CountNotes(int code) const
    {
        int n = 0;
        for (const Note& note : notes)
            n += note.message == WM_NOTIFY && note.code == code;
        return n;
    }
    std::vector<Note> Of(int code) const
    {
        std::vector<Note> out;
        for (const Note& note : notes)
            if (note.message == WM_NOTIFY && note.code == code)
                out.push_back(note);
        return out;
    }
    BOOL OnNotify(WPARAM wp, LPARAM lp, LRESULT* result) override
    {
        auto* nm = reinterpret_cast<NMHDR*>(lp);
        if (nm->hwndFrom && ReflectToChild(nm->hwndFrom, WM_NOTIFY, wp, lp, result))
            return TRUE;
        Note note{WM_NOTIFY, static_cast<int>(nm->code), -1, 0, 0, {}, 0, nullptr, nullptr, wp};
        const int code = static_cast<int>(nm->code);
        if (code == LVN_ITEMCHANGED || code == NM_DBLCLK || code == LVN_BEGINDRAG) {
            auto* lv = reinterpret_cast<NMLISTVIEW*>(lp);
            note.item = lv->iItem;
            note.oldState = lv->uOldState;
            note.newState = lv->uNewState;
            note.point = lv->ptAction;
        } else if (code <= static_cast<int>(TVN_SELCHANGINGW) && code >= static_cast<int>(TVN_ENDLABELEDITW)) {
            if (code == static_cast<int>(TVN_BEGINLABELEDITW) || code == static_cast<int>(TVN_ENDLABELEDITW)) {
                auto* di = reinterpret_cast<NMTVDISPINFOW*>(lp);
                note.newNode = di->item.hItem;
                if (code == static_cast<int>(TVN_ENDLABELEDITW) && di->item.pszText)
                    editedText = di->item.pszText;
            } else {
                auto* tv = reinterpret_cast<NMTREEVIEWW*>(lp);
                note.action = tv->action;
                note.oldNode = tv->itemOld.hItem;
                note.newNode = tv->itemNew.hItem;
                note.point = tv->ptDrag;
            }
        }
        notes.push_back(note);
        if (onNotify)
            onNotify(nm);
        *result = answer;
        return TRUE;
    }
    std::wstring editedText;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == WM_CONTEXTMENU) {
            notes.push_back({WM_CONTEXTMENU, 0, -1, 0, 0, {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}, 0, nullptr, nullptr, wp});
            return 0;
        }
        if (msg == WM_COMMAND && lp == 0)
            notes.push_back({WM_COMMAND, 0, -1, 0, 0, {}, 0, nullptr, nullptr, wp});
        return CLogParent::WindowProc(msg, wp, lp);
    }
};

inline bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance && abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Real input: the pointer moved onto a client point, then buttons and keys
// through SendInput, and the queue run until the window saw them.
inline void RealPointer(HWND hwnd, int x, int y)
{
    POINT p{x, y};
    ::ClientToScreen(hwnd, &p);
    ::SetCursorPos(p.x, p.y);
}

inline void RealButtons(std::initializer_list<DWORD> flags)
{
    std::vector<INPUT> in;
    for (DWORD f : flags) {
        INPUT i{};
        i.type = INPUT_MOUSE;
        i.mi.dwFlags = f;
        in.push_back(i);
    }
    ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    PumpUntil([] { return false; }, 60);
}

inline void RealClick(HWND hwnd, int x, int y)
{
    RealPointer(hwnd, x, y);
    RealButtons({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

inline void RealDoubleClick(HWND hwnd, int x, int y)
{
    RealPointer(hwnd, x, y);
    RealButtons({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

inline void RealRightClick(HWND hwnd, int x, int y)
{
    RealPointer(hwnd, x, y);
    RealButtons({MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
}

inline void RealKey(WORD vk)
{
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    // The scan code too: without it no character is made from the key.
    in[0].ki.wScan = in[1].ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
    PumpUntil([] { return false; }, 60);
}

// The same key pressed count times in one burst.
inline void RealKeys(WORD vk, int count)
{
    std::vector<INPUT> in(static_cast<size_t>(count) * 2);
    for (size_t i = 0; i < in.size(); ++i) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = vk;
        in[i].ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        in[i].ki.dwFlags = (i % 2) ? KEYEVENTF_KEYUP : 0;
    }
    ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

inline void RealWheel(HWND hwnd, int x, int y, int delta)
{
    RealPointer(hwnd, x, y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = static_cast<DWORD>(delta);
    ::SendInput(1, &in, sizeof(INPUT));
    PumpUntil([] { return false; }, 60);
}

// Button down on one point, moved away by (dx, dy) in steps, button up.
inline void RealDrag(HWND hwnd, int x, int y, int dx, int dy)
{
    RealPointer(hwnd, x, y);
    RealButtons({MOUSEEVENTF_LEFTDOWN});
    for (int step = 1; step <= 4; ++step) {
        POINT p{x + dx * step / 4, y + dy * step / 4};
        ::ClientToScreen(hwnd, &p);
        ::SetCursorPos(p.x, p.y);
        PumpUntil([] { return false; }, 30);
    }
    RealButtons({MOUSEEVENTF_LEFTUP});
}

}  // namespace controlstest
