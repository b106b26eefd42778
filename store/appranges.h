// The applications of a range of days, as the apps window shows them.
#pragma once
#include <windows.h>

#include "store/apprecords.h"

// A range tells this many applications apart; the rest go to "(その他)".
enum { AppsShownCapacity = 4096 };

// Written by store/appranges.cpp alone: the chosen range's applications, their number and the
// range's active time in all.
struct ApplicationRange {
    AppRecord Rows[AppsShownCapacity];
    int Count;
    long long TotalMs;
};
extern ApplicationRange ShownApps;

inline int ShownAppCount(void) { return ShownApps.Count; }
inline const AppRecord* ShownApp(int row) { return &ShownApps.Rows[row]; }
inline long long ShownAppsMs(void) { return ShownApps.TotalMs; }

// The applications of a range (RangeToday .. RangeAll) of this PC (ThisPc), another PC of the share
// (its number) or all of them (AllPcs), sorted by active time, then clicks: this PC's today from
// memory, its other days of the range from their files; another PC's from its published files,
// a file that several identities published counted once. Their number.
int CollectApps(int range, int pc);
