#include "core/Global.h"

#include "common/ModuleVersion.h"
#include "common/UiTextSource.h"

CGlobal theGlobal;

namespace {

const wchar_t* LoadedUiText(int n)
{
    return n >= 0 && n < theGlobal.m_uiStrings.GetSize() ? theGlobal.m_uiStrings[n].GetString() : nullptr;
}

// The services below the core read the loaded language through this.
const bool g_uiTextsHanded = (SetUiTextLookup(LoadedUiText), true);

}  // namespace

CGlobal::CGlobal() = default;

CGlobal::~CGlobal() = default;

CString CGlobal::WebAddress(int n) const
{
    const CString text = n >= 0 && n < m_uiStrings.GetSize() ? m_uiStrings[n] : CString();
    // A text with a scheme ("http:", "file:", ...) is a full address, left to
    // the caller's check; a path of the program's site goes under the web base.
    const int scheme = text.Find(L':');
    const int path = text.FindOneOf(L"/?#");
    if (text.IsEmpty() || (scheme >= 0 && (path < 0 || scheme < path)))
        return text;
    return m_webBaseUrl + text;
}

void CGlobal::RegisterView(CWnd* view)
{
    m_views.Add(view);
}

void CGlobal::UnregisterView(CWnd* view)
{
    for (INT_PTR i = m_views.GetSize() - 1; i >= 0; --i)
        if (m_views[i] == view)
            m_views.RemoveAt(i);
}

void CGlobal::UpdateAllViews()
{
    // A view's refresh may destroy views (its own or others): walk a copy, and
    // call a view only while it is still registered.
    CArray<CWnd*, CWnd*> views;
    views.Copy(m_views);
    for (INT_PTR i = 0; i < views.GetSize(); ++i) {
        CWnd* view = views[i];
        bool registered = false;
        for (INT_PTR j = 0; j < m_views.GetSize() && !registered; ++j)
            registered = m_views[j] == view;
        if (registered && view && view->GetSafeHwnd())
            ::SendMessageW(view->GetSafeHwnd(), WM_COMMAND, ID_UPDATE, 0);
    }
}

void CGlobal::InitDocumentErrorTexts()
{
    CDoc* const documents[] = {&m_docPiCsv, &m_docPiKml, &m_docPiMap, &m_docPiReceived, &m_docRssPoi, &m_docCl,
                               &m_docIg,    &m_docAb,    &m_docDr,    &m_docFe,         &m_docIcon,   &m_docAp};
    for (CDoc* doc : documents)
        doc->InitErrorStrings();
}

void CGlobal::GetFileVersion(int& v1, int& v2, int& v3, int& v4)
{
    int parts[4];
    ReadFileVersion(nullptr, parts);
    v1 = parts[0];
    v2 = parts[1];
    v3 = parts[2];
    v4 = parts[3];
}
