#include "core/SettingsText.h"

#include <cwchar>

RECT ParseRectText(const wchar_t* text)
{
    LONG v[4] = {};
    CString field;
    for (int i = 0; i < 4; ++i)
        if (AfxExtractSubString(field, text ? text : L"", i, L','))
            v[i] = std::wcstol(field, nullptr, 10);
    return RECT{v[0], v[1], v[2], v[3]};
}

CString FormatRectText(int left, int top, int right, int bottom)
{
    CString s;
    s.Format(L"%d,%d,%d,%d", left, top, right, bottom);
    return s;
}

void ParseIntListText(const wchar_t* text, CDWordArray& values)
{
    CString field;
    for (int i = 0; AfxExtractSubString(field, text ? text : L"", i, L','); ++i)
        values.Add(static_cast<DWORD>(std::wcstol(field, nullptr, 10)));
}

CString FormatIntListText(const CDWordArray& values)
{
    CString s;
    for (INT_PTR i = 0; i < values.GetSize(); ++i)
        s.AppendFormat(L",%d", static_cast<int>(values[i]));
    s.Delete(0, 1);
    return s;
}
