#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <clocale>
#include <limits>
#include <string>

#include "DocTestSupport.h"
#include "GoldenFiles.h"
#include "IconTestSupport.h"
#include "TestFiles.h"
#include "common/TextCheck.h"
#include "doc/DocPi.h"

using doctest::MakePoi;

namespace {

class Kml : public testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        InitCharClassTable();
        ASSERT_TRUE(icontest::OpenStockPack(packDir));
        theGlobal.m_iconFolder = iconDir.Path().c_str();
    }
    void TearDown() override { CoUninitialize(); }
    void UseModel(int type)
    {
        doctest::SetModel(type);
        testsupport::RemoveTree(iconDir.Path());
        CreateDirectoryW(iconDir.Path().c_str(), nullptr);
        icontest::WriteUserIcons(iconDir.Path(), 2, (type == 1 || type == 4 || type == 6) ? 24 : 32);
        theGlobal.m_docIcon.LoadIcons();
    }
    // Two records: one full, one without position and with markup characters.
    void Fill(CDocPi& doc)
    {
        doc.ResetDocument();
        doc.SetFolderName(L"Trip");
        doc.AddRecord(MakePoi(L"Tower", 139.745433, 35.658581, L"4-2-8 Shibakoen", L"03-1234", L"red & white"));
        doc.AddRecord(MakePoi(L"A<B>", -255.0, -255.0, L"", L"", L""));
    }
    std::string ReadText(const std::wstring& path)
    {
        auto b = testsupport::ReadBytes(path);
        return std::string(b.begin(), b.end());
    }
    testsupport::TempDir packDir, iconDir, dir;
};

TEST_F(Kml, Version1LayoutBytes)
{
    UseModel(0);
    CDocPi doc;
    Fill(doc);
    ASSERT_TRUE(doc.Save(dir.File(L"v1.kml").c_str()));
    golden::Expect(L"poi_v1.kml", dir.File(L"v1.kml"));
}

TEST_F(Kml, Version2LayoutBytes)
{
    UseModel(5);
    CDocPi doc;
    Fill(doc);
    ASSERT_TRUE(doc.Save(dir.File(L"v2.kml").c_str()));
    golden::Expect(L"poi_v2.kml", dir.File(L"v2.kml"));
}

TEST_F(Kml, WrittenFilesReadBack)
{
    for (int model : {0, 2, 4, 5}) {
        SCOPED_TRACE(testing::Message() << "model " << model);
        UseModel(model);
        CDocPi doc;
        Fill(doc);
        doc.m_defaultIcon = theGlobal.m_docIcon.GetStockCount() + 1;  // the second user icon
        ASSERT_TRUE(doc.Save(dir.File(L"rt.kml").c_str()));
        CDocPi back;
        back.m_defaultIcon = 0;
        ASSERT_TRUE(back.Load(dir.File(L"rt.kml").c_str()));
        EXPECT_EQ(1, back.IsModified());
        EXPECT_EQ(doc.m_defaultIcon, back.m_defaultIcon);
        EXPECT_EQ(L"Trip", back.GetFolderName());
        ASSERT_EQ(2, back.GetRecordCount());
        const CDocPiRecord& r = back.m_records[0];
        EXPECT_EQ(L"Tower", r.m_name);
        EXPECT_EQ(L"4-2-8 Shibakoen", r.m_address);
        EXPECT_EQ(L"03-1234", r.m_telephone);
        EXPECT_EQ(L"red & white", r.m_description);
        EXPECT_DOUBLE_EQ(139.745433, r.m_longitude);
        EXPECT_DOUBLE_EQ(35.658581, r.m_latitude);
        EXPECT_EQ(L"A<B>", back.m_records[1].m_name);
        EXPECT_EQ(-255.0, back.m_records[1].m_longitude);  // -255 is outside the range
    }
}

TEST_F(Kml, NoNumberIsWrittenAsAPosition)
{
    UseModel(0);
    CDocPi doc;
    Fill(doc);
    doc.m_records[0].m_longitude = std::numeric_limits<double>::quiet_NaN();
    doc.m_records[1].m_latitude = std::numeric_limits<double>::infinity();
    ASSERT_TRUE(doc.Save(dir.File(L"nan.kml").c_str()));
    std::string text = ReadText(dir.File(L"nan.kml"));
    EXPECT_EQ(std::string::npos, text.find("NAN")) << text;
    EXPECT_EQ(std::string::npos, text.find("INF")) << text;
    CDocPi back;
    ASSERT_TRUE(back.Load(dir.File(L"nan.kml").c_str()));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(-255.0, back.m_records[i].m_longitude);
        EXPECT_EQ(-255.0, back.m_records[i].m_latitude);
    }
}

TEST_F(Kml, CoordinatesAreWrittenWithAPointUnderACommaLocale)
{
    UseModel(0);
    CDocPi doc;
    Fill(doc);
    ASSERT_TRUE(setlocale(LC_NUMERIC, "German_Germany.1252")) << "locale German_Germany.1252 missing";
    bool saved = doc.Save(dir.File(L"de.kml").c_str());
    CDocPi back;
    bool loaded = back.Load(dir.File(L"de.kml").c_str());
    setlocale(LC_NUMERIC, "C");
    ASSERT_TRUE(saved && loaded);
    EXPECT_NE(std::string::npos, ReadText(dir.File(L"de.kml")).find("<coordinates>139.745433,35.658581<"));
    EXPECT_DOUBLE_EQ(139.745433, back.m_records[0].m_longitude);
}

// A file from its text (UTF-8).
struct ReadCase {
    const char* what;
    const char* kml;
    bool ok;
    int error;
    int records;
    const char* folder;
};

std::string Wrap(const std::string& body, const std::string& version = "")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://earth.google.com/kml/2.1\"><Document>" +
           version + body + "</Document></kml>";
}

const char kPm[] = "<Placemark><name>P</name><Point><coordinates>139.5,35.5</coordinates></Point></Placemark>";

TEST_F(Kml, ReadingRules)
{
    UseModel(5);
    const std::string pm = kPm;
    const std::string v1pm = "<Placemark><name>Q</name><description>addr</description><Point><coordinates>1,2"
                             "</coordinates></Point><metadata><telephone>t</telephone><additional_information>d"
                             "</additional_information></metadata></Placemark>";
    const std::string v1 = "<MirovaleFileVersion>1.0</MirovaleFileVersion>";
    const std::string v2 = "<MirovaleFileVersion>2.0</MirovaleFileVersion>";
    const std::string plainNested = Wrap("<name>Top</name>" + pm + "<Folder><name>A</name>" + pm +
                                         "<Folder><name>B</name>" + pm + "</Folder></Folder><Folder>" + pm +
                                         "</Folder>");
    const std::string v1NoName = Wrap("<Folder><name>F</name>" + v1pm + "</Folder><Folder>" + v1pm + "</Folder>", v1);
    const std::string twoNames = Wrap("<Placemark><name>a</name><name>b</name><Point><coordinates>1,2"
                                      "</coordinates></Point></Placemark>");
    const std::string v1MissingMeta = Wrap("<Folder><name>F</name><Placemark><name>Q</name><description>a"
                                           "</description><Point><coordinates>1,2</coordinates></Point>"
                                           "</Placemark></Folder>", v1);
    const std::string v3 = Wrap("<MirovaleFileVersion>3</MirovaleFileVersion>" + pm);
    const std::string v2Sparse = Wrap("<Folder><name>F</name><Placemark><name>S</name><Point><coordinates>"
                                      "1,2</coordinates></Point></Placemark></Folder>", v2);
    const std::string noPoint = Wrap("<Placemark><name>a</name></Placemark>");
    // Shapes the XML parser would take minutes over: refused before parsing.
    std::string manyAttributes = "<Placemark";
    for (int i = 0; i < 100000; ++i)
        manyAttributes += " xmlns:n" + std::to_string(i) + "=\"u\"";
    manyAttributes = Wrap(manyAttributes + "><name>a</name></Placemark>");
    const std::string openComment = Wrap(pm + "<!--" + std::string(1 << 20, 'c'));
    const ReadCase cases[] = {
        {"100,000 namespace declarations", manyAttributes.c_str(), false, 2, 0, nullptr},
        {"1 MB comment never closed", openComment.c_str(), false, 2, 0, nullptr},
        {"plain, nested folders", plainNested.c_str(), true, 0, 4, "none title"},
        {"1.0 folder without name", v1NoName.c_str(), false, 2, 1, "F"},
        {"two names", twoNames.c_str(), false, 2, 0, "none title"},
        {"1.0 placemark without metadata", v1MissingMeta.c_str(), false, 2, 0, "F"},
        {"version 3 reads as plain", v3.c_str(), true, 0, 1, "none title"},
        {"2.0 with optional parts missing", v2Sparse.c_str(), true, 0, 1, "F"},
        {"placemark without a point", noPoint.c_str(), false, 2, 0, "none title"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::WriteBytes(dir.File(L"in.kml"), std::string(c.kml));
        CDocPi doc;
        EXPECT_EQ(c.ok, doc.Load(dir.File(L"in.kml").c_str()) != 0);
        EXPECT_EQ(c.error, doc.GetErrorCode());
        EXPECT_EQ(c.records, doc.GetRecordCount());
        if (c.folder)
            EXPECT_EQ(CString(c.folder), doc.GetFolderName());
    }
}

TEST_F(Kml, PositionTexts)
{
    UseModel(5);
    struct Case {
        const char* text;
        double lon, lat;
    } cases[] = {
        {"139.5,35.5", 139.5, 35.5},         {"139.5,35.5,10", 139.5, 35.5}, {" 139.5 , 35.5 ", 139.5, 35.5},
        {"180,-90", 180, -90},                {"181,35", -255, -255},         {"139.5,90.1", -255, -255},
        {"35.6", -255, -255},                 {"abc,def", -255, -255},         {"", -255, -255},
        // Only plain decimal numbers are positions.
        {"nan,nan", -255, -255},              {"inf,0", -255, -255},           {"0,-inf", -255, -255},
        {"0x10,5", -255, -255},               {"1e2,5", -255, -255},           {"5,1E1", -255, -255},
        {"139.5abc,35.5", -255, -255},        {"139.5,35.5x", -255, -255},     {"1 2,3", -255, -255},
        {"-0.5,+1.25", -0.5, 1.25},           {"1.,.5", 1, 0.5},              {".,5", -255, -255},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string pm = std::string("<Placemark><name>P</name><Point><coordinates>") + c.text +
                         "</coordinates></Point></Placemark>";
        testsupport::WriteBytes(dir.File(L"p.kml"), Wrap(pm));
        CDocPi doc;
        ASSERT_TRUE(doc.Load(dir.File(L"p.kml").c_str()));
        EXPECT_DOUBLE_EQ(c.lon, doc.m_records[0].m_longitude);
        EXPECT_DOUBLE_EQ(c.lat, doc.m_records[0].m_latitude);
    }
}

TEST_F(Kml, TooManyPlacemarks)
{
    UseModel(5);
    std::string body;
    for (int i = 0; i < 2001; ++i)
        body += kPm;
    testsupport::WriteBytes(dir.File(L"big.kml"), Wrap(body));
    CDocPi doc;
    EXPECT_FALSE(doc.Load(dir.File(L"big.kml").c_str()));
    EXPECT_EQ(10, doc.GetErrorCode());
    EXPECT_EQ(2000, doc.GetRecordCount());
}

TEST_F(Kml, FarTooLargeFileIsRefusedBeforeReading)
{
    UseModel(5);
    std::wstring big = dir.File(L"huge.kml");
    HANDLE h = CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    LARGE_INTEGER size;
    size.QuadPart = 64ll * 1024 * 1024 + 1;
    SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
    CloseHandle(h);
    CDocPi doc;
    doc.AddRecord(MakePoi(L"kept", 1, 2));
    EXPECT_FALSE(doc.Load(big.c_str()));
    EXPECT_EQ(10, doc.GetErrorCode());
    EXPECT_EQ(1, doc.GetRecordCount());
}

TEST_F(Kml, BrokenEmptyOrForeignFilesKeepTheRecords)
{
    UseModel(5);
    testsupport::WriteBytes(dir.File(L"broken.kml"), Wrap(kPm).substr(0, 120));
    testsupport::WriteBytes(dir.File(L"empty.kml"), std::string());
    testsupport::WriteBytes(dir.File(L"html.kml"), std::string("<html><body>not kml</body></html>"));
    // Latin-1 bytes under a UTF-8 declaration.
    testsupport::WriteBytes(dir.File(L"latin1.kml"), Wrap("<Placemark><name>Caf\xE9</name></Placemark>"));
    for (const wchar_t* name : {L"broken.kml", L"empty.kml", L"missing.kml", L"latin1.kml"}) {
        SCOPED_TRACE(testsupport::Utf8(name));
        CDocPi doc;
        doc.AddRecord(MakePoi(L"kept", 1, 2));
        EXPECT_FALSE(doc.Load(dir.File(name).c_str()));
        EXPECT_EQ(2, doc.GetErrorCode());
        ASSERT_EQ(1, doc.GetRecordCount());
        EXPECT_EQ(L"kept", doc.m_records[0].m_name);
    }
    // Well-formed XML without placemarks loads nothing and keeps the records.
    CDocPi doc;
    doc.AddRecord(MakePoi(L"kept", 1, 2));
    EXPECT_TRUE(doc.Load(dir.File(L"html.kml").c_str()));
    EXPECT_EQ(1, doc.GetRecordCount());
}

TEST_F(Kml, FileIconsByLayoutAndModel)
{
    struct Case {
        int model;
        const char* block;  // the icon part of the file
        const char* version;
        int expected;       // -1: the document's icon stays 7
    } cases[] = {
        {0, "<metadata><igoicon><filename>u01.bmp</filename></igoicon></metadata>", "1.0", 74 + 1},
        {0, "<metadata><igoicon><filename>poi_mapclose.spr</filename><phase>12</phase></igoicon></metadata>", "1.0", 12},
        {5, "<metadata><igoicon><filename>poi_mapclose.spr</filename><phase>12</phase></igoicon></metadata>", "1.0", -1},
        {0, "<metadata><igoicon><filename>unknown.bmp</filename></igoicon></metadata>", "1.0", -1},
        {5, "0x4102001D", "2.0", 29},
        {5, "0x71010001", "2.0", 30 + 1},
        {5, "0x71010009", "2.0", -1},
        {0, "0x41020003", "2.0", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.model << " " << c.block);
        UseModel(c.model);
        std::string version = std::string("<MirovaleFileVersion>") + c.version + "</MirovaleFileVersion>";
        std::string body;
        if (std::string(c.version) == "1.0")
            body = c.block + std::string("<Folder><name>F</name></Folder>");
        else
            body = std::string("<Folder><name>F</name><Placemark><name>P</name><Point><coordinates>1,2"
                               "</coordinates></Point><metadata><icon><filename>") +
                   c.block + "</filename></icon></metadata></Placemark></Folder>";
        testsupport::WriteBytes(dir.File(L"icon.kml"), Wrap(body, version));
        CDocPi doc;
        doc.m_defaultIcon = 7;
        ASSERT_TRUE(doc.Load(dir.File(L"icon.kml").c_str()));
        EXPECT_EQ(c.expected < 0 ? 7 : c.expected, doc.m_defaultIcon);
    }
}

TEST_F(Kml, DeletedUserIconIsWrittenAsTheDefaultIcon)
{
    for (int model : {0, 5}) {
        UseModel(model);
        CDocPi doc;
        Fill(doc);
        doc.m_defaultIcon = theGlobal.m_docIcon.GetStockCount() + 1;
        ASSERT_TRUE(DeleteFileW(iconDir.File(L"u01.bmp").c_str()));
        theGlobal.m_docIcon.LoadIcons();
        ASSERT_TRUE(doc.Save(dir.File(L"gone.kml").c_str()));
        CDocPi back;
        ASSERT_TRUE(back.Load(dir.File(L"gone.kml").c_str()));
        EXPECT_EQ(model == 0 ? 2 : 1, back.m_defaultIcon);
        icontest::WriteUserIcons(iconDir.Path(), 2, 32);
    }
}

TEST_F(Kml, IconDocumentWithoutIconsStillWrites)
{
    UseModel(0);
    CDocIcon& icons = theGlobal.m_docIcon;
    icons.m_stockCount = 0;  // as when the image lists could not be made
    icons.m_userCount = 0;
    icons.m_userIconNames.RemoveAll();
    CDocPi doc;
    Fill(doc);
    doc.m_defaultIcon = 80;
    EXPECT_TRUE(doc.Save(dir.File(L"bare.kml").c_str()));
    EXPECT_NE(std::string::npos, ReadText(dir.File(L"bare.kml")).find("<phase>2</phase>"));
    UseModel(5);
    icons.m_stockCount = 0;
    icons.m_userCount = 0;
    icons.m_userIconNames.RemoveAll();
    EXPECT_TRUE(doc.Save(dir.File(L"bare2.kml").c_str()));
    icons.LoadIcons();
}

TEST_F(Kml, UnshownCharactersAndLongTextsWhenReading)
{
    UseModel(5);
    std::string longName(70, 'n');
    std::string pm = "<Placemark><name>" + longName + "</name><address>" + testsupport::Utf8(L"\u01A0 st") +
                     "</address><Point><coordinates>1,2</coordinates></Point></Placemark>";
    testsupport::WriteBytes(dir.File(L"u.kml"), Wrap(pm));
    CDocPi doc;
    ASSERT_TRUE(doc.Load(dir.File(L"u.kml").c_str()));
    EXPECT_EQ(64, doc.m_records[0].m_name.GetLength());
    EXPECT_EQ(L"? st", doc.m_records[0].m_address);
}

TEST_F(Kml, WriteFailureIsErrorSix)
{
    UseModel(0);
    CDocPi doc;
    Fill(doc);
    EXPECT_FALSE(doc.WriteKml(dir.File(L"no\\such\\x.kml").c_str(), 0, 2));
    EXPECT_EQ(6, doc.GetErrorCode());
    // last beyond the count is cut; an empty range still writes a valid file.
    ASSERT_TRUE(doc.WriteKml(dir.File(L"cut.kml").c_str(), 1, 99));
    CDocPi back;
    ASSERT_TRUE(back.Load(dir.File(L"cut.kml").c_str()));
    EXPECT_EQ(1, back.GetRecordCount());
    ASSERT_TRUE(doc.WriteKml(dir.File(L"none.kml").c_str(), 2, 2));
    CDocPi none;
    EXPECT_TRUE(none.Load(dir.File(L"none.kml").c_str()));
    EXPECT_EQ(0, none.GetRecordCount());
}

}  // namespace
