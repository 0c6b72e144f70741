// Every control of the button family, the check buttons, the statics, the
// icon button and the skinned dialog in every state side by side, drawn from
// the real skin pack; the run saves shots/gallery_a.png.
#include "DialogTestResources.h"
#include "SkinTestFixture.h"
#include "common/ButtonStrips.h"
#include "common/ThemeLibrary.h"
#include "controls/ButtonMessages.h"
#include "controls/CustomCheckButton.h"
#include "controls/CustomDialog.h"
#include "controls/CustomLightStatic.h"
#include "controls/IconButton.h"
#include "controls/MultiTextButton.h"

#include <commctrl.h>

#include <memory>

using namespace skintest;

namespace {

const COLORREF kGalleryBack = RGB(0x3A, 0x40, 0x4A);
const COLORREF kLightBand = RGB(0xA8, 0xAB, 0xB0);

// The gallery shows looks the mouse alone would not hold still.
class CShownMulti : public CMultiTextButton {
public:
    void Show(int state) { SetStateValue(state); }
};
class CShownCheck : public CCustomCheckButton {
public:
    void ShowHot() { m_buttonState |= kHot; }
};
class CShownIcon : public CIconButton {
public:
    void Show(int state) { m_state = state; }
};

class CGalleryWnd : public CWnd {
public:
    std::vector<std::unique_ptr<CShownMulti>> alpha;
    std::vector<std::pair<POINT, const wchar_t*>> captions;

protected:
    void OnPaint()
    {
        CPaintDC dc(this);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(230, 230, 230));
        HGDIOBJ old = dc.SelectObject(::GetStockObject(DEFAULT_GUI_FONT));
        for (auto& [at, text] : captions)
            dc.TextOut(at.x, at.y, text);
        dc.SelectObject(old);
        // The alpha buttons are drawn by their parent.
        for (auto& b : alpha) {
            CRect r;
            b->GetWindowRect(&r);
            ScreenToClient(&r);
            b->Draw(r.TopLeft(), dc);
        }
    }
    BOOL OnEraseBkgnd(CDC* dc)
    {
        // Self-painted controls that show their parent through ask for this.
        CRect client;
        GetClientRect(&client);
        dc->FillSolidRect(&client, kGalleryBack);
        // Check buttons are made for the light dialog body.
        dc->FillSolidRect(CRect(0, 262, 850, 314), kLightBand);
        return TRUE;
    }
    LRESULT OnDrawAlpha(WPARAM, LPARAM)
    {
        Invalidate(FALSE);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CGalleryWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_REGISTERED_MESSAGE(WM_DRAW_ALPHA_IMAGE, OnDrawAlpha)
END_MESSAGE_MAP()

HIMAGELIST g_icons = nullptr;
HIMAGELIST GalleryIcons() { return g_icons; }
int GalleryIconIndex(int) { return 0; }

class GalleryA : public GuiTest {};

TEST_F(GalleryA, EveryControlInEveryState)
{
    ASSERT_TRUE(OpenRealPack());
    LoadThemeLibraries();
    CGalleryWnd gallery;
    ASSERT_TRUE(gallery.CreateEx(0, nullptr, L"gallery a", WS_POPUP | WS_VISIBLE, 0, 0, 1000, 640, nullptr, nullptr));
    app.m_pMainWnd = &gallery;
    std::vector<std::unique_ptr<CWnd>> keep;
    std::vector<CRect> areas;  // where something must have been drawn
    auto add = [&](auto* wnd) {
        keep.emplace_back(wnd);
        return wnd;
    };
    auto area = [&](CWnd* wnd) {
        CRect r;
        wnd->GetWindowRect(&r);
        gallery.ScreenToClient(&r);
        areas.push_back(r);
    };

    // Push buttons: pack strips in states 0-4, a built strip, a single picture.
    gallery.captions.push_back({{8, 2}, L"Push buttons, states normal / pressed / checked / hot / disabled: close, minimize, map look-up, built strip, single picture"});
    struct StripRow {
        const wchar_t *format, *base, *s0, *s1, *s2, *s3, *s4;
        int x, step;
    };
    const StripRow rows[] = {
        {L"sysbtn_close_%s.bmp", L"sysbtn_close_normal.bmp", L"normal", L"pressed", L"pressed", L"hot", L"disable", 8, 32},
        {L"sysbtn_icon_%s.bmp", L"sysbtn_icon_normal.bmp", L"normal", L"pressed", L"pressed", L"hot", nullptr, 178, 32},
        {L"btn_Google_%s.bmp", L"btn_Google_0.bmp", L"0", L"1", L"2", L"3", L"4", 348, 54},
    };
    UINT id = 100;
    for (const StripRow& r : rows)
        for (int s = 0; s < kStateCount; ++s) {
            auto* b = add(new CCustomButton);
            ASSERT_TRUE(b->Create(CRect(r.x + s * r.step, 20, r.x + s * r.step, 20), &gallery, ++id, FALSE));
            ASSERT_TRUE(b->LoadBitmaps(r.format, r.base, r.s0, r.s1, r.s2, r.s3, r.s4));
            b->SetRoundRegion();
            b->SetState(s);
            area(b);
        }
    for (int s = 0; s < kStateCount; ++s) {
        auto* b = add(new CCustomButton);
        ASSERT_TRUE(BuildButtonImage(&b->m_strip, L"Export", 81, 25, 100, FALSE));
        ASSERT_TRUE(b->Create(CRect(8 + s * 86, 52, 89 + s * 86, 77), &gallery, ++id, FALSE));
        b->SetState(s);
        area(b);
    }
    {
        auto* b = add(new CCustomButton);
        ASSERT_TRUE(b->Create(CRect(630, 20, 630, 20), &gallery, ++id, FALSE));
        ASSERT_TRUE(b->LoadBitmaps(nullptr, L"caption_menu_btn.bmp", nullptr, nullptr, nullptr, nullptr, nullptr));
        area(b);
    }

    // Alpha buttons, drawn by the gallery: POI in each state, then two-line captions.
    gallery.captions.push_back({{8, 84}, L"Alpha / multi-text buttons: states 0-4, then two-line captions (pressed, checked)"});
    for (int s = 0; s < kStateCount + 2; ++s) {
        auto* b = new CShownMulti;
        gallery.alpha.emplace_back(b);
        const bool twoLines = s >= kStateCount;
        ASSERT_TRUE(b->Create(CRect(8 + s * 140, 100, 8 + s * 140, 100), &gallery, ++id, FALSE));
        ASSERT_TRUE(b->LoadImages(twoLines ? L"btn_Menu_Tools_%s.png" : L"btn_Menu_POI_%s.png", L"check", L"check"));
        b->LoadTwoLineImage(L"btn_Menu_Tools_Multi_pressed.png", kStatePressed);
        b->LoadTwoLineImage(L"btn_Menu_Tools_Multi_check.png", kStateChecked);
        b->SetTextRect(RECT{10, 100, 140, 124});
        b->SetSecondLineRect(RECT{10, 120, 140, 142});
        b->ResetTextColors();
        b->SetText(twoLines ? L"Points of interest" : L"POI");
        b->Show(twoLines ? (s == kStateCount ? kStatePressed : kStateChecked) : s);
        if (s == kStateDisabled)
            b->EnableWindow(FALSE), b->Show(kStateDisabled);
        area(b);
    }

    // Check boxes and radio buttons.
    gallery.captions.push_back({{8, 250}, L"Check boxes: off, on, mixed, hot, pushed, disabled off, disabled on;  radios: off, on, pushed, hot, disabled"});
    struct CheckLook {
        DWORD kind;
        int check;
        bool hot, pushed, disabled;
        const wchar_t* text;
    };
    const CheckLook looks[] = {
        {BS_AUTOCHECKBOX, 0, false, false, false, L"Off"},     {BS_AUTOCHECKBOX, 1, false, false, false, L"On"},
        {BS_AUTO3STATE, 2, false, false, false, L"Mixed"},     {BS_AUTOCHECKBOX, 1, true, false, false, L"Hot"},
        {BS_AUTOCHECKBOX, 0, false, true, false, L"Pushed"},   {BS_AUTOCHECKBOX, 0, false, false, true, L"Disabled"},
        {BS_AUTOCHECKBOX, 1, false, false, true, L"Disabled"}, {BS_RADIOBUTTON, 0, false, false, false, L"Off"},
        {BS_RADIOBUTTON, 1, false, false, false, L"On"},       {BS_RADIOBUTTON, 1, false, true, false, L"Pushed"},
        {BS_RADIOBUTTON, 0, true, false, false, L"Hot"},       {BS_RADIOBUTTON, 1, false, false, true, L"Disabled"},
    };
    for (int i = 0; i < static_cast<int>(std::size(looks)); ++i) {
        const CheckLook& l = looks[i];
        auto* c = add(new CShownCheck);
        const int x = 8 + (i < 7 ? i : i - 7) * 120, y = i < 7 ? 266 : 290;
        ASSERT_TRUE(c->Create(l.text, l.kind | WS_VISIBLE, CRect(x, y, x + 110, y + 20), &gallery, ++id));
        c->SetCheck(l.check);
        c->SetPushed(l.pushed);
        if (l.hot)
            c->ShowHot();
        if (l.disabled)
            c->EnableWindow(FALSE);
        area(c);
    }

    // Statics.
    gallery.captions.push_back({{8, 316}, L"Statics: left, centred, right, three lines centred as a block; GDI+ label at 150 percent"});
    const std::pair<const wchar_t*, DWORD> statics[] = {
        {L"Left aligned text", SS_LEFT},
        {L"Centred text", SS_CENTER},
        {L"Right aligned text", SS_RIGHT},
        {L"Line one\nLine two\nLine three", SS_CENTER | SS_CENTERIMAGE},
    };
    for (int i = 0; i < 4; ++i) {
        auto* s = add(new CCustomStatic(RGB(255, 230, 150)));
        ASSERT_TRUE(s->Create(statics[i].first, statics[i].second | WS_VISIBLE, CRect(8 + i * 170, 332, 168 + i * 170, 392), &gallery));
        area(s);
    }
    {
        auto* s = add(new CCustomLightStatic);
        s->m_percent = 150;
        s->m_text.SetTextColor(RGB(255, 255, 255));
        ASSERT_TRUE(s->Create(L"Anti-aliased label", SS_CENTER | SS_CENTERIMAGE | WS_VISIBLE, CRect(688, 332, 988, 392), &gallery));
        area(s);
    }

    // Icon button with a POI icon, each state.
    gallery.captions.push_back({{8, 398}, L"Icon button: normal, pressed, checked, hot, disabled"});
    DIB_IMAGE icon{};
    ASSERT_TRUE(LoadDibFromPack(L"746_POI_002.bmp", &icon));
    g_icons = ImageList_Create(32, 32, ILC_COLOR24, 1, 0);
    ImageList_Add(g_icons, icon.bitmap, nullptr);
    FreeDibImage(&icon);
    theIconButtonSource = {&GalleryIcons, &GalleryIconIndex};
    for (int s = 0; s < kStateCount; ++s) {
        auto* b = add(new CShownIcon);
        ASSERT_TRUE(b->Create(CRect(8 + s * 62, 414, 64 + s * 62, 448), &gallery, ++id));
        b->SetRoundRegion();
        b->m_kind = 2;
        b->Show(s);
        area(b);
    }

    // Skinned dialogs: close only; minimize with a disabled close, translucent.
    gallery.captions.push_back({{340, 398}, L"Skinned dialogs: close button; minimize and disabled close"});
    CCustomDialog first(IDD_SKIN_TEST, &gallery), second(IDD_SKIN_TEST, &gallery);
    ASSERT_TRUE(first.Create(IDD_SKIN_TEST, &gallery));
    second.m_showMinimize = TRUE;
    ASSERT_TRUE(second.Create(IDD_SKIN_TEST, &gallery));
    second.m_btnClose.EnableWindow(FALSE);
    second.SetCaption(L"Second dialog");
    first.SetWindowPos(static_cast<HWND>(nullptr), 340, 414, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    second.SetWindowPos(static_cast<HWND>(nullptr), 670, 414, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::SetDlgItemTextW(first, IDC_EDIT, L"Edit field");

    PointerAway();
    gallery.Invalidate();
    Settle(gallery);
    Settle(first);
    Settle(second);
    PumpUntil([] { return false; }, 300);
    Settle(gallery);

    CRect screen;
    gallery.GetWindowRect(&screen);
    const Pixels shot(screen);
    EXPECT_TRUE(shot.SavePng(L"gallery_a"));
    for (const CRect& r : areas)
        EXPECT_GT(shot.CountOther(r, r.top >= 262 && r.bottom <= 314 ? kLightBand : kGalleryBack, 4), 20)
            << r.left << "," << r.top;
    // The dialogs' body colour shows where they sit.
    CRect body;
    first.GetWindowRect(&body);
    EXPECT_TRUE(Near(shot.At(body.right - 40, body.bottom - 40), RGB(0xA8, 0xAB, 0xB0), 2));

    first.DestroyWindow();
    second.DestroyWindow();
    theIconButtonSource = {nullptr, nullptr};
    ImageList_Destroy(g_icons);
    g_icons = nullptr;
    app.m_pMainWnd = nullptr;
    gallery.DestroyWindow();
}

}  // namespace
