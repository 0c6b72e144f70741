// The language and model choosers: their rules as tables, and the dialogs
// under Xvfb driven by real keys and clicks, with the shipped navi files.
#include <windows.h>

#include "DialogDriver.h"
#include "TestFiles.h"
#include "core/Global.h"
#include "frame/ChooserRules.h"
#include "frame/LanguageSelectDlg.h"
#include "frame/MessageDlg.h"
#include "frame/ModelSelectDlg.h"

using namespace dlgtest;
using namespace testsupport;

namespace {

CStringArray Rows(std::initializer_list<const wchar_t*> items)
{
    CStringArray a;
    for (const wchar_t* s : items)
        a.Add(s);
    return a;
}

TEST(ChooserRules, LanguageDisplayNames)
{
    EXPECT_STREQ(LanguageDisplayName(L"English_UK.dat"), L"English_UK");
    EXPECT_STREQ(LanguageDisplayName(L"Portuguese_Brazil.dat"), L"Portuguese");
    EXPECT_STREQ(LanguageDisplayName(L"portuguese_brazil.dat"), L"portuguese_brazil");
    EXPECT_STREQ(LanguageDisplayName(L"Plain"), L"Plain");
}

TEST(ChooserRules, LanguagePreselection)
{
    const CStringArray rows = Rows({L"English_UK", L"English_US", L"Portuguese", L"Deutsch"});
    const struct {
        const wchar_t* remembered;
        int area, row;
    } cases[] = {
        {L"Portuguese_Brazil.dat", 1, 2}, {L"english_us.dat", 2, 1}, {L"Deutsch.dat", 1, 3},
        {L"Klingon.dat", 1, 1},           {L"Klingon.dat", 2, 0},    {L"", 1, 1},
        {L"English.dat", 2, 0},  // a prefix of two rows: the first
    };
    for (const auto& c : cases)
        EXPECT_EQ(PreselectLanguageRow(rows, c.remembered, c.area), c.row) << c.remembered << " area " << c.area;
    EXPECT_EQ(PreselectLanguageRow(Rows({L"Deutsch", L"Italiano"}), L"Klingon.dat", 1), 0);
    EXPECT_EQ(PreselectLanguageRow(CStringArray(), L"English_US.dat", 1), -1);
}

TEST(ChooserRules, ModelListsByPrefixAndBrand)
{
    const struct {
        const wchar_t* file;
        int area, list;
    } cases[] = {
        {L"US_KV410.dat", 1, 0}, {L"AU_KV540.dat", 1, 1}, {L"BR_KV410.dat", 1, 2}, {L"EU_KV220.dat", 1, -1},
        {L"us_KV410.dat", 1, -1}, {L"XX_KV410.dat", 1, -1}, {L"EU_KV220.dat", 2, 0}, {L"RU_KV450.dat", 2, 1},
        {L"US_KV410.dat", 2, -1}, {L"BR_KV410.dat", 2, -1}, {L"ru_KV450.dat", 2, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ModelListOf(c.file, c.area), c.list) << c.file << " area " << c.area;
    EXPECT_STREQ(ModelDisplayName(L"US_KV410.dat"), L"KV410");
    EXPECT_STREQ(ModelDisplayName(L"EU_NV-08.dat"), L"NV-08");
    EXPECT_STREQ(RegionNameOf(1, 0), L"USA/Canada");
    EXPECT_STREQ(RegionNameOf(1, 2), L"Brazil");
    EXPECT_STREQ(RegionNameOf(2, 1), L"Russia");
    EXPECT_STREQ(RegionNameOf(2, 2), L"");
}

TEST(ChooserRules, ModelPreselection)
{
    const CStringArray rows = Rows({L"KV4100", L"KV410", L"KV210"});
    EXPECT_EQ(PreselectModelRow(rows, L"US_KV210.dat"), 2);
    EXPECT_EQ(PreselectModelRow(rows, L"us_kv410.dat"), 1);  // exact before a longer name
    EXPECT_EQ(PreselectModelRow(rows, L"US_KV41.dat"), 0);   // no exact row: the first that begins so
    EXPECT_EQ(PreselectModelRow(rows, L"AU_KV540.dat"), -1);
    EXPECT_EQ(PreselectModelRow(rows, L""), 0);
    EXPECT_EQ(PreselectModelRow(CStringArray(), L""), -1);
}

TEST(ChooserRules, UnitResetByNewRegion)
{
    const struct {
        int region, d, a, m;
    } cases[] = {{0, 1, 1, 3}, {1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}, {4, 0, 0, 0}};
    for (const auto& c : cases) {
        int d = 7, a = 7, m = 7;
        ResetUnitsForRegion(c.region, d, a, m);
        EXPECT_EQ(d, c.d);
        EXPECT_EQ(a, c.a);
        EXPECT_EQ(m, c.m);
    }
}

class Choosers : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        saved = {theGlobal.m_languageFile, theGlobal.m_naviFile};
        savedArea = theGlobal.m_areaCode;
        theGlobal.m_areaCode = 1;
    }
    void TearDown() override
    {
        theGlobal.m_languageFile = saved.first;
        theGlobal.m_naviFile = saved.second;
        theGlobal.m_areaCode = savedArea;
        theGlobal.m_naviModel.m_region = -1;
        RemoveTree(ExeDir() + L"navi");
        DialogTest::TearDown();
    }
    // The shipped navi files beside the test program, where the loader looks.
    static void CopyNaviFiles(std::initializer_list<const wchar_t*> names)
    {
        ::CreateDirectoryW((ExeDir() + L"navi").c_str(), nullptr);
        for (const wchar_t* n : names)
            ASSERT_TRUE(::CopyFileW((ExeDir() + L"..\\bin\\navi\\" + n).c_str(), (ExeDir() + L"navi\\" + n).c_str(),
                                    FALSE))
                << Utf8(n);
    }
    static std::vector<CString> ComboRows(const CComboBox& combo)
    {
        std::vector<CString> rows;
        for (int i = 0; i < combo.GetCount(); ++i) {
            CString t;
            combo.GetLBText(i, t);
            rows.push_back(t);
        }
        return rows;
    }
    std::pair<CString, CString> saved;
    int savedArea = 0;
};

TEST_F(Choosers, LanguageListShowsDisplayNamesAndOkReturnsTheFile)
{
    theGlobal.m_languageFile = L"Portuguese_Brazil.dat";
    CLanguageSelectDlg dlg;
    for (const wchar_t* f : {L"English_UK.dat", L"English_US.dat", L"Portuguese_Brazil.dat"})
        dlg.m_files.Add(f);
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        EXPECT_STREQ(dlg.GetCaption(), L"Language Selection");
        const std::vector<CString> rows = ComboRows(dlg.m_combo);
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_STREQ(rows[0], L"English_UK");
        EXPECT_STREQ(rows[1], L"English_US");
        EXPECT_STREQ(rows[2], L"Portuguese");
        EXPECT_EQ(dlg.m_combo.GetCurSel(), 2);
        CRect ok;
        dlg.m_btnOK.GetWindowRect(&ok);
        dlg.ScreenToClient(&ok);
        EXPECT_EQ(ok, CRect(254, 112, 254 + 146, 112 + 38));
        SaveShot(dlg.m_hWnd, L"language_select");
        ClickChild(dlg.m_btnOK.m_hWnd);
    });
    EXPECT_EQ(r, IDOK);
    EXPECT_STREQ(dlg.GetSelectedFile(), L"Portuguese_Brazil.dat");
}

TEST_F(Choosers, LanguageChosenWithTheKeyboardAndEscapeCancels)
{
    theGlobal.m_languageFile = L"Klingon.dat";
    theGlobal.m_areaCode = 2;
    CLanguageSelectDlg dlg;
    for (const wchar_t* f : {L"English_UK.dat", L"English_US.dat", L"Deutsch.dat"})
        dlg.m_files.Add(f);
    INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        EXPECT_EQ(dlg.m_selected, 0);  // English_UK for the second brand
        dlg.m_combo.SetFocus();
        PressKey(VK_DOWN);
        PressKey(VK_DOWN);
        EXPECT_EQ(dlg.m_selected, 2);
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(r, IDOK);
    EXPECT_STREQ(dlg.GetSelectedFile(), L"Deutsch.dat");

    CLanguageSelectDlg again;
    again.m_files.Add(L"English_US.dat");
    r = RunModal([&] { return again.DoModal(); }, [&](CCustomDialog&) { PressKey(VK_ESCAPE); });
    EXPECT_EQ(r, IDCANCEL);
}

TEST_F(Choosers, LanguageWithoutFilesShowsAnEmptyListAndHasNoSelection)
{
    CLanguageSelectDlg dlg;
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        EXPECT_EQ(dlg.m_combo.GetCount(), 0);
        ClickChild(dlg.m_btnOK.m_hWnd);
    });
    EXPECT_EQ(r, IDOK);
    EXPECT_THROW(dlg.GetSelectedFile(), CInvalidArgException);
}

TEST_F(Choosers, ModelDialogListsTheRegionsFilesAndSwitchesRegion)
{
    theGlobal.m_naviFile = L"US_KV210.dat";
    CModelSelectDlg dlg;
    for (const wchar_t* f : {L"US_KV410.dat", L"AU_KV540.dat", L"us_KV999.dat", L"US_KV210.dat", L"EU_KV220.dat",
                             L"AU_KV220.dat", L"XX_KV1.dat"})
        dlg.AddModelFile(f);
    EXPECT_EQ(dlg.m_files[0].GetSize(), 2);
    EXPECT_EQ(dlg.m_files[1].GetSize(), 2);
    EXPECT_EQ(dlg.m_files[2].GetSize(), 0);
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        EXPECT_STREQ(dlg.GetCaption(), theGlobal.UiString(245));
        const std::vector<CString> regions = ComboRows(dlg.m_regionCombo);
        ASSERT_EQ(regions.size(), 3u);
        EXPECT_STREQ(regions[0], L"USA/Canada");
        EXPECT_STREQ(regions[2], L"Brazil");
        EXPECT_EQ(dlg.m_regionCombo.GetCurSel(), 0);
        std::vector<CString> models = ComboRows(dlg.m_modelCombo);
        ASSERT_EQ(models.size(), 2u);
        EXPECT_STREQ(models[0], L"KV410");
        EXPECT_STREQ(models[1], L"KV210");
        EXPECT_EQ(dlg.m_modelCombo.GetCurSel(), 1);
        EXPECT_STREQ(AfxGetWindowText(::GetDlgItem(dlg.m_hWnd, 1098)), theGlobal.UiString(227));
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dlg.m_hWnd, 1098)));
        SaveShot(dlg.m_hWnd, L"model_select");

        dlg.m_regionCombo.SetFocus();
        PressKey(VK_DOWN);  // Australia
        EXPECT_EQ(dlg.m_region, 1);
        models = ComboRows(dlg.m_modelCombo);
        ASSERT_EQ(models.size(), 2u);
        EXPECT_STREQ(models[0], L"KV540");
        EXPECT_EQ(dlg.m_modelCombo.GetCurSel(), 0);

        PressKey(VK_DOWN);  // Brazil: no files, OK does nothing
        EXPECT_EQ(dlg.m_modelCombo.GetCount(), 0);
        ClickChild(dlg.m_btnOK.m_hWnd);
        EXPECT_FALSE(WaitEnded(dlg, 300));
        ClickChild(dlg.m_btnCancel.m_hWnd);
    });
    EXPECT_EQ(r, IDCANCEL);
    EXPECT_STREQ(theGlobal.m_naviFile, L"US_KV210.dat");
}

TEST_F(Choosers, RememberedFileOfAnotherRegionLeavesNoSelectionAndOkWaits)
{
    theGlobal.m_naviFile = L"AU_KV540.dat";
    CModelSelectDlg dlg;
    dlg.AddModelFile(L"US_KV410.dat");
    dlg.AddModelFile(L"AU_KV540.dat");
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        EXPECT_EQ(dlg.m_modelCombo.GetCurSel(), -1);
        ClickChild(dlg.m_btnOK.m_hWnd);
        EXPECT_FALSE(WaitEnded(dlg, 300));
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(r, IDCANCEL);
}

TEST_F(Choosers, OkStoresTheFileAndResetsUnitsOnlyWhenTheRegionChanges)
{
    CopyNaviFiles({L"US_KV410.dat", L"US_KV210.dat", L"AU_KV540.dat"});
    const struct {
        const wchar_t* remembered;
        int page;
        int row;  // in that page's list
        const wchar_t* chosen;
        int changed, d, a, m;
    } cases[] = {
        {L"US_KV410.dat", 0, 0, L"US_KV410.dat", 0, 5, 5, 5},  // same file: no change, units kept
        {L"US_KV410.dat", 0, 1, L"US_KV210.dat", 1, 5, 5, 5},  // same region
        {L"US_KV410.dat", 1, 0, L"AU_KV540.dat", 1, 0, 0, 0},  // to Australia
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.chosen));
        theGlobal.m_naviFile = c.remembered;
        theGlobal.m_naviModel.m_region = 0;
        theGlobal.m_distanceUnit = theGlobal.m_amountUnit = theGlobal.m_mileageUnit = 5;
        CModelSelectDlg dlg;
        for (const wchar_t* f : {L"US_KV410.dat", L"US_KV210.dat", L"AU_KV540.dat"})
            dlg.AddModelFile(f);
        dlg.m_region = c.page;
        const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
            dlg.m_modelCombo.SetCurSel(c.row);
            ClickChild(dlg.m_btnOK.m_hWnd);
        });
        EXPECT_EQ(r, IDOK);
        EXPECT_EQ(dlg.m_changed, c.changed);
        EXPECT_STREQ(theGlobal.m_naviFile, c.chosen);
        EXPECT_EQ(theGlobal.m_distanceUnit, c.d);
        EXPECT_EQ(theGlobal.m_amountUnit, c.a);
        EXPECT_EQ(theGlobal.m_mileageUnit, c.m);
    }
    // Back to the US from Australia: the US defaults.
    theGlobal.m_naviModel.m_region = 1;
    CModelSelectDlg dlg;
    dlg.AddModelFile(L"US_KV410.dat");
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        dlg.m_modelCombo.SetCurSel(0);
        ClickChild(dlg.m_btnOK.m_hWnd);
    });
    EXPECT_EQ(r, IDOK);
    EXPECT_EQ(theGlobal.m_distanceUnit, 1);
    EXPECT_EQ(theGlobal.m_amountUnit, 1);
    EXPECT_EQ(theGlobal.m_mileageUnit, 3);
}

TEST_F(Choosers, UnreadableNaviFileShowsTheMessageAndTheDialogStays)
{
    ::CreateDirectoryW((ExeDir() + L"navi").c_str(), nullptr);
    WriteBytes(ExeDir() + L"navi\\US_BROKEN.dat", std::string("not a navi file"));
    theGlobal.m_naviFile = L"US_BROKEN.dat";
    CModelSelectDlg dlg;
    dlg.AddModelFile(L"US_BROKEN.dat");
    CString shown;
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        const INT_PTR inner = RunModal([&] {
            ClickChild(dlg.m_btnOK.m_hWnd);
            PumpUntil([&] { return theGlobal.m_dialogStack.GetSize() == 1; }, 1500);
            return INT_PTR(0);
        }, [&](CCustomDialog& box) {
            shown = static_cast<CMessageDlg&>(box).GetText();
            PressKey(VK_RETURN);
        });
        (void)inner;
        EXPECT_FALSE(Ended(dlg));
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(r, IDCANCEL);
    EXPECT_STREQ(shown, theGlobal.UiString(8));
    EXPECT_EQ(dlg.m_changed, 0);
}

}  // namespace

namespace {

// At start-up the language chooser runs before any language file is loaded
// and before the main window exists.
TEST_F(Choosers, LanguageChooserWorksBeforeAnyLanguageFileAndMainWindow)
{
    theGlobal.m_uiStrings.RemoveAll();
    app.m_pMainWnd = nullptr;
    CLanguageSelectDlg dlg;
    dlg.m_files.Add(L"English_US.dat");
    dlg.m_files.Add(L"English_UK.dat");
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        EXPECT_STREQ(dlg.GetCaption(), L"Language Selection");
        EXPECT_EQ(dlg.m_combo.GetCurSel(), 0);
        ClickChild(dlg.m_btnOK.m_hWnd);
    });
    app.m_pMainWnd = &main;
    EXPECT_EQ(r, IDOK);
    EXPECT_STREQ(dlg.GetSelectedFile(), L"English_US.dat");
}

}  // namespace
