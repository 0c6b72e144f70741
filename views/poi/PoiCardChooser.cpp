// The chooser runs with its file-name edit shown and preset.
#include "views/poi/PoiCardChooser.h"

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
