// The card and file name of a POI export, asked with the removable-drive
// chooser (its file-name edit shown and preset).
#include "classlib/Afx.h"

#if __has_include("frame/RemovableDlg.cpp")
#include "frame/RemovableDlg.h"

BOOL ChoosePoiCard(const CString& proposedName, CString& root, CString& name)
{
    CRemovableDlg dlg;
    dlg.m_askName = 1;
    dlg.SetFileName(proposedName);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    root = dlg.GetDrivePath();
    name = dlg.GetFileName();
    return !root.IsEmpty();
}
#else
// Built without the chooser: there is no card to choose.
BOOL ChoosePoiCard(const CString&, CString&, CString&)
{
    return FALSE;
}
#endif
