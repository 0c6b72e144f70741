// The card chooser's rules: how much free space a view's export needs and
// which file names the card can hold.
#include "common/TextCheck.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "frame/RemovableDlg.h"

namespace {

// Names the system takes as devices, with or without an extension.
bool IsDeviceName(const CString& name)
{
    CString base = name;
    const int dot = base.Find(L'.');
    if (dot >= 0)
        base = base.Left(dot);
    base.TrimRight(L' ');
    base.MakeUpper();
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL"})
        if (base == device)
            return true;
    if (base.GetLength() == 4 && (base.Left(3) == L"COM" || base.Left(3) == L"LPT")) {
        const wchar_t n = base[3];
        // The superscript digits count as well.
        return (n >= L'1' && n <= L'9') || n == L'\u00B9' || n == L'\u00B2' || n == L'\u00B3';
    }
    return false;
}

}  // namespace

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
    return IsDeviceName(name) ? FALSE : TRUE;
}
