#include "common/WebUtil.h"

#include <gtest/gtest.h>

#include <oleauto.h>

#include <string>

namespace {

// Stands for the WebBrowser control: records what Navigate receives.
class RecordingBrowser : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        ++calls;
        dispid = id;
        invokeFlags = flags;
        argCount = params->cArgs;
        if (params->cArgs != 5)
            return DISP_E_BADPARAMCOUNT;
        VARIANT* a = params->rgvarg;  // reverse order
        if (a[4].vt == VT_BSTR)
            url = a[4].bstrVal;
        for (int i = 0; i < 4; ++i)
            byRef[i] = a[3 - i].vt == (VT_VARIANT | VT_BYREF);
        VARIANT* flagsArg = a[3].pvarVal;
        VARIANT* target = a[2].pvarVal;
        VARIANT* post = a[1].pvarVal;
        VARIANT* headers = a[0].pvarVal;
        emptyFlagsAndTarget = flagsArg->vt == VT_EMPTY && target->vt == VT_EMPTY;
        postType = post->vt;
        postBytes.clear();
        if (post->vt == (VT_ARRAY | VT_UI1)) {
            void* data = nullptr;
            LONG lo = 0, hi = -1;
            SafeArrayGetLBound(post->parray, 1, &lo);
            SafeArrayGetUBound(post->parray, 1, &hi);
            SafeArrayAccessData(post->parray, &data);
            postBytes.assign(static_cast<char*>(data), hi - lo + 1);
            SafeArrayUnaccessData(post->parray);
        }
        if (headers->vt == VT_BSTR)
            headerText = headers->bstrVal;
        return fail ? E_FAIL : S_OK;
    }

    int calls = 0;
    DISPID dispid = 0;
    WORD invokeFlags = 0;
    UINT argCount = 0;
    bool byRef[4] = {};
    bool emptyFlagsAndTarget = false;
    VARTYPE postType = VT_ILLEGAL;
    std::string postBytes;
    std::wstring url, headerText;
    bool fail = false;
};

}  // namespace

TEST(NavigatePost, PostsUtf8BodyWithFormHeader)
{
    RecordingBrowser browser;
    ASSERT_TRUE(NavigatePost(&browser, L"http://host/map.htm", L"message=%C3%A4\u00E4"));
    EXPECT_EQ(1, browser.calls);
    EXPECT_EQ(104, browser.dispid);
    EXPECT_EQ(DISPATCH_METHOD, browser.invokeFlags);
    EXPECT_EQ(L"http://host/map.htm", browser.url);
    EXPECT_TRUE(browser.byRef[0] && browser.byRef[1] && browser.byRef[2] && browser.byRef[3]);
    EXPECT_TRUE(browser.emptyFlagsAndTarget);
    EXPECT_EQ(VT_ARRAY | VT_UI1, browser.postType);
    EXPECT_EQ(std::string("message=%C3%A4\xC3\xA4"), browser.postBytes);  // no trailing zero byte
    EXPECT_EQ(L"Content-Type: application/x-www-form-urlencoded\r\n", browser.headerText);
}

TEST(NavigatePost, EmptyBodyIsAPlainNavigationWithHeader)
{
    for (const wchar_t* body : {static_cast<const wchar_t*>(nullptr), L""}) {
        RecordingBrowser browser;
        ASSERT_TRUE(NavigatePost(&browser, L"about:blank", body));
        EXPECT_EQ(VT_EMPTY, browser.postType);
        EXPECT_EQ(L"Content-Type: application/x-www-form-urlencoded\r\n", browser.headerText);
    }
}

TEST(NavigatePost, Failures)
{
    RecordingBrowser browser;
    EXPECT_FALSE(NavigatePost(nullptr, L"about:blank", L"x"));
    EXPECT_FALSE(NavigatePost(&browser, nullptr, L"x"));
    EXPECT_EQ(0, browser.calls);
    browser.fail = true;
    EXPECT_FALSE(NavigatePost(&browser, L"about:blank", L"x"));
}
