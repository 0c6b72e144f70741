#include "frame/VersionCheck.h"

#include <shlwapi.h>

#include "common/FileUtil.h"
#include "common/XmlDocument.h"
#include "core/Global.h"
#include "core/TempFolder.h"
#include "frame/OwnVersion.h"

namespace {

bool AllDigits(const CString& s, int maxLength)
{
    if (s.IsEmpty() || s.GetLength() > maxLength)
        return false;
    for (int i = 0; i < s.GetLength(); ++i)
        if (s[i] < L'0' || s[i] > L'9')
            return false;
    return true;
}

}  // namespace

VersionParts GetOwnVersion()
{
    int v[4];
    ReadFileVersion(nullptr, v);
    return VersionParts{v[0], v[1], v[2]};
}

BOOL ParsePublishedVersion(const CString& text, VersionParts& parts)
{
    CString plain = text;
    if (!plain.IsEmpty() && plain[0] == L'+')
        plain = plain.Mid(1);
    // The plain number as written by a program: no leading zeros, no blanks.
    if (AllDigits(plain, 9) && (plain.GetLength() == 1 || plain[0] != L'0')) {
        const int n = _wtoi(plain);
        parts = VersionParts{n / 100, n / 10 % 10, n % 10};
        return TRUE;
    }
    const int dot1 = text.Find(L'.');
    const int dot2 = dot1 >= 0 ? text.Find(L'.', dot1 + 1) : -1;
    if (dot1 < 0 || dot2 < 0)
        return FALSE;
    const CString a = text.Left(dot1), b = text.Mid(dot1 + 1, dot2 - dot1 - 1), c = text.Mid(dot2 + 1);
    if (!AllDigits(a, 5) || !AllDigits(b, 5) || !AllDigits(c, 5))
        return FALSE;
    parts = VersionParts{_wtoi(a), _wtoi(b), _wtoi(c)};
    return TRUE;
}

int CompareVersions(const VersionParts& a, const VersionParts& b)
{
    const int x[] = {a.major, a.minor, a.third}, y[] = {b.major, b.minor, b.third};
    for (int i = 0; i < 3; ++i)
        if (x[i] != y[i])
            return x[i] < y[i] ? -1 : 1;
    return 0;
}

int CheckVersionFile()
{
    return CheckVersionFileAgainst(GetOwnVersion());
}

int CheckVersionFileAgainst(const VersionParts& own)
{
    CString folder = theGlobal.m_tempFolderPath;
    if (folder.IsEmpty())
        return 0;
    int result = 0;
    {
        CXmlDocument doc;
        CString file = folder;
        if (file.Right(1) != L"\\")
            file += L"\\";
        file += L"Mirovale2009.xml";
        XmlElementPtr root = doc.Load(file);
        CString text;
        VersionParts published;
        if (root && XmlGetChildText(L"Version", root, 0, text) && ParsePublishedVersion(text, published))
            result = CompareVersions(published, own) > 0 ? 2 : 1;
    }
    if (PathInsideTempFolder(folder))
        DeleteFolderTree(folder);
    theGlobal.m_tempFolderPath.Empty();
    return result;
}
