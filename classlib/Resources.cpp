#include "classlib/Resources.h"

#include "classlib/CWinApp.h"

BOOL AfxLoadString(UINT id, CString& text)
{
    // With a zero buffer size LoadStringW hands out a pointer into the resource.
    const wchar_t* p = nullptr;
    int n = ::LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&p), 0);
    if (n <= 0 || !p) {
        text = CString();
        return FALSE;
    }
    text = CString(p, n);
    return TRUE;
}
