// Every recorded day as CSV: the lines of a day, the days of the data folder in order, and the
// file written whole beside its final name before it is put in place.
#include "store/csvfile.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "res/texts.h"
#include "store/state.h"
#include "store/store.h"

// Names tried for the file written beside the chosen one before the export gives up.
enum { CsvTempAttempts = 64 };

static int CompareDates(const void* a, const void* b)
{
    int x = *static_cast<const int*>(a), y = *static_cast<const int*>(b);
    return (x > y) - (x < y);
}

int CollectCsvDates(int capacity)
{
    int count = 0;
    App.CsvDates[count++] = App.TodayDate;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(ComposeDataFilePath(CsvDayFilePattern), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            int date = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? 0 : DateOfFileName(found.cFileName, DayFileSuffix);
            if (!date || date == App.TodayDate) continue;
            if (count == capacity) {
                count = -1;
                break;
            }
            App.CsvDates[count++] = date;
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    if (count > 0) qsort(App.CsvDates, count, sizeof App.CsvDates[0], CompareDates);
    return count;
}

// A value, or nothing for a slot without data.
static int FormatValue(char* text, int size, int value)
{
    if (value == NoData) return snprintf(text, size, ",");
    return snprintf(text, size, ",%d", value);
}

int FormatCsvDay(int date, const int* values, int lastSlot, char* text)
{
    int length = 0;
    for (int s = 0; s <= lastSlot && s < SlotCount; ++s) {
        length += snprintf(text + length, CsvTextSize - length, FormatCsvSlot, date / 10000, date / 100 % 100,
                           date % 100, s / 10, s % 10 * 6);
        for (int m = 0; m < MetricCount; ++m)
            length += FormatValue(text + length, CsvTextSize - length, values[m * SlotCount + s]);
        length += snprintf(text + length, CsvTextSize - length, "\r\n");
    }
    return length;
}

static int WriteAll(HANDLE file, const void* data, DWORD size)
{
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

int ReadListedDay(int date, int* values)
{
    int day = DaysBetween(date, App.TodayDate);
    if (day >= 0 && day < DayCount) {
        // A day whose file could not be read yet is tried once more; still held, it is unreadable
        // like any other, rather than a day without data.
        if (App.DayUnread[day]) ReadUnreadDays();
        if (App.DayUnread[day]) return -1;
        for (int m = 0; m < MetricCount; ++m)
            for (int s = 0; s < SlotCount; ++s) values[m * SlotCount + s] = App.ActivityTable[m][s][day];
    } else if (!ReadDatedFile(date, values)) {
        return -1;
    }
    return day == 0 ? App.CurrentSlot : SlotCount - 1;
}

static int WriteCsvDay(HANDLE file, int date)
{
    int lastSlot = ReadListedDay(date, App.CsvDay);
    if (lastSlot < 0) return 0;
    int length = FormatCsvDay(date, App.CsvDay, lastSlot, App.CsvText);
    return WriteAll(file, App.CsvText, static_cast<DWORD>(length));
}

static int WriteCsvDays(HANDLE file)
{
    int count = CollectCsvDates();
    if (count < 0) return 0;
    int ok = WriteAll(file, CsvByteOrderMark, sizeof CsvByteOrderMark - 1) &&
             WriteAll(file, CsvHeader, sizeof CsvHeader - 1);
    for (int i = 0; ok && i < count; ++i) ok = WriteCsvDay(file, App.CsvDates[i]);
    return ok && FlushFileBuffers(file);
}

// Creates a new empty file with a name of its own in the target's folder (its path is then in
// CsvTempPath), so that the finished file can take the target's place by a rename on
// the same volume. Composed here rather than by GetTempFileNameW, which takes no folder past
// MAX_PATH - 14.
static HANDLE CreateFileBeside(const WCHAR* target)
{
    int folder = static_cast<int>(AfterLastSeparator(target) - target);
    if (folder == 0 || folder >= PathCapacity) return INVALID_HANDLE_VALUE;
    DWORD unique = GetTickCount() ^ (GetCurrentProcessId() << 8);
    for (int attempt = 0; attempt < CsvTempAttempts; ++attempt) {
        char name[16];
        snprintf(name, sizeof name, FormatCsvTempName, (unique + attempt) & 0xFFFF);
        memcpy(App.CsvTempPath, target, folder * sizeof(WCHAR));
        App.CsvTempPath[folder] = L'\0';
        if (!AppendName(App.CsvTempPath, PathCapacity, name)) return INVALID_HANDLE_VALUE;
        HANDLE file = CreateFileW(App.CsvTempPath, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

int WriteActivityCsv(const WCHAR* path)
{
    HANDLE file = CreateFileBeside(path);
    if (file == INVALID_HANDLE_VALUE) return 0;
    int ok = WriteCsvDays(file);
    CloseHandle(file);
    ok = ok && MoveFileExW(App.CsvTempPath, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(App.CsvTempPath);
    return ok;
}
