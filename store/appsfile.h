// The apps file of a day beside its day file: UTF-8, one tab-separated line per application,
// written whole through a file of the program's own.
#pragma once
#include <windows.h>

#include "base/files.h"
#include "store/apprecords.h"

// One apps file's text at the most as written (256 lines of 128-byte names and four counts), and
// the piece a file is read in.
enum { AppsTextSize = 65536 };

// Written by store/appsfile.cpp alone: a file's text and the path of its new version; a file's
// lines as read, handed on only once the file was read to its end.
struct AppsFileBuffers {
    char Text[AppsTextSize];
    WCHAR TempPath[PathCapacity];
    AppsDay Read;
};
extern AppsFileBuffers AppsFileWork;

// Apps files of the data folder, as a search and the suffix of their names; their new versions.
extern const char AppsFilePattern[];
extern const char AppsFileSuffix[];
extern const char AppsTempPattern[];
extern const char AppsTempSuffix[];
// The apps file's name of a date ("20240307.apps.txt") into the buffer.
void ComposeAppsFileName(int date, char* name, int size);
// The apps file's path of a date, valid until the next path is composed.
const WCHAR* AppsFilePath(int date);
// Hands each application of the date's apps file to the adder, once the whole file was read: its
// lines that hold a name and four counts, summed by name as a day's records hold them; other
// lines (the header, a line cut short) are left out. 1, also when there is no file; 0 when it
// exists but cannot be read to its end (held, access denied), and then nothing is handed on. The
// fingerprint of the file's lines (FingerprintOfLine; 0 for no file or one without lines) when
// asked for.
typedef void (*AddAppLine)(void* target, const char* name, const long long* values);
int ReadAppsLines(int date, AddAppLine add, void* target, unsigned long long* fingerprint = nullptr);
// Hands each application of an apps file's text, read whole elsewhere (the index of apps files),
// to the adder, as ReadAppsLines hands the file's; the fingerprint of its lines (0 for none).
unsigned long long ReadAppsText(int date, const char* text, long size, AddAppLine add, void* target);
// Hands a line of an apps file (without its line end) to the adder when it holds a name and four
// counts.
void ParseAppsLine(const char* line, int length, AddAppLine add, void* target);
// Reads the day's apps file into its records, adding the file's values to what they hold; as
// ReadAppsLines.
int ReadAppsFile(AppsDay* day);
// Writes the day's apps file whole: beside it under a name of its own, then replaced; applications
// without a count are left out. A day not read yet is not written. 1, or 0 when it could not be
// written.
int WriteAppsFile(const AppsDay* day);
// The date's new version left behind by a power loss before its replace, laid over its apps file:
// every count the larger of the two files' (so neither loses what it held). 1; 0 when either
// file cannot be read now.
int ReadOrphanedAppsFile(int date, AppsDay* day);
