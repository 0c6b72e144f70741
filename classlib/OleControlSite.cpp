#include "classlib/OleControlSite.h"

#include <olectl.h>

HRESULT COleControlSite::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
        *out = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
        *out = static_cast<IOleInPlaceFrame*>(this);
    else if (iid == IID_IOleControlSite)
        *out = static_cast<IOleControlSite*>(this);
    else if (iid == IID_IDispatch)
        *out = static_cast<IDispatch*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG COleControlSite::Release()
{
    const ULONG left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

HRESULT COleControlSite::GetMoniker(DWORD, DWORD, IMoniker** out)
{
    if (out)
        *out = nullptr;
    return E_NOTIMPL;
}

HRESULT COleControlSite::GetContainer(IOleContainer** out)
{
    if (out)
        *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT COleControlSite::GetWindow(HWND* out)
{
    if (!out)
        return E_POINTER;
    *out = m_host;
    return m_host ? S_OK : E_FAIL;
}

HRESULT COleControlSite::OnInPlaceActivate()
{
    m_inPlaceActive = TRUE;
    return S_OK;
}

HRESULT COleControlSite::OnInPlaceDeactivate()
{
    m_inPlaceActive = FALSE;
    return S_OK;
}

HRESULT COleControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, RECT* pos, RECT* clip,
                                          OLEINPLACEFRAMEINFO* info)
{
    if (!frame || !doc || !pos || !clip || !info)
        return E_POINTER;
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *doc = nullptr;  // the frame is the document window too
    if (m_host) {
        ::GetClientRect(m_host, pos);
        *clip = *pos;
    } else {
        SetRectEmpty(pos);
        SetRectEmpty(clip);
    }
    info->cb = sizeof(*info);
    info->fMDIApp = FALSE;
    info->hwndFrame = m_host ? ::GetAncestor(m_host, GA_ROOT) : nullptr;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT COleControlSite::OnPosRectChange(LPCRECT)
{
    // The host decides the size: the control always fills it.
    return S_OK;
}

HRESULT COleControlSite::GetExtendedControl(IDispatch** out)
{
    if (out)
        *out = nullptr;
    return E_NOTIMPL;
}

HRESULT COleControlSite::GetTypeInfoCount(UINT* n)
{
    if (n)
        *n = 0;
    return S_OK;
}

HRESULT COleControlSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*)
{
    if (!(flags & DISPATCH_PROPERTYGET) || !result)
        return DISP_E_MEMBERNOTFOUND;
    VariantInit(result);
    switch (id) {
    case DISPID_AMBIENT_USERMODE:
        result->vt = VT_BOOL;
        result->boolVal = VARIANT_TRUE;
        return S_OK;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_MESSAGEREFLECT:
    case DISPID_AMBIENT_DISPLAYASDEFAULT:
        result->vt = VT_BOOL;
        result->boolVal = VARIANT_FALSE;
        return S_OK;
    case DISPID_AMBIENT_BACKCOLOR:
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(::GetSysColor(COLOR_WINDOW));
        return S_OK;
    case DISPID_AMBIENT_FORECOLOR:
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(::GetSysColor(COLOR_WINDOWTEXT));
        return S_OK;
    case DISPID_AMBIENT_LOCALEID:
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(::GetUserDefaultLCID());
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}
