#include "ProgramRun.h"

#include "SkinTestFixture.h"

#include <shlwapi.h>

#include <algorithm>

#include "res/dialog_ids.h"

using testsupport::ExeDir;

const wchar_t kReadyIni[] =
    L"[File]\nLanguageFile=English_US.dat\nNaviFile=US_KV410.dat\n[Option]\nVerCheck=0\nAnimation=0\n";

namespace {

void CopyTree(const std::wstring& from, const std::wstring& to)
{
    ::CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW((from + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ::CopyFileW((from + found.cFileName).c_str(), (to + found.cFileName).c_str(), FALSE);
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
}

struct FindContext {
    DWORD pid;
    const wchar_t* className;
    std::vector<HWND>* out;
};

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM lp)
{
    auto* c = reinterpret_cast<FindContext*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[128] = {};
    ::GetClassNameW(hwnd, cls, 128);
    if (pid == c->pid && (!c->className || wcscmp(cls, c->className) == 0))
        c->out->push_back(hwnd);
    return TRUE;
}

}  // namespace

namespace {

const wchar_t* const kPageHandlers[2] = {L"http\\shell\\open\\command", L"https\\shell\\open\\command"};

std::wstring ReadHandler(const wchar_t* key)
{
    wchar_t value[1024] = {};
    LONG size = sizeof value;
    return ::RegQueryValueW(HKEY_CLASSES_ROOT, key, value, &size) == ERROR_SUCCESS ? value : L"";
}

void WriteHandler(const wchar_t* key, const std::wstring& command)
{
    ::RegSetValueW(HKEY_CLASSES_ROOT, key, REG_SZ, command.c_str(), static_cast<DWORD>(command.size() * sizeof(wchar_t)));
}

}  // namespace

ProgramRun::ProgramRun(bool copyLanguage, bool copyNavi)
{
    const std::wstring recorder = L"\"" + ExeDir() + L"page_recorder.exe\" \"" + m_dir.File(L"pages.txt") + L"\" \"%1\"";
    for (int i = 0; i < 2; ++i) {
        m_savedHandlers[i] = ReadHandler(kPageHandlers[i]);
        WriteHandler(kPageHandlers[i], recorder);
    }
    const std::wstring bin = ExeDir() + L"..\\bin\\";
    for (const wchar_t* name : {L"Mirovale.exe", L"Runemark.dll", L"Mirovale.qpk"})
        ::CopyFileW((bin + name).c_str(), m_dir.File(name).c_str(), FALSE);
    if (copyLanguage)
        CopyTree(bin + L"language\\", m_dir.File(L"language\\"));
    if (copyNavi)
        CopyTree(bin + L"navi\\", m_dir.File(L"navi\\"));
}

ProgramRun::~ProgramRun()
{
    for (int i = 0; i < 2; ++i)
        if (!m_savedHandlers[i].empty())
            WriteHandler(kPageHandlers[i], m_savedHandlers[i]);
    if (m_process.hProcess) {
        if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
            for (HWND box : TopWindows(L"#32770"))
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            for (HWND top : TopWindows())
                ::PostMessageW(top, WM_CLOSE, 0, 0);
            if (::WaitForSingleObject(m_process.hProcess, 5000) == WAIT_TIMEOUT)
                ::TerminateProcess(m_process.hProcess, 99);
            ::WaitForSingleObject(m_process.hProcess, 5000);
        }
        ::CloseHandle(m_process.hProcess);
        ::CloseHandle(m_process.hThread);
    }
}

void ProgramRun::WriteIni(const std::wstring& text)
{
    std::wstring crlf;
    for (wchar_t c : text) {
        if (c == L'\n')
            crlf += L'\r';
        crlf += c;
    }
    testsupport::WriteBytes(IniPath(), testsupport::Utf8(crlf));
}

std::string ProgramRun::OpenedPages(size_t atLeast) const
{
    const std::wstring file = m_dir.File(L"pages.txt");
    std::string text;
    // Each page's recorder runs apart from the program: give them time to write.
    for (int i = 0; i < 60; ++i) {
        if (testsupport::FileExists(file)) {
            const testsupport::Bytes bytes = testsupport::ReadBytes(file);
            text.assign(bytes.begin(), bytes.end());
            if (static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) >= atLeast)
                break;
        }
        ::Sleep(50);
    }
    return text;
}

std::wstring ProgramRun::ReadIni(const wchar_t* section, const wchar_t* key) const
{
    wchar_t value[512] = {};
    ::GetPrivateProfileStringW(section, key, L"<none>", value, 512, IniPath().c_str());
    return value;
}

bool ProgramRun::Start(const std::wstring& arguments)
{
    std::wstring line = L"\"" + m_dir.File(L"Mirovale.exe") + L"\"";
    if (!arguments.empty())
        line += L" " + arguments;
    STARTUPINFOW si{sizeof(si)};
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(0);
    return ::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, m_dir.Path().c_str(), &si,
                            &m_process) != FALSE;
}

HWND ProgramRun::StartWith(const std::wstring& ini)
{
    WriteIni(ini);
    if (!Start())
        return nullptr;
    HWND main = WaitMainWindow();
    if (main)
        ::SetForegroundWindow(main);
    return main;
}

std::vector<HWND> ProgramRun::TopWindows(const wchar_t* className) const
{
    std::vector<HWND> out;
    FindContext c{m_process.dwProcessId, className, &out};
    ::EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&c));
    return out;
}

HWND ProgramRun::WaitMainWindow(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    do {
        for (HWND top : TopWindows()) {
            wchar_t title[64] = {};
            ::GetWindowTextW(top, title, 64);
            if ((wcscmp(title, L"Mirovale") == 0 || wcscmp(title, L"Seravine") == 0) && ::IsWindowVisible(top) &&
                ::IsWindowEnabled(top))
                return top;
        }
        if (::WaitForSingleObject(m_process.hProcess, 0) != WAIT_TIMEOUT)
            return nullptr;
        PumpFor(50);
    } while (::GetTickCount() - start < ms);
    return nullptr;
}

HWND ProgramRun::WaitMessageBox(DWORD ms, std::wstring* text, std::wstring* caption)
{
    const DWORD start = ::GetTickCount();
    do {
        for (HWND box : TopWindows(L"#32770")) {
            if (!::IsWindowVisible(box))
                continue;
            wchar_t buffer[512] = {};
            if (caption) {
                ::GetWindowTextW(box, buffer, 512);
                *caption = buffer;
            }
            if (text) {
                text->clear();
                for (HWND child : ChildWindows(box)) {
                    wchar_t cls[32] = {};
                    ::GetClassNameW(child, cls, 32);
                    if (_wcsicmp(cls, L"Static") == 0 && ::GetWindowTextW(child, buffer, 512) > 0)
                        *text += buffer;
                }
            }
            return box;
        }
        if (::WaitForSingleObject(m_process.hProcess, 0) != WAIT_TIMEOUT)
            return nullptr;
        PumpFor(50);
    } while (::GetTickCount() - start < ms);
    return nullptr;
}

DWORD ProgramRun::Quit(HWND main, DWORD ms)
{
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    const DWORD start = ::GetTickCount();
    while (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT && ::GetTickCount() - start < ms) {
        // The quit question: Enter means Yes there.
        for (HWND box : TopWindows(L"#32770"))
            if (::IsWindowVisible(box))
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        PumpFor(100);
    }
    return WaitExit(0);
}

DWORD ProgramRun::WaitExit(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    while (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
        if (::GetTickCount() - start >= ms)
            return STILL_ACTIVE;
        PumpFor(50);
    }
    DWORD code = 0;
    ::GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

std::vector<HWND> ChildWindows(HWND parent)
{
    std::vector<HWND> out;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        out.push_back(child);
    return out;
}

namespace {
BOOL CALLBACK FindByText(HWND hwnd, LPARAM lp)
{
    auto* c = reinterpret_cast<std::pair<const wchar_t*, HWND>*>(lp);
    wchar_t text[64] = {};
    ::GetWindowTextW(hwnd, text, 64);
    if (wcscmp(text, c->first) == 0) {
        c->second = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND FindDescendant(HWND top, const wchar_t* text)
{
    std::pair<const wchar_t*, HWND> c{text, nullptr};
    ::EnumChildWindows(top, FindByText, reinterpret_cast<LPARAM>(&c));
    return c.second;
}

std::wstring ShownPage(HWND main)
{
    HWND menu = FindDescendant(main, L"MainMenu");
    if (!menu)
        return L"";
    std::wstring shown;
    for (HWND view : ChildWindows(::GetParent(menu)))
        if (::IsWindowVisible(view)) {
            wchar_t text[64] = {};
            ::GetWindowTextW(view, text, 64);
            if (!shown.empty())
                return L"<several>";
            shown = text;
        }
    return shown;
}

void RealClick(HWND window)
{
    RECT r;
    ::GetWindowRect(window, &r);
    ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PumpFor(100);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input[0], sizeof(INPUT));
    PumpFor(100);
    ::SendInput(1, &input[1], sizeof(INPUT));
    PumpFor(200);
}

void RealClickAt(int x, int y, bool twice)
{
    ::SetCursorPos(x, y);
    PumpFor(100);
    for (int i = 0; i < (twice ? 2 : 1); ++i) {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        ::SendInput(2, input, sizeof(INPUT));
        PumpFor(twice ? 30 : 200);
    }
    PumpFor(200);
}

void TypeText(const std::wstring& text)
{
    for (wchar_t c : text) {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wScan = input[1].ki.wScan = c;
        input[0].ki.dwFlags = KEYEVENTF_UNICODE;
        input[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        ::SendInput(2, input, sizeof(INPUT));
        PumpFor(15);
    }
    PumpFor(200);
}

void PressKey(WORD key, bool ctrl, bool shift)
{
    std::vector<INPUT> inputs;
    auto add = [&inputs](WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    if (ctrl)
        add(VK_CONTROL, false);
    if (shift)
        add(VK_SHIFT, false);
    add(key, false);
    add(key, true);
    if (shift)
        add(VK_SHIFT, true);
    if (ctrl)
        add(VK_CONTROL, true);
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    PumpFor(250);
}

bool HasControl(HWND dialog, int id)
{
    struct Find {
        int id;
        bool found;
    } find{id, false};
    ::EnumChildWindows(
        dialog,
        [](HWND child, LPARAM lp) WINAPI -> BOOL {
            auto* f = reinterpret_cast<Find*>(lp);
            f->found = f->found || ::GetDlgCtrlID(child) == f->id;
            return !f->found;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.found;
}

HWND WaitDialog(ProgramRun& run, int control, DWORD ms)
{
    const DWORD start = ::GetTickCount();
    do {
        for (HWND box : run.TopWindows(L"#32770"))
            if (::IsWindowVisible(box) && HasControl(box, control))
                return box;
        PumpFor(50);
    } while (::GetTickCount() - start < ms);
    return nullptr;
}

void PumpFor(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (::GetTickCount() - start < ms);
}

bool WaitFor(bool (*done)(void*), void* context, DWORD ms)
{
    const DWORD start = ::GetTickCount();
    while (!done(context)) {
        if (::GetTickCount() - start >= ms)
            return false;
        PumpFor(30);
    }
    return true;
}

bool WaitPage(HWND main, const wchar_t* page, DWORD ms)
{
    const DWORD start = ::GetTickCount();
    while (ShownPage(main) != page) {
        if (::GetTickCount() - start > ms)
            return false;
        PumpFor(50);
    }
    PumpFor(300);
    return true;
}

bool WaitGone(HWND window, DWORD ms)
{
    const DWORD start = ::GetTickCount();
    while (::IsWindow(window) && ::IsWindowVisible(window)) {
        if (::GetTickCount() - start > ms)
            return false;
        PumpFor(50);
    }
    return true;
}

HWND Shown(HWND parent, int id)
{
    for (HWND child : ChildWindows(parent))
        if (::GetDlgCtrlID(child) == id && ::IsWindowVisible(child))
            return child;
    return nullptr;
}

HWND FindById(HWND top, int id)
{
    for (HWND child : ChildWindows(top)) {
        if (::GetDlgCtrlID(child) == id && ::IsWindowVisible(child))
            return child;
        if (HWND found = FindById(child, id))
            return found;
    }
    return nullptr;
}

void Shot(HWND window, const wchar_t* name)
{
    PumpFor(400);
    skintest::Pixels(window).SavePng(name);
}

HWND PaneControl(HWND main, int id)
{
    for (HWND pane : ChildWindows(main))
        if (HWND c = ::GetDlgItem(pane, id))
            return c;
    return nullptr;
}

HWND WaitFileDialog(ProgramRun& run)
{
    const DWORD start = ::GetTickCount();
    do {
        for (HWND box : run.TopWindows(L"#32770"))
            if (::IsWindowVisible(box) && (HasControl(box, 1148) || HasControl(box, 1152)))
                return box;
        PumpFor(50);
    } while (::GetTickCount() - start < 15000);
    return nullptr;
}

void PickComboItem(HWND combo, int steps)
{
    RealClick(combo);
    for (int i = 0; i < steps; ++i)
        PressKey(VK_DOWN);
    PressKey(VK_RETURN);
}

void OpenTask(HWND menu, int category, int task)
{
    RealClick(::GetDlgItem(menu, category));
    HWND button = ::GetDlgItem(menu, task);
    const DWORD start = ::GetTickCount();
    while (!(button && ::IsWindowVisible(button)) && ::GetTickCount() - start < 10000) {
        PumpFor(50);
        button = ::GetDlgItem(menu, task);
    }
    PumpFor(500);
    RealClick(button);
}

HWND OpenFromStartMenu(HWND main, int category, int task, const wchar_t* page)
{
    HWND menu = FindDescendant(main, L"MainMenu");
    if (!menu)
        return nullptr;
    OpenTask(menu, category, task);
    return WaitPage(main, page) ? FindDescendant(main, page) : nullptr;
}

HWND PickCard(ProgramRun& run, int control)
{
    HWND chooser = WaitDialog(run, control);
    if (!chooser)
        return nullptr;
    // The card is the list's first row.
    RECT r;
    ::GetWindowRect(chooser, &r);
    RealClickAt(r.left + 60, r.top + 88);
    return chooser;
}

void NameOnCard(HWND chooser, const wchar_t* name)
{
    RealClick(Shown(chooser, IDC_REMOVABLE_NAME));
    PressKey(VK_HOME);
    PressKey(VK_END, false, true);
    TypeText(name);
}
