#pragma once
// A static whose text is drawn anti-aliased with GDI+, fitted to its box.
#include "common/GdiplusText.h"
#include "controls/CustomStatic.h"

class CCustomLightStatic : public CCustomStatic {
public:
    CCustomLightStatic() : CCustomStatic(RGB(0, 0, 0)) { m_text.SetTextColor(RGB(0, 0, 0)); }

    // Size in percent of the Tahoma scale, and weight.
    int m_percent = 100;
    BOOL m_bold = TRUE;
    // Carries the text colour.
    CUtilGdiplus m_text;

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()
};
