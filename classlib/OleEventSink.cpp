#include "classlib/OleEventSink.h"

HRESULT COleEventSink::Connect(IUnknown* source, REFIID events)
{
    Disconnect();
    if (!source)
        return E_POINTER;
    IConnectionPointContainer* container = nullptr;
    HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (FAILED(hr))
        return hr;
    IConnectionPoint* point = nullptr;
    hr = container->FindConnectionPoint(events, &point);
    container->Release();
    if (FAILED(hr))
        return hr;
    m_events = events;
    hr = point->Advise(static_cast<IDispatch*>(this), &m_cookie);
    if (FAILED(hr)) {
        point->Release();
        return hr;
    }
    m_point = point;
    return S_OK;
}

void COleEventSink::Disconnect()
{
    if (!m_point)
        return;
    IConnectionPoint* point = m_point;
    m_point = nullptr;
    point->Unadvise(m_cookie);
    point->Release();
    m_cookie = 0;
}

HRESULT COleEventSink::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || (iid == m_events && iid != IID_NULL)) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG COleEventSink::Release()
{
    const ULONG left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

HRESULT COleEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*)
{
    if (m_handler)
        m_handler(id, params);
    return S_OK;
}
