// The card chooser: its rules as tables, and the dialog under Xvfb over the
// test prefix's removable drive R: (build/card), driven through its controls.
#include <windows.h>

#include <dbt.h>
#include <shlwapi.h>

#include <vector>

#include "DialogDriver.h"
#include "ScriptedAnswers.h"
#include "TestFiles.h"
#include "common/TextCheck.h"
#include "core/Global.h"
#include "frame/RemovableDlg.h"

using namespace dlgtest;
using namespace testsupport;

namespace {

const wchar_t kCard[] = L"R:\\";

// The free space the threshold cases give every drive.
ULONGLONG g_fakeFreeMB = 0;
BOOL FakeFreeSpace(const wchar_t*, ULONGLONG* freeMB)
{
    *freeMB = g_fakeFreeMB;
    return TRUE;
}
BOOL FailingFreeSpace(const wchar_t*, ULONGLONG*)
{
    return FALSE;
}

// The system's drives without R:, as if the card had been pulled.
DWORD WINAPI DrivesWithoutCard(DWORD length, wchar_t* buffer)
{
    wchar_t all[262] = {};
    const DWORD n = ::GetLogicalDriveStringsW(261, all);
    if (n == 0 || n > 261)
        return n;
    DWORD out = 0;
    for (const wchar_t* root = all; *root; root += wcslen(root) + 1) {
        if (_wcsicmp(root, kCard) == 0)
            continue;
        const DWORD len = static_cast<DWORD>(wcslen(root)) + 1;
        if (out + len + 1 > length)
            return out + len + 1;
        wcscpy(buffer + out, root);
        out += len;
    }
    buffer[out] = L'\0';
    return out;
}

// A message box's shown text as one line: its line breaks and the blanks
// before them removed.
std::wstring Unwrapped(std::wstring text)
{
    std::wstring out;
    for (wchar_t c : text)
        if (c != L'\n')
            out += c;
    while (!out.empty() && out.back() == L' ')
        out.pop_back();
    return out;
}

TEST(RemovableRules, FreeSpaceThresholdByView)
{
    const struct {
        int view, threshold;
    } cases[] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 0},
                 {8, 1}, {9, 0}, {11, 0}, {12, 2}, {13, 0}, {-1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(CRemovableDlg::ThresholdMB(c.view), c.threshold) << "view " << c.view;
}

class RemovableNames : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitCharClassTable();
        savedGroup = theGlobal.m_naviModel.m_modelGroup;
        theGlobal.m_naviModel.m_modelGroup = CHARCLASS_GROUP1;
    }
    void TearDown() override { theGlobal.m_naviModel.m_modelGroup = savedGroup; }
    int savedGroup = 0;
};

TEST_F(RemovableNames, CardFileNameRules)
{
    const struct {
        const wchar_t* name;
        BOOL ok;
    } cases[] = {
        {L"Tokyo", TRUE},       {L"My POI 2", TRUE},   {L"con1", TRUE},        {L"CONSOLE", TRUE},
        {L"COM10", TRUE},       {L"LPT0", TRUE},       {L"nul_list", TRUE},    {L"a.b", TRUE},
        {L"", FALSE},           {L"a:b", FALSE},       {L"a\\b", FALSE},       {L"a/b", FALSE},
        {L"a*b", FALSE},        {L"a?b", FALSE},       {L"a\"b", FALSE},       {L"a<b", FALSE},
        {L"a>b", FALSE},        {L"a|b", FALSE},       {L"\u6771\u4EAC", FALSE},
        {L"CON", FALSE},        {L"con", FALSE},       {L"Prn", FALSE},        {L"AUX", FALSE},
        {L"NUL", FALSE},        {L"nul.kml", FALSE},   {L"Con.tar.gz", FALSE}, {L"CON .kml", FALSE},
        {L"COM1", FALSE},       {L"com9", FALSE},      {L"lpt1", FALSE},       {L"LPT9.txt", FALSE},
        {L"COM\u00B9", FALSE},  {L"name.", FALSE},     {L"name ", FALSE},      {L" ", FALSE},
        {L".", FALSE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CRemovableDlg::IsAcceptableFileName(c.name), c.ok) << Utf8(c.name);
}

TEST_F(RemovableNames, CharactersAreCheckedAgainstTheUnitsGroup)
{
    theGlobal.m_naviModel.m_modelGroup = CHARCLASS_GROUP1;
    EXPECT_TRUE(CRemovableDlg::IsAcceptableFileName(L"Zürich"));
    EXPECT_FALSE(CRemovableDlg::IsAcceptableFileName(L"\u6771\u4EAC"));
}

class RemovableDialog : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        InitCharClassTable();
        savedGroup = theGlobal.m_naviModel.m_modelGroup;
        savedView = theGlobal.m_viewKind;
        theGlobal.m_naviModel.m_modelGroup = CHARCLASS_GROUP1;
        theGlobal.m_viewKind = 1;
        ASSERT_EQ(::GetDriveTypeW(kCard), static_cast<UINT>(DRIVE_REMOVABLE)) << "the test prefix maps R:";
        RemoveTree(L"R:\\Oskra-APPS");
    }
    void TearDown() override
    {
        CRemovableDlg::s_freeSpace = &CRemovableDlg::RealFreeSpace;
        CRemovableDlg::s_driveStrings = &::GetLogicalDriveStringsW;
        RemoveTree(L"R:\\Oskra-APPS");
        theGlobal.m_naviModel.m_modelGroup = savedGroup;
        theGlobal.m_viewKind = savedView;
        DialogTest::TearDown();
    }
    static int CardRow(const CRemovableDlg& dlg)
    {
        for (int r = 0; r < dlg.m_list.GetItemCount(); ++r)
            if (dlg.GetRowRoot(r) == kCard)
                return r;
        return -1;
    }
    static CString Cell(const CRemovableDlg& dlg, int row, int column)
    {
        wchar_t buf[260] = {};
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.iSubItem = column;
        item.pszText = buf;
        item.cchTextMax = 260;
        return dlg.m_list.GetItem(&item) ? CString(buf) : CString(L"<none>");
    }
    // A real click on the row's first cell.
    static void ClickRow(CRemovableDlg& dlg, int row)
    {
        RECT rc{};
        ASSERT_TRUE(dlg.m_list.GetSubItemRect(row, 0, LVIR_BOUNDS, &rc));
        RealClick(dlg.m_list.m_hWnd, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }
    static HWND NameEdit(CRemovableDlg& dlg) { return ::GetDlgItem(dlg.m_hWnd, 1045); }
    int savedGroup = 0, savedView = 0;
};

TEST_F(RemovableDialog, ListsTheCardWithNameTypeAndFreeMegabytes)
{
    ULARGE_INTEGER avail{}, total{}, totalFree{};
    ASSERT_TRUE(::GetDiskFreeSpaceExW(kCard, &avail, &total, &totalFree));
    const long long expectedMB = static_cast<long long>(totalFree.QuadPart >> 20);
    CRemovableDlg dlg;
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        EXPECT_STREQ(dlg.GetCaption(), theGlobal.UiString(236));
        CRect window;
        dlg.GetWindowRect(&window);
        EXPECT_EQ(window.Width(), 518);
        EXPECT_EQ(window.Height(), 459 + dlg.GetTopHeight());
        ASSERT_EQ(dlg.m_list.GetColumnCount(), 3);
        EXPECT_EQ(dlg.m_list.GetColumnAlignment(2), LVCFMT_RIGHT);
        EXPECT_EQ(dlg.m_list.GetDlgCtrlID(), 1024);
        EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, 1024), dlg.m_list.m_hWnd);
        const int row = CardRow(dlg);
        ASSERT_GE(row, 0);
        EXPECT_NE(Cell(dlg, row, 0).Find(L"R:"), -1) << Utf8(std::wstring(Cell(dlg, row, 0)));
        EXPECT_FALSE(Cell(dlg, row, 1).IsEmpty());
        // The card folder lives on the build disk, whose free space moves while
        // other tests write: the figure is the drive's, give or take that.
        const CString shown = Cell(dlg, row, 2);
        EXPECT_EQ(shown.Right(2), L"MB") << Utf8(std::wstring(shown));
        EXPECT_NEAR(static_cast<double>(_wtoi64(shown)), static_cast<double>(expectedMB), 256.0) << Utf8(std::wstring(shown));
        EXPECT_GE(dlg.m_list.GetItemImage(row, 0), 0);
        for (int i = 0; i < dlg.m_list.GetItemCount(); ++i)
            EXPECT_EQ(::GetDriveTypeW(dlg.GetRowRoot(i)), static_cast<UINT>(DRIVE_REMOVABLE));
        // Nothing selected: OK waits, and the name edit is not offered.
        EXPECT_EQ(dlg.m_list.GetSelectedCount(), 0);
        EXPECT_FALSE(dlg.IsOkEnabled());
        EXPECT_FALSE(dlg.m_btnOK.IsWindowEnabled());
        EXPECT_FALSE(::IsWindowVisible(NameEdit(dlg)));
        ClickChild(dlg.m_btnCancel.m_hWnd);
    });
    EXPECT_EQ(r, IDCANCEL);
    EXPECT_STREQ(dlg.GetDrivePath(), L"");
}

// What the name edit holds as its font while it is being destroyed.
WNDPROC g_editProc = nullptr;
int g_fontAtDestroy = -1;  // 0 none, 1 a live font, 2 a deleted one
LRESULT CALLBACK WatchEditFont(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DESTROY) {
        auto font = reinterpret_cast<HGDIOBJ>(::CallWindowProcW(g_editProc, hwnd, WM_GETFONT, 0, 0));
        g_fontAtDestroy = !font ? 0 : ::GetObjectType(font) == OBJ_FONT ? 1 : 2;
    }
    return ::CallWindowProcW(g_editProc, hwnd, msg, wp, lp);
}

TEST_F(RemovableDialog, NameEditNeverHoldsAFreedFont)
{
    CRemovableDlg dlg;
    g_fontAtDestroy = -1;
    RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        HWND edit = NameEdit(dlg);
        ASSERT_TRUE(edit);
        EXPECT_EQ(::GetObjectType(reinterpret_cast<HGDIOBJ>(::SendMessageW(edit, WM_GETFONT, 0, 0))),
                  static_cast<DWORD>(OBJ_FONT));
        g_editProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchEditFont)));
        PressKey(VK_ESCAPE);
    });
    EXPECT_NE(g_fontAtDestroy, -1);
    EXPECT_NE(g_fontAtDestroy, 2);
}

TEST_F(RemovableDialog, RequiredAppsFileFiltersTheDrives)
{
    CRemovableDlg dlg;
    dlg.RequireAppsDeviceFile();
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        EXPECT_EQ(CardRow(dlg), -1);
        ASSERT_TRUE(::CreateDirectoryW(L"R:\\Oskra-APPS", nullptr));
        ClickChild(dlg.m_btnRefresh.m_hWnd);
        EXPECT_EQ(CardRow(dlg), -1);  // the folder alone is not enough
        WriteBytes(L"R:\\Oskra-APPS\\Device.dat", std::string("unit"));
        ClickChild(dlg.m_btnRefresh.m_hWnd);
        EXPECT_GE(CardRow(dlg), 0);
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(r, IDCANCEL);
}

// The thread's error mode while a drive is looked at: an empty card reader
// must answer "not ready", not raise the system's "no disk" box.
std::vector<UINT> g_probeModes;
BOOL FreeSpaceNotingMode(const wchar_t*, ULONGLONG* freeMB)
{
    g_probeModes.push_back(::GetThreadErrorMode());
    *freeMB = 100;
    return TRUE;
}
DWORD WINAPI DrivesNotingMode(DWORD length, wchar_t* buffer)
{
    g_probeModes.push_back(::GetThreadErrorMode());
    return ::GetLogicalDriveStringsW(length, buffer);
}

TEST_F(RemovableDialog, DrivesAreProbedWithoutTheNoDiskBox)
{
    const UINT before = ::GetThreadErrorMode();
    ASSERT_EQ(before & SEM_FAILCRITICALERRORS, 0u);
    g_probeModes.clear();
    CRemovableDlg::s_freeSpace = &FreeSpaceNotingMode;
    CRemovableDlg::s_driveStrings = &DrivesNotingMode;
    {
        CRemovableDlg dlg;
        RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) { PressKey(VK_ESCAPE); });
    }
    EXPECT_FALSE(CRemovableDlg::HasAppsCard());
    ASSERT_TRUE(::CreateDirectoryW(L"R:\\Oskra-APPS", nullptr));
    WriteBytes(L"R:\\Oskra-APPS\\Device.dat", std::string("unit"));
    EXPECT_TRUE(CRemovableDlg::HasAppsCard());
    ASSERT_GE(g_probeModes.size(), 4u);  // the dialog's drives and free space, two searches
    for (UINT mode : g_probeModes)
        EXPECT_NE(mode & SEM_FAILCRITICALERRORS, 0u);
    EXPECT_EQ(::GetThreadErrorMode(), before);
}

TEST_F(RemovableDialog, FreeSpaceThresholdTableDecidesOk)
{
    CRemovableDlg::s_freeSpace = &FakeFreeSpace;
    const struct {
        ULONGLONG freeMB;
        int view;
        bool ok;
    } cases[] = {
        {0, 1, false}, {1, 1, true},  {2, 1, true},   {3, 1, true},  {0, 2, false},  {1, 2, false},
        {2, 2, true},  {3, 2, true},  {0, 12, false}, {1, 12, false}, {2, 12, false}, {3, 12, true},
    };
    CRemovableDlg dlg;
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.freeMB << " MB, view " << c.view);
            g_fakeFreeMB = c.freeMB;
            theGlobal.m_viewKind = c.view;
            ClickChild(dlg.m_btnRefresh.m_hWnd);
            EXPECT_FALSE(dlg.IsOkEnabled());
            const int row = CardRow(dlg);
            ASSERT_GE(row, 0);
            wchar_t text[32];
            swprintf(text, 32, L"%lluMB", static_cast<unsigned long long>(c.freeMB));
            EXPECT_STREQ(Cell(dlg, row, 2), text);
            ClickRow(dlg, row);
            EXPECT_EQ(dlg.m_list.GetCurSel(), row);
            EXPECT_EQ(dlg.IsOkEnabled() != FALSE, c.ok);
            EXPECT_EQ(dlg.m_btnOK.IsWindowEnabled() != FALSE, c.ok);
        }
        // Not enough space: Enter and the OK button leave the dialog open.
        g_fakeFreeMB = 1;
        theGlobal.m_viewKind = 12;
        ClickChild(dlg.m_btnRefresh.m_hWnd);
        ClickRow(dlg, CardRow(dlg));
        PressKey(VK_RETURN);
        ClickChild(dlg.m_btnOK.m_hWnd);
        EXPECT_FALSE(WaitEnded(dlg, 300));
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(r, IDCANCEL);
}

TEST_F(RemovableDialog, SizesOverTwoTerabytesAndUnreadableDrives)
{
    CRemovableDlg::s_freeSpace = &FakeFreeSpace;
    g_fakeFreeMB = 3000000;  // a card of about 3 TB
    CRemovableDlg dlg;
    RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        int row = CardRow(dlg);
        ASSERT_GE(row, 0);
        EXPECT_STREQ(Cell(dlg, row, 2), L"3000000MB");
        g_fakeFreeMB = 5000000000ULL;  // beyond 32 bits
        ClickChild(dlg.m_btnRefresh.m_hWnd);
        row = CardRow(dlg);
        EXPECT_STREQ(Cell(dlg, row, 2), L"5000000000MB");
        EXPECT_EQ(dlg.GetRowFreeMB(row), 5000000000LL);
        // A drive whose space cannot be read shows 0MB and serves only views without a minimum.
        CRemovableDlg::s_freeSpace = &FailingFreeSpace;
        theGlobal.m_viewKind = 2;
        ClickChild(dlg.m_btnRefresh.m_hWnd);
        row = CardRow(dlg);
        EXPECT_STREQ(Cell(dlg, row, 2), L"0MB");
        ClickRow(dlg, row);
        EXPECT_FALSE(dlg.IsOkEnabled());
        PressKey(VK_ESCAPE);
    });
}

TEST_F(RemovableDialog, EnterWithNoRowSelectedDoesNothing)
{
    CRemovableDlg::s_freeSpace = &FakeFreeSpace;
    g_fakeFreeMB = 100;
    CRemovableDlg dlg;
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        ASSERT_GE(CardRow(dlg), 0);
        dlg.m_list.SetFocus();
        PressKey(VK_RETURN);
        EXPECT_FALSE(WaitEnded(dlg, 300));
        EXPECT_EQ(dlg.GetDrivePath(), L"");
        // The same key once a drive is chosen is OK.
        ClickRow(dlg, CardRow(dlg));
        EXPECT_TRUE(dlg.IsOkEnabled());
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(r, IDOK);
    EXPECT_STREQ(dlg.GetDrivePath(), kCard);
}

TEST_F(RemovableDialog, PulledCardLeavesTheListAndDisablesOk)
{
    CRemovableDlg::s_freeSpace = &FakeFreeSpace;
    g_fakeFreeMB = 100;
    CRemovableDlg dlg;
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        const int rows = dlg.m_list.GetItemCount();
        ClickRow(dlg, CardRow(dlg));
        ASSERT_TRUE(dlg.IsOkEnabled());
        CRemovableDlg::s_driveStrings = &DrivesWithoutCard;
        dlg.SendMessage(WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0);
        EXPECT_EQ(CardRow(dlg), -1);
        EXPECT_EQ(dlg.m_list.GetItemCount(), rows - 1);
        EXPECT_FALSE(dlg.IsOkEnabled());
        EXPECT_FALSE(dlg.m_btnOK.IsWindowEnabled());
        PressKey(VK_RETURN);
        EXPECT_FALSE(WaitEnded(dlg, 300));
        // The card comes back.
        CRemovableDlg::s_driveStrings = &::GetLogicalDriveStringsW;
        dlg.SendMessage(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
        EXPECT_GE(CardRow(dlg), 0);
        EXPECT_FALSE(dlg.IsOkEnabled());
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(r, IDCANCEL);
}

TEST_F(RemovableDialog, BadNamesAreRefusedAndTokyoIsAccepted)
{
    CRemovableDlg::s_freeSpace = &FakeFreeSpace;
    g_fakeFreeMB = 100;
    const std::wstring refused(theGlobal.UiString(30));
    // Any box is ended; the text it showed is compared unwrapped.
    ScriptedAnswers answers({});
    CRemovableDlg dlg;
    dlg.m_askName = 1;
    dlg.SetFileName(L"POI");
    const wchar_t* bad[] = {L"", L"a:b", L"\u6771\u4EAC", L"CON", L"lpt1", L"name.", L"name "};
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        HWND edit = NameEdit(dlg);
        ASSERT_NE(edit, nullptr);
        EXPECT_TRUE(::IsWindowVisible(edit));
        EXPECT_TRUE(::IsWindowEnabled(edit));
        EXPECT_STREQ(AfxGetWindowText(edit), L"POI");
        EXPECT_EQ(::SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 64);
        CRect place;
        ::GetWindowRect(edit, &place);
        dlg.ScreenToClient(&place);
        EXPECT_EQ(place, CRect(131, 350, 131 + 365, 350 + 22));
        ClickRow(dlg, CardRow(dlg));
        ASSERT_TRUE(dlg.IsOkEnabled());
        // Centred on the small test main window its top is off the screen,
        // where the screen cannot be read.
        dlg.SetWindowPos(static_cast<HWND>(nullptr), 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SaveShot(dlg.m_hWnd, L"removable_name");
        for (const wchar_t* name : bad) {
            SCOPED_TRACE(Utf8(name));
            answers.asked.clear();
            ::SetWindowTextW(edit, name);
            ClickChild(dlg.m_btnOK.m_hWnd);
            PumpUntil([&] { return !answers.asked.empty(); }, 1500);
            ASSERT_EQ(answers.asked.size(), 1u);
            EXPECT_EQ(Unwrapped(answers.asked[0]), refused);
            EXPECT_FALSE(WaitEnded(dlg, 100));
            EXPECT_STREQ(AfxGetWindowText(edit), name);  // kept as typed
        }
        ::SetWindowTextW(edit, L"Tokyo");
        answers.asked.clear();
        ClickChild(dlg.m_btnOK.m_hWnd);
    });
    EXPECT_EQ(r, IDOK);
    EXPECT_TRUE(answers.asked.empty());
    EXPECT_STREQ(dlg.GetDrivePath(), kCard);
    EXPECT_STREQ(dlg.GetFileName(), L"Tokyo");

    // The same object again, cancelled: no drive.
    const INT_PTR again = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        EXPECT_STREQ(AfxGetWindowText(NameEdit(dlg)), L"Tokyo");
        ClickRow(dlg, CardRow(dlg));
        ClickChild(dlg.m_btnCancel.m_hWnd);
    });
    EXPECT_EQ(again, IDCANCEL);
    EXPECT_STREQ(dlg.GetDrivePath(), L"");
}

// What the list reports for a double click on a row.
void SendDoubleClick(CRemovableDlg& dlg, int row)
{
    NMITEMACTIVATE nm{};
    nm.hdr.hwndFrom = dlg.m_list.m_hWnd;
    nm.hdr.idFrom = 1024;
    nm.hdr.code = NM_DBLCLK;
    nm.iItem = row;
    dlg.SendMessage(WM_NOTIFY, 1024, reinterpret_cast<LPARAM>(&nm));
}

TEST_F(RemovableDialog, DoubleClickOnARowIsOkOnlyWhenOkIsEnabled)
{
    CRemovableDlg::s_freeSpace = &FakeFreeSpace;
    g_fakeFreeMB = 1;
    theGlobal.m_viewKind = 2;  // needs more than 1 MB
    CRemovableDlg dlg;
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        int row = CardRow(dlg);
        ASSERT_GE(row, 0);
        ClickRow(dlg, row);
        ASSERT_FALSE(dlg.IsOkEnabled());
        SendDoubleClick(dlg, row);
        EXPECT_FALSE(WaitEnded(dlg, 200));
        g_fakeFreeMB = 2;
        ClickChild(dlg.m_btnRefresh.m_hWnd);
        row = CardRow(dlg);
        ClickRow(dlg, row);
        ASSERT_TRUE(dlg.IsOkEnabled());
        SendDoubleClick(dlg, row);
        WaitEnded(dlg, 1000);
    });
    EXPECT_EQ(r, IDOK);
    EXPECT_STREQ(dlg.GetDrivePath(), kCard);
}

}  // namespace
