#pragma once
// The icon selection dialog's tests share this: the real skin pack and UI
// strings, a model type, and user icons in a fresh icon folder.
#include <windows.h>

#include <cstring>
#include <memory>

#include "DialogDriver.h"
#include "TestFiles.h"
#include "common/DibImage.h"
#include "core/Global.h"
#include "views/device/IconSelectDlg.h"

namespace icontest {

class IconFixture : public dlgtest::DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        savedType = theGlobal.m_modelType;
        savedFolder = theGlobal.m_iconFolder;
        main.MoveWindow(0, 0, 1000, 800);
    }
    void TearDown() override
    {
        theGlobal.m_modelType = savedType;
        theGlobal.m_iconFolder = savedFolder;
        theGlobal.m_docIcon.LoadIcons();
        icons.reset();
        DialogTest::TearDown();
    }
    // Model type and n user icons (plain colours) in a new icon folder.
    void UseModel(int type, int userIcons)
    {
        theGlobal.m_modelType = type;
        icons = std::make_unique<testsupport::TempDir>();
        const int size = (type == 1 || type == 4 || type == 6) ? 24 : 32;
        for (int j = 0; j < userIcons; ++j) {
            DIB_IMAGE dib;
            InitDibImage(&dib);
            ASSERT_TRUE(CreateDib(&dib, size, size));
            std::memset(dib.bits, 0x30 + 0x20 * j, static_cast<size_t>(-dib.stride) * dib.height);
            wchar_t name[32];
            wsprintfW(name, L"user%02d.bmp", j);
            ASSERT_TRUE(SaveDibAsBmp(icons->File(name).c_str(), &dib));
            FreeDibImage(&dib);
        }
        theGlobal.m_iconFolder = icons->Path().c_str();
        ASSERT_TRUE(theGlobal.m_docIcon.LoadIcons());
        ASSERT_EQ(theGlobal.m_docIcon.GetUserCount(), userIcons);
    }

    int savedType = 0;
    CString savedFolder;
    std::unique_ptr<testsupport::TempDir> icons;
};

// Grid item i scrolled into view and clicked for real at the middle of its cell.
inline void ClickItem(CCustomThumbCtrl& grid, int i)
{
    grid.EnsureVisible(i);
    grid.UpdateWindow();
    CRect r;
    grid.GetItemRect(&r, i);
    dlgtest::RealClick(grid.m_hWnd, r.left + grid.m_marginLeft + grid.m_cellWidth / 2,
                       r.top + grid.m_marginTop + grid.m_cellHeight / 2);
}

inline CIconSelectDlg& AsIconDlg(CCustomDialog& d) { return dynamic_cast<CIconSelectDlg&>(d); }

}  // namespace icontest
