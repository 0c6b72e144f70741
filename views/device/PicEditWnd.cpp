#include "views/device/PicEditWnd.h"

#include "classlib/CMemDC.h"
#include "common/ButtonStrips.h"
#include "common/ThemeLibrary.h"
#include "core/Global.h"
#include "core/RegisteredMessages.h"
#include "frame/MainWindowCalls.h"
#include "frame/MessageDlg.h"
#include "res/frame_ids.h"
#include "res/picture_ids.h"
#include "views/device/PicFrame.h"

namespace {

constexpr int kPictureView = 7;
constexpr COLORREF kBack = RGB(5, 5, 10);

}  // namespace

int AskTwoChoices(const wchar_t* text, const wchar_t* first, const wchar_t* second)
{
    if (!text || !*text || !first || !*first || !second || !*second)
        return IDYES;
    CMessageDlg box(theGlobal.UiString(238), AfxGetMainWnd());
    box.SetButtonTexts(first, second);
    // Escape and the close button choose neither: the caller's default.
    box.m_escapeAnswer = IDCANCEL;
    return static_cast<int>(box.DoMessage(text, 4));
}

namespace {
void LocalTime(SYSTEMTIME* t) { ::GetLocalTime(t); }
}  // namespace

CPicEditWnd::ClockFn CPicEditWnd::s_clock = &LocalTime;

BEGIN_MESSAGE_MAP(CPicEditWnd, CViewWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SHOWWINDOW()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_REGISTERED_MESSAGE(WM_USER_IDLE, OnUserIdle)
    ON_COMMAND(ID_UPDATE, Refresh)
    ON_COMMAND(ID_PIC_ICON_MODE, OnIconMode)
    ON_UPDATE_COMMAND_UI(ID_PIC_ICON_MODE, OnUpdateIconMode)
    ON_COMMAND(ID_PIC_SCREEN_MODE, OnScreenMode)
    ON_UPDATE_COMMAND_UI(ID_PIC_SCREEN_MODE, OnUpdateScreenMode)
    ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateFileOpen)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateSave)
    ON_COMMAND(ID_PIC_TRIM, OnTrim)
    ON_UPDATE_COMMAND_UI(ID_PIC_TRIM, OnUpdateTrim)
    ON_COMMAND(ID_PIC_CANCEL, OnCancelEdit)
    ON_UPDATE_COMMAND_UI(ID_PIC_CANCEL, OnUpdateEditing)
    ON_COMMAND(ID_PIC_FIT_WIDTH, OnFitWidth)
    ON_UPDATE_COMMAND_UI(ID_PIC_FIT_WIDTH, OnUpdateFit)
    ON_COMMAND(ID_PIC_FIT_HEIGHT, OnFitHeight)
    ON_UPDATE_COMMAND_UI(ID_PIC_FIT_HEIGHT, OnUpdateFit)
    ON_COMMAND(ID_PIC_ROTATE_RIGHT, OnRotateRight)
    ON_UPDATE_COMMAND_UI(ID_PIC_ROTATE_RIGHT, OnUpdateEditing)
    ON_COMMAND(ID_PIC_ROTATE_LEFT, OnRotateLeft)
    ON_UPDATE_COMMAND_UI(ID_PIC_ROTATE_LEFT, OnUpdateEditing)
    ON_COMMAND(ID_PIC_TOGGLE_FRAME, OnToggleFrame)
    ON_UPDATE_COMMAND_UI(ID_PIC_TOGGLE_FRAME, OnUpdateEditing)
    ON_COMMAND(ID_PIC_ICON_EDIT, OnIconEdit)
    ON_COMMAND(ID_PIC_SELECT_IMAGE, OnSelectImage)
    ON_UPDATE_COMMAND_UI(ID_PIC_SELECT_IMAGE, OnUpdateSelectImage)
    ON_COMMAND(ID_INIT_IG, OnInitFolder)
    ON_COMMAND(ID_SHELL_BACK, OnShellBack)
    ON_UPDATE_COMMAND_UI(ID_SHELL_BACK, OnUpdateShellBack)
    ON_COMMAND(ID_SHELL_UP, OnShellUp)
    ON_UPDATE_COMMAND_UI(ID_SHELL_UP, OnUpdateShellUp)
    ON_COMMAND(ID_BACK, OnBack)
    ON_UPDATE_COMMAND_UI(ID_BACK, OnUpdateCurrent)
    ON_COMMAND(ID_TOP, OnTop)
    ON_UPDATE_COMMAND_UI(ID_TOP, OnUpdateCurrent)
    ON_NOTIFY(TVN_SELCHANGEDW, IDC_PIC_TREE, OnTreeSelChanged)
    ON_NOTIFY(NM_SETFOCUS, IDC_PIC_TREE, OnTreeFocus)
    ON_NOTIFY(NM_KILLFOCUS, IDC_PIC_TREE, OnTreeFocus)
    ON_NOTIFY(NM_DBLCLK, IDC_PIC_THUMBS, OnThumbDblClk)
    ON_NOTIFY(LVN_BEGINDRAG, IDC_PIC_THUMBS, OnThumbBeginDrag)
END_MESSAGE_MAP()

CPicEditWnd::CPicEditWnd() : CViewWnd(kPictureView)
{
    for (DIB_IMAGE* image : {&m_footer, &m_splitTop, &m_splitTile, &m_splitBottom})
        InitDibImage(image);
}

CPicEditWnd::~CPicEditWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    for (DIB_IMAGE* image : {&m_footer, &m_splitTop, &m_splitTile, &m_splitBottom})
        FreeDibImage(image);
    if (m_newFolder)
        ::ILFree(m_newFolder);
    if (m_oldFolder)
        ::ILFree(m_oldFolder);
    delete m_dragImages;
}

int CPicEditWnd::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    RemoveWindowTheme(m_hWnd);
    const CRect none(0, 0, 0, 0);
    if (!m_btnIconMode.Create(none, this, ID_PIC_ICON_MODE, FALSE) ||
        !BuildLargeButtonImage(&m_btnIconMode.m_strip, theGlobal.UiString(128)))
        return -1;
    m_btnIconMode.SetRoundRegion();
    if (!m_btnScreenMode.Create(none, this, ID_PIC_SCREEN_MODE, FALSE) ||
        !BuildLargeButtonImage(&m_btnScreenMode.m_strip, theGlobal.UiString(129)))
        return -1;
    m_btnScreenMode.SetRoundRegion();
    if (!m_btnSave.Create(none, this, ID_FILE_SAVE, FALSE) ||
        !BuildButtonImage(&m_btnSave.m_strip, theGlobal.UiString(115), 192, 48, 200, TRUE))
        return -1;
    m_btnSave.SetRoundRegion();
    if (!m_btnSelect.Create(CRect(0, 0, 28, 196), this, ID_PIC_SELECT_IMAGE, FALSE) ||
        !m_btnSelect.LoadBitmaps(L"btn_Select_Img_%s.bmp", L"btn_Select_Img_normal.bmp", L"normal", L"pressed",
                                 L"pressed", L"hot", L"disable"))
        return -1;
    m_btnSelect.SetRoundRegion();
    if (!LoadDibFromPack(L"splitter_top.bmp", &m_splitTop) || !LoadDibFromPack(L"splitter_tile.bmp", &m_splitTile) ||
        !LoadDibFromPack(L"splitter_bottom.bmp", &m_splitBottom))
        return -1;
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    if (!m_filePane.Create(nullptr, nullptr, style, none, this, 0xFFFF) ||
        !m_imagePane.Create(nullptr, nullptr, style, none, this, 0xFFFF))
        return -1;
    if (!LoadDibFromPack(L"status_top.bmp", &m_footer))
        return -1;
    RegisterForUpdates();
    return 0;
}

void CPicEditWnd::OnDestroy()
{
    KillTimer(FolderTimer);
    if (m_thumbDragging)
        EndThumbDrag(false);
    Default();
}

void CPicEditWnd::OnSize(UINT, int cx, int cy)
{
    if (!cx || !cy)
        return;
    m_leftWidth = static_cast<int>((cx - 12) * theGlobal.m_picEditSplit);
    Layout();
}

void CPicEditWnd::Layout()
{
    if (!m_hWnd)
        return;
    CRect c;
    GetClientRect(&c);
    const int W = c.Width(), H = c.Height(), S = m_splitTile.width;
    if (H >= 61 && W - 12 > 0) {
        m_leftWidth = picframe::ClampEditSplit(m_leftWidth, W, H, S);
        theGlobal.m_picEditSplit = static_cast<float>(m_leftWidth) / (W - 12);
        m_bar = RECT{6 + m_leftWidth, 20, 6 + m_leftWidth + S, H - 90};
    }
    if (MainWindowMinimised())
        return;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    m_filePane.SetWindowPos(HWND{}, 6, 20, m_leftWidth, H - 110, flags);
    const int wi = W - S - m_leftWidth - 44;
    const int xi = W - wi - 6;
    m_imagePane.SetWindowPos(HWND{}, xi, 64, wi, H - 154, flags);
    const int bw = m_btnIconMode.m_strip.width, bh = m_btnIconMode.GetFrameHeight();
    m_btnIconMode.SetWindowPos(HWND{}, xi, 20, bw, bh, flags);
    m_btnScreenMode.SetWindowPos(HWND{}, xi + bw + 4, 20, m_btnScreenMode.m_strip.width,
                                 m_btnScreenMode.GetFrameHeight(), flags);
    const int sw = m_btnSave.m_strip.width;
    m_btnSave.SetWindowPos(HWND{}, W - sw - 6, H - 49, sw, m_btnSave.GetFrameHeight(), flags);
    m_btnSelect.SetWindowPos(HWND{}, m_bar.right + 2, 183, m_btnSelect.m_strip.width, m_btnSelect.GetFrameHeight(),
                             flags);
    InvalidateRect(&m_bar, FALSE);
}

void CPicEditWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC mem(&paint, client);
    HDC dc = mem.GetSafeHdc();
    mem.FillSolidRect(&client, kBack);
    if (m_footer.bitmap) {
        const RECT band{(client.Width() - m_footer.width) / 2, client.bottom - 60,
                        (client.Width() - m_footer.width) / 2 + m_footer.width, client.bottom - 59};
        FillRectWithDib(dc, &m_footer, &band, FALSE);
    }
    DrawSplitterBar(dc, m_bar, m_splitTop, m_splitTile, m_splitBottom);
}

void CPicEditWnd::OnLButtonDown(UINT, CPoint pt)
{
    if (m_split.Begin(*this, pt, CRect(m_bar)))
        InvertSplitterEdges(m_hWnd, m_bar);
    Default();
}

void CPicEditWnd::OnMouseMove(UINT, CPoint pt)
{
    if (m_thumbDragging) {
        POINT screen = pt;
        ClientToScreen(&screen);
        if (m_dragImages)
            ImageList_DragMove(screen.x, screen.y);
        POINT inPane = screen;
        m_imagePane.ScreenToClient(&inPane);
        m_overTarget = m_dragKind == 16 && ::PtInRect(&m_imagePane.m_display, inPane);
        ::SetCursor(::LoadCursorW(nullptr, m_overTarget ? IDC_ARROW : IDC_NO));
        return;
    }
    if (m_split.IsDragging()) {
        InvertSplitterEdges(m_hWnd, m_bar);
        m_leftWidth = m_split.SplitAt(pt);
        CRect c;
        GetClientRect(&c);
        if (c.Height() >= 61 && c.Width() - 12 > 0) {
            m_leftWidth = picframe::ClampEditSplit(m_leftWidth, c.Width(), c.Height(), m_splitTile.width);
            theGlobal.m_picEditSplit = static_cast<float>(m_leftWidth) / (c.Width() - 12);
            m_bar = RECT{6 + m_leftWidth, 20, 6 + m_leftWidth + m_splitTile.width, c.Height() - 90};
        }
        InvertSplitterEdges(m_hWnd, m_bar);
    } else {
        m_split.SetCursor(::PtInRect(&m_bar, pt));
    }
    Default();
}

void CPicEditWnd::OnLButtonUp(UINT, CPoint)
{
    if (m_thumbDragging) {
        EndThumbDrag(true);
        return;
    }
    if (m_split.IsDragging()) {
        InvertSplitterEdges(m_hWnd, m_bar);
        m_split.End();
        Layout();
        m_filePane.Layout();
        m_imagePane.Layout();
        Invalidate(FALSE);
        m_btnIconMode.Invalidate(FALSE);
        m_btnScreenMode.Invalidate(FALSE);
    }
    Default();
}

void CPicEditWnd::OnShowWindow(BOOL show, UINT status)
{
    Default();
    if (!show || m_asked)
        return;
    const int answer = AskTwoChoices(theGlobal.UiString(41), theGlobal.UiString(128), theGlobal.UiString(129));
    m_asked = 1;
    SetMode(answer == IDYES ? ModeIcon : ModeScreen);
    SetTimer(FolderTimer, 100, nullptr);
}

void CPicEditWnd::SetMode(int mode)
{
    CDocIg& doc = theGlobal.m_docIg;
    if (doc.HasPicture() && ShowMessage(theGlobal.UiString(32), 1) != IDOK)
        return;
    m_mode = mode;
    int tw = 0, th = 0;
    doc.Clear();
    doc.m_targetKind = mode == ModeIcon ? IG_TARGET_ICON : IG_TARGET_SPLASH;
    doc.GetTargetSize(&tw, &th);
    m_imagePane.m_targetWidth = tw;
    m_imagePane.m_targetHeight = th;
    m_imagePane.m_btnIconEdit.ShowWindow(mode == ModeIcon ? SW_SHOW : SW_HIDE);
    m_imagePane.Layout();
    RefreshPicture();
}

void CPicEditWnd::OnIconMode() { SetMode(ModeIcon); }

void CPicEditWnd::OnScreenMode() { SetMode(ModeScreen); }

void CPicEditWnd::OnUpdateIconMode(CCmdUI* ui)
{
    if (!PassOn(ui))
        ui->Enable(m_mode != ModeIcon);
}

void CPicEditWnd::OnUpdateScreenMode(CCmdUI* ui)
{
    if (!PassOn(ui))
        ui->Enable(m_mode != ModeScreen);
}

void CPicEditWnd::OnUpdateFileOpen(CCmdUI* ui)
{
    if (!PassOn(ui))
        ui->Enable(FALSE);
}

void CPicEditWnd::Refresh()
{
    m_imagePane.m_btnIconEdit.ShowWindow(m_mode == ModeIcon ? SW_SHOW : SW_HIDE);
    m_imagePane.Layout();
    RefreshPicture();
}

void CPicEditWnd::RefreshPicture()
{
    CDocIg& doc = theGlobal.m_docIg;
    DIB_IMAGE& shown = m_imagePane.m_picture;
    DIB_IMAGE scaled;
    InitDibImage(&scaled);
    if (doc.HasPicture() && doc.GetScaledBitmap(&scaled)) {
        DIB_IMAGE copy;
        InitDibImage(&copy);
        if (SetDibBits(&copy, scaled.width, scaled.height, scaled.bits)) {
            FreeDibImage(&shown);
            shown = copy;
        }
    } else {
        FreeDibImage(&shown);
    }
    FreeDibImage(&scaled);
    if (m_imagePane.GetSafeHwnd())
        m_imagePane.Invalidate(FALSE);
}

LRESULT CPicEditWnd::OnUserIdle(WPARAM, LPARAM)
{
    const CCmdUI::Button buttons[] = {
        {&m_btnIconMode, ID_PIC_ICON_MODE},
        {&m_btnScreenMode, ID_PIC_SCREEN_MODE},
        {&m_btnSave, ID_FILE_SAVE},
        {&m_filePane.m_btnUp, ID_SHELL_UP},
        {&m_filePane.m_btnBack, ID_SHELL_BACK},
        {&m_imagePane.m_btnCancel, ID_PIC_CANCEL},
        {&m_imagePane.m_btnCrop, ID_PIC_TRIM},
        {&m_imagePane.m_btnFitWidth, ID_PIC_FIT_WIDTH},
        {&m_imagePane.m_btnFitHeight, ID_PIC_FIT_HEIGHT},
        {&m_imagePane.m_btnRotateRight, ID_PIC_ROTATE_RIGHT},
        {&m_imagePane.m_btnRotateLeft, ID_PIC_ROTATE_LEFT},
        {&m_btnSelect, ID_PIC_SELECT_IMAGE},
    };
    if (IsCurrent())
        CCmdUI::UpdateButtons(this, buttons);
    return 0;
}

BOOL CPicEditWnd::PassOn(CCmdUI* ui) const
{
    if (IsCurrent())
        return FALSE;
    ui->ContinueRouting();
    return TRUE;
}

void CPicEditWnd::OnUpdateCurrent(CCmdUI* ui)
{
    if (!PassOn(ui))
        ui->Enable(TRUE);
}
