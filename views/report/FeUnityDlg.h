#pragma once
// The merge dialog: lists the selected fuel records, the newest of them and
// the record they merge into; OK stores the merged values into the newest
// record and marks the others for removal.
#include <vector>

#include "controls/CustomDialog.h"
#include "controls/CustomListCtrl.h"
#include "views/report/FuelMerge.h"

class CFeUnityDlg : public CCustomDialog {
public:
    enum { ResultMerged = 1062 };
    CFeUnityDlg();
    ~CFeUnityDlg() override;

    // Inputs: the selected records, top to bottom.
    std::vector<int> m_indices;
    // Results: the merge (kept record, its values before and after) and the
    // other records' values before they were marked.
    FUEL_MERGE m_merge;
    std::vector<int> m_removed;
    std::vector<DOCFUEL_VIEW_DATA> m_removedBefore;
    CString m_intro = L"&b";
    int m_summaryRows = 0;

    CCustomButton m_btnOk, m_btnCancel;
    CCustomListCtrl m_list;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnMergeOk() { OnOK(); }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    void AddRow(const CString& first, const DOCFUEL_VIEW_DATA& r);
    HFONT m_font = nullptr;
};
