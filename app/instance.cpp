// One copy of the program per data folder. Two copies recording into the same day files would
// overwrite each other's slots, and two tray icons confuse the user. The data folder is claimed
// by a named object; a second start finds the running copy through a private registered message,
// asks it to show its graph window, and ends. Copies in other folders go on side by side.
#include "app/instance.h"

#include <stdio.h>

#include "res/texts.h"
#include "resource.h"
#include "store/state.h"

// How long a second start looks for the running copy's answer. A copy that is still starting
// (waiting for the taskbar at logon) cannot answer yet; it is then left a posted request.
enum : DWORD { HandoverWaitMs = 3000, HandoverLookEveryMs = 100, HandoverAnswerMs = 200 };

// The folder's key: FNV-1a over its path's UTF-16 characters, ASCII letters folded, so that two
// spellings of one folder that differ in case give one key.
static unsigned long long KeyOfFolder(const WCHAR* folder)
{
    unsigned long long key = 1469598103934665603ull;
    for (const WCHAR* p = folder; *p; ++p) {
        WCHAR c = *p >= L'a' && *p <= L'z' ? static_cast<WCHAR>(*p - L'a' + L'A') : *p;
        if (c == L'/') c = L'\\';
        key = (key ^ c) * 1099511628211ull;
    }
    return key;
}

// Asks every window that may be a running copy (the monitor window's class and title) to show
// its graph window; only the copy of this folder acts on it and answers 1. Without `wait` the
// request is posted and nobody answers. This start is the foreground process and passes that
// right on, so the graph window may come to the front.
static int AskRunningCopy(int wait)
{
    int answered = 0;
    for (HWND window = nullptr;
         !answered && (window = FindWindowExA(nullptr, window, TextWindowClass, TextWindowTitle)) != nullptr;) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        AllowSetForegroundWindow(processId);
        WPARAM key = static_cast<WPARAM>(App.FolderKey);
        DWORD_PTR result = 0;
        if (!wait)
            PostMessageA(window, App.HandoverMessage, key, 0);
        else if (SendMessageTimeoutA(window, App.HandoverMessage, key, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                     HandoverAnswerMs, &result))
            answered = result == 1;
    }
    return answered;
}

// Takes the claim when it is free, also when a copy that held it ended without giving it back.
static int TakeClaim(HANDLE claim)
{
    DWORD state = WaitForSingleObject(claim, 0);
    return state == WAIT_OBJECT_0 || state == WAIT_ABANDONED;
}

int ClaimDataFolder(void)
{
    char name[64];
    App.FolderKey = KeyOfFolder(App.DataDirectory);
    App.HandoverMessage = RegisterWindowMessageA(TextHandoverMessage);
    snprintf(name, sizeof name, FormatFolderClaim, App.FolderKey);
    HANDLE claim = CreateMutexA(nullptr, FALSE, name);
    // Without the named object no copy can tell of another: record rather than not at all.
    if (!claim) return 1;
    for (DWORD start = GetTickCount();; Sleep(HandoverLookEveryMs)) {
        if (TakeClaim(claim)) {
            App.FolderClaim = claim;  // held for the life of the process
            return 1;
        }
        if (AskRunningCopy(TRUE)) break;
        if (GetTickCount() - start >= HandoverWaitMs) {
            AskRunningCopy(FALSE);
            break;
        }
    }
    CloseHandle(claim);
    return 0;
}

LRESULT OnHandover(HWND monitor, WPARAM folderKey)
{
    if (folderKey != static_cast<WPARAM>(App.FolderKey)) return 0;
    if (!App.GraphWindowOpen) {
        // Posted: this message's sender does not wait for the modal window.
        PostMessageA(monitor, WM_COMMAND, IDC_OPEN_GRAPH, 0);
        return 1;
    }
    HWND graph = App.GraphWindowHandle;
    if (IsIconic(graph)) ShowWindow(graph, SW_RESTORE);
    SetForegroundWindow(graph);
    return 1;
}
