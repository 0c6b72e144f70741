#pragma once
// The settings replicator (body view 6): the unit's settings in combos and
// colour fields, a wallpaper picture, and the write of both to a card or USB
// stick.
//
// Files: CloningWnd.cpp building, layout and painting; CloningCommands.cpp
// refresh, store, write, picture and keys; CloningRules.cpp the decisions
// that need no window.
#include "common/DibImage.h"
#include "common/GdiplusText.h"
#include "controls/CustomButton.h"
#include "controls/CustomComboBox.h"
#include "controls/CustomSpinEdit.h"
#include "frame/ViewWnd.h"

#define ID_CLEAR_PICTURE 57632
#define ID_SAVE_SD       32862
#define ID_SAVE_USB      32863

class CCloningWnd : public CViewWnd {
public:
    enum Combo { Program, Voice, Units, DayColour, NightColour, RoadColour, DateFormat, TimeFormat, ComboCount };
    enum { kSpinCount = 3 };

    CCloningWnd();
    ~CCloningWnd() override;

    // Regional defaults and the stored settings into the controls.
    void RefreshControls();
    // The controls into the document's setting bytes; sets its modified flag.
    void StoreCloneSettings();
    BOOL PreTranslateMessage(MSG* msg) override;

    // Test seams: the card chooser (the chosen root, FALSE for Cancel) and the
    // file dialog.
    using ChooseDriveFn = BOOL (*)(CString& root);
    using FileDialogFn = BOOL (*)(HWND owner, const wchar_t* initialFolder, int kind, BOOL open, wchar_t* path);
    static ChooseDriveFn s_chooseDrive;
    static FileDialogFn s_fileDialog;

    CCustomComboBox m_combos[ComboCount];
    CCustomButton m_openPicture, m_clearPicture, m_saveSd, m_saveUsb, m_savePc;
    CCustomSpinEdit m_spins[kSpinCount];  // red, green, blue

    // Form rectangles, client coordinates (set by the layout).
    CRect m_outer, m_left, m_rightTop, m_rightMiddle, m_rightBottom;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnDestroy();
    void OnLButtonDown(UINT flags, CPoint pt);
    LRESULT OnUserIdle(WPARAM, LPARAM);
    LRESULT OnSpinValueChange(WPARAM, LPARAM);
    LRESULT OnSpinFocusMove(WPARAM, LPARAM);
    void OnUpdate() { RefreshControls(); }
    void OnOpenPicture();
    void OnClearPicture();
    void OnSaveToCard();
    void OnSaveToUsb();
    void OnSaveToPc();
    void OnBack();
    void OnTop();
    void OnUpdateClearPicture(CCmdUI* ui);
    void OnUpdateSavePc(CCmdUI* ui);
    void OnUpdateShown(CCmdUI* ui);
    DECLARE_MESSAGE_MAP()

private:
    void WriteTo(BOOL usb);
    void PaintForm(HDC dc, const CRect& client);
    // The spin edit whose field (or the field's edit) is hwnd; -1 for none.
    int SpinOfWindow(HWND hwnd) const;

    DIB_IMAGE m_separator{};
    HFONT m_font = nullptr;
    CUtilGdiplus m_text;
};
