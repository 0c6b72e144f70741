#include "classlib/OleControlWnd.h"

#include "classlib/MessageMap.h"
#include "classlib/OleControlSite.h"
#include "classlib/OleEventSink.h"

namespace {

HRESULT EnsureOleInitialized()
{
    thread_local bool initialized = false;
    if (initialized)
        return S_OK;
    HRESULT hr = OleInitialize(nullptr);
    if (SUCCEEDED(hr))
        initialized = true;  // S_FALSE too: someone else did; either way it stays up
    return hr;
}

}  // namespace

BEGIN_MESSAGE_MAP(COleControlWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

COleControlWnd::~COleControlWnd()
{
    if (m_hWnd && m_createdHere)
        DestroyWindow();
    DestroyControl();
}

BOOL COleControlWnd::CreateControl(REFCLSID clsid, const wchar_t* windowName, DWORD style, const RECT& rect,
                                   CWnd* parent, UINT id)
{
    if (FAILED(EnsureOleInitialized()))
        return FALSE;
    if (!Create(nullptr, windowName, style | WS_CLIPCHILDREN, rect, parent, id))
        return FALSE;
    if (FAILED(ActivateControl(clsid))) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

HRESULT COleControlWnd::ActivateControl(REFCLSID clsid)
{
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(&m_control));
    if (FAILED(hr)) {
        m_control = nullptr;
        return hr;
    }
    m_site = new COleControlSite(m_hWnd);
    IOleClientSite* site = static_cast<IOleClientSite*>(m_site);
    DWORD misc = 0;
    m_control->GetMiscStatus(DVASPECT_CONTENT, &misc);
    const bool siteFirst = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst)
        m_control->SetClientSite(site);
    IPersistStreamInit* persist = nullptr;
    if (SUCCEEDED(m_control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)))) {
        persist->InitNew();
        persist->Release();
    }
    if (!siteFirst)
        m_control->SetClientSite(site);
    m_control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_dispatch));
    RECT rc;
    GetClientRect(&rc);
    hr = m_control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, m_hWnd, &rc);
    if (FAILED(hr)) {
        DestroyControl();
        return hr;
    }
    m_control->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_inPlace));
    return S_OK;
}

void COleControlWnd::DestroyControl()
{
    if (m_sink) {
        m_sink->Disconnect();
        m_sink->Release();
        m_sink = nullptr;
    }
    if (m_inPlace) {
        m_inPlace->InPlaceDeactivate();
        m_inPlace->Release();
        m_inPlace = nullptr;
    }
    if (m_dispatch) {
        m_dispatch->Release();
        m_dispatch = nullptr;
    }
    if (m_control) {
        m_control->Close(OLECLOSE_NOSAVE);
        m_control->SetClientSite(nullptr);
        m_control->Release();
        m_control = nullptr;
    }
    if (m_site) {
        m_site->Detach();
        m_site->Release();
        m_site = nullptr;
    }
}

HWND COleControlWnd::GetControlWindow() const
{
    HWND hwnd = nullptr;
    if (m_inPlace)
        m_inPlace->GetWindow(&hwnd);
    return hwnd;
}

HRESULT COleControlWnd::InvokeHelper(DISPID id, WORD flags, VARTYPE resultType, void* result, const char* paramTypes,
                                     ...)
{
    va_list args;
    va_start(args, paramTypes);
    HRESULT hr = AfxInvokeHelperV(m_dispatch, id, flags, resultType, result, paramTypes, args);
    va_end(args);
    return hr;
}

HRESULT COleControlWnd::AdviseEvents(REFIID events)
{
    if (!m_control)
        return E_UNEXPECTED;
    if (!m_sink)
        m_sink = COleEventSink::Make([this](DISPID id, DISPPARAMS* params) { OnControlEvent(id, params); });
    return m_sink->Connect(m_control, events);
}

BOOL COleControlWnd::PreTranslateMessage(MSG* msg)
{
    if (m_control && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
        IOleInPlaceActiveObject* active = nullptr;
        if (SUCCEEDED(m_control->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active)))) {
            const HRESULT hr = active->TranslateAccelerator(msg);
            active->Release();
            if (hr == S_OK)
                return TRUE;
        }
    }
    return CWnd::PreTranslateMessage(msg);
}

void COleControlWnd::OnSize(UINT, int cx, int cy)
{
    Default();
    if (m_inPlace) {
        RECT rc{0, 0, cx, cy};
        m_inPlace->SetObjectRects(&rc, &rc);
    }
}

void COleControlWnd::OnDestroy()
{
    DestroyControl();
    Default();
}
