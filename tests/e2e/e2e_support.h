// Support for end-to-end tests: the real program in a folder of its own, driven as Windows would.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

#include "support/scripteduser.h"
#include "support/testwin.h"

// Ended on every exit of the test that started it.
struct RunningProgram {
    PROCESS_INFORMATION process = {};
    HWND monitor = nullptr;
    std::string folder;  // with a trailing backslash
    RunningProgram() = default;
    RunningProgram(const RunningProgram&) = delete;
    ~RunningProgram() { EndProcess(&process); }
};

// A fresh folder holding vantle.exe and its two libraries, named below the test program's folder
// (the name may hold separators, and characters of any code page in the wide form).
std::string MakeProgramFolder(const std::string& name);
std::wstring MakeProgramFolderW(const std::wstring& name);
// A full path (with a drive) in the \\?\ form, which the file system takes past MAX_PATH.
std::wstring LongForm(const std::wstring& path);
// Starts vantle.exe from the folder and finds its monitor window; false when either fails.
bool StartProgram(RunningProgram* program, const std::string& folder);
// Only starts the process, looking for no window (a second copy makes none).
bool LaunchProgram(RunningProgram* program, const std::string& folder);
bool LaunchProgramW(RunningProgram* program, const std::wstring& folder);
// The program that a script started from the folder: its monitor window, found in any process,
// and its process; false when none came within the time-out.
bool FindStartedProgram(RunningProgram* program, const std::string& folder, DWORD timeoutMs);
// The first such window, waiting for it up to the timeout; null when none came.
HWND WaitForProcessWindow(DWORD processId, const char* cls, const char* title, bool visibleOnly,
                          DWORD timeoutMs);
// Finds the hidden monitor window (class "window", title "タイトル") of a process.
HWND FindMonitorWindow(DWORD processId, DWORD timeoutMs);
// The local clock's six-minute slot (that of a clock moved by the offset in seconds), and the
// whole seconds until it ends.
int SlotNow(long long offsetSeconds = 0);
int SecondsLeftInSlot();
// Waits, if need be, for the next slot, so that at least the given seconds of it are left: a test
// that must stay within one slot starts at a known moment of the clock.
void StartEarlyInSlot(int seconds);
// Waits until the start-up is done: the tray icon and today's file are there, and the program's
// thread has come back to its loop (the clock and the hooks run).
bool WaitUntilRecording(RunningProgram* program, const std::string& todayFile, DWORD timeoutMs);
// Waits until the window's thread takes a message again; false after the time-out.
bool WaitUntilIdle(HWND window, DWORD timeoutMs = 15000);
// A message to a window of another process, answered within 5 s or taken as -1: a program that
// hangs fails the test instead of holding it.
LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The graph window's caption, with the version.
inline std::string GraphCaption() { return UiA(TextTitle); }
// Asks the program to end (WM_CLOSE); the user answers its question with the given button. True
// once the question was answered and has gone.
bool AskToEnd(RunningProgram* program, ScriptedUser& user, int answer);
// The same with a user of its own, who leaves no box of the process on screen.
bool AskToEnd(RunningProgram* program, int answer);
// Waits for the process to end; returns its exit code, or STILL_ACTIVE after the timeout.
DWORD WaitForExit(RunningProgram* program, DWORD timeoutMs);
void KillProgram(RunningProgram* program);
// The text of a cell of a report list in another process, or of a column's header for item -1;
// "<no answer>" when the list did not answer.
std::string ListText(HANDLE process, HWND list, int item, int column);
// The UTF-16 text a window of another process puts into a buffer of its own memory for a message
// (wParam, then the buffer as lParam), such as a status bar part's SB_GETTEXTW.
std::wstring RemoteText(HANDLE process, HWND window, UINT message, WPARAM wParam);
// The clipboard's UTF-16 text; empty when it holds none or cannot be opened.
std::wstring ClipboardText();
// Local date as a day file name, for a time offset in seconds from now.
std::string DayFileNameAt(long long offsetSeconds, int dayShift = 0);

