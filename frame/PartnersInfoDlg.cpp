#include "frame/PartnersInfoDlg.h"

#include "core/Global.h"
#include "frame/MainMenuWnd.h"
#include "frame/WebLink.h"
#include "res/dialog_ids.h"

namespace {

constexpr UINT kFirstCommand = 32787;
const COLORREF kFrame = RGB(203, 203, 207);

}  // namespace

const RECT CPartnersInfoDlg::kBanner[2] = {{21, 45, 407, 146}, {408, 45, 794, 146}};
const RECT CPartnersInfoDlg::kText[2] = {{21, 147, 407, 453}, {408, 147, 794, 453}};

BEGIN_MESSAGE_MAP(CPartnersInfoDlg, CCustomDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_COMMAND_RANGE(kFirstCommand, ID_VIA_MICHELIN, OnPartnerCommand)
END_MESSAGE_MAP()

CPartnersInfoDlg::CPartnersInfoDlg() : CCustomDialog(IDD_PARTNERS, nullptr) {}

CPartnersInfoDlg::~CPartnersInfoDlg()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL CPartnersInfoDlg::OnInitDialog()
{
    m_panels = _wtoi(UiText(385)) < 0 ? 1 : 2;
    PlaceOnMainWindow(m_panels == 1 ? 429 : 816, 449);
    const BOOL base = CCustomDialog::OnInitDialog();
    if (base != TRUE)
        return base;
    const int partners[2] = {_wtoi(UiText(383)), _wtoi(UiText(385))};
    const int texts[2] = {384, 386};
    for (int i = 0; i < m_panels; ++i) {
        if (!m_text[i].Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL, CRect(kText[i]), this, TextId1 + i))
            return 0;
        m_text[i].SetText(UiText(texts[i]));
        m_banner[i].SetPartner(partners[i]);
        if (!m_banner[i].Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(kBanner[i]), this, BannerId1 + i))
            return 0;
    }
    SetCaption(UiText(405));
    return TRUE;
}

void CPartnersInfoDlg::OnPaint()
{
    CPaintDC dc(this);
    HBRUSH frame = ::CreateSolidBrush(kFrame);
    for (int i = 0; i < m_panels; ++i)
        for (const RECT& r : {kBanner[i], kText[i]}) {
            CRect box(r);
            box.InflateRect(1, 1);
            ::FrameRect(dc.GetSafeHdc(), &box, frame);
        }
    ::DeleteObject(frame);
}

BOOL CPartnersInfoDlg::OnEraseBkgnd(CDC* dc)
{
    // The scrolling texts paint themselves; leaving them out keeps them from flickering.
    HDC hdc = dc->GetSafeHdc();
    CRect client;
    GetClientRect(&client);
    HRGN clip = ::CreateRectRgnIndirect(&client);
    for (int i = 0; i < m_panels; ++i) {
        HRGN text = ::CreateRectRgnIndirect(&kText[i]);
        ::CombineRgn(clip, clip, text, RGN_DIFF);
        ::DeleteObject(text);
    }
    ::SelectClipRgn(hdc, clip);
    CCustomDialog::OnEraseBkgnd(dc);
    ::SelectClipRgn(hdc, nullptr);
    ::DeleteObject(clip);
    return TRUE;
}

void CPartnersInfoDlg::OnPartnerCommand(UINT id)
{
    CWnd* main = AfxGetMainWnd();
    HWND owner = main ? main->GetSafeHwnd() : nullptr;
    if (id == ID_WHERE_IS)
        OpenWebLink(owner, kPartnerHomePage);
    else if (id == ID_VIA_MICHELIN)
        OpenWebLink(owner, theGlobal.WebAddress(430));
}
