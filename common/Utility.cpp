#include "common/Utility.h"

#include <algorithm>
#include <vector>

int PercentToPixels(int percent)
{
    return 12 * percent / 100;
}

BOOL CreateTahomaFont(BOOL bold, HFONT* font, int percent, BOOL underline)
{
    if (!font)
        return FALSE;
    LOGFONTW lf{};
    if (!GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf))
        return FALSE;
    lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
    lf.lfHeight = -PercentToPixels(percent);
    lf.lfWidth = 0;
    lf.lfWeight = bold ? 600 : 200;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfQuality = ANTIALIASED_QUALITY;
    HFONT f = CreateFontIndirectW(&lf);
    if (!f)
        return FALSE;
    *font = f;
    return TRUE;
}

int FitFontPercent(HDC dc, int percent, const RECT* rect, const wchar_t* text, BOOL bold)
{
    // The smallest percent whose pixel height is still kMinFitFontPixels.
    const int minPercent = (kMinFitFontPixels * 100 + 11) / 12;
    if (!dc || !rect || !text)
        return percent;
    int width = rect->right - rect->left, height = rect->bottom - rect->top;
    int lines = 1 + static_cast<int>(std::count(text, text + wcslen(text), L'\n'));
    int p = percent;
    HFONT font = nullptr;
    if (!CreateTahomaFont(bold, &font, p, FALSE))
        return percent;
    HGDIOBJ previous = SelectObject(dc, font);
    const wchar_t* line = text;
    for (;;) {
        const wchar_t* end = wcschr(line, L'\n');
        int length = end ? static_cast<int>(end - line) : static_cast<int>(wcslen(line));
        SIZE size{};
        GetTextExtentPoint32W(dc, line, length, &size);
        // Bounded: a text that fits nowhere ends at the smallest size.
        while ((size.cx > width || size.cy * lines > height) && p > minPercent) {
            HFONT smaller = nullptr;
            if (!CreateTahomaFont(bold, &smaller, p - 1, FALSE))
                break;
            --p;
            SelectObject(dc, smaller);
            DeleteObject(font);
            font = smaller;
            GetTextExtentPoint32W(dc, line, length, &size);
        }
        if (!end)
            break;
        line = end + 1;
    }
    SelectObject(dc, previous);
    DeleteObject(font);
    return p;
}

void DrawTextShrinkToFit(HDC dc, int percent, const RECT* rect, const wchar_t* text, BOOL bold, UINT format)
{
    if (!dc || !rect || !text)
        return;
    HFONT font = nullptr;
    if (!CreateTahomaFont(bold, &font, FitFontPercent(dc, percent, rect, text, bold), FALSE))
        return;
    HGDIOBJ previous = SelectObject(dc, font);
    RECT r = *rect;
    DrawTextW(dc, text, -1, &r, format);
    SelectObject(dc, previous);
    DeleteObject(font);
}

namespace {

int TextWidth(HDC dc, const std::wstring& s)
{
    SIZE size{};
    GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &size);
    return size.cx;
}

}  // namespace

CString WrapText(const wchar_t* text, HDC dc, int lineCount, int width, BOOL moveOverflowWord)
{
    if (!text)
        return CString();
    if (lineCount == 0 || lineCount == 1 || !dc)
        return CString(text);
    // Every piece between blanks is a word, empty ones from repeated blanks too.
    std::vector<std::wstring> words;
    std::wstring all(text);
    size_t start = 0;
    for (;;) {
        size_t blank = all.find(L' ', start);
        words.push_back(all.substr(start, blank == std::wstring::npos ? std::wstring::npos : blank - start));
        if (blank == std::wstring::npos)
            break;
        start = blank + 1;
    }
    int wordCount = static_cast<int>(words.size());
    if (lineCount > wordCount)
        return CString(text);
    if (lineCount < 0)
        lineCount = wordCount;

    std::wstring result;
    size_t next = 0;
    for (int j = 0; j < lineCount && next < words.size(); ++j) {
        bool last = j == lineCount - 1;
        std::wstring line;
        bool first = true;
        while (next < words.size()) {
            std::wstring candidate = first ? words[next] : line + L' ' + words[next];
            if (TextWidth(dc, candidate) <= width || last) {
                line = candidate;  // fits, or the last line takes all the rest
                first = false;
                ++next;
                continue;
            }
            // Too wide: the word starts the next line, or stays here anyway.
            if (!moveOverflowWord) {
                line = candidate;
                ++next;
            }
            break;
        }
        if (j > 0)
            result += L'\n';
        result += line;
    }
    return CString(result);
}

CString WrapTextToRect(const RECT* rect, const wchar_t* text, int maxLines, int percent, BOOL bold,
                       BOOL moveOverflowWord)
{
    if (!rect || !text)
        return CString();
    if (maxLines == 0)
        maxLines = 1;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return CString();
    HFONT font = nullptr;
    if (!CreateTahomaFont(bold, &font, percent, FALSE)) {
        DeleteDC(dc);
        return CString();
    }
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE whole{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &whole);
    int width = rect->right - rect->left, height = rect->bottom - rect->top;
    CString result;
    bool done = false;
    for (int i = 1; i <= maxLines; ++i) {
        if (whole.cx / i <= width && whole.cy * i <= height) {
            result = WrapText(text, dc, i, whole.cx / i, moveOverflowWord);
            done = true;
            break;
        }
    }
    if (!done)
        result = maxLines > 0 ? WrapText(text, dc, maxLines, whole.cx / maxLines, moveOverflowWord)
                              : WrapText(text, dc, maxLines, width, moveOverflowWord);
    SelectObject(dc, previous);
    DeleteObject(font);
    DeleteDC(dc);
    return result;
}

CString FormatQuotedEllipsis(HDC dc, const RECT* rect, const wchar_t* text)
{
    if (!dc || !rect)
        return CString();
    RECT frame{0, 0, 0, 0};
    DrawTextW(dc, L"  \"\" ", -1, &frame, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    int fw = frame.right - frame.left;
    RECT avail = *rect;
    avail.right = std::max(rect->right - fw, rect->left + 32);
    avail.bottom = avail.top;
    // DT_MODIFYSTRING may write up to four characters more than the text.
    std::wstring buffer(text ? text : L"");
    size_t length = buffer.size();
    buffer.resize(length + 5, L'\0');
    DrawTextW(dc, buffer.data(), static_cast<int>(length), &avail,
              DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_NOPREFIX | DT_SINGLELINE);
    buffer.resize(wcslen(buffer.c_str()));
    return CString(L"  \"") + CString(buffer) + L"\" ";
}

void PackDateTimeNumbers(const SYSTEMTIME& t, DWORD* date, DWORD* time)
{
    auto pack = [](DWORD value) {
        DWORD packed = 0;
        for (int digit = 0; digit < 8; ++digit) {
            packed |= (value % 10) << (4 * digit);
            value /= 10;
        }
        return packed;
    };
    *date = pack(t.wYear * 10000u + t.wMonth * 100u + t.wDay);
    *time = pack(t.wHour * 1000000u + t.wMinute * 10000u + t.wSecond * 100u);
}

BOOL GetSysDateTimeNumbers(DWORD* date, DWORD* time)
{
    if (!date || !time)
        return FALSE;
    SYSTEMTIME t;
    GetLocalTime(&t);
    PackDateTimeNumbers(t, date, time);
    return TRUE;
}

LONGLONG MakeDateTimeNumber(int year, int month, int day, int hour, int minute, int second)
{
    return year * 10000000000LL + month * 100000000LL + day * 1000000LL + hour * 10000LL + minute * 100LL + second;
}

BOOL IsValidDateTime(int year, int month, int day, int hour, int minute, int second)
{
    if (year < 1970 || year > 3000 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 59)
        return FALSE;
    return MakeDateTimeNumber(year, month, day, hour, minute, second) >= 19700101120000LL;
}

BOOL HasInvalidFileNameChar(const wchar_t* text)
{
    return text && wcspbrk(text, L"\\/:*?\"<>|") != nullptr;
}

namespace {
bool PathExists(const CString& path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}
}  // namespace

CString MakeUniqueFileName(const wchar_t* path)
{
    CString p(path);
    if (p.IsEmpty() || !PathExists(p))
        return p;
    int nameStart = std::max(p.ReverseFind(L'\\'), p.ReverseFind(L'/')) + 1;
    int dot = p.ReverseFind(L'.');
    CString base = p, ext;
    if (dot >= nameStart) {
        base = p.Left(dot);
        ext = p.Mid(dot);
    }
    for (int n = 2; n <= 99999; ++n) {
        CString candidate;
        candidate.Format(L"%s(%d)%s", base.GetString(), n, ext.GetString());
        if (!PathExists(candidate))
            return candidate;
    }
    return CString();
}

ULONGLONG SumKmlFileSizes(const wchar_t* folder)
{
    if (!folder || !*folder)
        return 0;
    std::wstring base(folder);
    if (base.back() != L'\\' && base.back() != L'/')
        base += L'\\';
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((base + L"*.kml").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    ULONGLONG total = 0;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        HANDLE h = CreateFileW((base + fd.cFileName).c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            continue;
        LARGE_INTEGER size;
        if (GetFileSizeEx(h, &size))
            total += static_cast<ULONGLONG>(size.QuadPart);
        CloseHandle(h);
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return total;
}
