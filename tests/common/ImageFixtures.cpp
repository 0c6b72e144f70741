#include "ImageFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <cstdlib>
#include <cstring>

#include "common/FileArchive.h"

namespace imagetest {

namespace {
void Put16(Bytes& b, size_t at, uint16_t v) { b[at] = v & 0xFF; b[at + 1] = v >> 8; }
void Put32(Bytes& b, size_t at, uint32_t v) { for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF; }
}  // namespace

Bytes MakeBmp(int width, int height, const PixelFn& pixel)
{
    const int row = (width * 3 + 3) & ~3;
    Bytes b(54 + static_cast<size_t>(row) * height, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    Put32(b, 10, 54);
    Put32(b, 14, 40);
    Put32(b, 18, width);
    Put32(b, 22, height);
    Put16(b, 26, 1);
    Put16(b, 28, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgb c = pixel(x, y);
            size_t at = 54 + static_cast<size_t>(height - 1 - y) * row + x * 3;
            b[at] = c.b;
            b[at + 1] = c.g;
            b[at + 2] = c.r;
        }
    return b;
}

Bytes MakeTga(int width, int height, const PixelFn& pixel, const std::function<BYTE(int, int)>& alpha)
{
    Bytes b(18 + static_cast<size_t>(width) * height * 4, 0);
    b[2] = 2;
    Put16(b, 12, width);
    Put16(b, 14, height);
    b[16] = 32;
    b[17] = 8;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgb c = pixel(x, y);
            size_t at = 18 + (static_cast<size_t>(height - 1 - y) * width + x) * 4;
            b[at] = c.b;
            b[at + 1] = c.g;
            b[at + 2] = c.r;
            b[at + 3] = alpha(x, y);
        }
    return b;
}

Bytes MakePack(const std::vector<PackEntry>& entries, uint32_t step)
{
    Bytes header(16, 0), table, data;
    memcpy(header.data(), "QPKA", 4);
    Put32(header, 4, static_cast<uint32_t>(entries.size()));
    Put32(header, 8, step);
    for (const PackEntry& e : entries) {
        Bytes toc(48, 0);
        memcpy(toc.data(), e.name.data(), std::min<size_t>(e.name.size(), 35));
        Put32(toc, 36, static_cast<uint32_t>(e.data.size()));
        Put32(toc, 40, static_cast<uint32_t>(data.size()));
        table.insert(table.end(), toc.begin(), toc.end());
        Bytes d = e.data;
        BYTE key = 0;
        if (step != 0)
            CFileArchive::Scramble(d.data(), d.size(), step, key);
        data.insert(data.end(), d.begin(), d.end());
    }
    BYTE key = 0;
    CFileArchive::Scramble(table.data(), table.size(), step, key);
    header.insert(header.end(), table.begin(), table.end());
    header.insert(header.end(), data.begin(), data.end());
    return header;
}

namespace {

// Taken before any test points TEMP somewhere else.
const std::wstring g_packPath = [] {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"mvt_pack_" + std::to_wstring(GetCurrentProcessId()) + L".qpk";
}();

}  // namespace

bool OpenPack(const std::vector<PackEntry>& entries, uint32_t step)
{
    static const bool removedAtExit = [] {
        atexit([] {
            theFileArchive.Close();
            DeleteFileW(g_packPath.c_str());
        });
        return true;
    }();
    (void)removedAtExit;
    theFileArchive.Close();
    testsupport::WriteBytes(g_packPath, MakePack(entries, step));
    return theFileArchive.Open(g_packPath.c_str());
}

Rgb PixelOf(const DIB_IMAGE& image, int x, int y)
{
    GdiFlush();
    const BYTE* p = image.bits + static_cast<size_t>(image.height - 1 - y) * DibRowSize(image.width) + x * 3;
    return Rgb{p[2], p[1], p[0]};
}

void SetPixel(DIB_IMAGE& image, int x, int y, Rgb c)
{
    BYTE* p = image.bits + static_cast<size_t>(image.height - 1 - y) * DibRowSize(image.width) + x * 3;
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
}

DIB_IMAGE MakeImage(int width, int height, const PixelFn& pixel)
{
    DIB_IMAGE image{};
    CreateDib(&image, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(image, x, y, pixel(x, y));
    return image;
}

void Pixel32Of(const DIB_IMAGE32& image, int x, int y, BYTE out[4])
{
    const int rows = image.height < 0 ? -image.height : image.height;
    const BYTE* p = image.bits + (static_cast<size_t>(rows - 1 - y) * image.width + x) * 4;
    memcpy(out, p, 4);
}

void SaveShot(const DIB_IMAGE& image, const wchar_t* name)
{
    std::wstring folder = testsupport::ExeDir() + L"shots\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring bmp = folder + name + L".bmp";
    SaveDibAsBmp(bmp.c_str(), &image);
    // PNG through GDI+ (started here for the one conversion).
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return;
    Gdiplus::Bitmap* bitmap = Gdiplus::Bitmap::FromFile(bmp.c_str());
    if (bitmap && bitmap->GetLastStatus() == Gdiplus::Ok) {
        CLSID png;
        UINT count = 0, size = 0;
        Gdiplus::GetImageEncodersSize(&count, &size);
        std::vector<BYTE> buffer(size);
        auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
        Gdiplus::GetImageEncoders(count, size, codecs);
        for (UINT i = 0; i < count; ++i)
            if (wcscmp(codecs[i].MimeType, L"image/png") == 0) {
                png = codecs[i].Clsid;
                bitmap->Save((folder + name + L".png").c_str(), &png, nullptr);
            }
    }
    delete bitmap;
    Gdiplus::GdiplusShutdown(token);
}

}  // namespace imagetest

namespace {
// OLE pictures need COM on the test thread.
class ComEnvironment : public ::testing::Environment {
public:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }
};
[[maybe_unused]] auto* const theComEnvironment = ::testing::AddGlobalTestEnvironment(new ComEnvironment);
}  // namespace
