#include "views/device/ApWnd.h"

#include <cwctype>

#include "classlib/CWaitCursor.h"
#include "core/Global.h"
#include "frame/MainWindowCalls.h"
#include "frame/MessageDlg.h"
#include "frame/RemovableDlg.h"
#include "frame/UrlOpener.h"
#include "frame/WebLink.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"

namespace {

BOOL FindAppsCard()
{
    CWaitCursor wait;
    return CRemovableDlg::HasAppsCard();
}

void OpenPage(HWND owner, const wchar_t* address) { OpenInBrowser(owner, address); }

void DispText(NMHDR* nm, const CString& text, int image)
{
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        lstrcpynW(item.pszText, text, item.cchTextMax);
    if (item.mask & LVIF_IMAGE)
        item.iImage = image;
}

}  // namespace

CApWnd::ChooseDriveFn CApWnd::s_chooseDrive = &CRemovableDlg::ChooseDrive;
CApWnd::FindCardFn CApWnd::s_findAppsCard = &FindAppsCard;
void (*CApWnd::s_openPage)(HWND, const wchar_t*) = &OpenPage;

int CApWnd::CountryCode()
{
    const CString text = UiText(387);
    int value = 0;
    for (int i = 0; i < text.GetLength() && iswdigit(text[i]) && value < 100000; ++i)
        value = value * 10 + (text[i] - L'0');
    return value;
}

CString CApWnd::RowName(int list, int row)
{
    const CDocAp& doc = theGlobal.m_docAp;
    const CArray<CDocApRecord>& apps = list == AP_LIST_SERVER ? doc.m_serverApps : doc.m_cardApps;
    if (row < 0 || row >= apps.GetSize())
        return CString();
    // The service gives some apps no display name: the id is all there is.
    const CDocApRecord& app = apps[row];
    return app.m_name.IsEmpty() ? app.m_id : app.m_name;
}

CString CApWnd::WebRowText(int row)
{
    const CDocAp& doc = theGlobal.m_docAp;
    AP_ROW_INFO info{};
    if (!doc.GetRowInfo(AP_LIST_SERVER, row, &info))
        return CString();
    CString text;
    text.Format(L"%s%s<%.02fMB>%s", doc.IsUpdate(row) ? L"T" : L"F", doc.IsNewOrUpdate(row) ? L"T" : L"F",
                static_cast<double>(info.size) / 1048576.0, RowName(AP_LIST_SERVER, row).GetString());
    return text;
}

CString CApWnd::CardRowText(int row)
{
    AP_ROW_INFO info{};
    if (!theGlobal.m_docAp.GetRowInfo(AP_LIST_CARD, row, &info))
        return CString();
    CString text;
    text.Format(L"<%.02fMB>%s", static_cast<double>(info.size) / 1048576.0, RowName(AP_LIST_CARD, row).GetString());
    return text;
}

int CApWnd::CheckImage(int row)
{
    const CDocAp& doc = theGlobal.m_docAp;
    AP_ROW_INFO info{};
    if (!doc.GetRowInfo(AP_LIST_SERVER, row, &info) || !doc.IsNewOrUpdate(row))
        return 3;
    return info.checked ? 2 : 1;
}

void CApWnd::OnWebDispInfo(NMHDR* nm, LRESULT* result)
{
    *result = 0;
    const LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
    if (m_busy || item.iItem < 0 || item.iItem >= theGlobal.m_docAp.m_serverApps.GetSize())
        return;
    AP_ROW_INFO info{};
    theGlobal.m_docAp.GetRowInfo(AP_LIST_SERVER, item.iItem, &info);
    switch (item.iSubItem) {
    case 0: DispText(nm, CString(), CheckImage(item.iItem)); break;
    case 1: DispText(nm, WebRowText(item.iItem), info.iconIndex); break;
    default: DispText(nm, CString(), 1); break;
    }
}

void CApWnd::OnCardDispInfo(NMHDR* nm, LRESULT* result)
{
    *result = 0;
    const LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
    if (m_busy || item.iItem < 0 || item.iItem >= theGlobal.m_docAp.m_cardApps.GetSize())
        return;
    AP_ROW_INFO info{};
    theGlobal.m_docAp.GetRowInfo(AP_LIST_CARD, item.iItem, &info);
    if (item.iSubItem == 0)
        DispText(nm, CardRowText(item.iItem), info.iconIndex);
    else
        DispText(nm, CString(), 1);
}

void CApWnd::OnRefresh()
{
    if (!m_webList.GetSafeHwnd() || m_busy)
        return;
    const CDocAp& doc = theGlobal.m_docAp;
    for (auto [list, count] : {std::pair{&m_webList, doc.m_serverApps.GetSize()}, std::pair{&m_cardList, doc.m_cardApps.GetSize()}}) {
        if (list->GetItemCount() != count) {
            list->m_items.SetSize(count);
            list->m_focusItem = list->m_anchorItem = list->m_curRow = -1;
            list->m_topIndex = 0;
        }
        list->UpdateScrollBars();
    }
    Repaint();
}

BOOL CApWnd::ServiceConfigured()
{
    theGlobal.m_docAp.m_serviceBase = theGlobal.m_appsService;
    return !theGlobal.m_appsService.IsEmpty();
}

void CApWnd::ShowDocError()
{
    CString text;
    ShowMessage(theGlobal.m_docAp.GetErrorString(text), 0);
}

void CApWnd::RememberDeviceFile(const CString& root)
{
    CDocAp& doc = theGlobal.m_docAp;
    CString number;
    if (!root.IsEmpty() && CDocAp::HasDeviceFile(root) && doc.ReadDeviceFile(root) && doc.GetDeviceNumber(number))
        theGlobal.m_deviceNo = number;
}

CString CApWnd::ChooseCard(BOOL remembered)
{
    CString root;
    if (remembered) {
        if (s_chooseDrive(FALSE, root))
            RememberDeviceFile(root);
        else
            root.Empty();
    } else if (s_findAppsCard() && s_chooseDrive(TRUE, root)) {
        RememberDeviceFile(root);
    } else {
        root.Empty();
    }
    return root;
}

void CApWnd::AttachIcons()
{
    CDocAp& doc = theGlobal.m_docAp;
    m_webList.AttachImageList(doc.m_serverIcons.GetSafeHandle() ? &doc.m_serverIcons : nullptr, LVSIL_NORMAL);
    m_cardList.AttachImageList(doc.m_cardIcons.GetSafeHandle() ? &doc.m_cardIcons : nullptr, LVSIL_SMALL);
}

void CApWnd::LoadApps(const CString& cardPath, LoadKind kind)
{
    CDocAp& doc = theGlobal.m_docAp;
    const int country = CountryCode(), model = theGlobal.m_modelType;
    BOOL listed = FALSE, cardRead = FALSE;
    const BOOL finished = RunTask([&] {
        const auto load = [&](BOOL readAnyway) {
            listed = doc.DownloadList(country, model);
            if (listed && !doc.m_serverIcons.GetSafeHandle())
                doc.LoadRowIcons(AP_LIST_SERVER);
            // No card chosen: nothing is read, least of all the PC's current folder.
            if ((listed || readAnyway) && !cardPath.IsEmpty() && !doc.IsCancelled())
                cardRead = doc.LoadCardApps(cardPath) || cardRead;
            doc.RemoveIconless();
        };
        load(kind == NewCard);
        if (kind == NewCard && doc.m_serverApps.GetSize() == 0 && !doc.IsCancelled())
            load(FALSE);
    });
    if (listed)
        m_webList.EnableWindow(TRUE);
    if (cardRead)
        m_cardList.EnableWindow(TRUE);
    AttachIcons();
    OnRefresh();
    if (!finished)
        return;
    if (!listed) {
        if (kind == Loud)
            ShowDocError();
        return;
    }
    // A damaged list on the card is said, not shown as an empty card.
    if (!cardPath.IsEmpty() && !cardRead)
        ShowDocError();
}

void CApWnd::OnShowWindow(BOOL show, UINT)
{
    Default();
    if (!show || !m_webList.GetSafeHwnd() || m_busy)
        return;
    m_webList.EnableWindow(FALSE);
    m_cardList.EnableWindow(FALSE);
    // Leaving the view empties the document: nothing of the last visit is shown.
    theGlobal.m_docAp.ClearAll();
    AttachIcons();
    OnRefresh();
    UpdateWindow();
    if (!ServiceConfigured()) {
        ShowMessage(UiText(418), 0);
        return;
    }
    CDocAp& doc = theGlobal.m_docAp;
    const CString cardPath = ChooseCard(doc.SetDeviceNumber(theGlobal.m_deviceNo));
    if (theGlobal.m_deviceNo.IsEmpty() || !doc.SetDeviceNumber(theGlobal.m_deviceNo)) {
        ShowMessage(UiText(416), 0);
        return;
    }
    LoadApps(cardPath, Loud);
}

void CApWnd::OnDriveSelect()
{
    if (!IsCurrent() || m_busy)
        return;
    if (!ServiceConfigured()) {
        ShowMessage(UiText(418), 0);
        return;
    }
    CDocAp& doc = theGlobal.m_docAp;
    const BOOL remembered = !theGlobal.m_deviceNo.IsEmpty() && doc.SetDeviceNumber(theGlobal.m_deviceNo);
    const CString cardPath = ChooseCard(remembered);
    if (theGlobal.m_deviceNo.IsEmpty() || !doc.SetDeviceNumber(theGlobal.m_deviceNo)) {
        ShowMessage(UiText(416), 0);
        return;
    }
    // A cancelled chooser keeps what is shown, marks included; so does a card
    // found for a unit whose apps are already listed.
    if (doc.m_serverApps.GetSize() > 0 && (cardPath.IsEmpty() || !remembered)) {
        Repaint();
        return;
    }
    const BOOL newCard = remembered && !cardPath.IsEmpty();
    doc.ClearAll();
    m_webList.EnableWindow(FALSE);
    m_cardList.EnableWindow(FALSE);
    LoadApps(cardPath, newCard ? NewCard : Quiet);
}

void CApWnd::OnWebBeginEdit(NMHDR* nm, LRESULT* result)
{
    const LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
    BOOL allowed = FALSE;
    if (!m_busy && item.iItem >= 0) {
        if (item.iSubItem == 0)
            allowed = theGlobal.m_docAp.IsNewOrUpdate(item.iItem);
        else if (item.iSubItem == 2)
            allowed = TRUE;
    }
    *result = allowed ? 0 : 1;
}

void CApWnd::OnWebEndEdit(NMHDR* nm, LRESULT* result)
{
    *result = 0;
    const LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
    CDocAp& doc = theGlobal.m_docAp;
    if (m_busy || item.iItem < 0 || item.iItem >= doc.m_serverApps.GetSize())
        return;
    if (item.iSubItem == 2) {
        const CString address = doc.GetDescriptionUrl(item.iItem);
        CWnd* main = AfxGetMainWnd();
        // A description address from the service is not trusted to name a
        // program or a file, nor to carry arguments for the browser.
        if (IsWebLink(address))
            s_openPage(main ? main->GetSafeHwnd() : GetSafeHwnd(), address);
        return;
    }
    if (item.iSubItem != 0 || !doc.IsNewOrUpdate(item.iItem))
        return;
    CDocApRecord& app = doc.m_serverApps[item.iItem];
    const BOOL mark = !app.m_checked;
    if (mark) {
        // Every app on the card takes a place, also one the service no longer offers.
        if (doc.m_cardEntries.GetSize() + doc.CountChecked() >= kMaxAppsOnCard) {
            ShowMessage(UiText(422), 0);
            return;
        }
        if (app.m_applicationId == 2)
            ShowMessage(UiText(429), 0);
    }
    app.m_checked = mark ? 1 : 0;
    m_webList.Invalidate(FALSE);
    InvalidateRect(&m_noteRect, FALSE);
}

void CApWnd::OnCardBeginEdit(NMHDR* nm, LRESULT* result)
{
    const LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
    *result = !m_busy && item.iItem >= 0 && item.iSubItem == 1 ? 0 : 1;
}

void CApWnd::OnCardEndEdit(NMHDR* nm, LRESULT* result)
{
    *result = 0;
    const LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
    CDocAp& doc = theGlobal.m_docAp;
    if (m_busy || item.iSubItem != 1 || item.iItem < 0 || item.iItem >= doc.m_cardApps.GetSize())
        return;
    if (ShowMessage(UiText(71), 1) != IDOK)
        return;
    if (!doc.DeleteCardApp(item.iItem))
        ShowMessage(UiText(67), 0);
    AttachIcons();
    OnRefresh();
}

void CApWnd::OnExport()
{
    CDocAp& doc = theGlobal.m_docAp;
    if (!IsCurrent() || m_busy || doc.GetCardRoot().IsEmpty() || doc.CountChecked() == 0)
        return;
    const CString root = doc.GetCardRoot();
    const int country = CountryCode(), model = theGlobal.m_modelType;
    BOOL written = FALSE;
    const BOOL finished = RunTask([&] { written = doc.TransferToCard(root, country, model); });
    if (!written) {
        OnRefresh();
        // A cancelled transfer took back what it wrote: nothing to report.
        if (finished)
            ShowDocError();
        return;
    }
    ShowMessage(UiText(16), 0);
    CWaitCursor wait;
    if (doc.LoadCardApps(root))
        m_cardList.EnableWindow(TRUE);
    AttachIcons();
    OnRefresh();
}

void CApWnd::OnLeave()
{
    if (!IsCurrent() || m_busy)
        return;
    theGlobal.m_docAp.ClearAll();
    m_webList.AttachImageList(nullptr, LVSIL_NORMAL);
    m_cardList.AttachImageList(nullptr, LVSIL_SMALL);
    OnRefresh();
    SendToMain(ID_MENU_REFRESH);
    SendToMain(ID_MAIN_MENU);
}

void CApWnd::OnUpdateExport(CCmdUI* ui)
{
    if (!IsCurrent()) {
        ui->ContinueRouting();
        return;
    }
    const CDocAp& doc = theGlobal.m_docAp;
    ui->Enable(!m_busy && !doc.GetCardRoot().IsEmpty() && doc.CountChecked() > 0);
}

void CApWnd::OnUpdateDriveSelect(CCmdUI* ui)
{
    if (!IsCurrent())
        ui->ContinueRouting();
    else
        ui->Enable(!m_busy);
}

LRESULT CApWnd::OnUserIdle(WPARAM, LPARAM)
{
    const CCmdUI::Button buttons[] = {{&m_export, ID_EXPORT}, {&m_driveSelect, ID_DRIVE_SELECT}};
    if (IsCurrent())
        CCmdUI::UpdateButtons(this, buttons);
    return 0;
}
