// The yardstick of the start-up benchmark: a bare Win32 program that opens
// one window, lets it paint, and quits.
#include <windows.h>

int main()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = L"BareWindow";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowW(wc.lpszClassName, L"bare", WS_OVERLAPPEDWINDOW, 100, 100, 1024, 768, nullptr, nullptr,
                              wc.hInstance, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    DestroyWindow(hwnd);
    return 0;
}
