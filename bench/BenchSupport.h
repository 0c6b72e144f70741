#pragma once
// What every benchmark program shares: clocks, the memory figures it prints,
// its application object, a message pump and the place of its scratch files.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "classlib/Afx.h"
#include "common/FileArchive.h"
#include "core/Global.h"
#include "core/LanguageFile.h"

using Clock = std::chrono::steady_clock;

inline double Millis(Clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

inline double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Seconds on the performance counter; only differences mean anything.
inline double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

inline PROCESS_MEMORY_COUNTERS MemoryCounters()
{
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc;
}

// Peak private bytes in MB.
inline double PeakMegabytes()
{
    return MemoryCounters().PeakPagefileUsage / 1048576.0;
}

inline double PeakWorkingSetMegabytes()
{
    return static_cast<double>(MemoryCounters().PeakWorkingSetSize) / (1024.0 * 1024.0);
}

inline void PrintPeakMemory()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        printf("peak working set %.1f MB, peak private bytes %.1f MB\n", counters.PeakWorkingSetSize / 1048576.0,
               counters.PeakPagefileUsage / 1048576.0);
}

inline void PrintMemory(const char* when)
{
    const PROCESS_MEMORY_COUNTERS pmc = MemoryCounters();
    std::printf("  peak memory %s: working set %lu KiB, committed %lu KiB\n", when,
                static_cast<unsigned long>(pmc.PeakWorkingSetSize / 1024),
                static_cast<unsigned long>(pmc.PeakPagefileUsage / 1024));
}

class BenchApp : public CWinApp {
public:
    explicit BenchApp(const wchar_t* name) : CWinApp(name) {}
};

// Every waiting message, with the windows' own translation first, as the
// program's loop handles them.
inline void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        if (!CWnd::WalkPreTranslateTree(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

// Handles messages for ms milliseconds, sleeping while none are waiting.
inline void PumpFor(DWORD ms)
{
    const DWORD start = GetTickCount();
    do {
        PumpMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

// The user's temporary folder followed by name.
inline std::wstring TempPath(const wchar_t* name)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name;
}

// The program's skin pack, built beside the benchmarks in ..\bin; says so when
// it is not there.
inline bool OpenSkinPack()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring pack(path);
    pack = pack.substr(0, pack.find_last_of(L'\\') + 1) + L"..\\bin\\Mirovale.qpk";
    if (!theFileArchive.Open(pack.c_str())) {
        printf("no skin pack at %ls\n", pack.c_str());
        return false;
    }
    return true;
}

// UI strings 0 to 430 of the form format ("Text %d" gives "Text 0", ...).
inline void FillUiStrings(const wchar_t* format)
{
    for (int i = 0; i < kUiStringCount; ++i) {
        CString s;
        s.Format(format, i);
        theGlobal.m_uiStrings.Add(s);
    }
}
