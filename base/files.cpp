// Paths of the file system in UTF-16, in the \\?\ form where they grow long, and the file chores
// every folder shares.
#include "base/files.h"

#include <string.h>

#include "base/dates.h"

const WCHAR* AfterLastSeparator(const WCHAR* path)
{
    const WCHAR* end = path;
    for (const WCHAR* q = path; *q; ++q)
        if (*q == L'\\' || *q == L'/') end = q + 1;
    return end;
}

static int IsSeparator(WCHAR c) { return c == L'\\' || c == L'/'; }

int AppendName(WCHAR* path, int capacity, const char* name)
{
    int length = lstrlenW(path);
    int separator = length > 0 && !IsSeparator(path[length - 1]);
    if (length + separator + lstrlenA(name) >= capacity) return 0;
    if (separator) path[length++] = L'\\';
    // The names of the program's own files and folders are ASCII.
    for (const char* c = name; *c; ++c) path[length++] = static_cast<WCHAR>(static_cast<unsigned char>(*c));
    path[length] = L'\0';
    return 1;
}

int ToLongPathForm(WCHAR* path, int capacity)
{
    int length = lstrlenW(path);
    if (length < LongPathLimit) return 1;
    if (path[0] == L'\\' && path[1] == L'\\' && (path[2] == L'?' || path[2] == L'.') && path[3] == L'\\') return 1;
    const WCHAR* prefix = nullptr;
    int skip = 0;
    if (IsSeparator(path[0]) && IsSeparator(path[1])) {
        prefix = L"\\\\?\\UNC\\";  // \\server\share\... becomes \\?\UNC\server\share\...
        skip = 2;
    } else if (path[0] && path[1] == L':' && IsSeparator(path[2])) {
        prefix = L"\\\\?\\";
    } else {
        return 1;  // not a full path: only the normal form can name it
    }
    int prefixLength = lstrlenW(prefix);
    if (prefixLength + length - skip >= capacity) return 0;
    memmove(path + prefixLength, path + skip, (length - skip + 1) * sizeof(WCHAR));
    memcpy(path, prefix, prefixLength * sizeof(WCHAR));
    // The long form is passed to the file system as it is: it takes no forward slashes.
    for (WCHAR* q = path + prefixLength; *q; ++q)
        if (*q == L'/') *q = L'\\';
    return 1;
}

int WriteAll(HANDLE file, const void* data, DWORD size)
{
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

long ReadWholeFile(const WCHAR* path, void* buffer, DWORD capacity)
{
    // Shared for a delete too, so that the file's writer can still replace it meanwhile.
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    LARGE_INTEGER size;
    long result = -1;
    if (GetFileSizeEx(file, &size) && size.QuadPart <= capacity) {
        DWORD total = 0, got = 0;
        while (total < capacity && ReadFile(file, static_cast<char*>(buffer) + total, capacity - total, &got, nullptr) &&
               got > 0)
            total += got;
        // A file that grew or shrank while it was read is not taken whole.
        if (total == size.QuadPart) result = static_cast<long>(total);
    }
    CloseHandle(file);
    return result;
}

int ReplaceFileWith(const WCHAR* path, const WCHAR* temp, const void* data, DWORD size)
{
    HANDLE file = CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    int ok = WriteAll(file, data, size) && FlushFileBuffers(file);
    CloseHandle(file);
    ok = ok && MoveFileExW(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(temp);
    return ok;
}

int ListDatedEntries(const WCHAR* pattern, const char* suffix, TakeDatedEntry take, void* context)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return 1;
    int going = 1;
    do {
        int date = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? 0 : DateOfFileName(found.cFileName, suffix);
        if (date) going = take(context, date, &found);
    } while (going && FindNextFileW(search, &found));
    FindClose(search);
    return going;
}

struct DatedFileTaker {
    TakeDatedFile Take;
    void* Context;
};

static int TakeDateOnly(void* context, int date, const WIN32_FIND_DATAW* found)
{
    (void)found;
    const DatedFileTaker* taker = static_cast<const DatedFileTaker*>(context);
    return taker->Take(taker->Context, date);
}

int ListDatedFiles(const WCHAR* pattern, const char* suffix, TakeDatedFile take, void* context)
{
    DatedFileTaker taker = {take, context};
    return ListDatedEntries(pattern, suffix, TakeDateOnly, &taker);
}
