#pragma once
// The apps view (body view 12): the apps the service offers for the unit
// (left) and those on its apps card (right); mark up to eight, write them to
// the card, delete installed ones. Downloads and transfers run on a worker
// thread behind the progress dialog, which can cancel them.
//
// Files: ApWnd.cpp building, layout and painting; ApCommands.cpp finding the
// card, loading, marking, deleting, writing and leaving; ApWebListCtrl.cpp the
// lists; ApTask.cpp the worker behind the progress dialog.
#include <functional>

#include "common/DibImage.h"
#include "common/GdiplusText.h"
#include "controls/CustomButton.h"
#include "frame/ViewWnd.h"
#include "views/device/ApWebListCtrl.h"

#define IDC_AP_WEB_LIST   59675
#define IDC_AP_CARD_LIST  59676
#define ID_DRIVE_SELECT   32933

class CApWnd : public CViewWnd {
public:
    enum { kMaxAppsOnCard = 8 };
    // The write button's caption; the note under the lists names it.
    static constexpr const wchar_t* kWriteCaption = L"SD";

    CApWnd();
    ~CApWnd() override;

    // Seams for tests: the drive chooser (requireDeviceFile: list only apps
    // cards; the chosen root, FALSE for Cancel), the apps card search and the
    // page opener.
    using ChooseDriveFn = BOOL (*)(BOOL requireDeviceFile, CString& root);
    using FindCardFn = BOOL (*)();
    static ChooseDriveFn s_chooseDrive;
    static FindCardFn s_findAppsCard;
    static void (*s_openPage)(HWND owner, const wchar_t* address);

    // The country code of the language file (UI string 387, leading digits).
    static int CountryCode();
    // The name a row shows (list AP_LIST_SERVER or AP_LIST_CARD) and the row
    // texts of the two lists.
    static CString RowName(int list, int row);
    static CString WebRowText(int row);
    static CString CardRowText(int row);
    // The check image of an offered app: 1 not marked, 2 marked, 3 cannot be marked.
    static int CheckImage(int row);

    // Whether the card heading names a card. A running task may be writing
    // the card root: meanwhile the heading stays as the task found it.
    BOOL ShowsCard() const;

    CApWebListCtrl m_webList, m_cardList;
    CCustomButton m_export, m_driveSelect;
    CImageList m_checkImages, m_cardFrames;
    CRect m_noteRect;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnShowWindow(BOOL show, UINT status);
    void OnLButtonDown(UINT flags, CPoint pt);
    LRESULT OnUserIdle(WPARAM, LPARAM);
    void OnRefresh();
    void OnDriveSelect();
    void OnExport();
    void OnLeave();
    void OnUpdateExport(CCmdUI* ui);
    void OnUpdateDriveSelect(CCmdUI* ui);
    void OnWebBeginEdit(NMHDR* nm, LRESULT* result);
    void OnWebEndEdit(NMHDR* nm, LRESULT* result);
    void OnWebDispInfo(NMHDR* nm, LRESULT* result);
    void OnCardBeginEdit(NMHDR* nm, LRESULT* result);
    void OnCardEndEdit(NMHDR* nm, LRESULT* result);
    void OnCardDispInfo(NMHDR* nm, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    // Runs work on the worker behind the progress dialog; the lists show no
    // rows meanwhile. FALSE when the user cancelled.
    BOOL RunTask(const std::function<void()>& work);
    // The card path chosen by the user (empty for none) and the remembered
    // device number updated from its device file.
    CString ChooseCard(BOOL remembered);
    void RememberDeviceFile(const CString& root);
    // Downloads the offered list with its icons and reads the card's apps.
    // Loud says a failed download; Quiet does not; NewCard is quiet, reads the
    // card all the same and asks once more for an empty offered list.
    enum LoadKind { Loud, Quiet, NewCard };
    void LoadApps(const CString& cardPath, LoadKind kind);
    void AttachIcons();
    BOOL ServiceConfigured();
    void ShowDocError();
    void Repaint();

    DIB_IMAGE m_separator{}, m_arrow{}, m_cardIcon{}, m_noCardIcon{};
    CUtilGdiplus m_text;
    BOOL m_busy = FALSE;  // a worker uses the document
    BOOL m_cardBeforeTask = FALSE;
};
