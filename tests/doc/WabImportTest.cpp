// The address-book import through the real loading path: the registry value
// names our stand-in library, which the import loads and reads. All steps run in
// one test, since they share the registry key.
#include <gtest/gtest.h>

#include <windows.h>

#include "TestFiles.h"
#include "common/LogWriter.h"
#include "core/Global.h"
#include "doc/DocImport.h"
#include "doc/WabContacts.h"

namespace {

const wchar_t kKey[] = L"Software\\Microsoft\\WAB\\DLLPath";

void SetWabPath(const std::wstring& path)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    RegSetValueExW(key, nullptr, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void RemoveWabKey() { RegDeleteKeyW(HKEY_LOCAL_MACHINE, kKey); }

using SetupFn = void(__cdecl*)(int, int);
using LiveFn = LONG(__cdecl*)();

TEST(WabImport, ReadsTheAddressBookThatTheRegistryNames)
{
    RemoveWabKey();
    {
        SCOPED_TRACE("no address book installed");
        EXPECT_EQ(L"", GetWabDllPath());
        CArray<CStringArray> rows;
        EXPECT_TRUE(ReadWabContacts(rows));
        EXPECT_EQ(0, rows.GetSize());
        CDocImport table;
        table.m_table.AddRow(L"old,row");
        EXPECT_TRUE(table.ImportWab());
        EXPECT_EQ(0, table.GetRowCount());
        EXPECT_EQ(0, table.GetErrorCode());
    }
    {
        SCOPED_TRACE("a path to a library that does not exist");
        SetWabPath(testsupport::ExeDir() + L"missing-wab.dll");
        CArray<CStringArray> rows;
        EXPECT_TRUE(ReadWabContacts(rows));
        EXPECT_EQ(0, rows.GetSize());
    }

    // The path goes through one %NAME% expansion.
    std::wstring dir = testsupport::ExeDir();
    SetEnvironmentVariableW(L"MIROVALE_WAB_DIR", dir.substr(0, dir.size() - 1).c_str());
    std::wstring dll = dir + L"fakewab32.dll";
    SetWabPath(L"%MIROVALE_WAB_DIR%\\fakewab32.dll");
    HMODULE fake = LoadLibraryW(dll.c_str());
    ASSERT_NE(nullptr, fake);
    auto setup = reinterpret_cast<SetupFn>(reinterpret_cast<void*>(GetProcAddress(fake, "FakeWabSetup")));
    auto live = reinterpret_cast<LiveFn>(reinterpret_cast<void*>(GetProcAddress(fake, "FakeWabLiveCount")));
    ASSERT_TRUE(setup && live);

    // Unicode answers (what the columns ask for), 8-bit answers, and a mix.
    for (int mode = 0; mode < 3; ++mode) {
        SCOPED_TRACE(testing::Message() << "string mode " << mode);
        setup(mode, 0);
        CArray<CStringArray> rows;
        ASSERT_TRUE(ReadWabContacts(rows));
        ASSERT_EQ(3, rows.GetSize());
        const CStringArray& john = rows[0];
        ASSERT_EQ(WAB_FIELD_COUNT, john.GetSize());
        EXPECT_EQ(L"Smith, John", john[WAB_DISPLAY_NAME]);
        EXPECT_EQ(L"1 Main St Springfield IL USA", john[WAB_HOME_ADDRESS]);
        EXPECT_EQ(L"555-0100", john[WAB_HOME_PHONE]);
        EXPECT_EQ(L"555-0101", john[WAB_MOBILE_PHONE]);
        EXPECT_EQ(L"Acme \"Tools\"", john[WAB_COMPANY]);
        EXPECT_EQ(L"9 Park Ave Chicago IL USA", john[WAB_BUSINESS_ADDRESS]);
        EXPECT_EQ(L"555-0200", john[WAB_BUSINESS_PHONE]);
        EXPECT_EQ(L"met at fair", john[WAB_COMMENT]);
        EXPECT_EQ(L"john@example.com", john[WAB_EMAIL]);
        EXPECT_EQ(L"Zo\u00EB M\u00FCller", rows[1][WAB_DISPLAY_NAME]);
        EXPECT_EQ(L"   ", rows[1][WAB_HOME_ADDRESS]);  // no part of the address
        EXPECT_EQ(L"", rows[1][WAB_HOME_PHONE]);
        EXPECT_EQ(L"zoe@example.com", rows[1][WAB_EMAIL]);
        EXPECT_EQ(L"Nobody", rows[2][WAB_DISPLAY_NAME]);
        EXPECT_EQ(0, live()) << "objects or buffers left unreleased";
    }

    // A failing step reports failure and still releases everything.
    for (int step = 1; step <= 5; ++step) {
        SCOPED_TRACE(testing::Message() << "failing step " << step);
        setup(0, step);
        CArray<CStringArray> rows;
        EXPECT_FALSE(ReadWabContacts(rows));
        EXPECT_EQ(0, rows.GetSize());
        EXPECT_EQ(0, live());
    }
    {
        SCOPED_TRACE("import table after a semicolon file");
        setup(2, 0);
        testsupport::TempDir tmp;
        testsupport::WriteBytes(tmp.File(L"semi.csv"), std::string("a;b;c\r\n"));
        CDocImport table;
        ASSERT_TRUE(table.SetDelimiterAndLoad(3, tmp.File(L"semi.csv").c_str()));
        ASSERT_TRUE(table.ImportWab());
        ASSERT_EQ(3, table.GetRowCount());
        EXPECT_EQ(L',', table.m_table.GetDelimiter());
        const CStringArray* row = table.m_table.GetRow(0);
        ASSERT_NE(nullptr, row);
        EXPECT_EQ(9, row->GetSize());
        CString cell;
        table.GetCell(0, 0, cell);
        EXPECT_EQ(L"Smith, John", cell);  // quoted, so the comma stays in the field
        table.GetCell(0, 4, cell);
        EXPECT_EQ(L"Acme \"Tools\"", cell);
        table.GetCell(1, 1, cell);
        EXPECT_EQ(L"   ", cell);
        EXPECT_EQ(0, live());

        setup(0, 5);
        EXPECT_FALSE(table.ImportWab());
        EXPECT_EQ(2, table.GetErrorCode());
        EXPECT_EQ(0, table.GetRowCount());
    }
    {
        SCOPED_TRACE("trace log of an import");
        setup(0, 0);
        CString logPath = GetLogFilePath();
        DeleteFileW(logPath);
        SetLogEnabled(true);
        CDocImport table;
        EXPECT_TRUE(table.ImportWab());
        SetLogEnabled(false);
        auto bytes = testsupport::ReadBytes(logPath.GetString());
        DeleteFileW(logPath);
        std::string log(bytes.begin(), bytes.end());
        size_t at = 0;
        for (const char* step : {"LoadLibrary", "GetProcAddress", "procWABOpen", "GetPAB", "OpenEntry",
                                 "GetContentsTable", "GetRowCount", "SetColumns", "QueryRows", "SetSize",
                                 "SPropValue", "SetAt", "Release WABOb Unk Table", "Release AdrBook", "FreeLibrary",
                                 "AddLine"}) {
            size_t found = log.find(std::string("\t\t") + step + "\r\n", at);
            EXPECT_NE(std::string::npos, found) << step << " missing or out of order";
            if (found != std::string::npos)
                at = found;
        }
    }
    {
        SCOPED_TRACE("the personal address book is not a container");
        setup(0, 6);
        CArray<CStringArray> rows;
        EXPECT_TRUE(ReadWabContacts(rows));
        EXPECT_EQ(0, rows.GetSize());
        EXPECT_EQ(0, live());
    }
    setup(0, 0);
    FreeLibrary(fake);
    RemoveWabKey();
}

}  // namespace
