// Key touches per physical key and presses per mouse button: the counts of a day, and today's as
// they are written at the changes of slot and of day.
#include "store/keyrecords.h"

#include <stdio.h>
#include <string.h>

#include "store/keysfile.h"

KeyDays KeysOfDays;

static const char FormatPlainKey[] = "SC%02X";
static const char FormatExtendedKey[] = "SCE0%02X";
static const char* const ButtonNames[KeyIndexCount - KeyLeftButton] = {"LBUTTON",  "RBUTTON",  "MBUTTON",
                                                                        "XBUTTON1", "XBUTTON2", "WHEEL"};

void ComposeKeyName(int index, char* name, int size)
{
    if (index >= KeyLeftButton) snprintf(name, size, "%s", ButtonNames[index - KeyLeftButton]);
    else snprintf(name, size, index >= KeyExtended ? FormatExtendedKey : FormatPlainKey, index % KeyScanCodes);
}

static int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int KeyOfName(const char* name, int length)
{
    for (int b = 0; b < KeyIndexCount - KeyLeftButton; ++b)
        if (lstrlenA(ButtonNames[b]) == length && memcmp(ButtonNames[b], name, length) == 0) return KeyLeftButton + b;
    int extended = length == 6 && memcmp(name, "SCE0", 4) == 0;
    if (!extended && !(length == 4 && memcmp(name, "SC", 2) == 0)) return -1;
    int high = HexDigit(name[length - 2]), low = HexDigit(name[length - 1]);
    if (high < 0 || low < 0) return -1;
    return (extended ? KeyExtended : 0) + high * 16 + low;
}

static long long SumOfCounts(const KeysDay* day)
{
    long long sum = 0;
    for (long long count : day->Counts) sum += count;
    return sum;
}

void ClearKeysDay(KeysDay* day, int date)
{
    memset(day, 0, sizeof *day);
    day->Date = date;
}

void SetKeysRecording(int on) { KeysOfDays.Recording = on; }

void LoadKeysOfToday(int date)
{
    KeysDay* today = &KeysOfDays.Today;
    ClearKeysDay(today, date);
    today->Unread = !AddKeysFile(date, today->Counts);
    today->WrittenSum = SumOfCounts(today);
}

// 1 when the day's file holds its counts (a day without any writes none); 0 when the write
// failed; -1 while its file cannot be read. A file read late is written again with the counts
// made meanwhile added.
static int SaveKeysDay(KeysDay* day)
{
    if (day->Unread && AddKeysFile(day->Date, day->Counts)) day->Unread = 0, day->WrittenSum = -1;
    if (day->Unread) return -1;
    long long sum = SumOfCounts(day);
    if (sum == day->WrittenSum || sum == 0) return 1;
    int written = WriteKeysFile(day);
    if (written) day->WrittenSum = sum;
    return written;
}

int SaveKeys(void)
{
    KeysDay* earlier = &KeysOfDays.EarlierDay;
    int ok = 1;
    if (earlier->Unsaved) {
        int saved = SaveKeysDay(earlier);
        if (saved == 1) earlier->Unsaved = 0;
        else ok = 0;
    }
    int saved = SaveKeysDay(&KeysOfDays.Today);
    return saved == 0 || !ok ? 0 : saved;
}

int RollKeysOver(int date)
{
    KeysDay* earlier = &KeysOfDays.EarlierDay;
    if (date == KeysOfDays.Today.Date) return 1;
    // Only one finished day waits in memory: an older one still waiting has its last try here.
    if (earlier->Unsaved && SaveKeysDay(earlier) == 1) earlier->Unsaved = 0;
    int result = SaveKeysDay(&KeysOfDays.Today) == 1;
    if (!result) {
        *earlier = KeysOfDays.Today;
        earlier->Unsaved = 1;
    }
    LoadKeysOfToday(date);
    return result;
}

void ClearKeysOfDays(int today)
{
    ClearKeysDay(&KeysOfDays.Today, today);
    ClearKeysDay(&KeysOfDays.EarlierDay, 0);
}
