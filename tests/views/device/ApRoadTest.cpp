// The apps view as a user walks it: the real Mirovale.exe under Wine with the
// apps service on a loopback server named in its settings, the card drive R:
// found by its device file, an app marked and written, then a write whose
// download fails and leaves the card as it was.
#include "LocalHttpServer.h"  // winsock2.h before windows.h

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ProgramRun.h"
#include "SkinTestFixture.h"
#include "TestFiles.h"
#include "res/dialog_ids.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"
#include "views/device/ApWnd.h"

using namespace testsupport;

namespace {

std::string Text(const Bytes& b) { return std::string(b.begin(), b.end()); }

std::wstring MessageText(ProgramRun& run)
{
    HWND box = WaitDialog(run, IDC_MSG_TEXT);
    if (!box)
        return L"<none>";
    wchar_t text[512] = L"";
    ::GetWindowTextW(Shown(box, IDC_MSG_TEXT), text, 512);
    PressKey(VK_RETURN);
    WaitGone(box);
    return text;
}

std::map<std::wstring, Bytes> Snapshot(const std::wstring& folder)
{
    std::map<std::wstring, Bytes> files;
    for (const std::wstring& n : ListFolder(folder))
        files[n] = (GetFileAttributesW((folder + n).c_str()) & FILE_ATTRIBUTE_DIRECTORY) ? Bytes{} : ReadBytes(folder + n);
    return files;
}

}  // namespace

TEST(AppsRoad, FromTheStartMenuToTheCardAndAFailedWrite)
{
    const Bytes icon = [] {
        // A 58 x 54 24-bit BMP, bottom-up, all one colour.
        const int w = 58, h = 54, row = (w * 3 + 3) & ~3;
        Bytes b(54 + row * h, 0);
        auto put32 = [&b](size_t at, uint32_t v) { for (int i = 0; i < 4; ++i) b[at + i] = BYTE(v >> (8 * i)); };
        b[0] = 'B';
        b[1] = 'M';
        put32(2, static_cast<uint32_t>(b.size()));
        put32(10, 54);
        put32(14, 40);
        put32(18, w);
        put32(22, h);
        b[26] = 1;
        b[28] = 24;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                b[54 + y * row + x * 3] = 200;
                b[54 + y * row + x * 3 + 1] = 120;
                b[54 + y * row + x * 3 + 2] = 40;
            }
        return b;
    }();
    std::string base;
    bool brokenExe = false;
    LocalHttpServer server([&](const HttpRequest& r, HttpConnection& c) {
        const std::string& t = r.target;
        auto url = [&base](const std::string& id, const std::string& file) { return base + "/apps/" + id + "/" + file; };
        if (t.find("DownloadListAPI") != std::string::npos) {
            std::string xml = "<?xml version=\"1.0\"?><DownloadList><MirovaleVersion>1</MirovaleVersion>";
            for (const char* id : {"compass", "notes"})
                xml += std::string("<item><applicationId>10</applicationId><name>") + id +
                       "</name><version>1.0</version><imageURL><Normal>" + url(id, "n.bmp") + "</Normal></imageURL>" +
                       "<exefileURL>" + url(id, brokenExe && std::string(id) == "notes" ? "missing.exe" : std::string(id) + ".exe") +
                       "</exefileURL><filesize>2097152</filesize></item>";
            c.Reply(200, xml + "</DownloadList>", "text/xml");
        } else if (t.find("missing") != std::string::npos) {
            c.Reply(404, "<html>Not Found</html>", "text/html");
        } else if (t.size() > 4 && t.compare(t.size() - 4, 4, ".bmp") == 0) {
            c.Reply(200, Text(icon), "image/bmp");
        } else {
            c.Reply(200, "program " + t);
        }
    });
    const std::wstring wbase = server.BaseUrl();
    base.assign(wbase.begin(), wbase.end());

    ClearCard();
    const std::wstring apps = CardRoot() + L"Oskra-APPS\\";
    ASSERT_TRUE(::CreateDirectoryW(apps.c_str(), nullptr));
    const char digits[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4};
    WriteBytes(apps + L"Device.dat", std::string(digits, 16));

    ProgramRun run;
    HWND main = run.StartWith(kReadyIni + (L"AppsService=" + wbase + L"\n"));
    ASSERT_NE(main, nullptr);
    HWND menu = FindDescendant(main, L"MainMenu");
    ASSERT_NE(menu, nullptr);
    RealClick(::GetDlgItem(menu, ID_CATEGORY_APPS));

    // No number is remembered: the chooser lists only the apps card.
    HWND chooser = PickCard(run, IDC_REMOVABLE_LIST);
    ASSERT_NE(chooser, nullptr);
    skintest::Pixels(chooser).SavePng(L"apps_road_1_chooser");
    RealClick(Shown(chooser, IDOK));
    ASSERT_TRUE(WaitGone(chooser));
    PumpFor(1500);
    HWND web = FindById(main, IDC_AP_WEB_LIST);
    ASSERT_NE(web, nullptr);
    HWND page = ::GetParent(web);
    skintest::Pixels(main).SavePng(L"apps_road_2_lists");
    EXPECT_EQ(run.ReadIni(L"Option", L"DeviceNo"), L"<none>") << "written at exit only";

    // Mark the first app (its check cell) and write it to the card.
    RECT wr;
    ::GetWindowRect(web, &wr);
    RealClickAt(wr.left + 24, wr.top + 36);
    PumpFor(300);
    RealClick(::GetDlgItem(page, ID_EXPORT));
    EXPECT_EQ(MessageText(run), L"Done. The data was \nwritten successfully. ");
    EXPECT_EQ(Text(ReadBytes(apps + L"compass\\compass.exe")), "program /apps/compass/compass.exe");
    skintest::Pixels(main).SavePng(L"apps_road_3_written");

    // The second app's program cannot be downloaded: the card stays as it was.
    brokenExe = true;
    RealClick(::GetDlgItem(page, ID_DRIVE_SELECT));
    chooser = PickCard(run, IDC_REMOVABLE_LIST);
    ASSERT_NE(chooser, nullptr);
    RealClick(Shown(chooser, IDOK));
    ASSERT_TRUE(WaitGone(chooser));
    PumpFor(1500);
    const std::map<std::wstring, Bytes> before = Snapshot(apps);
    ::GetWindowRect(web, &wr);
    RealClickAt(wr.left + 24, wr.top + 36 + 73);
    PumpFor(300);
    RealClick(::GetDlgItem(page, ID_EXPORT));
    const std::wstring failed = MessageText(run);
    EXPECT_NE(failed, L"<none>");
    EXPECT_EQ(failed.find(L"Done."), std::wstring::npos) << std::string(failed.begin(), failed.end());
    EXPECT_EQ(before, Snapshot(apps));

    EXPECT_EQ(run.Quit(main), 0u);
    EXPECT_EQ(run.ReadIni(L"Option", L"DeviceNo"), L"0000000000001234");
}
