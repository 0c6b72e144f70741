#include "doc/ImportCells.h"

#include "common/TextCheck.h"
#include "common/WebUtil.h"
#include "core/Global.h"

namespace {

// The coordinate text as a number, after the decimal setting's conversion. Only
// a plain decimal number as a whole counts ("." or "-" alone, "nan", "inf",
// "0x10" or "1e2" are none).
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
    return ParseLocaleDecimal(text, value);
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
