#include "common/GdiplusText.h"

#include <gtest/gtest.h>

#include <cstring>

#include "ImageFixtures.h"

using namespace imagetest;

namespace {

// GDI+ started for the test, and a white 24-bit canvas in a memory DC.
class GdiplusText : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gdiplus.IsStarted());
        dc = CreateCompatibleDC(nullptr);
        Reset(400, 120);
    }
    void TearDown() override
    {
        SelectObject(dc, old);
        DeleteDC(dc);
        FreeDibImage(&canvas);
    }
    void Reset(int w, int h)
    {
        if (canvas.bitmap) {
            SelectObject(dc, old);
            FreeDibImage(&canvas);
        }
        canvas = MakeImage(w, h, [](int, int) { return Rgb{255, 255, 255}; });
        old = SelectObject(dc, canvas.bitmap);
    }
    void Clear()
    {
        GdiFlush();
        memset(canvas.bits, 255, static_cast<size_t>(DibRowSize(canvas.width)) * canvas.height);
    }
    std::vector<BYTE> Pixels()
    {
        GdiFlush();
        return std::vector<BYTE>(canvas.bits, canvas.bits + static_cast<size_t>(DibRowSize(canvas.width)) * canvas.height);
    }
    // Ink: rows and columns holding any non-white pixel.
    struct Ink { int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1, bands = 0; };
    Ink InkOf()
    {
        Ink ink;
        bool inBand = false;
        for (int y = 0; y < canvas.height; ++y) {
            bool any = false;
            for (int x = 0; x < canvas.width; ++x) {
                Rgb c = PixelOf(canvas, x, y);
                if (c.r < 200 || c.g < 200 || c.b < 200) {
                    any = true;
                    ink.left = std::min(ink.left, x);
                    ink.right = std::max(ink.right, x);
                    ink.top = std::min(ink.top, y);
                    ink.bottom = std::max(ink.bottom, y);
                }
            }
            if (any && !inBand)
                ++ink.bands;
            inBand = any;
        }
        return ink;
    }
    // The text's measured size as the fitting members see it.
    Gdiplus::SizeF Measure(const wchar_t* text, int pixels, bool bold = true)
    {
        Gdiplus::Graphics g(dc);
        Gdiplus::FontFamily family(L"Tahoma");
        Gdiplus::Font font(&family, static_cast<Gdiplus::REAL>(pixels), bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular,
                           Gdiplus::UnitPixel);
        Gdiplus::StringFormat format;
        format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
        Gdiplus::RectF box;
        g.MeasureString(text, -1, &font, Gdiplus::RectF(0, 0, 0, 0), &format, &box);
        return Gdiplus::SizeF(box.Width, box.Height);
    }

    CUtilGdiplus gdiplus;
    HDC dc = nullptr;
    HGDIOBJ old = nullptr;
    DIB_IMAGE canvas{};
};

}  // namespace

TEST_F(GdiplusText, TahomaIsThere)
{
    Gdiplus::FontFamily family(L"Tahoma");
    EXPECT_EQ(Gdiplus::Ok, family.GetLastStatus()) << "the test prefix needs Wine's Tahoma";
    Gdiplus::SizeF size = Measure(L"Caption", 12);
    EXPECT_GT(size.Width, 20);
    EXPECT_GT(size.Height, 8);
}

TEST_F(GdiplusText, TextColourIsOpaqueArgb)
{
    EXPECT_EQ(0xFF000000u, gdiplus.GetTextColor());
    gdiplus.SetTextColor(RGB(8, 8, 64));
    EXPECT_EQ(0xFF080840u, gdiplus.GetTextColor());
}

TEST_F(GdiplusText, FitTakesNoStepWhenTheTextFitsAndOneWhenItIsExactlyAsWide)
{
    const wchar_t* text = L"Send to car";
    const Gdiplus::SizeF at12 = Measure(text, 12);
    const RECT huge{0, 0, 400, 120};
    gdiplus.DrawTextFit(dc, text, 100, TRUE, 0, 0, huge);
    const std::vector<BYTE> reference12 = Pixels();
    Clear();
    gdiplus.DrawTextFit(dc, text, 99, TRUE, 0, 0, huge);  // 99 percent is 11 pixels
    const std::vector<BYTE> reference11 = Pixels();
    ASSERT_NE(reference12, reference11);

    Clear();
    const RECT roomy{0, 0, static_cast<LONG>(at12.Width) + 1, 120};
    gdiplus.DrawTextFit(dc, text, 100, TRUE, 0, 0, roomy);
    EXPECT_EQ(reference12, Pixels()) << "fits at the asked size: drawn at exactly that size";

    Clear();
    const RECT tight{0, 0, static_cast<LONG>(at12.Width), 120};  // not strictly wider than the text
    gdiplus.DrawTextFit(dc, text, 100, TRUE, 0, 0, tight);
    EXPECT_EQ(reference11, Pixels()) << "one step smaller";
}

TEST_F(GdiplusText, LineBreakMarkGivesTwoLinesInEveryDrawingMember)
{
    const RECT box{10, 10, 390, 110};
    gdiplus.DrawText(dc, L"Top<BR>Bottom", 10, 10, 150, TRUE, 0, 0);
    EXPECT_EQ(2, InkOf().bands) << "DrawText";
    Clear();
    gdiplus.DrawTextFit(dc, L"Top<BR>Bottom", 150, TRUE, 1, 1, box);
    EXPECT_EQ(2, InkOf().bands) << "DrawTextFit";
    Clear();
    gdiplus.DrawLabelFit(dc, L"Top<BR>Bottom", FALSE, 0, box);
    Ink label = InkOf();
    EXPECT_EQ(2, label.bands) << "DrawLabelFit";
    EXPECT_GT(label.bottom, 90) << "label lines sit at the bottom";
    Clear();
    gdiplus.DrawTextFit(dc, L"Top Bottom", 150, TRUE, 1, 1, box);
    EXPECT_EQ(1, InkOf().bands);
}

TEST_F(GdiplusText, DrawingUsesTheTextColour)
{
    gdiplus.SetTextColor(RGB(255, 0, 0));
    gdiplus.DrawTextFit(dc, L"MMMM", 200, TRUE, 1, 1, RECT{0, 0, 400, 120});
    Ink ink = InkOf();
    ASSERT_GE(ink.right, 0);
    bool sawRed = false;
    for (int y = ink.top; y <= ink.bottom; ++y)
        for (int x = ink.left; x <= ink.right; ++x) {
            Rgb c = PixelOf(canvas, x, y);
            EXPECT_GE(c.r, c.g) << "only shades of red on white";
            sawRed = sawRed || (c.r > 200 && c.g < 60 && c.b < 60);
        }
    EXPECT_TRUE(sawRed);
    SaveShot(canvas, L"gdiplus_red_text");
}

TEST_F(GdiplusText, FitTextToLinesTable)
{
    const wchar_t* two = L"Address book";
    const Gdiplus::SizeF whole = Measure(two, 24);
    const Gdiplus::SizeF word = Measure(L"Address", 24);
    struct Case { const char* what; const wchar_t* text; int maxLines; RECT rect; const wchar_t* expected; } cases[] = {
        {"single word stays", L"Destination", 2, RECT{0, 0, 40, 60}, L"Destination"},
        {"fits on one line", two, 2, RECT{0, 0, static_cast<LONG>(whole.Width) + 10, 60}, two},
        {"two words on two lines", two, 2, RECT{0, 0, static_cast<LONG>(word.Width) + 4, 100}, L"Address\nbook"},
        {"one line allowed", two, 1, RECT{0, 0, static_cast<LONG>(word.Width) + 4, 100}, two},
        {"two lines would need a smaller font", two, 2, RECT{0, 0, static_cast<LONG>(word.Width) + 4, 20}, two},
        {"break mark becomes a line feed", L"Address<BR>book", 2, RECT{0, 0, 500, 60}, L"Address\nbook"},
        {"three words in two lines", L"Save to PC folder", 2, RECT{0, 0, static_cast<LONG>(Measure(L"Save to PC folder", 24).Width * 0.6f), 100},
         L"Save to \nPC folder "},
    };
    for (const Case& c : cases) {
        CString result = FitTextToLines(200, dc, c.text, c.maxLines, 1, c.rect);
        EXPECT_STREQ(c.expected, result) << c.what;
    }
}

TEST_F(GdiplusText, FittingFontSizeIsAtMostTwoHundredAndGrowsWithTheBox)
{
    EXPECT_EQ(200, GetFittingFontSize(dc, L"OK", L"Cancel", RECT{0, 0, 2000, 2000}));
    int last = 0;
    for (int w = 30; w <= 300; w += 30) {
        int p = GetFittingFontSize(dc, L"Import", L"Export to card", RECT{0, 0, w, 40});
        EXPECT_GE(p, last) << "width " << w;
        EXPECT_LE(p, 200);
        last = p;
    }
    // The answer really fits: both texts are strictly inside the box at that size.
    const RECT box{0, 0, 150, 40};
    const int p = GetFittingFontSize(dc, L"Import", L"Export to card", box);
    EXPECT_LT(Measure(L"Export to card", FontPixelsOfPercent(p)).Width, 150.5f);
}

// The fitted size is the one a shrink one percent at a time finds, measured
// here step by step, for captions of every length in boxes from roomy to
// hopeless; and the sizes of GetFittingFontSize likewise from 200 down.
TEST_F(GdiplusText, FittedSizeIsTheFirstFittingStepFromTheTop)
{
    const wchar_t* const texts[] = {L"OK", L"Cancel", L"Send to car", L"Import CSV file",
                                    L"Export the selected points to the card", L"W"};
    const int percents[] = {200, 120, 45};
    auto fits = [&](const wchar_t* text, int percent, int w, int h) {
        const Gdiplus::SizeF size = Measure(text, FontPixelsOfPercent(percent));
        return w > size.Width && h > size.Height;
    };
    for (const wchar_t* text : texts)
        for (int w : {400, 97, 31, 3})
            for (int h : {60, 14, 9})
                for (int start : percents) {
                    SCOPED_TRACE(testing::Message() << CString(text).GetString() << " " << w << "x" << h << " from "
                                                    << start);
                    int want = start;
                    while (want > kMinFontPercent && !fits(text, want, w, h))
                        --want;
                    const RECT box{10, 10, 10 + w, 10 + h};
                    ASSERT_EQ(want, CUtilGdiplus::FitTextPercent(dc, text, start, TRUE, 1, 1, box));
                }
    for (int w : {400, 150, 80, 40, 10})
        for (int h : {60, 30, 16, 8}) {
            SCOPED_TRACE(testing::Message() << w << "x" << h);
            int want = 200;
            for (; want > kMinFontPercent; --want) {
                const Gdiplus::SizeF a = Measure(L"Import", FontPixelsOfPercent(want));
                const Gdiplus::SizeF b = Measure(L"Export to card", FontPixelsOfPercent(want));
                if (a.Width < w && b.Width < w && a.Height < h && b.Height < h)
                    break;
            }
            ASSERT_EQ(want, GetFittingFontSize(dc, L"Import", L"Export to card", RECT{0, 0, w, h}));
        }
}

TEST_F(GdiplusText, ShrinkLoopsEndForImpossibleBoxes)
{
    CString longText;
    for (int i = 0; i < 400; ++i)
        longText += L"word ";
    const RECT empty{0, 0, 0, 0}, tiny{5, 5, 7, 6}, inverted{50, 50, 10, 10};
    for (const RECT& r : {empty, tiny, inverted}) {
        gdiplus.DrawTextFit(dc, longText, 200, TRUE, 1, 1, r);
        gdiplus.DrawLabelFit(dc, longText, TRUE, 1, r);
        CString split = FitTextToLines(200, dc, longText, 2, 1, r);
        EXPECT_FALSE(split.IsEmpty());
        EXPECT_EQ(kMinFontPercent, GetFittingFontSize(dc, longText, L"x", r));
    }
    // Nothing was drawn outside the tiny boxes.
    Ink ink = InkOf();
    EXPECT_TRUE(ink.right < 0 || (ink.left >= 5 && ink.right < 7 && ink.top >= 5 && ink.bottom < 6));
}

TEST_F(GdiplusText, ImageIsDrawnAtItsNaturalSize)
{
    Gdiplus::Bitmap bitmap(3, 2, PixelFormat32bppARGB);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            bitmap.SetPixel(x, y, Gdiplus::Color(255, 0, 0, 255));
    bitmap.SetPixel(2, 1, Gdiplus::Color(255, 255, 0, 0));
    DrawGdipImage(&bitmap, dc, 10, 20);
    DrawGdipImage(nullptr, dc, 0, 0);
    const Ink ink = InkOf();
    EXPECT_EQ(10, ink.left);
    EXPECT_EQ(20, ink.top);
    EXPECT_EQ(12, ink.right);
    EXPECT_EQ(21, ink.bottom);
    EXPECT_EQ((Rgb{255, 0, 0}), PixelOf(canvas, 12, 21));
    EXPECT_EQ((Rgb{0, 0, 255}), PixelOf(canvas, 10, 20));
}
