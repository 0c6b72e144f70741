#include "views/device/CloningWnd.h"

#include "classlib/CMemDC.h"
#include "common/ButtonStrips.h"
#include "common/FileUtil.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "core/RegisteredMessages.h"
#include "frame/CmdUIText.h"
#include "frame/PaneImages.h"
#include "res/frame_ids.h"
#include "views/device/CloningRules.h"

namespace {

constexpr int kCloningView = 6;
constexpr DWORD kComboStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
constexpr int kComboWidth = 224;
const int kDropHeights[CCloningWnd::ComboCount] = {500, 600, 500, 100, 100, 100, 200, 200};
constexpr COLORREF kFrameLine = RGB(150, 150, 152);
constexpr COLORREF kFrameFill = RGB(30, 30, 35);
constexpr COLORREF kSeparator = RGB(126, 126, 126);
constexpr COLORREF kPlate = RGB(60, 60, 70);
constexpr COLORREF kLabel = RGB(248, 216, 90);
constexpr COLORREF kNoteFill = RGB(43, 43, 52);
constexpr COLORREF kNoteText = RGB(97, 164, 199);
constexpr COLORREF kDimmed = RGB(110, 110, 110);
constexpr COLORREF kLetters = RGB(191, 191, 191);
constexpr COLORREF kDarkSwatch = RGB(82, 82, 89);

// Spin field colours: brush, then text.
const COLORREF kSpinColours[CCloningWnd::kSpinCount][2] = {
    {RGB(186, 68, 68), RGB(255, 200, 224)}, {RGB(68, 187, 68), RGB(196, 250, 214)}, {RGB(94, 94, 218), RGB(195, 205, 249)}};

void Fill(CCustomComboBox& combo, std::initializer_list<const wchar_t*> items)
{
    for (const wchar_t* item : items)
        combo.AddString(item);
    combo.SetCurSel(0);
}

bool WideModel(int type) { return type == 0 || type == 2; }

// Text centred on one line in rect, on the plate colour.
void PlateText(HDC dc, const CString& text, RECT rect, COLORREF colour)
{
    ::SetTextColor(dc, colour);
    ::SetBkColor(dc, kPlate);
    ::SetBkMode(dc, OPAQUE);
    ::DrawTextW(dc, text, text.GetLength(), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void Plate(HDC dc, int left, int top, int right, int bottom)
{
    const RECT r = {left, top, right, bottom};
    ::SetBkColor(dc, kPlate);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void Line(HDC dc, int x1, int y1, int x2, int y2)
{
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
}

}  // namespace

BEGIN_MESSAGE_MAP(CCloningWnd, CViewWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_REGISTERED_MESSAGE(WM_USER_IDLE, OnUserIdle)
    ON_REGISTERED_MESSAGE(WM_SPIN_VALUE_CHANGE, OnSpinValueChange)
    ON_REGISTERED_MESSAGE(WM_SPIN_FOCUS_MOVE, OnSpinFocusMove)
    ON_COMMAND(ID_UPDATE, OnUpdate)
    ON_COMMAND(ID_FILE_OPEN, OnOpenPicture)
    ON_COMMAND(ID_CLEAR_PICTURE, OnClearPicture)
    ON_COMMAND(ID_SAVE_SD, OnSaveToCard)
    ON_COMMAND(ID_SAVE_USB, OnSaveToUsb)
    ON_COMMAND(ID_FILE_SAVE, OnSaveToPc)
    ON_COMMAND(ID_BACK, OnBack)
    ON_COMMAND(ID_TOP, OnTop)
    ON_UPDATE_COMMAND_UI(ID_CLEAR_PICTURE, OnUpdateClearPicture)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateSavePc)
    ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateShown)
    ON_UPDATE_COMMAND_UI(ID_SAVE_SD, OnUpdateShown)
    ON_UPDATE_COMMAND_UI(ID_SAVE_USB, OnUpdateShown)
    ON_UPDATE_COMMAND_UI(ID_BACK, OnUpdateShown)
END_MESSAGE_MAP()

CCloningWnd::CCloningWnd() : CViewWnd(kCloningView) { m_text.SetTextColor(RGB(191, 191, 191)); }

CCloningWnd::~CCloningWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    FreeDibImage(&m_separator);
    if (m_font)
        ::DeleteObject(m_font);
}

int CCloningWnd::OnCreate(LPCREATESTRUCTW cs)
{
    if (Default() == -1)
        return -1;
    if (!CreateTahomaFont(FALSE, &m_font, 120, FALSE) || !LoadDibFromPack(L"status_top.bmp", &m_separator))
        return -1;

    const int type = theGlobal.m_modelType;
    for (int k = 0; k < ComboCount; ++k)
        if (!m_combos[k].Create(kComboStyle, CRect(0, 0, kComboWidth, kDropHeights[k]), this, 0xFFFF))
            return -1;
    const CNaviModelData& navi = theGlobal.m_naviModel;
    for (INT_PTR i = 0; i < navi.m_programItems.GetSize(); ++i)
        m_combos[Program].AddString(navi.GetProgramName(static_cast<int>(i)));
    for (INT_PTR i = 0; i < navi.m_voiceItems.GetSize(); ++i)
        m_combos[Voice].AddString(navi.GetVoiceName(static_cast<int>(i)));
    if (WideModel(type))
        Fill(m_combos[Units], {L"km & m", L"mile & yard", L"mile & feet"});
    else
        Fill(m_combos[Units], {L"km & m", L"mile", L"mile & yards"});
    for (Combo c : {DayColour, NightColour, RoadColour})
        Fill(m_combos[c], {L"blue", L"red"});
    Fill(m_combos[DateFormat], {L"YYYY-MM-DD", L"YYYY-DD-MM", L"DD-MM-YYYY", L"MM-DD-YYYY"});
    Fill(m_combos[TimeFormat], {L"24 hours", L"12 hours with am/pm"});

    if (!m_openPicture.Create(CRect(0, 0, 146, 38), this, ID_FILE_OPEN, FALSE) ||
        !BuildButtonImage(&m_openPicture.m_strip, UiText(133), 146, 38, 200, TRUE) ||
        !m_clearPicture.Create(CRect(0, 0, 146, 38), this, ID_CLEAR_PICTURE, FALSE) ||
        !BuildButtonImage(&m_clearPicture.m_strip, UiText(134), 146, 38, 200, TRUE))
        return -1;
    m_openPicture.SetRoundRegion();
    m_clearPicture.SetRoundRegion();
    const struct {
        CCustomButton* button;
        UINT id;
        CString caption;
        const wchar_t* skin;
    } saves[] = {{&m_savePc, ID_FILE_SAVE, UiText(117), L"save_pc"},
                 {&m_saveSd, ID_SAVE_SD, L"SD", L"btn_Save_SD"},
                 {&m_saveUsb, ID_SAVE_USB, L"USB", L"btn_Save_USB"}};
    for (const auto& s : saves) {
        if (!s.button->Create(CRect(0, 0, 0, 0), this, s.id, FALSE) ||
            !BuildNumberedButtonImage(&s.button->m_strip, s.caption, 192, 48, s.skin, TRUE, RECT{35, 0, 192, 48}))
            return -1;
        s.button->SetRoundRegion();
    }

    for (int k = 0; k < kSpinCount; ++k) {
        CCustomSpinEdit& spin = m_spins[k];
        if (!spin.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 68, 20), this,
                         0xFFFF))
            return -1;
        spin.m_min = 0;
        spin.m_max = 31;
        spin.SetBkColor(kSpinColours[k][0]);
        spin.m_textColor = kSpinColours[k][1];
        if (type == 4)
            spin.ClearAndDisable();
    }

    const CLONE_VISIBILITY v = CloneVisibilityOf(type);
    const auto show = [](CWnd& wnd, bool visible) { wnd.ShowWindow(visible ? SW_SHOW : SW_HIDE); };
    show(m_combos[DayColour], v.mapColours);
    show(m_combos[NightColour], v.mapColours);
    show(m_combos[RoadColour], v.roadColour);
    show(m_combos[DateFormat], v.dateFormat);
    show(m_saveUsb, v.usb);
    show(m_savePc, v.savePc);

    RefreshControls();
    return 0;
}

void CCloningWnd::OnDestroy()
{
    Default();
    if (m_font) {
        ::DeleteObject(m_font);
        m_font = nullptr;
    }
}

void CCloningWnd::OnSize(UINT, int cx, int cy)
{
    Default();
    if (cx <= 0 || cy <= 0 || !m_combos[0].GetSafeHwnd())
        return;
    const int W = cx, H = cy, type = theGlobal.m_modelType;
    const bool wide = WideModel(type);
    m_outer = CRect(6, 20, W - 6, H - 84);
    const int h = H - 106;
    m_left = CRect(7, 21, W / 2 - 1, H - 85);
    const int topHeight = h * (wide ? 140 : 120) / 526, middleHeight = h * (wide ? 180 : 190) / 526;
    m_rightTop = CRect(W / 2, 21, W - 7, 21 + topHeight);
    m_rightMiddle = CRect(W / 2, m_rightTop.bottom, W - 7, m_rightTop.bottom + middleHeight);
    m_rightBottom = CRect(W / 2, m_rightMiddle.bottom, W - 7, H - 85);

    const UINT keep = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE;
    const auto place = [keep](CWnd& wnd, int x, int y) { wnd.SetWindowPos(HWND{}, x, y, 0, 0, keep); };
    for (int k = 0; k < 3; ++k)
        place(m_combos[Program + k], m_left.left + 231, m_left.top + 69 + 70 * k);
    place(m_combos[DateFormat], m_left.left + 231, m_left.top + 279);
    place(m_combos[TimeFormat], m_left.left + 231, m_left.top + (wide ? 349 : 279));
    place(m_combos[DayColour], m_rightTop.left + 231, m_rightTop.top + 59);
    place(m_combos[NightColour], m_rightTop.left + 231, m_rightTop.top + 89);
    place(m_combos[RoadColour], m_rightTop.left + 231, m_rightTop.top + 59);
    for (int k = 0; k < kSpinCount; ++k)
        m_spins[k].SetWindowPos(HWND{}, m_rightMiddle.left + 231 + 78 * k, m_rightMiddle.top + 82, 68, 20,
                                SWP_NOZORDER | SWP_NOACTIVATE);
    place(m_openPicture, m_rightBottom.left + 21, m_rightBottom.top + 50);
    place(m_clearPicture, m_rightBottom.left + 21, m_rightBottom.top + 120);

    const int w = m_saveSd.m_strip.width, hb = m_saveSd.GetFrameHeight();
    const UINT sized = SWP_NOZORDER | SWP_NOACTIVATE;
    // The USB button stands left of the card button wherever it is offered.
    if (CloneVisibilityOf(type).usb) {
        m_saveUsb.SetWindowPos(HWND{}, W - w - 6, H - hb - 1, 192, 48, sized);
        m_saveSd.SetWindowPos(HWND{}, W - 2 * w - 26, H - hb - 1, 192, 48, sized);
    } else {
        m_saveSd.SetWindowPos(HWND{}, W - w - 6, H - hb - 1, 192, 48, sized);
    }
    Invalidate(FALSE);
}

void CCloningWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(&paint, client);
    HGDIOBJ oldFont = ::SelectObject(dc, m_font);
    PaintForm(dc, client);
    ::SelectObject(dc, oldFont);
}

void CCloningWnd::PaintForm(HDC dc, const CRect& client)
{
    const int type = theGlobal.m_modelType;
    const bool wide = WideModel(type), dark = type == 4;
    const int W = client.Width(), H = client.Height();
    const RECT all = {0, 0, W, H};
    ::SetBkColor(dc, kPaneBack);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    const RECT band = {(W - m_separator.width) / 2, H - 60, (W - m_separator.width) / 2 + m_separator.width, H - 59};
    FillRectWithDib(dc, &m_separator, &band, FALSE);

    HPEN framePen = ::CreatePen(PS_SOLID, 1, kFrameLine);
    HBRUSH frameBrush = ::CreateSolidBrush(kFrameFill);
    HGDIOBJ oldPen = ::SelectObject(dc, framePen);
    HGDIOBJ oldBrush = ::SelectObject(dc, frameBrush);
    ::Rectangle(dc, m_outer.left, m_outer.top - 3, m_outer.right, m_outer.bottom - 3);
    HPEN linePen = ::CreatePen(PS_SOLID, 1, kSeparator);
    ::SelectObject(dc, linePen);
    const int midX = (m_outer.left + m_outer.right) / 2 - 1;
    Line(dc, midX, m_outer.top - 1, midX, m_outer.bottom - 4);
    Line(dc, m_rightTop.left + 3, m_rightTop.bottom - 3, m_rightTop.right - 2, m_rightTop.bottom - 3);
    Line(dc, m_rightMiddle.left + 3, m_rightMiddle.bottom - 2, m_rightMiddle.right - 2, m_rightMiddle.bottom - 2);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(linePen);
    ::DeleteObject(frameBrush);
    ::DeleteObject(framePen);

    // Row plates.
    const int leftRows = wide ? 5 : 4;
    for (int k = 0; k < leftRows; ++k)
        Plate(dc, m_left.left + 21, m_left.top + 49 + 70 * k, m_left.right - 20, m_left.top + 109 + 70 * k);
    Plate(dc, m_rightTop.left + 20, m_rightTop.top + 49, m_rightTop.right - 20, m_rightTop.top + (wide ? 119 : 89));
    Plate(dc, m_rightMiddle.left + 20, m_rightMiddle.top + 49, m_rightMiddle.right - 20, m_rightMiddle.top + 119);

    // Wallpaper preview.
    const RECT preview = {m_rightBottom.left + 205, m_rightBottom.top + 50, m_rightBottom.left + 465,
                          m_rightBottom.top + 180};
    const CDocCl& doc = theGlobal.m_docCl;
    if (doc.HasWallpaper()) {
        const int oldMode = ::SetStretchBltMode(dc, HALFTONE);
        DrawDibEx(&doc.m_wallpaper, dc, preview.left, preview.top, preview.right - preview.left,
                  preview.bottom - preview.top, 0, 0, doc.m_wallpaper.width, doc.m_wallpaper.height);
        ::SetStretchBltMode(dc, oldMode);
    } else {
        Plate(dc, preview.left, preview.top, preview.right, preview.bottom);
        PlateText(dc, UiText(319), preview, RGB(255, 255, 255));
    }

    // Colour swatch with its frame.
    const RECT swatch = {m_rightMiddle.left + 32, m_rightMiddle.top + 84, m_rightMiddle.left + 200,
                         m_rightMiddle.top + 100};
    const COLORREF swatchColour =
        dark ? kDarkSwatch
             : RGB(IlluminationIntensity(doc.m_customLevel1), IlluminationIntensity(doc.m_customLevel2),
                   IlluminationIntensity(doc.m_customLevel3));
    ::SetBkColor(dc, swatchColour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &swatch, nullptr, 0, nullptr);
    const RECT around = {swatch.left - 2, swatch.top - 2, swatch.right + 2, swatch.bottom + 2};
    DrawFrameLines(&around, dc);

    // Headings.
    m_text.SetTextColor(RGB(191, 191, 191));
    m_text.DrawText(dc, UiText(320), m_left.left + 6, m_left.top + 7, 200, TRUE, 0, 0);
    m_text.DrawText(dc, UiText(321), m_rightTop.left + 6, m_rightTop.top + 7, 200, TRUE, 0, 0);
    m_text.DrawText(dc, UiText(323), m_rightBottom.left + 6, m_rightBottom.top + 8, 200, TRUE, 0, 0);
    if (dark)
        m_text.SetTextColor(RGB(80, 80, 88));
    m_text.DrawText(dc, UiText(322), m_rightMiddle.left + 6, m_rightMiddle.top + 7, 200, TRUE, 0, 0);

    // Note box.
    const RECT note = {m_rightMiddle.left + 20, m_rightMiddle.top + 112, m_rightMiddle.right - 20,
                       m_rightMiddle.top + 162};
    ::SetBkColor(dc, kNoteFill);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &note, nullptr, 0, nullptr);
    if (!dark) {
        CString text = UiText(325);
        text.Replace(L"<BR>", L"\r\n");
        RECT inner = {note.left + 10, note.top + 8, note.right - 10, note.bottom - 8};
        ::SetTextColor(dc, kNoteText);
        ::SetBkMode(dc, TRANSPARENT);
        ::DrawTextW(dc, text, text.GetLength(), &inner, DT_WORDBREAK | DT_NOPREFIX);
    }

    // Channel letters.
    const wchar_t* const letters[kSpinCount] = {L"R", L"G", L"B"};
    for (int k = 0; k < kSpinCount; ++k) {
        const RECT cell = {m_rightMiddle.left + 231 + 78 * k, m_rightMiddle.top + 60, m_rightMiddle.left + 299 + 78 * k,
                           m_rightMiddle.top + 80};
        PlateText(dc, letters[k], cell, dark ? kDimmed : kLetters);
    }

    // Row labels.
    int k = 0;
    const auto leftLabel = [&](int string) {
        const RECT cell = {m_left.left + 33, m_left.top + 69 + 70 * k, m_left.left + 193, m_left.top + 89 + 70 * k};
        PlateText(dc, UiText(string), cell, kLabel);
        ++k;
    };
    leftLabel(216);
    leftLabel(217);
    leftLabel(218);
    if (wide)
        leftLabel(219);
    leftLabel(220);
    const auto topLabel = [&](int string, int y) {
        const RECT cell = {m_rightTop.left + 33, m_rightTop.top + y, m_rightTop.left + 203, m_rightTop.top + y + 20};
        PlateText(dc, UiText(string), cell, kLabel);
    };
    if (wide) {
        topLabel(221, 59);
        topLabel(222, 89);
    } else {
        topLabel(223, 59);
    }
    const RECT illumination = {m_rightMiddle.left + 33, m_rightMiddle.top + 60, m_rightMiddle.left + 193,
                               m_rightMiddle.top + 80};
    PlateText(dc, UiText(224), illumination, dark ? kDimmed : kLabel);
}

void CCloningWnd::OnLButtonDown(UINT, CPoint)
{
    FocusOnLButtonDown(this);
}
