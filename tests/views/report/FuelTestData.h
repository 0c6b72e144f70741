#pragma once
// Fuel records for the tests: the records are told apart by their distance
// (in tenths), so a log reads as the list of its distances.
#include <string>
#include <vector>

#include "common/TextCheck.h"
#include "core/Global.h"
#include "core/LanguageFile.h"
#include "doc/DocFe.h"

namespace fueltest {

inline DOCFUEL_DATA Record(int distance, int year = 2010, int month = 1, int day = 1, int hour = 8, int minute = 0)
{
    DOCFUEL_DATA r{};
    r.year = year, r.month = month, r.day = day, r.hour = hour, r.minute = minute;
    r.distance = distance;
    r.amount = 3000;
    r.price = 150;
    r.latitude = r.longitude = kNoPosition;
    r.mileageUnit = 0;
    r.priceUnit = 3;
    return r;
}

// Placeholder texts "[UI n]" for the rows a headless test needs.
inline void FillUiStrings()
{
    if (theGlobal.m_uiStrings.GetSize() >= kUiStringCount)
        return;
    theGlobal.m_uiStrings.RemoveAll();
    for (int i = 0; i < kUiStringCount; ++i) {
        CString s;
        s.Format(L"[UI %d]", i);
        theGlobal.m_uiStrings.Add(s);
    }
}

inline void Prepare()
{
    InitCharClassTable();
    FillUiStrings();
    theGlobal.m_naviModel.m_modelGroup = CHARCLASS_GROUP1 | CHARCLASS_GROUP2;
    theGlobal.m_naviModel.m_brazilUnit = 0;
    theGlobal.m_distanceUnit = theGlobal.m_amountUnit = theGlobal.m_mileageUnit = 0;
    theGlobal.m_areaCode = 1;
}

inline std::vector<int> Distances(const CDocFe& doc)
{
    std::vector<int> d;
    for (int i = 0; i < doc.GetCount(); ++i)
        d.push_back(doc.m_records[i].distance);
    return d;
}

}  // namespace fueltest
