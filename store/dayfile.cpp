// Day files: 2880 bytes a day, three series of 240 little-endian 32-bit values, -1 for no data.
#include <stdio.h>
#include <string.h>

#include "res/texts.h"
#include "store/recyclebin.h"
#include "store/state.h"
#include "store/store.h"

// How long a slot write waits, in all, for files that another program holds open (a backup tool
// or a virus scanner): short enough not to hold the clock up; a file still held is written later.
enum : DWORD { WriteWaitMs = 40, WriteRetryMs = 5 };
// Reads that may wait (the CSV export) wait longer for a file held for a moment at logon.
enum : DWORD { ExportReadWaitMs = 3000, ReadRetryMs = 50 };

// Every operation composes its own path into the one path buffer and uses it at once.
static const WCHAR* DayFilePath(int day) { return ComposeDataFilePath(App.DayFileNames[day]); }

// The file of a date that need not be among the 21 days.
static const WCHAR* DatedFilePath(int date)
{
    char name[16];
    snprintf(name, sizeof name, FormatDayFileName, date / 10000, date / 100 % 100, date % 100);
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

static int WriteAll(HANDLE file, const void* data, DWORD size)
{
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
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
    if (!ok) DeleteFileW(App.DayFilePath);
    return ok;
}

int CreateDayFile(void)
{
    memset(App.DayFileBuffer, 0xFF, sizeof App.DayFileBuffer);
    if (!CreateDayFileFrom(0, App.DayFileBuffer)) return -1;
    App.TodayFileUnmade = 0;
    return 1;
}

int DayFileExists(int day) { return GetFileAttributesW(DayFilePath(day)) != INVALID_FILE_ATTRIBUTES; }

void ClearDayColumn(int day)
{
    for (int m = 0; m < MetricCount; ++m) {
        for (int s = 0; s < SlotCount; ++s) App.ActivityTable[m][s][day] = NoData;
        App.DayMaxima[m][day] = 0;
    }
    memset(App.SlotUnsaved[day], 0, sizeof App.SlotUnsaved[day]);
    App.DayUnread[day] = 0;
}

// Reads up to a whole day file into the day buffer, waiting up to waitMs while another program
// holds it; the bytes read, or -1 when the file cannot be opened.
static long ReadDayBytes(const WCHAR* path, DWORD waitMs)
{
    HANDLE file = OpenHeldFile(path, GENERIC_READ, OPEN_EXISTING, &waitMs, ReadRetryMs);
    if (file == INVALID_HANDLE_VALUE) return -1;
    DWORD total = 0, got = 0;
    while (total < DayFileSize &&
           ReadFile(file, App.DayFileBuffer + total, DayFileSize - total, &got, nullptr) && got > 0)
        total += got;
    CloseHandle(file);
    return static_cast<long>(total);
}

// Values past the end of a short file are no data, and so is anything below -1: every cell
// holds -1, 0 or a count afterwards.
static int ValueRead(long total, int metric, int slot)
{
    long offset = metric * MetricBytes + slot * 4;
    int v = offset + 4 <= total ? GetValue(App.DayFileBuffer + offset) : NoData;
    return v < NoData ? NoData : v;
}

static void RaiseDayMaxima(int day)
{
    for (int m = 0; m < MetricCount; ++m) {
        App.DayMaxima[m][day] = 0;
        for (int s = 0; s < SlotCount; ++s) {
            int v = App.ActivityTable[m][s][day];
            if (v != NoData && static_cast<unsigned>(v) > static_cast<unsigned>(App.DayMaxima[m][day]))
                App.DayMaxima[m][day] = v;
        }
    }
}

int ReadDayFile(int day, DWORD waitMs)
{
    long total = ReadDayBytes(DayFilePath(day), waitMs);
    if (total < 0) return 0;
    for (int m = 0; m < MetricCount; ++m)
        for (int s = 0; s < SlotCount; ++s) App.ActivityTable[m][s][day] = ValueRead(total, m, s);
    RaiseDayMaxima(day);
    memset(App.SlotUnsaved[day], 0, sizeof App.SlotUnsaved[day]);
    App.DayUnread[day] = 0;
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
    App.DayUnread[day] = 1;
    return 0;
}

// An unread day's file read at last. Its column holds only what this run recorded meanwhile, none
// of it written yet: where the file holds a slot too (an earlier run in the same slot), the slot
// goes on from the file's values, as a slot begun on a read day does. A file that has gone leaves
// the day as memory holds it; its pending slots make the file again.
static int ReadUnreadDay(int day)
{
    if (!DayFileExists(day)) {
        App.DayUnread[day] = 0;
        return 1;
    }
    long total = ReadDayBytes(DayFilePath(day), 0);
    if (total < 0) return 0;
    for (int m = 0; m < MetricCount; ++m) {
        for (int s = 0; s < SlotCount; ++s) {
            int v = ValueRead(total, m, s);
            int* cell = &App.ActivityTable[m][s][day];
            if (v == NoData) continue;
            if (*cell == NoData) {
                *cell = v;
                continue;
            }
            *cell += v;
            if (day == 0 && s == App.CurrentSlot) App.SlotBase[m] += v;
        }
    }
    RaiseDayMaxima(day);
    App.DayUnread[day] = 0;
    return 1;
}

int ReadUnreadDays(void)
{
    int left = 0;
    for (int day = 0; day < DayCount; ++day)
        if (App.DayUnread[day] && !ReadUnreadDay(day)) ++left;
    return left;
}

// The day's column holds every slot recorded that day: the whole file can be made from it.
static void FillBufferFromDay(int day)
{
    for (int m = 0; m < MetricCount; ++m)
        for (int s = 0; s < SlotCount; ++s)
            PutValue(App.DayFileBuffer + m * MetricBytes + s * 4, App.ActivityTable[m][s][day]);
}

// The day's file was deleted while the program ran: make it again from the day's column.
static int RecreateDayFile(int day)
{
    FillBufferFromDay(day);
    CreateDirectoryW(App.DataDirectory, nullptr);
    if (!CreateDayFileFrom(day, App.DayFileBuffer)) return 0;
    memset(App.SlotUnsaved[day], 0, sizeof App.SlotUnsaved[day]);
    if (day == 0) App.TodayFileUnmade = 0;
    return 1;
}

// Writes the three values of every unsaved slot of the day; a slot stays unsaved if a write fails.
static int WriteUnsavedSlots(HANDLE file, int day)
{
    int ok = 1;
    for (int s = 0; s < SlotCount; ++s) {
        if (!App.SlotUnsaved[day][s]) continue;
        int slotOk = 1;
        for (int m = 0; m < MetricCount; ++m) {
            unsigned char bytes[4];
            PutValue(bytes, App.ActivityTable[m][s][day]);
            slotOk &= SetFilePointer(file, m * MetricBytes + s * 4, nullptr, FILE_BEGIN) !=
                          INVALID_SET_FILE_POINTER &&
                      WriteAll(file, bytes, sizeof bytes);
        }
        if (slotOk) App.SlotUnsaved[day][s] = 0;
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
             WriteAll(file, App.DayFileBuffer, DayFileSize) && SetEndOfFile(file);
    if (ok) memset(App.SlotUnsaved[day], 0, sizeof App.SlotUnsaved[day]);
    return ok;
}

static int HasUnsavedSlots(int day)
{
    for (int s = 0; s < SlotCount; ++s)
        if (App.SlotUnsaved[day][s]) return 1;
    return 0;
}

int SlotsWaitingToBeWritten(void)
{
    for (int day = 0; day < DayCount; ++day)
        if (HasUnsavedSlots(day)) return 1;
    return 0;
}

// Writes the unsaved slots of day d into that day's own file. A day that is still unread writes
// nothing: its file is never written over from a column that does not hold the file's values, and
// its slots wait in memory until the file has been read.
static int SaveUnsavedSlots(int day, DWORD* waitLeft)
{
    if (App.DayUnread[day] && !ReadUnreadDay(day)) return SlotDayUnread;
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
    if (ok && day == 0) App.TodayFileUnmade = 0;
    return ok ? SlotWritten : SlotNotWritten;
}

int WriteSlot(int slot)
{
    // Marked first: whatever fails below, the slot reaches the file at the next write that
    // works, also once its day is yesterday or earlier.
    App.SlotUnsaved[0][slot] = 1;
    DWORD waitLeft = WriteWaitMs;
    int result = SlotWritten;
    for (int day = 0; day < DayCount; ++day) {
        if (!HasUnsavedSlots(day)) continue;
        // Of several failures the one that most needs the user is told.
        int saved = SaveUnsavedSlots(day, &waitLeft);
        if (saved != SlotWritten && (result == SlotWritten || saved > result)) result = saved;
    }
    return result;
}

void CopyDayColumn(int to, int from)
{
    for (int m = 0; m < MetricCount; ++m) {
        for (int s = 0; s < SlotCount; ++s) App.ActivityTable[m][s][to] = App.ActivityTable[m][s][from];
        App.DayMaxima[m][to] = App.DayMaxima[m][from];
    }
    memcpy(App.SlotUnsaved[to], App.SlotUnsaved[from], sizeof App.SlotUnsaved[to]);
    App.DayUnread[to] = App.DayUnread[from];
}

// The reset's own folder beside the day files, named by its time; a second reset within the same
// second gets a numbered one. 0 when no folder can be made.
static int MakeResetFolder(const SYSTEMTIME* now)
{
    enum { Attempts = 100 };
    for (int n = 1; n <= Attempts; ++n) {
        char name[48];
        int length = snprintf(name, sizeof name, FormatResetFolder, now->wYear, now->wMonth, now->wDay, now->wHour,
                              now->wMinute, now->wSecond);
        if (n > 1 && length > 0) snprintf(name + length, sizeof name - length, FormatResetNumber, n);
        lstrcpynW(App.ResetFolder, App.DataDirectory, PathCapacity);
        // The copies in it may pass MAX_PATH where the day files do not.
        if (!AppendName(App.ResetFolder, PathCapacity, name) || !ToLongPathForm(App.ResetFolder, PathCapacity))
            return 0;
        if (CreateDirectoryW(App.ResetFolder, nullptr)) return 1;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return 0;
    }
    return 0;
}

static const WCHAR* ResetCopyPath(int day)
{
    lstrcpynW(App.ResetCopyPath, App.ResetFolder, PathCapacity);
    AppendName(App.ResetCopyPath, PathCapacity, App.DayFileNames[day]);
    return App.ResetCopyPath;
}

// Copies every existing file of the 21 days whole into the reset folder and lists the originals
// that have their copy, for the Recycle Bin; a file that cannot be copied (held without sharing, a
// full disk) is left where it is. Nonzero when every original that has its copy is in the list:
// the paths of a data folder in the long form are too long for it, and the bin would not take them.
static int KeepDayFiles(int* count)
{
    *count = 0;
    int whole = 1;
    int used = 0;
    for (int d = 0; d < DayCount; ++d) {
        App.ResetKept[d] = 0;
        const WCHAR* original = DayFilePath(d);
        if (!CopyFileW(original, ResetCopyPath(d), TRUE)) continue;
        App.ResetKept[d] = 1;
        ++*count;
        int length = lstrlenW(original) + 1;
        if (length > MAX_PATH || used + length >= DayCount * MAX_PATH) {
            whole = 0;
            continue;
        }
        memcpy(App.ResetList + used, original, length * sizeof(WCHAR));
        used += length;
    }
    App.ResetList[used] = L'\0';
    return whole;
}

// Day d has a file of its own (not a folder of its name, which no reset takes away).
static int HasDayFile(int day)
{
    DWORD attributes = GetFileAttributesW(DayFilePath(day));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The files of the reset go where the user can take them back whole. Each is first copied into the
// reset folder; then the originals go to the Recycle Bin, and where the bin is known to hold them
// the copies are removed again. Where it is not (no bin on the drive, a bin that deleted them
// instead, one that cannot be counted, or paths too long for it), the copies stay and the
// originals are removed. A day whose file is still there afterwards (it could not be copied, sent
// or removed) keeps its column: what the graph shows after the reset is what the next start reads.
int ResetData(const SYSTEMTIME* now, int* daysKept)
{
    unsigned char hadFile[DayCount];
    for (int d = 0; d < DayCount; ++d) hadFile[d] = static_cast<unsigned char>(HasDayFile(d));
    if (MakeResetFolder(now)) {
        int count = 0;
        int recycled = KeepDayFiles(&count) && RecycleFiles(App.ResetList, count);
        for (int d = 0; d < DayCount; ++d) {
            if (!App.ResetKept[d]) continue;
            DeleteFileW(recycled ? ResetCopyPath(d) : DayFilePath(d));
            // An original that stayed keeps its day; a copy would only be a second file of it.
            if (!recycled && HasDayFile(d)) DeleteFileW(ResetCopyPath(d));
        }
        // Only an empty folder goes: a reset into the bin, or of no files, leaves none behind.
        RemoveDirectoryW(App.ResetFolder);
    }
    *daysKept = 0;
    for (int d = 0; d < DayCount; ++d) {
        if (hadFile[d] && HasDayFile(d)) {
            ++*daysKept;
            continue;
        }
        ClearDayColumn(d);
        if (d == 0) memset(App.SlotBase, 0, sizeof App.SlotBase);
    }
    if (hadFile[0] && HasDayFile(0)) return 0;
    if (CreateDayFile() == 1) return 0;
    App.TodayFileUnmade = 1;
    return -1;
}
