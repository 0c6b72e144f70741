#include "controls/WebBrowser.h"

const CLSID kClsidWebBrowser = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

BOOL CWebBrowser::Create(const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(kClsidWebBrowser, windowName, style, rect, parent, id);
}

BEGIN_MESSAGE_MAP(CWebBrowserWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CWebBrowserWnd::~CWebBrowserWnd()
{
    // The browser is a child: it must close while both objects still exist.
    if (m_hWnd && m_createdHere)
        DestroyWindow();
}

int CWebBrowserWnd::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    if (!m_browser.Create(nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, BrowserId))
        return -1;
    // Files dropped on the page must not be opened by the browser.
    m_browser.InvokeHelper(CWebBrowser::DispidRegisterAsDropTarget, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, VTS_BOOL,
                           FALSE);
    return 0;
}

void CWebBrowserWnd::OnSize(UINT, int cx, int cy)
{
    Default();
    if (cx && cy && m_browser.m_hWnd)
        m_browser.SetWindowPos(static_cast<HWND>(nullptr), 0, 0, cx, cy, SWP_NOZORDER | SWP_FRAMECHANGED);
}

HRESULT ExecBrowserCopy(CWebBrowser* browser)
{
    if (!browser)
        return E_POINTER;
    // ExecWB(cmdID, cmdexecopt, pvaIn*, pvaOut*)
    return browser->InvokeHelper(CWebBrowser::DispidExecWB, DISPATCH_METHOD, VT_EMPTY, nullptr,
                                 VTS_I4 VTS_I4 VTS_PVARIANT VTS_PVARIANT, 12L, 0L, static_cast<VARIANT*>(nullptr),
                                 static_cast<VARIANT*>(nullptr));
}
