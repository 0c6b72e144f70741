// The drive-report view's parts on their own: the list's columns and sort
// keys, the panel modes, the splitter, the edit rules, the eco panel's and the
// browse panel's drawing, and the summary's export lines, pages and print scale.
#include <algorithm>
#include <iterator>
#include <vector>

#include "DriveReportFixture.h"
#include "LocalHttpServer.h"
#include "common/FileUtil.h"
#include "views/report/DrPropertyDlg.h"

using namespace drtest;

namespace {

struct Fake {
    const wchar_t* name;
    int checked, kind;
    const wchar_t *t1, *t2, *t3;
};

void Fill(const std::vector<Fake>& fakes)
{
    CDocDr& doc = theGlobal.m_docDr;
    doc.m_reports.RemoveAll();
    for (const Fake& f : fakes) {
        CDocDrivingReport r;
        r.m_valid = 1;
        r.m_listData = DR_LIST_DATA{};
        r.m_listData.checked = static_cast<BYTE>(f.checked);
        r.m_listData.kind = f.kind;
        lstrcpyW(r.m_listData.name, f.name);
        lstrcpyW(r.m_listData.text1, f.t1);
        lstrcpyW(r.m_listData.text2, f.t2);
        lstrcpyW(r.m_listData.text3, f.t3);
        doc.m_reports.Add(r);
    }
}

const std::vector<Fake> kFakes = {
    {L"beta", 1, 2, L"b", L"Z", L"m"},
    {L"Alpha", 0, 0, L"c", L"y", L"k"},
    {L"gamma", 1, 1, L"A", L"x", L"l"},
    {L"ALPHA2", 0, 1, L"", L"w", L"n"},
};

std::wstring Cell(CDriveReportListCtrl& list, int row, int column, int* image = nullptr)
{
    wchar_t text[300] = {};
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 300;
    item.iImage = -1;
    list.GetItem(&item);
    if (image)
        *image = item.iImage;
    return text;
}

TEST_F(DriveView, ColumnsShowTheReportsFields)
{
    OpenFromStartMenu();
    Fill(kFakes);
    theGlobal.UpdateAllViews();
    CDriveReportListCtrl& list = View().m_listPane.m_list;
    ASSERT_EQ(list.GetItemCount(), 4);
    ASSERT_EQ(list.GetColumnCount(), 7);
    const struct {
        int row, column;
        std::wstring text;
        int image;
    } cases[] = {
        {0, 0, L"1", -1},       {3, 0, L"4", -1},
        {0, 1, L"", 2},         {1, 1, L"", 1},
        {0, 2, L"beta", -1},    {3, 2, L"ALPHA2", -1},
        {0, 3, theGlobal.UiString(259).GetString(), -1},
        {1, 3, theGlobal.UiString(257).GetString(), -1},
        {2, 3, theGlobal.UiString(258).GetString(), -1},
        {2, 4, L"A", -1},       {1, 5, L"y", -1},     {3, 6, L"n", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << " column " << c.column);
        int image = -1;
        EXPECT_EQ(Cell(list, c.row, c.column, &image), c.text);
        if (c.column == 1)
            EXPECT_EQ(image, c.image);
    }
    // Headings and editors.
    const int headings[] = {176, -1, 185, 186, 181, 190, 191};
    for (int i = 0; i < 7; ++i) {
        HD_ITEMW hd{};
        wchar_t text[64] = {};
        hd.mask = HDI_TEXT;
        hd.pszText = text;
        hd.cchTextMax = 64;
        list.m_header.GetItem(i, &hd);
        // The header hands back its own copy of the text.
        EXPECT_EQ(std::wstring(hd.pszText ? hd.pszText : L""),
                  headings[i] < 0 ? L"" : theGlobal.UiString(headings[i]).GetString());
        EXPECT_EQ(list.m_columnProps[i].type, CDrListWnd::kEditors[i]);
    }
    skintest::Settle(hwnd);
    Shot(L"drive_columns");
}

TEST_F(DriveView, SortKeysOfEveryColumn)
{
    OpenFromStartMenu();
    Fill(kFakes);
    theGlobal.UpdateAllViews();
    CDrListWnd& pane = View().m_listPane;
    const struct {
        int column;
        std::vector<WORD> ascending;
    } cases[] = {
        {1, {1, 3, 0, 2}},  // unticked first, ties in their order
        {2, {1, 3, 0, 2}},  // Alpha, ALPHA2, beta, gamma: case ignored
        {3, {1, 2, 3, 0}},  // kind 0, 1, 1, 2
        {4, {3, 2, 0, 1}},  // "", A, b, c
        {5, {3, 2, 1, 0}},  // w, x, y, Z
        {6, {1, 2, 0, 3}},  // k, l, m, n
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "column " << c.column);
        for (BOOL ascending : {TRUE, FALSE}) {
            pane.m_index.RemoveAll();
            for (WORD i = 0; i < 4; ++i)
                pane.m_index.Add(i);
            ASSERT_TRUE(pane.SortReports(4, c.column, ascending));
            std::vector<WORD> got(pane.m_index.GetData(), pane.m_index.GetData() + 4);
            std::vector<WORD> want = c.ascending;
            if (!ascending) {
                // Descending: the keys from the top down, equal keys in their order.
                std::vector<WORD> start = {0, 1, 2, 3};
                std::stable_sort(start.begin(), start.end(), [&](WORD a, WORD b) {
                    return CDrListWnd::CompareReports(a, b, c.column) > 0;
                });
                want = start;
            }
            EXPECT_EQ(got, want) << (ascending ? "ascending" : "descending");
        }
    }
    // Column 0, another column, fewer than two rows or more rows than the index: nothing.
    EXPECT_FALSE(pane.SortReports(4, 0, TRUE));
    EXPECT_FALSE(pane.SortReports(4, 7, TRUE));
    EXPECT_FALSE(pane.SortReports(1, 2, TRUE));
    EXPECT_FALSE(pane.SortReports(5, 2, TRUE));
}

TEST_F(DriveView, PanelModesFollowTheirCommands)
{
    OpenFromStartMenu();
    Fill(kFakes);
    theGlobal.UpdateAllViews();
    CDriveReportWnd& view = View();
    const struct {
        UINT command;
        int mode;
        bool eco, combo;
        int mapState, ecoState;
    } steps[] = {
        {ID_VIEW_DRIVE_REPORT, 0, false, true, 2, 0},  // already map: nothing changes
        {ID_VIEW_ECO_REPORT, 1, true, false, 0, 2},
        {ID_VIEW_ECO_REPORT, 1, true, false, 0, 2},
        {ID_VIEW_DRIVE_REPORT, 0, false, true, 2, 0},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(testing::Message() << "command " << s.command);
        ::SendMessageW(hwnd, WM_COMMAND, s.command, 0);
        PumpPending();
        EXPECT_EQ(view.m_panelMode, s.mode);
        EXPECT_EQ(view.m_browse.m_eco.IsWindowVisible() != FALSE, s.eco);
        EXPECT_EQ(view.m_browse.m_distance.IsWindowVisible() != FALSE, s.combo);
        // No current row: the map stays hidden in either mode.
        EXPECT_FALSE(view.m_browse.m_browser.IsWindowVisible());
        EXPECT_EQ(view.m_browse.m_btnMap.GetState(), s.mapState);
        EXPECT_EQ(view.m_browse.m_btnEco.GetState(), s.ecoState);
        CCmdUIProbe map, eco;
        map.m_nID = ID_VIEW_DRIVE_REPORT;
        eco.m_nID = ID_VIEW_ECO_REPORT;
        map.DoUpdate(&view, FALSE);
        eco.DoUpdate(&view, FALSE);
        EXPECT_EQ(map.m_enabled != FALSE, s.mode == 1);
        EXPECT_EQ(eco.m_enabled != FALSE, s.mode == 0);
    }
}

TEST_F(DriveView, TheSplitterKeepsBothPanesInTheView)
{
    OpenFromStartMenu();
    CDriveReportWnd& view = View();
    const int B = view.m_barTile.height;
    ASSERT_GT(B, 0);
    const struct {
        float ratio;
        int height, position;
    } cases[] = {
        {0.5f, 1000, 500},
        {0.1f, 1000, 403},            // never above 403
        {0.9f, 1000, 1000 - B - 203}, // the list keeps its room
        {0.5f, 500, 500 - B - 203},   // too small for both: the list wins
    };
    int width = 900;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ratio << " of " << c.height);
        theGlobal.m_drSplit = c.ratio;
        view.MoveWindow(0, 0, ++width, c.height);
        EXPECT_EQ(view.m_splitPos, c.position);
        EXPECT_FLOAT_EQ(theGlobal.m_drSplit, static_cast<float>(c.position) / c.height);
        CRect list;
        view.m_listPane.GetWindowRect(&list);
        view.ScreenToClient(&list);
        EXPECT_EQ(list.top, c.position + B + 3);
    }
}

TEST_F(DriveView, EditedTextsAreCheckedCutAndAskedForOnSeveralRows)
{
    OpenFromStartMenu();
    Fill(kFakes);
    theGlobal.UpdateAllViews();
    CDriveReportWnd& view = View();
    CDriveReportListCtrl& list = view.m_listPane.m_list;
    auto endEdit = [&](int column, const wchar_t* text, LPARAM param = 0) {
        NMLVDISPINFOW info{};
        info.hdr.hwndFrom = list.m_hWnd;
        info.hdr.idFrom = IDC_DR_LIST;
        info.hdr.code = LVN_ENDLABELEDITW;
        info.item.mask = text ? LVIF_TEXT : LVIF_PARAM;
        info.item.iSubItem = column;
        info.item.pszText = const_cast<wchar_t*>(text);
        info.item.lParam = param;
        view.SendMessage(WM_NOTIFY, IDC_DR_LIST, reinterpret_cast<LPARAM>(&info));
    };
    const DR_LIST_DATA& r0 = theGlobal.m_docDr.m_reports[0].m_listData;
    const DR_LIST_DATA& r2 = theGlobal.m_docDr.m_reports[2].m_listData;

    list.SetCurSel(0);
    const std::wstring longText(200, L'x');
    Watch cut{MessageOf(5), [](CDialog&) { dlgtest::PressKey(VK_RETURN); }};
    ASSERT_TRUE(RunWith([&] { endEdit(5, longText.c_str()); }, {&cut}));
    EXPECT_EQ(std::wstring(r0.text2), std::wstring(128, L'x'));

    Watch refused{MessageOf(4), [](CDialog&) { dlgtest::PressKey(VK_RETURN); }};
    ASSERT_TRUE(RunWith([&] { endEdit(4, L"\x65e5\x672c"); }, {&refused}));
    EXPECT_STREQ(r0.text1, L"b");

    ASSERT_TRUE(RunWith([&] { endEdit(4, L""); }, {}));
    EXPECT_STREQ(r0.text1, L"");
    ASSERT_TRUE(RunWith([&] { endEdit(3, nullptr, 2); }, {}));
    EXPECT_EQ(r0.kind, 2);
    EXPECT_EQ(Cell(list, 0, 3), theGlobal.UiString(259).GetString());

    // Two rows: the question first; No keeps both, Yes flips each row's own tick.
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    Watch no{MessageOf(6), [](CDialog&) { dlgtest::PressKey('N'); }};
    ASSERT_TRUE(RunWith([&] { endEdit(1, nullptr); }, {&no}));
    EXPECT_EQ(r0.checked, 1);
    EXPECT_EQ(r2.checked, 1);
    theGlobal.m_docDr.m_reports[2].m_listData.checked = 0;
    Watch yes{MessageOf(6), [](CDialog&) { dlgtest::PressKey('Y'); }};
    ASSERT_TRUE(RunWith([&] { endEdit(1, nullptr); }, {&yes}));
    EXPECT_EQ(r0.checked, 0);
    EXPECT_EQ(r2.checked, 1);
}

TEST(EcoPanel, BarAndLegendFollowTheShares)
{
    CEcoReportCtrl eco;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 760, 320);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const struct {
        int shares[4];
        int valid;
        std::vector<std::pair<int, int>> probes;  // x, level (-1 none)
    } cases[] = {
        {{40, 30, 20, 10}, 1, {{209, 0}, {408, 0}, {409, 1}, {558, 1}, {559, 2}, {658, 2}, {659, 3}, {708, 3}}},
        {{100, 0, 0, 0}, 1, {{209, 0}, {708, 0}}},
        // Shares that round past 100 % stop at the trough's end.
        {{60, 30, 10, 5}, 1, {{708, 2}, {712, -1}}},
        {{40, 30, 20, 10}, 0, {{209, -1}, {500, -1}}},
    };
    for (const auto& c : cases) {
        for (int k = 0; k < 4; ++k)
            eco.m_shares[k] = c.shares[k];
        eco.m_valid = c.valid;
        eco.Draw(dc, 760, 320);
        for (const auto& [x, level] : c.probes) {
            SCOPED_TRACE(testing::Message() << "x " << x);
            const COLORREF px = ::GetPixel(dc, x, 86);
            if (level >= 0)
                EXPECT_EQ(px, CEcoReportCtrl::kLevelColours[level]);
            else
                for (COLORREF colour : CEcoReportCtrl::kLevelColours)
                    EXPECT_NE(px, colour);
        }
    }
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
}

TEST(PropertyExport, LinesQuoteWhatNeedsItAndKeepTwelveFields)
{
    ASSERT_TRUE(dlgtest::LoadShippedStrings());
    DR_PANEL p{};
    p.number = 3;
    lstrcpyW(p.data.name, L"trip, third");
    lstrcpyW(p.data.startDate, L"2009/05/01");
    lstrcpyW(p.data.startTime, L"08:00:00");
    lstrcpyW(p.data.endDate, L"2009/05/01");
    lstrcpyW(p.data.endTime, L"08:06:30");
    lstrcpyW(p.data.duration, L"0:06:30");
    p.data.distance = 20;
    p.data.distanceMiles = 12;
    p.data.kind = 1;
    lstrcpyW(p.data.text1, L"say \"hi\"");
    lstrcpyW(p.data.text3, L"a,b;c");
    const CString kind = theGlobal.UiString(258);
    const struct {
        int delimiterSetting, unit;
        std::wstring line;
    } cases[] = {
        {2, 0, L"0003,\"trip, third\",2009/05/01,08:00:00,2009/05/01,08:06:30,0:06:30,000000020," + std::wstring(kind) +
                   L",\"say \"\"hi\"\"\",,\"a,b;c\""},
        {3, 1, L"0003;trip, third;2009/05/01;08:00:00;2009/05/01;08:06:30;0:06:30;000000012;" + std::wstring(kind) +
                   L";\"say \"\"hi\"\"\";;\"a,b;c\""},
        {1, 0, L"0003\ttrip, third\t2009/05/01\t08:00:00\t2009/05/01\t08:06:30\t0:06:30\t000000020\t" +
                   std::wstring(kind) + L"\t\"say \"\"hi\"\"\"\t\ta,b;c"},
    };
    const int savedDelimiter = theGlobal.m_delimiter, savedUnit = theGlobal.m_distanceUnit;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.delimiterSetting);
        theGlobal.m_delimiter = c.delimiterSetting;
        theGlobal.m_distanceUnit = c.unit;
        const CString line = CDrPropertyDlg::FormatReportRow(p, CDrPropertyDlg::Delimiter());
        EXPECT_EQ(std::wstring(line), c.line);
        // No line break inside: each report is one line of the file.
        EXPECT_EQ(line.Find(L'\n'), -1);
    }
    theGlobal.m_delimiter = savedDelimiter;
    theGlobal.m_distanceUnit = savedUnit;
}

TEST(PropertyExport, EveryCharacterSurvivesAndPlainTextStaysAnsi)
{
    ASSERT_TRUE(dlgtest::LoadShippedStrings());
    const struct {
        const wchar_t* name;
        bool utf8;
    } cases[] = {{L"trip one", false}, {L"Fahrt \u6771\u4eac \u0151", true}};
    testsupport::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
        CDrPropertyDlg dlg;
        DR_PANEL p{};
        p.number = 1;
        lstrcpyW(p.data.name, c.name);
        dlg.m_frame.m_ctrl.AddPanel(p);
        const std::wstring path = dir.Path() + L"export.txt";
        ASSERT_TRUE(dlg.SaveAsText(path.c_str()));
        const testsupport::Bytes bytes = testsupport::ReadBytes(path);
        const std::string text(bytes.begin(), bytes.end());
        const bool marked = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
        EXPECT_EQ(marked, c.utf8);
        EXPECT_EQ(text.find('?'), std::string::npos);
        const UINT codePage = marked ? CP_UTF8 : CP_ACP;
        const std::string body = text.substr(marked ? 3 : 0);
        std::wstring wide(body.size(), L'\0');
        wide.resize(::MultiByteToWideChar(codePage, 0, body.data(), static_cast<int>(body.size()), wide.data(),
                                          static_cast<int>(wide.size())));
        EXPECT_NE(wide.find(c.name), std::wstring::npos);
    }
}

TEST(PropertyPrint, PagesAndScale)
{
    const std::pair<int, int> pages[] = {{0, 1}, {3, 1}, {4, 1}, {5, 2}, {9, 2}, {10, 3}};
    for (const auto& [n, want] : pages)
        EXPECT_EQ(CDrPropertyDlg::PageCount(n), want) << n << " panels";
    // Four device pixels per unit where the page holds five panels; less where not.
    const struct {
        int w, h, scale;
    } scales[] = {{4800, 6600, 4000}, {2400, 3300, 2101}, {2550, 3300, 2101}, {1200, 9000, 2142}, {0, 0, 4000}};
    for (const auto& s : scales) {
        EXPECT_EQ(CDrPropertyDlg::PrintScale(s.w, s.h), s.scale) << s.w << " x " << s.h;
        if (s.w > 0) {
            EXPECT_LE(MulDiv(560, s.scale, 1000), s.w);
            EXPECT_LE(MulDiv(1570, s.scale, 1000), s.h);
        }
    }
}

TEST_F(DriveView, ARowLeftBeforeTheTickPostsNothingAndCtrlCIsTheMapsOnly)
{
    testsupport::LocalHttpServer server([](const testsupport::HttpRequest&, testsupport::HttpConnection& c) {
        c.Reply(200, "<html></html>", "text/html");
    });
    theGlobal.m_webBaseUrl = (server.BaseUrl() + L"/mirovale/").c_str();
    OpenFromStartMenu();
    Fill(kFakes);
    theGlobal.UpdateAllViews();
    CDriveReportWnd& view = View();
    CDriveReportListCtrl& list = view.m_listPane.m_list;
    // Selected and deselected within the half second: no page.
    list.SetCurSel(1);
    list.NotifySelChange();
    list.SetCurSel(-1);
    list.NotifySelChange();
    PumpUntil([] { return false; }, 900);
    EXPECT_TRUE(server.Requests().empty());
    // Moving on through two rows posts the last one only.
    list.SetCurSel(1);
    list.NotifySelChange();
    list.SetCurSel(2);
    list.NotifySelChange();
    ASSERT_TRUE(PumpUntil([&] { return !server.Requests().empty(); }, 3000));
    PumpUntil([] { return false; }, 700);
    EXPECT_EQ(server.Requests().size(), 1u);

    // Ctrl+C goes to the shown map; in eco mode the view lets it pass.
    INPUT ctrl{};
    ctrl.type = INPUT_KEYBOARD;
    ctrl.ki.wVk = VK_CONTROL;
    ::SendInput(1, &ctrl, sizeof ctrl);
    PumpUntil([] { return false; }, 100);
    MSG copy{list.m_hWnd, WM_KEYDOWN, 'C', 0};
    EXPECT_TRUE(view.m_browse.m_browser.IsWindowVisible());
    EXPECT_TRUE(view.PreTranslateMessage(&copy));
    ::SendMessageW(hwnd, WM_COMMAND, ID_VIEW_ECO_REPORT, 0);
    EXPECT_FALSE(view.PreTranslateMessage(&copy));
    ctrl.ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(1, &ctrl, sizeof ctrl);
    PumpUntil([] { return false; }, 100);
}

TEST_F(DriveView, EveryPanelLabelFitsBeforeItsValue)
{
    // Labels too long for their 180 px at full size: each must still be
    // drawn whole, down to its closing colon, left of the value column.
    const int labels[] = {253, 254, 255, 256, 186, 181, 190, 191};
    const int tops[] = {25, 50, 75, 100, 125, 150, 205, 260};
    CStringArray saved;
    for (int n : labels) {
        saved.Add(theGlobal.m_uiStrings[n]);
        theGlobal.m_uiStrings[n] = CString(L'H', 26);
    }
    CDrPropertyCtrl ctrl;
    DR_PANEL panel{};
    panel.number = 1;
    ctrl.AddPanel(panel);
    const int W = 538, H = 310;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, W, H);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
    ctrl.DrawReportPanel(dc, {0, 0, W, H}, 0, FALSE);
    for (size_t i = 0; i < std::size(labels); ++i) {
        // The rightmost column of white ink in the label's row: two dots of
        // the colon, not the stem or bar of a cut letter.
        int right = -1;
        std::vector<int> inkRows;
        for (int x = 195; x >= 15 && right < 0; --x) {
            for (int y = tops[i]; y < tops[i] + 25; ++y)
                if (GetRValue(::GetPixel(dc, x, y)) > 0xC0)
                    inkRows.push_back(y);
            if (!inkRows.empty())
                right = x;
        }
        ASSERT_GE(right, 15) << "label " << labels[i];
        EXPECT_LT(right, 195) << "label " << labels[i];
        EXPECT_GT(inkRows.back() - inkRows.front() + 1, static_cast<int>(inkRows.size()))
            << "label " << labels[i] << " ends in a cut letter at x " << right;
    }
    ::SelectObject(dc, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    for (size_t i = 0; i < std::size(labels); ++i)
        theGlobal.m_uiStrings[labels[i]] = saved[i];
}

TEST_F(DriveView, WithNothingTickedTheSummaryStandsAlone)
{
    Fill(kFakes);
    for (INT_PTR i = 0; i < theGlobal.m_docDr.m_reports.GetSize(); ++i)
        theGlobal.m_docDr.m_reports[i].m_listData.checked = 0;
    CDrPropertyDlg dlg;
    for (WORD i = 0; i < 4; ++i)
        dlg.m_frame.m_reports.Add(i);
    testsupport::TempDir out;
    const std::wstring path = out.File(L"none.txt");
    const INT_PTR r = dlgtest::RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        EXPECT_TRUE(dlg.m_frame.m_ctrl.m_panels.empty());
        EXPECT_EQ(dlg.m_frame.m_ctrl.MaxPosition(), 0);
        dlgtest::PressKey(VK_END);
        EXPECT_EQ(dlg.m_frame.m_ctrl.GetPosition(), 0);
        EXPECT_TRUE(dlg.SaveAsText(path.c_str()));
        dlgtest::SaveShot(dlg.m_hWnd, L"drive_summary_alone");
        dlgtest::ClickChild(dlg.m_btnClose.m_hWnd);
    });
    EXPECT_EQ(r, IDOK);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(path.c_str(), text));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
    EXPECT_EQ(text.compare(0, strlen(CStringA(theGlobal.UiString(176)).GetString()),
                           CStringA(theGlobal.UiString(176)).GetString()),
              0);
}

TEST_F(DriveView, TheDistanceBoxShowsInMapModeOnlyAndTheButtonsKeepToTheRight)
{
    OpenFromStartMenu();
    CDrBrowseWnd& browse = View().m_browse;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 1200, 500);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const RECT client{0, 0, 1000, 480};
    const RECT box = CDrBrowseWnd::DistanceBox(client);
    const POINT inside{box.left + 2, box.top + 2};
    for (BOOL map : {TRUE, FALSE}) {
        browse.m_btnMap.m_checked = map;
        browse.Draw(dc, client);
        EXPECT_EQ(::GetPixel(dc, inside.x, inside.y) != RGB(5, 5, 10), map != FALSE) << "map " << map;
    }
    browse.m_btnMap.m_checked = TRUE;
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);

    // Wider or narrower, the right column stays 192 px wide at the right edge.
    for (int width : {900, 1200}) {
        browse.MoveWindow(0, 0, width, 480);
        CRect import, report, combo, panel;
        browse.m_btnImport.GetWindowRect(&import);
        browse.m_btnReport.GetWindowRect(&report);
        browse.m_distance.GetWindowRect(&combo);
        browse.m_eco.GetWindowRect(&panel);
        for (CRect* r : {&import, &report, &combo, &panel})
            browse.ScreenToClient(r);
        EXPECT_EQ(import.right, width);
        EXPECT_EQ(import.Width(), 192);
        EXPECT_EQ(report.left, width - 192);
        EXPECT_EQ(combo.left, width - 84);
        EXPECT_EQ(panel.right, width - 192 - 20);
    }
}

}  // namespace
