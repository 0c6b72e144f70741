// The export: how the program calls it, the argument words, the texts printed.
#include "ConverterFixture.h"

#include "symbolconv/Runemark.h"

#include <gmock/gmock.h>

using namespace symboltest;

namespace {

const char kUsage[] = "Usage: Runemark [/ID num]  [/MONO|TEX] res_folder [GroupIDString] [SymbolIDString]\n";
const char kWarning[] =
    "warning : number of GroupID has not been specified; force to 0 by default. \nusing [/ID num] to specify.\n";

class StartConvertTest : public ConverterTest {
protected:
    // Runs with the current folder set to the test's folder.
    int ConvertHere(const std::vector<std::string>& words, std::string& printed)
    {
        wchar_t old[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, old);
        SetCurrentDirectoryW(m_dir.Path().c_str());
        int result = ConvertPrinting(words, printed);
        SetCurrentDirectoryW(old);
        return result;
    }
};

}  // namespace

TEST_F(StartConvertTest, ExportIsImportedByNameAndOrdinal)
{
    HMODULE dll = GetModuleHandleW(L"Runemark.dll");
    ASSERT_NE(nullptr, dll) << "not loaded with the program";
    void* byName = reinterpret_cast<void*>(GetProcAddress(dll, "StartConvert"));
    EXPECT_EQ(reinterpret_cast<void*>(&StartConvert), byName);
    EXPECT_EQ(byName, reinterpret_cast<void*>(GetProcAddress(dll, MAKEINTRESOURCEA(1))));
}

TEST_F(StartConvertTest, TheProgramsOwnCall)
{
    // The icon export: "/ID", the user-icon group and the work folder with a
    // trailing backslash, as read-only words. Output: ".symb" in the folder.
    const char* icons[] = {"Home.bmp", "work.bmp", "Fuel.bmp"};
    for (int n = 0; n < 3; ++n)
        Put(std::string("work\\Icon\\") + icons[n], SolidBmp(32, 32, 24, 0x00FF00u >> n));
    const std::string folder = Path("work\\Icon") + "\\";
    char* argv[] = {const_cast<char*>("/ID"), const_cast<char*>("28929"), const_cast<char*>(folder.c_str())};
    std::fflush(stdout);
    ASSERT_EQ(RUNEMARK_OK, StartConvert(3, argv));
    EXPECT_STREQ("/ID", argv[0]);
    SymbolFile file;
    ASSERT_TRUE(ReadSymbolFile(WPath("work\\Icon\\.symb"), file));
    EXPECT_EQ(28929, file.groupNumber);
    ASSERT_EQ(3u, file.count);
    const std::vector<std::string> order = List("work\\Icon", "*.bmp");
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(0x81, file.entries[k].format);
        EXPECT_EQ(static_cast<int>(k), file.entries[k].id);
        int n = 0;
        while (order[k] != icons[n])
            ++n;
        EXPECT_EQ(Rgb565(0x00FF00u >> n), file.pixels[k][0] | file.pixels[k][1] << 8);
    }
    EXPECT_THAT(List("work\\Icon"), ::testing::UnorderedElementsAre("Home.bmp", "work.bmp", "Fuel.bmp", ".symb"));
}

TEST_F(StartConvertTest, OptionWordsAreNotChangedInTheCallersMemory)
{
    Put("res\\a.bmp", SolidBmp(1, 1, 24, 0));
    const std::string res = Path("res");
    // String literals live in read-only memory: writing to them would crash.
    char* argv[] = {const_cast<char*>("/id"), const_cast<char*>("3"), const_cast<char*>("/tex"),
                    const_cast<char*>(res.c_str())};
    ASSERT_EQ(RUNEMARK_OK, StartConvert(4, argv));
    char writable[] = "/mono";
    char* argv2[] = {writable, const_cast<char*>(res.c_str())};
    StartConvert(2, argv2);
    EXPECT_STREQ("/mono", writable);
}

TEST_F(StartConvertTest, NoWordsPrintsTheWarningAndRefuses)
{
    std::string printed;
    EXPECT_EQ(RUNEMARK_NO_FOLDER, ConvertHere({}, printed));
    EXPECT_EQ(kWarning, printed);
    EXPECT_THAT(List(""), ::testing::IsEmpty());
    // A null argument array with no words is the same call.
    EXPECT_EQ(RUNEMARK_NO_FOLDER, StartConvert(0, nullptr));
}

TEST_F(StartConvertTest, HelpPrintsUsageThenWarning)
{
    std::string printed;
    EXPECT_EQ(RUNEMARK_NO_FOLDER, ConvertHere({"/?"}, printed));
    EXPECT_EQ(std::string(kUsage) + kWarning, printed);
}

TEST_F(StartConvertTest, ArgumentWalk)
{
    // Each call converts pics\a.bmp (white 8 x 1) from the test's folder.
    Put("pics\\a.bmp", SolidBmp(8, 1, 24, 0xFFFFFF));
    struct Case {
        std::vector<std::string> words;
        const char* output;   // in the test's folder
        int groupNumber;
        int format;
        bool warning;
    } cases[] = {
        {{"/id", "7", "/tex", "pics"}, "PICS.symb", 7, 1, false},
        {{"/Mono", "pics", "/ID"}, "PICS.symb", 0, 2, true},          // /ID last
        {{"/ID", "/MONO", "pics"}, "PICS.symb", 0, 0x81, false},       // /MONO read as the number 0
        {{"/ID", "-1", "pics"}, "PICS.symb", 0, 0x81, true},            // -1 is "not given"
        {{"/ID", " +12abc", "pics"}, "PICS.symb", 12, 0x81, false},     // atoi rules
        {{"/MONOX", "/TEXT", "/I", "/ID", "4", "pics"}, "PICS.symb", 4, 0x81, false},  // unknown options ignored
        {{"/ID", "2", "pics", "grp", "prefix", "fourth"}, "GRP.symb", 2, 0x81, false},
        {{"/ID", "2", "", "pics", "", "g2"}, "G2.symb", 2, 0x81, false},  // empty words leave their slot free
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.words));
        std::string printed;
        ASSERT_EQ(RUNEMARK_OK, ConvertHere(c.words, printed));
        EXPECT_EQ(c.warning ? kWarning : "", printed);
        SymbolFile file;
        ASSERT_TRUE(ReadRes(file, c.output));
        EXPECT_EQ(c.groupNumber, file.groupNumber);
        EXPECT_EQ(c.format, file.entries[0].format);
        DeleteFileA(Path(c.output).c_str());
    }
    EXPECT_THAT(List(""), ::testing::ElementsAre("pics"));
}

TEST_F(StartConvertTest, RootedFolderIsNotJoinedToTheCurrentFolder)
{
    // "\users\...\res" names a folder on the current drive; put behind the
    // current folder it would name a folder that does not exist.
    Put("res\\a.bmp", SolidBmp(1, 1, 24, 0));
    const std::string full = Path("res");
    ASSERT_EQ(':', full[1]);
    std::string printed;
    EXPECT_EQ(RUNEMARK_OK, ConvertHere({"/ID", "1", full.substr(2)}, printed));
    EXPECT_TRUE(Exists("RES.symb"));
}

TEST_F(StartConvertTest, EachCallStartsWithoutTheLastFailure)
{
    EXPECT_EQ(RUNEMARK_NO_BITMAPS, Convert({"/ID", "1", Path("nowhere")}));
    Put("res\\a.bmp", SolidBmp(1, 1, 24, 0));
    EXPECT_EQ(RUNEMARK_OK, ConvertRes());
    Put("res\\b.bmp", std::string("bad"));
    EXPECT_EQ(RUNEMARK_TRUNCATED, ConvertRes());
    DeleteFileA(Path("res\\b.bmp").c_str());
    EXPECT_EQ(RUNEMARK_OK, ConvertRes());
}
