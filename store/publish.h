// Publishing this PC's days into its own folder of the share, <share>\<Id>\: the day files, the
// apps files, pc.ini and the index of days, each written under a name of its own and put in place
// by a replace. The copying runs on a thread of its own, so that a share that is slow or gone never
// holds up the clock; the clock only asks for it.
#pragma once
#include <windows.h>

#include "base/files.h"
#include "store/appsfile.h"
#include "store/shareindex.h"

// What a publishing pass does: every day not there or different (and nothing there that the data
// folder no longer has) with the indexes of days and of apps files, or only the days asked for.
enum { PublishAllDays = 1, PublishDates = 2 };
enum { PublishDateCapacity = 2 };
// How long an ending waits for the last pass before it goes without it.
enum : DWORD { PublishExitWaitMs = 3000 };

// Written by store/publish.cpp alone. The fields up to Lock's are shared by the two threads and
// taken under it; the rest belong to the publishing thread (or to a test that runs the pass).
struct SharePublisher {
    SRWLOCK Lock;
    WCHAR Target[PathCapacity];
    int Pending;
    int Dates[PublishDateCapacity];
    char PcText[PcFileSize];
    int PcTextLength;
    FILETIME LastPublished;
    int LastFailed;
    int Stopping;
    HANDLE Thread, Wake;
    // The publishing thread's own.
    WCHAR Own[PathCapacity], Source[PathCapacity], Path[PathCapacity], Temp[PathCapacity];
    unsigned char Bytes[AppsTextSize];
    int Values[MetricCount * SlotCount];
    IndexEntry Index[IndexCapacity], Fresh[IndexCapacity];
    int IndexCount, FreshCount, IndexLoaded;
    char Text[IndexTextSize];
    // The apps index that a whole pass builds, and its length (-1 once a file did not fit).
    char AppsText[AppsIndexSize];
    long AppsLength;
};
extern SharePublisher Publisher;

// Points publishing at <share>\<Id> of the chosen share folder, or stops it for "", and asks for a
// whole pass; the text of pc.ini is taken from the identity now.
void SetPublishTarget(const WCHAR* shareFolder);
// Asks for a pass: every day, or the dates given (0 for none), added to what waits. Never waits.
void RequestPublish(int what, int date, int otherDate);
// One pass of what waits, on the calling thread: 1 when it all reached the share (or nothing was
// asked), 0 when it is kept to be tried at the next request.
int RunPublishing(void);
// Starts the publishing thread; the pass runs there from now on.
void StartPublisher(void);
// Ends the thread after the pass asked last, waiting for it up to `waitMs`.
void StopPublisher(DWORD waitMs);
// When this PC last reached the share (zero when not yet in this run), and whether the last pass
// failed.
void ReadPublishState(FILETIME* last, int* failed);
