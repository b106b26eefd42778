// Start with Windows through the per-user Run key. Nothing is written there unless the user
// chooses the tray menu's item; the program reads no other registry value.
#include "app/autostart.h"

#include <stdio.h>

#include "res/texts.h"

// Windows' startup settings (Task Manager's Startup tab) keep a binary value of the entry's name
// under this key: an even first byte means on, an odd one off; the rest is the time of the change.
enum { ApprovedSize = 12, ApprovedOn = 2 };

static int ComposeRunCommand(const char* exePath, char* command, size_t size)
{
    int length = snprintf(command, size, FormatRunCommand, exePath);
    return length > 0 && static_cast<size_t>(length) < size;
}

// The entry's value in the Run key; 0 when there is none (or it is not a plain string).
static int ReadRunCommand(char* command, DWORD size)
{
    DWORD type = 0;
    DWORD bytes = size - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, RunKeyPath, RunValueName, RRF_RT_REG_SZ, &type, command, &bytes) !=
        ERROR_SUCCESS)
        return 0;
    command[size - 1] = '\0';
    return 1;
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

static int RunEntryNames(const char* exePath)
{
    char wanted[1100], found[1100];
    return ComposeRunCommand(exePath, wanted, sizeof wanted) && ReadRunCommand(found, sizeof found) &&
           lstrcmpiA(found, wanted) == 0;
}

int StartsWithWindows(const char* exePath) { return RunEntryNames(exePath) && !SwitchedOff(); }

static int SetValue(const char* keyPath, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return 0;
    LONG result = RegSetValueExA(key, RunValueName, 0, type, static_cast<const BYTE*>(data), size);
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

int ToggleStartWithWindows(const char* exePath)
{
    if (StartsWithWindows(exePath)) return RemoveRunEntry();
    char command[1100];
    if (!ComposeRunCommand(exePath, command, sizeof command)) return 0;
    if (!SetValue(RunKeyPath, REG_SZ, command, static_cast<DWORD>(lstrlenA(command) + 1))) return 0;
    // Windows keeps an entry it switched off switched off when its command changes.
    static const BYTE approvedOn[ApprovedSize] = {ApprovedOn};
    return !SwitchedOff() || SetValue(ApprovedKeyPath, REG_BINARY, approvedOn, sizeof approvedOn);
}
