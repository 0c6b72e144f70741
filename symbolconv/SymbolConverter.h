#pragma once
// State of one conversion run: the table entries and pixel chunks collected in
// memory until the symbol file is written.
#include <cstdint>
#include <string>
#include <vector>

namespace runemark {

// One table entry of the symbol file, six little-endian int32 in this order.
// While converting, the offsets count from the start of the data area.
struct SymbolRecord {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t format = 0;
    std::int32_t dataOffset = 0;
    std::int32_t id = 0;
    std::int32_t paletteOffset = -1;
};

// The converted bytes of one symbol.
struct SymbolChunk {
    std::vector<std::uint8_t> bytes;
};

struct SymbolConverter {
    std::int64_t tableBytes = 0;   // 24 per entry
    std::int64_t dataBytes = 0;    // also where the next chunk starts
    std::int32_t symbolCount = 0;
    std::int32_t lastId = 0;
    bool idTaken = false;          // lastId holds an id given out in this run
    bool mono = false;
    bool tex = false;
    std::vector<SymbolRecord> records;   // file order
    std::vector<SymbolChunk> chunks;     // conversion order
    std::string groupName;
    std::int32_t groupNumber = 0;
    std::string currentFile;
    std::string currentIdText;     // list mode: the line's id word, else empty
};

void InitConverter(SymbolConverter& state, bool mono, bool tex);
void FreeConverter(SymbolConverter& state);

// The id of the next entry: the id word when the line has one, else 0 for the
// first id of the run, else the last id + 1. The last id becomes this id.
std::int32_t TakeNextId(SymbolConverter& state);

// Appends one converted symbol: its entry, with its id and offsets, and its
// chunk. The offsets are given inside the chunk; -1 means no palette.
void AppendSymbol(SymbolConverter& state, std::int32_t width, std::int32_t height, std::int32_t format,
                  std::vector<std::uint8_t> bytes, std::int32_t pixelsInChunk = 0,
                  std::int32_t paletteInChunk = -1);

// Moves the newest entry into ascending id order; false with code 6 when an
// earlier entry has the same id. Chunks keep their conversion order.
bool InsertSortedById(SymbolConverter& state);

// Decimal text read the way C atoi does (blanks, sign, digits), clamped to int32.
std::int32_t ParseDecimal(const char* text);

}  // namespace runemark
