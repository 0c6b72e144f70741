// Publication dates of feed items as UTC stamps YYYYMMDDhhmmss: the RSS form
// (Tue, 05 Jan 2010 10:20:30 +0900) and the Atom form (2010-01-05T10:20:30.5+09:00).
#include <time.h>

#include <cwchar>
#include <cwctype>

#include "common/ClockTime.h"
#include "common/Utility.h"
#include "doc/DocRssPoi.h"

namespace {

const wchar_t kMonthNames[] = L"Jan\nFeb\nMar\nApr\nMay\nJun\nJul\nAug\nSep\nOct\nNov\nDec";

CString MonthName(int n)  // 0-based
{
    CString all = kMonthNames;
    return all.Mid(n * 4, 3);
}

// The field at start, length long, cut at the text's end.
CString Field(const CString& text, int start, int length)
{
    if (start >= text.GetLength() || start < 0)
        return CString();
    return text.Mid(start, length);
}

// Zone names RFC 822 defines, as minutes east of UTC.
bool NamedZoneOffset(const CString& name, int& minutes)
{
    static const struct {
        const wchar_t* name;
        int minutes;
    } zones[] = {{L"UT", 0},        {L"GMT", 0},       {L"Z", 0},         {L"EST", -5 * 60}, {L"EDT", -4 * 60},
                 {L"CST", -6 * 60}, {L"CDT", -5 * 60}, {L"MST", -7 * 60}, {L"MDT", -6 * 60}, {L"PST", -8 * 60},
                 {L"PDT", -7 * 60}};
    for (const auto& z : zones) {
        if (name == z.name) {
            minutes = z.minutes;
            return true;
        }
    }
    return false;
}

// The clock time of a zone minutes east of UTC, as a UTC stamp; 0 when invalid.
LONGLONG UtcStamp(int year, int month, int day, int hour, int minute, int second, int zoneMinutes)
{
    if (!IsValidDateTime(year, month, day, hour, minute, second))
        return 0;
    // Straight from the zone to UTC: no detour through the PC's local time,
    // which shifts clock times inside a daylight-saving change.
    const __int64 clock = ClockToSeconds(year, month, day, hour, minute, second);
    if (clock == -1 || !SecondsToClock(clock - zoneMinutes * 60LL, year, month, day, hour, minute, second))
        return 0;
    return MakeDateTimeNumber(year, month, day, hour, minute, second);
}

// 2010-01-05T10:20:30[.fraction](Z|+hh:mm|-hh:mm)
LONGLONG ParseIsoDate(const CString& text)
{
    const wchar_t* s = text;
    while (iswspace(*s))
        ++s;
    int year, month, day, hour, minute, second, used = 0;
    if (swscanf(s, L"%4d-%2d-%2d%*1[Tt ]%2d:%2d:%2d%n", &year, &month, &day, &hour, &minute, &second, &used) != 6 ||
        used < 19)
        return 0;
    const wchar_t* p = s + used;
    if (*p == L'.' || *p == L',') {
        ++p;
        if (!iswdigit(*p))
            return 0;
        while (iswdigit(*p))
            ++p;
    }
    int zone = 0;
    if (*p == L'Z' || *p == L'z') {
        ++p;
    } else if (*p == L'+' || *p == L'-') {
        int hh = 0, mm = 0, n = 0;
        if (swscanf(p + 1, L"%2d:%2d%n", &hh, &mm, &n) != 2 || n != 5 || hh > 23 || mm > 59)
            return 0;
        zone = (hh * 60 + mm) * (*p == L'-' ? -1 : 1);
        p += 1 + n;
    } else {
        return 0;  // a time without a zone is no point in time
    }
    while (iswspace(*p))
        ++p;
    if (*p)
        return 0;
    return UtcStamp(year, month, day, hour, minute, second, zone);
}

}  // namespace

int FindMonthName(const CString& text)
{
    for (int m = 0; m < 12; ++m) {
        int p = text.Find(MonthName(m));
        if (p >= 0)
            return p;
    }
    return -1;
}

int MonthNumber(const CString& name)
{
    for (int m = 0; m < 12; ++m)
        if (name == MonthName(m))
            return m + 1;
    return 0;
}

LONGLONG CDocRssPoi::ParsePubDate(const CString& text)
{
    CString trimmed = text;
    trimmed.Trim();
    if (trimmed.GetLength() >= 4 && iswdigit(trimmed[0]) && iswdigit(trimmed[1]) && iswdigit(trimmed[2]) &&
        iswdigit(trimmed[3]))
        return ParseIsoDate(trimmed);

    // The weekday is optional, so the day may stand at the very start.
    int p = FindMonthName(trimmed);
    if (p < 1)
        return 0;
    int dayStart = p >= 3 ? p - 3 : 0;
    CString dayText = Field(trimmed, dayStart, p - dayStart);
    dayText.Trim();
    if (dayText.IsEmpty() || !iswdigit(dayText[0]))
        return 0;
    int day = _wtoi(dayText);
    int month = MonthNumber(Field(trimmed, p, 3));
    if (Field(trimmed, p + 3, 1) != L" " || Field(trimmed, p + 8, 1) != L" " || Field(trimmed, p + 11, 1) != L":")
        return 0;
    int year = _wtoi(Field(trimmed, p + 4, 4));
    int hour = _wtoi(Field(trimmed, p + 9, 2));
    int minute = _wtoi(Field(trimmed, p + 12, 2));
    int second = Field(trimmed, p + 14, 1) == L":" ? _wtoi(Field(trimmed, p + 15, 2)) : 0;
    int zoneAt = Field(trimmed, p + 14, 1) == L":" ? p + 18 : p + 15;
    CString sign = Field(trimmed, zoneAt, 1);
    int zone = 0;
    if (sign == L"+" || sign == L"-") {
        CString digits = Field(trimmed, zoneAt + 1, 4);
        if (digits.GetLength() != 4 || digits.SpanIncluding(L"0123456789").GetLength() != 4)
            return 0;
        zone = (_wtoi(digits.Left(2)) * 60 + _wtoi(digits.Mid(2))) * (sign == L"-" ? -1 : 1);
    } else {
        CString name = trimmed.Mid(zoneAt < trimmed.GetLength() ? zoneAt : trimmed.GetLength());
        name.Trim();
        // An unknown zone name or none at all: the clock time is taken as UTC.
        int minutes = 0;
        if (NamedZoneOffset(name, minutes))
            zone = minutes;
    }
    return UtcStamp(year, month, day, hour, minute, second, zone);
}
