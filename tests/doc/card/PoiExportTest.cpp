#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <string>
#include <vector>

#include "IconTestSupport.h"
#include "TestFiles.h"
#include "common/TextCheck.h"
#include "doc/DocPi.h"

namespace {

using testsupport::CardRoot;

class PoiExport : public testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        InitCharClassTable();
        testsupport::ClearCard();
        ASSERT_TRUE(icontest::OpenStockPack(packDir));
        theGlobal.m_iconFolder = iconDir.Path().c_str();
    }
    void TearDown() override
    {
        testsupport::ClearCard();
        CoUninitialize();
    }
    void UseModel(int type)
    {
        doctest::SetModel(type);
        theGlobal.m_docIcon.LoadIcons();
    }
    void Fill(CDocPi& doc, int count)
    {
        doc.ResetDocument();
        for (int i = 0; i < count; ++i) {
            wchar_t name[16];
            swprintf(name, 16, L"p%04d", i);
            doc.AddRecord(doctest::MakePoi(name, 139.0 + i / 10000.0, 35.0, L"Some street 1", L"03-0000", L"d"));
        }
    }
    // The records of a card file, by name.
    std::vector<CString> Names(const std::wstring& path)
    {
        CDocPi back;
        EXPECT_TRUE(back.Load(path.c_str())) << testsupport::Utf8(path);
        std::vector<CString> names;
        for (const auto& r : back.m_records)
            names.push_back(r.m_name);
        return names;
    }
    bool TempIsEmpty() { return testsupport::ListFolder(tempDir.Path()).empty(); }
    testsupport::TempDir packDir, iconDir;
    doctest::PrivateTemp tempDir;
};

TEST_F(PoiExport, SplitByTheModelsRecordsPerFile)
{
    struct Case {
        int model;
        std::vector<int> perFile;
    } cases[] = {{0, {300, 1}}, {2, {301}}, {5, {100, 100, 100, 1}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "model " << c.model);
        testsupport::ClearCard();
        UseModel(c.model);
        CDocPi doc;
        Fill(doc, 301);
        std::wstring folder = GetPoiCardFolder(CardRoot().c_str(), c.model).GetString();
        EXPECT_EQ(c.model == 5 ? CardRoot() + L"NDB\\CUSTOMPOI\\" : CardRoot() + L"POI\\", folder);
        ASSERT_TRUE(CDocPi::CheckCardFileCount(folder.c_str(), doc.GetRecordCount(), doc.GetMaxPoiPerFile()));
        doc.SetFolderName(L"trip");
        ASSERT_TRUE(doc.ExportToCard((folder + L"trip.kml").c_str()));
        std::vector<std::wstring> files = testsupport::ListFolder(folder);
        ASSERT_EQ(c.perFile.size(), files.size());
        // Files follow the record order: trip.kml, trip(2).kml, ...
        int first = 0;
        for (size_t k = 0; k < files.size(); ++k) {
            std::wstring name = k == 0 ? L"trip.kml" : L"trip(" + std::to_wstring(k + 1) + L").kml";
            std::vector<CString> names = Names(folder + name);
            ASSERT_EQ(static_cast<size_t>(c.perFile[k]), names.size()) << testsupport::Utf8(name);
            wchar_t expected[16];
            swprintf(expected, 16, L"p%04d", first);
            EXPECT_EQ(CString(expected), names.front());
            first += c.perFile[k];
        }
        EXPECT_TRUE(TempIsEmpty()) << "work folder left behind";
    }
}

TEST_F(PoiExport, SecondExportNeverOverwrites)
{
    UseModel(5);
    CDocPi doc;
    Fill(doc, 3);
    std::wstring folder = CardRoot() + L"NDB\\CUSTOMPOI\\";
    ASSERT_TRUE(doc.ExportToCard((folder + L"trip.kml").c_str()));
    testsupport::Bytes first = testsupport::ReadBytes(folder + L"trip.kml");
    Fill(doc, 5);
    ASSERT_TRUE(doc.ExportToCard((folder + L"trip.kml").c_str()));
    EXPECT_EQ((std::vector<std::wstring>{L"trip(2).kml", L"trip.kml"}), testsupport::ListFolder(folder));
    EXPECT_EQ(first, testsupport::ReadBytes(folder + L"trip.kml"));
    EXPECT_EQ(5u, Names(folder + L"trip(2).kml").size());
}

TEST_F(PoiExport, EmptyDocumentWritesNothing)
{
    UseModel(0);
    CDocPi doc;
    ASSERT_TRUE(doc.ExportToCard((CardRoot() + L"POI\\trip.kml").c_str()));
    EXPECT_TRUE(testsupport::ListFolder(CardRoot() + L"POI\\").empty());
    EXPECT_TRUE(TempIsEmpty());
}

TEST_F(PoiExport, SizeLimitOfModelTypeZero)
{
    UseModel(0);
    CDocPi doc;
    Fill(doc, 600);
    // The sizes of the two files this export writes.
    ASSERT_TRUE(doc.WriteKml(packDir.File(L"a.kml").c_str(), 0, 300));
    ASSERT_TRUE(doc.WriteKml(packDir.File(L"b.kml").c_str(), 300, 600));
    size_t a = testsupport::ReadBytes(packDir.File(L"a.kml")).size();
    size_t b = testsupport::ReadBytes(packDir.File(L"b.kml")).size();
    // Room for the first file, not for both.
    size_t limit = static_cast<size_t>(1.4 * 1048576);
    std::wstring folder = CardRoot() + L"POI\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    testsupport::WriteBytes(folder + L"old.kml", std::string(limit - a - b / 2, 'x'));
    testsupport::Bytes old = testsupport::ReadBytes(folder + L"old.kml");
    EXPECT_FALSE(doc.ExportToCard((folder + L"trip.kml").c_str()));
    EXPECT_EQ(11, doc.GetErrorCode());
    EXPECT_EQ((std::vector<std::wstring>{L"old.kml", L"trip.kml"}), testsupport::ListFolder(folder));
    EXPECT_EQ(old, testsupport::ReadBytes(folder + L"old.kml"));
    EXPECT_EQ(600, doc.GetRecordCount());
    EXPECT_TRUE(TempIsEmpty());
}

TEST_F(PoiExport, FileNamesWindowsCannotKeepAreRefused)
{
    UseModel(5);
    CDocPi doc;
    Fill(doc, 2);
    std::wstring folder = CardRoot() + L"NDB\\CUSTOMPOI\\";
    for (const wchar_t* name : {L"CON.kml", L"nul.kml", L"com1.kml", L"LPT9.kml", L"lpt\u00B2.kml", L"a?b.kml",
                                L"a*b.kml", L"a\"b.kml", L"a<b.kml", L"a|b.kml", L"a:b.kml", L".kml"}) {
        SCOPED_TRACE(testsupport::Utf8(name));
        EXPECT_FALSE(doc.ExportToCard((folder + name).c_str()));
        EXPECT_EQ(6, doc.GetErrorCode());
    }
    EXPECT_TRUE(testsupport::ListFolder(CardRoot()).empty());
    EXPECT_TRUE(TempIsEmpty());
    EXPECT_TRUE(doc.ExportToCard((folder + L"console.kml").c_str()));
}

TEST_F(PoiExport, CardFolderThatCannotBeCreated)
{
    UseModel(0);
    CDocPi doc;
    Fill(doc, 2);
    testsupport::WriteBytes(CardRoot() + L"POI", std::string("a file where the folder belongs"));
    EXPECT_FALSE(doc.ExportToCard((CardRoot() + L"POI\\trip.kml").c_str()));
    EXPECT_EQ(8, doc.GetErrorCode());
    EXPECT_FALSE(doc.ExportToCard(L"trip.kml"));
    EXPECT_EQ(8, doc.GetErrorCode());
    EXPECT_TRUE(TempIsEmpty());
}

TEST_F(PoiExport, CardThatIsGone)
{
    // A drive letter with nothing behind it, as after the card was pulled.
    std::wstring gone;
    for (wchar_t letter = L'Q'; letter >= L'J' && gone.empty(); --letter) {
        std::wstring root = std::wstring(1, letter) + L":\\";
        if (GetDriveTypeW(root.c_str()) == DRIVE_NO_ROOT_DIR)
            gone = root;
    }
    if (gone.empty())
        GTEST_SKIP() << "no free drive letter";
    UseModel(5);
    CDocPi doc;
    Fill(doc, 2);
    EXPECT_FALSE(doc.ExportToCard((gone + L"NDB\\CUSTOMPOI\\trip.kml").c_str()));
    EXPECT_EQ(8, doc.GetErrorCode());
    EXPECT_FALSE(CDocPi::WriteCustomPoiVersion((gone + L"NDB\\VersionManage\\Version").c_str()));
    icontest::WriteUserIcons(iconDir.Path(), 1, 32);
    theGlobal.m_docIcon.LoadIcons();
    EXPECT_FALSE(theGlobal.m_docIcon.ExportCustomPoiSymbols(gone.c_str()));
    EXPECT_EQ(7, theGlobal.m_docIcon.GetErrorCode());
    UseModel(0);
    EXPECT_FALSE(theGlobal.m_docIcon.ExportUserIconBitmaps(gone.c_str()));
    EXPECT_EQ(7, theGlobal.m_docIcon.GetErrorCode());
    EXPECT_TRUE(TempIsEmpty());
    EXPECT_EQ(2, doc.GetRecordCount());
}

TEST_F(PoiExport, UnknownModelTypeFailsInsteadOfDividingByZero)
{
    UseModel(5);
    CDocPi doc;
    Fill(doc, 2);
    doctest::SetModel(13);
    EXPECT_FALSE(doc.ExportToCard((CardRoot() + L"NDB\\CUSTOMPOI\\trip.kml").c_str()));
    EXPECT_EQ(6, doc.GetErrorCode());
    EXPECT_TRUE(TempIsEmpty());
}

}  // namespace
