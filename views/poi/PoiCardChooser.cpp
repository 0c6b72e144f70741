// The chooser runs with its file-name edit shown and preset.
#include "views/poi/PoiCardChooser.h"

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
// Built without the chooser's implementation: there is no card to choose.
// (Once it is part of the build, this file must be compiled again.)
BOOL ChoosePoiCard(const CString&, CString&, CString&)
{
    return FALSE;
}
#endif
