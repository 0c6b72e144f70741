#include "frame/MainMenuWnd.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "common/FileArchive.h"
#include "common/FileUtil.h"
#include "common/LogWriter.h"
#include "controls/ButtonMessages.h"
#include "core/Global.h"
#include "classlib/CMemDC.h"
#include "frame/MessageDlg.h"
#include "frame/PartnersInfoDlg.h"
#include "frame/StatusWnd.h"
#include "frame/UrlOpener.h"
#include "res/frame_ids.h"


const wchar_t* const kPartnerHomePage = L"https://www.whereis.com/";

namespace {
CString g_unreadable;
}  // namespace

const CString& UnreadableStartMenuPicture() { return g_unreadable; }

CString MainWindowFailureText()
{
    CString text(L"_MSG_ERR_CW");
    if (!g_unreadable.IsEmpty()) {
        const CString& pack = theFileArchive.GetPath();
        CString line;
        line.Format(L"\n\nThe picture \"%s\" of %s cannot be read. Please reinstall the application.",
                    static_cast<LPCWSTR>(g_unreadable), ::PathFindFileNameW(pack));
        text += line;
    }
    return text;
}

int CMainMenuWnd::NoteUnreadable(LPCWSTR name)
{
    g_unreadable = name;
    return -1;
}

namespace {

enum { kStatusTop, kPicturePoi, kPictureSettings, kPictureDrive, kPictureApps410, kPictureApps540, kLogoTundrel,
       kLogoOskra };
const wchar_t* const kImageNames[8] = {L"status_top.bmp",          L"menu_back_poi.bmp",
                                       L"menu_back_settings.bmp",   L"menu_back_drive.bmp",
                                       L"menu_back_apps(kv410).bmp", L"menu_back_apps(kv540).bmp",
                                       L"menu_back_logo_tundrel.bmp", L"menu_back_logo_oskra.bmp"};

struct ButtonRow {
    UINT command;
    const wchar_t* name;  // picture base: btn_<name>_%s.png
    bool category;
    int caption;
};
// Categories first, then the tasks, in the order they are created and drawn.
const ButtonRow kButtons[] = {
    {ID_CATEGORY_POI, L"Menu_POI", true, 103},      {ID_CATEGORY_TOOLS, L"Menu_Tools", true, 402},
    {ID_CATEGORY_DRIVE, L"Menu_Drive", true, 101},  {ID_CATEGORY_APPS, L"Menu_Apps", true, 403},
    {ID_POI_FROM_CSV, L"FromCSV", false, 104},      {ID_PI_EDIT, L"FromKML", false, 106},
    {ID_POI_RSS_READER, L"FromGeoRSS", false, 109}, {ID_POI_MAP, L"FromMap", false, 108},
    {ID_PI_PARTNERS, L"FromPartners", false, 404},  {ID_CLONING, L"Settings", false, 100},
    {ID_PICTURE_EDIT, L"Picture", false, 102},      {ID_ADDRESS_BOOK, L"Favorites", false, 90},
    {ID_DRIVE_REPORT, L"DriveReport", false, 101},  {ID_SET_FUEL_MASTER, L"FuelReport", false, 110},
};
enum { kCsv = 4, kKml, kRss, kMap, kPartners, kCloning, kPicture, kAddressBook, kDrive, kFuel };

int UiNumber(int n)
{
    return n < theGlobal.m_uiStrings.GetSize() ? _wtoi(theGlobal.UiString(n)) : 0;
}

bool FourCategories() { return theGlobal.m_modelType == 1 || theGlobal.m_modelType == 4 || theGlobal.m_modelType == 6; }

}  // namespace

BEGIN_MESSAGE_MAP(CMainMenuWnd, CViewWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_REGISTERED_MESSAGE(WM_BUTTON_BEGIN_MOUSE_TRACK, OnBeginTrack)
    ON_REGISTERED_MESSAGE(WM_BUTTON_LEAVE_MOUSE_TRACK, OnLeaveTrack)
    ON_REGISTERED_MESSAGE(WM_DRAW_ALPHA_IMAGE, OnDrawAlpha)
    ON_COMMAND_RANGE(ID_CATEGORY_POI, ID_CATEGORY_APPS, OnCategory)
    ON_COMMAND(ID_PI_EDIT, OnOpenKml)
    ON_COMMAND(ID_SET_FUEL_MASTER, OnFuelReport)
    ON_COMMAND(ID_SENSIS, OnSensis)
    ON_COMMAND(ID_PI_PARTNERS, OnPartners)
    ON_COMMAND(ID_MENU_REFRESH, OnMenuRefresh)
END_MESSAGE_MAP()

CMainMenuWnd::CMainMenuWnd() = default;

CMainMenuWnd::~CMainMenuWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    delete m_plate;
}

CMultiTextButton* CMainMenuWnd::ButtonOf(UINT command)
{
    for (int i = 0; i < kCategoryCount + kTaskCount; ++i)
        if (kButtons[i].command == command)
            return &m_buttons[i];
    return nullptr;
}

int CMainMenuWnd::OnCreate(LPCREATESTRUCTW cs)
{
    g_unreadable.Empty();
    if (Default() == -1)
        return -1;
    const RECT categoryLine1 = {20, 90, 134, 108}, categoryLine1Big = {10, 95, 144, 116};
    const RECT categoryLine2 = {20, 113, 134, 131}, categoryLine2Big = {10, 120, 144, 141};
    const RECT taskLine1 = {10, 100, 190, 120}, taskLine2 = {10, 120, 190, 140};
    for (int i = 0; i < kCategoryCount + kTaskCount; ++i) {
        const ButtonRow& row = kButtons[i];
        CMultiTextButton& b = m_buttons[i];
        if (!b.Create(CRect(0, 0, 0, 0), this, row.command, FALSE))
            return -1;
        const RECT l1[kStateCount] = {categoryLine1, categoryLine1Big, categoryLine1Big, categoryLine1Big, categoryLine1};
        const RECT l2[kStateCount] = {categoryLine2, categoryLine2Big, categoryLine2Big, categoryLine2Big, categoryLine2};
        if (row.category) {
            b.SetTextRects(l1);
            b.SetSecondLineRects(l2);
        } else {
            b.SetTextRect(taskLine1);
            b.SetSecondLineRect(taskLine2);
        }
        for (int s = 0; s < kStateCount; ++s)
            b.m_textColors[s] = s == kStateDisabled ? RGB(80, 80, 80) : RGB(255, 255, 255);
        b.SetText(theGlobal.UiString(row.caption));
        if (!LoadButtonPictures(i))
            return -1;
    }
    if (!m_partner.Create(CRect(0, 0, 300, 41), this, ID_SENSIS, FALSE) ||
        !m_partner.LoadBitmaps(L"btn_sensis_main_%s.bmp", L"btn_sensis_main_normal.bmp", L"normal", L"normal",
                               L"normal", L"normal", L"normal"))
        return -1;
    m_partner.ShowWindow(UiStringIs(364, L"TRUE") ? SW_SHOW : SW_HIDE);
    SetCategory(0);
    for (int i = 0; i < 8; ++i)
        if (!m_images.LoadOne(i, kImageNames[i]))
            return NoteUnreadable(kImageNames[i]);
    if (HGLOBAL data = theFileArchive.ReadEntry(L"Back_Menu_Plate.png")) {
        IStream* stream = nullptr;
        if (SUCCEEDED(::CreateStreamOnHGlobal(data, TRUE, &stream))) {
            m_plate = Gdiplus::Image::FromStream(stream);
            stream->Release();
        } else {
            ::GlobalFree(data);
        }
    }
    if (!m_plate || m_plate->GetLastStatus() != Gdiplus::Ok)
        return NoteUnreadable(L"Back_Menu_Plate.png");
    return 0;
}

BOOL CMainMenuWnd::LoadButtonPictures(int i)
{
    const ButtonRow& row = kButtons[i];
    CMultiTextButton& b = m_buttons[i];
    wchar_t format[64], normal[64], pressed[64], other[64];
    wsprintfW(format, L"btn_%s_%%s.png", row.name);
    wsprintfW(normal, L"btn_%s_normal.png", row.name);
    wsprintfW(pressed, L"btn_%s_Multi_pressed.png", row.name);
    wsprintfW(other, row.category ? L"btn_%s_Multi_check.png" : L"btn_%s_Multi_hot.png", row.name);
    const wchar_t* suffix = row.category ? L"check" : L"hot";
    BOOL ok = b.LoadImages(format, suffix, suffix) && b.LoadTwoLineImage(pressed, kStatePressed) &&
              (!row.category || b.LoadTwoLineImage(other, kStateChecked)) && b.LoadTwoLineImage(other, kStateHot);
    // A picture that is there but does not decode would leave a blank button.
    if (!b.GetUnreadableImage().IsEmpty())
        NoteUnreadable(b.GetUnreadableImage());
    else if (!b.GetImage(kStateNormal))
        NoteUnreadable(normal);
    else
        return ok;
    return FALSE;
}

int CMainMenuWnd::PictureOfCategory(int category) const
{
    switch (category) {
    case 1: return 0;
    case 2: return 1;
    case 3: return 2;
    case 4: return theGlobal.m_modelType == 4 ? 3 : 4;
    default: return -1;
    }
}

void CMainMenuWnd::CheckCategoryButton(int category)
{
    for (int i = 0; i < kCategoryCount; ++i)
        m_buttons[i].SetCheck(i + 1 == category);
    m_fadeIn = PictureOfCategory(category);
}

void CMainMenuWnd::ShowTaskButtons(int category)
{
    bool show[kTaskCount] = {};
    auto set = [&](int button, bool on) { show[button - kCsv] = on; };
    if (category == 1) {
        set(kCsv, true);
        set(kKml, true);
        set(kRss, true);
        set(kPartners, UiNumber(383) >= 0);
        set(kMap, theGlobal.m_naviModel.m_region != 2);
    } else if (category == 2) {
        set(kCloning, true);
        set(kPicture, true);
        set(kAddressBook, theGlobal.m_modelType != 0 && theGlobal.m_modelType != 2);
    } else if (category == 3) {
        set(kDrive, true);
        set(kFuel, true);
    }
    for (int i = 0; i < kTaskCount; ++i) {
        if (!m_buttons[kCsv + i].GetSafeHwnd())
            continue;
        m_buttons[kCsv + i].ShowWindow(show[i] ? SW_SHOW : SW_HIDE);
    }
    theGlobal.m_menuCategory = category;
    Layout();
}

void CMainMenuWnd::SetCategory(int category)
{
    CheckCategoryButton(category);
    ShowTaskButtons(category);
    if (category != 0) {
        m_partner.ShowWindow(SW_HIDE);
    } else {
        m_fadeIn = m_fadeOut = -1;
        Invalidate(FALSE);
        m_partner.ShowWindow(UiStringIs(364, L"TRUE") ? SW_SHOW : SW_HIDE);
    }
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_COMMAND, ID_REFRESH_SENSIS, 0);
    m_buttons[3].ShowWindow(FourCategories() ? SW_SHOW : SW_HIDE);
}

void CMainMenuWnd::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (type != SIZE_MINIMIZED)
        Layout();
}

void CMainMenuWnd::Layout()
{
    CWnd* main = AfxGetMainWnd();
    if (!m_hWnd || (main && main->IsIconic()) || !m_images[kPicturePoi].bitmap)
        return;
    CRect client;
    GetClientRect(&client);
    const DIB_IMAGE& panel = m_images[kPicturePoi];
    const int cx = (client.left + client.right) / 2;
    const int top = client.top + ((client.bottom - 38 - client.top) - panel.height) / 2;
    m_panel = CRect(cx - panel.width / 2, top, cx - panel.width / 2 + panel.width, top + panel.height);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    const int wc = m_buttons[0].GetMaxImageWidth(), hc = m_buttons[0].GetMaxImageHeight();
    const int categories = FourCategories() ? 4 : 3;
    int x = categories == 4 ? cx - 2 * wc : cx - 3 * wc / 2;
    for (int i = 0; i < categories; ++i, x += wc)
        m_buttons[i].SetWindowPos(HWND{}, x, m_panel.top + 40, wc, hc, flags);
    if (m_partner.GetSafeHwnd()) {
        const int pw = m_partner.m_strip.width, ph = m_partner.GetFrameHeight();
        m_partner.SetWindowPos(HWND{}, cx - pw / 2, client.bottom - ph, pw, ph, flags);
    }
    const int wt = m_buttons[kCsv].GetMaxImageWidth(), ht = m_buttons[kCsv].GetMaxImageHeight();
    auto place = [&](int button, int dx, int dy) {
        m_buttons[button].SetWindowPos(HWND{}, m_panel.left + dx, m_panel.top + dy, wt, ht, flags);
    };
    const bool partners = UiNumber(383) >= 0;
    switch (theGlobal.m_menuCategory) {
    case 1:
        if (theGlobal.m_naviModel.m_region == 2) {
            if (partners) {
                place(kCsv, 176, 216), place(kKml, 506, 216), place(kPartners, 204, 353), place(kRss, 475, 353);
            } else {
                place(kCsv, 340, 254), place(kKml, 163, 339), place(kRss, 540, 339);
            }
        } else if (partners) {
            place(kCsv, 136, 216), place(kKml, 340, 216), place(kPartners, 546, 216), place(kRss, 204, 353),
                place(kMap, 475, 353);
        } else {
            place(kCsv, 176, 216), place(kKml, 506, 216), place(kRss, 204, 353), place(kMap, 475, 353);
        }
        break;
    case 2:
        if (theGlobal.m_modelType == 0 || theGlobal.m_modelType == 2) {
            place(kPicture, 184, 299), place(kCloning, 495, 299);
        } else {
            place(kCloning, 340, 254), place(kPicture, 163, 339), place(kAddressBook, 540, 339);
        }
        break;
    case 3: place(kDrive, 184, 299), place(kFuel, 495, 299); break;
    default: break;
    }
    Invalidate(FALSE);
}

void CMainMenuWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(&paint, client);
    dc.FillSolidRect(&client, kPaneBack);
    const DIB_IMAGE& line = m_images[kStatusTop];
    DrawDibEx(&line, dc, (client.Width() - line.width) / 2, client.bottom - 38, line.width, 1, 0, 0, line.width,
              line.height);
    auto blend = [&](int picture, int alpha) {
        const DIB_IMAGE& image = m_images[kPicturePoi + picture];
        HDC memory = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(memory, image.bitmap);
        BLENDFUNCTION f{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
        ::AlphaBlend(dc, m_panel.left, m_panel.top, image.width, image.height, memory, 0, 0, image.width,
                     image.height, f);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
    };
    if (m_fadeOut != -1)
        blend(m_fadeOut, m_fadeOutAlpha);
    if (m_fadeIn != -1)
        blend(m_fadeIn, m_fadeInAlpha);
    if (m_fadeIn == -1 && m_fadeOut == -1)
        DrawDib(&m_images[theGlobal.m_areaCode == 1 ? kLogoOskra : kLogoTundrel], dc, m_panel.left + 210,
                m_panel.top + 277);
    if (theGlobal.m_menuCategory >= 1 && theGlobal.m_menuCategory <= 3 && m_plate)
        DrawGdipImage(m_plate, dc, m_panel.left + 15, m_panel.top + 254);
    for (CMultiTextButton& b : m_buttons) {
        if (!b.GetSafeHwnd() || !b.IsWindowVisible())
            continue;
        CRect r;
        b.GetWindowRect(&r);
        ScreenToClient(&r);
        b.Draw(r.TopLeft(), dc);
    }
}

LRESULT CMainMenuWnd::OnDrawAlpha(WPARAM, LPARAM)
{
    Invalidate(FALSE);
    return 0;
}

LRESULT CMainMenuWnd::OnBeginTrack(WPARAM, LPARAM id)
{
    if (theGlobal.m_menuCategory != 0 || id < ID_CATEGORY_POI || id > ID_CATEGORY_APPS)
        return 0;
    m_fadeIn = PictureOfCategory(static_cast<int>(id - ID_CATEGORY_POI) + 1);
    m_fadeInAlpha = 0;
    SetTimer(FadeInTimer, 1);
    return 0;
}

LRESULT CMainMenuWnd::OnLeaveTrack(WPARAM, LPARAM id)
{
    if (theGlobal.m_menuCategory != 0)
        return 0;
    const bool category = id >= ID_CATEGORY_POI && id <= ID_CATEGORY_APPS;
    m_fadeOut = category ? PictureOfCategory(static_cast<int>(id - ID_CATEGORY_POI) + 1) : -1;
    m_fadeOutAlpha = 255;
    if (m_fadeOut == m_fadeIn) {
        m_fadeOutAlpha = m_fadeInAlpha;
        m_fadeIn = -1;
    }
    SetTimer(FadeOutTimer, 1);
    return 0;
}

void CMainMenuWnd::OnTimer(UINT_PTR id)
{
    if (id == FadeInTimer) {
        m_fadeInAlpha += 20;
        if (m_fadeInAlpha >= 256) {
            m_fadeInAlpha = 255;
            KillTimer(FadeInTimer);
        }
    } else if (id == FadeOutTimer) {
        m_fadeOutAlpha -= 20;
        if (m_fadeOutAlpha < 0) {
            m_fadeOutAlpha = 0;
            m_fadeOut = -1;
            KillTimer(FadeOutTimer);
        }
    } else {
        Default();
        return;
    }
    Invalidate(FALSE);
}

void CMainMenuWnd::OnCategory(UINT id)
{
    const int category = static_cast<int>(id - ID_CATEGORY_POI) + 1;
    SetCategory(category);
    Invalidate(FALSE);
    if (category == 4)
        if (CWnd* main = AfxGetMainWnd())
            main->SendMessage(WM_COMMAND, ID_APPS, 0);
}

void CMainMenuWnd::OnMenuRefresh()
{
    SetCategory(0);
    Invalidate(FALSE);
}

void CMainMenuWnd::OnOpenKml()
{
    wchar_t path[MAX_PATH] = {};
    lstrcpynW(path, theGlobal.m_piFileSpec, MAX_PATH);
    CWnd* main = AfxGetMainWnd();
    if (!ShowFileDialog(main ? main->GetSafeHwnd() : nullptr, theGlobal.m_piIniFolder, 3, TRUE, path))
        return;
    CDocPi& doc = theGlobal.m_docPiKml;
    doc.ResetDocument();
    doc.m_defaultIcon = theGlobal.m_modelType == 0 || theGlobal.m_modelType == 2 ? 2 : 1;
    WriteLog(L"KML File Open Start");
    if (!doc.Load(path)) {
        CString error;
        ShowMessage(doc.GetErrorString(error), 0, FALSE);
        if (doc.GetErrorCode() != 10)
            return;
        doc.SetModified(1);
    }
    WriteLog(L"KML File Open End");
    CString full(path);
    const int slash = full.ReverseFind(L'\\');
    theGlobal.m_piFileSpec = full.Mid(slash + 1);
    theGlobal.m_piIniFolder = full.Left(slash > 0 ? slash : 0);
    theGlobal.UpdateAllViews();
    if (main)
        main->SendMessage(WM_COMMAND, ID_POI_EDIT_KML, 0);
}

namespace {

// Reads a fuel master file into the emptied log; a file that cannot be read is
// reported and leaves the log empty (a log cut at its limit keeps what was read).
void LoadFuelMasterFile(const CString& path)
{
    CDocFe& doc = theGlobal.m_docFe;
    if (doc.Load(path)) {
        doc.SetModified(0);
        return;
    }
    CString error;
    ShowMessage(doc.GetErrorString(error), 0);
    if (!doc.m_overLimit)
        doc.RemoveAll();
    doc.m_overLimit = 0;
    doc.SetModified(0);
}

}  // namespace

// Loads the fuel master file, or the per-user one when the remembered file
// does not exist, and opens the fuel view.
void CMainMenuWnd::OnFuelReport()
{
    CDocFe& doc = theGlobal.m_docFe;
    doc.RemoveAll();
    doc.m_overLimit = 0;
    const CString remembered = GetFuelMasterPath();
    if (!theGlobal.m_drFuelMasterFolder.IsEmpty() && ::GetFileAttributesW(remembered) != INVALID_FILE_ATTRIBUTES) {
        LoadFuelMasterFile(remembered);
    } else {
        theGlobal.m_drFuelMasterName = L"FuelMaster.csv";
        wchar_t folder[MAX_PATH] = {};
        if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
            ::PathAppendW(folder, L"Mirovale");
            ::CreateDirectoryW(folder, nullptr);
            theGlobal.m_drFuelMasterFolder = folder;
            const CString path = GetFuelMasterPath();
            if (::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES)
                LoadFuelMasterFile(path);
        }
    }
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_COMMAND, ID_FUEL_REPORT, 0);
}

void CMainMenuWnd::OnPartners()
{
    CPartnersInfoDlg dlg;
    dlg.DoModal();
}

void CMainMenuWnd::OnSensis()
{
    CWnd* main = AfxGetMainWnd();
    OpenInBrowser(main ? main->GetSafeHwnd() : nullptr, kPartnerHomePage);
}
