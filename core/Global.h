#pragma once
// The program's one piece of application-wide state: documents, the navi model,
// the view registry, the dialog stack, flags shared with worker threads, the
// settings mirror and the user-interface string table. Documents join as members
// once they exist.
#include <windows.h>

#include "classlib/Afx.h"
#include "classlib/CWnd.h"
#include "core/LanguageFile.h"
#include "core/NaviModelData.h"
#include "doc/DocAb.h"
#include "doc/DocAp.h"
#include "doc/DocCl.h"
#include "doc/DocDr.h"
#include "doc/DocFe.h"
#include "doc/DocIcon.h"
#include "doc/DocIg.h"
#include "doc/DocImport.h"
#include "doc/DocPi.h"
#include "doc/DocRssPoi.h"

class CHttpClient;

// Command sent to every registered view to refresh it from its document.
constexpr UINT ID_UPDATE = 32772;

class CGlobal {
public:
    CGlobal();
    virtual ~CGlobal();
    CGlobal(const CGlobal&) = delete;
    CGlobal& operator=(const CGlobal&) = delete;

    void RegisterView(CWnd* view);
    // Every entry of the view; a view calls it when its window goes, so that
    // UpdateAllViews never reaches a destroyed view.
    void UnregisterView(CWnd* view);
    // Sends ID_UPDATE to each registered view in registration order; a view
    // that a refresh unregistered (its window went) is not called any more.
    void UpdateAllViews();
    // The program's own file version (2.3.0.0 gives 2, 3, 0, 0); zeros when absent.
    static void GetFileVersion(int& v1, int& v2, int& v3, int& v4);
    void LoadSettings();
    void SaveSettings();
    BOOL LoadLanguageFile(const wchar_t* fileName);
    // Once at start-up, after the language file: every document's error texts.
    void InitDocumentErrorTexts();
    // UI string n; an index outside the table raises CInvalidArgException.
    const CString& UiString(INT_PTR n) const { return m_uiStrings.GetAt(n); }

    // Documents
    CDocPi m_docPiMap;
    CDocPi m_docPiCsv;
    CDocPi m_docPiKml;
    CDocPi m_docPiReceived;
    CDocIg m_docIg;
    CDocIcon m_docIcon;
    CDocImport m_docImportPoi;
    CDocImport m_docImportAb;
    // Device data: address book, settings replicator, apps
    CDocAb m_docAb;
    CDocCl m_docCl;
    CDocAp m_docAp;
    // Feeds (the GeoRSS reader's document)
    CDocRssPoi m_docRssPoi;
    // Drive reports and the fuel log
    CDocDr m_docDr;
    CDocFe m_docFe;

    // Model data and views
    CNaviModelData m_naviModel;
    CArray<CWnd*, CWnd*> m_views;

    // Run-time state (not saved)
    int m_appActive = 1;
    int m_viewKind = 0;
    int m_poiListKind = 0;
    int m_menuCategory = 0;
    int m_areaCode = 0;
    // The base address of the web services every caller appends its path to
    // (settings: Option/WebBase); the built-in one until the settings are read.
    // The fuel list's column widths until the user sizes them: wide enough for
    // every heading, unit and currency name of the shipped languages.
    static constexpr const wchar_t* kDefaultFuelColumns = L"115,85,100,105,95,95,95,120,80,175,95,110,120,125";
    static constexpr const wchar_t* kDefaultWebBaseUrl = L"http://www.mirovale.example/mirovale/";
    CString m_webBaseUrl = kDefaultWebBaseUrl;
    CString WebBaseUrl() const { return m_webBaseUrl; }
    // The web address of UI string n: a full address as it is, any other text
    // taken as a path under the web base.
    CString WebAddress(int n) const;
    CString m_rssFolder;
    // 1 while the notice of a received place is open (one at a time).
    int m_receivedMessageOpen = 0;
    volatile int m_rssUpdateBusy = 0;
    volatile int m_rssCancel = 0;
    volatile int m_rssLoadBusy = 0;
    volatile int m_rssLoadCancel = 0;
    CString m_rssTempFolder;
    volatile int m_downloadBusy = 0;
    volatile int m_downloadCancel = 0;
    volatile int m_httpGetStarted = 0;
    CHttpClient* volatile m_activeHttpClient = nullptr;
    volatile HANDLE m_cancelEvent = nullptr;
    CString m_drFuelMasterFolder;
    CString m_drFuelMasterName;
    CString m_poiFileTitle;

    // Settings mirror
    float m_picFileSplit = 0, m_picEditSplit = 0;
    CString m_iconFolder, m_splashFolder;
    RECT m_windowRect{};
    int m_maximized = 0;
    CDWordArray m_drColumns, m_piCsvColumns, m_piKmlColumns, m_piMapColumns, m_piRssColumns, m_abColumns,
        m_fuelColumns, m_unityDlgColumns;
    float m_rssSplit = 0, m_rssListSplit = 0, m_drSplit = 0;
    int m_watchFolder = 0, m_sound = 0, m_animation = 0, m_transparentDlg = 0, m_tempFolder = 0;
    CString m_tempFolderPath;
    CString m_igIniFolder, m_igFileSpec, m_clIniFolder, m_clFileSpec, m_drImportIniFolder, m_drIniFolder,
        m_drFileSpec, m_piIniFolder, m_piFileSpec, m_piCsvIniFolder, m_piCsvFileSpec, m_abIniFolder, m_abFileSpec,
        m_languageFile, m_naviFile;
    int m_modelType = 0;
    int m_changedFewModel = 0, m_delimiter = 0, m_decimal = 0, m_amountUnit = 0, m_distanceUnit = 0,
        m_mileageUnit = 0, m_timeZone = 0, m_timeDifference = 0, m_gasType = 0, m_ecoJudge = 0;

    // Dialogs and the rest
    HWND m_hMapDlg = nullptr;
    CPtrArray m_dialogStack;
    CString m_feIniFolder, m_feFileSpec;
    int m_verCheck = 0;
    CString m_deviceNo;
    // Base address of the apps list service ("https://host[:port]"); empty: not set up.
    CString m_appsService;
    CString m_appTempFolder;
    CStringArray m_uiStrings;

    // Main window and start menu: the header's title edit text (default POI file title).
    CString m_headerTitle;
};

extern CGlobal theGlobal;
