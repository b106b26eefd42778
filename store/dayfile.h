// Day files: one 2880-byte file a day in the data folder, three series of 240 little-endian
// 32-bit values, -1 for no data. The operations report nothing: their callers show the failure,
// owned by their window.
#pragma once
#include <windows.h>

// The day file's name of a date ("20240307.dat") into the buffer.
void ComposeDayFileName(int date, char* name, int size);
// Day files of the data folder, as a search and the suffix of their names.
extern const char DayFilePattern[];
extern const char DayFileSuffix[];

// Nonzero when day d's file exists.
int DayFileExists(int day);
// Creates today's file as 2880 bytes of FF; 1 on success, -1 on failure, when today's file is
// marked unmade (TodayFileUnmade) for the next slot write to make.
int CreateDayFile(void);
// Reads day d's existing file into its column and raises its maxima, waiting up to waitMs while
// another program holds the file; 1, or 0 when it cannot be opened (the column is left as it was).
int ReadDayFile(int day, DWORD waitMs = 0);
// Reads the file of a date (any date) into 720 values in the file's order, by the same rules as
// ReadDayFile, waiting up to about three seconds for a held file; 0 when it cannot be opened.
int ReadDatedFile(int date, int* values);
// Loads day d from its file, or marks it as no data when there is none; 0 when the file exists
// but cannot be read: the day then shows as no data and is marked unread (DayUnread).
int LoadDayColumn(int day, DWORD waitMs = 0);
// Today's column from its file, or a new file when there is none: 1; 0 when the file exists but
// cannot be read (marked unread); -1 when it cannot be made (marked unmade).
int LoadTodayFile(void);
// Tries once more, without waiting, to read the days marked unread; the file's values fill the
// slots not recorded meanwhile and are added to those recorded. The number of days still unread.
int ReadUnreadDays(void);
// What a slot write met: written, or why not (the worst of the days' causes: a file that cannot
// be made or written, one that another program holds, a day whose file is not read yet).
enum { SlotWritten = 1, SlotNotWritten = -1, SlotFileHeld = -2, SlotDayUnread = -3 };
// Writes slot s of today, and every slot still unsaved, each to its own day's file, waiting at
// most about 40 ms in all for held files; SlotWritten, or the cause of a failure. Unsaved slots
// are kept while their day is among the 21 in memory.
int WriteSlot(int slot);
// Nonzero while a slot of any of the 21 days waits to reach its file.
int SlotsWaitingToBeWritten(void);
// Nonzero when day d has a file of its own (not a folder of its name, which no reset takes away).
int HasDayFile(int day);
