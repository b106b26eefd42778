// Helpers shared by the test programs: files, waits, injected input, threads and the tray icon.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "base/uitext.h"

// A text in the ANSI code page as UTF-16, and back (the program keeps its paths in UTF-16).
std::wstring Wide(const std::string& text);
std::string Narrow(const std::wstring& text);
// A text of the table in the language the program chooses in this environment (Japanese where
// the user's UI language is Japanese), and in the ANSI code page, as the tests read windows.
const wchar_t* UiW(UiTextId id);
std::string UiA(UiTextId id);
// Reads a whole file; empty when it cannot be read.
std::vector<unsigned char> ReadWholeFile(const std::string& path);
std::vector<unsigned char> ReadWholeFile(const std::wstring& path);
// A text value under HKEY_CURRENT_USER of the test prefix, or "(none)" when it is not there.
std::string RegistryText(const char* key, const char* name);
bool WriteWholeFile(const std::string& path, const void* data, size_t size);
// Folder of the running test program, with a trailing backslash.
std::string ModuleFolder();
// Pumps this thread's messages until the condition holds or the time is up; true if it held.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

// Input injected through SendInput, as a user's devices would give it.
INPUT AbsoluteMove(int x, int y);
void InjectMove(int x, int y);
void InjectClick(DWORD down, DWORD up, DWORD data = 0);
void InjectKey(WORD vk, WORD scan = 0, bool extended = false);

// The ids of this process's threads, and the thread that serves the hooks among those that came
// up since an earlier list: the time-critical one.
std::vector<DWORD> ProcessThreadIds();
DWORD HookThreadSince(const std::vector<DWORD>& before);

// The process's top-level windows of the class, with the title unless it is null, and only the
// visible ones if asked. Titles of another process's windows are read without a message to it,
// so ask for one only of those.
std::vector<HWND> ProcessWindows(DWORD processId, const char* cls, const char* title, bool visibleOnly);

// Starts this test program again, as a copy at `copyPath` (or as itself when the path is empty),
// running only the (disabled) tests of the filter; its report is not this one's.
bool StartTestProgramAgain(const std::string& copyPath, const std::string& filter, PROCESS_INFORMATION* process);
// A process of another program for input to go to: this test program started again (as a copy at
// `copyPath`, or as itself), showing a window titled "work" at x, 300 (200 by 200) in front.
bool StartWindowProcess(const std::string& copyPath, int x, PROCESS_INFORMATION* process);
// Ends a started process that still runs and closes its handles.
void EndProcess(PROCESS_INFORMATION* process);

// A process the test started, ended on every exit of the test.
struct TestProcess {
    PROCESS_INFORMATION info = {};
    TestProcess() = default;
    TestProcess(const TestProcess&) = delete;
    ~TestProcess() { EndProcess(&info); }
};
// Runs its action on every exit of the scope: a test's cleanup that an assertion cannot skip.
struct AtExit {
    std::function<void()> action;
    ~AtExit() { action(); }
};

// Sends the shell a tray message (NIM_ADD, NIM_MODIFY, NIM_DELETE) for the program's icon of the
// window, in the record's first form and with nothing to change; true when the shell took it.
bool NotifyTrayIcon(DWORD message, HWND window);
// Whether the shell holds the program's icon of the window: a change of nothing succeeds.
inline bool TrayIconExists(HWND window) { return NotifyTrayIcon(NIM_MODIFY, window); }
