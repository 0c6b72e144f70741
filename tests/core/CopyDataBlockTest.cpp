// The hand-over block of a second start: filled with the whole length and at
// most 2047 characters; read only within the bytes a message carries.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/CopyDataBlock.h"

TEST(CopyDataBlock, FillCutsTheTextButKeepsTheLength)
{
    const std::wstring line = L"\"C:\\Mirovale.exe\" mirovale:name=" + std::wstring(3000, L'a');
    CMDLINE_COPYDATA block;
    FillCommandLineBlock(block, line.c_str());
    EXPECT_EQ(block.length, static_cast<INT32>(line.size()));
    EXPECT_EQ(std::wstring(block.text), line.substr(0, 2047));
    EXPECT_EQ(block.text[2047], L'\0');
}

TEST(CopyDataBlock, ReadTakesOnlyWellFormedBlocks)
{
    CMDLINE_COPYDATA block;
    FillCommandLineBlock(block, L"x mirovale:lat=1");
    COPYDATASTRUCT data{0, sizeof(block), &block};
    CString text;
    EXPECT_TRUE(ReadCommandLineBlock(&data, text));
    EXPECT_EQ(text, L"x mirovale:lat=1");

    struct Case {
        ULONG_PTR kind;
        DWORD size;
    } const refused[] = {{1, sizeof(block)}, {0, 0}, {0, 100}, {0, sizeof(block) - 1}, {0, sizeof(block) + 2}};
    for (const Case& c : refused) {
        std::vector<BYTE> bytes(c.size + 16, 'z');
        if (c.size >= sizeof(block))
            memcpy(bytes.data(), &block, sizeof(block));
        COPYDATASTRUCT bad{c.kind, c.size, bytes.data()};
        EXPECT_FALSE(ReadCommandLineBlock(&bad, text)) << c.kind << " " << c.size;
        EXPECT_TRUE(text.IsEmpty());
    }
    EXPECT_FALSE(ReadCommandLineBlock(nullptr, text));
}

TEST(CopyDataBlock, TextWithoutEndStopsAtTheBlocksEnd)
{
    // A block from another process with no NUL: the text ends with the block,
    // never past it (the bytes behind it are not read).
    std::vector<BYTE> bytes(sizeof(CMDLINE_COPYDATA) + 64, 0);
    auto* block = reinterpret_cast<CMDLINE_COPYDATA*>(bytes.data());
    for (wchar_t& c : block->text)
        c = L'q';
    for (size_t i = sizeof(CMDLINE_COPYDATA); i < bytes.size(); i += 2)
        bytes[i] = 'r';
    COPYDATASTRUCT data{0, sizeof(CMDLINE_COPYDATA), bytes.data()};
    CString text;
    EXPECT_TRUE(ReadCommandLineBlock(&data, text));
    EXPECT_EQ(text.GetLength(), 2048);
    EXPECT_EQ(text.Find(L'r'), -1);
}
