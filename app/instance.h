// One copy of the program per data folder.
#pragma once
#include <windows.h>

// Claims the data folder (DataDirectory) for this copy: 1 when no other copy records into it.
// Otherwise the running copy has been asked to show its graph window, and this one returns 0.
int ClaimDataFolder(void);
// The running copy's side: a second start for the same folder wants the graph window.
LRESULT OnHandover(HWND monitor, WPARAM folderKey);
