#pragma once
// The busy animation: three skin pictures shown in turn every 100 ms.
#include <vector>

#include "classlib/Afx.h"
#include "common/DibImage.h"

class CCustomAnimeCtrl : public CWnd {
public:
    enum : UINT_PTR { TimerId = 100001 };
    enum { FrameCount = 3, FrameMs = 100 };

    CCustomAnimeCtrl() = default;
    ~CCustomAnimeCtrl() override;

    // Frames "Loading_Anime[0].bmp" to "Loading_Anime[2].bmp"; a missing one leaves an empty slot.
    void LoadFrames();
    void Start();
    void Stop();
    int GetFrame() const { return m_frame; }
    int GetFrameCount() const { return static_cast<int>(m_frames.size()); }

protected:
    void OnTimer(UINT_PTR id);
    void OnPaint();
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void FreeFrames();
    std::vector<DIB_IMAGE> m_frames;
    int m_frame = 0;
};
