#include "common/ButtonStrips.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "ImageFixtures.h"
#include "TestFiles.h"
#include "common/FileArchive.h"
#include "common/GdiplusText.h"

using namespace imagetest;
using testsupport::Bytes;
using testsupport::TempDir;

namespace {

// Nine zones of a piece, each its own colour; the centre tells the state.
const Rgb kZone[3][3] = {{{10, 20, 30}, {40, 50, 60}, {70, 80, 90}},
                         {{100, 110, 120}, {0, 0, 0}, {130, 140, 150}},
                         {{160, 170, 180}, {190, 200, 210}, {220, 230, 240}}};
Rgb StateColour(int k) { return Rgb{BYTE(50 + k * 10), BYTE(60 + k * 10), BYTE(120 + k * 20)}; }

Bytes Piece(int w, int h, Rgb centre)
{
    return MakeBmp(w, h, [=](int x, int y) {
        const int cz = x < 8 ? 0 : x >= w - 8 ? 2 : 1;
        const int rz = y < 4 ? 0 : y >= h - 4 ? 2 : 1;
        return cz == 1 && rz == 1 ? centre : kZone[rz][cz];
    });
}

// A pack with every piece the builders ask for, 24 x 12, centre by state.
std::vector<PackEntry> AllPieces()
{
    std::vector<PackEntry> e;
    const char* main[] = {"btn_normal.bmp", "btn_pressed.bmp", "btn_check.bmp", "btn_hot.bmp", "btn_disabled.bmp"};
    const char* dlg[] = {"btn_dlg_normal.bmp", "btn_dlg_pressed.bmp", nullptr, "btn_dlg_hot.bmp", "btn_dlg_disabled.bmp"};
    for (int k = 0; k < 5; ++k) {
        e.push_back({main[k], Piece(24, 12, StateColour(k))});
        if (dlg[k])
            e.push_back({dlg[k], Piece(24, 12, StateColour(k))});
        e.push_back({"num_" + std::to_string(k) + ".bmp", Piece(24, 12, StateColour(k))});
    }
    e.push_back({"btn_opt_tab_left_off.bmp", Piece(24, 12, StateColour(0))});
    e.push_back({"btn_opt_tab_left_on.bmp", Piece(24, 12, StateColour(1))});
    e.push_back({"tiny_0.bmp", MakeBmp(4, 3, [](int x, int y) { return Rgb{BYTE(x * 60), BYTE(y * 100), 5}; })});
    for (int k = 1; k < 5; ++k)
        e.push_back({"tiny_" + std::to_string(k) + ".bmp", MakeBmp(4, 3, [](int x, int y) { return Rgb{BYTE(x * 60), BYTE(y * 100), 5}; })});
    e.push_back({"gap_0.bmp", Piece(24, 12, StateColour(0))});
    e.push_back({"gap_1.bmp", Piece(24, 12, StateColour(1))});
    return e;
}

class ButtonStrips : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(OpenPack(AllPieces())); }
    // Pixel (x, y) of frame k of a strip whose frames are h rows high.
    static Rgb At(const DIB_IMAGE& strip, int k, int x, int y, int h) { return PixelOf(strip, x, k * h + y); }
    static std::vector<Rgb> Frame(const DIB_IMAGE& strip, int k, int w, int h)
    {
        std::vector<Rgb> out;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                out.push_back(At(strip, k, x, y, h));
        return out;
    }
    static int InkBands(const DIB_IMAGE& strip, int k, int w, int h, Rgb background)
    {
        int bands = 0;
        bool in = false;
        for (int y = 4; y < h - 4; ++y) {  // inside the piece's edges
            bool any = false;
            for (int x = 8; x < w - 8; ++x)
                any = any || !(At(strip, k, x, y, h) == background);
            if (any && !in)
                ++bands;
            in = any;
        }
        return bands;
    }

    CUtilGdiplus gdiplus;
};

}  // namespace

TEST_F(ButtonStrips, FramesAreStackedInStateOrderWithNineSliceGeometry)
{
    ScopedDib strip;
    ASSERT_TRUE(BuildButtonImage(&strip, L"", 60, 20, 100, TRUE));
    ASSERT_EQ(60, strip->width);
    ASSERT_EQ(100, strip->height);
    EXPECT_EQ(20, strip->height / kStripFrames);
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(kZone[0][0], At(strip.img, k, 0, 0, 20));
        EXPECT_EQ(kZone[0][0], At(strip.img, k, 7, 3, 20)) << "corner unscaled 8 x 4";
        EXPECT_EQ(kZone[0][1], At(strip.img, k, 8, 0, 20));
        EXPECT_EQ(kZone[0][1], At(strip.img, k, 51, 3, 20)) << "top edge stretched";
        EXPECT_EQ(kZone[0][2], At(strip.img, k, 52, 0, 20));
        EXPECT_EQ(kZone[1][0], At(strip.img, k, 0, 4, 20));
        EXPECT_EQ(kZone[1][0], At(strip.img, k, 7, 15, 20)) << "left edge stretched";
        EXPECT_EQ(StateColour(k), At(strip.img, k, 8, 4, 20));
        EXPECT_EQ(StateColour(k), At(strip.img, k, 51, 15, 20)) << "centre stretched";
        EXPECT_EQ(kZone[1][2], At(strip.img, k, 59, 10, 20));
        EXPECT_EQ(kZone[2][0], At(strip.img, k, 0, 16, 20));
        EXPECT_EQ(kZone[2][1], At(strip.img, k, 30, 19, 20));
        EXPECT_EQ(kZone[2][2], At(strip.img, k, 59, 19, 20));
    }
}

TEST_F(ButtonStrips, DialogCheckedFrameIsPressedWithADarkCaption)
{
    ScopedDib strip;
    ASSERT_TRUE(BuildButtonImage(&strip, L"Cancel", 90, 30, 100, FALSE));
    SaveShot(strip.img, L"strip_dialog_cancel");
    std::vector<Rgb> pressed = Frame(strip.img, 1, 90, 30), checked = Frame(strip.img, 2, 90, 30);
    int differing = 0;
    for (size_t i = 0; i < pressed.size(); ++i) {
        if (pressed[i] == checked[i])
            continue;
        ++differing;
        // Where they differ, the pressed caption is lighter (white) than the checked one (8, 8, 64).
        EXPECT_GE(pressed[i].r, checked[i].r);
        EXPECT_GE(checked[i].b, checked[i].r);
    }
    EXPECT_GT(differing, 20);
    ScopedDib plain;
    ASSERT_TRUE(BuildButtonImage(&plain, L"", 90, 30, 100, FALSE));
    EXPECT_EQ(Frame(plain.img, 1, 90, 30), Frame(plain.img, 2, 90, 30)) << "same piece, no caption: identical";
    EXPECT_EQ(StateColour(1), At(plain.img, 2, 45, 15, 30));
}

TEST_F(ButtonStrips, LongCaptionBreaksIntoTwoLinesWhenThatIsLarger)
{
    ScopedDib narrow, wide;
    ASSERT_TRUE(BuildButtonImage(&narrow, L"Export all records", 90, 44, 120, TRUE));
    SaveShot(narrow.img, L"strip_two_lines");
    EXPECT_EQ(2, InkBands(narrow.img, 0, 90, 44, StateColour(0)));
    ASSERT_TRUE(BuildButtonImage(&wide, L"Export all records", 300, 44, 120, TRUE));
    EXPECT_EQ(1, InkBands(wide.img, 0, 300, 44, StateColour(0)));
}

TEST_F(ButtonStrips, LargeButtonBreaksOnlyAtTheMarkAndRepeatsCheckedLast)
{
    ScopedDib strip;
    ASSERT_TRUE(BuildLargeButtonImage(&strip, L"Drive<BR>report"));
    ASSERT_EQ(246, strip->width);
    ASSERT_EQ(200, strip->height);
    SaveShot(strip.img, L"strip_large");
    EXPECT_EQ(2, InkBands(strip.img, 0, 246, 40, StateColour(0)));
    EXPECT_EQ(Frame(strip.img, 2, 246, 40), Frame(strip.img, 4, 246, 40));
    ScopedDib one;
    ASSERT_TRUE(BuildLargeButtonImage(&one, L"Drive report"));
    EXPECT_EQ(1, InkBands(one.img, 0, 246, 40, StateColour(0)));
}

TEST_F(ButtonStrips, OptionTabCaptionColoursByState)
{
    ScopedDib strip;
    ASSERT_TRUE(BuildOptionTabImage(&strip, L"General"));
    ASSERT_EQ(194, strip->width);
    ASSERT_EQ(105, strip->height);
    SaveShot(strip.img, L"strip_option_tab");
    auto brightest = [&](int k) {
        int best = 0;
        for (int y = 4; y < 17; ++y)  // the piece's centre, where the caption is
            for (int x = 8; x < 186; ++x) {
                Rgb c = At(strip.img, k, x, y, 21);
                best = std::max(best, c.r + c.g + c.b);
            }
        return best;
    };
    EXPECT_GT(brightest(1), 700) << "white caption on the 'on' piece";
    EXPECT_LT(brightest(0), 450) << "grey caption (138, 138, 151) on the 'off' piece";
    EXPECT_GT(brightest(0), 3 * 100) << "some caption is there";
    EXPECT_EQ(Frame(strip.img, 1, 194, 21), Frame(strip.img, 2, 194, 21));
}

TEST_F(ButtonStrips, NumberedPiecesAndTheirCaptionRectangle)
{
    ScopedDib strip;
    ASSERT_TRUE(BuildNumberedButtonImage(&strip, L"12", 64, 48, L"num", TRUE, RECT{0, 24, 64, 48}));
    ASSERT_EQ(240, strip->height);
    SaveShot(strip.img, L"strip_numbered");
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(StateColour(k), At(strip.img, k, 32, 10, 48)) << "nothing drawn above the text rectangle";
        EXPECT_GE(InkBands(strip.img, k, 64, 48, StateColour(k)), 1);
    }
}

TEST_F(ButtonStrips, MissingPieceGivesFalseAndNoPartialStrip)
{
    ScopedDib strip;
    ASSERT_TRUE(BuildButtonImage(&strip, L"x", 40, 20, 100, TRUE));
    EXPECT_FALSE(BuildNumberedButtonImage(&strip, L"3", 40, 20, L"gap", TRUE, RECT{0, 0, 40, 20}));
    EXPECT_EQ(nullptr, strip->bitmap);
    EXPECT_EQ(0, strip->height);
    EXPECT_FALSE(BuildNumberedButtonImage(&strip, L"3", 40, 20, L"none", FALSE, RECT{0, 0, 40, 20}));
    EXPECT_FALSE(BuildButtonImage(&strip, L"x", 0, 20, 100, TRUE));
}

TEST_F(ButtonStrips, PiecesSmallerThanTheCornersDrawNoWrongPart)
{
    // A 4 x 3 piece: the corners shrink to 1 x 1 and every pixel comes from the right place.
    ScopedDib strip;
    ASSERT_TRUE(BuildNumberedButtonImage(&strip, L"", 30, 10, L"tiny", TRUE, RECT{0, 0, 30, 10}));
    auto piece = [](int x, int y) { return Rgb{BYTE(x * 60), BYTE(y * 100), 5}; };
    EXPECT_EQ(piece(0, 0), At(strip.img, 0, 0, 0, 10));
    EXPECT_EQ(piece(3, 0), At(strip.img, 0, 29, 0, 10));
    EXPECT_EQ(piece(0, 2), At(strip.img, 0, 0, 9, 10));
    EXPECT_EQ(piece(3, 2), At(strip.img, 0, 29, 9, 10));
    for (int y = 1; y < 9; ++y)
        for (int x = 1; x < 29; ++x) {
            Rgb c = At(strip.img, 0, x, y, 10);
            EXPECT_TRUE(c == piece(1, 1) || c == piece(2, 1)) << x << "," << y;
        }
    // A frame smaller than the corners of a normal piece: corners shrink to half the frame.
    ScopedDib small;
    ASSERT_TRUE(BuildButtonImage(&small, L"", 10, 5, 100, TRUE));
    std::set<std::tuple<int, int, int>> allowed;
    for (auto& row : kZone)
        for (const Rgb& c : row)
            allowed.insert({c.r, c.g, c.b});
    EXPECT_EQ(kZone[0][0], At(small.img, 0, 0, 0, 5));
    EXPECT_EQ(kZone[0][2], At(small.img, 0, 9, 0, 5));
    EXPECT_EQ(kZone[2][2], At(small.img, 0, 9, 4, 5));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 10; ++x) {
            Rgb c = At(small.img, 0, x, y, 5);
            EXPECT_TRUE(allowed.count({c.r, c.g, c.b}) || c == StateColour(0)) << x << "," << y << " " << c;
        }
}

namespace {
// Stands for the class library's device context in the CDC* form of the call.
struct FakeDC {
    HDC h;
    HDC GetSafeHdc() const { return h; }
};
}  // namespace

TEST(FrameLines, DarkTopLeftLightBottomRight)
{
    ScopedDib canvas;
    canvas.img = MakeImage(8, 7, [](int, int) { return Rgb{255, 255, 255}; });
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, canvas->bitmap);
    RECT rect{1, 1, 6, 5};
    FakeDC fake{dc};
    DrawFrameLines(&rect, &fake);
    SelectObject(dc, old);
    DeleteDC(dc);
    const Rgb dark{37, 37, 43}, light{110, 110, 129}, white{255, 255, 255};
    const char* expected[] = {
        "........",
        ".ddddd..",
        ".d...l..",
        ".d...l..",
        ".dllll..",
        "........",
        "........",
    };
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 8; ++x) {
            const char e = expected[y][x];
            EXPECT_EQ(e == 'd' ? dark : e == 'l' ? light : white, PixelOf(canvas.img, x, y)) << x << "," << y;
        }
}

// The pieces are decoded once per opened pack: a pack opened afterwards, with
// other pictures under the same names, is what the next strip is built from.
TEST_F(ButtonStrips, PiecesComeFromThePackOpenNow)
{
    ScopedDib first;
    ASSERT_TRUE(BuildButtonImage(&first, L"", 60, 20, 100, TRUE));
    EXPECT_EQ(StateColour(0), At(first.img, 0, 30, 10, 20));
    std::vector<PackEntry> other = AllPieces();
    for (PackEntry& e : other)
        if (e.name == "btn_normal.bmp")
            e.data = Piece(24, 12, Rgb{200, 10, 10});
    ASSERT_TRUE(OpenPack(other));
    ScopedDib second;
    ASSERT_TRUE(BuildButtonImage(&second, L"", 60, 20, 100, TRUE));
    EXPECT_EQ((Rgb{200, 10, 10}), At(second.img, 0, 30, 10, 20));
    EXPECT_EQ(StateColour(1), At(second.img, 1, 30, 10, 20));
    theFileArchive.Close();
    ScopedDib none;
    EXPECT_FALSE(BuildButtonImage(&none, L"", 60, 20, 100, TRUE)) << "no pack, no pieces";
}
