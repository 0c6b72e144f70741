#pragma once
// The bitmap check and the four pixel converters. Every field that decides a
// size or an offset is checked against the file's real length before a byte
// is read or allocated.
#include "symbolconv/SymbolConverter.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace runemark {

// A Windows bitmap opened for conversion, with the header fields we use.
struct BmpFile {
    BmpFile() = default;
    ~BmpFile();
    BmpFile(const BmpFile&) = delete;
    BmpFile& operator=(const BmpFile&) = delete;

    std::FILE* file = nullptr;
    std::uint64_t length = 0;
    std::uint32_t offBits = 0;     // bfOffBits
    std::int32_t width = 0;        // biWidth
    std::int32_t height = 0;       // biHeight, negative for top-down rows
    std::uint16_t bitCount = 0;    // biBitCount
    std::uint32_t sizeImage = 0;   // biSizeImage, may be 0
    std::uint32_t colorsUsed = 0;  // biClrUsed
};

// Opens the file and reads both headers. False with code 3 when it cannot be
// opened, 4 when it is shorter than the headers, 2 when it is not "BM" or its
// declared size is not its length.
bool ReadBmpBitCount(const std::string& path, BmpFile& bmp, int& bitCount);

// Each appends one entry and one chunk to the state, or sets the error state
// (2 wrong field, 4 pixel data beyond the end) and appends nothing.
bool ConvertRgb565(BmpFile& bmp, SymbolConverter& state);       // 24 bits -> 0x81, tex 1
bool ConvertRgb565Alpha(BmpFile& bmp, SymbolConverter& state);  // 32 bits -> 0x83, tex 3
bool ConvertMono(BmpFile& bmp, SymbolConverter& state);         // 24 bits -> 2
bool CopyPalettized(BmpFile& bmp, SymbolConverter& state);      // 8 bits -> 4

using BmpConverter = bool (*)(BmpFile& bmp, SymbolConverter& state);
// The converter for the mode and the bit count; null when the mode has none.
BmpConverter PickConverter(bool mono, int bitCount);

}  // namespace runemark
