// Program entry: the hidden monitor window and the process's only message loop.
#include "app/instance.h"
#include "app/monitor.h"
#include "app/tray.h"
#include "base/report.h"
#include "base/uitext.h"
#include "store/datafolder.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    (void)commandLine;
    (void)showCommand;
    // Every text from here on is in the user's language.
    ChooseUiLanguage();
    // The data folder beside the program, composed once: it is claimed here (a second start for
    // the same folder hands over to the copy that runs, and ends) and the start-up loads from it.
    // The path is read in UTF-16: a folder name outside the ANSI code page stays whole.
    GetModuleFileNameW(nullptr, Monitor.ExePath, PathCapacity);
    if (!ComposeDataDirectory(Monitor.ExePath)) {
        // A folder path too long for even the long form: there is nowhere to record.
        ReportFailure(nullptr, TextCreateFailed, TextErrorCaption);
        return 0;
    }
    if (!ClaimDataFolder()) return 0;
    if (!previous && !RegisterMonitorClass(instance)) return 0;
    RegisterTaskbarCreated();
    HWND monitor = CreateMonitorWindow(instance);
    // Without the window nothing would ever end the loop below.
    if (!monitor) return 1;
    ShowWindow(monitor, SW_HIDE);
    UpdateWindow(monitor);
    MSG msg = {};
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        // Only key messages have anything to translate; the clock's timer, five times a second,
        // skips a call into the system that would do nothing.
        if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    ReleaseDataFolder();
    return static_cast<int>(msg.wParam);
}
