// The graph window: a modal dialog with the live graph, its menu and status bar.
#pragma once
#include <windows.h>

// Written by ui/graphwindow.cpp alone.
struct GraphWindowState {
    HWND Handle;
    // 1 while the window exists; the tray's put-away clears it through PutAwayGraphWindow.
    int Open;
};
extern GraphWindowState GraphWindow;

inline int GraphWindowOpen(void) { return GraphWindow.Open; }
inline HWND GraphWindowHandle(void) { return GraphWindow.Handle; }

// Opens the window modally, owned by the monitor window, which carries its data reset out; the
// call returns when the window ends. Nothing while it is open.
int OpenGraphWindow(HWND monitor);
// Ends the window, as its own "タスクトレイに入れる(&I)" does.
int PutAwayGraphWindow(void);
INT_PTR CALLBACK GraphWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int InitGraphWindow(HWND window);
int PaintGraphWindow(HWND window);
// Draws the plot and the frame over it into the context, and reports the bars that could not be
// drawn in boxes the window owns.
void PaintGraph(HWND window, HDC dc);
int SelectMetric(HWND window, int metric);
// Repaint requests of the slot clock and the data reset; each does nothing while the window is
// closed. Today's two one-pixel columns of the slot, without erasing (within a slot a bar only
// grows); today's bands in both panels, erased (every bar of today changes height with its
// maximum); the whole graph; the whole client area.
void RepaintLiveColumns(int slot);
void RepaintTodayBands(void);
void RepaintGraph(void);
void RepaintGraphWindow(void);
// The status-bar text of the pointer read-out for client point (x, y).
void ComposeReadout(unsigned x, unsigned y, wchar_t* text, int* overGraph);
