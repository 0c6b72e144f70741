#pragma once
// A window that hosts one ActiveX control filling its client area: creates
// the control by class id, activates it in place with an OleControlSite,
// keeps it sized to the window, calls it by dispatch id (InvokeHelper),
// optionally receives its events, and closes it before the window goes.
//
//   COleControlWnd host;
//   host.CreateControl(clsid, nullptr, WS_CHILD | WS_VISIBLE, rect, parent, id);
//   host.InvokeHelper(553, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, VTS_BOOL, FALSE);
//
// The thread's OLE is initialised by the first control made on it and stays
// up for the thread's life (in-place activation needs OleInitialize, not just COM).
#include "classlib/CWnd.h"
#include "classlib/DispatchInvoke.h"

class COleControlSite;
class COleEventSink;

class COleControlWnd : public CWnd {
public:
    COleControlWnd() = default;
    ~COleControlWnd() override;

    // The host window (default class, WS_CLIPCHILDREN added), then the control
    // in it. FALSE, and no window, when the control cannot be made or activated.
    BOOL CreateControl(REFCLSID clsid, const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent,
                       UINT id);
    // No reference added; NULL without a control.
    IUnknown* GetControlUnknown() const { return m_control; }
    IDispatch* GetControlDispatch() const { return m_dispatch; }
    // The control's own window (in-place), NULL when it has none.
    HWND GetControlWindow() const;
    HRESULT InvokeHelper(DISPID id, WORD flags, VARTYPE resultType, void* result, const char* paramTypes, ...);
    // Connects OnControlEvent to the control's events of that interface.
    HRESULT AdviseEvents(REFIID events);
    // Closes the control (also done when the window is destroyed).
    void DestroyControl();

    // Lets the active control see keys first (Tab, accelerators inside it).
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    virtual void OnControlEvent(DISPID, DISPPARAMS*) {}
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    BOOL OnEraseBkgnd(CDC*) { return m_control != nullptr; }
    DECLARE_MESSAGE_MAP()

private:
    HRESULT ActivateControl(REFCLSID clsid);
    IOleObject* m_control = nullptr;
    IDispatch* m_dispatch = nullptr;
    IOleInPlaceObject* m_inPlace = nullptr;
    COleControlSite* m_site = nullptr;
    COleEventSink* m_sink = nullptr;
};
