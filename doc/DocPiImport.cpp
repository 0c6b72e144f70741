#include "core/Global.h"
#include "doc/DocImport.h"
#include "doc/DocPi.h"
#include "doc/ImportCells.h"

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
            double x = 0, y = 0;
            if (ReadImportPosition(cell(row, lonColumn), cell(row, latColumn), x, y)) {
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
