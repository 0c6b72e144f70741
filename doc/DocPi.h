#pragma once
// A list of POIs that the user edits and sends to the unit; read from and
// written to KML files, built from import tables, exported to the card.
#include "doc/Doc.h"
#include "doc/PoiRecord.h"

class CDocImport;

// Error codes of the POI and address-book documents.
enum PoiDocError {
    PIERR_WRITE_KML = 6,
    PIERR_7 = 7,
    PIERR_CREATE_FOLDER = 8,
    PIERR_9 = 9,
    PIERR_TOO_MANY = 10,
    PIERR_CARD_SIZE = 11,
    PIERR_NO_NAME = 12,
    PIERR_POSITION = 13,
};

// Records one document takes from a file or an import.
constexpr int POI_MAX_RECORDS = 2000;

// Records per card file for a model type; 0 for an unknown type.
int GetMaxPoiPerFile(int modelType);
// The card folder of the POI KML files of a model type: root\POI\ (types 0 and
// 2) or root\NDB\CUSTOMPOI\, with a trailing backslash.
CString GetPoiCardFolder(const wchar_t* root, int modelType);

class CDocPi : public CDoc {
public:
    CDocPi() = default;

    // KML file (appends its placemarks) and the whole document as KML.
    BOOL Load(const wchar_t* path) override;
    BOOL Save(const wchar_t* path) override;
    void InitErrorStrings() override;

    // Record access by 0-based index.
    BOOL GetRecord(int index, DOCPI_RECORD* out) const;
    BOOL SetRecord(int index, DOCPI_RECORD rec);
    BOOL AddRecord(DOCPI_RECORD rec);
    // Before index (index = count appends); a negative index raises CInvalidArgException.
    BOOL InsertRecord(int index, DOCPI_RECORD rec);
    void ResetCheckFlags();
    BOOL DeleteCheckedRecords();
    int GetRecordCount() const { return static_cast<int>(m_records.GetSize()); }

    void SetFolderName(const wchar_t* name) { m_folderName = name ? name : L""; }
    CString GetFolderName() const { return m_folderName; }
    void ResetDocument();
    void ResetDefaultIcon();
    int GetMaxPoiPerFile() const;

    // Every record has a name and a position in range; error 12 or 13 otherwise.
    BOOL Validate();
    // Columns are 1-based, 0 = not mapped.
    BOOL ImportRows(int firstRow, const CDocImport* rows, int lonColumn, int latColumn, int nameColumn,
                    int addressColumn, int telephoneColumn, int descriptionColumn);

    // Records first to last - 1 as one KML file in the model type's layout.
    BOOL WriteKml(const wchar_t* path, int first, int last);

    // Card export.
    static BOOL CheckCardFileCount(const wchar_t* folder, int recordCount, int perFile);
    BOOL ExportToCard(const wchar_t* targetPath);
    static BOOL WriteCustomPoiVersion(const wchar_t* folder);


    CWordArray m_checkFlags;
    CWordArray m_removedIndices;
    CWordArray m_selectedIndices;
    CArray<CDocPiRecord> m_records;
    int m_defaultIcon = 0;
    CString m_folderName;
};
