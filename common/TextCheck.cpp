#include "common/TextCheck.h"

CCharClassMap theCharClassMap;

BOOL CCharClassMap::Lookup(wchar_t c, WORD& flags) const
{
    size_t i = static_cast<size_t>(c);
    if (i >= m_flags.size() || m_flags[i] == 0)
        return FALSE;
    flags = m_flags[i];
    return TRUE;
}

void CCharClassMap::SetAt(wchar_t c, WORD flags)
{
    if (m_flags.empty())
        m_flags.assign(0x10000, 0);
    WORD& slot = m_flags[static_cast<size_t>(c)];
    if (slot == 0 && flags != 0)
        ++m_count;
    else if (slot != 0 && flags == 0)
        --m_count;
    slot = flags;
}

namespace {

struct Range {
    wchar_t first, last;
};

const Range kGroup1[] = {
    {0x0020, 0x007E}, {0x00A0, 0x017F}, {0x018F, 0x018F}, {0x0192, 0x0192}, {0x01A0, 0x01A1}, {0x01AF, 0x01B0},
    {0x01FA, 0x01FF}, {0x0218, 0x021B}, {0x0259, 0x0259}, {0x02C6, 0x02C7}, {0x02C9, 0x02C9}, {0x02D8, 0x02DD},
    {0x0300, 0x0301}, {0x0303, 0x0303}, {0x0309, 0x0309}, {0x0323, 0x0323}, {0x0340, 0x0341}, {0x037E, 0x037E},
    {0x0384, 0x038A}, {0x038C, 0x038C}, {0x038E, 0x03A1}, {0x03A3, 0x03CE}, {0x0400, 0x045F}, {0x0490, 0x0493},
    {0x0496, 0x0497}, {0x049A, 0x049D}, {0x04A2, 0x04A3}, {0x04AE, 0x04B3}, {0x04B8, 0x04BB}, {0x04D8, 0x04D9},
    {0x04E8, 0x04E9},
};
const Range kGroup2[] = {
    {0x0020, 0x007E}, {0x00A0, 0x017F}, {0x0192, 0x0192}, {0x01FA, 0x01FF}, {0x0384, 0x0386}, {0x0388, 0x038A},
    {0x038C, 0x038C}, {0x038E, 0x03A1}, {0x03A3, 0x03CE}, {0x0401, 0x040C}, {0x040E, 0x044F}, {0x0451, 0x045C},
    {0x045E, 0x045F}, {0x0490, 0x0491},
};
const Range kSigned[] = {{0x002C, 0x002E}, {0x0030, 0x0039}};
const Range kUnsigned[] = {{0x002C, 0x002C}, {0x002E, 0x002E}, {0x0030, 0x0039}};

template <size_t N>
void AddRanges(const Range (&ranges)[N], WORD flag)
{
    for (const Range& r : ranges)
        for (unsigned c = r.first; c <= r.last; ++c) {
            WORD flags = 0;
            theCharClassMap.Lookup(static_cast<wchar_t>(c), flags);
            theCharClassMap.SetAt(static_cast<wchar_t>(c), flags | flag);
        }
}

bool OfClass(wchar_t c, int mask)
{
    WORD flags = 0;
    return theCharClassMap.Lookup(c, flags) && (flags & mask) != 0;
}

}  // namespace

void InitCharClassTable()
{
    theCharClassMap.RemoveAll();
    AddRanges(kGroup1, CHARCLASS_GROUP1);
    AddRanges(kGroup2, CHARCLASS_GROUP2);
    AddRanges(kSigned, CHARCLASS_SIGNED);
    AddRanges(kUnsigned, CHARCLASS_UNSIGNED);
}

BOOL IsTextOfClass(const wchar_t* text, int mask)
{
    if (!text)
        return FALSE;
    for (; *text; ++text)
        if (!OfClass(*text, mask))
            return FALSE;
    return TRUE;
}

BOOL ReplaceCharsNotOfClass(wchar_t* text, int mask)
{
    if (!text)
        return FALSE;
    for (; *text; ++text)
        if (!OfClass(*text, mask))
            *text = L'?';
    return TRUE;
}

BOOL IsValidLatLon(int latitude, int longitude)
{
    double lat = latitude / 1000000.0, lon = longitude / 1000000.0;
    return lat >= -90.0 && lat <= 90.0 && lon >= -180.0 && lon <= 180.0;
}

CString ExpandEnvVars(const wchar_t* text)
{
    CString result(text);
    int open = result.Find(L'%');
    if (open < 0)
        return result;
    int close = result.Find(L'%', open + 1);
    if (close < 0)
        return result;
    CString token = result.Mid(open, close - open + 1);
    CString name = result.Mid(open + 1, close - open - 1);
    CString value;
    if (!name.IsEmpty()) {
        // Sized by what the variable needs, so a long value is taken whole.
        DWORD need = GetEnvironmentVariableW(name, nullptr, 0);
        if (need > 0) {
            DWORD got = GetEnvironmentVariableW(name, value.GetBuffer(static_cast<int>(need)), need);
            value.ReleaseBuffer(got < need ? static_cast<int>(got) : 0);
        }
    }
    result.Replace(token, value);
    return result;
}

int ValidateFieldText(const char* text, int checks)
{
    if (!text)
        return -1;
    if (checks & FIELD_CHECK_DIGITS)
        for (; *text; ++text)
            if (*text < '0' || *text > '9')
                return 1;
    return 0;
}
