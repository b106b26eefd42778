// Fixture support for tests of the store: a fresh data folder and a clean global record.
#pragma once
#include <string>
#include <vector>

#include "store/state.h"
#include "support/dayimage.h"

// Clears the global record (keeping the instance) and points DataDirectory at a fresh,
// empty folder beside the test program.
void ResetStore(const char* folderName);
// Full path of day d's file, or of a file name in the data folder.
std::string DayFilePathOf(int day);
std::string DataFile(const char* name);
void RemoveFolder(const std::string& folder);
// A window with the monitor window's procedure whose start-up is skipped (the test sets the
// store up itself): no tray icon, hooks or timer. It receives the posted failure reports.
HWND CreateMonitorWithoutStartup();
// Destroys it and takes the quit message that its end posts off this thread's queue.
void DestroyMonitor(HWND monitor);
// Dispatches every message waiting for this thread, as the program's loop would.
void DispatchWaitingMessages();
