// The hook library: desktop-wide low-level mouse and keyboard hooks that post each event to a window.
#include <windows.h>
#include "hookapi.h"

// A low-level hook is called on the thread that installed it, and every input event of the
// desktop waits for that call. So the hooks live on a thread of the library's own that does
// nothing but serve them, never on the caller's UI thread. The hook handles and the targets are
// written only on that thread (as answers to requests), so the callbacks read them without locks.

extern "C" IMAGE_DOS_HEADER __ImageBase;

enum : UINT { HookRequestMessage = WM_APP + 1 };

enum HookRequestKind { StartMouseRequest, EndMouseRequest, StartKeyRequest, EndKeyRequest };

struct HookRequest {
    HookRequestKind kind;
    HWND window;
    UINT message;
    int result;
};

// Serialises Start/End callers, so that one request at a time uses ReplyEvent.
static SRWLOCK RequestLock = SRWLOCK_INIT;
static HANDLE HookThread;
static DWORD HookThreadId;
static HANDLE ReplyEvent;  // auto-reset: the hook thread's queue is up, or a request is answered

static HHOOK volatile MouseHook;
static HWND MouseTarget;
static UINT MouseMessage;
static HHOOK volatile KeyHook;
static HWND KeyTarget;
static UINT KeyMessage;

static volatile LONG LostEvents;

// A full queue (or a target window that is gone) must never hold the event up: count it and go on.
static void PostHookEvent(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!PostMessageA(window, message, wParam, lParam)) InterlockedIncrement(&LostEvents);
}

static LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const MSLLHOOKSTRUCT* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        PostHookEvent(MouseTarget, MouseMessage, wParam, MAKELPARAM(event->pt.x, event->pt.y));
    }
    return CallNextHookEx(MouseHook, code, wParam, lParam);
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
    if (code == HC_ACTION) {
        const KBDLLHOOKSTRUCT* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        PostHookEvent(KeyTarget, KeyMessage, event->vkCode, KeystrokeFlags(event));
    }
    return CallNextHookEx(KeyHook, code, wParam, lParam);
}

// A start of a running hook only moves it to the new target; a failed install leaves no hook.
static int StartHook(int type, HOOKPROC procedure, HHOOK volatile* hook, HWND* target, UINT* message,
                     const HookRequest* request)
{
    *target = request->window;
    *message = request->message;
    if (!*hook) *hook = SetWindowsHookExA(type, procedure, reinterpret_cast<HINSTANCE>(&__ImageBase), 0);
    return *hook != nullptr;
}

static int EndHook(HHOOK volatile* hook)
{
    if (!*hook) return 0;
    UnhookWindowsHookEx(*hook);
    *hook = nullptr;
    return 1;
}

static void ServeRequest(HookRequest* request)
{
    switch (request->kind) {
    case StartMouseRequest:
        request->result = StartHook(WH_MOUSE_LL, MouseHookProc, &MouseHook, &MouseTarget, &MouseMessage, request);
        break;
    case StartKeyRequest:
        request->result = StartHook(WH_KEYBOARD_LL, KeyHookProc, &KeyHook, &KeyTarget, &KeyMessage, request);
        break;
    case EndMouseRequest: request->result = EndHook(&MouseHook); break;
    case EndKeyRequest:   request->result = EndHook(&KeyHook); break;
    }
}

static DWORD WINAPI HookThreadProc(void*)
{
    MSG msg;
    // Requests are thread messages, so the queue must exist before the starter may post one.
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    SetEvent(ReplyEvent);
    // GetMessage is also where the hook callbacks are called.
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && msg.message == HookRequestMessage) {
            ServeRequest(reinterpret_cast<HookRequest*>(msg.lParam));
            SetEvent(ReplyEvent);
        }
    }
    return 0;
}

// Waits for the hook thread's answer; a thread that has died cannot answer, so its end counts too.
static int AwaitReply(void)
{
    HANDLE waits[2] = {ReplyEvent, HookThread};
    return WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0;
}

static void CloseHookThread(void)
{
    PostThreadMessageA(HookThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(HookThread, INFINITE);
    CloseHandle(HookThread);
    CloseHandle(ReplyEvent);
    HookThread = nullptr;
    HookThreadId = 0;
    ReplyEvent = nullptr;
}

static int OpenHookThread(void)
{
    ReplyEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!ReplyEvent) return 0;
    HookThread = CreateThread(nullptr, 0, HookThreadProc, nullptr, 0, &HookThreadId);
    if (!HookThread) {
        CloseHandle(ReplyEvent);
        ReplyEvent = nullptr;
        return 0;
    }
    // Input of the whole desktop waits on this thread's callbacks.
    SetThreadPriority(HookThread, THREAD_PRIORITY_TIME_CRITICAL);
    if (!AwaitReply()) {
        CloseHookThread();
        return 0;
    }
    return 1;
}

// Runs one request on the hook thread, starting the thread for a start request. Once the last
// hook is gone the thread quits by itself, and it is waited for here, so that no thread remains.
static int RunRequest(HookRequestKind kind, HWND window, UINT message)
{
    HookRequest request = {kind, window, message, 0};
    int starting = kind == StartMouseRequest || kind == StartKeyRequest;
    AcquireSRWLockExclusive(&RequestLock);
    if (HookThread || (starting && OpenHookThread())) {
        if (PostThreadMessageA(HookThreadId, HookRequestMessage, 0, reinterpret_cast<LPARAM>(&request)))
            AwaitReply();
        if (!MouseHook && !KeyHook) CloseHookThread();
    }
    ReleaseSRWLockExclusive(&RequestLock);
    return request.result;
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

int WINAPI MouseHookRunning(void)
{
    return MouseHook != nullptr;
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
    return KeyHook != nullptr;
}

int WINAPI LostHookEvents(void)
{
    return static_cast<int>(LostEvents);
}

}  // extern "C"
