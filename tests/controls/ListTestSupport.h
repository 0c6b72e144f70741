#pragma once
// Shared pieces of the custom list tests: a parent that logs what the list
// tells it and answers as a view would, real mouse and keyboard input, and a
// fixture with a populated list under Xvfb and the real skin pack.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "ControlsBTestSupport.h"
#include "controls/CustomListCtrl.h"
#include "controls/EditMessages.h"

namespace listtest {

struct Note {
    UINT code;
    int item, subItem;
    UINT newState, oldState, changed;
    std::wstring text;
    int image;
    LPARAM param;
    UINT mask;
};

class CListParent : public CWnd {
public:
    std::vector<Note> notes;
    std::vector<LPARAM> contextMenus;
    int enterMenuLoop = 0, exitMenuLoop = 0;
    LRESULT vetoBegin = 0;
    std::wstring rewriteEnd;  // written into the end-edit record's buffer when set
    std::function<void(NMLVDISPINFOW*)> onEndEdit;  // runs inside LVN_ENDLABELEDITW
    // Owner data: fills an LVN_GETDISPINFOW record.
    std::function<void(NMLVDISPINFOW*)> dispInfo;
    bool logDispInfo = false;

    BOOL CreateAt(int x, int y, int w, int h)
    {
        if (!CreateEx(0, nullptr, L"list test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, w, h, nullptr, nullptr))
            return FALSE;
        ::SetForegroundWindow(m_hWnd);
        ::SetActiveWindow(m_hWnd);
        return TRUE;
    }
    int Count(UINT code) const
    {
        int n = 0;
        for (const auto& m : notes)
            n += m.code == code;
        return n;
    }
    std::vector<Note> Of(UINT code) const
    {
        std::vector<Note> out;
        for (const auto& m : notes)
            if (m.code == code)
                out.push_back(m);
        return out;
    }
    void Clear() { notes.clear(); contextMenus.clear(); }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        switch (msg) {
        case WM_ENTERMENULOOP: ++enterMenuLoop; return 0;
        case WM_EXITMENULOOP: ++exitMenuLoop; return 0;
        case WM_CONTEXTMENU: contextMenus.push_back(lp); return 0;
        case WM_ERASEBKGND: {
            RECT rc;
            ::GetClientRect(m_hWnd, &rc);
            HBRUSH b = CreateSolidBrush(RGB(30, 120, 200));
            FillRect(reinterpret_cast<HDC>(wp), &rc, b);
            DeleteObject(b);
            return TRUE;
        }
        case WM_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(lp);
            if (hdr->idFrom == CCustomListCtrl::HeaderId)
                break;
            Note n{hdr->code, -1, 0, 0, 0, 0, L"", -1, 0, 0};
            switch (hdr->code) {
            case LVN_ITEMCHANGED:
            case LVN_COLUMNCLICK:
            case LVN_BEGINDRAG: {
                auto* nm = reinterpret_cast<NMLISTVIEW*>(lp);
                n.item = nm->iItem;
                n.subItem = nm->iSubItem;
                n.newState = nm->uNewState;
                n.oldState = nm->uOldState;
                n.changed = nm->uChanged;
                break;
            }
            case LVN_GETDISPINFOW:
            case LVN_BEGINLABELEDITW:
            case LVN_ENDLABELEDITW: {
                auto* di = reinterpret_cast<NMLVDISPINFOW*>(lp);
                if (hdr->code == LVN_GETDISPINFOW && dispInfo)
                    dispInfo(di);
                n.item = di->item.iItem;
                n.subItem = di->item.iSubItem;
                n.mask = di->item.mask;
                if (di->item.pszText && di->item.pszText != LPSTR_TEXTCALLBACKW)
                    n.text = di->item.pszText;
                n.image = di->item.iImage;
                n.param = di->item.lParam;
                if (hdr->code == LVN_ENDLABELEDITW && !rewriteEnd.empty() && di->item.pszText)
                    wcscpy(di->item.pszText, rewriteEnd.c_str());
                if (hdr->code == LVN_ENDLABELEDITW && onEndEdit)
                    onEndEdit(di);
                if (hdr->code == LVN_GETDISPINFOW && !logDispInfo)
                    return 0;
                if (hdr->code == LVN_BEGINLABELEDITW) {
                    notes.push_back(n);
                    return vetoBegin;
                }
                break;
            }
            default:
                break;
            }
            notes.push_back(n);
            return 0;
        }
        default:
            break;
        }
        return CWnd::WindowProc(msg, wp, lp);
    }
};

// Real input through the system queue.
inline void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys)  // (vk, down)
{
    std::vector<INPUT> in;
    for (const auto& k : keys) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k.first;
        i.ki.wScan = static_cast<WORD>(MapVirtualKeyW(k.first, MAPVK_VK_TO_VSC));
        i.ki.dwFlags = k.second ? 0 : KEYEVENTF_KEYUP;
        in.push_back(i);
    }
    ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void Drain(DWORD ms);

inline void Key(WORD vk, WORD modifier = 0)
{
    if (modifier)
        SendKeys({{modifier, true}, {vk, true}, {vk, false}, {modifier, false}});
    else
        SendKeys({{vk, true}, {vk, false}});
    Drain(60);
}

inline void MouseButton(DWORD flag)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flag;
    ::SendInput(1, &in, sizeof(INPUT));
}

// Lets the queued input and what it causes run.
inline void Drain(DWORD ms)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        PumpPending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    PumpPending();
}

// A click as the user makes it, at a client point of hwnd, modifier held.
inline void RealClick(HWND hwnd, int x, int y, WORD modifier = 0, bool right = false)
{
    POINT p{x, y};
    ::ClientToScreen(hwnd, &p);
    ::SetCursorPos(p.x, p.y);
    Drain(20);
    if (modifier)
        SendKeys({{modifier, true}});
    MouseButton(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    MouseButton(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
    if (modifier)
        SendKeys({{modifier, false}});
    // Past the double-click time, so the next click is a click of its own.
    Drain(static_cast<DWORD>(GetDoubleClickTime()) + 30);
}

inline void MoveTo(HWND hwnd, int x, int y)
{
    POINT p{x, y};
    ::ClientToScreen(hwnd, &p);
    // Through the input queue, not SetCursorPos: under Wine a pointer warp
    // resyncs the modifier keys from the X server, which never saw ours.
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((p.x * 65535LL) / (GetSystemMetrics(SM_CXSCREEN) - 1));
    in.mi.dy = static_cast<LONG>((p.y * 65535LL) / (GetSystemMetrics(SM_CYSCREEN) - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof(INPUT));
    Drain(30);
}

// Gives the list count blank 16 x 16 small icons, held in images.
inline void GiveIcons(CCustomListCtrl& list, CImageList& images, int count)
{
    images.Create(16, 16, ILC_COLOR24, count, 4);
    HBITMAP bmp = CreateBitmap(16, 16, 1, 32, nullptr);
    for (int i = 0; i < count; ++i)
        images.Add(bmp, static_cast<HBITMAP>(nullptr));
    DeleteObject(bmp);
    list.SetImageList(&images, LVSIL_SMALL);
}

// A list of rows "Row N" with columns Name / Size / Kind, a parent and the skin.
class ListTest : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(controlstest::OpenSkinPack());
        ASSERT_TRUE(parent.CreateAt(20, 20, 640, 480));
        app.m_pMainWnd = &parent;
        ::SetCursorPos(700, 700);
    }
    void TearDown() override
    {
        app.m_pMainWnd = nullptr;
        if (list.m_hWnd)
            list.DestroyWindow();
        parent.DestroyWindow();
        GuiTest::TearDown();
    }
    void Make(DWORD style, int rows, RECT rc = {10, 10, 410, 310})
    {
        ASSERT_TRUE(list.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | style, rc, &parent, 7));
        list.InsertColumn(0, L"Name", LVCFMT_LEFT, 150);
        list.InsertColumn(1, L"Size", LVCFMT_RIGHT, 100);
        list.InsertColumn(2, L"Kind", LVCFMT_LEFT, 100);
        for (int i = 0; i < rows; ++i)
            AddRow(i);
        list.UpdateScrollBars();
        Settle();
    }
    void AddRow(int i)
    {
        std::wstring name = L"Row " + std::to_wstring(i), size = std::to_wstring(i * 10);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = i;
        item.pszText = name.data();
        item.lParam = 100 + i;
        const int at = list.InsertItem(&item);
        LVITEMW sub{};
        sub.mask = LVIF_TEXT;
        sub.iItem = at;
        sub.iSubItem = 1;
        sub.pszText = size.data();
        list.SetItem(&sub);
    }
    void Settle()
    {
        ::RedrawWindow(list.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpPending();
        ::GdiFlush();
    }
    // Client point in the middle of a cell.
    POINT Cell(int row, int column)
    {
        RECT rc{};
        list.GetSubItemRect(row, column, LVIR_BOUNDS, &rc);
        return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    void ClickCell(int row, int column, WORD modifier = 0)
    {
        const POINT p = Cell(row, column);
        RealClick(list.m_hWnd, p.x, p.y, modifier);
    }
    std::wstring Text(int row, int column)
    {
        wchar_t buf[256] = L"";
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.iSubItem = column;
        item.pszText = buf;
        item.cchTextMax = 256;
        list.GetItem(&item);
        return buf;
    }
    std::vector<int> Selected()
    {
        std::vector<int> rows;
        POSITION pos = list.GetFirstSelectedItemPosition();
        while (pos)
            rows.push_back(list.GetNextSelectedItem(pos));
        return rows;
    }
    CListParent parent;
    CCustomListCtrl list;
};

}  // namespace listtest
