// The settings file: recording per application, [Apps] Record=0 or 1, and per key, [Keys] Record=0 or 1.
#include "store/settings.h"

#include "store/datafolder.h"

static const char SettingsFile[] = "vantle.ini";
static const wchar_t AppsSection[] = L"Apps";
static const wchar_t KeysSection[] = L"Keys";
static const wchar_t RecordKey[] = L"Record";

static int ReadSwitch(const wchar_t* section)
{
    return GetPrivateProfileIntW(section, RecordKey, 1, ComposeDataFilePath(SettingsFile)) != 0;
}

static int WriteSwitch(const wchar_t* section, int on)
{
    return WritePrivateProfileStringW(section, RecordKey, on ? L"1" : L"0", ComposeDataFilePath(SettingsFile)) != 0;
}

int ReadAppsSetting(void) { return ReadSwitch(AppsSection); }
int WriteAppsSetting(int on) { return WriteSwitch(AppsSection, on); }
int ReadKeysSetting(void) { return ReadSwitch(KeysSection); }
int WriteKeysSetting(int on) { return WriteSwitch(KeysSection, on); }
