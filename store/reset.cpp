// The data reset: every file of the 21 days copied aside, sent to the Recycle Bin or kept in a
// folder of its own, and the days' columns cleared.
#include "store/reset.h"

#include <stdio.h>
#include <string.h>

#include "base/dates.h"
#include "store/apprecords.h"
#include "store/appsfile.h"
#include "store/appsindex.h"
#include "store/datafolder.h"
#include "store/dayfile.h"
#include "store/keyrecords.h"
#include "store/keysfile.h"
#include "store/recyclebin.h"

ResetFiles DataReset;

static const char FormatResetFolder[] = "reset-%04d%02d%02d-%02d%02d%02d";
static const char FormatResetNumber[] = "-%d";

// The reset's own folder beside the day files, named by its time; a second reset within the same
// second gets a numbered one. 0 when no folder can be made.
static int MakeResetFolder(const SYSTEMTIME* now)
{
    enum { Attempts = 100 };
    for (int n = 1; n <= Attempts; ++n) {
        char name[48];
        int length = snprintf(name, sizeof name, FormatResetFolder, now->wYear, now->wMonth, now->wDay, now->wHour,
                              now->wMinute, now->wSecond);
        if (n > 1 && length > 0) snprintf(name + length, sizeof name - length, FormatResetNumber, n);
        lstrcpynW(DataReset.Folder, DataDirectory(), PathCapacity);
        // The copies in it may pass MAX_PATH where the day files do not.
        if (!AppendName(DataReset.Folder, PathCapacity, name) || !ToLongPathForm(DataReset.Folder, PathCapacity))
            return 0;
        if (CreateDirectoryW(DataReset.Folder, nullptr)) return 1;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return 0;
    }
    return 0;
}

// The reset's files: the 21 day files, then the 21 days' apps files, then their keys files.
static const char* ResetFileName(int file, char* name, int size)
{
    int day = file % DayCount;
    if (file < DayCount) return Days.DayFileNames[day];
    if (file < 2 * DayCount) ComposeAppsFileName(DateAfterDays(Days.TodayDate, -day), name, size);
    else ComposeKeysFileName(DateAfterDays(Days.TodayDate, -day), name, size);
    return name;
}

static const WCHAR* ResetOriginalPath(int file)
{
    char name[32];
    return ComposeDataFilePath(ResetFileName(file, name, sizeof name));
}

static const WCHAR* ResetCopyPath(int file)
{
    char name[32];
    lstrcpynW(DataReset.CopyPath, DataReset.Folder, PathCapacity);
    AppendName(DataReset.CopyPath, PathCapacity, ResetFileName(file, name, sizeof name));
    return DataReset.CopyPath;
}

// A day's files go or stay together: a day file without its apps or keys file (or the other way
// round) would leave the day's totals and the sums of its applications or keys apart.
enum { FilesPerDay = ResetFileCount / DayCount };
static_assert(FilesPerDay * DayCount == ResetFileCount, "each day has as many files");

static int ResetFileExists(int file) { return GetFileAttributesW(ResetOriginalPath(file)) != INVALID_FILE_ATTRIBUTES; }

// A file of the day (the day file first) that exists and stayed where it was, or has no copy.
static int DayHasFile(int day, int (*check)(int file))
{
    for (int k = 0; k < FilesPerDay; ++k)
        if (check(day + k * DayCount)) return 1;
    return 0;
}

static int Uncopied(int file) { return !DataReset.Kept[file] && ResetFileExists(file); }

// Copies every existing file of the 21 days whole into the reset folder and lists the originals
// that have their copy, for the Recycle Bin; a file that cannot be copied (held without sharing, a
// full disk) is left where it is, and so is the other file of its day. Nonzero when every original
// that has its copy is in the list: the paths of a data folder in the long form are too long for
// it, and the bin would not take them.
static int KeepDayFiles(int* count)
{
    for (int f = 0; f < ResetFileCount; ++f) DataReset.Kept[f] = CopyFileW(ResetOriginalPath(f), ResetCopyPath(f), TRUE) != 0;
    for (int d = 0; d < DayCount; ++d) {
        if (!DayHasFile(d, Uncopied)) continue;
        for (int k = 0; k < FilesPerDay; ++k) {
            int f = d + k * DayCount;
            if (DataReset.Kept[f]) DeleteFileW(ResetCopyPath(f)), DataReset.Kept[f] = 0;
        }
    }
    *count = 0;
    int whole = 1;
    int used = 0;
    for (int f = 0; f < ResetFileCount; ++f) {
        if (!DataReset.Kept[f]) continue;
        ++*count;
        const WCHAR* original = ResetOriginalPath(f);
        int length = lstrlenW(original) + 1;
        if (length > MAX_PATH || used + length >= ResetFileCount * MAX_PATH) {
            whole = 0;
            continue;
        }
        memcpy(DataReset.List + used, original, length * sizeof(WCHAR));
        used += length;
    }
    DataReset.List[used] = L'\0';
    return whole;
}


static int ResetFileStayed(int file) { return file < DayCount ? HasDayFile(file) : ResetFileExists(file); }

// Without the bin the originals are removed, a day's file first: one that cannot be removed keeps
// its day's other files with it.
static void RemoveOriginals(void)
{
    for (int f = 0; f < ResetFileCount; ++f) {
        int dayFile = f % DayCount;
        if (!DataReset.Kept[f]) continue;
        if (f >= DayCount && DataReset.Kept[dayFile] && ResetFileStayed(dayFile)) continue;
        DeleteFileW(ResetOriginalPath(f));
    }
}

// The files of the reset go where the user can take them back whole. Each is first copied into the
// reset folder; then the originals go to the Recycle Bin, and where the bin is known to hold them
// the copies are removed again. Where it is not (no bin on the drive, a bin that deleted them
// instead, one that cannot be counted, or paths too long for it), the copies stay and the
// originals are removed. A day whose file is still there afterwards (it could not be copied, sent
// or removed) keeps its column: what the graph shows after the reset is what the next start reads.
int ResetData(const SYSTEMTIME* now, int* daysKept)
{
    unsigned char hadFile[DayCount];
    for (int d = 0; d < DayCount; ++d) hadFile[d] = static_cast<unsigned char>(HasDayFile(d));
    if (MakeResetFolder(now)) {
        int count = 0;
        int recycled = KeepDayFiles(&count) && RecycleFiles(DataReset.List, count);
        if (!recycled) RemoveOriginals();
        for (int f = 0; f < ResetFileCount; ++f) {
            if (!DataReset.Kept[f]) continue;
            // An original that stayed keeps its day; a copy would only be a second file of it.
            if (recycled || ResetFileStayed(f)) DeleteFileW(ResetCopyPath(f));
        }
        // Only an empty folder goes: a reset into the bin, or of no files, leaves none behind.
        RemoveDirectoryW(DataReset.Folder);
    }
    // A day any of whose files stayed is a day kept; its records of applications and keys stay in memory.
    *daysKept = 0;
    unsigned char cleared[DayCount];
    for (int d = 0; d < DayCount; ++d) {
        int othersStayed = 0;
        for (int k = 1; k < FilesPerDay; ++k) othersStayed |= ResetFileExists(d + k * DayCount);
        cleared[d] = !(hadFile[d] && HasDayFile(d)) && !othersStayed;
        if ((hadFile[d] && HasDayFile(d)) || othersStayed) ++*daysKept;
        if (hadFile[d] && HasDayFile(d)) continue;
        ClearDayColumn(d);
        if (d == 0) memset(Days.SlotBase, 0, sizeof Days.SlotBase);
    }
    // The index of apps files holds copies of the days' texts: it goes, and is made again from the
    // files that are left when it is next read.
    RemoveOwnAppsIndex();
    ClearResetAppsDays(Days.TodayDate, cleared);
    ClearResetKeysDays(Days.TodayDate, cleared);
    if (hadFile[0] && HasDayFile(0)) return 0;
    return CreateDayFile() == 1 ? 0 : -1;
}
