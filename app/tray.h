// The tray icon, its menu and the commands that open and put away the graph window.
#pragma once
#include <windows.h>

int AddTrayIcon(HWND monitor);  // TRUE when the shell accepted the icon
void RemoveTrayIcon(HWND monitor);
int ShowTrayMenu(HWND monitor);
int OpenGraphWindow(HWND monitor);
int PutAwayGraphWindow(HWND monitor);
