// The program's message box under Xvfb with the real skin pack and the shipped
// English strings, answered with real keys and clicks.
#include <cstring>

#include "DialogDriver.h"
#include "common/ButtonStrips.h"
#include "core/Global.h"
#include "frame/MessageDlg.h"
#include "res/dialog_ids.h"

using namespace dlgtest;

namespace {

const wchar_t kText[] = L"Save the changes?";

// The strip the button would carry for label.
bool StripShows(const CCustomButton& button, const CString& label)
{
    DIB_IMAGE expected;
    InitDibImage(&expected);
    if (!BuildButtonImage(&expected, label, 146, 38, 100, FALSE))
        return false;
    ::GdiFlush();
    const bool same = expected.width == button.m_strip.width && expected.height == button.m_strip.height &&
                      std::memcmp(expected.bits, button.m_strip.bits,
                                  static_cast<size_t>(DibRowSize(expected.width)) * expected.height) == 0;
    FreeDibImage(&expected);
    return same;
}

struct ButtonCase {
    UINT id;
    int x;
    int label;
    int result;
};

struct StyleCase {
    int style;
    std::vector<ButtonCase> buttons;
    const wchar_t* defaultCaption;
};

const StyleCase kStyleCases[] = {
    {0, {{1010, 220, 135, IDOK}}, L"メッセージ"},
    {1, {{1009, 137, 135, IDOK}, {1011, 303, 136, IDCANCEL}}, L"確認"},
    {3, {{1008, 54, 139, IDYES}, {1010, 220, 140, IDNO}, {1012, 386, 136, IDCANCEL}}, L"確認"},
    {4, {{1009, 137, 139, IDYES}, {1011, 303, 140, IDNO}}, L"確認"},
    {10, {{1008, 54, 137, IDYES}, {1010, 220, 138, IDNO}, {1012, 386, 136, IDCANCEL}}, L"確認"},
    {11, {{1009, 137, 137, IDYES}, {1011, 303, 136, IDCANCEL}}, L"確認"},
};

const StyleCase& CaseOf(int style)
{
    for (const StyleCase& c : kStyleCases)
        if (c.style == style)
            return c;
    return kStyleCases[0];
}

class MessageDialog : public DialogTest {};

TEST_F(MessageDialog, EachStyleShowsItsButtonsLabelsAndDefaultCaption)
{
    for (const StyleCase& c : kStyleCases) {
        SCOPED_TRACE(c.style);
        CMessageDlg box(nullptr, &main);
        const INT_PTR result = RunModal([&] { return box.DoMessage(kText, c.style); },
                                        [&](CCustomDialog& dlg) {
            EXPECT_EQ(&dlg, &box);
            EXPECT_STREQ(box.GetCaption(), c.defaultCaption);
            CRect window;
            box.GetWindowRect(&window);
            EXPECT_EQ(window.Width(), 586);
            EXPECT_EQ(window.Height(), 191 + box.GetTopHeight());
            for (UINT id = IDC_MSG_BUTTON_LEFT; id <= IDC_MSG_BUTTON_RIGHT; ++id) {
                const bool wanted = std::any_of(c.buttons.begin(), c.buttons.end(),
                                                [&](const ButtonCase& b) { return b.id == id; });
                EXPECT_EQ(box.GetButton(id) != nullptr, wanted) << id;
            }
            for (const ButtonCase& b : c.buttons) {
                CCustomButton* button = box.GetButton(b.id);
                ASSERT_NE(button, nullptr);
                CRect r;
                button->GetWindowRect(&r);
                box.ScreenToClient(&r);
                EXPECT_EQ(r, CRect(b.x, 148, b.x + 146, 148 + 38)) << b.id;
                EXPECT_TRUE(StripShows(*button, theGlobal.UiString(b.label))) << b.id;
            }
            EXPECT_STREQ(AfxGetWindowText(box.m_textStatic.m_hWnd), kText);
            if (c.style == 3)
                SaveShot(box.m_hWnd, L"message_style3");
            ClickChild(box.GetButton(c.buttons.back().id)->m_hWnd);
        });
        EXPECT_EQ(result, c.buttons.back().result);
    }
}

TEST_F(MessageDialog, EveryButtonAnswersItsResultWhenClicked)
{
    for (const StyleCase& c : kStyleCases)
        for (const ButtonCase& b : c.buttons) {
            SCOPED_TRACE(testing::Message() << "style " << c.style << " button " << b.id);
            CMessageDlg box(L"Caption", &main);
            const INT_PTR result = RunModal([&] { return box.DoMessage(kText, c.style); },
                                            [&](CCustomDialog&) { ClickChild(box.GetButton(b.id)->m_hWnd); });
            EXPECT_EQ(result, b.result);
        }
}

struct KeyCase {
    int style;
    int enterMeansYes;
    WORD key;
    int result;  // 0: the box stays open
};

TEST_F(MessageDialog, KeysAnswerPerStyle)
{
    const KeyCase cases[] = {
        {0, 0, VK_RETURN, IDOK},   {0, 0, VK_ESCAPE, IDOK},   {1, 0, VK_RETURN, IDOK},    {1, 0, VK_ESCAPE, IDCANCEL},
        {3, 0, VK_RETURN, 0},      {3, 1, VK_RETURN, IDYES},  {3, 0, VK_ESCAPE, IDCANCEL}, {3, 0, 'Y', IDYES},
        {3, 0, 'N', IDNO},         {4, 0, VK_RETURN, 0},      {4, 1, VK_RETURN, IDYES},   {4, 0, VK_ESCAPE, 0},
        {4, 0, 'Y', IDYES},        {4, 0, 'N', IDNO},         {10, 1, VK_RETURN, 0},      {10, 0, VK_ESCAPE, IDCANCEL},
        {10, 0, 'Y', 0},           {10, 0, 'N', 0},           {11, 1, VK_RETURN, 0},      {11, 0, VK_ESCAPE, IDCANCEL},
        {11, 0, 'Y', 0},
    };
    for (const KeyCase& k : cases) {
        SCOPED_TRACE(testing::Message() << "style " << k.style << " enter-yes " << k.enterMeansYes << " key "
                                        << k.key);
        CMessageDlg box(nullptr, &main);
        box.m_enterMeansYes = k.enterMeansYes;
        bool stayed = false;
        const INT_PTR result = RunModal([&] { return box.DoMessage(kText, k.style); }, [&](CCustomDialog& dlg) {
            PressKey(k.key);
            if (!WaitEnded(dlg, k.result ? 1500 : 300)) {
                stayed = true;
                ClickChild(box.GetButton(CaseOf(k.style).buttons.back().id)->m_hWnd);
            }
        });
        if (k.result) {
            EXPECT_FALSE(stayed);
            EXPECT_EQ(result, k.result);
        } else {
            EXPECT_TRUE(stayed);
            EXPECT_EQ(result, CaseOf(k.style).buttons.back().result);
        }
    }
}

TEST_F(MessageDialog, CloseButtonIsCancelExceptInTheYesNoBox)
{
    const struct {
        int style;
        int result;
    } cases[] = {{0, IDOK}, {1, IDCANCEL}, {3, IDCANCEL}, {10, IDCANCEL}, {11, IDCANCEL}, {4, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        CMessageDlg box(nullptr, &main);
        bool enabled = true;
        const INT_PTR result = RunModal([&] { return box.DoMessage(kText, c.style); }, [&](CCustomDialog& dlg) {
            enabled = box.m_btnClose.IsWindowEnabled() != FALSE;
            ClickChild(box.m_btnClose.m_hWnd);
            if (!WaitEnded(dlg, c.result ? 1500 : 300))
                ClickChild(box.GetButton(CaseOf(c.style).buttons.back().id)->m_hWnd);
        });
        EXPECT_EQ(enabled, c.result != 0);
        EXPECT_EQ(result, c.result ? c.result : IDNO);
    }
}

TEST_F(MessageDialog, CustomLabelsOnTheYesNoBoxAndNoLetterKeys)
{
    CMessageDlg box(L"Choose", &main);
    box.SetButtonTexts(L"Keep", L"Replace");
    const INT_PTR result = RunModal([&] { return box.DoMessage(L"Which one?", 4); }, [&](CCustomDialog& dlg) {
        EXPECT_TRUE(StripShows(*box.GetButton(1009), L"Keep"));
        EXPECT_TRUE(StripShows(*box.GetButton(1011), L"Replace"));
        EXPECT_STREQ(box.GetCaption(), L"Choose");
        PressKey('Y');
        PressKey('N');
        EXPECT_FALSE(WaitEnded(dlg, 300));
        ClickChild(box.GetButton(1011)->m_hWnd);
    });
    EXPECT_EQ(result, IDNO);
}

TEST_F(MessageDialog, EscapePrefixAlignsTheTextAndIsNotShown)
{
    const struct {
        const wchar_t* text;
        DWORD align;
        const wchar_t* shown;
    } cases[] = {
        {L"\x1bRRight side", SS_RIGHT, L"Right side"},
        {L"\x1bLLeft side", SS_LEFT, L"Left side"},
        {L"\x1bXCentred", SS_CENTER, L"\x1bXCentred"},
        {L"Centred", SS_CENTER, L"Centred"},
    };
    for (const auto& c : cases) {
        CMessageDlg box(nullptr, &main);
        RunModal([&] { return box.DoMessage(c.text, 0); }, [&](CCustomDialog&) {
            EXPECT_EQ(box.m_textStatic.GetStyle() & SS_TYPEMASK, c.align) << c.shown;
            EXPECT_STREQ(AfxGetWindowText(box.m_textStatic.m_hWnd), c.shown);
            CRect r;
            box.m_textStatic.GetWindowRect(&r);
            box.ScreenToClient(&r);
            EXPECT_EQ(r, CRect(54, 56, 54 + 478, 56 + 80));
            if (c.align == SS_RIGHT)
                SaveShot(box.m_hWnd, L"message_right_aligned");
            PressKey(VK_RETURN);
        });
    }
}

TEST_F(MessageDialog, LongTextBreaksAtBlanksIntoAtMostThreeLines)
{
    CString text;
    for (int i = 0; i < 30; ++i)
        text += L"word ";
    text += L"end";
    CMessageDlg box(nullptr, &main);
    RunModal([&] { return box.DoMessage(text, 0); }, [&](CCustomDialog&) {
        const CString shown = AfxGetWindowText(box.m_textStatic.m_hWnd);
        int breaks = 0;
        for (int i = 0; i < shown.GetLength(); ++i)
            breaks += shown[i] == L'\n';
        EXPECT_GE(breaks, 1);
        EXPECT_LE(breaks, 2);
        CString joined = shown;
        joined.Replace(L"\n", L" ");
        joined.Replace(L"  ", L" ");
        EXPECT_STREQ(joined.Trim(), text);
        SaveShot(box.m_hWnd, L"message_long_text");
        PressKey(VK_ESCAPE);
    });
}

TEST_F(MessageDialog, ShowMessageWithoutTextShowsNothing)
{
    bool shown = false;
    for (const wchar_t* text : {static_cast<const wchar_t*>(nullptr), L""}) {
        const INT_PTR r = RunModal([&] { return ShowMessage(text, 4, FALSE); },
                                   [&](CCustomDialog&) { shown = true; }, 100);
        EXPECT_EQ(r, IDOK);
    }
    EXPECT_FALSE(shown);
    EXPECT_EQ(MessageDlgWithParent(L"text", nullptr), IDOK);
    EXPECT_EQ(MessageDlgWithParent(L"", &main), IDOK);
}

TEST_F(MessageDialog, ShowMessageTakesTheProgramCaptionAndPassesEnterMeansYes)
{
    const INT_PTR r = RunModal([&] { return ShowMessage(L"Quit?", 4, TRUE); }, [&](CCustomDialog& dlg) {
        EXPECT_STREQ(dlg.GetCaption(), theGlobal.UiString(238));
        EXPECT_EQ(::GetWindow(dlg.m_hWnd, GW_OWNER), main.m_hWnd);
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(r, IDYES);
}

TEST_F(MessageDialog, BoxFromInsideADialogBelongsToThatDialog)
{
    CMessageDlg outer(L"Outer", &main);
    HWND innerOwner = nullptr, outerHwnd = nullptr;
    int innerResult = 0;
    const INT_PTR r = RunModal([&] { return outer.DoMessage(L"Outer text", 1); }, [&](CCustomDialog&) {
        outerHwnd = outer.m_hWnd;
        innerResult = static_cast<int>(RunModal([&] { return ShowMessage(L"Inner text", 0, FALSE); },
                                                [&](CCustomDialog& inner) {
            innerOwner = ::GetWindow(inner.m_hWnd, GW_OWNER);
            PressKey(VK_RETURN);
        }));
        ClickChild(outer.GetButton(1011)->m_hWnd);
    });
    EXPECT_EQ(innerOwner, outerHwnd);
    EXPECT_EQ(innerResult, IDOK);
    EXPECT_EQ(r, IDCANCEL);
    EXPECT_EQ(theGlobal.m_dialogStack.GetSize(), 0);
}

TEST_F(MessageDialog, MessageDlgWithParentIsAnOkBoxOverThatParent)
{
    CMessageDlg outer(L"Outer", &main);
    HWND owner = nullptr, outerHwnd = nullptr;
    CString caption;
    RunModal([&] { return outer.DoMessage(L"Outer text", 1); }, [&](CCustomDialog&) {
        outerHwnd = outer.m_hWnd;
        const INT_PTR inner = RunModal([&] { return MessageDlgWithParent(L"Too long", &outer); },
                                       [&](CCustomDialog& box) {
            owner = ::GetWindow(box.m_hWnd, GW_OWNER);
            caption = box.GetCaption();
            EXPECT_NE(static_cast<CMessageDlg&>(box).GetButton(1010), nullptr);
            PressKey(VK_ESCAPE);
        });
        EXPECT_EQ(inner, IDOK);
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(owner, outerHwnd);
    EXPECT_STREQ(caption, theGlobal.UiString(238));
}

}  // namespace

namespace {

// Start-up reports before the main window exists (and before the strings).
TEST_F(MessageDialog, ShowMessageWithoutMainWindowOrStrings)
{
    theGlobal.m_uiStrings.RemoveAll();
    app.m_pMainWnd = nullptr;
    HWND owner = reinterpret_cast<HWND>(1);
    CString caption = L"x";
    const INT_PTR r = RunModal([&] { return ShowMessage(L"No language file", 1, FALSE); }, [&](CCustomDialog& box) {
        owner = ::GetWindow(box.m_hWnd, GW_OWNER);
        caption = box.GetCaption();
        EXPECT_TRUE(box.IsWindowVisible());
        PressKey(VK_ESCAPE);
    });
    app.m_pMainWnd = &main;
    EXPECT_EQ(r, IDCANCEL);
    EXPECT_NE(owner, reinterpret_cast<HWND>(1));
    EXPECT_STREQ(caption, L"");
}

}  // namespace
