// Day files: 2880 bytes a day, three series of 240 little-endian 32-bit values, -1 for no data.
#include "store/dayfile.h"

#include <string.h>

#include "base/dates.h"
#include "store/datafolder.h"
#include "store/days.h"

const char DayFilePattern[] = "*.dat";
const char DayFileSuffix[] = ".dat";
static const char FormatDayFileName[] = "%04d%02d%02d.dat";

// How long a slot write waits, in all, for files that another program holds open (a backup tool
// or a virus scanner): short enough not to hold the clock up; a file still held is written later.
enum : DWORD { WriteWaitMs = 40, WriteRetryMs = 5 };
// Reads that may wait (the CSV export) wait longer for a file held for a moment at logon.
enum : DWORD { ExportReadWaitMs = 3000, ReadRetryMs = 50 };

void ComposeDayFileName(int date, char* name, int size) { FormatDate(FormatDayFileName, date, name, size); }

// Every operation composes its own path and uses it at once.
static const WCHAR* DayFilePath(int day) { return ComposeDataFilePath(Days.DayFileNames[day]); }

// The file of a date that need not be among the 21 days.
static const WCHAR* DatedFilePath(int date)
{
    char name[16];
    ComposeDayFileName(date, name, sizeof name);
    return ComposeDataFilePath(name);
}

static int HeldByAnotherProgram(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Opens a day file with no sharing (while an operation runs, no other program can open it),
// trying again while another program holds it, for as long as the wait left allows; the time
// waited is taken from it. The last error is left for the caller.
static HANDLE OpenHeldFile(const WCHAR* path, DWORD access, DWORD disposition, DWORD* waitLeft, DWORD pauseMs)
{
    for (;;) {
        HANDLE file = CreateFileW(path, access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || *waitLeft < pauseMs) return file;
        DWORD error = GetLastError();
        if (!HeldByAnotherProgram(error)) return file;
        Sleep(pauseMs);
        *waitLeft -= pauseMs;
        SetLastError(error);
    }
}

static HANDLE OpenDayFile(int day, DWORD access, DWORD disposition, DWORD* waitLeft, DWORD pauseMs)
{
    return OpenHeldFile(DayFilePath(day), access, disposition, waitLeft, pauseMs);
}


static void PutValue(unsigned char* bytes, int value)
{
    unsigned int v = static_cast<unsigned int>(value);
    bytes[0] = static_cast<unsigned char>(v);
    bytes[1] = static_cast<unsigned char>(v >> 8);
    bytes[2] = static_cast<unsigned char>(v >> 16);
    bytes[3] = static_cast<unsigned char>(v >> 24);
}

static int GetValue(const unsigned char* bytes)
{
    unsigned int v = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<unsigned int>(bytes[3]) << 24;
    return static_cast<int>(v);
}

// Creates day d's file holding the buffer; a file that did not get all its bytes is removed,
// so that a short file never passes for a created one.
static int CreateDayFileFrom(int day, const unsigned char* content)
{
    DWORD noWait = 0;
    HANDLE file = OpenDayFile(day, GENERIC_WRITE, CREATE_NEW, &noWait, 0);
    if (file == INVALID_HANDLE_VALUE) return 0;
    int ok = WriteAll(file, content, DayFileSize) && FlushFileBuffers(file);
    CloseHandle(file);
    if (!ok) DeleteFileW(DayFilePath(day));
    return ok;
}

int CreateDayFile(void)
{
    memset(Days.FileBuffer, 0xFF, sizeof Days.FileBuffer);
    Days.TodayFileUnmade = !CreateDayFileFrom(0, Days.FileBuffer);
    return Days.TodayFileUnmade ? -1 : 1;
}

int DayFileExists(int day) { return GetFileAttributesW(DayFilePath(day)) != INVALID_FILE_ATTRIBUTES; }

// Reads up to a whole day file into the day buffer, waiting up to waitMs while another program
// holds it; the bytes read, or -1 when the file cannot be opened.
static long ReadDayBytes(const WCHAR* path, DWORD waitMs)
{
    HANDLE file = OpenHeldFile(path, GENERIC_READ, OPEN_EXISTING, &waitMs, ReadRetryMs);
    if (file == INVALID_HANDLE_VALUE) return -1;
    DWORD total = 0, got = 0;
    while (total < DayFileSize &&
           ReadFile(file, Days.FileBuffer + total, DayFileSize - total, &got, nullptr) && got > 0)
        total += got;
    CloseHandle(file);
    return static_cast<long>(total);
}

// Values past the end of a short file are no data, and so is anything below -1: every cell
// holds -1, 0 or a count afterwards.
static int ValueRead(long total, int metric, int slot)
{
    long offset = metric * MetricBytes + slot * 4;
    int v = offset + 4 <= total ? GetValue(Days.FileBuffer + offset) : NoData;
    return v < NoData ? NoData : v;
}


int ReadDayFile(int day, DWORD waitMs)
{
    long total = ReadDayBytes(DayFilePath(day), waitMs);
    if (total < 0) return 0;
    for (int m = 0; m < MetricCount; ++m)
        for (int s = 0; s < SlotCount; ++s) Days.ActivityTable[m][s][day] = ValueRead(total, m, s);
    RaiseDayMaxima(day);
    memset(Days.SlotUnsaved[day], 0, sizeof Days.SlotUnsaved[day]);
    NoteUnsavedSlots(day);
    Days.DayUnread[day] = 0;
    return 1;
}

int ReadDatedFile(int date, int* values)
{
    long total = ReadDayBytes(DatedFilePath(date), ExportReadWaitMs);
    if (total < 0) return 0;
    for (int m = 0; m < MetricCount; ++m)
        for (int s = 0; s < SlotCount; ++s) values[m * SlotCount + s] = ValueRead(total, m, s);
    return 1;
}

int LoadTodayFile(void)
{
    if (DayFileExists(0)) return LoadDayColumn(0);
    ClearDayColumn(0);
    return CreateDayFile();
}

int LoadDayColumn(int day, DWORD waitMs)
{
    if (!DayFileExists(day)) {
        ClearDayColumn(day);
        return 1;
    }
    if (ReadDayFile(day, waitMs)) return 1;
    // Shown as no data until the file can be read; what is recorded meanwhile is kept apart
    // from the file's values by the unread mark.
    ClearDayColumn(day);
    Days.DayUnread[day] = 1;
    return 0;
}

// An unread day's file read at last. Its column holds only what this run recorded meanwhile, none
// of it written yet: where the file holds a slot too (an earlier run in the same slot), the slot
// goes on from the file's values, as a slot begun on a read day does. A file that has gone leaves
// the day as memory holds it; its pending slots make the file again.
static int ReadUnreadDay(int day)
{
    if (!DayFileExists(day)) {
        Days.DayUnread[day] = 0;
        return 1;
    }
    long total = ReadDayBytes(DayFilePath(day), 0);
    if (total < 0) return 0;
    for (int m = 0; m < MetricCount; ++m) {
        for (int s = 0; s < SlotCount; ++s) {
            int v = ValueRead(total, m, s);
            int* cell = &Days.ActivityTable[m][s][day];
            if (v == NoData) continue;
            if (*cell == NoData) {
                *cell = v;
                continue;
            }
            *cell += v;
            if (day == 0 && s == Days.CurrentSlot) Days.SlotBase[m] += v;
        }
    }
    RaiseDayMaxima(day);
    Days.DayUnread[day] = 0;
    return 1;
}

int ReadUnreadDays(void)
{
    int left = 0;
    for (int day = 0; day < DayCount; ++day)
        if (Days.DayUnread[day] && !ReadUnreadDay(day)) ++left;
    return left;
}

// The day's column holds every slot recorded that day: the whole file can be made from it.
static void FillBufferFromDay(int day)
{
    for (int m = 0; m < MetricCount; ++m)
        for (int s = 0; s < SlotCount; ++s)
            PutValue(Days.FileBuffer + m * MetricBytes + s * 4, Days.ActivityTable[m][s][day]);
}

// The day's file was deleted while the program ran: make it again from the day's column.
static int RecreateDayFile(int day)
{
    FillBufferFromDay(day);
    MakeDataDirectory();
    if (!CreateDayFileFrom(day, Days.FileBuffer)) return 0;
    memset(Days.SlotUnsaved[day], 0, sizeof Days.SlotUnsaved[day]);
    NoteUnsavedSlots(day);
    if (day == 0) Days.TodayFileUnmade = 0;
    return 1;
}

// Writes the three values of every unsaved slot of the day; a slot stays unsaved if a write fails.
static int WriteUnsavedSlots(HANDLE file, int day)
{
    int ok = 1;
    for (int s = 0; s < SlotCount; ++s) {
        if (!Days.SlotUnsaved[day][s]) continue;
        int slotOk = 1;
        for (int m = 0; m < MetricCount; ++m) {
            unsigned char bytes[4];
            PutValue(bytes, Days.ActivityTable[m][s][day]);
            slotOk &= SetFilePointer(file, m * MetricBytes + s * 4, nullptr, FILE_BEGIN) !=
                          INVALID_SET_FILE_POINTER &&
                      WriteAll(file, bytes, sizeof bytes);
        }
        if (slotOk) Days.SlotUnsaved[day][s] = 0;
        ok &= slotOk;
    }
    return ok;
}

// Another program cut the file short or made it longer: writing single slots into it would
// leave a gap of zeros that reads as slots recorded without activity, so the whole file is
// written again from the day's column.
static int RewriteWholeFile(HANDLE file, int day)
{
    FillBufferFromDay(day);
    int ok = SetFilePointer(file, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
             WriteAll(file, Days.FileBuffer, DayFileSize) && SetEndOfFile(file);
    if (ok) memset(Days.SlotUnsaved[day], 0, sizeof Days.SlotUnsaved[day]);
    return ok;
}

static int HasUnsavedSlots(int day) { return (Days.UnsavedDays >> day) & 1; }

int SlotsWaitingToBeWritten(void) { return Days.UnsavedDays != 0; }

// Writes the unsaved slots of day d into that day's own file. A day that is still unread writes
// nothing: its file is never written over from a column that does not hold the file's values, and
// its slots wait in memory until the file has been read.
static int SaveUnsavedSlots(int day, DWORD* waitLeft)
{
    if (Days.DayUnread[day] && !ReadUnreadDay(day)) return SlotDayUnread;
    HANDLE file = OpenDayFile(day, GENERIC_WRITE, OPEN_EXISTING, waitLeft, WriteRetryMs);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (HeldByAnotherProgram(error)) return SlotFileHeld;
        int made = (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) && RecreateDayFile(day);
        return made ? SlotWritten : SlotNotWritten;
    }
    int ok = GetFileSize(file, nullptr) == DayFileSize ? WriteUnsavedSlots(file, day) : RewriteWholeFile(file, day);
    // A power cut then loses at most the slot being recorded.
    FlushFileBuffers(file);
    CloseHandle(file);
    if (ok && day == 0) Days.TodayFileUnmade = 0;
    return ok ? SlotWritten : SlotNotWritten;
}

int WriteSlot(int slot)
{
    // Marked first: whatever fails below, the slot reaches the file at the next write that
    // works, also once its day is yesterday or earlier.
    Days.SlotUnsaved[0][slot] = 1;
    NoteUnsavedSlots(0);
    DWORD waitLeft = WriteWaitMs;
    int result = SlotWritten;
    for (int day = 0; day < DayCount; ++day) {
        if (!HasUnsavedSlots(day)) continue;
        // Of several failures the one that most needs the user is told.
        int saved = SaveUnsavedSlots(day, &waitLeft);
        NoteUnsavedSlots(day);
        if (saved != SlotWritten && (result == SlotWritten || saved > result)) result = saved;
    }
    return result;
}

int HasDayFile(int day)
{
    DWORD attributes = GetFileAttributesW(DayFilePath(day));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
