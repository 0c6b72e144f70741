#include "core/SettingsText.h"

#include <cwchar>
#include <cwctype>

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

namespace {
// A whole text of decimal digits within [0, max].
bool ReadPlainNumber(const CString& text, long max, long& value)
{
    if (text.IsEmpty() || text.GetLength() > 9)
        return false;
    for (int i = 0; i < text.GetLength(); ++i)
        if (text[i] < L'0' || text[i] > L'9')
            return false;
    value = std::wcstol(text, nullptr, 10);
    return value <= max;
}
}  // namespace

BOOL ParseIntListText(const wchar_t* text, CDWordArray& values)
{
    values.RemoveAll();
    CString all(text ? text : L"");
    all.Trim();
    if (all.IsEmpty())
        return FALSE;
    // One pass over the fields.
    int start = 0;
    for (;;) {
        const int comma = all.Find(L',', start);
        CString field = comma < 0 ? all.Mid(start) : all.Mid(start, comma - start);
        field.Trim();
        long value = 0;
        if (!ReadPlainNumber(field, 65535, value)) {
            values.RemoveAll();
            return FALSE;
        }
        values.Add(static_cast<DWORD>(value));
        if (comma < 0)
            return TRUE;
        start = comma + 1;
    }
}

BOOL ParseRatioText(const wchar_t* text, float& ratio)
{
    CString t(text ? text : L"");
    t.Trim();
    long value = 0;
    if (!ReadPlainNumber(t, 10000, value))
        return FALSE;
    ratio = static_cast<float>(value * 0.0001);
    return TRUE;
}

CString FullFolderOr(const wchar_t* folder, const wchar_t* fallback)
{
    const CString f(folder ? folder : L"");
    const bool drive = f.GetLength() >= 3 && iswalpha(f[0]) && f[1] == L':' && (f[2] == L'\\' || f[2] == L'/');
    const bool share = f.GetLength() >= 3 && f[0] == L'\\' && f[1] == L'\\';
    return drive || share ? f : CString(fallback ? fallback : L"");
}

CString FormatIntListText(const CDWordArray& values)
{
    CString s;
    for (INT_PTR i = 0; i < values.GetSize(); ++i)
        s.AppendFormat(L",%d", static_cast<int>(values[i]));
    s.Delete(0, 1);
    return s;
}

CString WebBaseOr(const wchar_t* text, const wchar_t* fallback)
{
    CString base(text);
    base.Trim();
    const bool web = _wcsnicmp(base, L"http://", 7) == 0 ? base.GetLength() > 7
                     : _wcsnicmp(base, L"https://", 8) == 0 ? base.GetLength() > 8
                                                             : false;
    if (!web)
        return fallback;
    if (base.Right(1) != L"/")
        base += L"/";
    return base;
}
