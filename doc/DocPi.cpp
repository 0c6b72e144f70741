#include "doc/DocPi.h"

#include "core/Global.h"

int GetMaxPoiPerFile(int modelType)
{
    if (modelType == 0)
        return 300;
    if (modelType == 2)
        return 1000;
    if (modelType == 1 || (modelType >= 3 && modelType <= 12))
        return 100;
    return 0;
}

int CDocPi::GetMaxPoiPerFile() const
{
    return ::GetMaxPoiPerFile(theGlobal.m_modelType);
}

void CDocPi::InitErrorStrings()
{
    CDoc::InitErrorStrings();
    AppendPoiErrorTexts();
}

BOOL CDocPi::GetRecord(int index, DOCPI_RECORD* out) const
{
    if (!out || index < 0 || index >= GetRecordCount())
        return FALSE;
    m_records[index].ToDocPiRecord(*out);
    return TRUE;
}

BOOL CDocPi::SetRecord(int index, DOCPI_RECORD rec)
{
    if (index < 0 || index >= GetRecordCount())
        return FALSE;
    m_records[index].FromDocPiRecord(rec);
    return TRUE;
}

BOOL CDocPi::AddRecord(DOCPI_RECORD rec)
{
    CDocPiRecord r;
    r.m_modelType = theGlobal.m_modelType;
    r.FromDocPiRecord(rec);
    m_records.Add(r);
    return TRUE;
}

BOOL CDocPi::InsertRecord(int index, DOCPI_RECORD rec)
{
    if (index < 0 || index > GetRecordCount())
        AfxThrowInvalidArgException();
    CDocPiRecord r;
    r.m_modelType = theGlobal.m_modelType;
    r.FromDocPiRecord(rec);
    m_records.InsertAt(index, r);
    return TRUE;
}

void CDocPi::ResetCheckFlags()
{
    m_checkFlags.RemoveAll();
    m_checkFlags.SetSize(m_records.GetSize());
}

BOOL CDocPi::DeleteCheckedRecords()
{
    m_removedIndices.RemoveAll();
    for (int i = GetRecordCount() - 1; i >= 0; --i) {
        if (m_checkFlags[i] == 1) {
            m_records.RemoveAt(i);
            m_removedIndices.Add(static_cast<WORD>(i));
        }
    }
    return TRUE;
}

void CDocPi::ResetDocument()
{
    m_records.RemoveAll();
    ResetDefaultIcon();
}

void CDocPi::ResetDefaultIcon()
{
    int type = theGlobal.m_modelType;
    m_defaultIcon = (type == 0 || type == 2) ? 2 : 1;
}

BOOL CDocPi::Validate()
{
    for (int i = 0; i < GetRecordCount(); ++i) {
        DOCPI_RECORD rec;
        m_records[i].ToDocPiRecord(rec);
        if (rec.name[0] == 0) {
            m_errorCode = PIERR_NO_NAME;
            return FALSE;
        }
        double lon = rec.longitude, lat = rec.latitude;
        if (!(lon >= -180.0 && lon <= 180.0 && lat >= -90.0 && lat <= 90.0)) {
            m_errorCode = PIERR_POSITION;
            return FALSE;
        }
    }
    return TRUE;
}
