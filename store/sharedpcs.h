// The other PCs of the share folder, read as untrusted input: who they are (their folders and
// pc.ini), their days (from their index where it is fresh, else from their day files) and their
// applications, each day counted once however many identities published it.
#pragma once
#include <windows.h>

#include "store/appsfile.h"
#include "store/shareindex.h"

// Other PCs told apart in a share; past them, the rest are not read.
enum { SharedPcCapacity = 32 };
// Whose days a window shows: this PC's (the default), all PCs', or another PC's by its number.
enum { ThisPc = -1, AllPcs = -2 };
// Days counted once by their content, across the PCs of one collection.
enum { CountedCapacity = 65536 };

struct SharedPc {
    WCHAR Id[PcIdSize];
    WCHAR Name[PcNameSize];
    int NewestDay, DayCount;
};

struct CountedDay {
    int Key;  // the date, negated for an apps file
    int Collection;  // the collection that counted it: the table empties by a new number
    unsigned long long Fingerprint;
};

// Written by store/sharedpcs.cpp alone: the PCs found last, a PC's folder and files as read, and
// the days counted by the collection under way.
struct SharedPcList {
    SharedPc Pcs[SharedPcCapacity];
    int Count;
    WCHAR Path[PathCapacity], Pattern[PathCapacity];
    char Text[IndexTextSize];
    IndexEntry Entries[IndexCapacity];
    int EntryCount;
    unsigned char Bytes[DayFileSize];
    int Values[MetricCount * SlotCount];
    CountedDay Counted[CountedCapacity];
    int CountedCount, Collection;
    // A PC's apps index as read, and its blocks by date.
    char AppsText[AppsIndexSize];
    AppsIndexBlock Blocks[IndexCapacity];
    int BlockCount;
};
extern SharedPcList SharedPcs;

inline int SharedPcCount(void) { return SharedPcs.Count; }
inline const SharedPc* SharedPcAt(int pc) { return &SharedPcs.Pcs[pc]; }

// Finds the other PCs of the share folder: each folder named by an identity other than this PC's
// that holds a pc.ini naming it; their names, newest day and number of days from their folders'
// listings. Their number (0 without a share folder).
int FindSharedPcs(void);
// Forgets the days counted, for a new collection.
void ClearCountedDays(void);
// 1 when a day's content (the date, negated for an apps file, and its fingerprint) is counted for
// the first time in this collection; 0 when it was counted already.
int CountDayOnce(int key, unsigned long long fingerprint);
// Hands each readable day of another PC to `take` with its sums and fingerprint. A day file of the
// wrong size, or that cannot be read, is left out (and read again next time).
typedef void (*TakePcDay)(void* context, int date, unsigned long long fingerprint, const ActivityTotal* total);
void ReadPcDays(int pc, TakePcDay take, void* context);
// Hands the lines of another PC's apps files whose dates `inRange` accepts to `add`, each file
// counted once (CountDayOnce), from the PC's apps index where it stands for the file as listed
// (size and time of writing), else from the file; names that are not UTF-8 or hold control
// characters are left out.
typedef int (*AcceptDate)(void* context, int date);
void ReadPcApps(int pc, AcceptDate inRange, void* context, AddAppLine add, void* target);
// Adds the counts of another PC's keys files whose dates `inRange` accepts to the counts (one per
// key index), each file counted once (CountDayOnce); a file longer than a keys file, a line of no
// known key or of a count out of bounds is left out, and no sum passes what 64 bits hold.
void ReadPcKeys(int pc, AcceptDate inRange, void* context, long long* counts);
// The key under which CountDayOnce counts a keys file of a date.
inline int KeysCountKey(int date) { return date + 100000000; }
// Reads one day of another PC into 720 values; 0 when it has none of the right size or it cannot be
// read.
int ReadPcDayValues(int pc, int date, int* values);

// Written by store/sharedpcs.cpp alone: the other PCs' values of the 21 days in memory, summed
// (today's as of their last publish), for the graph's sum of all PCs; -1 where none has data.
struct OtherPcsDays {
    int Values[MetricCount][SlotCount][DayCount];
    // Today's date when they were read: after a change of day they count no longer.
    int Today;
};
extern OtherPcsDays OthersOfDays;

// Reads the other PCs' days of the 21 dates anew, a day's content that this PC or another identity
// holds already counted once. Reading stays with the windows: the clock never waits on a share.
void LoadOthersOfDays(void);
// The value the graph shows: this PC's, or while it shows all PCs the sum with the others' (a
// slot without data where none has any).
int ShownDayValue(int metric, int slot, int day);
// The largest shown value of a day (today's up to the running slot).
int ShownDayMaximum(int metric, int day);
