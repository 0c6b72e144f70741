#pragma once
// The program's one top-level window: a borderless popup covered by five
// panes (caption, header, body, footer, status). It routes every command,
// translates the accelerators, relays the idle pass, switches views on the
// header's request and asks before closing.
#include <deque>

#include "classlib/Afx.h"
#include "frame/BodyWnd.h"
#include "frame/CaptionWnd.h"
#include "frame/HeaderWnd.h"
#include "frame/StatusWnd.h"

class CMainWnd : public CWnd {
public:
    enum : UINT_PTR { CloseTimer = 6789 };

    CMainWnd();
    ~CMainWnd() override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override;
    // The window's own class, style, title and saved position; the arguments
    // of the library's Create are not used.
    BOOL Create(const wchar_t* className = nullptr, const wchar_t* windowName = nullptr, DWORD style = 0,
                const RECT& rect = CRect(0, 0, 0, 0), CWnd* parent = nullptr, UINT id = 0,
                void* context = nullptr) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void PostNcDestroy() override;
    // The rectangle the window opens at for a saved rectangle and a screen size.
    static CRect InitialRect(const RECT& saved, int screenWidth, int screenHeight, bool* centre);

    CCaptionWnd m_caption;
    CHeaderWnd m_header;
    CBodyWnd m_body;
    CFooterWnd m_footer;
    CStatusWnd m_status;
    // A "send to GPS" link from another start: the place goes to the received
    // document and whoever waits for it hears of it (MainWndLink.cpp).
    void ReceiveLink(const CString& text);
    // Links received and not yet handled, oldest first.
    std::deque<CString> m_pendingLinks;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    void OnMove(int x, int y);
    void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) {}
    LRESULT OnNcActivate(WPARAM, LPARAM) { return TRUE; }
    LRESULT OnNcHitTest(CPoint pt);
    void OnNcRButtonUp(UINT hit, CPoint pt);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnWindowPosChanging(WINDOWPOS* pos);
    LRESULT OnSettingChange(WPARAM flags, LPARAM section);
    void OnActivateApp(BOOL active, DWORD thread);
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    void OnSetFocus(CWnd* old);
    void OnEnterMenuLoop(BOOL) { m_activeAccel = nullptr; }
    void OnExitMenuLoop(BOOL) { m_activeAccel = m_accel; }
    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
    void OnClose();
    LRESULT OnQueryEndSession(WPARAM, LPARAM);
    void OnTimer(UINT_PTR id);
    LRESULT OnUserIdle(WPARAM, LPARAM);
    LRESULT OnShellChange(WPARAM, LPARAM) { return 0; }
    void OnSelChanged();
    BOOL OnCopyData(CWnd* from, COPYDATASTRUCT* data);
    LRESULT OnPendingLink(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void RecalcLayout();
    void UpdateWindowRegion();
    // Asks about every unsaved document; FALSE when the user keeps the program open.
    BOOL SaveModifiedDocuments();
    BOOL ConfirmQuit();
    HACCEL m_accel = nullptr;
    HACCEL m_activeAccel = nullptr;
    HRGN m_region = nullptr;
    BOOL m_autoDelete = FALSE;
};
