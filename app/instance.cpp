// One copy of the program per data folder. Two copies recording into the same day files would
// overwrite each other's slots, and two tray icons confuse the user. The claim is the folder
// itself: a lock on a byte of the file vantle.lock in it, far past the file's end, held for the
// life of the process. The file system resolves it whatever the folder's spelling (case, a short
// name, a substituted or mapped drive, a junction), the session or the user, and gives it up when
// the process ends, also when it is killed. The file is open for reading and writing by others and
// its bytes are never locked, so a copy tool reads it like any other file while the program
// records; it is not open for deleting, so that no clean-up, mirror or sync tool can delete or
// rename it away from under the claim while a second start makes a new one beside it. A second
// start finds the running copy of its session by the folder's identity, asks it to show its graph
// window, and ends; when the holder is no copy of this session, the user is told. Copies in other
// folders go on side by side.
#include "app/instance.h"

#include "app/monitor.h"
#include "base/report.h"
#include "res/resource.h"
#include "store/datafolder.h"
#include "ui/graphwindow.h"

FolderClaimState FolderClaim;

// The file in the data folder that claims it for one copy, the monitor window's properties by which
// a second start finds the copy of its folder, and the registered message by which it asks that
// copy for its graph window.
static const char LockFileName[] = "vantle.lock";
static const char FolderIndexProperty[] = "Vantle.FolderIndex";
static const char FolderVolumeProperty[] = "Vantle.FolderVolume";
static const char HandoverMessageName[] = "Vantle.ShowGraphWindow";

// How long a second start looks for the copy that holds the folder: one that has just taken the
// lock has not yet made its window, and one that is ending gives the lock back. A copy that is
// still starting (waiting for the taskbar at logon) cannot answer yet; it is left a posted request.
enum : DWORD { HandoverWaitMs = 3000, HandoverLookEveryMs = 100, HandoverAnswerMs = 200 };

int IdentifyDataFolder(void)
{
    FolderClaim.Volume = 0;
    FolderClaim.Index = 0;
    // Attributes only, with every sharing: nobody who has the folder open is in the way.
    HANDLE folder = CreateFileW(DataDirectory(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION information;
    int ok = GetFileInformationByHandle(folder, &information);
    CloseHandle(folder);
    if (!ok) return 0;
    FolderClaim.Volume = information.dwVolumeSerialNumber;
    FolderClaim.Index = static_cast<unsigned long long>(information.nFileIndexHigh) << 32 | information.nFileIndexLow;
    return 1;
}

// Where the claim lies in the lock file: a byte that no reader of the empty file ever reaches,
// within the sizes of every file system (FAT's included).
enum : DWORD { ClaimOffsetHigh = 0, ClaimOffsetLow = 0x40000000, ClaimLength = 1 };

int TakeFolderLock(void)
{
    const WCHAR* path = ComposeDataFilePath(LockFileName);
    HANDLE lock = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (lock == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        // Held by the running copy (which lets nobody delete it), a claim of an earlier kind, or a
        // program that would not let a second copy in either.
        if (error == ERROR_SHARING_VIOLATION) return 0;
        // Refused, but there: another user's lock file that this user may not open, or one that
        // is being deleted.
        if (error == ERROR_ACCESS_DENIED &&
            (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES || GetLastError() != ERROR_FILE_NOT_FOUND))
            return 0;
        return -1;
    }
    OVERLAPPED at = {};
    at.Offset = ClaimOffsetLow;
    at.OffsetHigh = ClaimOffsetHigh;
    if (LockFileEx(lock, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, ClaimLength, 0, &at)) {
        FolderClaim.Lock = lock;
        return 1;
    }
    // Only a lock that another copy holds refuses the start. A file system without byte-range
    // locks (or one that fails them otherwise) says nothing about other copies: the named claim
    // stands in for it.
    DWORD error = GetLastError();
    CloseHandle(lock);
    return error == ERROR_LOCK_VIOLATION || error == ERROR_SHARING_VIOLATION ? 0 : -1;
}

// Where no lock file can be made (a folder that cannot be written), the claim is a named object
// of the folder's identity, seen from every session; 1, 0 when another process holds it, -1 when
// there is no identity to name it by.
static int TakeFolderObject(void)
{
    if (!FolderClaim.Index && !FolderClaim.Volume) return -1;
    WCHAR name[64];
    wsprintfW(name, L"Global\\Vantle.%08lX.%08lX%08lX", FolderClaim.Volume,
              static_cast<DWORD>(FolderClaim.Index >> 32), static_cast<DWORD>(FolderClaim.Index));
    HANDLE object = CreateMutexW(nullptr, FALSE, name);
    // Another user's object is there but may not be opened.
    if (!object) return GetLastError() == ERROR_ACCESS_DENIED ? 0 : -1;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(object);
        return 0;
    }
    FolderClaim.Lock = object;
    return 1;
}

static HANDLE PropertyValue(unsigned long long value) { return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(value)); }

void MarkFolderOwner(HWND monitor)
{
    // A copy that runs elevated would otherwise drop the hand-over of a start that does not.
    ChangeWindowMessageFilterEx(monitor, FolderClaim.HandoverMessage, MSGFLT_ALLOW, nullptr);
    SetPropA(monitor, FolderIndexProperty, PropertyValue(FolderClaim.Index));
    SetPropA(monitor, FolderVolumeProperty, PropertyValue(FolderClaim.Volume));
}

void UnmarkFolderOwner(HWND monitor)
{
    RemovePropA(monitor, FolderIndexProperty);
    RemovePropA(monitor, FolderVolumeProperty);
}

// The monitor window of this session's copy that holds this folder (the window's class and title,
// and the folder's identity in its properties, which another process may read), or null.
static HWND FindCopyOfFolder(void)
{
    if (!FolderClaim.Index && !FolderClaim.Volume) return nullptr;  // no identity: nothing to match
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, MonitorClassName, MonitorTitle)) != nullptr;)
        if (GetPropA(window, FolderIndexProperty) == PropertyValue(FolderClaim.Index) &&
            GetPropA(window, FolderVolumeProperty) == PropertyValue(FolderClaim.Volume))
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
    WPARAM index = static_cast<WPARAM>(FolderClaim.Index);
    LPARAM volume = static_cast<LPARAM>(FolderClaim.Volume);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(copy, FolderClaim.HandoverMessage, index, volume, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                             HandoverAnswerMs, &result))
        PostMessageA(copy, FolderClaim.HandoverMessage, index, volume);
}

void ReleaseDataFolder(void)
{
    if (FolderClaim.Lock) CloseHandle(FolderClaim.Lock);
    FolderClaim.Lock = nullptr;
}

int ClaimDataFolder(void)
{
    FolderClaim.HandoverMessage = RegisterWindowMessageA(HandoverMessageName);
    // The lock lives in the data folder, which the first start makes here.
    MakeDataDirectory();
    IdentifyDataFolder();
    for (DWORD start = GetTickCount();; Sleep(HandoverLookEveryMs)) {
        int taken = TakeFolderLock();
        if (taken < 0) taken = TakeFolderObject();
        // Without any claim (a folder that can be neither written nor identified) no copy can
        // tell of another: record rather than not at all; the start-up reports the folder.
        if (taken != 0) return 1;
        HWND copy = FindCopyOfFolder();
        if (copy) {
            HandOver(copy);
            return 0;
        }
        if (GetTickCount() - start >= HandoverWaitMs) break;
    }
    // The holder is no copy of this session: one in another session (another user's, or this
    // user's over a remote connection), or one on another PC that shares the folder.
    ReportFailure(nullptr, TextFolderInUse, TextFolderInUseCaption, MB_OK | MB_SETFOREGROUND);
    return 0;
}

LRESULT OnHandover(HWND monitor, WPARAM folderIndex, LPARAM folderVolume)
{
    if (folderIndex != static_cast<WPARAM>(FolderClaim.Index) || folderVolume != static_cast<LPARAM>(FolderClaim.Volume))
        return 0;
    if (!GraphWindowOpen()) {
        // Posted: this message's sender does not wait for the modal window.
        PostMessageA(monitor, WM_COMMAND, IDC_OPEN_GRAPH, 0);
        return 1;
    }
    HWND graph = GraphWindowHandle();
    if (IsIconic(graph)) ShowWindow(graph, SW_RESTORE);
    SetForegroundWindow(graph);
    return 1;
}
