// The settings file: recording per application, [Apps] Record=0 or 1.
#include "store/settings.h"

#include "store/datafolder.h"

static const char SettingsFile[] = "vantle.ini";
static const wchar_t AppsSection[] = L"Apps";
static const wchar_t AppsRecordKey[] = L"Record";

int ReadAppsSetting(void)
{
    return GetPrivateProfileIntW(AppsSection, AppsRecordKey, 1, ComposeDataFilePath(SettingsFile)) != 0;
}

int WriteAppsSetting(int on)
{
    return WritePrivateProfileStringW(AppsSection, AppsRecordKey, on ? L"1" : L"0", ComposeDataFilePath(SettingsFile)) != 0;
}
