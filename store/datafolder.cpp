// The data folder's path, and the paths of its files.
#include "store/datafolder.h"

#include <string.h>

DataFolderPaths DataPaths;

static const char DataFolderName[] = "data";

int ComposeDataDirectory(const WCHAR* exePath)
{
    WCHAR* directory = DataPaths.Directory;
    int folder = static_cast<int>(AfterLastSeparator(exePath) - exePath);
    directory[0] = L'\0';
    if (folder >= PathCapacity) return 0;
    memcpy(directory, exePath, folder * sizeof(WCHAR));
    directory[folder] = L'\0';
    if (AppendName(directory, PathCapacity, DataFolderName) && ToLongPathForm(directory, PathCapacity)) return 1;
    directory[0] = L'\0';
    return 0;
}

const WCHAR* DataDirectory(void) { return DataPaths.Directory; }

void MakeDataDirectory(void) { CreateDirectoryW(DataPaths.Directory, nullptr); }

const WCHAR* ComposeDataFilePath(const char* name)
{
    lstrcpynW(DataPaths.Composed, DataPaths.Directory, PathCapacity);
    AppendName(DataPaths.Composed, PathCapacity, name);
    return DataPaths.Composed;
}
