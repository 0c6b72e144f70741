// Chosen feed items saved as KML and exported to a card folder.
#include <string>

#include "FeedTestSupport.h"

using namespace feedtest;

namespace {

std::string Text(const std::wstring& path, bool utf16)
{
    auto b = testsupport::ReadBytes(path);
    if (!utf16)
        return std::string(b.begin(), b.end());
    std::wstring w;
    for (size_t i = 2; i + 1 < b.size(); i += 2)
        w += static_cast<wchar_t>(b[i] | (b[i + 1] << 8));
    return testsupport::Utf8(w);
}

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

class FeedExport : public FeedTest {
protected:
    void Show(int n, int checkEvery = 1)
    {
        for (int i = 0; i < n; ++i) {
            DOCPI_RSS_ITEM it{};
            swprintf(it.poi.name, 65, L"P%04d", i);
            it.poi.longitude = 139.5;
            it.poi.latitude = 35.25;
            it.check = i % checkEvery == 0;
            CoCreateGuid(&it.guid);
            Doc().m_shownItems.Add(it);
        }
    }
};

TEST_F(FeedExport, KmlOfCheckedItemsInBothLayouts)
{
    doctest::SetModel(0);
    Doc().ClearItems();  // also sets the icon by model type
    Show(3, 2);  // P0000 and P0002 checked
    wcscpy(Doc().m_shownItems[0].poi.description, L"<p>markup</p>");
    wcscpy(Doc().m_shownItems[2].poi.description, L"plain");
    wcscpy(Doc().m_shownItems[2].poi.address, L"1 Main St");
    std::wstring v1 = m_temp.File(L"v1.kml");
    ASSERT_TRUE(Doc().Save(v1.c_str()));
    std::string t = Text(v1, false);
    EXPECT_EQ(t.find("<?xml version=\"1.0\" encoding=\"UTF-8\""), 0u);
    EXPECT_NE(t.find("<MirovaleFileVersion>1.0</MirovaleFileVersion>"), std::string::npos);
    EXPECT_EQ(Count(t, "<filename>poi_mapclose.spr</filename>"), 3u);  // document and both placemarks
    EXPECT_EQ(Count(t, "<phase>2</phase>"), 3u);
    EXPECT_EQ(Count(t, "<Placemark>"), 2u);
    EXPECT_EQ(t.find("P0001"), std::string::npos);
    EXPECT_NE(t.find("<name>Feeds</name>"), std::string::npos);
    EXPECT_NE(t.find("<additional_information></additional_information>"), std::string::npos);
    EXPECT_NE(t.find("<additional_information>plain</additional_information>"), std::string::npos);
    EXPECT_NE(t.find("<description>1 Main St</description>"), std::string::npos);
    EXPECT_NE(t.find("<coordinates>139.500000,35.250000</coordinates>"), std::string::npos);

    doctest::SetModel(5);
    std::wstring v2 = m_temp.File(L"v2.kml");
    ASSERT_TRUE(Doc().WriteItemsKml(v2.c_str(), 0, 1000));
    t = Text(v2, true);
    EXPECT_NE(t.find("<MirovaleFileVersion>2.0</MirovaleFileVersion>"), std::string::npos);
    EXPECT_EQ(Count(t, "<Placemark>"), 2u);
    EXPECT_NE(t.find("<address>1 Main St</address>"), std::string::npos);
    EXPECT_NE(t.find("<description></description>"), std::string::npos);
    EXPECT_NE(t.find("<description>plain</description>"), std::string::npos);

    // Nothing checked: a valid file with an empty folder.
    for (int i = 0; i < 3; ++i)
        Doc().SetItemCheck(i, 0);
    ASSERT_TRUE(Doc().Save(v2.c_str()));
    t = Text(v2, true);
    EXPECT_EQ(Count(t, "<Placemark>"), 0u);
    EXPECT_NE(t.find("<Folder>"), std::string::npos);
    EXPECT_FALSE(Doc().WriteItemsKml(L"Z:\\no\\such\\folder\\x.kml", 0, 10));
    EXPECT_EQ(Doc().GetErrorCode(), RSSERR_WRITE_KML);
}

TEST_F(FeedExport, OnlyTheFirstThousandShownItemsCount)
{
    Show(1200);
    std::wstring path = m_temp.File(L"all.kml");
    ASSERT_TRUE(Doc().Save(path.c_str()));
    std::string t = Text(path, true);
    EXPECT_EQ(Count(t, "<Placemark>"), 1000u);
    EXPECT_EQ(t.find("P1000"), std::string::npos);
}

struct SplitCase {
    int model, shown, checkEvery;
    std::vector<size_t> perFile;
};

TEST_F(FeedExport, CardFilesSplitByTheUnitsRules)
{
    const SplitCase cases[] = {
        {0, 250, 1, {250}},
        {0, 301, 1, {300, 1}},
        {5, 250, 1, {100, 100, 50}},
        {5, 900, 3, {100, 100, 100}},  // scattered checks
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.model * 10000 + c.shown);
        doctest::SetModel(c.model);
        Doc().ClearItems();
        Show(c.shown, c.checkEvery);
        testsupport::TempDir card;
        std::wstring folder = card.Path() + (c.model == 0 ? L"POI\\" : L"NDB\\CUSTOMPOI\\");
        ASSERT_TRUE(Doc().ExportToCard((folder + L"news.kml").c_str()));
        std::vector<std::wstring> files = testsupport::ListFolder(folder);
        ASSERT_EQ(files.size(), c.perFile.size());
        std::string all;
        // The first file keeps the name; the others are news(2).kml and on.
        for (size_t k = 0; k < c.perFile.size(); ++k) {
            std::wstring name = k == 0 ? L"news.kml" : L"news(" + std::to_wstring(k + 1) + L").kml";
            std::string t = Text(folder + name, c.model != 0);
            EXPECT_EQ(Count(t, "<Placemark>"), c.perFile[k]) << testsupport::Utf8(name);
            all += t;
        }
        // No item twice, none left out.
        size_t checked = 0;
        for (int i = 0; i < c.shown; ++i) {
            if (i % c.checkEvery)
                continue;
            ++checked;
            char name[16];
            snprintf(name, sizeof name, "<name>P%04d<", i);
            EXPECT_EQ(Count(all, name), 1u) << name;
        }
        size_t total = 0;
        for (size_t n : c.perFile)
            total += n;
        EXPECT_EQ(total, checked);
    }
}

TEST_F(FeedExport, ExportWhileLoadingDoesNothingAndSaysSo)
{
    Show(10);
    testsupport::TempDir card;
    theGlobal.m_rssLoadBusy = 1;
    EXPECT_FALSE(Doc().ExportToCard((card.Path() + L"NDB\\CUSTOMPOI\\x.kml").c_str()));
    EXPECT_EQ(Doc().GetErrorCode(), RSSERR_BUSY);
    theGlobal.m_rssLoadBusy = 0;
    EXPECT_TRUE(testsupport::ListFolder(card.Path()).empty());
    EXPECT_FALSE(Doc().ExportToCard(L"nofolder.kml"));
    EXPECT_EQ(Doc().GetErrorCode(), RSSERR_CREATE_FOLDER);
}

TEST_F(FeedExport, ModelZeroCardLimit)
{
    doctest::SetModel(0);
    Doc().ClearItems();
    Show(300);
    testsupport::TempDir card;
    std::wstring folder = card.Path() + L"POI\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    testsupport::WriteBytes(folder + L"big.kml", std::string(1468000, 'x'));
    EXPECT_FALSE(Doc().ExportToCard((folder + L"news.kml").c_str()));
    EXPECT_EQ(Doc().GetErrorCode(), RSSERR_CARD_SIZE);
    EXPECT_FALSE(testsupport::FileExists(folder + L"news.kml"));
}

}  // namespace
