#pragma once
// A system progress bar repainted with the skin's trough picture and a flat
// eight-row gradient bar.
#include "classlib/Afx.h"
#include "common/DibImage.h"

class CCustomProgressCtrl : public CProgressCtrl {
public:
    CCustomProgressCtrl() = default;
    ~CCustomProgressCtrl() override;

    // Percent of the range that pos stands for, 0 to 100; an empty or reversed
    // range counts as 0.
    static int PercentOf(int lower, int upper, int pos);
    // Right edge (exclusive) of the bar in a client of the given width.
    static int BarRight(int clientWidth, int percent) { return (clientWidth - 6) * percent / 100 + 1; }
    // The whole control for the given range and position into dc.
    void Paint(HDC dc, const RECT& client, int lower, int upper, int pos) const;

protected:
    void PreSubclassWindow() override;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return FALSE; }
    DECLARE_MESSAGE_MAP()

private:
    DIB_IMAGE m_background{};
};
