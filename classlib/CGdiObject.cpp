#include "classlib/CGdiObject.h"

#include "classlib/CWinApp.h"

BOOL CGdiObject::Attach(HGDIOBJ h)
{
    if (!h)
        return FALSE;
    DeleteObject();
    m_hObject = h;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    // Stock objects are shared; deleting them is a no-op for GDI, but never try.
    BOOL ok = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return ok;
}

BOOL CGdiObject::CreateStockObject(int index)
{
    DeleteObject();
    // Kept without ownership worries: DeleteObject on a stock object does nothing.
    m_hObject = ::GetStockObject(index);
    return m_hObject != nullptr;
}

BOOL CFont::CreatePointFont(int tenthsOfPoint, const wchar_t* face, HDC dc)
{
    LOGFONTW lf{};
    HDC screen = dc ? dc : ::GetDC(nullptr);
    lf.lfHeight = -MulDiv(tenthsOfPoint, ::GetDeviceCaps(screen, LOGPIXELSY), 720);
    if (!dc)
        ::ReleaseDC(nullptr, screen);
    lf.lfCharSet = DEFAULT_CHARSET;
    if (face)
        lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirect(&lf);
}

BOOL CBitmap::LoadBitmap(UINT id)
{
    return Attach(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id)));
}

SIZE CBitmap::GetSize() const
{
    BITMAP bm{};
    if (!m_hObject || !GetBitmap(&bm))
        return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}
