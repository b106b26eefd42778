// Key touches per physical key and presses per mouse button: today's counts, those of finished
// days whose files could not be written yet, and the switch that says whether they are recorded.
#pragma once
#include <windows.h>

#include "store/days.h"

// A key is its scan code with the extended flag, so the same key whatever the keyboard layout:
// 256 plain codes, then 256 extended ones, then the mouse's five buttons and its wheel.
enum {
    KeyScanCodes = 256,
    KeyExtended = KeyScanCodes,
    KeyLeftButton = 2 * KeyScanCodes,
    KeyRightButton,
    KeyMiddleButton,
    KeyXButton1,
    KeyXButton2,
    KeyWheel,
    KeyIndexCount
};
// A name of the keys file ("SC1E", "SCE01C", "LBUTTON") with its end.
enum { KeyNameSize = 16 };

// One day's counts. Unread: its file exists but could not be read, so it is not written until
// read, and what was counted meanwhile is added to the file's counts then. WrittenSum: the sum of
// the counts its file holds, so that a day that did not change is not written again.
struct KeysDay {
    int Date;
    int Unread;
    long long WrittenSum;
    long long Counts[KeyIndexCount];
};

// Written by store/'s files alone; app/ counts through AddKeyPress and changes the switch through
// SetKeysRecording. Finished days whose files could not be written wait, oldest first, as long as
// the day files' days do; each is written at every save until its file takes it, whatever the
// switch.
struct KeyDays {
    int Recording;
    KeysDay Today;
    KeysDay Waiting[DayCount];
    int WaitingCount;
};
extern KeyDays KeysOfDays;

inline int KeysRecorded(void) { return KeysOfDays.Recording; }
inline int TodaysKeysUnread(void) { return KeysOfDays.Today.Unread; }
inline int TodaysKeysDate(void) { return KeysOfDays.Today.Date; }
inline void AddKeyPress(int index) { ++KeysOfDays.Today.Counts[index]; }
inline void AddWheelNotches(int notches) { KeysOfDays.Today.Counts[KeyWheel] += notches; }

// The name of a key's index in the keys file, and the index of a name (-1 for none).
void ComposeKeyName(int index, char* name, int size);
int KeyOfName(const char* name, int length);
// The day holds counts its file does not have yet.
int KeysChanged(const KeysDay* day);
// Empties the day's counts and gives them the date.
void ClearKeysDay(KeysDay* day, int date);
void SetKeysRecording(int on);
// Starts today's counts for a date: empty, then the date's file added; a file that cannot be read
// marks them unread. Counts of the date not yet written are never started anew.
void LoadKeysOfToday(int date);
// Writes what changed, whatever the switch: the finished days' counts first, then today's, each
// read first if still unread. 1; 0 when a write failed (it is tried again at the next call); -1
// when a file is still unread.
int SaveKeys(void);
// Ends today's counts at a change of day: they are written (or kept waiting) and the date's counts
// begin; the days waiting are tried again. As SaveKeys.
int RollKeysOver(int date);
// A file of today's or of a waiting day's counts could not be read yet.
int KeysFilesUnread(void);
// The waiting day of a date, or null.
const KeysDay* WaitingKeysDay(int date);
// The data reset has taken the files of the days it clears (cleared[d] for the day d days before
// today): their counts go, today's start empty when today's went.
void ClearResetKeysDays(int today, const unsigned char* cleared);
