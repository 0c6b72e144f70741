#include "common/ModuleVersion.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The fixed file version as the system's own version API reads it from the file.
bool SystemFileVersion(HMODULE module, int parts[4])
{
    wchar_t path[MAX_PATH] = {};
    if (!::GetModuleFileNameW(module, path, MAX_PATH))
        return false;
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &handle);
    if (size == 0)
        return false;
    std::vector<BYTE> block(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::GetFileVersionInfoW(path, 0, size, block.data()) ||
        !::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
        return false;
    parts[0] = HIWORD(info->dwFileVersionMS);
    parts[1] = LOWORD(info->dwFileVersionMS);
    parts[2] = HIWORD(info->dwFileVersionLS);
    parts[3] = LOWORD(info->dwFileVersionLS);
    return true;
}

}  // namespace

TEST(ModuleVersion, SameFourPartsAsTheSystemReads)
{
    for (const wchar_t* name : {L"kernel32.dll", L"user32.dll", L"comctl32.dll"}) {
        const HMODULE module = ::LoadLibraryW(name);
        ASSERT_NE(nullptr, module) << name;
        int expected[4] = {}, parts[4] = {-1, -1, -1, -1};
        ASSERT_TRUE(SystemFileVersion(module, expected)) << name;
        EXPECT_TRUE(ReadFileVersion(module, parts)) << name;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(expected[i], parts[i]) << name << " part " << i;
        ::FreeLibrary(module);
    }
}

TEST(ModuleVersion, AModuleWithoutVersionGivesZeros)
{
    // This test program is linked without the program's resources.
    int parts[4] = {7, 7, 7, 7};
    EXPECT_FALSE(ReadFileVersion(nullptr, parts));
    for (int part : parts)
        EXPECT_EQ(0, part);
}
