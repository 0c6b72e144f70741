#pragma once
// The user's address book as the unit stores it: a home entry and 399 numbered
// entries, read from and written to the unit's card file POINTREG.L00.
#include "doc/AbRecord.h"
#include "doc/Doc.h"
#include "doc/PoiRecord.h"

class CDocImport;

constexpr int AB_ENTRY_COUNT = 399;
constexpr int AB_SPECIAL_COUNT = 10;
// The card file: a 60-byte header, the special records, then the entries.
constexpr DWORD AB_FILE_HEADER = 60;
constexpr DWORD AB_FILE_SIZE = AB_FILE_HEADER + (AB_SPECIAL_COUNT + AB_ENTRY_COUNT) * sizeof(AB_FILE_RECORD);

// The card file's path under a card root.
CString GetAbCardFile(const wchar_t* root);

class CDocAb : public CDoc {
public:
    CDocAb() { ClearAll(); }

    // Adds the used entries of a card file to the book (the home replaces ours).
    // A file of another size or with broken records is refused whole: error 2
    // and the book stays as it was.
    BOOL Load(const wchar_t* path) override;
    // The whole card file; error 3 and the old file unchanged when it cannot be
    // written completely.
    BOOL Save(const wchar_t* path) override;
    void InitErrorStrings() override;

    // Indexes 0 to 398; anything else is refused.
    BOOL GetEntry(int index, DOCAB_UI_RECORD* out) const;
    BOOL SetEntry(int index, DOCAB_UI_RECORD rec);
    int AddEntry(DOCAB_UI_RECORD rec);
    int FindFreeEntry();
    int GetEntryCount() const;
    void ClearAll();
    void InitHome();
    BOOL SetHome(int special, const DOCAB_UI_RECORD* rec);
    BOOL GetHome(DOCAB_UI_RECORD* out) const;
    BOOL CheckNames();
    // Columns are 1-based, 0 = not mapped.
    BOOL ImportCsvRows(int firstRow, const CDocImport* rows, int lonColumn, int latColumn, int nameColumn,
                       int addressColumn, int phoneColumn);
    BOOL CreateFolderAndSave(const wchar_t* path);

    CDocAbRecord m_entries[AB_ENTRY_COUNT];
    CDocAbRecord m_special[AB_SPECIAL_COUNT];

private:
    static void StoreRecord(CDocAbRecord& r, int number, const DOCAB_UI_RECORD& rec);
    static void ReadRecord(const CDocAbRecord& r, DOCAB_UI_RECORD* out);
};

void ConvertAbUiToPoiRecord(DOCAB_UI_RECORD src, DOCPI_RECORD* dst);
void ConvertPoiRecordToAbUi(DOCPI_RECORD src, DOCAB_UI_RECORD* dst);
