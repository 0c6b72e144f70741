#include "frame/OwnVersion.h"

CString VersionLabelText(HMODULE module)
{
    int v[4];
    CString text;
    if (ReadFileVersion(module, v))
        text.Format(L"Ver.  %d.%d.%d", v[0], v[1], v[2]);
    return text;
}

const wchar_t* SplashPictureName(int areaCode)
{
    return areaCode == 2 ? L"splash_seravine.bmp" : L"splash_mirovale.bmp";
}
