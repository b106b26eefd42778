// Key touches per physical key and presses per mouse button: the counts of a day, and today's as
// they are written at the changes of slot and of day; finished days that could not be written
// wait here.
#include "store/keyrecords.h"

#include <stdio.h>
#include <string.h>

#include "base/dates.h"
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

int KeysChanged(const KeysDay* day) { return SumOfCounts(day) != day->WrittenSum; }

void LoadKeysOfToday(int date)
{
    KeysDay* today = &KeysOfDays.Today;
    if (today->Date == date && KeysChanged(today)) return;
    ClearKeysDay(today, date);
    today->Unread = !AddKeysFile(date, today->Counts);
    today->WrittenSum = SumOfCounts(today);
}

// 1 when the day's file holds its counts (a day without any writes none); 0 when the write
// failed; -1 while its file cannot be read. A file read late is written again with the counts
// made meanwhile added.
static int SaveKeysDay(KeysDay* day)
{
    if (day->Unread && !KeysChanged(day)) return 1;
    if (day->Unread && AddKeysFile(day->Date, day->Counts)) day->Unread = 0, day->WrittenSum = -1;
    if (day->Unread) return -1;
    long long sum = SumOfCounts(day);
    if (sum == day->WrittenSum || sum == 0) return 1;
    int written = WriteKeysFile(day);
    if (written) day->WrittenSum = sum;
    return written;
}

// The worst of two results: a failed write before an unread file, either before success.
static int WorseResult(int a, int b) { return a == 0 || b == 0 ? 0 : a < b ? a : b; }

static int SaveWaitingKeys(void)
{
    int result = 1, kept = 0;
    for (int i = 0; i < KeysOfDays.WaitingCount; ++i) {
        int saved = SaveKeysDay(&KeysOfDays.Waiting[i]);
        result = WorseResult(result, saved);
        if (saved == 1) continue;
        if (kept != i) KeysOfDays.Waiting[kept] = KeysOfDays.Waiting[i];
        ++kept;
    }
    KeysOfDays.WaitingCount = kept;
    return result;
}

int SaveKeys(void)
{
    int result = SaveWaitingKeys();
    return WorseResult(result, SaveKeysDay(&KeysOfDays.Today));
}

// A day that could not be written waits; a second wait for the same date (a clock set back) adds
// to the first. Past the capacity the oldest waiting day goes, as the day files' oldest day does.
static void WaitToBeWritten(const KeysDay* day)
{
    for (int i = 0; i < KeysOfDays.WaitingCount; ++i) {
        KeysDay* waiting = &KeysOfDays.Waiting[i];
        if (waiting->Date != day->Date) continue;
        for (int key = 0; key < KeyIndexCount; ++key) waiting->Counts[key] += day->Counts[key];
        return;
    }
    if (KeysOfDays.WaitingCount == DayCount) {
        memmove(&KeysOfDays.Waiting[0], &KeysOfDays.Waiting[1], (DayCount - 1) * sizeof(KeysDay));
        --KeysOfDays.WaitingCount;
    }
    KeysOfDays.Waiting[KeysOfDays.WaitingCount++] = *day;
}

int RollKeysOver(int date)
{
    KeysDay* today = &KeysOfDays.Today;
    if (date == today->Date) return 1;
    int waiting = SaveWaitingKeys();
    int result = SaveKeysDay(today);
    if (result != 1) WaitToBeWritten(today);
    ClearKeysDay(today, 0);
    LoadKeysOfToday(date);
    return WorseResult(waiting, result);
}

int KeysFilesUnread(void)
{
    int unread = KeysOfDays.Today.Unread;
    for (int i = 0; i < KeysOfDays.WaitingCount; ++i) unread |= KeysOfDays.Waiting[i].Unread;
    return unread;
}

const KeysDay* WaitingKeysDay(int date)
{
    for (int i = 0; i < KeysOfDays.WaitingCount; ++i)
        if (KeysOfDays.Waiting[i].Date == date) return &KeysOfDays.Waiting[i];
    return nullptr;
}

void ClearResetKeysDays(int today, const unsigned char* cleared)
{
    int kept = 0;
    for (int i = 0; i < KeysOfDays.WaitingCount; ++i) {
        int day = DaysBetween(KeysOfDays.Waiting[i].Date, today);
        if (day >= 0 && day < DayCount && cleared[day]) continue;
        if (kept != i) KeysOfDays.Waiting[kept] = KeysOfDays.Waiting[i];
        ++kept;
    }
    KeysOfDays.WaitingCount = kept;
    if (cleared[0]) ClearKeysDay(&KeysOfDays.Today, today);
}
