#include "doc/PictureLoad.h"

#include "common/GdiplusText.h"

namespace {

// A picture GDI+ reads (PNG, TIFF, ...) drawn at its natural size into a new DIB.
BOOL LoadWithGdiplus(const wchar_t* path, DIB_IMAGE* out)
{
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return FALSE;
    BOOL ok = FALSE;
    {
        Gdiplus::Bitmap bitmap(path);
        UINT w = bitmap.GetWidth(), h = bitmap.GetHeight();
        if (bitmap.GetLastStatus() == Gdiplus::Ok && w > 0 && h > 0 && CreateDib(out, w, h) && out->bits) {
            HDC dc = CreateCompatibleDC(nullptr);
            if (dc) {
                HGDIOBJ old = SelectObject(dc, out->bitmap);
                DrawGdipImage(&bitmap, dc, 0, 0);
                ok = GdiFlush();
                SelectObject(dc, old);
                DeleteDC(dc);
            }
        }
        if (!ok)
            FreeDibImage(out);
    }
    Gdiplus::GdiplusShutdown(token);
    return ok;
}

}  // namespace

BOOL LoadAnyPicture(const wchar_t* path, DIB_IMAGE* out)
{
    InitDibImage(out);
    if (!path)
        return FALSE;
    if ((LoadPictureFile(out, path, -1, -1) || LoadWithGdiplus(path, out)) && out->bits)
        return TRUE;
    FreeDibImage(out);
    return FALSE;
}
