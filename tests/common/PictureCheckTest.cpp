// Pictures are checked against their bytes before the platform's decoder sees
// them: hostile BMP, icon and GIF files are refused (and never crash the
// program), real ones still load.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "ImageFixtures.h"
#include "common/DibImage.h"
#include "common/JpegWriter.h"
#include "common/PictureCheck.h"

using namespace imagetest;

namespace {

void Put16(Bytes& b, size_t at, unsigned v)
{
    b[at] = static_cast<BYTE>(v);
    b[at + 1] = static_cast<BYTE>(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<BYTE>(v >> (8 * i));
}

// An 8-bit bitmap, 4 x 2, grey palette, with the given compression and pixel bytes.
Bytes Bmp8(uint32_t compression, const Bytes& pixels, int colours = 256)
{
    const uint32_t offBits = 54 + 4 * colours;
    Bytes b(offBits, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(offBits + pixels.size()));
    Put32(b, 10, offBits);
    Put32(b, 14, 40);
    Put32(b, 18, 4);
    Put32(b, 22, 2);
    Put16(b, 26, 1);
    Put16(b, 28, compression == BI_RLE4 ? 4 : 8);
    Put32(b, 30, compression);
    Put32(b, 34, static_cast<uint32_t>(pixels.size()));
    Put32(b, 46, static_cast<uint32_t>(colours));
    for (int i = 0; i < colours; ++i)
        b[54 + 4 * i] = b[55 + 4 * i] = b[56 + 4 * i] = static_cast<BYTE>(i);
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

const Bytes kRle8 = {4, 10, 0, 0, 0, 4, 1, 2, 3, 4, 0, 1};  // a run, end of line, an absolute run, end
const Bytes kRle4 = {4, 0x12, 0, 0, 4, 0x34, 0, 1};

// A one-image icon file: 16 x 16, 24 bits, XOR and AND masks.
Bytes Icon(int count = 1)
{
    const int w = 16, h = 16;
    const uint32_t image = 40 + w * 3 * h + 4 * h;
    Bytes b(6 + 16 * count, 0);
    Put16(b, 2, 1);
    Put16(b, 4, static_cast<unsigned>(count));
    for (int i = 0; i < count; ++i) {
        b[6 + 16 * i] = w;
        b[7 + 16 * i] = h;
        Put16(b, 6 + 16 * i + 4, 1);
        Put16(b, 6 + 16 * i + 6, 24);
        Put32(b, 6 + 16 * i + 8, image);
        Put32(b, 6 + 16 * i + 12, static_cast<uint32_t>(6 + 16 * count));
    }
    Bytes dib(image, 0);
    Put32(dib, 0, 40);
    Put32(dib, 4, w);
    Put32(dib, 8, 2 * h);
    Put16(dib, 12, 1);
    Put16(dib, 14, 24);
    for (size_t i = 40; i < 40 + w * 3 * h; i += 3)
        dib[i + 2] = 0xC0;  // red
    b.insert(b.end(), dib.begin(), dib.end());
    return b;
}

const unsigned char kGif[] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0, 0, 0,
                              ',', 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0, ';'};

Bytes Gif() { return Bytes(kGif, kGif + sizeof kGif); }

Bytes Changed(Bytes b, const std::function<void(Bytes&)>& change)
{
    change(b);
    return b;
}

struct Case {
    const char* name;
    Bytes bytes;
    bool loads;
};

std::vector<Case> Cases()
{
    const Bytes bmp24 = MakeBmp(8, 6, [](int x, int y) { return Rgb{static_cast<BYTE>(x * 30), static_cast<BYTE>(y * 40), 9}; });
    Bytes topDown = bmp24;
    Put32(topDown, 22, static_cast<uint32_t>(-6));
    return {
        {"24-bit bitmap", bmp24, true},
        {"top-down bitmap", topDown, true},
        {"8-bit bitmap", Bmp8(BI_RGB, Bytes(8, 7)), true},
        {"RLE8 bitmap", Bmp8(BI_RLE8, kRle8), true},
        {"RLE4 bitmap", Bmp8(BI_RLE4, kRle4, 16), true},
        {"icon", Icon(), true},
        {"GIF", Gif(), true},
        // Bitmaps that lie.
        {"RLE8 pixels far beyond the file", Changed(Bmp8(BI_RLE8, kRle8), [](Bytes& b) { Put32(b, 10, 0x7FFFFFF0); }), false},
        {"RLE4 pixels far beyond the file", Changed(Bmp8(BI_RLE4, kRle4, 16), [](Bytes& b) { Put32(b, 10, 0x00100000); }), false},
        {"RLE8 without an end mark", Bmp8(BI_RLE8, Bytes{4, 10, 0, 0}), false},
        {"RLE8 absolute run past the end", Bmp8(BI_RLE8, Bytes{0, 200, 1, 2}), false},
        {"RLE8 image size beyond the file", Changed(Bmp8(BI_RLE8, kRle8), [](Bytes& b) { Put32(b, 34, 0x10000); }), false},
        {"info header size 0xFFFF", Changed(bmp24, [](Bytes& b) { Put32(b, 14, 0xFFFF); }), false},
        {"info header size 0x40000000", Changed(bmp24, [](Bytes& b) { Put32(b, 14, 0x40000000); }), false},
        {"info header size 41", Changed(bmp24, [](Bytes& b) { Put32(b, 14, 41); }), false},
        {"pixels before the header end", Changed(bmp24, [](Bytes& b) { Put32(b, 10, 20); }), false},
        {"20000 x 20000 in a small file", Changed(bmp24, [](Bytes& b) { Put32(b, 18, 20000); Put32(b, 22, 20000); }), false},
        {"cut short", Bytes(bmp24.begin(), bmp24.end() - 10), false},
        {"zero width", Changed(bmp24, [](Bytes& b) { Put32(b, 18, 0); }), false},
        {"2 bits a pixel", Changed(bmp24, [](Bytes& b) { Put16(b, 28, 2); }), false},
        {"JPEG inside a bitmap", Changed(bmp24, [](Bytes& b) { Put32(b, 30, 4); }), false},
        {"RLE8 on a 24-bit bitmap", Changed(bmp24, [](Bytes& b) { Put32(b, 30, BI_RLE8); }), false},
        {"palette of 5000 colours", Changed(Bmp8(BI_RGB, Bytes(8, 7)), [](Bytes& b) { Put32(b, 46, 5000); }), false},
        {"headers only", Bytes(bmp24.begin(), bmp24.begin() + 30), false},
        // Icons that lie.
        {"icon count 0xFFFF", Changed(Icon(), [](Bytes& b) { Put16(b, 4, 0xFFFF); }), false},
        {"icon count 0x8000", Changed(Icon(), [](Bytes& b) { Put16(b, 4, 0x8000); }), false},
        {"icon count 0", Changed(Icon(), [](Bytes& b) { Put16(b, 4, 0); }), false},
        {"icon image beyond the file", Changed(Icon(), [](Bytes& b) { Put32(b, 18, 0x7FFFFFF0); }), false},
        {"icon image size beyond the file", Changed(Icon(), [](Bytes& b) { Put32(b, 14, 0x00FFFFFF); }), false},
        {"icon image inside the directory", Changed(Icon(), [](Bytes& b) { Put32(b, 18, 2); }), false},
        {"icon header size absurd", Changed(Icon(), [](Bytes& b) { Put32(b, 22, 0xFFFF); }), false},
        {"icon 4000 pixels tall", Changed(Icon(), [](Bytes& b) { Put32(b, 30, 8000); }), false},
        {"icon garbage directory", Changed(Icon(2), [](Bytes& b) {
             for (size_t i = 6; i < 38; ++i)
                 b[i] = static_cast<BYTE>(0x9D * i);
         }), false},
        // GIFs that lie, and what else the decoder would take.
        {"GIF image outside its screen", Changed(Gif(), [](Bytes& b) { Put16(b, 20, 500); }), false},
        {"GIF without a trailer", Bytes(kGif, kGif + sizeof kGif - 1), false},
        {"GIF sub-block past the end", Changed(Gif(), [](Bytes& b) { b[30] = 200; }), false},
        {"placeable metafile", Bytes{0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0x10, 0x10, 0x10, 0x10}, false},
        {"size-prefixed stream", Changed(Bytes{'l', 't', 0, 0, 0xFF, 0xFF, 0, 0}, [&](Bytes& b) { b.insert(b.end(), bmp24.begin(), bmp24.end()); }), false},
        {"PNG cut after its signature", Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 0}, false},
        {"PNG of 100,000 x 100,000", Changed(Bytes(40, 0), [](Bytes& b) {
             const BYTE head[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                  0, 1, 0x86, 0xA0, 0, 1, 0x86, 0xA0, 8, 6, 0, 0, 0};
             std::memcpy(b.data(), head, sizeof head);
         }), false},
        {"empty", Bytes(), false},
    };
}

TEST(PictureCheck, HostilePicturesAreRefusedAndRealOnesLoad)
{
    testsupport::TempDir dir;
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.loads, PictureBytesAreSafe(c.bytes.data(), c.bytes.size()));
        testsupport::WriteBytes(dir.File(L"p.pic"), c.bytes);
        ScopedDib image;
        EXPECT_EQ(c.loads, LoadPictureFile(&image, dir.File(L"p.pic").c_str(), -1, -1) != FALSE);
    }
}

TEST(PictureCheck, JpegStillLoads)
{
    testsupport::TempDir dir;
    ScopedDib source;
    source.img = MakeImage(20, 10, [](int x, int) { return Rgb{static_cast<BYTE>(x * 10), 0, 0}; });
    ASSERT_TRUE(SaveJpeg(source->bits, 20, 10, source->stride, dir.File(L"p.jpg").c_str()));
    ScopedDib image;
    EXPECT_TRUE(LoadPictureFile(&image, dir.File(L"p.jpg").c_str(), -1, -1));
}

// Thousands of random changes to real pictures: whatever the check lets
// through, the decoder survives.
TEST(PictureCheck, MutatedPicturesNeverCrashTheLoader)
{
    testsupport::TempDir dir;
    std::mt19937 random(1234);
    int accepted = 0;
    for (const Case& c : Cases()) {
        if (!c.loads)
            continue;
        for (int round = 0; round < 150; ++round) {
            Bytes b = c.bytes;
            const int changes = 1 + static_cast<int>(random() % 4);
            for (int k = 0; k < changes; ++k) {
                const size_t at = random() % b.size();
                b[at] = static_cast<BYTE>(random() % 3 == 0 ? 0xFF : random());
            }
            if (random() % 5 == 0)
                b.resize(random() % b.size());
            if (PictureBytesAreSafe(b.data(), b.size()))
                ++accepted;
            testsupport::WriteBytes(dir.File(L"m.pic"), b);
            ScopedDib image;
            LoadPictureFile(&image, dir.File(L"m.pic").c_str(), -1, -1);
        }
    }
    EXPECT_GT(accepted, 0);  // harmless changes (pixels) still load
}

}  // namespace
