// Activity per application: the records of a day, today's and those of finished days whose files
// could not be written yet, and the switch that says whether they are recorded.
#pragma once
#include <windows.h>

#include "store/days.h"

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
// Changed: the records hold counts their file does not have yet.
struct AppsDay {
    int Date;
    int Count;
    int Unread;
    int Changed;
    AppRecord Records[AppsPerDay];
};

// Finished days whose files could not be written wait in memory as long as the day files' days do.
enum { AppsWaitingCapacity = DayCount };

// Written by store/'s files alone. The switch lives here with the records it governs, as the
// settings file that keeps it belongs to the data folder; app/ changes it through
// SetAppsRecording.
struct ApplicationDays {
    int Recording;
    // app/ counts into today's records through AddAppClick and the like, not by hand.
    AppsDay Today;
    // Oldest first; each is written at every save until its file takes it, whatever the switch.
    AppsDay Waiting[AppsWaitingCapacity];
    int WaitingCount;
};
extern ApplicationDays AppsOfDays;

inline int AppsRecorded(void) { return AppsOfDays.Recording; }
inline int TodaysAppsUnread(void) { return AppsOfDays.Today.Unread; }
// A file of today's or of a waiting day's records could not be read yet.
int AppsFilesUnread(void);
inline int TodaysAppsDate(void) { return AppsOfDays.Today.Date; }
// Today's input, counted into the record of an application (AppOfToday's index).
inline void AddAppClick(int app) { ++AppsOfDays.Today.Records[app].Clicks, AppsOfDays.Today.Changed = 1; }
inline void AddAppKey(int app) { ++AppsOfDays.Today.Records[app].Keys, AppsOfDays.Today.Changed = 1; }
inline void AddAppTravel(int app, int pixels) { AppsOfDays.Today.Records[app].Travel += pixels, AppsOfDays.Today.Changed = 1; }
inline void AddAppActiveMs(int app, DWORD ms) { AppsOfDays.Today.Records[app].ActiveMs += ms, AppsOfDays.Today.Changed = 1; }
inline int AppRecordEmpty(const AppRecord* r) { return !r->Clicks && !r->Keys && !r->Travel && !r->ActiveMs; }

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
// change. Records that hold counts not yet written are never started anew: 0 then, 1 otherwise.
int LoadAppsOfToday(int date);
// Writes what waits, whatever the switch: the finished days' records first, then today's when they
// changed, each read first if still unread. 1; 0 when a write failed (it is tried again at the
// next call); -1 when a file is still unread.
int SaveApps(void);
// Ends today's records at a change of day: they are written (or kept waiting to be written later)
// and the date's records begin; the days waiting are tried again. As SaveApps.
int RollAppsOver(int date);
// New versions of apps files left behind by a power loss before their replace are taken up into
// their apps files (at start, before today's records are loaded).
void TakeUpOrphanedApps(void);
// The waiting day of a date, or null.
const AppsDay* WaitingAppsDay(int date);
// The data reset has taken the files of the days it clears (cleared[d] for the day d days before
// today): their records go, today's start empty when today's went.
void ClearResetAppsDays(int today, const unsigned char* cleared);
