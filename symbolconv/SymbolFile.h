#pragma once
// The symbol file: a 20-byte header ("BMYS", file size, count, group number,
// version stamp), the 24-byte table entries, then the pixel chunks. Offsets
// in the entries count from file offset 8.
#include "symbolconv/SymbolConverter.h"

#include <cstdint>
#include <string>

namespace runemark {

constexpr std::int64_t kSymbolHeaderSize = 20;
constexpr std::int64_t kSymbolEntrySize = 24;

// Writes the state's entries and chunks to path, releasing each chunk once it
// is written. The bytes go to a temporary file beside path that replaces the
// old file only when complete, so a failure (code 5) leaves no partial file.
bool WriteSymbolFile(const std::string& path, SymbolConverter& state, std::uint32_t versionStamp);

}  // namespace runemark
