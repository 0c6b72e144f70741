#pragma once
// The WebBrowser control hosted in a child window of ours. Pages are opened
// only with NavigatePost (common/WebUtil.h) on the control's dispatch
// interface; Ctrl+C on a shown page goes through ExecBrowserCopy.
#include "classlib/Afx.h"
#include "classlib/OleControlWnd.h"

// CLSID_WebBrowser {8856F961-340A-11D0-A96B-00C04FD705A2}.
extern const CLSID kClsidWebBrowser;

class CWebBrowser : public COleControlWnd {
public:
    enum { DispidRegisterAsDropTarget = 553, DispidExecWB = 502 };
    BOOL Create(const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);
};

class CWebBrowserWnd : public CWnd {
public:
    enum { BrowserId = 59649 };
    ~CWebBrowserWnd() override;
    CWebBrowser m_browser;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()
};

// ExecWB(OLECMDID_COPY, OLECMDEXECOPT_DODEFAULT): the page's selection to the clipboard.
HRESULT ExecBrowserCopy(CWebBrowser* browser);
