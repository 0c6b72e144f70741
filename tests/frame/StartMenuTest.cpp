// The start menu's buttons in every layout of the model types and regions:
// the faces of the buttons shown (the parts of their pictures that are not
// transparent) stand apart, in every state. Each category is saved as a
// screenshot, with three and with four category buttons.
#include "GuiTestSupport.h"

#include <string>
#include <vector>

#include "SkinTestFixture.h"
#include "TestFiles.h"
#include "common/FileArchive.h"
#include "TestMainWindow.h"
#include "core/Global.h"
#include "core/LanguageFile.h"
#include "frame/MainMenuWnd.h"
#include "frame/MainWnd.h"
#include "res/frame_ids.h"

namespace {

// The non-transparent part of a picture, in its own coordinates; empty for none.
CRect FaceOf(Gdiplus::Image* image)
{
    CRect face(0, 0, 0, 0);
    auto* bitmap = static_cast<Gdiplus::Bitmap*>(image);
    if (!bitmap)
        return face;
    const INT w = static_cast<INT>(bitmap->GetWidth()), h = static_cast<INT>(bitmap->GetHeight());
    Gdiplus::Rect all(0, 0, w, h);
    Gdiplus::BitmapData data{};
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok)
        return face;
    int left = w, top = h, right = -1, bottom = -1;
    for (int y = 0; y < h; ++y) {
        const BYTE* row = static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
        for (int x = 0; x < w; ++x)
            if (row[x * 4 + 3] != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    bitmap->UnlockBits(&data);
    if (right >= 0)
        face = CRect(left, top, right + 1, bottom + 1);
    return face;
}

class StartMenu : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(skintest::OpenRealPack());
        theGlobal.m_uiStrings.RemoveAll();
        for (int i = 0; i < kUiStringCount; ++i)
            theGlobal.m_uiStrings.Add(i == 404 ? CString(L"Partners and services") : CString(L"Task caption"));
        ForgetViews();
        theGlobal.m_animation = 0;
        theGlobal.m_modelType = 4;
        theGlobal.m_areaCode = 1;
        theGlobal.m_windowRect = {0, 0, 0, 0};
        main = OpenMainWindow(app);
        ASSERT_NE(main, nullptr);
        hwnd = main->GetSafeHwnd();
    }
    void TearDown() override
    {
        CloseMainWindow(app, hwnd);
        theGlobal.m_naviModel.m_region = -1;
        GuiTest::TearDown();
    }
    void Command(UINT id)
    {
        ::PostMessageW(hwnd, WM_COMMAND, id, 0);
        PumpPending();
        PumpPending();
    }
    CMainWnd* main = nullptr;
    HWND hwnd = nullptr;
};

const UINT kButtons[] = {ID_CATEGORY_POI, ID_CATEGORY_TOOLS, ID_CATEGORY_DRIVE, ID_CATEGORY_APPS, ID_POI_FROM_CSV,
                         ID_PI_EDIT,      ID_POI_RSS_READER, ID_POI_MAP,        ID_PI_PARTNERS,   ID_CLONING,
                         ID_PICTURE_EDIT, ID_ADDRESS_BOOK,   ID_DRIVE_REPORT,   ID_SET_FUEL_MASTER};

}  // namespace

TEST_F(StartMenu, ShownButtonsStandApartInEveryLayout)
{
    auto* menu = static_cast<CMainMenuWnd*>(main->m_body.GetView(0));
    struct Case {
        int modelType, region;
        bool partners;
        const wchar_t* shot;
    } const cases[] = {
        {0, 0, true, L"start_menu_3_categories"},  {2, 0, false, L"start_menu_3_categories_no_partners"},
        {4, 0, false, L"start_menu_4_categories"}, {1, 0, true, L"start_menu_4_categories_partners"},
        {1, 2, true, L"start_menu_region2_partners"}, {6, 2, false, L"start_menu_region2"},
    };
    const UINT categories[] = {ID_CATEGORY_POI, ID_CATEGORY_TOOLS, ID_CATEGORY_DRIVE};
    for (const Case& c : cases) {
        theGlobal.m_modelType = c.modelType;
        theGlobal.m_naviModel.m_region = c.region;
        theGlobal.m_uiStrings[383] = c.partners ? L"0" : L"-1";
        Command(ID_MENU_REFRESH);
        for (int k = 0; k < 3; ++k) {
            SCOPED_TRACE(testing::Message() << "model " << c.modelType << ", region " << c.region << ", category "
                                            << k + 1);
            Command(categories[k]);
            skintest::Settle(menu->GetSafeHwnd());
            std::wstring name = std::wstring(c.shot) + L"_" + std::to_wstring(k + 1);
            skintest::Pixels(menu->GetSafeHwnd()).SavePng(name.c_str());
            // Faces of the shown buttons in the menu's coordinates, over all states.
            std::vector<std::pair<UINT, CRect>> faces;
            for (UINT id : kButtons) {
                CMultiTextButton* b = menu->ButtonOf(id);
                ASSERT_NE(b, nullptr);
                if (!b->IsWindowVisible())
                    continue;
                CRect where;
                b->GetWindowRect(&where);
                menu->ScreenToClient(&where);
                CRect face(0, 0, 0, 0);
                for (int s = 0; s < kStateCount; ++s) {
                    CRect f = FaceOf(b->GetImage(s));
                    ASSERT_FALSE(f.IsRectEmpty()) << "button " << id << " state " << s;
                    face.UnionRect(&face, &f);
                }
                face.OffsetRect(where.TopLeft());
                faces.push_back({id, face});
            }
            ASSERT_GE(faces.size(), 5u);
            for (size_t i = 0; i < faces.size(); ++i)
                for (size_t j = i + 1; j < faces.size(); ++j) {
                    // At least four pixels of panel between any two faces.
                    CRect a = faces[i].second, b = faces[j].second, both;
                    a.InflateRect(2, 2);
                    b.InflateRect(2, 2);
                    EXPECT_FALSE(both.IntersectRect(&a, &b)) << "buttons " << faces[i].first << " and " << faces[j].first;
                }
        }
    }
}

namespace {

// A copy of the real pack in which one entry is still there but its bytes past
// the first eight (a PNG keeps its signature) are garbage.
bool WriteDamagedPack(const std::wstring& from, const std::wstring& to, const char* name)
{
    testsupport::Bytes pack = testsupport::ReadBytes(from);
    if (pack.size() < sizeof(CFileArchive::HEADER))
        return false;
    CFileArchive::HEADER header;
    memcpy(&header, pack.data(), sizeof header);
    const size_t tableBytes = static_cast<size_t>(header.count) * sizeof(CFileArchive::TOC);
    if (pack.size() < sizeof header + tableBytes)
        return false;
    testsupport::Bytes table(pack.begin() + sizeof header, pack.begin() + sizeof header + tableBytes);
    BYTE key = 0;
    CFileArchive::Scramble(table.data(), table.size(), header.step, key);
    for (DWORD i = 0; i < header.count; ++i) {
        CFileArchive::TOC toc;
        memcpy(&toc, table.data() + i * sizeof toc, sizeof toc);
        if (_stricmp(toc.name, name) != 0)
            continue;
        const size_t at = sizeof header + tableBytes + toc.offset;
        if (toc.size <= 8 || at + toc.size > pack.size())
            return false;
        for (size_t b = 8; b < toc.size; ++b)
            pack[at + b] = static_cast<uint8_t>(b * 37 + 11);
        testsupport::WriteBytes(to, pack);
        return true;
    }
    return false;
}

}  // namespace

// A picture of the start menu that is in the pack but cannot be decoded fails
// the main window's creation, and the start-up message names it; before, a
// task picture was decoded only when its category opened and a failure left
// a blank button.
TEST_F(StartMenu, APictureThatDoesNotDecodeFailsTheCreationAndIsNamed)
{
    const std::wstring real = static_cast<LPCWSTR>(theFileArchive.GetPath());
    testsupport::TempDir dir;
    const std::wstring damaged = dir.File(L"Mirovale.qpk");
    struct ReopenReal {
        std::wstring path;
        ~ReopenReal() { theFileArchive.Open(path.c_str()); }
    } reopen{real};
    const char* const cases[] = {"btn_FromMap_hot.png", "btn_Menu_Drive_Multi_check.png", "btn_FuelReport_normal.png",
                                 "menu_back_drive.bmp"};
    for (const char* name : cases) {
        SCOPED_TRACE(name);
        theFileArchive.Close();
        ASSERT_TRUE(WriteDamagedPack(real, damaged, name));
        ASSERT_TRUE(theFileArchive.Open(damaged.c_str()));
        auto* broken = new CMainWnd;
        EXPECT_FALSE(broken->Create());  // the failed window deleted its object
        const std::wstring wide(name, name + strlen(name));
        EXPECT_EQ(std::wstring(UnreadableStartMenuPicture()), wide);
        const std::wstring text = static_cast<LPCWSTR>(MainWindowFailureText());
        EXPECT_EQ(text.rfind(L"_MSG_ERR_CW", 0), 0u);
        EXPECT_NE(text.find(L"\"" + wide + L"\""), std::wstring::npos) << std::string(text.begin(), text.end());
        EXPECT_NE(text.find(L"Mirovale.qpk"), std::wstring::npos);
    }
    theFileArchive.Close();
    ASSERT_TRUE(theFileArchive.Open(real.c_str()));
    auto* sound = new CMainWnd;
    ASSERT_TRUE(sound->Create());
    EXPECT_TRUE(UnreadableStartMenuPicture().IsEmpty());
    EXPECT_EQ(std::wstring(static_cast<LPCWSTR>(MainWindowFailureText())), L"_MSG_ERR_CW");
    sound->DestroyWindow();
}
