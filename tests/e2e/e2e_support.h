// Support for end-to-end tests: the real program in a folder of its own, driven as Windows would.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

#include "support/testwin.h"

struct RunningProgram {
    PROCESS_INFORMATION process = {};
    HWND monitor = nullptr;
    std::string folder;  // with a trailing backslash
};

// A fresh folder holding vantle.exe and its two libraries, named below the test program's folder.
std::string MakeProgramFolder(const std::string& name);
// Starts vantle.exe from the folder and finds its monitor window; false when either fails.
bool StartProgram(RunningProgram* program, const std::string& folder);
// Only starts the process, looking for no window (a second copy makes none).
bool LaunchProgram(RunningProgram* program, const std::string& folder);
// The process's top-level windows of the class, with the title unless it is null, and only the
// visible ones if asked. Titles of another process's windows are read without a message to it.
std::vector<HWND> ProcessWindows(DWORD processId, const char* cls, const char* title, bool visibleOnly);
// The first such window, waiting for it up to the timeout; null when none came.
HWND WaitForProcessWindow(DWORD processId, const char* cls, const char* title, bool visibleOnly,
                          DWORD timeoutMs);
// Finds the hidden monitor window (class "window", title "タイトル") of a process.
HWND FindMonitorWindow(DWORD processId, DWORD timeoutMs);
// The local clock's six-minute slot, and the whole seconds until it ends.
int SlotNow();
int SecondsLeftInSlot();
// Waits until the start-up has added the tray icon and started the clock (today's file exists).
bool WaitUntilRecording(RunningProgram* program, const std::string& todayFile, DWORD timeoutMs);
bool TrayIconExists(HWND monitor);
// Asks the program to end (WM_CLOSE) and answers its question with the given button.
void AskToEnd(RunningProgram* program, int answer);
// Waits for the process to end; returns its exit code, or STILL_ACTIVE after the timeout.
DWORD WaitForExit(RunningProgram* program, DWORD timeoutMs);
void KillProgram(RunningProgram* program);
// Local date as a day file name, for a time offset in seconds from now.
std::string DayFileNameAt(long long offsetSeconds, int dayShift = 0);

