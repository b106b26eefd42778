// The Recycle Bin through the shell: the files go in silently, and the bin's count says whether
// they arrived.
#include "store/recyclebin.h"

#include <windows.h>
#include <shellapi.h>

// The items in the bin of the drive that holds the path; 0 when that drive has no bin (a network
// drive, some removable drives) or the shell cannot count it.
static int CountBinItems(const WCHAR* path, long long* items)
{
    SHQUERYRBINFO info = {};
    info.cbSize = sizeof info;
    if (FAILED(SHQueryRecycleBinW(path, &info))) return 0;
    *items = info.i64NumItems;
    return 1;
}

int RecycleFiles(const WCHAR* files, int count)
{
    long long before = 0, after = 0;
    if (count <= 0 || !CountBinItems(files, &before)) return 0;
    // Where a file cannot be recycled (a bin that is switched off or full), the shell deletes it
    // without a word under FOF_NOCONFIRMATION; the count below is what tells the two apart.
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = files;
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    if (SHFileOperationW(&operation) != 0 || operation.fAnyOperationsAborted) return 0;
    return CountBinItems(files, &after) && after - before >= count;
}
