// The picture editor's arithmetic: where the picture is shown, the mapping
// between picture and pane, the crop frame's hit zones, drags, arrow keys and
// limits, the splitters' limits, the ants' dashes and the saved names.
#include <gtest/gtest.h>

#include <cstdlib>

#include "views/device/PicFrame.h"

using namespace picframe;

namespace {

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Text(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

}  // namespace

TEST(PicFrame, DisplayRectangleKeepsTheTargetsShape)
{
    struct Case {
        int w, h, tw, th;
        bool icon;
        int side;
        RECT expected;
    } const cases[] = {
        // Relatively taller pane: the full width, centred vertically.
        {600, 500, 800, 480, false, 32, {61, 105, 539, 391}},
        // Relatively wider pane: 30 above, 32 below, the width follows.
        {900, 500, 800, 480, false, 32, {233, 117, 667, 377}},
        {900, 500, 480, 272, false, 24, {221, 117, 679, 377}},
        // Icon mode: the area starts right of the preview box.
        {600, 500, 32, 32, true, 32, {204, 117, 464, 377}},
    };
    for (const Case& c : cases) {
        const RECT d = DisplayRect(c.w, c.h, c.tw, c.th, c.icon, c.side, 24);
        EXPECT_TRUE(Same(d, c.expected)) << c.w << "x" << c.h << " target " << c.tw << "x" << c.th << ": "
                                         << Text(d);
        // Never stretched: within a pixel of the target's proportions.
        const int dw = d.right - d.left, dh = d.bottom - d.top;
        EXPECT_LE(std::abs(dw * c.th - dh * c.tw), c.tw + c.th) << Text(d);
    }
    // A pane too small for any picture gives an empty rectangle.
    const RECT tiny = DisplayRect(100, 100, 800, 480, false, 32, 24);
    EXPECT_TRUE(tiny.right <= tiny.left || tiny.bottom <= tiny.top);
}

TEST(PicFrame, MappingRoundTripsAndNeverDividesByZero)
{
    const RECT d{61, 105, 539, 391};
    EXPECT_EQ(ToClient(POINT{0, 0}, d, 800, 480).x, 61);
    EXPECT_EQ(ToClient(POINT{800, 480}, d, 800, 480).y, 391);
    for (int x = 0; x <= 800; x += 37)
        for (int y = 0; y <= 480; y += 41) {
            const POINT back = ToPicture(ToClient(POINT{x, y}, d, 800, 480), d, 800, 480);
            EXPECT_LE(std::abs(back.x - x), 1) << x << "," << y;
            EXPECT_LE(std::abs(back.y - y), 1) << x << "," << y;
        }
    // No picture, or a pane shrunk to nothing.
    EXPECT_EQ(ToClient(POINT{5, 5}, d, 0, 0).x, 0);
    const POINT none = ToPicture(POINT{70, 70}, RECT{61, 105, 61, 105}, 800, 480);
    EXPECT_EQ(none.x, 0);
    EXPECT_EQ(none.y, 0);
}

TEST(PicFrame, HitZones)
{
    const RECT r{100, 100, 200, 180};
    struct Case {
        POINT p;
        int code;
    } const cases[] = {
        {{100, 100}, HitTopLeft},  {{195, 100}, HitTopRight}, {{100, 175}, HitBottomLeft}, {{199, 179}, HitBottomRight},
        {{100, 140}, HitLeft},     {{150, 100}, HitTop},      {{199, 140}, HitRight},      {{150, 179}, HitBottom},
        {{150, 140}, HitInside},   {{200, 140}, HitNone},     {{50, 50}, HitNone},         {{109, 109}, HitTopLeft},
        {{110, 110}, HitInside},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HitTest(r, c.p), c.code) << c.p.x << "," << c.p.y;
    EXPECT_EQ(HitCursor(HitTopLeft), IDC_SIZENWSE);
    EXPECT_EQ(HitCursor(HitTopRight), IDC_SIZENESW);
    EXPECT_EQ(HitCursor(HitTop), IDC_SIZENS);
    EXPECT_EQ(HitCursor(HitLeft), IDC_SIZEWE);
    EXPECT_EQ(HitCursor(HitInside), IDC_SIZEALL);
    EXPECT_EQ(HitCursor(HitNone), nullptr);
}

TEST(PicFrame, DragsKeepTheFrameInsideAndAboveTheMinimum)
{
    // A 400 x 300 picture: q = 0.75, so the least width is 40.
    const RECT start{100, 100, 300, 250};
    struct Case {
        RECT from;
        int code;
        bool shift;
        POINT to, grab;
        RECT expected;
    } const cases[] = {
        {start, HitBottomRight, false, {350, 999}, {}, {100, 100, 350, 287}},
        {start, HitBottomRight, false, {500, 0}, {}, {100, 100, 400, 300}},
        {start, HitBottomRight, false, {110, 0}, {}, {100, 100, 140, 130}},
        {start, HitBottomRight, true, {120, 115}, {}, {100, 100, 140, 130}},
        {start, HitBottomRight, true, {390, 120}, {}, {100, 100, 390, 130}},
        {start, HitTopLeft, false, {-50, 0}, {}, {0, 25, 300, 250}},
        // The top is cut at the picture's edge after the shape was kept.
        {{100, 0, 300, 150}, HitTopLeft, false, {50, 0}, {}, {50, 0, 300, 150}},
        {start, HitTopRight, true, {350, 10}, {}, {100, 10, 350, 250}},
        {start, HitBottomLeft, false, {250, 0}, {}, {250, 100, 300, 137}},
        {start, HitInside, false, {20, 20}, {50, 50}, {0, 0, 200, 150}},
        {start, HitInside, false, {390, 290}, {50, 50}, {200, 150, 400, 300}},
        {start, HitRight, false, {120, 0}, {}, {100, 100, 140, 250}},
        {start, HitRight, false, {999, 0}, {}, {100, 100, 400, 250}},
        {start, HitLeft, false, {-20, 0}, {}, {0, 100, 300, 250}},
        {start, HitTop, false, {0, 240}, {}, {100, 220, 300, 250}},
        {start, HitBottom, false, {0, 999}, {}, {100, 100, 300, 300}},
        {start, HitNone, false, {0, 0}, {}, start},
    };
    for (const Case& c : cases) {
        RECT f = c.from;
        Drag(f, c.code, c.shift, c.to, c.grab, 400, 300);
        EXPECT_TRUE(Same(f, c.expected)) << "code " << c.code << (c.shift ? " shift" : "") << " to " << c.to.x
                                         << "," << c.to.y << ": " << Text(f);
    }
}

TEST(PicFrame, ArrowKeysStepByAHundredthPlusOne)
{
    struct Case {
        RECT from;
        UINT key;
        RECT expected;
    } const cases[] = {
        {{10, 20, 110, 270}, VK_UP, {10, 17, 110, 267}},     // height 250: 3
        {{10, 20, 110, 119}, VK_UP, {10, 19, 110, 118}},     // height 99: 1
        {{10, 1, 110, 251}, VK_UP, {10, 0, 110, 250}},       // stops at the top
        {{10, 20, 110, 299}, VK_DOWN, {10, 21, 110, 300}},   // stops at the bottom
        {{10, 20, 110, 270}, VK_RIGHT, {12, 20, 112, 270}},  // width 100: 2
        {{299, 20, 399, 270}, VK_RIGHT, {300, 20, 400, 270}},
        {{1, 20, 101, 270}, VK_LEFT, {0, 20, 100, 270}},
    };
    for (const Case& c : cases) {
        RECT f = c.from;
        EXPECT_TRUE(Nudge(f, c.key, 400, 300));
        EXPECT_TRUE(Same(f, c.expected)) << "key " << c.key << ": " << Text(f);
    }
    RECT f{10, 20, 110, 270};
    EXPECT_FALSE(Nudge(f, VK_RETURN, 400, 300));
}

TEST(PicFrame, SplitterLimits)
{
    // The file pane: at least 304, and room of S + 528 on the right (S = 6).
    EXPECT_EQ(ClampEditSplit(100, 1000, 700, 6), 304);
    EXPECT_EQ(ClampEditSplit(500, 1000, 700, 6), 454);
    EXPECT_EQ(ClampEditSplit(400, 1000, 700, 6), 400);
    EXPECT_EQ(ClampEditSplit(100, 800, 700, 6), 254);  // the right side wins
    EXPECT_EQ(ClampEditSplit(100, 1000, 50, 6), 100);  // too low: unchanged
    EXPECT_EQ(ClampEditSplit(100, 10, 700, 6), 100);
    EXPECT_EQ(ClampEditSplit(100, 300, 700, 6), 0);    // never negative
    // The tree: at least 150, and 150 + S for the thumbnails.
    EXPECT_EQ(ClampFileSplit(100, 600, 6), 150);
    EXPECT_EQ(ClampFileSplit(500, 600, 6), 444);
    EXPECT_EQ(ClampFileSplit(200, 600, 6), 200);
}

TEST(PicFrame, AntsDashesAreComplementaryAndMoveWithThePhase)
{
    for (int p = 0; p < 10; ++p) {
        DWORD white[4], black[4];
        AntsPatterns(p, white, black);
        EXPECT_EQ(white[0] + white[1] + white[2] + white[3], 10u) << p;
        EXPECT_EQ(black[0] + black[1] + black[2] + black[3], 10u) << p;
        // Entries alternate dash, gap, dash, gap.
        auto on = [](const DWORD* style, int x) {
            x %= 10;
            for (int i = 0; i < 4; ++i) {
                if (x < static_cast<int>(style[i]))
                    return i % 2 == 0;
                x -= static_cast<int>(style[i]);
            }
            return false;
        };
        for (int x = 0; x < 30; ++x) {
            const bool whiteHere = (x + p) % 10 < 6;
            EXPECT_EQ(on(white, x), whiteHere) << "phase " << p << " x " << x;
            EXPECT_EQ(on(black, x), !whiteHere) << "phase " << p << " x " << x;
        }
    }
}

TEST(PicFrame, SavedNamesCarryTheSecondAndACountAfterIt)
{
    SYSTEMTIME t{};
    t.wYear = 2026;
    t.wMonth = 12;
    t.wDay = 11;
    t.wHour = 4;
    t.wMinute = 5;
    t.wSecond = 9;
    EXPECT_STREQ(SaveFileName(L"icon", t, 1), L"icon20261211-040509.BMP");
    EXPECT_STREQ(SaveFileName(L"splashscreen", t, 1), L"splashscreen20261211-040509.BMP");
    EXPECT_STREQ(SaveFileName(L"icon", t, 2), L"icon20261211-040509-2.BMP");
}
