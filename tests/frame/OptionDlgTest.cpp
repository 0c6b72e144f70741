// The options dialog: its four pages, tabs, radio groups and the time combo,
// driven by real clicks and keys; what OK and Cancel leave in the settings.
#include <windows.h>

#include <array>

#include "DialogDriver.h"
#include "core/Global.h"
#include "frame/OptionDlg.h"

using namespace dlgtest;
using namespace skintest;

namespace {

// Delimiter, Decimal, Distance, Amount, Mileage, TimeZone, TimeDifference, GasType, ECOJudge
using Settings = std::array<int, 9>;

Settings Current()
{
    const CGlobal& g = theGlobal;
    return {g.m_delimiter, g.m_decimal, g.m_distanceUnit, g.m_amountUnit, g.m_mileageUnit,
            g.m_timeZone,  g.m_timeDifference, g.m_gasType, g.m_ecoJudge};
}

void Apply(const Settings& s)
{
    CGlobal& g = theGlobal;
    g.m_delimiter = s[0];
    g.m_decimal = s[1];
    g.m_distanceUnit = s[2];
    g.m_amountUnit = s[3];
    g.m_mileageUnit = s[4];
    g.m_timeZone = s[5];
    g.m_timeDifference = s[6];
    g.m_gasType = s[7];
    g.m_ecoJudge = s[8];
}

class Options : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        saved = Current();
        savedModel = theGlobal.m_modelType;
        theGlobal.m_modelType = 0;
        // The dialog is taller than the usual test window: centred on this one it stays on screen.
        main.MoveWindow(0, 0, 1000, 800);
    }
    void TearDown() override
    {
        Apply(saved);
        theGlobal.m_modelType = savedModel;
        DialogTest::TearDown();
    }
    // Clicks the tab of index on the shown page.
    static void ClickTab(COptionDlg& dlg, int index)
    {
        ClickChild(dlg.GetPage(dlg.GetCurrentPage())->m_tabs[index].m_hWnd);
        PumpUntil([] { return false; }, 100);
    }
    static void ClickRadio(COptionDlg& dlg, int page, UINT id)
    {
        CCustomCheckButton* radio = dlg.GetPage(page)->GetRadio(id);
        ASSERT_NE(radio, nullptr) << id;
        RealClick(radio->m_hWnd, 8, 8);
    }
    Settings saved{};
    int savedModel = 0;
};

TEST(OptionTimeList, TwentyFiveDifferencesFromPlusTwelveToMinusTwelve)
{
    EXPECT_STREQ(TimeDifferenceItem(0), L"GMT +#12:00");
    EXPECT_STREQ(TimeDifferenceItem(11), L"GMT +#1:00");
    EXPECT_STREQ(TimeDifferenceItem(12), L"GMT#0:00");
    EXPECT_STREQ(TimeDifferenceItem(13), L"GMT -#1:00");
    EXPECT_STREQ(TimeDifferenceItem(24), L"GMT -#12:00");
}

TEST_F(Options, OkWithoutChangesKeepsEverySetting)
{
    const struct {
        int model;
        Settings values;
    } cases[] = {
        {0, {0, 0, 0, 0, 0, 0, 0, 0, 1}},
        {0, {2, 1, 1, 1, 3, 1, 15, 1, 2}},
        {5, {3, 2, 1, 0, 2, 1, 20, 0, 0}},
        {5, {4, 7, 0, 1, 1, 0, 9, 1, 1}},  // values no radio stands for are written back as they were
    };
    for (const auto& c : cases) {
        theGlobal.m_modelType = c.model;
        Apply(c.values);
        COptionDlg dlg;
        const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
            EXPECT_STREQ(dlg.GetCaption(), theGlobal.UiString(281));
            EXPECT_EQ(dlg.GetCurrentPage(), 0);
            ClickChild(dlg.m_btnOK.m_hWnd);
        });
        EXPECT_EQ(r, IDOK);
        EXPECT_EQ(Current(), c.values) << "model " << c.model;
    }
}

TEST_F(Options, LoadedValuesCheckExactlyTheirRadio)
{
    Apply({4, 1, 1, 0, 2, 0, 3, 1, 0});
    COptionDlg dlg;
    RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        for (UINT id : {1086u, 1056u, 1055u, 1057u})  // Delimiter 4: none
            EXPECT_EQ(dlg.GetPage(0)->GetRadio(id)->GetCheck(), 0) << id;
        EXPECT_EQ(dlg.GetPage(0)->GetRadio(1079)->GetCheck(), 1);  // Decimal 1 (comma)
        EXPECT_EQ(dlg.GetPage(0)->GetRadio(1078)->GetCheck(), 0);
        EXPECT_EQ(dlg.GetPage(1)->GetRadio(1076)->GetCheck(), 1);  // miles
        EXPECT_EQ(dlg.GetPage(1)->GetRadio(1093)->GetCheck(), 1);  // Mileage 2
        EXPECT_EQ(dlg.GetPage(2)->GetRadio(1060)->GetCheck(), 1);  // PC time zone
        EXPECT_EQ(dlg.GetPage(3)->GetRadio(1091)->GetCheck(), 1);  // diesel
        EXPECT_EQ(dlg.GetPage(3)->GetRadio(1083)->GetCheck(), 1);  // ECOJudge 0
        PressKey(VK_ESCAPE);
    });
}

TEST_F(Options, ChoicesOnEveryPageReachTheSettingsOnlyOnOk)
{
    const Settings start{0, 0, 0, 0, 0, 0, 12, 0, 1};
    for (bool ok : {false, true}) {
        Apply(start);
        COptionDlg dlg;
        const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog& d) {
            ClickRadio(dlg, 0, 1057);  // semicolon
            ClickRadio(dlg, 0, 1080);  // period
            EXPECT_EQ(dlg.GetPage(0)->GetRadio(1086)->GetCheck(), 0);
            EXPECT_EQ(dlg.GetPage(0)->GetRadio(1057)->GetCheck(), 1);
            if (ok)
                SaveShot(d.m_hWnd, L"options_csv");
            ClickTab(dlg, 1);
            EXPECT_EQ(dlg.GetCurrentPage(), 1);
            ClickRadio(dlg, 1, 1076);  // miles
            ClickRadio(dlg, 1, 1082);  // gallons
            ClickRadio(dlg, 1, 1094);  // Mile/Gallon
            if (ok)
                SaveShot(d.m_hWnd, L"options_units");
            ClickTab(dlg, 2);
            EXPECT_EQ(dlg.GetCurrentPage(), 2);
            auto* time = static_cast<COptDlgTimeWnd*>(dlg.GetPage(2));
            // Both labels stand whole beside their radio pictures, with room for
            // the few pixels Wine's Tahoma draws past its measured width.
            for (int id : {1060, 1059}) {
                HWND radio = ::GetDlgItem(time->m_hWnd, id);
                ASSERT_NE(radio, nullptr);
                const CString label = AfxGetWindowText(radio);
                HDC dc = ::GetDC(radio);
                HGDIOBJ was = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(radio, WM_GETFONT, 0, 0)));
                SIZE extent{};
                ::GetTextExtentPoint32W(dc, label, label.GetLength(), &extent);
                ::SelectObject(dc, was);
                ::ReleaseDC(radio, dc);
                RECT box{};
                ::GetClientRect(radio, &box);
                EXPECT_FALSE(label.IsEmpty());
                EXPECT_LE(25 + extent.cx + 3, box.right) << "label " << id << " is cut";
            }
            EXPECT_FALSE(time->m_combo.IsWindowEnabled());
            ClickRadio(dlg, 2, 1059);  // a chosen difference
            EXPECT_TRUE(time->m_combo.IsWindowEnabled());
            time->m_combo.SetFocus();
            PressKey(VK_DOWN);
            PressKey(VK_DOWN);
            EXPECT_EQ(time->m_combo.GetCurSel(), 14);
            if (ok)
                SaveShot(d.m_hWnd, L"options_time");
            ClickTab(dlg, 3);
            ClickRadio(dlg, 3, 1091);  // diesel
            ClickRadio(dlg, 3, 1085);  // ECOJudge 2
            if (ok)
                SaveShot(d.m_hWnd, L"options_eco");
            ClickChild((ok ? dlg.m_btnOK : dlg.m_btnCancel).m_hWnd);
        });
        EXPECT_EQ(r, ok ? IDOK : IDCANCEL);
        const Settings chosen{3, 2, 1, 1, 3, 1, 14, 1, 2};
        EXPECT_EQ(Current(), ok ? chosen : start);
    }
}

TEST_F(Options, TimeComboOnlyCountsWhileEnabledAndThePcZoneKeepsTheDifference)
{
    Apply({0, 0, 0, 0, 0, 1, 5, 0, 1});
    COptionDlg dlg;
    RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        ClickTab(dlg, 2);
        auto* time = static_cast<COptDlgTimeWnd*>(dlg.GetPage(2));
        EXPECT_TRUE(time->m_combo.IsWindowEnabled());
        EXPECT_EQ(time->m_combo.GetCurSel(), 5);
        ClickRadio(dlg, 2, 1060);
        EXPECT_FALSE(time->m_combo.IsWindowEnabled());
        time->m_combo.SetCurSel(9);
        time->SendMessage(WM_COMMAND, MAKEWPARAM(32924, CBN_SELCHANGE), reinterpret_cast<LPARAM>(time->m_combo.m_hWnd));
        ClickChild(dlg.m_btnOK.m_hWnd);
    });
    EXPECT_EQ(theGlobal.m_timeZone, 0);
    EXPECT_EQ(theGlobal.m_timeDifference, 5);
}

TEST_F(Options, TabsSwitchPagesAndTheTimePageIsClosedForOtherModels)
{
    theGlobal.m_modelType = 3;
    Apply({0, 0, 0, 0, 0, 1, 7, 0, 1});
    COptionDlg dlg;
    RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        for (int p = 0; p < 4; ++p)
            EXPECT_FALSE(dlg.GetPage(p)->m_tabs[2].IsWindowEnabled()) << p;
        ClickTab(dlg, 0);  // the current page's tab: nothing
        EXPECT_EQ(dlg.GetCurrentPage(), 0);
        ClickTab(dlg, 3);
        EXPECT_EQ(dlg.GetCurrentPage(), 3);
        EXPECT_TRUE(dlg.GetPage(3)->IsWindowVisible());
        EXPECT_FALSE(dlg.GetPage(0)->IsWindowVisible());
        // Its own tab checked, in the row next to the panel.
        CCustomButton& own = dlg.GetPage(3)->m_tabs[3];
        EXPECT_EQ(own.GetState(), kStateChecked);
        CRect r;
        own.GetWindowRect(&r);
        dlg.GetPage(3)->ScreenToClient(&r);
        EXPECT_EQ(r, CRect(194, 21, 388, 42));
        ClickTab(dlg, 2);  // disabled
        dlg.PostMessage(WM_COMMAND, ID_OPTION_TAB_TIME);
        PumpUntil([] { return false; }, 100);
        EXPECT_EQ(dlg.GetCurrentPage(), 3);
        EXPECT_FALSE(dlg.GetPage(2)->GetRadio(1059)->IsWindowEnabled());
        ClickChild(dlg.m_btnOK.m_hWnd);
    });
    EXPECT_EQ(theGlobal.m_timeZone, 1);
    EXPECT_EQ(theGlobal.m_timeDifference, 7);
}

// A dialog whose third page cannot be made.
class CBrokenOptionDlg : public COptionDlg {
protected:
    BOOL CreatePage(int index) override { return index == 2 ? FALSE : COptionDlg::CreatePage(index); }
};

TEST_F(Options, OkAfterAFailedPageCopiesOnlyThePagesThatLoaded)
{
    const Settings start{2, 1, 1, 1, 3, 1, 5, 1, 2};
    Apply(start);
    CBrokenOptionDlg dlg;
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        for (int p = 0; p < 4; ++p)
            EXPECT_FALSE(dlg.GetPage(p)->m_hWnd && dlg.GetPage(p)->IsWindowVisible()) << p;
        ClickChild(dlg.m_btnOK.m_hWnd);
    });
    EXPECT_EQ(r, IDOK);
    EXPECT_EQ(Current(), start);
}

}  // namespace
