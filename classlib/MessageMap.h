#pragma once
// Message maps: one static table of entries per class, chained to its base
// class's table. An entry names what it matches (a message, a registered
// message, a command id range, a notification, a reflected notification) and a
// thunk that unpacks the parameters and calls the typed handler. The tables are
// read by CCmdTarget::DispatchMsgMap; nothing is registered at run time.
#include <windows.h>

#include <type_traits>

class CCmdTarget;

namespace afx {

// The message being dispatched, as far as a thunk needs it.
struct MsgCall {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    UINT id = 0;          // commands and notifications: the control or command id
    UINT code = 0;        // notification code (CN_COMMAND for plain commands)
    void* extra = nullptr;  // CN_UPDATE_COMMAND_UI: the CCmdUI
    LRESULT result = 0;
};

// Returns true when the handler took the message; an ..._EX handler may decline.
using Thunk = bool (*)(CCmdTarget* target, MsgCall& call);

enum class EntryKind : unsigned char {
    End,
    Message,         // window message, or range message..last
    Registered,      // message number held in a variable filled at start-up
    Command,         // WM_COMMAND: code and id range (ON_COMMAND, ON_CONTROL)
    UpdateUI,        // command-update query for an id range
    Notify,          // WM_NOTIFY from a child: code and id range
    ReflectCommand,  // WM_COMMAND of this control, handed back by its parent
    ReflectNotify,   // WM_NOTIFY of this control, handed back by its parent
};

struct MsgMapEntry {
    EntryKind kind = EntryKind::End;
    UINT message = 0;  // Message: first message; others unused
    UINT last = 0;     // Message: last message of a range (0: just message); Command/UpdateUI/Notify: last id
    const UINT* registered = nullptr;
    UINT code = 0;
    UINT id = 0;       // first id
    Thunk thunk = nullptr;

    bool Matches(EntryKind k, const MsgCall& c) const
    {
        if (kind != k)
            return false;
        switch (kind) {
        case EntryKind::Message: return c.message >= message && c.message <= (last ? last : message);
        case EntryKind::Registered: return *registered != 0 && *registered == c.message;
        case EntryKind::Command:
        case EntryKind::Notify: return c.code == code && c.id >= id && c.id <= last;
        case EntryKind::UpdateUI: return c.id >= id && c.id <= last;
        case EntryKind::ReflectCommand:
        case EntryKind::ReflectNotify: return c.code == code;
        default: return false;
        }
    }
};

struct MsgMap {
    const MsgMap* (*base)();
    const MsgMapEntry* entries;  // ends with an End entry
};

}  // namespace afx

// In the class declaration.
#define DECLARE_MESSAGE_MAP()                                   \
public:                                                         \
    static const afx::MsgMap* GetThisMessageMap();              \
    const afx::MsgMap* GetMessageMap() const override;          \
                                                                \
protected:

// In the class's .cpp: BEGIN_MESSAGE_MAP(CMyWnd, CWnd) entries... END_MESSAGE_MAP()
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                     \
    const afx::MsgMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const afx::MsgMap* theClass::GetThisMessageMap() AFX_MAP_TABLE(theClass, baseClass)

// The same for a class template whose base is a template parameter, in its header:
// BEGIN_TEMPLATE_MESSAGE_MAP(class Base, CMyWndT<Base>, Base) entries... END_MESSAGE_MAP()
#define BEGIN_TEMPLATE_MESSAGE_MAP(templateParam, theClass, baseClass)                 \
    template <templateParam>                                                           \
    const afx::MsgMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    template <templateParam>                                                           \
    const afx::MsgMap* theClass::GetThisMessageMap() AFX_MAP_TABLE(theClass, baseClass)

// The opening of GetThisMessageMap's body, up to the entries.
#define AFX_MAP_TABLE(theClass, baseClass)                                 \
    {                                                                      \
        using ThisClass = theClass;                                        \
        using TheBaseClass = baseClass;                                    \
        static_assert(std::is_base_of_v<TheBaseClass, ThisClass>);         \
        static const afx::MsgMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                  \
            afx::MsgMapEntry{}                                             \
        };                                                                 \
        static const afx::MsgMap map{&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                       \
    }

// A thunk whose body sees `self` (the object as the map's class) and `c_` (the call).
#define AFX_THUNK(...)                                                      \
    [](CCmdTarget* t_, afx::MsgCall& c_) -> bool {                          \
        [[maybe_unused]] auto* self = static_cast<ThisClass*>(t_);         \
        [[maybe_unused]] auto& call = c_;                                   \
        __VA_ARGS__                                                         \
    }
#define AFX_MSG_ENTRY(msg, ...) \
    afx::MsgMapEntry{afx::EntryKind::Message, static_cast<UINT>(msg), 0, nullptr, 0, 0, AFX_THUNK(__VA_ARGS__)},

// Generic entries.
#define ON_MESSAGE(msg, fn) AFX_MSG_ENTRY(msg, call.result = self->fn(call.wParam, call.lParam); return true;)
#define ON_REGISTERED_MESSAGE(var, fn)                                              \
    afx::MsgMapEntry{afx::EntryKind::Registered, 0, 0, &var, 0, 0,                  \
                     AFX_THUNK(call.result = self->fn(call.wParam, call.lParam); return true;)},
#define ON_COMMAND(id, fn)                                                                  \
    afx::MsgMapEntry{afx::EntryKind::Command, 0, static_cast<UINT>(id), nullptr, CN_COMMAND, \
                     static_cast<UINT>(id), AFX_THUNK(self->fn(); return true;)},
// fn(UINT id) returns BOOL: FALSE lets the command go on along the route.
#define ON_COMMAND_EX(id, fn)                                                               \
    afx::MsgMapEntry{afx::EntryKind::Command, 0, static_cast<UINT>(id), nullptr, CN_COMMAND, \
                     static_cast<UINT>(id), AFX_THUNK(return self->fn(call.id) != FALSE;)},
#define ON_COMMAND_RANGE(first, last, fn)                                                     \
    afx::MsgMapEntry{afx::EntryKind::Command, 0, static_cast<UINT>(last), nullptr, CN_COMMAND, \
                     static_cast<UINT>(first), AFX_THUNK(self->fn(call.id); return true;)},
// A control's WM_COMMAND notification (EN_CHANGE, CBN_SELCHANGE...) at its parent.
#define ON_CONTROL(code, id, fn)                                                             \
    afx::MsgMapEntry{afx::EntryKind::Command, 0, static_cast<UINT>(id), nullptr,              \
                     static_cast<UINT>(code), static_cast<UINT>(id), AFX_THUNK(self->fn(); return true;)},
#define ON_UPDATE_COMMAND_UI(id, fn) ON_UPDATE_COMMAND_UI_RANGE(id, id, fn)
#define ON_UPDATE_COMMAND_UI_RANGE(first, last, fn)                                            \
    afx::MsgMapEntry{afx::EntryKind::UpdateUI, 0, static_cast<UINT>(last), nullptr, 0,         \
                     static_cast<UINT>(first), AFX_THUNK(auto* ui = static_cast<CCmdUI*>(call.extra); ui->m_bContinueRouting = FALSE; \
                               self->fn(ui); return !ui->m_bContinueRouting;)},
// fn(NMHDR*, LRESULT*)
#define ON_NOTIFY(code, id, fn) ON_NOTIFY_RANGE_IMPL(code, id, id, self->fn(reinterpret_cast<NMHDR*>(call.lParam), &call.result); return true;)
// fn(UINT id, NMHDR*, LRESULT*)
#define ON_NOTIFY_RANGE(code, first, last, fn) \
    ON_NOTIFY_RANGE_IMPL(code, first, last, self->fn(call.id, reinterpret_cast<NMHDR*>(call.lParam), &call.result); return true;)
// fn(UINT id, NMHDR*, LRESULT*) returns BOOL: FALSE leaves the notification unhandled.
#define ON_NOTIFY_EX(code, id, fn) \
    ON_NOTIFY_RANGE_IMPL(code, id, id, return self->fn(call.id, reinterpret_cast<NMHDR*>(call.lParam), &call.result) != FALSE;)
#define ON_NOTIFY_RANGE_IMPL(code, first, last, ...)                                          \
    afx::MsgMapEntry{afx::EntryKind::Notify, 0, static_cast<UINT>(last), nullptr,             \
                     static_cast<UINT>(code), static_cast<UINT>(first), AFX_THUNK(__VA_ARGS__)},

// Reflected notifications, in the control's own map. The plain forms keep the
// notification from the parent; with _EX the handler returns FALSE to let the
// parent see it afterwards.
#define ON_CONTROL_REFLECT(code, fn)                                                         \
    afx::MsgMapEntry{afx::EntryKind::ReflectCommand, 0, 0, nullptr, static_cast<UINT>(code), 0, \
                     AFX_THUNK(self->fn(); return true;)},
#define ON_CONTROL_REFLECT_EX(code, fn)                                                      \
    afx::MsgMapEntry{afx::EntryKind::ReflectCommand, 0, 0, nullptr, static_cast<UINT>(code), 0, \
                     AFX_THUNK(return self->fn() != FALSE;)},
#define ON_NOTIFY_REFLECT(code, fn)                                                          \
    afx::MsgMapEntry{afx::EntryKind::ReflectNotify, 0, 0, nullptr, static_cast<UINT>(code), 0,  \
                     AFX_THUNK(self->fn(reinterpret_cast<NMHDR*>(call.lParam), &call.result); return true;)},
#define ON_NOTIFY_REFLECT_EX(code, fn)                                                       \
    afx::MsgMapEntry{afx::EntryKind::ReflectNotify, 0, 0, nullptr, static_cast<UINT>(code), 0,  \
                     AFX_THUNK(return self->fn(reinterpret_cast<NMHDR*>(call.lParam), &call.result) != FALSE;)},

#include "classlib/MessageCrackers.h"
