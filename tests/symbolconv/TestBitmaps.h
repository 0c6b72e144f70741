#pragma once
// Small Windows bitmaps written by the tests, with their header fields at
// hand for corrupting.
#include "TestFiles.h"

#include <cstdint>
#include <functional>

namespace symboltest {

using testsupport::Bytes;

// Offsets of the header fields in a bitmap file.
enum BmpField : std::size_t {
    kBfSize = 2,
    kBfOffBits = 10,
    kBiWidth = 18,
    kBiHeight = 22,
    kBiBitCount = 28,
    kBiSizeImage = 34,
    kBiClrUsed = 46,
};

// Colour of a pixel as 0xAARRGGBB; for 8-bit bitmaps the low byte is the index.
// row counts the rows as stored (row 0 first in the file).
using PixelFn = std::function<std::uint32_t(int x, int row)>;

// A bitmap of 8, 24 or 32 bits; a negative height stores the rows top-down.
// Row padding is filled with 0xEE so that a converter reading it shows.
// 8-bit bitmaps get a 256-entry grey colour table.
Bytes MakeBmp(int width, int height, int bits, const PixelFn& pixel, bool sizeImageSet = true);
// A bitmap of one colour.
Bytes SolidBmp(int width, int height, int bits, std::uint32_t argb);

void PutU32(Bytes& bytes, std::size_t offset, std::uint32_t value);
void PutU16(Bytes& bytes, std::size_t offset, std::uint16_t value);
std::uint32_t GetU32(const Bytes& bytes, std::size_t offset);

// The RGB565 word of a colour 0xAARRGGBB.
std::uint16_t Rgb565(std::uint32_t argb);

}  // namespace symboltest
