#pragma once
// A window that hosts skinned scroll bars (CCustomScrollBar) in its non-client
// area: it makes room for them, paints them and the corner between them, lets
// them answer the hit test and hands them its non-client mouse messages. The
// derived window owns the bars and names them at construction.
#include "classlib/Afx.h"
#include "controls/CustomScrollBar.h"

class CScrollHostWnd : public CWnd {
public:
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    // Either bar may be null; the derived window creates them.
    CScrollHostWnd(CCustomScrollBar* vert, CCustomScrollBar* horz) : m_hostedVert(vert), m_hostedHorz(horz) {}

    // The non-client mouse messages the bars took.
    BOOL ForwardToBars(MSG* msg);
    // The vertical range of a content of this height over the client area:
    // WS_VSCROLL on while it does not fit, off with no range and position when it does.
    void SetVertContent(int content);
    // Has the frame (and the bars) computed again.
    void FrameChanged();

    void OnNcCalcSize(BOOL calcValid, NCCALCSIZE_PARAMS* params);
    LRESULT OnNcHitTest(CPoint pt);
    void OnNcPaint();
    DECLARE_MESSAGE_MAP()

    // The corner picture when both bars show; null for the shared skin's.
    const DIB_IMAGE* m_sizeBoxPicture = nullptr;

private:
    CCustomScrollBar* m_hostedVert;
    CCustomScrollBar* m_hostedHorz;
};
