#include "views/report/CheckImages.h"

#include "classlib/CWinApp.h"
#include "res/report_ids.h"

BOOL LoadCheckImages(CImageList& list, int cx, int cy, COLORREF back)
{
    if (!list.Create(cx, cy, ILC_COLOR32 | ILC_MASK, 3, 0))
        return FALSE;
    if (back != CLR_NONE)
        ImageList_SetBkColor(list.GetSafeHandle(), back);
    if (HBITMAP bitmap = ::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDB_DR_CHECKS))) {
        list.Add(bitmap, RGB(255, 0, 255));
        ::DeleteObject(bitmap);
    }
    return TRUE;
}
