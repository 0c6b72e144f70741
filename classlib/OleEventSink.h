#pragma once
// Receives a control's events (its outgoing dispatch interface) and hands
// each one, by dispatch id, to a handler. Connect advises the control's
// connection point for that interface; Disconnect (or the owner's end) undoes it.
#include <windows.h>
#include <ocidl.h>

#include <functional>

class COleEventSink final : public IDispatch {
public:
    using Handler = std::function<void(DISPID id, DISPPARAMS* params)>;
    // One reference for the caller.
    static COleEventSink* Make(Handler handler) { return new COleEventSink(std::move(handler)); }

    HRESULT Connect(IUnknown* source, REFIID events);
    void Disconnect();
    BOOL IsConnected() const { return m_point != nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override
    {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

private:
    explicit COleEventSink(Handler handler) : m_handler(std::move(handler)) {}
    ~COleEventSink() = default;
    ULONG m_refs = 1;
    Handler m_handler;
    IID m_events = IID_NULL;
    IConnectionPoint* m_point = nullptr;
    DWORD m_cookie = 0;
};
