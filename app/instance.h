// One copy of the program per data folder.
#pragma once
#include <windows.h>

// Written by app/instance.cpp alone: the claim held for the life of the process (the lock file, or
// where none can be made a named object of the folder's identity), the folder's identity in the
// file system (volume and file index: one for every spelling of the folder), and the registered
// message by which a second start hands over to this copy.
struct FolderClaimState {
    HANDLE Lock;
    DWORD Volume;
    unsigned long long Index;
    UINT HandoverMessage;
};
extern FolderClaimState FolderClaim;

// Claims the data folder (made here when missing) for this copy: 1 when no other copy records into
// it. Otherwise the running copy of this session has been asked to show its graph window, or the
// user has been told that another user's copy has the folder, and this one returns 0 having
// written nothing.
int ClaimDataFolder(void);
// Gives the claim up: the folder is free for the next start as soon as this one has gone.
void ReleaseDataFolder(void);
// The folder's identity (Volume, Index): 1, or 0 (and none) when it cannot be read.
int IdentifyDataFolder(void);
// Takes the claim on the folder's lock file (Lock): 1; 0 when another process holds it; -1 when
// the file cannot be made.
int TakeFolderLock(void);
// Marks the monitor window with the folder's identity, so that a second start finds this copy,
// and takes the marks off again.
void MarkFolderOwner(HWND monitor);
void UnmarkFolderOwner(HWND monitor);
// The running copy's side: a second start for the same folder wants the graph window.
LRESULT OnHandover(HWND monitor, WPARAM folderIndex, LPARAM folderVolume);
