// The Recycle Bin, as the data reset uses it; a test build links a bin of its own.
#pragma once
#include <windows.h>

// Sends the files of a list (each path zero-ended, the list ended by one more zero) to the Recycle
// Bin of their drive, silently. 1 only when the bin is known to hold them afterwards; 0 when the
// drive has no bin or the bin cannot be counted, and the files may then be kept, in the bin, or
// gone: the caller keeps copies of them until it knows.
int RecycleFiles(const WCHAR* files, int count);
