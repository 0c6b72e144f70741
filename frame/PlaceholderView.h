#pragma once
// A body view that is not built yet: an empty page that shows its title and
// leaves with Back and Top like every view.
#include "frame/ViewWnd.h"

class CPlaceholderView : public CViewWnd {
public:
    CPlaceholderView(int titleString, BOOL registered) : m_titleString(titleString), m_registered(registered) {}
    // Number of refreshes (ID_UPDATE) received.
    int m_updates = 0;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnUpdate() { ++m_updates; }
    void OnBack();
    void OnTop();
    DECLARE_MESSAGE_MAP()

    int m_titleString;
    BOOL m_registered;
};
