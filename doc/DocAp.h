#pragma once
// The unit's apps: those the apps list service offers (the server list) and
// those installed on the chosen card (the card list), with their icons, the
// card's root and the unit's device number.
#include <string>

#include "classlib/CImageList.h"
#include "doc/ApRecord.h"
#include "doc/AppList.h"
#include "doc/Doc.h"

enum ApDocError {
    APERR_CREATE_FOLDER = 6,
    APERR_SERVICE_400 = 7,
    APERR_SERVICE_401 = 8,
    APERR_SERVICE_402 = 9,
    APERR_SERVICE_403 = 10,
    APERR_SERVICE_501 = 12,
    APERR_SERVICE_502 = 13,
    APERR_SERVICE_503 = 14,
    APERR_HTTP = 21,
};

enum ApList { AP_LIST_SERVER = 0, AP_LIST_CARD = 1 };

// A row of the apps view's lists.
struct AP_ROW_INFO {
    int checked;
    int iconIndex;
    wchar_t id[256];
    LONGLONG size;
};

constexpr int AP_ICON_WIDTH = 58;
constexpr int AP_ICON_HEIGHT = 54;
constexpr wchar_t AP_CARD_FOLDER[] = L"Oskra-APPS";
// Path of the apps list service on its host.
constexpr wchar_t AP_SERVICE_PATH[] = L"/oskraapp/DownloadListAPI";

class CDocAp : public CDoc {
public:
    CDocAp() = default;

    BOOL Load(const wchar_t*) override { return ReturnTrue(); }
    BOOL Save(const wchar_t*) override { return ReturnTrue(); }
    void InitErrorStrings() override;

    void ClearAll();
    BOOL GetRowInfo(int list, int index, AP_ROW_INFO* out) const;
    int CountChecked() const;
    CString GetDescriptionUrl(int index) const;
    BOOL IsUpdate(int index) const;
    BOOL IsNewOrUpdate(int index) const;
    void RemoveIconless();
    BOOL SetDeviceNumber(const wchar_t* text);
    BOOL GetDeviceNumber(CString& out) const;
    CString GetCardRoot() const { return m_cardRoot; }

    // Card files.
    static BOOL HasDeviceFile(const wchar_t* cardRoot);
    BOOL ReadDeviceFile(const wchar_t* cardRoot);
    // FALSE when the file cannot be read or is damaged (entries then empty).
    static BOOL ReadApplistFile(const wchar_t* path, CAppListEntries& entries);
    // The card's installed apps that the server list offers. A missing list is
    // an empty card; a damaged one is refused (error 2) and the lists stay.
    BOOL LoadCardApps(const wchar_t* cardRoot);
    // Writes the card's list entries (all of them, also apps not shown); no
    // entries left deletes the file.
    BOOL SaveCardApplist(const wchar_t* cardRoot);
    BOOL DeleteCardApp(int index);
    // Downloads the ticked server apps and installs them on the card; error 3
    // on any failure, with the card's list file as it was.
    BOOL TransferToCard(const wchar_t* cardRoot, int country, int modelType);

    // The apps list service.
    BOOL DownloadList(int country, int modelType);
    BOOL PostRequest(const wchar_t* localPath, const wchar_t* url, int country, int modelType);
    std::string BuildPostBody(int modelType, int country) const;
    static CString GetModelClassCode(int modelType);
    CString GetDeviceNumberText() const;
    BOOL ParseDownloadList(const wchar_t* path);
    BOOL LoadRowIcons(int list);

    // Ends a download, an icon load or a transfer running on another thread:
    // it fails as soon as its current step notices (error 3 for a transfer,
    // which leaves the card as it was). Cleared by ResetCancel before each run.
    void Cancel();
    void ResetCancel() { m_cancel = 0; }
    BOOL IsCancelled() const { return m_cancel != 0; }

    // "https://host[:port]" of the apps list service (configuration).
    CString m_serviceBase;
    // Time-out of each download phase and connect tries.
    DWORD m_downloadTimeout = 600000;
    DWORD m_downloadRetries = 10;

    CArray<CDocApRecord> m_serverApps;
    CArray<CDocApRecord> m_cardApps;
    CImageList m_serverIcons;
    CImageList m_cardIcons;
    CString m_cardRoot;
    BYTE m_deviceNumber[16] = {};
    // Every entry of the card's list file, also those not shown.
    CAppListEntries m_cardEntries;
    volatile LONG m_cancel = 0;

private:
    CArray<CDocApRecord>& List(int list) { return list == AP_LIST_SERVER ? m_serverApps : m_cardApps; }
    CImageList& Icons(int list) { return list == AP_LIST_SERVER ? m_serverIcons : m_cardIcons; }
    const CDocApRecord* FindCardApp(const CString& id) const;
    BOOL DownloadAppFiles(const CDocApRecord& app, const CString& folder);
};

// The apps folder of a card root, ending in a backslash.
CString GetAppsCardFolder(const wchar_t* cardRoot);
