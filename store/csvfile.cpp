// Every recorded day as CSV: the lines of a day, the days of the data folder in order, and the
// file written whole beside its final name before it is put in place.
#include "store/csvfile.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "res/texts.h"
#include "store/state.h"
#include "store/store.h"

int DateOfDayFileName(const char* name)
{
    if (lstrlenA(name) != 12 || lstrcmpiA(name + 8, ".dat") != 0) return 0;
    int date = 0;
    for (int i = 0; i < 8; ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        date = date * 10 + (name[i] - '0');
    }
    return IsCalendarDate(date) ? date : 0;
}

static int CompareDates(const void* a, const void* b)
{
    int x = *static_cast<const int*>(a), y = *static_cast<const int*>(b);
    return (x > y) - (x < y);
}

int CollectCsvDates(void)
{
    int count = 0;
    App.CsvDates[count++] = App.TodayDate;
    char pattern[sizeof App.DataDirectory + 8];
    snprintf(pattern, sizeof pattern, "%s\\*.dat", App.DataDirectory);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            int date = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? 0 : DateOfDayFileName(found.cFileName);
            if (!date || date == App.TodayDate) continue;
            if (count == CsvDateCapacity) {
                count = -1;
                break;
            }
            App.CsvDates[count++] = date;
        } while (FindNextFileA(search, &found));
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

int WriteActivityCsv(const char* path)
{
    // The temporary file goes into the chosen folder, so that the rename stays on one volume.
    char folder[MAX_PATH], temporary[MAX_PATH];
    size_t length = static_cast<size_t>(AfterLastSeparator(path) - path);
    if (length == 0 || length >= sizeof folder) return 0;
    memcpy(folder, path, length);
    folder[length] = '\0';
    if (!GetTempFileNameA(folder, CsvTempPrefix, 0, temporary)) return 0;
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    int ok = file != INVALID_HANDLE_VALUE && WriteCsvDays(file);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    ok = ok && MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileA(temporary);
    return ok;
}
