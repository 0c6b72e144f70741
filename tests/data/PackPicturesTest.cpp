// The shipped skin pack read the way the program's loaders read it under
// Windows: every BMP and JPEG through OleLoadPicture (its natural size must be
// the picture's pixel size), every PNG through GDI+ with an alpha channel, and
// every TGA by the rules of the 32-bit loader.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <gdiplus.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/TestFiles.h"

using testsupport::Bytes;

namespace {

struct Entry {
    std::string name;
    Bytes data;
};

std::uint32_t U32(const Bytes& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

void Unscramble(std::uint8_t* p, size_t n, std::uint32_t step)
{
    std::uint8_t key = 0;
    for (size_t i = 0; i < n; ++i) {
        p[i] ^= key;
        key = static_cast<std::uint8_t>(key + (step & 0xFF));
    }
}

// The pack beside the program, every entry unscrambled.
std::vector<Entry> ReadPack()
{
    Bytes raw = testsupport::ReadBytes(testsupport::ExeDir() + L"..\\bin\\Mirovale.qpk");
    std::vector<Entry> entries;
    if (raw.size() < 16 || std::memcmp(raw.data(), "QPKA", 4) != 0)
        return entries;
    const std::uint32_t count = U32(raw, 4), step = U32(raw, 8);
    const size_t dataStart = 16 + 48 * static_cast<size_t>(count);
    if (dataStart > raw.size())
        return entries;
    Bytes toc(raw.begin() + 16, raw.begin() + dataStart);
    Unscramble(toc.data(), toc.size(), step);
    for (std::uint32_t i = 0; i < count; ++i) {
        const size_t at = 48 * static_cast<size_t>(i);
        Entry e;
        e.name.assign(reinterpret_cast<const char*>(&toc[at]), strnlen(reinterpret_cast<const char*>(&toc[at]), 36));
        const std::uint32_t size = U32(toc, at + 36), offset = U32(toc, at + 40);
        if (dataStart + offset + size > raw.size())
            continue;  // reported by the count check below
        e.data.assign(raw.begin() + dataStart + offset, raw.begin() + dataStart + offset + size);
        if (step != 0)
            Unscramble(e.data.data(), e.data.size(), step);
        entries.push_back(std::move(e));
    }
    return entries;
}

bool EndsWith(const std::string& s, const char* tail)
{
    const size_t n = std::strlen(tail);
    return s.size() >= n && _stricmp(s.c_str() + s.size() - n, tail) == 0;
}

IStream* StreamOf(const Bytes& data)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, data.size());
    if (!block)
        return nullptr;
    std::memcpy(GlobalLock(block), data.data(), data.size());
    GlobalUnlock(block);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        GlobalFree(block);
        return nullptr;
    }
    return stream;
}

// Pixel size written in the picture itself.
bool HeaderSize(const Entry& e, long& w, long& h)
{
    const Bytes& d = e.data;
    if (EndsWith(e.name, ".bmp") && d.size() > 26) {
        w = static_cast<std::int32_t>(U32(d, 18));
        h = labs(static_cast<std::int32_t>(U32(d, 22)));
        return true;
    }
    if (EndsWith(e.name, ".jpg")) {
        for (size_t at = 2; at + 9 < d.size();) {
            const unsigned marker = d[at + 1], length = d[at + 2] << 8 | d[at + 3];
            if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
                h = d[at + 5] << 8 | d[at + 6];
                w = d[at + 7] << 8 | d[at + 8];
                return true;
            }
            at += 2 + length;
        }
    }
    return false;
}

class SkinPack : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitialize(nullptr);
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&s_gdiplus, &input, nullptr);
        s_entries = ReadPack();
    }
    static void TearDownTestSuite()
    {
        s_entries.clear();
        Gdiplus::GdiplusShutdown(s_gdiplus);
        CoUninitialize();
    }
    static ULONG_PTR s_gdiplus;
    static std::vector<Entry> s_entries;
};
ULONG_PTR SkinPack::s_gdiplus = 0;
std::vector<Entry> SkinPack::s_entries;

TEST_F(SkinPack, HoldsEveryEntryInsideTheFile)
{
    EXPECT_EQ(s_entries.size(), 475u);
}

TEST_F(SkinPack, BitmapsAndJpegsLoadAtTheirOwnSize)
{
    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    int checked = 0;
    for (const Entry& e : s_entries) {
        long w = 0, h = 0;
        if (!EndsWith(e.name, ".bmp") && !EndsWith(e.name, ".jpg"))
            continue;
        ASSERT_TRUE(HeaderSize(e, w, h)) << e.name;
        IStream* stream = StreamOf(e.data);
        ASSERT_NE(stream, nullptr);
        IPicture* picture = nullptr;
        HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(e.data.size()), FALSE, IID_IPicture,
                                    reinterpret_cast<void**>(&picture));
        stream->Release();
        ASSERT_TRUE(SUCCEEDED(hr) && picture) << e.name;
        OLE_XSIZE_HIMETRIC hw = 0;
        OLE_YSIZE_HIMETRIC hh = 0;
        picture->get_Width(&hw);
        picture->get_Height(&hh);
        picture->Release();
        EXPECT_EQ(MulDiv(hw, dpiX, 2540), w) << e.name;
        EXPECT_EQ(MulDiv(hh, dpiY, 2540), h) << e.name;
        ++checked;
    }
    EXPECT_EQ(checked, 475 - 85 - 10);
}

TEST_F(SkinPack, PngsLoadThroughGdiplusWithAlpha)
{
    int checked = 0;
    for (const Entry& e : s_entries) {
        if (!EndsWith(e.name, ".png"))
            continue;
        IStream* stream = StreamOf(e.data);
        ASSERT_NE(stream, nullptr);
        Gdiplus::Bitmap* bitmap = Gdiplus::Bitmap::FromStream(stream);
        ASSERT_NE(bitmap, nullptr) << e.name;
        EXPECT_EQ(bitmap->GetLastStatus(), Gdiplus::Ok) << e.name;
        EXPECT_TRUE(Gdiplus::IsAlphaPixelFormat(bitmap->GetPixelFormat())) << e.name;
        EXPECT_GE(bitmap->GetWidth(), 144u) << e.name;
        Gdiplus::Color corner;
        bitmap->GetPixel(0, 0, &corner);
        EXPECT_EQ(corner.GetA(), 0) << e.name << ": the corner should let the menu show through";
        delete bitmap;
        stream->Release();
        ++checked;
    }
    EXPECT_EQ(checked, 85);
}

TEST_F(SkinPack, TgasFitTheThirtyTwoBitLoader)
{
    int checked = 0;
    for (const Entry& e : s_entries) {
        if (!EndsWith(e.name, ".tga"))
            continue;
        const Bytes& d = e.data;
        ASSERT_GE(d.size(), 18u) << e.name;
        // Not taken for JPEG or BMP by the loader's content test.
        EXPECT_NE(std::memcmp(&d[6], "JFIF", 4), 0) << e.name;
        EXPECT_FALSE(d[0] == 'B' && d[1] == 'M') << e.name;
        EXPECT_EQ(d[0], 0) << e.name << ": no image id";
        EXPECT_EQ(d[2], 2) << e.name << ": uncompressed true colour";
        EXPECT_EQ(d[16], 32) << e.name;
        const unsigned w = d[12] | d[13] << 8, h = d[14] | d[15] << 8;
        EXPECT_EQ(w, 16u) << e.name;
        EXPECT_EQ(h, 16u) << e.name;
        EXPECT_GE(d.size(), 18u + w * h * 4) << e.name;
        EXPECT_EQ(d[17] & 0x20, 0) << e.name << ": bottom row first";
        ++checked;
    }
    EXPECT_EQ(checked, 10);
}

}  // namespace
