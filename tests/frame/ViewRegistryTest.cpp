// The refresh registry: views leave it when their windows go, and a refresh
// never reaches a view that an earlier refresh destroyed.
#include "GuiTestSupport.h"
#include "core/Global.h"
#include "frame/ViewWnd.h"

#include <memory>
#include <vector>

namespace {

std::vector<int> g_calls;

class CSpyView : public CViewWnd {
public:
    explicit CSpyView(int id) : m_id(id) {}
    CViewWnd* m_destroyOnUpdate = nullptr;
    bool m_deleteOnUpdate = false;

protected:
    void OnUpdate()
    {
        g_calls.push_back(m_id);
        if (m_destroyOnUpdate)
            m_destroyOnUpdate->DestroyWindow();
    }
    DECLARE_MESSAGE_MAP()
    int m_id;
};

BEGIN_MESSAGE_MAP(CSpyView, CViewWnd)
    ON_COMMAND(ID_UPDATE, OnUpdate)
END_MESSAGE_MAP()

class ViewRegistry : public GuiTest {
protected:
    void SetUp() override
    {
        theGlobal.m_views.RemoveAll();
        g_calls.clear();
    }
    void TearDown() override
    {
        views.clear();
        theGlobal.m_views.RemoveAll();
        GuiTest::TearDown();
    }
    CSpyView* Make(int id)
    {
        auto v = std::make_unique<CSpyView>(id);
        EXPECT_TRUE(v->CreateEx(0, nullptr, L"spy", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        v->RegisterForUpdates();
        views.push_back(std::move(v));
        return views.back().get();
    }
    // The registry as it stands, in its order.
    static std::vector<CWnd*> Registered()
    {
        std::vector<CWnd*> all;
        for (INT_PTR i = 0; i < theGlobal.m_views.GetSize(); ++i)
            all.push_back(theGlobal.m_views[i]);
        return all;
    }
    std::vector<std::unique_ptr<CSpyView>> views;
};

TEST_F(ViewRegistry, RefreshReachesViewsInRegistrationOrder)
{
    Make(1);
    Make(2);
    Make(3);
    theGlobal.UpdateAllViews();
    EXPECT_EQ(g_calls, (std::vector<int>{1, 2, 3}));
}

TEST_F(ViewRegistry, ADestroyedViewLeavesTheRegistry)
{
    CSpyView* one = Make(1);
    CSpyView* two = Make(2);
    CSpyView* three = Make(3);
    two->DestroyWindow();
    EXPECT_EQ(Registered(), (std::vector<CWnd*>{one, three}));
    theGlobal.UpdateAllViews();
    EXPECT_EQ(g_calls, (std::vector<int>{1, 3}));
}

TEST_F(ViewRegistry, ADeletedViewIsNeverCalled)
{
    Make(1);
    CSpyView* two = Make(2);
    views.erase(views.begin());  // object and window gone
    EXPECT_EQ(Registered(), (std::vector<CWnd*>{two}));
    theGlobal.UpdateAllViews();
    EXPECT_EQ(g_calls, (std::vector<int>{2}));
}

TEST_F(ViewRegistry, AViewDestroyedDuringTheRefreshIsNotCalledAfterwards)
{
    CSpyView* one = Make(1);
    CSpyView* two = Make(2);
    Make(3);
    one->m_destroyOnUpdate = two;
    theGlobal.UpdateAllViews();
    EXPECT_EQ(g_calls, (std::vector<int>{1, 3}));
}

TEST_F(ViewRegistry, RegisteringAgainKeepsOneEntry)
{
    CSpyView* one = Make(1);
    one->RegisterForUpdates();
    EXPECT_EQ(Registered(), (std::vector<CWnd*>{one}));
    theGlobal.UpdateAllViews();
    EXPECT_EQ(g_calls, (std::vector<int>{1}));
}

}  // namespace
