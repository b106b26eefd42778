// Publishing into the share: the clock's requests, the publishing thread, and its pass.
#include "store/publish.h"

#include <stdlib.h>
#include <string.h>

#include "base/dates.h"
#include "store/datafolder.h"
#include "store/dayfile.h"
#include "store/keysfile.h"
#include "store/pcidentity.h"
#include "store/totals.h"

SharePublisher Publisher;

// The published file is written under a name no reader takes for a day, then replaced.
static const char PublishTempName[] = "publish.tmp";

// The UTC offset of local time now, in minutes east of Greenwich.
static int UtcOffsetMinutes(void)
{
    TIME_ZONE_INFORMATION zone;
    DWORD which = GetTimeZoneInformation(&zone);
    LONG bias = zone.Bias + (which == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : which == TIME_ZONE_ID_STANDARD ? zone.StandardBias : 0);
    return -static_cast<int>(bias);
}

void SetPublishTarget(const WCHAR* shareFolder)
{
    AcquireSRWLockExclusive(&Publisher.Lock);
    lstrcpynW(Publisher.Target, shareFolder, PathCapacity);
    char id[PcIdSize];
    WideCharToMultiByte(CP_UTF8, 0, PcId(), -1, id, sizeof id, nullptr, nullptr);
    if (!Publisher.Target[0] || !PcId()[0] || !AppendName(Publisher.Target, PathCapacity, id) ||
        !ToLongPathForm(Publisher.Target, PathCapacity))
        Publisher.Target[0] = L'\0';
    Publisher.PcTextLength = FormatPcFile(PcId(), PcName(), PcComputer(), UtcOffsetMinutes(), Publisher.PcText, PcFileSize);
    Publisher.Pending = PublishAllDays;
    ReleaseSRWLockExclusive(&Publisher.Lock);
    if (Publisher.Wake) SetEvent(Publisher.Wake);
}

void RequestPublish(int what, int date, int otherDate)
{
    AcquireSRWLockExclusive(&Publisher.Lock);
    Publisher.Pending |= what;
    const int dates[PublishDateCapacity] = {date, otherDate};
    for (int d = 0; d < PublishDateCapacity; ++d) {
        if (!dates[d] || Publisher.Dates[0] == dates[d] || Publisher.Dates[1] == dates[d]) continue;
        if (!Publisher.Dates[0]) Publisher.Dates[0] = dates[d];
        else Publisher.Dates[1] = dates[d];
    }
    ReleaseSRWLockExclusive(&Publisher.Lock);
    if (Publisher.Wake) SetEvent(Publisher.Wake);
}

void ReadPublishState(FILETIME* last, int* failed)
{
    AcquireSRWLockShared(&Publisher.Lock);
    *last = Publisher.LastPublished;
    *failed = Publisher.LastFailed;
    ReleaseSRWLockShared(&Publisher.Lock);
}

static int CompareEntries(const void* a, const void* b)
{
    int x = static_cast<const IndexEntry*>(a)->Date, y = static_cast<const IndexEntry*>(b)->Date;
    return (x > y) - (x < y);
}

static IndexEntry* FindEntry(IndexEntry* entries, int count, int date)
{
    IndexEntry key = {};
    key.Date = date;
    return static_cast<IndexEntry*>(bsearch(&key, entries, count, sizeof key, CompareEntries));
}

// Paths of the pass: a name in the data folder, in the own folder of the share.
static const WCHAR* SourcePath(const char* name)
{
    lstrcpynW(Publisher.Source, DataDirectory(), PathCapacity);
    return AppendName(Publisher.Source, PathCapacity, name) ? Publisher.Source : L"";
}

static const WCHAR* OwnPath(WCHAR* path, const char* name)
{
    lstrcpynW(path, Publisher.Own, PathCapacity);
    return AppendName(path, PathCapacity, name) ? path : L"";
}

static int PublishBytes(const char* name, const void* bytes, long size)
{
    return ReplaceFileWith(OwnPath(Publisher.Path, name), OwnPath(Publisher.Temp, PublishTempName), bytes,
                           static_cast<DWORD>(size));
}

// A file of the data folder that is not there is no failure: its published copy goes.
static int SourceMissing(void)
{
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

static int WithdrawFile(const char* name)
{
    return DeleteFileW(OwnPath(Publisher.Path, name)) || SourceMissing();
}

// Adds an apps file's text (in the pass's buffer) to the apps index that a whole pass builds.
static void AddAppsBlock(int date, unsigned long long written, unsigned long long fingerprint, long size)
{
    if (Publisher.AppsLength < 0) return;
    if (Publisher.AppsLength + AppsBlockHeaderSize + size > AppsIndexSize) {
        Publisher.AppsLength = -1;
        return;
    }
    char* at = Publisher.AppsText + Publisher.AppsLength;
    int header = FormatAppsBlockHeader(date, written, fingerprint, size, at);
    memcpy(at + header, Publisher.Bytes, size);
    Publisher.AppsLength += header + size;
}

// The day file of a date and its apps file, unless the published copies hold the same already (as
// the index of the last pass says); the date's entry for the fresh index.
static int PublishDay(int date, const IndexEntry* old, IndexEntry* fresh)
{
    char dayName[16], appsName[32];
    ComposeDayFileName(date, dayName, sizeof dayName);
    ComposeAppsFileName(date, appsName, sizeof appsName);
    memset(fresh, 0, sizeof *fresh);
    fresh->Date = date;
    long size = ReadWholeFile(SourcePath(dayName), Publisher.Bytes, DayFileSize);
    if (size < 0 && SourceMissing()) {
        char keysName[32];
        ComposeKeysFileName(date, keysName, sizeof keysName);
        return WithdrawFile(dayName) && WithdrawFile(appsName) && WithdrawFile(keysName) ? 0 : -1;
    }
    if (size < 0) return -1;
    DayValuesOfBytes(Publisher.Bytes, size, 0, Publisher.Values);
    fresh->Fingerprint = FingerprintOfValues(Publisher.Values);
    ActivityTotal total = {};
    AddDayValues(Publisher.Values, SlotCount - 1, &total);
    for (int m = 0; m < MetricCount; ++m) fresh->Sums[m] = total.Sums[m];
    fresh->ActiveSlots = total.ActiveSlots;
    WIN32_FILE_ATTRIBUTE_DATA there;
    int same = old && old->Fingerprint == fresh->Fingerprint &&
               GetFileAttributesExW(OwnPath(Publisher.Path, dayName), GetFileExInfoStandard, &there) &&
               WriteTimeOf(&there.ftLastWriteTime) == old->Written && there.nFileSizeLow == DayFileSize;
    // Always a whole day file: a short one of the data folder goes out as the store reads it.
    if (!same) {
        unsigned char* bytes = Publisher.Bytes;
        for (int i = 0; i < MetricCount * SlotCount; ++i)
            for (int b = 0; b < 4; ++b) bytes[i * 4 + b] = static_cast<unsigned char>(static_cast<unsigned>(Publisher.Values[i]) >> (8 * b));
        if (!PublishBytes(dayName, bytes, DayFileSize) ||
            !GetFileAttributesExW(OwnPath(Publisher.Path, dayName), GetFileExInfoStandard, &there))
            return -1;
    }
    fresh->Written = WriteTimeOf(&there.ftLastWriteTime);
    // The keys file as the apps file below, without an index of its own.
    char keysName[32];
    ComposeKeysFileName(date, keysName, sizeof keysName);
    size = ReadWholeFile(SourcePath(keysName), Publisher.Bytes, KeysTextSize);
    if (size < 0 && !(SourceMissing() && WithdrawFile(keysName))) return -1;
    if (size >= 0) {
        fresh->KeysFingerprint = FingerprintOfText(reinterpret_cast<const char*>(Publisher.Bytes), size);
        same = old && old->KeysFingerprint == fresh->KeysFingerprint &&
               GetFileAttributesW(OwnPath(Publisher.Path, keysName)) != INVALID_FILE_ATTRIBUTES;
        if (!same && !PublishBytes(keysName, Publisher.Bytes, size)) return -1;
    }
    size = ReadWholeFile(SourcePath(appsName), Publisher.Bytes, AppsTextSize);
    if (size < 0) return SourceMissing() && WithdrawFile(appsName) ? 1 : -1;
    fresh->AppsFingerprint = FingerprintOfText(reinterpret_cast<const char*>(Publisher.Bytes), size);
    same = old && old->AppsFingerprint == fresh->AppsFingerprint &&
           GetFileAttributesExW(OwnPath(Publisher.Path, appsName), GetFileExInfoStandard, &there);
    if (!same && (!PublishBytes(appsName, Publisher.Bytes, size) ||
                  !GetFileAttributesExW(OwnPath(Publisher.Path, appsName), GetFileExInfoStandard, &there)))
        return -1;
    AddAppsBlock(date, WriteTimeOf(&there.ftLastWriteTime), fresh->AppsFingerprint, size);
    return 1;
}

// The index of the last pass, as the share holds it; checked like any other PC's.
static void LoadOwnIndex(void)
{
    if (Publisher.IndexLoaded) return;
    long size = ReadWholeFile(OwnPath(Publisher.Path, IndexFileName), Publisher.Text, IndexTextSize);
    Publisher.IndexCount = size > 0 ? ParseIndexText(Publisher.Text, size, Publisher.Index, IndexCapacity) : 0;
    qsort(Publisher.Index, Publisher.IndexCount, sizeof Publisher.Index[0], CompareEntries);
    Publisher.IndexLoaded = 1;
}

static int WriteOwnIndex(void)
{
    long length = 0;
    for (int i = 0; i < Publisher.IndexCount; ++i) length += FormatIndexLine(&Publisher.Index[i], Publisher.Text + length);
    return PublishBytes(IndexFileName, Publisher.Text, length);
}

static int TakeLocalDay(void* context, int date)
{
    int* failed = static_cast<int*>(context);
    if (Publisher.FreshCount == IndexCapacity) return 0;
    IndexEntry* fresh = &Publisher.Fresh[Publisher.FreshCount];
    int result = PublishDay(date, FindEntry(Publisher.Index, Publisher.IndexCount, date), fresh);
    if (result > 0) ++Publisher.FreshCount;
    if (result < 0) {
        // Kept as it was, to be tried again.
        const IndexEntry* old = FindEntry(Publisher.Index, Publisher.IndexCount, date);
        if (old) Publisher.Fresh[Publisher.FreshCount++] = *old;
        *failed = 1;
    }
    return 1;
}

// A published file whose day the data folder no longer has (a data reset took it) goes too.
static int WithdrawGoneDay(void* context, int date)
{
    int* failed = static_cast<int*>(context);
    char name[32];
    ComposeDayFileName(date, name, sizeof name);
    if (GetFileAttributesW(SourcePath(name)) == INVALID_FILE_ATTRIBUTES && SourceMissing() && !WithdrawFile(name)) *failed = 1;
    ComposeAppsFileName(date, name, sizeof name);
    if (GetFileAttributesW(SourcePath(name)) == INVALID_FILE_ATTRIBUTES && SourceMissing() && !WithdrawFile(name)) *failed = 1;
    ComposeKeysFileName(date, name, sizeof name);
    if (GetFileAttributesW(SourcePath(name)) == INVALID_FILE_ATTRIBUTES && SourceMissing() && !WithdrawFile(name)) *failed = 1;
    return 1;
}

static int PublishAll(void)
{
    // A data folder that cannot be seen (a network drive away) has not lost its days: nothing is
    // withdrawn from the share for it, and the pass is tried again.
    DWORD folder = GetFileAttributesW(DataDirectory());
    if (folder == INVALID_FILE_ATTRIBUTES || !(folder & FILE_ATTRIBUTE_DIRECTORY)) return 0;
    int failed = 0;
    Publisher.FreshCount = 0;
    Publisher.AppsLength = 0;
    lstrcpynW(Publisher.Source, DataDirectory(), PathCapacity);
    WCHAR* pattern = Publisher.Temp;
    lstrcpynW(pattern, DataDirectory(), PathCapacity);
    if (!AppendName(pattern, PathCapacity, DayFilePattern)) return 0;
    ListDatedFiles(pattern, DayFileSuffix, TakeLocalDay, &failed);
    const char* published[] = {DayFilePattern, AppsFilePattern, KeysFilePattern};
    const char* suffixes[] = {DayFileSuffix, AppsFileSuffix, KeysFileSuffix};
    for (int k = 0; k < 3; ++k) {
        lstrcpynW(pattern, Publisher.Own, PathCapacity);
        if (!AppendName(pattern, PathCapacity, published[k])) return 0;
        ListDatedFiles(pattern, suffixes[k], WithdrawGoneDay, &failed);
    }
    memcpy(Publisher.Index, Publisher.Fresh, Publisher.FreshCount * sizeof Publisher.Fresh[0]);
    Publisher.IndexCount = Publisher.FreshCount;
    qsort(Publisher.Index, Publisher.IndexCount, sizeof Publisher.Index[0], CompareEntries);
    // An apps index that would not fit is not published: readers then read the apps files.
    if (Publisher.AppsLength < 0) return WithdrawFile(AppsIndexFileName) && !failed;
    return PublishBytes(AppsIndexFileName, Publisher.AppsText, Publisher.AppsLength) && !failed;
}

static int PublishDate(int date)
{
    // Only a whole pass builds the apps index.
    Publisher.AppsLength = -1;
    IndexEntry fresh;
    IndexEntry* old = FindEntry(Publisher.Index, Publisher.IndexCount, date);
    int result = PublishDay(date, old, &fresh);
    if (result < 0) return 0;
    if (result == 0 && old) {
        *old = Publisher.Index[--Publisher.IndexCount];
    } else if (result > 0 && old) {
        *old = fresh;
    } else if (result > 0 && Publisher.IndexCount < IndexCapacity) {
        Publisher.Index[Publisher.IndexCount++] = fresh;
    }
    qsort(Publisher.Index, Publisher.IndexCount, sizeof Publisher.Index[0], CompareEntries);
    return 1;
}

// The share folder itself must be there (a drive plugged in, a network up); only this PC's folder
// in it is made.
static int OpenOwnFolder(void)
{
    WCHAR* share = Publisher.Path;
    lstrcpynW(share, Publisher.Own, PathCapacity);
    *const_cast<WCHAR*>(AfterLastSeparator(share)) = L'\0';
    DWORD attributes = GetFileAttributesW(share);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
    return CreateDirectoryW(Publisher.Own, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

int RunPublishing(void)
{
    AcquireSRWLockExclusive(&Publisher.Lock);
    int pending = Publisher.Pending;
    int dates[PublishDateCapacity] = {Publisher.Dates[0], Publisher.Dates[1]};
    Publisher.Pending = 0;
    Publisher.Dates[0] = Publisher.Dates[1] = 0;
    // Another folder has another index: it is read again from there.
    if (lstrcmpiW(Publisher.Own, Publisher.Target) != 0) Publisher.IndexLoaded = 0;
    lstrcpynW(Publisher.Own, Publisher.Target, PathCapacity);
    char pcText[PcFileSize];
    int pcLength = Publisher.PcTextLength;
    memcpy(pcText, Publisher.PcText, sizeof pcText);
    ReleaseSRWLockExclusive(&Publisher.Lock);
    if (!Publisher.Own[0] || (!pending && !dates[0])) return 1;
    int ok = OpenOwnFolder() && PublishBytes(PcFileName, pcText, pcLength);
    if (ok) LoadOwnIndex();
    if (ok && (pending & PublishAllDays)) ok = PublishAll();
    for (int d = 0; ok && !(pending & PublishAllDays) && d < PublishDateCapacity; ++d)
        if (dates[d]) ok = PublishDate(dates[d]);
    // The indexes go out with a whole pass (at the start and at each change of day), not at every
    // change of slot: a sync tool would carry them every six minutes, and today's entries only
    // tell readers to read today's files, which they do anyway for an entry that no longer names
    // the file's time.
    int indexDue = (pending & PublishAllDays) != 0;
    ok = ok && (!indexDue || WriteOwnIndex());
    AcquireSRWLockExclusive(&Publisher.Lock);
    if (ok) {
        SYSTEMTIME now;
        GetSystemTime(&now);
        SystemTimeToFileTime(&now, &Publisher.LastPublished);
    } else {
        // What failed is asked for again, as a whole pass: a share that was gone may have missed more.
        Publisher.Pending |= PublishAllDays;
    }
    Publisher.LastFailed = !ok;
    ReleaseSRWLockExclusive(&Publisher.Lock);
    return ok;
}

static DWORD WINAPI PublisherThread(void* unused)
{
    (void)unused;
    for (;;) {
        WaitForSingleObject(Publisher.Wake, INFINITE);
        AcquireSRWLockShared(&Publisher.Lock);
        int stopping = Publisher.Stopping;
        ReleaseSRWLockShared(&Publisher.Lock);
        RunPublishing();
        if (stopping) return 0;
    }
}

void StartPublisher(void)
{
    if (Publisher.Thread) return;
    Publisher.Wake = CreateEventW(nullptr, FALSE, TRUE, nullptr);
    if (Publisher.Wake) Publisher.Thread = CreateThread(nullptr, 0, PublisherThread, nullptr, 0, nullptr);
}

void StopPublisher(DWORD waitMs)
{
    if (!Publisher.Thread) return;
    AcquireSRWLockExclusive(&Publisher.Lock);
    Publisher.Stopping = 1;
    ReleaseSRWLockExclusive(&Publisher.Lock);
    SetEvent(Publisher.Wake);
    // A share that does not answer keeps the thread; the process ends without it.
    if (WaitForSingleObject(Publisher.Thread, waitMs) == WAIT_OBJECT_0) {
        CloseHandle(Publisher.Thread);
        CloseHandle(Publisher.Wake);
        Publisher.Thread = Publisher.Wake = nullptr;
    }
}
