#include "views/poi/PoiSaveName.h"

#include "common/FileUtil.h"
#include "common/Utility.h"
#include "core/Global.h"

BOOL AskKmlSavePath(HWND owner, const wchar_t* folder, CString& path)
{
    wchar_t buffer[MAX_PATH];
    lstrcpynW(buffer, path, MAX_PATH);
    if (!ShowFileDialog(owner, folder, 3, FALSE, buffer))
        return FALSE;
    path = buffer;
    return TRUE;
}

CString ProposedSaveName(const wchar_t* fallback)
{
    const CString& title = theGlobal.m_headerTitle;
    if (title.IsEmpty() || HasInvalidFileNameChar(title))
        return fallback;
    return title.Left(MAX_PATH);
}
