// JPEG thumbnails decoded scaled down: their size, that they stand the right
// way up, their colours, and what damaged or foreign files give.
#include "common/JpegThumbnail.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "TestFiles.h"
#include "common/JpegWriter.h"

using testsupport::TempDir;

namespace {

// w x h: the top half red, the bottom half green on the left and blue on the right.
void WriteQuarters(const std::wstring& path, int w, int h)
{
    DIB_IMAGE image{};
    ASSERT_TRUE(CreateDib(&image, w, h));
    for (int row = 0; row < h; ++row) {  // memory row 0 is the bottom
        BYTE* p = image.bits + static_cast<size_t>(row) * DibRowSize(w);
        for (int x = 0; x < w; ++x, p += 3) {
            const bool top = row >= h / 2, left = x < w / 2;
            const COLORREF c = top ? RGB(220, 30, 30) : left ? RGB(30, 200, 30) : RGB(30, 30, 220);
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    }
    ASSERT_TRUE(SaveJpeg(image.bits, w, h, image.stride, path.c_str()));
    FreeDibImage(&image);
}

// The thumbnail's pixel at x, y counted from its top-left corner.
COLORREF PixelFromTop(const DIB_IMAGE& image, int x, int y)
{
    const BYTE* p = image.bits + static_cast<size_t>(image.height - 1 - y) * DibRowSize(image.width) + x * 3;
    return RGB(p[2], p[1], p[0]);
}

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

}  // namespace

TEST(JpegThumbnail, FitsTheBoxUprightWithItsColours)
{
    TempDir dir;
    // Scaled by 1/8, 1/4 and 1/1 in libjpeg, then averaged down to the box.
    struct { int w, h, thumbWidth, thumbHeight; } table[] = {
        {800, 400, 94, 47}, {300, 900, 31, 94}, {1000, 1000, 94, 94}, {190, 20, 94, 9},
        {94, 94, 94, 94}, {20, 30, 20, 30},
    };
    for (const auto& t : table) {
        const std::wstring path = dir.File(L"p" + std::to_wstring(t.w) + L"x" + std::to_wstring(t.h) + L".jpg");
        WriteQuarters(path, t.w, t.h);
        const SIZE fitted = FitThumbnailSize(t.w, t.h, 94, 94);
        EXPECT_EQ(t.thumbWidth, fitted.cx) << t.w << "x" << t.h;
        EXPECT_EQ(t.thumbHeight, fitted.cy) << t.w << "x" << t.h;
        DIB_IMAGE image;
        ASSERT_TRUE(LoadJpegThumbnail(path.c_str(), 94, 94, &image)) << t.w << "x" << t.h;
        EXPECT_EQ(t.thumbWidth, image.width) << t.w << "x" << t.h;
        EXPECT_EQ(t.thumbHeight, image.height) << t.w << "x" << t.h;
        const int w = image.width, h = image.height;
        EXPECT_TRUE(Near(PixelFromTop(image, w / 2, h / 6), RGB(220, 30, 30), 24)) << t.w << "x" << t.h << " top";
        EXPECT_TRUE(Near(PixelFromTop(image, w / 6, h - 1 - h / 6), RGB(30, 200, 30), 24))
            << t.w << "x" << t.h << " bottom left";
        EXPECT_TRUE(Near(PixelFromTop(image, w - 1 - w / 6, h - 1 - h / 6), RGB(30, 30, 220), 24))
            << t.w << "x" << t.h << " bottom right";
        FreeDibImage(&image);
    }
}

TEST(JpegThumbnail, DamagedAndForeignFilesGiveNothing)
{
    TempDir dir;
    WriteQuarters(dir.File(L"whole.jpg"), 400, 200);
    const testsupport::Bytes whole = testsupport::ReadBytes(dir.File(L"whole.jpg"));
    ASSERT_GT(whole.size(), 600u);
    // The header alone, cut before the picture data starts.
    testsupport::WriteBytes(dir.File(L"header only.jpg"), testsupport::Bytes(whole.begin(), whole.begin() + 300));
    testsupport::WriteBytes(dir.File(L"garbage.jpg"), std::string("\xFF\xD8\xFF\xE0 this is no picture at all"));
    testsupport::WriteBytes(dir.File(L"empty.jpg"), std::string());
    DIB_IMAGE bmp{};
    ASSERT_TRUE(CreateDib(&bmp, 20, 10));
    ASSERT_TRUE(SaveDibAsBmp(dir.File(L"picture.bmp").c_str(), &bmp));
    FreeDibImage(&bmp);
    for (const wchar_t* name : {L"header only.jpg", L"garbage.jpg", L"empty.jpg", L"picture.bmp", L"missing.jpg"}) {
        DIB_IMAGE image;
        EXPECT_FALSE(LoadJpegThumbnail(dir.File(name).c_str(), 94, 94, &image)) << name;
        EXPECT_EQ(nullptr, image.bits) << name;
        EXPECT_EQ(nullptr, image.bitmap) << name;
    }
}

TEST(JpegThumbnail, ATruncatedPhotoStillShowsItsTop)
{
    TempDir dir;
    WriteQuarters(dir.File(L"whole.jpg"), 400, 200);
    const testsupport::Bytes whole = testsupport::ReadBytes(dir.File(L"whole.jpg"));
    testsupport::WriteBytes(dir.File(L"cut.jpg"), testsupport::Bytes(whole.begin(), whole.begin() + whole.size() * 3 / 4));
    DIB_IMAGE image;
    ASSERT_TRUE(LoadJpegThumbnail(dir.File(L"cut.jpg").c_str(), 94, 94, &image));
    EXPECT_EQ(94, image.width);
    EXPECT_EQ(47, image.height);
    EXPECT_TRUE(Near(PixelFromTop(image, 47, 5), RGB(220, 30, 30), 24));
    FreeDibImage(&image);
}
