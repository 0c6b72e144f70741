// The partners dialog under Xvfb: one or two panels as the language file
// says, each banner's logo and link opening its partner's page (recorded, not
// started), banners of unknown partners inert, and only web pages opened.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PageRecorder.h"
#include "DialogDriver.h"
#include "TestFiles.h"
#include "core/Global.h"
#include "frame/MainMenuWnd.h"
#include "frame/PartnersInfoDlg.h"
#include "res/dialog_ids.h"

namespace {

using namespace dlgtest;

class Partners : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        for (int n : {383, 385, 430})
            saved.push_back(theGlobal.m_uiStrings[n]);
        log = dir.File(L"urls.txt");
        recorder = std::make_unique<PageRecorder>(log);
        main.MoveWindow(0, 0, 1000, 700);
    }
    void TearDown() override
    {
        recorder.reset();
        const int numbers[] = {383, 385, 430};
        for (int i = 0; i < 3; ++i)
            theGlobal.m_uiStrings[numbers[i]] = saved[i];
        DialogTest::TearDown();
    }
    void Strings(const wchar_t* first, const wchar_t* second, const wchar_t* address)
    {
        theGlobal.m_uiStrings[383] = first;
        theGlobal.m_uiStrings[385] = second;
        theGlobal.m_uiStrings[430] = address;
    }
    std::string Opened() const
    {
        if (!testsupport::FileExists(log))
            return "";
        const testsupport::Bytes bytes = testsupport::ReadBytes(log);
        return std::string(bytes.begin(), bytes.end());
    }
    // A real click on the middle of a banner's link text.
    static void ClickLink(CBannerWnd& banner)
    {
        const CRect r = banner.GetLinkRect();
        RealClick(banner.m_hWnd, r.CenterPoint().x, r.CenterPoint().y);
    }
    testsupport::TempDir dir;
    std::wstring log;
    std::unique_ptr<PageRecorder> recorder;
    std::vector<CString> saved;
};

TEST_F(Partners, OnePanelForANegativeSecondPartner)
{
    Strings(L"0", L"-1", L"http://planner.example/");
    CPartnersInfoDlg dlg;
    RunModal([&] { return dlg.DoModal(); },
             [&](CCustomDialog& d) {
                 CRect r;
                 d.GetWindowRect(&r);
                 EXPECT_EQ(r.Width(), 429);
                 EXPECT_EQ(r.Height(), 449 + d.GetTopHeight());
                 EXPECT_EQ(dlg.GetPanelCount(), 1);
                 EXPECT_EQ(d.GetCaption(), theGlobal.UiString(405));
                 EXPECT_EQ(dlg.m_banner[0].GetPartner(), 0);
                 EXPECT_EQ(dlg.m_banner[1].GetSafeHwnd(), nullptr);
                 EXPECT_TRUE(dlg.m_banner[0].m_btnWhereIs.IsWindowVisible());
                 EXPECT_FALSE(dlg.m_banner[0].m_btnViaMichelin.IsWindowVisible());
                 EXPECT_EQ(dlg.m_text[0].GetLines().GetSize() > 0, true);
                 PumpUntil([] { return false; }, 200);
                 SaveShot(d.m_hWnd, L"partners_one_panel");
                 ClickLink(dlg.m_banner[0]);
                 PumpUntil([] { return false; }, 200);
                 d.EndDialog(IDCANCEL);
             });
    std::string home;
    for (const wchar_t* p = kPartnerHomePage; *p; ++p)
        home += static_cast<char>(*p);
    EXPECT_EQ(Opened(), home + "\n");
}

TEST_F(Partners, TwoPanelsEachOpeningItsPartner)
{
    Strings(L"1", L"0", L"http://planner.example/route/");
    CPartnersInfoDlg dlg;
    RunModal([&] { return dlg.DoModal(); },
             [&](CCustomDialog& d) {
                 CRect r;
                 d.GetWindowRect(&r);
                 EXPECT_EQ(r.Width(), 816);
                 EXPECT_EQ(dlg.GetPanelCount(), 2);
                 EXPECT_EQ(dlg.m_banner[0].GetLinkText(), L"http://planner.example/route/");
                 EXPECT_EQ(dlg.m_banner[1].GetLinkText(), kPartnerHomePage);
                 PumpUntil([] { return false; }, 200);
                 SaveShot(d.m_hWnd, L"partners_two_panels");
                 // The first panel's logo, then the second panel's link.
                 ClickChild(dlg.m_banner[0].m_btnViaMichelin.m_hWnd);
                 PumpUntil([] { return false; }, 200);
                 ClickLink(dlg.m_banner[1]);
                 PumpUntil([] { return false; }, 200);
                 // Any other command of the range does nothing, and the dialog stays.
                 d.SendMessage(WM_COMMAND, 32800, 0);
                 EXPECT_FALSE(Ended(d));
                 d.EndDialog(IDCANCEL);
             });
    std::string home;
    for (const wchar_t* p = kPartnerHomePage; *p; ++p)
        home += static_cast<char>(*p);
    EXPECT_EQ(Opened(), "http://planner.example/route/\n" + home + "\n");
}

// The shipped route planner address is a page of the program's site: it follows
// the web base, and the banner shows all of it, however long the base.
TEST_F(Partners, TheSitesAddressFollowsTheWebBaseAndFitsItsBanner)
{
    const CString savedBase = theGlobal.m_webBaseUrl;
    for (const wchar_t* base : {L"http://www.mirovale.example/mirovale/", L"http://127.0.0.1:65001/mirovale/"}) {
        SCOPED_TRACE(testsupport::Utf8(base));
        theGlobal.m_webBaseUrl = base;
        Strings(L"0", L"1", L"partners/routeplanner/");
        const std::wstring address = std::wstring(base) + L"partners/routeplanner/";
        CPartnersInfoDlg dlg;
        RunModal([&] { return dlg.DoModal(); },
                 [&](CCustomDialog& d) {
                     CBannerWnd& banner = dlg.m_banner[1];
                     EXPECT_EQ(banner.GetLinkText(), address.c_str());
                     // The link rectangle is the text's own, within the banner's text area.
                     CRect client;
                     banner.GetClientRect(&client);
                     EXPECT_LE(banner.GetLinkRect().Width(), client.Width() - 10);
                     EXPECT_GE(banner.GetLinkRect().left, client.left + 5);
                     PumpUntil([] { return false; }, 200);
                     SaveShot(d.m_hWnd, L"partners_site_address");
                     ClickLink(banner);
                     PumpUntil([] { return false; }, 200);
                     d.EndDialog(IDCANCEL);
                 });
    }
    theGlobal.m_webBaseUrl = savedBase;
    EXPECT_EQ(Opened(), "http://www.mirovale.example/mirovale/partners/routeplanner/\n"
                        "http://127.0.0.1:65001/mirovale/partners/routeplanner/\n");
}

TEST_F(Partners, UnknownPartnersAndForeignAddressesOpenNothing)
{
    Strings(L"5", L"1", L"file:///C:/Windows/system32/calc.exe");
    CPartnersInfoDlg dlg;
    RunModal([&] { return dlg.DoModal(); },
             [&](CCustomDialog& d) {
                 EXPECT_EQ(dlg.m_banner[0].GetPartner(), -1);
                 EXPECT_FALSE(dlg.m_banner[0].m_btnWhereIs.IsWindowVisible());
                 EXPECT_FALSE(dlg.m_banner[0].m_btnViaMichelin.IsWindowVisible());
                 // Over the whole banner of the unknown partner: nothing to click.
                 CRect b;
                 dlg.m_banner[0].GetClientRect(&b);
                 RealClick(dlg.m_banner[0].m_hWnd, b.CenterPoint().x, b.bottom - 15);
                 PumpUntil([] { return false; }, 200);
                 SaveShot(d.m_hWnd, L"partners_unknown");
                 // The second partner's address is not a web page.
                 ClickChild(dlg.m_banner[1].m_btnViaMichelin.m_hWnd);
                 PumpUntil([] { return false; }, 200);
                 d.EndDialog(IDCANCEL);
             });
    EXPECT_EQ(Opened(), "");
}

}  // namespace
