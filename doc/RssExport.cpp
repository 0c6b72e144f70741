// Chosen feed items as a KML file on the PC and on the card: written by the POI
// document's KML writer and card export, so both follow the POI files' rules.
#include "core/Global.h"
#include "doc/DocPi.h"
#include "doc/DocRssPoi.h"

namespace {

// The checked items of shown[first, last) as the records of a POI document.
void FillPoiDocument(const CArray<DOCPI_RSS_ITEM>& shown, int first, int last, int icon, const CString& folder,
                     CDocPi& poi)
{
    poi.m_defaultIcon = icon;
    poi.SetFolderName(folder);
    for (int i = first; i < last; ++i) {
        const DOCPI_RSS_ITEM& item = shown[i];
        if (item.check != 1)
            continue;
        DOCPI_RECORD rec;
        CDocRssPoi::GetItemAsPoiRecord(item, &rec);
        // Markup taken from a feed is no text for the unit.
        if (rec.description[0] == L'<')
            rec.description[0] = L'\0';
        poi.m_records.Add(CDocPiRecord());
        poi.m_records[poi.m_records.GetSize() - 1].FromDocPiRecord(rec);
    }
}

}  // namespace

BOOL CDocRssPoi::WriteItemsKml(const wchar_t* path, int first, int last)
{
    CDocPi poi;
    {
        CRssLock hold(m_itemLock);
        int end = GetShownItemCount();
        if (last < end)
            end = last;
        if (first < 0)
            first = 0;
        FillPoiDocument(m_shownItems, first, end, m_defaultIcon, m_folderName, poi);
    }
    if (!path || !poi.WriteKml(path, 0, poi.GetRecordCount())) {
        m_errorCode = RSSERR_WRITE_KML;
        return FALSE;
    }
    return TRUE;
}

BOOL CDocRssPoi::ExportToCard(const wchar_t* targetPath)
{
    m_errorCode = DOCERR_NONE;
    // The list is being replaced: there is nothing settled to export.
    if (theGlobal.m_rssLoadBusy) {
        m_errorCode = RSSERR_BUSY;
        return FALSE;
    }
    CString target = targetPath ? targetPath : L"";
    int slash = target.ReverseFind(L'\\');
    if (slash <= 0 || slash + 1 >= target.GetLength()) {
        m_errorCode = RSSERR_CREATE_FOLDER;
        return FALSE;
    }
    CDocPi poi;
    {
        CRssLock hold(m_itemLock);
        FillPoiDocument(m_shownItems, 0, GetShownItemCount(), m_defaultIcon, m_folderName, poi);
    }
    if (poi.GetRecordCount() == 0)
        return TRUE;
    int perFile = poi.GetMaxPoiPerFile();
    if (perFile > 0 && !CDocPi::CheckCardFileCount(target.Left(slash), poi.GetRecordCount(), perFile)) {
        m_errorCode = RSSERR_TOO_MANY_FILES;
        return FALSE;
    }
    if (!poi.ExportToCard(target)) {
        switch (poi.GetErrorCode()) {
        case PIERR_CREATE_FOLDER:
            m_errorCode = RSSERR_CREATE_FOLDER;
            break;
        case PIERR_CARD_SIZE:
            m_errorCode = RSSERR_CARD_SIZE;
            break;
        default:
            m_errorCode = RSSERR_WRITE_KML;
            break;
        }
        return FALSE;
    }
    return TRUE;
}
