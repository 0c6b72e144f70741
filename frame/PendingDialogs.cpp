#include "frame/PendingDialogs.h"

#include "common/FileUtil.h"
#include "core/Global.h"

int PendingShowMessage(const wchar_t* text, int style, BOOL)
{
    if (!text || !*text)
        return IDOK;
    return style == 0 || style == 1 ? IDOK : IDYES;
}

int PendingChooseLanguage(const CStringArray&, CString& chosen)
{
    chosen.Empty();
    return IDCANCEL;
}

int PendingChooseModel(const CStringArray&, int, BOOL* changed)
{
    if (changed)
        *changed = FALSE;
    return IDCANCEL;
}

int PendingCheckVersionFile()
{
    if (!theGlobal.m_tempFolderPath.IsEmpty())
        DeleteFolderTree(theGlobal.m_tempFolderPath);
    theGlobal.m_tempFolderPath.Empty();
    return 0;
}

int PendingRunDialog(const wchar_t*)
{
    return IDCANCEL;
}
