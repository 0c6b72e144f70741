#pragma once
// Shared set-up of the document tests: a UI string table whose entry n reads
// "S<n>", the model type and group of the unit, and a private temporary folder.
#include <windows.h>

#include <cwchar>
#include <string>

#include "TestFiles.h"
#include "core/Global.h"
#include "doc/PoiRecord.h"

namespace doctest {

inline void FillUiStrings(int count = 440)
{
    theGlobal.m_uiStrings.RemoveAll();
    for (int i = 0; i < count; ++i) {
        CString s;
        s.Format(L"S%d", i);
        theGlobal.m_uiStrings.Add(s);
    }
}

// Model type and the group that goes with it (0 and 2 are group 1).
inline void SetModel(int type)
{
    theGlobal.m_modelType = type;
    theGlobal.m_naviModel.m_naviModelType = type;
    theGlobal.m_naviModel.m_modelGroup = (type == 0 || type == 2) ? 1 : 2;
}

inline DOCPI_RECORD MakePoi(const wchar_t* name, double lon, double lat, const wchar_t* address = L"",
                            const wchar_t* phone = L"", const wchar_t* description = L"")
{
    CDocPiRecord r;
    r.m_name = name;
    r.m_address = address;
    r.m_telephone = phone;
    r.m_description = description;
    r.m_longitude = lon;
    r.m_latitude = lat;
    DOCPI_RECORD rec;
    r.ToDocPiRecord(rec);
    return rec;
}

// A temporary folder of the test's own as the user's temporary folder, so that
// work files an export leaves behind can be seen; restored afterwards.
class PrivateTemp {
public:
    PrivateTemp()
    {
        Save(L"TMP", m_tmp);
        Save(L"TEMP", m_temp);
        SetEnvironmentVariableW(L"TMP", m_dir.Path().c_str());
        SetEnvironmentVariableW(L"TEMP", m_dir.Path().c_str());
    }
    ~PrivateTemp()
    {
        SetEnvironmentVariableW(L"TMP", m_tmp.empty() ? nullptr : m_tmp.c_str());
        SetEnvironmentVariableW(L"TEMP", m_temp.empty() ? nullptr : m_temp.c_str());
    }
    const std::wstring& Path() const { return m_dir.Path(); }
    // Names in the folder (none after a clean export).
    int CountEntries() const
    {
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((m_dir.Path() + L"*").c_str(), &fd);
        int n = 0;
        if (h == INVALID_HANDLE_VALUE)
            return 0;
        do
            n += wcscmp(fd.cFileName, L".") != 0 && wcscmp(fd.cFileName, L"..") != 0;
        while (FindNextFileW(h, &fd));
        FindClose(h);
        return n;
    }

private:
    static void Save(const wchar_t* name, std::wstring& out)
    {
        wchar_t buf[MAX_PATH] = {};
        if (GetEnvironmentVariableW(name, buf, MAX_PATH))
            out = buf;
    }
    testsupport::TempDir m_dir;
    std::wstring m_tmp, m_temp;
};

}  // namespace doctest
