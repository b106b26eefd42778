// What the PCs of a share folder publish beside their files, and how it is checked when read: the
// index of days (a line per day with its file's fingerprint, time and sums, so that a reader need
// not open thousands of day files) and pc.ini, the PC's name and identity. Both are written by
// one PC and read by any: everything read is checked before use.
#pragma once
#include <stddef.h>
#include <windows.h>

#include "store/days.h"
#include "store/pcidentity.h"
#include "store/totals.h"

extern const char PcFileName[];
extern const char IndexFileName[];
extern const char AppsIndexFileName[];
// The most days an index lists, and the longest line of one day.
enum { IndexCapacity = 8192, IndexLineSize = 128, IndexTextSize = IndexCapacity * IndexLineSize };
enum { PcFileSize = 1024 };
// The index of the apps files: every apps file's text after a line that names its date, the time
// of writing of the published file, its fingerprint and its length. At most this many bytes.
enum { AppsIndexSize = 16 * 1024 * 1024, AppsBlockHeaderSize = 64 };

struct AppsIndexBlock {
    int Date;
    unsigned long long Written, Fingerprint;
    long Offset, Length;
};
static_assert(offsetof(AppsIndexBlock, Date) == 0, "ordered by its leading date (CompareLeadingDates)");

// One day of an index: its date, the fingerprint of its 720 values, the last write of the
// published day file it was taken from, and its sums.
struct IndexEntry {
    int Date;
    unsigned long long Fingerprint;
    unsigned long long Written;
    long long Sums[MetricCount];
    int ActiveSlots;
    // The fingerprints of the day's apps and keys files as published, 0 for none.
    unsigned long long AppsFingerprint, KeysFingerprint;
};
static_assert(offsetof(IndexEntry, Date) == 0, "ordered by its leading date (CompareLeadingDates)");

// The 720 values of a day file's bytes, by the rules of the store (a short file's rest and anything
// below -1 are no data); 0 for a file of another size than a day file's when `exact`.
int DayValuesOfBytes(const unsigned char* bytes, long size, int exact, int* values);
// The fingerprint of a day's 720 values: the same values, the same day file.
unsigned long long FingerprintOfValues(const int* values);
// The fingerprint of a text file's lines, as its reader hands them (byte-order mark and line ends
// left out): each line goes on from the fingerprint of those before it; a length of -1 gives the
// start. The same lines, the same fingerprint, however the file was read.
unsigned long long FingerprintOfLine(unsigned long long from, const char* line, int length);
unsigned long long FingerprintOfText(const char* text, long size);
// A FILETIME as one number.
unsigned long long WriteTimeOf(const FILETIME* time);
// One entry's line into the text (IndexLineSize bytes at the most); its length.
int FormatIndexLine(const IndexEntry* entry, char* text);
// The entries of an index's text, each checked (a date of the calendar, numbers in their bounds);
// lines that fail are left out. Their number.
int ParseIndexText(const char* text, long length, IndexEntry* entries, int capacity);
// The line before an apps file's text in the apps index; its length.
int FormatAppsBlockHeader(int date, unsigned long long written, unsigned long long fingerprint, long length, char* text);
// The blocks of an apps index's text, each checked (its line's shape, a length that the text holds
// and an apps file could have), in the text's order; at the first that fails the rest are left out.
// Their number.
int ParseAppsIndex(const char* text, long size, AppsIndexBlock* blocks, int capacity);
// The block of an apps index (its blocks sorted by date) that stands for a date's apps file as
// listed now, with this time of writing and length; null when none does.
const AppsIndexBlock* AppsBlockFor(const AppsIndexBlock* blocks, int count, int date, unsigned long long written,
                                   long length);
// pc.ini's text (UTF-8) of an identity, its name, computer and the UTC offset of its days in
// minutes; its length.
int FormatPcFile(const WCHAR* id, const WCHAR* name, const WCHAR* computer, int offsetMinutes, char* text, int size);
// The identity and name of a pc.ini's text: 1 when its Id is an identity and equals `id` (the
// folder's name), with the name checked (UTF-8, no control characters, cut to fit; the id when
// none is left); 0 otherwise.
int ParsePcFile(const char* text, long length, const WCHAR* id, WCHAR* name, int nameSize);
