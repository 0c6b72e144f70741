#pragma once
// A tooltip control (common control "tooltips_class32"). The owner adds tools
// for its windows or rectangles and passes mouse messages on with RelayEvent
// (from its PreTranslateMessage), or lets the tool subclass with TTF_SUBCLASS.
#include <windows.h>
#include <commctrl.h>

#include "classlib/CWnd.h"

class CToolTipCtrl : public CWnd {
public:
    BOOL Create(CWnd* owner, DWORD style = 0);
    // A tool for a rectangle of window (id != 0) or for the whole window (rect null, id 0).
    BOOL AddTool(CWnd* wnd, const wchar_t* text, const RECT* rect = nullptr, UINT_PTR id = 0);
    void DelTool(CWnd* wnd, UINT_PTR id = 0);
    void UpdateTipText(const wchar_t* text, CWnd* wnd, UINT_PTR id = 0);
    void SetToolRect(CWnd* wnd, UINT_PTR id, const RECT* rect);
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
    void Activate(BOOL active) { SendMessage(TTM_ACTIVATE, active); }
    int SetMaxTipWidth(int width) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, width)); }
    void SetDelayTime(DWORD which, int ms) { SendMessage(TTM_SETDELAYTIME, which, MAKELPARAM(ms, 0)); }
    void Pop() { SendMessage(TTM_POP); }
    // Shows the tip again for its current text and place.
    void Update() { SendMessage(TTM_UPDATE); }
    void SetMargin(const RECT& margins) { SendMessage(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margins)); }
    // The text a tool shows now (empty for a callback tool).
    void GetText(CString& text, CWnd* wnd, UINT_PTR id = 0) const;
    void RelayEvent(MSG* msg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }

private:
    static TOOLINFOW MakeInfo(CWnd* wnd, UINT_PTR id);
};
