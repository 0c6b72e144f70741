#include "doc/ImportCells.h"

#include "common/TextCheck.h"
#include "common/WebUtil.h"
#include "core/Global.h"

namespace {

// The coordinate text as a number, after the decimal setting's conversion. Only
// a text that is a number as a whole counts ("." or "-" alone is no number).
bool ReadCoordinate(CString text, double& value)
{
    switch (theGlobal.m_decimal) {
    case 1:
        CommaToLocaleDecimal(text);
        break;
    case 2:
        DotToLocaleDecimal(text);
        break;
    default:
        NormalizeDecimalSeparator(text);
        RemoveThousandsSeparator(text);
        break;
    }
    if (text.IsEmpty())
        return false;
    wchar_t* end = nullptr;
    value = wcstod(text, &end);
    return end && *end == 0 && end != text.GetString();
}

}  // namespace

void ReplaceUnshownChars(CString& text)
{
    wchar_t* buf = text.GetBuffer();
    ReplaceCharsNotOfClass(buf, theGlobal.m_naviModel.m_modelGroup);
    text.ReleaseBuffer();
}

bool ReadImportPosition(CString lonText, CString latText, double& lon, double& lat)
{
    lonText.Remove(L' ');
    latText.Remove(L' ');
    double x = 0, y = 0;
    if (lonText.IsEmpty() || latText.IsEmpty() || !IsTextOfClass(lonText, CHARCLASS_SIGNED) ||
        !IsTextOfClass(latText, CHARCLASS_SIGNED) || !ReadCoordinate(lonText, x) || !ReadCoordinate(latText, y) ||
        !(x > -180.0 && x < 180.0 && y > -90.0 && y < 90.0))
        return false;
    lon = x;
    lat = y;
    return true;
}
