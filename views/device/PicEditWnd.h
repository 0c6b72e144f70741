#pragma once
// The picture editor: a photo of the user's turned into a POI icon or a
// start-up picture of the unit's size, saved as a BMP in the per-user icon
// or splash folder (the icons reach the card with every POI export). Left
// the folder tree and thumbnails, right the picture with its crop frame.
//
// Files: PicEditWnd.cpp creation, layout, paint, splitter, modes, idle;
// PicEditBrowse.cpp the folder tree, thumbnails, opening and dragging a
// picture; PicEditCommands.cpp the edits, saving and leaving.
#include "common/DibImage.h"
#include "controls/CustomButton.h"
#include "frame/SplitDrag.h"
#include "frame/ViewWnd.h"
#include "views/device/PicFileWnd.h"
#include "views/device/PicImageWnd.h"

// Asks which of two choices; IDYES (first), IDNO (second) or IDCANCEL
// (Escape or the close button). IDYES without asking when a text is empty.
int AskTwoChoices(const wchar_t* text, const wchar_t* first, const wchar_t* second);

class CPicEditWnd : public CViewWnd {
public:
    enum { FolderTimer = 999, ModeIcon = 1, ModeScreen = 2, MaxUserIcons = 50 };
    CPicEditWnd();
    ~CPicEditWnd() override;

    int m_mode = ModeIcon;
    int m_asked = 0;
    CPicFileWnd m_filePane;
    CPicImageWnd m_imagePane;
    CCustomButton m_btnIconMode, m_btnScreenMode, m_btnSave, m_btnSelect;
    DIB_IMAGE m_footer, m_splitTop, m_splitTile, m_splitBottom;
    // The folders of the newest tree selection change (owned copies).
    LPITEMIDLIST m_newFolder = nullptr, m_oldFolder = nullptr;
    // The newest selection change was a fallback after a failed listing: a
    // failing fallback does not fall back again (two unlistable folders would
    // take turns). Set by that change alone, so a fallback that selects
    // nothing new leaves no guard behind.
    bool m_fallingBack = false;
    bool m_selectingFallback = false;
    // Thumbnail drag.
    int m_dragKind = 0;
    CImageList* m_dragImages = nullptr;
    int m_thumbDragging = 0;
    int m_overTarget = 0;
    CString m_dragPath;
    // Splitter.
    int m_leftWidth = 0;
    RECT m_bar{};
    CSplitDrag m_split{FALSE};

    // The local time of a save (tests set their own clock).
    using ClockFn = void (*)(SYSTEMTIME*);
    static ClockFn s_clock;
    // A folder as the settings keep it: its item list as lower-case hex
    // (empty when it cannot be written).
    static CString FolderSetting(LPCITEMIDLIST pidl);
    // Lists a folder in the thumbnails (seam for tests); FALSE when it cannot.
    using ListFolderFn = BOOL (*)(CCustomThumbCtrl& thumbs, const CPidl* folder);
    static ListFolderFn s_listFolder;

    void Layout();
    void RefreshPicture();
    // Opens a picture file (asks before replacing one); TRUE when opened.
    BOOL OpenPicture(const CString& path);
    void SetMode(int mode);
    // Saves the working picture; TRUE when written.
    BOOL SavePicture();

    BOOL HasUnsavedWork() const override;
    BOOL CanLeave() override;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnShowWindow(BOOL show, UINT status);
    void OnTimer(UINT_PTR id);
    void OnDestroy();
    void OnLButtonDown(UINT flags, CPoint pt);
    void OnMouseMove(UINT flags, CPoint pt);
    void OnLButtonUp(UINT flags, CPoint pt);
    LRESULT OnUserIdle(WPARAM, LPARAM);
    void Refresh();
    void OnIconMode();
    void OnScreenMode();
    void OnUpdateIconMode(CCmdUI* ui);
    void OnUpdateScreenMode(CCmdUI* ui);
    void OnUpdateFileOpen(CCmdUI* ui);

    // Browsing (PicEditBrowse.cpp).
    void OnInitFolder();
    void OnTreeSelChanged(NMHDR* nm, LRESULT* result);
    void OnTreeFocus(NMHDR* nm, LRESULT* result);
    void OnThumbDblClk(NMHDR* nm, LRESULT* result);
    void OnThumbBeginDrag(NMHDR* nm, LRESULT* result);
    void OnShellBack();
    void OnShellUp();
    void OnUpdateShellBack(CCmdUI* ui);
    void OnUpdateShellUp(CCmdUI* ui);
    void OnSelectImage();
    void OnUpdateSelectImage(CCmdUI* ui);
    void ListFolder();
    void RememberFolder(LPCITEMIDLIST pidl);
    void EndThumbDrag(bool drop);

    // Edits, saving and leaving (PicEditCommands.cpp).
    void OnTrim();
    void OnCancelEdit();
    void OnFitWidth();
    void OnFitHeight();
    void OnRotateRight();
    void OnRotateLeft();
    void Rotate(bool right);
    void OnToggleFrame();
    void OnIconEdit();
    void OnFileSave();
    void OnBack();
    void OnTop();
    void OnUpdateTrim(CCmdUI* ui);
    void OnUpdateFit(CCmdUI* ui);
    void OnUpdateEditing(CCmdUI* ui);
    void OnUpdateSave(CCmdUI* ui);
    void OnUpdateCurrent(CCmdUI* ui);
    // TRUE (and the update goes on to the other views) while hidden.
    BOOL PassOn(CCmdUI* ui) const;
    BOOL ImageHasFocus() const;
    void ResetDocument();
    DECLARE_MESSAGE_MAP()
};
