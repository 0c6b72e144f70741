#include "doc/DocIcon.h"

#include <cwchar>

#include "common/DibImage.h"
#include "core/Global.h"

namespace {

// Stock icons of model types 0 and 2 that share a picture carry the same
// non-zero key; 0 is a picture of its own.
constexpr int kGroupKeys[ICON_STOCK_GROUPED] = {
    0, 0, 1, 2, 0, 0, 3, 3, 3, 4, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 1, 0, 0, 6, 6,
    1, 2, 0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0, 0, 0, 8, 0, 5, 0, 0, 0, 4, 0, 0, 9, 9, 9, 1, 0, 0, 0, 0, 8, 0};

bool IsSmallIconModel(int type) { return type == 1 || type == 4 || type == 6; }

// The skin entry of stock icon i of a model type, and the extra picker entry.
CString StockEntryName(int type, int i)
{
    CString name;
    if (IsGroupedModel(type))
        name.Format(L"746_POI_%03d.bmp", i);
    else if (IsSmallIconModel(type))
        name.Format(L"005_32k_OM-3%02d.bmp", i);
    else
        name.Format(L"007_32K_OM-5%02d.bmp", i + 1);
    return name;
}

int StockSetSize(int type) { return IsGroupedModel(type) ? ICON_STOCK_GROUPED : 30; }

// Adds a picture of exactly the icon size to an image list.
void AddImage(HIMAGELIST list, DIB_IMAGE& dib, int size)
{
    if (dib.width != size || dib.height != size)
        ResizeDib(&dib, size, size, 0, 0, -1, -1);
    ImageList_Add(list, dib.bitmap, nullptr);
}

}  // namespace

CDocIcon::CDocIcon()
{
    int counter = 0;
    bool assigned[ICON_STOCK_GROUPED] = {};
    for (int i = 0; i < ICON_STOCK_GROUPED; ++i) {
        if (assigned[i])
            continue;
        m_groupTable[i] = {counter, 1};
        assigned[i] = true;
        if (kGroupKeys[i] != 0) {
            for (int j = i + 1; j < ICON_STOCK_GROUPED; ++j) {
                if (kGroupKeys[j] == kGroupKeys[i]) {
                    m_groupTable[j] = {counter, 0};
                    assigned[j] = true;
                }
            }
        }
        ++counter;
    }
}

CDocIcon::~CDocIcon() { DestroyLists(); }

void CDocIcon::InitErrorStrings()
{
    CDoc::InitErrorStrings();
    AppendErrorText(UiText(12));
    AppendErrorText(UiText(13));
    AppendErrorText(UiText(15));
}

void CDocIcon::DestroyLists()
{
    if (m_allIcons)
        ImageList_Destroy(m_allIcons);
    if (m_pickerIcons)
        ImageList_Destroy(m_pickerIcons);
    m_allIcons = m_pickerIcons = nullptr;
}

void CDocIcon::GetIconSize(SIZE* out) const
{
    if (!out)
        return;
    int size = IsSmallIconModel(theGlobal.m_modelType) ? 24 : 32;
    out->cx = out->cy = size;
}

bool IsUnitIconFileName(const CString& name)
{
    return name.CompareNoCase(L"poi_mapclose.bmp") == 0;
}

BOOL CDocIcon::LoadIcons()
{
    // The POI and feed documents' default icons are indices into these lists:
    // a default user icon keeps pointing at its picture (by its file name), or,
    // when the picture is gone, falls back to the model's default stock icon.
    const int oldStock = m_stockCount;
    CStringArray oldNames;
    oldNames.Copy(m_userIconNames);
    const BOOL loaded = LoadIconLists();
    if (this == &theGlobal.m_docIcon && !oldNames.IsEmpty()) {
        auto follow = [&](auto& doc) {
            const int user = doc.m_defaultIcon - oldStock;
            if (user < 0 || user >= oldNames.GetSize())
                return;
            int now = -1;
            for (int j = 0; j < m_userIconNames.GetSize() && now < 0; ++j)
                if (m_userIconNames[j].CompareNoCase(oldNames[user]) == 0)
                    now = j;
            if (now >= 0)
                doc.m_defaultIcon = m_stockCount + now;
            else
                doc.ResetDefaultIcon();
        };
        for (CDocPi* doc : {&theGlobal.m_docPiMap, &theGlobal.m_docPiCsv, &theGlobal.m_docPiKml,
                            &theGlobal.m_docPiReceived})
            follow(*doc);
        follow(theGlobal.m_docRssPoi);
    }
    return loaded;
}

BOOL CDocIcon::LoadIconLists()
{
    DestroyLists();
    m_userIconNames.RemoveAll();
    m_stockCount = 0;
    m_userCount = 0;
    SIZE size;
    GetIconSize(&size);
    m_allIcons = ImageList_Create(size.cx, size.cy, ILC_COLOR32, 0, 0);
    m_pickerIcons = ImageList_Create(size.cx, size.cy, ILC_COLOR32, 0, 0);
    if (!m_allIcons || !m_pickerIcons) {
        DestroyLists();
        return FALSE;
    }

    int type = theGlobal.m_modelType;
    for (int i = 0; i < StockSetSize(type); ++i) {
        DIB_IMAGE dib;
        InitDibImage(&dib);
        // A missing skin entry keeps its place with a blank picture, so that the
        // later stock icons keep the numbers the unit knows them by.
        if (!LoadDibFromPack(StockEntryName(type, i), &dib)) {
            if (!CreateDib(&dib, size.cx, size.cy))
                continue;
            memset(dib.bits, 0, static_cast<size_t>(-dib.stride) * dib.height);
        }
        AddImage(m_allIcons, dib, size.cx);
        ++m_stockCount;
        if (!IsGroupedModel(type) || m_groupTable[i].isFirst)
            AddImage(m_pickerIcons, dib, size.cx);
        FreeDibImage(&dib);
    }
    if (!IsGroupedModel(type)) {
        DIB_IMAGE dib;
        InitDibImage(&dib);
        if (LoadDibFromPack(IsSmallIconModel(type) ? L"005_32k_OM-330.bmp" : L"007_32K_OM-540.bmp", &dib))
            AddImage(m_pickerIcons, dib, size.cx);
        FreeDibImage(&dib);
    }

    CString folder = theGlobal.m_iconFolder;
    if (folder.IsEmpty())
        return TRUE;
    if (folder[folder.GetLength() - 1] != L'\\')
        folder += L'\\';
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(folder + L"*.bmp", &fd);
    if (h == INVALID_HANDLE_VALUE)
        return TRUE;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (m_userCount >= ICON_MAX_USER)
            break;
        // The unit's own file names are never user icons: exported, they
        // would replace the unit's file on the card.
        if (IsUnitIconFileName(fd.cFileName))
            continue;
        DIB_IMAGE dib;
        InitDibImage(&dib);
        if (LoadBmpFile(folder + fd.cFileName, &dib) && dib.width == size.cx && dib.height == size.cy) {
            ImageList_Add(m_allIcons, dib.bitmap, nullptr);
            m_userIconNames.Add(fd.cFileName);
            ++m_userCount;
        }
        FreeDibImage(&dib);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return TRUE;
}

CString CDocIcon::GetIconIdString(int index) const
{
    CString id;
    if (index < m_stockCount)
        id.Format(L"0x4102%04X", index);
    else
        id.Format(L"0x7101%04x", index - m_stockCount);
    return id;
}

int CDocIcon::ParseStockIconId(const CString& text) const
{
    if (IsGroupedModel(theGlobal.m_modelType) || theGlobal.m_modelType < 0 || theGlobal.m_modelType > 12)
        return -1;
    CString t = text;
    t.Trim();
    if (t.IsEmpty())
        return -1;
    unsigned long value = wcstoul(t, nullptr, 16);
    if ((value >> 16) != 0x4102 || (value & 0xFFFF) > 29)
        return -1;
    return static_cast<int>(value & 0xFFFF);
}

int CDocIcon::ParseUserIconId(const CString& text) const
{
    int at = text.Find(L"0x7101");
    if (at < 0)
        return -1;
    CString digits = text.Mid(at + 6).SpanIncluding(L"0123456789abcdefABCDEF");
    if (digits.IsEmpty() || digits.GetLength() > 8)
        return -1;
    unsigned long n = wcstoul(digits, nullptr, 16);
    if (n >= static_cast<unsigned long>(m_userCount))
        return -1;
    return m_stockCount + static_cast<int>(n);
}

bool IsGroupedModel(int type)
{
    return type == 0 || type == 2;
}

int CDocIcon::FirstIconWithImage(int pickerIndex, int last) const
{
    for (int i = 0; i <= last && i < ICON_STOCK_GROUPED; ++i)
        if (m_groupTable[i].pickerIndex == pickerIndex)
            return i;
    return -1;
}

int CDocIcon::FindIconByImage(int pickerIndex) const
{
    if (!IsGroupedModel(theGlobal.m_modelType))
        return pickerIndex;
    const int icon = FirstIconWithImage(pickerIndex, ICON_STOCK_GROUPED - 1);
    return icon < 0 ? 0 : icon;
}

BOOL CDocIcon::DeleteUserIcon(int n)
{
    if (n < 0 || n >= m_userCount || n >= m_userIconNames.GetSize()) {
        m_errorCode = ICERR_DELETE;
        return FALSE;
    }
    CString name = m_userIconNames[n];
    if (name.ReverseFind(L'.') < 0)
        name += L".bmp";
    CString folder = theGlobal.m_iconFolder;
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != L'\\')
        folder += L'\\';
    if (DeleteFileW(folder + name))
        return TRUE;
    DWORD err = GetLastError();
    if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND)
        return TRUE;
    m_errorCode = ICERR_DELETE;
    return FALSE;
}

HBITMAP CDocIcon::CreateIconBitmap(int index) const
{
    if (!m_allIcons || index < 0 || index >= ImageList_GetImageCount(m_allIcons))
        return nullptr;
    SIZE size;
    GetIconSize(&size);
    DIB_IMAGE dib;
    InitDibImage(&dib);
    if (!CreateDib(&dib, size.cx, size.cy))
        return nullptr;
    memset(dib.bits, 0, static_cast<size_t>(-dib.stride) * dib.height);
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        FreeDibImage(&dib);
        return nullptr;
    }
    HGDIOBJ old = SelectObject(dc, dib.bitmap);
    BOOL drawn = ImageList_Draw(m_allIcons, index, dc, 0, 0, ILD_NORMAL);
    SelectObject(dc, old);
    DeleteDC(dc);
    if (!drawn) {
        FreeDibImage(&dib);
        return nullptr;
    }
    return dib.bitmap;
}

BOOL CDocIcon::SaveIconBmp(int index, const CString& path) const
{
    HBITMAP bitmap = CreateIconBitmap(index);
    if (!bitmap)
        return FALSE;
    DIBSECTION ds{};
    GetObjectW(bitmap, sizeof(ds), &ds);
    DIB_IMAGE dib{static_cast<BYTE*>(ds.dsBm.bmBits), bitmap, -DibRowSize(ds.dsBm.bmWidth), ds.dsBm.bmWidth,
                  ds.dsBm.bmHeight};
    // A failed write leaves an old file of that name as it was.
    BOOL ok = SaveDibAsBmp(path, &dib);
    FreeDibImage(&dib);
    return ok;
}
