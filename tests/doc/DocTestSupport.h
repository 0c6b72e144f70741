#pragma once
// Shared set-up of the document tests: a UI string table whose entry n reads
// "S<n>", and the model type and group of the unit.
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

}  // namespace doctest
