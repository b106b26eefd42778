// Whole text files of the data folder: one read, one count parser, one replace.
#include "store/textfile.h"

#include "base/files.h"

int ReadTextFile(const WCHAR* path, char* text, int capacity)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : -1;
    }
    DWORD total = 0, got = 0;
    while (total < static_cast<DWORD>(capacity) && ReadFile(file, text + total, capacity - total, &got, nullptr) && got > 0)
        total += got;
    CloseHandle(file);
    return static_cast<int>(total);
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

int ReplaceTextFile(const WCHAR* newPath, const WCHAR* path, const char* text, int length)
{
    HANDLE file = CreateFileW(newPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    int ok = WriteAll(file, text, length) && FlushFileBuffers(file);
    CloseHandle(file);
    ok = ok && MoveFileExW(newPath, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(newPath);
    return ok;
}
