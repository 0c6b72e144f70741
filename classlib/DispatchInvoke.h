#pragma once
// Calling an automation object by dispatch id with typed C++ arguments.
//
// The parameter list is a string of one byte per argument, its VARTYPE, with
// VT_BYREF_FLAG added for a pointer passed by reference:
//   VTS_I4 long, VTS_BOOL BOOL, VTS_BSTR const wchar_t*, VTS_VARIANT const VARIANT*,
//   VTS_PVARIANT VARIANT* (by reference), VTS_DISPATCH IDispatch*, VTS_UNKNOWN IUnknown*.
// The result type: VT_EMPTY (none), VT_I4 long*, VT_BOOL BOOL*, VT_BSTR CString*,
// VT_VARIANT VARIANT* (the caller clears it), VT_DISPATCH IDispatch** (one reference).
#include <windows.h>
#include <oleauto.h>

#include <cstdarg>

#define VTS_NONE ""
#define VTS_I4 "\x03"
#define VTS_BOOL "\x0B"
#define VTS_BSTR "\x08"
#define VTS_VARIANT "\x0C"
#define VTS_PVARIANT "\x4C"
#define VTS_DISPATCH "\x09"
#define VTS_UNKNOWN "\x0D"
constexpr unsigned char VT_BYREF_FLAG = 0x40;

// DISPATCH_METHOD, DISPATCH_PROPERTYGET or DISPATCH_PROPERTYPUT in flags; a put
// passes its one argument as the named DISPID_PROPERTYPUT. The HRESULT of
// Invoke, or E_INVALIDARG for a type it does not know.
HRESULT AfxInvokeHelperV(IDispatch* target, DISPID id, WORD flags, VARTYPE resultType, void* result,
                         const char* paramTypes, va_list args);
