// The index of this PC's own apps files (data\apps.idx): the text of each finished day's apps file
// after a line with its date, the time of writing of the file it was copied from, its fingerprint
// and its length, as the share's apps index is written. Derived, like the index of days: a copy
// stands for a file only while the listing shows that file with the same time and length, so that
// a range of years reads one file instead of thousands; a file written since is read from itself,
// and the index is written anew.
#pragma once
#include <stddef.h>
#include <windows.h>

#include "base/files.h"
#include "store/appsfile.h"
#include "store/csvfile.h"
#include "store/shareindex.h"

struct ListedAppsFile {
    int Date;
    long Size;  // -1 for a file longer than an apps file's text is written, never indexed
    unsigned long long Written;
};
static_assert(offsetof(ListedAppsFile, Date) == 0, "ordered by its leading date (CompareLeadingDates)");

// Written by store/appsindex.cpp alone: the index as read and its blocks by date, the apps files
// as listed, a file's text as read for the index, and the paths of the index and its new version.
struct OwnAppsFiles {
    char Text[AppsIndexSize];
    AppsIndexBlock Blocks[IndexCapacity];
    int BlockCount;
    ListedAppsFile Listed[CsvDateCapacity];
    int ListedCount;
    char File[AppsTextSize];
    WCHAR Path[PathCapacity], TempPath[PathCapacity];
};
extern OwnAppsFiles OwnApps;

// Lists the apps files and reads the index; when it does not hold exactly the finished days' files
// as listed (those before `today`, the newest that fit), writes it anew first. A failure only costs
// the next reading its time.
void LoadOwnAppsIndex(int today);
inline int OwnAppsFileCount(void) { return OwnApps.ListedCount; }
inline const ListedAppsFile* OwnAppsFile(int i) { return &OwnApps.Listed[i]; }
// The index's copy of a listed file's text, and its length; null when the index has none for this
// very file, and it is read from the file.
const char* OwnAppsIndexText(const ListedAppsFile* file, long* size);
// The index goes with the files it copied (a reset); the next reading makes it again.
void RemoveOwnAppsIndex(void);
