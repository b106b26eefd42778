// The keys and buttons of a range of days: today's counts from memory, the other days' from their
// files, summed by key.
#include "store/keyranges.h"

#include <string.h>

#include "store/datafolder.h"
#include "store/days.h"
#include "store/keysfile.h"
#include "store/ranges.h"
#include "store/sharedpcs.h"

KeyRange ShownKeys;

struct KeyRangeFiles {
    int Range;
    int TodayFromFile;
};

static void AddDayToShown(const KeysDay* day)
{
    for (int k = 0; k < KeyIndexCount; ++k) ShownKeys.Counts[k] += day->Counts[k];
}

// A day held in memory comes from there; from its file too while that has not been read yet.
static int AddRangeKeysFile(void* context, int date)
{
    const KeyRangeFiles* files = static_cast<const KeyRangeFiles*>(context);
    if (!DateInRange(files->Range, date)) return 1;
    const KeysDay* waiting = WaitingKeysDay(date);
    int fromFile = date == Days.TodayDate ? files->TodayFromFile : !waiting || waiting->Unread;
    unsigned long long fingerprint = 0;
    if (fromFile && AddKeysFile(date, ShownKeys.Counts, &fingerprint) && fingerprint)
        CountDayOnce(KeysCountKey(date), fingerprint);
    return 1;
}

static int DateOfRange(void* context, int date) { return DateInRange(*static_cast<const int*>(context), date); }

static void CollectOwnKeys(int range)
{
    // Today comes from memory while it is recorded there (its file lags by up to a slot), and
    // also from its file while that has not been read into memory yet.
    // Switched off, memory holds today only while its counts could not be written.
    const KeysDay* today = &KeysOfDays.Today;
    int fromMemory = (KeysOfDays.Recording || KeysChanged(today)) && today->Date == Days.TodayDate;
    KeyRangeFiles files = {range, !fromMemory || today->Unread};
    if (fromMemory) AddDayToShown(today);
    // Finished days whose files could not be written yet count from memory.
    for (int i = 0; i < KeysOfDays.WaitingCount; ++i)
        if (DateInRange(range, KeysOfDays.Waiting[i].Date)) AddDayToShown(&KeysOfDays.Waiting[i]);
    ListDatedFiles(ComposeDataFilePath(KeysFilePattern), KeysFileSuffix, AddRangeKeysFile, &files);
}

// This PC's files come first, so that a copy of them that another identity published counts not
// again.
int CollectKeys(int range, int pc)
{
    memset(ShownKeys.Counts, 0, sizeof ShownKeys.Counts);
    ClearCountedDays();
    if (pc == ThisPc || pc == AllPcs) CollectOwnKeys(range);
    for (int other = 0; other < SharedPcCount(); ++other)
        if (pc == AllPcs || pc == other) ReadPcKeys(other, DateOfRange, &range, ShownKeys.Counts);
    int pressed = 0;
    for (long long count : ShownKeys.Counts) pressed += count > 0;
    return pressed;
}
