#include "classlib/CImageList.h"

#include "classlib/TempMap.h"

namespace {
afx::TempMap<CImageList, HIMAGELIST> g_tempLists;
}

CImageList* CImageList::FromHandle(HIMAGELIST list)
{
    if (!list)
        return nullptr;
    return g_tempLists.Get(list, [](HIMAGELIST h) {
        auto* l = new CImageList;
        l->m_hImageList = h;
        return l;
    });
}

void CImageList::DeleteTempMap()
{
    g_tempLists.Clear([](CImageList* l) { l->m_hImageList = nullptr; });
}

BOOL CImageList::Attach(HIMAGELIST list)
{
    if (!list)
        return FALSE;
    DeleteImageList();
    m_hImageList = list;
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST h = m_hImageList;
    m_hImageList = nullptr;
    return h;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    BOOL ok = ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return ok;
}
