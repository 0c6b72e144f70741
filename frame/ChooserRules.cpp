#include "frame/ChooserRules.h"

namespace {

CString WithoutExtension(const CString& name)
{
    const int dot = name.ReverseFind(L'.');
    return dot >= 0 ? name.Left(dot) : name;
}

bool BeginsWithNoCase(const CString& text, const CString& prefix)
{
    return text.GetLength() >= prefix.GetLength() && text.Left(prefix.GetLength()).CompareNoCase(prefix) == 0;
}

// An exact match wins over a prefix match, so "KV4" never takes the row of
// "KV410" when "KV4" itself is listed.
int FindRow(const CStringArray& rows, const CString& text)
{
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
        if (rows[i].CompareNoCase(text) == 0)
            return static_cast<int>(i);
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
        if (BeginsWithNoCase(rows[i], text))
            return static_cast<int>(i);
    return -1;
}

const wchar_t* const kRegions1[] = {L"USA/Canada", L"Australia", L"Brazil"};
const wchar_t* const kPrefixes1[] = {L"US", L"AU", L"BR"};
const wchar_t* const kRegions2[] = {L"Europe", L"Russia"};
const wchar_t* const kPrefixes2[] = {L"EU", L"RU"};

}  // namespace

CString LanguageDisplayName(const CString& fileName)
{
    const CString name = WithoutExtension(fileName);
    return name == L"Portuguese_Brazil" ? CString(L"Portuguese") : name;
}

int PreselectLanguageRow(const CStringArray& rows, const CString& remembered, int areaCode)
{
    if (rows.GetSize() == 0)
        return -1;
    CString file = remembered;
    if (file == L"Portuguese_Brazil.dat")
        file = L"Portuguese.dat";
    const CString wanted = WithoutExtension(file);
    int row = wanted.IsEmpty() ? -1 : FindRow(rows, wanted);
    if (row < 0)
        row = FindRow(rows, areaCode == 2 ? L"English_UK" : L"English_US");
    return row < 0 ? 0 : row;
}

CString ModelDisplayName(const CString& fileName)
{
    return WithoutExtension(fileName.Mid(3));
}

int ModelListOf(const CString& fileName, int areaCode)
{
    const CString prefix = fileName.Left(2);
    const int count = RegionCountOf(areaCode);
    const wchar_t* const* prefixes = areaCode == 2 ? kPrefixes2 : kPrefixes1;
    for (int i = 0; i < count; ++i)
        if (prefix == prefixes[i])
            return i;
    return -1;
}

int RegionCountOf(int areaCode)
{
    return areaCode == 2 ? 2 : areaCode == 1 ? 3 : 0;
}

const wchar_t* RegionNameOf(int areaCode, int index)
{
    if (index < 0 || index >= RegionCountOf(areaCode))
        return L"";
    return areaCode == 2 ? kRegions2[index] : kRegions1[index];
}

int PreselectModelRow(const CStringArray& rows, const CString& remembered)
{
    if (remembered.IsEmpty())
        return rows.GetSize() > 0 ? 0 : -1;
    return FindRow(rows, ModelDisplayName(remembered));
}

void ResetUnitsForRegion(int newRegion, int& distance, int& amount, int& mileage)
{
    if (newRegion == 0) {
        distance = 1;
        amount = 1;
        mileage = 3;
    } else {
        distance = amount = mileage = 0;
    }
}
