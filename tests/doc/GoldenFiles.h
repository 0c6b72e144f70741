#pragma once
// Golden files in the source tree (tests/doc/golden/ unless a test names
// another folder): the exact bytes a writer must produce.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TestFiles.h"

namespace golden {

inline std::wstring Path(const wchar_t* name, const wchar_t* folder = L"tests\\doc\\golden")
{
    return testsupport::SourceFile(std::wstring(folder) + L"\\" + name);
}

// Compares a written file with its golden copy; with MIROVALE_UPDATE_GOLDEN set
// the golden copy is written instead (after a reviewed change of a format).
inline void Expect(const wchar_t* name, const std::wstring& written, const wchar_t* folder = L"tests\\doc\\golden")
{
    testsupport::Bytes bytes = testsupport::ReadBytes(written);
    if (GetEnvironmentVariableW(L"MIROVALE_UPDATE_GOLDEN", nullptr, 0)) {
        testsupport::WriteBytes(Path(name, folder), bytes);
        return;
    }
    ASSERT_TRUE(testsupport::FileExists(Path(name, folder))) << "no golden file " << testsupport::Utf8(name);
    EXPECT_EQ(testsupport::ReadBytes(Path(name, folder)), bytes) << "differs from " << testsupport::Utf8(name);
}

}  // namespace golden
