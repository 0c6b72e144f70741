#pragma once
// One POI as it crosses between views and documents (a fixed-size record), and
// as the POI document holds it (texts of any length).
#include "classlib/Afx.h"

// Coordinate value of a POI without a position.
constexpr double POI_NO_POSITION = -255.0;

#pragma pack(push, 1)
struct DOCPI_RECORD {
    wchar_t name[65];
    double longitude;
    double latitude;
    wchar_t address[129];
    wchar_t telephone[65];
    wchar_t description[65];
};
#pragma pack(pop)
static_assert(sizeof(DOCPI_RECORD) == (65 + 129 + 65 + 65) * 2 + 16, "DOCPI_RECORD is packed");

// Field-by-field copies; texts are copied bounded and always end in a NUL.
void CopyPoiRecord(const DOCPI_RECORD* src, DOCPI_RECORD* dst);
void CopyPoiRecordByValue(DOCPI_RECORD src, DOCPI_RECORD* dst);

class CDocPiRecord {
public:
    CDocPiRecord() = default;

    // Texts up to their NUL and both coordinates; the model type stays.
    void FromDocPiRecord(const DOCPI_RECORD& rec);
    // Fills rec, each text cut to its field.
    void ToDocPiRecord(DOCPI_RECORD& rec) const;

    CString GetName() const { return m_name.Left(64); }
    CString GetAddress() const { return m_address.Left(128); }
    CString GetTelephone() const { return m_telephone.Left(64); }
    CString GetDescription() const { return m_description.Left(64); }

    int m_modelType = 0;
    CString m_name, m_address, m_telephone, m_description;
    double m_longitude = POI_NO_POSITION;
    double m_latitude = POI_NO_POSITION;
};
