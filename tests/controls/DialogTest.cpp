// The skinned dialog base: region and size, restyled children and labels,
// caption and caption buttons, system commands, translucency, the frame it
// paints, and the program-wide dialog stack.
#include <functional>

#include "DialogTestResources.h"
#include "ImageFixtures.h"
#include "SkinTestFixture.h"
#include "common/DibImage.h"
#include "common/FileArchive.h"
#include "controls/CustomDialog.h"
#include "controls/WindowText.h"
#include "core/Global.h"

using namespace skintest;

namespace {

class CTestSkinDialog : public CCustomDialog {
public:
    CTestSkinDialog(UINT id, CWnd* parent) : CCustomDialog(id, parent) {}
    BOOL OnInitDialog() override
    {
        if (forceSize)
            SetWindowPos(static_cast<HWND>(nullptr), 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
        initResult = CCustomDialog::OnInitDialog();
        if (afterInit)
            afterInit(*this);
        return initResult;
    }
    void OnCancel() override
    {
        if (m_onCancel)
            m_onCancel(*this);
        CCustomDialog::OnCancel();
    }
    bool forceSize = false;
    BOOL initResult = 12345;
    std::function<void(CTestSkinDialog&)> afterInit;
    std::function<void(CTestSkinDialog&)> m_onCancel;
};

class SkinDialog : public SkinGuiTest {
protected:
    void TearDown() override
    {
        theGlobal.m_transparentDlg = 0;
        theGlobal.m_animation = 0;
        theGlobal.m_dialogStack.RemoveAll();
        SkinGuiTest::TearDown();
    }
    // Rectangle of a child in its dialog's client coordinates.
    static CRect ChildRect(const CWnd& dialog, int id)
    {
        CRect r;
        ::GetWindowRect(::GetDlgItem(dialog.m_hWnd, id), &r);
        dialog.ScreenToClient(&r);
        return r;
    }
    static LOGFONTW FontOf(HWND hwnd)
    {
        LOGFONTW lf{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
        return lf;
    }
};

TEST_F(SkinDialog, RegionAndHeightFollowTheCaptionBand)
{
    CTestSkinDialog dlg(IDD_SKIN_TEST, &main);
    dlg.forceSize = true;
    ASSERT_TRUE(dlg.Create(IDD_SKIN_TEST, &main));
    EXPECT_EQ(dlg.initResult, TRUE);
    EXPECT_EQ(dlg.GetTopHeight(), 25);
    CRect window;
    dlg.GetWindowRect(&window);
    EXPECT_EQ(window.Width(), 200);
    EXPECT_EQ(window.Height(), 125);
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(dlg.GetWindowRgn(rgn), ERROR);
    CRect box;
    ::GetRgnBox(rgn, &box);
    EXPECT_EQ(box.bottom, 125);
    EXPECT_TRUE(::PtInRegion(rgn, 100, 124));
    EXPECT_FALSE(::PtInRegion(rgn, 100, 125));
    EXPECT_FALSE(::PtInRegion(rgn, 0, 0));   // stepped top corners
    EXPECT_FALSE(::PtInRegion(rgn, 199, 0));
    EXPECT_TRUE(::PtInRegion(rgn, 100, 0));
    EXPECT_TRUE(::PtInRegion(rgn, 1, 60));
    EXPECT_FALSE(::PtInRegion(rgn, 0, 123));  // the slanted bottom-left corner
    ::DeleteObject(rgn);
    dlg.DestroyWindow();
}

TEST_F(SkinDialog, ChildrenMoveDownAndLoseTheirBorders)
{
    CDialog plain(IDD_SKIN_TEST, &main);
    ASSERT_TRUE(plain.Create(IDD_SKIN_TEST, &main));
    CTestSkinDialog dlg(IDD_SKIN_TEST, &main);
    ASSERT_TRUE(dlg.Create(IDD_SKIN_TEST, &main));
    const CRect before = ChildRect(plain, IDOK), after = ChildRect(dlg, IDOK);
    EXPECT_EQ(after.top, before.top + 25);
    EXPECT_EQ(after.left, before.left);
    const CRect editBefore = ChildRect(plain, IDC_EDIT), editAfter = ChildRect(dlg, IDC_EDIT);
    EXPECT_EQ(editAfter.left, editBefore.left + 2);
    EXPECT_EQ(editAfter.top, editBefore.top + 25 + 2);
    EXPECT_EQ(editAfter.Width(), editBefore.Width() - 4);
    HWND edit = ::GetDlgItem(dlg, IDC_EDIT);
    EXPECT_FALSE(::GetWindowLongW(edit, GWL_STYLE) & WS_BORDER);
    EXPECT_FALSE(::GetWindowLongW(edit, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
    plain.DestroyWindow();
    dlg.DestroyWindow();
}

struct LabelCase {
    int id;
    const wchar_t* text;
    COLORREF colour;
    LONG weight;
    LONG height;
};

TEST_F(SkinDialog, PrefixedLabelsAreStyledAndPlainChildrenKeepTheirClass)
{
    CTestSkinDialog dlg(IDD_SKIN_TEST, &main);
    ASSERT_TRUE(dlg.Create(IDD_SKIN_TEST, &main));
    const LabelCase cases[] = {
        {IDC_TITLE, L"Title word", RGB(0x48, 0x4C, 0x71), 600, -13},
        {IDC_NOTE, L"A note", RGB(0x00, 0x80, 0xE1), 200, -11},
        {IDC_NORMAL, L"Normal label", RGB(0x48, 0x4C, 0x71), 200, -12},
        {IDC_COMMENT, L"Comment", RGB(0x4A, 0x64, 0x9C), 200, -11},
    };
    for (const LabelCase& c : cases) {
        HWND label = ::GetDlgItem(dlg, c.id);
        EXPECT_STREQ(AfxGetWindowText(label), c.text);
        auto* styled = dynamic_cast<CCustomStatic*>(CWnd::FromHandlePermanent(label));
        ASSERT_NE(styled, nullptr) << c.id;
        EXPECT_EQ(styled->m_textColor, c.colour);
        const LOGFONTW lf = FontOf(label);
        EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
        EXPECT_EQ(lf.lfWeight, c.weight);
        EXPECT_EQ(lf.lfHeight, c.height);
    }
    HWND plain = ::GetDlgItem(dlg, IDC_PLAIN);
    EXPECT_STREQ(AfxGetWindowText(plain), L"Plain");
    EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
    wchar_t cls[32]{};
    ::GetClassNameW(plain, cls, 32);
    EXPECT_STREQ(cls, L"Static");
    EXPECT_EQ(FontOf(plain).lfHeight, -12);
    EXPECT_EQ(FontOf(plain).lfWeight, 200);
    dlg.DestroyWindow();
}

TEST_F(SkinDialog, CaptionComesFromTheStringOfTheTemplateId)
{
    CTestSkinDialog dlg(IDD_SKIN_TEST, &main);
    ASSERT_TRUE(dlg.Create(IDD_SKIN_TEST, &main));
    EXPECT_STREQ(dlg.GetCaption(), L"Skin caption");
    dlg.SetCaption(L"Changed");
    EXPECT_STREQ(dlg.GetCaption(), L"Changed");
    dlg.SetCaption(nullptr);
    EXPECT_STREQ(dlg.GetCaption(), L"");
    dlg.DestroyWindow();

    CTestSkinDialog untitled(IDD_SKIN_UNTITLED, &main);
    ASSERT_TRUE(untitled.Create(IDD_SKIN_UNTITLED, &main));
    EXPECT_STREQ(untitled.GetCaption(), L"");
    untitled.DestroyWindow();
}

TEST_F(SkinDialog, CaptionButtonsSitAtTheRightOfTheBand)
{
    struct Case {
        BOOL close, minimize;
    };
    for (const Case c : {Case{TRUE, FALSE}, Case{FALSE, TRUE}, Case{TRUE, TRUE}}) {
        CTestSkinDialog dlg(IDD_SKIN_TEST, &main);
        dlg.m_showClose = c.close;
        dlg.m_showMinimize = c.minimize;
        ASSERT_TRUE(dlg.Create(IDD_SKIN_TEST, &main));
        CRect client;
        dlg.GetClientRect(&client);
        EXPECT_EQ(dlg.m_btnClose.IsWindowVisible(), c.close);
        EXPECT_EQ(dlg.m_btnMinimize.IsWindowVisible(), c.minimize);
        CRect closeRect, minRect;
        dlg.m_btnClose.GetWindowRect(&closeRect);
        dlg.m_btnMinimize.GetWindowRect(&minRect);
        dlg.ScreenToClient(&closeRect);
        dlg.ScreenToClient(&minRect);
        if (c.close) {
            EXPECT_EQ(closeRect.right, client.Width() - 5);
            EXPECT_EQ(closeRect.top, 4);
            EXPECT_EQ(closeRect.Width(), 26);
        }
        if (c.minimize) {
            EXPECT_EQ(minRect.right, c.close ? closeRect.left - 1 : client.Width() - 5);
            EXPECT_EQ(minRect.top, 4);
        }
        dlg.DestroyWindow();
    }
}

TEST_F(SkinDialog, CloseButtonEndsTheModalDialogWithCancel)
{
    CTestSkinDialog dlg(IDD_SKIN_TEST, &main);
    dlg.afterInit = [](CTestSkinDialog& d) {
        ::PostMessageW(d.m_btnClose, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::PostMessageW(d.m_btnClose, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    // The click went to the dialog in front, not to the main window.
    EXPECT_EQ(main.Count(WM_SYSCOMMAND), 0);
}

TEST_F(SkinDialog, KeysEndTheModalDialogAsAnyDialog)
{
    const std::pair<UINT, INT_PTR> cases[] = {{VK_ESCAPE, IDCANCEL}, {VK_RETURN, IDOK}};
    for (auto [key, result] : cases) {
        CTestSkinDialog dlg(IDD_SKIN_TEST, &main);
        dlg.afterInit = [key = key](CTestSkinDialog& d) {
            HWND edit = ::GetDlgItem(d, IDC_EDIT);
            ::SetFocus(edit);
            ::PostMessageW(edit, WM_KEYDOWN, key, 1);
        };
        EXPECT_EQ(dlg.DoModal(), result) << key;
    }
}

TEST_F(SkinDialog, MinimizeTakesTheWholeProgramDown)
{
    CTestSkinDialog dlg(IDD_SKIN_TEST, &main);
    ASSERT_TRUE(dlg.Create(IDD_SKIN_TEST, &main));
    main.carryOutSysCommands = true;
    ::SendMessageW(dlg, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(main.IsIconic());
    EXPECT_NE(::GetActiveWindow(), main.m_hWnd);
    main.ShowWindow(SW_RESTORE);
    dlg.DestroyWindow();
}

TEST_F(SkinDialog, TranslucentWhenTheOptionIsOn)
{
    theGlobal.m_transparentDlg = 1;
    CTestSkinDialog dlg(IDD_SKIN_TEST, &main);
    ASSERT_TRUE(dlg.Create(IDD_SKIN_TEST, &main));
    EXPECT_TRUE(dlg.GetExStyle() & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(dlg, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 229);
    EXPECT_TRUE(flags & LWA_ALPHA);
    dlg.DestroyWindow();

    theGlobal.m_transparentDlg = 0;
    CTestSkinDialog opaque(IDD_SKIN_TEST, &main);
    ASSERT_TRUE(opaque.Create(IDD_SKIN_TEST, &main));
    EXPECT_FALSE(opaque.GetExStyle() & WS_EX_LAYERED);
    opaque.DestroyWindow();
}

TEST_F(SkinDialog, BandDragsTheDialogAndStaticsAreNotFilled)
{
    CTestSkinDialog dlg(IDD_SKIN_TEST, &main);
    ASSERT_TRUE(dlg.Create(IDD_SKIN_TEST, &main));
    POINT band{60, 10}, body{60, 60};
    dlg.ClientToScreen(&band);
    dlg.ClientToScreen(&body);
    EXPECT_EQ(::SendMessageW(dlg, WM_NCHITTEST, 0, MAKELPARAM(band.x, band.y)), HTCAPTION);
    EXPECT_EQ(::SendMessageW(dlg, WM_NCHITTEST, 0, MAKELPARAM(body.x, body.y)), HTCLIENT);
    HDC dc = ::GetDC(dlg);
    const LRESULT brush = ::SendMessageW(dlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDC_PLAIN)));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), ::GetStockObject(NULL_BRUSH));
    EXPECT_EQ(::GetBkColor(dc), RGB(0xA8, 0xAB, 0xB0));
    ::ReleaseDC(dlg, dc);
    dlg.DestroyWindow();
}

TEST_F(SkinDialog, PaintsTheFrameBodyAndCaption)
{
    CTestSkinDialog dlg(IDD_SKIN_TEST, &main);
    ASSERT_TRUE(dlg.Create(IDD_SKIN_TEST, &main));
    dlg.MoveWindow(50, 50, 300, 200);
    Settle(dlg);
    const Pixels shown(dlg.m_hWnd);
    DIB_IMAGE corner{};
    ASSERT_TRUE(LoadDibFromPack(L"dialog_bottomright.bmp", &corner));
    EXPECT_TRUE(Near(shown.At(300 - 24 + 12, 200 - 24 + 12), DibPixel(corner, 12, 12), 2));
    FreeDibImage(&corner);
    // Body colour where no child sits.
    EXPECT_TRUE(Near(shown.At(250, 170), RGB(0xA8, 0xAB, 0xB0), 1));
    // The caption's light text in the band.
    int light = 0;
    for (int y = 0; y < 25; ++y)
        for (int x = 8; x < 150; ++x)
            light += Near(shown.At(x, y), RGB(0xE6, 0xE8, 0xE8), 25);
    EXPECT_GT(light, 20);
    dlg.DestroyWindow();
}

TEST_F(SkinDialog, FramePiecesArePaintedAtTheirOwnSizes)
{
    // A skin whose pieces are not the usual 25 and 24 pixels, one colour each.
    using imagetest::Rgb;
    auto plain = [](int w, int h, Rgb c) { return imagetest::MakeBmp(w, h, [c](int, int) { return c; }); };
    const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, yellow{255, 255, 0}, cyan{0, 255, 255},
        magenta{255, 0, 255}, grey{200, 200, 200}, dark{10, 10, 10};
    const CString realPack = theFileArchive.GetPath();
    ASSERT_TRUE(imagetest::OpenPack({{"dialog_topleft.bmp", plain(30, 31, red)},
                                     {"dialog_top.bmp", plain(10, 31, green)},
                                     {"dialog_topright.bmp", plain(28, 31, blue)},
                                     {"dialog_left.bmp", plain(20, 10, yellow)},
                                     {"dialog_right.bmp", plain(18, 10, cyan)},
                                     {"dialog_bottomleft.bmp", plain(22, 16, magenta)},
                                     {"dialog_bottom.bmp", plain(10, 16, grey)},
                                     {"dialog_bottomright.bmp", plain(26, 16, dark)}}));
    CTestSkinDialog dlg(IDD_SKIN_UNTITLED, &main);
    ASSERT_TRUE(dlg.Create(IDD_SKIN_UNTITLED, &main));
    theFileArchive.Open(realPack);
    EXPECT_EQ(dlg.initResult, TRUE);
    EXPECT_EQ(dlg.GetTopHeight(), 31);
    Settle(dlg);
    CRect client;
    dlg.GetClientRect(&client);
    const int W = client.Width(), H = client.Height(), mid = 31 + (H - 31 - 16) / 2;
    const Pixels shown(dlg.m_hWnd);
    shown.SavePng(L"dialog_frame_sizes");
    auto rgb = [](Rgb c) { return RGB(c.r, c.g, c.b); };
    const COLORREF body = RGB(0xA8, 0xAB, 0xB0);
    const struct {
        int x, y;
        COLORREF expected;
    } points[] = {
        {29, 29, rgb(red)},         {30, 29, rgb(green)},       {W - 29, 29, rgb(green)},  {W - 28, 29, rgb(blue)},
        {W - 1, 30, rgb(blue)},     {19, mid, rgb(yellow)},     {20, mid, body},           {W - 18, mid, rgb(cyan)},
        {W - 19, mid, body},        {21, H - 1, rgb(magenta)},  {22, H - 1, rgb(grey)},    {W / 2, H - 16, rgb(grey)},
        {W / 2, H - 17, body},      {W - 27, H - 1, rgb(grey)}, {W - 26, H - 1, rgb(dark)}, {19, H - 17, rgb(yellow)},
        {W / 2, 31, body},
    };
    for (const auto& p : points)
        EXPECT_TRUE(Near(shown.At(p.x, p.y), p.expected, 2))
            << "(" << p.x << "," << p.y << ") is " << std::hex << shown.At(p.x, p.y);
    dlg.DestroyWindow();
}

TEST_F(SkinDialog, SwitchKeepsTheDialogHiddenAtTheEndOfItsStart)
{
    CTestSkinDialog modeless(IDD_SKIN_TEST, &main);
    modeless.m_startHidden = TRUE;
    ASSERT_TRUE(modeless.Create(IDD_SKIN_TEST, &main));
    EXPECT_FALSE(modeless.IsWindowVisible());
    EXPECT_TRUE(modeless.IsOnDialogStack());
    modeless.DestroyWindow();

    CTestSkinDialog modal(IDD_SKIN_TEST, &main);
    modal.m_startHidden = TRUE;
    BOOL visibleInLoop = TRUE;
    modal.afterInit = [&](CTestSkinDialog& d) { d.PostMessage(WM_COMMAND, IDCANCEL); };
    modal.m_onCancel = [&](CTestSkinDialog& d) { visibleInLoop = d.IsWindowVisible(); };
    EXPECT_EQ(modal.DoModal(), IDCANCEL);
    EXPECT_FALSE(visibleInLoop);
}

TEST_F(SkinDialog, OpenDialogsAreStackedFrontMostLast)
{
    CTestSkinDialog first(IDD_SKIN_TEST, &main), second(IDD_SKIN_UNTITLED, &main);
    ASSERT_TRUE(first.Create(IDD_SKIN_TEST, &main));
    ASSERT_TRUE(second.Create(IDD_SKIN_UNTITLED, &first));
    CPtrArray& stack = theGlobal.m_dialogStack;
    ASSERT_EQ(stack.GetSize(), 2);
    EXPECT_EQ(stack[0], &first);
    EXPECT_EQ(stack[1], &second);
    second.DestroyWindow();
    ASSERT_EQ(stack.GetSize(), 1);
    EXPECT_EQ(stack[0], &first);
    first.DestroyWindow();
    EXPECT_EQ(stack.GetSize(), 0);
}

TEST_F(SkinDialog, DialogWhoseStartFailedLeavesTheOthersOnTheStack)
{
    CTestSkinDialog open(IDD_SKIN_TEST, &main);
    ASSERT_TRUE(open.Create(IDD_SKIN_TEST, &main));
    ASSERT_EQ(theGlobal.m_dialogStack.GetSize(), 1);
    {
        // No skin pieces: the start fails and the dialog is not stacked.
        const CString pack = theFileArchive.GetPath();
        theFileArchive.Open(L"C:\\no\\such.qpk");
        CTestSkinDialog failed(IDD_SKIN_UNTITLED, &open);
        failed.Create(IDD_SKIN_UNTITLED, &open);
        theFileArchive.Open(pack);
        EXPECT_EQ(failed.initResult, FALSE);
        EXPECT_FALSE(failed.IsOnDialogStack());
        EXPECT_FALSE(failed.m_btnClose.m_hWnd);
        failed.DestroyWindow();
    }
    // Never shown at all, only built and dropped.
    { CTestSkinDialog unused(IDD_SKIN_TEST, &main); }
    ASSERT_EQ(theGlobal.m_dialogStack.GetSize(), 1);
    EXPECT_EQ(theGlobal.m_dialogStack[0], &open);
    open.DestroyWindow();
    EXPECT_EQ(theGlobal.m_dialogStack.GetSize(), 0);
}

TEST_F(SkinDialog, ModalDialogIsOnTheStackOnlyWhileOpen)
{
    CTestSkinDialog dlg(IDD_SKIN_TEST, &main);
    INT_PTR seen = -1;
    dlg.afterInit = [&](CTestSkinDialog& d) {
        seen = theGlobal.m_dialogStack.GetSize();
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(theGlobal.m_dialogStack.GetSize(), 0);
}

}  // namespace

