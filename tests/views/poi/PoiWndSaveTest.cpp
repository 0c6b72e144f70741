// The POI list view under Xvfb: saving as a KML file on the PC and the card
// export on the test drive R:, with their failures.
#include "PoiViewFixture.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"

using namespace poitest;
using testsupport::CardRoot;
using testsupport::FileExists;
using testsupport::ListFolder;

namespace {

TEST_F(PoiView, SaveProposesAFileNameAndClearsTheModifiedFlag)
{
    testsupport::TempDir dir;
    theGlobal.m_headerTitle = L"My?Trip";
    doc().SetModified(1);
    Command(ID_FILE_SAVE);  // cancelled
    EXPECT_EQ(g_save.calls, 1);
    EXPECT_EQ(g_save.proposed, CString(L"POI.KML"));
    EXPECT_EQ(doc().IsModified(), 1);

    theGlobal.m_headerTitle = L"Coast";
    g_save.answer = (dir.Path() + L"Coast walk.kml").c_str();
    Command(ID_FILE_SAVE);
    EXPECT_EQ(g_save.proposed, CString(L"Coast"));
    EXPECT_TRUE(FileExists(dir.Path() + L"Coast walk.kml"));
    EXPECT_EQ(doc().IsModified(), 0);
    EXPECT_EQ(theGlobal.m_piFileSpec, CString(L"Coast walk.kml"));
    EXPECT_EQ(theGlobal.m_piIniFolder, CString(dir.Path().substr(0, dir.Path().size() - 1).c_str()));
    EXPECT_EQ(doc().GetFolderName(), CString(L"Coast walk"));

    // A record without a position: the document's text with OK and Cancel.
    doc().AddRecord(Rec(L"Nowhere", POI_NO_POSITION, POI_NO_POSITION));
    doc().SetModified(1);
    doc().Validate();
    CString invalid;
    doc().GetErrorString(invalid);
    ASSERT_FALSE(invalid.IsEmpty());
    {
        TextAnswers answers({{std::wstring(invalid), IDCANCEL}});
        Command(ID_FILE_SAVE);
        EXPECT_EQ(answers.asked.size(), 1u);
    }
    EXPECT_EQ(g_save.calls, 2);
    {
        TextAnswers answers({{std::wstring(invalid), IDOK}});
        Command(ID_FILE_SAVE);
    }
    EXPECT_EQ(g_save.calls, 3);
    EXPECT_EQ(doc().IsModified(), 0);
}

TEST_F(PoiView, AFailedSaveShowsTheDocumentsTextAndKeepsTheFlag)
{
    testsupport::TempDir dir;
    theGlobal.m_piFileSpec = L"before.kml";
    g_save.answer = (dir.Path() + L"no such folder\\list.kml").c_str();
    doc().SetModified(1);
    {
        TextAnswers answers({});
        Command(ID_FILE_SAVE);
        ASSERT_EQ(answers.asked.size(), 1u);
        CString text;
        EXPECT_EQ(answers.asked[0], std::wstring(doc().GetErrorString(text)));
        EXPECT_FALSE(answers.asked[0].empty());
    }
    EXPECT_EQ(doc().IsModified(), 1);
    EXPECT_EQ(theGlobal.m_piFileSpec, CString(L"before.kml"));
    EXPECT_EQ(doc().GetRecordCount(), 5);
}

TEST_F(PoiView, ExportWritesTheCardFolderOfTheModelAndReportsSuccess)
{
    const struct {
        int type;
        std::wstring folder;
        bool version;
    } cases[] = {{0, L"POI\\", false}, {2, L"POI\\", false}, {5, L"NDB\\CUSTOMPOI\\", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        testsupport::ClearCard();
        theGlobal.m_modelType = c.type;
        doc().SetModified(1);
        TextAnswers answers({});
        Command(ID_EXPORT);
        EXPECT_EQ(g_card.proposed, CString(L"POI"));
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{Ui(16)});
        EXPECT_TRUE(FileExists(CardRoot() + c.folder + L"Trip.kml"));
        EXPECT_EQ(FileExists(CardRoot() + L"NDB\\VersionManage\\Version\\Custom_POI.ver"), c.version);
        EXPECT_EQ(doc().IsModified(), 0);
        EXPECT_EQ(doc().GetRecordCount(), 5);
    }
}

TEST_F(PoiView, AFailedExportShowsWhyKeepsTheListAndLeavesNoFileBehind)
{
    // Too many POI files on the card already.
    ::CreateDirectoryW((CardRoot() + L"POI").c_str(), nullptr);
    for (int i = 0; i < 101; ++i)
        testsupport::WriteBytes(CardRoot() + L"POI\\old" + std::to_wstring(i) + L".kml", std::string("x"));
    doc().SetModified(1);
    {
        TextAnswers answers({});
        Command(ID_EXPORT);
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{Ui(20)});
    }
    EXPECT_FALSE(FileExists(CardRoot() + L"POI\\Trip.kml"));
    EXPECT_EQ(doc().IsModified(), 1);

    // The card folder cannot be made (a file holds its name).
    testsupport::ClearCard();
    testsupport::WriteBytes(CardRoot() + L"POI", std::string("x"));
    {
        TextAnswers answers({});
        Command(ID_EXPORT);
        ASSERT_EQ(answers.asked.size(), 1u);
        EXPECT_NE(answers.asked[0], Ui(16));
        CString text;
        EXPECT_EQ(answers.asked[0], std::wstring(doc().GetErrorString(text)));
    }
    EXPECT_EQ(doc().IsModified(), 1);
    EXPECT_EQ(doc().GetRecordCount(), 5);

    // The icons cannot be written (a file holds the icon folder's name): the
    // icon document's text, and the KML file just written goes again.
    testsupport::ClearCard();
    testsupport::WriteBytes(CardRoot() + L"usericon", std::string("x"));
    {
        TextAnswers answers({});
        Command(ID_EXPORT);
        ASSERT_EQ(answers.asked.size(), 1u);
        CString text;
        EXPECT_EQ(answers.asked[0], std::wstring(theGlobal.m_docIcon.GetErrorString(text)));
        EXPECT_FALSE(answers.asked[0].empty());
    }
    EXPECT_EQ(ListFolder(CardRoot() + L"POI\\"), std::vector<std::wstring>{});
    EXPECT_EQ(doc().IsModified(), 1);

    // The version file cannot be written: the KML files just written go again.
    testsupport::ClearCard();
    theGlobal.m_modelType = 5;
    ::CreateDirectoryW((CardRoot() + L"NDB").c_str(), nullptr);
    testsupport::WriteBytes(CardRoot() + L"NDB\\VersionManage", std::string("x"));
    ::CreateDirectoryW((CardRoot() + L"NDB\\CUSTOMPOI").c_str(), nullptr);
    testsupport::WriteBytes(CardRoot() + L"NDB\\CUSTOMPOI\\Mine.kml", std::string("keep"));
    {
        TextAnswers answers({});
        Command(ID_EXPORT);
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{Ui(10)});
    }
    EXPECT_EQ(ListFolder(CardRoot() + L"NDB\\CUSTOMPOI\\"), std::vector<std::wstring>{L"Mine.kml"});
    EXPECT_EQ(doc().IsModified(), 1);
}

TEST_F(PoiView, AnExportFailingPartWayThroughTheIconsTakesBackWhatItAdded)
{
    // The close-up map icon is written, then its display settings cannot be
    // (a folder holds their name): nothing of this export stays on the card.
    ::CreateDirectoryW((CardRoot() + L"usericon").c_str(), nullptr);
    ::CreateDirectoryW((CardRoot() + L"usericon\\poi_mapclose.spr").c_str(), nullptr);
    ::CreateDirectoryW((CardRoot() + L"POI").c_str(), nullptr);
    testsupport::WriteBytes(CardRoot() + L"POI\\Old.kml", std::string("keep"));
    doc().SetModified(1);
    {
        TextAnswers answers({});
        Command(ID_EXPORT);
        ASSERT_EQ(answers.asked.size(), 1u);
        CString text;
        EXPECT_EQ(answers.asked[0], std::wstring(theGlobal.m_docIcon.GetErrorString(text)));
    }
    EXPECT_EQ(ListFolder(CardRoot() + L"usericon\\"), std::vector<std::wstring>{L"poi_mapclose.spr"});
    EXPECT_EQ(ListFolder(CardRoot() + L"POI\\"), std::vector<std::wstring>{L"Old.kml"});
    EXPECT_EQ(doc().IsModified(), 1);

    // A card where nothing was before: the folders the export made go too.
    testsupport::ClearCard();
    theGlobal.m_modelType = 5;
    ::CreateDirectoryW((CardRoot() + L"NDB").c_str(), nullptr);
    testsupport::WriteBytes(CardRoot() + L"NDB\\VersionManage", std::string("x"));
    {
        TextAnswers answers({});
        Command(ID_EXPORT);
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{Ui(10)});
    }
    EXPECT_EQ(ListFolder(CardRoot() + L"NDB\\"), std::vector<std::wstring>{L"VersionManage"});
}

}  // namespace
