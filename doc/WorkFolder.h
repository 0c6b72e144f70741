#pragma once
// A fresh folder under the user's temporary folder for the files of one export,
// named after a unique "$$$" temporary name and removed with everything in it
// (and the name's placeholder file) when the object goes away.
#include "classlib/Afx.h"

class CWorkFolder {
public:
    CWorkFolder() = default;
    ~CWorkFolder() { Remove(); }
    CWorkFolder(const CWorkFolder&) = delete;
    CWorkFolder& operator=(const CWorkFolder&) = delete;

    // Creates the folder and its sub-folder; FALSE when either cannot be made.
    BOOL Create(const wchar_t* subFolder);
    // The folder, ending in a backslash.
    const CString& Path() const { return m_path; }
    // The sub-folder, ending in a backslash.
    const CString& SubPath() const { return m_subPath; }
    void Remove();

private:
    CString m_placeholder;  // the file GetTempFileName made for the name
    CString m_path;
    CString m_subPath;
};
