// The hook library seen from a program: injected input reaches a window as posted hook messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>
#include <algorithm>
#include <functional>
#include <thread>
#include <vector>

#include "res/messages.h"
#include "hook/hookapi.h"
#include "support/testwin.h"

namespace {

struct HookEvent {
    HWND window;
    UINT message;
    WPARAM wParam;
    DWORD lParam;
};

const char* const WindowClass = "HookTestWindow";

HWND CreateHiddenWindow()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = WindowClass;
        registered = RegisterClassA(&wc) != 0;
    }
    return CreateWindowExA(0, WindowClass, "hook test", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

int CountProcessThreads()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    int count = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}

// Whether the hook thread answers a question within the time: the first ask puts one to it (or
// finds one still open); a later ask says whether it came back.
bool AnswersWithin(DWORD ms)
{
    HookThreadAnswering();
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(10))
        if (HookThreadAnswering()) return true;
    return false;
}

// Collects the hook messages posted to this thread's windows, dispatching everything else, until
// `enough` of them arrived (or the time is up), and then whatever else waits. SendInput returns
// only once the low-level hooks have taken its events, so by then every message they post for
// them is queued: unexpected extras are among what waits, and nothing later needs waiting for.
std::vector<HookEvent> Collect(size_t enough, DWORD timeoutMs = 3000)
{
    std::vector<HookEvent> events;
    for (DWORD start = GetTickCount();;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.hwnd && msg.message >= WM_APP)
                events.push_back({msg.hwnd, msg.message, msg.wParam, static_cast<DWORD>(msg.lParam)});
            else
                DispatchMessageA(&msg);
        }
        DWORD waited = GetTickCount() - start;
        if (events.size() >= enough || waited >= timeoutMs) return events;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - waited, QS_ALLINPUT);
    }
}

INPUT MouseInput(DWORD flags, DWORD data = 0, LONG dx = 0, LONG dy = 0)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.mouseData = data;
    in.mi.dx = dx;
    in.mi.dy = dy;
    return in;
}

// An absolute move to the screen point (x, y) in the 0..65535 coordinates SendInput expects.
INPUT MoveInput(int x, int y)
{
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    return MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, (x * 65536 + width / 2) / width,
                      (y * 65536 + height / 2) / height);
}

INPUT KeyInput(WORD vk, WORD scan, bool extended, bool up)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = scan;
    in.ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
    return in;
}

UINT Inject(std::vector<INPUT> inputs)
{
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Both hooks started on a hidden window of the test, as the program starts them.
class HookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = CreateHiddenWindow();
        ASSERT_NE(window, nullptr);
        std::vector<DWORD> before = ProcessThreadIds();
        ASSERT_NE(StartMouseHook(window, WM_HOOK_MOUSE), 0);
        hookThread = HookThreadSince(before);
        ASSERT_NE(StartKeyHook(window, WM_HOOK_KEY), 0);
        Collect(0);  // drop anything left from an earlier test
    }
    void TearDown() override
    {
        EndMouseHook();
        EndKeyHook();
        DestroyWindow(window);
    }
    HWND window = nullptr;
    DWORD hookThread = 0;
};

TEST_F(HookTest, EveryMouseEventIsPostedWithItsMessageNumber)
{
    // Clicks and wheel turns happen where the pointer stands, so only the move carries a point.
    std::vector<INPUT> inputs = {
        MoveInput(123, 77),
        MouseInput(MOUSEEVENTF_LEFTDOWN),   MouseInput(MOUSEEVENTF_LEFTUP),
        MouseInput(MOUSEEVENTF_RIGHTDOWN),  MouseInput(MOUSEEVENTF_RIGHTUP),
        MouseInput(MOUSEEVENTF_MIDDLEDOWN), MouseInput(MOUSEEVENTF_MIDDLEUP),
        MouseInput(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-WHEEL_DELTA)),
        MouseInput(MOUSEEVENTF_HWHEEL, WHEEL_DELTA),
        MouseInput(MOUSEEVENTF_XDOWN, XBUTTON1), MouseInput(MOUSEEVENTF_XUP, XBUTTON1),
    };
    // The wheels' turn and the X button in the high word.
    const WPARAM expected[] = {WM_MOUSEMOVE,   WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN,
                               WM_RBUTTONUP,   WM_MBUTTONDOWN, WM_MBUTTONUP, 0xFF88020Au,
                               0x0078020Eu,    0x0001020Bu,    0x0001020Cu};
    const size_t count = sizeof expected / sizeof expected[0];
    ASSERT_EQ(Inject(inputs), inputs.size());

    std::vector<HookEvent> events = Collect(count);
    ASSERT_EQ(events.size(), count);
    for (size_t i = 0; i < count; ++i) {
        EXPECT_EQ(events[i].window, window) << "event " << i;
        EXPECT_EQ(events[i].message, static_cast<UINT>(WM_HOOK_MOUSE)) << "event " << i;
        EXPECT_EQ(events[i].wParam, expected[i]) << "event " << i;
    }
    EXPECT_EQ(events[0].lParam, static_cast<DWORD>(MAKELPARAM(123, 77))) << std::hex << events[0].lParam;
}

// One keystroke and the lParam expected for it, worked out from the WM_KEYDOWN/WM_KEYUP layout:
// repeat 1, scan code in bits 16-23, extended bit 24, previous state bit 30 and release bit 31.
struct KeyCase {
    const char* name;
    WORD vk;
    WORD scan;
    bool extended;
    bool up;
    DWORD lParam;
};

const KeyCase KeyCases[] = {
    {"A down", 'A', 0x1E, false, false, 0x001E0001u},
    {"A repeat", 'A', 0x1E, false, false, 0x001E0001u},
    {"A up", 'A', 0x1E, false, true, 0xC01E0001u},
    {"right arrow down", VK_RIGHT, 0x4D, true, false, 0x014D0001u},
    {"right arrow up", VK_RIGHT, 0x4D, true, true, 0xC14D0001u},
    {"F13 down", VK_F13, 0x64, false, false, 0x00640001u},
    {"F13 up", VK_F13, 0x64, false, true, 0xC0640001u},
};

TEST_F(HookTest, KeystrokesArePostedWithKeyCodeAndKeystrokeFlags)
{
    std::vector<INPUT> inputs;
    for (const KeyCase& k : KeyCases) inputs.push_back(KeyInput(k.vk, k.scan, k.extended, k.up));
    ASSERT_EQ(Inject(inputs), inputs.size());

    const size_t count = sizeof KeyCases / sizeof KeyCases[0];
    std::vector<HookEvent> events = Collect(count);
    ASSERT_EQ(events.size(), count);
    for (size_t i = 0; i < count; ++i) {
        const KeyCase& k = KeyCases[i];
        EXPECT_EQ(events[i].window, window) << k.name;
        EXPECT_EQ(events[i].message, static_cast<UINT>(WM_HOOK_KEY)) << k.name;
        EXPECT_EQ(events[i].wParam, k.vk) << k.name;
        EXPECT_EQ(events[i].lParam, k.lParam) << k.name << std::hex << " got 0x" << events[i].lParam;
    }
}

TEST_F(HookTest, StartingARunningHookMovesItToTheNewTarget)
{
    HWND second = CreateHiddenWindow();
    ASSERT_NE(second, nullptr);
    const UINT otherMouse = WM_APP + 7, otherKey = WM_APP + 8;
    EXPECT_NE(StartMouseHook(second, otherMouse), 0);
    EXPECT_NE(StartKeyHook(second, otherKey), 0);
    EXPECT_NE(MouseHookRunning(), 0);
    EXPECT_NE(KeyHookRunning(), 0);

    ASSERT_EQ(Inject({MoveInput(40, 50), KeyInput('C', 0x2E, false, false), KeyInput('C', 0x2E, false, true)}), 3u);
    std::vector<HookEvent> events = Collect(3);
    ASSERT_EQ(events.size(), 3u);
    for (const HookEvent& e : events) EXPECT_EQ(e.window, second);
    EXPECT_EQ(events[0].message, otherMouse);
    EXPECT_EQ(events[0].wParam, static_cast<WPARAM>(WM_MOUSEMOVE));
    EXPECT_EQ(events[1].message, otherKey);
    EXPECT_EQ(events[2].message, otherKey);
    EXPECT_EQ(events[2].wParam, static_cast<WPARAM>('C'));
    DestroyWindow(second);
}

TEST_F(HookTest, AnEventThatCannotBePostedIsCountedAndDoesNotStallInput)
{
    HWND gone = CreateHiddenWindow();
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    ASSERT_NE(StartMouseHook(gone, WM_HOOK_MOUSE), 0);

    int before = LostHookEvents();
    ASSERT_EQ(Inject({MoveInput(10, 20), MoveInput(11, 21), KeyInput('D', 0x20, false, false),
                      KeyInput('D', 0x20, false, true)}),
              4u);
    std::vector<HookEvent> events = Collect(2);
    EXPECT_EQ(LostHookEvents() - before, 2);
    // The keyboard hook still serves its own, living window.
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].message, static_cast<UINT>(WM_HOOK_KEY));
    EXPECT_EQ(events[1].message, static_cast<UINT>(WM_HOOK_KEY));
}

// The hook thread stalls (the system would remove its hooks): the library does not wait for
// it, a fresh thread reports the input from then on, and when the stalled thread runs again it
// reports nothing twice.
TEST_F(HookTest, AStalledThreadIsReplacedAndWakesUpSilent)
{
    HANDLE stalled = OpenThread(THREAD_SUSPEND_RESUME | SYNCHRONIZE, FALSE, hookThread);
    ASSERT_NE(stalled, nullptr);
    ASSERT_TRUE(AnswersWithin(1000)) << "the running thread answers";
    ASSERT_NE(SuspendThread(stalled), static_cast<DWORD>(-1));
    EXPECT_FALSE(AnswersWithin(300)) << "a suspended thread cannot answer";
    // Wine holds SendInput until a stalled hook times out; the event may then be lost, never doubled.
    ASSERT_EQ(Inject({KeyInput('H', 0x23, false, false)}), 1u);

    std::vector<DWORD> before = ProcessThreadIds();
    DWORD start = GetTickCount();
    EXPECT_NE(RestartHooks(), 0);
    EXPECT_LT(GetTickCount() - start, 1000u) << "the restart waited for the stalled thread";
    DWORD fresh = HookThreadSince(before);
    EXPECT_NE(fresh, 0u);
    EXPECT_NE(MouseHookRunning(), 0);
    EXPECT_NE(KeyHookRunning(), 0);
    EXPECT_TRUE(AnswersWithin(1000));
    ASSERT_EQ(Inject({MouseInput(MOUSEEVENTF_RIGHTDOWN), MouseInput(MOUSEEVENTF_RIGHTUP),
                      KeyInput('G', 0x22, false, false), KeyInput('G', 0x22, false, true)}), 4u);
    std::vector<HookEvent> events = Collect(4);
    ResumeThread(stalled);
    EXPECT_EQ(WaitForSingleObject(stalled, 5000), WAIT_OBJECT_0) << "the given-up thread ends when it runs";
    CloseHandle(stalled);
    std::vector<HookEvent> late = Collect(0);
    events.insert(events.end(), late.begin(), late.end());
    std::vector<WPARAM> seen;
    for (const HookEvent& e : events) seen.push_back(e.wParam);
    for (WPARAM w : {WPARAM(WM_RBUTTONDOWN), WPARAM(WM_RBUTTONUP)})
        EXPECT_EQ(std::count(seen.begin(), seen.end(), w), 1) << "message " << w << " after the restart";
    EXPECT_LE(std::count(seen.begin(), seen.end(), WPARAM('H')), 1) << "the key of the stall";
    EXPECT_EQ(std::count(seen.begin(), seen.end(), WPARAM('G')), 2);
}

// A fresh hook thread whose start is slower than the restart's wait (heavy paging): here every
// new thread is held at its start by the loader lock, which the test takes. Four threads are
// given up, three of them before they ever ran; once they can run, each ends by itself, the
// slots come back and a restart works again. The calls run on a worker, so that a wait without a
// bound fails the test instead of holding it up with the loader lock taken.
TEST_F(HookTest, ThreadsGivenUpBeforeTheyRanEndByThemselvesAndFreeTheirSlots)
{
    typedef LONG(NTAPI * LockLoader)(ULONG, ULONG*, ULONG_PTR*);
    typedef LONG(NTAPI * UnlockLoader)(ULONG, ULONG_PTR);
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    auto lock = reinterpret_cast<LockLoader>(reinterpret_cast<void*>(GetProcAddress(ntdll, "LdrLockLoaderLock")));
    auto unlock = reinterpret_cast<UnlockLoader>(reinterpret_cast<void*>(GetProcAddress(ntdll, "LdrUnlockLoaderLock")));
    ASSERT_TRUE(lock && unlock);
    ULONG_PTR cookie = 0;
    // The worker runs before the lock is taken: a thread cannot start while it is held.
    auto whileLocked = [&](const std::function<void()>& calls) {
        HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr), done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        std::thread worker([calls, go, done] {
            SetEvent(done);
            WaitForSingleObject(go, INFINITE);
            calls();
            SetEvent(done);
        });
        WaitForSingleObject(done, INFINITE);
        ResetEvent(done);
        EXPECT_EQ(lock(0, nullptr, &cookie), 0) << "the loader lock was not taken";
        SetEvent(go);
        bool finished = WaitForSingleObject(done, 5000) == WAIT_OBJECT_0;
        // Called once the lock is free again: calls that still do not end fail the test, not hold it.
        return std::make_pair(finished, [worker = std::move(worker), go, done]() mutable {
            if (WaitForSingleObject(done, 10000) != WAIT_OBJECT_0) {
                ADD_FAILURE() << "the calls did not end once the loader lock was free";
                worker.detach();
                return;
            }
            worker.join();
            CloseHandle(go);
            CloseHandle(done);
        });
    };
    std::vector<DWORD> before = ProcessThreadIds();
    int restarted[4];
    DWORD took[4];
    auto restarts = whileLocked([&] {
        for (int i = 0; i < 4; ++i) {
            DWORD start = GetTickCount();
            restarted[i] = RestartHooks();
            took[i] = GetTickCount() - start;
        }
    });
    if (!restarts.first) {
        unlock(0, cookie);
        restarts.second();
        FAIL() << "the restarts waited without a bound for threads that cannot start";
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(restarted[i], 0) << "restart " << i << " of threads that cannot start";
        EXPECT_LT(took[i], 1000u) << "restart " << i << " waited for the slow start";
    }
    // The hook threads are the time-critical ones: the first and those the restarts made.
    std::vector<HANDLE> givenUp;
    for (DWORD id : ProcessThreadIds()) {
        if (id != hookThread && std::find(before.begin(), before.end(), id) != before.end()) continue;
        HANDLE thread = OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, id);
        if (thread && GetThreadPriority(thread) == THREAD_PRIORITY_TIME_CRITICAL) givenUp.push_back(thread);
        else if (thread) CloseHandle(thread);
    }
    unlock(0, cookie);
    restarts.second();
    ASSERT_EQ(givenUp.size(), 4u);
    for (HANDLE thread : givenUp) {
        EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0) << "a given-up thread still runs";
        CloseHandle(thread);
    }
    for (int i = 0; i < 4; ++i) EXPECT_NE(RestartHooks(), 0) << "restart " << i << " once threads can start";
    ASSERT_EQ(Inject({KeyInput('N', 0x31, false, false), KeyInput('N', 0x31, false, true)}), 2u);
    EXPECT_EQ(Collect(2).size(), 2u);

    // The program's own start is not held up by a thread that is slow to start either: both starts
    // answer at once, and the thread installs both hooks when it runs.
    EndMouseHook();
    EndKeyHook();
    int started = 0;
    DWORD start = GetTickCount(), startTook = 0;
    auto starts = whileLocked([&] {
        started = (StartMouseHook(window, WM_HOOK_MOUSE) != 0) + (StartKeyHook(window, WM_HOOK_KEY) != 0);
        startTook = GetTickCount() - start;
    });
    unlock(0, cookie);
    starts.second();
    ASSERT_TRUE(starts.first) << "the start waited without a bound for the slow thread";
    EXPECT_EQ(started, 2);
    EXPECT_LT(startTook, 1000u) << "the start waited for the slow thread";
    for (DWORD waited = GetTickCount(); !HookThreadAnswering() && GetTickCount() - waited < 3000;) Sleep(10);
    ASSERT_EQ(Inject({KeyInput('N', 0x31, false, false), MouseInput(MOUSEEVENTF_LEFTDOWN)}), 2u);
    std::vector<HookEvent> events = Collect(2);
    EXPECT_EQ(std::count_if(events.begin(), events.end(), [](const HookEvent& e) { return e.message == WM_HOOK_KEY; }), 1);
    EXPECT_EQ(std::count_if(events.begin(), events.end(), [](const HookEvent& e) { return e.message == WM_HOOK_MOUSE; }), 1);
    Inject({KeyInput('N', 0x31, false, true), MouseInput(MOUSEEVENTF_LEFTUP)});
}

// Each hook ends on its own; ending again does nothing; once both ended, no thread is left.
TEST(HookLifetime, EndingStopsTheEventsAndLeavesNoThread)
{
    HWND window = CreateHiddenWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(MouseHookRunning(), 0);
    EXPECT_EQ(KeyHookRunning(), 0);
    const int baseline = CountProcessThreads();
    ASSERT_GT(baseline, 0);

    ASSERT_NE(StartMouseHook(window, WM_HOOK_MOUSE), 0);
    ASSERT_NE(StartKeyHook(window, WM_HOOK_KEY), 0);
    EXPECT_NE(MouseHookRunning(), 0);
    EXPECT_NE(KeyHookRunning(), 0);
    EXPECT_GT(CountProcessThreads(), baseline);

    EndMouseHook();
    EXPECT_EQ(MouseHookRunning(), 0);
    EXPECT_NE(KeyHookRunning(), 0);
    EndMouseHook();
    ASSERT_EQ(Inject({MoveInput(500, 400), KeyInput('E', 0x12, false, false), KeyInput('E', 0x12, false, true)}),
              3u);
    std::vector<HookEvent> events = Collect(2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].message, static_cast<UINT>(WM_HOOK_KEY));
    EXPECT_EQ(events[1].message, static_cast<UINT>(WM_HOOK_KEY));

    EndKeyHook();
    EXPECT_EQ(KeyHookRunning(), 0);
    EndKeyHook();
    EndMouseHook();
    EXPECT_EQ(MouseHookRunning(), 0);
    EXPECT_EQ(KeyHookRunning(), 0);
    EXPECT_EQ(CountProcessThreads(), baseline);

    ASSERT_EQ(Inject({MoveInput(510, 410), KeyInput('E', 0x12, false, false), KeyInput('E', 0x12, false, true)}),
              3u);
    EXPECT_TRUE(Collect(0).empty());

    // The library starts again after a full stop, and the key hook alone ends the thread too.
    ASSERT_NE(StartKeyHook(window, WM_HOOK_KEY), 0);
    EXPECT_EQ(MouseHookRunning(), 0);
    EndKeyHook();
    EXPECT_EQ(CountProcessThreads(), baseline);
    DestroyWindow(window);
}

// The program's UI thread starts the hooks and then may be busy for a while (a slow repaint, a
// file write). Input must not wait for it: the hooks are served elsewhere, and the events wait
// in the window's queue until the thread takes them.
struct BusyTarget {
    HANDLE ready, injected;
    int started;
    std::vector<HookEvent> events;
};

DWORD WINAPI RunBusyTarget(void* param)
{
    BusyTarget* target = static_cast<BusyTarget*>(param);
    HWND window = CreateHiddenWindow();
    target->started = window && StartMouseHook(window, WM_HOOK_MOUSE) && StartKeyHook(window, WM_HOOK_KEY);
    SetEvent(target->ready);
    // Busy, taking no messages, until the input has been injected; a broken library that makes
    // the input wait for this thread meets the bound instead.
    WaitForSingleObject(target->injected, 5000);
    if (target->started) target->events = Collect(6);
    EndMouseHook();
    EndKeyHook();
    if (window) DestroyWindow(window);
    return 0;
}

TEST(HookBusyTarget, InputDoesNotWaitForTheBusyThreadThatStartedTheHooks)
{
    ASSERT_EQ(MouseHookRunning(), 0);
    ASSERT_EQ(KeyHookRunning(), 0);
    BusyTarget target = {CreateEventA(nullptr, TRUE, FALSE, nullptr), CreateEventA(nullptr, TRUE, FALSE, nullptr), 0, {}};
    HANDLE thread = CreateThread(nullptr, 0, RunBusyTarget, &target, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(target.ready, INFINITE);

    DWORD start = GetTickCount();
    UINT sent = Inject({MoveInput(220, 111), MoveInput(280, 131), MouseInput(MOUSEEVENTF_LEFTDOWN),
                        MouseInput(MOUSEEVENTF_LEFTUP)});
    sent += Inject({KeyInput('F', 0x21, false, false)});
    sent += Inject({KeyInput('F', 0x21, false, true)});
    DWORD elapsed = GetTickCount() - start;
    SetEvent(target.injected);

    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(target.ready);
    CloseHandle(target.injected);
    ASSERT_NE(target.started, 0);
    EXPECT_EQ(sent, 6u);
    EXPECT_LT(elapsed, 300u) << "SendInput waited for the busy thread";

    // Mouse and keys keep the order in which they happened, and each move that waited keeps the
    // point it was made at, not where the pointer is when the thread takes it.
    const UINT messages[] = {WM_HOOK_MOUSE, WM_HOOK_MOUSE, WM_HOOK_MOUSE, WM_HOOK_MOUSE, WM_HOOK_KEY, WM_HOOK_KEY};
    const WPARAM params[] = {WM_MOUSEMOVE, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, 'F', 'F'};
    ASSERT_EQ(target.events.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(target.events[i].message, messages[i]) << "event " << i;
        EXPECT_EQ(target.events[i].wParam, params[i]) << "event " << i;
    }
    EXPECT_EQ(target.events[0].lParam, static_cast<DWORD>(MAKELPARAM(220, 111)));
    EXPECT_EQ(target.events[1].lParam, static_cast<DWORD>(MAKELPARAM(280, 131)));
    EXPECT_EQ(target.events[4].lParam >> 31, 0u);
    EXPECT_EQ(target.events[5].lParam >> 31, 1u);
}

}  // namespace
