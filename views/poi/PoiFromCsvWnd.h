#pragma once
// The import view of body views 1 and 9: rows of a delimited text file (or of
// the Windows Address Book) in a preview table, a panel that says which column
// holds which field and from which row on, and CONVERT, which turns the rows
// into POIs (mode 0) or address-book entries (mode 1).
//
// Files: PoiFromCsvWnd.cpp building, layout, painting and the combos;
// PoiFromCsvCommands.cpp the commands and messages.
#include "common/DibImage.h"
#include "common/GdiplusText.h"
#include "controls/CustomButton.h"
#include "controls/CustomComboBox.h"
#include "controls/CustomListCtrl.h"
#include "doc/DocImport.h"
#include "frame/ViewWnd.h"
#include "res/poi_ids.h"

// Controls of the view.
#define IDC_CSV_PREVIEW_LIST    59664
#define IDC_CSV_START_ROW       10000
#define IDC_CSV_LONGITUDE       10001
#define IDC_CSV_LATITUDE        10002
#define IDC_CSV_NAME            10003
#define IDC_CSV_ADDRESS         10004
#define IDC_CSV_TELEPHONE       10005
#define IDC_CSV_DESCRIPTION     10006

class CPoiFromCsvWnd : public CViewWnd {
public:
    enum { kColumnCombos = 6, kMaxColumns = 56, kMaxStartRows = 10, kCellChars = 128 };
    enum { kButtonWidth = 192, kButtonHeight = 48 };

    CPoiFromCsvWnd();
    ~CPoiFromCsvWnd() override;

    // The import document of the mode.
    CDocImport& ImportDocument() const;
    // Column letter of index k (0 "A" ... 55 "BD"); empty outside.
    static CString ColumnLetter(int k);

    // Refills the start-row combo (1 .. min(rowCount, 10)) when rowCount is not
    // 0 and the six column combos (" - ", then columnCount letters) when
    // columnCount is not 0; item 0 selected.
    void FillColumnCombos(int rowCount, int columnCount);
    // Every combo back to the single item " - ".
    void ResetColumnCombos();

    // The file dialog the open command shows; tests answer it in its place.
    using FileDialogFn = BOOL (*)(HWND owner, const wchar_t* initialFolder, int kind, BOOL open, wchar_t* path);
    static FileDialogFn s_fileDialog;
    // Whether a Windows Address Book is installed to be read.
    static BOOL (*s_addressBookInstalled)();
    // Reads the address book's contacts into a document (CDocImport::ImportWab).
    static BOOL (*s_readAddressBook)(CDocImport& into);

    CCustomListCtrl m_list;
    CCustomComboBox m_startRow;
    CCustomComboBox m_columns[kColumnCombos];  // longitude, latitude, name, address, telephone, description
    CCustomButton m_open, m_convert, m_openAb;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnShowWindow(BOOL show, UINT status);
    void OnLButtonDown(UINT flags, CPoint pt);
    LRESULT OnUserIdle(WPARAM, LPARAM);
    void OnGetDispInfo(NMHDR* nm, LRESULT* result);
    void OnFileOpen();
    void OnOpenAb();
    void OnConvert();
    void OnUpdate();
    void OnBack();
    void OnTop();
    void OnUpdateShown(CCmdUI* ui);
    void OnUpdateConvert(CCmdUI* ui);
    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateButton(CCustomButton& button, UINT id, int caption);
    // Panel of the mapping combos and labels, in client coordinates.
    CRect MappingPanel(const CRect& client) const;
    // After a file or the address book was read.
    void ShowReadRows();
    // Back and Top: the preview and the combos are emptied.
    void ClearImport();
    BOOL IsShown() const { return m_hWnd && (GetStyle() & WS_VISIBLE); }

    DIB_IMAGE m_footer{};
    CUtilGdiplus m_text;
};
