#include "controls/CustomAlphaButton.h"

#include <objidl.h>

#include <cstring>

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

CCustomAlphaButton::~CCustomAlphaButton() = default;

BOOL CCustomAlphaButton::Create(const RECT& rect, CWnd* parent, UINT id, BOOL sysCommand)
{
    ResetFlags();
    m_state = kStateNormal;
    m_id = id;
    m_sysCommand = sysCommand;
    const wchar_t* cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
    return CreateEx(WS_EX_TRANSPARENT, cls, L"", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

namespace {

// The picture as a plain 32-bit ARGB bitmap that no longer needs the stream;
// the rows are copied as they are (drawing the picture into the copy would
// resample every pixel and cost far more than the decode).
Gdiplus::Image* DetachedCopy(Bitmap& decoded)
{
    const INT w = static_cast<INT>(decoded.GetWidth()), h = static_cast<INT>(decoded.GetHeight());
    if (w <= 0 || h <= 0)
        return nullptr;
    auto copy = std::make_unique<Bitmap>(w, h, PixelFormat32bppARGB);
    if (copy->GetLastStatus() != Ok)
        return nullptr;
    Rect all(0, 0, w, h);
    BitmapData from{}, to{};
    if (decoded.LockBits(&all, ImageLockModeRead, PixelFormat32bppARGB, &from) != Ok)
        return nullptr;
    bool copied = false;
    if (copy->LockBits(&all, ImageLockModeWrite, PixelFormat32bppARGB, &to) == Ok) {
        for (INT y = 0; y < h; ++y)
            memcpy(static_cast<BYTE*>(to.Scan0) + static_cast<ptrdiff_t>(y) * to.Stride,
                   static_cast<const BYTE*>(from.Scan0) + static_cast<ptrdiff_t>(y) * from.Stride,
                   static_cast<size_t>(w) * 4);
        copied = copy->UnlockBits(&to) == Ok;
    }
    decoded.UnlockBits(&from);
    return copied ? copy.release() : nullptr;
}

}  // namespace

BOOL CCustomAlphaButton::LoadPackImage(LPCWSTR name, Picture& image)
{
    image.reset();
    for (const Decoded& d : m_decoded)
        if (d.name.CompareNoCase(name) == 0) {
            image = d.picture;
            return TRUE;
        }
    HGLOBAL block = theFileArchive.ReadEntry(name);
    if (!block)
        return TRUE;
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream))) {
        ::GlobalFree(block);
        return FALSE;
    }
    std::unique_ptr<Bitmap> decoded(Bitmap::FromStream(stream));
    if (decoded && decoded->GetLastStatus() == Ok)
        image.reset(DetachedCopy(*decoded));
    decoded.reset();
    stream->Release();
    if (!image && m_unreadable.IsEmpty())
        m_unreadable = name;
    m_decoded.push_back({name, image});
    return TRUE;
}

BOOL CCustomAlphaButton::LoadImages(LPCWSTR format, LPCWSTR checkedSuffix, LPCWSTR hotSuffix)
{
    const LPCWSTR suffixes[kStateCount] = {L"normal", L"pressed", checkedSuffix, hotSuffix, L"disable"};
    BOOL ok = TRUE;
    for (int n = 0; n < kStateCount; ++n) {
        CString name;
        name.Format(format, suffixes[n] ? suffixes[n] : L"");
        if (!LoadPackImage(name, m_images[n]))
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
    for (const Picture& image : m_images)
        if (image)
            w = std::max(w, static_cast<int>(image->GetWidth()));
    return w;
}

int CCustomAlphaButton::GetMaxImageHeight() const
{
    int h = 0;
    for (const Picture& image : m_images)
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
