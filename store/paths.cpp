// Paths of the file system: composed in UTF-16 in one place, in the \\?\ form where they grow long.
#include <string.h>

#include "res/texts.h"
#include "store/state.h"
#include "store/store.h"

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

int ComposeDataDirectory(const WCHAR* exePath)
{
    int folder = static_cast<int>(AfterLastSeparator(exePath) - exePath);
    App.DataDirectory[0] = L'\0';
    if (folder >= PathCapacity) return 0;
    memcpy(App.DataDirectory, exePath, folder * sizeof(WCHAR));
    App.DataDirectory[folder] = L'\0';
    if (AppendName(App.DataDirectory, PathCapacity, TextDataFolder) &&
        ToLongPathForm(App.DataDirectory, PathCapacity))
        return 1;
    App.DataDirectory[0] = L'\0';
    return 0;
}

const WCHAR* ComposeDataFilePath(const char* name)
{
    lstrcpynW(App.DayFilePath, App.DataDirectory, PathCapacity);
    AppendName(App.DayFilePath, PathCapacity, name);
    return App.DayFilePath;
}
