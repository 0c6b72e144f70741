#pragma once
// Delimited text (comma, semicolon or tab) held as rows of text cells, read from
// and written to ANSI text files, with double-quote quoting.
#include "classlib/Afx.h"

#include <memory>
#include <string>
#include <vector>

class CCsvTable {
public:
    CCsvTable() = default;
    ~CCsvTable();
    CCsvTable(const CCsvTable&) = delete;
    CCsvTable& operator=(const CCsvTable&) = delete;

    // Replaces all rows with the file's rows; CR LF, CR and LF outside quotes
    // end a row (inside quotes they belong to the cell) and empty lines are
    // skipped. FALSE (and no rows) when the file cannot be read.
    BOOL Load(const wchar_t* path);
    // Splits line at the delimiter (honouring quotes) and appends it as a row.
    void AddRow(const wchar_t* line);
    // Writes every row; FALSE without touching the file when there are no rows.
    // The file is replaced only once the new content is completely written, so a
    // failed save leaves the previous file as it was.
    BOOL Save(const wchar_t* path) const;
    // The cell's text; empty when the row or column does not exist.
    CString GetCell(int row, int column) const;
    // The largest number of cells in a row, at most 56.
    int GetMaxColumnCount() const;
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    // The cells of a row, or nullptr when it does not exist.
    const CStringArray* GetRow(int row) const;
    void RemoveAll();

    void SetDelimiter(wchar_t delimiter) { m_delimiter = delimiter; }
    wchar_t GetDelimiter() const { return m_delimiter; }

    // Doubles inner quotes; encloses the text in quotes when it holds a TAB, a
    // quote, or (non-empty) the delimiter.
    static CString QuoteField(const wchar_t* text, wchar_t delimiter);

private:
    std::vector<std::unique_ptr<CStringArray>> m_rows;
    wchar_t m_delimiter = L',';
};

// Doubles inner quotes; encloses the text in quotes when it holds a blank, a
// comma, a TAB or a quote.
CString QuoteCsvText(const wchar_t* text);
// The index-th (0-based) comma-separated field of line, unquoted; FALSE when the
// line has fewer fields.
BOOL GetCsvField(const wchar_t* line, CString& field, int index);
// The bytes of a text file: the ANSI code page while it holds every character
// (as files always were), else UTF-8 with its byte-order mark, which Load reads,
// so that no character turns into "?".
std::string EncodeTextFile(const wchar_t* text, size_t length);
