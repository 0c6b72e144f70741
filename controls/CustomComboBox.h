#pragma once
// Owner-drawn drop-down list (CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED |
// CBS_HASSTRINGS) with a self-painted face and items whose text may hold two
// columns separated by "#".
#include "classlib/Afx.h"
#include "common/DibImage.h"

// Draws text into rect: without "#" whole and left-aligned; with it, the part
// before the first "#" left-aligned and the rest right-aligned in the first
// 75 pixels of rect.
void DrawTwoColumnText(HDC dc, const wchar_t* text, const RECT& rect);

class CCustomComboBox : public CComboBox {
public:
    enum { ItemWidth = 222, ItemHeight = 14, NumberColumnWidth = 75 };
    static constexpr COLORREF kFace = 0x595252, kFaceFocused = 0xA09694;
    static constexpr COLORREF kFaceText = 0xE5EDEE, kFaceTextFocused = 0x070606;
    static constexpr COLORREF kItem = 0xD3D2D2, kItemSelected = 0xA09694, kItemText = 0x070606;

    CCustomComboBox();
    ~CCustomComboBox() override;

    void MeasureItem(LPMEASUREITEMSTRUCT mis) override;
    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    // The closed face into dc (client coordinates).
    void DrawFace(HDC dc);

    BOOL m_focused = FALSE;
    BOOL m_hot = FALSE;
    BOOL m_dropped = FALSE;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnMouseMove(UINT flags, CPoint pt);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint pt);
    void OnSetFocusReflect();
    void OnKillFocusReflect();
    void OnDropDownReflect();
    void OnCloseUpReflect();
    DECLARE_MESSAGE_MAP()

private:
    DIB_IMAGE m_normal{}, m_hotImage{}, m_pressed{};
    HFONT m_font = nullptr;
    bool m_tracking = false;
};
