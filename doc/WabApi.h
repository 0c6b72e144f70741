#pragma once
// The few Windows Address Book interfaces and records the address-book import
// uses, declared from the published MAPI/WAB documentation (the platform's own
// wab.h does not compile together with mapidefs.h here). Only the slots the
// import calls have their real arguments; the others keep their vtable places.
#include <windows.h>
#include <objbase.h>
#include <cstddef>

namespace wab {

// Property types and tags.
constexpr ULONG PT_ERROR = 0x000A;
constexpr ULONG PT_STRING8 = 0x001E;
constexpr ULONG PT_UNICODE = 0x001F;
constexpr ULONG PT_BINARY = 0x0102;
constexpr ULONG PROP_ID(ULONG tag) { return tag >> 16; }
constexpr ULONG PROP_TYPE(ULONG tag) { return tag & 0xFFFF; }
constexpr ULONG PROP_TAG(ULONG type, ULONG id) { return (id << 16) | type; }
constexpr ULONG PR_ENTRYID = 0x0FFF0102;
constexpr ULONG MAPI_ABCONT = 4;
// Contents of the WAB's current profile.
constexpr ULONG WAB_PROFILE_CONTENTS = 0x00200000;

struct SBinary {
    ULONG cb;
    BYTE* lpb;
};

union PropValueUnion {
    short i;
    LONG l;
    ULONG ul;
    double dbl;
    LPSTR lpszA;
    LPWSTR lpszW;
    SBinary bin;
    LARGE_INTEGER li;
    SCODE err;
};

struct SPropValue {
    ULONG ulPropTag;
    ULONG dwAlignPad;
    PropValueUnion Value;
};
// The platform's layout at either width: the union holds a pointer pair (SBinary).
static_assert(offsetof(SPropValue, Value) == 8, "SPropValue layout");
static_assert(sizeof(SPropValue) == (sizeof(void*) == 8 ? 24 : 16), "SPropValue layout");
static_assert(sizeof(SBinary) == 2 * sizeof(void*), "SBinary layout");

struct SRow {
    ULONG ulAdrEntryPad;
    ULONG cValues;
    SPropValue* lpProps;
};

struct SRowSet {
    ULONG cRows;
    SRow aRow[1];
};

struct SPropTagArray {
    ULONG cValues;
    ULONG aulPropTag[1];
};

// A tag array of a fixed number of tags.
template <ULONG N>
struct SizedPropTagArray {
    ULONG cValues = N;
    ULONG aulPropTag[N];
    SPropTagArray* Get() { return reinterpret_cast<SPropTagArray*>(this); }
};

#define WAB_SLOT(name) virtual HRESULT STDMETHODCALLTYPE name() = 0

class IMAPIProp : public IUnknown {
public:
    WAB_SLOT(GetLastError);
    WAB_SLOT(SaveChanges);
    WAB_SLOT(GetProps);
    WAB_SLOT(GetPropList);
    WAB_SLOT(OpenProperty);
    WAB_SLOT(SetProps);
    WAB_SLOT(DeleteProps);
    WAB_SLOT(CopyTo);
    WAB_SLOT(CopyProps);
    WAB_SLOT(GetNamesFromIDs);
    WAB_SLOT(GetIDsFromNames);
};

class IMAPITable : public IUnknown {
public:
    WAB_SLOT(GetLastError);
    WAB_SLOT(Advise);
    WAB_SLOT(Unadvise);
    WAB_SLOT(GetStatus);
    virtual HRESULT STDMETHODCALLTYPE SetColumns(SPropTagArray* tags, ULONG flags) = 0;
    WAB_SLOT(QueryColumns);
    virtual HRESULT STDMETHODCALLTYPE GetRowCount(ULONG flags, ULONG* count) = 0;
    WAB_SLOT(SeekRow);
    WAB_SLOT(SeekRowApprox);
    WAB_SLOT(QueryPosition);
    WAB_SLOT(FindRow);
    WAB_SLOT(Restrict);
    WAB_SLOT(CreateBookmark);
    WAB_SLOT(FreeBookmark);
    WAB_SLOT(SortTable);
    WAB_SLOT(QuerySortOrder);
    virtual HRESULT STDMETHODCALLTYPE QueryRows(LONG rowCount, ULONG flags, SRowSet** rows) = 0;
    WAB_SLOT(Abort);
    WAB_SLOT(ExpandRow);
    WAB_SLOT(CollapseRow);
    WAB_SLOT(WaitForCompletion);
    WAB_SLOT(GetCollapseState);
    WAB_SLOT(SetCollapseState);
};

class IMAPIContainer : public IMAPIProp {
public:
    virtual HRESULT STDMETHODCALLTYPE GetContentsTable(ULONG flags, IMAPITable** table) = 0;
    WAB_SLOT(GetHierarchyTable);
    WAB_SLOT(OpenEntry);
    WAB_SLOT(SetSearchCriteria);
    WAB_SLOT(GetSearchCriteria);
};

class IABContainer : public IMAPIContainer {
public:
    WAB_SLOT(CreateEntry);
    WAB_SLOT(CopyEntries);
    WAB_SLOT(DeleteEntries);
    WAB_SLOT(ResolveNames);
};

class IAddrBook : public IMAPIProp {
public:
    virtual HRESULT STDMETHODCALLTYPE OpenEntry(ULONG cbEntryId, void* entryId, const IID* iface, ULONG flags,
                                                ULONG* objType, IUnknown** unk) = 0;
    WAB_SLOT(CompareEntryIDs);
    WAB_SLOT(Advise);
    WAB_SLOT(Unadvise);
    WAB_SLOT(CreateOneOff);
    WAB_SLOT(NewEntry);
    WAB_SLOT(ResolveName);
    WAB_SLOT(Address);
    WAB_SLOT(Details);
    WAB_SLOT(RecipOptions);
    WAB_SLOT(QueryDefaultRecipOpt);
    virtual HRESULT STDMETHODCALLTYPE GetPAB(ULONG* cbEntryId, void** entryId) = 0;
    WAB_SLOT(SetPAB);
    WAB_SLOT(GetDefaultDir);
    WAB_SLOT(SetDefaultDir);
    WAB_SLOT(GetSearchPath);
    WAB_SLOT(SetSearchPath);
    WAB_SLOT(PrepareRecips);
};

class IWABObject : public IUnknown {
public:
    WAB_SLOT(GetLastError);
    WAB_SLOT(AllocateBuffer);
    WAB_SLOT(AllocateMore);
    virtual HRESULT STDMETHODCALLTYPE FreeBuffer(void* buffer) = 0;
    WAB_SLOT(Backup);
    WAB_SLOT(Import);
    WAB_SLOT(Find);
    WAB_SLOT(VCardDisplay);
    WAB_SLOT(LDAPUrl);
    WAB_SLOT(VCardCreate);
    WAB_SLOT(VCardRetrieve);
    WAB_SLOT(GetMe);
    WAB_SLOT(SetMe);
};

#undef WAB_SLOT

// WABOpen(address book out, WAB object out, parameters, reserved).
using WABOPEN = HRESULT(STDMETHODCALLTYPE*)(IAddrBook** addrBook, IWABObject** wabObject, void* params,
                                            DWORD reserved);

}  // namespace wab
