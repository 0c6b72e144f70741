// The settings replicator on the card: clone.xml in the model type's layout
// and encoding, and the wallpaper fitted to the unit's screen.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include "DocTestSupport.h"
#include "GoldenFiles.h"
#include "ImageFixtures.h"
#include "SmallCardFolder.h"
#include "TestFiles.h"
#include "common/XmlDocument.h"
#include "doc/DocCl.h"
#include "doc/DocPaths.h"

using testsupport::Bytes;
using testsupport::CardRoot;

namespace {

const imagetest::Rgb kWhite{255, 255, 255};
const imagetest::Rgb kBlack{0, 0, 0};

class CloneCard : public testing::Test {
protected:
    void SetUp() override
    {
        testsupport::ClearCard();
        doctest::SetModel(0);
        doc.m_program = 3;
        doc.m_voice = 7;
        doc.m_units = 1;
        doc.m_dayColor = 2;
        doc.m_nightColor = 4;
        doc.m_roadColor = 5;
        doc.m_dateFormat = 1;
        doc.m_timeFormat = 2;
        doc.m_customLevel1 = doc.m_customLevel2 = doc.m_customLevel3 = 1;
    }
    void TearDown() override
    {
        testsupport::ClearCard();
    }
    // A white picture of the size as a BMP file, loaded as the wallpaper.
    void LoadWallpaper(int width, int height)
    {
        testsupport::WriteBytes(dir.File(L"pic.bmp"), imagetest::MakeBmp(width, height, [](int, int) {
            return kWhite;
        }));
        ASSERT_TRUE(doc.Load(dir.File(L"pic.bmp").c_str()));
    }
    std::wstring CloneFile(int model) const
    {
        return CardRoot() + (model == 0 || model == 2 ? L"clone.xml" : L"PC\\Settings\\clone.xml");
    }
    std::wstring WallpaperFile(int model) const
    {
        return CardRoot() + (model == 0 || model == 2 ? L"Pictures\\wallpaper.bmp" : L"PC\\Pictures\\wallpaper.bmp");
    }
    testsupport::TempDir dir;
    CDocCl doc;
};

// Element paths and texts of a parsed clone.xml, in document order.
std::vector<std::wstring> Outline(const std::wstring& path)
{
    CXmlDocument xml;
    XmlElementPtr root = xml.Load(path.c_str());
    std::vector<std::wstring> out;
    std::function<void(XmlNode, const std::wstring&)> walk = [&](XmlNode node, const std::wstring& prefix) {
        CString name;
        XmlGetNodeName(node, name);
        std::wstring here = prefix + name.GetString();
        bool leaf = true;
        for (XmlNode child = XmlGetFirstElement(node); child; child = XmlGetNextElement(child)) {
            if (leaf)
                out.push_back(here);
            leaf = false;
            walk(child, here + L"/");
        }
        if (leaf) {
            CString text;
            XmlGetNodeText(node, text);
            out.push_back(here + L"=" + text.GetString());
        }
    };
    if (root)
        walk(root, L"");
    return out;
}

TEST_F(CloneCard, RootLayoutOfModelTypesZeroAndTwo)
{
    LoadWallpaper(800, 480);
    ASSERT_TRUE(doc.WriteCloneFiles(CardRoot().c_str(), CL_STORAGE_CARD, 0));
    golden::Expect(L"clone_m0.xml", CloneFile(0));
    std::vector<std::wstring> expected = {L"clone",
                                          L"clone/flag=1",
                                          L"clone/language",
                                          L"clone/language/program=3",
                                          L"clone/language/voice=7",
                                          L"clone/illumination",
                                          L"clone/illumination/color=5921370",  // 90 in each byte
                                          L"clone/splash",
                                          L"clone/splash/path=Storage Card\\Pictures\\wallpaper.bmp",
                                          L"clone/map",
                                          L"clone/map/units=1",
                                          L"clone/map/color",
                                          L"clone/map/color/day=2",
                                          L"clone/map/color/night=4",
                                          L"clone/dateformat=1",
                                          L"clone/timeformat=2"};
    EXPECT_EQ(expected, Outline(golden::Path(L"clone_m0.xml")));
    Bytes g = testsupport::ReadBytes(golden::Path(L"clone_m0.xml"));
    std::string head(g.begin(), g.begin() + 36);
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"", head);  // UTF-8, no byte-order mark
    EXPECT_TRUE(testsupport::FileExists(WallpaperFile(0)));
}

TEST_F(CloneCard, PcLayoutOfTheOtherModelTypes)
{
    doc.m_customLevel1 = 31;
    doc.m_customLevel2 = 0;
    doc.m_customLevel3 = 1;
    doctest::SetModel(7);
    LoadWallpaper(800, 480);
    ASSERT_TRUE(doc.WriteCloneFiles(CardRoot().c_str(), CL_STORAGE_USB, 7));
    golden::Expect(L"clone_m7.xml", CloneFile(7));
    std::vector<std::wstring> expected = {L"clone",
                                          L"clone/MirovaleFileVersion=A01",
                                          L"clone/language",
                                          L"clone/language/program=3",
                                          L"clone/language/voice=7",
                                          L"clone/illumination",
                                          L"clone/illumination/color=9",
                                          L"clone/illumination/custom=65567",
                                          L"clone/splash",
                                          L"clone/splash/path=Storage Card\\PC\\Pictures\\wallpaper.bmp",
                                          L"clone/units=1",
                                          L"clone/roadcolor=5",
                                          L"clone/timeformat=2"};
    EXPECT_EQ(expected, Outline(golden::Path(L"clone_m7.xml")));
    Bytes g = testsupport::ReadBytes(golden::Path(L"clone_m7.xml"));
    ASSERT_GE(g.size(), 2u);
    EXPECT_EQ(0xFF, g[0]);  // UTF-16LE with a byte-order mark
    EXPECT_EQ(0xFE, g[1]);
    Bytes bmp = testsupport::ReadBytes(WallpaperFile(7));
    EXPECT_EQ(54u + 2400u * 480u, bmp.size());
}

TEST_F(CloneCard, ModelTypeFourAndTwoWithoutWallpaper)
{
    doc.m_customLevel1 = 20;
    ASSERT_TRUE(doc.WriteCloneFiles(CardRoot().c_str(), CL_STORAGE_CARD, 4));
    golden::Expect(L"clone_m4.xml", CloneFile(4));
    std::vector<std::wstring> outline = Outline(CloneFile(4));
    EXPECT_NE(outline.end(), std::find(outline.begin(), outline.end(), L"clone/illumination/custom=65793"));
    EXPECT_NE(outline.end(), std::find(outline.begin(), outline.end(), L"clone/splash/path=none"));
    EXPECT_FALSE(testsupport::FileExists(WallpaperFile(4)));

    ASSERT_TRUE(doc.WriteCloneFiles(CardRoot().c_str(), CL_STORAGE_CARD, 2));
    golden::Expect(L"clone_m2.xml", CloneFile(2));
    outline = Outline(CloneFile(2));
    EXPECT_NE(outline.end(), std::find(outline.begin(), outline.end(), L"clone/splash/path=none"));
    EXPECT_FALSE(testsupport::FileExists(WallpaperFile(2)));
}

TEST_F(CloneCard, SplashPathTable)
{
    struct Case {
        int model, storage;
        bool wallpaper;
        const wchar_t* path;  // nullptr: no path element
    } cases[] = {
        {0, 0, false, L"none"},
        {2, 1, false, L"none"},
        {0, 0, true, L"Storage Card\\Pictures\\wallpaper.bmp"},
        {2, 1, true, L"USB Disk\\Pictures\\wallpaper.bmp"},
        {0, 2, true, nullptr},
        {5, 0, false, L"none"},
        {5, 1, true, L"Storage Card\\PC\\Pictures\\wallpaper.bmp"},
        {12, 2, true, L"Storage Card\\PC\\Pictures\\wallpaper.bmp"},
    };
    for (const Case& c : cases) {
        FreeDibImage(&doc.m_wallpaper);
        if (c.wallpaper)
            LoadWallpaper(100, 100);
        testsupport::ClearCard();
        ASSERT_TRUE(doc.WriteCloneFiles(CardRoot().c_str(), c.storage, c.model));
        std::vector<std::wstring> outline = Outline(CloneFile(c.model));
        auto it = std::find_if(outline.begin(), outline.end(),
                               [](const std::wstring& s) { return s.rfind(L"clone/splash/", 0) == 0 || s == L"clone/splash="; });
        ASSERT_NE(outline.end(), it);
        if (c.path)
            EXPECT_EQ(std::wstring(L"clone/splash/path=") + c.path, *it) << c.model << "/" << c.storage;
        else
            EXPECT_EQ(L"clone/splash=", *it) << c.model << "/" << c.storage;
        EXPECT_EQ(c.wallpaper, testsupport::FileExists(WallpaperFile(c.model)));
    }
}

TEST_F(CloneCard, IlluminationLevelsStayInsideTheTable)
{
    doc.m_customLevel1 = 31;
    doc.m_customLevel2 = 16;
    doc.m_customLevel3 = 0;
    EXPECT_EQ((0 << 16) + (165 << 8) + 255, doc.GetIlluminationColor());
    doc.m_customLevel1 = 200;  // the view wrote a value the unit does not have
    EXPECT_EQ((0 << 16) + (165 << 8) + 255, doc.GetIlluminationColor());
    EXPECT_EQ((16 << 8) + 31, doc.GetCustomIllumination(5));
}

TEST_F(CloneCard, WallpaperIsFittedToTheScreenWithBars)
{
    doctest::SetModel(6);
    LoadWallpaper(1024, 768);
    ASSERT_EQ(480, doc.m_wallpaper.width);
    ASSERT_EQ(272, doc.m_wallpaper.height);
    EXPECT_EQ(L"pic.bmp", std::wstring(doc.m_pictureName.GetString()));
    EXPECT_EQ(kBlack, imagetest::PixelOf(doc.m_wallpaper, 0, 136));
    EXPECT_EQ(kBlack, imagetest::PixelOf(doc.m_wallpaper, 479, 136));
    EXPECT_EQ(kWhite, imagetest::PixelOf(doc.m_wallpaper, 240, 0));
    EXPECT_EQ(kWhite, imagetest::PixelOf(doc.m_wallpaper, 240, 271));

    // Not a picture: error 2, the wallpaper stays.
    testsupport::WriteBytes(dir.File(L"not.bmp"), std::string("not a picture"));
    EXPECT_FALSE(doc.Load(dir.File(L"not.bmp").c_str()));
    EXPECT_EQ(2, doc.GetErrorCode());
    EXPECT_EQ(480, doc.m_wallpaper.width);
    EXPECT_EQ(L"pic.bmp", std::wstring(doc.m_pictureName.GetString()));
}

TEST_F(CloneCard, DefaultsComeFromTheNaviModel)
{
    CNaviModelData saved;
    saved.m_programItems.Copy(theGlobal.m_naviModel.m_programItems);
    saved.m_voiceItems.Copy(theGlobal.m_naviModel.m_voiceItems);
    theGlobal.m_naviModel.m_programItems.RemoveAll();
    theGlobal.m_naviModel.m_voiceItems.RemoveAll();
    _PROGRAM_ITEM_STRUCT item{L"P", 12};
    theGlobal.m_naviModel.m_voiceItems.Add(item);
    CDocCl fresh;
    fresh.InitDefaults();
    EXPECT_EQ(255, fresh.m_program);  // an empty list
    EXPECT_EQ(12, fresh.m_voice);
    EXPECT_EQ(1, fresh.m_customLevel2);
    theGlobal.m_naviModel.m_programItems.Copy(saved.m_programItems);
    theGlobal.m_naviModel.m_voiceItems.Copy(saved.m_voiceItems);
}

TEST_F(CloneCard, FolderThatCannotBeMadeIsErrorEight)
{
    testsupport::WriteBytes(CardRoot() + L"blocker", std::string("x"));
    EXPECT_FALSE(doc.WriteCloneFiles((CardRoot() + L"blocker").c_str(), CL_STORAGE_CARD, 0));
    EXPECT_EQ(8, doc.GetErrorCode());
}

TEST_F(CloneCard, FullCardLeavesTheOldCloneFileAndNoHalfWallpaper)
{
    doctest::SetModel(5);
    ASSERT_TRUE(CreateFolderPath((CardRoot() + L"PC").c_str()));
    cardfs::SmallCardFolder small(CardRoot() + L"PC", 64);
    if (!small.Mounted())
        GTEST_SKIP() << "cannot mount a small file system here";
    ASSERT_TRUE(doc.WriteCloneFiles(CardRoot().c_str(), CL_STORAGE_CARD, 5));
    Bytes old = testsupport::ReadBytes(CloneFile(5));
    LoadWallpaper(800, 480);  // far more than the card holds
    doc.m_program = 9;
    EXPECT_FALSE(doc.WriteCloneFiles(CardRoot().c_str(), CL_STORAGE_CARD, 5));
    EXPECT_EQ(7, doc.GetErrorCode());
    EXPECT_EQ(old, testsupport::ReadBytes(CloneFile(5)));  // still says "none"
    EXPECT_TRUE(testsupport::ListFolder(CardRoot() + L"PC\\Pictures\\").empty());

    ASSERT_TRUE(small.MakeReadOnly());
    FreeDibImage(&doc.m_wallpaper);
    EXPECT_FALSE(doc.WriteCloneFiles(CardRoot().c_str(), CL_STORAGE_CARD, 5));
    EXPECT_EQ(6, doc.GetErrorCode());
    EXPECT_EQ(old, testsupport::ReadBytes(CloneFile(5)));
}

}  // namespace
