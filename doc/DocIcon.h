#pragma once
// The POI icons a POI file may name: the stock icons of the model type (from
// the skin pack) and up to 50 user icons (24-bit BMPs in the per-user icon
// folder). Icon index: stock icons first, then user icons.
#include <windows.h>
#include <commctrl.h>

#include "doc/Doc.h"

enum IconDocError {
    ICERR_WRITE = 6,          // a bitmap, text or symbol file cannot be written or converted
    ICERR_CREATE_FOLDER = 7,  // a folder cannot be created
    ICERR_DELETE = 8,         // an old file or a user icon cannot be deleted
};

constexpr int ICON_MAX_USER = 50;
constexpr int ICON_STOCK_GROUPED = 74;  // stock icons of model types 0 and 2
// The symbol group of the user icons (0x7101).
constexpr int ICON_USER_GROUP = 28929;

// A name the unit's own icon files have on the card ("poi_mapclose.bmp", any case).
bool IsUnitIconFileName(const CString& name);
// Model types 0 and 2: stock icons share pictures through the group table.
bool IsGroupedModel(int type);

class CDocIcon : public CDoc {
public:
    CDocIcon();
    ~CDocIcon() override;

    BOOL Load(const wchar_t*) override { return ReturnTrue(); }
    BOOL Save(const wchar_t*) override { return ReturnTrue(); }
    void InitErrorStrings() override;

    // Rebuilds both image lists, the stock count and the user icons. FALSE
    // when an image list cannot be made (the document then holds none).
    BOOL LoadIcons();
    void GetIconSize(SIZE* out) const;
    CString GetIconIdString(int index) const;
    int ParseStockIconId(const CString& text) const;
    int ParseUserIconId(const CString& text) const;
    // userIconNames[n]; an n outside the list raises CInvalidArgException.
    CString GetUserIconName(int n) const { return m_userIconNames[n]; }
    int FindIconByImage(int pickerIndex) const;
    // The first stock icon of 0..last (a grouped model's table) that shows
    // the picker entry, or -1.
    int FirstIconWithImage(int pickerIndex, int last) const;
    BOOL DeleteUserIcon(int n);
    // The icon's picture drawn into a new 24-bit DIB section of the icon size,
    // or NULL; the caller deletes it.
    HBITMAP CreateIconBitmap(int index) const;

    // Card exports after the POI KML files: loose bitmaps (model types 0 and 2)
    // or one symbol file (the others).
    BOOL ExportUserIconBitmaps(const CString& cardRoot);
    BOOL ExportCustomPoiSymbols(const CString& cardRoot);

    int GetStockCount() const { return m_stockCount; }
    int GetUserCount() const { return m_userCount; }

    HIMAGELIST m_allIcons = nullptr;
    HIMAGELIST m_pickerIcons = nullptr;
    CStringArray m_userIconNames;
    struct GROUP_ENTRY {
        int pickerIndex;
        int isFirst;
    };
    GROUP_ENTRY m_groupTable[ICON_STOCK_GROUPED]{};
    int m_stockCount = 0;
    int m_userCount = 0;

private:
    BOOL LoadIconLists();
    void DestroyLists();
    BOOL SaveIconBmp(int index, const CString& path) const;
};
