// The graph window: a modal dialog with the live graph, its menu and status bar.
#pragma once
#include <windows.h>

INT_PTR CALLBACK GraphWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int InitGraphWindow(HWND window);
int PaintGraphWindow(HWND window);
int SelectMetric(HWND window, int metric);
// The status-bar text of the pointer read-out for client point (x, y).
void ComposeReadout(unsigned x, unsigned y, char* text, int* overGraph);
