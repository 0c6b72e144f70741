#include "doc/DocCl.h"

#include <shlwapi.h>

#include "common/XmlDocument.h"
#include "core/Global.h"
#include "doc/DocPaths.h"
#include "doc/PictureLoad.h"

namespace {

// Colour intensity of each custom illumination level on model types 0 and 2.
const int kLevels[32] = {0,   90,  95,  100, 105, 110, 115, 120, 125, 130, 135, 140, 145, 150, 155, 160,
                         165, 171, 177, 183, 189, 195, 201, 207, 213, 219, 225, 231, 237, 243, 249, 255};

int Level(BYTE level) { return level > 31 ? 31 : level; }

bool IsRootLayout(int modelType) { return modelType == 0 || modelType == 2; }

}  // namespace

CDocCl::CDocCl() { InitDibImage(&m_wallpaper); }

CDocCl::~CDocCl() { FreeDibImage(&m_wallpaper); }

void CDocCl::InitErrorStrings()
{
    CDoc::InitErrorStrings();
    AppendErrorText(UiText(11));
    AppendErrorText(UiText(12));
    AppendErrorText(UiText(13));
}

void CDocCl::InitDefaults()
{
    const CNaviModelData& model = theGlobal.m_naviModel;
    m_program = model.m_programItems.GetSize() ? static_cast<BYTE>(model.m_programItems[0].id) : 255;
    m_voice = model.m_voiceItems.GetSize() ? static_cast<BYTE>(model.m_voiceItems[0].id) : 255;
    m_customLevel1 = m_customLevel2 = m_customLevel3 = 1;
}

SIZE CDocCl::GetScreenSize(int modelType)
{
    if (modelType == 1 || modelType == 4 || modelType == 6)
        return SIZE{480, 272};
    return SIZE{800, 480};
}

BOOL CDocCl::Load(const wchar_t* path)
{
    DIB_IMAGE loaded;
    if (!LoadAnyPicture(path, &loaded)) {
        m_errorCode = DOCERR_READ;
        return FALSE;
    }
    SIZE screen = GetScreenSize(theGlobal.m_modelType);
    FitDibLetterbox(&loaded, screen.cx, screen.cy);
    if (!loaded.bits || loaded.width != screen.cx || loaded.height != screen.cy) {
        FreeDibImage(&loaded);
        m_errorCode = DOCERR_READ;
        return FALSE;
    }
    FreeDibImage(&m_wallpaper);
    m_wallpaper = loaded;
    m_pictureName = PathFindFileNameW(path);
    return TRUE;
}

int CDocCl::GetIlluminationColor() const
{
    return (kLevels[Level(m_customLevel3)] << 16) + (kLevels[Level(m_customLevel2)] << 8) +
           kLevels[Level(m_customLevel1)];
}

int CDocCl::GetCustomIllumination(int modelType) const
{
    if (modelType == 4)
        return 65793;
    return (Level(m_customLevel3) << 16) + (Level(m_customLevel2) << 8) + Level(m_customLevel1);
}

CString CDocCl::GetSplashPath(int storageKind, int modelType, bool* hasPath) const
{
    *hasPath = true;
    if (!HasWallpaper())
        return L"none";
    if (!IsRootLayout(modelType))
        return L"Storage Card\\PC\\Pictures\\wallpaper.bmp";
    if (storageKind == CL_STORAGE_CARD)
        return L"Storage Card\\Pictures\\wallpaper.bmp";
    if (storageKind == CL_STORAGE_USB)
        return L"USB Disk\\Pictures\\wallpaper.bmp";
    *hasPath = false;
    return CString();
}

BOOL CDocCl::WriteCloneFiles(const wchar_t* root, int storageKind, int modelType)
{
    const bool rootLayout = IsRootLayout(modelType);
    CString base = WithBackslash(root);
    CString pictures = base + (rootLayout ? L"Pictures" : L"PC\\Pictures");
    CString settings = rootLayout ? base : base + L"PC\\Settings";
    if (!root || !*root || !CreateFolderPath(pictures) || (!rootLayout && !CreateFolderPath(settings))) {
        m_errorCode = CLERR_CREATE_FOLDER;
        return FALSE;
    }

    // The whole document is built before anything reaches the card.
    CXmlDocument xml;
    XmlElementPtr clone = xml.Create(L"clone", rootLayout ? XML_UTF8 : XML_UTF16);
    bool ok = clone != nullptr;
    ok = ok && (rootLayout ? xml.AppendIntElement(L"flag", clone, 1)
                           : xml.AppendTextElement(L"MirovaleFileVersion", clone, L"A01"));
    XmlElementPtr language = ok ? xml.AppendElement(L"language", clone) : XmlElementPtr();
    ok = ok && language && xml.AppendIntElement(L"program", language, m_program) &&
         xml.AppendIntElement(L"voice", language, m_voice);
    XmlElementPtr illumination = ok ? xml.AppendElement(L"illumination", clone) : XmlElementPtr();
    ok = ok && illumination;
    if (rootLayout)
        ok = ok && xml.AppendIntElement(L"color", illumination, GetIlluminationColor());
    else
        ok = ok && xml.AppendIntElement(L"color", illumination, 9) &&
             xml.AppendIntElement(L"custom", illumination, GetCustomIllumination(modelType));
    XmlElementPtr splash = ok ? xml.AppendElement(L"splash", clone) : XmlElementPtr();
    ok = ok && splash;
    bool hasPath = false;
    CString path = GetSplashPath(storageKind, modelType, &hasPath);
    if (hasPath)
        ok = ok && xml.AppendTextElement(L"path", splash, path);
    if (rootLayout) {
        XmlElementPtr map = ok ? xml.AppendElement(L"map", clone) : XmlElementPtr();
        ok = ok && map && xml.AppendIntElement(L"units", map, m_units);
        XmlElementPtr color = ok ? xml.AppendElement(L"color", map) : XmlElementPtr();
        ok = ok && color && xml.AppendIntElement(L"day", color, m_dayColor) &&
             xml.AppendIntElement(L"night", color, m_nightColor) &&
             xml.AppendIntElement(L"dateformat", clone, m_dateFormat);
    } else {
        ok = ok && xml.AppendIntElement(L"units", clone, m_units) &&
             xml.AppendIntElement(L"roadcolor", clone, m_roadColor);
    }
    ok = ok && xml.AppendIntElement(L"timeformat", clone, m_timeFormat);
    if (!ok) {
        m_errorCode = CLERR_WRITE_XML;
        return FALSE;
    }
    if (HasWallpaper() && !SaveDibAsBmp(WithBackslash(pictures) + L"wallpaper.bmp", &m_wallpaper)) {
        m_errorCode = CLERR_WRITE_WALLPAPER;
        return FALSE;
    }
    if (!xml.Save(WithBackslash(settings) + L"clone.xml")) {
        m_errorCode = CLERR_WRITE_XML;
        return FALSE;
    }
    return TRUE;
}
