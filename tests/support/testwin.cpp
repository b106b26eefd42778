// Helpers shared by the test programs.
#include "support/testwin.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <tlhelp32.h>

#include <algorithm>

#include "res/messages.h"

// The window's left edge for the process that shows it, handed over in its environment.
static const char WindowXVariable[] = "VANTLE_TEST_WINDOW_X";

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size())) - 1);
    return wide;
}

std::string Narrow(const std::wstring& text)
{
    std::string narrow(text.size() * 2 + 1, '\0');
    narrow.resize(WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &narrow[0], static_cast<int>(narrow.size()),
                                      nullptr, nullptr) - 1);
    return narrow;
}

const wchar_t* UiW(UiTextId id) { return UiTextIn(id, UiLanguageOfUser()); }

std::string UiA(UiTextId id) { return Narrow(UiW(id)); }

std::vector<unsigned char> ReadWholeFile(const std::string& path) { return ReadWholeFile(Wide(path)); }

std::vector<unsigned char> ReadWholeFile(const std::wstring& path)
{
    std::vector<unsigned char> data;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return data;
    DWORD size = GetFileSize(file, nullptr);
    data.resize(size);
    DWORD got = 0;
    if (size && !ReadFile(file, data.data(), size, &got, nullptr)) got = 0;
    data.resize(got);
    CloseHandle(file);
    return data;
}

bool WriteWholeFile(const std::string& path, const void* data, size_t size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    BOOL ok = WriteFile(file, data, static_cast<DWORD>(size), &put, nullptr);
    CloseHandle(file);
    return ok && put == size;
}

bool StartTestProgramAgain(const std::string& copyPath, const std::string& filter, PROCESS_INFORMATION* process)
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string exe = copyPath.empty() ? self : copyPath;
    if (!copyPath.empty() && !CopyFileA(self, exe.c_str(), FALSE)) return false;
    std::string command = "\"" + exe + "\" --gtest_also_run_disabled_tests --gtest_filter=" + filter;
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;  // and none
    *process = {};
    return CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, process) != FALSE;
}

// Run only in a process of its own (StartWindowProcess): a window of another process in front,
// until that process is ended.
TEST(TestWindowProcess, DISABLED_ShowsAWindowInFront)
{
    char x[16] = "600";
    GetEnvironmentVariableA(WindowXVariable, x, sizeof x);
    HWND window = CreateWindowExA(0, "STATIC", "work", WS_POPUP | WS_VISIBLE | SS_NOTIFY, atoi(x), 300, 200, 200, nullptr,
                                  nullptr, nullptr, nullptr);
    SetForegroundWindow(window);
    PumpUntil([] { return false; }, 60000);
    DestroyWindow(window);
}

bool StartWindowProcess(const std::string& copyPath, int x, PROCESS_INFORMATION* process)
{
    SetEnvironmentVariableA(WindowXVariable, std::to_string(x).c_str());
    bool started = StartTestProgramAgain(copyPath, "TestWindowProcess.*", process);
    SetEnvironmentVariableA(WindowXVariable, nullptr);
    return started;
}

void EndProcess(PROCESS_INFORMATION* process)
{
    if (!process->hProcess) return;
    if (WaitForSingleObject(process->hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(process->hProcess, 9);
        WaitForSingleObject(process->hProcess, 5000);
    }
    CloseHandle(process->hProcess);
    CloseHandle(process->hThread);
    *process = {};
}

std::string ModuleFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.find_last_of("\\/") + 1);
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount();;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

INPUT AbsoluteMove(int x, int y)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (x * 65535) / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = (y * 65535) / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

void InjectMove(int x, int y)
{
    INPUT input = AbsoluteMove(x, y);
    SendInput(1, &input, sizeof input);
}

void InjectClick(DWORD down, DWORD up, DWORD data)
{
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = down;
    input[1].mi.dwFlags = up;
    input[0].mi.mouseData = input[1].mi.mouseData = data;
    SendInput(2, input, sizeof input[0]);
}

void InjectKey(WORD vk, WORD scan, bool extended)
{
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = vk;
    input[0].ki.wScan = input[1].ki.wScan = scan;
    input[0].ki.dwFlags = extended ? KEYEVENTF_EXTENDEDKEY : 0;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP | input[0].ki.dwFlags;
    SendInput(2, input, sizeof input[0]);
}

std::vector<DWORD> ProcessThreadIds()
{
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ids.push_back(entry.th32ThreadID);
    CloseHandle(snapshot);
    return ids;
}

DWORD HookThreadSince(const std::vector<DWORD>& before)
{
    for (DWORD id : ProcessThreadIds()) {
        if (std::find(before.begin(), before.end(), id) != before.end()) continue;
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, id);
        int priority = thread ? GetThreadPriority(thread) : 0;
        if (thread) CloseHandle(thread);
        if (priority == THREAD_PRIORITY_TIME_CRITICAL) return id;
    }
    return 0;
}

bool NotifyTrayIcon(DWORD message, HWND window)
{
    NOTIFYICONDATAA record = {};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = window;
    record.uID = TrayIconId;
    return Shell_NotifyIconA(message, &record) != FALSE;
}

namespace {
struct WindowSearch {
    DWORD processId;
    const char* cls;
    const char* title;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    WindowSearch* s = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char cls[32] = "", title[256] = "";
    GetClassNameA(window, cls, sizeof cls);
    // Only a title asked for is read: of a window of this process, reading it takes a message.
    if (s->title) GetWindowTextA(window, title, sizeof title);
    if (owner == s->processId && lstrcmpA(cls, s->cls) == 0 && (!s->title || lstrcmpA(title, s->title) == 0) &&
        (!s->visibleOnly || IsWindowVisible(window)))
        s->found.push_back(window);
    return TRUE;
}
}  // namespace

std::vector<HWND> ProcessWindows(DWORD processId, const char* cls, const char* title, bool visibleOnly)
{
    WindowSearch search = {processId, cls, title, visibleOnly, {}};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string RegistryText(const char* key, const char* name)
{
    char value[1100] = "";
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return "(none)";
    return value;
}
