// Fixture support for tests of the store.
#include "support/storetest.h"

#include <gtest/gtest.h>
#include <string.h>
#include <windows.h>

#include "app/appwatch.h"
#include "app/autostart.h"
#include "app/hookwatch.h"
#include "app/input.h"
#include "app/instance.h"
#include "app/keywatch.h"
#include "app/monitor.h"
#include "app/screenmap.h"
#include "app/slotclock.h"
#include "app/tray.h"
#include "base/dates.h"
#include "base/files.h"
#include "base/report.h"
#include "graph/export.h"
#include "graph/view.h"
#include "store/appranges.h"
#include "store/appsfile.h"
#include "store/datafolder.h"
#include "store/dayfile.h"
#include "store/days.h"
#include "store/ownindex.h"
#include "store/pcidentity.h"
#include "store/publish.h"
#include "store/keyranges.h"
#include "store/keysfile.h"
#include "store/reset.h"
#include "store/sharedpcs.h"
#include "store/totals.h"
#include "support/fake_clock.h"
#include "support/testwin.h"
#include "ui/calendarwindow.h"
#include "ui/graphwindow.h"
#include "ui/keyboardwindow.h"
#include "ui/savecommands.h"
#include "ui/statusbar.h"

// Wide and in the \\?\ form, so that names outside the code page and long paths go too.
static void RemoveWideFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (found.cFileName[0] == L'.') continue;
            std::wstring path = folder + L"\\" + found.cFileName;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveWideFolder(path);
            else DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

void RemoveFolder(const std::string& folder) { RemoveWideFolder(L"\\\\?\\" + Wide(folder)); }

template <typename Record> static void Clear(Record& record) { memset(&record, 0, sizeof record); }

void ClearProgramState()
{
    Clear(UiLanguageInForce), Clear(FailureReports);
    Clear(Days), Clear(DataPaths), Clear(DataReset), Clear(CsvWork), Clear(DayTotals);
    Clear(AppsOfDays), Clear(AppsFileWork), Clear(ShownApps);
    Clear(Graph), Clear(PictureLibrary);
    Clear(GraphWindow), Clear(StatusBar), Clear(ChosenFile), Clear(KeyboardShown), Clear(CalendarShown);
    Clear(Monitor), Clear(Counters), Clear(ScreenMap), Clear(SlotClock), Clear(Tray), Clear(RunEntry);
    Clear(FolderClaim), Clear(HookWatch), Clear(AppWatch);
    Clear(Pc), Clear(Publisher), Clear(SharedPcs), Clear(OthersOfDays), Clear(OwnIndex);
    Clear(KeysOfDays), Clear(KeysFileWork), Clear(KeyWatch), Clear(ShownKeys);
}

void ResetStore(const char* folderName)
{
    ClearProgramState();
    ResetTickClock();
    std::string folder = ModuleFolder() + folderName;
    RemoveFolder(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    SetDataFolder(folder);
}

std::string DataFolder() { return Narrow(DataPaths.Directory); }

void SetDataFolder(const std::string& folder) { lstrcpynW(DataPaths.Directory, Wide(folder).c_str(), PathCapacity); }

std::string DayFilePathOf(int day) { return DataFile(Days.DayFileNames[day]); }

std::string DataFile(const char* name) { return DataFolder() + "\\" + name; }

bool StartRecorderAt(int hour, int minute, int second, int day)
{
    SetFakeTime(2024, 3, day, hour, minute, second);
    BuildDayTables(FakeDate());
    for (int day = 0; day < DayCount; ++day)
        if (LoadDayColumn(day) != 1) return false;
    if (GetFileAttributesA(DayFilePathOf(0).c_str()) == INVALID_FILE_ATTRIBUTES && CreateDayFile() != 1) return false;
    SYSTEMTIME now = {};
    now.wHour = static_cast<WORD>(hour);
    now.wMinute = static_cast<WORD>(minute);
    Days.CurrentSlot = SlotOfTime(&now);
    BeginSlot(Days.CurrentSlot);
    SlotClock.Recording = 1;
    return true;
}

void TickAt(HWND monitor, int hour, int minute, int second, int day)
{
    SetFakeTime(2024, 3, day, hour, minute, second);
    OnSlotTimer(monitor);
}

HWND CreateMonitorWithoutStartup()
{
    HWND monitor = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(monitor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MonitorWindowProc));
    Monitor.Window = monitor;
    SetReportWindow(monitor);
    return monitor;
}

void DestroyMonitor(HWND monitor)
{
    if (monitor && IsWindow(monitor)) DestroyWindow(monitor);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
}

// Every test ends with a check that no failure report is left queued (its box never shown), so the
// failure counts for the test that left it.
namespace {
struct ReportQueueCheck : testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo&) override
    {
        for (int i = 0; i < FailureReports.Count; ++i) ADD_FAILURE() << "a failure report nobody saw: " << FailureReports.Items[i].text;
        FailureReports.Count = 0;
    }
};
// The listeners hear a test's end in the reverse order of their coming: this one before the printer.
const bool ReportQueueChecked = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new ReportQueueCheck);
    return true;
}();
}  // namespace

void DispatchWaitingMessages() { PumpUntil([] { return true; }); }
