// The pixel formats, byte by byte, on bitmaps of one symbol each.
#include "ConverterFixture.h"

#include "symbolconv/Runemark.h"

#include <gmock/gmock.h>

using namespace symboltest;
using ::testing::Each;
using ::testing::ElementsAre;

namespace {

std::vector<std::uint16_t> Words(const Bytes& bytes)
{
    std::vector<std::uint16_t> words;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        words.push_back(static_cast<std::uint16_t>(bytes[i] | bytes[i + 1] << 8));
    return words;
}

// A colour that differs for each pixel, in all three channels.
std::uint32_t Pattern(int x, int row) { return 0x80000000u | (x * 40 + row * 7) << 16 | (x * 9 + row * 50) << 8 | (x * 23 + 100 * row); }

class PixelFormatTest : public ConverterTest {
protected:
    // Converts res\a.bmp and returns its one entry.
    SymbolFile ConvertOne(const Bytes& bmp, const std::vector<std::string>& options = {})
    {
        Put("res\\a.bmp", bmp);
        EXPECT_EQ(RUNEMARK_OK, ConvertRes(options));
        SymbolFile file;
        EXPECT_TRUE(ReadRes(file));
        EXPECT_EQ(1u, file.count);
        return file;
    }
};

}  // namespace

TEST_F(PixelFormatTest, PureRed24BitGivesRgb565Words)
{
    SymbolFile file = ConvertOne(SolidBmp(32, 32, 24, 0xFF0000));
    EXPECT_EQ(0x81, file.entries[0].format);
    EXPECT_EQ(32, file.entries[0].width);
    EXPECT_EQ(32, file.entries[0].height);
    ASSERT_EQ(2048u, file.pixels[0].size());
    EXPECT_THAT(Words(file.pixels[0]), Each(0xF800));
}

TEST_F(PixelFormatTest, TexKeepsTheBytesUnderFormat1)
{
    SymbolFile file = ConvertOne(SolidBmp(32, 32, 24, 0xFF0000), {"/TEX"});
    EXPECT_EQ(1, file.entries[0].format);
    EXPECT_THAT(Words(file.pixels[0]), Each(0xF800));
}

TEST_F(PixelFormatTest, Rgb565DropsTheLowBits)
{
    struct Case {
        std::uint32_t colour;
        std::uint16_t word;
    } cases[] = {{0xFFFFFF, 0xFFFF}, {0x070307, 0x0000}, {0x000000, 0x0000}, {0x0000FF, 0x001F},
                 {0x00FF00, 0x07E0}, {0x08040F, 0x0821}, {0x302010, 0x3102}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colour);
        SymbolFile file = ConvertOne(SolidBmp(1, 1, 24, c.colour));
        EXPECT_THAT(Words(file.pixels[0]), ElementsAre(c.word));
    }
}

TEST_F(PixelFormatTest, OddWidthsSkipTheRowPadding)
{
    // Widths 1 to 5 give strides 4, 8, 12, 12, 16: padding of 1 to 3 bytes.
    for (int width = 1; width <= 5; ++width) {
        SCOPED_TRACE(width);
        SymbolFile file = ConvertOne(MakeBmp(width, 3, 24, Pattern));
        ASSERT_EQ(static_cast<std::size_t>(width * 3 * 2), file.pixels[0].size());
        std::vector<std::uint16_t> expected;
        for (int row = 0; row < 3; ++row)
            for (int x = 0; x < width; ++x)
                expected.push_back(Rgb565(Pattern(x, row)));
        EXPECT_EQ(expected, Words(file.pixels[0]));
    }
}

TEST_F(PixelFormatTest, ImageSizeZeroMeansStrideTimesHeight)
{
    Bytes withSize = MakeBmp(3, 2, 24, Pattern, true);
    Bytes withoutSize = MakeBmp(3, 2, 24, Pattern, false);
    EXPECT_EQ(0u, GetU32(withoutSize, kBiSizeImage));
    SymbolFile a = ConvertOne(withSize);
    SymbolFile b = ConvertOne(withoutSize);
    EXPECT_EQ(a.pixels[0], b.pixels[0]);
}

TEST_F(PixelFormatTest, Alpha32BitGivesWordThenAlpha)
{
    SymbolFile file = ConvertOne(SolidBmp(1, 1, 32, 0x80302010));
    EXPECT_EQ(0x83, file.entries[0].format);
    EXPECT_THAT(file.pixels[0], ElementsAre(0x02, 0x31, 0x80));

    file = ConvertOne(MakeBmp(3, 2, 32, Pattern), {"/TEX"});
    EXPECT_EQ(3, file.entries[0].format);
    Bytes expected;
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < 3; ++x) {
            std::uint16_t w = Rgb565(Pattern(x, row));
            expected.insert(expected.end(), {static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(w >> 8),
                                             static_cast<std::uint8_t>(Pattern(x, row) >> 24)});
        }
    EXPECT_EQ(expected, file.pixels[0]);
}

TEST_F(PixelFormatTest, MonoSetsABitForEveryPixelThatIsNotBlack)
{
    // 10 x 2: row 0 alternates from black; row 1 is black but for a dark blue
    // last pixel. Each row is padded to two bytes.
    auto pixel = [](int x, int row) -> std::uint32_t {
        if (row == 0)
            return x % 2 ? 0xFFFFFF : 0x000000;
        return x == 9 ? 0x000001 : 0x000000;
    };
    SymbolFile file = ConvertOne(MakeBmp(10, 2, 24, pixel), {"/MONO"});
    EXPECT_EQ(2, file.entries[0].format);
    EXPECT_THAT(file.pixels[0], ElementsAre(0x55, 0x40, 0x00, 0x40));
    // Tex changes nothing in mono mode.
    SymbolFile tex = ConvertOne(MakeBmp(10, 2, 24, pixel), {"/MONO", "/TEX"});
    EXPECT_EQ(2, tex.entries[0].format);
    EXPECT_EQ(file.pixels[0], tex.pixels[0]);
}

TEST_F(PixelFormatTest, PalettizedCopiesTableAndRowsAsStored)
{
    for (int height : {2, -2}) {
        SCOPED_TRACE(height);
        Bytes bmp = MakeBmp(5, height, 8, [](int x, int row) { return static_cast<std::uint32_t>(x + 10 * row); });
        SymbolFile file = ConvertOne(bmp, {"/MONO", "/TEX"});
        const SymbolEntry& e = file.entries[0];
        EXPECT_EQ(4, e.format);
        EXPECT_EQ(5, e.width);
        EXPECT_EQ(height, e.height);
        EXPECT_EQ(12 + 24, e.paletteOffset);
        EXPECT_EQ(e.paletteOffset + 1024, e.dataOffset);
        EXPECT_EQ(Bytes(bmp.begin() + 54, bmp.begin() + 1078), file.palettes[0]);
        EXPECT_EQ(Bytes(bmp.begin() + 1078, bmp.end()), file.pixels[0]);  // padding kept
    }
}

TEST_F(PixelFormatTest, ModeDecidesWhichDepthsConvert)
{
    struct Case {
        bool mono;
        int bits;
        int result;
    } cases[] = {{false, 24, RUNEMARK_OK},         {false, 32, RUNEMARK_OK},         {false, 8, RUNEMARK_BAD_BITMAP},
                 {false, 16, RUNEMARK_BAD_BITMAP}, {true, 24, RUNEMARK_OK},          {true, 8, RUNEMARK_OK},
                 {true, 32, RUNEMARK_BAD_BITMAP},  {true, 16, RUNEMARK_BAD_BITMAP}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mono " << c.mono << ", bits " << c.bits);
        DeleteFileA(Path("RES.symb").c_str());
        Bytes bmp = c.bits == 16 ? MakeBmp(2, 2, 16, [](int, int) { return 0u; }) : SolidBmp(2, 2, c.bits, 0x123456);
        Put("res\\a.bmp", bmp);
        EXPECT_EQ(c.result, ConvertRes(c.mono ? std::vector<std::string>{"/MONO"} : std::vector<std::string>{}));
        EXPECT_EQ(c.result == RUNEMARK_OK, Exists("RES.symb"));
    }
}
