#include "classlib/CComboBox.h"

#include <vector>

void CComboBox::GetLBText(int index, CString& text) const
{
    int n = GetLBTextLen(index);
    if (n < 0) {
        text = CString();
        return;
    }
    std::vector<wchar_t> buf(static_cast<size_t>(n) + 1);
    int got = static_cast<int>(SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data())));
    text = CString(buf.data(), got > 0 ? got : 0);
}

BOOL CComboBox::OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)
{
    switch (msg) {
    case WM_DRAWITEM:
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lp));
        break;
    case WM_MEASUREITEM:
        MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lp));
        break;
    case WM_COMPAREITEM:
        *result = CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lp));
        return TRUE;
    case WM_DELETEITEM:
        DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lp));
        break;
    default:
        return CWnd::OnChildNotify(msg, wp, lp, result);
    }
    *result = TRUE;
    return TRUE;
}
