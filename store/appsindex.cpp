// The index of this PC's apps files: listed against the folder, written anew when it differs, and
// looked up by date.
#include "store/appsindex.h"

#include <stdlib.h>

#include "base/dates.h"
#include "store/datafolder.h"

OwnAppsFiles OwnApps;

static const char AppsIndexTempName[] = "apps.idx.new";

static int ListAppsFile(void* context, int date, const WIN32_FIND_DATAW* found)
{
    (void)context;
    if (OwnApps.ListedCount == CsvDateCapacity) return 0;
    ListedAppsFile* file = &OwnApps.Listed[OwnApps.ListedCount++];
    file->Date = date;
    file->Size = found->nFileSizeHigh || found->nFileSizeLow > AppsTextSize ? -1 : static_cast<long>(found->nFileSizeLow);
    file->Written = WriteTimeOf(&found->ftLastWriteTime);
    return 1;
}

static void ReadIndex(void)
{
    long size = ReadWholeFile(OwnApps.Path, OwnApps.Text, AppsIndexSize);
    OwnApps.BlockCount = size > 0 ? ParseAppsIndex(OwnApps.Text, size, OwnApps.Blocks, IndexCapacity) : 0;
    qsort(OwnApps.Blocks, OwnApps.BlockCount, sizeof OwnApps.Blocks[0], CompareLeadingDates);
}

const char* OwnAppsIndexText(const ListedAppsFile* file, long* size)
{
    const AppsIndexBlock* block = AppsBlockFor(OwnApps.Blocks, OwnApps.BlockCount, file->Date, file->Written, file->Size);
    if (!block) return nullptr;
    *size = block->Length;
    return OwnApps.Text + block->Offset;
}

// The listed files the index holds, from the newest finished day back as far as they fit: the
// first of them not to (in the listing's date order), or ListedCount when none is left out.
static int FirstIndexed(int today)
{
    long used = 0;
    int i = OwnApps.ListedCount;
    while (i > 0 && OwnApps.Listed[i - 1].Date >= today) --i;
    int first = i;
    for (; i > 0; --i) {
        const ListedAppsFile* file = &OwnApps.Listed[i - 1];
        if (file->Size < 0) continue;
        if (used + AppsBlockHeaderSize + file->Size > AppsIndexSize) break;
        used += AppsBlockHeaderSize + file->Size;
        first = i - 1;
    }
    return first;
}

// The file's text after its line: the index's copy where it stands for the file, else read now.
// 0 when it cannot be read whole (held, changed meanwhile); it is then left out until next time.
static int WriteBlock(HANDLE index, const ListedAppsFile* file)
{
    long size = 0;
    const char* text = OwnAppsIndexText(file, &size);
    if (!text) {
        char name[32];
        ComposeAppsFileName(file->Date, name, sizeof name);
        size = ReadWholeFile(ComposeDataFilePath(name), OwnApps.File, AppsTextSize);
        if (size != file->Size) return 1;
        text = OwnApps.File;
    }
    char header[AppsBlockHeaderSize];
    int length = FormatAppsBlockHeader(file->Date, file->Written, FingerprintOfText(text, size), size, header);
    return WriteAll(index, header, length) && WriteAll(index, text, size);
}

static void WriteIndex(int first, int end)
{
    HANDLE index = CreateFileW(OwnApps.TempPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (index == INVALID_HANDLE_VALUE) return;
    int ok = 1;
    for (int i = first; ok && i < end; ++i)
        if (OwnApps.Listed[i].Size >= 0) ok = WriteBlock(index, &OwnApps.Listed[i]);
    CloseHandle(index);
    if (!ok || !MoveFileExW(OwnApps.TempPath, OwnApps.Path, MOVEFILE_REPLACE_EXISTING)) DeleteFileW(OwnApps.TempPath);
}

void LoadOwnAppsIndex(int today)
{
    lstrcpynW(OwnApps.Path, ComposeDataFilePath(AppsIndexFileName), PathCapacity);
    lstrcpynW(OwnApps.TempPath, ComposeDataFilePath(AppsIndexTempName), PathCapacity);
    OwnApps.ListedCount = 0;
    ListDatedEntries(ComposeDataFilePath(AppsFilePattern), AppsFileSuffix, ListAppsFile, nullptr);
    qsort(OwnApps.Listed, OwnApps.ListedCount, sizeof OwnApps.Listed[0], CompareLeadingDates);
    ReadIndex();
    int first = FirstIndexed(today), end = first, held = 0, stale = 0;
    for (; end < OwnApps.ListedCount && OwnApps.Listed[end].Date < today; ++end) {
        long size = 0;
        if (OwnApps.Listed[end].Size < 0) continue;
        if (OwnAppsIndexText(&OwnApps.Listed[end], &size)) ++held;
        else stale = 1;
    }
    // Exactly the files it should hold, none written since and none gone: the index is used as it is.
    if (!stale && held == OwnApps.BlockCount) return;
    WriteIndex(first, end);
    ReadIndex();
}

void RemoveOwnAppsIndex(void) { DeleteFileW(ComposeDataFilePath(AppsIndexFileName)); }
