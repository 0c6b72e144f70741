#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <string>

#include "DocTestSupport.h"
#include "TestFiles.h"
#include "doc/AppList.h"
#include "doc/DocAp.h"

using testsupport::Bytes;

namespace {

CDocApRecord App(const wchar_t* id, const wchar_t* version)
{
    CDocApRecord r;
    r.m_id = id;
    r.m_version = version;
    return r;
}

TEST(Apps, VersionNumbers)
{
    struct Case {
        const wchar_t* text;
        int number;
    } cases[] = {{L"1.2.3", 10203}, {L"2.10.0", 21000}, {L"1.2", 10200}, {L"2.0", 20000},
                 {L"2.0.1", 20001}, {L"1.1.5", 10105}, {L"3", 30000},   {L"", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(c.number, App(L"a", c.text).GetVersionNumber()) << testsupport::Utf8(c.text);
    auto newer = [](const wchar_t* a, const wchar_t* b) {
        return App(L"a", a).GetVersionNumber() > App(L"a", b).GetVersionNumber();
    };
    EXPECT_TRUE(newer(L"1.10.2", L"1.9.9"));
    EXPECT_TRUE(newer(L"1.2", L"1.1.5"));  // a two-part version is not read as its patch part
    EXPECT_TRUE(newer(L"2.0.1", L"2.0"));
    EXPECT_TRUE(newer(L"3", L"2.9"));
}

TEST(Apps, UpdatesCompareWithTheFirstCardAppOfTheSameId)
{
    CDocAp doc;
    doc.m_serverApps.Add(App(L"missing", L"1.0"));
    doc.m_serverApps.Add(App(L"older", L"1.2"));
    doc.m_serverApps.Add(App(L"same", L"1.0.0"));
    doc.m_serverApps.Add(App(L"Case", L"2.0"));
    doc.m_cardApps.Add(App(L"older", L"1.1.5"));
    doc.m_cardApps.Add(App(L"same", L"1.0"));
    doc.m_cardApps.Add(App(L"case", L"1.0"));
    int update[] = {0, 1, 0, 0};
    int newOrUpdate[] = {1, 1, 0, 1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(update[i], doc.IsUpdate(i)) << i;
        EXPECT_EQ(newOrUpdate[i], doc.IsNewOrUpdate(i)) << i;
    }
    EXPECT_FALSE(doc.IsUpdate(-1));
    EXPECT_FALSE(doc.IsNewOrUpdate(4));
}

TEST(Apps, DeviceNumber)
{
    CDocAp doc;
    EXPECT_TRUE(doc.SetDeviceNumber(L"0123456789ABCDEF"));
    CString out;
    ASSERT_TRUE(doc.GetDeviceNumber(out));
    EXPECT_STREQ(L"0123456789ABCDEF", out);
    EXPECT_EQ(15, doc.m_deviceNumber[15]);
    for (const wchar_t* bad : {L"0123456789abcdef", L"0123456789ABCDE", L"0123456789ABCDEF0", L"0123456789ABCDEG", L""})
        EXPECT_FALSE(doc.SetDeviceNumber(bad)) << testsupport::Utf8(bad);
    ASSERT_TRUE(doc.GetDeviceNumber(out));
    EXPECT_STREQ(L"0123456789ABCDEF", out);
    doc.m_deviceNumber[3] = 16;
    EXPECT_FALSE(doc.GetDeviceNumber(out));
    EXPECT_STREQ(L"0123456789ABCDEF", out);
}

TEST(Apps, RemoveIconlessKeepsTheOrder)
{
    CDocAp doc;
    const wchar_t* ids[] = {L"a", L"b", L"c", L"d"};
    int icons[] = {0, -1, 1, -1};
    for (int i = 0; i < 4; ++i) {
        doc.m_serverApps.Add(App(ids[i], L"1"));
        doc.m_serverApps[i].m_iconIndex = icons[i];
    }
    doc.RemoveIconless();
    ASSERT_EQ(2, doc.m_serverApps.GetSize());
    EXPECT_STREQ(L"a", doc.m_serverApps[0].m_id);
    EXPECT_STREQ(L"c", doc.m_serverApps[1].m_id);
}

TEST(Apps, FileNamesFromAddressesStayInsideTheAppsFolder)
{
    struct Case {
        const wchar_t* url;
        const wchar_t* name;  // empty: refused
    } cases[] = {
        {L"http://h/apps/tool.exe", L"tool.exe"},
        {L"http://h/apps/tool.exe?v=2&x=/y", L"tool.exe"},
        {L"http://h/apps/icon.bmp#frag", L"icon.bmp"},
        {L"http://h/apps/", L""},
        {L"C:\\dir\\lib.dll", L"lib.dll"},
        {L"plain.bin", L"plain.bin"},
        {L"http://h/apps/..", L""},
        {L"http://h/apps/.", L""},
        {L"http://h/a/..\\..\\x.exe", L"x.exe"},
        {L"http://h/a/CON", L""},
        {L"http://h/a/nul.txt", L""},
        {L"http://h/a/c:x", L""},
        {L"http://h/a/x*.exe", L""},
        {L"http://h/a/trail.", L""},
        {L"http://h/a/tab\tname", L""},
        {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.name, AppFileNameFromUrl(c.url)) << testsupport::Utf8(c.url);
    for (const wchar_t* id : {L"..", L".", L"..\\x", L"a/b", L"C:", L"C:\\x", L"\\x", L"AUX", L"com1", L"", L"x "})
        EXPECT_FALSE(IsSafeAppFileName(id)) << testsupport::Utf8(id);
    for (const wchar_t* id : {L"clock", L"Photo_2", L"my.app", L"..x"})
        EXPECT_TRUE(IsSafeAppFileName(id)) << testsupport::Utf8(id);
}

TEST(Apps, InstalledSizeAndDeletion)
{
    testsupport::TempDir dir;
    CDocApRecord app = App(L"tool", L"1.0");
    app.m_installedFolder = dir.Path().c_str();
    app.m_urls[AP_URL_EXE] = L"http://h/tool.exe";
    app.m_urls[AP_URL_REG] = L"http://h/tool.enc";
    app.m_urls[AP_URL_IMAGE_NORMAL] = L"http://h/n.bmp";
    app.m_urls[AP_URL_IMAGE_PUSH] = L"http://h/p.bmp";
    app.m_urls[AP_URL_IMAGE_DISABLE] = L"http://h/d.bmp";
    app.m_dllUrls.Add(L"http://h/a.dll");
    const wchar_t* files[] = {L"tool.exe", L"tool.enc", L"n.bmp", L"p.bmp", L"d.bmp", L"a.dll"};
    for (int i = 0; i < 6; ++i)
        testsupport::WriteBytes(dir.File(files[i]), std::string(10 + i, 'x'));
    EXPECT_EQ(10 + 11 + 12 + 13 + 14 + 15, app.GetInstalledSize());
    DeleteFileW(dir.File(L"a.dll").c_str());  // removed by hand
    EXPECT_EQ(0, app.GetInstalledSize());
    testsupport::WriteBytes(dir.File(L"a.dll"), std::string(15, 'x'));

    // Deleting stops at a file that stays; the files after it stay too.
    SetFileAttributesW(dir.File(L"n.bmp").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(app.DeleteFiles());
    EXPECT_FALSE(testsupport::FileExists(dir.File(L"tool.exe")));
    EXPECT_FALSE(testsupport::FileExists(dir.File(L"tool.enc")));
    EXPECT_TRUE(testsupport::FileExists(dir.File(L"n.bmp")));
    EXPECT_TRUE(testsupport::FileExists(dir.File(L"p.bmp")));
    EXPECT_TRUE(testsupport::FileExists(dir.File(L"a.dll")));  // libraries go last
    SetFileAttributesW(dir.File(L"n.bmp").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(app.DeleteFiles());
    EXPECT_TRUE(testsupport::ListFolder(dir.Path()).empty());
}

TEST(Apps, ErrorTexts)
{
    doctest::FillUiStrings();
    CDocAp doc;
    doc.InitErrorStrings();
    struct Case {
        int code;
        const wchar_t* text;
    } cases[] = {{6, L"S11"},       {7, L"S423 400"},  {10, L"S423 403"}, {11, L"S423 404"},
                 {14, L"S423 503"}, {15, L"S423 601"}, {20, L"S423 610"}, {21, L"S417"}};
    for (const Case& c : cases) {
        doc.SetErrorCode(c.code);
        CString text;
        EXPECT_STREQ(c.text, doc.GetErrorString(text)) << c.code;
    }
}

TEST(Apps, ListFileRecords)
{
    CAppListEntries entries;
    APPLIST_ENTRY a{L"Clock", L"Oskra-APPS\\clock\\clock.exe", TRUE, L"1.2"};
    APPLIST_ENTRY b{CString(L'n', 300), L"Oskra-APPS\\x\\x.exe", FALSE, L"2"};
    entries.Add(a);
    entries.Add(b);
    std::string bytes = BuildAppList(entries);
    ASSERT_EQ(3076u, bytes.size());
    EXPECT_EQ(0, memcmp(bytes.data(), L"Clock", 12));
    EXPECT_EQ(0, memcmp(bytes.data() + 512, L"Oskra-APPS\\clock\\clock.exe", 54));
    EXPECT_EQ(0, bytes[1024]);  // a set flag is 256: bytes 00 01
    EXPECT_EQ(1, bytes[1025]);
    EXPECT_EQ(0, memcmp(bytes.data() + 1026, L"1.2", 8));
    EXPECT_EQ(0, bytes[1538 + 1025]);
    EXPECT_EQ(0, bytes[1538 + 510]);  // a long name is cut to 255 characters and its terminator
    EXPECT_EQ(0, bytes[1538 + 511]);

    CAppListEntries back;
    ASSERT_TRUE(ParseAppList(bytes, back));
    ASSERT_EQ(2, back.GetSize());
    EXPECT_STREQ(L"Clock", back[0].name);
    EXPECT_TRUE(back[0].flag);
    EXPECT_FALSE(back[1].flag);
    EXPECT_EQ(255, back[1].name.GetLength());
    EXPECT_STREQ(L"clock", AppListEntryId(back[0]));

    EXPECT_FALSE(ParseAppList(bytes.substr(0, 3000), back));
    EXPECT_EQ(0, back.GetSize());
    std::string noTerminator = bytes;
    for (int i = 1026; i < 1538; ++i)
        noTerminator[i] = 'v';
    EXPECT_FALSE(ParseAppList(noTerminator, back));
    EXPECT_TRUE(ParseAppList(std::string(), back));  // an empty file: no apps
    EXPECT_EQ(0, back.GetSize());
}

TEST(Apps, PostBody)
{
    CDocAp doc;
    ASSERT_TRUE(doc.SetDeviceNumber(L"00000000000000AF"));
    EXPECT_EQ("devno=00000000000000AF&ccid=48205716&country=081", doc.BuildPostBody(4, 81));
    EXPECT_EQ("devno=00000000000000AF&ccid=&country=081", doc.BuildPostBody(2, 81));
    EXPECT_EQ("devno=00000000000000AF&ccid=48205716&country=1234", doc.BuildPostBody(6, 1234));
    EXPECT_STREQ(L"48205716", CDocAp::GetModelClassCode(1));
    EXPECT_STREQ(L"", CDocAp::GetModelClassCode(0));
}

class AppsReply : public testing::Test {
protected:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }
    BOOL Parse(const std::string& xml)
    {
        testsupport::WriteBytes(dir.File(L"DownloadList.xml"), xml);
        return doc.ParseDownloadList(dir.File(L"DownloadList.xml").c_str());
    }
    testsupport::TempDir dir;
    CDocAp doc;
};

TEST_F(AppsReply, ErrorRepliesMapToTheDocumentsCodes)
{
    struct Case {
        int code, error;
    } cases[] = {{400, 7}, {401, 8}, {402, 9}, {403, 10}, {501, 12}, {502, 13}, {503, 14}, {404, 1}, {600, 1}};
    for (const Case& c : cases) {
        EXPECT_FALSE(Parse("<Error><code>" + std::to_string(c.code) + "</code></Error>"));
        EXPECT_EQ(c.error, doc.GetErrorCode()) << c.code;
    }
    // Replies that cannot be read are failures of the service, never "no error".
    for (const char* bad : {"", "<Error><code>x</code></Error>", "<list><item>", "not xml at all"}) {
        doc.SetErrorCode(0);
        EXPECT_FALSE(Parse(bad)) << bad;
        EXPECT_EQ(21, doc.GetErrorCode()) << bad;
    }
}

TEST_F(AppsReply, ItemsBecomeAppRecords)
{
    ASSERT_TRUE(Parse("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DownloadList><MirovaleVersion>3</MirovaleVersion>"
                      "<item><applicationId>2</applicationId><name>video</name><version>1.2</version>"
                      "<imageURL><Normal>http://h/v/n.bmp</Normal><Push>http://h/v/p.bmp</Push></imageURL>"
                      "<exefileURL>http://h/v/video.exe</exefileURL><regfileURL>http://h/v/video.enc</regfileURL>"
                      "<descriptionURL>http://h/v/about.html</descriptionURL>"
                      "<dllURL><URL>http://h/v/a.dll</URL><URL>http://h/v/b.dll</URL></dllURL>"
                      "<filesize>12345</filesize><reguration>1</reguration></item>"
                      "<item><applicationId>7</applicationId><name>tool</name><imageURL/></item>"
                      "<item><name>\xe6\x99\x82\xe8\xa8\x88</name><imageURL/><reguration>2</reguration></item>"
                      "</DownloadList>"));
    ASSERT_EQ(3, doc.m_serverApps.GetSize());
    const CDocApRecord& v = doc.m_serverApps[0];
    EXPECT_STREQ(L"video", v.m_id);
    EXPECT_STREQ(L"Video", v.m_name);
    EXPECT_EQ(2, v.m_applicationId);
    EXPECT_STREQ(L"1.2", v.m_version);
    EXPECT_EQ(12345, v.m_size);
    EXPECT_EQ(1, v.m_flag);
    EXPECT_STREQ(L"video.exe", v.GetExeFileName());
    EXPECT_STREQ(L"video.enc", v.GetRegFileName());
    EXPECT_STREQ(L"p.bmp", v.GetImageFileName(1));
    EXPECT_STREQ(L"", v.GetImageFileName(2));
    EXPECT_STREQ(L"http://h/v/about.html", doc.GetDescriptionUrl(0));
    ASSERT_EQ(2, v.m_dllUrls.GetSize());
    EXPECT_STREQ(L"b.dll", v.GetDllFileName(1));
    EXPECT_STREQ(L"", v.GetDllFileName(2));
    EXPECT_STREQ(L"tool", doc.m_serverApps[1].m_name);
    EXPECT_EQ(-1, doc.m_serverApps[2].m_applicationId);
    EXPECT_STREQ(L"", doc.m_serverApps[2].m_name);
    EXPECT_STREQ(L"\x6642\x8a08", doc.m_serverApps[2].m_id);
    EXPECT_EQ(0, doc.m_serverApps[2].m_flag);
}

TEST_F(AppsReply, MissingImageElementEndsTheListKeepingEarlierApps)
{
    EXPECT_FALSE(Parse("<r><item><name>a</name><imageURL/></item><item><name>b</name></item>"
                       "<item><name>c</name><imageURL/></item></r>"));
    ASSERT_EQ(1, doc.m_serverApps.GetSize());
    EXPECT_STREQ(L"a", doc.m_serverApps[0].m_id);
}

TEST_F(AppsReply, UnsafeIdsAndAddressesAreNotListed)
{
    ASSERT_TRUE(Parse("<r>"
                      "<item><name>..\\evil</name><imageURL/></item>"
                      "<item><name>..</name><imageURL/></item>"
                      "<item><name>C:\\Windows</name><imageURL/></item>"
                      "<item><name>CON</name><imageURL/></item>"
                      "<item><name></name><imageURL/></item>"
                      "<item><name>dots</name><imageURL/><exefileURL>http://h/..</exefileURL></item>"
                      "<item><name>colon</name><imageURL><Normal>http://h/a:b.bmp</Normal></imageURL></item>"
                      "<item><name>dll</name><imageURL/><dllURL><URL>http://h/x/</URL></dllURL></item>"
                      "<item><name>good</name><imageURL/><exefileURL>http://h/g/good.exe?x=1</exefileURL></item>"
                      "</r>"));
    ASSERT_EQ(1, doc.m_serverApps.GetSize());
    EXPECT_STREQ(L"good", doc.m_serverApps[0].m_id);
    EXPECT_STREQ(L"good.exe", doc.m_serverApps[0].GetExeFileName());
}

}  // namespace

namespace {

TEST(Apps, RowInfoAndClearing)
{
    CDocAp doc;
    CDocApRecord a = App(std::wstring(300, L'i').c_str(), L"1");
    a.m_checked = 1;
    a.m_iconIndex = 4;
    a.m_size = 5000000000LL;
    doc.m_serverApps.Add(a);
    doc.m_cardApps.Add(App(L"card", L"1"));
    AP_ROW_INFO row{};
    ASSERT_TRUE(doc.GetRowInfo(AP_LIST_SERVER, 0, &row));
    EXPECT_EQ(1, row.checked);
    EXPECT_EQ(4, row.iconIndex);
    EXPECT_EQ(255u, wcslen(row.id));  // cut to the row's field
    EXPECT_EQ(5000000000LL, row.size);
    ASSERT_TRUE(doc.GetRowInfo(AP_LIST_CARD, 0, &row));
    EXPECT_STREQ(L"card", row.id);
    EXPECT_FALSE(doc.GetRowInfo(2, 0, &row));
    EXPECT_FALSE(doc.GetRowInfo(AP_LIST_CARD, 1, &row));
    EXPECT_FALSE(doc.GetRowInfo(AP_LIST_SERVER, -1, &row));
    EXPECT_EQ(1, doc.CountChecked());
    EXPECT_STREQ(L"", doc.GetDescriptionUrl(3));
    doc.ClearAll();
    EXPECT_EQ(0, doc.m_serverApps.GetSize());
    EXPECT_EQ(0, doc.m_cardApps.GetSize());
    EXPECT_TRUE(doc.GetCardRoot().IsEmpty());
}

}  // namespace
