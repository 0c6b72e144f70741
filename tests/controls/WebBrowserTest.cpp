// The browser host: the real WebBrowser control of the platform (created,
// sent a form post, closed), and a stand-in control registered under the
// browser's class id that records everything the host and the web helpers
// send it (the platform's control has no page engine here, so what reaches it
// is checked at this seam).
#include <winsock2.h>
#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>
#include <olectl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ControlsBTestSupport.h"
#include "common/WebUtil.h"
#include "controls/WebBrowser.h"

using namespace controlstest;

namespace {

struct Call {
    DISPID id;
    WORD flags;
    std::vector<VARTYPE> types;  // in call order
    std::vector<long> ints;
    UINT named;
    std::wstring url;
    std::string post;
    std::wstring headers;
};

// A minimal in-place control: a child window in the site's window, IDispatch
// that records calls.
class FakeControl : public IOleObject, public IOleInPlaceObject, public IDispatch {
public:
    LONG refs = 0;
    IOleClientSite* site = nullptr;
    HWND window = nullptr;
    bool closed = false, deactivated = false;
    BOOL userMode = FALSE;
    bool askedWindowContext = false;
    std::vector<Call> calls;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IOleObject)
            *out = static_cast<IOleObject*>(this);
        else if (iid == IID_IOleInPlaceObject || iid == IID_IOleWindow)
            *out = static_cast<IOleInPlaceObject*>(this);
        else if (iid == IID_IDispatch)
            *out = static_cast<IDispatch*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* s) override
    {
        if (site)
            site->Release();
        site = s;
        if (site) {
            site->AddRef();
            IDispatch* ambient = nullptr;
            if (SUCCEEDED(site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambient)))) {
                VARIANT v;
                VariantInit(&v);
                DISPPARAMS none{};
                if (SUCCEEDED(ambient->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v,
                                              nullptr, nullptr)) && v.vt == VT_BOOL)
                    userMode = v.boolVal != VARIANT_FALSE;
                ambient->Release();
            }
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** s) override { *s = site; return S_OK; }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override { closed = true; return S_OK; }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* s, LONG, HWND parent, LPCRECT rect) override
    {
        if (verb != OLEIVERB_INPLACEACTIVATE || !s)
            return E_NOTIMPL;
        IOleInPlaceSite* ip = nullptr;
        if (FAILED(s->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&ip))))
            return E_FAIL;
        HRESULT hr = ip->CanInPlaceActivate();
        HWND siteWindow = nullptr;
        ip->GetWindow(&siteWindow);
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* doc = nullptr;
        RECT pos{}, clip{};
        OLEINPLACEFRAMEINFO info{sizeof(info)};
        if (hr == S_OK && SUCCEEDED(ip->GetWindowContext(&frame, &doc, &pos, &clip, &info))) {
            askedWindowContext = frame != nullptr && siteWindow == parent;
            if (frame)
                frame->Release();
            if (doc)
                doc->Release();
            ip->OnInPlaceActivate();
            window = CreateWindowExW(0, L"STATIC", L"fake", WS_CHILD | WS_VISIBLE, rect->left, rect->top,
                                     rect->right - rect->left, rect->bottom - rect->top, parent, nullptr, nullptr,
                                     nullptr);
        }
        ip->Release();
        return window ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* s) override { *s = OLEMISC_SETCLIENTSITEFIRST; return S_OK; }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* w) override { *w = window; return window ? S_OK : E_FAIL; }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override
    {
        deactivated = true;
        if (window)
            DestroyWindow(window);
        window = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT pos, LPCRECT) override
    {
        MoveWindow(window, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* p, VARIANT* result, EXCEPINFO*,
                                     UINT*) override
    {
        Call c{id, flags, {}, {}, p->cNamedArgs, {}, {}, {}};
        for (UINT i = p->cArgs; i-- > 0;) {
            const VARIANT& v = p->rgvarg[i];
            c.types.push_back(v.vt);
            c.ints.push_back(v.vt == VT_I4 ? v.lVal : v.vt == VT_BOOL ? v.boolVal : 0);
        }
        if (id == 104 && p->cArgs == 5) {  // Navigate(URL, Flags, Target, PostData, Headers)
            c.url = p->rgvarg[4].bstrVal;
            const VARIANT* post = p->rgvarg[1].pvarVal;
            if (post && post->vt == (VT_ARRAY | VT_UI1)) {
                void* data = nullptr;
                SafeArrayAccessData(post->parray, &data);
                c.post.assign(static_cast<char*>(data), post->parray->rgsabound[0].cElements);
                SafeArrayUnaccessData(post->parray);
            }
            const VARIANT* headers = p->rgvarg[0].pvarVal;
            if (headers && headers->vt == VT_BSTR)
                c.headers = headers->bstrVal;
        }
        if (id == 1000 && result) {  // a text property for the result path
            result->vt = VT_BSTR;
            result->bstrVal = SysAllocString(L"answer");
        }
        calls.push_back(c);
        return S_OK;
    }
};

class FakeFactory : public IClassFactory {
public:
    FakeControl* control = nullptr;
    bool fail = false;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** out) override
    {
        if (fail || !control) {
            *out = nullptr;
            return E_OUTOFMEMORY;
        }
        return control->QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

class BrowserHost : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        ASSERT_TRUE(parent.CreateAt(10, 10, 500, 400));
    }
    void TearDown() override
    {
        parent.DestroyWindow();
        if (cookie)
            CoRevokeClassObject(cookie);
        OleUninitialize();
        GuiTest::TearDown();
    }
    // The stand-in answers for the browser's class id from now on.
    void UseFake()
    {
        factory.control = &fake;
        ASSERT_TRUE(SUCCEEDED(CoRegisterClassObject(kClsidWebBrowser, &factory, CLSCTX_INPROC_SERVER,
                                                    REGCLS_MULTIPLEUSE, &cookie)));
    }
    CLogParent parent;
    FakeControl fake;
    FakeFactory factory;
    DWORD cookie = 0;
};

TEST_F(BrowserHost, HostsTheControlFillingItsWindowAndTurnsOffDropping)
{
    UseFake();
    CWebBrowserWnd host;
    ASSERT_TRUE(host.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 10, 310, 210), &parent, 77));
    ASSERT_TRUE(fake.window);
    EXPECT_TRUE(fake.userMode);
    EXPECT_TRUE(fake.askedWindowContext);
    EXPECT_EQ(::GetParent(fake.window), host.m_browser.m_hWnd);
    EXPECT_EQ(host.m_browser.GetDlgCtrlID(), CWebBrowserWnd::BrowserId);
    EXPECT_EQ(host.m_browser.GetControlWindow(), fake.window);

    ASSERT_EQ(fake.calls.size(), 1u);
    const Call& put = fake.calls[0];
    EXPECT_EQ(put.id, 553);
    EXPECT_EQ(put.flags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(put.named, 1u);
    ASSERT_EQ(put.types, std::vector<VARTYPE>{VT_BOOL});
    EXPECT_EQ(put.ints[0], VARIANT_FALSE);

    // Size changes reach the control's own window.
    host.MoveWindow(10, 10, 420, 260);
    RECT browser, control;
    host.m_browser.GetClientRect(&browser);
    ::GetWindowRect(fake.window, &control);
    EXPECT_EQ(browser.right, 420);
    EXPECT_EQ(browser.bottom, 260);
    EXPECT_EQ(control.right - control.left, 420);
    EXPECT_EQ(control.bottom - control.top, 260);
}

TEST_F(BrowserHost, FormPostAndCopyReachTheControl)
{
    UseFake();
    CWebBrowserWnd host;
    ASSERT_TRUE(host.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &parent, 77));
    fake.calls.clear();
    ASSERT_TRUE(NavigatePost(host.m_browser.GetControlDispatch(), L"http://maps.example/route.htm",
                             L"message=a%20b"));
    ASSERT_TRUE(SUCCEEDED(ExecBrowserCopy(&host.m_browser)));
    ASSERT_EQ(fake.calls.size(), 2u);
    EXPECT_EQ(fake.calls[0].id, 104);
    EXPECT_EQ(fake.calls[0].url, L"http://maps.example/route.htm");
    EXPECT_EQ(fake.calls[0].post, "message=a%20b");
    EXPECT_EQ(fake.calls[0].headers, kFormPostHeaders);

    const Call& copy = fake.calls[1];
    EXPECT_EQ(copy.id, 502);
    EXPECT_EQ(copy.flags, DISPATCH_METHOD);
    EXPECT_EQ(copy.named, 0u);
    ASSERT_EQ(copy.types, (std::vector<VARTYPE>{VT_I4, VT_I4, VT_VARIANT | VT_BYREF, VT_VARIANT | VT_BYREF}));
    EXPECT_EQ(copy.ints[0], 12);  // OLECMDID_COPY
    EXPECT_EQ(copy.ints[1], 0);   // OLECMDEXECOPT_DODEFAULT

    CString text;
    ASSERT_TRUE(SUCCEEDED(host.m_browser.InvokeHelper(1000, DISPATCH_PROPERTYGET, VT_BSTR, &text, VTS_NONE)));
    EXPECT_STREQ(text, L"answer");
}

TEST_F(BrowserHost, TearDownClosesTheControlAndLetsGoOfIt)
{
    UseFake();
    {
        CWebBrowserWnd host;
        ASSERT_TRUE(host.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &parent, 77));
        EXPECT_GT(fake.refs, 0);
        host.DestroyWindow();
        EXPECT_TRUE(fake.deactivated);
        EXPECT_TRUE(fake.closed);
        EXPECT_EQ(fake.site, nullptr);
        EXPECT_EQ(host.m_browser.GetControlUnknown(), nullptr);
    }
    EXPECT_EQ(fake.refs, 0);
    EXPECT_EQ(fake.window, nullptr);
}

TEST_F(BrowserHost, NoControlMeansNoHostWindow)
{
    UseFake();
    factory.fail = true;
    CWebBrowserWnd host;
    EXPECT_FALSE(host.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &parent, 77));
    EXPECT_EQ(host.m_hWnd, nullptr);
    EXPECT_EQ(host.m_browser.m_hWnd, nullptr);
    EXPECT_EQ(::GetWindow(parent.m_hWnd, GW_CHILD), nullptr);
}

// The platform's own control: created, posted to, torn down without error.
// Under Wine it has no page engine; what it does with the post is recorded.
class BrowserEvents : public CWebBrowser {
public:
    std::vector<DISPID> events;
protected:
    void OnControlEvent(DISPID id, DISPPARAMS*) override { events.push_back(id); }
};

TEST_F(BrowserHost, PlatformControlCreatesPostsAndCloses)
{
    // Nothing listens on the discard port: the navigation fails after the post
    // went out, which is all the control can show here.
    BrowserEvents browser;
    ASSERT_TRUE(browser.Create(nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 59649));
    ASSERT_TRUE(browser.GetControlDispatch());
    HWND embedding = browser.GetControlWindow();
    ASSERT_TRUE(embedding);
    EXPECT_TRUE(::IsChild(browser.m_hWnd, embedding));
    EXPECT_TRUE(SUCCEEDED(browser.AdviseEvents(DIID_DWebBrowserEvents2)));
    EXPECT_TRUE(SUCCEEDED(browser.InvokeHelper(553, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, VTS_BOOL, FALSE)));
    EXPECT_TRUE(NavigatePost(browser.GetControlDispatch(), L"http://127.0.0.1:9/map.htm", L"message=x"));
    auto seen = [&](DISPID id) { return std::find(browser.events.begin(), browser.events.end(), id) != browser.events.end(); };
    EXPECT_TRUE(PumpUntil([&] { return seen(DISPID_BEFORENAVIGATE2); }, 3000));
    PumpUntil([&] { return seen(DISPID_NAVIGATEERROR); }, 3000);
    browser.DestroyWindow();
    EXPECT_EQ(browser.GetControlUnknown(), nullptr);
    EXPECT_FALSE(::IsWindow(embedding));
    EXPECT_EQ(::GetWindow(parent.m_hWnd, GW_CHILD), nullptr);
}

}  // namespace
