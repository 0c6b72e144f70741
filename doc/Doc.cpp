#include "doc/Doc.h"

#include "core/Global.h"

void CDoc::InitErrorStrings()
{
    m_errorCode = 0;
    // Index = code: 0 none, 1 not found, 2 read, 3 write, 4 and 5 unused.
    AppendErrorText(CString());
    AppendErrorText(UiText(7));
    AppendErrorText(UiText(8));
    AppendErrorText(UiText(10));
    AppendErrorText(UiText(17));
    AppendErrorText(UiText(18));
}

void CDoc::AppendPoiErrorTexts()
{
    AppendErrorText(UiText(11));
    AppendErrorText(UiText(14));
    AppendErrorText(UiText(13));
    AppendErrorText(UiText(20));
    AppendErrorText(UiText(19));
    AppendErrorText(UiText(21));
    CString text;
    text.Format(L"%s  (%s)", UiText(36).GetString(), UiText(178).GetString());
    AppendErrorText(text);
    text.Format(L"%s  (%s,%s)", UiText(36).GetString(), UiText(182).GetString(), UiText(183).GetString());
    AppendErrorText(text);
}

CString& CDoc::GetErrorString(CString& out) const
{
    if (m_errorCode >= 0 && m_errorCode < m_errorTexts.GetSize())
        out = m_errorTexts[m_errorCode];
    else
        out.Empty();
    return out;
}
