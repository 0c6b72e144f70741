#include "classlib/CCmdTarget.h"

#include "classlib/CCmdUI.h"

const afx::MsgMap* CCmdTarget::GetThisMessageMap()
{
    static const afx::MsgMapEntry entries[] = {afx::MsgMapEntry{}};
    static const afx::MsgMap map{nullptr, entries};
    return &map;
}

const afx::MsgMap* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

bool CCmdTarget::DispatchMsgMap(afx::EntryKind kind, afx::MsgCall& call, bool queryOnly)
{
    for (const afx::MsgMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const afx::MsgMapEntry* e = map->entries; e->kind != afx::EntryKind::End; ++e) {
            if (e->Matches(kind, call))
                return queryOnly ? true : e->thunk(this, call);
        }
    }
    return false;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info)
{
    afx::MsgCall call;
    call.message = WM_COMMAND;
    call.id = id;
    call.code = static_cast<UINT>(code);
    call.extra = extra;
    const auto kind = code == CN_UPDATE_COMMAND_UI ? afx::EntryKind::UpdateUI : afx::EntryKind::Command;
    if (info) {
        if (!DispatchMsgMap(kind, call, true))
            return FALSE;
        info->pTarget = this;
        return TRUE;
    }
    return DispatchMsgMap(kind, call) ? TRUE : FALSE;
}
