#pragma once
// The base of everything that has a message map: windows and the application.
// OnCmdMsg looks a command (or its command-update query) up in the object's own
// map chain; windows add the route beyond the object (CWnd::RouteCommand).
#include <windows.h>

#include "classlib/MessageMap.h"

// Notification codes for OnCmdMsg beyond the controls' own.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

class CCmdTarget;
// Passed to OnCmdMsg to ask only whether a handler exists; nothing is called.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget = nullptr;
};

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // code: CN_COMMAND, CN_UPDATE_COMMAND_UI (extra = CCmdUI*) or a control's
    // notification code. TRUE when handled (or, with info, when a handler exists).
    virtual BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info);

    static const afx::MsgMap* GetThisMessageMap();
    virtual const afx::MsgMap* GetMessageMap() const;

protected:
    // Finds the first entry of this kind that matches along the class chain and
    // calls it; false when none matched or its handler declined.
    bool DispatchMsgMap(afx::EntryKind kind, afx::MsgCall& call, bool queryOnly = false);
};
