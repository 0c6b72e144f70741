// The card chooser's rules: how much free space a view's export needs and
// which file names the card can hold.
#include "common/TextCheck.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "doc/DocPaths.h"
#include "frame/RemovableDlg.h"

int CRemovableDlg::ThresholdMB(int viewKind)
{
    switch (viewKind) {
    case 2: case 3: case 4: case 5: case 6: case 8:
        return 1;
    case 12:
        return 2;
    default:
        return 0;
    }
}

BOOL CRemovableDlg::IsAcceptableFileName(const CString& name)
{
    if (name.IsEmpty() || HasInvalidFileNameChar(name))
        return FALSE;
    if (!IsTextOfClass(name, theGlobal.m_naviModel.m_modelGroup))
        return FALSE;
    // The system trims a final dot or blank and opens a device for a device
    // name: the export would report a file that is not there.
    const wchar_t last = name[name.GetLength() - 1];
    if (last == L'.' || last == L' ')
        return FALSE;
    return IsReservedFileName(name) ? FALSE : TRUE;
}
