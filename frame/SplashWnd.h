#pragma once
// The start-up splash: the brand's picture with the program's version, a
// topmost popup without a taskbar button, centred on the screen.
#include "classlib/Afx.h"
#include "common/DibImage.h"
#include "controls/CustomStatic.h"

class CSplashWnd : public CWnd {
public:
    CSplashWnd();
    ~CSplashWnd() override;

    // The arguments are ignored: the splash sizes and places itself. FALSE when
    // the picture is not in the skin pack or the window cannot be made.
    BOOL Create(const wchar_t* className = nullptr, const wchar_t* windowName = nullptr, DWORD style = 0,
                const RECT& rect = CRect(0, 0, 0, 0), CWnd* parent = nullptr, UINT id = 0,
                void* context = nullptr) override;

    const DIB_IMAGE& GetImage() const { return m_image; }
    CCustomStatic m_label{RGB(0xBC, 0xBC, 0xBC)};

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    DIB_IMAGE m_image;
    HFONT m_font = nullptr;
};
