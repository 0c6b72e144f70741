#include "doc/WabContacts.h"

#include "common/LogWriter.h"
#include "common/TextCheck.h"
#include "doc/WabApi.h"

using namespace wab;

namespace {

// The text properties asked for, in column order after the entry id.
constexpr ULONG kPropIds[15] = {
    0x3001,                          // display name
    0x3A5A, 0x3A5C, 0x3A59, 0x3A5D,  // home country, state, city, street
    0x3A09, 0x3A1C, 0x3A16,          // home telephone, mobile, company
    0x3A26, 0x3A28, 0x3A27, 0x3A29,  // business country, state, locality, street
    0x3A08, 0x3004, 0x3003,          // business telephone, comment, e-mail
};
enum { P_NAME, P_HCOUNTRY, P_HSTATE, P_HCITY, P_HSTREET, P_HPHONE, P_MOBILE, P_COMPANY, P_BCOUNTRY, P_BSTATE,
       P_BLOCALITY, P_BSTREET, P_BPHONE, P_COMMENT, P_EMAIL };

void Log(const wchar_t* text) { WriteLog(text); }

// Releases what WABOpen handed out, in any state of the import.
struct WabSession {
    HMODULE library = nullptr;
    IAddrBook* addrBook = nullptr;
    IWABObject* wabObject = nullptr;
    IUnknown* entry = nullptr;
    IMAPITable* table = nullptr;
    void* pabEntryId = nullptr;
    SRowSet* rows = nullptr;

    ~WabSession()
    {
        if (rows) {
            for (ULONG i = 0; i < rows->cRows; ++i)
                wabObject->FreeBuffer(rows->aRow[i].lpProps);
            wabObject->FreeBuffer(rows);
        }
        if (pabEntryId)
            wabObject->FreeBuffer(pabEntryId);
        if (table)
            table->Release();
        if (entry)
            entry->Release();
        if (wabObject || table || entry)
            Log(L"Release WABOb Unk Table");
        if (addrBook) {
            addrBook->Release();
            Log(L"Release AdrBook");
        }
        if (wabObject)
            wabObject->Release();
        if (library) {
            FreeLibrary(library);
            Log(L"FreeLibrary");
        }
    }
};

// The value of a string property in either width; the columns are asked for as
// Unicode, but an address book may still answer with 8-bit strings.
bool PropText(const SPropValue& prop, CString& text)
{
    switch (PROP_TYPE(prop.ulPropTag)) {
    case PT_UNICODE:
        text = prop.Value.lpszW ? prop.Value.lpszW : L"";
        return true;
    case PT_STRING8:
        text = prop.Value.lpszA ? CString(prop.Value.lpszA) : CString();
        return true;
    default:
        return false;
    }
}

CString JoinAddress(const CString& street, const CString& city, const CString& state, const CString& country)
{
    CString s;
    s.Format(L"%s %s %s %s", street.GetString(), city.GetString(), state.GetString(), country.GetString());
    return s;
}

}  // namespace

CString GetWabDllPath()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\WAB\\DLLPath", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return CString();
    // 520 bytes of value and room for the terminator the registry may leave out.
    wchar_t buffer[262] = {};
    DWORD size = 520, type = 0;
    LONG rc = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return CString();
    buffer[size / sizeof(wchar_t)] = 0;
    return ExpandEnvVars(buffer);
}

BOOL ReadWabContacts(CArray<CStringArray>& out)
{
    WabSession s;
    CString path = GetWabDllPath();
    s.library = path.IsEmpty() ? nullptr : LoadLibraryW(path);
    Log(L"LoadLibrary");
    if (!s.library)
        return TRUE;
    auto open = reinterpret_cast<WABOPEN>(reinterpret_cast<void*>(GetProcAddress(s.library, "WABOpen")));
    Log(L"GetProcAddress");
    if (!open)
        return TRUE;
    if (FAILED(open(&s.addrBook, &s.wabObject, nullptr, 0)) || !s.addrBook || !s.wabObject) {
        Log(L"procWABOpen Failed");
        if (s.addrBook)
            s.addrBook->Release(), s.addrBook = nullptr;
        if (s.wabObject)
            s.wabObject->Release(), s.wabObject = nullptr;
        return FALSE;
    }
    Log(L"procWABOpen");

    ULONG cbEntryId = 0;
    if (FAILED(s.addrBook->GetPAB(&cbEntryId, &s.pabEntryId))) {
        Log(L"GetPAB Failed");
        return FALSE;
    }
    Log(L"GetPAB");
    ULONG objType = 0;
    if (FAILED(s.addrBook->OpenEntry(cbEntryId, s.pabEntryId, nullptr, 0, &objType, &s.entry)) || !s.entry) {
        Log(L"OpenEntry Failed");
        return FALSE;
    }
    Log(L"OpenEntry");
    if (objType != MAPI_ABCONT)
        return TRUE;

    auto* container = static_cast<IABContainer*>(s.entry);
    if (FAILED(container->GetContentsTable(WAB_PROFILE_CONTENTS, &s.table)) || !s.table)
        return FALSE;
    Log(L"GetContentsTable");
    ULONG rowCount = 0;
    if (FAILED(s.table->GetRowCount(0, &rowCount)))
        return FALSE;
    Log(L"GetRowCount");
    SizedPropTagArray<16> columns;
    columns.aulPropTag[0] = PR_ENTRYID;
    for (int i = 0; i < 15; ++i)
        columns.aulPropTag[i + 1] = PROP_TAG(PT_UNICODE, kPropIds[i]);
    if (FAILED(s.table->SetColumns(columns.Get(), 0))) {
        Log(L"SetColumns Failed");
        return FALSE;
    }
    Log(L"SetColumns");
    if (FAILED(s.table->QueryRows(static_cast<LONG>(rowCount), 0, &s.rows)) || !s.rows) {
        Log(L"QueryRows Failed");
        return FALSE;
    }
    Log(L"QueryRows");

    for (ULONG r = 0; r < s.rows->cRows; ++r) {
        const SRow& row = s.rows->aRow[r];
        CString p[15];
        Log(L"SetSize");
        for (ULONG v = 0; row.lpProps && v < row.cValues; ++v) {
            const SPropValue& prop = row.lpProps[v];
            Log(L"SPropValue");
            for (int i = 0; i < 15; ++i) {
                if (PROP_ID(prop.ulPropTag) == kPropIds[i]) {
                    if (PropText(prop, p[i]))
                        Log(L"SetAt");
                    break;
                }
            }
        }
        CStringArray fields;
        fields.SetSize(WAB_FIELD_COUNT);
        fields[WAB_DISPLAY_NAME] = p[P_NAME];
        fields[WAB_HOME_ADDRESS] = JoinAddress(p[P_HSTREET], p[P_HCITY], p[P_HSTATE], p[P_HCOUNTRY]);
        fields[WAB_HOME_PHONE] = p[P_HPHONE];
        fields[WAB_MOBILE_PHONE] = p[P_MOBILE];
        fields[WAB_COMPANY] = p[P_COMPANY];
        fields[WAB_BUSINESS_ADDRESS] = JoinAddress(p[P_BSTREET], p[P_BLOCALITY], p[P_BSTATE], p[P_BCOUNTRY]);
        fields[WAB_BUSINESS_PHONE] = p[P_BPHONE];
        fields[WAB_COMMENT] = p[P_COMMENT];
        fields[WAB_EMAIL] = p[P_EMAIL];
        out.Add(fields);
    }
    return TRUE;
}
