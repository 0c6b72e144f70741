// The custom list: the in-place editing protocol shared by every editor.
//
// An edit opens a child window over the cell (class by the column's editor
// type), puts EditorWndProc on it (Enter and focus loss post a commit, Escape
// a cancel, all as WM_END_EDIT_LABEL to the list), marks it as a cell editor
// (its editing keys are its own) and attaches the matching editor object on top. EndEdit takes both off again, destroys the window and,
// on a commit whose value differs from the cell's, sends LVN_ENDLABELEDITW and
// stores the record as the parent left it.
#include <windows.h>
#include <imm.h>

#include <cwchar>

#include "classlib/EditingKeys.h"
#include "controls/CustomListCtrl.h"
#include "controls/EditMessages.h"
#include "controls/ListNotify.h"

namespace {

// The cell text while an edit starts; one list edits at a time.
wchar_t g_editBuffer[CCustomListCtrl::TextBufferSize];

void InitDateClasses()
{
    static bool done = false;
    if (!done) {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_DATE_CLASSES};
        InitCommonControlsEx(&icc);
        done = true;
    }
}

void SendToMainWindow(UINT msg)
{
    if (CWnd* main = AfxGetMainWnd(); main && main->m_hWnd)
        ::SendMessageW(main->m_hWnd, msg, 0, 0);
}

// WM_END_EDIT_LABEL to the list: wParam the cancel flag (low word) and the
// column (high word), lParam the whole row, so rows past 65,535 stay exact.
WPARAM EndEditWParam(BOOL cancel, int column)
{
    return MAKEWPARAM(cancel ? 1 : 0, column);
}

// The index-th '\n'-separated part of options.
CString ChoiceText(const CString& options, int index)
{
    int start = 0;
    for (int i = 0; i < index; ++i) {
        const int next = options.Find(L'\n', start);
        if (next < 0)
            return CString();
        start = next + 1;
    }
    const int end = options.Find(L'\n', start);
    return end < 0 ? options.Mid(start) : options.Mid(start, end - start);
}

// Column alignment as the editors take it: 0 left, 1 right, 2 centre.
int EditorAlign(int format)
{
    return format & 3;
}

}  // namespace

HWND CCustomListCtrl::EditSubItem(int row, int column)
{
    if (m_editorWnd)
        EndEdit(FALSE);
    m_curRow = row;
    m_curCol = column;
    KillTimer(TimerClickEdit);
    m_clickEditPending = FALSE;
    if (!(GetStyle() & LVS_EDITLABELS) || !IsRow(row) || !IsColumn(column))
        return nullptr;
    const BOOL onIcon = m_clickOnIcon;
    m_clickOnIcon = FALSE;
    // Without cell mode edits happen in the first column; a check toggle
    // stays in its own (else a click on a box would open the first column's editor).
    const bool toggle = m_toggleRequest && column < m_columnProps.GetSize() && m_columnProps[column].type == EditCheck;
    if (!m_cellMode && !toggle)
        column = m_curCol = 0;
    if (!toggle)
        m_toggleRequest = FALSE;
    if (column >= m_columnProps.GetSize() || column >= GetColumnCount())
        return nullptr;
    const int type = m_columnProps[column].type;
    if (type == EditNone || type == EditReadOnly)
        return nullptr;

    m_editing = TRUE;
    NMLVDISPINFOW info = CellDispInfo(row, column, g_editBuffer, TextBufferSize);
    g_editBuffer[0] = L'\0';
    GetItem(&info.item);
    info.item.pszText = g_editBuffer;
    SendNotify(&info.hdr, LVN_GETDISPINFOW);
    // The parent may have pointed at a text of its own: the editor starts from it.
    if (info.item.pszText && info.item.pszText != g_editBuffer && info.item.pszText != LPSTR_TEXTCALLBACKW)
        wcsncpy_s(g_editBuffer, info.item.pszText, _TRUNCATE);
    info.item.pszText = g_editBuffer;

    CRect rect;
    GetSubItemRect(row, column, LVIR_LABEL, &rect);
    rect.DeflateRect(0, 8);

    int kind = type;
    if (type == EditIconOrText)
        kind = onIcon ? EditIcon : EditText;
    else if (type == EditIconOrTextNoIme)
        kind = onIcon ? EditIcon : EditTextNoIme;
    m_editorKind = kind;

    const wchar_t* cls = nullptr;
    DWORD style = 0, exStyle = 0;
    CRect wndRect = rect;
    switch (kind) {
    case EditChoice:
    case EditIcon:
        cls = L"Static";
        style = WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER;
        break;
    case EditText:
    case EditTextNoIme: {
        cls = L"Edit";
        style = WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | ES_AUTOHSCROLL;
        const int align = EditorAlign(GetColumnAlignment(column));
        if (align == 1)
            style |= ES_RIGHT;
        else if (align == 2)
            style |= ES_CENTER;
        break;
    }
    case EditTime:
        InitDateClasses();
        cls = DATETIMEPICK_CLASSW;
        style = WS_CHILD | WS_VISIBLE | WS_BORDER | DTS_TIMEFORMAT;
        wndRect = CRect(rect.left, rect.top, rect.right + 5, rect.bottom + 5);
        break;
    case EditDate:
        InitDateClasses();
        cls = MONTHCAL_CLASSW;
        style = WS_CHILD | WS_VISIBLE | WS_BORDER | MCS_NOTODAY;
        exStyle = WS_EX_CLIENTEDGE;
        wndRect = CRect(rect.left, rect.top, rect.left, rect.top);
        break;
    case EditCheck:
        m_editing = FALSE;
        if (m_toggleRequest) {
            m_toggleRequest = FALSE;
            m_togglePending = TRUE;
            PostMessage(WM_END_EDIT_LABEL, EndEditWParam(FALSE, column), row);
        }
        return nullptr;
    default:
        m_editing = FALSE;
        return nullptr;
    }

    HWND wnd = CreateWindowExW(exStyle, cls, nullptr, style, wndRect.left, wndRect.top, wndRect.Width(),
                               wndRect.Height(), m_hWnd, nullptr, AfxGetInstanceHandle(), nullptr);
    if (!wnd) {
        m_editing = FALSE;
        return nullptr;
    }
    SendToMainWindow(WM_ENTERMENULOOP);
    m_editorWnd = wnd;
    AfxSetCellEditor(wnd, TRUE);
    m_editorOldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CCustomListCtrl::EditorWndProc)));
    ::SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_font)), FALSE);
    OpenEditorSetup(kind, rect, info.item);

    if (SendNotify(&info.hdr, LVN_BEGINLABELEDITW) == 0) {
        ::ShowWindow(wnd, SW_SHOWNORMAL);
        ::SetFocus(wnd);
        Invalidate(FALSE);
        return wnd;
    }
    // Vetoed: the window goes without committing anything.
    RestoreEditorProc();
    m_editorWnd = nullptr;
    ::SendMessageW(wnd, WM_CLOSE, 0, 0);
    if (::IsWindow(wnd))
        ::DestroyWindow(wnd);
    ReleaseIconLimitList();
    SendToMainWindow(WM_EXITMENULOOP);
    m_editing = FALSE;
    m_editorKind = EditNone;
    return nullptr;
}

void CCustomListCtrl::OpenEditorSetup(int kind, const CRect& rect, const LVITEMW& cell)
{
    const int column = cell.iSubItem;
    switch (kind) {
    case EditChoice: {
        m_choiceList.m_align = EditorAlign(GetColumnAlignment(column));
        m_choiceList.m_cellRect = rect;
        m_choiceList.m_tabNavigation = m_tabNavigation;
        m_choiceList.ResetContent();
        // Every part counts, so an empty choice keeps the later ones at their index.
        const CString& options = m_columnProps[column].options;
        int start = 0;
        for (;;) {
            const int end = options.Find(L'\n', start);
            const CString part = end < 0 ? options.Mid(start) : options.Mid(start, end - start);
            if (end < 0) {
                if (!part.IsEmpty())
                    m_choiceList.AddString(part);
                break;
            }
            m_choiceList.AddString(part);
            start = end + 1;
        }
        m_choiceList.SetCurSel(static_cast<int>(cell.lParam));
        m_choiceList.AttachTo(m_editorWnd);
        m_choiceList.SetFont(&m_fontChoice);
        break;
    }
    case EditIcon: {
        m_iconList.m_cellRect = rect;
        m_iconList.m_tabNavigation = m_tabNavigation;
        HIMAGELIST list = column > 0 && m_imageListSub ? m_imageListSub : m_imageListSmall;
        if (m_iconLimit > 0 && m_imageListSmall) {
            ReleaseIconLimitList();
            m_iconLimitList = ImageList_Duplicate(m_imageListSmall);
            while (m_iconLimitList && ImageList_GetImageCount(m_iconLimitList) > m_iconLimit)
                ImageList_Remove(m_iconLimitList, m_iconLimit);
            list = m_iconLimitList;
        }
        m_iconList.SetImageList(list);
        m_iconList.m_columns = 11;
        m_iconList.SetCurSel(cell.iImage);
        m_iconList.AttachTo(m_editorWnd);
        break;
    }
    case EditText:
    case EditTextNoIme: {
        if (kind == EditTextNoIme)
            ImmAssociateContext(m_editorWnd, nullptr);
        CRect cellRect = rect;
        cellRect.top -= 1;
        m_edit.m_cellRect = cellRect;
        m_edit.m_align = EditorAlign(GetColumnAlignment(column));
        m_edit.m_tabNavigation = m_tabNavigation;
        m_edit.AttachTo(m_editorWnd);
        m_edit.SendMessage(EM_LIMITTEXT, TextBufferSize);
        if (!m_typedText.IsEmpty()) {
            m_edit.SetWindowText(m_typedText);
            m_edit.SendMessage(EM_SETSEL, 1, 1);
        } else {
            m_edit.SetWindowText(cell.pszText);
            m_edit.SendMessage(EM_SETSEL, 0, -1);
        }
        m_edit.SendMessage(EM_SCROLLCARET);
        m_typedText.Empty();
        break;
    }
    case EditTime:
        m_timeEditor.AttachTo(m_editorWnd);
        m_timeEditor.SetTimeText(cell.pszText);
        m_timeEditor.SetFormat(L"HH:mm");
        break;
    case EditDate:
        ::SendMessageW(m_editorWnd, WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_fontDate)), FALSE);
        m_dateEditor.AttachTo(m_editorWnd, rect.TopLeft());
        m_dateEditor.SetDateText(cell.pszText);
        break;
    default:
        break;
    }
}

void CCustomListCtrl::ReleaseIconLimitList()
{
    if (m_iconLimitList) {
        if (m_iconList.m_imageList == m_iconLimitList)
            m_iconList.m_imageList = nullptr;
        ImageList_Destroy(m_iconLimitList);
        m_iconLimitList = nullptr;
    }
}

void CCustomListCtrl::RestoreEditorProc()
{
    HWND wnd = m_editorWnd;
    // The editor objects first: each puts EditorWndProc back as it goes.
    if (m_edit.m_hWnd == wnd)
        m_edit.Detach();
    if (m_choiceList.m_hWnd == wnd)
        m_choiceList.Detach();
    if (m_iconList.m_hWnd == wnd)
        m_iconList.Detach();
    if (m_dateEditor.m_hWnd == wnd)
        m_dateEditor.Close();
    if (m_timeEditor.m_hWnd == wnd)
        m_timeEditor.Close();
    if (wnd && ::IsWindow(wnd) && m_editorOldProc)
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_editorOldProc));
    if (wnd && ::IsWindow(wnd))
        AfxSetCellEditor(wnd, FALSE);
    m_editorOldProc = nullptr;
}

void CCustomListCtrl::EndEdit(BOOL cancel)
{
    const int kind = m_editorKind;
    if (kind == EditCheck) {
        // Only a toggle the user asked for; the kind alone is no reason to commit.
        if (!m_togglePending)
            return;
    } else {
        if (!m_editorWnd)
            return;
        HWND wnd = m_editorWnd;
        RestoreEditorProc();
        const HWND focus = ::GetFocus();
        if (focus && (focus == wnd || ::IsChild(wnd, focus)))
            SetFocus();
        SendToMainWindow(WM_EXITMENULOOP);
        if (::IsWindow(wnd))
            ::DestroyWindow(wnd);
        m_editorWnd = nullptr;
        ReleaseIconLimitList();
    }
    m_togglePending = FALSE;
    m_editorKind = EditNone;
    if (!cancel)
        CommitEdit(kind);
    m_editing = FALSE;
    Invalidate(FALSE);
}

void CCustomListCtrl::EndAnyEdit()
{
    KillTimer(TimerClickEdit);
    m_clickEditPending = FALSE;
    if (m_editorWnd || m_togglePending)
        EndEdit(FALSE);
}

void CCustomListCtrl::CommitEdit(int kind)
{
    wchar_t cellText[TextBufferSize] = L"";
    NMLVDISPINFOW info = CellDispInfo(m_curRow, m_curCol, cellText, TextBufferSize - 1);
    if (!GetItem(&info.item))
        return;
    // The new value goes into a buffer of ours that the parent may rewrite.
    wchar_t newText[TextBufferSize] = L"";
    auto setText = [&](const wchar_t* text) {
        wcsncpy_s(newText, text ? text : L"", _TRUNCATE);
        info.item.pszText = newText;
        info.item.cchTextMax = static_cast<int>(wcslen(newText));
    };
    bool changed = false;
    switch (kind) {
    case EditChoice: {
        const int c = m_choiceList.m_hotIndex;
        changed = c >= 0 && c != info.item.lParam;
        if (changed) {
            info.item.mask = LVIF_TEXT | LVIF_PARAM;
            setText(ChoiceText(m_columnProps[m_curCol].options, c));
            info.item.lParam = c;
        }
        break;
    }
    case EditIcon: {
        const int i = m_iconList.m_hotIndex;
        changed = i >= 0 && i != info.item.iImage;
        info.item.mask = LVIF_IMAGE;
        info.item.iImage = changed ? i : info.item.iImage;
        break;
    }
    case EditText:
    case EditTextNoIme:
        changed = wcscmp(m_edit.m_text, cellText) != 0;
        info.item.mask = LVIF_TEXT;
        setText(m_edit.m_text);
        break;
    case EditTime:
    case EditDate: {
        const CString& text = kind == EditTime ? m_timeEditor.m_text : m_dateEditor.m_text;
        const BOOL cancelled = kind == EditTime ? m_timeEditor.m_cancelled : m_dateEditor.m_cancelled;
        // Escape is a cancel, whichever way the window went.
        if (cancelled)
            return;
        changed = wcscmp(text, cellText) != 0;
        info.item.mask = LVIF_TEXT;
        setText(text);
        break;
    }
    case EditCheck:
        changed = true;
        info.item.mask = LVIF_IMAGE;
        info.item.iImage = 1;
        break;
    default:
        break;
    }
    if (!changed)
        return;
    // The parent may remove or reorder rows while it handles the edit: then
    // the index names another row, which must not receive the value.
    const int row = m_curRow;
    const int count = GetItemCount();
    const LPARAM rowData = m_items[row].item.lParam;
    SendNotify(&info.hdr, LVN_ENDLABELEDITW);
    if (GetItemCount() != count || !IsRow(row) || m_items[row].item.lParam != rowData)
        return;
    if (!(GetStyle() & LVS_OWNERDATA))
        SetItem(&info.item);
}

LRESULT CCustomListCtrl::OnEndEditLabel(WPARAM wp, LPARAM lp)
{
    const int prevRow = m_curRow, prevCol = m_curCol;
    const int row = static_cast<int>(lp), column = HIWORD(wp);
    m_curRow = row;
    m_curCol = column;
    EndEdit(LOWORD(wp) != 0);
    if (row != prevRow || column != prevCol) {
        m_curRow = prevRow;
        m_curCol = prevCol;
        Invalidate(FALSE);
    }
    return 0;
}

LRESULT CCustomListCtrl::OnEditorMoveColumn(WPARAM wp, LPARAM)
{
    EndEdit(FALSE);
    MoveColumn(static_cast<int>(wp) < 0 ? -1 : 1);
    m_typedText.Empty();
    EditSubItem(m_curRow, m_curCol);
    return 0;
}

LRESULT CALLBACK CCustomListCtrl::EditorWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* list = dynamic_cast<CCustomListCtrl*>(CWnd::FromHandlePermanent(::GetParent(hwnd)));
    if (!list)
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    const LPARAM row = list->m_curRow;
    const int column = list->m_curCol;
    switch (msg) {
    case WM_NCHITTEST:
    case WM_MOUSEWHEEL:
        return 1;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wp == VK_ESCAPE) {
            list->PostMessage(WM_END_EDIT_LABEL, EndEditWParam(TRUE, column), row);
            return 0;
        }
        if (wp == VK_RETURN) {
            list->PostMessage(WM_END_EDIT_LABEL, EndEditWParam(FALSE, column), row);
            return 0;
        }
        break;
    case WM_KILLFOCUS: {
        // Focus moving inside the editor (a picker's own parts) is no focus loss.
        const HWND next = reinterpret_cast<HWND>(wp);
        if (next && (next == hwnd || ::IsChild(hwnd, next)))
            break;
        list->PostMessage(WM_END_EDIT_LABEL, EndEditWParam(FALSE, column), row);
        return 0;
    }
    case WM_DESTROY:
        // An editor that closed itself (date, time) still has its value committed.
        if (list->m_editorWnd == hwnd)
            list->PostMessage(WM_END_EDIT_LABEL, EndEditWParam(FALSE, column), row);
        break;
    default:
        break;
    }
    WNDPROC old = list->m_editorWnd == hwnd ? list->m_editorOldProc : nullptr;
    return old ? CallWindowProcW(old, hwnd, msg, wp, lp) : ::DefWindowProcW(hwnd, msg, wp, lp);
}
