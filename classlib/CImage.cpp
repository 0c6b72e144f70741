#include "classlib/CImage.h"

#include <objidl.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

namespace {

bool StartGdiplus()
{
    static const bool started = [] {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    return started;
}

}  // namespace

HRESULT CImage::Load(const wchar_t* path)
{
    Destroy();
    if (!path || !StartGdiplus())
        return E_FAIL;
    auto* bitmap = Gdiplus::Bitmap::FromFile(path);
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok || bitmap->GetWidth() == 0 || bitmap->GetHeight() == 0) {
        delete bitmap;
        return E_FAIL;
    }
    m_bitmap = bitmap;
    m_width = static_cast<int>(bitmap->GetWidth());
    m_height = static_cast<int>(bitmap->GetHeight());
    return S_OK;
}

void CImage::Destroy()
{
    delete static_cast<Gdiplus::Bitmap*>(m_bitmap);
    m_bitmap = nullptr;
    m_width = m_height = 0;
}

BOOL CImage::Draw(HDC dc, int x, int y, int width, int height) const
{
    if (!m_bitmap || !dc)
        return FALSE;
    Gdiplus::Graphics graphics(dc);
    return graphics.DrawImage(static_cast<Gdiplus::Bitmap*>(m_bitmap), x, y, width, height) == Gdiplus::Ok;
}
