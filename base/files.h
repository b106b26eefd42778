// Paths in UTF-16 and the file chores every folder shares: a name appended, the long form, a whole
// write, the dated files of a folder.
#pragma once
#include <windows.h>

// Wide characters of a path buffer: the longest path the file system takes (in the \\?\ form).
enum { PathCapacity = 32768 };
// The longest name of a file in the data folder: "YYYYMMDD.apps.txt" and its new version's
// "YYYYMMDD.apps.new".
enum { LongestDataFileName = 17 };
// A path of LongPathLimit characters or more takes the \\?\ form: so does a folder in which the
// longest file name, after its separator, would take a path past MAX_PATH (with its end).
enum { LongPathLimit = MAX_PATH - 1 - LongestDataFileName };

// The character after a path's last separator (the whole path when it has none).
const WCHAR* AfterLastSeparator(const WCHAR* path);
// Appends a separator (unless the path ends with one) and an ASCII name; 0 when it does not fit.
int AppendName(WCHAR* path, int capacity, const char* name);
// Puts a full path (drive or share) of LongPathLimit characters or more into the \\?\ form, in
// place; 0 when that does not fit the capacity.
int ToLongPathForm(WCHAR* path, int capacity);
// Writes all the bytes at the file's position; 0 when fewer went in.
int WriteAll(HANDLE file, const void* data, DWORD size);
// Reads a whole file of at most `capacity` bytes, shared for reading and replacing; the bytes read, or -1
// when it cannot be opened or read, or is larger.
long ReadWholeFile(const WCHAR* path, void* buffer, DWORD capacity);
// Writes the bytes to `temp` and puts that file in the place of `path` by a replace, so that no
// reader (nor a sync tool) ever finds half a file there; 0 when any step failed (the temporary
// file is then removed).
int ReplaceFileWith(const WCHAR* path, const WCHAR* temp, const void* data, DWORD size);
// Hands the date of every file (not folder) that the pattern finds and that is named
// "YYYYMMDD" of a real day followed by the suffix to `take`, until it returns 0; 0 when it did.
typedef int (*TakeDatedFile)(void* context, int date);
int ListDatedFiles(const WCHAR* pattern, const char* suffix, TakeDatedFile take, void* context);
// The same with what the search found of each file (size, times, attributes), so that a caller can
// tell files apart without opening them.
typedef int (*TakeDatedEntry)(void* context, int date, const WIN32_FIND_DATAW* found);
int ListDatedEntries(const WCHAR* pattern, const char* suffix, TakeDatedEntry take, void* context);
