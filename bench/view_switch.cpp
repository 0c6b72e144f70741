// View-switch benchmark: the main window in this process, switching from the
// start menu to an empty page and back, with the fade off and on. Run it on a
// display (tools/bench-startup.sh gives it a private one).
#include <windows.h>
#include <shlwapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "classlib/Afx.h"
#include "common/FileArchive.h"
#include "core/Global.h"
#include "frame/MainWnd.h"
#include "res/frame_ids.h"

namespace {

// Posts the view command as a button does and waits until the view shows.
void SwitchTo(HWND main, UINT command, int index)
{
    PostMessageW(main, WM_COMMAND, command, 0);
    while (theGlobal.m_viewKind != index)
        PumpMessages();
    PumpMessages();
}

}  // namespace

int main()
{
    BenchApp app(L"view switch bench");
    if (!OpenSkinPack())
        return 1;
    FillUiStrings(L"Page");
    theGlobal.m_modelType = 4;
    theGlobal.m_areaCode = 1;
    auto* main = new CMainWnd;
    if (!main->Create()) {
        printf("main window not created\n");
        return 1;
    }
    app.m_pMainWnd = main;
    main->ShowWindow(SW_SHOW);
    main->EnableWindow(TRUE);
    PumpMessages();
    const HWND hwnd = main->GetSafeHwnd();
    const int rounds = 20;
    for (int animation : {0, 1}) {
        theGlobal.m_animation = animation;
        double shown = 0;
        const auto all = Clock::now();
        for (int i = 0; i < rounds; ++i) {
            const auto start = Clock::now();
            SwitchTo(hwnd, ID_POI_FROM_CSV, 1);
            SwitchTo(hwnd, ID_MAIN_MENU, 0);
            shown += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            // Let a fade end before the next round, as a user's next click would.
            while (main->m_body.GetEffectWindow())
                PumpMessages(), Sleep(1);
        }
        const double total = std::chrono::duration<double, std::milli>(Clock::now() - all).count();
        printf("switch to a page and back, fade %s: %7.1f ms per round trip until shown", animation ? "on " : "off",
               shown / rounds);
        if (animation)
            printf(", %7.1f ms until the fade is over", total / rounds);
        printf("\n");
    }
    DestroyWindow(hwnd);
    return 0;
}
