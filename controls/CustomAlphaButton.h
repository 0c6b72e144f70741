#pragma once
// A button whose state pictures are PNG images with alpha. It paints nothing
// itself: every state change asks the parent (WM_DRAW_ALPHA_IMAGE) to repaint,
// and the parent draws the current picture into its own surface so that it
// blends with the parent's background.
#include "common/GdiplusText.h"
#include "controls/SkinButtonBase.h"

class CCustomAlphaButton : public CSkinButtonBase {
public:
    CCustomAlphaButton();
    ~CCustomAlphaButton() override;

    using CWnd::Create;
    virtual BOOL Create(const RECT& rect, CWnd* parent, UINT id, BOOL sysCommand);
    // The five state pictures: format % "normal", "pressed", checkedSuffix,
    // hotSuffix, "disable" from the skin pack. A missing entry leaves that state
    // without a picture; FALSE only when no memory stream can be made.
    BOOL LoadImages(LPCWSTR format, LPCWSTR checkedSuffix, LPCWSTR hotSuffix);
    int GetMaxImageWidth() const;
    int GetMaxImageHeight() const;
    Gdiplus::Image* GetImage(int state) const { return ValidState(state) ? m_images[state] : nullptr; }

    void SetTextRect(const RECT& rect);
    void SetTextRects(const RECT rects[kStateCount]);
    void ResetTextColors();

    COLORREF m_textColors[kStateCount];

protected:
    static bool ValidState(int state) { return state >= 0 && state < kStateCount; }
    // The picture of a skin-pack entry, owned by the caller; NULL when the
    // entry is missing or unreadable. FALSE when no stream can be made.
    static BOOL LoadPackImage(LPCWSTR name, Gdiplus::Image** image);
    void ShowStateChange() override;
    void OnPaint();
    DECLARE_MESSAGE_MAP()

    CUtilGdiplus m_text;  // keeps GDI+ started for the pictures; caption colour
    Gdiplus::Image* m_images[kStateCount]{};
    RECT m_textRects[kStateCount]{};
};
