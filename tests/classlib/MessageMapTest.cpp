// Message maps: window messages, commands and command ranges, registered
// messages, notifications, and reflection back to the control that sent them.
#include <string>
#include <vector>

#include "GuiTestSupport.h"

namespace {

const UINT g_testRegistered = RegisterWindowMessageW(L"MIROVALE_TEST_REGISTERED");
constexpr UINT kEditId = 300;
constexpr UINT kNotifierId = 400;

class CLogParent : public CWnd {
public:
    BOOL CreateHidden()
    {
        return CreateEx(0, nullptr, L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr);
    }
    std::vector<std::string> log;

protected:
    void OnCmd100() { log.push_back("cmd100"); }
    void OnRange(UINT id) { log.push_back("range" + std::to_string(id)); }
    void OnEditChange() { log.push_back("parent:EN_CHANGE"); }
    void OnChildClick(NMHDR* nm, LRESULT* result)
    {
        log.push_back("parent:NM_CLICK");
        *result = 5;
    }
    void OnChildDblClk(NMHDR*, LRESULT*) { log.push_back("parent:NM_DBLCLK"); }
    LRESULT OnRegistered(WPARAM wp, LPARAM) { log.push_back("registered" + std::to_string(wp)); return 77; }
    LRESULT OnApp1(WPARAM, LPARAM lp) { log.push_back("app1"); return lp * 2; }
    void OnLButtonDown(UINT flags, CPoint pt) { log.push_back("lbuttondown " + std::to_string(pt.x) + "," + std::to_string(pt.y)); }
    void OnSize(UINT, int cx, int cy) { lastSize = CSize(cx, cy); }

public:
    CSize lastSize;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLogParent, CWnd)
    ON_COMMAND(100, OnCmd100)
    ON_COMMAND_RANGE(200, 205, OnRange)
    ON_CONTROL(EN_CHANGE, kEditId, OnEditChange)
    ON_NOTIFY(NM_CLICK, kNotifierId, OnChildClick)
    ON_NOTIFY(NM_DBLCLK, kNotifierId, OnChildDblClk)
    ON_REGISTERED_MESSAGE(g_testRegistered, OnRegistered)
    ON_MESSAGE(WM_APP + 1, OnApp1)
    ON_WM_LBUTTONDOWN()
    ON_WM_SIZE()
END_MESSAGE_MAP()

// A derived class's entry wins over its base's; the rest of the base map stays.
class CDerivedParent : public CLogParent {
protected:
    void OnCmd100Derived() { log.push_back("derived100"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedParent, CLogParent)
    ON_COMMAND(100, OnCmd100Derived)
END_MESSAGE_MAP()

// Takes its own EN_CHANGE; the parent does not see it.
class CReflectEdit : public CEdit {
public:
    std::vector<std::string>* log = nullptr;

protected:
    void OnReflectChange() { log->push_back("child:EN_CHANGE"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectEdit, CEdit)
    ON_CONTROL_REFLECT(EN_CHANGE, OnReflectChange)
END_MESSAGE_MAP()

// Sees its EN_CHANGE first and lets the parent have it too.
class CReflectExEdit : public CEdit {
public:
    std::vector<std::string>* log = nullptr;

protected:
    BOOL OnReflectChange()
    {
        log->push_back("child:EN_CHANGE");
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectExEdit, CEdit)
    ON_CONTROL_REFLECT_EX(EN_CHANGE, OnReflectChange)
END_MESSAGE_MAP()

// An edit control of that kind on a logging parent, its text changed: what
// the parent's log then holds.
template <class Edit>
std::vector<std::string> LogOfAnEdit()
{
    CLogParent parent;
    if (!parent.CreateHidden())
        return {"<no parent>"};
    Edit edit;
    if constexpr (requires { edit.log; })
        edit.log = &parent.log;
    if (!edit.Create(WS_VISIBLE, CRect(0, 0, 100, 20), &parent, kEditId))
        return {"<no edit>"};
    edit.SetWindowText(L"typed");
    return parent.log;
}

// A control that notifies its parent like the common controls do.
class CNotifier : public CWnd {
public:
    std::vector<std::string>* log = nullptr;
    BOOL keepClick = FALSE;
    LRESULT Notify(UINT code)
    {
        NMHDR nm{m_hWnd, kNotifierId, code};
        return ::SendMessageW(::GetParent(m_hWnd), WM_NOTIFY, kNotifierId, reinterpret_cast<LPARAM>(&nm));
    }

protected:
    BOOL OnClick(NMHDR*, LRESULT* result)
    {
        log->push_back("child:NM_CLICK");
        *result = 9;
        return keepClick;
    }
    void OnDblClk(NMHDR*, LRESULT*) { log->push_back("child:NM_DBLCLK"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNotifier, CWnd)
    ON_NOTIFY_REFLECT_EX(NM_CLICK, OnClick)
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
END_MESSAGE_MAP()

// Drops 'x' and lets every other character through to the edit's own handling.
class CFilterEdit : public CEdit {
protected:
    void OnChar(UINT ch, UINT, UINT)
    {
        if (ch != 'x')
            Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFilterEdit, CEdit)
    ON_WM_CHAR()
END_MESSAGE_MAP()

using MessageMap = GuiTest;

TEST_F(MessageMap, CommandsRangesAndMessagesReachTheirHandlers)
{
    CLogParent parent;
    ASSERT_TRUE(parent.CreateHidden());
    parent.SendMessage(WM_COMMAND, 100);
    parent.SendMessage(WM_COMMAND, 203);
    parent.SendMessage(WM_COMMAND, 206);  // outside the range: nobody
    EXPECT_EQ(parent.SendMessage(g_testRegistered, 4), 77);
    EXPECT_EQ(parent.SendMessage(WM_APP + 1, 0, 21), 42);
    parent.MoveWindow(0, 0, 250, 150);
    CRect client;
    parent.GetClientRect(&client);
    EXPECT_EQ(parent.lastSize, client.Size());
    EXPECT_EQ(parent.log, (std::vector<std::string>{"cmd100", "range203", "registered4", "app1"}));
}

TEST_F(MessageMap, PostedMouseMessageArrivesUnpacked)
{
    CLogParent parent;
    ASSERT_TRUE(parent.CreateHidden());
    parent.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(17, 23));
    ASSERT_TRUE(PumpUntil([&] { return !parent.log.empty(); }));
    EXPECT_EQ(parent.log[0], "lbuttondown 17,23");
}

TEST_F(MessageMap, DerivedEntryOverridesBaseAndBaseEntriesRemain)
{
    CDerivedParent parent;
    ASSERT_TRUE(parent.CreateHidden());
    parent.SendMessage(WM_COMMAND, 100);
    parent.SendMessage(WM_COMMAND, 201);
    EXPECT_EQ(parent.log, (std::vector<std::string>{"derived100", "range201"}));
}

TEST_F(MessageMap, ControlNotificationWithoutReflectionReachesParent)
{
    EXPECT_EQ(LogOfAnEdit<CEdit>(), (std::vector<std::string>{"parent:EN_CHANGE"}));
}

TEST_F(MessageMap, ReflectedCommandStaysWithTheControl)
{
    EXPECT_EQ(LogOfAnEdit<CReflectEdit>(), (std::vector<std::string>{"child:EN_CHANGE"}));
}

TEST_F(MessageMap, ReflectedCommandExReachesParentAfterTheControl)
{
    EXPECT_EQ(LogOfAnEdit<CReflectExEdit>(), (std::vector<std::string>{"child:EN_CHANGE", "parent:EN_CHANGE"}));
}

TEST_F(MessageMap, ReflectedNotifyWithAndWithoutTheParent)
{
    struct Case {
        UINT code;
        BOOL keep;
        std::vector<std::string> log;
        LRESULT result;
    };
    const Case cases[] = {
        {static_cast<UINT>(NM_CLICK), FALSE, {"child:NM_CLICK", "parent:NM_CLICK"}, 5},
        {static_cast<UINT>(NM_CLICK), TRUE, {"child:NM_CLICK"}, 9},
        {static_cast<UINT>(NM_DBLCLK), FALSE, {"child:NM_DBLCLK"}, 0},
    };
    for (const Case& c : cases) {
        CLogParent parent;
        ASSERT_TRUE(parent.CreateHidden());
        CNotifier child;
        child.log = &parent.log;
        child.keepClick = c.keep;
        ASSERT_TRUE(child.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 10, 10), &parent, kNotifierId));
        EXPECT_EQ(child.Notify(c.code), c.result);
        EXPECT_EQ(parent.log, c.log) << "code " << static_cast<int>(c.code) << " keep " << c.keep;
    }
}

TEST_F(MessageMap, DefaultRunsTheControlsOwnHandling)
{
    CLogParent parent;
    ASSERT_TRUE(parent.CreateHidden());
    CFilterEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE, CRect(0, 0, 100, 20), &parent, kEditId));
    for (wchar_t ch : std::wstring(L"axb"))
        edit.PostMessage(WM_CHAR, ch, 1);
    PumpPending();
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ(text, L"ab");
}

}  // namespace
