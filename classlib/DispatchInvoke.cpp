#include "classlib/DispatchInvoke.h"

#include <vector>

#include "classlib/CString.h"

namespace {

bool PackArgument(unsigned char type, va_list& args, VARIANT& v)
{
    VariantInit(&v);
    if (type & VT_BYREF_FLAG) {
        if ((type & ~VT_BYREF_FLAG) != VT_VARIANT)
            return false;
        v.vt = VT_VARIANT | VT_BYREF;
        v.pvarVal = va_arg(args, VARIANT*);
        return true;
    }
    switch (type) {
    case VT_I4:
        v.vt = VT_I4;
        v.lVal = va_arg(args, long);
        return true;
    case VT_BOOL:
        v.vt = VT_BOOL;
        v.boolVal = va_arg(args, BOOL) ? VARIANT_TRUE : VARIANT_FALSE;
        return true;
    case VT_BSTR: {
        const wchar_t* text = va_arg(args, const wchar_t*);
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocString(text ? text : L"");
        return v.bstrVal != nullptr;
    }
    case VT_VARIANT: {
        const VARIANT* source = va_arg(args, const VARIANT*);
        return !source || SUCCEEDED(VariantCopy(&v, const_cast<VARIANT*>(source)));
    }
    case VT_DISPATCH:
        v.vt = VT_DISPATCH;
        v.pdispVal = va_arg(args, IDispatch*);
        if (v.pdispVal)
            v.pdispVal->AddRef();
        return true;
    case VT_UNKNOWN:
        v.vt = VT_UNKNOWN;
        v.punkVal = va_arg(args, IUnknown*);
        if (v.punkVal)
            v.punkVal->AddRef();
        return true;
    default:
        return false;
    }
}

HRESULT StoreResult(VARIANT& value, VARTYPE type, void* result)
{
    if (type == VT_EMPTY || !result)
        return S_OK;
    if (type == VT_VARIANT) {
        *static_cast<VARIANT*>(result) = value;  // the caller owns it now
        VariantInit(&value);
        return S_OK;
    }
    HRESULT hr = VariantChangeType(&value, &value, 0, type);
    if (FAILED(hr))
        return hr;
    switch (type) {
    case VT_I4: *static_cast<long*>(result) = value.lVal; break;
    case VT_BOOL: *static_cast<BOOL*>(result) = value.boolVal != VARIANT_FALSE; break;
    case VT_BSTR: *static_cast<CString*>(result) = value.bstrVal ? value.bstrVal : L""; break;
    case VT_DISPATCH:
        *static_cast<IDispatch**>(result) = value.pdispVal;
        VariantInit(&value);  // the reference goes to the caller
        break;
    default: return E_INVALIDARG;
    }
    return S_OK;
}

}  // namespace

HRESULT AfxInvokeHelperV(IDispatch* target, DISPID id, WORD flags, VARTYPE resultType, void* result,
                         const char* paramTypes, va_list args)
{
    if (!target)
        return E_POINTER;
    const size_t count = paramTypes ? strlen(paramTypes) : 0;
    std::vector<VARIANT> values(count);
    bool ok = true;
    size_t packed = 0;
    // Invoke takes the arguments last first.
    for (; packed < count && ok; ++packed)
        ok = PackArgument(static_cast<unsigned char>(paramTypes[packed]), args, values[count - 1 - packed]);
    HRESULT hr = E_INVALIDARG;
    if (ok) {
        DISPID putId = DISPID_PROPERTYPUT;
        DISPPARAMS params{values.data(), nullptr, static_cast<UINT>(count), 0};
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            params.rgdispidNamedArgs = &putId;
            params.cNamedArgs = 1;
        }
        VARIANT value;
        VariantInit(&value);
        hr = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                            resultType == VT_EMPTY ? nullptr : &value, nullptr, nullptr);
        if (SUCCEEDED(hr))
            hr = StoreResult(value, resultType, result);
        VariantClear(&value);
    }
    for (size_t i = 0; i < packed; ++i) {
        VARIANT& v = values[count - 1 - i];
        if (!(v.vt & VT_BYREF))
            VariantClear(&v);
    }
    return hr;
}
