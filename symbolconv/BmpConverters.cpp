#include "symbolconv/BmpConverters.h"

#include "symbolconv/ErrorState.h"
#include "symbolconv/Runemark.h"

#include <vector>

namespace runemark {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kHeadersSize = 54;   // file header + 40-byte info header
constexpr std::uint64_t kMaxFileSize = 0xFFFFFFFFu;  // bfSize is 32 bits

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool Fail(int code)
{
    SetErrorState(code);
    return false;
}

bool ReadAt(BmpFile& bmp, std::uint64_t offset, std::uint8_t* into, std::size_t size)
{
    if (_fseeki64(bmp.file, static_cast<__int64>(offset), SEEK_SET) != 0)
        return false;
    return std::fread(into, 1, size, bmp.file) == size;
}

// Checks where the rows lie: the block is biSizeImage bytes, or stride x rows
// when that is 0, from bfOffBits, and must hold every row.
bool CheckPixelBlock(const BmpFile& bmp, std::uint64_t stride, bool topDownAllowed, std::uint64_t& size)
{
    if (bmp.width <= 0 || bmp.height == 0 || (bmp.height < 0 && !topDownAllowed))
        return Fail(RUNEMARK_BAD_BITMAP);
    const std::uint64_t rows = bmp.height < 0 ? -static_cast<std::int64_t>(bmp.height) : bmp.height;
    if (stride > kMaxFileSize / rows)  // no bitmap file can hold that many bytes
        return Fail(RUNEMARK_BAD_BITMAP);
    const std::uint64_t needed = stride * rows;
    if (bmp.sizeImage != 0 && bmp.sizeImage < needed)
        return Fail(RUNEMARK_BAD_BITMAP);
    if (bmp.offBits < kHeadersSize)
        return Fail(RUNEMARK_BAD_BITMAP);
    size = bmp.sizeImage != 0 ? bmp.sizeImage : needed;
    if (bmp.offBits + size > bmp.length)
        return Fail(RUNEMARK_TRUNCATED);
    return true;
}

bool ReadPixelBlock(BmpFile& bmp, std::uint64_t stride, std::vector<std::uint8_t>& block)
{
    std::uint64_t size = 0;
    if (!CheckPixelBlock(bmp, stride, false, size))
        return false;
    block.resize(static_cast<std::size_t>(size));
    if (!ReadAt(bmp, bmp.offBits, block.data(), block.size()))
        return Fail(RUNEMARK_TRUNCATED);
    return true;
}

std::uint16_t Rgb565(const std::uint8_t* bgr)
{
    return static_cast<std::uint16_t>((bgr[2] & 0xF8) << 8 | (bgr[1] & 0xFC) << 3 | bgr[0] >> 3);
}

std::uint64_t Stride24(std::int32_t width) { return (3ull * static_cast<std::uint32_t>(width) + 3) / 4 * 4; }

// Both colour formats: one RGB565 word per pixel, then the alpha byte when
// the source has one; rows without padding, in stored order.
bool ConvertColour(BmpFile& bmp, SymbolConverter& state, int bytesPerPixel, std::int32_t format)
{
    const std::uint64_t stride =
        bytesPerPixel == 3 ? Stride24(bmp.width) : 4ull * static_cast<std::uint32_t>(bmp.width);
    std::vector<std::uint8_t> block;
    if (!ReadPixelBlock(bmp, stride, block))
        return false;
    const std::size_t width = static_cast<std::size_t>(bmp.width);
    const std::size_t rows = static_cast<std::size_t>(bmp.height);
    const std::size_t outPixel = bytesPerPixel == 3 ? 2 : 3;
    std::vector<std::uint8_t> out(width * rows * outPixel);
    std::uint8_t* dst = out.data();
    for (std::size_t r = 0; r < rows; ++r) {
        const std::uint8_t* src = block.data() + r * stride;
        for (std::size_t x = 0; x < width; ++x, src += bytesPerPixel) {
            const std::uint16_t word = Rgb565(src);
            *dst++ = static_cast<std::uint8_t>(word);
            *dst++ = static_cast<std::uint8_t>(word >> 8);
            if (bytesPerPixel == 4)
                *dst++ = src[3];
        }
    }
    AppendSymbol(state, bmp.width, bmp.height, format, std::move(out));
    return true;
}

}  // namespace

BmpFile::~BmpFile()
{
    if (file)
        std::fclose(file);
}

bool ReadBmpBitCount(const std::string& path, BmpFile& bmp, int& bitCount)
{
    bitCount = 0;
    bmp.file = std::fopen(path.c_str(), "rb");
    if (!bmp.file)
        return Fail(RUNEMARK_OPEN_FAILED);
    if (_fseeki64(bmp.file, 0, SEEK_END) != 0)
        return Fail(RUNEMARK_OPEN_FAILED);
    const __int64 length = _ftelli64(bmp.file);
    if (length < 0)
        return Fail(RUNEMARK_OPEN_FAILED);
    bmp.length = static_cast<std::uint64_t>(length);

    std::uint8_t header[kHeadersSize];
    if (!ReadAt(bmp, 0, header, kFileHeaderSize))
        return Fail(RUNEMARK_TRUNCATED);
    if (header[0] != 'B' || header[1] != 'M' || U32(header + 2) != bmp.length)
        return Fail(RUNEMARK_BAD_BITMAP);
    if (std::fread(header + kFileHeaderSize, 1, kHeadersSize - kFileHeaderSize, bmp.file) !=
        kHeadersSize - kFileHeaderSize)
        return Fail(RUNEMARK_TRUNCATED);

    bmp.offBits = U32(header + 10);
    bmp.width = static_cast<std::int32_t>(U32(header + 18));
    bmp.height = static_cast<std::int32_t>(U32(header + 22));
    bmp.bitCount = U16(header + 28);
    bmp.sizeImage = U32(header + 34);
    bmp.colorsUsed = U32(header + 46);
    bitCount = bmp.bitCount;
    return true;
}

bool ConvertRgb565(BmpFile& bmp, SymbolConverter& state)
{
    return ConvertColour(bmp, state, 3, state.tex ? 1 : 0x81);
}

bool ConvertRgb565Alpha(BmpFile& bmp, SymbolConverter& state)
{
    return ConvertColour(bmp, state, 4, state.tex ? 3 : 0x83);
}

bool ConvertMono(BmpFile& bmp, SymbolConverter& state)
{
    const std::uint64_t stride = Stride24(bmp.width);
    std::vector<std::uint8_t> block;
    if (!ReadPixelBlock(bmp, stride, block))
        return false;
    const std::size_t width = static_cast<std::size_t>(bmp.width);
    const std::size_t rows = static_cast<std::size_t>(bmp.height);
    const std::size_t rowBytes = (width + 7) / 8;
    std::vector<std::uint8_t> out(rowBytes * rows);
    for (std::size_t r = 0; r < rows; ++r) {
        const std::uint8_t* src = block.data() + r * stride;
        std::uint8_t* dst = out.data() + r * rowBytes;
        for (std::size_t x = 0; x < width; ++x, src += 3) {
            if (src[0] | src[1] | src[2])  // anything but pure black
                dst[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    }
    AppendSymbol(state, bmp.width, bmp.height, 2, std::move(out));
    return true;
}

bool CopyPalettized(BmpFile& bmp, SymbolConverter& state)
{
    // The chunk is the file from the end of the headers on: colour table, then
    // the rows as stored. The table must lie before the rows, and the rows
    // inside the file, or the entry's offsets would point elsewhere.
    if (bmp.colorsUsed > 256)
        return Fail(RUNEMARK_BAD_BITMAP);
    const std::uint64_t colours = bmp.colorsUsed != 0 ? bmp.colorsUsed : 256;
    if (bmp.offBits < kHeadersSize + 4 * colours)
        return Fail(RUNEMARK_BAD_BITMAP);
    const std::uint64_t stride = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(bmp.width)) + 3) / 4 * 4;
    std::uint64_t rowsSize = 0;
    if (!CheckPixelBlock(bmp, stride, true, rowsSize))
        return false;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(bmp.length - kHeadersSize));
    if (!ReadAt(bmp, kHeadersSize, out.data(), out.size()))
        return Fail(RUNEMARK_TRUNCATED);
    AppendSymbol(state, bmp.width, bmp.height, 4, std::move(out),
                 static_cast<std::int32_t>(bmp.offBits - kHeadersSize), 0);
    return true;
}

BmpConverter PickConverter(bool mono, int bitCount)
{
    if (mono)
        return bitCount == 8 ? CopyPalettized : bitCount == 24 ? ConvertMono : nullptr;
    return bitCount == 24 ? ConvertRgb565 : bitCount == 32 ? ConvertRgb565Alpha : nullptr;
}

}  // namespace runemark
