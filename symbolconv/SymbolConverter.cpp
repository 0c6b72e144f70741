#include "symbolconv/SymbolConverter.h"

#include "symbolconv/ErrorState.h"
#include "symbolconv/Runemark.h"

#include <algorithm>
#include <cstdlib>

namespace runemark {

void InitConverter(SymbolConverter& state, bool mono, bool tex)
{
    state = SymbolConverter{};
    state.mono = mono;
    state.tex = tex;
}

void FreeConverter(SymbolConverter& state)
{
    state = SymbolConverter{};
}

std::int32_t ParseDecimal(const char* text)
{
    // strtol gives LONG_MIN/LONG_MAX on overflow, where atoi is undefined.
    long value = std::strtol(text, nullptr, 10);
    return static_cast<std::int32_t>(value);
}

std::int32_t TakeNextId(SymbolConverter& state)
{
    std::int32_t id;
    if (!state.currentIdText.empty())
        id = ParseDecimal(state.currentIdText.c_str());
    else if (!state.idTaken)
        id = 0;
    else
        id = static_cast<std::int32_t>(static_cast<std::uint32_t>(state.lastId) + 1u);
    state.lastId = id;
    state.idTaken = true;
    return id;
}

void AppendSymbol(SymbolConverter& state, std::int32_t width, std::int32_t height, std::int32_t format,
                  std::vector<std::uint8_t> bytes, std::int32_t pixelsInChunk, std::int32_t paletteInChunk)
{
    // The writer refuses a data area beyond int32, so these casts only matter
    // for files that are never written.
    const std::int64_t start = state.dataBytes;
    SymbolRecord record;
    record.width = width;
    record.height = height;
    record.format = format;
    record.dataOffset = static_cast<std::int32_t>(start + pixelsInChunk);
    record.paletteOffset = paletteInChunk < 0 ? -1 : static_cast<std::int32_t>(start + paletteInChunk);
    record.id = TakeNextId(state);
    state.records.push_back(record);
    state.tableBytes += 24;
    state.dataBytes += static_cast<std::int64_t>(bytes.size());
    state.chunks.push_back(SymbolChunk{std::move(bytes)});
}

bool InsertSortedById(SymbolConverter& state)
{
    auto& records = state.records;
    if (records.empty())
        return true;
    const SymbolRecord newest = records.back();
    auto end = records.end() - 1;
    auto place = std::lower_bound(records.begin(), end, newest.id,
                                  [](const SymbolRecord& r, std::int32_t id) { return r.id < id; });
    if (place != end && place->id == newest.id) {
        SetErrorState(RUNEMARK_DUPLICATE_ID);
        return false;
    }
    std::move_backward(place, end, records.end());
    *place = newest;
    return true;
}

}  // namespace runemark
