#include "frame/ViewTable.h"

#include "core/Global.h"
#include "frame/MainMenuWnd.h"
#include "frame/PlaceholderView.h"
#include "res/frame_ids.h"
#include "views/device/AbWnd.h"
#include "views/device/ApWnd.h"
#include "views/device/CloningWnd.h"
#include "views/device/IconSelectDlg.h"
#include "views/device/PicEditWnd.h"
#include "views/poi/PoiFromCsvWnd.h"
#include "views/poi/PoiReaderWnd.h"
#include "views/poi/PoiSearchWnd.h"
#include "views/poi/PoiSendToCarDlg.h"
#include "views/poi/PoiWnd.h"
#include "views/report/DriveReportWnd.h"
#include "views/report/FeWnd.h"

namespace {

std::unique_ptr<CWnd> MakeMainMenu(const VIEW_TABLE_ROW&) { return std::make_unique<CMainMenuWnd>(); }
std::unique_ptr<CWnd> MakeFeedReader(const VIEW_TABLE_ROW&) { return std::make_unique<CPoiReaderWnd>(); }

template <class View>
std::unique_ptr<CWnd> MakePlainView(const VIEW_TABLE_ROW&)
{
    return std::make_unique<View>();
}

// A view whose mode comes from its row (the import views, the POI lists).
template <class View>
std::unique_ptr<CWnd> MakeModeView(const VIEW_TABLE_ROW& row)
{
    auto view = std::make_unique<View>();
    view->m_mode = row.mode;
    return view;
}

// The address book finds an entry's position with the map look-up dialog.
std::unique_ptr<CWnd> MakeAddressBook(const VIEW_TABLE_ROW& row)
{
    if (!CAbWnd::s_mapLookup)
        CAbWnd::s_mapLookup = LookUpEntryPosition;
    return MakeModeView<CAbWnd>(row);
}

}  // namespace

const VIEW_TABLE_ROW kViewCreationOrder[kViewCount] = {
    {0, ID_MAIN_MENU, 75, L"MainMenu", 0, false, MakeMainMenu},
    {6, ID_CLONING, 76, L"SettingsReplicator", 0, false, MakePlainView<CCloningWnd>},
    {10, ID_DRIVE_REPORT, 77, L"DriveReport", 0, true, MakePlainView<CDriveReportWnd>},
    {7, ID_PICTURE_EDIT, 78, L"PictureEditor", 0, true, MakePlainView<CPicEditWnd>},
    {1, ID_POI_FROM_CSV, 80, L"FromCSV", 0, true, MakeModeView<CPoiFromCsvWnd>},
    {2, ID_POI_EDIT_CSV, 80, L"PoiEditCsv", 2, true, MakeModeView<CPoiWnd>},
    {3, ID_POI_EDIT_KML, 85, L"PoiEditKml", 3, true, MakeModeView<CPoiWnd>},
    {4, ID_POI_MAP, 83, L"PoiMap", 4, true, MakeModeView<CPoiSearchWnd>},
    {5, ID_POI_RSS_READER, 89, L"PoiGeoRss", 0, true, MakeFeedReader},
    {9, ID_ADDRESS_BOOK_IMPORT, 91, L"AddressBookImport", 1, true, MakeModeView<CPoiFromCsvWnd>},
    {8, ID_ADDRESS_BOOK, 90, L"AddressBookEdit", 0, true, MakeAddressBook},
    {11, ID_FUEL_REPORT, 93, L"FuelReport", 0, true, MakePlainView<CFeWnd>},
    {12, ID_APPS, 406, L"Apps", 0, true, MakePlainView<CApWnd>},
};

const VIEW_TABLE_ROW* FindViewRow(int index)
{
    for (const auto& row : kViewCreationOrder)
        if (row.index == index)
            return &row;
    return nullptr;
}

int ViewIndexOfCommand(unsigned command)
{
    for (const auto& row : kViewCreationOrder)
        if (row.command == command)
            return row.index;
    return -1;
}

std::unique_ptr<CWnd> MakeView(const VIEW_TABLE_ROW& row)
{
    if (row.make)
        return row.make(row);
    auto view = std::make_unique<CPlaceholderView>(row.titleString, row.registered);
    view->m_mode = row.mode;
    return view;
}

BOOL ChooseDocumentIcon(int preset, int& value)
{
    CIconSelectDlg dlg;
    dlg.m_icon = preset;
    if (dlg.DoModal() != IDOK)
        return FALSE;
    // A stock pick of model types 0 and 2 is a picture; the documents keep
    // the first table row showing it.
    const int chosen = dlg.m_icon;
    value = chosen < dlg.GetStockCount() ? theGlobal.m_docIcon.FindIconByImage(chosen) : chosen;
    return TRUE;
}
