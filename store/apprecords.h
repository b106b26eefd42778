// Activity per application: the records of a day, today's and those of a finished day whose file
// could not be written yet, and the switch that says whether they are recorded.
#pragma once
#include <windows.h>

// Applications of a day: 255 told apart by the file name of their executable, then one record
// for the rest; a name is UTF-8, as the apps file holds it.
enum { AppsPerDay = 256, AppNameSize = 128, NoApp = -1 };
// Active time is summed in milliseconds and kept in the file as whole seconds.
enum { MsPerSecond = 1000 };
// The two names of no application of its own, the same in every language.
extern const char AppNameUnknown[];
extern const char AppNameOthers[];

struct AppRecord {
    char Name[AppNameSize];
    long long Clicks, Keys, Travel, ActiveMs;
};

// One day's records per application. Unread: its file exists but could not be read, so it is
// not written until read, and what was counted meanwhile is added to the file's values then.
struct AppsDay {
    int Date;
    int Count;
    int Unread;
    int Unsaved;
    AppRecord Records[AppsPerDay];
};

// Written by store/'s files alone. The switch lives here with the records it governs, as the
// settings file that keeps it belongs to the data folder; app/ changes it through
// SetAppsRecording.
struct ApplicationDays {
    int Recording;
    // app/ counts into today's records through AddAppClick and the like, not by hand.
    AppsDay Today, EarlierDay;
};
extern ApplicationDays AppsOfDays;

inline int AppsRecorded(void) { return AppsOfDays.Recording; }
inline int TodaysAppsUnread(void) { return AppsOfDays.Today.Unread; }
inline int TodaysAppsDate(void) { return AppsOfDays.Today.Date; }
// Today's input, counted into the record of an application (AppOfToday's index).
inline void AddAppClick(int app) { ++AppsOfDays.Today.Records[app].Clicks; }
inline void AddAppKey(int app) { ++AppsOfDays.Today.Records[app].Keys; }
inline void AddAppTravel(int app, int pixels) { AppsOfDays.Today.Records[app].Travel += pixels; }
inline void AddAppActiveMs(int app, DWORD ms) { AppsOfDays.Today.Records[app].ActiveMs += ms; }

// A name of the given length as a record holds it (AppNameSize bytes with its end), cut at a
// character's start.
void CopyAppName(char* to, const char* from, int length);
// The record of a name among records, or NoApp; a new record of the name (count one more).
int FindAppRecord(const AppRecord* records, int count, const char* name);
int AddAppRecord(AppRecord* records, int* count, const char* name);
// Adds a line's four values (clicks, key touches, travel, active seconds) to a record.
void AddAppValues(AppRecord* record, const long long* values);
// The records' order: most active time (in whole seconds) first, then most clicks; the name decides
// the rest, so the order is stable. Negative when a comes first.
int CompareAppRecords(const AppRecord* a, const AppRecord* b);
// The record of an application by its UTF-8 name, added when new; past 255 names of a day, the
// record "(その他)".
int AppOfName(AppsDay* day, const char* name);
int AppOfToday(const char* name);
// Empties the day's records and gives them the date.
void ClearAppsDay(AppsDay* day, int date);
void SetAppsRecording(int on);
// Starts today's records for a date: empty, then the date's file added (a restart within the
// day, a clock set back); a file that cannot be read marks them unread. The records' indices
// change.
void LoadAppsOfToday(int date);
// Writes what waits: a finished day's records first, then today's, read first if still unread.
// 1; 0 when a write failed (it is tried again at the next call); -1 when today's file is still
// unread.
int SaveApps(void);
// Ends today's records at a change of day: they are written (or kept to be written later) and
// the date's records begin. 1 when they reached their file.
int RollAppsOver(int date);
// The data reset has taken the files: today's records start empty and no earlier day waits.
void ClearAppsOfDays(int today);
