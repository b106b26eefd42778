// Every recorded day as CSV: a line per six-minute slot with the day's three values.
#pragma once
#include <windows.h>

#include "base/files.h"
#include "store/days.h"

// The days the export can list (more than 22 years of day files), and the text of one day's
// lines (240 lines of at most 62 bytes).
enum { CsvDateCapacity = 8192, CsvTextSize = SlotCount * 64 };

// Written by store/csvfile.cpp alone: the path of the file written before it is put in place, the
// dates of the days listed, one day's values in the file's order and that day's lines.
struct CsvBuffers {
    WCHAR TempPath[PathCapacity];
    int Dates[CsvDateCapacity];
    int Day[MetricCount * SlotCount];
    char Text[CsvTextSize];
};
extern CsvBuffers CsvWork;

// Puts the dates of the data folder's day files and today into CsvWork.Dates, oldest first, each
// once; their number, or -1 when there are more than `capacity` (at most the table's size).
int CollectCsvDates(int capacity = CsvDateCapacity);
// The i-th date collected, oldest first.
inline int CollectedCsvDate(int i) { return CsvWork.Dates[i]; }
// One listed day's 720 values in the file's order: the 21 days in memory come from memory
// (today's running slot and slots not yet written included), older and later ones from their
// files. The last slot that counts (today stops at the running one), or -1 when the day's file
// cannot be read (also one of the 21 days whose file has not been read yet and still cannot be).
int ReadListedDay(int date, int* values);
// Formats the lines of slots 0..lastSlot of a date from its 720 values in the file's order; the
// number of bytes written into the text (which holds CsvTextSize bytes).
int FormatCsvDay(int date, const int* values, int lastSlot, char* text);
// Writes the whole CSV file to the path: through a temporary file in the same folder, renamed
// into place, so that a failure leaves no partial file. 1 on success, 0 on failure.
int WriteActivityCsv(const WCHAR* path);
