#include "DialogDriver.h"

#include <string>

#include "TestFiles.h"
#include "classlib/CCmdUI.h"
#include "core/Global.h"
#include "core/LanguageFile.h"

namespace dlgtest {

namespace {

struct Pending {
    const std::function<void(CDialog&)>* script = nullptr;
    INT_PTR baseline = 0;
    DWORD giveUpMs = 0;
    bool running = false;
    bool done = false;
};
Pending* g_pending = nullptr;

void CALLBACK OnTick(HWND, UINT, UINT_PTR id, DWORD)
{
    Pending* p = g_pending;
    if (!p || p->running || p->done)
        return;
    CPtrArray& stack = theGlobal.m_dialogStack;
    if (stack.GetSize() <= p->baseline)
        return;
    auto* dlg = static_cast<CDialog*>(stack[stack.GetSize() - 1]);
    p->running = true;
    ::KillTimer(nullptr, id);
    skintest::Settle(dlg->m_hWnd);
    (*p->script)(*dlg);
    if (!Ended(*dlg) && !WaitEnded(*dlg, p->giveUpMs))
        dlg->EndDialog(-2);
    p->done = true;
}

void SendKey(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &in, sizeof in);
}

}  // namespace

INT_PTR RunModal(const std::function<INT_PTR()>& run, const std::function<void(CCustomDialog&)>& script,
                 DWORD giveUpMs)
{
    // Every dialog the skinned scripts meet is a skinned one.
    return RunModalPlain(run, [&](CDialog& dlg) { script(static_cast<CCustomDialog&>(dlg)); }, giveUpMs);
}

INT_PTR RunModalPlain(const std::function<INT_PTR()>& run, const std::function<void(CDialog&)>& script,
                      DWORD giveUpMs)
{
    Pending p;
    p.script = &script;
    p.baseline = theGlobal.m_dialogStack.GetSize();
    p.giveUpMs = giveUpMs;
    g_pending = &p;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &OnTick);
    const INT_PTR result = run();
    ::KillTimer(nullptr, timer);
    g_pending = nullptr;
    return result;
}

bool Ended(CDialog& dlg)
{
    return !dlg.m_hWnd || !dlg.ContinueModal();
}

bool WaitEnded(CDialog& dlg, DWORD ms)
{
    return PumpUntil([&] { return Ended(dlg); }, ms);
}

void PressKey(WORD vk)
{
    SendKey(vk, false);
    SendKey(vk, true);
    // Let the keys arrive before the caller looks.
    PumpUntil([] { return false; }, 150);
}

void RealClick(HWND hwnd, int x, int y, bool right)
{
    POINT p{x, y};
    ::ClientToScreen(hwnd, &p);
    ::SetCursorPos(p.x, p.y);
    PumpUntil([] { return false; }, 60);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    ::SendInput(2, in, sizeof(INPUT));
    PumpUntil([] { return false; }, 150);
}

void ClickChild(HWND child)
{
    RECT r{};
    ::GetClientRect(child, &r);
    RealClick(child, r.right / 2, r.bottom / 2);
}

bool LoadShippedStrings()
{
    CStringArray lines;
    const std::wstring path = testsupport::ExeDir() + L"..\\bin\\language\\English_US.dat";
    if (!ParseLanguageFile(path.c_str(), lines))
        return false;
    theGlobal.m_uiStrings.RemoveAll();
    theGlobal.m_uiStrings.Append(lines);
    return true;
}

bool SaveShot(HWND hwnd, const wchar_t* name)
{
    skintest::Settle(hwnd);
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return skintest::Pixels(r).SavePng(name);
}

void SelectRows(CCustomListCtrl& list, std::initializer_list<int> rows)
{
    list.SetCurSel(-1);
    bool first = true;
    for (int row : rows) {
        list.SetItemState(row, first ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED, LVIS_SELECTED | LVIS_FOCUSED);
        first = false;
    }
    list.SetFocus();
}

bool CommandEnabled(CCmdTarget& target, UINT id)
{
    CCmdUIProbe probe;
    probe.m_nID = id;
    probe.DoUpdate(&target, TRUE);
    return probe.m_enabled != FALSE;
}

void DialogTest::SetUp()
{
    skintest::SkinGuiTest::SetUp();
    ASSERT_TRUE(LoadShippedStrings());
    theGlobal.m_dialogStack.RemoveAll();
    theGlobal.m_animation = 0;
    theGlobal.m_transparentDlg = 0;
}

void DialogTest::TearDown()
{
    theGlobal.m_dialogStack.RemoveAll();
    skintest::SkinGuiTest::TearDown();
}

}  // namespace dlgtest
