// The settings file of the data folder, data\vantle.ini, read and written through the profile
// functions.
#pragma once

// The switch of recording per application: 1 on (also when there is no settings file), 0 off, -1
// when the file exists but cannot be read now (held, access denied): the caller asks again later.
enum { SettingUnreadable = -1 };
int ReadAppsSetting(void);
// The settings file exists but cannot be read now (held, access denied): what it would say is not
// known, and nothing may be made anew for want of it.
int SettingsUnreadable(void);
// Its change; 0 when the setting could not be written.
int WriteAppsSetting(int on);
// A text setting of a section into the buffer ("" when there is none); its length.
int ReadSettingText(const wchar_t* section, const wchar_t* key, wchar_t* text, int size);
// Writes a text setting; 0 when it could not be written.
int WriteSettingText(const wchar_t* section, const wchar_t* key, const wchar_t* text);
// The switch of recording per key and mouse button (on when there is none), and its change.
int ReadKeysSetting(void);
int WriteKeysSetting(int on);
