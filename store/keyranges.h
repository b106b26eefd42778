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

// The counts of a range (RangeToday .. RangeAll): today from memory, the other days of the range
// from their files. The number of keys and buttons pressed in it.
int CollectKeys(int range);
