// Fixture support for tests of the store: a fresh data folder and clean records of state.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "store/datafolder.h"
#include "support/dayimage.h"

// Clears every record of the program's state, as a fresh process has them.
void ClearProgramState();
// Clears the program's state and points the data folder at a fresh, empty folder beside the test
// program.
void ResetStore(const char* folderName);
// Full path of day d's file, or of a file name in the data folder.
std::string DayFilePathOf(int day);
std::string DataFile(const char* name);
// DataDirectory in the ANSI code page (the tests' folders have ASCII names), and set from it.
std::string DataFolder();
void SetDataFolder(const std::string& folder);
void RemoveFolder(const std::string& folder);
// Holds a file open without sharing, as a backup tool or a virus scanner may, until released.
struct FileHold {
    HANDLE file = INVALID_HANDLE_VALUE;
    FileHold() = default;
    explicit FileHold(const std::string& path) { Hold(path); }
    ~FileHold() { Release(); }
    void Hold(const std::string& path)
    {
        file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    void Release()
    {
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
    }
};
// The recorder as the start-up leaves it at the given time of a day of March 2024 (the 7th unless
// said otherwise): the day tables built, the 21 days loaded from their files, today's file made
// if there is none, the slot begun and recording on; no tray icon, hooks or timer. False when a
// day could not be loaded or today's file made.
bool StartRecorderAt(int hour, int minute, int second, int day = 7);
// The slot clock's tick at the given time of a day of March 2024.
void TickAt(HWND monitor, int hour, int minute, int second, int day = 7);
// A window with the monitor window's procedure whose start-up is skipped (the test sets the
// store up itself): no tray icon, hooks or timer. It receives the posted failure reports.
HWND CreateMonitorWithoutStartup();
// Destroys it and takes the quit message that its end posts off this thread's queue.
void DestroyMonitor(HWND monitor);
// Dispatches every message waiting for this thread, as the program's loop would.
void DispatchWaitingMessages();
