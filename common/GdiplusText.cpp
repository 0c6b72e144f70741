#include "common/GdiplusText.h"

#include <map>
#include <memory>
#include <utility>
#include <vector>

using namespace Gdiplus;

namespace {

CString WithLineFeeds(CString text)
{
    text.Replace(L"<BR>", L"\n");
    return text;
}

// GDI+ fonts by em size and style, kept while a CUtilGdiplus keeps GDI+
// started: a fit search measures at several sizes, and captions come back to
// the same few sizes again and again. User-interface thread only, as the
// helpers themselves.
class FontCache {
public:
    // The font, or NULL when the face cannot be had.
    Font* Get(int pixels, INT style)
    {
        if (!m_family)
            m_family = std::make_unique<FontFamily>(L"Tahoma");
        if (m_family->GetLastStatus() != Ok)
            return nullptr;
        std::unique_ptr<Font>& font = m_fonts[{pixels, style}];
        if (!font)
            font = std::make_unique<Font>(m_family.get(), static_cast<REAL>(pixels), style, UnitPixel);
        return font.get();
    }
    void Clear()
    {
        m_fonts.clear();
        m_family.reset();
    }

private:
    std::unique_ptr<FontFamily> m_family;
    std::map<std::pair<int, INT>, std::unique_ptr<Font>> m_fonts;
};

// Objects that keep GDI+ started; the cache is used only while there is one.
int g_startedObjects = 0;
FontCache& Fonts()
{
    // Never destroyed with the statics: GDI+ may be gone by then.
    static FontCache* cache = new FontCache;
    return *cache;
}

// Fonts, format and a graphics object for measuring (and drawing) one text.
class TextLayout {
public:
    TextLayout(HDC hdc, BOOL bold, int align, int lineAlign, bool noWrap, TextRenderingHint hint)
        : m_graphics(hdc), m_style(bold ? FontStyleBold : FontStyleRegular)
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
        std::unique_ptr<Font> own;
        RectF bounds;
        m_graphics.MeasureString(text, text.GetLength(), FontOf(pixels, own), RectF(0, 0, 0, 0), &m_format, &bounds);
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
        std::unique_ptr<Font> own;
        const Font& font = *FontOf(pixels, own);
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
        std::unique_ptr<Font> own;
        SolidBrush brush{Color(colour)};
        m_graphics.DrawString(text, text.GetLength(), FontOf(pixels, own), origin, &m_format, &brush);
    }

private:
    // The cache's font while GDI+ is kept started, else one of its own in own.
    const Font* FontOf(int pixels, std::unique_ptr<Font>& own)
    {
        if (g_startedObjects > 0)
            if (const Font* font = Fonts().Get(pixels, m_style))
                return font;
        if (!m_family)
            m_family = std::make_unique<FontFamily>(L"Tahoma");
        own = std::make_unique<Font>(m_family.get(), static_cast<REAL>(pixels), m_style, UnitPixel);
        return own.get();
    }

    Graphics m_graphics;
    std::unique_ptr<FontFamily> m_family;
    INT m_style;
    StringFormat m_format;
};

// GDI+ takes a layout box without width or height as unbounded; such a box
// holds no text at all.
bool HasArea(const RECT& rect)
{
    return rect.right > rect.left && rect.bottom > rect.top;
}

RectF BoxOf(const RECT& rect)
{
    return RectF(static_cast<REAL>(rect.left), static_cast<REAL>(rect.top), static_cast<REAL>(rect.right - rect.left),
                 static_cast<REAL>(rect.bottom - rect.top));
}

// The largest em size in [low, high] at which fits() holds, low - 1 when none
// does. The measured size of a text grows with its font, so fits() holds for
// every size up to the largest fitting one: a bisection finds the size that a
// loop stepping down one pixel at a time would, with a handful of measurements
// instead of one per step. The top size is tried first: most texts fit at once.
template <typename Fits>
int LargestFitting(int low, int high, Fits fits)
{
    if (high < low)
        return low - 1;
    if (fits(high))
        return high;
    if (high == low || !fits(low))
        return low - 1;
    int good = low, bad = high;
    while (bad - good > 1) {
        const int mid = good + (bad - good) / 2;
        (fits(mid) ? good : bad) = mid;
    }
    return good;
}

// The largest percent whose em size is the given one.
int LargestPercentOfPixels(int pixels) { return (100 * pixels + 99) / 12; }

// The largest percent at most the given one whose em size fits, and the floor
// when none above it does: the result of shrinking one percent at a time.
int ShrinkPercentToFit(TextLayout& layout, const CString& text, int percent, const RECT& rect)
{
    if (percent <= kMinFontPercent)
        return percent;
    const int top = FontPixelsOfPercent(percent);
    const int pixels = LargestFitting(FontPixelsOfPercent(kMinFontPercent + 1), top,
                                      [&](int e) { return layout.FitsAt(text, e, rect); });
    if (pixels == top)
        return percent;
    if (pixels < FontPixelsOfPercent(kMinFontPercent + 1))
        return kMinFontPercent;
    return std::min(percent, LargestPercentOfPixels(pixels));
}

// Em size in whole pixels shrunk until the text fits, never below the floor.
int ShrinkPixelsToFit(TextLayout& layout, const CString& text, int pixels, const RECT& rect)
{
    if (pixels <= kMinFontPixels)
        return pixels;
    // The floor itself is used unmeasured.
    const int e = LargestFitting(kMinFontPixels + 1, pixels, [&](int e) { return layout.FitsAt(text, e, rect); });
    return std::max(e, kMinFontPixels);
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
    if (m_started)
        ++g_startedObjects;
}

CUtilGdiplus::~CUtilGdiplus()
{
    if (!m_started)
        return;
    // The cached fonts go before GDI+ may stop.
    if (--g_startedObjects == 0)
        Fonts().Clear();
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
    layout.Draw(text, FontPixelsOfPercent(p), BoxOf(rect), m_textColour);
}

int CUtilGdiplus::FitTextPercent(HDC hdc, CString text, int percent, BOOL bold, int align, int lineAlign, RECT rect)
{
    if (!HasArea(rect))
        return percent;
    TextLayout layout(hdc, bold, align, lineAlign, true, TextRenderingHintAntiAlias);
    return ShrinkPercentToFit(layout, WithLineFeeds(text), percent, rect);
}

void CUtilGdiplus::DrawTextIn(HDC hdc, CString text, int percent, BOOL bold, int align, int lineAlign, RECT rect)
{
    if (!HasArea(rect))
        return;
    TextLayout layout(hdc, bold, align, lineAlign, true, TextRenderingHintAntiAlias);
    layout.Draw(WithLineFeeds(text), FontPixelsOfPercent(percent), BoxOf(rect), m_textColour);
}

void CUtilGdiplus::DrawLabelFit(HDC hdc, LPCWSTR label, BOOL bold, int align, RECT rect)
{
    CString text = WithLineFeeds(label);
    TextLayout layout(hdc, bold, align, StringAlignmentFar, true, TextRenderingHintSystemDefault);
    if (!HasArea(rect))
        return;
    const int p = ShrinkPercentToFit(layout, text, 120, rect);
    layout.Draw(text, FontPixelsOfPercent(p), BoxOf(rect), m_textColour);
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
    auto fits = [&](int pixels) {
        const SizeF sa = layout.Measure(a, pixels);
        const SizeF sb = layout.Measure(b, pixels);
        return sa.Width < width && sb.Width < width && sa.Height < height && sb.Height < height;
    };
    // From 200 percent down; the floor is returned unmeasured.
    const int top = FontPixelsOfPercent(200);
    const int pixels = LargestFitting(FontPixelsOfPercent(kMinFontPercent + 1), top, fits);
    if (pixels == top)
        return 200;
    if (pixels < FontPixelsOfPercent(kMinFontPercent + 1))
        return kMinFontPercent;
    return std::min(200, LargestPercentOfPixels(pixels));
}

void DrawGdipImage(Image* image, HDC hdc, int x, int y)
{
    if (!image)
        return;
    Graphics graphics(hdc);
    graphics.DrawImage(image, x, y, static_cast<INT>(image->GetWidth()), static_cast<INT>(image->GetHeight()));
}
