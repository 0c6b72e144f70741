#include "common/WebUtil.h"

#include <cmath>

#include "common/TextCheck.h"
#include "common/UiTextSource.h"

#include <oleauto.h>

#include <charconv>
#include <climits>
#include <clocale>
#include <string>

const wchar_t kFormPostHeaders[] = L"Content-Type: application/x-www-form-urlencoded\r\n";

namespace {

constexpr int kMaxUiTextInBody = 300;

CString BuildMessageBody(std::initializer_list<int> tabbed, int lastId)
{
    CString value;
    auto text = [](int id) { return UiTextAt(id).Left(kMaxUiTextInBody); };
    for (int id : tabbed)
        value += text(id) + L"\t";
    value += text(lastId);
    // A form body: "&", "=", "+", "%" and non-ASCII text must be encoded.
    return L"message=" + UrlEncodeUtf8(value);
}

bool IsUnreserved(unsigned char b)
{
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' || b == '_' ||
           b == '.' || b == '~';
}

int HexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

std::string ToUtf8(const wchar_t* text, int length)
{
    std::string out;
    if (length <= 0)
        return out;
    int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (n > 0) {
        out.resize(n);
        WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
    }
    return out;
}

CString FromUtf8(const std::string& bytes)
{
    CString out;
    if (bytes.empty())
        return out;
    int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n > 0) {
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), out.GetBufferSetLength(n), n);
        out.ReleaseBuffer(n);
    }
    return out;
}

CString FromLocaleText(const char* s)
{
    return s ? CString(s) : CString();
}

}  // namespace

CString BuildRouteMapPostBody()
{
    return BuildMessageBody({327, 328, 329, 330, 331, 332, 333, 334, 335, 336, 337, 338, 339, 340,
                             341, 342, 343, 344, 345, 346, 347, 348, 349, 350, 351, 352, 353, 354},
                            355);
}

CString BuildFeedMapPostBody()
{
    return BuildMessageBody({356, 357, 358}, 352);
}

BOOL NavigatePost(IDispatch* browser, const wchar_t* url, const wchar_t* body)
{
    if (!browser || !url)
        return FALSE;
    VARIANT flags, target, postData, headers;
    VariantInit(&flags);
    VariantInit(&target);
    VariantInit(&postData);
    VariantInit(&headers);
    BSTR urlText = SysAllocString(url);
    headers.vt = VT_BSTR;
    headers.bstrVal = SysAllocString(kFormPostHeaders);
    bool ok = urlText && headers.bstrVal;
    if (ok && body && *body) {
        // The body's UTF-8 bytes, without a terminating zero the server would
        // take as part of the last value.
        std::string bytes = ToUtf8(body, static_cast<int>(wcslen(body)));
        SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
        void* data = nullptr;
        if (array && SUCCEEDED(SafeArrayAccessData(array, &data))) {
            memcpy(data, bytes.data(), bytes.size());
            SafeArrayUnaccessData(array);
            postData.vt = VT_ARRAY | VT_UI1;
            postData.parray = array;
        } else {
            if (array)
                SafeArrayDestroy(array);
            ok = false;
        }
    }
    if (ok) {
        // Navigate(URL, Flags*, TargetFrameName*, PostData*, Headers*); the
        // arguments go in reverse order.
        VARIANT args[5];
        for (VARIANT& a : args)
            VariantInit(&a);
        args[4].vt = VT_BSTR;
        args[4].bstrVal = urlText;
        VARIANT* refs[4] = {&flags, &target, &postData, &headers};
        for (int i = 0; i < 4; ++i) {
            args[3 - i].vt = VT_VARIANT | VT_BYREF;
            args[3 - i].pvarVal = refs[i];
        }
        DISPPARAMS params{args, nullptr, 5, 0};
        constexpr DISPID kNavigate = 104;
        ok = SUCCEEDED(browser->Invoke(kNavigate, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                                       nullptr, nullptr));
    }
    SysFreeString(urlText);
    VariantClear(&flags);
    VariantClear(&target);
    VariantClear(&postData);
    VariantClear(&headers);
    return ok ? TRUE : FALSE;
}

CString UrlEncodeUtf8(const wchar_t* text)
{
    CString out;
    if (!text || !*text)
        return out;
    static const wchar_t hex[] = L"0123456789ABCDEF";
    for (unsigned char b : ToUtf8(text, static_cast<int>(wcslen(text)))) {
        if (IsUnreserved(b)) {
            out += static_cast<wchar_t>(b);
        } else if (b == ' ') {
            out += L'+';
        } else {
            out += L'%';
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    return out;
}

void UrlDecodeUtf8(const CString& text, CString& result)
{
    // Characters that arrive unencoded keep their UTF-8 form, so nothing outside
    // the ANSI code page is lost.
    std::string bytes;
    const wchar_t* p = text.GetString();
    int length = text.GetLength();
    for (int i = 0; i < length; ++i) {
        wchar_t c = p[i];
        if (c == L'%' && i + 2 < length && HexValue(p[i + 1]) >= 0 && HexValue(p[i + 2]) >= 0) {
            bytes += static_cast<char>(HexValue(p[i + 1]) * 16 + HexValue(p[i + 2]));
            i += 2;
        } else if (c == L'+') {
            bytes += ' ';
        } else if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else {
            int j = i + 1;
            if (c >= 0xD800 && c <= 0xDBFF && j < length)
                ++j;  // keep a surrogate pair together
            bytes += ToUtf8(p + i, j - i);
            i = j - 1;
        }
    }
    size_t nul = bytes.find('\0');
    if (nul != std::string::npos)
        bytes.resize(nul);
    result = FromUtf8(bytes);
}

BOOL GetQueryValue(const wchar_t* key, const wchar_t* text, CString& value)
{
    value.Empty();
    if (!key || !text || !*key)
        return FALSE;
    const CString k = CString(key) + L"=";
    const CString all(text);
    // An occurrence counts at the very start or right after "&" or ":" in the
    // text, never because an earlier occurrence ended just before it.
    int at = all.Find(k);
    while (at > 0 && all[at - 1] != L'&' && all[at - 1] != L':')
        at = all.Find(k, at + k.GetLength());
    if (at < 0)
        return FALSE;
    CString raw = all.Mid(at + k.GetLength());
    int amp = raw.Find(L'&');
    if (amp >= 0)
        raw = raw.Left(amp);
    raw.Remove(L'"');
    UrlDecodeUtf8(raw, value);
    return TRUE;
}

namespace {
// The wide form of a locale text, converted again only when the locale's text
// changes (imports and writers ask for it for every number).
const CString& CachedLocaleText(const char* now, std::string& seen, CString& wide)
{
    const char* text = now ? now : "";
    if (seen != text || (wide.IsEmpty() && *text)) {
        seen = text;
        wide = FromLocaleText(text);
    }
    return wide;
}
}  // namespace

CString GetLocaleDecimalPoint()
{
    thread_local std::string seen;
    thread_local CString wide;
    const lconv* lc = localeconv();
    const CString& point = CachedLocaleText(lc ? lc->decimal_point : nullptr, seen, wide);
    return point.IsEmpty() ? CString(L".") : point;
}

CString GetLocaleThousandsSeparator()
{
    thread_local std::string seen;
    thread_local CString wide;
    const lconv* lc = localeconv();
    return CachedLocaleText(lc ? lc->thousands_sep : nullptr, seen, wide);
}

bool ParseLocaleDecimal(const CString& text, double& value)
{
    const CString point = GetLocaleDecimalPoint();
    const wchar_t* p = text.GetString();
    if (*p == L'+' || *p == L'-')
        ++p;
    int digits = 0;
    while (*p >= L'0' && *p <= L'9') {
        ++p;
        ++digits;
    }
    if (wcsncmp(p, point, point.GetLength()) == 0) {
        p += point.GetLength();
        while (*p >= L'0' && *p <= L'9') {
            ++p;
            ++digits;
        }
    }
    if (*p || digits == 0)
        return false;
    // Up to 15 digits and 22 decimals the quotient of two exact doubles is the
    // correctly rounded value, as the run-time's conversion gives it (which is
    // slow under Wine: thousands of coordinates per import).
    static const double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                     1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (digits <= 15) {
        const wchar_t* q = text.GetString();
        const bool negative = *q == L'-';
        if (*q == L'+' || *q == L'-')
            ++q;
        unsigned long long mantissa = 0;
        int decimals = 0;
        bool fraction = false;
        for (; *q; ++q) {
            if (*q >= L'0' && *q <= L'9') {
                mantissa = mantissa * 10 + static_cast<unsigned>(*q - L'0');
                decimals += fraction;
            } else {
                fraction = true;
                q += point.GetLength() - 1;
            }
        }
        const double v = static_cast<double>(mantissa) / kPowers[decimals];
        value = negative ? -v : v;
        return true;
    }
    // Longer numbers: the correctly rounded value too (the run-time's wcstod is
    // off by one in the last place for some texts, and differs from ours).
    std::string ascii;
    for (const wchar_t* q = text.GetString(); *q;) {
        if (*q >= L'0' && *q <= L'9') {
            ascii += static_cast<char>(*q++);
        } else if (*q == L'-') {
            ascii += '-';
            ++q;
        } else if (*q == L'+') {
            ++q;
        } else {
            ascii += '.';
            q += point.GetLength();
        }
    }
    double v = 0;
    const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), v, std::chars_format::fixed);
    if (ec != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

// "%.6f" with "." as the decimal point. Rounded here when the value is not
// near a half of the last place (then the run-time formats it, as always):
// its formatting is slow under Wine and a file holds thousands of numbers.
void AppendDotFixed6(CString& out, double v)
{
    const double scaled = std::fabs(v) * 1e6;
    const double below = std::floor(scaled);
    if (scaled < 9e15 && std::fabs(scaled - below - 0.5) > 1e-3) {
        const unsigned long long units = static_cast<unsigned long long>(scaled - below > 0.5 ? below + 1 : below);
        if (units > 0 || !std::signbit(v)) {
            // Digits from the right: six decimals, the point, the whole part.
            wchar_t buf[32];
            wchar_t* p = buf + 32;
            unsigned long long rest = units;
            for (int i = 0; i < 6; ++i, rest /= 10)
                *--p = static_cast<wchar_t>(L'0' + rest % 10);
            *--p = L'.';
            do {
                *--p = static_cast<wchar_t>(L'0' + rest % 10);
                rest /= 10;
            } while (rest);
            if (v < 0)
                *--p = L'-';
            out.Append(p, static_cast<int>(buf + 32 - p));
            return;
        }
    }
    CString x;
    x.Format(L"%11.6f", v);
    x.Remove(L' ');
    LocaleDecimalToDot(x);
    out += x;
}

void DotToLocaleDecimal(CString& text)
{
    text.Replace(L".", GetLocaleDecimalPoint());
}

void CommaToLocaleDecimal(CString& text)
{
    text.Replace(L",", GetLocaleDecimalPoint());
}

void LocaleDecimalToDot(CString& text)
{
    text.Replace(GetLocaleDecimalPoint(), L".");
}

void AnySeparatorToLocaleDecimal(CString& text)
{
    CommaToLocaleDecimal(text);
    DotToLocaleDecimal(text);
}

void RemoveThousandsSeparator(CString& text)
{
    CString sep = GetLocaleThousandsSeparator();
    if (!sep.IsEmpty())
        text.Replace(sep, L"");
}

void NormalizeDecimalSeparator(CString& text)
{
    bool dot = text.Find(L'.') >= 0, comma = text.Find(L',') >= 0;
    if (dot && comma)
        return;
    if (comma)
        CommaToLocaleDecimal(text);
    else if (dot)
        DotToLocaleDecimal(text);
}

int ParseFixedPoint(const wchar_t* text, int decimals)
{
    if (!text)
        return 0;
    if (decimals < 0)
        decimals = 0;
    CString s(text), point = GetLocaleDecimalPoint();
    CString digits;
    int at = s.Find(point);
    if (at < 0) {
        digits = s + CString(L'0', decimals);
    } else {
        digits = s.Left(at);
        CString fraction = s.Mid(at + point.GetLength());
        int taken = 0;
        for (; taken < decimals && taken < fraction.GetLength(); ++taken) {
            char digit[2] = {static_cast<char>(fraction[taken] < 0x80 ? fraction[taken] : '?'), 0};
            if (ValidateFieldText(digit, FIELD_CHECK_DIGITS) != 0)
                break;
            digits += fraction[taken];
        }
        digits += CString(L'0', decimals - taken);
    }
    long long value = _wtoi64(digits);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

CString ToLocaleShortDate(const wchar_t* date)
{
    if (!date)
        return CString();
    CString d(date), field;
    SYSTEMTIME t{};
    AfxExtractSubString(field, d, 0, L'/');
    t.wYear = static_cast<WORD>(_wtoi(field));
    AfxExtractSubString(field, d, 1, L'/');
    t.wMonth = static_cast<WORD>(_wtoi(field));
    AfxExtractSubString(field, d, 2, L'/');
    t.wDay = static_cast<WORD>(_wtoi(field));
    wchar_t out[41];
    if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE | LOCALE_NOUSEROVERRIDE, &t, nullptr, out, 41))
        return CString();
    return CString(out);
}

int GetCsvDelimiterKind(int setting)
{
    if (setting != 0)
        return setting;
    const CString sample = UiTextAt(359);
    if (sample.Find(L'\t') >= 0)
        return 1;
    if (sample.Find(L',') >= 0)
        return 2;
    return 3;
}
