// The apps file of a day beside its day file: UTF-8, one tab-separated line per application,
// written whole through a file of the program's own.
#pragma once
#include <windows.h>

#include "base/files.h"
#include "store/apprecords.h"

// One apps file's text at the most.
enum { AppsTextSize = 65536 };

// Written by store/appsfile.cpp alone: a file's text and the path of its new version.
struct AppsFileBuffers {
    char Text[AppsTextSize];
    WCHAR TempPath[PathCapacity];
};
extern AppsFileBuffers AppsFileWork;

// Apps files of the data folder, as a search and the suffix of their names.
extern const char AppsFilePattern[];
extern const char AppsFileSuffix[];
// The apps file's name of a date ("20240307.apps.txt") into the buffer.
void ComposeAppsFileName(int date, char* name, int size);
// The apps file's path of a date, valid until the next path is composed.
const WCHAR* AppsFilePath(int date);
// Hands each line of the date's apps file that holds a name and four counts to the adder; other
// lines (the header, a line cut short) are left out. 1, also when there is no file; 0 when it
// exists but cannot be read (held, access denied). The fingerprint of the file's bytes (0 for no
// file) when asked for.
typedef void (*AddAppLine)(void* target, const char* name, const long long* values);
int ReadAppsLines(int date, AddAppLine add, void* target, unsigned long long* fingerprint = nullptr);
// Hands each line of an apps file's text that holds a name and four counts to the adder.
void ParseAppsText(const char* text, int length, AddAppLine add, void* target);
// Reads the day's apps file into its records, adding the file's values to what they hold; as
// ReadAppsLines.
int ReadAppsFile(AppsDay* day);
// Writes the day's apps file whole: beside it under a name of its own, then replaced. A day not
// read yet is not written. 1, or 0 when it could not be written.
int WriteAppsFile(const AppsDay* day);
