#include "common/JpegWriter.h"

#include <gtest/gtest.h>

#include "ImageFixtures.h"
#include "TestFiles.h"

using namespace imagetest;
using testsupport::TempDir;

namespace {

bool Near(Rgb a, Rgb b, int tolerance)
{
    return abs(a.r - b.r) <= tolerance && abs(a.g - b.g) <= tolerance && abs(a.b - b.b) <= tolerance;
}

// Noise compresses badly: a picture that stays big at every quality.
Rgb Noise(int x, int y)
{
    unsigned v = (x * 1103515245u + y * 12345u) ^ (x * y * 2654435761u);
    v ^= v >> 13;
    v *= 0x5bd1e995;
    return Rgb{BYTE(v), BYTE(v >> 8), BYTE(v >> 16)};
}

}  // namespace

TEST(JpegWriter, RowsComeOutTopDownInRedGreenBlue)
{
    TempDir dir;
    // Bottom row in memory pure blue (bytes 255, 0, 0); top half red, rest green.
    ScopedDib image;
    image.img = MakeImage(64, 48, [](int, int y) { return y >= 40 ? Rgb{0, 0, 255} : y < 20 ? Rgb{255, 0, 0} : Rgb{0, 255, 0}; });
    ASSERT_EQ(255, image->bits[0]);
    ASSERT_EQ(0, image->bits[2]);
    ASSERT_TRUE(SaveJpeg(image->bits, 64, 48, image->stride, dir.File(L"o.jpg").c_str()));
    ScopedDib back;
    ASSERT_TRUE(LoadPictureFile(&back, dir.File(L"o.jpg").c_str(), -1, -1));
    ASSERT_EQ(64, back->width);
    ASSERT_EQ(48, back->height);
    EXPECT_TRUE(Near(Rgb{0, 0, 255}, PixelOf(back.img, 10, 46), 24)) << PixelOf(back.img, 10, 46);
    EXPECT_TRUE(Near(Rgb{255, 0, 0}, PixelOf(back.img, 10, 5), 24)) << PixelOf(back.img, 10, 5);
    EXPECT_TRUE(Near(Rgb{0, 255, 0}, PixelOf(back.img, 50, 30), 24)) << PixelOf(back.img, 50, 30);
    SaveShot(back.img, L"jpeg_decoded");
}

TEST(JpegWriter, PositiveStrideWorksToo)
{
    TempDir dir;
    ScopedDib image;
    image.img = MakeImage(17, 9, [](int x, int) { return x < 8 ? Rgb{255, 255, 255} : Rgb{0, 0, 0}; });
    ASSERT_TRUE(SaveJpeg(image->bits, 17, 9, -image->stride, dir.File(L"s.jpg").c_str()));
    ScopedDib back;
    ASSERT_TRUE(LoadPictureFile(&back, dir.File(L"s.jpg").c_str(), -1, -1));
    EXPECT_EQ(17, back->width);
    EXPECT_TRUE(Near(Rgb{255, 255, 255}, PixelOf(back.img, 2, 4), 24));
    EXPECT_TRUE(Near(Rgb{0, 0, 0}, PixelOf(back.img, 14, 4), 24));
}

TEST(JpegWriter, SmallPictureIsWrittenOnceAtQualityEighty)
{
    TempDir dir;
    ScopedDib image;
    image.img = MakeImage(64, 64, Noise);
    ASSERT_TRUE(SaveJpeg(image->bits, 64, 64, image->stride, dir.File(L"q.jpg").c_str()));
    ULONGLONG size80 = testsupport::ReadBytes(dir.File(L"q.jpg")).size();
    // The same picture under a limit it meets only at a lower quality ends smaller.
    ASSERT_TRUE(SaveJpegWithin(image->bits, 64, 64, image->stride, dir.File(L"lower.jpg").c_str(), size80 - 1));
    ULONGLONG lower = testsupport::ReadBytes(dir.File(L"lower.jpg")).size();
    EXPECT_LT(lower, size80);
}

TEST(JpegWriter, TooBigEvenAtQualityFiveFailsAndLeavesTheLastFile)
{
    TempDir dir;
    ScopedDib image;
    image.img = MakeImage(128, 128, Noise);
    std::wstring path = dir.File(L"big.jpg");
    EXPECT_FALSE(SaveJpegWithin(image->bits, 128, 128, image->stride, path.c_str(), 1000));
    ASSERT_TRUE(testsupport::FileExists(path));
    ULONGLONG at5 = testsupport::ReadBytes(path).size();
    EXPECT_GT(at5, 1000u);
    // It is the quality-5 pass: allowing exactly its size succeeds.
    EXPECT_TRUE(SaveJpegWithin(image->bits, 128, 128, image->stride, path.c_str(), at5));
    EXPECT_EQ(at5, testsupport::ReadBytes(path).size());
}

TEST(JpegWriter, BadArgumentsFailWithoutAFile)
{
    TempDir dir;
    ScopedDib image;
    image.img = MakeImage(4, 4, Noise);
    EXPECT_FALSE(SaveJpeg(nullptr, 4, 4, image->stride, dir.File(L"a.jpg").c_str()));
    EXPECT_FALSE(SaveJpeg(image->bits, 4, 4, image->stride, nullptr));
    EXPECT_FALSE(SaveJpeg(image->bits, 0, 4, image->stride, dir.File(L"b.jpg").c_str()));
    EXPECT_FALSE(SaveJpeg(image->bits, 4, 4, 5, dir.File(L"c.jpg").c_str())) << "stride shorter than a row";
    EXPECT_FALSE(SaveJpeg(image->bits, 4, 4, image->stride, dir.File(L"no folder\\d.jpg").c_str()));
    for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg"})
        EXPECT_FALSE(testsupport::FileExists(dir.File(name))) << name;
}

TEST(JpegWriter, LibraryErrorReturnsFalse)
{
    TempDir dir;
    // Wider than JPEG allows: libjpeg raises its error, which must come back as FALSE.
    const int width = 70000;
    std::vector<BYTE> row((width * 3 + 3) & ~3, 128);
    testsupport::WriteBytes(dir.File(L"wide.jpg"), std::string("old picture"));
    EXPECT_FALSE(SaveJpeg(row.data(), width, 1, static_cast<int>(row.size()), dir.File(L"wide.jpg").c_str()));
    testsupport::Bytes old = testsupport::ReadBytes(dir.File(L"wide.jpg"));
    EXPECT_EQ("old picture", std::string(old.begin(), old.end())) << "a failed write leaves the old file";
    EXPECT_FALSE(testsupport::FileExists(dir.File(L"wide.jpg.tmp~")));
}
