// The baseline of the idle figure: a hidden window with the program's 200 ms timer whose tick does
// nothing, so what the idle program does beyond waking for its clock shows as the ratio.
#include <windows.h>

namespace {
const char* const IdleClass = "vantle-bench-idle";
enum : UINT_PTR { IdleTimerId = 1 };
enum : UINT { IdleTickMs = 200 };

LRESULT CALLBACK IdleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER) return 0;
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = IdleWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = IdleClass;
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, IdleClass, "idle", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  instance, nullptr);
    if (!window || !SetTimer(window, IdleTimerId, IdleTickMs, nullptr)) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
