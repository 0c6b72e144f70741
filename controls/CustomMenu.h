#pragma once
// A popup menu of our own drawing: the owner copies a menu's items in with
// LoadMenu and calls TrackPopupMenu, which shows a topmost popup, runs its own
// message loop (through the common pump, so pre-translation goes on) until the
// menu closes, and returns the chosen command or posts it to the owner.
#include <map>
#include <vector>

#include "classlib/Afx.h"

class CCustomMenu : public CWnd {
public:
    // Items sharing one mnemonic character, in menu order.
    struct jumptable {
        enum { MaxItems = 100 };
        int count = 0;
        int indices[MaxItems] = {};
    };
    enum : UINT_PTR { TimerId = 2345 };
    enum { TimerMs = 100 };
    // Flags of TrackPopupMenu: with both, Left/Right close the menu and set m_leaveDirection.
    enum { LeaveLeftFlag = 0x4, LeaveRightFlag = 0x8 };

    static constexpr COLORREF kSelectedText = 0x020101, kSelectedFill = 0xA19397, kText = 0x020101;
    static constexpr COLORREF kItemBack = 0xCECDCD, kGrayedText = 0x7C878B, kSeparatorDark = 0x837F7F;
    static constexpr COLORREF kSeparatorLight = 0xFFFFFF, kFrame = 0x837F7F;

    CCustomMenu();
    ~CCustomMenu() override;

    virtual void DrawItem(int index);
    virtual void MeasureItem(SIZE* size, int index);
    BOOL LoadMenu(HMENU menu);
    UINT TrackPopupMenu(UINT flags, int x, int y, CWnd* owner);

    int GetItemCount() const { return static_cast<int>(m_ids.size()); }
    const CString& GetItemText(int i) const { return m_texts[static_cast<size_t>(i)]; }
    const RECT& GetItemRect(int i) const { return m_itemRects[static_cast<size_t>(i)]; }
    int GetSelected() const { return m_selected; }
    const jumptable* FindJump(wchar_t c) const;

    int m_leaveDirection = 0;
    BOOL m_showAccelerators = TRUE;
    BOOL m_roundCorners = FALSE;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    void OnNcCalcSize(BOOL calcValid, NCCALCSIZE_PARAMS* params);
    void OnNcPaint();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnMouseMove(UINT flags, CPoint pt);
    void OnLButtonUp(UINT flags, CPoint pt);
    void OnRButtonUp(UINT flags, CPoint pt);
    void OnLButtonDown(UINT flags, CPoint pt);
    void OnRButtonDown(UINT flags, CPoint pt);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnChar(UINT ch, UINT repeat, UINT flags);
    void OnSysKeyDown(UINT key, UINT repeat, UINT flags);
    void OnTimer(UINT_PTR id);
    DECLARE_MESSAGE_MAP()

private:
    bool IsSeparator(int i) const { return m_ids[static_cast<size_t>(i)] == 0; }
    int ItemFromPoint(CPoint pt) const;
    void Select(int index);
    void PostKey(UINT key) { PostMessage(WM_KEYDOWN, key, 0); }
    void ButtonUp(CPoint pt);
    void ButtonDown(UINT msg, UINT flags, CPoint pt);
    void Close();

    std::vector<CString> m_texts;
    std::vector<UINT> m_ids;
    std::vector<UINT> m_states;
    std::vector<RECT> m_itemRects;
    std::map<wchar_t, jumptable> m_jumpTable;
    int m_selected = -1;
    UINT m_flags = 0;
    POINT m_openPoint{};
    POINT m_lastMove{-100000, -100000};
    int m_x = 0, m_y = 0;
    HFONT m_font = nullptr;
    // The button-down that closed the menu, handed on to the window under it.
    struct {
        BOOL recorded = FALSE;
        UINT message = 0;
        WPARAM wParam = 0;
        POINT point{};
    } m_clickThrough;
};
