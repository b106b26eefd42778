// Start with Windows through the per-user Run key. Nothing is written there unless the user
// chooses the tray menu's item; the program reads no other registry value.
#include "app/autostart.h"

#include <string.h>

RunEntryCommands RunEntry;

// The per-user Run entry (its command is the program's quoted full path) and the key where
// Windows' startup settings switch entries off and on. The registry's names here are ASCII, the
// same in every code page.
static const char RunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
static const char ApprovedKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
static const char RunValueName[] = "Vantle";
static const unsigned RegistryNameCodePage = 932;

// Windows' startup settings (Task Manager's Startup tab) keep a binary value of the entry's name
// under this key: an even first byte means on, an odd one off; the rest is the time of the change.
enum { ApprovedSize = 12, ApprovedOn = 2 };

// The program's full path, quoted. The path is UTF-16 (any folder name), and so is the value.
static int ComposeRunCommand(const WCHAR* exePath, WCHAR* command, int size)
{
    int length = lstrlenW(exePath);
    if (length + 3 > size) return 0;
    command[0] = L'"';
    memcpy(command + 1, exePath, length * sizeof(WCHAR));
    command[length + 1] = L'"';
    command[length + 2] = L'\0';
    return 1;
}

// The entry's value name; the names of the registry are ASCII.
static const WCHAR* RunValueNameW(WCHAR* name, int size)
{
    MultiByteToWideChar(RegistryNameCodePage, 0, RunValueName, -1, name, size);
    return name;
}

// The entry's value in the Run key; 0 when there is none (or it is not a plain string).
static int ReadRunCommand(WCHAR* command, DWORD size)
{
    WCHAR name[16];
    DWORD type = 0;
    DWORD bytes = (size - 1) * sizeof(WCHAR);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RunKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return 0;
    LONG result = RegGetValueW(key, nullptr, RunValueNameW(name, 16), RRF_RT_REG_SZ, &type, command, &bytes);
    RegCloseKey(key);
    command[size - 1] = L'\0';
    return result == ERROR_SUCCESS;
}

static int SwitchedOff(void)
{
    BYTE approved[ApprovedSize] = {};
    DWORD bytes = sizeof approved;
    if (RegGetValueA(HKEY_CURRENT_USER, ApprovedKeyPath, RunValueName, RRF_RT_REG_BINARY, nullptr, approved,
                     &bytes) != ERROR_SUCCESS)
        return 0;
    return bytes > 0 && (approved[0] & 1);
}

static int RunEntryNames(const WCHAR* exePath)
{
    return ComposeRunCommand(exePath, RunEntry.Wanted, RunCommandChars) &&
           ReadRunCommand(RunEntry.Found, RunCommandChars) && lstrcmpiW(RunEntry.Found, RunEntry.Wanted) == 0;
}

int StartsWithWindows(const WCHAR* exePath) { return RunEntryNames(exePath) && !SwitchedOff(); }

static int SetValue(const char* keyPath, DWORD type, const void* data, DWORD size)
{
    WCHAR name[16];
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return 0;
    LONG result = RegSetValueExW(key, RunValueNameW(name, 16), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

static int RemoveRunEntry(void)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RunKeyPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return 0;
    LONG result = RegDeleteValueA(key, RunValueName);
    RegCloseKey(key);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

int ToggleStartWithWindows(const WCHAR* exePath)
{
    if (StartsWithWindows(exePath)) return RemoveRunEntry();
    if (!ComposeRunCommand(exePath, RunEntry.Wanted, RunCommandChars)) return 0;
    if (!SetValue(RunKeyPath, REG_SZ, RunEntry.Wanted, static_cast<DWORD>((lstrlenW(RunEntry.Wanted) + 1) * sizeof(WCHAR))))
        return 0;
    // Windows keeps an entry it switched off switched off when its command changes.
    static const BYTE approvedOn[ApprovedSize] = {ApprovedOn};
    return !SwitchedOff() || SetValue(ApprovedKeyPath, REG_BINARY, approvedOn, sizeof approvedOn);
}
