#include "doc/DocImport.h"

#include "common/LogWriter.h"
#include "doc/WabContacts.h"

BOOL CDocImport::SetDelimiterAndLoad(int kind, const wchar_t* path)
{
    m_errorCode = DOCERR_NONE;
    m_table.SetDelimiter(kind == 2 ? L',' : kind == 3 ? L';' : L'\t');
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (!path || !GetFileAttributesExW(path, GetFileExInfoStandard, &info) ||
        ((static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow) > IMPORT_MAX_FILE_BYTES) {
        m_table.RemoveAll();
        m_errorCode = DOCERR_READ;
        return FALSE;
    }
    if (!m_table.Load(path)) {
        m_errorCode = DOCERR_READ;
        return FALSE;
    }
    return TRUE;
}

BOOL CDocImport::ImportWab()
{
    m_errorCode = DOCERR_NONE;
    m_table.RemoveAll();
    CArray<CStringArray> contacts;
    if (!ReadWabContacts(contacts)) {
        m_errorCode = DOCERR_READ;
        return FALSE;
    }
    m_table.SetDelimiter(L',');
    for (const CStringArray& fields : contacts) {
        CString line;
        for (INT_PTR i = 0; i < fields.GetSize(); ++i) {
            if (i)
                line += L',';
            line += CCsvTable::QuoteField(fields[i], L',');
        }
        m_table.AddRow(line);
        WriteLog(L"AddLine");
    }
    return TRUE;
}
