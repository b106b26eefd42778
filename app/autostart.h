// Start with Windows: the per-user Run entry that names this program, and the switch by which
// Windows' own startup settings turn such an entry off.
#pragma once
#include <windows.h>

#include "base/files.h"

// A quoted path: the command of the Run entry that starts the program with Windows.
enum { RunCommandChars = PathCapacity + 2 };

// Written by app/autostart.cpp alone: the entry's command as it should be, and as it was found.
struct RunEntryCommands {
    WCHAR Wanted[RunCommandChars];
    WCHAR Found[RunCommandChars];
};
extern RunEntryCommands RunEntry;

// Nonzero when the Run entry "Vantle" names this program by its full path, quoted, and Windows'
// startup settings have not switched it off. Reads only; writes nothing.
int StartsWithWindows(const WCHAR* exePath);
// The user's choice: removes the entry when the program starts with Windows; otherwise points it
// at this program (also when it named another path: the folder was moved) and switches it on
// again where Windows' startup settings had switched it off. 1, or 0 when the registry refused.
int ToggleStartWithWindows(const WCHAR* exePath);
