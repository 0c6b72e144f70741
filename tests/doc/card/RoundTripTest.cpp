// The main road of the POI documents: a CSV file from the PC imported, edited,
// checked and exported with its icons to the card, then read back from the card.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <algorithm>

#include "GoldenFiles.h"
#include "IconTestSupport.h"
#include "TestFiles.h"
#include "common/TextCheck.h"
#include "doc/DocPi.h"

namespace {

using testsupport::CardRoot;

// Cp1252 bytes: a quoted comma, a euro sign the units cannot show, doubled
// quotes, and a row whose position is no number.
const char kCsv[] =
    "Name,Address,Phone,Note,Lon,Lat\r\n"
    "\"Tower, Tokyo\",4-2-8 Shibakoen,03-1234,red,139.745433,35.658581\r\n"
    "Caf\xE9 \x80uro,Main St,555,\"say \"\"hi\"\"\",2.2945,48.8584\r\n"
    "Broken,Nowhere,,,.,-\r\n";

class RoundTrip : public testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        InitCharClassTable();
        testsupport::ClearCard();
        ASSERT_TRUE(icontest::OpenStockPack(packDir));
        theGlobal.m_iconFolder = iconDir.Path().c_str();
        theGlobal.m_decimal = 0;
    }
    void TearDown() override
    {
        testsupport::ClearCard();
        CoUninitialize();
    }
    testsupport::TempDir packDir, iconDir, pcDir;
    doctest::PrivateTemp tempDir;
};

TEST_P(RoundTrip, CsvToCardAndBack)
{
    const int model = GetParam();
    doctest::SetModel(model);
    icontest::WriteUserIcons(iconDir.Path(), 2, 32);
    CDocIcon& icons = theGlobal.m_docIcon;
    icons.LoadIcons();
    ASSERT_EQ(2, icons.GetUserCount());

    // Import.
    testsupport::WriteBytes(pcDir.File(L"poi.csv"), std::string(kCsv));
    CDocImport& table = theGlobal.m_docImportPoi;
    ASSERT_TRUE(table.SetDelimiterAndLoad(2, pcDir.File(L"poi.csv").c_str()));
    CDocPi& doc = theGlobal.m_docPiCsv;
    doc.ResetDocument();
    ASSERT_TRUE(doc.ImportRows(1, &table, 5, 6, 1, 2, 3, 4));
    ASSERT_EQ(3, doc.GetRecordCount());
    EXPECT_EQ(L"Tower, Tokyo", doc.m_records[0].m_name);
    EXPECT_EQ(L"Caf\u00E9 ?uro", doc.m_records[1].m_name);
    EXPECT_EQ(L"say \"hi\"", doc.m_records[1].m_description);
    EXPECT_FALSE(doc.Validate());
    EXPECT_EQ(13, doc.GetErrorCode());

    // Edit: give the broken row its place, add one in front, delete the tower.
    DOCPI_RECORD rec;
    ASSERT_TRUE(doc.GetRecord(2, &rec));
    rec.longitude = 10.5;
    rec.latitude = 20.25;
    ASSERT_TRUE(doc.SetRecord(2, rec));
    ASSERT_TRUE(doc.InsertRecord(0, doctest::MakePoi(L"Start", -0.1278, 51.5074, L"Square", L"+44", L"")));
    doc.ResetCheckFlags();
    doc.m_checkFlags[1] = 1;
    ASSERT_TRUE(doc.DeleteCheckedRecords());
    ASSERT_TRUE(doc.Validate());
    doc.m_defaultIcon = icons.GetStockCount() + 1;  // the second user icon

    // Export in the order the views use.
    std::wstring kmlFolder = GetPoiCardFolder(CardRoot().c_str(), model).GetString();
    ASSERT_TRUE(CDocPi::CheckCardFileCount(kmlFolder.c_str(), doc.GetRecordCount(), doc.GetMaxPoiPerFile()));
    doc.SetFolderName(L"trip");
    ASSERT_TRUE(doc.ExportToCard((kmlFolder + L"trip.kml").c_str()));
    if (model == 0 || model == 2) {
        ASSERT_TRUE(icons.ExportUserIconBitmaps(CardRoot().c_str()));
    } else {
        ASSERT_TRUE(icons.ExportCustomPoiSymbols(CardRoot().c_str()));
        ASSERT_TRUE(CDocPi::WriteCustomPoiVersion((CardRoot() + L"NDB\\VersionManage\\Version").c_str()));
    }

    // Read back every file the export wrote.
    golden::Expect(model == 0 ? L"roundtrip_m0.kml" : L"roundtrip_m5.kml", kmlFolder + L"trip.kml");
    CDocPi back;
    back.m_defaultIcon = 0;
    ASSERT_TRUE(back.Load((kmlFolder + L"trip.kml").c_str()));
    EXPECT_EQ(L"trip", back.GetFolderName());
    EXPECT_EQ(doc.m_defaultIcon, back.m_defaultIcon);
    ASSERT_EQ(doc.GetRecordCount(), back.GetRecordCount());
    for (int i = 0; i < doc.GetRecordCount(); ++i) {
        DOCPI_RECORD a, b;
        doc.GetRecord(i, &a);
        back.GetRecord(i, &b);
        EXPECT_STREQ(a.name, b.name);
        EXPECT_STREQ(a.address, b.address);
        EXPECT_STREQ(a.telephone, b.telephone);
        EXPECT_STREQ(a.description, b.description);
        EXPECT_DOUBLE_EQ(a.longitude, b.longitude);
        EXPECT_DOUBLE_EQ(a.latitude, b.latitude);
    }
    if (model == 0) {
        EXPECT_TRUE(testsupport::FileExists(CardRoot() + L"usericon\\u01.bmp"));
        golden::Expect(L"poi_mapclose.spr", CardRoot() + L"usericon\\poi_mapclose.spr");
    } else {
        EXPECT_FALSE(testsupport::ReadBytes(CardRoot() + L"NDB\\CUSTOMPOI\\CustomPOI.symb").empty());
        golden::Expect(L"Custom_POI.ver", CardRoot() + L"NDB\\VersionManage\\Version\\Custom_POI.ver");
    }
    EXPECT_EQ(0, tempDir.CountEntries()) << "work files left in the temporary folder";
}

INSTANTIATE_TEST_SUITE_P(Models, RoundTrip, testing::Values(0, 5));

}  // namespace
