// The data folder beside the executable, and the paths of its files, composed in UTF-16 in one
// place: whatever the folder's name, a path never passes through the ANSI code page.
#pragma once
#include <windows.h>

#include "base/files.h"

struct DataFolderPaths {
    WCHAR Directory[PathCapacity];
    // The path a composing call returns, for use at once.
    WCHAR Composed[PathCapacity];
};
// Written by store/datafolder.cpp alone.
extern DataFolderPaths DataPaths;

// Composes the folder "data" beside the executable; 0 (and an empty folder) when the path does
// not fit.
int ComposeDataDirectory(const WCHAR* exePath);
const WCHAR* DataDirectory(void);
// Makes the folder; an existing one is the normal case.
void MakeDataDirectory(void);
// The path of a file of the data folder, valid until the next call. The data folder is in the long
// form when its files' paths would pass MAX_PATH, so a name always fits.
const WCHAR* ComposeDataFilePath(const char* name);
