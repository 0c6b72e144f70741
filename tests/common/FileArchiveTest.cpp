#include "common/FileArchive.h"

#include <gtest/gtest.h>

#include <cstring>

#include "ImageFixtures.h"
#include "TestFiles.h"

using namespace imagetest;
using testsupport::Bytes;
using testsupport::TempDir;

namespace {

std::string Text(HGLOBAL block, DWORD size)
{
    const char* p = static_cast<const char*>(GlobalLock(block));
    std::string s(p, size);
    GlobalUnlock(block);
    GlobalFree(block);
    return s;
}

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

std::string ReadText(CFileArchive& pack, const wchar_t* name)
{
    HGLOBAL h = pack.ReadEntry(name);
    return h ? Text(h, pack.GetEntrySize(name)) : std::string("<null>");
}

}  // namespace

class FileArchiveSteps : public ::testing::TestWithParam<uint32_t> {};

// Every step reads back the plain bytes; 0 and 256 store them unscrambled.
TEST_P(FileArchiveSteps, EntriesReadBackPlain)
{
    TempDir dir;
    const uint32_t step = GetParam();
    Bytes pack = MakePack({{"first.bin", B("hello pack")}, {"second.bin", B(std::string(300, 'x') + "end")}}, step);
    testsupport::WriteBytes(dir.File(L"p.qpk"), pack);
    CFileArchive archive;
    ASSERT_TRUE(archive.Open(dir.File(L"p.qpk").c_str()));
    EXPECT_EQ(2, archive.GetCount());
    EXPECT_EQ("hello pack", ReadText(archive, L"first.bin"));
    EXPECT_EQ(std::string(300, 'x') + "end", ReadText(archive, L"second.bin"));
    if ((step & 0xFF) == 0) {
        // Plain form on disk: the name and the data are readable as they are.
        EXPECT_EQ(0, memcmp(pack.data() + 16, "first.bin", 9));
        EXPECT_EQ(0, memcmp(pack.data() + 16 + 96, "hello pack", 10));
    } else {
        EXPECT_NE(0, memcmp(pack.data() + 16, "first.bin", 9));
    }
}
INSTANTIATE_TEST_SUITE_P(Steps, FileArchiveSteps, ::testing::Values(0u, 7u, 256u, 0x1234u));

TEST(FileArchive, TableKeyRunsOnAcrossEntries)
{
    // Second table entry is scrambled with keys starting at 48 * step.
    Bytes pack = MakePack({{"a", B("1")}, {"b", B("2")}}, 3);
    EXPECT_EQ('b' ^ static_cast<BYTE>(48 * 3), pack[16 + 48]);
    // Each entry's data starts again at key 0: its first byte is plain.
    EXPECT_EQ('1', pack[16 + 96]);
    EXPECT_EQ('2', pack[16 + 97]);
}

TEST(FileArchive, LookupIgnoresCaseAndFirstDuplicateWins)
{
    ASSERT_TRUE(OpenPack({{"Btn_Normal.BMP", B("one")}, {"btn_normal.bmp", B("two")}, {"other", B("3")}}));
    EXPECT_EQ("one", ReadText(theFileArchive, L"btn_normal.bmp"));
    EXPECT_EQ("one", ReadText(theFileArchive, L"BTN_NORMAL.bmp"));
    EXPECT_EQ(3u, theFileArchive.GetEntrySize(L"BTN_normal.bmp"));
    EXPECT_EQ(nullptr, theFileArchive.ReadEntry(L"missing.bmp"));
    EXPECT_EQ(0u, theFileArchive.GetEntrySize(L"missing.bmp"));
    EXPECT_EQ(nullptr, theFileArchive.ReadEntry(L"btn_normal"));
}

TEST(FileArchive, BlockIsMovableAndOwnedByCaller)
{
    ASSERT_TRUE(OpenPack({{"x", B("abc")}}));
    HGLOBAL h = theFileArchive.ReadEntry(L"x");
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(0u, GlobalFlags(h) & GMEM_LOCKCOUNT) << "handed out unlocked";
    void* p = GlobalLock(h);
    EXPECT_NE(static_cast<void*>(h), p) << "a movable block's handle is not its address";
    GlobalUnlock(h);
    EXPECT_GE(GlobalSize(h), 3u);
    EXPECT_EQ(nullptr, GlobalFree(h));
}

TEST(FileArchive, EmptyPackOpens)
{
    ASSERT_TRUE(OpenPack({}));
    EXPECT_TRUE(theFileArchive.IsOpen());
    EXPECT_EQ(0, theFileArchive.GetCount());
    EXPECT_EQ(nullptr, theFileArchive.ReadEntry(L"anything"));
}

TEST(FileArchive, BadFilesAreRefusedWithAnEmptyTable)
{
    TempDir dir;
    Bytes good = MakePack({{"a.bmp", B("0123456789")}, {"b.bmp", B("abcdefghij")}}, 5);
    Bytes wrongMagic = good;
    wrongMagic[3] = 'B';
    Bytes cutTable(good.begin(), good.begin() + 16 + 48 + 20);
    Bytes hugeCount = good;
    hugeCount[4] = hugeCount[5] = hugeCount[6] = hugeCount[7] = 0xFF;
    Bytes shortHeader(good.begin(), good.begin() + 10);
    struct Case { const char* what; Bytes data; } cases[] = {
        {"wrong magic", wrongMagic}, {"table cut short", cutTable}, {"count beyond the file", hugeCount},
        {"header cut short", shortHeader}, {"empty file", Bytes()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A good pack first, so a failed open must really empty the table.
        ASSERT_TRUE(OpenPack({{"a.bmp", B("x")}}));
        testsupport::WriteBytes(dir.File(L"bad.qpk"), c.data);
        EXPECT_FALSE(theFileArchive.Open(dir.File(L"bad.qpk").c_str()));
        EXPECT_FALSE(theFileArchive.IsOpen());
        EXPECT_EQ(0, theFileArchive.GetCount());
        EXPECT_EQ(nullptr, theFileArchive.ReadEntry(L"a.bmp"));
    }
    EXPECT_FALSE(theFileArchive.Open(dir.File(L"no such.qpk").c_str()));
}

TEST(FileArchive, EntriesOutsideTheFileAreRefused)
{
    TempDir dir;
    Bytes pack = MakePack({{"inside", B("12345")}, {"cut", B("abcdefghij")}}, 0);
    pack.resize(pack.size() - 4);   // the data area ends inside the second entry
    // An entry whose offset lies beyond beyond the end (plain table, step 0).
    Bytes beyond = MakePack({{"beyond", B("zz")}}, 0);
    beyond[16 + 40] = 0xF0;
    beyond[16 + 43] = 0x7F;
    testsupport::WriteBytes(dir.File(L"cut.qpk"), pack);
    testsupport::WriteBytes(dir.File(L"beyond.qpk"), beyond);
    CFileArchive a, b;
    ASSERT_TRUE(a.Open(dir.File(L"cut.qpk").c_str()));
    EXPECT_EQ("12345", ReadText(a, L"inside"));
    EXPECT_EQ(nullptr, a.ReadEntry(L"cut"));
    ASSERT_TRUE(b.Open(dir.File(L"beyond.qpk").c_str()));
    EXPECT_EQ(nullptr, b.ReadEntry(L"beyond"));
}

TEST(FileArchive, NameWithoutTerminatorIsCut)
{
    TempDir dir;
    std::string longName(40, 'n');
    Bytes pack = MakePack({{longName, B("v")}}, 0);
    memset(pack.data() + 16, 'n', 36);  // no NUL anywhere in the name field
    testsupport::WriteBytes(dir.File(L"n.qpk"), pack);
    CFileArchive a;
    ASSERT_TRUE(a.Open(dir.File(L"n.qpk").c_str()));
    EXPECT_EQ("v", ReadText(a, std::wstring(35, L'n').c_str()));
}

// Hundreds of entries, as in the program's own pack: each name finds its own
// bytes, whatever its case, and the names around it do not disturb it.
TEST(FileArchive, EveryNameOfALargePackFindsItsEntry)
{
    std::vector<PackEntry> entries;
    for (int i = 0; i < 600; ++i)
        entries.push_back({"btn_" + std::to_string(i) + "_normal.bmp", B("entry " + std::to_string(i))});
    ASSERT_TRUE(OpenPack(entries));
    for (int i = 0; i < 600; ++i) {
        const std::wstring name = L"BTN_" + std::to_wstring(i) + L"_Normal.bmp";
        ASSERT_EQ("entry " + std::to_string(i), ReadText(theFileArchive, name.c_str())) << i;
    }
    EXPECT_EQ(nullptr, theFileArchive.ReadEntry(L"btn_600_normal.bmp"));
    EXPECT_EQ(nullptr, theFileArchive.ReadEntry(L"btn_1_normal.bm"));
}

// The pack stays readable while open, and Close lets go of the file: it can be
// replaced and opened again with its new contents.
TEST(FileArchive, CloseLetsGoOfTheFile)
{
    TempDir dir;
    const std::wstring path = dir.File(L"c.qpk");
    testsupport::WriteBytes(path, MakePack({{"a", B("first")}}, 9));
    CFileArchive archive;
    ASSERT_TRUE(archive.Open(path.c_str()));
    EXPECT_EQ("first", ReadText(archive, L"a"));
    EXPECT_EQ("first", ReadText(archive, L"a"));
    archive.Close();
    EXPECT_FALSE(archive.IsOpen());
    EXPECT_EQ(0, archive.GetCount());
    EXPECT_EQ(nullptr, archive.ReadEntry(L"a"));
    const Bytes second = MakePack({{"a", B("second")}}, 9);
    testsupport::WriteBytes(path, second);
    ASSERT_EQ(second, testsupport::ReadBytes(path));
    ASSERT_TRUE(archive.Open(path.c_str()));
    EXPECT_EQ("second", ReadText(archive, L"a"));
    archive.Close();
    EXPECT_TRUE(::DeleteFileW(path.c_str()));
}
