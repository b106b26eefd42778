// Activity per application: the records of a day, their file beside the day file, and the sums of
// a range of days for the apps window.
#pragma once
#include "store/state.h"

// The record of an application by its UTF-8 name, added when new; past 255 names of a day, the
// record "(その他)".
int AppOfName(AppsDay* day, const char* name);
// Empties the day's records and gives them the date.
void ClearAppsDay(AppsDay* day, int date);
// Reads the date's apps file into the day's records, adding the file's values to what they hold;
// 1, also when there is no file; 0 when it exists but cannot be read (held, access denied).
int ReadAppsFile(AppsDay* day);
// Writes the day's apps file whole: beside it under a name of its own, then replaced. A day not
// read yet is not written. 1, or 0 when it could not be written.
int WriteAppsFile(const AppsDay* day);
// Starts today's records for a date: empty, then the date's file added (a restart within the
// day, a clock set back); a file that cannot be read marks them unread.
void LoadAppsOfToday(int date);
// Writes what waits: a finished day's records first, then today's, read first if still unread.
// 1; 0 when a write failed (it is tried again at the next call); -1 when today's file is still
// unread.
int SaveApps(void);
// Ends today's records at a change of day: they are written (or kept to be written later) and
// the date's records begin.
int RollAppsOver(int date);
// The applications of a range (AppsToday .. AppsAll) into AppsShown, sorted by active time, then
// clicks: today from memory, the other days of the range from their files. Their number.
int CollectApps(int range);
// The settings file's switch of recording per application (on when there is none), and its change;
// 0 when the setting could not be written.
int ReadAppsSetting(void);
int WriteAppsSetting(int on);
// Composes the apps file's path of a day's date into the one path buffer.
const WCHAR* AppsFilePath(int date);
