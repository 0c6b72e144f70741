#include "common/WebAddress.h"

#include <cwchar>

std::size_t WebSchemeLength(const wchar_t* text)
{
    if (!text)
        return 0;
    if (_wcsnicmp(text, L"http://", 7) == 0)
        return 7;
    if (_wcsnicmp(text, L"https://", 8) == 0)
        return 8;
    return 0;
}
