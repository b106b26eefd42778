// The baseline of the outside repaint figures: a window with the graph window's client size
// whose paint is one FillRect of GraphRect, in a process of its own like the real program.
// Arguments: the client area's left, top, width and height in screen pixels.
#include <windows.h>
#include <stdlib.h>

#include "graph/geometry.h"

namespace {
const char* const PlainClass = "vantle-bench-plain";

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT graph = GraphRect();
        FillRect(dc, &graph, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (__argc < 5) return 2;
    RECT frame = {atoi(__argv[1]), atoi(__argv[2]), 0, 0};
    frame.right = frame.left + atoi(__argv[3]);
    frame.bottom = frame.top + atoi(__argv[4]);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PlainWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // Erased white, as the graph window's background.
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = PlainClass;
    RegisterClassA(&wc);
    // Caption and border like the graph window's; on top, so that nothing covers its graph area.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_TOPMOST);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, PlainClass, "plain", style, frame.left, frame.top,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
