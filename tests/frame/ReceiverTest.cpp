// The main window receiving "send to GPS" links as WM_COPYDATA: blocks that
// are not a link, the open map look-up dialog told of good and refused
// places, the region refusal, one notice at a time, and the map-search page
// taking the place into its list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogDriver.h"
#include "ScriptedAnswers.h"
#include "TestMainWindow.h"
#include "common/TextCheck.h"
#include "core/CopyDataBlock.h"
#include "core/Global.h"
#include "core/RegisteredMessages.h"
#include "frame/MainWnd.h"
#include "frame/ReceivedLink.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"

namespace {

using namespace dlgtest;

std::wstring Ui(int n)
{
    return std::wstring(theGlobal.UiString(n));
}

// Stands in for the open map look-up dialog: counts what it is told.
struct MapDialogSpy {
    HWND window = nullptr;
    static inline int added = 0, refused = 0;
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_ADD_GOOGLE_DATA)
            ++added;
        else if (msg == WM_ERROR_GOOGLE_DATA)
            ++refused;
        return ::DefWindowProcW(h, msg, wp, lp);
    }
    MapDialogSpy()
    {
        added = refused = 0;
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"MapDialogSpy";
        ::RegisterClassW(&wc);
        window = ::CreateWindowW(wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~MapDialogSpy() { ::DestroyWindow(window); }
};

class Receiver : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        InitCharClassTable();
        saved = {theGlobal.m_naviModel.m_modelGroup, theGlobal.m_naviModel.m_region};
        theGlobal.m_naviModel.m_modelGroup = CHARCLASS_GROUP1 | CHARCLASS_GROUP2;
        theGlobal.m_naviModel.m_region = 0;
        ForgetViews();
        theGlobal.m_modelType = 4;
        theGlobal.m_areaCode = 1;
        theGlobal.m_windowRect = {0, 0, 0, 0};
        theGlobal.m_hMapDlg = nullptr;
        theGlobal.m_receivedMessageOpen = 0;
        theGlobal.m_piMapColumns.RemoveAll();
        for (CDocPi* d : {&theGlobal.m_docPiReceived, &theGlobal.m_docPiMap}) {
            d->InitErrorStrings();
            d->ResetDocument();
            d->SetModified(0);
        }
        window = OpenMainWindow(app);
        ASSERT_NE(window, nullptr);
        hwnd = window->GetSafeHwnd();
        PumpPending();
    }
    void TearDown() override
    {
        CloseMainWindow(app, hwnd);
        for (CDocPi* d : {&theGlobal.m_docPiReceived, &theGlobal.m_docPiMap}) {
            d->ResetDocument();
            d->SetModified(0);
        }
        theGlobal.m_hMapDlg = nullptr;
        theGlobal.m_viewKind = 0;
        theGlobal.m_naviModel.m_modelGroup = saved.first;
        theGlobal.m_naviModel.m_region = saved.second;
        DialogTest::TearDown();
    }
    // A second start's block; the answer comes at once, the link is handled
    // from the window's queue.
    void Deliver(const std::wstring& link)
    {
        CMDLINE_COPYDATA block;
        FillCommandLineBlock(block, (L"\"C:\\Program Files\\Mirovale\\Mirovale.exe\" " + link).c_str());
        EXPECT_EQ(SendCommandLineBlock(hwnd, block), 0);
    }
    void Send(const std::wstring& link)
    {
        Deliver(link);
        PumpPending();
    }
    std::wstring ReceivedName()
    {
        DOCPI_RECORD r{};
        if (!theGlobal.m_docPiReceived.GetRecord(0, &r))
            return L"<none>";
        return r.name;
    }
    CMainWnd* window = nullptr;
    HWND hwnd = nullptr;
    std::pair<int, int> saved;
};

TEST_F(Receiver, BlocksThatAreNotALinkChangeNothing)
{
    ScriptedAnswers boxes({});
    CMDLINE_COPYDATA block;
    FillCommandLineBlock(block, L"mirovale:name=X&long=1&lat=2");
    struct {
        ULONG_PTR kind;
        DWORD size;
    } const shapes[] = {{0, 0}, {0, 10}, {0, sizeof block - 2}, {1, sizeof block}};
    for (const auto& s : shapes) {
        COPYDATASTRUCT data{s.kind, s.size, &block};
        EXPECT_EQ(::SendMessageW(hwnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 0);
    }
    Send(L"name=X&long=1&lat=2");  // no scheme word
    PumpPending();
    EXPECT_EQ(theGlobal.m_docPiReceived.GetRecordCount(), 0);
    EXPECT_TRUE(boxes.asked.empty());
}

TEST_F(Receiver, TellsTheOpenMapDialogOfGoodAndRefusedPlaces)
{
    MapDialogSpy spy;
    theGlobal.m_hMapDlg = spy.window;
    ScriptedAnswers boxes({});
    Send(L"mirovale:name=Caf%C3%A9&address=1%20Quay&lat=35.5&long=139.7");
    EXPECT_EQ(MapDialogSpy::added, 1);
    EXPECT_EQ(ReceivedName(), L"Caf\u00e9");
    for (const wchar_t* bad : {L"mirovale:name=Far&lat=91&long=0", L"mirovale:name=Odd&lat=abc&long=1",
                               L"mirovale:name=Half&lat=10"}) {
        SCOPED_TRACE(bad);
        Send(bad);
    }
    EXPECT_EQ(MapDialogSpy::refused, 3);
    EXPECT_EQ(MapDialogSpy::added, 1);
    // Refused places leave the received one alone.
    EXPECT_EQ(ReceivedName(), L"Caf\u00e9");
    EXPECT_TRUE(boxes.asked.empty());
}

TEST_F(Receiver, RefusesWithAMessageWhenNoDialogWaits)
{
    ScriptedAnswers boxes({}, ScriptedAnswers::GivenText);
    Send(L"mirovale:name=Far&long=180.0001&lat=0");
    theGlobal.m_naviModel.m_region = 2;
    Send(L"mirovale:name=Brazil&long=1&lat=2");
    PumpPending();
    EXPECT_EQ(boxes.asked, (std::vector<std::wstring>{Ui(43), kLinkRegionRefused}));
    EXPECT_EQ(theGlobal.m_docPiReceived.GetRecordCount(), 0);
}

TEST_F(Receiver, ANoticeOnceWhileLaterLinksReplaceThePlace)
{
    int boxesOpen = -1;
    std::wstring notice;
    RunModal(
        [&] {
            // The block is answered before the notice shows: a second start never waits for it.
            Deliver(L"mirovale:name=First&long=1&lat=2");
            EXPECT_EQ(theGlobal.m_dialogStack.GetSize(), 0);
            PumpUntil([&] { return ReceivedName() == L"Second" && !theGlobal.m_receivedMessageOpen; }, 5000);
            return INT_PTR{0};
        },
        [&](CCustomDialog& box) {
            notice = static_cast<CMessageDlg&>(box).GetText();
            const INT_PTR before = theGlobal.m_dialogStack.GetSize();
            Deliver(L"mirovale:name=Second&long=3&lat=4");
            PumpUntil([] { return false; }, 300);
            boxesOpen = static_cast<int>(theGlobal.m_dialogStack.GetSize() - before);
            EXPECT_EQ(ReceivedName(), L"Second");
            SaveShot(box.m_hWnd, L"receiver_notice");
            box.EndDialog(IDOK);
        });
    EXPECT_EQ(notice, Ui(42));
    // The place waits for the map search, which the notice names; no list has it yet.
    EXPECT_NE(notice.find(Ui(108)), std::wstring::npos) << notice;
    EXPECT_EQ(theGlobal.m_docPiMap.GetRecordCount(), 0);
    EXPECT_EQ(boxesOpen, 0);
    EXPECT_EQ(theGlobal.m_receivedMessageOpen, 0);
    DOCPI_RECORD r{};
    ASSERT_TRUE(theGlobal.m_docPiReceived.GetRecord(0, &r));
    EXPECT_EQ(std::wstring(r.name), L"Second");
    EXPECT_DOUBLE_EQ(r.longitude, 3);
    EXPECT_DOUBLE_EQ(r.latitude, 4);
    EXPECT_EQ(theGlobal.m_docPiReceived.GetRecordCount(), 1);
}

TEST_F(Receiver, TheShownMapSearchPageTakesThePlaceIntoItsList)
{
    ::PostMessageW(hwnd, WM_COMMAND, ID_POI_MAP, 0);
    PumpUntil([] { return theGlobal.m_viewKind == 4; }, 3000);
    PumpUntil([] { return false; }, 300);
    ASSERT_EQ(theGlobal.m_viewKind, 4);
    EXPECT_EQ(theGlobal.m_dialogStack.GetSize(), 0);  // nothing pending: no dialog
    std::wstring shown;
    RunModal(
        [&] {
            Deliver(L"mirovale:name=Harbour%20Caf%C3%A9&phone=555&lat=-33.86&long=151.21");
            PumpUntil([] { return theGlobal.m_docPiMap.GetRecordCount() > 0; }, 8000);
            return INT_PTR{0};
        },
        [&](CCustomDialog& d) {
            EXPECT_EQ(theGlobal.m_hMapDlg, d.m_hWnd);
            wchar_t text[100] = {};
            ::GetWindowTextW(::GetDlgItem(d.m_hWnd, IDC_POI_NAME), text, 100);
            shown = text;
            SaveShot(hwnd, L"receiver_map_search_dialog");
            d.SendMessage(WM_COMMAND, IDOK, 0);
        });
    EXPECT_EQ(shown, L"Harbour Caf\u00e9");
    EXPECT_EQ(theGlobal.m_hMapDlg, nullptr);
    ASSERT_EQ(theGlobal.m_docPiMap.GetRecordCount(), 1);
    DOCPI_RECORD r{};
    theGlobal.m_docPiMap.GetRecord(0, &r);
    EXPECT_EQ(std::wstring(r.name), L"Harbour Caf\u00e9");
    EXPECT_EQ(std::wstring(r.telephone), L"555");
    EXPECT_DOUBLE_EQ(r.longitude, 151.21);
    EXPECT_DOUBLE_EQ(r.latitude, -33.86);
    EXPECT_EQ(theGlobal.m_docPiReceived.GetRecordCount(), 0);
    PumpUntil([] { return false; }, 300);
    SaveShot(hwnd, L"receiver_map_search_list");
}

}  // namespace
