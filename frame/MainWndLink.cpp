// What the main window does with a place a map page sent: it becomes the one
// record of the received document, and the open map look-up dialog, the shown
// map-search view or a notice tells the user.
#include "common/LogWriter.h"
#include "core/Global.h"
#include "core/RegisteredMessages.h"
#include "frame/MainWnd.h"
#include "frame/MessageDlg.h"
#include "frame/ReceivedLink.h"
#include "res/poi_ids.h"

namespace {

constexpr int kMapSearchView = 4;

// Keeps the notice flag set while the notice is open, also when it throws.
struct NoticeOpen {
    NoticeOpen() { theGlobal.m_receivedMessageOpen = 1; }
    ~NoticeOpen() { theGlobal.m_receivedMessageOpen = 0; }
};

}  // namespace

LRESULT CMainWnd::OnPendingLink(WPARAM, LPARAM)
{
    if (m_pendingLinks.empty())
        return 0;
    const CString text = m_pendingLinks.front();
    m_pendingLinks.pop_front();
    ReceiveLink(text);
    return 0;
}

void CMainWnd::ReceiveLink(const CString& text)
{
    DOCPI_RECORD rec;
    const LinkVerdict verdict =
        ParseReceivedLink(text, theGlobal.m_naviModel.m_modelGroup, theGlobal.m_naviModel.m_region, rec);
    switch (verdict) {
    case LinkVerdict::NotALink:
        WriteLog(L"copy data: not a link");
        return;
    case LinkVerdict::RegionRefused:
        ::SetForegroundWindow(m_hWnd);
        ShowMessage(kLinkRegionRefused, 0);
        return;
    case LinkVerdict::BadPosition:
    case LinkVerdict::OutOfRange:
        ::SetForegroundWindow(m_hWnd);
        if (theGlobal.m_hMapDlg)
            ::SendMessageW(theGlobal.m_hMapDlg, WM_ERROR_GOOGLE_DATA, 0, 0);
        else
            ShowMessage(theGlobal.UiString(43), 0);
        return;
    case LinkVerdict::Accepted:
        break;
    }
    theGlobal.m_docPiReceived.ResetDocument();
    theGlobal.m_docPiReceived.AddRecord(rec);
    ::SetForegroundWindow(m_hWnd);
    if (theGlobal.m_hMapDlg) {
        ::SendMessageW(theGlobal.m_hMapDlg, WM_ADD_GOOGLE_DATA, 0, 0);
    } else if (theGlobal.m_viewKind == kMapSearchView) {
        if (CWnd* view = m_body.GetView(kMapSearchView))
            view->SendMessage(WM_COMMAND, ID_GOOGLE, 0);
    } else if (!theGlobal.m_receivedMessageOpen) {
        // Links arriving while the notice is open replace the place without a second notice.
        NoticeOpen open;
        ShowMessage(theGlobal.UiString(42), 0);
    }
}
