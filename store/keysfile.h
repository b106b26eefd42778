// The keys file of a day beside its day file: UTF-8, one tab-separated line per key or mouse
// button pressed that day, written whole through a file of the program's own.
#pragma once
#include <windows.h>

#include "base/files.h"
#include "store/keyrecords.h"

// One keys file's text at the most: every index with a count of 19 digits.
enum { KeysTextSize = 32768 };

// Written by store/keysfile.cpp alone: a file's text and the path of its new version, and a file's
// counts as read, added to a day's only once the file was read to its end.
struct KeysFileBuffers {
    char Text[KeysTextSize];
    WCHAR TempPath[PathCapacity];
    long long Read[KeyIndexCount];
};
extern KeysFileBuffers KeysFileWork;

// Keys files of the data folder, as a search and the suffix of their names.
extern const char KeysFilePattern[];
extern const char KeysFileSuffix[];
// The keys file's name of a date ("20240307.keys.txt") into the buffer.
void ComposeKeysFileName(int date, char* name, int size);
// Adds the counts of the date's keys file to the counts given (KeyIndexCount of them); lines of
// no known key (the header, a line cut short) are left out. 1, also when there is no file; 0 when
// it exists but cannot be read to its end (held, access denied), and then nothing is added. The
// fingerprint of its lines (FingerprintOfLine; 0 for no file or one without lines) when asked for.
int AddKeysFile(int date, long long* counts, unsigned long long* fingerprint = nullptr);
// Writes the day's keys file whole: beside it under a name of its own, then replaced. A day not
// read yet is not written. 1, or 0 when it could not be written.
int WriteKeysFile(const KeysDay* day);
