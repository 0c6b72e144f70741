#include "common/TextCheck.h"
#include "common/WebUtil.h"
#include "core/Global.h"
#include "doc/DocImport.h"
#include "doc/DocPi.h"

namespace {

// Characters the unit cannot show become '?'.
void ReplaceUnshownChars(CString& text)
{
    wchar_t* buf = text.GetBuffer();
    ReplaceCharsNotOfClass(buf, theGlobal.m_naviModel.m_modelGroup);
    text.ReleaseBuffer();
}

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

BOOL CDocPi::ImportRows(int firstRow, const CDocImport* rows, int lonColumn, int latColumn, int nameColumn,
                        int addressColumn, int telephoneColumn, int descriptionColumn)
{
    if (!rows)
        return FALSE;
    auto cell = [rows](int row, int column) {
        CString text;
        rows->GetCell(row, column - 1, text);
        return text;
    };
    for (int row = firstRow < 0 ? 0 : firstRow; row < rows->GetRowCount(); ++row) {
        if (GetRecordCount() >= POI_MAX_RECORDS) {
            m_errorCode = PIERR_TOO_MANY;
            return FALSE;
        }
        CDocPiRecord rec;
        rec.m_modelType = theGlobal.m_modelType;
        if (nameColumn > 0) {
            rec.m_name = cell(row, nameColumn);
            ReplaceUnshownChars(rec.m_name);
        }
        if (addressColumn > 0) {
            rec.m_address = cell(row, addressColumn);
            ReplaceUnshownChars(rec.m_address);
        }
        if (telephoneColumn > 0) {
            rec.m_telephone = cell(row, telephoneColumn);
            ReplaceUnshownChars(rec.m_telephone);
        }
        if (lonColumn > 0 && latColumn > 0) {
            CString lon = cell(row, lonColumn), lat = cell(row, latColumn);
            lon.Remove(L' ');
            lat.Remove(L' ');
            double x = 0, y = 0;
            if (!lon.IsEmpty() && !lat.IsEmpty() && IsTextOfClass(lon, CHARCLASS_SIGNED) &&
                IsTextOfClass(lat, CHARCLASS_SIGNED) && ReadCoordinate(lon, x) && ReadCoordinate(lat, y) &&
                x > -180.0 && x < 180.0 && y > -90.0 && y < 90.0) {
                rec.m_longitude = x;
                rec.m_latitude = y;
            }
        }
        if (descriptionColumn > 0) {
            rec.m_description = cell(row, descriptionColumn);
            ReplaceUnshownChars(rec.m_description);
        }
        m_records.Add(rec);
    }
    return TRUE;
}
