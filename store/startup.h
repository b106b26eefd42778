// The data part of the start-up: the data folder made, the day tables built, the 21 days loaded.
#pragma once
#include <windows.h>

// Loads the recorder's data as of the local time into the data folder (made when missing): the
// day tables, today's file (made when missing) and the 20 days before, and the current slot. Waits
// for no file and never gives the day up: an unreadable day (a held file) is marked unread and the
// others are loaded all the same, and today's file that cannot be made is marked
// (TodayFileUnmade) and made by the next slot write that can. 1; 0 when an existing day file
// cannot be read; -1 when today's file cannot be made (the first failure met).
int Startup(const SYSTEMTIME* now);
