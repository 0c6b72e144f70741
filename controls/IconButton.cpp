#include "controls/IconButton.h"

#include <commctrl.h>

#include "controls/RoundRegion.h"

#include "controls/ButtonMessages.h"
#include "core/Global.h"

namespace {

// The icon document's list, built on first use.
HIMAGELIST DocumentIcons()
{
    if (!theGlobal.m_docIcon.m_allIcons)
        theGlobal.m_docIcon.LoadIcons();
    return theGlobal.m_docIcon.m_allIcons;
}

// The POI document behind a body view shows its default icon once it holds a
// record. The feed view (5) has no document yet, so it shows none.
int DocumentIconIndex(int kind)
{
    const CDocPi* doc = kind == 2 ? &theGlobal.m_docPiCsv
                      : kind == 3 ? &theGlobal.m_docPiKml
                      : kind == 4 ? &theGlobal.m_docPiMap
                                  : nullptr;
    return doc && doc->GetRecordCount() > 0 ? doc->m_defaultIcon : -1;
}

}  // namespace

ICON_BUTTON_SOURCE theIconButtonSource = {&DocumentIcons, &DocumentIconIndex};

namespace {
const wchar_t* const kFaces[kStateCount] = {L"btn_icon_normal.bmp", L"btn_icon_pressed.bmp", L"btn_icon_pressed.bmp",
                                            L"btn_icon_hot.bmp", L"btn_icon_disable.bmp"};
}  // namespace

BEGIN_MESSAGE_MAP(CIconButton, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_ENABLE()
END_MESSAGE_MAP()

CIconButton::CIconButton()
{
    for (DIB_IMAGE& face : m_faces)
        InitDibImage(&face);
}

CIconButton::~CIconButton()
{
    for (DIB_IMAGE& face : m_faces)
        FreeDibImage(&face);
}

BOOL CIconButton::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateEx(0, AfxDefaultWndClass(), L"", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

int CIconButton::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    for (int n = 0; n < kStateCount; ++n) {
        FreeDibImage(&m_faces[n]);
        if (!LoadDibFromPack(kFaces[n], &m_faces[n]))
            return -1;
    }
    return 0;
}

void CIconButton::SetRoundRegion()
{
    SetCornerCutRegion(m_hWnd, m_faces[kStateNormal].width, m_faces[kStateNormal].height);
}

void CIconButton::ChangeState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    Invalidate(TRUE);
}

void CIconButton::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    FillRectWithDib(dc, &m_faces[m_state], &client, TRUE);
    if (m_kind < 2 || m_kind > 5 || !theIconButtonSource.iconIndex || !theIconButtonSource.imageList)
        return;
    const int index = theIconButtonSource.iconIndex(m_kind);
    if (index < 0)
        return;
    HIMAGELIST icons = theIconButtonSource.imageList();
    if (!icons)
        return;
    // 24-pixel icons on these models, 32-pixel ones elsewhere.
    const int type = theGlobal.m_naviModel.m_naviModelType;
    const bool small = type == 1 || type == 4 || type == 6;
    ImageList_Draw(icons, index, dc, client.left + (small ? 16 : 12), client.top + (small ? 5 : 1), ILD_NORMAL);
}

void CIconButton::OnLButtonDown(UINT, CPoint)
{
    m_pressed = TRUE;
    ChangeState(kStatePressed);
    SetCapture();
}

void CIconButton::OnLButtonUp(UINT, CPoint pt)
{
    if (!m_pressed)
        return;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    m_pressed = FALSE;
    ChangeState(kStateHot);
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(pt))
        if (HWND parent = ::GetParent(m_hWnd))
            ::PostMessageW(parent, WM_COMMAND, ID_ICON_SELECT, 0);
}

void CIconButton::OnLButtonDblClk(UINT, CPoint)
{
    // The first click of the pair already asked for the icon selection.
}

void CIconButton::OnMouseMove(UINT, CPoint pt)
{
    CRect client;
    GetClientRect(&client);
    const BOOL inside = client.PtInRect(pt);
    if (m_pressed) {
        ChangeState(inside ? kStatePressed : kStateHot);
    } else if (inside && !m_tracking) {
        TrackMouseEvent(TME_LEAVE);
        m_tracking = TRUE;
        ChangeState(kStateHot);
    }
}

void CIconButton::OnMouseLeave()
{
    m_tracking = FALSE;
    ChangeState(IsWindowEnabled() ? kStateNormal : kStateDisabled);
}

void CIconButton::OnEnable(BOOL enable)
{
    Default();
    ChangeState(enable ? kStateNormal : kStateDisabled);
}
