#pragma once
// Binary files over Win32 handles; failures raise CFileException (or, for
// Open, report through a BOOL and an optional exception object).
#include <windows.h>

#include "classlib/CString.h"
#include "classlib/Exceptions.h"

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };
    static const HANDLE hFileNull;

    CFile() = default;
    // Opens or throws CFileException.
    CFile(const wchar_t* path, UINT flags);
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // FALSE on failure; the cause goes into *error when given.
    virtual BOOL Open(const wchar_t* path, UINT flags, CFileException* error = nullptr);
    virtual void Close();
    // Closes without raising anything.
    virtual void Abort();

    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    virtual void Flush();
    ULONGLONG Seek(LONGLONG offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    ULONGLONG GetPosition() const;
    ULONGLONG GetLength() const;
    void SetLength(ULONGLONG length);

    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;
    CString GetFileTitle() const;
    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

    static void Remove(const wchar_t* path);
    static void Rename(const wchar_t* oldPath, const wchar_t* newPath);

    HANDLE m_hFile = INVALID_HANDLE_VALUE;

protected:
    [[noreturn]] void ThrowLastError() const;
    CString m_strFileName;
};

// Text files: lines read and written in the ANSI code page, "\n" in memory and
// CR LF on disk (typeText), or bytes as they are (typeBinary).
class CStdioFile : public CFile {
public:
    CStdioFile() = default;
    CStdioFile(const wchar_t* path, UINT flags) : CFile(path, flags), m_text(!(flags & typeBinary)) {}
    // Writes what is still pending; a failure here is lost, so call Close to see it.
    ~CStdioFile() override;
    BOOL Open(const wchar_t* path, UINT flags, CFileException* error = nullptr) override;
    // The next line without its line end; FALSE at the end of the file.
    BOOL ReadString(CString& line);
    void WriteString(const wchar_t* text);
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    void Close() override;
    void Abort() override;
    void Flush() override;

private:
    bool FillBuffer();
    void FlushWrite();
    bool m_text = true;
    std::string m_in;       // read-ahead bytes
    size_t m_inPos = 0;
    std::string m_out;      // pending output bytes
};
