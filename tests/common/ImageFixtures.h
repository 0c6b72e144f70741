#pragma once
// Small pictures and skin packs built by the tests themselves.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "common/DibImage.h"

namespace imagetest {

using testsupport::Bytes;

struct Rgb {
    BYTE r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
inline std::ostream& operator<<(std::ostream& os, const Rgb& c)
{
    return os << "(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}
// Pixel colour by (x, y) counted from the top-left corner.
using PixelFn = std::function<Rgb(int x, int y)>;

// An uncompressed 24-bit BMP file.
Bytes MakeBmp(int width, int height, const PixelFn& pixel);
// An uncompressed 32-bit TGA (bottom row first); alpha by (x, y) from the top.
Bytes MakeTga(int width, int height, const PixelFn& pixel, const std::function<BYTE(int, int)>& alpha);

struct PackEntry {
    std::string name;
    Bytes data;
};
// A "QPKA" pack with the given scrambling step; entries stored in order.
Bytes MakePack(const std::vector<PackEntry>& entries, uint32_t step);
// Opens theFileArchive on a pack of the entries. The open pack holds its file,
// so it is written outside the tests' own folders, to one file of the test
// program that every OpenPack replaces and the program's end removes.
bool OpenPack(const std::vector<PackEntry>& entries, uint32_t step = 7);

// Pixel of an image at (x, y) from the top-left corner.
Rgb PixelOf(const DIB_IMAGE& image, int x, int y);
void SetPixel(DIB_IMAGE& image, int x, int y, Rgb c);
// A new image filled by the function.
DIB_IMAGE MakeImage(int width, int height, const PixelFn& pixel);
// Pixel of a 32-bit image (memory row 0 = bottom row) at (x, y) from the top.
void Pixel32Of(const DIB_IMAGE32& image, int x, int y, BYTE out[4]);

// Saves an image as PNG under the build's tests/shots folder, to look at.
void SaveShot(const DIB_IMAGE& image, const wchar_t* name);

// Holds a DIB_IMAGE and frees it.
struct ScopedDib {
    DIB_IMAGE img{};
    ~ScopedDib() { FreeDibImage(&img); }
    DIB_IMAGE* operator&() { return &img; }
    DIB_IMAGE* operator->() { return &img; }
};

}  // namespace imagetest
