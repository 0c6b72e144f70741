#include "views/device/ApWnd.h"

#include "classlib/CMemDC.h"
#include "common/ButtonStrips.h"
#include "core/Global.h"
#include "core/RegisteredMessages.h"
#include "frame/CmdUIText.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"

namespace {

constexpr int kAppsView = 12;
constexpr COLORREF kBack = 0x0A0505;
constexpr COLORREF kListFrame = 0x7E7E7E;
constexpr COLORREF kMaskColour = RGB(255, 0, 255);
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_EDITLABELS | LVS_OWNERDATA;

// The four 16 x 16 check pictures on magenta: none, not marked, marked, not
// available.
BOOL BuildCheckImages(CImageList& list)
{
    DIB_IMAGE strip;
    InitDibImage(&strip);
    if (!CreateDib(&strip, 64, 16))
        return FALSE;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, strip.bitmap);
    const RECT all = {0, 0, 64, 16};
    ::SetBkColor(dc, kMaskColour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    const COLORREF frames[4] = {0, RGB(230, 230, 230), RGB(230, 230, 230), RGB(110, 110, 110)};
    for (int k = 1; k < 4; ++k) {
        const int x = 16 * k;
        const RECT box = {x + 2, 2, x + 14, 14};
        HBRUSH frame = ::CreateSolidBrush(frames[k]);
        ::FrameRect(dc, &box, frame);
        ::DeleteObject(frame);
        const RECT inside = {x + 3, 3, x + 13, 13};
        ::SetBkColor(dc, k == 3 ? RGB(70, 70, 70) : RGB(30, 30, 35));
        ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &inside, nullptr, 0, nullptr);
        if (k == 2) {
            HPEN tick = ::CreatePen(PS_SOLID, 2, RGB(90, 210, 90));
            HGDIOBJ oldPen = ::SelectObject(dc, tick);
            ::MoveToEx(dc, x + 4, 8, nullptr);
            ::LineTo(dc, x + 7, 11);
            ::LineTo(dc, x + 12, 4);
            ::SelectObject(dc, oldPen);
            ::DeleteObject(tick);
        }
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    const BOOL ok = list.Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 0) && list.Add(strip.bitmap, kMaskColour) >= 0 &&
                    list.GetImageCount() == 4;
    FreeDibImage(&strip);
    return ok;
}

BOOL CreateList(CApWebListCtrl& list, CWnd* parent, UINT id)
{
    list.m_headerShown = FALSE;
    if (!list.Create(nullptr, nullptr, kListStyle, CRect(0, 0, 0, 0), parent, id))
        return FALSE;
    list.m_cellMode = TRUE;
    return TRUE;
}

}  // namespace

BEGIN_MESSAGE_MAP(CApWnd, CViewWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SHOWWINDOW()
    ON_WM_LBUTTONDOWN()
    ON_REGISTERED_MESSAGE(WM_USER_IDLE, OnUserIdle)
    ON_COMMAND(ID_UPDATE, OnRefresh)
    ON_COMMAND(ID_DRIVE_SELECT, OnDriveSelect)
    ON_COMMAND(ID_EXPORT, OnExport)
    ON_COMMAND(ID_BACK, OnLeave)
    ON_COMMAND(ID_TOP, OnLeave)
    ON_UPDATE_COMMAND_UI(ID_EXPORT, OnUpdateExport)
    ON_UPDATE_COMMAND_UI(ID_DRIVE_SELECT, OnUpdateDriveSelect)
    ON_NOTIFY(LVN_BEGINLABELEDITW, IDC_AP_WEB_LIST, OnWebBeginEdit)
    ON_NOTIFY(LVN_ENDLABELEDITW, IDC_AP_WEB_LIST, OnWebEndEdit)
    ON_NOTIFY(LVN_GETDISPINFOW, IDC_AP_WEB_LIST, OnWebDispInfo)
    ON_NOTIFY(LVN_BEGINLABELEDITW, IDC_AP_CARD_LIST, OnCardBeginEdit)
    ON_NOTIFY(LVN_ENDLABELEDITW, IDC_AP_CARD_LIST, OnCardEndEdit)
    ON_NOTIFY(LVN_GETDISPINFOW, IDC_AP_CARD_LIST, OnCardDispInfo)
END_MESSAGE_MAP()

CApWnd::CApWnd() : CViewWnd(kAppsView) { m_text.SetTextColor(RGB(255, 255, 255)); }

CApWnd::~CApWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    for (DIB_IMAGE* image : {&m_separator, &m_arrow, &m_cardIcon, &m_noCardIcon})
        FreeDibImage(image);
}

int CApWnd::OnCreate(LPCREATESTRUCTW cs)
{
    if (Default() == -1)
        return -1;
    m_webList.m_mode = CApWebListCtrl::WebList;
    m_webList.m_minRowHeight = 73;
    m_webList.m_barFirst = m_webList.m_barLast = 1;
    if (!CreateList(m_webList, this, IDC_AP_WEB_LIST) || !BuildCheckImages(m_checkImages))
        return -1;
    m_webList.AttachImageList(&m_checkImages, LVSIL_SMALL);
    m_webList.InsertColumn(0, L"check", LVCFMT_CENTER, 48);
    m_webList.InsertColumn(1, L"name", LVCFMT_LEFT, 242);
    m_webList.InsertColumn(2, L"info", LVCFMT_CENTER, 80);
    const int webTypes[] = {CCustomListCtrl::EditCheck, CCustomListCtrl::EditIconOrTextNoIme, CCustomListCtrl::EditCheck};
    for (int c = 0; c < 3 && c < m_webList.m_columnProps.GetSize(); ++c)
        m_webList.m_columnProps[c].type = webTypes[c];

    m_cardList.m_mode = CApWebListCtrl::CardList;
    m_cardList.m_minRowHeight = 72;
    m_cardList.m_barFirst = m_cardList.m_barLast = 0;
    if (!CreateList(m_cardList, this, IDC_AP_CARD_LIST) ||
        !m_cardFrames.Create(56, 48, ILC_COLOR32 | ILC_MASK, 0, 0))
        return -1;
    m_cardList.AttachImageList(&m_cardFrames, LVSIL_NORMAL);
    m_cardList.InsertColumn(0, L"name", LVCFMT_LEFT, 242);
    m_cardList.InsertColumn(1, L"delete", LVCFMT_CENTER, 90);
    const int cardTypes[] = {CCustomListCtrl::EditIconOrTextNoIme, CCustomListCtrl::EditCheck};
    for (int c = 0; c < 2 && c < m_cardList.m_columnProps.GetSize(); ++c)
        m_cardList.m_columnProps[c].type = cardTypes[c];

    if (!m_export.Create(CRect(0, 0, 0, 0), this, ID_EXPORT, FALSE) ||
        !BuildNumberedButtonImage(&m_export.m_strip, kWriteCaption, 192, 48, L"btn_Save_SD", TRUE, RECT{35, 0, 192, 48}) ||
        !m_driveSelect.Create(CRect(0, 0, 0, 0), this, ID_DRIVE_SELECT, FALSE) ||
        !BuildButtonImage(&m_driveSelect.m_strip, UiText(413), 146, 38, 200, TRUE))
        return -1;
    m_export.SetRoundRegion();
    m_driveSelect.SetRoundRegion();
    if (!LoadDibFromPack(L"status_top.bmp", &m_separator) || !LoadDibFromPack(L"apps_arrow_mark.bmp", &m_arrow) ||
        !LoadDibFromPack(L"SD_Card_icon.bmp", &m_cardIcon) || !LoadDibFromPack(L"SD_Card_no_icon.bmp", &m_noCardIcon))
        return -1;
    m_webList.EnableWindow(FALSE);
    m_cardList.EnableWindow(FALSE);
    RegisterForUpdates();
    return 0;
}

void CApWnd::OnSize(UINT, int cx, int cy)
{
    Default();
    CWnd* main = AfxGetMainWnd();
    if (cx <= 0 || cy <= 0 || !m_webList.GetSafeHwnd() || (main && main->IsIconic()))
        return;
    const int L = 0, T = 0, R = cx, B = cy, H = (R - L) / 2;
    const UINT keep = SWP_NOZORDER | SWP_NOACTIVATE;
    m_webList.SetWindowPos(HWND{}, L + 90, T + 80, H - 115, B - T - 185, keep);
    m_cardList.SetWindowPos(HWND{}, (L + R) / 2 + 65, T + 80, H - 155, B - T - 185, keep);
    const int ew = m_export.m_strip.width, eh = m_export.GetFrameHeight();
    m_export.SetWindowPos(HWND{}, R - ew - 6, B - 49, ew, eh, keep);
    const int dw = m_driveSelect.m_strip.width, dh = m_driveSelect.GetFrameHeight();
    m_driveSelect.SetWindowPos(HWND{}, R - dw - 89, T + 31, dw, dh, keep);
    m_noteRect = CRect((L + R) / 2 - 300, B - 50, (L + R) / 2, B - 5);
    Invalidate(FALSE);
}

void CApWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(&paint, client);
    const int L = client.left, T = client.top, R = client.right, B = client.bottom;
    ::SetBkColor(dc, kBack);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
    const RECT band = {(L + R - m_separator.width) / 2, B - 60, (L + R - m_separator.width) / 2 + m_separator.width,
                       B - 59};
    FillRectWithDib(dc, &m_separator, &band, FALSE);
    if (!m_webList.GetSafeHwnd())
        return;

    const CDocAp& doc = theGlobal.m_docAp;
    const int offered = m_busy ? 0 : static_cast<int>(doc.m_serverApps.GetSize());
    CRect web, card;
    m_webList.GetWindowRect(&web);
    ScreenToClient(&web);
    m_cardList.GetWindowRect(&card);
    ScreenToClient(&card);
    const auto heading = [&](const CString& text, const RECT& box, COLORREF colour) {
        m_text.SetTextColor(colour);
        m_text.DrawTextFit(dc, text, 117, TRUE, Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter, box);
    };
    const RECT webBox = {web.left + 13, web.top - 34, web.left + 213, web.top - 16};
    heading(UiText(420), webBox, offered > 0 ? RGB(255, 255, 255) : RGB(127, 127, 127));
    const RECT cardBox = {card.left + 45, card.top - 34, card.left + 195, card.top - 16};
    const BOOL hasCard = ShowsCard();
    DrawDib(hasCard ? &m_cardIcon : &m_noCardIcon, dc, cardBox.left - 34, cardBox.top - 13);
    heading(UiText(hasCard ? 414 : 419), cardBox, hasCard ? RGB(255, 255, 255) : RGB(127, 127, 127));
    const RECT note = {L + 94, B - 49, R - 220, B - 31};
    heading(UiText(424), note, RGB(127, 127, 127));
    if (offered > kMaxAppsOnCard) {
        const RECT more = {note.left, note.top + 20, note.right, note.bottom + 20};
        heading(UiText(425), more, RGB(127, 127, 127));
    }
    DrawDib(&m_arrow, dc, (L + R) / 2 - 11, T + 249);

    HPEN pen = ::CreatePen(PS_SOLID, 1, kListFrame);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    for (const CRect& r : {web, card})
        ::Rectangle(dc, r.left - 1, r.top - 1, r.right + 1, r.bottom + 1);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
}

BOOL CApWnd::ShowsCard() const
{
    return m_busy ? m_cardBeforeTask : !theGlobal.m_docAp.GetCardRoot().IsEmpty();
}

void CApWnd::OnLButtonDown(UINT, CPoint)
{
    FocusOnLButtonDown(this);
}

void CApWnd::Repaint()
{
    Invalidate(FALSE);
    m_webList.Invalidate(FALSE);
    m_cardList.Invalidate(FALSE);
}
