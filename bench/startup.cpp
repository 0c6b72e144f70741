// Start-up benchmark: from process start until Mirovale's main window is
// shown, enabled and idle, against a bare program that opens one window and
// quits, both under the same Wine in the same run. Run it on a display
// (tools/bench-startup.sh gives it a private one). Prints the medians and their
// ratio, the processor time the program used up to then (less sensitive to a
// busy machine than the clock) and the idle main window's memory.
#include <windows.h>
#include <psapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"

namespace {

std::wstring ExeDir()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    PathRemoveFileSpecW(path);
    return std::wstring(path) + L"\\";
}

void CopyFolder(const std::wstring& from, const std::wstring& to)
{
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((from + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            CopyFileW((from + found.cFileName).c_str(), (to + found.cFileName).c_str(), FALSE);
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

struct Finder {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindMain(HWND hwnd, LPARAM lp)
{
    auto* f = reinterpret_cast<Finder*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t title[32] = {};
    GetWindowTextW(hwnd, title, 32);
    if (pid == f->pid && wcscmp(title, L"Mirovale") == 0 && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
        f->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

bool Launch(const std::wstring& exe, const std::wstring& folder, PROCESS_INFORMATION& pi)
{
    std::wstring line = L"\"" + exe + L"\"";
    STARTUPINFOW si{sizeof(si)};
    return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi) != FALSE;
}

// Milliseconds until the bare program has shown its window and ended.
double TimeBare(const std::wstring& exe)
{
    PROCESS_INFORMATION pi{};
    const auto start = Clock::now();
    if (!Launch(exe, ExeDir(), pi))
        return -1;
    WaitForSingleObject(pi.hProcess, 30000);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return ms;
}

// What the idle program had used: processor time and memory.
struct IdleFigures {
    double cpuMs = 0;
    double workingSetMb = 0;
    double privateMb = 0;
};

double FileTimeMs(const FILETIME& t)
{
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10000.0;
}

IdleFigures Measure(HANDLE process)
{
    IdleFigures f;
    FILETIME created, ended, kernel, user;
    if (GetProcessTimes(process, &created, &ended, &kernel, &user))
        f.cpuMs = FileTimeMs(kernel) + FileTimeMs(user);
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc)) {
        f.workingSetMb = pmc.WorkingSetSize / 1048576.0;
        // Wine leaves PrivateUsage at 0; the commit charge is in PagefileUsage.
        f.privateMb = (pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage) / 1048576.0;
    }
    return f;
}

// Milliseconds until the main window is shown and enabled and the program idle.
double TimeMirovale(const std::wstring& folder, IdleFigures* figures = nullptr)
{
    PROCESS_INFORMATION pi{};
    const auto start = Clock::now();
    if (!Launch(folder + L"Mirovale.exe", folder, pi))
        return -1;
    Finder f{pi.dwProcessId, nullptr};
    while (!f.found && WaitForSingleObject(pi.hProcess, 2) == WAIT_TIMEOUT)
        EnumWindows(FindMain, reinterpret_cast<LPARAM>(&f));
    double ms = -1;
    if (f.found) {
        WaitForInputIdle(pi.hProcess, 10000);
        ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (figures)
            *figures = Measure(pi.hProcess);
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return ms;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main()
{
    const std::wstring bin = ExeDir() + L"..\\bin\\";
    const std::wstring folder = TempPath(L"mirovale_bench_startup\\");
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* name : {L"Mirovale.exe", L"Runemark.dll", L"Mirovale.qpk"})
        CopyFileW((bin + name).c_str(), (folder + name).c_str(), FALSE);
    CopyFolder(bin + L"language\\", folder + L"language\\");
    CopyFolder(bin + L"navi\\", folder + L"navi\\");
    const char ini[] = "[File]\r\nLanguageFile=English_US.dat\r\nNaviFile=US_KV410.dat\r\n[Option]\r\nVerCheck=0\r\n";
    HANDLE h = CreateFileW((folder + L"Mirovale.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, ini, sizeof(ini) - 1, &written, nullptr);
    CloseHandle(h);

    const int runs = 7;
    std::vector<double> bare, program, cpu, workingSet, privateBytes;
    TimeBare(ExeDir() + L"bench_bare_window.exe");  // warm both up once
    TimeMirovale(folder);
    for (int i = 0; i < runs; ++i) {
        bare.push_back(TimeBare(ExeDir() + L"bench_bare_window.exe"));
        IdleFigures f;
        program.push_back(TimeMirovale(folder, &f));
        cpu.push_back(f.cpuMs);
        workingSet.push_back(f.workingSetMb);
        privateBytes.push_back(f.privateMb);
    }
    const double b = Median(bare), p = Median(program);
    printf("start-up, median of %d runs under the same Wine:\n", runs);
    printf("  bare Win32 window (open, paint, quit): %8.1f ms\n", b);
    printf("  Mirovale main window shown and idle:   %8.1f ms\n", p);
    printf("  ratio Mirovale / bare:                 %8.2f (aim: at most 2)\n", b > 0 ? p / b : 0.0);
    printf("  Mirovale processor time until idle:    %8.1f ms\n", Median(cpu));
    printf("  idle main window: working set %.1f MB, private bytes %.1f MB\n", Median(workingSet),
           Median(privateBytes));
    return p > 0 && b > 0 ? 0 : 1;
}
