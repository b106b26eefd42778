// The hook library: desktop-wide low-level mouse and keyboard hooks that post each event to a window.
#include <windows.h>
#include <string.h>
#include "hookapi.h"

// A low-level hook is called on the thread that installed it, and every input event of the
// desktop waits for that call. So the hooks live on a thread of the library's own that does
// nothing but serve them, never on the caller's UI thread.
//
// That thread can stall (heavy paging, a resume from hibernation), and the system then removes
// its hooks without a word. So no caller ever waits on it without a bound, and a stalled thread
// is given up rather than waited for: its hooks are removed, and it ends by itself whenever it
// runs again, at any point of its life (also before its message queue exists, when no message
// can reach it), so that its slot comes back. A fresh thread takes over. Only the live thread's
// callbacks report; a given-up thread that wakes up later still passes its late events on, but
// posts none of them.

extern "C" IMAGE_DOS_HEADER __ImageBase;

enum : UINT { HookRequestMessage = WM_APP + 1, HookPingMessage = WM_APP + 2 };
// How long a caller waits for the hook thread: its queue coming up, a request served, its end.
// A start or restart is asked for by the program's start-up or clock, which must not be held
// up: it waits briefly, and a thread that is slow to start or to serve it installs the hooks by
// itself when it runs.
enum : DWORD { ReplyTimeoutMs = 2000, QuitTimeoutMs = 500, RestartWaitMs = 80 };
// The live thread and the given-up ones that have not ended yet.
enum { HookThreadSlots = 4 };

enum HookRequestKind { StartMouseRequest, EndMouseRequest, StartKeyRequest, EndKeyRequest };

struct HookThread {
    HANDLE thread;
    DWORD id;
    HANDLE started;  // manual-reset: the queue is up (and a restart's hooks are installed)
    HANDLE reply;    // auto-reset: the request is answered
    HHOOK volatile mouse;
    HHOOK volatile key;
    HookRequestKind request;  // the one request in flight, and its answer
    int result;
    volatile LONG asked, served;  // the number of the last request, and of the last one served
    volatile LONG pinged, answered;
    volatile LONG ready;    // the thread has started and takes messages
    volatile LONG givenUp;  // the thread is to end as soon as it runs
};

// Serialises the callers, so that one request at a time is in flight.
static SRWLOCK RequestLock = SRWLOCK_INIT;
static HookThread Threads[HookThreadSlots];
static HookThread* Live;
static volatile DWORD LiveThreadId;  // read by the callbacks, on whichever hook thread

// Where the events go; written by callers before the request that uses them.
static HWND volatile MouseTarget;
static volatile UINT MouseMessage;
static HWND volatile KeyTarget;
static volatile UINT KeyMessage;
// Which hooks the program has started and not ended: a restart installs these.
static volatile int MouseWanted, KeyWanted;

static volatile LONG LostEvents;

// A full queue (or a target window that is gone) must never hold the event up: count it and go on.
static void PostHookEvent(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!PostMessageA(window, message, wParam, lParam)) InterlockedIncrement(&LostEvents);
}

static int CalledOnLiveThread(void) { return GetCurrentThreadId() == LiveThreadId; }

static LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && CalledOnLiveThread()) {
        const MSLLHOOKSTRUCT* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        // The wheels' turn and the X button ride in the message's high word: still one post.
        WPARAM message = wParam;
        if (wParam == WM_MOUSEWHEEL || wParam == WM_MOUSEHWHEEL || wParam == WM_XBUTTONDOWN || wParam == WM_XBUTTONUP)
            message |= event->mouseData & 0xFFFF0000u;
        PostHookEvent(MouseTarget, MouseMessage, message, MAKELPARAM(event->pt.x, event->pt.y));
    }
    // The handle argument is ignored by the system.
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The flags in the layout of a WM_KEYDOWN/WM_KEYUP lParam. Bit 30 (previous state) is set for a
// release only: knowing it for a key down would mean keeping key state in the callback.
static LPARAM KeystrokeFlags(const KBDLLHOOKSTRUCT* event)
{
    DWORD flags = 1u | ((event->scanCode & 0xFFu) << 16);
    if (event->flags & LLKHF_EXTENDED) flags |= 1u << 24;
    if (event->flags & LLKHF_ALTDOWN) flags |= 1u << 29;
    if (event->flags & LLKHF_UP) flags |= (1u << 30) | (1u << 31);
    return static_cast<LPARAM>(flags);
}

static LRESULT CALLBACK KeyHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && CalledOnLiveThread()) {
        const KBDLLHOOKSTRUCT* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        PostHookEvent(KeyTarget, KeyMessage, event->vkCode, KeystrokeFlags(event));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Whoever takes the handle first removes the hook: the thread itself, or the caller that gives
// the thread up. A handle is never removed twice, so a reused handle value is never hit.
static int RemoveHook(HHOOK volatile* hook)
{
    HHOOK taken = static_cast<HHOOK>(InterlockedExchangePointer(reinterpret_cast<void* volatile*>(hook), nullptr));
    if (!taken) return 0;
    UnhookWindowsHookEx(taken);
    return 1;
}

static int InstallHook(HHOOK volatile* hook, int type, HOOKPROC procedure)
{
    if (!*hook) *hook = SetWindowsHookExA(type, procedure, reinterpret_cast<HINSTANCE>(&__ImageBase), 0);
    return *hook != nullptr;
}

// A start installs every hook wanted now: a start whose caller stopped waiting may be served after
// the next request was asked.
static void InstallWantedHooks(HookThread* self)
{
    if (MouseWanted) InstallHook(&self->mouse, WH_MOUSE_LL, MouseHookProc);
    if (KeyWanted) InstallHook(&self->key, WH_KEYBOARD_LL, KeyHookProc);
}

static void ServeRequest(HookThread* self)
{
    switch (self->request) {
    case StartMouseRequest: InstallWantedHooks(self); self->result = self->mouse != nullptr; break;
    case StartKeyRequest:   InstallWantedHooks(self); self->result = self->key != nullptr; break;
    case EndMouseRequest:   self->result = RemoveHook(&self->mouse); break;
    case EndKeyRequest:     self->result = RemoveHook(&self->key); break;
    }
}

static int GivenUp(HookThread* self) { return InterlockedCompareExchange(&self->givenUp, 0, 0) != 0; }

static DWORD WINAPI HookThreadProc(void* param)
{
    HookThread* self = static_cast<HookThread*>(param);
    MSG msg;
    // Requests are thread messages, so the queue must exist before the starter may post one.
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    if (!GivenUp(self)) InstallWantedHooks(self);
    // Given up before it ran (its start was slower than the caller's wait): the quit message may
    // have found no queue, so the mark is what ends it. Checked after the installs, so that hooks
    // installed just as it was given up go again at once.
    if (!GivenUp(self)) {
        // Questions asked before the queue was up were lost: they count as answered.
        InterlockedExchange(&self->answered, self->pinged);
        InterlockedExchange(&self->ready, 1);
        SetEvent(self->started);
        // A starter that found this thread not yet up went on without waiting and counts on it to
        // install what is wanted now; a hook wanted after the first installs is taken here.
        InstallWantedHooks(self);
        // GetMessage is also where the hook callbacks are called.
        while (!GivenUp(self) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (msg.hwnd) continue;
            if (msg.message == HookRequestMessage) {
                ServeRequest(self);
                InterlockedExchange(&self->served, static_cast<LONG>(msg.wParam));
                SetEvent(self->reply);
            } else if (msg.message == HookPingMessage) {
                InterlockedExchange(&self->answered, static_cast<LONG>(msg.wParam));
            }
        }
    }
    // Ended, or given up: whatever hooks are left go with the thread.
    RemoveHook(&self->mouse);
    RemoveHook(&self->key);
    return 0;
}

static void CloseSlot(HookThread* t)
{
    if (t->thread) CloseHandle(t->thread);
    if (t->started) CloseHandle(t->started);
    if (t->reply) CloseHandle(t->reply);
    memset(t, 0, sizeof *t);
}

// A slot for a new thread: a free one, or one whose given-up thread has ended meanwhile.
static HookThread* FreeSlot(void)
{
    for (HookThread& t : Threads) {
        if (&t == Live) continue;
        if (t.thread && WaitForSingleObject(t.thread, 0) != WAIT_OBJECT_0) continue;
        CloseSlot(&t);
        return &t;
    }
    return nullptr;
}

// Gives the thread up without waiting for it: it is marked first, so that it ends whenever it
// runs again, whether or not the quit message finds its queue; its hooks are removed from here.
static void GiveUp(HookThread* t)
{
    if (t == Live) {
        Live = nullptr;
        LiveThreadId = 0;
    }
    InterlockedExchange(&t->givenUp, 1);
    RemoveHook(&t->mouse);
    RemoveHook(&t->key);
    PostThreadMessageA(t->id, WM_QUIT, 0, 0);
}

// A fresh live thread, or null. It installs the wanted hooks itself as it starts; it is waited
// for briefly, and one that is slower (heavy paging) stays live and comes up when it runs.
static HookThread* OpenHookThread(void)
{
    HookThread* t = FreeSlot();
    if (!t) return nullptr;
    t->started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    t->reply = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    // Suspended until it is the live thread: its callbacks report only then.
    t->thread = t->started && t->reply ? CreateThread(nullptr, 0, HookThreadProc, t, CREATE_SUSPENDED, &t->id)
                                       : nullptr;
    if (!t->thread) {
        CloseSlot(t);
        return nullptr;
    }
    // Input of the whole desktop waits on this thread's callbacks.
    SetThreadPriority(t->thread, THREAD_PRIORITY_TIME_CRITICAL);
    Live = t;
    LiveThreadId = t->id;
    ResumeThread(t->thread);
    WaitForSingleObject(t->started, RestartWaitMs);
    return t;
}

// Ends the live thread once it serves no hook and none is wanted; a thread that does not end in time is left to
// end by itself.
static void CloseIdleThread(void)
{
    HookThread* t = Live;
    if (!t || t->mouse || t->key || MouseWanted || KeyWanted) return;
    GiveUp(t);
    if (WaitForSingleObject(t->thread, QuitTimeoutMs) == WAIT_OBJECT_0) CloseSlot(t);
}

// Runs one request on the live thread and returns its answer. A thread that does not end a hook in
// time is given up, and the answer is 0. A start is not waited for past a moment, as a thread that
// has not come up yet is not (a start under heavy paging must not hold the program up): the
// thread installs the wanted hooks when it serves it, and the watch repairs it if it never does.
static int Ask(HookRequestKind kind)
{
    HookThread* t = Live;
    if (!t) return 0;
    int starting = kind == StartMouseRequest || kind == StartKeyRequest;
    if (WaitForSingleObject(t->started, 0) != WAIT_OBJECT_0) return starting;
    t->request = kind;
    t->result = 0;
    LONG number = t->asked + 1;
    t->asked = number;
    DWORD waitMs = starting ? RestartWaitMs : ReplyTimeoutMs;
    if (PostThreadMessageA(t->id, HookRequestMessage, static_cast<WPARAM>(number), 0)) {
        // The reply of a start that was not waited for may come first: only this one's counts.
        for (DWORD start = GetTickCount(); InterlockedCompareExchange(&t->served, 0, 0) != number;) {
            DWORD waited = GetTickCount() - start;
            if (waited >= waitMs || WaitForSingleObject(t->reply, waitMs - waited) != WAIT_OBJECT_0) break;
        }
        if (InterlockedCompareExchange(&t->served, 0, 0) == number) return t->result;
        if (starting) return 1;
    }
    GiveUp(t);
    return 0;
}

static int RunRequest(HookRequestKind kind, HWND window, UINT message)
{
    AcquireSRWLockExclusive(&RequestLock);
    switch (kind) {
    case StartMouseRequest: MouseTarget = window; MouseMessage = message; MouseWanted = 1; break;
    case StartKeyRequest:   KeyTarget = window; KeyMessage = message; KeyWanted = 1; break;
    case EndMouseRequest:   MouseWanted = 0; break;
    case EndKeyRequest:     KeyWanted = 0; break;
    }
    int starting = kind == StartMouseRequest || kind == StartKeyRequest;
    if (starting && !Live) OpenHookThread();
    int result = Ask(kind);
    CloseIdleThread();
    ReleaseSRWLockExclusive(&RequestLock);
    return result;
}

extern "C" {

int WINAPI StartMouseHook(HWND window, UINT message)
{
    return RunRequest(StartMouseRequest, window, message);
}

int WINAPI EndMouseHook(void)
{
    return RunRequest(EndMouseRequest, nullptr, 0);
}

// A thread that has not come up yet, or not yet served a start, will install the hook: it is
// there to end.
static int StartPending(HookThread* t) { return !t->ready || t->served != t->asked; }

int WINAPI MouseHookRunning(void)
{
    HookThread* t = Live;
    return t && (t->mouse || (StartPending(t) && MouseWanted));
}

int WINAPI StartKeyHook(HWND window, UINT message)
{
    return RunRequest(StartKeyRequest, window, message);
}

int WINAPI EndKeyHook(void)
{
    return RunRequest(EndKeyRequest, nullptr, 0);
}

int WINAPI KeyHookRunning(void)
{
    HookThread* t = Live;
    return t && (t->key || (StartPending(t) && KeyWanted));
}

int WINAPI LostHookEvents(void)
{
    return static_cast<int>(LostEvents);
}

int WINAPI RestartHooks(void)
{
    AcquireSRWLockExclusive(&RequestLock);
    if (Live) GiveUp(Live);
    int ok = 1;
    if (MouseWanted || KeyWanted) {
        HookThread* t = OpenHookThread();
        ok = t && t->ready && (!MouseWanted || t->mouse) && (!KeyWanted || t->key);
    }
    ReleaseSRWLockExclusive(&RequestLock);
    return ok;
}

int WINAPI HookThreadAnswering(void)
{
    AcquireSRWLockExclusive(&RequestLock);
    int answering = 1;
    HookThread* t = Live;
    if (t) {
        // A thread that has not started yet cannot answer.
        answering = t->ready && t->answered == t->pinged;
        // One question at a time: a thread that has not answered is not asked again.
        if (answering) {
            LONG next = t->pinged + 1;
            t->pinged = next;
            PostThreadMessageA(t->id, HookPingMessage, static_cast<WPARAM>(next), 0);
        }
    }
    ReleaseSRWLockExclusive(&RequestLock);
    return answering;
}

}  // extern "C"
