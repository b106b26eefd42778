// Day files: 2880 bytes a day, three series of 240 little-endian 32-bit values, -1 for no data.
#include <stdio.h>
#include <string.h>

#include <shlwapi.h>

#include "app/report.h"
#include "app/texts.h"
#include "store/state.h"
#include "store/store.h"

// How long a slot write waits for a file that another program holds open (a backup tool or
// a virus scanner): short enough not to hold up the user interface noticeably.
enum { LockedRetries = 8, LockedRetryMs = 5 };

void ComposeDayFilePath(int day)
{
    snprintf(App.DayFilePath, sizeof App.DayFilePath, FormatDayFilePath, App.DataDirectory,
             App.DayFileNames[day]);
}

static HANDLE OpenDayFile(DWORD access, DWORD disposition)
{
    // No sharing: while an operation runs, no other program can open the file.
    return CreateFileA(App.DayFilePath, access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
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

// Creates today's file holding the buffer; a file that did not get all its bytes is removed,
// so that a short file never passes for a created one.
static int CreateTodayFileFrom(const unsigned char* content)
{
    ComposeDayFilePath(0);
    HANDLE file = OpenDayFile(GENERIC_WRITE, CREATE_NEW);
    if (file == INVALID_HANDLE_VALUE) return 0;
    int ok = WriteAll(file, content, DayFileSize) && FlushFileBuffers(file);
    CloseHandle(file);
    if (!ok) DeleteFileA(App.DayFilePath);
    return ok;
}

int CreateDayFile(HWND owner)
{
    memset(App.DayFileBuffer, 0xFF, sizeof App.DayFileBuffer);
    if (!CreateTodayFileFrom(App.DayFileBuffer)) {
        ReportFailure(owner, TextCreateFailed, TextErrorCaption);
        return -1;
    }
    return 1;
}

void ClearDayColumn(int day)
{
    for (int m = 0; m < MetricCount; ++m) {
        for (int s = 0; s < SlotCount; ++s) App.ActivityTable[m][s][day] = NoData;
        App.DayMaxima[m][day] = 0;
    }
}

int ReadDayFile(HWND owner, int day)
{
    ComposeDayFilePath(day);
    HANDLE file = OpenDayFile(GENERIC_READ, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) {
        ReportFailure(owner, TextOpenFailed, TextOpenCaption);
        return 0;
    }
    DWORD total = 0, got = 0;
    while (total < DayFileSize &&
           ReadFile(file, App.DayFileBuffer + total, DayFileSize - total, &got, nullptr) && got > 0)
        total += got;
    CloseHandle(file);

    // Values past the end of a short file are no data, and so is anything below -1: every
    // cell holds -1, 0 or a count afterwards.
    for (int m = 0; m < MetricCount; ++m) {
        App.DayMaxima[m][day] = 0;
        for (int s = 0; s < SlotCount; ++s) {
            DWORD offset = m * MetricBytes + s * 4;
            int v = offset + 4 <= total ? GetValue(App.DayFileBuffer + offset) : NoData;
            if (v < NoData) v = NoData;
            App.ActivityTable[m][s][day] = v;
            if (v != NoData && static_cast<unsigned>(v) > static_cast<unsigned>(App.DayMaxima[m][day]))
                App.DayMaxima[m][day] = v;
        }
    }
    return 1;
}

int LoadDayColumn(HWND owner, int day)
{
    ComposeDayFilePath(day);
    if (PathFileExistsA(App.DayFilePath)) return ReadDayFile(owner, day);
    ClearDayColumn(day);
    return 1;
}

// Opens today's file for a slot write, waiting briefly while another program holds it.
static HANDLE OpenTodayForWrite(void)
{
    ComposeDayFilePath(0);
    HANDLE file = OpenDayFile(GENERIC_WRITE, OPEN_EXISTING);
    for (int i = 0; file == INVALID_HANDLE_VALUE && i < LockedRetries; ++i) {
        DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) break;
        Sleep(LockedRetryMs);
        file = OpenDayFile(GENERIC_WRITE, OPEN_EXISTING);
    }
    return file;
}

// Today's column holds every slot recorded today: the whole file can be made again from it.
static void FillBufferFromToday(void)
{
    for (int m = 0; m < MetricCount; ++m)
        for (int s = 0; s < SlotCount; ++s)
            PutValue(App.DayFileBuffer + m * MetricBytes + s * 4, App.ActivityTable[m][s][0]);
}

// Today's file was deleted while the program ran: make it again from today's column.
static int RecreateTodayFile(void)
{
    FillBufferFromToday();
    CreateDirectoryA(App.DataDirectory, nullptr);
    if (!CreateTodayFileFrom(App.DayFileBuffer)) return 0;
    memset(App.SlotUnsaved, 0, sizeof App.SlotUnsaved);
    return 1;
}

// Writes the three values of every unsaved slot; a slot stays unsaved if a write fails.
static int WriteUnsavedSlots(HANDLE file)
{
    int ok = 1;
    for (int s = 0; s < SlotCount; ++s) {
        if (!App.SlotUnsaved[s]) continue;
        int slotOk = 1;
        for (int m = 0; m < MetricCount; ++m) {
            unsigned char bytes[4];
            PutValue(bytes, App.ActivityTable[m][s][0]);
            slotOk &= SetFilePointer(file, m * MetricBytes + s * 4, nullptr, FILE_BEGIN) !=
                          INVALID_SET_FILE_POINTER &&
                      WriteAll(file, bytes, sizeof bytes);
        }
        if (slotOk) App.SlotUnsaved[s] = 0;
        ok &= slotOk;
    }
    return ok;
}

// Another program cut today's file short or made it longer: writing single slots into it
// would leave a gap of zeros that reads as slots recorded without activity, so the whole file
// is written again from today's column.
static int RewriteWholeFile(HANDLE file)
{
    FillBufferFromToday();
    int ok = SetFilePointer(file, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
             WriteAll(file, App.DayFileBuffer, DayFileSize) && SetEndOfFile(file);
    if (ok) memset(App.SlotUnsaved, 0, sizeof App.SlotUnsaved);
    return ok;
}

int WriteSlot(HWND owner, int slot)
{
    // Marked first: whatever fails below, the slot reaches the file at the next write that works.
    App.SlotUnsaved[slot] = 1;
    HANDLE file = OpenTodayForWrite();
    int ok;
    if (file != INVALID_HANDLE_VALUE) {
        ok = GetFileSize(file, nullptr) == DayFileSize ? WriteUnsavedSlots(file) : RewriteWholeFile(file);
        // A power cut then loses at most the slot being recorded.
        FlushFileBuffers(file);
        CloseHandle(file);
    } else {
        DWORD error = GetLastError();
        ok = (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) && RecreateTodayFile();
    }
    if (!ok) {
        ReportFailure(owner, TextCreateFailed, TextErrorCaption);
        return -1;
    }
    return 1;
}

void ClearIntervalCounters(void)
{
    App.LeftClicks = App.MiddleClicks = App.RightClicks = 0;
    App.MoveX = App.MoveY = App.KeyTouches = 0;
}

int ResetData(HWND owner)
{
    for (int d = 0; d < DayCount; ++d) ClearDayColumn(d);
    ClearIntervalCounters();
    memset(App.SlotBase, 0, sizeof App.SlotBase);
    memset(App.SlotUnsaved, 0, sizeof App.SlotUnsaved);
    for (int d = 0; d < DayCount; ++d) {
        ComposeDayFilePath(d);
        DeleteFileA(App.DayFilePath);
    }
    if (CreateDayFile(owner) != 1) return -1;
    InvalidateRect(owner, nullptr, TRUE);
    return 0;
}
