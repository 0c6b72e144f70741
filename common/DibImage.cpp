#include "common/DibImage.h"

#include "common/FileReplace.h"
#include "common/FileUtil.h"
#include "common/PictureCheck.h"

#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "common/FileArchive.h"

namespace {

// Largest pixel memory a loader or transform will ask for; anything above is a
// damaged header, not a picture (and would not fit a 32-bit process anyway).
constexpr long long kMaxPixelBytes = 256LL * 1024 * 1024;
// Largest file a picture loader reads into memory.
constexpr LONGLONG kMaxPictureFile = 256LL * 1024 * 1024;

bool SizeAcceptable(int width, int height, int bytesPerPixel)
{
    if (width <= 0 || height <= 0)
        return false;
    const long long row = bytesPerPixel == 3 ? ((static_cast<long long>(width) * 3 + 3) & ~3LL)
                                             : static_cast<long long>(width) * bytesPerPixel;
    return row * height <= kMaxPixelBytes;
}

// A memory DC with the image selected for one drawing call.
class SelectedDib {
public:
    SelectedDib(HBITMAP bitmap, HDC like = nullptr) : m_dc(CreateCompatibleDC(like))
    {
        if (m_dc)
            m_old = SelectObject(m_dc, bitmap);
    }
    ~SelectedDib()
    {
        if (m_dc) {
            SelectObject(m_dc, m_old);
            DeleteDC(m_dc);
        }
    }
    SelectedDib(const SelectedDib&) = delete;
    SelectedDib& operator=(const SelectedDib&) = delete;
    HDC dc() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};

// Restores the stretch mode of a DC on scope exit.
class StretchMode {
public:
    StretchMode(HDC dc, int mode) : m_dc(dc), m_old(SetStretchBltMode(dc, mode)) {}
    ~StretchMode() { SetStretchBltMode(m_dc, m_old); }

private:
    HDC m_dc;
    int m_old;
};

BYTE* PixelAt(const DIB_IMAGE* image, int memoryRow)
{
    return image->bits + static_cast<size_t>(memoryRow) * DibRowSize(image->width);
}

// The picture decoder gets only bytes that hold what they promise.
bool SafeForDecoder(HGLOBAL block, DWORD size)
{
    const BYTE* data = static_cast<const BYTE*>(GlobalLock(block));
    if (!data)
        return false;
    const bool ok = PictureBytesAreSafe(data, size);
    GlobalUnlock(block);
    return ok;
}

// An OLE picture loaded from a block of global memory.
class OlePicture {
public:
    ~OlePicture()
    {
        if (m_picture)
            m_picture->Release();
    }
    // The block stays the caller's.
    bool Load(HGLOBAL block, DWORD size)
    {
        if (!SafeForDecoder(block, size))
            return false;
        IStream* stream = nullptr;
        if (FAILED(CreateStreamOnHGlobal(block, FALSE, &stream)))
            return false;
        HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), TRUE, IID_IPicture,
                                    reinterpret_cast<void**>(&m_picture));
        stream->Release();
        if (FAILED(hr) || !m_picture) {
            m_picture = nullptr;
            return false;
        }
        return SUCCEEDED(m_picture->get_Width(&m_hmWidth)) && SUCCEEDED(m_picture->get_Height(&m_hmHeight));
    }
    // Natural size in pixels at the screen's resolution.
    bool NaturalSize(int& width, int& height) const
    {
        HDC dc = CreateCompatibleDC(nullptr);
        if (!dc)
            return false;
        width = MulDiv(m_hmWidth, GetDeviceCaps(dc, LOGPIXELSX), 2540);
        height = MulDiv(m_hmHeight, GetDeviceCaps(dc, LOGPIXELSY), 2540);
        DeleteDC(dc);
        return true;
    }
    // Draws the whole picture upright into (x, y, width, height) of dc.
    bool Render(HDC dc, int x, int y, int width, int height) const
    {
        return SUCCEEDED(m_picture->Render(dc, x, y, width, height, 0, m_hmHeight, m_hmWidth, -m_hmHeight, nullptr));
    }

private:
    IPicture* m_picture = nullptr;
    OLE_XSIZE_HIMETRIC m_hmWidth = 0;
    OLE_YSIZE_HIMETRIC m_hmHeight = 0;
};

// Renders the picture into a new 24-bit image of width x height.
bool RenderInto(const OlePicture& picture, DIB_IMAGE* image, int width, int height)
{
    if (!SizeAcceptable(width, height, 3) || !CreateDib(image, width, height))
        return false;
    SelectedDib canvas(image->bitmap);
    if (!canvas || !picture.Render(canvas.dc(), 0, 0, width, height)) {
        FreeDibImage(image);
        return false;
    }
    GdiFlush();
    return true;
}

// Reads a whole file into a movable block; NULL when it cannot be read
// completely or is empty or unreasonably large.
HGLOBAL ReadFileToGlobal(LPCWSTR path, DWORD* size)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes, kMaxPictureFile) || bytes.empty())
        return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    void* data = block ? GlobalLock(block) : nullptr;
    if (!data) {
        if (block)
            GlobalFree(block);
        return nullptr;
    }
    memcpy(data, bytes.data(), bytes.size());
    GlobalUnlock(block);
    *size = static_cast<DWORD>(bytes.size());
    return block;
}

// An uncompressed 24-bit BMP (the skin's own kind) whose pixels are all in the
// bytes: decoded by copying its rows, which gives the pixels the platform
// decoder would give, without it.
struct PlainBmp {
    int width;
    int height;
    bool topDown;
    const BYTE* pixels;
};

bool ParsePlainBmp(const BYTE* data, DWORD size, PlainBmp& bmp)
{
    BITMAPFILEHEADER fileHeader;
    BITMAPINFOHEADER info;
    if (size < sizeof fileHeader + sizeof info || data[0] != 'B' || data[1] != 'M')
        return false;
    memcpy(&fileHeader, data, sizeof fileHeader);
    memcpy(&info, data + sizeof fileHeader, sizeof info);
    if (info.biSize < sizeof info || info.biPlanes != 1 || info.biBitCount != 24 || info.biCompression != BI_RGB)
        return false;
    if (info.biHeight == 0 || info.biHeight == LONG_MIN)
        return false;
    const int width = info.biWidth;
    const int height = info.biHeight < 0 ? -info.biHeight : info.biHeight;
    if (!SizeAcceptable(width, height, 3))
        return false;
    const unsigned long long pixelBytes = static_cast<unsigned long long>(DibRowSize(width)) * height;
    if (fileHeader.bfOffBits < sizeof fileHeader + info.biSize || fileHeader.bfOffBits + pixelBytes > size)
        return false;
    bmp = PlainBmp{width, height, info.biHeight < 0, data + fileHeader.bfOffBits};
    return true;
}

// Memory row r of a bottom-up picture.
const BYTE* PlainBmpRow(const PlainBmp& bmp, int r)
{
    const int row = bmp.topDown ? bmp.height - 1 - r : r;
    return bmp.pixels + static_cast<size_t>(row) * DibRowSize(bmp.width);
}

bool CopyPlainBmp(const PlainBmp& bmp, DIB_IMAGE* image)
{
    if (!CreateDib(image, bmp.width, bmp.height))
        return false;
    const size_t rowSize = DibRowSize(bmp.width);
    if (!bmp.topDown) {
        memcpy(image->bits, bmp.pixels, rowSize * bmp.height);
        return true;
    }
    for (int r = 0; r < bmp.height; ++r)
        memcpy(image->bits + r * rowSize, PlainBmpRow(bmp, r), rowSize);
    return true;
}

bool CopyPlainBmp32(const PlainBmp& bmp, DIB_IMAGE32* image)
{
    // As the decoder path leaves it: a top-down section, memory row 0 the bottom row.
    if (!CreateDib32(image, bmp.width, bmp.height))
        return false;
    BYTE* out = image->bits;
    for (int r = 0; r < bmp.height; ++r) {
        const BYTE* in = PlainBmpRow(bmp, r);
        for (int x = 0; x < bmp.width; ++x, in += 3, out += 4) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = 255;
        }
    }
    image->hasAlpha = FALSE;
    return true;
}

// Decodes the block with copy(bmp) when it holds a plain BMP that passes the
// decoder's checks: 1 decoded, 0 failed, -1 another kind of picture (left to
// the platform decoder).
template <typename Copy>
int DecodePlainBmp(HGLOBAL block, DWORD size, Copy copy)
{
    const BYTE* data = static_cast<const BYTE*>(GlobalLock(block));
    if (!data)
        return -1;
    PlainBmp bmp;
    int result = -1;
    if (PictureBytesAreSafe(data, size) && ParsePlainBmp(data, size, bmp))
        result = copy(bmp) ? 1 : 0;
    GlobalUnlock(block);
    return result;
}

// The picture kinds a pack entry may hold, told by their first bytes.
enum class EntryKind { Tga, Picture };

EntryKind KindOf(const BYTE* data, DWORD size)
{
    if (size >= 10 && memcmp(data + 6, "JFIF", 4) == 0)
        return EntryKind::Picture;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return EntryKind::Picture;      // JPEG of any flavour (Exif as well as JFIF)
    if (size >= 2 && data[0] == 'B' && data[1] == 'M')
        return EntryKind::Picture;
    if (size >= 8 && memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0)
        return EntryKind::Picture;
    if (size >= 6 && (memcmp(data, "GIF87a", 6) == 0 || memcmp(data, "GIF89a", 6) == 0))
        return EntryKind::Picture;
    return EntryKind::Tga;
}

// An uncompressed 32-bit true-colour TGA whose pixels are all in the data.
bool LoadTga32(const BYTE* data, DWORD size, DIB_IMAGE32* image)
{
    if (size < 18)
        return false;
    const int idLength = data[0];
    const int colourMapType = data[1];
    const int imageType = data[2];
    const int width = data[12] | data[13] << 8;
    const int height = data[14] | data[15] << 8;
    if (data[16] != 32 || colourMapType != 0 || imageType != 2)
        return false;
    if (!SizeAcceptable(width, height, 4))
        return false;
    const unsigned long long pixelBytes = 4ULL * width * height;
    const unsigned long long start = 18ULL + idLength;
    if (start + pixelBytes > size)
        return false;
    if (!CreateDib32(image, width, -height))
        return false;
    memcpy(image->bits, data + start, static_cast<size_t>(pixelBytes));
    image->hasAlpha = TRUE;
    return true;
}

bool LoadPicture32(HGLOBAL block, DWORD size, DIB_IMAGE32* image)
{
    OlePicture picture;
    int width = 0, height = 0;
    if (!picture.Load(block, size) || !picture.NaturalSize(width, height) || !SizeAcceptable(width, height, 4))
        return false;
    if (!CreateDib32(image, width, height))
        return false;
    bool ok = false;
    {
        SelectedDib canvas(image->bitmap);
        // A top-down section drawn upside down: memory row 0 gets the bottom row.
        ok = canvas && picture.Render(canvas.dc(), 0, height - 1, width, -height);
    }
    GdiFlush();
    if (!ok) {
        FreeDibImage32(image);
        return false;
    }
    const size_t pixels = static_cast<size_t>(width) * height;
    for (size_t i = 0; i < pixels; ++i)
        image->bits[i * 4 + 3] = 255;
    image->hasAlpha = FALSE;
    return true;
}

}  // namespace

void InitDibImage(DIB_IMAGE* image)
{
    *image = DIB_IMAGE{};
}

void FreeDibImage(DIB_IMAGE* image)
{
    if (image->bitmap)
        DeleteObject(image->bitmap);
    *image = DIB_IMAGE{};
}

BOOL CreateDib(DIB_IMAGE* image, int width, int height)
{
    FreeDibImage(image);
    if (!SizeAcceptable(width, height, 3))
        return FALSE;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap)
            DeleteObject(bitmap);
        return FALSE;
    }
    image->bits = static_cast<BYTE*>(bits);
    image->bitmap = bitmap;
    image->stride = -DibRowSize(width);
    image->width = width;
    image->height = height;
    return TRUE;
}

BOOL SetDibBits(DIB_IMAGE* image, int width, int height, const void* source)
{
    if (!source)
        return FALSE;
    if (!image->bitmap || image->width != width || image->height != height) {
        if (!CreateDib(image, width, height))
            return FALSE;
    }
    GdiFlush();
    memcpy(image->bits, source, static_cast<size_t>(DibRowSize(width)) * height);
    return TRUE;
}

BOOL LoadDibFromPack(LPCWSTR entryName, DIB_IMAGE* image)
{
    HGLOBAL block = theFileArchive.ReadEntry(entryName);
    if (!block)
        return FALSE;
    const DWORD size = theFileArchive.GetEntrySize(entryName);
    BOOL ok = FALSE;
    const int plain = DecodePlainBmp(block, size, [&](const PlainBmp& bmp) { return CopyPlainBmp(bmp, image); });
    if (plain >= 0) {
        ok = plain;
    } else {
        OlePicture picture;
        int width = 0, height = 0;
        if (picture.Load(block, size) && picture.NaturalSize(width, height))
            ok = RenderInto(picture, image, width, height);
    }
    GlobalFree(block);
    return ok;
}

BOOL LoadBmpFile(LPCWSTR path, DIB_IMAGE* image)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    BOOL ok = FALSE;
    LARGE_INTEGER length{};
    BITMAPFILEHEADER fileHeader{};
    BITMAPINFOHEADER infoHeader{};
    DWORD got = 0;
    if (GetFileSizeEx(file, &length) &&
        ReadFile(file, &fileHeader, sizeof fileHeader, &got, nullptr) && got == sizeof fileHeader &&
        fileHeader.bfType == 0x4D42 &&
        ReadFile(file, &infoHeader, sizeof infoHeader, &got, nullptr) && got == sizeof infoHeader &&
        infoHeader.biBitCount == 24 && infoHeader.biCompression == BI_RGB &&
        SizeAcceptable(infoHeader.biWidth, infoHeader.biHeight, 3)) {
        const DWORD offset = fileHeader.bfOffBits <= 14 ? 54 : fileHeader.bfOffBits;
        const int width = infoHeader.biWidth;
        const int height = infoHeader.biHeight;
        const size_t pixelBytes = static_cast<size_t>(DibRowSize(width)) * height;
        // The pixels must really be in the file, whatever its header claims.
        if (static_cast<ULONGLONG>(offset) + pixelBytes <= static_cast<ULONGLONG>(length.QuadPart) &&
            SetFilePointer(file, static_cast<LONG>(offset), nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER) {
            std::vector<BYTE> pixels(pixelBytes);
            if (ReadFile(file, pixels.data(), static_cast<DWORD>(pixelBytes), &got, nullptr) && got == pixelBytes)
                ok = SetDibBits(image, width, height, pixels.data());
        }
    }
    CloseHandle(file);
    return ok;
}

BOOL LoadPictureFile(DIB_IMAGE* image, LPCWSTR path, int maxWidth, int maxHeight)
{
    DWORD size = 0;
    HGLOBAL block = ReadFileToGlobal(path, &size);
    if (!block)
        return FALSE;
    BOOL ok = FALSE;
    {
        OlePicture picture;
        int w = 0, h = 0;
        if (picture.Load(block, size) && picture.NaturalSize(w, h) && w > 0 && h > 0) {
            int width = w, height = h;
            if (maxWidth > 0 && maxHeight > 0 && (w > maxWidth || h > maxHeight)) {
                const long long W = maxWidth, H = maxHeight;
                if (W * h == H * w) {
                    width = maxWidth;
                    height = maxHeight;
                } else if (H * w <= W * h) {
                    height = maxHeight;
                    width = static_cast<int>(H * w / h);
                } else {
                    width = maxWidth;
                    height = static_cast<int>(W * h / w);
                }
            }
            ok = RenderInto(picture, image, std::max(width, 1), std::max(height, 1));
        }
    }
    GlobalFree(block);
    return ok;
}

BOOL SaveDibAsBmp(LPCWSTR path, const DIB_IMAGE* image)
{
    if (!path || !image->bitmap || !image->bits)
        return FALSE;
    const DWORD pixelBytes = static_cast<DWORD>(DibRowSize(image->width)) * image->height;
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;
    fileHeader.bfSize = 54 + pixelBytes;
    fileHeader.bfOffBits = 54;
    BITMAPINFOHEADER infoHeader{};
    infoHeader.biSize = 40;
    infoHeader.biWidth = image->width;
    infoHeader.biHeight = image->height;
    infoHeader.biPlanes = 1;
    infoHeader.biBitCount = 24;
    infoHeader.biCompression = BI_RGB;
    infoHeader.biXPelsPerMeter = 1;
    infoHeader.biYPelsPerMeter = 1;

    GdiFlush();
    std::vector<BYTE> bytes(sizeof fileHeader + sizeof infoHeader + pixelBytes);
    memcpy(bytes.data(), &fileHeader, sizeof fileHeader);
    memcpy(bytes.data() + sizeof fileHeader, &infoHeader, sizeof infoHeader);
    memcpy(bytes.data() + sizeof fileHeader + sizeof infoHeader, image->bits, pixelBytes);
    // A failed write leaves an existing file as it was.
    return WriteFileReplacing(path, bytes.data(), bytes.size());
}

BOOL DrawDib(const DIB_IMAGE* image, HDC dc, int x, int y)
{
    SelectedDib source(image->bitmap, dc);
    if (!source)
        return FALSE;
    return BitBlt(dc, x, y, image->width, image->height, source.dc(), 0, 0, SRCCOPY);
}

BOOL DrawDibEx(const DIB_IMAGE* image, HDC dc, int x, int y, int destWidth, int destHeight,
               int srcX, int srcY, int srcWidth, int srcHeight)
{
    if (destWidth < 0)
        destWidth = image->width;
    if (destHeight < 0)
        destHeight = image->height;
    SelectedDib source(image->bitmap, dc);
    if (!source)
        return FALSE;
    if (srcWidth < 0 || srcHeight < 0)
        return BitBlt(dc, x, y, destWidth, destHeight, source.dc(), srcX, srcY, SRCCOPY);
    StretchMode mode(dc, COLORONCOLOR);
    return StretchBlt(dc, x, y, destWidth, destHeight, source.dc(), srcX, srcY, srcWidth, srcHeight, SRCCOPY);
}

BOOL FillRectWithDib(HDC dc, const DIB_IMAGE* image, const RECT* rect, BOOL tile)
{
    if (!image->bitmap)
        return FALSE;
    SelectedDib source(image->bitmap, dc);
    if (!source)
        return FALSE;
    if (!tile) {
        StretchMode mode(dc, COLORONCOLOR);
        return StretchBlt(dc, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                          source.dc(), 0, 0, image->width, image->height, SRCCOPY);
    }
    const int w = image->width, h = image->height;
    auto row = [&](int y, int rowHeight) -> BOOL {
        int x = rect->left;
        for (; x < rect->right - w; x += w)
            if (!BitBlt(dc, x, y, w, rowHeight, source.dc(), 0, 0, SRCCOPY))
                return FALSE;
        return BitBlt(dc, x, y, rect->right - x, rowHeight, source.dc(), 0, 0, SRCCOPY);
    };
    if (rect->right <= rect->left || rect->bottom <= rect->top)
        return TRUE;
    int y = rect->top;
    for (; y < rect->bottom - h; y += h)
        if (!row(y, h))
            return FALSE;
    return row(y, rect->bottom - y);
}

BOOL ResizeDib(DIB_IMAGE* image, int newWidth, int newHeight, int srcX, int srcY, int srcWidth, int srcHeight)
{
    if (newWidth == 0 || newHeight == 0 || !image->bitmap || !image->bits)
        return FALSE;
    if (newWidth < 0)
        newWidth = image->width;
    if (newHeight < 0)
        newHeight = image->height;
    if (srcWidth < 0 || srcHeight < 0) {
        srcX = srcY = 0;
        srcWidth = image->width;
        srcHeight = image->height;
    }
    // The new picture is made beside the old one, which stays untouched until
    // the new one is complete.
    DIB_IMAGE result{};
    if (!CreateDib(&result, newWidth, newHeight))
        return FALSE;
    BOOL ok = FALSE;
    {
        SelectedDib target(result.bitmap);
        SelectedDib source(image->bitmap);
        if (target && source) {
            StretchMode mode(target.dc(), COLORONCOLOR);
            ok = StretchBlt(target.dc(), 0, 0, newWidth, newHeight, source.dc(), srcX, srcY, srcWidth, srcHeight,
                            SRCCOPY);
        }
    }
    GdiFlush();
    if (!ok) {
        FreeDibImage(&result);
        return FALSE;
    }
    FreeDibImage(image);
    *image = result;
    return TRUE;
}

BOOL FitDib(DIB_IMAGE* image, int boxWidth, int boxHeight)
{
    if (!image->bits || boxWidth <= 0 || boxHeight <= 0)
        return FALSE;
    const long long w = image->width, h = image->height, W = boxWidth, H = boxHeight;
    int width = boxWidth, height = boxHeight;
    if (W * h > H * w)
        width = static_cast<int>(H * w / h);
    else if (W * h < H * w)
        height = static_cast<int>(W * h / w);
    return ResizeDib(image, std::max(width, 1), std::max(height, 1), 0, 0, -1, -1);
}

void FitDibLetterbox(DIB_IMAGE* image, int width, int height)
{
    if (!image->bits || width <= 0 || height <= 0)
        return;
    const long long w = image->width, h = image->height, W = width, H = height;
    if (W * h == H * w) {
        ResizeDib(image, width, height, 0, 0, -1, -1);
        return;
    }
    int scaledWidth, scaledHeight;
    if (W * h < H * w) {
        scaledWidth = width;
        scaledHeight = static_cast<int>(W * h / w);
    } else {
        scaledWidth = static_cast<int>(H * w / h);
        scaledHeight = height;
    }
    scaledWidth = std::max(scaledWidth, 1);
    scaledHeight = std::max(scaledHeight, 1);
    DIB_IMAGE scaled{};
    if (!SetDibBits(&scaled, image->width, image->height, image->bits) ||
        !ResizeDib(&scaled, scaledWidth, scaledHeight, 0, 0, -1, -1)) {
        FreeDibImage(&scaled);
        return;
    }
    std::vector<BYTE> canvas(static_cast<size_t>(DibRowSize(width)) * height, 0);
    const int left = (width - scaledWidth) / 2;
    const int bottom = (height - scaledHeight) / 2;
    for (int row = 0; row < scaledHeight; ++row)
        memcpy(canvas.data() + static_cast<size_t>(bottom + row) * DibRowSize(width) + left * 3,
               PixelAt(&scaled, row), static_cast<size_t>(scaledWidth) * 3);
    FreeDibImage(&scaled);
    SetDibBits(image, width, height, canvas.data());
}

namespace {

// A quarter turn; place(x, y) gives the new (x, y) of the source pixel at (x, y),
// all counted from the top-left corner.
template <typename Place>
BOOL Rotate(DIB_IMAGE* image, Place place)
{
    if (!image->bits)
        return FALSE;
    const int W = image->width, H = image->height;
    const int newWidth = H, newHeight = W;
    const int newRow = DibRowSize(newWidth);
    std::vector<BYTE> out(static_cast<size_t>(newRow) * newHeight, 0);
    GdiFlush();
    for (int y = 0; y < H; ++y) {
        const BYTE* src = PixelAt(image, H - 1 - y);
        for (int x = 0; x < W; ++x) {
            auto [nx, ny] = place(x, y, W, H);
            BYTE* dst = out.data() + static_cast<size_t>(newHeight - 1 - ny) * newRow + nx * 3;
            dst[0] = src[x * 3];
            dst[1] = src[x * 3 + 1];
            dst[2] = src[x * 3 + 2];
        }
    }
    return SetDibBits(image, newWidth, newHeight, out.data());
}

}  // namespace

BOOL RotateDibRight(DIB_IMAGE* image)
{
    return Rotate(image, [](int x, int y, int, int H) { return std::pair<int, int>(H - 1 - y, x); });
}

BOOL RotateDibLeft(DIB_IMAGE* image)
{
    return Rotate(image, [](int x, int y, int W, int) { return std::pair<int, int>(y, W - 1 - x); });
}

void AvoidPureBlack(DIB_IMAGE* image)
{
    if (!image->bits)
        return;
    GdiFlush();
    for (int row = 0; row < image->height; ++row) {
        BYTE* p = PixelAt(image, row);
        for (int x = 0; x < image->width; ++x, p += 3)
            if (p[0] <= 7 && p[1] <= 7 && p[2] <= 15)
                p[2] = 8;
    }
}

void FillDibBackground(DIB_IMAGE* image)
{
    if (!image->bits)
        return;
    GdiFlush();
    for (int row = 0; row < image->height; ++row) {
        BYTE* p = PixelAt(image, row);
        for (int x = 0; x < image->width; ++x, p += 3) {
            p[0] = 25;
            p[1] = 30;
            p[2] = 30;
        }
    }
}

BOOL StackDibs(DIB_IMAGE* top, const DIB_IMAGE* bottom)
{
    if (!bottom->bits)
        return FALSE;
    GdiFlush();
    if (!top->bitmap)
        return SetDibBits(top, bottom->width, bottom->height, bottom->bits);
    const int width = std::max(top->width, bottom->width);
    const long long height = static_cast<long long>(top->height) + bottom->height;
    if (height > INT_MAX || !SizeAcceptable(width, static_cast<int>(height), 3))
        return FALSE;
    const int row = DibRowSize(width);
    std::vector<BYTE> out(static_cast<size_t>(row) * height, 0);
    // Memory rows run from the bottom: the bottom picture comes first.
    for (int r = 0; r < bottom->height; ++r)
        memcpy(out.data() + static_cast<size_t>(r) * row, PixelAt(bottom, r), static_cast<size_t>(bottom->width) * 3);
    for (int r = 0; r < top->height; ++r)
        memcpy(out.data() + static_cast<size_t>(bottom->height + r) * row, PixelAt(top, r),
               static_cast<size_t>(top->width) * 3);
    return SetDibBits(top, width, static_cast<int>(height), out.data());
}

BOOL OverlayDib32(LPCWSTR entryName, DIB_IMAGE* image)
{
    DIB_IMAGE32 overlay{};
    if (!image->bits || !LoadDib32FromPack(entryName, &overlay))
        return FALSE;
    const int W = image->width, H = image->height;
    const int w = overlay.width, h = overlay.height < 0 ? -overlay.height : overlay.height;
    const int left = w < W ? (W - w + 1) / 2 : 0;
    const int columns = w < W ? w : W;
    const int bottom = h < H ? (H - h + 1) / 2 : 0;
    const int rows = h < H ? h : H;
    GdiFlush();
    for (int r = 0; r < rows; ++r) {
        const BYTE* src = overlay.bits + static_cast<size_t>(r) * w * 4;
        BYTE* dst = PixelAt(image, bottom + r) + left * 3;
        for (int x = 0; x < columns; ++x, src += 4, dst += 3) {
            if (overlay.hasAlpha) {
                const int a = src[3];
                for (int c = 0; c < 3; ++c)
                    dst[c] = static_cast<BYTE>((src[c] * a + dst[c] * (255 - a)) / 255);
            } else if (!(src[0] == 255 && src[1] == 0 && src[2] == 255)) {
                dst[0] = src[0];
                dst[1] = src[1];
                dst[2] = src[2];
            }
        }
    }
    FreeDibImage32(&overlay);
    return TRUE;
}

BOOL CreateDib32(DIB_IMAGE32* image, int width, int height)
{
    FreeDibImage32(image);
    const int rows = height < 0 ? -height : height;
    if (!SizeAcceptable(width, rows, 4))
        return FALSE;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap)
            DeleteObject(bitmap);
        return FALSE;
    }
    image->bits = static_cast<BYTE*>(bits);
    image->bitmap = bitmap;
    image->width = width;
    image->height = height;
    return TRUE;
}

BOOL LoadDib32FromPack(LPCWSTR entryName, DIB_IMAGE32* image)
{
    HGLOBAL block = theFileArchive.ReadEntry(entryName);
    if (!block)
        return FALSE;
    const DWORD size = theFileArchive.GetEntrySize(entryName);
    bool ok = false;
    const BYTE* data = static_cast<const BYTE*>(GlobalLock(block));
    if (data) {
        const EntryKind kind = KindOf(data, size);
        if (kind == EntryKind::Tga)
            ok = LoadTga32(data, size, image);
        GlobalUnlock(block);
        if (kind == EntryKind::Picture) {
            const int plain =
                DecodePlainBmp(block, size, [&](const PlainBmp& bmp) { return CopyPlainBmp32(bmp, image); });
            ok = plain >= 0 ? plain == 1 : LoadPicture32(block, size, image);
        }
    }
    GlobalFree(block);
    return ok;
}

void FreeDibImage32(DIB_IMAGE32* image)
{
    if (image->bitmap)
        DeleteObject(image->bitmap);
    image->bits = nullptr;
    image->bitmap = nullptr;
    image->width = 0;
    image->height = 0;
}

void AlphaToMagentaKey(DIB_IMAGE32* image)
{
    if (!image->bits)
        return;
    GdiFlush();
    const size_t pixels = static_cast<size_t>(image->width) * (image->height < 0 ? -image->height : image->height);
    for (size_t i = 0; i < pixels; ++i) {
        BYTE* p = image->bits + i * 4;
        if (p[3] < 128) {
            p[0] = 255;
            p[1] = 0;
            p[2] = 255;
        }
        p[3] = 0;
    }
}
