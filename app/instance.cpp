// One copy of the program per data folder. Two copies recording into the same day files would
// overwrite each other's slots, and two tray icons confuse the user. The claim is the folder
// itself: a lock file in it, held open without sharing for the life of the process and deleted
// when it closes, which the file system resolves whatever the folder's spelling (case, a short
// name, a substituted or mapped drive, a junction), the session or the user. A second start finds
// the running copy of its session by the folder's identity, asks it to show its graph window, and
// ends; when the holder is no copy of this session, the user is told. Copies in other folders go
// on side by side.
#include "app/instance.h"

#include "res/texts.h"
#include "resource.h"
#include "store/state.h"
#include "store/store.h"
#include "ui/report.h"

// How long a second start looks for the copy that holds the folder: one that has just taken the
// lock has not yet made its window, and one that is ending gives the lock back. A copy that is
// still starting (waiting for the taskbar at logon) cannot answer yet; it is left a posted request.
enum : DWORD { HandoverWaitMs = 3000, HandoverLookEveryMs = 100, HandoverAnswerMs = 200 };

int IdentifyDataFolder(void)
{
    App.FolderVolume = 0;
    App.FolderIndex = 0;
    // Attributes only, with every sharing: nobody who has the folder open is in the way.
    HANDLE folder = CreateFileW(App.DataDirectory, FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION information;
    int ok = GetFileInformationByHandle(folder, &information);
    CloseHandle(folder);
    if (!ok) return 0;
    App.FolderVolume = information.dwVolumeSerialNumber;
    App.FolderIndex = static_cast<unsigned long long>(information.nFileIndexHigh) << 32 | information.nFileIndexLow;
    return 1;
}

int TakeFolderLock(void)
{
    const WCHAR* path = ComposeDataFilePath(TextLockFile);
    HANDLE lock = CreateFileW(path, GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (lock != INVALID_HANDLE_VALUE) {
        App.FolderLock = lock;
        return 1;
    }
    DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION) return 0;
    // Refused, but there: another user's lock that this user may not open, or one that its
    // holder is closing (deleted, but not yet gone).
    if (error == ERROR_ACCESS_DENIED &&
        (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES || GetLastError() != ERROR_FILE_NOT_FOUND))
        return 0;
    return -1;
}

static HANDLE PropertyValue(unsigned long long value) { return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(value)); }

void MarkFolderOwner(HWND monitor)
{
    SetPropA(monitor, TextFolderIndexProperty, PropertyValue(App.FolderIndex));
    SetPropA(monitor, TextFolderVolumeProperty, PropertyValue(App.FolderVolume));
}

void UnmarkFolderOwner(HWND monitor)
{
    RemovePropA(monitor, TextFolderIndexProperty);
    RemovePropA(monitor, TextFolderVolumeProperty);
}

// The monitor window of this session's copy that holds this folder (the window's class and title,
// and the folder's identity in its properties, which another process may read), or null.
static HWND FindCopyOfFolder(void)
{
    if (!App.FolderIndex && !App.FolderVolume) return nullptr;  // no identity: nothing to match
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, TextWindowClass, TextWindowTitle)) != nullptr;)
        if (GetPropA(window, TextFolderIndexProperty) == PropertyValue(App.FolderIndex) &&
            GetPropA(window, TextFolderVolumeProperty) == PropertyValue(App.FolderVolume))
            return window;
    return nullptr;
}

// Asks the copy to show its graph window. This start is the foreground process and passes that
// right on, so the graph window may come to the front.
static void HandOver(HWND copy)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(copy, &processId);
    AllowSetForegroundWindow(processId);
    WPARAM index = static_cast<WPARAM>(App.FolderIndex);
    LPARAM volume = static_cast<LPARAM>(App.FolderVolume);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(copy, App.HandoverMessage, index, volume, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                             HandoverAnswerMs, &result))
        PostMessageA(copy, App.HandoverMessage, index, volume);
}

int ClaimDataFolder(void)
{
    App.HandoverMessage = RegisterWindowMessageA(TextHandoverMessage);
    // The lock lives in the data folder, which the first start makes here.
    CreateDirectoryW(App.DataDirectory, nullptr);
    IdentifyDataFolder();
    for (DWORD start = GetTickCount();; Sleep(HandoverLookEveryMs)) {
        // Without a lock file (a folder that cannot be written) no copy can tell of another:
        // record rather than not at all; the start-up reports the folder.
        if (TakeFolderLock() != 0) return 1;
        HWND copy = FindCopyOfFolder();
        if (copy) {
            HandOver(copy);
            return 0;
        }
        if (GetTickCount() - start >= HandoverWaitMs) break;
    }
    // The holder is no copy of this session: another user's, in another session.
    ReportFailure(nullptr, TextFolderInUse, TextFolderInUseCaption, MB_OK | MB_SETFOREGROUND);
    return 0;
}

LRESULT OnHandover(HWND monitor, WPARAM folderIndex, LPARAM folderVolume)
{
    if (folderIndex != static_cast<WPARAM>(App.FolderIndex) || folderVolume != static_cast<LPARAM>(App.FolderVolume))
        return 0;
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
