#include "common/GdiplusText.h"

#include <memory>
#include <vector>

using namespace Gdiplus;

namespace {

CString WithLineFeeds(CString text)
{
    text.Replace(L"<BR>", L"\n");
    return text;
}

// Fonts, format and a graphics object for measuring (and drawing) one text.
class TextLayout {
public:
    TextLayout(HDC hdc, BOOL bold, int align, int lineAlign, bool noWrap, TextRenderingHint hint)
        : m_graphics(hdc), m_family(L"Tahoma"), m_style(bold ? FontStyleBold : FontStyleRegular)
    {
        m_format.SetAlignment(static_cast<StringAlignment>(align));
        m_format.SetLineAlignment(static_cast<StringAlignment>(lineAlign));
        if (noWrap)
            m_format.SetFormatFlags(StringFormatFlagsNoWrap);
        m_graphics.SetTextRenderingHint(hint);
    }
    // Measured size of the text at an em size in pixels, with no layout bounds.
    SizeF Measure(const CString& text, int pixels)
    {
        Font font(&m_family, static_cast<REAL>(pixels), m_style, UnitPixel);
        RectF bounds;
        m_graphics.MeasureString(text, text.GetLength(), &font, RectF(0, 0, 0, 0), &m_format, &bounds);
        return SizeF(bounds.Width, bounds.Height);
    }
    // Strictly inside: a box exactly as wide as the text does not hold it.
    static bool Fits(const SizeF& size, const RECT& rect)
    {
        return rect.right - rect.left > size.Width && rect.bottom - rect.top > size.Height;
    }
    bool FitsAt(const CString& text, int pixels, const RECT& rect) { return Fits(Measure(text, pixels), rect); }
    // Inside the box. Several lines are laid out here one by one: Wine's GDI+
    // counts a line feed as a glyph when it fits a no-wrap line into the box and
    // then drops every line after the first.
    void Draw(const CString& text, int pixels, const RectF& box, ARGB colour)
    {
        Font font(&m_family, static_cast<REAL>(pixels), m_style, UnitPixel);
        SolidBrush brush{Color(colour)};
        if (text.Find(L'\n') < 0) {
            m_graphics.DrawString(text, text.GetLength(), &font, box, &m_format, &brush);
            return;
        }
        std::vector<CString> lines;
        for (int start = 0;;) {
            const int end = text.Find(L'\n', start);
            lines.push_back(end < 0 ? text.Mid(start) : text.Mid(start, end - start));
            if (end < 0)
                break;
            start = end + 1;
        }
        const REAL lineHeight = font.GetHeight(&m_graphics);
        const REAL total = lineHeight * static_cast<REAL>(lines.size());
        REAL top = box.Y;
        if (m_format.GetLineAlignment() == StringAlignmentCenter)
            top += (box.Height - total) / 2;
        else if (m_format.GetLineAlignment() == StringAlignmentFar)
            top += box.Height - total;
        StringFormat lineFormat(&m_format);
        lineFormat.SetLineAlignment(StringAlignmentNear);
        Region oldClip;
        m_graphics.GetClip(&oldClip);
        m_graphics.SetClip(box, CombineModeIntersect);
        for (size_t i = 0; i < lines.size(); ++i) {
            const RectF lineBox(box.X, top + lineHeight * static_cast<REAL>(i), box.Width, lineHeight);
            m_graphics.DrawString(lines[i], lines[i].GetLength(), &font, lineBox, &lineFormat, &brush);
        }
        m_graphics.SetClip(&oldClip);
    }
    void Draw(const CString& text, int pixels, const PointF& origin, ARGB colour)
    {
        Font font(&m_family, static_cast<REAL>(pixels), m_style, UnitPixel);
        SolidBrush brush{Color(colour)};
        m_graphics.DrawString(text, text.GetLength(), &font, origin, &m_format, &brush);
    }

private:
    Graphics m_graphics;
    FontFamily m_family;
    INT m_style;
    StringFormat m_format;
};

// GDI+ takes a layout box without width or height as unbounded; such a box
// holds no text at all.
bool HasArea(const RECT& rect)
{
    return rect.right > rect.left && rect.bottom > rect.top;
}

// Percent shrunk one step at a time until the text fits, never below the floor.
int ShrinkPercentToFit(TextLayout& layout, const CString& text, int percent, const RECT& rect)
{
    int p = percent;
    while (p > kMinFontPercent && !layout.FitsAt(text, FontPixelsOfPercent(p), rect))
        --p;
    return p;
}

// Em size in whole pixels shrunk until the text fits, never below the floor.
int ShrinkPixelsToFit(TextLayout& layout, const CString& text, int pixels, const RECT& rect)
{
    int e = pixels;
    while (e > kMinFontPixels && !layout.FitsAt(text, e, rect))
        --e;
    return e;
}

// The text in k lines of about target pixels, measured at the given size.
CString SplitIntoLines(TextLayout& layout, int pixels, const CString& text, int k, float target)
{
    if (k < 2)
        return text;
    std::vector<CString> words;
    int start = 0;
    for (CString word = text.Tokenize(L" ", start); start >= 0; word = text.Tokenize(L" ", start))
        words.push_back(word);
    if (static_cast<int>(words.size()) < k)
        return text;
    if (static_cast<int>(words.size()) == k) {
        CString joined;
        for (size_t i = 0; i < words.size(); ++i)
            joined += (i ? L"\n" : L"") + words[i];
        return joined;
    }
    std::vector<CString> lines(k);
    int line = 0;
    for (const CString& word : words) {
        CString candidate = lines[line] + word;
        const bool last = line == k - 1;
        if (last || lines[line].IsEmpty() || layout.Measure(candidate, pixels).Width <= target) {
            lines[line] = candidate + L" ";
            continue;
        }
        // The first word that makes the line too wide.
        if (k == 2 && 2 * candidate.GetLength() <= text.GetLength() + word.GetLength()) {
            lines[line] = candidate + L" ";
            ++line;
        } else {
            ++line;
            lines[line] = word + L" ";
        }
    }
    CString joined;
    for (const CString& l : lines)
        if (!l.IsEmpty())
            joined += (joined.IsEmpty() ? L"" : L"\n") + l;
    return joined;
}

}  // namespace

CUtilGdiplus::CUtilGdiplus() : m_token(0), m_textColour(0xFF000000)
{
    m_started = GdiplusStartup(&m_token, &m_input, nullptr) == Ok;
}

CUtilGdiplus::~CUtilGdiplus()
{
    if (m_started)
        GdiplusShutdown(m_token);
}

void CUtilGdiplus::SetTextColor(COLORREF colour)
{
    m_textColour = 0xFF000000 | GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

void CUtilGdiplus::DrawText(HDC hdc, CString text, int x, int y, int percent, BOOL bold, int align, int lineAlign)
{
    TextLayout layout(hdc, bold, align, lineAlign, false, TextRenderingHintAntiAlias);
    const int pixels = FontPixelsOfPercent(percent);
    if (pixels > 0)
        layout.Draw(WithLineFeeds(text), pixels, PointF(static_cast<REAL>(x), static_cast<REAL>(y)), m_textColour);
}

void CUtilGdiplus::DrawTextFit(HDC hdc, CString text, int percent, BOOL bold, int align, int lineAlign, RECT rect)
{
    text = WithLineFeeds(text);
    TextLayout layout(hdc, bold, align, lineAlign, true, TextRenderingHintAntiAlias);
    if (!HasArea(rect))
        return;
    const int p = ShrinkPercentToFit(layout, text, percent, rect);
    const RectF box(static_cast<REAL>(rect.left), static_cast<REAL>(rect.top), static_cast<REAL>(rect.right - rect.left),
                    static_cast<REAL>(rect.bottom - rect.top));
    layout.Draw(text, FontPixelsOfPercent(p), box, m_textColour);
}

void CUtilGdiplus::DrawLabelFit(HDC hdc, LPCWSTR label, BOOL bold, int align, RECT rect)
{
    CString text = WithLineFeeds(label);
    TextLayout layout(hdc, bold, align, StringAlignmentFar, true, TextRenderingHintSystemDefault);
    if (!HasArea(rect))
        return;
    const int p = ShrinkPercentToFit(layout, text, 120, rect);
    const RectF box(static_cast<REAL>(rect.left), static_cast<REAL>(rect.top), static_cast<REAL>(rect.right - rect.left),
                    static_cast<REAL>(rect.bottom - rect.top));
    layout.Draw(text, FontPixelsOfPercent(p), box, m_textColour);
}

CString FitTextToLines(int percent, HDC hdc, LPCWSTR text, int maxLines, int align, RECT rect)
{
    const CString whole(text);
    TextLayout layout(hdc, TRUE, align, StringAlignmentCenter, true, TextRenderingHintAntiAlias);
    const int e0 = std::max(FontPixelsOfPercent(percent), kMinFontPixels);
    const float w0 = layout.Measure(whole, e0).Width;
    const int e1 = ShrinkPixelsToFit(layout, whole, e0, rect);
    const int width = rect.right - rect.left;
    int k = std::max(maxLines, 1);
    for (int i = 1; i <= maxLines; ++i)
        if (w0 / i <= width) {
            k = i;
            break;
        }
    const CString split = SplitIntoLines(layout, e0, whole, k, static_cast<float>(static_cast<int>(w0 / k)));
    const int e2 = ShrinkPixelsToFit(layout, split, e0, rect);
    if (e2 < e1)
        return whole;
    return WithLineFeeds(split);
}

int GetFittingFontSize(HDC hdc, LPCWSTR text1, LPCWSTR text2, RECT rect)
{
    TextLayout layout(hdc, TRUE, StringAlignmentCenter, StringAlignmentCenter, false, TextRenderingHintAntiAlias);
    const CString a(text1), b(text2);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    int p = 200;
    for (; p > kMinFontPercent; --p) {
        const SizeF sa = layout.Measure(a, FontPixelsOfPercent(p));
        const SizeF sb = layout.Measure(b, FontPixelsOfPercent(p));
        if (sa.Width < width && sb.Width < width && sa.Height < height && sb.Height < height)
            break;
    }
    return p;
}

void DrawGdipImage(Image* image, HDC hdc, int x, int y)
{
    if (!image)
        return;
    Graphics graphics(hdc);
    graphics.DrawImage(image, x, y, static_cast<INT>(image->GetWidth()), static_cast<INT>(image->GetHeight()));
}
