// The tray icon, its menu and the commands that open and put away the graph window.
#pragma once
#include <windows.h>

int AddTrayIcon(HWND monitor);  // TRUE when the shell accepted the icon (or already had it)
// Adds the icon, waiting before every attempt for a shell that is not up yet (a start at logon).
void WaitForTrayIcon(HWND monitor);
void RemoveTrayIcon(HWND monitor);
int ShowTrayMenu(HWND monitor);
int OpenGraphWindow(HWND monitor);
int PutAwayGraphWindow(HWND monitor);
