// The picture editor as a user walks it: the real Mirovale.exe under Wine,
// driven with real mouse and keyboard input from the start menu to a folder
// of photos (the folder the last run left, as the settings keep it), a photo
// opened by a double-click, its crop frame sized with the mouse and moved
// with the keys, turned, and saved as a POI icon of the unit's size.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "ProgramRun.h"
#include "SkinTestFixture.h"
#include "TestFiles.h"
#include "common/DibImage.h"
#include "common/JpegWriter.h"
#include "common/ShellServices.h"
#include "res/dialog_ids.h"
#include "res/frame_ids.h"
#include "res/picture_ids.h"
#include "views/device/PicFrame.h"

using namespace testsupport;

namespace {

// A camera-like photo: a colour ramp with a dark band, as BMP or JPEG.
void WritePhotos(const std::wstring& folder)
{
    DIB_IMAGE dib;
    InitDibImage(&dib);
    ASSERT_TRUE(CreateDib(&dib, 640, 480));
    const int row = DibRowSize(640);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            BYTE* px = dib.bits + static_cast<size_t>(y) * row + x * 3;
            px[0] = static_cast<BYTE>(x * 255 / 640);
            px[1] = static_cast<BYTE>(y < 120 ? 40 : 200);
            px[2] = static_cast<BYTE>(255 - x * 255 / 640);
        }
    ASSERT_TRUE(SaveDibAsBmp((folder + L"a_photo.bmp").c_str(), &dib));
    ASSERT_TRUE(SaveJpeg(dib.bits, 640, 480, row, (folder + L"b_photo.jpg").c_str()));
    FreeDibImage(&dib);
}

// The settings' text for a folder: its item list as lower-case hex.
std::wstring FolderSetting(const std::wstring& folder)
{
    CPidl pidl{::ILCreateFromPathW(folder.c_str()), 0};
    CByteArray bytes;
    std::wstring text;
    if (pidl.pidl && PidlToBytes(pidl, bytes))
        for (INT_PTR i = 0; i < bytes.GetSize(); ++i) {
            wchar_t pair[3];
            swprintf(pair, 3, L"%02x", bytes[i]);
            text += pair;
        }
    pidl.Release();
    return text;
}

std::wstring UserIconFolder()
{
    wchar_t path[MAX_PATH] = L"";
    ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path);
    return std::wstring(path) + L"\\Mirovale\\icon\\";
}

// The program's panes of the picture page: the file pane and the image pane.
std::vector<HWND> Panes(HWND page)
{
    std::vector<HWND> panes;
    for (HWND child : ChildWindows(page))
        if (::GetDlgCtrlID(child) == 0xFFFF)
            panes.push_back(child);
    return panes;
}

void RealDrag(POINT from, POINT to)
{
    ::SetCursorPos(from.x, from.y);
    PumpFor(100);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    ::SendInput(1, &in, sizeof in);
    PumpFor(100);
    for (int i = 1; i <= 6; ++i) {
        ::SetCursorPos(from.x + (to.x - from.x) * i / 6, from.y + (to.y - from.y) * i / 6);
        in.mi.dwFlags = MOUSEEVENTF_MOVE;
        ::SendInput(1, &in, sizeof in);
        PumpFor(60);
    }
    in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &in, sizeof in);
    PumpFor(200);
}

}  // namespace

TEST(PicRoad, FromTheStartMenuToASavedIcon)
{
    TempDir photos;
    WritePhotos(photos.Path());
    const std::wstring icons = UserIconFolder();
    const std::vector<std::wstring> before = ListFolder(icons);

    ProgramRun run;
    HWND main = run.StartWith(L"[File]\nLanguageFile=English_US.dat\nNaviFile=US_KV410.dat\n"
                              L"IgIniFolder=" + FolderSetting(photos.Path()) + L"\n[Option]\nVerCheck=0\nAnimation=0\n");
    ASSERT_NE(main, nullptr);

    HWND menu = FindDescendant(main, L"MainMenu");
    ASSERT_NE(menu, nullptr);
    RealClick(::GetDlgItem(menu, ID_CATEGORY_TOOLS));
    RealClick(::GetDlgItem(menu, ID_PICTURE_EDIT));
    // The question of the first show: a POI icon.
    HWND ask = WaitDialog(run, IDC_MSG_TEXT);
    ASSERT_NE(ask, nullptr);
    Shot(ask, L"picroad_1_question");
    RealClick(Shown(ask, IDC_MSG_BUTTON_2));
    ASSERT_TRUE(WaitGone(ask));
    ASSERT_TRUE(WaitPage(main, L"PictureEditor"));
    HWND page = FindDescendant(main, L"PictureEditor");
    const std::vector<HWND> panes = Panes(page);
    ASSERT_EQ(panes.size(), 2u);
    HWND thumbs = ::GetDlgItem(panes[0], IDC_PIC_THUMBS);
    ASSERT_NE(thumbs, nullptr);
    PumpFor(1500);  // the folder is listed and its thumbnails decoded
    Shot(main, L"picroad_2_folder");

    // The first photo opened by a double-click on its thumbnail.
    RECT tr;
    ::GetWindowRect(thumbs, &tr);
    RealClickAt(tr.left + 10 + 47, tr.top + 5 + 47, true);
    PumpFor(800);
    Shot(main, L"picroad_3_opened");

    // The frame's bottom-right corner dragged in, the frame moved by keys.
    HWND image = panes[1];
    RECT client;
    ::GetClientRect(image, &client);
    const RECT d = picframe::DisplayRect(client.right, client.bottom, 24, 24, true, 24, 24);
    POINT corner{d.right - 3, d.bottom - 3};
    ::ClientToScreen(image, &corner);
    const int third = (d.right - d.left) / 3;
    RealDrag(corner, POINT{corner.x - third, corner.y - third});
    Shot(main, L"picroad_4_frame_sized");
    for (int i = 0; i < 10; ++i)
        PressKey(VK_RIGHT);
    PressKey(VK_DOWN);
    Shot(main, L"picroad_5_frame_moved");

    // Crop by a double-click inside the frame, then turn it right.
    POINT inside{d.left + 20, d.top + 20};
    ::ClientToScreen(image, &inside);
    RealClickAt(inside.x, inside.y, true);
    PumpFor(500);
    POINT rotate{233 + 28, 61 + 12};
    ::ClientToScreen(image, &rotate);
    RealClickAt(rotate.x, rotate.y);
    PumpFor(500);
    Shot(main, L"picroad_6_cropped_turned");

    // Save: the program says it is done and the icon is in the user's folder.
    RealClick(::GetDlgItem(page, ID_FILE_SAVE));
    HWND done = WaitDialog(run, IDC_MSG_TEXT);
    ASSERT_NE(done, nullptr);
    wchar_t text[256] = {};
    ::GetWindowTextW(Shown(done, IDC_MSG_TEXT), text, 256);
    EXPECT_STREQ(text, L"Done. The data was \nwritten successfully. ");
    Shot(done, L"picroad_7_saved");
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitGone(done));

    std::vector<std::wstring> added;
    for (const std::wstring& name : ListFolder(icons))
        if (std::find(before.begin(), before.end(), name) == before.end())
            added.push_back(name);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].rfind(L"icon", 0), 0u);
    DIB_IMAGE saved;
    InitDibImage(&saved);
    ASSERT_TRUE(LoadBmpFile((icons + added[0]).c_str(), &saved));
    // The unit of the settings (KV410) has the small icons.
    EXPECT_EQ(saved.width, 24);
    EXPECT_EQ(saved.height, 24);
    // Read back: the icon holds the cropped part of the photo, turned. The
    // photo's dark band lay outside the frame; its colour ramp ran left to
    // right and now runs top to bottom, over less than the whole width.
    const auto isPhoto = [](COLORREF c) { return GetGValue(c) >= 190 && GetGValue(c) <= 210; };
    const auto isBand = [](COLORREF c) { return GetGValue(c) >= 20 && GetGValue(c) <= 60; };
    int photoPixels = 0, bandPixels = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            photoPixels += isPhoto(skintest::DibPixel(saved, x, y));
            bandPixels += isBand(skintest::DibPixel(saved, x, y));
        }
    EXPECT_GT(photoPixels, 24 * 24 / 2);
    EXPECT_EQ(bandPixels, 0);
    const COLORREF top = skintest::DibPixel(saved, 2, 1), bottom = skintest::DibPixel(saved, 2, 22),
                   right = skintest::DibPixel(saved, 12, 1);
    ASSERT_TRUE(isPhoto(top) && isPhoto(bottom) && isPhoto(right));
    EXPECT_GT(GetRValue(top) - GetRValue(bottom), 60);
    EXPECT_LT(GetRValue(top) - GetRValue(bottom), 200);
    EXPECT_NEAR(GetRValue(top), GetRValue(right), 12);
    FreeDibImage(&saved);

    // Saved: the program ends without a question about the picture.
    EXPECT_EQ(run.Quit(main), 0u);
    // The next run starts in the same folder: the setting names it.
    std::wstring name = photos.Path().substr(0, photos.Path().size() - 1);
    name = name.substr(name.rfind(L'\\') + 1);
    std::wstring nameHex;
    for (wchar_t c : name) {
        wchar_t pair[3];
        swprintf(pair, 3, L"%02x", static_cast<unsigned>(c));
        nameHex += pair;
    }
    EXPECT_NE(run.ReadIni(L"File", L"IgIniFolder").find(nameHex), std::wstring::npos);
    for (const std::wstring& name : added)
        ::DeleteFileW((icons + name).c_str());
}
