// The feed reader under Xvfb over the loopback: a visit's update, choosing
// feed rows, the map page's requests, marks, sorting, links, feeds added and
// deleted, Save to PC, the card export read back, and leaving.
#include <shlwapi.h>

#include "PageRecorder.h"
#include "FeedReaderFixture.h"
#include "common/WebUtil.h"
#include "core/RegisteredMessages.h"
#include "doc/DocPaths.h"

using namespace feedview;

namespace {

class FeedReader : public FeedReaderView {
protected:
    // Five feeds in four shapes and two encodings, and one that is missing.
    void FourShapes()
    {
        Page("/rss.xml", Rss2("Harbour news", {"Pier", "Lighthouse", "Fish market"}, 35.1));
        Page("/latin.xml", Rss2("Caf\xE9s", {"Caf\xE9 du port", "Cr\xEApes"}, 43.3, "ISO-8859-1"));
        Page("/rdf.xml", Rdf("Rdf feed", 2));
        Page("/atom.xml", Atom("Atom feed", 3));
        Page("/kml.xml", Kml("Kml feed", 4));
        Subscribe("/rss.xml", L"Harbour news");
        Subscribe("/latin.xml", L"Cafes");
        Subscribe("/rdf.xml", L"Rdf feed");
        Subscribe("/atom.xml", L"Atom feed");
        Subscribe("/kml.xml", L"Kml feed");
        Subscribe("/gone.xml", L"Gone");
    }
    std::vector<std::wstring> Names()
    {
        std::vector<std::wstring> names;
        for (int row = 0; row < items().GetItemCount(); ++row)
            names.push_back(Cell(row, 4));
        return names;
    }
};

TEST_F(FeedReader, AVisitUpdatesEveryFeedAndTheRowsFollow)
{
    FourShapes();
    // The third feed answers late, so the update can be watched half-way.
    Page("/rdf.xml", Rdf("Rdf feed", 2), 1500);
    CreateView();
    Visit(false);
    ASSERT_FALSE(theGlobal.m_rssTempFolder.IsEmpty());
    const CString folder = theGlobal.m_rssTempFolder;
    EXPECT_NE(folder.Find(L"$$$"), -1);
    EXPECT_TRUE(PathIsDirectoryW(folder));
    // No reservation file is left beside the folder.
    EXPECT_FALSE(testsupport::FileExists((folder.Left(folder.GetLength() - 1) + L".tmp").GetString()));
    auto loads = PageLoads();
    ASSERT_GE(loads.size(), 1u);
    EXPECT_EQ(loads[0].url.rfind(L"http://maps.test/georss/georss.php?dummy=", 0), 0u);
    EXPECT_EQ(loads[0].body, std::wstring(BuildFeedMapPostBody()));
    EXPECT_TRUE(view.m_browserShown);

    ASSERT_TRUE(DispatchUntil([this] { return titles().GetItemCount() >= 4; }, 10000));
    EXPECT_TRUE(theGlobal.m_rssUpdateBusy);
    EXPECT_TRUE(titles().GetItemState(0, CFeedTitleListCtrl::DisabledBit));
    EXPECT_TRUE(skintest::Pixels(view.m_hWnd).SavePng(L"feed_reader_updating"));
    ASSERT_TRUE(DispatchUntil([] { return theGlobal.m_rssUpdateBusy == 0; }, 20000));
    PumpPending();
    EXPECT_EQ(titles().GetItemCount(), 6 + 2);
    EXPECT_FALSE(titles().GetItemState(0, CFeedTitleListCtrl::DisabledBit));
    EXPECT_EQ(Title(0), Ui(212) + L"(" + std::to_wstring(doc().GetTotalItemCount()) + L")");
    EXPECT_EQ(Title(1), Ui(213));
    EXPECT_EQ(Title(2), L"Harbour news(3)");
    EXPECT_EQ(Title(7), L"Gone");
    EXPECT_TRUE(doc().m_feedFiles[5].IsEmpty());
    EXPECT_TRUE(skintest::Pixels(view.m_hWnd).SavePng(L"feed_reader_updated"));
}

TEST_F(FeedReader, ChoosingAFeedLoadsItsItemsAndAsksForTheMap)
{
    FourShapes();
    Visit();
    for (int row : {2, 3, 4, 5, 6}) {
        const size_t before = PageLoads().size();
        Choose(row);
        const int expected[] = {3, 2, 2, 3, 4};
        ASSERT_EQ(items().GetItemCount(), expected[row - 2]) << row;
        // The load asks for the map once with auto-scale, every checked item on it.
        const PageLoad load = WaitMapLoad(before);
        EXPECT_NE(load.body.find(L"&auto_scale=1&popup=0"), std::wstring::npos) << row;
        for (int r = 0; r < items().GetItemCount(); ++r)
            EXPECT_NE(load.body.find(L"&name[]=" + std::wstring(UrlEncodeUtf8(Cell(r, 4).c_str()))), std::wstring::npos)
                << row << " " << r;
    }
    // The Latin-1 feed reads as its publisher wrote it.
    Choose(3);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Caf\u00e9 du port", L"Cr\u00eapes"}));
    Choose(2);
    EXPECT_EQ(Cell(0, 1), L"1");
    EXPECT_EQ(Cell(2, 1), L"3");
    EXPECT_FALSE(Cell(0, 6).empty());
    EXPECT_EQ(Cell(0, 5), L"About Pier");

    // Selecting an item asks again, after the pause, with the item first (the
    // load's own request has gone out by then).
    ASSERT_TRUE(DispatchUntil([this] { return view.m_autoScale == 0; }, 3000));
    const size_t before = PageLoads().size();
    items().SetFocus();
    items().SetCurSel(1);
    items().NotifySelChange();
    const PageLoad load = WaitMapLoad(before);
    EXPECT_NE(load.body.find(L"&auto_scale=0&popup=1&name[]=" + std::wstring(UrlEncodeUtf8(Cell(1, 4).c_str()))),
              std::wstring::npos);
    EXPECT_EQ(view.m_mapSelection, 1);
    EXPECT_TRUE(skintest::Pixels(view.m_hWnd).SavePng(L"feed_reader_items"));
}

TEST_F(FeedReader, AFeedWithoutADownloadSaysSoAndShowsNoOtherFeedsItems)
{
    FourShapes();
    Visit();
    Choose(2);
    ASSERT_EQ(items().GetItemCount(), 3);
    {
        TextAnswers answers({});
        Choose(7, false);
        ASSERT_EQ(answers.asked.size(), 1u);
        EXPECT_EQ(answers.asked[0], Ui(48));
    }
    // The rows shown belong to the chosen feed: none, so no star can land in
    // its cache for another feed's items.
    EXPECT_EQ(doc().m_selectedFeed, 5);
    EXPECT_EQ(items().GetItemCount(), 0);
    EXPECT_EQ(doc().GetShownItemCount(), 0);
    EXPECT_FALSE(Enabled(ID_CHECK_ALL));

    // A switch still pending when the failed row is chosen loads nothing later.
    Choose(2);
    ASSERT_EQ(items().GetItemCount(), 3);
    Choose(3, false);
    {
        TextAnswers answers({});
        Choose(7, false);
        ASSERT_EQ(answers.asked.size(), 1u);
    }
    const size_t loads = PageLoads().size();
    DispatchUntil([] { return false; }, 1500);
    EXPECT_EQ(PageLoads().size(), loads);
    EXPECT_EQ(view.m_feedSwitch, 0);
    EXPECT_EQ(doc().m_selectedFeed, 5);
    EXPECT_EQ(items().GetItemCount(), 0);
}

TEST_F(FeedReader, ALoadWaitingForTheRunningOneIsNeverDropped)
{
    FourShapes();
    Visit();
    Choose(2);
    ASSERT_EQ(items().GetItemCount(), 3);
    // Every command that asks for the map anew, while the next feed waits.
    const UINT commands[] = {ID_CHECK_ALL, ID_UNCHECK_ALL, ID_CHECK_NEW, ID_CHECK_OLD};
    int row = 2;
    for (UINT command : commands) {
        row = row == 2 ? 3 : 2;
        theGlobal.m_rssLoadBusy = 1;  // a load still runs
        Choose(row, false);
        ASSERT_TRUE(DispatchUntil([this] { return items().GetItemCount() == 0; }, 3000)) << command;
        DispatchUntil([] { return false; }, 600);  // the load timer waits now
        Command(command);
        theGlobal.m_rssLoadBusy = 0;
        EXPECT_TRUE(DispatchUntil(
            [this, row] { return doc().m_selectedFeed == row - 2 && view.m_feedSwitch == 0 && items().GetItemCount() > 0; },
            5000))
            << command;
    }
}

TEST_F(FeedReader, NewItemsAndFavouritesRows)
{
    FourShapes();
    Visit();
    Choose(0);
    EXPECT_EQ(doc().m_selectedFeed, RSS_SHOW_NEW);
    EXPECT_EQ(items().GetItemCount(), doc().GetShownItemCount());
    EXPECT_GE(items().GetItemCount(), 10);
    EXPECT_EQ(Cell(0, 0), L"");
    // Star the first two, then the favourites row shows them.
    for (int row : {0, 1}) {
        NMLVDISPINFOW info{};
        info.hdr.hwndFrom = items().m_hWnd;
        info.hdr.idFrom = IDC_RSS_ITEM_LIST;
        info.hdr.code = LVN_ENDLABELEDITW;
        info.item.iItem = row;
        info.item.iSubItem = 3;
        view.SendMessage(WM_NOTIFY, IDC_RSS_ITEM_LIST, reinterpret_cast<LPARAM>(&info));
    }
    const std::wstring first = Cell(0, 4), second = Cell(1, 4);
    Choose(1);
    EXPECT_EQ(doc().m_selectedFeed, RSS_SHOW_FAVORITES);
    ASSERT_EQ(items().GetItemCount(), 2);
    EXPECT_EQ(Cell(0, 4), second);
    EXPECT_EQ(Cell(1, 4), first);
}

TEST_F(FeedReader, ChecksAndStarsFromTheCellsAndTheButtons)
{
    FourShapes();
    Visit();
    Choose(6);  // the KML feed: four items, all checked and new
    ASSERT_EQ(items().GetItemCount(), 4);
    EXPECT_EQ(doc().CountCheckedItems(), 4);
    // A click on the check cell of row 2 clears its mark.
    RECT cell;
    ASSERT_TRUE(items().GetSubItemRect(2, 2, LVIR_BOUNDS, &cell));
    skintest::Click(items().m_hWnd, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    ASSERT_TRUE(DispatchUntil([] { return theGlobal.m_docRssPoi.CountCheckedItems() == 3; }, 3000));
    EXPECT_EQ(doc().GetItemCheck(view.m_pane.ItemOfRow(2)), 0);
    Command(ID_UNCHECK_ALL);
    EXPECT_EQ(doc().CountCheckedItems(), 0);
    EXPECT_FALSE(Enabled(ID_UNCHECK_ALL));
    EXPECT_FALSE(Enabled(ID_FILE_SAVE));
    Command(ID_CHECK_NEW);
    EXPECT_EQ(doc().CountCheckedItems(), 4);
    Command(ID_CHECK_OLD);
    EXPECT_EQ(doc().CountCheckedItems(), 0);
    Command(ID_CHECK_ALL);
    EXPECT_EQ(doc().CountCheckedItems(), 4);
    EXPECT_TRUE(Enabled(ID_FILE_SAVE));
    EXPECT_TRUE(Enabled(ID_EXPORT));

    // Check Off and On act on the selected rows, with the list's focus.
    items().SetFocus();
    items().SetCurSel(1);
    EXPECT_TRUE(Enabled(ID_CHECK_OFF));
    Command(ID_CHECK_OFF);
    EXPECT_EQ(doc().GetItemCheck(view.m_pane.ItemOfRow(1)), 0);
    Command(ID_CHECK_ON);
    EXPECT_EQ(doc().GetItemCheck(view.m_pane.ItemOfRow(1)), 1);

    // The thousandth favourite is the last one.
    for (int i = doc().m_favorites.GetSize(); i < RSS_MAX_FAVORITES; ++i)
        doc().m_favorites.Add(DOCPI_RSS_ITEM{});
    NMLVDISPINFOW info{};
    info.hdr.hwndFrom = items().m_hWnd;
    info.hdr.idFrom = IDC_RSS_ITEM_LIST;
    info.hdr.code = LVN_ENDLABELEDITW;
    info.item.iItem = 0;
    info.item.iSubItem = 3;
    items().UpdateWindow();
    {
        TextAnswers answers({});
        view.SendMessage(WM_NOTIFY, IDC_RSS_ITEM_LIST, reinterpret_cast<LPARAM>(&info));
        ASSERT_EQ(answers.asked.size(), 1u);
        EXPECT_EQ(answers.asked[0], Ui(19));
    }
    // The refused star is drawn again as it stays.
    EXPECT_TRUE(::GetUpdateRect(items().m_hWnd, nullptr, FALSE));
    DOCPI_RSS_ITEM item;
    ASSERT_TRUE(doc().GetItem(view.m_pane.ItemOfRow(0), &item));
    EXPECT_EQ(item.favorite, 0);
}

TEST_F(FeedReader, SortingByAColumnAndBack)
{
    FourShapes();
    Visit();
    Choose(2);
    auto click = [this](int column) {
        NMLISTVIEW nm{};
        nm.hdr.hwndFrom = items().m_hWnd;
        nm.hdr.idFrom = IDC_RSS_ITEM_LIST;
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.iSubItem = column;
        view.SendMessage(WM_NOTIFY, IDC_RSS_ITEM_LIST, reinterpret_cast<LPARAM>(&nm));
    };
    click(4);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Fish market", L"Lighthouse", L"Pier"}));
    click(4);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Pier", L"Lighthouse", L"Fish market"}));
    // A refresh with as many items keeps the order; the row numbers stay 1, 2, 3.
    view.SendMessage(WM_COMMAND, ID_UPDATE, 0);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Pier", L"Lighthouse", L"Fish market"}));
    EXPECT_EQ(Cell(0, 1), L"1");
    click(6);  // by date: the first published first
    EXPECT_EQ(Names()[0], L"Pier");
    click(1);  // the number column does not sort
    EXPECT_EQ(view.m_pane.m_sortKey, CPoiRssListWnd::kNoSortKey);
}

TEST_F(FeedReader, AnItemsLinkOpensOnlyAsAWebPage)
{
    FourShapes();
    Visit();
    Choose(2);
    testsupport::TempDir dir;
    const std::wstring log = dir.File(L"urls.txt");
    auto recorder = std::make_unique<PageRecorder>(log);
    // The button, as the menu item, acts on the item list's selection: with
    // the list's focus only.
    items().SetCurSel(0);
    titles().SetFocus();
    EXPECT_FALSE(Enabled(ID_LINK_BROWSE));
    view.SendMessage(WM_USER_IDLE, 0, 0);
    EXPECT_FALSE(view.m_pane.m_btnLink.IsWindowEnabled());
    items().SetFocus();
    EXPECT_TRUE(Enabled(ID_LINK_BROWSE));
    view.SendMessage(WM_USER_IDLE, 0, 0);
    EXPECT_TRUE(view.m_pane.m_btnLink.IsWindowEnabled());
    Command(ID_LINK_BROWSE);
    const auto opened = testsupport::ReadBytes(log);
    EXPECT_EQ(std::string(opened.begin(), opened.end()).find("http://example.com/0"), 0u);

    // A feed's link to a program, a share or a file is refused as "no link".
    for (const wchar_t* link : {L"C:\\Windows\\notepad.exe", L"\\\\server\\share\\run.bat", L"file:///C:/x.exe", L"javascript:alert(1)",
                              L"http://example.com/a\" --load-extension=C:\\x"}) {
        {
            CRssLock hold(doc().m_itemLock);
            wcscpy(doc().m_shownItems[view.m_pane.ItemOfRow(0)].itemLink, link);
        }
        TextAnswers answers({});
        items().SetFocus();  // opening a page may take it
        Command(ID_LINK_BROWSE);
        ASSERT_EQ(answers.asked.size(), 1u);
        EXPECT_EQ(answers.asked[0], Ui(49));
    }
    const auto after = testsupport::ReadBytes(log);
    EXPECT_EQ(after, opened);
    recorder.reset();
}

TEST_F(FeedReader, SaveToThePcAndExportToTheCard)
{
    FourShapes();
    Visit();
    Choose(2);
    testsupport::TempDir dir;
    // One item unchecked and without a position: it is not written and stops nothing.
    {
        CRssLock hold(doc().m_itemLock);
        DOCPI_RSS_ITEM& item = doc().m_shownItems[view.m_pane.ItemOfRow(2)];
        item.check = 0;
        item.poi.longitude = item.poi.latitude = -255.0;
    }
    g_saveAnswer = (dir.Path() + L"Harbour.kml").c_str();
    {
        TextAnswers answers({});
        Command(ID_FILE_SAVE);
        EXPECT_TRUE(answers.asked.empty());
    }
    const auto kml = testsupport::ReadBytes(dir.File(L"Harbour.kml"));
    const std::string text(kml.begin(), kml.end());
    EXPECT_NE(text.find("Pier"), std::string::npos);
    EXPECT_NE(text.find("Lighthouse"), std::string::npos);
    EXPECT_EQ(text.find("Fish market"), std::string::npos);
    EXPECT_EQ(theGlobal.m_piFileSpec, CString(L"Harbour.kml"));

    {
        TextAnswers answers({});
        Command(ID_EXPORT);
        ASSERT_EQ(answers.asked.size(), 1u);
        EXPECT_EQ(answers.asked[0], Ui(16));
    }
    const auto card = testsupport::ReadBytes(testsupport::CardRoot() + L"POI\\Feeds.kml");
    const std::string cardText(card.begin(), card.end());
    EXPECT_NE(cardText.find("Pier"), std::string::npos);
    EXPECT_NE(cardText.find("Lighthouse"), std::string::npos);
    EXPECT_EQ(cardText.find("Fish market"), std::string::npos);
}

TEST_F(FeedReader, AddingAFeedRunsBesideTheWindowAndDeletingAsksFirst)
{
    Page("/rss.xml", Rss2("Harbour news", {"Pier"}, 35.1));
    Page("/new.xml", Atom("Mountain huts", 2), 600);
    Subscribe("/rss.xml", L"Harbour news");
    Visit();
    ASSERT_EQ(titles().GetItemCount(), 3);
    const std::wstring url = server->BaseUrl() + L"/new.xml";
    // While the download runs the window keeps answering (the progress dialog
    // pumps); the dialog's OK hands the address over.
    RunModal([this] { Command(ID_ENTRY); return IDOK; },
             [&](CCustomDialog& dlg) {
                 ::SetDlgItemTextW(dlg.m_hWnd, IDC_URL_EDIT, url.c_str());
                 dlg.SendMessage(WM_COMMAND, IDOK, 0);
             },
             8000);
    ASSERT_EQ(doc().GetFeedCount(), 2);
    EXPECT_STREQ(doc().m_feeds[1].title, L"Mountain huts");
    EXPECT_EQ(titles().GetItemCount(), 4);

    // A refused address shows the document's text.
    {
        TextAnswers answers({});
        RunModal([this] { Command(ID_ENTRY); return IDOK; },
                 [&](CCustomDialog& dlg) {
                     ::SetDlgItemTextW(dlg.m_hWnd, IDC_URL_EDIT, (server->BaseUrl() + L"/nothing.xml").c_str());
                     dlg.SendMessage(WM_COMMAND, IDOK, 0);
                 });
        ASSERT_EQ(answers.asked.size(), 1u);
        EXPECT_EQ(answers.asked[0], Ui(48));
    }
    EXPECT_EQ(doc().GetFeedCount(), 2);

    // Delete: the title and the question; No keeps it, Yes removes it.
    titles().SetFocus();
    Choose(3);
    titles().SetFocus();
    ASSERT_EQ(::GetFocus(), titles().m_hWnd);
    ASSERT_EQ(titles().GetCurSel(), 3);
    const std::wstring question = L"Mountain huts\n" + Ui(71);
    {
        TextAnswers answers({{question, IDNO}});
        Command(ID_URL_DELETE);
        ASSERT_EQ(answers.asked.size(), 1u);
        EXPECT_EQ(answers.asked[0], question);
    }
    EXPECT_EQ(doc().GetFeedCount(), 2);
    titles().SetFocus();
    {
        TextAnswers answers({{question, IDYES}});
        Command(ID_URL_DELETE);
    }
    EXPECT_EQ(doc().GetFeedCount(), 1);
    EXPECT_EQ(doc().m_selectedFeed, RSS_SHOW_NOTHING);
    EXPECT_EQ(titles().GetItemCount(), 3);
    EXPECT_EQ(titles().GetSelectedCount(), 0);
}

TEST_F(FeedReader, AddAndDeleteAreOffWhileTheUpdateRuns)
{
    Page("/rss.xml", Rss2("Harbour news", {"Pier"}, 35.1));
    Page("/slow.xml", Atom("Mountain huts", 2), 2500);
    Subscribe("/rss.xml", L"Harbour news");
    Subscribe("/slow.xml", L"Mountain huts");
    CreateView();
    Visit(false);
    ASSERT_TRUE(DispatchUntil([this] { return titles().GetItemCount() >= 3; }, 10000));
    Choose(2);
    titles().SetFocus();
    ASSERT_TRUE(theGlobal.m_rssUpdateBusy);
    EXPECT_FALSE(Enabled(ID_ENTRY));
    EXPECT_FALSE(Enabled(ID_URL_DELETE));
    view.SendMessage(WM_USER_IDLE, 0, 0);
    EXPECT_FALSE(view.m_pane.m_btnAdd.IsWindowEnabled());
    EXPECT_FALSE(view.m_pane.m_btnDelete.IsWindowEnabled());
    ASSERT_TRUE(DispatchUntil([] { return theGlobal.m_rssUpdateBusy == 0; }, 20000));
    titles().SetFocus();
    EXPECT_TRUE(Enabled(ID_ENTRY));
    EXPECT_TRUE(Enabled(ID_URL_DELETE));
    view.SendMessage(WM_USER_IDLE, 0, 0);
    EXPECT_TRUE(view.m_pane.m_btnAdd.IsWindowEnabled());
    EXPECT_TRUE(view.m_pane.m_btnDelete.IsWindowEnabled());
}

TEST_F(FeedReader, AnExportFailingPartWayTakesBackWhatItAdded)
{
    FourShapes();
    Visit();
    Choose(2);
    // The close-up map icon is written, then its settings cannot be (a folder
    // holds their name): the KML file just written goes again.
    ::CreateDirectoryW((testsupport::CardRoot() + L"usericon").c_str(), nullptr);
    ::CreateDirectoryW((testsupport::CardRoot() + L"usericon\\poi_mapclose.spr").c_str(), nullptr);
    ::CreateDirectoryW((testsupport::CardRoot() + L"POI").c_str(), nullptr);
    testsupport::WriteBytes(testsupport::CardRoot() + L"POI\\Old.kml", std::string("keep"));
    {
        TextAnswers answers({});
        Command(ID_EXPORT);
        ASSERT_EQ(answers.asked.size(), 1u);
        CString text;
        EXPECT_EQ(answers.asked[0], std::wstring(theGlobal.m_docIcon.GetErrorString(text)));
    }
    EXPECT_EQ(testsupport::ListFolder(testsupport::CardRoot() + L"POI\\"), std::vector<std::wstring>{L"Old.kml"});
    EXPECT_EQ(testsupport::ListFolder(testsupport::CardRoot() + L"usericon\\"),
              std::vector<std::wstring>{L"poi_mapclose.spr"});
}

TEST_F(FeedReader, StarsOfTheNewItemsReachTheirFileWhenTheReaderIsLeft)
{
    FourShapes();
    Visit();
    Choose(0);
    ASSERT_GE(items().GetItemCount(), 3);
    auto star = [this](int row) {
        NMLVDISPINFOW info{};
        info.hdr.hwndFrom = items().m_hWnd;
        info.hdr.idFrom = IDC_RSS_ITEM_LIST;
        info.hdr.code = LVN_ENDLABELEDITW;
        info.item.iItem = row;
        info.item.iSubItem = 3;
        view.SendMessage(WM_NOTIFY, IDC_RSS_ITEM_LIST, reinterpret_cast<LPARAM>(&info));
    };
    for (int row : {0, 1, 2})
        star(row);
    // One mark taken off again from the favourites row.
    Choose(1);
    ASSERT_EQ(items().GetItemCount(), 3);
    star(0);
    const std::wstring file = std::wstring(WithBackslash(theGlobal.m_rssTempFolder)) + L"NewItem.kml";
    Command(ID_BACK);
    const auto bytes = testsupport::ReadBytes(file);
    ASSERT_GT(bytes.size(), 2u);
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    size_t marked = 0;
    for (size_t at = text.find(L"<Favorite>1</Favorite>"); at != std::wstring::npos;
         at = text.find(L"<Favorite>1</Favorite>", at + 1))
        ++marked;
    EXPECT_EQ(marked, 2u);
    ASSERT_TRUE(DispatchUntil([] { return theGlobal.m_rssTempFolder.IsEmpty(); }, 5000));
}

TEST_F(FeedReader, TheTwoHundredAndFirstFeedIsRefusedBeforeTheDialog)
{
    for (int i = 0; i < RSS_MAX_FEEDS; ++i)
        Subscribe("/f" + std::to_string(i), L"f");
    CreateView();
    TextAnswers answers({});
    Command(ID_ENTRY);
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0], Ui(19));
    EXPECT_EQ(theGlobal.m_dialogStack.GetSize(), 0);
}

TEST_F(FeedReader, LeavingDuringAStalledDownloadWaitsThenCleansUp)
{
    Page("/rss.xml", Rss2("Harbour news", {"Pier"}, 35.1));
    Page("/slow.xml", Rss2("Slow", {"Late"}, 35.1), 60000);
    Subscribe("/rss.xml", L"Harbour news");
    Subscribe("/slow.xml", L"Slow");
    Visit(false);
    ASSERT_TRUE(
        DispatchUntil([] { return theGlobal.m_downloadBusy != 0 && theGlobal.m_docRssPoi.CountUpdatedFeeds() == 1; }));
    const CString folder = theGlobal.m_rssTempFolder;
    main.Clear();
    const DWORD start = GetTickCount();
    Command(ID_TOP);
    ASSERT_TRUE(DispatchUntil([this] { return main.CountCommand(WM_COMMAND, ID_MAIN_MENU) == 1; }, 10000));
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_EQ(main.CountCommand(WM_COMMAND, ID_MENU_REFRESH), 1);
    EXPECT_EQ(theGlobal.m_rssUpdateBusy + theGlobal.m_downloadBusy + theGlobal.m_rssLoadBusy, 0);
    EXPECT_FALSE(PathIsDirectoryW(folder));
    EXPECT_EQ(titles().GetItemCount(), 0);
    EXPECT_EQ(doc().m_selectedFeed, RSS_SHOW_NOTHING);
    EXPECT_FALSE(view.m_browserShown);
    EXPECT_EQ(PageLoads().back().url, L"about:blank");
}

TEST_F(FeedReader, AViewDestroyedDuringTheUpdateNeitherHangsNorCrashes)
{
    Page("/rss.xml", Rss2("Harbour news", {"Pier"}, 35.1));
    Page("/slow.xml", Rss2("Slow", {"Late"}, 35.1), 60000);
    for (int i = 0; i < 5; ++i)
        Subscribe(i % 2 ? "/slow.xml" : "/rss.xml", L"f");
    for (int round = 0; round < 5; ++round) {
        Visit(false);
        DispatchUntil([] { return false; }, 50 + 97 * round % 400);
        const DWORD start = GetTickCount();
        view.DestroyWindow();
        EXPECT_LT(GetTickCount() - start, 5000u) << round;
        EXPECT_EQ(theGlobal.m_rssUpdateBusy, 0) << round;
        doc().ResetFeedFlags();
        theGlobal.m_rssCancel = theGlobal.m_downloadCancel = 0;
    }
}

}  // namespace

namespace {

TEST_F(FeedReader, AWorkerThatOutlivesTheViewFindsNoWindowAndKeepsItsFiles)
{
    Page("/rss.xml", Rss2("Harbour news", {"Pier"}, 35.1));
    Subscribe("/rss.xml", L"Harbour news");
    Subscribe("/rss.xml", L"Again");
    // The worker is held inside its first download, deaf to the cancel.
    std::atomic<bool> release{false};
    std::atomic<int> held{0};
    CDocRssPoi::SetDownloadStepHook([&](int step) {
        if (step == 2 && held++ == 0)
            while (!release)
                Sleep(10);
    });
    const DWORD savedWait = CPoiReaderWnd::s_workerWaitMs;
    CPoiReaderWnd::s_workerWaitMs = 300;
    Visit(false);
    ASSERT_TRUE(DispatchUntil([&] { return held.load() > 0; }, 5000));
    const CString folder = theGlobal.m_rssTempFolder;
    const DWORD start = GetTickCount();
    view.DestroyWindow();
    EXPECT_LT(GetTickCount() - start, 3000u);
    // The worker still runs: what it writes into stays.
    EXPECT_EQ(theGlobal.m_rssUpdateBusy, 1);
    EXPECT_TRUE(PathIsDirectoryW(folder));
    release = true;
    EXPECT_TRUE(DispatchUntil([] { return theGlobal.m_rssUpdateBusy == 0; }, 10000));
    CDocRssPoi::SetDownloadStepHook(nullptr);
    CPoiReaderWnd::s_workerWaitMs = savedWait;
    testsupport::RemoveTree(folder.GetString());
}

}  // namespace

namespace {

// A drag of a bar from its middle by (dx, dy), as the mouse does it.
void DragBar(CWnd& owner, const CRect& bar, int dx, int dy)
{
    const CPoint from = bar.CenterPoint();
    owner.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    owner.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from.x + dx, from.y + dy));
    owner.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(from.x + dx, from.y + dy));
}

}  // namespace

TEST_F(FeedReader, BothSplittersFollowTheMouseWithinTheirLimitsAndKeepTheirShare)
{
    CreateView();
    CRect c;
    view.GetClientRect(&c);
    // The reader's bar lies across: 40 pixels down moves the lists down.
    const int split = view.m_splitter.split;
    DragBar(view, view.m_splitter.bar, 0, 40);
    EXPECT_EQ(view.m_splitter.split, split + 40);
    EXPECT_EQ(view.m_splitter.bar.top, split + 40);
    EXPECT_FLOAT_EQ(theGlobal.m_rssSplit, static_cast<float>(split + 40) / static_cast<float>(c.Height()));
    CRect pane;
    view.m_pane.GetWindowRect(&pane);
    view.ScreenToClient(&pane);
    EXPECT_EQ(pane.top, split + 40 + view.m_splitter.Thickness() + 4);
    // Far up it stops at its top limit.
    DragBar(view, view.m_splitter.bar, 0, -2000);
    EXPECT_EQ(view.m_splitter.split, 23);

    // The pane's bar moves left and right (it starts at its right limit, the
    // item list's room); far left it stops at 200.
    CPoiRssListWnd& list = view.m_pane;
    CRect p;
    list.GetClientRect(&p);
    const int listSplit = list.m_splitter.split;
    DragBar(list, list.m_splitter.bar, -30, 0);
    EXPECT_EQ(list.m_splitter.split, listSplit - 30);
    EXPECT_EQ(list.m_splitter.bar.left, listSplit - 30);
    EXPECT_FLOAT_EQ(theGlobal.m_rssListSplit, static_cast<float>(listSplit - 30) / static_cast<float>(p.Width()));
    DragBar(list, list.m_splitter.bar, 2000, 0);
    EXPECT_EQ(list.m_splitter.split, listSplit);
    DragBar(list, list.m_splitter.bar, -2000, 0);
    EXPECT_EQ(list.m_splitter.split, 200);
    // A move without a drag moves nothing.
    list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(list.m_splitter.split, 200);
}
