// Every recorded day as CSV: the lines of a day, the days of the data folder in order, and the
// file written whole beside its final name before it is put in place.
#include "store/csvfile.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "base/dates.h"
#include "store/datafolder.h"
#include "store/dayfile.h"

CsvBuffers CsvWork;

// The file is UTF-8 with a byte-order mark and its Japanese header whatever the UI language and
// the ANSI code page, so that a file means the same on every machine.
static const char CsvByteOrderMark[] = "\xEF\xBB\xBF";
static const char CsvHeader[] = u8"日付,時刻,マウスクリック回数,キータッチ回数,マウスの動き\r\n";
static const char FormatCsvSlot[] = "%04d-%02d-%02d,%02d:%02d";
// The file is written under a name of its own beside the chosen one, then renamed.
static const char FormatCsvTempName[] = "vcs%04lX.tmp";

// Names tried for the file written beside the chosen one before the export gives up.
enum { CsvTempAttempts = 64 };

struct DateList {
    int Count, Capacity;
};

static int ListDate(void* context, int date)
{
    DateList* list = static_cast<DateList*>(context);
    if (date == Days.TodayDate) return 1;
    if (list->Count == list->Capacity) {
        list->Count = -1;
        return 0;
    }
    CsvWork.Dates[list->Count++] = date;
    return 1;
}

int CollectCsvDates(int capacity)
{
    CsvWork.Dates[0] = Days.TodayDate;
    DateList list = {1, capacity};
    ListDatedFiles(ComposeDataFilePath(DayFilePattern), DayFileSuffix, ListDate, &list);
    if (list.Count > 0) qsort(CsvWork.Dates, list.Count, sizeof CsvWork.Dates[0], CompareLeadingDates);
    return list.Count;
}

// A value, or nothing for a slot without data.
static int FormatValue(char* text, int size, int value)
{
    if (value == NoData) return snprintf(text, size, ",");
    return snprintf(text, size, ",%d", value);
}

int FormatCsvDay(int date, const int* values, int lastSlot, char* text)
{
    DateParts d = SplitDate(date);
    int length = 0;
    for (int s = 0; s <= lastSlot && s < SlotCount; ++s) {
        length += snprintf(text + length, CsvTextSize - length, FormatCsvSlot, d.Year, d.Month, d.Day, s / 10,
                           s % 10 * 6);
        for (int m = 0; m < MetricCount; ++m)
            length += FormatValue(text + length, CsvTextSize - length, values[m * SlotCount + s]);
        length += snprintf(text + length, CsvTextSize - length, "\r\n");
    }
    return length;
}


int ReadListedDay(int date, int* values)
{
    int day = DaysBetween(date, Days.TodayDate);
    if (day >= 0 && day < DayCount) {
        // A day whose file could not be read yet is tried once more; still held, it is unreadable
        // like any other, rather than a day without data.
        if (Days.DayUnread[day]) ReadUnreadDays();
        if (Days.DayUnread[day]) return -1;
        for (int m = 0; m < MetricCount; ++m)
            for (int s = 0; s < SlotCount; ++s) values[m * SlotCount + s] = Days.ActivityTable[m][s][day];
    } else if (!ReadDatedFile(date, values)) {
        return -1;
    }
    return day == 0 ? Days.CurrentSlot : SlotCount - 1;
}

static int WriteCsvDay(HANDLE file, int date)
{
    int lastSlot = ReadListedDay(date, CsvWork.Day);
    if (lastSlot < 0) return 0;
    int length = FormatCsvDay(date, CsvWork.Day, lastSlot, CsvWork.Text);
    return WriteAll(file, CsvWork.Text, static_cast<DWORD>(length));
}

static int WriteCsvDays(HANDLE file)
{
    int count = CollectCsvDates();
    if (count < 0) return 0;
    int ok = WriteAll(file, CsvByteOrderMark, sizeof CsvByteOrderMark - 1) &&
             WriteAll(file, CsvHeader, sizeof CsvHeader - 1);
    for (int i = 0; ok && i < count; ++i) ok = WriteCsvDay(file, CsvWork.Dates[i]);
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
        memcpy(CsvWork.TempPath, target, folder * sizeof(WCHAR));
        CsvWork.TempPath[folder] = L'\0';
        if (!AppendName(CsvWork.TempPath, PathCapacity, name)) return INVALID_HANDLE_VALUE;
        HANDLE file = CreateFileW(CsvWork.TempPath, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
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
    ok = ok && MoveFileExW(CsvWork.TempPath, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(CsvWork.TempPath);
    return ok;
}
