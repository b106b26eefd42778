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

int ListDatedFiles(const WCHAR* pattern, const char* suffix, TakeDatedFile take, void* context)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return 1;
    int going = 1;
    do {
        int date = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? 0 : DateOfFileName(found.cFileName, suffix);
        if (date) going = take(context, date);
    } while (going && FindNextFileW(search, &found));
    FindClose(search);
    return going;
}
