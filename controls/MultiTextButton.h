#pragma once
// The big start-menu button: an alpha button with a caption of one or two
// lines drawn over its picture, and optional pictures for two-line captions.
// The parent draws it with Draw in its own paint.
#include "classlib/CArray.h"
#include "controls/CustomAlphaButton.h"

class CMultiTextButton : public CCustomAlphaButton {
public:
    CMultiTextButton();
    ~CMultiTextButton() override;

    // Splits the caption into at most two lines that fit the state-0 caption
    // rectangle made twice as tall; it becomes the window text too (and a new
    // window text, e.g. from a command update, is split again). Call after
    // the caption rectangles.
    void SetText(LPCWSTR text);
    BOOL LoadTwoLineImage(LPCWSTR name, int state);
    void SetSecondLineRect(const RECT& rect);
    void SetSecondLineRects(const RECT rects[kStateCount]);
    // The current state's picture and caption with the button's top-left at
    // origin of hdc. Before SetText (or with an empty caption) only the picture.
    void Draw(const POINT& origin, HDC hdc);

    INT_PTR GetLineCount() const { return m_lines.GetSize(); }
    CString GetLine(INT_PTR n) const { return m_lines.GetAt(n); }

protected:
    void Wrap(LPCWSTR text);
    void TextChanged() override;

    CStringArray m_lines;
    Picture m_twoLineImages[kStateCount];
    RECT m_secondLineRects[kStateCount]{};

private:
    // The caption's sizes fitted for a state, kept until the caption or the
    // state's rectangles change: the start menu paints its buttons often.
    struct FittedSize {
        bool valid = false;
        RECT first{}, second{};
        int firstPercent = 0, secondPercent = 0;
    };
    const FittedSize& FittedFor(int state, HDC hdc);
    FittedSize m_fitted[kStateCount];
};
