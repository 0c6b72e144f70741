#include "TestBitmaps.h"

#include <algorithm>

namespace symboltest {

void PutU32(Bytes& bytes, std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutU16(Bytes& bytes, std::size_t offset, std::uint16_t value)
{
    bytes.at(offset) = static_cast<std::uint8_t>(value);
    bytes.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

std::uint32_t GetU32(const Bytes& bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | bytes.at(offset + i);
    return value;
}

std::uint16_t Rgb565(std::uint32_t argb)
{
    const std::uint32_t r = argb >> 16 & 0xFF, g = argb >> 8 & 0xFF, b = argb & 0xFF;
    return static_cast<std::uint16_t>((r & 0xF8) << 8 | (g & 0xFC) << 3 | b >> 3);
}

Bytes MakeBmp(int width, int height, int bits, const PixelFn& pixel, bool sizeImageSet)
{
    const int rows = height < 0 ? -height : height;
    const int stride = (width * bits / 8 + 3) / 4 * 4;
    const std::uint32_t palette = bits == 8 ? 1024 : 0;
    const std::uint32_t offBits = 54 + palette;
    const std::uint32_t imageSize = static_cast<std::uint32_t>(stride * rows);
    Bytes bmp(offBits + imageSize, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    PutU32(bmp, kBfSize, static_cast<std::uint32_t>(bmp.size()));
    PutU32(bmp, kBfOffBits, offBits);
    PutU32(bmp, 14, 40);
    PutU32(bmp, kBiWidth, static_cast<std::uint32_t>(width));
    PutU32(bmp, kBiHeight, static_cast<std::uint32_t>(height));
    PutU16(bmp, 26, 1);
    PutU16(bmp, kBiBitCount, static_cast<std::uint16_t>(bits));
    PutU32(bmp, kBiSizeImage, sizeImageSet ? imageSize : 0);
    for (std::uint32_t i = 0; i < palette / 4; ++i) {
        bmp[54 + 4 * i] = bmp[55 + 4 * i] = bmp[56 + 4 * i] = static_cast<std::uint8_t>(i);
    }
    for (int r = 0; r < rows; ++r) {
        std::uint8_t* row = bmp.data() + offBits + r * stride;
        std::fill(row, row + stride, 0xEE);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = pixel(x, r);
            if (bits == 8) {
                row[x] = static_cast<std::uint8_t>(c);
            } else {
                std::uint8_t* p = row + x * bits / 8;
                p[0] = static_cast<std::uint8_t>(c);
                p[1] = static_cast<std::uint8_t>(c >> 8);
                if (bits >= 24)
                    p[2] = static_cast<std::uint8_t>(c >> 16);
                if (bits == 32)
                    p[3] = static_cast<std::uint8_t>(c >> 24);
            }
        }
    }
    return bmp;
}

Bytes SolidBmp(int width, int height, int bits, std::uint32_t argb)
{
    return MakeBmp(width, height, bits, [argb](int, int) { return argb; });
}

}  // namespace symboltest
