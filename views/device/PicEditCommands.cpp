// The picture editor's edits (crop, cancel, fit, rotate, frame), the icon
// edit dialog, saving the picture and leaving the view.
#include <shlobj.h>

#include "classlib/CWaitCursor.h"
#include "common/ThemeLibrary.h"
#include "core/Global.h"
#include "frame/MessageDlg.h"
#include "res/frame_ids.h"
#include "views/device/IconEditDlg.h"
#include "views/device/PicEditWnd.h"
#include "views/device/PicFrame.h"

namespace {

RECT ToScreen(CWnd& wnd, RECT r)
{
    ::MapWindowPoints(wnd.GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

BOOL CPicEditWnd::ImageHasFocus() const
{
    return m_imagePane.GetSafeHwnd() && ::GetFocus() == m_imagePane.GetSafeHwnd();
}

void CPicEditWnd::OnUpdateTrim(CCmdUI* ui)
{
    if (!PassOn(ui))
        ui->Enable(ImageHasFocus() && theGlobal.m_docIg.HasPicture() && m_imagePane.m_frameShown);
}

void CPicEditWnd::OnUpdateFit(CCmdUI* ui)
{
    if (!PassOn(ui))
        ui->Enable(ImageHasFocus() && m_imagePane.m_frameShown && theGlobal.m_docIg.HasPicture());
}

void CPicEditWnd::OnUpdateEditing(CCmdUI* ui)
{
    if (!PassOn(ui))
        ui->Enable(ImageHasFocus() && theGlobal.m_docIg.HasPicture());
}

void CPicEditWnd::OnUpdateSave(CCmdUI* ui)
{
    if (!PassOn(ui))
        ui->Enable(theGlobal.m_docIg.HasPicture());
}

void CPicEditWnd::OnTrim()
{
    CDocIg& doc = theGlobal.m_docIg;
    const RECT f = m_imagePane.m_frame;
    if (!doc.CropImage(f.left, f.top, f.right - f.left, f.bottom - f.top)) {
        ShowMessage(ErrorText(doc), 0);
        return;
    }
    if (theGlobal.m_animation) {
        const RECT from = ToScreen(m_imagePane, m_imagePane.PictureRectToScreen(f));
        const RECT to = ToScreen(m_imagePane, m_imagePane.m_display);
        AnimateZoomRect(&from, &to, 25, AfxGetMainWnd() ? AfxGetMainWnd()->GetSafeHwnd() : nullptr);
    }
    RefreshPicture();
    m_imagePane.ResetFrame();
}

void CPicEditWnd::OnCancelEdit()
{
    CDocIg& doc = theGlobal.m_docIg;
    if (doc.HasPicture() && doc.m_source.bits) {
        DIB_IMAGE copy;
        InitDibImage(&copy);
        if (SetDibBits(&copy, doc.m_source.width, doc.m_source.height, doc.m_source.bits)) {
            FreeDibImage(&doc.m_working);
            doc.m_working = copy;
        }
        doc.SetModified(0);
    }
    RefreshPicture();
    m_imagePane.ResetFrame();
}

void CPicEditWnd::OnFitWidth()
{
    theGlobal.m_docIg.GetCropRectByWidth(&m_imagePane.m_frame);
    m_imagePane.Invalidate(FALSE);
}

void CPicEditWnd::OnFitHeight()
{
    theGlobal.m_docIg.GetCropRectByHeight(&m_imagePane.m_frame);
    m_imagePane.Invalidate(FALSE);
}

void CPicEditWnd::OnRotateRight() { Rotate(true); }

void CPicEditWnd::OnRotateLeft() { Rotate(false); }

void CPicEditWnd::Rotate(bool right)
{
    CWaitCursor wait;
    CDocIg& doc = theGlobal.m_docIg;
    const RECT onScreen = m_imagePane.PictureRectToScreen(m_imagePane.m_frame);
    if (doc.m_working.bitmap)
        right ? RotateDibRight(&doc.m_working) : RotateDibLeft(&doc.m_working);
    RefreshPicture();
    if (!m_imagePane.SetFrameFromScreenRect(onScreen)) {
        // Kept in picture coordinates, but never beyond the turned picture.
        RECT& f = m_imagePane.m_frame;
        const RECT all{0, 0, m_imagePane.m_picture.width, m_imagePane.m_picture.height};
        if (!::IntersectRect(&f, &f, &all))
            m_imagePane.ResetFrame();
    }
    doc.SetModified(1);
}

void CPicEditWnd::OnToggleFrame()
{
    m_imagePane.m_frameShown = !m_imagePane.m_frameShown;
    RefreshPicture();
}

void CPicEditWnd::OnIconEdit()
{
    CIconEditDlg dialog;
    dialog.DoModal();
}

BOOL CPicEditWnd::SavePicture()
{
    const bool icon = m_mode == ModeIcon;
    if (icon && theGlobal.m_docIcon.GetUserCount() >= MaxUserIcons) {
        ShowMessage(theGlobal.UiString(19), 0);
        return FALSE;
    }
    CString folder = icon ? theGlobal.m_iconFolder : theGlobal.m_splashFolder;
    const int made = ::SHCreateDirectoryExW(nullptr, folder, nullptr);
    if (made != ERROR_SUCCESS && made != ERROR_FILE_EXISTS && made != ERROR_ALREADY_EXISTS) {
        ShowMessage(theGlobal.UiString(13), 0);
        return FALSE;
    }
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != L'\\')
        folder += L'\\';
    SYSTEMTIME now{};
    s_clock(&now);
    // Names go to the second; a second save within it gets the next free
    // name rather than writing over the first picture.
    CString path;
    for (int n = 1;; ++n) {
        path = folder + picframe::SaveFileName(icon ? L"icon" : L"splashscreen", now, n);
        if (::GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
            break;
    }
    CDocIg& doc = theGlobal.m_docIg;
    if (!doc.Save(path)) {
        ShowMessage(ErrorText(doc), 0);
        return FALSE;
    }
    ShowMessage(theGlobal.UiString(16), 0);
    doc.SetModified(0);
    theGlobal.m_docIcon.LoadIcons();
    return TRUE;
}

void CPicEditWnd::OnFileSave()
{
    if (IsCurrent())
        SavePicture();
}

BOOL CPicEditWnd::HasUnsavedWork() const
{
    const CDocIg& doc = theGlobal.m_docIg;
    return doc.HasPicture() && doc.IsModified();
}

BOOL CPicEditWnd::CanLeave()
{
    if (!HasUnsavedWork())
        return TRUE;
    switch (ShowMessage(theGlobal.UiString(23), 3)) {
    case IDYES:
        SavePicture();
        return !theGlobal.m_docIg.IsModified();
    case IDNO:
        return TRUE;
    default:
        return FALSE;
    }
}

void CPicEditWnd::ResetDocument()
{
    theGlobal.m_docIg.Clear();
    FreeDibImage(&m_imagePane.m_picture);
    if (m_imagePane.GetSafeHwnd())
        m_imagePane.Invalidate(FALSE);
}

void CPicEditWnd::OnBack()
{
    if (!IsCurrent() || !CanLeave())
        return;
    ResetDocument();
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_COMMAND, ID_MAIN_MENU, 0);
}

void CPicEditWnd::OnTop()
{
    if (!IsCurrent() || !CanLeave())
        return;
    ResetDocument();
    CWnd* main = AfxGetMainWnd();
    if (!main)
        return;
    main->SendMessage(WM_COMMAND, ID_MENU_REFRESH, 0);
    main->SendMessage(WM_COMMAND, ID_MAIN_MENU, 0);
}
