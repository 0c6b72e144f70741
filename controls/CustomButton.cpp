#include "controls/CustomButton.h"

#include <commctrl.h>

#include "controls/DialogPlaceholder.h"
#include "controls/RoundRegion.h"

BEGIN_MESSAGE_MAP(CCustomButton, CSkinButtonBase)
    ON_WM_PAINT()
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

CCustomButton::CCustomButton()
{
    InitDibImage(&m_strip);
    ResetFrames();
}

CCustomButton::~CCustomButton()
{
    FreeDibImage(&m_strip);
}

void CCustomButton::ResetFrames()
{
    for (int n = 0; n < kStateCount; ++n)
        m_frames[n] = n;
    m_frameCount = kStateCount;
}

void CCustomButton::SetStateValue(int state)
{
    m_state = state;
    if (state >= 0 && state < kStateCount)
        m_currentFrame = m_frames[state];
}

BOOL CCustomButton::Create(const RECT& rect, CWnd* parent, UINT id, BOOL sysCommand)
{
    ResetFrames();
    ResetFlags();
    m_id = id;
    m_sysCommand = sysCommand;
    const wchar_t* cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
    return CreateEx(0, cls, L"", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

BOOL CCustomButton::CreateFromDlgItem(UINT id, CDialog* dialog)
{
    ResetFrames();
    if (!m_strip.bitmap)
        return FALSE;
    CRect rect;
    HWND placeholder = FindPlaceholder(dialog, id, rect);
    if (!placeholder)
        return FALSE;
    // Centre the frame on the placeholder; an odd extra pixel goes left and up.
    auto spread = [](LONG& low, LONG& high, int diff) {
        const int lowGrow = diff > 0 ? (diff + 1) / 2 : diff / 2;
        low -= lowGrow;
        high += diff - lowGrow;
    };
    spread(rect.left, rect.right, m_strip.width - rect.Width());
    spread(rect.top, rect.bottom, GetFrameHeight() - rect.Height());
    ::ShowWindow(placeholder, SW_HIDE);
    m_pressed = FALSE;
    m_tracking = FALSE;
    SetState(kStateNormal);
    return Create(rect, dialog, id, FALSE);
}

BOOL CCustomButton::LoadBitmaps(LPCWSTR suffixFormat, LPCWSTR baseName, LPCWSTR suffix0, LPCWSTR suffix1,
                                LPCWSTR suffix2, LPCWSTR suffix3, LPCWSTR suffix4)
{
    FreeDibImage(&m_strip);
    m_frameCount = 0;
    const LPCWSTR suffixes[kStateCount + 1] = {suffix0, suffix1, suffix2, suffix3, suffix4, suffix0};
    // Every frame starts as a copy of the one base picture.
    DIB_IMAGE base;
    InitDibImage(&base);
    BOOL ok = LoadDibFromPack(baseName, &base);
    for (int n = 0; n <= kStateCount && ok; ++n) {
        DIB_IMAGE frame;
        InitDibImage(&frame);
        GdiFlush();
        ok = SetDibBits(&frame, base.width, base.height, base.bits);
        if (ok && suffixFormat && suffixes[n]) {
            CString name;
            name.Format(suffixFormat, suffixes[n]);
            ok = OverlayDib32(name, &frame);
        }
        if (ok)
            ok = StackDibs(&m_strip, &frame);
        FreeDibImage(&frame);
        if (ok)
            ++m_frameCount;
    }
    FreeDibImage(&base);
    for (int n = 0; n < kStateCount; ++n)
        m_frames[n] = n;
    // A partial strip is sliced by the frames it really holds.
    SetStateValue(m_state);
    if (m_hWnd && m_frameCount) {
        CRect window;
        GetWindowRect(&window);
        if (window.IsRectEmpty())
            SetWindowPos(static_cast<HWND>(nullptr), 0, 0, m_strip.width, GetFrameHeight(), SWP_NOMOVE | SWP_NOZORDER);
    }
    return ok;
}

void CCustomButton::SetRoundRegion()
{
    SetCornerCutRegion(m_hWnd, m_strip.width, GetFrameHeight());
}

void CCustomButton::OnPaint()
{
    CPaintDC dc(this);
    // A drag image in progress would leave a trail over the new frame.
    ImageList_DragShowNolock(FALSE);
    const int frameHeight = GetFrameHeight();
    if (m_strip.bitmap && frameHeight > 0 && m_currentFrame < m_frameCount) {
        CRect client;
        GetClientRect(&client);
        DrawDibEx(&m_strip, dc, 0, 0, client.Width(), client.Height(), 0, m_currentFrame * frameHeight,
                  client.Width(), frameHeight);
    }
    ImageList_DragShowNolock(TRUE);
}

void CCustomButton::OnShowWindow(BOOL show, UINT)
{
    const BOOL wasVisible = IsWindowVisible();
    Default();
    if (show && !wasVisible) {
        SetState(m_state);
        Invalidate(TRUE);
    }
}
