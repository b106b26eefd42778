// The soak: the real program for hours or days of its own clock, sped up, with a steady stream
// of injected input; afterwards every day file is checked against what was injected and against
// the moments at which each slot reached its file.
#include <gtest/gtest.h>
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/uitext.h"
#include "e2e/e2e_support.h"
#include "resource.h"
#include "support/dayimage.h"
#include "support/objectcount.h"
#include "support/testwin.h"

namespace {
// Real time in 100 ns units since 1601, the unit and origin of file times.
typedef long long Ticks;
const Ticks Millisecond = 10000;
const Ticks Second = 1000 * Millisecond;
const Ticks UnixEpoch = 116444736000000000LL;

Ticks RealNow()
{
    typedef void(WINAPI * PreciseClock)(FILETIME*);
    static const PreciseClock precise = reinterpret_cast<PreciseClock>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
    FILETIME now;
    if (precise) precise(&now);
    else GetSystemTimeAsFileTime(&now);
    return static_cast<Ticks>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
}

Ticks TicksOf(const FILETIME& t) { return static_cast<Ticks>(t.dwHighDateTime) << 32 | t.dwLowDateTime; }

// What the soak script tells the driver: where the program runs and how its clock goes.
struct SoakSettings {
    std::string folder;   // the program's folder, with a trailing backslash
    double rate = 0;      // program seconds per real second
    int seconds = 0;      // real seconds of input
    int rollovers = 0;    // changes of day that must at least happen
    double launch = 0;    // real Unix time at which the program's clock was started
    double start = 0;     // the program's Unix time at that moment
    // The program's clock at a real moment, as Unix time.
    double ProgramTime(Ticks real) const
    {
        double at = static_cast<double>(real - UnixEpoch) / Second;
        return start + (at - launch) * rate;
    }
};

// Slots counted from the program's first day: day * 240 + slot, for a Unix time of the program.
int SlotIndexAt(double programTime, int firstDate)
{
    time_t t = static_cast<time_t>(programTime);
    struct tm local = *localtime(&t);
    struct tm first = {};
    first.tm_year = firstDate / 10000 - 1900;
    first.tm_mon = firstDate / 100 % 100 - 1;
    first.tm_mday = firstDate % 100;
    first.tm_hour = 12;
    first.tm_isdst = -1;
    struct tm day = first;
    day.tm_year = local.tm_year;
    day.tm_mon = local.tm_mon;
    day.tm_mday = local.tm_mday;
    day.tm_isdst = -1;
    // Both at noon: a change of daylight saving time cannot move the count of days.
    int days = static_cast<int>((mktime(&day) - mktime(&first) + 43200) / 86400);
    return days * 240 + local.tm_hour * 10 + local.tm_min / 6;
}

int DateOfFile(const std::string& name) { return atoi(name.substr(0, 8).c_str()); }

int NextDate(int date)
{
    struct tm t = {};
    t.tm_year = date / 10000 - 1900;
    t.tm_mon = date / 100 % 100 - 1;
    t.tm_mday = date % 100 + 1;
    t.tm_hour = 12;
    t.tm_isdst = -1;
    mktime(&t);
    return (t.tm_year + 1900) * 10000 + (t.tm_mon + 1) * 100 + t.tm_mday;
}

// Notes, on a thread of its own, every change of a day file's last-write time. The folder is
// only listed, never a file opened: the program opens its files without sharing.
class DayFileWatch {
public:
    explicit DayFileWatch(const std::string& dataFolder) : pattern_(dataFolder + "*.dat") {}
    ~DayFileWatch() { Stop(); }
    void Start()
    {
        running_ = true;
        thread_ = std::thread([this] {
            SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
            while (running_) {
                Poll();
                Sleep(5);
            }
            Poll();
        });
    }
    void Stop()
    {
        running_ = false;
        if (thread_.joinable()) thread_.join();
    }
    // Per file, the distinct write times in order. One operation of the program (a creation
    // and its write, or the three writes of a slot) may show as several close together: they
    // count as one, at the first.
    std::map<std::string, std::vector<Ticks>> Operations()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::map<std::string, std::vector<Ticks>> result;
        for (auto& file : changes_) {
            std::vector<Ticks>& ops = result[file.first];
            for (Ticks t : file.second)
                if (ops.empty() || t - ops.back() > 100 * Millisecond) ops.push_back(t);
        }
        return result;
    }
    // The last change seen in the folder: the exit's write, once the program has ended.
    Ticks LastChange()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Ticks last = 0;
        for (auto& file : changes_) last = std::max(last, file.second.back());
        return last;
    }
private:
    void Poll()
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(pattern_.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return;
        std::lock_guard<std::mutex> lock(mutex_);
        do {
            std::vector<Ticks>& seen = changes_[found.cFileName];
            Ticks written = TicksOf(found.ftLastWriteTime);
            if (seen.empty() || seen.back() != written) seen.push_back(written);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::string pattern_;
    std::atomic<bool> running_{false};
    std::thread thread_;
    std::mutex mutex_;
    std::map<std::string, std::vector<Ticks>> changes_;
};

// The program's object counts at one moment; the counters also work under Wine, where
// GetProcessHandleCount and GetGuiResources give 0. Windows stand for the USER objects.
struct ObjectSample {
    bool graphOpen;
    long handles, gdi, windows;
    SIZE_T privateBytes;
};

ObjectSample SampleObjects(HANDLE process, DWORD processId, bool graphOpen)
{
    return {graphOpen, CountHandles(process, processId), CountGdiObjects(process), CountWindows(processId),
            PrivateBytes(process)};
}

bool WaitForGraphWindow(DWORD processId, bool open, DWORD timeoutMs)
{
    return PumpUntil([&] { return ProcessWindows(processId, "#32770", UiA(TextTitle).c_str(), false).empty() != open; }, timeoutMs);
}

// One recorded slot as its file holds it, with the moment it was written there.
struct RecordedSlot {
    std::string file;
    int slot;
    int index;  // day * 240 + slot, counted from the first file's day
    int values[3];
    Ticks written;
};

// How many of the moments lie before the limit (the moments are in order).
size_t CountBefore(const std::vector<Ticks>& moments, Ticks limit)
{
    return static_cast<size_t>(std::lower_bound(moments.begin(), moments.end(), limit) - moments.begin());
}

bool ReadSettings(SoakSettings* s)
{
    const char* folder = getenv("VANTLE_SOAK_FOLDER");
    const char* rate = getenv("VANTLE_SOAK_RATE");
    const char* seconds = getenv("VANTLE_SOAK_SECONDS");
    const char* rollovers = getenv("VANTLE_SOAK_ROLLOVERS");
    if (!folder || !rate || !seconds || !rollovers) return false;
    s->folder = folder;
    s->rate = atof(rate);
    s->seconds = atoi(seconds);
    s->rollovers = atoi(rollovers);
    return true;
}

// The script writes the real moment it started the program's clock and the clock's offset.
bool ReadClock(SoakSettings* s)
{
    std::vector<unsigned char> text = ReadWholeFile(s->folder + "clock.txt");
    std::string line(text.begin(), text.end());
    double launch = 0, offset = 0;
    if (sscanf(line.c_str(), "%lf %lf", &launch, &offset) != 2) return false;
    s->launch = launch;
    s->start = launch + offset;
    return true;
}

// What a soak run leaves to be checked.
struct SoakRun {
    SoakSettings settings;
    int firstDate = 0;                                  // the program's date at the start
    std::vector<Ticks> keys, clicks;                    // when each was injected
    std::vector<ObjectSample> samples;                  // every 10 s
    std::map<std::string, std::vector<Ticks>> operations;  // day file name: its operations
    Ticks exitWrite = 0;                                // the last change seen: the exit's write
};

// The day files: consecutive dates from the first day, each exactly 2880 bytes, every slot all
// -1 or all counts, no travel. The program made each file (its first operation) and then wrote
// one slot at a time, so the recorded slots of a file pair up with its later operations. The
// exit writes the slot being recorded at any moment, also just after a change of slot wrote the
// one before it: those two writes may show as one operation, and the last slot takes the exit's
// write. A count that differs otherwise leaves slots without their write, and the run stops here.
void ReadDayFiles(const SoakRun& run, std::vector<RecordedSlot>* recordedSlots)
{
    std::vector<RecordedSlot>& recorded = *recordedSlots;
    EXPECT_EQ(DateOfFile(run.operations.begin()->first), run.firstDate) << "the first day file is not of the start day";
    EXPECT_GE(static_cast<int>(run.operations.size()) - 1, run.settings.rollovers) << "too few changes of day";
    int date = run.firstDate, days = 0;
    for (const auto& file : run.operations) {
        SCOPED_TRACE(file.first);
        EXPECT_EQ(DateOfFile(file.first), date) << "a day without its file";
        std::vector<unsigned char> bytes = ReadWholeFile(run.settings.folder + "data\\" + file.first);
        EXPECT_EQ(bytes.size(), 2880u);
        size_t before = recorded.size();
        for (int s = 0; s < 240; ++s) {
            int v[3] = {FileValue(bytes, 0, s), FileValue(bytes, 1, s), FileValue(bytes, 2, s)};
            bool none = v[0] == -1 && v[1] == -1 && v[2] == -1;
            bool all = v[0] >= 0 && v[1] >= 0 && v[2] >= 0;
            EXPECT_TRUE(none || all) << "slot " << s << " holds " << v[0] << ", " << v[1] << ", " << v[2];
            EXPECT_EQ(v[2], none ? -1 : 0) << "travel in slot " << s << " although none was injected";
            if (all) recorded.push_back({file.first, s, days * 240 + s, {v[0], v[1], v[2]}, 0});
        }
        const std::vector<Ticks>& ops = file.second;
        size_t count = recorded.size() - before;
        bool exitMerged = &file == &*run.operations.rbegin() && count > 0 && ops.size() == count;
        ASSERT_EQ(ops.size() - 1 + exitMerged, count) << "slot writes seen and slots recorded differ";
        for (size_t i = 0; i < count; ++i)
            recorded[before + i].written = i + 1 < ops.size() ? ops[i + 1] : run.exitWrite;
        date = NextDate(DateOfFile(file.first));
        ++days;
    }
}

// Every recorded slot holds what was injected while it was the program's slot: events before a
// slot's write belong to it or an earlier one, events after it to later ones. An event injected
// shortly before a write may still be on its way to the program. Returns those near a write.
int ExpectCountsMatchInput(const SoakRun& run, const std::vector<RecordedSlot>& recorded, long long sums[2])
{
    const Ticks underway = 300 * Millisecond, fileClock = 20 * Millisecond;
    const std::vector<Ticks>* injected[2] = {&run.clicks, &run.keys};
    int ambiguous = 0, wrong[2] = {0, 0};
    sums[0] = sums[1] = 0;
    for (const RecordedSlot& r : recorded) {
        for (int m = 0; m < 2; ++m) {
            sums[m] += r.values[m];
            long long surely = static_cast<long long>(CountBefore(*injected[m], r.written - underway));
            long long possibly = static_cast<long long>(CountBefore(*injected[m], r.written + fileClock));
            ambiguous += static_cast<int>(possibly - surely);
            if (sums[m] >= surely && sums[m] <= possibly) continue;
            // The first slot that went wrong tells most; the later ones follow from it.
            if (wrong[m]++ == 0)
                ADD_FAILURE() << r.file << " slot " << r.slot << ", metric " << m << ": " << sums[m]
                              << " counted up to here, but " << surely << " to " << possibly
                              << " injected before the slot was written";
        }
    }
    EXPECT_EQ(wrong[0] + wrong[1], 0) << "slots whose counts do not match the input";
    EXPECT_EQ(sums[0], static_cast<long long>(run.clicks.size())) << "clicks lost or counted twice";
    EXPECT_EQ(sums[1], static_cast<long long>(run.keys.size())) << "key touches lost or counted twice";
    return ambiguous;
}

// Each write left the slot that the program's clock had just left: the next recorded slot is
// the one of the clock at the write (a late tick may skip slots, which then stay empty). The
// first slot is the start's; the last one, written at the exit, is that of the last tick.
// Returns the slots skipped.
int ExpectSlotsFollowTheClock(const SoakRun& run, const std::vector<RecordedSlot>& recorded)
{
    const double clockSlack = 30;  // seconds of the program's clock: the script's reading of the start
    const double lastTick = 0.4 * run.settings.rate;
    auto slotNear = [&](Ticks real, int index, double earlier) {
        double t = run.settings.ProgramTime(real);
        return SlotIndexAt(t - clockSlack - earlier, run.firstDate) <= index &&
               index <= SlotIndexAt(t + clockSlack, run.firstDate);
    };
    EXPECT_TRUE(slotNear(run.operations.begin()->second.front(), recorded.front().index, 0))
        << "the first recorded slot is not the start's: " << recorded.front().slot;
    int skipped = 0, misplaced = 0;
    for (size_t k = 0; k + 1 < recorded.size(); ++k) {
        skipped += recorded[k + 1].index - recorded[k].index - 1;
        if (!slotNear(recorded[k].written, recorded[k + 1].index, 0) && misplaced++ < 5)
            ADD_FAILURE() << recorded[k].file << " slot " << recorded[k].slot << " was left for slot index "
                          << recorded[k + 1].index << " at the program's slot index "
                          << SlotIndexAt(run.settings.ProgramTime(recorded[k].written), run.firstDate);
    }
    EXPECT_TRUE(slotNear(recorded.back().written, recorded.back().index, lastTick))
        << "the exit did not write the last slot";
    return skipped;
}

// After the first two rounds, the object counts of each window state stay where they were:
// the later half of the samples does not rise above the earlier half.
void ExpectObjectsSteady(const std::vector<ObjectSample>& samples)
{
    std::vector<ObjectSample> steady[2];
    for (size_t i = 4; i < samples.size(); ++i) steady[samples[i].graphOpen].push_back(samples[i]);
    const long slack = 3;
    for (int open = 0; open < 2; ++open) {
        const std::vector<ObjectSample>& v = steady[open];
        if (v.size() < 2) continue;
        SCOPED_TRACE(open ? "graph window open" : "graph window closed");
        size_t half = v.size() / 2;
        long first[4] = {0, 0, 0, 0}, last[4] = {0, 0, 0, 0};
        for (size_t i = 0; i < v.size(); ++i) {
            long* m = i < half ? first : last;
            m[0] = std::max(m[0], v[i].handles);
            m[1] = std::max(m[1], v[i].gdi);
            m[2] = std::max(m[2], v[i].windows);
            m[3] = std::max(m[3], static_cast<long>(v[i].privateBytes / 1024));
        }
        EXPECT_LE(last[0], first[0] + slack) << "handles grew";
        EXPECT_LE(last[1], first[1] + slack) << "GDI objects grew";
        EXPECT_LE(last[2], first[2]) << "windows grew";
        EXPECT_LE(last[3], first[3] + 256) << "private memory grew (KiB)";
        EXPECT_GT(first[0], 0) << "no handle count";
        EXPECT_GT(first[1], 0) << "no GDI object count";
    }
}

TEST(Soak, DaysOfSteadyInput)
{
    SoakRun run;
    SoakSettings& settings = run.settings;
    if (!ReadSettings(&settings)) GTEST_SKIP() << "run by the soak script";
    std::string data = settings.folder + "data\\";
    // The pointer stays out of the way of the graph window, and still: no travel is injected.
    InjectMove(GetSystemMetrics(SM_CXSCREEN) - 20, GetSystemMetrics(SM_CYSCREEN) - 20);
    DayFileWatch watch(data);
    watch.Start();
    WriteWholeFile(settings.folder + "driver.ready", "1", 1);

    RunningProgram program;
    ASSERT_TRUE(FindStartedProgram(&program, settings.folder, 60000)) << "the program did not start";
    ASSERT_TRUE(ReadClock(&settings));
    HWND monitor = program.monitor;
    DWORD processId = program.process.dwProcessId;
    HANDLE process = program.process.hProcess;
    // The user answers every failure box the program may show, so that a failing soak ends
    // instead of waiting; the texts are reported at the end.
    ScriptedUser user(processId);
    for (const std::string& caption : {UiA(TextErrorCaption), UiA(TextOpenCaption), UiA(TextHookCaption), UiA(TextKillTimerCaption),
                                UiA(TextPlotErrorCaption)})
        user.Answer(caption, IDOK);
    // Recording has begun once the tray icon and the first day file are there and the start-up
    // has come back to the program's loop.
    PumpUntil([&] { return TrayIconExists(monitor) && !watch.Operations().empty(); }, 60000);
    ASSERT_FALSE(watch.Operations().empty()) << "no day file was created";
    ASSERT_TRUE(WaitUntilIdle(monitor));

    // A key touch every 100 ms and a click every 500 ms; every 10 s the graph window is opened
    // or put away, and the program's objects are counted just before.
    std::vector<Ticks>& keys = run.keys;
    std::vector<Ticks>& clicks = run.clicks;
    std::vector<ObjectSample>& samples = run.samples;
    bool graphOpen = false;
    const Ticks begin = RealNow();
    const Ticks end = begin + settings.seconds * Second;
    for (long step = 0;; ++step) {
        Ticks now = RealNow();
        if (now >= end) break;
        if (step % 100 == 0) {
            samples.push_back(SampleObjects(process, processId, graphOpen));
            PostMessageA(monitor, WM_COMMAND, graphOpen ? IDC_PUT_AWAY_GRAPH : IDC_OPEN_GRAPH, 0);
            graphOpen = !graphOpen;
        }
        keys.push_back(RealNow());
        InjectKey('K');
        if (step % 5 == 2) {
            clicks.push_back(RealNow());
            InjectClick(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        }
        Ticks next = begin + (step + 1) * 100 * Millisecond;
        now = RealNow();
        if (next > now) Sleep(static_cast<DWORD>((next - now) / Millisecond));
    }
    // The last events are queued for the program before anything posted after them.
    if (graphOpen) {
        PostMessageA(monitor, WM_COMMAND, IDC_PUT_AWAY_GRAPH, 0);
        EXPECT_TRUE(WaitForGraphWindow(processId, false, 10000)) << "the graph window did not go";
    }
    EXPECT_TRUE(WaitUntilIdle(monitor));
    samples.push_back(SampleObjects(process, processId, false));

    EXPECT_TRUE(AskToEnd(&program, user, IDYES)) << "no exit question";
    EXPECT_EQ(WaitForExit(&program, 30000), 0u) << "the program did not end";
    KillProgram(&program);
    watch.Stop();
    for (const SeenBox& box : user.Answered())
        if (box.text != UiA(TextExitQuestion)) ADD_FAILURE() << "the program reported " << box.caption << ": " << box.text;

    run.operations = watch.Operations();
    run.exitWrite = watch.LastChange();
    ASSERT_FALSE(run.operations.empty());
    time_t startTime = static_cast<time_t>(run.settings.start);
    struct tm startLocal = *localtime(&startTime);
    run.firstDate = (startLocal.tm_year + 1900) * 10000 + (startLocal.tm_mon + 1) * 100 + startLocal.tm_mday;
    std::vector<RecordedSlot> recorded;
    ASSERT_NO_FATAL_FAILURE(ReadDayFiles(run, &recorded));
    ASSERT_FALSE(recorded.empty());
    long long sums[2];
    int ambiguous = ExpectCountsMatchInput(run, recorded, sums);
    int skipped = ExpectSlotsFollowTheClock(run, recorded);
    ExpectObjectsSteady(run.samples);

    printf("soak: %d program days (%s to %s), %zu slots recorded, %d skipped by late ticks\n",
           static_cast<int>(run.operations.size()), run.operations.begin()->first.c_str(),
           run.operations.rbegin()->first.c_str(), recorded.size(), skipped);
    printf("soak: %zu key touches and %zu clicks injected, %lld and %lld recorded; %d events near a write\n",
           run.keys.size(), run.clicks.size(), sums[1], sums[0], ambiguous);
    printf("soak: objects every 10 s (handles/GDI/windows/private KiB, * graph open):");
    for (const ObjectSample& o : run.samples)
        printf(" %s%ld/%ld/%ld/%lu", o.graphOpen ? "*" : "", o.handles, o.gdi, o.windows,
               static_cast<unsigned long>(o.privateBytes / 1024));
    printf("\n");
    fflush(stdout);
}
}  // namespace
