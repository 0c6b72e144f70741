#include "frame/HeaderWnd.h"

#include <imm.h>

#include "common/ThemeLibrary.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "classlib/CMemDC.h"
#include "frame/PaneSides.h"
#include "frame/ViewTable.h"
#include "res/frame_ids.h"

namespace {

enum { kLeft, kRight, kBottom, kEditBase };
const wchar_t* const kImageNames[4] = {L"header_left.bmp", L"header_right.bmp", L"header_bottom.bmp",
                                       L"title_edit_base.bmp"};
constexpr COLORREF kEditText = RGB(208, 209, 108);

BOOL LoadHeaderButton(CCustomButton& button, CWnd* parent, UINT command, const wchar_t* name)
{
    wchar_t format[64], base[64];
    wsprintfW(format, L"return_%s_%%s.bmp", name);
    wsprintfW(base, L"return_%s_normal.bmp", name);
    if (!button.Create(CRect(0, 0, 86, 48), parent, command, FALSE) ||
        !button.LoadBitmaps(format, base, L"normal", L"pressed", L"pressed", L"hot", L"disable"))
        return FALSE;
    button.SetRoundRegion();
    button.ShowWindow(SW_HIDE);
    return TRUE;
}

// The title edit and icon button are shown for the POI list, map and feed views.
bool ViewHasTitleEdit(int index) { return index >= 2 && index <= 5; }

}  // namespace

BEGIN_MESSAGE_MAP(CHeaderWnd, CViewWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
    ON_WM_NCHITTEST()
    ON_COMMAND_RANGE(ID_MAIN_MENU, ID_MAIN_MENU, OnViewCommand)
    ON_COMMAND_RANGE(ID_POI_FROM_CSV, ID_APPS, OnViewCommand)
    ON_UPDATE_COMMAND_UI(ID_MAIN_MENU, OnUpdateViewCommand)
    ON_UPDATE_COMMAND_UI_RANGE(ID_POI_FROM_CSV, ID_APPS, OnUpdateViewCommand)
    ON_COMMAND(ID_UPDATE, RefreshHeader)
    ON_CONTROL(EN_CHANGE, ID_TITLE_EDIT, OnTitleChange)
    ON_COMMAND(ID_ICON, OnIconSelect)
END_MESSAGE_MAP()

CHeaderWnd::CHeaderWnd() = default;

CHeaderWnd::~CHeaderWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    if (m_editFont)
        ::DeleteObject(m_editFont);
}

int CHeaderWnd::OnCreate(LPCREATESTRUCTW cs)
{
    if (Default() == -1)
        return -1;
    RemoveWindowTheme(m_hWnd);
    if (!m_images.Load(kImageNames))
        return -1;
    m_text.SetTextColor(RGB(255, 255, 255));
    if (!LoadHeaderButton(m_back, this, ID_BACK, L"ahead") || !LoadHeaderButton(m_top, this, ID_TOP, L"top"))
        return -1;
    m_viewIndex = theGlobal.m_viewKind;
    m_pageTitle = theGlobal.UiString(75);
    if (!CreateTahomaFont(TRUE, &m_editFont, 190, FALSE))
        return -1;
    m_brush = ::CreateSolidBrush(kPaneBack);
    if (!m_titleEdit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(0, 0, 0, 0), this, ID_TITLE_EDIT))
        return -1;
    m_titleEdit.SetFont(m_editFont);
    m_titleEdit.SendMessage(EM_LIMITTEXT, 64, 0);
    m_titleEdit.ShowWindow(SW_HIDE);
    ::ImmAssociateContext(m_titleEdit.GetSafeHwnd(), nullptr);
    m_iconButton.m_kind = m_viewIndex;
    if (!m_iconButton.Create(CRect(0, 0, 56, 34), this, ID_ICON))
        return -1;
    m_iconButton.ModifyStyle(WS_VISIBLE, 0);
    m_iconButton.SetRoundRegion();
    RegisterForUpdates();
    return 0;
}

void CHeaderWnd::OnDestroy()
{
    if (m_brush) {
        ::DeleteObject(m_brush);
        m_brush = nullptr;
    }
    Default();
}

void CHeaderWnd::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (cx == 0 || cy == 0)
        return;
    const int b = m_back.m_strip.width;
    m_top.SetWindowPos(HWND{}, cx - b - 25, 10, 86, 48, SWP_NOZORDER | SWP_NOACTIVATE);
    m_back.SetWindowPos(HWND{}, cx - 2 * b - 45, 10, 86, 48, SWP_NOZORDER | SWP_NOACTIVATE);
    m_titleEdit.SetWindowPos(HWND{}, 84, 31, 696, 28, SWP_NOZORDER | SWP_NOACTIVATE);
    m_iconButton.SetWindowPos(HWND{}, 17, 28, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CHeaderWnd::SetPageTitle(const CString& title)
{
    m_pageTitle = title;
    Invalidate(FALSE);
}

void CHeaderWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(&paint, client);
    PaintPaneSides(dc, client, m_images[kLeft], m_images[kRight]);
    const DIB_IMAGE& bottom = m_images[kBottom];
    DrawDibEx(&bottom, dc, (client.Width() - bottom.width) / 2, client.bottom - 1, bottom.width, 1, 0, 0, bottom.width,
              bottom.height);
    if (m_editShown == SW_SHOW) {
        m_text.DrawText(dc, m_pageTitle, 12, 4, 150, TRUE, Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear);
        DrawDib(&m_images[kEditBase], dc, 72, 59);
    } else {
        m_text.DrawText(dc, m_pageTitle, 12, 11, 200, TRUE, Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear);
    }
}

HBRUSH CHeaderWnd::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if (wnd && wnd->GetSafeHwnd() == m_titleEdit.GetSafeHwnd()) {
        dc->SetTextColor(kEditText);
        dc->SetBkColor(kPaneBack);
        dc->SetBkMode(OPAQUE);
        return m_brush;
    }
    return reinterpret_cast<HBRUSH>(Default());
}

void CHeaderWnd::OnViewCommand(UINT id)
{
    const int index = ViewIndexOfCommand(id);
    if (index < 0)
        return;
    m_viewIndex = index;
    m_editShown = ViewHasTitleEdit(index) ? SW_SHOW : SW_HIDE;
    m_titleEdit.ShowWindow(m_editShown);
    m_iconButton.m_kind = index;
    m_iconButton.ShowWindow(m_editShown);
    m_titleEdit.SetWindowText(id == ID_POI_EDIT_KML ? static_cast<const wchar_t*>(theGlobal.m_docPiKml.GetFolderName())
                                                   : L"");
    theGlobal.m_headerTitle = id == ID_POI_EDIT_KML ? theGlobal.m_docPiKml.GetFolderName() : CString();
    if (CWnd* main = AfxGetMainWnd())
        main->PostMessage(WM_COMMAND, ID_SELCHANGED, 0);
}

// The view already shown refuses its own command; the apps view (32795) too.
void CHeaderWnd::OnUpdateViewCommand(CCmdUI* ui)
{
    const bool current = ViewIndexOfCommand(ui->m_nID) == m_viewIndex;
    ui->Enable(!current);
    ui->SetCheck(current ? 1 : 0);
}

void CHeaderWnd::RefreshHeader()
{
    BOOL enable = FALSE;
    switch (theGlobal.m_viewKind) {
    case 2: enable = theGlobal.m_docPiCsv.GetRecordCount() > 0; break;
    case 3: enable = theGlobal.m_docPiKml.GetRecordCount() > 0; break;
    case 4: enable = theGlobal.m_docPiMap.GetRecordCount() > 0; break;
    case 5: {
        const int shown = theGlobal.m_docRssPoi.GetShownItemCount();
        enable = (shown > 1000 ? 1000 : shown) > 0;
        m_titleEdit.SetWindowText(theGlobal.m_docRssPoi.GetFeedTitle(theGlobal.m_docRssPoi.m_selectedFeed));
        break;
    }
    default: break;
    }
    m_iconButton.EnableWindow(enable);
    m_iconButton.Invalidate(FALSE);
}

void CHeaderWnd::OnIconSelect()
{
    int preset = -1;
    switch (theGlobal.m_viewKind) {
    case 2: preset = theGlobal.m_docPiCsv.m_defaultIcon; break;
    case 3: preset = theGlobal.m_docPiKml.m_defaultIcon; break;
    case 4: preset = theGlobal.m_docPiMap.m_defaultIcon; break;
    case 5: preset = theGlobal.m_docRssPoi.m_defaultIcon; break;
    default: break;
    }
    int value = 0;
    if (!ChooseDocumentIcon(preset, value))
        return;
    SetDocumentIcon(value);
}

void CHeaderWnd::SetDocumentIcon(int value)
{
    CDoc* doc = nullptr;
    switch (theGlobal.m_viewKind) {
    case 2: theGlobal.m_docPiCsv.m_defaultIcon = value; doc = &theGlobal.m_docPiCsv; break;
    case 3: theGlobal.m_docPiKml.m_defaultIcon = value; doc = &theGlobal.m_docPiKml; break;
    case 4: theGlobal.m_docPiMap.m_defaultIcon = value; doc = &theGlobal.m_docPiMap; break;
    case 5: theGlobal.m_docRssPoi.m_defaultIcon = value; doc = &theGlobal.m_docRssPoi; break;
    default: break;
    }
    if (doc)
        doc->SetModified(1);
    m_iconButton.Invalidate(FALSE);
}

void CHeaderWnd::OnTitleChange()
{
    CString text;
    m_titleEdit.GetWindowText(text);
    theGlobal.m_headerTitle = text;
}

