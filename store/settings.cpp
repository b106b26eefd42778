// The settings file: recording per application, [Apps] Record=0 or 1, and per key, [Keys] Record=0 or 1,
// and the texts of other sections ([PC], [Share]).
#include "store/settings.h"

#include <windows.h>

#include "store/datafolder.h"

static const char SettingsFile[] = "vantle.ini";
static const wchar_t AppsSection[] = L"Apps";
static const wchar_t KeysSection[] = L"Keys";
static const wchar_t RecordKey[] = L"Record";

// The profile call answers its default both for a missing file and for one it cannot read, and a
// switch the user turned off must not turn itself on while the file is held: the file is opened
// first and kept open (sharing reads and writes) while the profile call reads it.
// The settings file opened for reading, sharing reads and writes; INVALID_HANDLE_VALUE when there
// is none or it cannot be opened, and then `unreadable` says which.
static HANDLE OpenSettings(const WCHAR* path, int* unreadable)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    *unreadable = error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
    return file;
}

static int ReadSwitch(const wchar_t* section)
{
    const WCHAR* path = ComposeDataFilePath(SettingsFile);
    int unreadable = 0;
    HANDLE file = OpenSettings(path, &unreadable);
    if (file == INVALID_HANDLE_VALUE) return unreadable ? SettingUnreadable : 1;
    int on = GetPrivateProfileIntW(section, RecordKey, 1, path) != 0;
    CloseHandle(file);
    return on;
}

int SettingsUnreadable(void)
{
    int unreadable = 0;
    HANDLE file = OpenSettings(ComposeDataFilePath(SettingsFile), &unreadable);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return unreadable;
}

static int WriteSwitch(const wchar_t* section, int on)
{
    return WritePrivateProfileStringW(section, RecordKey, on ? L"1" : L"0", ComposeDataFilePath(SettingsFile)) != 0;
}

int ReadAppsSetting(void) { return ReadSwitch(AppsSection); }
int WriteAppsSetting(int on) { return WriteSwitch(AppsSection, on); }
int ReadKeysSetting(void) { return ReadSwitch(KeysSection); }
int WriteKeysSetting(int on) { return WriteSwitch(KeysSection, on); }

int ReadSettingText(const wchar_t* section, const wchar_t* key, wchar_t* text, int size)
{
    return static_cast<int>(GetPrivateProfileStringW(section, key, L"", text, size, ComposeDataFilePath(SettingsFile)));
}

int WriteSettingText(const wchar_t* section, const wchar_t* key, const wchar_t* text)
{
    return WritePrivateProfileStringW(section, key, text, ComposeDataFilePath(SettingsFile)) != 0;
}
