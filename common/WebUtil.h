#pragma once
// Text at the edge between the program, web pages and the user's locale: map-page
// form bodies and posting them, percent-encoding, link query values, decimal
// separators, fixed-point numbers, short dates and the CSV delimiter.
#include "classlib/Afx.h"

#include <oaidl.h>

// "message=" and the route map page's UI strings (327-354 each followed by a
// tab, then 355), each cut to 300 characters; the value is form-encoded.
CString BuildRouteMapPostBody();
// The same for the feed map page: UI strings 356, 357, 358 (tab after each), 352.
CString BuildFeedMapPostBody();

// The form-post header sent with every NavigatePost.
extern const wchar_t kFormPostHeaders[];
// Navigates the WebBrowser control behind browser (its Navigate method) to url,
// posting body as a form when it is not empty. FALSE when browser or url is NULL
// or the call fails.
BOOL NavigatePost(IDispatch* browser, const wchar_t* url, const wchar_t* body);

// UTF-8 bytes, unreserved ones as they are, a blank as "+", others as "%XX".
CString UrlEncodeUtf8(const wchar_t* text);
// The inverse; "%" without two hexadecimal digits stays as it is.
void UrlDecodeUtf8(const CString& text, CString& result);
// The decoded value of key in a link or query text, quotes removed; FALSE (and
// value empty) when the key is not there.
BOOL GetQueryValue(const wchar_t* key, const wchar_t* text, CString& value);

// The C run-time locale's decimal point ("." when the locale has none) and
// thousands separator (may be empty).
CString GetLocaleDecimalPoint();
CString GetLocaleThousandsSeparator();
void DotToLocaleDecimal(CString& text);
// Appends v as "%.6f" gives it, with "." as the decimal point.
void AppendDotFixed6(CString& out, double v);
// A plain decimal number written with the locale decimal point: an optional
// sign, digits, and a point with digits on at least one side. No blanks,
// exponent, hexadecimal, "nan" or "inf"; the value is finite.
bool ParseLocaleDecimal(const CString& text, double& value);
void CommaToLocaleDecimal(CString& text);
void LocaleDecimalToDot(CString& text);
void AnySeparatorToLocaleDecimal(CString& text);
void RemoveThousandsSeparator(CString& text);
// Leaves a text holding both "." and "," alone; else turns its "," or "." into
// the locale decimal point.
void NormalizeDecimalSeparator(CString& text);

// The decimal text times 10^decimals, without floating point; the integer part
// ends at its first non-digit, and values beyond the int range are clamped.
int ParseFixedPoint(const wchar_t* text, int decimals);
// "yyyy/mm/dd" in the user's short date format; empty when it cannot be formatted.
CString ToLocaleShortDate(const wchar_t* date);
// 1 tab, 2 comma, 3 semicolon: the setting (the options' delimiter), or when it
// is 0 what the language's sample CSV text (UI string 359) holds.
int GetCsvDelimiterKind(int setting);
