#pragma once
// The middle pane of the main window: owns the thirteen views, shows one at a
// time, fades the old page out over the new one, offers every command to all
// views (the current one first) and hands the idle pass on to them.
#include <memory>

#include "classlib/Afx.h"
#include "frame/FadeSteps.h"
#include "frame/PaneImages.h"
#include "frame/ViewTable.h"

class CBodyWnd : public CWnd {
public:
    enum : UINT_PTR { FadeTimer = 777 };
    static constexpr const wchar_t* kEffectClass = L"effect window";

    CBodyWnd();
    ~CBodyWnd() override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override;
    // The view of index 0..12, null otherwise.
    CWnd* GetView(int index) const;
    void SwitchView(int index);
    int GetCurrentIndex() const { return m_current; }
    HWND GetEffectWindow() const { return m_effect; }

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnTimer(UINT_PTR id);
    LRESULT OnNcHitTest(CPoint) { return PaneNcHitTest(); }
    LRESULT OnUserIdle(WPARAM, LPARAM);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void EndFade();
    CPaneImages<9> m_images;
    std::unique_ptr<CWnd> m_views[kViewCount];
    int m_current = 0;
    HWND m_effect = nullptr;
    FADE_STATE m_fade{};
};
