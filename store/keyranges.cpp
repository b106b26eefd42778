// The keys and buttons of a range of days: today's counts from memory, the other days' from their
// files, summed by key.
#include "store/keyranges.h"

#include <string.h>

#include "store/datafolder.h"
#include "store/days.h"
#include "store/keysfile.h"
#include "store/ranges.h"

KeyRange ShownKeys;

struct KeyRangeFiles {
    int Range;
    int TodayFromFile;
};

static int AddRangeKeysFile(void* context, int date)
{
    const KeyRangeFiles* files = static_cast<const KeyRangeFiles*>(context);
    if (DateInRange(files->Range, date) && (files->TodayFromFile || date != Days.TodayDate))
        AddKeysFile(date, ShownKeys.Counts);
    return 1;
}

int CollectKeys(int range)
{
    memset(ShownKeys.Counts, 0, sizeof ShownKeys.Counts);
    // Today comes from memory while it is recorded there (its file lags by up to a slot), and
    // also from its file while that has not been read into memory yet.
    const KeysDay* today = &KeysOfDays.Today;
    int fromMemory = KeysOfDays.Recording && today->Date == Days.TodayDate;
    KeyRangeFiles files = {range, !fromMemory || today->Unread};
    if (fromMemory)
        for (int k = 0; k < KeyIndexCount; ++k) ShownKeys.Counts[k] += today->Counts[k];
    ListDatedFiles(ComposeDataFilePath(KeysFilePattern), KeysFileSuffix, AddRangeKeysFile, &files);
    int pressed = 0;
    for (long long count : ShownKeys.Counts) pressed += count > 0;
    return pressed;
}
