#include "frame/RemovableDlg.h"

#include <dbt.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "classlib/CWaitCursor.h"
#include "common/ShellServices.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "frame/DialogButton.h"
#include "frame/MessageDlg.h"
#include "frame/QuietDriveProbe.h"
#include "res/dialog_ids.h"

namespace {

const int kWidth = 518, kHeight = 459;
const RECT kListRect{21, 45, 497, 297};
const RECT kNameRect{131, 350, 131 + 365, 350 + 22};
const COLORREF kPanelColour = RGB(168, 171, 176);
const COLORREF kEditColour = RGB(211, 211, 212);
const COLORREF kLabelColour = RGB(130, 130, 133);
const COLORREF kListFrameColour = RGB(203, 204, 207);
const wchar_t kAppsDeviceFile[] = L"Oskra-APPS\\Device.dat";

}  // namespace

CRemovableDlg::FreeSpaceFn CRemovableDlg::s_freeSpace = &CRemovableDlg::RealFreeSpace;
CRemovableDlg::DriveStringsFn CRemovableDlg::s_driveStrings = &::GetLogicalDriveStringsW;

BEGIN_MESSAGE_MAP(CRemovableDlg, CCustomDialog)
    ON_COMMAND(IDC_REMOVABLE_REFRESH, OnRefresh)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_REMOVABLE_LIST, OnItemChanged)
    ON_NOTIFY(NM_DBLCLK, IDC_REMOVABLE_LIST, OnDblClk)
    ON_MESSAGE(WM_DEVICECHANGE, OnDeviceChange)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_WM_PAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CRemovableDlg::CRemovableDlg() : CCustomDialog(IDD_REMOVABLE, nullptr) {}

CRemovableDlg::~CRemovableDlg()
{
    if (m_hWnd)
        DestroyWindow();
    m_rows.RemoveAll();
    if (m_fontName)
        ::DeleteObject(m_fontName);
    if (m_fontLabel)
        ::DeleteObject(m_fontLabel);
    if (m_editBrush)
        ::DeleteObject(m_editBrush);
}

void CRemovableDlg::RequireAppsDeviceFile()
{
    m_requiredFile = kAppsDeviceFile;
}

BOOL CRemovableDlg::ChooseDrive(BOOL requireAppsDeviceFile, CString& root)
{
    CRemovableDlg dlg;
    if (requireAppsDeviceFile)
        dlg.RequireAppsDeviceFile();
    if (dlg.DoModal() != IDOK)
        return FALSE;
    root = dlg.GetDrivePath();
    return !root.IsEmpty();
}

BOOL CRemovableDlg::HasAppsCard()
{
    CQuietDriveProbe quiet;
    wchar_t drives[262] = {};
    const DWORD got = s_driveStrings(261, drives);
    if (got == 0 || got >= 262)
        return FALSE;
    for (const wchar_t* root = drives; *root; root += wcslen(root) + 1)
        if (::GetDriveTypeW(root) == DRIVE_REMOVABLE && ::PathFileExistsW(CString(root) + kAppsDeviceFile))
            return TRUE;
    return FALSE;
}

CString CRemovableDlg::GetDrivePath() const
{
    return m_chosenRoot ? CString(m_chosenRoot) : CString();
}

void CRemovableDlg::DoDataExchange(CDataExchange* dx)
{
    CCustomDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_REMOVABLE_NAME, m_fileName);
}

BOOL CRemovableDlg::RealFreeSpace(const wchar_t* root, ULONGLONG* freeMB)
{
    ULARGE_INTEGER available{}, total{}, totalFree{};
    if (!::GetDiskFreeSpaceExW(root, &available, &total, &totalFree))
        return FALSE;
    *freeMB = totalFree.QuadPart >> 20;
    return TRUE;
}

BOOL CRemovableDlg::OnInitDialog()
{
    PlaceOnMainWindow(kWidth, kHeight);
    const BOOL base = CCustomDialog::OnInitDialog();
    if (base != TRUE)
        return base;

    MakeDialogButton(m_btnRefresh, this, IDC_REMOVABLE_REFRESH, UiText(141), 20, 416, 240);
    MakeDialogButton(m_btnOK, this, IDOK, UiText(135), 186, 416, 240);
    MakeDialogButton(m_btnCancel, this, IDCANCEL, UiText(136), 352, 416, 240);

    // The list is our own control over the template's, which only gives the style.
    DWORD listStyle = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP;
    if (HWND placeholder = ::GetDlgItem(m_hWnd, IDC_REMOVABLE_LIST)) {
        listStyle = static_cast<DWORD>(::GetWindowLongW(placeholder, GWL_STYLE)) & ~(WS_VISIBLE | WS_DISABLED);
        ::ShowWindow(placeholder, SW_HIDE);
        ::SetWindowLongPtrW(placeholder, GWLP_ID, 0);
    }
    if (m_list.Create(nullptr, nullptr, listStyle | LVS_NOSORTHEADER | WS_CHILD | WS_VISIBLE, kListRect, this,
                      IDC_REMOVABLE_LIST)) {
        m_list.SendMessage(WM_SETFONT, SendMessage(WM_GETFONT), FALSE);
        m_list.m_bkColor = RGB(123, 123, 139);
        m_list.m_gridColor = RGB(162, 165, 170);
        m_list.SetImageList(CImageList::FromHandle(GetSmallSystemImageList()), LVSIL_SMALL);
        for (int c = 0; c < 3; ++c)
            m_list.InsertColumn(c, UiText(187 + c), c == 2 ? LVCFMT_RIGHT : LVCFMT_LEFT);
        m_list.SetColumnAlignments(3, LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_RIGHT);
        m_list.SetAllColumnsSortable(FALSE);
    }
    RefreshDriveList();
    if (m_list.m_hWnd)
        m_list.AutoSizeColumns();

    SetCaption(UiText(236));
    CreateTahomaFont(FALSE, &m_fontName, 150, FALSE);
    CreateTahomaFont(FALSE, &m_fontLabel, 120, FALSE);
    m_editBrush = ::CreateSolidBrush(kEditColour);
    PlaceNameEdit();
    return TRUE;
}

void CRemovableDlg::PlaceNameEdit()
{
    HWND edit = ::GetDlgItem(m_hWnd, IDC_REMOVABLE_NAME);
    if (!edit)
        return;
    if (m_fontName)
        ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(m_fontName), FALSE);
    ::SetWindowPos(edit, nullptr, kNameRect.left, kNameRect.top, kNameRect.right - kNameRect.left,
                   kNameRect.bottom - kNameRect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(edit, EM_LIMITTEXT, 64, 0);
    if (!m_fileName.IsEmpty())
        ::SetWindowTextW(edit, m_fileName);
    ::EnableWindow(edit, m_askName ? TRUE : FALSE);
    ::ShowWindow(edit, m_askName ? SW_SHOW : SW_HIDE);
}

void CRemovableDlg::EnableOK(BOOL enable)
{
    m_okEnabled = enable;
    if (m_btnOK.m_hWnd)
        m_btnOK.EnableWindow(enable);
    else if (HWND ok = ::GetDlgItem(m_hWnd, IDOK))
        ::EnableWindow(ok, enable);
}

void CRemovableDlg::ClearDriveList()
{
    if (m_list.m_hWnd) {
        m_list.m_items.RemoveAll();
        m_list.m_focusItem = m_list.m_anchorItem = -1;
        m_list.m_topIndex = 0;
        m_list.UpdateScrollBars();
        m_list.Invalidate(TRUE);
    }
    m_rows.RemoveAll();
}

void CRemovableDlg::RefreshDriveList()
{
    CWaitCursor wait;
    ClearDriveList();
    EnableOK(FALSE);
    m_chosenRoot = nullptr;

    CQuietDriveProbe quiet;
    const DWORD size = sizeof m_driveStrings / sizeof m_driveStrings[0];
    ::ZeroMemory(m_driveStrings, sizeof m_driveStrings);
    const DWORD got = s_driveStrings(size - 1, m_driveStrings);
    if (got == 0 || got >= size)
        m_driveStrings[0] = L'\0';  // too long for the buffer: nothing is listed
    for (const wchar_t* root = m_driveStrings; *root; root += wcslen(root) + 1) {
        if (::GetDriveTypeW(root) != DRIVE_REMOVABLE)
            continue;
        if (!m_requiredFile.IsEmpty() && !::PathFileExistsW(CString(root) + m_requiredFile))
            continue;

        SHFILEINFOW info{};
        PIDLIST_ABSOLUTE pidl = nullptr;
        if (SUCCEEDED(::SHParseDisplayName(root, nullptr, &pidl, 0, nullptr)) && pidl) {
            ::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl), 0, &info, sizeof info,
                             SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_SYSICONINDEX);
            ::CoTaskMemFree(pidl);
        } else {
            ::SHGetFileInfoW(root, 0, &info, sizeof info, SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_SYSICONINDEX);
        }
        ULONGLONG freeMB = 0;
        if (!s_freeSpace(root, &freeMB))
            freeMB = 0;
        CString freeText;
        // 64-bit: a card over 2 TB must not read as a negative size.
        freeText.Format(L"%I64uMB", freeMB);

        const INT_PTR index = m_rows.Add(DriveRow{root, freeMB});
        if (!m_list.m_hWnd)
            continue;
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = m_list.GetItemCount();
        item.pszText = info.szDisplayName;
        item.iImage = info.iIcon;
        item.lParam = static_cast<LPARAM>(index);
        const int row = m_list.InsertItem(&item);
        LVITEMW sub{};
        sub.mask = LVIF_TEXT;
        sub.iItem = row;
        sub.iSubItem = 1;
        sub.pszText = info.szTypeName;
        m_list.SetItem(&sub);
        sub.iSubItem = 2;
        sub.pszText = const_cast<wchar_t*>(static_cast<const wchar_t*>(freeText));
        m_list.SetItem(&sub);
    }
    if (m_list.m_hWnd) {
        m_list.UpdateScrollBars();
        m_list.Invalidate(TRUE);
    }
}

LONGLONG CRemovableDlg::GetRowFreeMB(int row) const
{
    if (!m_list.IsRow(row))
        return -1;
    const LPARAM index = m_list.GetItemData(row, 0);
    return index >= 0 && index < m_rows.GetSize() ? static_cast<LONGLONG>(m_rows[index].freeMB) : -1;
}

CString CRemovableDlg::GetRowRoot(int row) const
{
    if (!m_list.IsRow(row))
        return CString();
    const LPARAM index = m_list.GetItemData(row, 0);
    return index >= 0 && index < m_rows.GetSize() ? CString(m_rows[index].root) : CString();
}

void CRemovableDlg::OnRefresh()
{
    RefreshDriveList();
}

void CRemovableDlg::OnItemChanged(NMHDR*, LRESULT* result)
{
    const int row = m_list.m_hWnd ? m_list.GetCurSel() : -1;
    const LONGLONG freeMB = GetRowFreeMB(row);
    EnableOK(freeMB > ThresholdMB(theGlobal.m_viewKind));
    *result = 0;
}

void CRemovableDlg::OnDblClk(NMHDR*, LRESULT* result)
{
    if (m_okEnabled)
        OnOK();
    *result = 0;
}

LRESULT CRemovableDlg::OnDeviceChange(WPARAM event, LPARAM)
{
    if (event == DBT_DEVNODES_CHANGED || event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE)
        RefreshDriveList();
    return Default();
}

void CRemovableDlg::OnOK()
{
    // Enter reaches here too: without an accepted drive nothing happens.
    if (!m_okEnabled)
        return;
    if (!UpdateData(TRUE))
        return;
    if (m_askName && !IsAcceptableFileName(m_fileName)) {
        MessageDlgWithParent(UiText(30), this);
        return;
    }
    const int row = m_list.m_hWnd ? m_list.GetCurSel() : -1;
    const LPARAM index = m_list.IsRow(row) ? m_list.GetItemData(row, 0) : -1;
    if (index < 0 || index >= m_rows.GetSize())
        return;
    m_chosenRoot = m_rows[index].root;
    EndDialog(IDOK);
}

void CRemovableDlg::OnCancel()
{
    m_chosenRoot = nullptr;
    CCustomDialog::OnCancel();
}

BOOL CRemovableDlg::OnEraseBkgnd(CDC* dc)
{
    // The list paints itself; erasing under it only makes it flicker.
    dc->ExcludeClipRect(&kListRect);
    return CCustomDialog::OnEraseBkgnd(dc);
}

HBRUSH CRemovableDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if (kind == CTLCOLOR_STATIC && !(wnd && wnd->GetDlgCtrlID() == IDC_REMOVABLE_NAME)) {
        dc->SetBkColor(kPanelColour);
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    if (wnd && wnd->GetDlgCtrlID() == IDC_REMOVABLE_NAME && m_editBrush) {
        dc->SetBkMode(OPAQUE);
        dc->SetBkColor(kEditColour);
        return m_editBrush;
    }
    return CCustomDialog::OnCtlColor(dc, wnd, kind);
}

void CRemovableDlg::OnPaint()
{
    CPaintDC dc(this);
    if (!m_askName)
        return;
    CRect edit(kNameRect);
    if (HWND e = ::GetDlgItem(m_hWnd, IDC_REMOVABLE_NAME)) {
        ::GetWindowRect(e, &edit);
        ScreenToClient(&edit);
    }
    // Only the frames around the children: the children paint themselves.
    dc.ExcludeClipRect(&kListRect);
    dc.ExcludeClipRect(&edit);
    CRect label = edit;
    label.InflateRect(2, 2);
    label.left -= 109;
    dc.FillSolidRect(&label, kLabelColour);
    HGDIOBJ oldFont = m_fontLabel ? dc.SelectObject(m_fontLabel) : nullptr;
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(255, 255, 255));
    CRect text = label;
    text.left += 10;
    dc.DrawText(UiText(185), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    CRect note = label;
    note.OffsetRect(-5, -30);
    dc.FillSolidRect(&note, kPanelColour);
    dc.SetTextColor(RGB(0, 0, 0));
    text = note;
    text.left += 10;
    dc.DrawText(UiText(31), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (oldFont)
        dc.SelectObject(oldFont);

    CRect editFrame = edit;
    editFrame.InflateRect(1, 1);
    dc.FillSolidRect(&editFrame, kPanelColour);
    CRect listFrame(kListRect);
    listFrame.InflateRect(1, 1);
    dc.FillSolidRect(&listFrame, kListFrameColour);
}

void CRemovableDlg::OnDestroy()
{
    CCustomDialog::OnDestroy();
    ClearDriveList();
    if (m_fontName)
        ::DeleteObject(m_fontName);
    if (m_fontLabel)
        ::DeleteObject(m_fontLabel);
    if (m_editBrush)
        ::DeleteObject(m_editBrush);
    m_fontName = m_fontLabel = nullptr;
    m_editBrush = nullptr;
}
