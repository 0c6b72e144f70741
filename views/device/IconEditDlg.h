#pragma once
// Shows the user's own icons and deletes the ones no longer wanted (the
// delete button or the Del key, no question asked). The icon document is
// reloaded after each deletion; documents whose default icon is a later user
// icon keep their picture (the icon document follows them by file name).
#include "controls/CustomButton.h"
#include "controls/CustomDialog.h"
#include "controls/CustomThumbCtrl.h"

class CIconEditDlg : public CCustomDialog {
public:
    CIconEditDlg();
    ~CIconEditDlg() override;

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Fills the grid with the icon document's user icons.
    void FillThumbnails();
    // Deletes the selected user icon (nothing without one).
    void OnDelete();

    CCustomThumbCtrl m_grid;
    CCustomButton m_btnDelete, m_btnOK;

    // Where the grid sits, in client coordinates.
    static const RECT kGridRect;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()
};
