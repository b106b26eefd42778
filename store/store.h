// Operations on the activity store and the day files.
#pragma once
#include <windows.h>

// Fills DayLabels, DayDates and DayFileNames for today (a date number) and the 20 days before
// it, and makes it TodayDate.
void BuildDayTables(int today);
// A date as year * 10000 + month * 100 + day.
int DateNumber(int year, int month, int day);
// Whole days from date number a to date number b (negative when b is earlier).
int DaysBetween(int a, int b);
// The day of the week of a date number: 0 for Monday to 6 for Sunday.
int WeekdayOfDate(int date);
// Nonzero for a date number that names a real day of the calendar (years 1 to 9999).
int IsCalendarDate(int date);
// The date of a file name "YYYYMMDD" of a real day followed by the suffix (lower-case ASCII,
// matched in any case): "20240307.dat"; 0 for any other name.
int DateOfFileName(const WCHAR* name, const char* suffix);

// Paths (UTF-16). A path of LongPathLimit characters or more takes the \\?\ form: so does a
// folder that a day file name, or a temporary file's, would take past MAX_PATH.
enum { LongPathLimit = MAX_PATH - 14 };
// The character after a path's last separator (the whole path when it has none).
const WCHAR* AfterLastSeparator(const WCHAR* path);
// Appends a separator (unless the path ends with one) and an ASCII name; 0 when it does not fit.
int AppendName(WCHAR* path, int capacity, const char* name);
// Puts a full path (drive or share) of LongPathLimit characters or more into the \\?\ form, in
// place; 0 when that does not fit the capacity.
int ToLongPathForm(WCHAR* path, int capacity);
// Composes DataDirectory, the folder "data" beside the executable; 0 (and an empty folder) when
// the path does not fit.
int ComposeDataDirectory(const WCHAR* exePath);
// Composes the path of a file of the data folder into the one path buffer, DayFilePath, for use
// at once. The data folder is in the long form when its files' paths would pass MAX_PATH, so a
// name always fits.
const WCHAR* ComposeDataFilePath(const char* name);

// Nonzero when day d's file exists.
int DayFileExists(int day);
// The day file operations report nothing: their callers show the failure, owned by their window.

// Creates today's file as 2880 bytes of FF; 1 on success, -1 on failure.
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
// Tries once more, without waiting, to read the days marked unread; the file's values fill the
// slots not recorded meanwhile and are added to those recorded. The number of days still unread.
int ReadUnreadDays(void);
// Sets day d's column to no data and its maxima to 0.
void ClearDayColumn(int day);
// Copies day column, maxima and unsaved marks from one day to another.
void CopyDayColumn(int to, int from);
// What a slot write met: written, or why not (the worst of the days' causes: a file that cannot
// be made or written, one that another program holds, a day whose file is not read yet).
enum { SlotWritten = 1, SlotNotWritten = -1, SlotFileHeld = -2, SlotDayUnread = -3 };
// Writes slot s of today, and every slot still unsaved, each to its own day's file, waiting at
// most about 40 ms in all for held files; SlotWritten, or the cause of a failure. Unsaved slots
// are kept while their day is among the 21 in memory.
int WriteSlot(int slot);
// Nonzero while a slot of any of the 21 days waits to reach its file.
int SlotsWaitingToBeWritten(void);
// Takes the 21 day files and their apps files away, into the Recycle Bin or, where the drive has
// none, into the folder data\reset-YYYYMMDD-HHMMSS of the given time, and clears their days in the
// store; then creates today's. A day whose file could not be taken away keeps its file and its
// column as they were (daysKept counts them). 0, or -1 when today's file could not be made. No day
// file is ever destroyed.
int ResetData(const SYSTEMTIME* now, int* daysKept);

// Slot of a local time: hour * 10 + minute / 6.
int SlotOfTime(const SYSTEMTIME* t);
// Loads the recorder's data as of the local time into DataDirectory (made when missing): the day
// tables, today's file (made when missing) and the 20 days before, and the current slot. Waits
// for no file and never gives the day up: an unreadable day (a held file) is marked unread and the
// others are loaded all the same, and today's file that cannot be made is marked
// (TodayFileUnmade) and made by the next slot write that can. 1; 0 when an existing day file cannot be read; -1 when today's file cannot be
// made (the first failure met).
int Startup(const SYSTEMTIME* now);
