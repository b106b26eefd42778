// Text files of the data folder: one reader of lines and one count parser.
#include "store/textfile.h"

#include <string.h>

#include "base/files.h"

// Each piece's whole lines are handed on and the rest carried to the next.
static void TakeLines(const char* text, int length, TakeTextLine take, void* target)
{
    for (int at = 0; at < length;) {
        int end = at;
        while (end < length && text[end] != '\n') ++end;
        take(target, text + at, end > at && text[end - 1] == '\r' ? end - at - 1 : end - at);
        at = end + 1;
    }
}

int ReadTextLines(const WCHAR* path, char* text, int capacity, TakeTextLine take, void* target)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    int carried = 0, skipping = 0, first = 1, ok = 1;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, text + carried, capacity - carried, &got, nullptr)) {
            ok = 0;
            break;
        }
        int length = carried + static_cast<int>(got), start = 0;
        if (first && length >= 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0) start = 3;
        first = 0;
        if (skipping) {
            while (start < length && text[start] != '\n') ++start;
            skipping = start == length;
        }
        int end = length;
        if (got > 0)
            while (end > start && text[end - 1] != '\n') --end;
        if (got > 0 && end == start && length == capacity) {
            skipping = 1, carried = 0;
            continue;
        }
        TakeLines(text + start, end - start, take, target);
        if (got == 0) break;
        carried = length - end;
        memmove(text, text + end, carried);
    }
    CloseHandle(file);
    return ok;
}

void SplitTextLines(const char* text, long size, TakeTextLine take, void* target)
{
    int start = size >= 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
    TakeLines(text + start, static_cast<int>(size - start), take, target);
}

long long ParseCount(const char* field, int length)
{
    if (length == 0 || length > 18) return -1;
    long long value = 0;
    for (int i = 0; i < length; ++i) {
        if (field[i] < '0' || field[i] > '9') return -1;
        value = value * 10 + (field[i] - '0');
    }
    return value;
}
