// The graph window: a modal dialog with the live graph, its menu and status bar.
#pragma once
#include <windows.h>

INT_PTR CALLBACK GraphWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int InitGraphWindow(HWND window);
int PaintGraphWindow(HWND window);
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
