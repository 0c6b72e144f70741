// The settings file: every key, its default and whether it is written back.
// Read once at start-up into theGlobal, written at exit.
#include <shlobj.h>
#include <shlwapi.h>

#include <cmath>
#include <variant>

#include "core/Global.h"
#include "core/SettingsText.h"

namespace {

// Base of every web address of the program.
const wchar_t* const kWebBaseUrl = CGlobal::kDefaultWebBaseUrl;

struct Ratio { float CGlobal::*member; };
struct Int { int CGlobal::*member; };
struct Text { CString CGlobal::*member; };
struct IntList { CDWordArray CGlobal::*member; };
struct Rect { RECT CGlobal::*member; };
struct Version {};  // App/Version: read and ignored, written from the program's version

struct Key {
    const wchar_t* section;
    const wchar_t* name;
    const wchar_t* defaultValue;
    bool written;
    std::variant<Version, Rect, Int, IntList, Ratio, Text> target;
};

// In the order they are read; the written ones are saved in the same order.
const Key kKeys[] = {
    {L"App", L"Version", L"0,0,0,0", true, Version{}},
    {L"Window", L"Position", L"0,0,0,0", true, Rect{&CGlobal::m_windowRect}},
    {L"Window", L"Maximized", L"0", true, Int{&CGlobal::m_maximized}},
    {L"Window", L"DrColumn09", L"55,40,155,85,210,210,210", true, IntList{&CGlobal::m_drColumns}},
    {L"Window", L"PiCsvColumn", L"110,110,120,150,120,150", true, IntList{&CGlobal::m_piCsvColumns}},
    {L"Window", L"PiKmlColumn", L"110,110,120,150,120,150", true, IntList{&CGlobal::m_piKmlColumns}},
    {L"Window", L"PiMapColumn", L"160,220,160,220", true, IntList{&CGlobal::m_piMapColumns}},
    {L"Window", L"PiRssColumn", L"22,50,22,22,126,244,140", true, IntList{&CGlobal::m_piRssColumns}},
    {L"Window", L"AbColumn", L"70,88,155,270,170", true, IntList{&CGlobal::m_abColumns}},
    {L"Window", L"FuelColumn", CGlobal::kDefaultFuelColumns, true, IntList{&CGlobal::m_fuelColumns}},
    {L"Window", L"UnityDlgColumn", L"58,141,122,90,90,90,90", true, IntList{&CGlobal::m_unityDlgColumns}},
    {L"Window", L"PicEditSplit", L"3000", true, Ratio{&CGlobal::m_picEditSplit}},
    {L"Window", L"PicFileSplit", L"2000", true, Ratio{&CGlobal::m_picFileSplit}},
    {L"Window", L"RssSplit", L"5000", true, Ratio{&CGlobal::m_rssSplit}},
    {L"Window", L"RssListSplit", L"3000", true, Ratio{&CGlobal::m_rssListSplit}},
    {L"Window", L"DrSplit", L"5000", true, Ratio{&CGlobal::m_drSplit}},
    {L"Option", L"ChangedFewModel", L"0", true, Int{&CGlobal::m_changedFewModel}},
    {L"Option", L"Sound", L"1", false, Int{&CGlobal::m_sound}},
    {L"Option", L"Animation", L"1", true, Int{&CGlobal::m_animation}},
    {L"Option", L"TempFolder", L"0", false, Int{&CGlobal::m_tempFolder}},
    {L"Option", L"TempFolderPath", L"", false, Text{&CGlobal::m_tempFolderPath}},
    {L"Option", L"Delimiter", L"0", true, Int{&CGlobal::m_delimiter}},
    {L"Option", L"Decimal", L"0", true, Int{&CGlobal::m_decimal}},
    {L"Option", L"Distance", L"0", true, Int{&CGlobal::m_distanceUnit}},
    {L"Option", L"Amount", L"0", true, Int{&CGlobal::m_amountUnit}},
    {L"Option", L"Mileage", L"0", true, Int{&CGlobal::m_mileageUnit}},
    {L"Option", L"TimeZone", L"0", true, Int{&CGlobal::m_timeZone}},
    {L"Option", L"TimeDifference", L"0", true, Int{&CGlobal::m_timeDifference}},
    {L"Option", L"GasType", L"0", true, Int{&CGlobal::m_gasType}},
    {L"Option", L"ECOJudge", L"1", true, Int{&CGlobal::m_ecoJudge}},
    {L"Option", L"VerCheck", L"1", true, Int{&CGlobal::m_verCheck}},
    {L"Option", L"DeviceNo", L"", true, Text{&CGlobal::m_deviceNo}},
    {L"Option", L"AppsService", L"", false, Text{&CGlobal::m_appsService}},
    {L"Option", L"WebBase", kWebBaseUrl, false, Text{&CGlobal::m_webBaseUrl}},
    {L"File", L"IgIniFolder", L"", true, Text{&CGlobal::m_igIniFolder}},
    {L"File", L"IgFileSpec", L"", true, Text{&CGlobal::m_igFileSpec}},
    {L"File", L"ClIniFolder", L"", true, Text{&CGlobal::m_clIniFolder}},
    {L"File", L"ClFileSpec", L"", true, Text{&CGlobal::m_clFileSpec}},
    {L"File", L"DrImportIniFolder", L"", true, Text{&CGlobal::m_drImportIniFolder}},
    {L"File", L"DrIniFolder", L"", true, Text{&CGlobal::m_drIniFolder}},
    {L"File", L"DrFileSpec", L"", true, Text{&CGlobal::m_drFileSpec}},
    {L"File", L"PiIniFolder", L"", true, Text{&CGlobal::m_piIniFolder}},
    {L"File", L"PiFileSpec", L"", true, Text{&CGlobal::m_piFileSpec}},
    {L"File", L"PiCsvIniFolder", L"", true, Text{&CGlobal::m_piCsvIniFolder}},
    {L"File", L"PiCsvFileSpec", L"", true, Text{&CGlobal::m_piCsvFileSpec}},
    {L"File", L"AbIniFolder", L"", true, Text{&CGlobal::m_abIniFolder}},
    {L"File", L"AbFileSpec", L"", true, Text{&CGlobal::m_abFileSpec}},
    {L"File", L"LanguageFile", L"", true, Text{&CGlobal::m_languageFile}},
    {L"File", L"NaviFile", L"", true, Text{&CGlobal::m_naviFile}},
    {L"File", L"DrFuelMasterFolder", L"", true, Text{&CGlobal::m_drFuelMasterFolder}},
    {L"File", L"DrFuelMasterName", L"", true, Text{&CGlobal::m_drFuelMasterName}},
    {L"File", L"AppTempFolder", L"", true, Text{&CGlobal::m_appTempFolder}},
    {L"Option", L"TransparentDlg", L"0", false, Int{&CGlobal::m_transparentDlg}},
    {L"Debug", L"WatchFolder", L"1", false, Int{&CGlobal::m_watchFolder}},
};

// Rounded, not truncated: truncating 0.3f * 10000 gives 2999, and the value
// would creep down by one on every save.
int RatioToStored(float ratio) { return static_cast<int>(std::lround(static_cast<double>(ratio) * 10000.0)); }

template <class... F>
struct Overload : F... { using F::operator()...; };
template <class... F>
Overload(F...) -> Overload<F...>;

CString ProgramTitle()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    PathStripPathW(path);
    PathRemoveExtensionW(path);
    return path;
}

CString ProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    PathRemoveFileSpecW(path);
    return path;
}

CString FolderUnder(const CString& root, const wchar_t* name)
{
    wchar_t path[MAX_PATH] = {};
    lstrcpynW(path, root, MAX_PATH);
    PathAppendW(path, name);
    PathAddBackslashW(path);
    return path;
}

}  // namespace

void CGlobal::LoadSettings()
{
    CWinApp* app = AfxGetApp();
    for (const Key& key : kKeys) {
        auto text = [&] { return app ? app->GetProfileString(key.section, key.name, key.defaultValue) : CString(key.defaultValue); };
        auto number = [&] { return app ? app->GetProfileInt(key.section, key.name, _wtoi(key.defaultValue)) : static_cast<UINT>(_wtoi(key.defaultValue)); };
        std::visit(Overload{
                       [&](const Version&) { text(); },
                       [&](const Rect& t) { this->*t.member = ParseRectText(text()); },
                       [&](const Int& t) { this->*t.member = static_cast<int>(number()); },
                       // A value that cannot be meant (empty, negative, not a number) is its default.
                       [&](const IntList& t) {
                           if (!ParseIntListText(text(), this->*t.member))
                               ParseIntListText(key.defaultValue, this->*t.member);
                       },
                       [&](const Ratio& t) {
                           if (!ParseRatioText(text(), this->*t.member))
                               ParseRatioText(key.defaultValue, this->*t.member);
                       },
                       [&](const Text& t) { this->*t.member = text(); },
                   },
                   key.target);
    }

    // Per-user data folders under the application-data folder.
    CString root;
    LPITEMIDLIST pidl = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &pidl)) && pidl) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(pidl, path))
            root = path;
        CoTaskMemFree(pidl);
    }
    // Without one (or with a relative one) the program's own folder stands in:
    // never a path under whatever the current folder is.
    root = FolderUnder(FullFolderOr(root, ProgramFolder()), ProgramTitle());
    m_iconFolder = FolderUnder(root, L"icon");
    m_splashFolder = FolderUnder(root, L"splash");
    m_rssFolder = FolderUnder(root, L"RSS");
    m_webBaseUrl = WebBaseOr(m_webBaseUrl, kWebBaseUrl);
}

void CGlobal::SaveSettings()
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    for (const Key& key : kKeys) {
        if (!key.written)
            continue;
        auto write = [&](const wchar_t* value) { app->WriteProfileString(key.section, key.name, value); };
        std::visit(Overload{
                       [&](const Version&) {
                           int v[4];
                           GetFileVersion(v[0], v[1], v[2], v[3]);
                           write(FormatRectText(v[0], v[1], v[2], v[3]));
                       },
                       [&](const Rect& t) {
                           const RECT& r = this->*t.member;
                           write(FormatRectText(r.left, r.top, r.right, r.bottom));
                       },
                       [&](const Int& t) { app->WriteProfileInt(key.section, key.name, this->*t.member); },
                       [&](const IntList& t) { write(FormatIntListText(this->*t.member)); },
                       [&](const Ratio& t) { app->WriteProfileInt(key.section, key.name, RatioToStored(this->*t.member)); },
                       [&](const Text& t) {
                           // The device number is only kept when it is complete.
                           if (t.member == &CGlobal::m_deviceNo && m_deviceNo.GetLength() != 16)
                               return;
                           write(this->*t.member);
                       },
                   },
                   key.target);
    }
}
