#include "controls/CustomAnimeCtrl.h"

BEGIN_MESSAGE_MAP(CCustomAnimeCtrl, CWnd)
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CCustomAnimeCtrl::~CCustomAnimeCtrl()
{
    FreeFrames();
}

void CCustomAnimeCtrl::FreeFrames()
{
    for (auto& frame : m_frames)
        FreeDibImage(&frame);
    m_frames.clear();
}

void CCustomAnimeCtrl::LoadFrames()
{
    FreeFrames();
    for (int i = 0; i < FrameCount; ++i) {
        CString name;
        name.Format(L"%s[%d].bmp", L"Loading_Anime", i);
        DIB_IMAGE frame{};
        LoadDibFromPack(name, &frame);
        m_frames.push_back(frame);
    }
}

void CCustomAnimeCtrl::Start()
{
    m_frame = 0;
    ShowWindow(SW_SHOW);
    KillTimer(TimerId);
    SetTimer(TimerId, FrameMs);
    Invalidate(FALSE);
}

void CCustomAnimeCtrl::Stop()
{
    ShowWindow(SW_HIDE);
    KillTimer(TimerId);
}

void CCustomAnimeCtrl::OnTimer(UINT_PTR id)
{
    if (id != TimerId) {
        Default();
        return;
    }
    const int count = m_frames.empty() ? FrameCount : static_cast<int>(m_frames.size());
    m_frame = (m_frame + 1) % count;
    Invalidate(FALSE);
}

void CCustomAnimeCtrl::OnPaint()
{
    CPaintDC dc(this);
    if (m_frame < 0 || m_frame >= static_cast<int>(m_frames.size()))
        return;
    const DIB_IMAGE& frame = m_frames[static_cast<size_t>(m_frame)];
    if (frame.bitmap)
        DrawDib(&frame, dc, 0, 0);
}

void CCustomAnimeCtrl::OnDestroy()
{
    FreeFrames();
    KillTimer(TimerId);
    Default();
}
