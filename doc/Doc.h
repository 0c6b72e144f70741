#pragma once
// Base of every document: the modified flag, the code of the last failure and
// the table that turns each code into a user-interface text.
#include "classlib/Afx.h"
#include "core/LanguageFile.h"

// Error codes every document shares; higher codes are per document.
enum DocError {
    DOCERR_NONE = 0,
    DOCERR_FILE_NOT_FOUND = 1,
    DOCERR_READ = 2,
    DOCERR_WRITE = 3,
    DOCERR_4 = 4,
    DOCERR_5 = 5,
};

class CDoc {
public:
    CDoc() = default;
    virtual ~CDoc() = default;
    CDoc(const CDoc&) = delete;
    CDoc& operator=(const CDoc&) = delete;

    virtual int IsModified() const { return m_modified; }
    // 1 on success, 0 on failure with the error code set.
    virtual BOOL Load(const wchar_t* path) = 0;
    virtual BOOL Save(const wchar_t* path) = 0;
    // Fills the error-text table once, after the language file is loaded.
    virtual void InitErrorStrings();
    virtual int GetErrorCode() const { return m_errorCode; }
    // The text of the current code. A code outside the table (a language file
    // that lacked a text) gives an empty text rather than an exception.
    virtual CString& GetErrorString(CString& out) const;

    void SetModified(int modified) { m_modified = modified; }
    void SetErrorCode(int code) { m_errorCode = code; }

    int m_modified = 0;

protected:
    // The shared body of the Load and Save slots of documents without files.
    BOOL ReturnTrue() { return TRUE; }
    void AppendErrorText(const CString& text) { m_errorTexts.Add(text); }
    // Codes 6 to 13 of the POI and address-book documents.
    void AppendPoiErrorTexts();

    int m_errorCode = 0;
    CStringArray m_errorTexts;
};

// The text of the document's last failure, for a message box.
inline CString ErrorText(const CDoc& doc)
{
    CString text;
    return doc.GetErrorString(text);
}

