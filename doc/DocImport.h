#pragma once
// The raw rows of an import (a delimited text file or the Windows Address Book)
// before they become POIs or address-book entries.
#include "common/CsvTable.h"
#include "doc/Doc.h"

// Larger delimited files than this are refused: the unit takes at most a few
// thousand records, and the table of a file this size already fills much of the
// program's address space.
constexpr ULONGLONG IMPORT_MAX_FILE_BYTES = 16ull * 1024 * 1024;

class CDocImport : public CDoc {
public:
    CDocImport() = default;

    BOOL Load(const wchar_t*) override { return ReturnTrue(); }
    BOOL Save(const wchar_t*) override { return ReturnTrue(); }

    // kind 2 ",", 3 ";", any other TAB; replaces the rows with the file's.
    // FALSE with error 2 (and no rows) when the file cannot be read or is too large.
    BOOL SetDelimiterAndLoad(int kind, const wchar_t* path);
    // Replaces the rows with the contacts of the Windows Address Book, nine
    // comma-separated fields each. TRUE also when no address book is installed
    // (no rows); FALSE with error 2 when it cannot be opened or read.
    BOOL ImportWab();
    // The cell text; empty when the row or column does not exist.
    void GetCell(int row, int column, CString& out) const { out = m_table.GetCell(row, column); }
    int GetRowCount() const { return m_table.GetRowCount(); }

    CCsvTable m_table;
};
