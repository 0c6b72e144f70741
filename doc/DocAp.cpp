#include "doc/DocAp.h"

#include <cstring>

#include "common/FixedField.h"
#include "doc/DocPaths.h"

CString GetAppsCardFolder(const wchar_t* cardRoot)
{
    return WithBackslash(cardRoot) + AP_CARD_FOLDER + L"\\";
}

void CDocAp::InitErrorStrings()
{
    CDoc::InitErrorStrings();
    AppendErrorText(UiText(11));
    static const wchar_t* const codes[] = {L"400", L"401", L"402", L"403", L"404", L"501", L"502",
                                           L"503", L"601", L"602", L"603", L"604", L"605", L"610"};
    for (const wchar_t* code : codes) {
        CString text;
        text.Format(L"%s %s", UiText(423).GetString(), code);
        AppendErrorText(text);
    }
    AppendErrorText(UiText(417));
}

void CDocAp::ClearAll()
{
    m_serverApps.RemoveAll();
    m_cardApps.RemoveAll();
    m_cardEntries.RemoveAll();
    m_cardRoot.Empty();
    m_serverIcons.DeleteImageList();
    m_cardIcons.DeleteImageList();
}

BOOL CDocAp::GetRowInfo(int list, int index, AP_ROW_INFO* out) const
{
    if (!out || list < 0 || list > 1)
        return FALSE;
    const CArray<CDocApRecord>& apps = list == AP_LIST_SERVER ? m_serverApps : m_cardApps;
    if (index < 0 || index >= apps.GetSize())
        return FALSE;
    const CDocApRecord& app = apps[index];
    out->checked = app.m_checked;
    out->iconIndex = app.m_iconIndex;
    CopyField(out->id, app.m_id);
    out->size = app.m_size;
    return TRUE;
}

int CDocAp::CountChecked() const
{
    int n = 0;
    for (const CDocApRecord& app : m_serverApps)
        n += app.m_checked == 1;
    return n;
}

void CDocAp::Cancel()
{
    InterlockedExchange(&m_cancel, 1);
    // The service request waits on this event beside its reply.
    if (HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"EventRegistrationCancel")) {
        SetEvent(event);
        CloseHandle(event);
    }
}

CString CDocAp::GetDescriptionUrl(int index) const
{
    if (index < 0 || index >= m_serverApps.GetSize())
        return CString();
    return m_serverApps[index].GetUrl(AP_URL_DESCRIPTION);
}

const CDocApRecord* CDocAp::FindCardApp(const CString& id) const
{
    for (const CDocApRecord& app : m_cardApps)
        if (app.m_id == id)
            return &app;
    return nullptr;
}

BOOL CDocAp::IsUpdate(int index) const
{
    if (index < 0 || index >= m_serverApps.GetSize())
        return FALSE;
    const CDocApRecord* card = FindCardApp(m_serverApps[index].m_id);
    return card && m_serverApps[index].GetVersionNumber() > card->GetVersionNumber();
}

BOOL CDocAp::IsNewOrUpdate(int index) const
{
    if (index < 0 || index >= m_serverApps.GetSize())
        return FALSE;
    const CDocApRecord* card = FindCardApp(m_serverApps[index].m_id);
    return !card || card->GetVersionNumber() < m_serverApps[index].GetVersionNumber();
}

void CDocAp::RemoveIconless()
{
    for (INT_PTR i = m_serverApps.GetSize() - 1; i >= 0; --i)
        if (m_serverApps[i].m_iconIndex < 0)
            m_serverApps.RemoveAt(i);
}

BOOL CDocAp::SetDeviceNumber(const wchar_t* text)
{
    if (!text || wcslen(text) != 16)
        return FALSE;
    BYTE digits[16];
    for (int i = 0; i < 16; ++i) {
        wchar_t c = text[i];
        if (c >= L'0' && c <= L'9')
            digits[i] = static_cast<BYTE>(c - L'0');
        else if (c >= L'A' && c <= L'F')
            digits[i] = static_cast<BYTE>(c - L'A' + 10);
        else
            return FALSE;
    }
    memcpy(m_deviceNumber, digits, 16);
    return TRUE;
}

BOOL CDocAp::GetDeviceNumber(CString& out) const
{
    CString text;
    for (BYTE digit : m_deviceNumber) {
        if (digit > 15)
            return FALSE;
        CString d;
        d.Format(L"%0X", digit);
        text += d;
    }
    out = text;
    return TRUE;
}
