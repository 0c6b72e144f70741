#pragma once
// The start menu (body view 0): a panel with up to four category buttons;
// a category shows its task buttons, and each task switches to its view.
// Hovering a category fades its picture in, leaving fades it out.
#include <memory>

#include "common/GdiplusText.h"
#include "controls/CustomButton.h"
#include "controls/MultiTextButton.h"
#include "frame/PaneImages.h"
#include "frame/ViewWnd.h"

class CMainMenuWnd : public CViewWnd {
public:
    enum : UINT_PTR { FadeInTimer = 501, FadeOutTimer = 502 };
    enum { kCategoryCount = 4, kTaskCount = 10 };

    CMainMenuWnd();
    ~CMainMenuWnd() override;
    void SetCategory(int category);
    // Button of a command (category or task), null for any other id.
    CMultiTextButton* ButtonOf(UINT command);
    const CRect& GetPanel() const { return m_panel; }
    int m_fadeIn = -1, m_fadeInAlpha = 0;
    int m_fadeOut = -1, m_fadeOutAlpha = 255;
    CCustomButton m_partner;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnTimer(UINT_PTR id);
    LRESULT OnBeginTrack(WPARAM, LPARAM id);
    LRESULT OnLeaveTrack(WPARAM, LPARAM id);
    LRESULT OnDrawAlpha(WPARAM, LPARAM);
    void OnCategory(UINT id);
    void OnOpenKml();
    void OnFuelReport();
    void OnSensis();
    void OnPartners();
    void OnMenuRefresh();
    DECLARE_MESSAGE_MAP()

private:
    void CheckCategoryButton(int category);
    void ShowTaskButtons(int category);
    void Layout();
    int PictureOfCategory(int category) const;
    // A button's pictures; FALSE when one is there but cannot be decoded, when
    // the normal picture is missing, or when no stream can be made.
    BOOL LoadButtonPictures(int index);
    // Keeps the name for the start-up message; -1 for OnCreate to return.
    static int NoteUnreadable(LPCWSTR name);
    CMultiTextButton m_buttons[kCategoryCount + kTaskCount];
    CPaneImages<8> m_images;
    Gdiplus::Image* m_plate = nullptr;
    CRect m_panel;
    CUtilGdiplus m_text;
};

// The skin picture that failed the last creation of the start menu (missing or
// not decodable); empty when none did.
const CString& UnreadableStartMenuPicture();
// The start-up message when the main window cannot be created: the fixed text,
// then the picture to blame when the start menu could not read one.
CString MainWindowFailureText();

// The partner service's home page, opened by the partner buttons.
extern const wchar_t* const kPartnerHomePage;
