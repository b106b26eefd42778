// Support for end-to-end tests.
#include "e2e/e2e_support.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

#include "base/uitext.h"

std::wstring LongForm(const std::wstring& path) { return L"\\\\?\\" + path; }

std::wstring MakeProgramFolderW(const std::wstring& name)
{
    std::wstring bin = Wide(ModuleFolder());
    std::wstring folder = bin + L"e2e\\";
    CreateDirectoryW(LongForm(folder).c_str(), nullptr);
    for (size_t start = 0, end; start < name.size(); start = end + 1) {
        end = name.find(L'\\', start);
        if (end == std::wstring::npos) end = name.size();
        folder += name.substr(start, end - start) + L"\\";
        CreateDirectoryW(LongForm(folder).c_str(), nullptr);
    }
    // Remove what an earlier run left.
    std::wstring data = LongForm(folder + L"data\\");
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((data + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (found.cFileName[0] != L'.') DeleteFileW((data + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(data.c_str());
    for (const wchar_t* file : {L"vantle.exe", L"hookdll.dll", L"TransG32.DLL"})
        CopyFileW((bin + file).c_str(), LongForm(folder + file).c_str(), FALSE);
    return folder;
}

std::string MakeProgramFolder(const std::string& name) { return Narrow(MakeProgramFolderW(Wide(name))); }

bool StartProgram(RunningProgram* program, const std::string& folder)
{
    if (!LaunchProgram(program, folder)) return false;
    program->monitor = FindMonitorWindow(program->process.dwProcessId, 20000);
    return program->monitor != nullptr;
}

bool LaunchProgram(RunningProgram* program, const std::string& folder)
{
    program->folder = folder;
    return LaunchProgramW(program, Wide(folder));
}

bool LaunchProgramW(RunningProgram* program, const std::wstring& folder)
{
    std::wstring exe = folder + L"vantle.exe";
    std::vector<wchar_t> command(exe.begin(), exe.end());
    command.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    return CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &program->process) != FALSE;
}

bool FindStartedProgram(RunningProgram* program, const std::string& folder, DWORD timeoutMs)
{
    program->folder = folder;
    PumpUntil([&] { return (program->monitor = FindWindowW(L"window", L"タイトル")) != nullptr; }, timeoutMs);
    if (!program->monitor) return false;
    GetWindowThreadProcessId(program->monitor, &program->process.dwProcessId);
    program->process.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ |
                                                PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_TERMINATE,
                                            FALSE, program->process.dwProcessId);
    return program->process.hProcess != nullptr;
}

HWND WaitForProcessWindow(DWORD processId, const char* cls, const char* title, bool visibleOnly,
                          DWORD timeoutMs)
{
    HWND window = nullptr;
    PumpUntil(
        [&] {
            std::vector<HWND> found = ProcessWindows(processId, cls, title, visibleOnly);
            window = found.empty() ? nullptr : found[0];
            return window != nullptr;
        },
        timeoutMs);
    return window;
}

HWND FindMonitorWindow(DWORD processId, DWORD timeoutMs)
{
    // By its class alone: the program's title does not pass the ANSI code page of every locale whole.
    return WaitForProcessWindow(processId, "window", nullptr, false, timeoutMs);
}

int SlotNow(long long offsetSeconds)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME ft;
    SystemTimeToFileTime(&now, &ft);
    ULARGE_INTEGER v = {{ft.dwLowDateTime, ft.dwHighDateTime}};
    v.QuadPart += static_cast<ULONGLONG>(offsetSeconds * 10000000LL);
    ft.dwLowDateTime = v.LowPart;
    ft.dwHighDateTime = v.HighPart;
    FileTimeToSystemTime(&ft, &now);
    return now.wHour * 10 + now.wMinute / 6;
}

int SecondsLeftInSlot()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return 360 - (now.wMinute % 6) * 60 - now.wSecond;
}

void StartEarlyInSlot(int seconds)
{
    int slot = SlotNow();
    if (SecondsLeftInSlot() >= seconds) return;
    PumpUntil([slot] { return SlotNow() != slot; }, (SecondsLeftInSlot() + 2) * 1000);
}

bool WaitUntilRecording(RunningProgram* program, const std::string& todayFile, DWORD timeoutMs)
{
    std::string path = program->folder + "data\\" + todayFile;
    // The icon comes first and today's file next; the clock and the hooks start before the
    // start-up returns, without a message loop in between.
    return PumpUntil([&] { return TrayIconExists(program->monitor) &&
                                  GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; },
                     timeoutMs) &&
           WaitUntilIdle(program->monitor, timeoutMs);
}

LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)) return -1;
    return static_cast<LRESULT>(result);
}

bool WaitUntilIdle(HWND window, DWORD timeoutMs)
{
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &ignored) != 0;
}

// The exit question by its text: a second box of the same caption (the unsaved day's) is answered
// only where a test expects it.
bool AskToEnd(RunningProgram* program, ScriptedUser& user, int answer)
{
    user.Expect(UiA(TextExitCaption), UiA(TextExitQuestion), answer);
    size_t before = user.Answered().size();
    PostMessageA(program->monitor, WM_CLOSE, 0, 0);
    return user.WaitForAnswered(before + 1);
}

// The user stays until the answer has taken effect, so that a box after it fails the test.
bool AskToEnd(RunningProgram* program, int answer)
{
    ScriptedUser user(program->process.dwProcessId);
    bool asked = AskToEnd(program, user, answer);
    if (answer == IDYES) WaitForSingleObject(program->process.hProcess, 15000);
    else WaitUntilIdle(program->monitor, 5000);
    return asked;
}

DWORD WaitForExit(RunningProgram* program, DWORD timeoutMs)
{
    if (WaitForSingleObject(program->process.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(program->process.hProcess, &code);
    return code;
}

void KillProgram(RunningProgram* program) { EndProcess(&program->process); }

std::wstring RemoteText(HANDLE process, HWND window, UINT message, WPARAM wParam)
{
    wchar_t local[512] = L"<no answer>";
    void* remote = VirtualAllocEx(process, nullptr, sizeof local, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window, message, wParam, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, &result))
        ReadProcessMemory(process, remote, local, sizeof local - sizeof *local, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return local;
}

std::string DayFileNameAt(long long offsetSeconds, int dayShift)
{
    time_t at = time(nullptr) + static_cast<time_t>(offsetSeconds);
    struct tm t = *localtime(&at);
    t.tm_mday += dayShift;
    t.tm_hour = 12;
    t.tm_isdst = -1;
    mktime(&t);
    char name[32];
    snprintf(name, sizeof name, "%04d%02d%02d.dat", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    return name;
}

// A list's messages carry no pointers across processes: the request and the buffer of its text
// are put into the program's own memory, and the text read from there.
std::string ListText(HANDLE process, HWND list, int item, int column)
{
    const SIZE_T record = sizeof(LVITEMA) > sizeof(LVCOLUMNA) ? sizeof(LVITEMA) : sizeof(LVCOLUMNA);
    const SIZE_T textSize = 256;
    char* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, record + textSize, MEM_COMMIT | MEM_RESERVE,
                                                     PAGE_READWRITE));
    if (!remote) return "<no buffer>";
    std::vector<char> local(record + textSize, 0);
    UINT message = LVM_GETITEMTEXTA;
    WPARAM which = static_cast<WPARAM>(item);
    if (item < 0) {
        LVCOLUMNA request = {};
        request.mask = LVCF_TEXT;
        request.pszText = remote + record;
        request.cchTextMax = static_cast<int>(textSize);
        memcpy(local.data(), &request, sizeof request);
        message = LVM_GETCOLUMNA;
        which = static_cast<WPARAM>(column);
    } else {
        LVITEMA request = {};
        request.iSubItem = column;
        request.pszText = remote + record;
        request.cchTextMax = static_cast<int>(textSize);
        memcpy(local.data(), &request, sizeof request);
    }
    std::string text = "<no answer>";
    DWORD_PTR result = 0;
    if (WriteProcessMemory(process, remote, local.data(), local.size(), nullptr) &&
        SendMessageTimeoutA(list, message, which, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000,
                            &result) &&
        ReadProcessMemory(process, remote + record, local.data(), textSize - 1, nullptr))
        text = local.data();
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return text;
}

std::wstring ClipboardText()
{
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* chars = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (chars) {
        text = chars;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}
