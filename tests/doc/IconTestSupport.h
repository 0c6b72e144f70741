#pragma once
// A skin pack with every stock icon the POI icon document asks for, each in a
// colour of its own, and user icon files in a folder.
#include <string>
#include <vector>

#include "DocTestSupport.h"
#include "ImageFixtures.h"
#include "TestFiles.h"

namespace icontest {

// The colour of stock icon entry k of a set (set 0: 746_POI, 1: 005_32k, 2: 007_32K).
inline imagetest::Rgb StockColour(int set, int k)
{
    return imagetest::Rgb{static_cast<BYTE>(40 + set * 60), static_cast<BYTE>(k * 3), static_cast<BYTE>(200 - k)};
}

inline testsupport::Bytes SolidBmp(int size, imagetest::Rgb c)
{
    return imagetest::MakeBmp(size, size, [c](int, int) { return c; });
}

// Opens theFileArchive on the stock pack (written where imagetest::OpenPack
// keeps its packs, not in the folder); skip names an entry to leave out.
inline bool OpenStockPack(const testsupport::TempDir&, const std::string& skip = std::string())
{
    std::vector<imagetest::PackEntry> entries;
    char name[40];
    for (int i = 0; i < 74; ++i) {
        snprintf(name, sizeof(name), "746_POI_%03d.bmp", i);
        entries.push_back({name, SolidBmp(32, StockColour(0, i))});
    }
    for (int i = 0; i <= 30; ++i) {
        snprintf(name, sizeof(name), "005_32k_OM-3%02d.bmp", i);
        entries.push_back({name, SolidBmp(24, StockColour(1, i))});
    }
    for (int i = 1; i <= 30; ++i) {
        snprintf(name, sizeof(name), "007_32K_OM-5%02d.bmp", i);
        entries.push_back({name, SolidBmp(32, StockColour(2, i))});
    }
    entries.push_back({"007_32K_OM-540.bmp", SolidBmp(32, {1, 2, 3})});
    entries.push_back({"poi_mapclose.bmp", SolidBmp(32, {250, 0, 250})});
    std::vector<imagetest::PackEntry> kept;
    for (auto& e : entries)
        if (e.name != skip)
            kept.push_back(e);
    return imagetest::OpenPack(kept);
}

// Writes count user icons "u00.bmp", "u01.bmp", ... of a size into folder.
inline void WriteUserIcons(const std::wstring& folder, int count, int size)
{
    for (int i = 0; i < count; ++i) {
        wchar_t name[16];
        swprintf(name, 16, L"u%02d.bmp", i);
        testsupport::WriteBytes(folder + name, SolidBmp(size, {static_cast<BYTE>(i), 100, 50}));
    }
}

}  // namespace icontest
