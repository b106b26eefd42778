// Counts of a process's objects (handles, GDI, USER, private memory) that also work under Wine.
#pragma once
#include <windows.h>

// Kernel handles of the process: the system's handle list, else GetProcessHandleCount; -1 on failure.
long CountHandles(HANDLE process, DWORD processId);
// GDI objects: GetGuiResources where it reports them, else the process's GDI handle table in
// Wine's layout; -1 when neither can be read.
long CountGdiObjects(HANDLE process);
// The process's windows, top-level and child, found by enumeration.
long CountWindows(DWORD processId);
// USER objects as GetGuiResources reports them; 0 where it does not (Wine).
long CountUserObjects(HANDLE process);
// Private bytes (committed memory of the process alone); 0 when they cannot be read.
SIZE_T PrivateBytes(HANDLE process);
