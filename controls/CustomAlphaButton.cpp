#include "controls/CustomAlphaButton.h"

#include <objidl.h>

#include "common/FileArchive.h"
#include "controls/ButtonMessages.h"

using namespace Gdiplus;

BEGIN_MESSAGE_MAP(CCustomAlphaButton, CSkinButtonBase)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CCustomAlphaButton::CCustomAlphaButton()
{
    for (COLORREF& c : m_textColors)
        c = RGB(255, 255, 255);
}

CCustomAlphaButton::~CCustomAlphaButton()
{
    for (Image*& image : m_images) {
        delete image;
        image = nullptr;
    }
}

BOOL CCustomAlphaButton::Create(const RECT& rect, CWnd* parent, UINT id, BOOL sysCommand)
{
    ResetFlags();
    m_state = kStateNormal;
    m_id = id;
    m_sysCommand = sysCommand;
    const wchar_t* cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
    return CreateEx(WS_EX_TRANSPARENT, cls, L"", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

BOOL CCustomAlphaButton::LoadPackImage(LPCWSTR name, Image** image)
{
    *image = nullptr;
    HGLOBAL block = theFileArchive.ReadEntry(name);
    if (!block)
        return TRUE;
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream))) {
        ::GlobalFree(block);
        return FALSE;
    }
    // A copy that no longer needs the stream.
    Image* decoded = Image::FromStream(stream);
    if (decoded && decoded->GetLastStatus() == Ok) {
        auto* copy = new Bitmap(static_cast<INT>(decoded->GetWidth()), static_cast<INT>(decoded->GetHeight()),
                                PixelFormat32bppARGB);
        {
            Graphics g(copy);
            g.DrawImage(decoded, 0, 0, static_cast<INT>(decoded->GetWidth()), static_cast<INT>(decoded->GetHeight()));
        }
        if (copy->GetLastStatus() == Ok)
            *image = copy;
        else
            delete copy;
    }
    delete decoded;
    stream->Release();
    return TRUE;
}

BOOL CCustomAlphaButton::LoadImages(LPCWSTR format, LPCWSTR checkedSuffix, LPCWSTR hotSuffix)
{
    const LPCWSTR suffixes[kStateCount] = {L"normal", L"pressed", checkedSuffix, hotSuffix, L"disable"};
    BOOL ok = TRUE;
    for (int n = 0; n < kStateCount; ++n) {
        delete m_images[n];
        m_images[n] = nullptr;
        CString name;
        name.Format(format, suffixes[n] ? suffixes[n] : L"");
        if (!LoadPackImage(name, &m_images[n]))
            ok = FALSE;
    }
    if (m_hWnd) {
        CRect client;
        GetClientRect(&client);
        if (client.IsRectEmpty())
            SetWindowPos(static_cast<HWND>(nullptr), 0, 0, GetMaxImageWidth(), GetMaxImageHeight(),
                         SWP_NOMOVE | SWP_NOZORDER);
    }
    return ok;
}

int CCustomAlphaButton::GetMaxImageWidth() const
{
    int w = 0;
    for (Image* image : m_images)
        if (image)
            w = std::max(w, static_cast<int>(image->GetWidth()));
    return w;
}

int CCustomAlphaButton::GetMaxImageHeight() const
{
    int h = 0;
    for (Image* image : m_images)
        if (image)
            h = std::max(h, static_cast<int>(image->GetHeight()));
    return h;
}

void CCustomAlphaButton::SetTextRect(const RECT& rect)
{
    for (RECT& r : m_textRects)
        r = rect;
}

void CCustomAlphaButton::SetTextRects(const RECT rects[kStateCount])
{
    for (int n = 0; n < kStateCount; ++n)
        m_textRects[n] = rects[n];
}

void CCustomAlphaButton::ResetTextColors()
{
    for (int n = 0; n < kStateCount; ++n)
        m_textColors[n] = n == kStateDisabled ? RGB(0x50, 0x50, 0x50) : RGB(255, 255, 255);
}

void CCustomAlphaButton::ShowStateChange()
{
    SendToParent(WM_DRAW_ALPHA_IMAGE, 0, 0);
}

void CCustomAlphaButton::OnPaint()
{
    CPaintDC dc(this);  // the parent draws the picture
}
