// The symbol file byte for byte: one entry of every pixel format, written by
// a list run (the version key is fresh for each test, so the stamp is fixed).
#include "ConverterFixture.h"

#include "../doc/GoldenFiles.h"
#include "symbolconv/Runemark.h"

using namespace symboltest;

namespace {

class SymbolFileGolden : public ConverterTest {};

// Colour changes along both axes; alpha and index take their own steps.
std::uint32_t Pattern(int x, int row)
{
    return static_cast<std::uint32_t>((x * 37 + row * 11) & 0xFF) << 24 | (x * 40) << 16 | (row * 60) << 8 | (x ^ row) * 17;
}

TEST_F(SymbolFileGolden, EveryFormatInOneFile)
{
    Put("res\\colour.bmp", MakeBmp(5, 3, 24, Pattern));  // odd width: row padding is not copied
    Put("res\\alpha.bmp", MakeBmp(3, 2, 32, Pattern));
    Put("res\\grey.bmp", MakeBmp(4, 2, 8, Pattern));
    Put("res\\symbolid.txt", "colour.bmp 3\n"
                             "alpha.bmp 1\n"
                             "@mode mono\n"
                             "colour.bmp 9\n"
                             "grey.bmp 2\n"
                             "@mode tex\n"
                             "colour.bmp 4\n");
    ASSERT_EQ(RUNEMARK_OK, ConvertRes({"/ID", "7"}));
    SymbolFile file;
    ASSERT_TRUE(ReadRes(file));  // the structure first, then every byte
    golden::Expect(L"symbols.symb", WPath("RES.symb"));
}

}  // namespace
