// Every control of this set in each of its states side by side, drawn from the
// real skin pack; the run saves the screen as tests/shots/gallery_b.png.
#include <windows.h>
#include <objidl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include "ControlsBTestSupport.h"
#include "ScrollHostB.h"
#include "controls/CustomAnimeCtrl.h"
#include "controls/CustomComboBox.h"
#include "controls/CustomMenu.h"
#include "controls/CustomProgressCtrl.h"
#include "controls/CustomSpinEdit.h"
#include "controls/ScrlText.h"

using namespace controlstest;

namespace {

// Shows the drop-down list's items as the combo draws them: plain, selected.
class CItemsPreview : public CWnd {
public:
    CCustomComboBox* combo = nullptr;
    int selected = 1;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg != WM_PAINT || !combo)
            return CWnd::WindowProc(msg, wp, lp);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hWnd, &ps);
        for (int i = 0; i < combo->GetCount(); ++i) {
            DRAWITEMSTRUCT dis{ODT_COMBOBOX, 0, static_cast<UINT>(i), ODA_DRAWENTIRE,
                               i == selected ? static_cast<UINT>(ODS_SELECTED) : 0u, combo->m_hWnd, dc,
                               {0, i * 14, 222, i * 14 + 14}, 0};
            if (i == selected)
                dis.itemAction = ODA_SELECT;
            combo->DrawItem(&dis);
        }
        EndPaint(m_hWnd, &ps);
        return 0;
    }
};

bool SaveScreenPng(const RECT& rc, const std::wstring& path)
{
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    bool saved = false;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
        {
            Gdiplus::Bitmap image(bmp, nullptr);
            UINT count = 0, size = 0;
            Gdiplus::GetImageEncodersSize(&count, &size);
            std::vector<BYTE> buffer(size);
            auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
            Gdiplus::GetImageEncoders(count, size, codecs);
            for (UINT i = 0; i < count; ++i)
                if (wcscmp(codecs[i].MimeType, L"image/png") == 0)
                    saved = image.Save(path.c_str(), &codecs[i].Clsid, nullptr) == Gdiplus::Ok;
        }
        Gdiplus::GdiplusShutdown(token);
    }
    DeleteObject(bmp);
    return saved;
}

class GalleryB : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenSkinPack());
        ASSERT_TRUE(parent.CreateAt(10, 10, 1000, 660));
        app.m_pMainWnd = &parent;
    }
    void TearDown() override
    {
        app.m_pMainWnd = nullptr;
        parent.DestroyWindow();
        GuiTest::TearDown();
    }
    void Label(int x, int y, const wchar_t* text, int width = 160)
    {
        auto label = std::make_unique<CStatic>();
        label->Create(text, WS_CHILD | WS_VISIBLE, CRect(x, y, x + width, y + 16), &parent, 0xFFFF);
        labels.push_back(std::move(label));
    }
    CLogParent parent;
    std::vector<std::unique_ptr<CWnd>> labels;
};

TEST_F(GalleryB, EveryControlInEveryState)
{
    const DWORD comboStyle = CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | WS_VISIBLE;
    const wchar_t* items[] = {L"Kilometres#12", L"Miles#7", L"Nautical miles", L"Yards#0"};

    // Row 1: combo box faces and list items.
    Label(10, 8, L"Combo: normal");
    Label(200, 8, L"focused");
    Label(390, 8, L"hot");
    Label(580, 8, L"dropped");
    Label(770, 8, L"list items (2nd selected)");
    CCustomComboBox combos[4];
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(combos[i].Create(comboStyle, CRect(10 + 190 * i, 28, 180 + 190 * i, 200), &parent, 100 + i));
        for (auto* t : items)
            combos[i].AddString(t);
        combos[i].SetCurSel(i == 3 ? 2 : 0);
    }
    combos[1].m_focused = TRUE;
    combos[2].m_hot = TRUE;
    combos[3].m_dropped = TRUE;
    CItemsPreview preview;
    preview.combo = &combos[0];
    ASSERT_TRUE(preview.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(770, 28, 992, 84), &parent, 110));

    // Row 2: scroll bars in their hosts.
    Label(10, 100, L"Scrolling text (bar normal)", 220);
    Label(250, 100, L"both bars, size box", 180);
    Label(440, 100, L"hot arrow, pressed thumb", 200);
    Label(680, 100, L"horizontal, pressed arrow", 200);
    CScrlText text;
    ASSERT_TRUE(text.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 120, 230, 330), &parent, 120));
    text.SetText(L"Partners show their own pages here. The description is wrapped into rows of thirty pixels.\n\n"
                 L"A blank line keeps the paragraphs apart, and the text scrolls with the skinned bar, the wheel "
                 L"and the keys.");
    CTestScrollHost both, hot, horizontal;
    ASSERT_TRUE(both.CreateIn(&parent, CRect(250, 120, 430, 330), true));
    both.SetRange(SB_VERT, 400, 100, 150);
    both.SetRange(SB_HORZ, 400, 100, 60);
    ASSERT_TRUE(hot.CreateIn(&parent, CRect(440, 120, 660, 330), false));
    hot.SetRange(SB_VERT, 300, 100, 100);
    ASSERT_TRUE(horizontal.CreateIn(&parent, CRect(680, 120, 990, 200), true));
    horizontal.SetRange(SB_HORZ, 300, 100, 200);

    // Row 3: spin edits.
    Label(10, 345, L"Spin: normal");
    Label(130, 345, L"hot +");
    Label(250, 345, L"pressed -");
    Label(370, 345, L"at maximum");
    Label(490, 345, L"disabled");
    CCustomSpinEdit spins[5];
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(spins[i].Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(10 + 120 * i, 365, 90 + 120 * i, 385),
                                    &parent, 130 + i));
        spins[i].m_min = 0;
        spins[i].m_max = 31;
        spins[i].SetValue(i == 3 ? 31 : 12);
    }
    spins[1].m_incHot = TRUE;
    spins[2].m_decPressed = TRUE;
    spins[4].ClearAndDisable();

    // Row 4: progress bars and the busy animation.
    Label(10, 400, L"Progress 0 %");
    Label(250, 400, L"50 %");
    Label(490, 400, L"100 %");
    Label(730, 400, L"empty range");
    CCustomProgressCtrl bars[4];
    const int positions[] = {0, 50, 100, 0};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(bars[i].Create(WS_VISIBLE, CRect(10 + 240 * i, 420, 216 + 240 * i, 436), &parent, 140 + i));
        bars[i].SetRange32(0, i == 3 ? 0 : 100);
        bars[i].SetPos(positions[i]);
    }
    Label(10, 450, L"Busy animation: frames 0, 1, 2", 240);
    CCustomAnimeCtrl animes[3];
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(animes[i].Create(nullptr, nullptr, WS_CHILD, CRect(10 + 80 * i, 470, 74 + 80 * i, 534), &parent, 150 + i));
        animes[i].LoadFrames();
        animes[i].Start();
        animes[i].KillTimer(CCustomAnimeCtrl::TimerId);
        for (int k = 0; k < i; ++k)
            animes[i].SendMessage(WM_TIMER, CCustomAnimeCtrl::TimerId);
    }
    Label(300, 450, L"Popup menu: round corners, selected, grayed, checked", 360);

    for (auto& c : combos)
        c.Invalidate(FALSE);
    Settle(parent.m_hWnd);

    // Hover and pressed states of the bars, then the menu open on top.
    POINT arrow{8, 8};
    hot.m_vbar.ClientToScreen(&arrow);
    SetCursorPos(arrow.x, arrow.y);
    hot.PostMessage(WM_NCMOUSEMOVE, HTVSCROLL, MAKELPARAM(arrow.x, arrow.y));
    PumpUntil([&] { return hot.m_vbar.m_hover != FALSE; }, 1000);
    hot.m_vbar.m_pressedPart = CCustomScrollBar::PartThumb;
    CCustomScrollBar::RedrawNC(&hot.m_vbar);
    horizontal.m_hbar.m_pressedPart = CCustomScrollBar::PartLastArrow;
    CCustomScrollBar::RedrawNC(&horizontal.m_hbar);

    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"&Edit point\tCtrl+E");
    AppendMenuW(menu, MF_STRING, 2, L"&Copy\tCtrl+C");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 3, L"&Paste\tCtrl+V");
    AppendMenuW(menu, MF_STRING | MF_CHECKED, 4, L"&Show on map");
    AppendMenuW(menu, MF_STRING, 5, L"&Delete\tDel");
    CCustomMenu popup;
    popup.m_roundCorners = TRUE;
    ASSERT_TRUE(popup.LoadMenu(menu));
    std::wstring folder = testsupport::ExeDir() + L"shots\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    bool saved = false;
    int step = 0;
    COLORREF hotArrowPixel = 0;
    POINT messagePos{};
    static std::function<void()> tick;
    tick = [&] {
        ++step;
        if (step == 1) {
            popup.PostMessage(WM_KEYDOWN, VK_DOWN, 0);
            popup.PostMessage(WM_KEYDOWN, VK_DOWN, 0);
        } else if (step == 3) {
            hot.m_vbar.m_hover = TRUE;  // the menu's capture ended the hover
            CCustomScrollBar::RedrawNC(&hot.m_vbar);
            GdiFlush();
            CRect hostRect;
            hot.GetWindowRect(&hostRect);
            CRect barRect;
            hot.m_vbar.GetWindowRect(&barRect);
            hotArrowPixel = WindowPixel(hot.m_hWnd, barRect.left - hostRect.left + 8, 8);
            DWORD mp = GetMessagePos();
            messagePos = POINT{static_cast<short>(LOWORD(mp)), static_cast<short>(HIWORD(mp))};
            CCustomScrollBar::RedrawNC(&horizontal.m_hbar);
            GdiFlush();
            CRect rc;
            parent.GetWindowRect(&rc);
            saved = SaveScreenPng(rc, folder + L"gallery_b.png");
            popup.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        }
    };
    struct Tick {
        static void CALLBACK Proc(HWND, UINT, UINT_PTR, DWORD) { tick(); }
    };
    UINT_PTR timer = SetTimer(nullptr, 0, 150, &Tick::Proc);
    popup.TrackPopupMenu(TPM_RETURNCMD, 690 + 10, 460 + 10, &parent);
    KillTimer(nullptr, timer);
    DestroyMenu(menu);
    EXPECT_TRUE(saved);
    SkinPicture hotArrow(L"scrl_arrow_up_hot.bmp");
    EXPECT_EQ(hotArrow.At(8, 8), hotArrowPixel) << messagePos.x << "," << messagePos.y << " arrow at " << arrow.x << "," << arrow.y;
    EXPECT_TRUE(testsupport::FileExists(folder + L"gallery_b.png"));
}

}  // namespace
