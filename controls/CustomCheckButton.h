#pragma once
// A check box or radio button drawn from 16 x 16 skin pictures. It is a plain
// window of the library's default class that answers the system button
// messages (BM_GETCHECK, BM_SETCHECK, BM_GETSTATE, BM_SETSTATE, WM_SETFONT,
// WM_GETFONT) and sends BN_CLICKED to its parent.
#include "classlib/CDialog.h"
#include "classlib/CImageList.h"

class CCustomCheckButton : public CWnd {
public:
    // m_buttonState bits beyond the check value (bits 0-1).
    static constexpr UINT kCheckMask = 0x3;
    static constexpr UINT kPushed = 0x4;
    static constexpr UINT kTracking = 0x40;
    static constexpr UINT kHot = 0x100;

    CCustomCheckButton() = default;

    using CWnd::Create;
    // The kind comes from the low four style bits as for system buttons:
    // BS_CHECKBOX, BS_AUTOCHECKBOX, BS_3STATE, BS_AUTO3STATE, BS_AUTORADIOBUTTON;
    // any other kind draws as a radio button.
    virtual BOOL Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    virtual void DrawItem(DRAWITEMSTRUCT* dis);
    // Takes the place, text, style and id of a dialog's placeholder control.
    BOOL CreateFromDlgItem(CDialog* dialog, UINT id);
    // 0, 1 or 2; checking an auto radio button clears the others of its group.
    void SetCheck(int value);
    int GetCheck() const { return static_cast<int>(m_buttonState & kCheckMask); }
    void SetPushed(BOOL pushed);
    UINT GetButtonState() const { return m_buttonState; }
    // The picture of the current look (0-11, see the table in the .cpp).
    int GetImageIndex() const;

    COLORREF m_disabledTextColor = RGB(0x62, 0x6D, 0x7B);
    COLORREF m_textColor = RGB(0x30, 0x3B, 0x49);
    COLORREF m_bkColor = RGB(0xEC, 0xEE, 0xF0);
    UINT m_textFormat = DT_WORDBREAK;
    // 1: the parent's background shows through; otherwise filled with m_bkColor.
    int m_noFill = 1;
    HFONT m_font = nullptr;

protected:
    void PreSubclassWindow() override;
    // Colours, defaults and the twelve pictures.
    void LoadImages();
    UINT Kind() const { return GetStyle() & 0xF; }
    bool IsCheckBox() const;
    void Repaint() { Invalidate(FALSE); }

    LRESULT OnGetCheck(WPARAM, LPARAM);
    LRESULT OnSetCheck(WPARAM, LPARAM);
    LRESULT OnGetState(WPARAM, LPARAM);
    LRESULT OnSetState(WPARAM, LPARAM);
    LRESULT OnSetFont(WPARAM, LPARAM);
    LRESULT OnGetFont(WPARAM, LPARAM);
    LRESULT OnSetText(WPARAM, LPARAM);
    void OnEnable(BOOL enable);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return 0; }
    void OnMouseMove(UINT flags, CPoint pt);
    void OnMouseLeave();
    void OnLButtonDown(UINT flags, CPoint pt);
    void OnLButtonDblClk(UINT flags, CPoint pt) { OnLButtonDown(flags, pt); }
    void OnLButtonUp(UINT flags, CPoint pt);
    void OnCaptureChanged(CWnd* wnd);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    UINT m_buttonState = 0;
    CImageList m_imageList;
};
