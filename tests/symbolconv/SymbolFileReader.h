#pragma once
// Reads a symbol file back and checks its whole structure: header, table,
// every offset and every chunk size.
#include "TestBitmaps.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace symboltest {

struct SymbolEntry {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t format = 0;
    std::int32_t dataOffset = 0;
    std::int32_t id = 0;
    std::int32_t paletteOffset = 0;
};

struct SymbolFile {
    std::uint32_t fileSize = 0;
    std::uint32_t count = 0;
    std::int32_t groupNumber = 0;
    std::uint32_t stamp = 0;
    std::vector<SymbolEntry> entries;   // table order
    std::vector<Bytes> pixels;          // per entry: from dataOffset to the end of its chunk
    std::vector<Bytes> palettes;        // per entry: from paletteOffset to dataOffset (format 4)
    std::vector<std::size_t> chunkOrder;  // entry indexes in the order of their chunks
};

// Checks: magic "BMYS"; the size field is the real size; the table fits; ids
// strictly ascending; each chunk has the size its format gives and the chunks
// tile the data area with no gap or overlap; offsets count from file offset 8;
// paletteOffset is -1 except for format 4, whose rows lie inside its chunk.
::testing::AssertionResult ReadSymbolFile(const std::wstring& path, SymbolFile& file);

}  // namespace symboltest
