#include "views/poi/PositionText.h"

#include <clocale>
#include <cstdlib>

BOOL ParsePositionText(const CString& text, double& value)
{
    int i = 0;
    const int n = text.GetLength();
    CString digits;
    if (i < n && text[i] == L'-') {
        digits += L'-';
        ++i;
    }
    int whole = 0, decimals = 0;
    bool separator = false;
    for (; i < n; ++i) {
        const wchar_t c = text[i];
        if (c >= L'0' && c <= L'9') {
            if (!separator) {
                ++whole;
                digits += c;
            } else if (++decimals <= 6) {
                digits += c;
            }
        } else if ((c == L'.' || c == L',') && !separator) {
            separator = true;
            // The run-time library reads numbers with its locale's decimal point.
            const lconv* lc = std::localeconv();
            digits += static_cast<wchar_t>(lc && lc->decimal_point && *lc->decimal_point ? *lc->decimal_point : '.');
        } else {
            return FALSE;
        }
    }
    if (whole + decimals == 0 || (separator && decimals == 0 && whole == 0))
        return FALSE;
    value = _wtof(digits);
    return TRUE;
}
