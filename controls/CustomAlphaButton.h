#pragma once
// A button whose state pictures are PNG images with alpha. It paints nothing
// itself: every state change asks the parent (WM_DRAW_ALPHA_IMAGE) to repaint,
// and the parent draws the current picture into its own surface so that it
// blends with the parent's background.
#include <memory>
#include <vector>

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
    // without a picture; FALSE only when no memory stream can be made. States
    // that name the same entry share one decoded picture.
    BOOL LoadImages(LPCWSTR format, LPCWSTR checkedSuffix, LPCWSTR hotSuffix);
    int GetMaxImageWidth() const;
    int GetMaxImageHeight() const;
    Gdiplus::Image* GetImage(int state) const { return ValidState(state) ? m_images[state].get() : nullptr; }
    // The first entry this button found in the pack but could not decode;
    // empty when every picture it asked for was either read or absent.
    const CString& GetUnreadableImage() const { return m_unreadable; }

    void SetTextRect(const RECT& rect);
    void SetTextRects(const RECT rects[kStateCount]);
    void ResetTextColors();

    COLORREF m_textColors[kStateCount];

protected:
    using Picture = std::shared_ptr<Gdiplus::Image>;
    static bool ValidState(int state) { return state >= 0 && state < kStateCount; }
    // The picture of a skin-pack entry, or the one already decoded for a
    // state of the same name; null when the entry is missing or unreadable
    // (the latter noted). FALSE when no stream can be made.
    BOOL LoadPackImage(LPCWSTR name, Picture& image);
    void ShowStateChange() override;
    void OnPaint();
    DECLARE_MESSAGE_MAP()

    CUtilGdiplus m_text;  // keeps GDI+ started for the pictures; caption colour
    Picture m_images[kStateCount];
    RECT m_textRects[kStateCount]{};

private:
    // Every picture this button decoded, by entry name: a name asked for again
    // (checked and hot often use one entry) shares the first decode.
    struct Decoded {
        CString name;
        Picture picture;
    };
    std::vector<Decoded> m_decoded;
    CString m_unreadable;
};
