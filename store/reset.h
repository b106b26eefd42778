// The data reset: the 21 days' files taken away where the user can take them back whole.
#pragma once
#include <windows.h>

#include "base/files.h"
#include "store/days.h"

// The reset takes each of the 21 days' day file, apps file and keys file.
enum { ResetFileCount = 3 * DayCount };

// Written by store/reset.cpp alone: the reset's folder and the path of a copy in it, the files it
// keeps there (by file) and the list of their originals for the Recycle Bin, each path zero-ended
// and the list ended by one more zero (paths in the normal form only: the bin takes no other).
struct ResetFiles {
    WCHAR Folder[PathCapacity];
    WCHAR CopyPath[PathCapacity];
    unsigned char Kept[ResetFileCount];
    WCHAR List[ResetFileCount * MAX_PATH + 1];
};
extern ResetFiles DataReset;

// Takes the 21 day files and their apps files away, into the Recycle Bin or, where the drive has
// none, into the folder data\reset-YYYYMMDD-HHMMSS of the given time, and clears their days in the
// store; then creates today's. A day whose file could not be taken away keeps its file and its
// column as they were (daysKept counts them). 0, or -1 when today's file could not be made. No day
// file is ever destroyed.
int ResetData(const SYSTEMTIME* now, int* daysKept);
