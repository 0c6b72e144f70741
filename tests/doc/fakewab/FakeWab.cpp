// A small stand-in for the Windows Address Book library, for the tests of the
// address-book import: WABOpen hands out an address book whose personal address
// book holds three fixed contacts. FakeWabSetup chooses the string type of the
// answers and a step that fails; FakeWabLiveCount tells how many objects and
// buffers were not released.
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "doc/WabApi.h"

using namespace wab;

namespace {

enum StringMode { MODE_UNICODE = 0, MODE_ANSI = 1, MODE_MIXED = 2 };
enum FailStep { FAIL_NONE, FAIL_OPEN, FAIL_GETPAB, FAIL_OPENENTRY, FAIL_SETCOLUMNS, FAIL_QUERYROWS, FAIL_NOT_CONTAINER };

int g_mode = MODE_UNICODE;
int g_fail = FAIL_NONE;
LONG g_live = 0;  // objects alive plus buffers not freed

struct Contact {
    std::vector<std::pair<ULONG, std::wstring>> props;
};

std::vector<Contact> Contacts()
{
    return {
        {{{0x3001, L"Smith, John"}, {0x3A5D, L"1 Main St"}, {0x3A59, L"Springfield"}, {0x3A5C, L"IL"},
          {0x3A5A, L"USA"}, {0x3A09, L"555-0100"}, {0x3A1C, L"555-0101"}, {0x3A16, L"Acme \"Tools\""},
          {0x3A29, L"9 Park Ave"}, {0x3A27, L"Chicago"}, {0x3A28, L"IL"}, {0x3A26, L"USA"},
          {0x3A08, L"555-0200"}, {0x3004, L"met at fair"}, {0x3003, L"john@example.com"}}},
        {{{0x3001, L"Zo\u00EB M\u00FCller"}, {0x3003, L"zoe@example.com"}}},
        {{{0x3001, L"Nobody"}}},
    };
}

void* Alloc(size_t n)
{
    InterlockedIncrement(&g_live);
    return calloc(1, n);
}

template <typename Base>
class Object : public Base {
public:
    Object() { InterlockedIncrement(&g_live); }
    virtual ~Object() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override { *out = nullptr; return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_refs); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG n = InterlockedDecrement(&m_refs);
        if (n == 0) {
            InterlockedDecrement(&g_live);
            delete this;
        }
        return n;
    }

private:
    LONG m_refs = 1;
};

#define NOT_IMPL(name) HRESULT STDMETHODCALLTYPE name() override { return E_NOTIMPL; }
#define PROP_SLOTS                                                                                 \
    NOT_IMPL(GetLastError) NOT_IMPL(SaveChanges) NOT_IMPL(GetProps) NOT_IMPL(GetPropList)          \
    NOT_IMPL(OpenProperty) NOT_IMPL(SetProps) NOT_IMPL(DeleteProps) NOT_IMPL(CopyTo)               \
    NOT_IMPL(CopyProps) NOT_IMPL(GetNamesFromIDs) NOT_IMPL(GetIDsFromNames)

class Table : public Object<IMAPITable> {
public:
    NOT_IMPL(GetLastError) NOT_IMPL(Advise) NOT_IMPL(Unadvise) NOT_IMPL(GetStatus) NOT_IMPL(QueryColumns)
    NOT_IMPL(SeekRow) NOT_IMPL(SeekRowApprox) NOT_IMPL(QueryPosition) NOT_IMPL(FindRow) NOT_IMPL(Restrict)
    NOT_IMPL(CreateBookmark) NOT_IMPL(FreeBookmark) NOT_IMPL(SortTable) NOT_IMPL(QuerySortOrder) NOT_IMPL(Abort)
    NOT_IMPL(ExpandRow) NOT_IMPL(CollapseRow) NOT_IMPL(WaitForCompletion) NOT_IMPL(GetCollapseState)
    NOT_IMPL(SetCollapseState)

    HRESULT STDMETHODCALLTYPE SetColumns(SPropTagArray* tags, ULONG) override
    {
        if (g_fail == FAIL_SETCOLUMNS || !tags)
            return E_FAIL;
        m_columns.assign(tags->aulPropTag, tags->aulPropTag + tags->cValues);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetRowCount(ULONG, ULONG* count) override
    {
        *count = static_cast<ULONG>(Contacts().size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryRows(LONG rowCount, ULONG, SRowSet** out) override
    {
        if (g_fail == FAIL_QUERYROWS)
            return E_FAIL;
        std::vector<Contact> contacts = Contacts();
        ULONG n = std::min<ULONG>(rowCount, contacts.size());
        auto* set = static_cast<SRowSet*>(Alloc(sizeof(SRowSet) + n * sizeof(SRow)));
        set->cRows = n;
        for (ULONG r = 0; r < n; ++r) {
            // One block per row: the values, then their strings.
            size_t bytes = m_columns.size() * sizeof(SPropValue) + 4096;
            auto* props = static_cast<SPropValue*>(Alloc(bytes));
            char* strings = reinterpret_cast<char*>(props + m_columns.size());
            for (size_t c = 0; c < m_columns.size(); ++c) {
                ULONG id = PROP_ID(m_columns[c]);
                SPropValue& v = props[c];
                if (m_columns[c] == PR_ENTRYID) {
                    v.ulPropTag = PR_ENTRYID;
                    v.Value.bin.cb = 4;
                    v.Value.bin.lpb = reinterpret_cast<BYTE*>(strings);
                    memcpy(strings, &r, 4);
                    strings += 4;
                    continue;
                }
                const std::wstring* text = nullptr;
                for (auto& p : contacts[r].props)
                    if (p.first == id)
                        text = &p.second;
                if (!text) {
                    v.ulPropTag = PROP_TAG(PT_ERROR, id);
                    v.Value.err = 0x8004010F;  // not found
                    continue;
                }
                bool ansi = g_mode == MODE_ANSI || (g_mode == MODE_MIXED && c % 2 == 0);
                if (ansi) {
                    v.ulPropTag = PROP_TAG(PT_STRING8, id);
                    int len = WideCharToMultiByte(1252, 0, text->c_str(), -1, strings, 512, nullptr, nullptr);
                    v.Value.lpszA = strings;
                    strings += len;
                } else {
                    v.ulPropTag = PROP_TAG(PT_UNICODE, id);
                    strings += (reinterpret_cast<UINT_PTR>(strings) & 1);
                    wcscpy(reinterpret_cast<wchar_t*>(strings), text->c_str());
                    v.Value.lpszW = reinterpret_cast<wchar_t*>(strings);
                    strings += (text->size() + 1) * sizeof(wchar_t);
                }
            }
            set->aRow[r].cValues = static_cast<ULONG>(m_columns.size());
            set->aRow[r].lpProps = props;
        }
        *out = set;
        return S_OK;
    }

private:
    std::vector<ULONG> m_columns;
};

class Container : public Object<IABContainer> {
public:
    PROP_SLOTS
    NOT_IMPL(GetHierarchyTable) NOT_IMPL(OpenEntry) NOT_IMPL(SetSearchCriteria) NOT_IMPL(GetSearchCriteria)
    NOT_IMPL(CreateEntry) NOT_IMPL(CopyEntries) NOT_IMPL(DeleteEntries) NOT_IMPL(ResolveNames)
    HRESULT STDMETHODCALLTYPE GetContentsTable(ULONG flags, IMAPITable** table) override
    {
        if (flags != WAB_PROFILE_CONTENTS)
            return E_INVALIDARG;
        *table = new Table;
        return S_OK;
    }
};

class AddrBook : public Object<IAddrBook> {
public:
    PROP_SLOTS
    NOT_IMPL(CompareEntryIDs) NOT_IMPL(Advise) NOT_IMPL(Unadvise) NOT_IMPL(CreateOneOff) NOT_IMPL(NewEntry)
    NOT_IMPL(ResolveName) NOT_IMPL(Address) NOT_IMPL(Details) NOT_IMPL(RecipOptions) NOT_IMPL(QueryDefaultRecipOpt)
    NOT_IMPL(SetPAB) NOT_IMPL(GetDefaultDir) NOT_IMPL(SetDefaultDir) NOT_IMPL(GetSearchPath) NOT_IMPL(SetSearchPath)
    NOT_IMPL(PrepareRecips)
    HRESULT STDMETHODCALLTYPE GetPAB(ULONG* cb, void** id) override
    {
        if (g_fail == FAIL_GETPAB)
            return E_FAIL;
        *cb = 8;
        *id = Alloc(8);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OpenEntry(ULONG cb, void* id, const IID*, ULONG, ULONG* type, IUnknown** unk) override
    {
        if (g_fail == FAIL_OPENENTRY || cb != 8 || !id)
            return E_FAIL;
        *type = g_fail == FAIL_NOT_CONTAINER ? 6 : MAPI_ABCONT;
        *unk = static_cast<IABContainer*>(new Container);
        return S_OK;
    }
};

class WabObject : public Object<IWABObject> {
public:
    NOT_IMPL(GetLastError) NOT_IMPL(AllocateBuffer) NOT_IMPL(AllocateMore) NOT_IMPL(Backup) NOT_IMPL(Import)
    NOT_IMPL(Find) NOT_IMPL(VCardDisplay) NOT_IMPL(LDAPUrl) NOT_IMPL(VCardCreate) NOT_IMPL(VCardRetrieve)
    NOT_IMPL(GetMe) NOT_IMPL(SetMe)
    HRESULT STDMETHODCALLTYPE FreeBuffer(void* p) override
    {
        if (p) {
            InterlockedDecrement(&g_live);
            free(p);
        }
        return S_OK;
    }
};

}  // namespace

extern "C" {

HRESULT STDMETHODCALLTYPE WABOpen(IAddrBook** addrBook, IWABObject** wabObject, void*, DWORD)
{
    if (g_fail == FAIL_OPEN)
        return E_FAIL;
    *addrBook = new AddrBook;
    *wabObject = new WabObject;
    return S_OK;
}

void FakeWabSetup(int mode, int failStep)
{
    g_mode = mode;
    g_fail = failStep;
}

LONG FakeWabLiveCount()
{
    return g_live;
}

}
