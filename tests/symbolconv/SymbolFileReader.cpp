#include "SymbolFileReader.h"

#include <algorithm>

namespace symboltest {

namespace {

std::int64_t ChunkSizeOf(const SymbolEntry& e)
{
    const std::int64_t w = e.width, h = e.height;
    switch (e.format) {
    case 0x81:
    case 1:
        return w * h * 2;
    case 0x83:
    case 3:
        return w * h * 3;
    case 2:
        return (w + 7) / 8 * h;
    default:
        return -1;  // format 4: up to the next chunk
    }
}

}  // namespace

::testing::AssertionResult ReadSymbolFile(const std::wstring& path, SymbolFile& file)
{
    using ::testing::AssertionFailure;
    if (!testsupport::FileExists(path))
        return AssertionFailure() << "no symbol file";
    const Bytes bytes = testsupport::ReadBytes(path);
    const std::int64_t size = static_cast<std::int64_t>(bytes.size());
    if (size < 20)
        return AssertionFailure() << "file of " << size << " bytes is shorter than its header";
    if (std::string(bytes.begin(), bytes.begin() + 4) != "BMYS")
        return AssertionFailure() << "magic is not BMYS";
    file = SymbolFile{};
    file.fileSize = GetU32(bytes, 4);
    file.count = GetU32(bytes, 8);
    file.groupNumber = static_cast<std::int32_t>(GetU32(bytes, 12));
    file.stamp = GetU32(bytes, 16);
    if (file.fileSize != bytes.size())
        return AssertionFailure() << "size field " << file.fileSize << ", real size " << size;
    const std::int64_t dataStart = 20 + 24 * static_cast<std::int64_t>(file.count);
    if (dataStart > size)
        return AssertionFailure() << "table of " << file.count << " entries beyond the end";

    struct Span {
        std::int64_t start, pixels, end;
        std::size_t entry;
    };
    std::vector<Span> spans;
    for (std::uint32_t i = 0; i < file.count; ++i) {
        const std::size_t at = 20 + 24 * i;
        SymbolEntry e;
        e.width = static_cast<std::int32_t>(GetU32(bytes, at));
        e.height = static_cast<std::int32_t>(GetU32(bytes, at + 4));
        e.format = static_cast<std::int32_t>(GetU32(bytes, at + 8));
        e.dataOffset = static_cast<std::int32_t>(GetU32(bytes, at + 12));
        e.id = static_cast<std::int32_t>(GetU32(bytes, at + 16));
        e.paletteOffset = static_cast<std::int32_t>(GetU32(bytes, at + 20));
        if (!file.entries.empty() && file.entries.back().id >= e.id)
            return AssertionFailure() << "entry " << i << ": id " << e.id << " not above " << file.entries.back().id;
        const std::int64_t pixels = 8 + static_cast<std::int64_t>(e.dataOffset);
        if (e.format == 4) {
            if (e.paletteOffset == -1)
                return AssertionFailure() << "entry " << i << ": format 4 without a palette";
            spans.push_back({8 + static_cast<std::int64_t>(e.paletteOffset), pixels, -1, i});
        } else {
            if (e.paletteOffset != -1)
                return AssertionFailure() << "entry " << i << ": paletteOffset " << e.paletteOffset;
            const std::int64_t chunk = ChunkSizeOf(e);
            if (chunk < 0)
                return AssertionFailure() << "entry " << i << ": unknown format " << e.format;
            spans.push_back({pixels, pixels, pixels + chunk, i});
        }
        file.entries.push_back(e);
    }
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.start < b.start; });
    std::int64_t next = dataStart;
    for (std::size_t k = 0; k < spans.size(); ++k) {
        Span& s = spans[k];
        if (s.start != next)
            return AssertionFailure() << "chunk of entry " << s.entry << " starts at " << s.start << ", expected "
                                      << next;
        if (s.end < 0)
            s.end = k + 1 < spans.size() ? spans[k + 1].start : size;
        const SymbolEntry& e = file.entries[s.entry];
        if (s.pixels < s.start || s.end > size || s.pixels > s.end)
            return AssertionFailure() << "chunk of entry " << s.entry << " [" << s.start << ", " << s.end
                                      << ") with pixels at " << s.pixels << " does not fit";
        if (e.format == 4) {
            const std::int64_t rows = e.height < 0 ? -static_cast<std::int64_t>(e.height) : e.height;
            if (s.pixels + (e.width + 3) / 4 * 4 * rows > s.end)
                return AssertionFailure() << "rows of entry " << s.entry << " run past its chunk";
        }
        next = s.end;
    }
    if (next != size)
        return AssertionFailure() << "chunks end at " << next << ", file at " << size;

    file.pixels.resize(file.count);
    file.palettes.resize(file.count);
    for (const Span& s : spans) {
        file.pixels[s.entry].assign(bytes.begin() + s.pixels, bytes.begin() + s.end);
        file.palettes[s.entry].assign(bytes.begin() + s.start, bytes.begin() + s.pixels);
        file.chunkOrder.push_back(s.entry);
    }
    return ::testing::AssertionSuccess();
}

}  // namespace symboltest
