#include "frame/WebLink.h"

#include <cwchar>
#include <cwctype>

#include "common/WebAddress.h"
#include "frame/UrlOpener.h"

BOOL IsWebLink(const wchar_t* address)
{
    if (!address)
        return FALSE;
    const size_t skip = WebSchemeLength(address);
    if (!skip)
        return FALSE;
    // A host must follow, and no character the shell would read as the end of
    // the address or as another argument may appear anywhere.
    const wchar_t* host = address + skip;
    if (!*host || *host == L'/' || *host == L'\\' || *host == L'?' || *host == L'#')
        return FALSE;
    for (const wchar_t* p = address; *p; ++p)
        if (std::iswcntrl(*p) || *p == L' ' || *p == L'"' || *p == L'\\')
            return FALSE;
    return TRUE;
}

BOOL OpenWebLink(HWND parent, const wchar_t* address)
{
    if (!IsWebLink(address))
        return FALSE;
    OpenInBrowser(parent, address);
    return TRUE;
}
