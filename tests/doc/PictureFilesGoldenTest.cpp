// Pictures the program writes, byte for byte: the picture editor's BMP (the
// writer of the card's icon bitmaps and the clone wallpaper too) and the
// graphs' JPEG.
#include <gtest/gtest.h>

#include <windows.h>

#include "DocTestSupport.h"
#include "GoldenFiles.h"
#include "ImageFixtures.h"
#include "TestFiles.h"
#include "common/JpegWriter.h"
#include "doc/DocIg.h"

namespace {

using imagetest::Rgb;

// Colour changes in both directions, so every row and column is told apart.
Rgb Pattern(int x, int y)
{
    return Rgb{BYTE(x * 9 + y), BYTE(255 - y * 13), BYTE((x * y) & 0xFF)};
}

TEST(PictureFilesGolden, EditorsBmpLetterboxedToTheIconSize)
{
    doctest::SetModel(2);
    testsupport::TempDir dir;
    std::wstring source = dir.File(L"wide.bmp");
    testsupport::WriteBytes(source, imagetest::MakeBmp(40, 20, Pattern));
    CDocIg doc;
    doc.m_targetKind = IG_TARGET_ICON;  // 32 x 32 on model type 2: bars above and below
    ASSERT_TRUE(doc.Load(source.c_str()));
    std::wstring saved = dir.File(L"icon.bmp");
    ASSERT_TRUE(doc.Save(saved.c_str()));
    golden::Expect(L"picture_icon.bmp", saved);
}

TEST(PictureFilesGolden, GraphJpegAtItsFixedQuality)
{
    imagetest::ScopedDib image;
    image.img = imagetest::MakeImage(24, 10, Pattern);
    testsupport::TempDir dir;
    std::wstring saved = dir.File(L"graph.jpg");
    ASSERT_TRUE(SaveJpeg(image->bits, image->width, image->height, image->stride, saved.c_str()));
    golden::Expect(L"graph.jpg", saved);
}

}  // namespace
