#pragma once
// One conversion run: names the output, converts the bitmaps of the folder
// (or of its list file "symbolid.txt") and writes the symbol file.
#include "symbolconv/SymbolConverter.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace runemark {

// Returns 0 or a code of RunemarkResult. The symbol prefix is accepted and
// does not change the file.
int ConvertSymbols(SymbolConverter& state, const std::string& folder, std::string groupName,
                   const std::string& symbolPrefix, std::int32_t groupNumber, std::uint32_t versionStamp);

// Folder mode: every "*.bmp" of the folder, ids counted in directory order.
bool ScanBmpFolder(SymbolConverter& state, const std::string& folder);

// List mode: the bitmaps and ids named by the open list file.
bool ParseSymbolList(SymbolConverter& state, std::FILE* list, const std::string& listPath);

}  // namespace runemark
