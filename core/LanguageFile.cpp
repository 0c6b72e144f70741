// The language file: line n is UI string n.
#include "core/Global.h"
#include "core/LanguageFile.h"
#include "core/ScrambledText.h"

BOOL ParseLanguageFile(const wchar_t* path, CStringArray& lines)
{
    lines.RemoveAll();
    std::vector<BYTE> plain;
    if (!ReadScrambledFile(path, plain))
        return FALSE;
    // The byte-order mark stays: it is the first character of UI string 0.
    SplitLines(DecodeUtf16(plain, 0), lines);
    return TRUE;
}

BOOL CGlobal::LoadLanguageFile(const wchar_t* fileName)
{
    if (!fileName || !*fileName)
        return FALSE;
    CStringArray lines;
    if (!ParseLanguageFile(ProgramDataPath(L"language", fileName), lines))
        return FALSE;
    // Every lookup up to the highest UI string must find its line; a short file
    // would fail later, in the middle of start-up or of a command.
    if (lines.GetSize() < kUiStringCount)
        return FALSE;
    // A second load (another language) replaces the first.
    m_uiStrings.Copy(lines);
    return TRUE;
}

CString UiText(int n)
{
    return n >= 0 && n < theGlobal.m_uiStrings.GetSize() ? theGlobal.m_uiStrings[n] : CString();
}
