// The symbol file of whole runs: layout, folder and list modes, directives,
// output names, and what a failing run leaves behind.
#include "ConverterFixture.h"

#include "symbolconv/Runemark.h"

#include <gmock/gmock.h>

using namespace symboltest;
using ::testing::ElementsAre;

namespace {

// One colour per symbol, so that a chunk tells which bitmap it came from.
std::uint32_t Colour(int n) { return 0x102030u * static_cast<std::uint32_t>(n + 1) & 0xF8FCF8u; }

std::uint16_t FirstWord(const Bytes& pixels) { return static_cast<std::uint16_t>(pixels.at(0) | pixels.at(1) << 8); }

class SymbolFileTest : public ConverterTest {};

}  // namespace

TEST_F(SymbolFileTest, OneIconGivesHeaderEntryAndChunk)
{
    Put("res\\a.bmp", SolidBmp(32, 32, 24, 0xFF0000));
    ASSERT_EQ(RUNEMARK_OK, ConvertRes({"/ID", "5"}));
    SymbolFile file;
    ASSERT_TRUE(ReadRes(file));
    EXPECT_EQ(2092u, file.fileSize);
    EXPECT_EQ(1u, file.count);
    EXPECT_EQ(5, file.groupNumber);
    const SymbolEntry& e = file.entries[0];
    EXPECT_EQ(32, e.width);
    EXPECT_EQ(32, e.height);
    EXPECT_EQ(0x81, e.format);
    EXPECT_EQ(36, e.dataOffset);
    EXPECT_EQ(0, e.id);
    EXPECT_EQ(-1, e.paletteOffset);
}

TEST_F(SymbolFileTest, SeveralIconsFollowEachOther)
{
    for (int n = 0; n < 3; ++n)
        Put("res\\icon" + std::to_string(n) + ".bmp", SolidBmp(32, 32, 24, Colour(n)));
    ASSERT_EQ(RUNEMARK_OK, ConvertRes());
    SymbolFile file;
    ASSERT_TRUE(ReadRes(file));
    ASSERT_EQ(3u, file.count);
    EXPECT_EQ(20u + 3 * 24 + 3 * 2048, file.fileSize);
    EXPECT_EQ(12 + 72, file.entries[0].dataOffset);
    EXPECT_EQ(12 + 72 + 2048, file.entries[1].dataOffset);
    EXPECT_EQ(12 + 72 + 4096, file.entries[2].dataOffset);
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(n, file.entries[n].id);
        EXPECT_EQ(Rgb565(Colour(n)), FirstWord(file.pixels[n]));
    }
}

TEST_F(SymbolFileTest, FolderIdsFollowTheDirectoryOrderTheProgramSees)
{
    // The program numbers its user icons in the order a directory listing of
    // the same names gives; symbol n must be icon n.
    const char* names[] = {"_x", "Z", "a1", "B2", "10", "2", "icon~1", "c"};
    for (int n = 0; n < 8; ++n)
        Put(std::string("res\\") + names[n] + ".bmp", SolidBmp(2, 2, 24, Colour(n)));
    ASSERT_EQ(RUNEMARK_OK, ConvertRes());
    SymbolFile file;
    ASSERT_TRUE(ReadRes(file));
    const std::vector<std::string> listed = List("res", "*.bmp");
    ASSERT_EQ(listed.size(), file.count);
    for (std::size_t k = 0; k < listed.size(); ++k) {
        int n = 0;
        while (listed[k] != std::string(names[n]) + ".bmp")
            ++n;
        EXPECT_EQ(static_cast<int>(k), file.entries[k].id);
        EXPECT_EQ(Rgb565(Colour(n)), FirstWord(file.pixels[k])) << listed[k];
    }
}

TEST_F(SymbolFileTest, SkippedBitmapKeepsLaterIdsInPlace)
{
    Put("res\\a.bmp", SolidBmp(2, 2, 24, Colour(0)));
    Put("res\\b.bmp", std::string("not a bitmap at all"));
    Put("res\\c.bmp", SolidBmp(2, 2, 24, Colour(2)));
    Put("res\\.hidden.bmp", std::string("dot files are not bitmaps of the set"));
    EXPECT_EQ(RUNEMARK_BAD_BITMAP, ConvertRes());
    SymbolFile file;
    ASSERT_TRUE(ReadRes(file));
    ASSERT_EQ(2u, file.count);
    EXPECT_EQ(0, file.entries[0].id);
    EXPECT_EQ(2, file.entries[1].id);  // c.bmp is still symbol 2
    EXPECT_EQ(Rgb565(Colour(2)), FirstWord(file.pixels[1]));
}

TEST_F(SymbolFileTest, OnlyBitmapFailingItsCheckGivesAnEmptyFile)
{
    Put("res\\a.bmp", std::string("XX not a bitmap"));
    EXPECT_EQ(RUNEMARK_BAD_BITMAP, ConvertRes());
    SymbolFile file;
    ASSERT_TRUE(ReadRes(file));
    EXPECT_EQ(20u, file.fileSize);
    EXPECT_EQ(0u, file.count);
}

TEST_F(SymbolFileTest, DepthTheModeCannotConvertEndsTheRunWithoutAFile)
{
    Put("res\\a.bmp", SolidBmp(2, 2, 24, 0));
    Put("res\\b.bmp", SolidBmp(2, 2, 8, 0));
    Put("res\\c.bmp", SolidBmp(2, 2, 24, 0));
    EXPECT_EQ(RUNEMARK_BAD_BITMAP, ConvertRes());
    EXPECT_FALSE(Exists("RES.symb"));
}

TEST_F(SymbolFileTest, ListModeSortsTheTableAndKeepsChunkOrder)
{
    Put("res\\A.bmp", SolidBmp(2, 2, 24, Colour(0)));
    Put("res\\B.bmp", SolidBmp(3, 1, 24, Colour(1)));
    Put("res\\symbolid.txt", std::string("A.bmp 5\r\nB.bmp 3\r\n"));
    ASSERT_EQ(RUNEMARK_OK, ConvertRes());
    SymbolFile file;
    ASSERT_TRUE(ReadRes(file));
    ASSERT_EQ(2u, file.count);
    EXPECT_EQ(3, file.entries[0].id);
    EXPECT_EQ(3, file.entries[0].width);
    EXPECT_EQ(5, file.entries[1].id);
    EXPECT_EQ(2, file.entries[1].width);
    EXPECT_THAT(file.chunkOrder, ElementsAre(1, 0));  // A's chunk first
    EXPECT_EQ(12 + 48, file.entries[1].dataOffset);
    EXPECT_EQ(12 + 48 + 8, file.entries[0].dataOffset);
    EXPECT_EQ(Rgb565(Colour(1)), FirstWord(file.pixels[0]));
}

TEST_F(SymbolFileTest, ListLinesWithNamesCommentsAndMissingIds)
{
    Put("res\\a.bmp", SolidBmp(1, 1, 24, Colour(0)));
    Put("res\\b.bmp", SolidBmp(1, 1, 24, Colour(1)));
    Put("res\\c.bmp", SolidBmp(1, 1, 24, Colour(2)));
    Put("res\\d.bmp", SolidBmp(1, 1, 24, Colour(3)));
    Put("res\\symbolid.txt", std::string("\n"
                                         "c.bmp\n"                        // no id: first id is 0
                                         "   \t \n"                       // blank
                                         "a.bmp Harbour 20 the harbour\n" // name, id, comment
                                         "b.bmp 7 a comment 99\n"         // id, comment
                                         "d.bmp\n"));                     // no id: last id + 1
    ASSERT_EQ(RUNEMARK_OK, ConvertRes());
    SymbolFile file;
    ASSERT_TRUE(ReadRes(file));
    ASSERT_EQ(4u, file.count);
    std::vector<int> ids;
    std::vector<std::uint16_t> colours;
    for (std::size_t i = 0; i < file.count; ++i) {
        ids.push_back(file.entries[i].id);
        colours.push_back(FirstWord(file.pixels[i]));
    }
    EXPECT_THAT(ids, ElementsAre(0, 7, 8, 20));
    EXPECT_THAT(colours, ElementsAre(Rgb565(Colour(2)), Rgb565(Colour(1)), Rgb565(Colour(3)), Rgb565(Colour(0))));
}

TEST_F(SymbolFileTest, ListDirectivesChangeFolderAndMode)
{
    Put("res\\top.bmp", SolidBmp(1, 1, 24, Colour(0)));
    Put("res\\sub\\inner.bmp", SolidBmp(1, 1, 24, Colour(1)));
    Put("res\\sub\\pal.bmp", SolidBmp(4, 1, 8, 3));
    Put("res\\abs.bmp", SolidBmp(1, 1, 32, 0x80FFFFFF));
    Put("res\\symbolid.txt", "@GroupID 12\n"
                             "top.bmp 1\n"
                             "@dir sub\n"
                             "inner.bmp 2\n"
                             "@MODE Mono\n"
                             "inner.bmp 3\n"
                             "pal.bmp 4\n"
                             "@mode tex\n"
                             "inner.bmp 5\n"
                             "@dir .\n"
                             "@mode\n"
                             "top.bmp 6\n"
                             "@dir\n"  // no second word: stays
                             + Path("res\\abs.bmp") + " 7\n");
    ASSERT_EQ(RUNEMARK_OK, ConvertRes({"/ID", "9"}));
    SymbolFile file;
    ASSERT_TRUE(ReadRes(file));
    EXPECT_EQ(9, file.groupNumber);  // @groupid does not change it
    std::vector<int> formats;
    for (const SymbolEntry& e : file.entries)
        formats.push_back(e.format);
    EXPECT_THAT(formats, ElementsAre(0x81, 0x81, 2, 4, 1, 0x81, 0x83));
    EXPECT_EQ(Rgb565(Colour(1)), FirstWord(file.pixels[1]));
    EXPECT_EQ(Rgb565(Colour(0)), FirstWord(file.pixels[5]));
}

TEST_F(SymbolFileTest, ListModeOptionsFromTheCommandLineHoldUntilAModeLine)
{
    Put("res\\a.bmp", SolidBmp(8, 1, 24, 0xFFFFFF));
    Put("res\\symbolid.txt", std::string("a.bmp 1\n@mode other\na.bmp 2\n"));
    ASSERT_EQ(RUNEMARK_OK, ConvertRes({"/MONO"}));
    SymbolFile file;
    ASSERT_TRUE(ReadRes(file));
    ASSERT_EQ(2u, file.count);
    EXPECT_EQ(2, file.entries[0].format);
    EXPECT_EQ(0x81, file.entries[1].format);
}

TEST_F(SymbolFileTest, DuplicateIdFailsAndKeepsTheOldFile)
{
    Put("RES.symb", std::string("old file"));
    Put("res\\a.bmp", SolidBmp(1, 1, 24, 0));
    Put("res\\b.bmp", SolidBmp(1, 1, 24, 0));
    Put("res\\symbolid.txt", std::string("a.bmp 4\nb.bmp 4\n"));
    EXPECT_EQ(RUNEMARK_DUPLICATE_ID, ConvertRes());
    EXPECT_EQ(Bytes({'o', 'l', 'd', ' ', 'f', 'i', 'l', 'e'}), testsupport::ReadBytes(WPath("RES.symb")));
}

TEST_F(SymbolFileTest, ListWithoutSymbolLinesGivesAnEmptyFile)
{
    MakeFolder("res");
    Put("res\\symbolid.txt", std::string("@mode tex\n\n"));
    ASSERT_EQ(RUNEMARK_OK, ConvertRes());
    SymbolFile file;
    ASSERT_TRUE(ReadRes(file));
    EXPECT_EQ(0u, file.count);
}

TEST_F(SymbolFileTest, ListBitmapThatFailsEndsTheRun)
{
    struct Case {
        const char* line;
        int result;
    } cases[] = {{"missing.bmp 1\n", RUNEMARK_OPEN_FAILED},
                 {"bad.bmp 1\n", RUNEMARK_BAD_BITMAP},
                 {"short.bmp 1\n", RUNEMARK_TRUNCATED}};
    Put("res\\good.bmp", SolidBmp(1, 1, 24, 0));
    Put("res\\bad.bmp", std::string("XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX"));
    Put("res\\short.bmp", std::string("BM"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Put("res\\symbolid.txt", std::string("good.bmp 0\n") + c.line);
        EXPECT_EQ(c.result, ConvertRes());
        EXPECT_FALSE(Exists("RES.symb"));
    }
}

TEST_F(SymbolFileTest, OutputIsNamedAfterTheGroupBesideTheFolder)
{
    Put("res\\a.bmp", SolidBmp(1, 1, 24, 0));
    ASSERT_EQ(RUNEMARK_OK, ConvertRes({}, "ab"));
    EXPECT_TRUE(Exists("AB.symb"));
    EXPECT_FALSE(Exists("RES.symb"));
    // Without a group name the folder's own name, upper-cased.
    ASSERT_EQ(RUNEMARK_OK, ConvertRes());
    SymbolFile file;
    EXPECT_TRUE(ReadRes(file));
}

TEST_F(SymbolFileTest, SuccessfulRunReplacesTheOldFile)
{
    Put("RES.symb", Bytes(5000, 0xAB));
    Put("res\\a.bmp", SolidBmp(1, 1, 24, 0));
    ASSERT_EQ(RUNEMARK_OK, ConvertRes());
    SymbolFile file;
    ASSERT_TRUE(ReadRes(file));
    EXPECT_EQ(1u, file.count);
}

TEST_F(SymbolFileTest, FolderWithoutBitmaps)
{
    MakeFolder("res");
    EXPECT_EQ(RUNEMARK_NO_BITMAPS, ConvertRes());
    Put("res\\readme.txt", std::string("no pictures here"));
    EXPECT_EQ(RUNEMARK_NO_BITMAPS, ConvertRes());
    EXPECT_FALSE(Exists("RES.symb"));
    // A folder that does not exist has no bitmaps either.
    EXPECT_EQ(RUNEMARK_NO_BITMAPS, Convert({"/ID", "1", Path("nowhere")}));
    EXPECT_FALSE(Exists("NOWHERE.symb"));
}

TEST_F(SymbolFileTest, WriteFailureLeavesNothingBehind)
{
    // The output name is taken by a folder, so the file cannot be put there.
    Put("res\\a.bmp", SolidBmp(1, 1, 24, 0));
    MakeFolder("RES.symb");
    EXPECT_EQ(RUNEMARK_WRITE_FAILED, ConvertRes());
    EXPECT_THAT(List(""), ::testing::UnorderedElementsAre("res", "RES.symb"));
    // A later good run still works.
    EXPECT_EQ(RUNEMARK_OK, ConvertRes({}, "other"));
}

TEST_F(SymbolFileTest, OldFileThatCannotBeReplacedStaysIntact)
{
    Put("res\\a.bmp", SolidBmp(1, 1, 24, 0));
    Put("RES.symb", std::string("old"));
    SetFileAttributesA(Path("RES.symb").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(RUNEMARK_WRITE_FAILED, ConvertRes());
    EXPECT_EQ(Bytes({'o', 'l', 'd'}), testsupport::ReadBytes(WPath("RES.symb")));
    EXPECT_THAT(List(""), ::testing::UnorderedElementsAre("res", "RES.symb"));
}
