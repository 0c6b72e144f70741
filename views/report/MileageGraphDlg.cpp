#include "views/report/MileageGraphDlg.h"

#include <cstdlib>

#include "common/ButtonStrips.h"
#include "common/FileUtil.h"
#include "common/JpegWriter.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "frame/MessageDlg.h"
#include "res/fuel_ids.h"

namespace {

constexpr int kFrameLeft = 21, kFrameTop = 32, kFrameWidth = 538, kFrameHeight = 354;
constexpr double kZoomMax = 5, kZoomMin = 0.75;

}  // namespace

CMileageGraphDlg::SaveDialogFn CMileageGraphDlg::s_saveDialog = ShowFileDialog;
const wchar_t* CMileageGraphDlg::s_titlePicture = L"graph_image_top.bmp";

BEGIN_MESSAGE_MAP(CMileageGraphDlg, CCustomDialog)
    ON_COMMAND(IDC_GRAPH_ZOOM_IN, OnZoomIn)
    ON_COMMAND(IDC_GRAPH_ZOOM_OUT, OnZoomOut)
    ON_COMMAND(IDC_GRAPH_SAVE, OnSaveImage)
    ON_WM_MOUSEWHEEL()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CMileageGraphDlg::CMileageGraphDlg() : CCustomDialog(IDD_MILEAGE_GRAPH, nullptr)
{
    InitDibImage(&m_top);
    InitDibImage(&m_bottom);
    InitDibImage(&m_noScrollbar);
}

CMileageGraphDlg::~CMileageGraphDlg()
{
    if (m_hWnd)
        DestroyWindow();
    FreeDibImage(&m_top);
    FreeDibImage(&m_bottom);
    FreeDibImage(&m_noScrollbar);
    if (m_titleFont)
        ::DeleteObject(m_titleFont);
}

void CMileageGraphDlg::AddSample(const wchar_t* date, const wchar_t* time, double value)
{
    const CString key = CString(date) + time;
    INT_PTR at = 0;
    for (; at < m_dates.GetSize(); ++at) {
        const CString other = m_dates[at] + m_times[at];
        if (::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, key, -1, other, -1) == CSTR_LESS_THAN)
            break;
    }
    m_dates.InsertAt(at, date);
    m_times.InsertAt(at, time);
    m_values.InsertAt(at, value);
}

BOOL CMileageGraphDlg::OnInitDialog()
{
    PlaceOnMainWindow(578, 461);
    CreateTahomaFont(TRUE, &m_titleFont, 110, FALSE);
    m_startHidden = TRUE;
    const BOOL base = CCustomDialog::OnInitDialog();
    if (base != TRUE) {
        // Never a hidden modal dialog over a disabled window.
        ShowWindow(SW_SHOW);
        return base;
    }
    const wchar_t* bottom = theGlobal.m_areaCode == 1 ? L"graph_image_bottom_oskra.bmp" : L"graph_image_bottom_tundrel.bmp";
    const bool pictures = LoadDibFromPack(s_titlePicture, &m_top) && LoadDibFromPack(bottom, &m_bottom) &&
                          LoadDibFromPack(L"graph_image_no_scrollbar.bmp", &m_noScrollbar);
    if (pictures) {
        CRect none(0, 0, 48, 38);
        m_btnZoomIn.Create(none, this, IDC_GRAPH_ZOOM_IN, FALSE);
        m_btnZoomIn.LoadBitmaps(L"btn_dlg_zoomin_%s.bmp", L"btn_dlg_zoomin_normal.bmp", L"normal", L"pressed",
                                L"pressed", L"hot", L"disabled");
        m_btnZoomIn.SetRoundRegion();
        m_btnZoomIn.SetWindowPos(static_cast<HWND>(nullptr), 20, 418, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_btnZoomOut.Create(none, this, IDC_GRAPH_ZOOM_OUT, FALSE);
        m_btnZoomOut.LoadBitmaps(L"btn_dlg_zoomout_%s.bmp", L"btn_dlg_zoomout_normal.bmp", L"normal", L"pressed",
                                 L"pressed", L"hot", L"disabled");
        m_btnZoomOut.SetRoundRegion();
        m_btnZoomOut.SetWindowPos(static_cast<HWND>(nullptr), 88, 418, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        if (BuildButtonImage(&m_btnSave.m_strip, theGlobal.UiString(115), 146, 38, 200, FALSE) &&
            m_btnSave.CreateFromDlgItem(IDC_GRAPH_SAVE, this)) {
            m_btnSave.SetRoundRegion();
            m_btnSave.SetWindowPos(static_cast<HWND>(nullptr), 412, 418, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        }
        m_frame.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                       CRect(kFrameLeft, kFrameTop, kFrameLeft + kFrameWidth, kFrameTop + kFrameHeight), this, 0xFFFF);
        CGraphCtrl& graph = m_frame.m_graph;
        graph.Clear();
        for (INT_PTR i = 0; i < m_dates.GetSize(); ++i)
            graph.AddPoint(m_dates[i], m_values[i]);
        graph.ComputeRange();
    }
    // Shown in every case: without its pictures the dialog can still be closed.
    ShowWindow(SW_SHOW);
    SetCaption(theGlobal.UiString(162));
    return TRUE;
}

void CMileageGraphDlg::OnZoomIn()
{
    CGraphCtrl& graph = m_frame.m_graph;
    graph.m_zoom *= 1.5;
    if (graph.m_zoom > kZoomMax) {
        graph.m_zoom = kZoomMax;
        m_btnZoomIn.EnableWindow(FALSE);
    } else {
        m_btnZoomIn.EnableWindow(TRUE);
        m_btnZoomOut.EnableWindow(TRUE);
    }
    m_btnZoomIn.Invalidate();
    graph.ComputeRange();
    graph.Invalidate(FALSE);
}

void CMileageGraphDlg::OnZoomOut()
{
    CGraphCtrl& graph = m_frame.m_graph;
    graph.m_zoom *= 0.75;
    if (graph.m_zoom < kZoomMin) {
        graph.m_zoom = kZoomMin;
        m_btnZoomOut.EnableWindow(FALSE);
    } else {
        m_btnZoomIn.EnableWindow(TRUE);
        m_btnZoomOut.EnableWindow(TRUE);
    }
    m_btnZoomOut.Invalidate();
    graph.ComputeRange();
    graph.Invalidate(FALSE);
}

BOOL CMileageGraphDlg::OnMouseWheel(UINT, short delta, CPoint)
{
    if (delta < 0)
        OnZoomIn();
    else if (delta > 0)
        OnZoomOut();
    return 0;
}

BOOL CMileageGraphDlg::ComposeImage(DIB_IMAGE* out)
{
    if (!m_top.bitmap || !m_bottom.bitmap || !m_frame.GetSafeHwnd())
        return FALSE;
    CRect frameClient;
    m_frame.GetClientRect(&frameClient);
    const int width = frameClient.Width() + 40;
    const int height = frameClient.Height() + m_top.height + m_bottom.height + 14;
    if (!CreateDib(out, width, height))
        return FALSE;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, out->bitmap);
    ::SetBkColor(dc, RGB(171, 173, 178));
    const RECT all{0, 0, width, height};
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    const RECT band{0, 0, width, m_top.height};
    FillRectWithDib(dc, &m_top, &band, TRUE);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(240, 240, 240));
    HGDIOBJ oldFont = ::SelectObject(dc, m_titleFont ? static_cast<HGDIOBJ>(m_titleFont) : ::GetStockObject(DEFAULT_GUI_FONT));
    RECT title = band;
    const CString caption = theGlobal.UiString(162);
    ::DrawTextW(dc, caption, -1, &title, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, oldFont);
    const RECT foot{0, height - m_bottom.height, width, height};
    FillRectWithDib(dc, &m_bottom, &foot, TRUE);
    const RECT frame{kFrameLeft, kFrameTop, kFrameLeft + kFrameWidth, kFrameTop + kFrameHeight};
    m_frame.Draw(dc, frame);
    if (m_noScrollbar.bitmap) {
        const RECT strip{kFrameLeft + 37, kFrameTop + kFrameHeight - 21 - m_noScrollbar.height,
                         kFrameLeft + kFrameWidth - 11, kFrameTop + kFrameHeight - 21};
        FillRectWithDib(dc, &m_noScrollbar, &strip, TRUE);
    }
    ::GdiFlush();
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return TRUE;
}

void CMileageGraphDlg::OnSaveImage()
{
    wchar_t path[MAX_PATH] = {};
    if (!s_saveDialog(m_hWnd, theGlobal.m_feIniFolder, 11, FALSE, path))
        return;
    DIB_IMAGE image;
    InitDibImage(&image);
    if (!ComposeImage(&image))
        return;
    const BOOL ok = SaveJpeg(image.bits, image.width, image.height, std::abs(image.stride), path);
    FreeDibImage(&image);
    if (!ok) {
        CMessageDlg box(nullptr, nullptr);
        box.DoMessage(theGlobal.UiString(10), 0);
    }
}
