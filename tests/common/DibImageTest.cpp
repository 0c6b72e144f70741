#include "common/DibImage.h"

#include <gtest/gtest.h>

#include <cstring>

#include "ImageFixtures.h"
#include "TestFiles.h"
#include "common/FileArchive.h"
#include "common/JpegWriter.h"

using namespace imagetest;
using testsupport::Bytes;
using testsupport::TempDir;

namespace {

const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255}, kBlack{0, 0, 0},
    kYellow{255, 255, 0}, kCyan{0, 255, 255}, kMagenta{255, 0, 255};

// 3 x 2, every pixel different: top row red, green, blue; bottom row white, yellow, cyan.
Rgb SixColours(int x, int y)
{
    static const Rgb c[2][3] = {{kRed, kGreen, kBlue}, {kWhite, kYellow, kCyan}};
    return c[y][x];
}

Rgb SixColoursTiled(int x, int y) { return SixColours(x % 3, y % 2); }

// Quadrants of any size: top-left red, top-right green, bottom-left blue, bottom-right white.
PixelFn Quadrants(int w, int h)
{
    return [w, h](int x, int y) { return y < h / 2 ? (x < w / 2 ? kRed : kGreen) : (x < w / 2 ? kBlue : kWhite); };
}

bool Near(Rgb a, Rgb b, int tolerance)
{
    return abs(a.r - b.r) <= tolerance && abs(a.g - b.g) <= tolerance && abs(a.b - b.b) <= tolerance;
}

// A memory DC with a 24-bit canvas of its own, to draw on and read back.
struct Canvas {
    ScopedDib target;
    HDC dc;
    HGDIOBJ old;
    Canvas(int w, int h, Rgb fill)
    {
        target.img = MakeImage(w, h, [fill](int, int) { return fill; });
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, target.img.bitmap);
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    Rgb At(int x, int y) { GdiFlush(); return PixelOf(target.img, x, y); }
};

}  // namespace

TEST(DibImage, CreateFillsTheRecordAndFreeEmptiesIt)
{
    DIB_IMAGE image;
    InitDibImage(&image);
    EXPECT_EQ(nullptr, image.bitmap);
    ASSERT_TRUE(CreateDib(&image, 3, 2));
    EXPECT_NE(nullptr, image.bits);
    EXPECT_EQ(-12, image.stride) << "3 pixels of 3 bytes padded to 12";
    EXPECT_EQ(3, image.width);
    EXPECT_EQ(2, image.height);
    FreeDibImage(&image);
    EXPECT_EQ(nullptr, image.bitmap);
    EXPECT_EQ(nullptr, image.bits);
    EXPECT_EQ(0, image.width);
    EXPECT_EQ(0, image.stride);
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-1, 5}, {100000, 100000}}) {
        EXPECT_FALSE(CreateDib(&image, w, h)) << w << "x" << h;
        EXPECT_EQ(nullptr, image.bitmap);
    }
}

TEST(DibImage, LoadBmpFileTable)
{
    TempDir dir;
    Bytes good = MakeBmp(3, 2, SixColours);
    auto with = [&](size_t at, std::initializer_list<BYTE> bytes) {
        Bytes b = good;
        std::copy(bytes.begin(), bytes.end(), b.begin() + at);
        return b;
    };
    struct Case { const char* what; Bytes data; bool ok; } cases[] = {
        {"good 3x2", good, true},
        {"size field smaller than the data", with(2, {10, 0, 0, 0}), true},
        {"offset 0 means 54", with(10, {0, 0, 0, 0}), true},
        {"pixels cut short", Bytes(good.begin(), good.end() - 1), false},
        {"only the headers", Bytes(good.begin(), good.begin() + 54), false},
        {"header cut short", Bytes(good.begin(), good.begin() + 30), false},
        {"empty file", Bytes(), false},
        {"not BM", with(0, {'X', 'M'}), false},
        {"32 bits", with(28, {32, 0}), false},
        {"8 bits", with(28, {8, 0}), false},
        {"RLE", with(30, {1, 0, 0, 0}), false},
        {"height larger than the data", with(22, {3, 0, 0, 0}), false},
        {"huge dimensions", with(18, {0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0}), false},
        {"width 0", with(18, {0, 0, 0, 0}), false},
        {"height 0", with(22, {0, 0, 0, 0}), false},
        {"negative height", with(22, {0xFE, 0xFF, 0xFF, 0xFF}), false},
        {"offset beyond the file", with(10, {0xFF, 0xFF, 0, 0}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::WriteBytes(dir.File(L"t.bmp"), c.data);
        ScopedDib image;
        EXPECT_EQ(c.ok, !!LoadBmpFile(dir.File(L"t.bmp").c_str(), &image));
        if (c.ok) {
            ASSERT_EQ(3, image->width);
            ASSERT_EQ(2, image->height);
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 3; ++x)
                    EXPECT_EQ(SixColours(x, y), PixelOf(image.img, x, y)) << x << "," << y;
        } else {
            EXPECT_EQ(nullptr, image->bitmap);
        }
    }
    ScopedDib image;
    EXPECT_FALSE(LoadBmpFile(dir.File(L"missing.bmp").c_str(), &image));
}

TEST(DibImage, SaveOnePixelWritesFiftyEightBytes)
{
    TempDir dir;
    ScopedDib image;
    image.img = MakeImage(1, 1, [](int, int) { return Rgb{1, 2, 3}; });
    ASSERT_TRUE(SaveDibAsBmp(dir.File(L"one.bmp").c_str(), &image));
    Bytes b = testsupport::ReadBytes(dir.File(L"one.bmp"));
    ASSERT_EQ(58u, b.size());
    EXPECT_EQ('B', b[0]);
    EXPECT_EQ('M', b[1]);
    EXPECT_EQ(58, b[2]);
    EXPECT_EQ(54, b[10]);
    EXPECT_EQ(40, b[14]);
    EXPECT_EQ(1, b[18]);
    EXPECT_EQ(1, b[22]);
    EXPECT_EQ(24, b[28]);
    EXPECT_EQ(1, b[38]) << "1 pixel per metre";
    EXPECT_EQ(3, b[54]);  // blue, green, red
    EXPECT_EQ(2, b[55]);
    EXPECT_EQ(1, b[56]);
    EXPECT_EQ(0, b[57]);
}

TEST(DibImage, SavedBmpReadsBackIdentical)
{
    TempDir dir;
    ScopedDib image, back;
    image.img = MakeImage(5, 3, [](int x, int y) { return Rgb{BYTE(x * 40), BYTE(y * 70), BYTE(x + y)}; });
    ASSERT_TRUE(SaveDibAsBmp(dir.File(L"r.bmp").c_str(), &image));
    ASSERT_TRUE(LoadBmpFile(dir.File(L"r.bmp").c_str(), &back));
    ASSERT_EQ(5, back->width);
    ASSERT_EQ(3, back->height);
    EXPECT_EQ(0, memcmp(image->bits, back->bits, 16 * 3));
}

TEST(DibImage, FailedSaveLeavesTheOldFile)
{
    TempDir dir;
    std::wstring path = dir.File(L"keep.bmp");
    testsupport::WriteBytes(path, std::string("old contents"));
    // Held open without sharing, the old file cannot be replaced.
    HANDLE busy = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, busy);
    ScopedDib image;
    image.img = MakeImage(2, 2, [](int, int) { return kRed; });
    EXPECT_FALSE(SaveDibAsBmp(path.c_str(), &image));
    CloseHandle(busy);
    Bytes b = testsupport::ReadBytes(path);
    EXPECT_EQ("old contents", std::string(b.begin(), b.end()));
    EXPECT_FALSE(testsupport::FileExists(path + L".tmp~"));
    EXPECT_FALSE(SaveDibAsBmp(dir.File(L"no folder\\x.bmp").c_str(), &image));
    ScopedDib empty;
    EXPECT_FALSE(SaveDibAsBmp(dir.File(L"empty.bmp").c_str(), &empty));
}

TEST(DibImage, LoadPictureFileFitsIntoTheBox)
{
    TempDir dir;
    testsupport::WriteBytes(dir.File(L"p.bmp"), MakeBmp(400, 300, Quadrants(400, 300)));
    struct Case { int boxW, boxH, w, h; } cases[] = {
        {800, 600, 400, 300}, {400, 300, 400, 300}, {200, 200, 200, 150}, {100, 200, 100, 75},
        {200, 150, 200, 150}, {-1, -1, 400, 300}, {1000, 100, 133, 100},
    };
    for (const Case& c : cases) {
        ScopedDib image;
        ASSERT_TRUE(LoadPictureFile(&image, dir.File(L"p.bmp").c_str(), c.boxW, c.boxH)) << c.boxW << "x" << c.boxH;
        EXPECT_EQ(c.w, image->width) << c.boxW << "x" << c.boxH;
        EXPECT_EQ(c.h, image->height) << c.boxW << "x" << c.boxH;
        EXPECT_TRUE(Near(kRed, PixelOf(image.img, 1, 1), 40));
        EXPECT_TRUE(Near(kWhite, PixelOf(image.img, c.w - 2, c.h - 2), 40));
    }
}

TEST(DibImage, LoadPictureFileReadsJpegAndGifAndRefusesGarbage)
{
    TempDir dir;
    ScopedDib source;
    source.img = MakeImage(40, 30, Quadrants(40, 30));
    ASSERT_TRUE(SaveJpeg(source->bits, 40, 30, source->stride, dir.File(L"p.jpg").c_str()));
    // 1 x 1 GIF whose one pixel is palette entry 0, red.
    const unsigned char gif[] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0, 0, 0,
                                 ',', 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0, ';'};
    testsupport::WriteBytes(dir.File(L"p.gif"), Bytes(gif, gif + sizeof gif));
    testsupport::WriteBytes(dir.File(L"junk.jpg"), std::string(500, 'j'));
    // BMP headers that promise more pixels than the file holds.
    Bytes lying = MakeBmp(4, 4, Quadrants(4, 4));
    lying[18] = lying[22] = 0x20;
    lying[19] = lying[23] = 0x4E;  // 20000 x 20000
    testsupport::WriteBytes(dir.File(L"lying.bmp"), lying);
    Bytes cut = MakeBmp(40, 30, Quadrants(40, 30));
    cut.resize(cut.size() - 200);
    testsupport::WriteBytes(dir.File(L"cut.bmp"), cut);
    testsupport::WriteBytes(dir.File(L"empty.jpg"), Bytes());

    ScopedDib jpeg, one, junk;
    ASSERT_TRUE(LoadPictureFile(&jpeg, dir.File(L"p.jpg").c_str(), -1, -1));
    EXPECT_EQ(40, jpeg->width);
    EXPECT_EQ(30, jpeg->height);
    EXPECT_TRUE(Near(kRed, PixelOf(jpeg.img, 2, 2), 30));
    EXPECT_TRUE(Near(kBlue, PixelOf(jpeg.img, 2, 27), 30));
    ASSERT_TRUE(LoadPictureFile(&one, dir.File(L"p.gif").c_str(), 10, 10));
    EXPECT_EQ(1, one->width);
    EXPECT_EQ(kRed, PixelOf(one.img, 0, 0));
    EXPECT_FALSE(LoadPictureFile(&junk, dir.File(L"junk.jpg").c_str(), -1, -1));
    EXPECT_FALSE(LoadPictureFile(&junk, dir.File(L"empty.jpg").c_str(), -1, -1));
    EXPECT_FALSE(LoadPictureFile(&junk, dir.File(L"lying.bmp").c_str(), -1, -1));
    EXPECT_FALSE(LoadPictureFile(&junk, dir.File(L"cut.bmp").c_str(), -1, -1));
    EXPECT_FALSE(LoadPictureFile(&junk, dir.File(L"missing.jpg").c_str(), -1, -1));
    EXPECT_EQ(nullptr, junk->bitmap);
}

TEST(DibImage, LoadDibFromPackAtNaturalSize)
{
    Bytes cut = MakeBmp(30, 20, SixColoursTiled);
    cut.resize(cut.size() - 90);
    ASSERT_TRUE(OpenPack({{"six.bmp", MakeBmp(3, 2, SixColours)}, {"junk.bmp", Bytes(100, 7)}, {"cut.bmp", cut},
                          {"empty.bmp", Bytes()}}));
    ScopedDib image;
    ASSERT_TRUE(LoadDibFromPack(L"SIX.bmp", &image));
    ASSERT_EQ(3, image->width);
    ASSERT_EQ(2, image->height);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(SixColours(x, y), PixelOf(image.img, x, y)) << x << "," << y;
    ScopedDib none;
    EXPECT_FALSE(LoadDibFromPack(L"missing.bmp", &none));
    EXPECT_FALSE(LoadDibFromPack(L"junk.bmp", &none));
    EXPECT_FALSE(LoadDibFromPack(L"cut.bmp", &none));
    EXPECT_FALSE(LoadDibFromPack(L"empty.bmp", &none));
    EXPECT_EQ(nullptr, none->bitmap);
}

namespace {

// BMP variants the skin could hold, built from MakeBmp's plain form.
Bytes TopDown(const Bytes& bmp, int width, int height)
{
    const int row = (width * 3 + 3) & ~3;
    Bytes b(bmp.begin(), bmp.begin() + 54);
    const int32_t negative = -height;
    memcpy(b.data() + 22, &negative, 4);
    for (int r = height - 1; r >= 0; --r)
        b.insert(b.end(), bmp.begin() + 54 + static_cast<size_t>(r) * row, bmp.begin() + 54 + static_cast<size_t>(r + 1) * row);
    return b;
}

// The pixels moved behind a gap (as after a colour table or a larger header).
Bytes PixelsAfterGap(const Bytes& bmp, int gap)
{
    Bytes b(bmp.begin(), bmp.begin() + 54);
    b.insert(b.end(), gap, 0x5A);
    b.insert(b.end(), bmp.begin() + 54, bmp.end());
    const uint32_t offset = 54 + gap, size = static_cast<uint32_t>(b.size());
    memcpy(b.data() + 10, &offset, 4);
    memcpy(b.data() + 2, &size, 4);
    return b;
}

// A 4 x 2 picture with 8-bit palette entries: left half red, right half blue.
Bytes EightBit()
{
    Bytes b(54 + 256 * 4 + 8, 0);
    b[0] = 'B';
    b[1] = 'M';
    const uint32_t size = static_cast<uint32_t>(b.size()), offset = 54 + 1024, header = 40, width = 4, height = 2;
    memcpy(b.data() + 2, &size, 4);
    memcpy(b.data() + 10, &offset, 4);
    memcpy(b.data() + 14, &header, 4);
    memcpy(b.data() + 18, &width, 4);
    memcpy(b.data() + 22, &height, 4);
    b[26] = 1;
    b[28] = 8;
    b[54 + 2] = 255;       // entry 0: red (blue, green, red, 0)
    b[54 + 4] = 255;       // entry 1: blue
    for (int r = 0; r < 2; ++r)
        for (int x = 0; x < 4; ++x)
            b[offset + r * 4 + x] = x < 2 ? 0 : 1;
    return b;
}

}  // namespace

// The skin's BMPs are copied straight into the image; whatever the layout of
// the file, the picture must be the one the platform decoder makes of it.
TEST(DibImage, PackBmpsGiveThePicturesOfThePlatformDecoder)
{
    TempDir dir;
    auto pattern = [](int x, int y) { return Rgb{BYTE(x * 37 + y), BYTE(y * 51 + 7), BYTE((x ^ y) * 19)}; };
    struct Case {
        const char* what;
        Bytes data;
        int w, h;
        PixelFn pixel;
    } const cases[] = {
        {"one pixel", MakeBmp(1, 1, pattern), 1, 1, pattern},
        {"width 2", MakeBmp(2, 3, pattern), 2, 3, pattern},
        {"width 3", MakeBmp(3, 2, pattern), 3, 2, pattern},
        {"width 5", MakeBmp(5, 4, pattern), 5, 4, pattern},
        {"width 7", MakeBmp(7, 5, pattern), 7, 5, pattern},
        {"wide", MakeBmp(190, 3, pattern), 190, 3, pattern},
        {"top-down", TopDown(MakeBmp(5, 4, pattern), 5, 4), 5, 4, pattern},
        {"pixels after a gap", PixelsAfterGap(MakeBmp(3, 3, pattern), 10), 3, 3, pattern},
        {"eight bits", EightBit(), 4, 2, [](int x, int) { return x < 2 ? kRed : kBlue; }},
    };
    std::vector<PackEntry> entries;
    for (const Case& c : cases)
        entries.push_back({c.what, c.data});
    ASSERT_TRUE(OpenPack(entries));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring name(c.what, c.what + strlen(c.what));
        testsupport::WriteBytes(dir.File(L"p.bmp"), c.data);
        ScopedDib fromPack, fromDecoder;
        DIB_IMAGE32 fromPack32{};
        ASSERT_TRUE(LoadDibFromPack(name.c_str(), &fromPack));
        ASSERT_TRUE(LoadDib32FromPack(name.c_str(), &fromPack32));
        ASSERT_TRUE(LoadPictureFile(&fromDecoder, dir.File(L"p.bmp").c_str(), -1, -1));
        ASSERT_EQ(c.w, fromPack->width);
        ASSERT_EQ(c.h, fromPack->height);
        ASSERT_EQ(c.w, fromDecoder->width);
        ASSERT_EQ(c.h, fromDecoder->height);
        ASSERT_EQ(c.w, fromPack32.width);
        ASSERT_EQ(c.h, fromPack32.height);
        EXPECT_FALSE(fromPack32.hasAlpha);
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) {
                const Rgb want = c.pixel(x, y);
                EXPECT_EQ(want, PixelOf(fromDecoder.img, x, y)) << x << "," << y;
                EXPECT_EQ(want, PixelOf(fromPack.img, x, y)) << x << "," << y;
                BYTE p[4];
                Pixel32Of(fromPack32, x, y, p);
                EXPECT_EQ(want, (Rgb{p[2], p[1], p[0]})) << x << "," << y;
                EXPECT_EQ(255, p[3]);
            }
        FreeDibImage32(&fromPack32);
    }
}

TEST(DibImage, DrawDibAndPartsOfIt)
{
    ScopedDib image;
    image.img = MakeImage(3, 2, SixColours);
    Canvas canvas(10, 10, kBlack);
    ASSERT_TRUE(DrawDib(&image, canvas.dc, 4, 5));
    EXPECT_EQ(kRed, canvas.At(4, 5));
    EXPECT_EQ(kCyan, canvas.At(6, 6));
    EXPECT_EQ(kBlack, canvas.At(7, 6));
    // Source part 1,0 1x2 stretched to 3x4 at (0,0).
    ASSERT_TRUE(DrawDibEx(&image, canvas.dc, 0, 0, 3, 4, 1, 0, 1, 2));
    EXPECT_EQ(kGreen, canvas.At(0, 0));
    EXPECT_EQ(kGreen, canvas.At(2, 1));
    EXPECT_EQ(kYellow, canvas.At(2, 3));
    // Negative source width: a plain copy of the destination size from the source point.
    ASSERT_TRUE(DrawDibEx(&image, canvas.dc, 0, 8, 2, 1, 1, 1, -1, 0));
    EXPECT_EQ(kYellow, canvas.At(0, 8));
    EXPECT_EQ(kCyan, canvas.At(1, 8));
    SetStretchBltMode(canvas.dc, HALFTONE);
    ASSERT_TRUE(DrawDibEx(&image, canvas.dc, 0, 0, 6, 4, 0, 0, 3, 2));
    EXPECT_EQ(HALFTONE, GetStretchBltMode(canvas.dc)) << "the caller's stretch mode comes back";
}

TEST(DibImage, FillRectTilesFromTheTopLeftCorner)
{
    ScopedDib tile;
    tile.img = MakeImage(3, 2, SixColours);
    {
        Canvas canvas(12, 8, kBlack);
        RECT exact{0, 0, 6, 4};  // two tiles each way
        ASSERT_TRUE(FillRectWithDib(canvas.dc, &tile, &exact, TRUE));
        EXPECT_EQ(kRed, canvas.At(3, 0));
        EXPECT_EQ(kCyan, canvas.At(5, 3));
        EXPECT_EQ(kBlack, canvas.At(6, 0));
        EXPECT_EQ(kBlack, canvas.At(0, 4));
    }
    {
        Canvas canvas(12, 8, kBlack);
        RECT plusOne{1, 1, 5, 4};  // one tile and one pixel wide, one and a half high
        ASSERT_TRUE(FillRectWithDib(canvas.dc, &tile, &plusOne, TRUE));
        EXPECT_EQ(kRed, canvas.At(1, 1));
        EXPECT_EQ(kRed, canvas.At(4, 1)) << "last column shows the tile's first column";
        EXPECT_EQ(kBlack, canvas.At(5, 1));
        EXPECT_EQ(kRed, canvas.At(4, 3)) << "last row shows the tile's top row";
        EXPECT_EQ(kBlack, canvas.At(1, 4));
    }
    {
        Canvas canvas(12, 8, kBlack);
        RECT all{0, 0, 6, 4};
        ASSERT_TRUE(FillRectWithDib(canvas.dc, &tile, &all, FALSE));
        EXPECT_EQ(kRed, canvas.At(0, 0));
        EXPECT_EQ(kGreen, canvas.At(2, 1));
        EXPECT_EQ(kCyan, canvas.At(5, 3));
    }
}

TEST(DibImage, ResizeStretchesTheSourceRectangle)
{
    ScopedDib image;
    image.img = MakeImage(2, 2, Quadrants(2, 2));
    ASSERT_TRUE(ResizeDib(&image, 4, 4, 0, 0, -1, -1));
    EXPECT_EQ(4, image->width);
    EXPECT_EQ(kRed, PixelOf(image.img, 1, 1));
    EXPECT_EQ(kGreen, PixelOf(image.img, 2, 1));
    EXPECT_EQ(kBlue, PixelOf(image.img, 1, 2));
    EXPECT_EQ(kWhite, PixelOf(image.img, 3, 3));
    ASSERT_TRUE(ResizeDib(&image, 1, 1, 2, 2, 2, 2));  // the bottom-right quadrant
    EXPECT_EQ(kWhite, PixelOf(image.img, 0, 0));
    EXPECT_FALSE(ResizeDib(&image, 0, 5, 0, 0, -1, -1));
    EXPECT_EQ(1, image->width) << "a refused resize keeps the image";
    EXPECT_FALSE(ResizeDib(&image, 100000, 100000, 0, 0, -1, -1));
    EXPECT_EQ(kWhite, PixelOf(image.img, 0, 0));
    ScopedDib empty;
    EXPECT_FALSE(ResizeDib(&empty, 5, 5, 0, 0, -1, -1));
}

TEST(DibImage, FitDibKeepsTheAspectRatio)
{
    struct Case { int w, h, boxW, boxH, outW, outH; } cases[] = {
        {400, 300, 200, 200, 200, 150}, {300, 400, 200, 200, 150, 200}, {100, 50, 40, 20, 40, 20},
        {10, 10, 300, 100, 100, 100}, {1000, 1, 10, 10, 10, 1},
    };
    for (const Case& c : cases) {
        ScopedDib image;
        image.img = MakeImage(c.w, c.h, [](int, int) { return kGreen; });
        ASSERT_TRUE(FitDib(&image, c.boxW, c.boxH));
        EXPECT_EQ(c.outW, image->width) << c.w << "x" << c.h << " in " << c.boxW << "x" << c.boxH;
        EXPECT_EQ(c.outH, image->height) << c.w << "x" << c.h << " in " << c.boxW << "x" << c.boxH;
    }
    ScopedDib image;
    image.img = MakeImage(4, 4, [](int, int) { return kGreen; });
    EXPECT_FALSE(FitDib(&image, 0, 10));
    EXPECT_FALSE(FitDib(&image, 10, -1));
}

TEST(DibImage, LetterboxCentresOnBlack)
{
    ScopedDib image;
    image.img = MakeImage(100, 50, [](int, int) { return kGreen; });
    FitDibLetterbox(&image, 80, 80);
    ASSERT_EQ(80, image->width);
    ASSERT_EQ(80, image->height);
    EXPECT_EQ(kBlack, PixelOf(image.img, 40, 19));
    EXPECT_EQ(kGreen, PixelOf(image.img, 40, 20));
    EXPECT_EQ(kGreen, PixelOf(image.img, 0, 59));
    EXPECT_EQ(kGreen, PixelOf(image.img, 79, 59));
    EXPECT_EQ(kBlack, PixelOf(image.img, 40, 60));
    SaveShot(image.img, L"letterbox_100x50_in_80x80");

    // 100 x 49 becomes 80 x 39: the odd row goes to the top margin.
    ScopedDib odd;
    odd.img = MakeImage(100, 49, [](int, int) { return kGreen; });
    FitDibLetterbox(&odd, 80, 80);
    EXPECT_EQ(kBlack, PixelOf(odd.img, 40, 20));
    EXPECT_EQ(kGreen, PixelOf(odd.img, 40, 21));
    EXPECT_EQ(kGreen, PixelOf(odd.img, 40, 59));
    EXPECT_EQ(kBlack, PixelOf(odd.img, 40, 60));

    // Tall: 10 x 40 into 30 x 40 becomes 10 x 40 with bands of 10 columns each side.
    ScopedDib tall;
    tall.img = MakeImage(10, 40, [](int, int) { return kGreen; });
    FitDibLetterbox(&tall, 30, 40);
    EXPECT_EQ(kBlack, PixelOf(tall.img, 9, 5));
    EXPECT_EQ(kGreen, PixelOf(tall.img, 10, 5));
    EXPECT_EQ(kGreen, PixelOf(tall.img, 19, 5));
    EXPECT_EQ(kBlack, PixelOf(tall.img, 20, 5));
}

TEST(DibImage, QuarterTurnsMovePixelsAndUndoEachOther)
{
    ScopedDib image;
    image.img = MakeImage(3, 2, SixColours);
    ASSERT_TRUE(RotateDibRight(&image));
    ASSERT_EQ(2, image->width);
    ASSERT_EQ(3, image->height);
    // Right: (x, y) goes to (H - 1 - y, x).
    EXPECT_EQ(kWhite, PixelOf(image.img, 0, 0));
    EXPECT_EQ(kRed, PixelOf(image.img, 1, 0));
    EXPECT_EQ(kYellow, PixelOf(image.img, 0, 1));
    EXPECT_EQ(kBlue, PixelOf(image.img, 1, 2));
    ASSERT_TRUE(RotateDibLeft(&image));
    ASSERT_EQ(3, image->width);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(SixColours(x, y), PixelOf(image.img, x, y));
    ASSERT_TRUE(RotateDibLeft(&image));
    // Left: (x, y) goes to (y, W - 1 - x).
    EXPECT_EQ(kBlue, PixelOf(image.img, 0, 0));
    EXPECT_EQ(kCyan, PixelOf(image.img, 1, 0));
    EXPECT_EQ(kRed, PixelOf(image.img, 0, 2));
    ScopedDib empty;
    EXPECT_FALSE(RotateDibRight(&empty));
}

TEST(DibImage, PixelRecolouring)
{
    ScopedDib image;
    image.img = MakeImage(4, 1, [](int x, int) {
        static const Rgb c[] = {{0, 0, 0}, {15, 7, 7}, {16, 0, 0}, {0, 8, 0}};
        return c[x];
    });
    AvoidPureBlack(&image);
    EXPECT_EQ((Rgb{8, 0, 0}), PixelOf(image.img, 0, 0));
    EXPECT_EQ((Rgb{8, 7, 7}), PixelOf(image.img, 1, 0));
    EXPECT_EQ((Rgb{16, 0, 0}), PixelOf(image.img, 2, 0));
    EXPECT_EQ((Rgb{0, 8, 0}), PixelOf(image.img, 3, 0));
    FillDibBackground(&image);
    EXPECT_EQ((Rgb{30, 30, 25}), PixelOf(image.img, 3, 0));
    EXPECT_EQ(0, image->bits[12]) << "row padding stays untouched";
}

TEST(DibImage, StackJoinsVerticallyLeftAligned)
{
    ScopedDib top, bottom;
    bottom.img = MakeImage(3, 2, SixColours);
    ASSERT_TRUE(StackDibs(&top, &bottom));
    EXPECT_NE(top->bitmap, bottom->bitmap) << "an empty top becomes a copy, not a shared bitmap";
    FreeDibImage(&bottom);
    EXPECT_EQ(kCyan, PixelOf(top.img, 2, 1));

    ScopedDib wide;
    wide.img = MakeImage(5, 1, [](int, int) { return kMagenta; });
    ASSERT_TRUE(StackDibs(&top, &wide));
    ASSERT_EQ(5, top->width);
    ASSERT_EQ(3, top->height);
    EXPECT_EQ(kRed, PixelOf(top.img, 0, 0));
    EXPECT_EQ(kBlack, PixelOf(top.img, 3, 0)) << "right of the narrower picture is black";
    EXPECT_EQ(kCyan, PixelOf(top.img, 2, 1));
    EXPECT_EQ(kMagenta, PixelOf(top.img, 4, 2));
}

namespace {
BYTE HalfAlpha(int x, int) { return x == 0 ? 0 : x == 1 ? 128 : 255; }
Rgb Big(int x, int y) { return Rgb{BYTE(x * 40), BYTE(y * 60), 7}; }
}

TEST(DibImage, LoadDib32TableOfEntries)
{
    TempDir dir;
    Bytes tga = MakeTga(3, 2, SixColours, HalfAlpha);
    auto with = [&](size_t at, std::initializer_list<BYTE> bytes) {
        Bytes b = tga;
        std::copy(bytes.begin(), bytes.end(), b.begin() + at);
        return b;
    };
    Bytes jpegBytes;
    {
        ScopedDib source;
        source.img = MakeImage(16, 8, Quadrants(16, 8));
        ASSERT_TRUE(SaveJpeg(source->bits, 16, 8, source->stride, dir.File(L"q.jpg").c_str()));
        jpegBytes = testsupport::ReadBytes(dir.File(L"q.jpg"));
    }
    Bytes noJfif = jpegBytes;
    memcpy(noJfif.data() + 6, "XXXX", 4);  // an unknown APP0 id, as in JPEGs without a JFIF header
    struct Case { const char* what; Bytes data; bool ok; int w, h; BOOL alpha; } cases[] = {
        {"tga", tga, true, 3, 2, TRUE},
        {"tga cut short", Bytes(tga.begin(), tga.end() - 1), false},
        {"tga header only", Bytes(tga.begin(), tga.begin() + 18), false},
        {"short header", Bytes(tga.begin(), tga.begin() + 10), false},
        {"tga 24 bits", with(16, {24}), false},
        {"tga RLE", with(2, {10}), false},
        {"tga huge", with(12, {0xFF, 0xFF, 0xFF, 0xFF}), false},
        {"tga zero width", with(12, {0, 0}), false},
        {"tga zero height", with(14, {0, 0}), false},
        {"bmp", MakeBmp(3, 2, SixColours), true, 3, 2, FALSE},
        {"bmp cut short", [] { Bytes b = MakeBmp(30, 20, SixColoursTiled); b.resize(b.size() - 90); return b; }(), false},
        {"jpeg cut to its header", Bytes(jpegBytes.begin(), jpegBytes.begin() + 20), false},
        {"jpeg", jpegBytes, true, 16, 8, FALSE},
        {"jpeg without JFIF", noJfif, true, 16, 8, FALSE},
    };
    std::vector<PackEntry> entries;
    for (const Case& c : cases)
        entries.push_back({c.what, c.data});
    ASSERT_TRUE(OpenPack(entries));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DIB_IMAGE32 image{};
        std::wstring name(c.what, c.what + strlen(c.what));
        ASSERT_EQ(c.ok, !!LoadDib32FromPack(name.c_str(), &image));
        if (!c.ok) {
            EXPECT_EQ(nullptr, image.bitmap);
            continue;
        }
        EXPECT_EQ(c.w, image.width);
        EXPECT_EQ(c.h, image.height < 0 ? -image.height : image.height);
        EXPECT_EQ(c.alpha, image.hasAlpha);
        BYTE p[4];
        if (c.w == 3) {
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 3; ++x) {
                    Pixel32Of(image, x, y, p);
                    EXPECT_EQ(SixColours(x, y), (Rgb{p[2], p[1], p[0]})) << x << "," << y;
                    EXPECT_EQ(c.alpha ? HalfAlpha(x, y) : 255, p[3]);
                }
        } else {
            Pixel32Of(image, 1, 1, p);
            EXPECT_TRUE(Near(kRed, Rgb{p[2], p[1], p[0]}, 30));
            Pixel32Of(image, 1, 6, p);
            EXPECT_TRUE(Near(kBlue, Rgb{p[2], p[1], p[0]}, 30));
            EXPECT_EQ(255, p[3]);
        }
        FreeDibImage32(&image);
        EXPECT_EQ(nullptr, image.bitmap);
    }
    DIB_IMAGE32 none{};
    EXPECT_FALSE(LoadDib32FromPack(L"missing", &none));
}

TEST(DibImage, OverlayBlendsByAlphaAndKeysMagenta)
{
    // 3 x 1 overlay: alpha 0, 128, 255, all white.
    Bytes alpha = MakeTga(3, 1, [](int, int) { return kWhite; }, HalfAlpha);
    // 3 x 1 non-alpha overlay: magenta, green, magenta.
    Bytes keyed = MakeBmp(3, 1, [](int x, int) { return x == 1 ? kGreen : kMagenta; });
    ASSERT_TRUE(OpenPack({{"alpha.tga", alpha}, {"keyed.bmp", keyed}, {"big.tga", MakeTga(6, 4, Big, [](int, int) { return BYTE(255); })}}));

    ScopedDib image;
    image.img = MakeImage(6, 3, [](int, int) { return Rgb{0, 100, 200}; });
    ASSERT_TRUE(OverlayDib32(L"alpha.tga", &image));
    // Centred: left (6 - 3 + 1) / 2 = 2, rows from the bottom (3 - 1 + 1) / 2 = 1 (the middle row).
    EXPECT_EQ((Rgb{0, 100, 200}), PixelOf(image.img, 2, 1));
    EXPECT_EQ((Rgb{BYTE((255 * 128 + 0 * 127) / 255), BYTE((255 * 128 + 100 * 127) / 255), BYTE((255 * 128 + 200 * 127) / 255)}),
              PixelOf(image.img, 3, 1));
    EXPECT_EQ(kWhite, PixelOf(image.img, 4, 1));
    EXPECT_EQ((Rgb{0, 100, 200}), PixelOf(image.img, 4, 0));
    EXPECT_EQ((Rgb{0, 100, 200}), PixelOf(image.img, 5, 1));

    ScopedDib keyedTarget;
    keyedTarget.img = MakeImage(3, 1, [](int, int) { return kBlue; });
    ASSERT_TRUE(OverlayDib32(L"keyed.bmp", &keyedTarget));
    EXPECT_EQ(kBlue, PixelOf(keyedTarget.img, 0, 0));
    EXPECT_EQ(kGreen, PixelOf(keyedTarget.img, 1, 0));
    EXPECT_EQ(kBlue, PixelOf(keyedTarget.img, 2, 0));

    // An overlay larger than the image: its first columns and bottom rows are drawn.
    ScopedDib small;
    small.img = MakeImage(2, 2, [](int, int) { return kBlack; });
    ASSERT_TRUE(OverlayDib32(L"big.tga", &small));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(Big(x, y + 2), PixelOf(small.img, x, y)) << x << "," << y;
    EXPECT_FALSE(OverlayDib32(L"missing", &small));
}

TEST(DibImage, ThirtyTwoBitSectionsAndMagentaKey)
{
    DIB_IMAGE32 image{};
    ASSERT_TRUE(CreateDib32(&image, 2, 3));
    EXPECT_EQ(3, image.height);
    // Which picture row memory row 0 is, seen through GDI.
    auto firstRowIsTop = [](DIB_IMAGE32& img) {
        memset(img.bits, 0, 2 * 3 * 4);
        img.bits[2] = 255;  // red in memory pixel 0
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, img.bitmap);
        COLORREF top = GetPixel(dc, 0, 0);
        SelectObject(dc, old);
        DeleteDC(dc);
        return top == RGB(255, 0, 0);
    };
    EXPECT_TRUE(firstRowIsTop(image)) << "positive argument: top-down section";
    ASSERT_TRUE(CreateDib32(&image, 2, -3));
    EXPECT_FALSE(firstRowIsTop(image)) << "negative argument: bottom-up section";
    EXPECT_EQ(-3, image.height);
    for (int i = 0; i < 6; ++i) {
        image.bits[i * 4] = 10;
        image.bits[i * 4 + 1] = 20;
        image.bits[i * 4 + 2] = 30;
        image.bits[i * 4 + 3] = static_cast<BYTE>(i * 50);
    }
    AlphaToMagentaKey(&image);
    EXPECT_EQ(255, image.bits[0]);
    EXPECT_EQ(0, image.bits[1]);
    EXPECT_EQ(255, image.bits[2]);
    EXPECT_EQ(0, image.bits[3]);
    EXPECT_EQ(255, image.bits[2 * 4]) << "alpha 100 is below 128";
    EXPECT_EQ(10, image.bits[3 * 4]) << "alpha 150 keeps the colour";
    EXPECT_EQ(0, image.bits[3 * 4 + 3]);
    FreeDibImage32(&image);
    EXPECT_EQ(nullptr, image.bits);
    EXPECT_EQ(0, image.width);
}
