// Broken bitmaps: each is refused with its code, nothing is read past the
// file and no symbol file is written.
#include "ConverterFixture.h"

#include "symbolconv/Runemark.h"

using namespace symboltest;

namespace {

struct BrokenBitmap {
    const char* what;
    int bits;
    bool mono;
    std::function<void(Bytes&)> spoil;
    int result;
};

// Cuts the file short, keeping the declared size equal to the real one.
void Cut(Bytes& bmp, std::size_t size)
{
    bmp.erase(bmp.begin() + static_cast<std::ptrdiff_t>(size), bmp.end());
    PutU32(bmp, kBfSize, static_cast<std::uint32_t>(size));
}

const BrokenBitmap kCases[] = {
    {"empty file", 24, false, [](Bytes& b) { b.clear(); }, RUNEMARK_TRUNCATED},
    {"shorter than the file header", 24, false, [](Bytes& b) { b.resize(10); }, RUNEMARK_TRUNCATED},
    {"shorter than the info header", 24, false, [](Bytes& b) { Cut(b, 53); }, RUNEMARK_TRUNCATED},
    {"signature not BM", 24, false, [](Bytes& b) { b[1] = 'A'; }, RUNEMARK_BAD_BITMAP},
    {"declared size one short", 24, false, [](Bytes& b) { PutU32(b, kBfSize, GetU32(b, kBfSize) - 1); },
     RUNEMARK_BAD_BITMAP},
    {"declared size one over", 24, false, [](Bytes& b) { PutU32(b, kBfSize, GetU32(b, kBfSize) + 1); },
     RUNEMARK_BAD_BITMAP},
    {"width zero", 24, false, [](Bytes& b) { PutU32(b, kBiWidth, 0); }, RUNEMARK_BAD_BITMAP},
    {"width negative", 24, false, [](Bytes& b) { PutU32(b, kBiWidth, static_cast<std::uint32_t>(-4)); },
     RUNEMARK_BAD_BITMAP},
    {"width negative, palette", 8, true, [](Bytes& b) { PutU32(b, kBiWidth, static_cast<std::uint32_t>(-4)); },
     RUNEMARK_BAD_BITMAP},
    {"height zero", 24, false, [](Bytes& b) { PutU32(b, kBiHeight, 0); }, RUNEMARK_BAD_BITMAP},
    {"height zero, palette", 8, true, [](Bytes& b) { PutU32(b, kBiHeight, 0); }, RUNEMARK_BAD_BITMAP},
    {"top-down rows, colour", 24, false, [](Bytes& b) { PutU32(b, kBiHeight, static_cast<std::uint32_t>(-2)); },
     RUNEMARK_BAD_BITMAP},
    {"top-down rows, alpha", 32, false, [](Bytes& b) { PutU32(b, kBiHeight, static_cast<std::uint32_t>(-2)); },
     RUNEMARK_BAD_BITMAP},
    {"top-down rows, mono", 24, true, [](Bytes& b) { PutU32(b, kBiHeight, static_cast<std::uint32_t>(-2)); },
     RUNEMARK_BAD_BITMAP},
    {"huge width and height",
     24, false,
     [](Bytes& b) {
         PutU32(b, kBiWidth, 0x7FFFFFFF);
         PutU32(b, kBiHeight, 0x7FFFFFFF);
         PutU32(b, kBiSizeImage, 0);
     },
     RUNEMARK_BAD_BITMAP},
    {"width whose row size wraps 32 bits", 24, false,
     [](Bytes& b) { PutU32(b, kBiWidth, 0x55555556); },  // 3 x width = 2 in 32 bits
     RUNEMARK_BAD_BITMAP},
    {"huge height, palette", 8, true, [](Bytes& b) { PutU32(b, kBiHeight, 0x80000000u); }, RUNEMARK_BAD_BITMAP},
    {"image size smaller than the rows", 24, false, [](Bytes& b) { PutU32(b, kBiSizeImage, GetU32(b, kBiSizeImage) - 1); },
     RUNEMARK_BAD_BITMAP},
    {"image size smaller than the rows, palette", 8, true, [](Bytes& b) { PutU32(b, kBiSizeImage, 4); },
     RUNEMARK_BAD_BITMAP},
    {"image size beyond the file", 24, false, [](Bytes& b) { PutU32(b, kBiSizeImage, GetU32(b, kBiSizeImage) + 4); },
     RUNEMARK_TRUNCATED},
    {"rows beyond the file, no image size", 32, false,
     [](Bytes& b) {
         PutU32(b, kBiSizeImage, 0);
         Cut(b, b.size() - 1);
     },
     RUNEMARK_TRUNCATED},
    {"rows beyond the file, palette", 8, true, [](Bytes& b) { Cut(b, b.size() - 1); }, RUNEMARK_TRUNCATED},
    {"pixel offset beyond the file", 24, false, [](Bytes& b) { PutU32(b, kBfOffBits, 0x10000000); },
     RUNEMARK_TRUNCATED},
    {"pixel offset beyond the file, palette", 8, true, [](Bytes& b) { PutU32(b, kBfOffBits, 0xFFFFFFF0u); },
     RUNEMARK_TRUNCATED},
    {"pixel offset inside the headers", 24, false, [](Bytes& b) { PutU32(b, kBfOffBits, 14); }, RUNEMARK_BAD_BITMAP},
    {"pixel offset inside the colour table", 8, true, [](Bytes& b) { PutU32(b, kBfOffBits, 54 + 16); },
     RUNEMARK_BAD_BITMAP},
    {"colour count above 256", 8, true, [](Bytes& b) { PutU32(b, kBiClrUsed, 257); }, RUNEMARK_BAD_BITMAP},
};

class BitmapCheckTest : public ConverterTest {};

}  // namespace

TEST_F(BitmapCheckTest, BrokenHeadersAreRefusedWithTheirCode)
{
    for (const BrokenBitmap& c : kCases) {
        SCOPED_TRACE(c.what);
        Bytes bmp = SolidBmp(5, 2, c.bits, 0x00FFFFFF);
        c.spoil(bmp);
        Put("res\\good.bmp", SolidBmp(5, 2, c.bits, 0x00FFFFFF));
        Put("res\\broken.bmp", bmp);
        Put("res\\symbolid.txt", std::string("good.bmp 1\nbroken.bmp 2\n"));
        EXPECT_EQ(c.result, ConvertRes(c.mono ? std::vector<std::string>{"/MONO"} : std::vector<std::string>{}));
        EXPECT_FALSE(Exists("RES.symb"));
    }
}

TEST_F(BitmapCheckTest, ThePaletteSizeFollowsTheColourCount)
{
    // 16 colours: the rows may start right after 64 bytes of table.
    Bytes bmp = SolidBmp(4, 1, 8, 2);
    Bytes small = bmp;
    small.erase(small.begin() + 54 + 64, small.begin() + 1078);
    PutU32(small, kBfSize, static_cast<std::uint32_t>(small.size()));
    PutU32(small, kBfOffBits, 54 + 64);
    PutU32(small, kBiClrUsed, 16);
    Put("res\\a.bmp", small);
    ASSERT_EQ(RUNEMARK_OK, ConvertRes({"/MONO"}));
    SymbolFile file;
    ASSERT_TRUE(ReadRes(file));
    EXPECT_EQ(file.entries[0].paletteOffset + 64, file.entries[0].dataOffset);
    EXPECT_EQ(Bytes(4, 2), file.pixels[0]);
}

TEST_F(BitmapCheckTest, FolderModeSkipsFilesFailingTheHeaderCheck)
{
    // The header check skips a file and goes on; the code of the last failure
    // is the result. A folder named like a bitmap cannot be opened.
    Put("res\\a.bmp", SolidBmp(1, 1, 24, 0));
    MakeFolder("res\\b.bmp");
    Put("res\\c.bmp", SolidBmp(1, 1, 24, 0));
    EXPECT_EQ(RUNEMARK_OPEN_FAILED, ConvertRes());
    SymbolFile file;
    ASSERT_TRUE(ReadRes(file));
    ASSERT_EQ(2u, file.count);
    EXPECT_EQ(2, file.entries[1].id);

    Put("res\\d.bmp", std::string("BM short"));
    EXPECT_EQ(RUNEMARK_TRUNCATED, ConvertRes());
    ASSERT_TRUE(ReadRes(file));
    EXPECT_EQ(2u, file.count);
}
