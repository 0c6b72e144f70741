#include "common/PictureCheck.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr long long kMaxSide = 65535;

uint16_t U16(const BYTE* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const BYTE* p) { return static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24); }
int32_t S32(const BYTE* p) { return static_cast<int32_t>(U32(p)); }

// An RLE8 or RLE4 stream ends with its end-of-bitmap mark inside [p, end) and
// no run or jump leaves the picture.
bool RleStreamEnds(const BYTE* p, const BYTE* end, bool fourBit, long long width, long long height)
{
    long long x = 0, y = 0;
    while (end - p >= 2) {
        const BYTE count = p[0], value = p[1];
        p += 2;
        if (count > 0) {
            x += count;
            continue;
        }
        switch (value) {
        case 0: x = 0; ++y; break;                  // end of line
        case 1: return y <= height;                 // end of bitmap
        case 2:                                     // jump
            if (end - p < 2)
                return false;
            x += p[0];
            y += p[1];
            p += 2;
            break;
        default: {                                  // absolute run, word aligned
            const long long bytes = fourBit ? (value + 1) / 2 : value;
            const long long padded = (bytes + 1) / 2 * 2;
            if (end - p < padded)
                return false;
            p += padded;
            x += value;
            break;
        }
        }
        if (y > height || x > width + 255)
            return false;
    }
    return false;  // no end mark inside the data
}

// A device-independent bitmap whose header starts at info (infoSize bytes
// available there, pixels either at pixels (BMP files) or after the colour
// table (icons; pixels null)). andMask: icon images carry a 1-bit mask too
// and their header's height counts both.
bool DibFits(const BYTE* info, size_t infoSize, const BYTE* pixels, const BYTE* end, bool icon)
{
    if (infoSize < 4)
        return false;
    const uint32_t headerSize = U32(info);
    long long width = 0, height = 0;
    unsigned bits = 0, compression = BI_RGB, colours = 0;
    uint32_t sizeImage = 0;
    size_t tableEntry = 4;
    if (headerSize == sizeof(BITMAPCOREHEADER)) {
        if (infoSize < headerSize)
            return false;
        width = U16(info + 4);
        height = U16(info + 6);
        if (U16(info + 8) != 1)
            return false;
        bits = U16(info + 10);
        tableEntry = 3;
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 64 || headerSize == 108 ||
               headerSize == 124) {
        if (infoSize < headerSize)
            return false;
        width = S32(info + 4);
        height = S32(info + 8);
        if (U16(info + 12) != 1)
            return false;
        bits = U16(info + 14);
        compression = U32(info + 16);
        sizeImage = U32(info + 20);
        colours = U32(info + 32);
    } else {
        return false;  // no real file has another header size
    }
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (icon) {
        if (height % 2)
            return false;
        height /= 2;
    }
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    if (tableEntry == 3 && bits > 24)
        return false;
    // Colour table (and the bit masks of a 40-byte header with bit fields).
    size_t table = 0;
    if (bits <= 8) {
        const unsigned most = 1u << bits;
        if (colours > most)
            return false;
        table = (colours ? colours : most) * tableEntry;
    } else if (colours > 256) {
        return false;
    } else {
        table = colours * tableEntry;
    }
    switch (compression) {
    case BI_RGB: break;
    case BI_BITFIELDS:
        if (bits != 16 && bits != 32)
            return false;
        if (headerSize == 40)
            table += 12;
        break;
    case BI_RLE8:
    case BI_RLE4:
        if (icon || topDown || bits != (compression == BI_RLE8 ? 8u : 4u))
            return false;
        break;
    default: return false;  // JPEG or PNG inside a bitmap, or unknown
    }
    const BYTE* tableStart = info + headerSize;
    if (static_cast<size_t>(end - tableStart) < table)
        return false;
    if (!pixels)
        pixels = tableStart + table;
    else if (pixels < tableStart + table)
        return false;  // the pixels would overlap the headers
    if (pixels > end)
        return false;
    const long long available = end - pixels;
    if (compression == BI_RLE8 || compression == BI_RLE4) {
        if (sizeImage && sizeImage > available)
            return false;
        const BYTE* streamEnd = sizeImage ? pixels + sizeImage : end;
        return RleStreamEnds(pixels, streamEnd, compression == BI_RLE4, width, height);
    }
    const long long row = (width * bits + 31) / 32 * 4;
    long long need = row * height;
    if (icon)
        need += (width + 31) / 32 * 4 * height;  // the AND mask
    return need <= available;
}

bool BmpFileIsSafe(const BYTE* data, size_t size)
{
    if (size < 14 + 4)
        return false;
    const uint32_t offBits = U32(data + 10);
    const uint32_t headerSize = U32(data + 14);
    if (headerSize > size - 14 || offBits < 14 + headerSize || offBits > size)
        return false;
    return DibFits(data + 14, size - 14, data + offBits, data + size, false);
}

bool IconFileIsSafe(const BYTE* data, size_t size)
{
    const unsigned count = U16(data + 4);
    if (count == 0 || 6 + 16ull * count > size)
        return false;
    for (unsigned i = 0; i < count; ++i) {
        const BYTE* entry = data + 6 + 16 * i;
        const uint32_t bytes = U32(entry + 8), offset = U32(entry + 12);
        if (bytes < 40 || offset < 6 + 16ull * count || offset > size || bytes > size - offset)
            return false;
        // PNG images inside icons are not offered to the decoder.
        if (!DibFits(data + offset, bytes, nullptr, data + offset + bytes, true))
            return false;
    }
    return true;
}

// Walks the blocks: every block inside the file, every image inside the
// logical screen, and the trailer at the end.
bool GifIsSafe(const BYTE* data, size_t size)
{
    if (size < 13)
        return false;
    const unsigned screenW = U16(data + 6), screenH = U16(data + 8);
    if (screenW == 0 || screenH == 0)
        return false;
    const BYTE* p = data + 13;
    const BYTE* end = data + size;
    auto colourTable = [&](BYTE flags) {
        if (!(flags & 0x80))
            return true;
        const size_t bytes = 3u << ((flags & 7) + 1);
        if (static_cast<size_t>(end - p) < bytes)
            return false;
        p += bytes;
        return true;
    };
    auto subBlocks = [&] {
        for (;;) {
            if (p >= end)
                return false;
            const BYTE n = *p++;
            if (n == 0)
                return true;
            if (end - p < n)
                return false;
            p += n;
        }
    };
    if (!colourTable(data[10]))
        return false;
    bool image = false;
    while (p < end) {
        const BYTE kind = *p++;
        if (kind == 0x3B)
            return image;
        if (kind == 0x21) {
            if (p >= end)
                return false;
            ++p;  // label
            if (!subBlocks())
                return false;
        } else if (kind == 0x2C) {
            if (end - p < 9)
                return false;
            const unsigned left = U16(p), top = U16(p + 2), w = U16(p + 4), h = U16(p + 6);
            const BYTE flags = p[8];
            p += 9;
            if (w == 0 || h == 0 || left + w > screenW || top + h > screenH)
                return false;
            if (!colourTable(flags))
                return false;
            if (p >= end || *p < 2 || *p > 8)
                return false;  // LZW minimum code size
            ++p;
            if (!subBlocks())
                return false;
            image = true;
        } else {
            return false;
        }
    }
    return false;  // no trailer
}

}  // namespace

bool PictureBytesAreSafe(const BYTE* data, size_t size)
{
    if (!data || size < 4)
        return false;
    if (data[0] == 'B' && data[1] == 'M')
        return BmpFileIsSafe(data, size);
    if (size >= 6 && U16(data) == 0 && (U16(data + 2) == 1 || U16(data + 2) == 2))
        return IconFileIsSafe(data, size);
    if (size >= 6 && (memcmp(data, "GIF87a", 6) == 0 || memcmp(data, "GIF89a", 6) == 0))
        return GifIsSafe(data, size);
    if (data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return true;  // JPEG: its decoder checks every length against the data
    static const BYTE kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size >= 33 && memcmp(data, kPng, 8) == 0) {
        // PNG (the skin's alpha pictures): its decoder checks every chunk; the
        // header must still name a picture of a sane size.
        auto be32 = [](const BYTE* p) { return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; };
        const uint32_t width = be32(data + 16), height = be32(data + 20);
        return be32(data + 8) == 13 && memcmp(data + 12, "IHDR", 4) == 0 && width > 0 && height > 0 &&
               width <= kMaxSide && height <= kMaxSide;
    }
    return false;
}
