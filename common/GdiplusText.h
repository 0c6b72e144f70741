#pragma once
// Anti-aliased Tahoma captions through GDI+: one size scale (percent of 12
// pixels), "<BR>" as a line break, a strict fit test, and the searches that
// make a caption fit its box (one font per size, kept while GDI+ is started).
#include <windows.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include "classlib/CString.h"

// Em size in pixels of a percent of the size scale: 100 is 12 pixels.
inline int FontPixelsOfPercent(int percent) { return 12 * percent / 100; }
// The shrink loops stop here: a text that does not fit even at this size is
// drawn at it (and clipped) instead of shrinking into nothing.
constexpr int kMinFontPixels = 5;
constexpr int kMinFontPercent = 42;  // the smallest percent of kMinFontPixels

// Keeps GDI+ started while a window or builder draws; carries the text colour.
class CUtilGdiplus {
public:
    CUtilGdiplus();
    virtual ~CUtilGdiplus();
    CUtilGdiplus(const CUtilGdiplus&) = delete;
    CUtilGdiplus& operator=(const CUtilGdiplus&) = delete;

    // Opaque ARGB of the colour.
    void SetTextColor(COLORREF colour);
    Gdiplus::ARGB GetTextColor() const { return m_textColour; }
    BOOL IsStarted() const { return m_started; }

    // From the point (x, y), aligned to it; no fitting.
    void DrawText(HDC hdc, CString text, int x, int y, int percent, BOOL bold, int align, int lineAlign);
    // Inside rect, shrunk from percent until it fits.
    void DrawTextFit(HDC hdc, CString text, int percent, BOOL bold, int align, int lineAlign, RECT rect);
    // The two halves of DrawTextFit, for a caller that keeps the fitted size:
    // the percent DrawTextFit would draw at, and the drawing at a given percent.
    static int FitTextPercent(HDC hdc, CString text, int percent, BOOL bold, int align, int lineAlign, RECT rect);
    void DrawTextIn(HDC hdc, CString text, int percent, BOOL bold, int align, int lineAlign, RECT rect);
    // A label inside rect from 120 percent down, lines aligned to the bottom.
    void DrawLabelFit(HDC hdc, LPCWSTR text, BOOL bold, int align, RECT rect);

private:
    ULONG_PTR m_token;
    Gdiplus::GdiplusStartupInput m_input;
    Gdiplus::ARGB m_textColour;
    BOOL m_started;
};

// The text broken into at most maxLines lines when that lets it be drawn at
// least as large as on one line; otherwise unchanged.
CString FitTextToLines(int percent, HDC hdc, LPCWSTR text, int maxLines, int align, RECT rect);
// Largest percent, at most 200, at which both texts fit rect.
int GetFittingFontSize(HDC hdc, LPCWSTR text1, LPCWSTR text2, RECT rect);
// The image at (x, y) at its natural size.
void DrawGdipImage(Gdiplus::Image* image, HDC hdc, int x, int y);
