#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include "DocTestSupport.h"
#include "ImageFixtures.h"
#include "TestFiles.h"
#include "doc/DocIg.h"

namespace {

using imagetest::Rgb;

const Rgb kRed{200, 10, 10};

// A picture file written by GDI+ in the format of a MIME type.
bool WritePicture(const std::wstring& path, int w, int h, const wchar_t* mime)
{
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    bool ok = false;
    {
        Gdiplus::Bitmap bitmap(w, h, PixelFormat24bppRGB);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                bitmap.SetPixel(x, y, Gdiplus::Color(kRed.r, kRed.g, kRed.b));
        UINT count = 0, size = 0;
        Gdiplus::GetImageEncodersSize(&count, &size);
        std::vector<BYTE> buf(size);
        auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buf.data());
        Gdiplus::GetImageEncoders(count, size, codecs);
        for (UINT i = 0; i < count; ++i)
            if (wcscmp(codecs[i].MimeType, mime) == 0)
                ok = bitmap.Save(path.c_str(), &codecs[i].Clsid, nullptr) == Gdiplus::Ok;
    }
    Gdiplus::GdiplusShutdown(token);
    return ok;
}

class PictureDoc : public testing::Test {
protected:
    void SetUp() override { doctest::SetModel(2); }
    // Loads a w x h red picture (BMP) into doc.
    void LoadRed(CDocIg& doc, int w, int h)
    {
        std::wstring path = dir.File(L"red.bmp");
        testsupport::WriteBytes(path, imagetest::MakeBmp(w, h, [](int, int) { return kRed; }));
        ASSERT_TRUE(doc.Load(path.c_str()));
    }
    testsupport::TempDir dir;
};

TEST_F(PictureDoc, TargetSizeByModelAndKind)
{
    struct Case {
        int model, kind, w, h;
    } cases[] = {{1, 0, 24, 24}, {4, 0, 24, 24}, {6, 1, 480, 272}, {0, 0, 32, 32}, {5, 1, 800, 480},
                 {12, 1, 800, 480}, {2, 2, -1, -1}};
    for (const auto& c : cases) {
        doctest::SetModel(c.model);
        CDocIg doc;
        doc.m_targetKind = c.kind;
        int w = -1, h = -1;
        doc.GetTargetSize(&w, &h);
        EXPECT_EQ(c.w, w) << c.model << "/" << c.kind;
        EXPECT_EQ(c.h, h);
    }
}

TEST_F(PictureDoc, FitFrameAndInitialCropRectangles)
{
    doctest::SetModel(6);
    CDocIg doc;
    doc.m_targetKind = IG_TARGET_SPLASH;  // 480 x 272
    LoadRed(doc, 1000, 1000);
    RECT r;
    doc.GetFitRect(&r);
    EXPECT_EQ(1764, r.right);
    EXPECT_EQ(1000, r.bottom);

    LoadRed(doc, 40, 400);
    doc.GetFitRect(&r);
    EXPECT_EQ(705, r.right);
    EXPECT_EQ(400, r.bottom);
    doc.GetCropRectByWidth(&r);
    EXPECT_EQ(52, r.right - r.left);
    EXPECT_EQ(30, r.bottom - r.top);
    EXPECT_EQ((705 - 52) / 2, r.left);
    EXPECT_EQ((400 - 30) / 2, r.top);
    doc.GetCropRectByHeight(&r);
    EXPECT_EQ((RECT{0, 0, 705, 400}.right), r.right);
    EXPECT_EQ(400, r.bottom - r.top);

    LoadRed(doc, 960, 544);  // the same aspect as the target
    doc.GetFitRect(&r);
    EXPECT_EQ(960, r.right);
    EXPECT_EQ(544, r.bottom);
    LoadRed(doc, 1000, 100);  // wide
    doc.GetFitRect(&r);
    EXPECT_EQ(1000, r.right);
    EXPECT_EQ(566, r.bottom);
}

TEST_F(PictureDoc, LoadsThroughOleAndThroughGdiplus)
{
    CDocIg doc;
    for (const wchar_t* mime : {L"image/png", L"image/jpeg", L"image/tiff"}) {
        std::wstring path = dir.File(L"pic");
        path += mime + 6;
        ASSERT_TRUE(WritePicture(path, 20, 10, mime)) << mime;
        ASSERT_TRUE(doc.Load(path.c_str())) << mime;
        EXPECT_EQ(20, doc.m_working.width);
        EXPECT_EQ(10, doc.m_working.height);
        Rgb c = imagetest::PixelOf(doc.m_working, 5, 5);
        EXPECT_NEAR(kRed.r, c.r, 8) << mime;
        EXPECT_NEAR(kRed.g, c.g, 8) << mime;
    }
}

TEST_F(PictureDoc, BrokenFileKeepsThePicturesHeld)
{
    doctest::FillUiStrings();
    CDocIg doc;
    doc.InitErrorStrings();
    LoadRed(doc, 30, 20);
    testsupport::WriteBytes(dir.File(L"broken.jpg"), std::string("\xFF\xD8\xFF garbage, not a picture"));
    EXPECT_FALSE(doc.Load(dir.File(L"broken.jpg").c_str()));
    EXPECT_FALSE(doc.Load(dir.File(L"missing.bmp").c_str()));
    EXPECT_EQ(2, doc.GetErrorCode());
    EXPECT_EQ(30, doc.m_working.width);
    EXPECT_EQ(30, doc.m_source.width);
}

TEST_F(PictureDoc, SaveLetterboxesToTheTargetSize)
{
    CDocIg doc;
    doc.m_targetKind = IG_TARGET_ICON;  // 32 x 32 on model type 2
    LoadRed(doc, 64, 32);
    std::wstring path = dir.File(L"icon.bmp");
    ASSERT_TRUE(doc.Save(path.c_str()));
    EXPECT_EQ(54u + 96 * 32, testsupport::ReadBytes(path).size());
    imagetest::ScopedDib saved;
    ASSERT_TRUE(LoadBmpFile(path.c_str(), &saved));
    EXPECT_EQ(32, saved->width);
    EXPECT_EQ((Rgb{0, 0, 0}), imagetest::PixelOf(saved.img, 16, 0));   // bar above
    EXPECT_EQ((Rgb{0, 0, 0}), imagetest::PixelOf(saved.img, 16, 31));  // bar below
    EXPECT_EQ(kRed, imagetest::PixelOf(saved.img, 16, 16));
    EXPECT_EQ(64, doc.m_working.width);  // the working picture stays

    doctest::SetModel(6);
    doc.m_targetKind = IG_TARGET_SPLASH;
    ASSERT_TRUE(doc.Save(path.c_str()));  // over the old file
    ASSERT_TRUE(LoadBmpFile(path.c_str(), &saved));
    EXPECT_EQ(480, saved->width);
    EXPECT_EQ(272, saved->height);
}

TEST_F(PictureDoc, SaveFailures)
{
    CDocIg empty;
    EXPECT_FALSE(empty.Save(dir.File(L"x.bmp").c_str()));
    EXPECT_EQ(3, empty.GetErrorCode());
    CDocIg doc;
    LoadRed(doc, 8, 8);
    EXPECT_FALSE(doc.Save(L""));
    EXPECT_FALSE(doc.Save(dir.File(L"no\\such\\folder\\x.bmp").c_str()));
    EXPECT_EQ(3, doc.GetErrorCode());
    EXPECT_TRUE(testsupport::FileExists(dir.File(L"red.bmp")));
}

TEST_F(PictureDoc, CropInsideTheFrame)
{
    doctest::SetModel(2);
    CDocIg doc;
    doc.m_targetKind = IG_TARGET_ICON;  // square frame
    LoadRed(doc, 40, 20);               // frame 40 x 40, picture rows 10..29 of it
    // A refused crop says why: the view shows the document's error text.
    const RECT refused[] = {{0, 0, 0, 10}, {-1, 0, 10, 10}, {35, 0, 10, 10}};
    for (const RECT& r : refused) {
        doc.SetErrorCode(DOCERR_NONE);
        EXPECT_FALSE(doc.CropImage(r.left, r.top, r.right, r.bottom));
        EXPECT_EQ(DOCERR_4, doc.GetErrorCode());
    }
    EXPECT_EQ(0, doc.IsModified());
    ASSERT_TRUE(doc.CropImage(5, 0, 20, 20));  // the upper half lies above the picture
    EXPECT_EQ(1, doc.IsModified());
    EXPECT_EQ(20, doc.m_working.width);
    EXPECT_EQ(20, doc.m_working.height);
    EXPECT_EQ((Rgb{0, 0, 0}), imagetest::PixelOf(doc.m_working, 10, 5));
    EXPECT_EQ(kRed, imagetest::PixelOf(doc.m_working, 10, 15));
    EXPECT_EQ(40, doc.m_source.width);
    doc.Clear();
    EXPECT_FALSE(doc.HasPicture());
    EXPECT_EQ(0, doc.IsModified());
}

}  // namespace
