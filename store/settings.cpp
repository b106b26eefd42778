// The settings file: recording per application ([Apps] Record=0 or 1), and the texts of other
// sections ([PC], [Share]).
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

int ReadSettingText(const wchar_t* section, const wchar_t* key, wchar_t* text, int size)
{
    return static_cast<int>(GetPrivateProfileStringW(section, key, L"", text, size, ComposeDataFilePath(SettingsFile)));
}

int WriteSettingText(const wchar_t* section, const wchar_t* key, const wchar_t* text)
{
    return WritePrivateProfileStringW(section, key, text, ComposeDataFilePath(SettingsFile)) != 0;
}
