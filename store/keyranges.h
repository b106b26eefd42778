// The keys and buttons of a range of days, as the keyboard window shows them.
#pragma once
#include <windows.h>

#include "store/keyrecords.h"

// Written by store/keyranges.cpp alone: the chosen range's counts per key and button.
struct KeyRange {
    long long Counts[KeyIndexCount];
};
extern KeyRange ShownKeys;

inline const long long* ShownKeyCounts(void) { return ShownKeys.Counts; }

// The counts of a range (RangeToday .. RangeAll) of this PC (ThisPc), another PC of the share (its
// number) or all of them (AllPcs): this PC's today from memory, its other days of the range from
// their files; another PC's from its published keys files, a file that several identities
// published counted once. The number of keys and buttons pressed in it.
int CollectKeys(int range, int pc);
